#include "shell/frame.h"

int32_t interval_ticks[INTERVAL_COUNT];
float frame_clock = 0.0f;
