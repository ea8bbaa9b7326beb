#include "core/app_mode.h"

int32_t app_mode = 0;
int32_t quit_flag = 0;
int32_t gl_ready = 0;
int32_t redraw_pending = 0;
