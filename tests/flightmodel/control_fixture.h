// The control step's tests fly a hand-made twin turboprop (or a jet airliner)
// in slot 0 frame by frame through FLTMOD_own_physics, with a joystick whose
// axes the test sets, the real key dispatcher behind the key-slot hook and a
// recorder on the sound seam.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/autopilot.h"
#include "flightmodel/control/governing.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/control/stability.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_step.h"
#include "flightmodel/systems/gyros.h"
#include "links/sound_seam.h"
#include "world/airport_state.h"

namespace control_test {

// The joystick of the tests: each of the twelve poll destinations that holds
// a value is written with it on every poll (as an assigned axis would be).
struct test_stick {
    std::optional<float> axis[12];
    void clear()
    {
        for (auto& a : axis) a.reset();
    }
};
inline test_stick stick;

inline void poll_test_stick(float* a0, float* a1, float* a2, float* a3, float* a4, float* a5, float* a6, float* a7,
                            float* a8, float* a9, float* a10, float* a11, int)
{
    float* dest[12] = {a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11};
    for (int i = 0; i < 12; ++i)
        if (stick.axis[i]) *dest[i] = *stick.axis[i];
}

// Axis destinations by position in the poll.
enum stick_axis { PITCH = 0, ROLL, HEADING, THROTTLE, PROP, LEFT_BRAKE, RIGHT_BRAKE, PROP_RPM, MIXTURE, HEAT };

struct sound_log : sound_recorder {
    std::vector<int> played_slots, stopped_slots;
    void played(int slot, int, float, float) override { played_slots.push_back(slot); }
    void stopped(int slot) override { stopped_slots.push_back(slot); }
    int plays(int slot) const
    {
        int n = 0;
        for (int s : played_slots) n += s == slot;
        return n;
    }
};

constexpr char KEY_REVERSERS = 'R';
constexpr char KEY_AP_OFF = 'Z';

class ControlStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        clean_state();
        sim_operation_misc.frame_rate_period = 0.05f;
        frame_clock = 100.0f;
        app_mode = 0;

        stick.clear();
        INPUT_set_joystick_poll(poll_test_stick);
        SOUND_install_recorder(&sounds);
        std::memcpy(kept_keys_, key_assignment_table, sizeof kept_keys_);
        std::memset(key_assignment_table, 0, sizeof key_assignment_table);
        key_assignment_table[1] = KEY_REVERSERS;
        key_assignment_table[9] = KEY_AP_OFF;

        sim_cockpit_electrical.battery_on = 1;
        flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery: the instruments have power
        sim_cockpit_engine.inverter_on[0] = 1;
        sim_operation_failures.hydraulic_pressure_ratio = 1.0f;
        sim_weather.speed_of_sound_ms = 320.0f;
        sim_weather.sigma = 1.0f;
        sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
        ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
        ap.autopilot_mode = 2;
        twin();
    }
    void TearDown() override
    {
        INPUT_set_joystick_poll(nullptr);
        SOUND_install_recorder(nullptr);
        std::memcpy(key_assignment_table, kept_keys_, sizeof kept_keys_);
        // The auto-flight, the autopilot modes, the traffic runway and the
        // random records these tests leave do not fly the tests after them.
        clean_state();
        traffic_runway_state = traffic_runway_record{};
    }

    // The user's plane and aircraft empty, the published records cleared and
    // every module at rest, with the auto-flight and view cycle off.
    static void clean_state()
    {
        std::memset(static_cast<void*>(&flt[0]), 0, sizeof(flt_struct));
        std::memset(static_cast<void*>(&pln[0]), 0, sizeof(acf_struct));
        RESET_all();
        auto_flight_on = auto_view_cycle_on = 0;
        control_authority = 1.0f;
        for (int k = 0; k < GYRO_SYSTEMS; ++k) gyro_pitch[k] = gyro_heading[k] = 0.0f;
    }

    void step(int frames = 1)
    {
        for (int i = 0; i < frames; ++i) {
            FLTMOD_own_physics(0);
            frame_clock += sim_operation_misc.frame_rate_period;
        }
    }

    // Two free turbines with governed, feathering propellers, beta and
    // reverse, flying at 150 kt, 1,000 m up.
    void twin()
    {
        a.acf_num_engines = a.acf_num_thrustpoints = 2;
        a.acf_throtmax_FWD = 1.0f;
        a.acf_throtmax_REV = 0.5f;
        a.acf_has_beta = a.acf_revthrust_eq = 1;
        a.acf_RSC_redline_eng = 3000.0f;
        a.acf_RSC_mingreen_prp = 170.0f;   // rad/s
        a.acf_RSC_maxgreen_prp = 210.0f;
        a.acf_RSC_redline_prp = 210.0f;
        a.acf_feathered_pitch = 85.0f;
        a.acf_reversed_pitch = -15.0f;
        a.acf_auto_featherEQ = 1;
        a.acf_est_Vs = 40.0f;
        a.acf_Vno = 200.0f;
        a.acf_elv_trim_dn = a.acf_elv_trim_up = 1.0f;
        a.acf_ail_trim_lt = a.acf_ail_trim_rt = a.acf_rud_trim_lt = a.acf_rud_trim_rt = 1.0f;
        a.acf_nw_steerdeg1 = 30.0f;
        a.acf_flapEQ = 1;
        a.acf_flap_deftime = 10.0f;
        a.acf_asi_kts = 1;
        for (int n = 0; n < 2; ++n) {
            a.acf_en_type[n] = 2;
            a.acf_prop_type[n] = 1;
            a.acf_min_pitch[n] = 15.0f;
            a.acf_max_pitch[n] = 45.0f;
            a.acf_part_eq[n] = 1;
            f.ENGN_running[n] = 1;
            f.ENGN_propmode[n] = 1;
            f.ENGN_prop[n] = 210.0f;
            f.POINT_tacrad[n] = 210.0f;
            f.POINT_pitch_deg[n] = 25.0f;
            f.ENGN_thro[n] = 0.5f;
        }
        f.indicated_airspeed = 150.0f;
        f.groundspeed = 150.0f * 0.514444f;
        f.y_agl = f.h_ind = f.local_y = 1000.0f;
    }

    // Two turbofans with reversers, flaps, slats, autobrake and GPWS.
    void airliner()
    {
        twin();
        a.acf_has_beta = 0;
        a.acf_warn1EQ = 1;
        a.acf_autofbrkEQ = a.acf_autosbrkEQ = a.acf_slatEQ = a.acf_autoslatEQ = 1;
        a.acf_est_Vs = 60.0f;
        for (int n = 0; n < 2; ++n) {
            a.acf_en_type[n] = 5;
            a.acf_prop_type[n] = 0;
        }
    }

    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    sim_joystick_block& joy = sim_joystick;
    sound_log sounds;

private:
    uint8_t kept_keys_[KEY_SLOTS] = {};
};

}  // namespace control_test

using namespace control_test;
