#include "links/serial_calibration.h"

float serial_axis_lo[SERIAL_CHANNELS] = {};
float serial_axis_hi[SERIAL_CHANNELS] = {};
