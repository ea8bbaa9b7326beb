// Starting the whole program in the test process on a copy of the generated
// default data folder (the build folder), so a test can run its frames and
// shut it down without touching the build folder's own preferences.
#pragma once

#include <memory>
#include <string>

#include "tests/support/test_support.h"

// A copy of the default data folder's data (aircraft, airfoils, resources)
// under a fresh temporary folder. `leave_out` names one file (relative to the
// copy, '/' separators) that the copy lacks.
std::unique_ptr<temp_folder> copy_default_data_folder(const std::string& leave_out = "");

// Starts the program (everything up to the main loop) on a folder as if its
// executable "orvell" lay there; runs under an injectable clock.
void start_program_in(const temp_folder& folder);
// Shuts the program down and restores the system clock.
void stop_program();

// A clock the tests move by hand.
extern double test_clock_seconds;
double test_clock();
