// Running extremes of the serial console's nine analogue channels, reset to
// 9999.9 (minima) and -9999.9 (maxima) so that the first reading replaces them.
#pragma once

constexpr int SERIAL_CHANNELS = 9;

extern float serial_axis_lo[SERIAL_CHANNELS];
extern float serial_axis_hi[SERIAL_CHANNELS];
