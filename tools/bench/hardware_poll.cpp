// One joystick poll as a flying frame makes it: two software controllers
// read and mapped into the controls, their buttons run, the serial console
// on a pseudo-terminal sent its changed displays and read, and the shared
// state record rewritten.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/console.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "links/shared_memory.h"
#include "platform/plat_serial.h"
#include "tests/support/virtual_joystick.h"

namespace {

void quiet_alert(int, const char* const[4], int) {}

void BM_HardwarePoll(benchmark::State& state)
{
    MACIBM_set_alert_handler(quiet_alert);
    RESET_all();
    pln[0].acf_num_engines = 2;
    pln[0].acf_throtmax_FWD = 1.0f;
    app_mode = MODE_FLYING;
    frame_clock = 10.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    sim_cockpit_electrical.avionics_on = 1;

    virtual_joystick stick(6, 1, 16), pedals(3, 0, 8, 0x0200);
    JOY_init();
    sim_joystick_block& j = sim_joystick;
    std::fill(std::begin(j.joystick_axis_minimum), std::end(j.joystick_axis_minimum), -100.0f);
    std::fill(std::begin(j.joystick_axis_maximum), std::end(j.joystick_axis_maximum), 100.0f);
    j.joystick_pitch_sensitivity = j.joystick_roll_sensitivity = j.joystick_heading_sensitivity = 1.0f;
    const int axes[9] = {JOY_AXIS_PITCH, JOY_AXIS_ROLL, JOY_AXIS_THROTTLE_1, JOY_AXIS_THROTTLE_2, JOY_AXIS_MIXTURE,
                         JOY_AXIS_PROPELLER, JOY_AXIS_YAW, JOY_AXIS_LEFT_TOE_BRAKE, JOY_AXIS_RIGHT_TOE_BRAKE};
    std::copy(std::begin(axes), std::end(axes), j.joystick_axis_assignments);
    j.joystick_button_assignments[8] = 10;    // throttle up while held
    j.joystick_button_assignments[9] = 56;    // parking brake while held
    j.has_joystick = 1;

    // The console beside the controllers (model 12: the joysticks still fly).
    int master = -1, slave = -1;
    char name[256];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    PLAT_serial_set_device("COM1", name);
    j.eq_cirrusII_fun = 12;
    HARDWARE_open();

    const std::string area = "/Orvell_bench_area_" + std::to_string(getpid());
    SHMEM_set_area_name(area.c_str());
    SHMEM_static_init();

    float throttle[2] = {};
    flt_struct& f = flt[0];
    uint8_t drain[4096];
    int k = 0;
    for (auto _ : state) {
        // Something moves every frame: a lever, a button, a radio on the console's display.
        stick.axis(2, k % 200 - 100);
        stick.button(0, (k / 8) % 2 == 0);
        sim_cockpit_radios.nav1_freq_hz = 10800 + k % 1000;
        interval_ticks[INTERVAL_TWENTIETH_SECOND] = 1;
        frame_clock += 0.02f;
        JOY_poll(&j.yolk_pitch_ratio, &j.yolk_roll_ratio, &j.yolk_heading_ratio, &throttle[0], &throttle[1],
                 &f.l_brake_add, &f.r_brake_add, &f.ENGN_prop[0], &f.ENGN_mixt[0], &f.ENGN_heat[0], &f.vectrqst,
                 &f.swdirqst, 1);
        ++k;
        state.PauseTiming();
        while (read(master, drain, sizeof drain) > 0) {
        }
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(throttle);

    HARDWARE_reset();
    JOY_close();
    SHMEM_set_area_name("");
    close(master);
    close(slave);
}
BENCHMARK(BM_HardwarePoll)->Unit(benchmark::kMicrosecond);

}  // namespace
