// A suite on the program started afresh on a copy of the default data folder
// (no start chosen before it: the default airport), each test beginning in
// flight mode past the start-up's first frames, with 0.1 s frames, the
// camera of the chosen view and no g-load dimming.
#pragma once

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "shell/wndproc.h"
#include "tests/support/startup_program.h"

class flying_program : public started_program {
protected:
    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};   // a fresh process: no start chosen yet
        started_program::SetUpTestSuite();
    }

    void SetUp() override
    {
        MACIBM_pump_messages();
        app_mode = MODE_FLYING;
        flying_frame_count = 10;
        sim_operation_misc.frame_rate_period = 0.1f;
        sim_operation_override.override_camera = 0;
        gload_dim_factor = 1.0f;
    }
};
