// The start-up's clock: the time from the process's start to the first
// flying frame on the screen, stage by stage. When the first flying frame has
// been shown the program writes one line to the report log (ORVELL.OUT):
//   Start to the first flying frame: 0.84 s (process 0.01, display 0.12, ...)
#pragma once

#include <string>

// Ends the stage under way and begins `name` (a string that outlives the run).
void STARTUP_clock_stage(const char* name);
// A flying frame was shown: the first time, the clock stops and the line is written.
void STARTUP_clock_flying_frame();
// Seconds from the process's start to the first flying frame, negative before it.
double STARTUP_clock_first_frame_seconds();
// The line written (empty before the first flying frame).
const std::string& STARTUP_clock_line();
// The start-up begins: when an earlier start-up in this process has already
// shown its first flying frame, the clock starts again from now.
void STARTUP_clock_begin();
// Starts the clock again from now, with no stages.
void STARTUP_clock_reset();
