// The lifting surfaces of the user's plane: ground effect, blown flaps, the
// element loop with propwash and control surfaces, the downwash each wing
// casts for the next frame and the dynamic-pressure centroid of every part.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_surface.h"
#include "flightmodel/forces/element_aero.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/phys.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr int WING_LAST = PART_WING_EXTRA_LAST;   // wings proper: 8..27
constexpr int PROPMODE_REVERSE = 3;

int element_count(const acf_struct& a, int p)
{
    const int n = a.acf_els[p];
    return n < 0 ? 0 : (n > ACF_ELS_PER_PART ? ACF_ELS_PER_PART : n);
}

// Propellers that blow a slipstream over what lies behind them (not rotors,
// tail rotors, lift fans or tip-jet rotors).
bool blows_slipstream(int prop_type) { return prop_type != 3 && prop_type != 5 && prop_type != 6 && prop_type != 7; }

// Propwash over one element at the centroid c: adds to the axial and normal
// speeds and sets the element's propwash ratio.
void propwash(int p, int el, const float c[3], float* axial, float* normal)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    f.propwash_rat[el] = 0.0f;
    const int points = a.acf_num_thrustpoints < 0 ? 0 : (a.acf_num_thrustpoints > 8 ? 8 : a.acf_num_thrustpoints);
    for (int k = 0; k < points; ++k) {
        if (!fm_state.present[k] || !blows_slipstream(a.acf_prop_type[k])) continue;
        if (!(std::fabs(f.DVinc[k]) > 0.01f)) continue;
        float w[3];
        PHYS_rotate_by_cyclic(0.0f, 0.0f, f.DVinc[k], &w[0], &w[1], &w[2], 0, k);
        // The element's distance from the slipstream's axis: the point's arm
        // from the propeller crossed with the stream's direction.
        const vec3 r = vec3_at(c) - vec3_at(&f.POINT_XYZ[3 * k]);
        const vec3 u = vec3{f.vx_air_on_acf, f.vy_air_on_acf, f.vz_air_on_acf} + vec3_at(w);
        const float u_len = length(u);
        // The distance divides by |u|: with no stream at all (no air and no
        // wash) there is no axis to measure from, and the point blows nothing.
        if (!(u_len > 1e-6f)) continue;
        const float dist = length(cross(r, u)) / u_len;
        const float radius = 1.25f * a.acf_semilen_SEG[k];
        if (!(dist < radius) || (u.z < 0.0f) != (r.z < 0.0f)) continue;

        const float rat = UTIL_clamp(1.0f - 2.0f * (dist / radius - 0.5f), 0.0f, 1.0f);
        f.propwash_rat[el] = rat;
        *axial += w[2] * rat;

        float swirl = a.acf_semilen_SEG[k] > 0.0f ? f.POINT_side_wash[k] * dist / a.acf_semilen_SEG[k] : 0.0f;
        const float r_len = length(r);
        const float along = r_len > 0.0f ? r_len * std::cos(std::asin(UTIL_clamp(dist / r_len, 0.0f, 1.0f))) : 0.0f;
        const float foot[3] = {u.x * along / u_len, u.y * along / u_len, u.z * along / u_len};
        const float cos_dih = f.foil_cos_dih[p];
        if (std::fabs(a.acf_dihednow[p]) < 45.0f) {
            if ((r.x - foot[0]) * cos_dih > 0.0f) swirl = -swirl;
        } else {
            if ((r.y - foot[1]) * cos_dih < 0.0f) swirl = -swirl;
        }
        if (a.acf_prop_dir[k] < 0.0f) swirl = -swirl;
        *normal += swirl;
    }
}

// The control-surface increments an element carries, in their fixed order.
void surface_increments(int p, int e, float* dalpha, float* dcl, float* dcd, float* dcm)
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const int el = ACF_el(p, e);
    *dalpha = *dcl = *dcd = *dcm = 0.0f;
    if (a.acf_splr[el]) FM_control_surface_coeffs(p, e, SURF_SPOILER, f.splr_def[p], dalpha, dcl, dcd, dcm, "SPOILER", 0);
    if (a.acf_sbrk[el])
        FM_control_surface_coeffs(p, e, SURF_SPEEDBRAKE, f.sbrkrat * a.acf_sbrk_up, dalpha, dcl, dcd, dcm, "SPEEDBRAKE", 0);
    if (a.acf_drud[el])
        FM_control_surface_coeffs(p, e, SURF_DRAG_RUDDER, f.yawb_def[p], dalpha, dcl, dcd, dcm, "DRAG-RUDDER", 1);
    if (a.acf_ail1[el]) FM_control_surface_coeffs(p, e, SURF_AILERON1, f.ail1_def[p], dalpha, dcl, dcd, dcm, "AILERON #1", 1);
    if (a.acf_ail2[el]) FM_control_surface_coeffs(p, e, SURF_AILERON2, f.ail2_def[p], dalpha, dcl, dcd, dcm, "AILERON #2", 1);
    if (a.acf_elev[el]) FM_control_surface_coeffs(p, e, SURF_ELEVATOR, f.elev_cont_def[p], dalpha, dcl, dcd, dcm, "ELEVATOR", 0);
    if (a.acf_rudd[el]) FM_control_surface_coeffs(p, e, SURF_RUDDER, f.rudd_def[p], dalpha, dcl, dcd, dcm, "RUDDER", 0);
    if (a.acf_flap[el]) FM_control_surface_coeffs(p, e, SURF_FLAPS, f.flap_def[p], dalpha, dcl, dcd, dcm, "FLAPS", 0);
}

bool blown(const acf_struct& a, int el)
{
    if (a.acf_flap[el]) return true;
    return a.acf_blow_all_controls && (a.acf_ail1[el] || a.acf_ail2[el] || a.acf_elev[el] || a.acf_rudd[el]);
}

}  // namespace

void FM_ground_effect()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    for (int p = 0; p < FLT_PARTS; ++p) f.CL_grndeffect[p] = f.CD_grndeffect[p] = 1.0f;
    for (int p = 0; p <= WING_LAST; ++p) {
        if (p > PART_PROP_LAST && p < PART_WING_PAIR_FIRST) continue;
        if (!fm_state.present[p]) continue;
        float limit = 0.0f;
        if (p >= PART_WING_PAIR_FIRST) {
            if (std::fabs(a.acf_dihednow[p]) < 45.0f) limit = 1.0f;
        } else if (a.acf_vect_cant[p] > 45.0f && std::fabs(a.acf_sidecant[p]) < 45.0f) {
            limit = 2.0f;
        }
        const float span = 2.0f * a.acf_semilen_JND[p];
        // The height is measured in spans: a part without span would divide by
        // zero (0/0 gives no number), so it keeps the factors of 1.
        if (!(limit > 0.01f) || !(span > 0.0f)) continue;
        const float h =
            ((f.local_y - terrain_height_m) + a.acf_Yarm[p] * f.cos_theta - a.acf_Zarm[p] * f.sin_theta) / span;
        const float pw = std::pow(UTIL_clamp(h, 0.0f, limit) / limit, 0.25f);
        if (!std::isfinite(pw)) continue;   // a height that is no number leaves the factors at 1
        f.CL_grndeffect[p] = 1.5f - 0.5f * pw;
        f.CD_grndeffect[p] = 0.5f + 0.5f * pw;
    }
}

void FM_blown_flaps()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float m = a.acf_blown_flap_min_engag;
    f.blown_flap_engage_rat = m == 1.0f ? 0.5f : UTIL_clamp((f.flaprat - m) / (1.0f - m), 0.0f, 1.0f);
    // A damaged engagement value (no number) would spoil every blown element.
    if (!std::isfinite(f.blown_flap_engage_rat)) f.blown_flap_engage_rat = 0.0f;
    f.lift_fan_total_power = 0.0f;
}

void FM_wing_elements()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    forces_state& s = fm_state;
    const bool report = FM_reporting();
    const float wash_flicker = std::fabs(std::sin(10.0f * sim_time.total_running_time_sec));
    for (float& w : s.wash_sum) w = 0.0f;

    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_MORE_LAST; ++p) {
        if (!fm_state.present[p]) continue;
        const int els = element_count(a, p);
        if (els == 0) continue;
        const float side = a.acf_part_is_left[p] ? -1.0f : 1.0f;
        const float sin_dih = f.foil_sin_dih[p], cos_dih = f.foil_cos_dih[p];
        const float sin_swe = f.foil_sin_swe[p], cos_swe = f.foil_cos_swe[p];

        // The element's reference speed: sideslip adds to a wing's sweep on one side, takes from the other.
        const float c = std::cos((a.acf_sweepnow[p] + side * s.beta_use * cos_dih) * DEG);
        const float V = std::fabs(f.true_airspeed * UTIL_clamp(c + a.acf_delta_fac[p] * (1.0f - c), c, 1.0f));
        const float flow_inc = s.alpha_use * cos_dih - s.beta_use * sin_dih * side;

        for (int e = 0; e < els; ++e) {
            const int el = ACF_el(p, e);
            const int idx = FM_flow_index(p, e, 0);
            const float span = (static_cast<float>(e) + 0.5f) * a.acf_element_len[p];
            const float cen[3] = {a.acf_Xarm[p] + span * cos_swe * cos_dih * side, a.acf_Yarm[p] + span * cos_swe * sin_dih,
                                  a.acf_Zarm[p] + span * sin_swe};

            const float inc = a.acf_anginc[el] + f.foil_inc[p] + flow_inc;
            f.del_dir[idx] = -inc;
            const float si = std::sin(inc * DEG), ci = std::cos(inc * DEG);
            float axial = V * ci - s.Q_use * cen[1] - s.R_use * cen[0];
            float normal = (s.P_use * cen[1] - s.R_use * cen[2]) * sin_dih * side +
                           (s.Q_use * cen[2] + s.P_use * cen[0]) * cos_dih + V * si;

            propwash(p, el, cen, &axial, &normal);
            if (a.acf_blown_flap_add_speed > 0.0f && f.blown_flap_engage_rat > 0.0f && blown(a, el) &&
                f.ENGN_propmode[0] != PROPMODE_REVERSE)
                axial += a.acf_blown_flap_add_speed * f.blown_flap_engage_rat * f.ENGN_thro[0];

            f.v_el[idx] = std::sqrt(axial * axial + normal * normal);
            f.alpha_el[idx] = std::atan2(normal, axial) * RAD + f.downwash_deg[el];
            f.del_dir[idx] += f.alpha_el[idx];
            f.alpha_el[idx] += f.elem_inc[el];
            if (report) FM_report_element_begin(p, e, cen[0], cen[1], cen[2]);

            float dalpha, dcl, dcd, dcm;
            surface_increments(p, e, &dalpha, &dcl, &dcd, &dcm);
            f.alpha_el[idx] += dalpha;

            float lift, drag, moment;
            const float cl = FM_element_forces(dcl, dcd, dcm, &lift, &drag, &moment, p, e, 0);
            f.nrml_force[p] += lift;
            f.axil_force[p] += drag;

            const float side_force = -lift * sin_dih * side, normal_force = lift * cos_dih;
            PHYS_add_element_aero_force(drag, side_force, normal_force, cen[0], cen[1], cen[2], p, e);
            f.M += moment * cos_dih;
            f.N -= moment * sin_dih * side;
            if (report) FM_report_element_end(p, lift, drag, drag, side_force, normal_force);

            s.wash_sum[p] += cl * a.acf_spec_wash[p] / static_cast<float>(els) * (f.stalled[p] ? wash_flicker : 1.0f);
        }
    }
}

void FM_downwash_and_centroids()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const forces_state& s = fm_state;

    // The wings that cast wash this frame.
    int sources[WING_LAST - PART_WING_PAIR_FIRST + 1];
    int n_sources = 0;
    for (int src = PART_WING_PAIR_FIRST; src <= WING_LAST; ++src)
        if (s.wash_sum[src] != 0.0f) sources[n_sources++] = src;
    const bool subsonic = f.machno < 1.0f;

    for (int p = PART_WING_PAIR_FIRST; p <= WING_LAST; ++p) {
        float* wash = &f.downwash_deg[ACF_el(p, 0)];
        for (int j = 0; j < ACF_ELS_PER_PART; ++j) wash[j] = 0.0f;
        if (!subsonic) continue;
        for (int k = 0; k < n_sources; ++k) {
            const int src = sources[k];
            // cos(dihedral of the source - dihedral of this part)
            const float c = f.foil_cos_dih[src] * f.foil_cos_dih[p] + f.foil_sin_dih[src] * f.foil_sin_dih[p];
            const float w = s.wash_sum[src] * c;
            const int32_t* reaches = &a.acf_in_downwash[(p * ACF_NUM_PARTS + src) * ACF_ELS_PER_PART];
            for (int j = 0; j < ACF_ELS_PER_PART; ++j)
                if (reaches[j]) wash[j] -= w;
        }
    }

    for (int p = 0; p < FLT_PARTS; ++p) {
        if (!fm_state.present[p]) continue;
        const int els = element_count(a, p);
        if (els == 0) continue;
        const float mean_chord = 0.5f * (a.acf_Croot[p] + a.acf_Ctip[p]);
        // A part without chord would divide by zero; it takes no taper (1).
        const float taper = mean_chord != 0.0f ? a.acf_Ctip[p] / mean_chord : 1.0f;
        const int slots = p <= PART_PROP_LAST ? 4 : 1;
        for (int b = 0; b < slots; ++b) {
            float weighted = 0.0f, total = 0.0f;
            for (int j = 0; j < els; ++j) {
                const float v = f.v_el[FM_flow_index(p, j, b)] + 0.001f;
                weighted += (static_cast<float>(j) + 0.5f) * v * v;
                total += v * v;
            }
            float loc = weighted / (static_cast<float>(els) * total);
            // Speeds that are no number would make the centroid none and spoil
            // the part's forces next frame; it then sits mid-span.
            loc = std::isfinite(loc) ? UTIL_clamp(loc, 0.0f, 1.0f) : 0.5f;
            f.Q_centroid_loc[4 * p + b] = loc;
            const float mult = UTIL_clamp(1.5f - loc, 0.5f, 1.0f);
            const float tapered = 1.0f + taper * (mult - 1.0f);
            // (The same for a taper that is no number.)
            f.Q_centroid_MULT[4 * p + b] = std::isfinite(tapered) ? UTIL_clamp(tapered, mult, 1.0f) : mult;
        }
    }
}
