// Starting the whole program in the test process on a copy of the generated
// default data folder (the build folder), so a test can run its frames and
// shut it down without touching the build folder's own preferences.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/test_support.h"

// A copy of the default data folder's data (aircraft, airfoils, resources)
// under a fresh temporary folder. `leave_out` names one file (relative to the
// copy, '/' separators) that the copy lacks.
std::unique_ptr<temp_folder> copy_default_data_folder(const std::string& leave_out = "");

// Starts the program (everything up to the main loop) on the data folder, as
// if its executable "orvell" lay there, on the test clock.
void start_program(const temp_folder& folder);
// Shuts the program down and restores the system clock.
void stop_program();

// The clock the started program runs on, moved by hand.
extern double test_clock_seconds;
// Puts the program on that clock (again).
void use_test_clock();

// A test suite on the program started once (everything up to the main loop) on a
// copy of the default data folder, as if its executable "orvell" lay there.
class started_program : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite();
    static void TearDownTestSuite();
};
