// The program's default state for the benchmarks that run its steps without
// starting it: constants, folders and default settings, the sound on
// OpenAL's null output (closed at exit), alerts going to `alert`.
#pragma once

#include <cstdlib>

#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "platform/plat_sound.h"
#include "shell/defaults.h"

inline void bench_default_state(alert_handler_fn alert)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    MACIBM_set_alert_handler(alert);
    CONST_fill_constants();
    FOLDERS_init();
    SIM_init_defaults();
    std::atexit(PLAT_sound_close);
}
