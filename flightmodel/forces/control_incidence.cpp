// The aircraft's current shape from the controls: gear legs and doors, thrust
// vectoring and disc tilts, differential throttles, sweep and dihedral,
// element incidence and control-surface deflections, and the cached
// sines and cosines the build-up and the rotations read.
#include "flightmodel/forces/control_incidence.h"

#include <cmath>
#include <iomanip>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/numeric.h"
#include "core/folders.h"
#include "core/simvars/operation.h"
#include "core/ui_text.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_surface.h"
#include "flightmodel/forces/report.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;

float sg(float v) { return v < 0.0f ? -1.0f : 1.0f; }

// The start and end stations and the root and tip chord ratios of a surface kind.
struct surface_geometry {
    float s0, s1, r0, r1;
};

bool geometry_of(const acf_struct& a, int part, int kind, surface_geometry* g)
{
    switch (kind) {
    case SURF_AILERON1: *g = {a.acf_ail1_el_first[part], a.acf_ail1_el_end[part], a.acf_ail1_crat, a.acf_ail1_crat2}; return true;
    case SURF_AILERON2: *g = {a.acf_ail2_el_first[part], a.acf_ail2_el_end[part], a.acf_ail2_crat, a.acf_ail2_crat2}; return true;
    case SURF_SPOILER: *g = {a.acf_splr_el_first[part], a.acf_splr_el_end[part], a.acf_splr_crat, a.acf_splr_crat2}; return true;
    case SURF_DRAG_RUDDER: *g = {a.acf_drud_el_first[part], a.acf_drud_el_end[part], a.acf_drud_crat, a.acf_drud_crat2}; return true;
    case SURF_ELEVATOR: *g = {a.acf_elev_el_first[part], a.acf_elev_el_end[part], a.acf_elev_crat, a.acf_elev_crat2}; return true;
    case SURF_RUDDER: *g = {a.acf_rudd_el_first[part], a.acf_rudd_el_end[part], a.acf_rudd_crat, a.acf_rudd_crat2}; return true;
    case SURF_FLAPS: *g = {a.acf_flap_el_first[part], a.acf_flap_el_end[part], a.acf_flap_crat, a.acf_flap_crat2}; return true;
    case SURF_SPEEDBRAKE: *g = {a.acf_sbrk_el_first[part], a.acf_sbrk_el_end[part], a.acf_sbrk_crat, a.acf_sbrk_crat2}; return true;
    default: return false;
    }
}

// A. Gear legs of every present gear part.
void gear_legs(int plane, acf_struct& a)
{
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!ACF_part_present(plane, p)) continue;
        const float d = a.acf_gear_deploy[p];
        a.acf_gear_latN[p] = a.acf_gear_latR[p] + d * (a.acf_gear_latE[p] - a.acf_gear_latR[p]);
        a.acf_gear_lonN[p] = a.acf_gear_lonR[p] + d * (a.acf_gear_lonE[p] - a.acf_gear_lonR[p]);
        a.acf_gear_axiN[p] = a.acf_gear_axiR[p] + d * (a.acf_gear_axiE[p] - a.acf_gear_axiR[p]);
        const float len = a.acf_gear_leglen[p] - (1.0f - d) * a.acf_gear_retract_len[p];
        const float lat = a.acf_gear_latN[p] * DEG, lon = a.acf_gear_lonN[p] * DEG;
        a.acf_gear_xnodef[p] = a.acf_Xarm[p] + len * std::sin(lat) * std::cos(lon);
        a.acf_gear_ynodef[p] = a.acf_Yarm[p] - len * std::cos(lat) * std::cos(lon) - a.acf_gearstatdef[p] * d;
        a.acf_gear_znodef[p] = a.acf_Zarm[p] - len * std::sin(lon);
    }
}

// B. Gear doors follow the nearest present gear.
void gear_doors(int plane, acf_struct& a)
{
    for (int k = 0; k < ACF_GEAR_DOORS; ++k) {
        const int type = a.acf_gear_door_typ[k];
        if (type == 0) continue;
        const float dx = a.acf_gear_door_loc[3 * k], dz = a.acf_gear_door_loc[3 * k + 2];
        int gear = PART_GEAR_FIRST;
        float best = 0.0f;
        bool found = false;
        for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
            if (!ACF_part_present(plane, p)) continue;
            const float x = a.acf_Xarm[p] - dx, z = a.acf_Zarm[p] - dz;
            const float dist = x * x + z * z;
            if (!found || dist < best) {
                best = dist;
                gear = p;
                found = true;
            }
        }
        const float d = a.acf_gear_deploy[gear];
        const float R = a.acf_gear_door_ret_ang[k], E = a.acf_gear_door_ext_ang[k];
        float ang;
        if (type == 1)
            ang = R + d * (E - R) / 0.2f;
        else if (type == 2)
            ang = R + d * (E - R);
        else if (type == 3)
            ang = d <= 0.5f ? R + d * (E - R) / 0.2f : R + (d - 1.0f) * (E - R) / -0.2f;
        else
            continue;
        a.acf_gear_door_ang_now[k] = UTIL_clamp(ang, R < E ? R : E, R < E ? E : R);
    }
}

// C. Thrust vectoring and disc tilt of every thrust point in service.
void thrust_vectoring(int plane, acf_struct& a, flt_struct& f)
{
    // A count past the 8 thrust points (a plug-in may write it) would read and write past their arrays.
    const int points = util_clamp_int(a.acf_num_thrustpoints, 0, ACF_MAX_ENGINES);
    for (int p = 0; p < points; ++p) {
        if (FLT_slot_failed(plane, FAIL_SLOT_ENGINE_BASE + p)) continue;
        if (a.acf_hide_prop_at_90_vect != 0 && a.acf_vect_cant[p] >= 90.0f) continue;
        float dv = 0.0f, ds = 0.0f;
        if (a.acf_prop_type[p] != PROP_LIFT_FAN) {
            const float cant = a.acf_vect_cant[p] * DEG;
            const float s = std::sin(cant), c = std::cos(cant);
            const float x = f.POINT_XYZ[3 * p], y = f.POINT_XYZ[3 * p + 1], z = f.POINT_XYZ[3 * p + 2];
            if (a.acf_phase_tvect_out_at_00) dv -= a.acf_tvec_ptch * f.FC_ptch * sg(z) * c;
            if (a.acf_tvec_roll_at_00) dv -= a.acf_tvec_roll * f.FC_roll * sg(x) * c;
            if (a.acf_tvec_hdng_at_00) ds -= a.acf_tvec_hdng * f.FC_hdng * sg(z) * c;
            if (a.acf_phase_tvect_out_at_90) dv += a.acf_tvec_ptch * f.FC_ptch * sg(y) * s;
            if (a.acf_tvec_roll_at_90) ds += a.acf_tvec_roll * f.FC_roll * sg(y) * s;
            if (a.acf_tvec_hdng_at_90) dv += a.acf_tvec_hdng * f.FC_hdng * sg(x) * s;
        }
        float cant = a.acf_vertcant[p];
        if (a.acf_inc_vec[ACF_el(p, 0)]) cant += f.vect_actual;
        a.acf_vect_cant[p] = cant;
        f.vertcant[p] = dv + cant + f.cyclic_elev_disc_tilt[p];
        f.sidecant[p] = ds + a.acf_sidecant[p] + f.cyclic_ailn_disc_tilt[p];
    }
}

// D. Differential throttle with the controls.
void differential_throttle(acf_struct& a, flt_struct& f)
{
    if (sim_operation_override.override_throttles) return;
    // A count past the 8 engines (a plug-in may write it) would read and write past their arrays.
    const int engines = util_clamp_int(a.acf_num_engines, 0, ACF_MAX_ENGINES);
    for (int e = 0; e < engines; ++e) {
        const float cant = a.acf_vect_cant[e] * DEG;
        const float s = std::sin(cant), c = std::cos(cant);
        float t = 0.0f;
        if (std::fabs(a.acf_Zarm[e]) > 0.01f) t -= a.acf_diff_thro_with_ptch * f.FC_ptch * sg(a.acf_Zarm[e]) * s;
        if (std::fabs(a.acf_Xarm[e]) > 0.01f) {
            t -= a.acf_diff_thro_with_roll * f.FC_roll * sg(a.acf_Xarm[e]) * s;
            t -= a.acf_diff_thro_with_hdng * f.FC_hdng * sg(a.acf_Xarm[e]) * c;
        }
        f.ENGN_thro_use[e] = UTIL_clamp(f.ENGN_thro[e] + t, 0.0f, a.acf_throtmax_FWD);
    }
}

// E. Sweep, dihedral and variable incidence of parts 8..27.
void sweep_and_dihedral(acf_struct& a, flt_struct& f)
{
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        a.acf_sweepnow[p] = a.acf_sweep1[p];
        a.acf_dihednow[p] = a.acf_dihed1[p];
        a.varinc_now[p] = 0.0f;
        // The swing between the two settings goes the short way, within a half turn.
        if (a.acf_sweep_var[p])
            a.acf_sweepnow[p] =
                a.acf_sweep1[p] + f.swdi * UTIL_wrap_pm180(a.acf_sweep2[p] - a.acf_sweep1[p]);
        if (a.acf_dihed_var[p])
            a.acf_dihednow[p] =
                a.acf_dihed1[p] + f.swdi * UTIL_wrap_pm180(a.acf_dihed2[p] - a.acf_dihed1[p]);
        if (a.acf_has_varinc[p]) a.varinc_now[p] = a.acf_varinc[p] * f.swdi;
        if (p <= 15) a.acf_dihednow[p] -= f.wing_tilt_roll * (a.acf_part_is_left[p] ? -1.0f : 1.0f);
        f.foil_swe[p] = a.acf_sweepnow[p] - a.acf_sweep1[p];
        f.foil_dih[p] = a.acf_dihednow[p] - a.acf_dihed1[p];
    }
}

// The fore-and-aft test of a part: the quarter chord (shifted by the moment
// term) ahead of the centre of gravity makes a canard.
float fore_aft_q(const acf_struct& a, int p) { return (0.25f + 0.25f * a.acf_delta_fac[p]) * a.acf_Croot[p] + a.acf_Zarm[p]; }

void report_incidence_line(int e, float amount, const char* reason)
{
    report_log << " element #" << std::setw(2) << e << " incidence is being increased by ";
    FM_num(amount, 2, 7) << reason;
}

// F. Element incidence from the controls (deflections of the previous frame).
void element_incidence(int plane, acf_struct& a, flt_struct& f)
{
    for (float& v : f.elem_inc) v = 0.0f;
    // A Vne of 0 would divide by zero (0/0 gives no number at rest); the speed
    // term is then 0.
    const float vne_ratio = a.acf_Vne > 0.0f ? UTIL_clamp(f.indicated_airspeed / a.acf_Vne, 0.0f, 1.0f) : 0.0f;
    const float speed_term = a.acf_stab_delinc_to_Vne * vne_ratio;
    const bool report = plane == 0 && FM_reporting();
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(plane, p)) continue;
        if (report) {
            report_log << '\n';
            FM_report_rule();
            report_log << "\xA5\xA5\xA5" << "INCIDENCE-CHANGE FOR " << LANG_text_at_820(p);
            for (int k = 0; k < 65; ++k) report_log.put('\xA5');
            report_log << '\n';
            FM_report_rule();
        }
        const bool aft = fore_aft_q(a, p) >= 0.0f;
        // A trim range of 0 in the aircraft file would divide by zero and give
        // the elements an infinite incidence; such a trim then adds nothing.
        float trim = 0.0f;
        if (f.elv_trim < 0.0f && a.acf_trim_range_neg != 0.0f)
            trim = f.elv_trim / a.acf_trim_range_neg * (aft ? -a.acf_hstb_trim_dn : a.acf_hstb_trim_up);
        else if (f.elv_trim > 0.0f && a.acf_trim_range_pos != 0.0f)
            trim = f.elv_trim / a.acf_trim_range_pos * (aft ? -a.acf_hstb_trim_up : a.acf_hstb_trim_dn);

        // The element count comes from the aircraft file: held to the ten
        // elements a part has, a larger count would index the next part's
        // elements (or, on the last part, past the element arrays) and turn
        // them with this part's controls; a negative one would start below.
        const int els = util_clamp_int(a.acf_els[p], 0, ACF_ELS_PER_PART);
        for (int e = 0; e < els; ++e) {
            const int el = ACF_el(p, e);
            float& inc = f.elem_inc[el];
            auto add = [&](float amount, float shown, const char* reason) {
                inc += amount;
                if (report) report_incidence_line(e, shown, reason);
            };
            if (std::fabs(a.acf_wing_tilt_ptch) > 0.0f)
                add(f.wing_tilt_ptch, f.wing_tilt_ptch, " deg thanks to wing tilt for pitch control.\n");
            if (a.acf_inc_ail[el]) add(-f.ail1_def[p], f.ail1_def[p], " deg thanks to aileron-1.\n");
            if (a.acf_inc_ail2[el]) add(-f.ail2_def[p], f.ail2_def[p], " deg thanks to aileron-2.\n");
            if (a.acf_inc_elev[el]) add(-f.elev_cont_def[p], f.elev_cont_def[p], " deg thanks to elevator.\n");
            if (a.acf_inc_rudd[el]) add(-f.rudd_def[p], f.rudd_def[p], " deg thanks to rudder.\n");
            if (a.acf_inc_vec[el]) add(f.vect_actual, f.vect_actual, " deg thanks to thrust vector.\n");
            if (a.acf_inc_trim[el]) add(trim, trim, " deg thanks to stab trim.\n");
            if (a.acf_has_varinc[p]) add(a.varinc_now[p], a.varinc_now[p], " deg thanks to variable incidence.\n");
            if (p == 16 || p == 17) add(speed_term, speed_term, " deg thanks to incidence change with speed.\n");
        }
    }
}

// G. Afterburner and speed-brake lags.
void lags(flt_struct& f)
{
    const float dt = sim_operation_misc.frame_rate_period;
    for (int e = 0; e < ACF_MAX_ENGINES; ++e)
        f.ENGN_burnrat[e] = UTIL_clamp(f.ENGN_burnrat[e] + (f.ENGN_burning[e] ? 0.5f : -0.5f) * dt, 0.0f, 1.0f);
    f.sbrkrat = UTIL_clamp((1.0f - 4.0f * dt) * f.sbrkrat + 4.0f * dt * f.sbrkrqst, 0.0f, 1.0f);
}

// H. Control-surface deflections of parts 8..27.
void deflections(int plane, const acf_struct& a, flt_struct& f)
{
    const float roll = f.FC_roll, ptch = f.FC_ptch, hdng = f.FC_hdng;
    // A detent index from the aircraft file outside the table would read past it.
    const int det = util_clamp_int(a.acf_flap_detents, 0, ACF_FLAP_DN - 1);
    const float flap_lo = a.acf_flap_dn[0], flap_hi = a.acf_flap_dn[det];
    const float lower1 = -UTIL_max(a.acf_ail1flaps, a.acf_ail1_dn) - std::fabs(a.acf_ail1pitch);
    const float upper1 = UTIL_max(a.acf_ail1flaps, a.acf_ail1_up) + std::fabs(a.acf_ail1pitch);
    const float lower2 = -UTIL_max(a.acf_ail2flaps, a.acf_ail2_dn) - std::fabs(a.acf_ail2pitch);
    const float upper2 = UTIL_max(a.acf_ail2flaps, a.acf_ail2_up) + std::fabs(a.acf_ail2pitch);

    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(plane, p)) continue;
        const bool left = a.acf_part_is_left[p] != 0;
        const bool forward = fore_aft_q(a, p) < 0.0f;
        const float fs = forward ? -1.0f : 1.0f;
        const float w = left ? -1.0f : 1.0f;

        float ail1, ail2;
        if (!left) {
            ail1 = roll * (roll < 0.0f ? a.acf_ail1_dn : a.acf_ail1_up);
            ail2 = roll * (roll < 0.0f ? a.acf_ail2_dn : a.acf_ail2_up);
        } else {
            ail1 = -roll * (roll < 0.0f ? a.acf_ail1_up : a.acf_ail1_dn);
            ail2 = -roll * (roll < 0.0f ? a.acf_ail2_up : a.acf_ail2_dn);
        }
        ail1 = UTIL_clamp(ail1 + ptch * a.acf_ail1pitch - f.flaprat * a.acf_ail1flaps, lower1, upper1);
        ail2 = UTIL_clamp(ail2 + ptch * a.acf_ail2pitch - f.flaprat * a.acf_ail2flaps, lower2, upper2);
        if (f.indicated_airspeed > a.acf_ail2vmax) ail2 = 0.0f;
        f.ail1_def[p] = ail1;
        f.ail2_def[p] = ail2;

        f.splr_def[p] = UTIL_max(0.0f, (left ? -roll : roll) * a.acf_splr_up);
        f.yawb_def[p] = UTIL_max(0.0f, (left ? -hdng : hdng) * a.acf_drud_up);
        if (f.indicated_airspeed > a.acf_splr_vmax) f.splr_def[p] = 0.0f;

        const float k = ptch <= 0.0f ? (forward ? -a.acf_elev_up : a.acf_elev_dn) : (forward ? -a.acf_elev_dn : a.acf_elev_up);
        f.elev_cont_def[p] = roll * a.acf_stabroll * w + ptch * k - hdng * a.acf_stabhdng * w - a.acf_elevflaps * f.flaprat * fs;
        f.rudd_def[p] = -hdng * a.acf_rudd_lr * sg(a.acf_dihednow[p]) * fs * w;

        float flap = flap_lo + f.flaprat * (flap_hi - flap_lo) - a.acf_flap_roll * roll * w -
                     a.acf_flap_ptch * ptch * sg(a.acf_Zarm[p]);
        // The bounds in either order: a flap table falling from its first detent would turn the range round.
        flap = UTIL_clamp(flap, UTIL_min(flap_lo, flap_hi), UTIL_max(flap_lo, flap_hi));
        if (w < 0.0f && FLT_slot_failed(plane, FAIL_SLOT_LEFT_FLAP_DRIVE)) flap = 0.0f;
        if (w > 0.0f && FLT_slot_failed(plane, FAIL_SLOT_RIGHT_FLAP_DRIVE)) flap = 0.0f;
        f.flap_def[p] = flap;
    }
}

// I. Collective and tail-rotor pitch.
void rotor_pitch(int plane, const acf_struct& a, flt_struct& f)
{
    float collective = 0.5f;
    for (int p = 0; p < ACF_MAX_ENGINES; ++p) {
        if (!ACF_part_present(plane, p) || a.acf_prop_type[p] != PROP_COLLECTIVE_ROTOR) continue;
        const float range = a.acf_max_pitch[p] - a.acf_min_pitch[p];
        collective = range != 0.0f ? UTIL_clamp((f.POINT_pitch_deg[p] - a.acf_min_pitch[p]) / range, 0.0f, 1.0f) : 0.5f;
    }
    for (int p = 0; p < ACF_MAX_ENGINES; ++p) {
        if (!ACF_part_present(plane, p) || a.acf_prop_type[p] != PROP_TAIL_ROTOR) continue;
        const bool reversed = a.acf_prop_dir[0] <= 0.0f;
        const float lo = reversed ? a.acf_min_pitch[p] : a.acf_max_pitch[p];
        const float hi = reversed ? a.acf_max_pitch[p] : a.acf_min_pitch[p];
        const float pitch = UTIL_clamp(lo + (f.FC_hdng + 1.0f) * (hi - lo) * 0.5f, UTIL_min(a.acf_min_pitch[p], a.acf_max_pitch[p]),
                                       UTIL_max(a.acf_min_pitch[p], a.acf_max_pitch[p]));
        f.POINT_pitch_deg[p] = pitch + collective * a.acf_tail_with_coll;
    }
}

// J and K. Cached trigonometry of the attitude and of each lifting part.
void cached_trigonometry(int plane, const acf_struct& a, flt_struct& f)
{
    PHYS_cache_attitude(f);
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_MORE_LAST; ++p) {
        if (!ACF_part_present(plane, p)) continue;
        f.foil_sin_dih[p] = std::sin(a.acf_dihednow[p] * DEG);
        f.foil_cos_dih[p] = std::cos(a.acf_dihednow[p] * DEG);
        f.foil_sin_swe[p] = std::sin(a.acf_sweepnow[p] * DEG);
        f.foil_cos_swe[p] = std::cos(a.acf_sweepnow[p] * DEG);
    }
}

}  // namespace

float ACF_control_chord_ratio(int plane, int part, float station, int kind)
{
    // A plane or part number outside the tables would read past them.
    if (plane < 0 || plane >= ACF_SLOTS || part < 0 || part >= ACF_NUM_PARTS) return 0.0f;
    const acf_struct& a = pln[plane];
    surface_geometry g{};
    if (!geometry_of(a, part, kind, &g)) return 0.0f;
    const int n = a.acf_els[part];
    auto chord_at = [&](float x) {
        if (n == 0) return 0.5f * (a.acf_Croot[part] + a.acf_Ctip[part]);
        return a.acf_Croot[part] + (a.acf_Ctip[part] - a.acf_Croot[part]) * x / static_cast<float>(n);
    };
    const float ca = chord_at(g.s0) * g.r0, cb = chord_at(g.s1) * g.r1;
    const float surface = g.s1 == g.s0 ? 0.5f * (ca + cb) : ca + (cb - ca) * (station - g.s0) / (g.s1 - g.s0);
    const float local = chord_at(station);
    // A station without chord would divide by zero (no number, or an
    // infinite ratio that spoils the element's forces); it carries no surface.
    return local != 0.0f && std::isfinite(surface / local) ? surface / local : 0.0f;
}

void ACF_control_incidence(int plane)
{
    if (plane < 0 || plane >= ACF_SLOTS) return;   // no plane: it would reach past the plane tables
    acf_struct& a = pln[plane];
    flt_struct& f = flt[plane];
    gear_legs(plane, a);
    gear_doors(plane, a);
    thrust_vectoring(plane, a, f);
    differential_throttle(a, f);
    sweep_and_dihedral(a, f);
    element_incidence(plane, a, f);
    lags(f);
    deflections(plane, a, f);
    rotor_pitch(plane, a, f);
    cached_trigonometry(plane, a, f);
}
