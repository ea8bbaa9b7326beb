// A known state for the systems-step tests: the flight fixture's Earth and
// empty tables, plus the systems' own kept values, the logbook, the flight
// plan and the storm grid cleared, and a helper that runs whole frames.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/frame_clock.h"
#include "core/screen.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/systems/logbook.h"
#include "flightmodel/systems.h"
#include "flightmodel/systems/flight_plan.h"
#include "tests/support/net_peer.h"
#include "tests/support/flight_fixture.h"

class SystemsState : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        logbook = logbook_arrays{};
        logbook_last = -1;
        fms_plan = fms_plan_record{};
        std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
        start_selection.airport_index = 0;
        sim_physics.earth_radius_m = 6378145.0f;
        sim_physics.earth_mu = 3.986012e14f;
        sim_weather.temperature_sealevel_c = 15.0f;
        sim_physics.earth_pressure_p = 101325.0f;
        sim_graphics_view.visibility_effective_m = 40000.0f;
        sim_graphics_view.visibility_framerate_ratio = 1.0f;
        screen_settings.systems_period = 0.08f;
        screen.open_menu = -1;   // no menu open
        flt[0].onground_any = flt[0].onground_all = 1;
        sim_time.total_flight_time_sec = 100.0f;   // not the first second of a flight
        for (int k = 0; k < FAILURE_SLOTS; ++k) flt[0].failures[k] = FAILURE_STATE_ON_COMMAND;   // nothing fails by itself
        clear_alerts();
    }

    // Runs n frames of the systems step of dt seconds each, with the 1-second
    // flag raised on the frames where a whole second of frame clock passes.
    static void frames(int n, float dt = 0.05f)
    {
        sim_operation_misc.frame_rate_period = dt;
        for (int k = 0; k < n; ++k) {
            const float before = frame_clock;
            frame_clock += dt;
            sim_time.total_running_time_sec += dt;
            interval_ticks[INTERVAL_ONE_SECOND] = std::floor(frame_clock + 1e-4f) > std::floor(before + 1e-4f) ? 1 : 0;
            SYSTEMS_own_plane_update();
        }
        interval_ticks[INTERVAL_ONE_SECOND] = 0;
    }

    // Puts the user's plane at a latitude and longitude at an elevation.
    static void place(float lat, float lon, float elevation)
    {
        flt_struct& f = flt[0];
        GEO_latlon_to_local(f.local_x, f.local_y, f.local_z, lat, lon, elevation);
        f.latitude = lat;
        f.longitude = lon;
        f.elevation = elevation;
    }
};
