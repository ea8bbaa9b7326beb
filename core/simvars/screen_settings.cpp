#include "core/simvars/screen_settings.h"

#include "core/reset_registry.h"

screen_settings_block screen_settings{};
ORVELL_RESET_RECORD(SIMVARS_screen_settings_reset, screen_settings, program);
