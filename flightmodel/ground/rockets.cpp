// Thrust that needs no air: rocket engines, the manoeuvring rockets fired by
// key, JATO bottles and the attitude puffers of a hovering aircraft.
#include <cmath>
#include <iomanip>

#include "aircraft/acf_struct.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/step_record.h"

namespace {

constexpr float MIN_FUEL_FLOW = 0.01f;

// Manoeuvring-rocket commands: a push along one body axis at the centre of gravity.
constexpr int ROCKET_AFT = 380;
constexpr int ROCKET_FORWARD = 381;
constexpr int ROCKET_RIGHT = 382;
constexpr int ROCKET_LEFT = 383;
constexpr int ROCKET_UP = 384;
constexpr int ROCKET_DOWN = 385;

void after(const char* title)
{
    if (!FM_reporting()) return;
    report_log << title;
    FM_report_prop_totals();
}

}  // namespace

void ROCKET_engine(int e)
{
    if (e < 0 || e >= FLT_ENGINES) return;   // no engine: it would read and write past the engine tables
    flt_struct& f = flt[0];
    const float thrust = ENGN_jet_thrust_avail(e);
    f.POINT_thrust[e] = thrust;

    float x, y, z;
    PHYS_rotate_by_cyclic(0.0f, 0.0f, -thrust, &x, &y, &z, 0, e);
    float* slot = &f.force_XYZ[3 * (10 * e)];
    slot[0] = x, slot[1] = y, slot[2] = z;
    const float* p = &f.POINT_XYZ[3 * e];
    PHYS_add_prop_side(0, x, p[1], p[2]);
    PHYS_add_prop_normal(0, y, p[0], p[2]);
    PHYS_add_prop_axial(0, z, p[0], p[1]);

    float flow = f.ENGN_FF_[e];
    if (!(std::fabs(flow) > MIN_FUEL_FLOW)) flow = flow < 0.0f ? -MIN_FUEL_FLOW : MIN_FUEL_FLOW;
    f.DVinc[e] = thrust / flow;
    const float t = f.ENGN_thro_use[e];
    f.ENGN_N1_[e] = f.ENGN_running[e] ? (t < 0.0f ? -100.0f : 100.0f) * std::sqrt(std::fabs(t)) : 0.0f;
    f.ENGN_power[e] = thrust * f.DVinc[e];

    if (FM_reporting()) {
        report_log << '\n';
        FM_report_rule();
        for (int k = 0; k < 3; ++k) report_log.put('\xA5');
        report_log << "ROCKET ENGINE #" << std::setw(2) << e + 1;
        FM_report_rule(80);
        FM_report_rule();
        FM_line("   Thrust=", thrust, 2, 10, " N.\n");
        FM_line("   Exhaust speed (based on thrust and fuel-flow)=", f.DVinc[e], 2, 7, " m/s.\n");
        FM_report_prop_totals();
    }
}

void ROCKET_thrusters()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];

    if (frame_clock < f.rocket_timeout) {
        switch (f.rocket_mode) {
        case ROCKET_AFT: PHYS_add_prop_axial(0, a.acf_puffZ, 0.0f, 0.0f); break;
        case ROCKET_FORWARD: PHYS_add_prop_axial(0, -a.acf_puffZ, 0.0f, 0.0f); break;
        case ROCKET_RIGHT: PHYS_add_prop_side(0, a.acf_puffX, 0.0f, 0.0f); break;
        case ROCKET_LEFT: PHYS_add_prop_side(0, -a.acf_puffX, 0.0f, 0.0f); break;
        case ROCKET_UP: PHYS_add_prop_normal(0, a.acf_puffY, 0.0f, 0.0f); break;
        case ROCKET_DOWN: PHYS_add_prop_normal(0, -a.acf_puffY, 0.0f, 0.0f); break;
        default: break;
        }
        after("After manuevering rockets:\n");
    }

    if (sim_cockpit_switches.jato_on) {
        const float theta = a.acf_jato_theta * DEG_TO_RAD_FLOAT;
        PHYS_add_prop_axial(0, -a.acf_jato_thrust * std::cos(theta), 0.0f, a.acf_jato_Y);
        PHYS_add_prop_normal(0, a.acf_jato_thrust * std::sin(theta), 0.0f, a.acf_jato_Z);
        f.jato_left -= FM_step_sec();
        if (f.jato_left < 0.0f) sim_cockpit_switches.jato_on = 0;
        after("After JATO:\n");
    }

    if (sim_cockpit_switches.puffers_on && (a.acf_puffL > 0.0f || a.acf_puffM > 0.0f || a.acf_puffN > 0.0f)) {
        f.L += a.acf_puffL * f.FC_roll;
        f.M += a.acf_puffM * f.FC_ptch;
        f.N += a.acf_puffN * f.FC_hdng;
        after("After puffers:\n");
    }
}
