// A known state for the joystick and console tests: the user's plane cleared
// with two engines, the spine's services and the default key table installed,
// every axis calibrated -100..100 with no null zone and full sensitivity, the
// hardware and the joysticks closed.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "shell/keys.h"
#include "shell/main.h"
#include "tests/support/test_support.h"
#include "tests/support/virtual_joystick.h"

class JoystickState : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        for (flt_struct& f : flt) f = flt_struct{};
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
        acf_struct& a = pln[0];
        a.acf_num_engines = 2;
        a.acf_throtmax_FWD = 1.0f;
        a.acf_RSC_mingreen_prp = 100.0f;
        a.acf_RSC_redline_prp = 250.0f;
        APPLICATION_install_hooks();
        KEY_read_table_from(ORVELL_DATA_FOLDER "Resources/keys/ORVELL.TXT");
        HARDWARE_reset();
        JOY_reset();
        virtual_joysticks_start();
        app_mode = MODE_FLYING;
        frame_clock = 10.0f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_graphics_view.view_type = 1000;
        sim_joystick_block& j = sim_joystick;
        j.joystick_pitch_sensitivity = j.joystick_roll_sensitivity = j.joystick_heading_sensitivity = 1.0f;
        std::fill(std::begin(j.joystick_axis_minimum), std::end(j.joystick_axis_minimum), -100.0f);
        std::fill(std::begin(j.joystick_axis_maximum), std::end(j.joystick_axis_maximum), 100.0f);
        clear_alerts();
    }
    void TearDown() override
    {
        JOY_close();
        HARDWARE_reset();
    }

    // One poll as the flight model makes it (flying 1), or as the joystick screen does (0).
    void poll(int flying = 1)
    {
        sim_joystick_block& j = sim_joystick;
        flt_struct& f = flt[0];
        JOY_poll(&j.yolk_pitch_ratio, &j.yolk_roll_ratio, &j.yolk_heading_ratio, &throttle[0], &throttle[1],
                 &f.l_brake_add, &f.r_brake_add, &f.ENGN_prop[0], &f.ENGN_mixt[0], &f.ENGN_heat[0], &f.vectrqst,
                 &f.swdirqst, flying);
    }
    // Frames of `period` seconds: the clock moves on and the poll runs.
    void frames(int n, float period = 0.05f)
    {
        sim_operation_misc.frame_rate_period = period;
        for (int k = 0; k < n; ++k) {
            frame_clock += period;
            poll();
        }
    }

    float throttle[2] = {-7.0f, -7.0f};   // the flight model's two throttle inputs
};
