// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, puts the trainer on KSBD's first runway and flies frames
// with the whole plane step.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "flightmodel/ground/terrain_query.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

class FlightEndToEnd : public started_program {
protected:
    // What the start-up left, noted before any test of the suite flies the plane.
    static inline start_selection_record started_selection{};
    static inline flt_struct started_flt{};
    static inline float started_terrain_height_m = 0.0f;
    static inline bool started_gear_down = false;
    static inline bool started_replay_empty = false;
    // The suite looks at the flight, never at the picture.
    const unseen_frames unseen;

    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};   // a fresh process: no start chosen yet
        started_program::SetUpTestSuite();
        started_selection = start_selection;
        started_flt = flt[0];
        started_terrain_height_m = terrain_height_m;
        started_gear_down = std::all_of(&pln[0].acf_gear_deploy[PART_GEAR_FIRST], &pln[0].acf_gear_deploy[PART_GEAR_LAST + 1],
                                        [](float d) { return d == 1.0f; });
        started_replay_empty = std::all_of(std::begin(replay_ring), std::end(replay_ring),
                                           [](const plane_state_record& r) { return r.network_time_sec == 0.0f; });
    }
};

bool finite_record(const flt_struct& f)
{
    // Every float field; the int fields hold small values whose bits read as finite floats.
    const auto* w = reinterpret_cast<const uint32_t*>(&f);
    for (size_t k = 0; k < offsetof(flt_struct, local_x_d) / 4; ++k) {
        float v;
        std::memcpy(&v, &w[k], 4);
        if (!std::isfinite(v)) return false;
    }
    return std::isfinite(f.local_x_d) && std::isfinite(f.local_y_d) && std::isfinite(f.local_z_d);
}

}  // namespace

TEST_F(FlightEndToEnd, TrainerStartsOnKsbdsFirstRunwayAndFliesAHundredFrames)
{
    ASSERT_TRUE(pln[0].acf_m_max > 0.0f && std::strstr(pln[0].acf_file_name, "TRAINER"))
        << "the program did not load the trainer";

    // On the first runway, 10 m inside its threshold, standing on its gear.
    ASSERT_GE(started_selection.airport_index, 0);
    ASSERT_LT(size_t(started_selection.airport_index), airport_table.size());
    const airport_record& apt = airport_table[static_cast<size_t>(started_selection.airport_index)];
    ASSERT_STREQ(apt.id, "KSBD");
    ASSERT_EQ(started_selection.start_index, 0);
    const runway_record& rw = apt.runways[0];
    const flt_struct& f = started_flt;
    const float heading = rw.heading + GEO_grid_convergence(rw.lat, rw.lon);
    EXPECT_NEAR(f.psi, heading, 1e-3f);
    float rx, ry, rz;
    GEO_latlon_to_local(rx, ry, rz, rw.lat, rw.lon, apt.elevation);
    EXPECT_NEAR(std::hypot(f.local_x - rx, f.local_z - rz), (rw.length - 20.0f) * 0.5f, 0.1f);
    float sx, surface, sz;
    GEO_latlon_to_local(sx, surface, sz, f.latitude, f.longitude, apt.elevation);
    EXPECT_NEAR(f.local_y, std::max(surface, started_terrain_height_m) + pln[0].acf_h_eqlbm, 0.05f);
    EXPECT_EQ(f.groundspeed, 0.0f);
    EXPECT_EQ(f.parkbrake, 1.0f);
    EXPECT_TRUE(started_gear_down);
    EXPECT_TRUE(started_replay_empty);

    // A hundred flying frames at about 25 frames a second, from that runway start.
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    app_mode = MODE_FLYING;
    const float flight_time = sim_time.total_flight_time_sec;
    double periods = 0.0;
    for (int k = 0; k < 100; ++k) {
        run_frames_for(0.04, 0.04);
        periods += sim_operation_misc.frame_rate_period;
        // On the runway the frame runs in steps of at most CONTACT_STEP_SEC.
        ASSERT_GE(derived_state.buildups_last_frame, 2) << "frame " << k;
        ASSERT_LE(sim_operation_misc.frame_rate_period / static_cast<float>(derived_state.buildups_last_frame),
                  CONTACT_STEP_SEC * 1.001f)
            << "frame " << k;
    }
    EXPECT_NEAR(sim_time.total_flight_time_sec - flight_time, periods, 1e-3);
    for (int s = 0; s < FLT_SLOTS; ++s) EXPECT_TRUE(finite_record(flt[s])) << "slot " << s;
    // The other planes in use were placed near the user's plane, inside the loaded area.
    for (int s = 1; s < sim_graphics_settings.draw_aircrafts && s < FLT_SLOTS; ++s) {
        const flt_struct& o = flt[s];
        EXPECT_LT(std::fabs(o.local_x), 9.0e9f) << "slot " << s;
        EXPECT_TRUE(TERRAIN_point_in_area(o.local_x, o.local_y, o.local_z, 0.0f)) << "slot " << s;
    }
}

// Gravity reaches the plane through the running program's own systems step:
// the trainer let go 2 m above the runway falls at the local gravity, lands
// on its gear without a crash and comes to rest with its struts carrying its
// weight.
TEST_F(FlightEndToEnd, TrainerLetGoAboveTheRunwayFallsUnderGravityAndLandsOnItsGear)
{
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    app_mode = MODE_FLYING;
    // Still air: no gust moves the falling plane.
    for (int k = 0; k < WIND_LAYERS; ++k)
        sim_weather.wind_speed_kt[k] = sim_weather.shear_speed_kt[k] = sim_weather.turbulence[k] = 0.0f;
    sim_weather.thunderstorm_percent = sim_weather.microburst_probability = sim_weather.wind_turbulence_percent = 0.0f;
    sim_weather.thermal_percent = 0.0f;
    WEATHER_reset();   // nor the wind an earlier flight left easing toward calm
    auto frames = [](int n) { run_frames_for(0.04 * n, 0.04); };
    flt_struct& f = flt[0];
    frames(25);   // settled on the runway
    ASSERT_EQ(f.onground_all, 1);
    const float rest_y = f.local_y;
    const float x0 = f.local_x, z0 = f.local_z;

    f.local_y_d += 2.0;
    f.local_y = static_cast<float>(f.local_y_d);
    f.local_vx = f.local_vy = f.local_vz = 0.0f;
    frames(1);
    ASSERT_EQ(f.onground_any, 0);
    ASSERT_NEAR(sim_physics.g_sealevel, 9.79f, 0.02f);   // the systems step's gravity at the field
    // A quarter second of free fall: at this speed the air barely holds it.
    const float vy0 = f.local_vy;
    double seconds = 0.0;
    for (int k = 0; k < 6; ++k) {
        frames(1);
        seconds += sim_operation_misc.frame_rate_period;
    }
    EXPECT_NEAR((f.local_vy - vy0) / seconds, -sim_physics.g_sealevel, 0.03f * sim_physics.g_sealevel);

    frames(5 * 25);
    EXPECT_EQ(f.onground_all, 1);
    EXPECT_NEAR(f.local_y, rest_y, 0.05f);   // back where it stood, not restarted elsewhere
    EXPECT_LT(std::hypot(f.local_x - x0, f.local_z - z0), 0.5f);
    float struts = 0.0f;
    for (int n = PART_GEAR_FIRST; n < PART_GEAR_FIRST + 3; ++n) struts += f.nrml_force[n];
    const float weight = f.m_total * sim_physics.g_sealevel;
    EXPECT_NEAR(struts, weight, 0.02f * weight);
}
