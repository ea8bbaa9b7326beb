// Control-surface and flap increments of one wing element.
#include "flightmodel/forces/control_surface.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/failure_slots.h"
#include "core/numeric.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/element_aero.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;

// Angle change per degree of deflection by the smoothness class of the surfaces.
float smoothness_factor(float con_smooth)
{
    if (con_smooth == 0.0f) return 0.7f;
    if (con_smooth == 1.0f) return 0.85f;
    if (con_smooth == 2.0f) return 1.0f;
    if (con_smooth == 3.0f) return 1.5f;
    return 1.0f;
}

}  // namespace

float FM_flap_curve(float deflection)
{
    const float d = deflection;
    if (d < 20.0f) return UTIL_clamp(0.035f * d, 0.0f, 0.7f);
    if (d < 45.0f) return UTIL_clamp(0.7f + 0.004f * (d - 20.0f), 0.7f, 0.8f);
    return UTIL_clamp(0.8f + 0.2f / 45.0f * (d - 45.0f), 0.8f, 1.0f);
}

void FM_control_surface_coeffs(int p, int e, int kind, float deflection, float* dalpha, float* dcl, float* dcd,
                               float* dcm, const char*, int square_flag)
{
    if (!(std::fabs(deflection) > 0.0f)) return;
    // A part or element number outside the aircraft's tables would read past them.
    if (p < 0 || p >= AFL_PARTS || e < 0 || e >= ACF_ELS_PER_PART) return;
    const acf_struct& a = pln[0];
    const float c = ACF_control_chord_ratio(0, p, static_cast<float>(e), kind);
    const float k = smoothness_factor(a.acf_con_smooth);
    float A = a.acf_al_D_al0[p];
    if (square_flag) A *= A;
    const afl_block& afl = a.afl[p];
    const float S = A * (afl.afl_clM[0] + afl.afl_clM[1] + afl.afl_clM[2] + afl.afl_clM[3]) * 0.25f;
    const float d = deflection;

    float da = 0.0f, dl = 0.0f, dd = 0.0f, dm = 0.0f;
    switch (kind) {
    case SURF_SPOILER:
    case SURF_SPEEDBRAKE:
        dd = 1.23f * c * std::sin(d * DEG);
        break;
    case SURF_DRAG_RUDDER:
        dd = 2.0f * 1.23f * c * std::sin(d * DEG);
        break;
    case SURF_AILERON1:
    case SURF_AILERON2:
    case SURF_ELEVATOR:
    case SURF_RUDDER:
        // c^0.9 as a real power: a negative chord ratio from the aircraft file
        // would give no number (NaN) and spoil every force of the element, so
        // the power is taken of its size and the sign kept.
        da = -d * std::pow(std::fabs(c), 0.9f) * (c < 0.0f ? -1.0f : 1.0f) * k;
        dl = da * 0.9f * S * A;
        dd = 1.5e-5f * c * d * d;
        dm = -0.5f * dl;
        break;
    case SURF_FLAPS: {
        // A detent index from the aircraft file outside the table would read past it.
        const int det = a.acf_flap_detents < 0 ? 0 : (a.acf_flap_detents >= ACF_FLAP_DN ? ACF_FLAP_DN - 1 : a.acf_flap_detents);
        const float d_max = a.acf_flap_dn[det];
        const float curve_max = FM_flap_curve(d_max);
        const float sin_max = std::sin(d_max * DEG);
        // A last detent of 0 degrees (no flap travel) would divide by zero in
        // both ratios and make the forces no number; such a flap then makes no
        // lift, drag or moment of its own.
        const float r = curve_max > 0.0f ? FM_flap_curve(d) / curve_max : 0.0f;
        da = c * c * d;
        dl = r * a.acf_flap_cl * A - da * S;
        dd = sin_max != 0.0f ? std::sin(d * DEG) / sin_max * a.acf_flap_cd : 0.0f;
        dm = r * a.acf_flap_cm * A;
        const bool left = a.acf_part_is_left[p] != 0;
        if (FLT_slot_failed(0, left ? FAIL_SLOT_LEFT_FLAP : FAIL_SLOT_RIGHT_FLAP)) {
            da = 0.0f;
            dl = 2.0f * c * (-0.1f * flt[0].alpha_el[FM_flow_index(p, e, 0)]);
            dd = afl.afl_t_rat[0];
            dm = -(0.75f - 0.5f * c) * dl;
        }
        break;
    }
    default:
        break;
    }
    *dalpha += da;
    *dcl += dl;
    *dcd += dd;
    *dcm += dm;
}
