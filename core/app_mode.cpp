#include "core/app_mode.h"
#include "core/reset_registry.h"

int32_t app_mode = 0;
int32_t quit_flag = 0;
int32_t gl_ready = 0;
int32_t redraw_pending = 0;

void APP_mode_reset()
{
    app_mode = MODE_FLYING;
    quit_flag = gl_ready = redraw_pending = 0;
}
ORVELL_RESET(APP_mode_reset, program);
