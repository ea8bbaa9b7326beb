#include "links/serial_calibration.h"
#include "core/reset_registry.h"

float serial_axis_lo[SERIAL_CHANNELS] = {};
float serial_axis_hi[SERIAL_CHANNELS] = {};

void SERIAL_calibration_reset()
{
    for (int k = 0; k < SERIAL_CHANNELS; ++k) serial_axis_lo[k] = serial_axis_hi[k] = 0.0f;
}
ORVELL_RESET(SERIAL_calibration_reset, program);
