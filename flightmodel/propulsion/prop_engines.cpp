// The engines that turn propellers and rotors: what each engine breathes, its
// torque from throttle, mixture and speed, its manifold pressure; the clutch
// between each engine and its shaft; one common shaft for linked props or a
// shaft per prop; the props' speeds and the reaction torque on the airframe;
// then each prop's blade elements.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>
#include <cstdio>

#include "core/constants.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/propulsion/prop_common.h"

using namespace prop_detail;

propulsion_state prop_state{};

void ENGN_propulsion_reset() { prop_state = propulsion_state{}; }
ORVELL_RESET(ENGN_propulsion_reset, flight);

namespace {

constexpr float DEG = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float STD_PRESSURE_PA = 101325.0f;

bool reporting() { return sim_network_dataout.dump_next_cycle != 0; }

// The aircraft's rotors turn freely (autogyros): the word after acf_has_clutch,
// which the set-up also derives from the panel's FADEC switch.
bool free_rotor_flag() { return pln[0].acf_no_fadec != 0; }

bool is_free_rotor(int n) { return free_rotor_flag() && is_rotor_type(pln[0].acf_prop_type[n]); }

float gear_ratio(int n) { return pln[0].acf_prop_gear_rat[n]; }

// A gear ratio too small to divide by leaves its propeller off the common shaft.
bool on_shaft(int n) { return std::fabs(gear_ratio(n)) > 1e-6f; }

void report_engine(int n)
{
    const flt_struct& f = flt[0];
    char title[32];
    std::snprintf(title, sizeof title, "ENGINE #%d", n + 1);
    report_log << '\n';
    FM_report_rule();
    FM_report_heading(title);
    FM_report_rule();
    FM_line("   throttle=", f.ENGN_thro_use[n], 2, 7, " ratio.\n");
    FM_line("   omega   =", f.ENGN_tacrad[n], 2, 7, " rad/sec.\n");
    FM_line("   torque  =", f.ENGN_TRQ[n], 2, 10, " N-m.\n");
    FM_line("   power   =", f.ENGN_power[n], 2, 10, " W.\n");
}

void report_prop_torque(int n)
{
    const flt_struct& f = flt[0];
    FM_report_rule();
    FM_report_heading("PROP TORQUE");
    FM_report_rule();
    report_log << "prop torque application #" << n << ", flt[0].POINT_driv_TRQ[en]=";
    FM_num(f.POINT_rock_TRQ[n], 2, 10) << ", pln[0].prop_dir[en]=";
    FM_num(pln[0].acf_prop_dir[n], 2, 7) << ", flt[0].vertcant[en]=";
    FM_num(f.vertcant[n], 2, 7) << '\n';
    report_log << "prop torque application #" << n << ", flt[0].L=";
    FM_num(f.L, 2, 10) << '\n';
    report_log << "prop torque application #" << n << ", flt[0].N=";
    FM_num(f.N, 2, 10) << "\n\n";
}

// The aircraft's low idle ratio; a file without one (zero, negative or
// damaged) idles as the ratio 1.0 does.
float low_idle_ratio()
{
    const float r = pln[0].acf_idle_rat_lo;
    return std::isfinite(r) && r > 0.0f ? r : 1.0f;
}

// Step A for one engine: breathing, torque, manifold pressure and N1.
void engine_torque(int n)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int type = a.acf_en_type[n];
    const float dt = frame_dt();
    const float redline = a.acf_RSC_redline_eng;
    const float idle = a.acf_RSC_idlespeed_eng;
    const float trq_max = a.acf_trq_max_prp;
    const int ignition = f.ignition_on[n];
    const bool one_magneto = ignition == 1 || ignition == 2;

    // Speed ratio and the power-speed ratio, which falls past redline. A
    // redline of 0 in the file would divide by zero and give every torque
    // below no number; the ratio is then 0.
    const float r = div_or(f.ENGN_tacrad[n], redline, 0.0f);
    const float r_power = clampf(r < 1.0f ? r : 2.0f - r, 0.0f, 99.9f);

    // The air the engine breathes: ram and supercharger boost, carburettor
    // heat and ice, one magneto, inlet ice.
    const float p_amb = sim_physics.ambient_pressure;
    float sigma = clampf((0.75f * f.Qstatic + p_amb) / std::fmax(p_amb, 1.0f) * sim_weather.sigma +
                             a.acf_critalt_boost_pa / STD_PRESSURE_PA,
                         0.0f, 1.0f);
    if (type == ENGINE_PISTON_CARBURETTED) {
        sigma *= (1.0f - 0.1f * f.ENGN_heat[n]) * (1.0f - f.ENGN_crbice[n]);
        if (one_magneto) sigma *= 0.85f;
    } else if (type == ENGINE_PISTON_INJECTED) {
        if (one_magneto) sigma *= 0.85f;
    }
    sigma *= clampf(1.0f - f.inlet_ice, 0.0f, 1.0f);
    f.ENGN_sigma[n] = sigma;

    if (type == ENGINE_TURBINE_FREE) {
        ENGN_spool(n);
        const float n1 = f.ENGN_N1_[n] / 100.0f;
        f.ENGN_TRQ[n] = (1.26f * std::pow(n1, 3.2f) - 0.25f * r * r - 0.01f * clampf(100.0f * r, -1.0f, 1.0f)) *
                        trq_max * sigma;
        if (reporting()) report_engine(n);
        return;
    }

    const bool piston = ENGINE_type_is_piston(type);
    // On the ground with the power lever closed the engine runs at its low idle.
    const bool high_idle = sim_cockpit_engine.idle_speed[n] != 0 && !prop_state.ground_idle[n];
    const bool running = f.ENGN_running[n] != 0;

    // Throttle after its lag; a stopped engine takes none and keeps its lagged value.
    float u = 0.0f;
    if (running) {
        // The idle floor: a fixed share of the throttle on the high idle; on
        // the low idle the aircraft's low idle ratio scales the base share.
        float floor = 0.0f;
        if (piston) {
            floor = high_idle ? 0.04f : 0.04f * low_idle_ratio();
        } else if (type == ENGINE_TURBINE_FIXED) {
            floor = high_idle ? 0.16f : 0.06f * low_idle_ratio();
            floor *= clampf(prop_state.run_time_sec[n] / 20.0f, 0.0f, 1.0f);
        }
        const float s = signed_sqrt(f.ENGN_thro_use[n]);
        if (type == ENGINE_ELECTRIC)
            u = s * f.ENGN_mixt_pow_rat[n];
        else
            u = ((1.0f - floor) * s + floor) * f.ENGN_mixt_pow_rat[n];
        // (An idle speed of 0 would divide by zero; it adds nothing then.)
        if (a.acf_drive_by_wire && f.ENGN_tacrad[n] < idle) u += div_or(2.0f * (idle - f.ENGN_tacrad[n]), idle, 0.0f);
        float& spooled = prop_state.spooled_throttle[n];
        // A spool time of 0 would divide by zero (an infinite step, or no
        // number at all): the throttle then follows at once. A lagged value
        // that is no number would stay so in every later frame; it restarts at 0.
        const float step = a.acf_spooltime_prop > 0.0f ? dt / a.acf_spooltime_prop : 9.9e9f;
        spooled = clampf(u, spooled - step, spooled + step);
        if (!std::isfinite(spooled)) spooled = 0.0f;
        u = spooled;
    }

    // Drive and friction as ratios of the rated torque.
    float drive = 0.0f, friction = 0.0f;
    const float k = clampf(100.0f * r, -1.0f, 1.0f);
    const float q = r * std::fabs(r);
    if (piston) {
        drive = 0.25f * sigma * (running ? 1.0f : 0.0f) + 1.75f * sigma * u * std::sqrt(r_power);
        friction = 0.25f * sigma * k + 0.75f * sigma * q;
        if (f.ENGN_tacrad[n] < 0.25f * idle) drive = 0.0f;
    } else if (type == ENGINE_TURBINE_FIXED) {
        drive = 1.25f * sigma * u * std::pow(r_power, 0.1f);
        friction = 0.01f * k + 0.24f * sigma * q;
        if (f.ENGN_tacrad[n] < 0.1f * idle) drive = 0.0f;
    } else {   // electric: torque follows the lagged throttle
        drive = 1.01f * u;
        friction = 0.01f * k;
    }

    float starter = 0.0f;
    if (sim_cockpit_engine.starter_duration[n] > 0.01f) {
        const float v = f.ENGN_bat_volt[n];
        const float fr = a.acf_friction_rat;
        const float st = a.acf_starter_torque_rat;
        if (piston)
            starter = (fr + 0.46f) * v * st;
        else if (type == ENGINE_TURBINE_FIXED)
            starter = (fr + 0.1f) * v * st;
        else
            starter = v * fr * st;
    }
    f.ENGN_TRQ[n] = (drive - friction + starter) * trq_max;

    // Manifold pressure: from ambient at rest towards the throttle's full
    // pressure as the engine reaches idle speed.
    const float p_inhg = p_amb * UNIT.pa_to_inhg;
    const float fwd = a.acf_throtmax_FWD;
    const float m = fwd == 0.0f ? 0.65f : clampf(0.3f + 0.7f * f.ENGN_thro_use[n] / fwd, 0.3f, 1.0f);
    const float g =
        redline == 0.0f ? 1.075f
                        : clampf(1.15f - 0.15f * (f.ENGN_tacrad[n] - 0.75f * redline) / (0.25f * redline), 1.0f, 1.15f);
    const float full = m * g * a.acf_mpmax * sigma;
    float target;
    if (idle == 0.0f) {
        target = 0.5f * (full + p_inhg);
    } else {
        target = p_inhg + f.ENGN_tacrad[n] * (full - p_inhg) / idle;
        target = clampf(target, std::fmin(p_inhg, full), std::fmax(p_inhg, full));
    }
    // A target that is no number (damaged inputs) would poison the lagged
    // pressure for good; that frame leaves it as it was.
    if (std::isfinite(target)) f.ENGN_MPR[n] = (1.0f - dt) * f.ENGN_MPR[n] + dt * target;
    f.ENGN_N1_[n] = std::fmax(100.0f * r, 0.0f);

    if (reporting()) report_engine(n);
}

// Step G for one prop: its speed, and the drive's reaction on the airframe.
void integrate_prop(int n)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // The inertia is floored (prop_inertia): one of 0 would divide by zero.
    // The speed is kept below a ceiling no prop reaches and to a number, so
    // that damaged values cannot overflow the integration.
    f.POINT_omegadot[n] = (f.POINT_rock_TRQ[n] - f.POINT_drag_TRQ[n]) / prop_inertia(n);
    f.POINT_tacrad[n] = clampf(f.POINT_tacrad[n] + frame_dt() * f.POINT_omegadot[n], 0.0f, MAX_SHAFT_SPEED);
    if (!std::isfinite(f.POINT_tacrad[n])) f.POINT_tacrad[n] = 0.0f;
    // The drivetrain turns one way only (the floor above). Without it the air
    // on a feathered blade, whose inner sections the twist sets past edge-on,
    // would turn a stopped propeller backwards, and its engine with it; it
    // stands still instead.
    if (f.POINT_tacrad[n] == 0.0f && f.POINT_omegadot[n] < 0.0f) f.POINT_omegadot[n] = 0.0f;

    const float vc = f.vertcant[n] * DEG, sc = f.sidecant[n] * DEG;
    const float t = f.POINT_rock_TRQ[n] * a.acf_prop_dir[n];
    f.L -= t * std::cos(vc) * std::cos(sc);
    f.N += t * std::sin(vc) * std::cos(sc);
    f.M += t * std::sin(sc);
    if (reporting()) report_prop_torque(n);
}

// A seized engine and its propeller: at rest.
void seize(int n)
{
    flt_struct& f = flt[0];
    f.POINT_tacrad[n] = f.POINT_omegadot[n] = 0.0f;
    if (n < engine_count()) f.ENGN_tacrad[n] = f.ENGN_omegadot[n] = 0.0f;
}

// Step D: every prop on one shaft.
void linked_shaft()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = frame_dt();
    const int engines = engine_count();
    const int points = thrust_point_count();
    const float trq_max = a.acf_trq_max_prp;

    float shaft = f.POINT_tacrad[0] * gear_ratio(0);
    float torque = 0.0f;
    for (int n = 0; n < engines; ++n)
        if (engine_powers_prop(n)) torque += ENGN_torque_clutch(n, shaft);

    float load = 0.0f, inertia = 0.01f;
    for (int n = 0; n < points; ++n) {
        if (!prop_present(n) || a.acf_prop_type[n] == PROP_LIFT_FAN || is_free_rotor(n) || !on_shaft(n)) continue;
        const float gear = gear_ratio(n);
        load += f.POINT_drag_TRQ[n] / gear;
        inertia += prop_inertia(n) / (gear * gear);
    }

    // Free rotors are spun up by the pre-rotator, which the shaft pays for.
    for (int n = 0; n < points; ++n) {
        if (!prop_present(n) || !is_free_rotor(n) || !on_shaft(n)) continue;
        const float gear = gear_ratio(n);
        const float e = shaft / gear + 0.85f - f.POINT_tacrad[n];
        float p = 0.0f;
        if (sim_cockpit_switches.pre_rotating) {
            if (sim_cockpit_switches.pre_rotate_level == 0)
                p = clampf(e, -0.5f, 0.5f);
            else if (sim_cockpit_switches.pre_rotate_level == 1)
                p = clampf(e, -1.5f, 1.5f);
        }
        torque -= trq_max * p;
        f.POINT_rock_TRQ[n] = trq_max * p * gear;
    }

    // Kept below a ceiling no shaft reaches and to a number, so that damaged
    // values cannot overflow the integration.
    shaft = clampf(shaft + dt * (torque - load) / inertia, -MAX_SHAFT_SPEED, MAX_SHAFT_SPEED);
    if (!std::isfinite(shaft)) shaft = 0.0f;

    // Every driven prop follows the shaft exactly.
    for (int n = 0; n < points; ++n) {
        if (!prop_present(n) || a.acf_prop_type[n] == PROP_LIFT_FAN || is_free_rotor(n)) continue;
        if (a.acf_prop_type[n] == PROP_TAIL_ROTOR && failed(FAIL_SLOT_TAIL_ROTOR)) {
            f.POINT_tacrad[n] = 0.0f;
            f.POINT_rock_TRQ[n] = 0.0f;
            continue;
        }
        // A prop off the shaft, or a frame of no length, would divide by zero:
        // the drive then only holds the prop against its own drag.
        if (!on_shaft(n) || !(dt > 0.0f)) {
            f.POINT_rock_TRQ[n] = f.POINT_drag_TRQ[n];
            continue;
        }
        f.POINT_rock_TRQ[n] = (shaft / gear_ratio(n) - f.POINT_tacrad[n]) / dt * prop_inertia(n) + f.POINT_drag_TRQ[n];
    }
}

}  // namespace

int PROP_is_rotor(int e)
{
    if (e < 0 || e >= FLT_ENGINES) return 0;   // no engine: it would read past the engine tables
    return is_free_rotor(e) ? 1 : 0;
}

float ENGN_torque_clutch(int n, float shaft_speed)
{
    if (n < 0 || n >= FLT_ENGINES) return 0.0f;   // no engine: it would reach past the engine tables
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int type = a.acf_en_type[n];
    const bool piston = ENGINE_type_is_piston(type);
    const bool own_clutch = a.acf_eng_clutch[n] != 0;
    const bool linked = a.acf_props_linked != 0;
    const bool free_rotor = free_rotor_flag();
    const float trq_max = a.acf_trq_max_prp;
    const float dt = frame_dt();

    // Engaged: the cockpit switch, or an automatic clutch of its own.
    bool engaged = sim_cockpit_engine.clutch_engage != 0;
    if (own_clutch && !a.acf_has_clutch) {
        if (piston)
            engaged = f.ENGN_tacrad[n] > 2.0f * a.acf_RSC_idlespeed_eng;
        else if (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED)
            engaged = f.ENGN_N1_[n] > 1.0f;
    }

    // The torque the clutch can pass each way.
    float hi = 1.5f * trq_max, lo = -1.5f * trq_max;
    if (!engaged && !free_rotor) hi = lo = 0.0f;
    if (linked && !free_rotor) lo = 0.0f;
    if (own_clutch && a.acf_has_clutch && piston) {
        // A manual clutch slips in over 50 s and out again.
        float& ratio = sim_cockpit_engine.clutch_ratio[n];
        ratio += (sim_cockpit_engine.clutch_engage ? 0.02f : -0.02f) * dt;
        ratio = clampf(ratio, 0.0f, 1.0f);
        if (!std::isfinite(ratio)) ratio = 0.0f;   // a damaged ratio would stay no number for good
        hi = 1.5f * ratio * trq_max;
        if (!linked) lo = -hi;
    }
    // A failed clutch passes nothing, whatever kind it is. The failure is
    // applied after the manual clutch's band: applied before it, the manual
    // band would overwrite the zero and a failed manual clutch would still
    // drive its prop.
    if (failed(FAIL_SLOT_CLUTCH_BASE + n)) hi = lo = 0.0f;

    // A redline of 0 would divide by zero: the clutch then passes only the
    // engine's own torque.
    const float coupling = div_or(10.0f * trq_max * (f.ENGN_tacrad[n] - shaft_speed), a.acf_RSC_redline_eng, 0.0f);
    const float qc = clampf(f.ENGN_TRQ[n] + coupling, lo, hi);

    // The engine's own speed; it locks to the shaft when it crosses it while
    // the clutch can pass torque that way.
    const float accel = (f.ENGN_TRQ[n] - qc) / engine_inertia(n);
    f.ENGN_omegadot[n] = accel;
    const float before = f.ENGN_tacrad[n];
    float after = before + dt * accel;
    if ((accel > 0.0f && hi > 0.0f && before < shaft_speed && after > shaft_speed) ||
        (accel < 0.0f && lo < 0.0f && before > shaft_speed && after < shaft_speed))
        after = shaft_speed;
    // Kept below a ceiling no engine reaches and to a number (damaged values).
    after = clampf(after, -MAX_SHAFT_SPEED, MAX_SHAFT_SPEED);
    f.ENGN_tacrad[n] = std::isfinite(after) ? after : 0.0f;

    // Drivetrain friction, which rises to twice the rated torque as the oil goes.
    const float fr = a.acf_friction_rat;
    const float lo_f = std::fmin(fr, 2.0f), hi_f = std::fmax(fr, 2.0f);
    const float friction = clampf(fr + (fr - 2.0f) * (f.oil_power_thrust_ratio[n] - 1.0f), lo_f, hi_f);
    const float sign = f.POINT_tacrad[n] < 0.0f ? -1.0f : 1.0f;
    return qc - sign * friction * trq_max;
}

void ENGN_prop_engines()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int engines = engine_count();
    const int points = thrust_point_count();

    // A. Each engine that turns a prop.
    for (int n = 0; n < engines; ++n)
        if (ENGINE_type_drives_prop(a.acf_en_type[n])) engine_torque(n);

    // B. Lift fans share the power the jets hand them.
    int fans = 0;
    for (int n = 0; n < points; ++n)
        if (a.acf_prop_type[n] == PROP_LIFT_FAN) ++fans;
    for (int n = 0; n < points && fans > 0; ++n) {
        if (a.acf_prop_type[n] != PROP_LIFT_FAN) continue;
        f.ENGN_tacrad[n] = f.POINT_tacrad[n];
        f.ENGN_power[n] = f.lift_fan_total_power / static_cast<float>(fans);
        // The limit by size: a negative rating would turn the range round. A
        // redline of 0 would divide by zero; such a fan takes no torque and
        // shows N1 0.
        const float limit =
            std::fabs(div_or(1.5f * a.acf_tmax * a.acf_lift_fan_rat * 340.0f, a.acf_RSC_redline_eng, 0.0f));
        f.ENGN_TRQ[n] = clampf(f.ENGN_power[n] / std::fmax(f.ENGN_tacrad[n], 1.0f), -limit, limit);
        f.ENGN_N1_[n] = div_or(100.0f * f.ENGN_tacrad[n], a.acf_RSC_redline_eng, 0.0f);
    }

    // C. Shaft power.
    for (int n = 0; n < engines; ++n)
        if (engine_powers_prop(n)) f.ENGN_power[n] = f.ENGN_TRQ[n] * f.ENGN_tacrad[n];

    // D and E. The drive to each prop: one common shaft, or a clutch each.
    if (a.acf_props_linked) {
        linked_shaft();
    } else {
        for (int n = 0; n < points; ++n) {
            if (!prop_present(n) || a.acf_prop_type[n] == PROP_LIFT_FAN) continue;
            if (a.acf_en_type[n] == ENGINE_TIP_ROCKET) {
                f.POINT_rock_TRQ[n] = 0.0f;
            } else {
                const float gear = gear_ratio(n);
                f.POINT_rock_TRQ[n] = ENGN_torque_clutch(n, f.POINT_tacrad[n] * gear) * gear;
            }
        }
    }

    // F. Lift fans are driven by their share of the power.
    for (int n = 0; n < points; ++n)
        if (prop_present(n) && a.acf_prop_type[n] == PROP_LIFT_FAN) f.POINT_rock_TRQ[n] = f.ENGN_TRQ[n];

    // G. Prop speeds and the reaction on the airframe. A failed engine has
    // seized: its propeller takes no part in these loops and stands still,
    // where its last speed would otherwise be shown for good.
    for (int n = 0; n < points; ++n) {
        if (prop_present(n))
            integrate_prop(n);
        else if (failed(FAIL_SLOT_ENGINE_BASE + n))
            seize(n);
    }

    // H. Blade elements.
    for (int n = 0; n < points; ++n)
        if (prop_present(n)) PROP_blade_element_forces(n);
}
