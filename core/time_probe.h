// The frame-timing option's profiler marks: each mark writes to "ERROR.OUT"
// (flying mode only) the time since the previous mark, or its label on the
// 1-second flag, so a line of marks times the sections of a frame.
#pragma once

#include <cstdint>

extern int32_t log_frame_timing;     // the frame-timing option: profiler marks to ERROR.OUT
extern int64_t time_probe_previous;  // performance-counter value of the last profiler mark

// A profiler mark in ERROR.OUT (flying mode only): on the 1-second flag the
// label, otherwise the time since the previous mark in hundreds of counter
// ticks; end_line closes the line.
void UTIL_time_probe(const char* label, int end_line);
