#include "shell/modes.h"

int32_t app_mode = 0;
