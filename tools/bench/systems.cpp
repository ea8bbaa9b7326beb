// One pass of the own-plane systems step on the default world, with the
// 1-second flag raised on every pass (the wind sample, icing, lightning and
// the failure tests all run): the trainer flying over San Bernardino with its
// receivers tuned to the field's localizer, VOR, NDB and DME.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems.h"
#include "platform/plat_sound.h"
#include "shell/defaults.h"
#include "tools/bench/bench_defaults.h"
#include "world/navdb.h"

namespace {

void quiet_alert(int, const char* const[4], int) {}

void default_world()
{
    static bool done = false;
    if (done) return;
    done = true;
    bench_default_state(quiet_alert);
    NAV_load_databases();

    acf_struct& a = pln[0];
    a.acf_num_engines = 1;
    a.acf_en_type[0] = 0;
    a.acf_RSC_redline_prp = 280.0f;
    a.acf_m_fuel_tot = 150.0f;
    a.acf_num_tanks = 2;
    a.acf_tank_rat[0] = a.acf_tank_rat[1] = 0.5f;
    a.acf_est_Vs = 25.0f;
    a.acf_ff_hydraulic = 1;
    a.acf_Vne = 160.0f;
    std::strcpy(a.acf_file_name, "Orvell Trainer.acf");

    flt_struct& f = flt[0];
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    f.latitude = 34.05f;
    f.longitude = -117.35f;
    f.elevation = 900.0f;
    GEO_latlon_to_local(f.local_x, f.local_y, f.local_z, f.latitude, f.longitude, f.elevation);
    f.y_agl = 550.0f;
    f.psi = 72.0f;
    f.POINT_tacrad[0] = 240.0f;
    f.m_fuel1 = f.m_fuel2 = 60.0f;
    for (int k = 0; k < FAILURE_SLOTS; ++k) f.failures[k] = FAILURE_STATE_ABOVE_ALTITUDE, f.failure_param[k] = 1.0e9f;
    sim_time.total_flight_time_sec = 100.0f;
    sim_cockpit_radios.nav1_freq_hz = 10930;
    sim_cockpit_radios.nav2_freq_hz = 11270;
    sim_cockpit_radios.dme_freq_hz = 10930;
    sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
    sim_weather.thunderstorm_percent = 0.2f;
    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_base_msl_m[0] = 800.0f;
    sim_weather.cloud_tops_msl_m[0] = 2000.0f;
}

void BM_systems_pass(benchmark::State& state)
{
    default_world();
    for (auto _ : state) {
        frame_clock += sim_operation_misc.frame_rate_period;
        if (frame_clock > 10000.0f) frame_clock = 0.0f;
        interval_ticks[INTERVAL_ONE_SECOND] = 1;
        SYSTEMS_own_plane_update();
    }
}
BENCHMARK(BM_systems_pass);

}  // namespace
