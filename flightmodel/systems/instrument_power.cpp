#include "flightmodel/systems/instrument_power.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/failure_slots.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"

namespace {

constexpr float POWER_THRESHOLD = 0.01f;

// Engines the sums run over: at least engine 0, at most the eight entries (a
// larger engine count, from a file or a plug-in, would read past them).
int engines_counted()
{
    const int n = pln[0].acf_num_engines;
    if (n <= 1) return 1;
    return n < FLT_ENGINES ? n : FLT_ENGINES;
}

}  // namespace

float PANEL_power_level()
{
    if (FLT_slot_failed(0, FAIL_SLOT_ELECTRICAL)) return 0.0f;
    const flt_struct& f = flt[0];
    const bool battery = sim_cockpit_electrical.battery_on != 0;
    float sum = 0.0f;
    for (int e = 0; e < engines_counted(); ++e) sum += battery ? f.ENGN_bat_volt[e] : f.ENGN_N1_[e] / 10.0f;
    if (!(sum > 0.0f)) return 0.0f;   // also a sum that is not a number
    return sum > 1.0f ? 1.0f : sum;
}

int PANEL_has_power() { return PANEL_power_level() > POWER_THRESHOLD ? 1 : 0; }

int PANEL_avionics_powered()
{
    if (sim_cockpit_electrical.avionics_on == 0) return 0;
    return PANEL_has_power();
}

int PANEL_inverter_on()
{
    // The engines the power level counts: an aircraft without engines (a
    // glider, the orbiter) has its battery on engine 0's entries, and engine
    // 0's inverter turns it into the electric gyros' power. Counting no engine
    // here would leave such an aircraft's electric attitude and heading
    // displays frozen and its autopilot off, on a bus that has power.
    const int n = engines_counted();
    for (int e = 0; e < n; ++e)
        if (sim_cockpit_engine.inverter_on[e] && !FLT_slot_failed(0, FAIL_SLOT_INVERTER_BASE + e)) return 1;
    return 0;
}
