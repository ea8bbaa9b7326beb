#include "core/simvars/screen_settings.h"

screen_settings_block screen_settings{};
