// Engine-control setters, FADEC tests, fuel flow and the clamped interpolation.
// Every control clamp tests the lower bound first (UTIL_clamp).
#include "flightmodel/control/engine_controls.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/numeric.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/flt.h"

namespace {

// Every routine here ignores an engine index outside 0..7 or a plane index
// outside 0..9 (from a key file, a serial message or a plug-in): it would read
// or write past the engine arrays or the plane records.
bool engine_ok(int n) { return n >= 0 && n < FLT_ENGINES; }
bool plane_ok(int p) { return p >= 0 && p < FLT_SLOTS; }

// The lever zone edges: forward from F, beta from R to F, reverse below R.
struct lever_zones {
    float forward;
    float reverse;
};

lever_zones zones_of(const acf_struct& a)
{
    lever_zones z{0.21f, 0.17f};
    if (!a.acf_has_beta) z.forward = 0.25f;
    if (!a.acf_revthrust_eq) z.forward = z.reverse = 0.0f;
    return z;
}

// fraction x of `span`, or half of it when the span is 0 (nothing to divide by).
float share(float numerator, float denominator, float half)
{
    return denominator != 0.0f ? numerator / denominator : half;
}

}  // namespace

// The setters also ignore a request that is not a number: the clamp lets a
// NaN through, and the control would stay NaN for good.
void ENGN_set_throttle(int n, float value)
{
    if (!engine_ok(n) || std::isnan(value)) return;
    const acf_struct& a = pln[0];
    const float hi = flt[0].ENGN_propmode[n] == PROPMODE_REVERSE ? a.acf_throtmax_REV : a.acf_throtmax_FWD;
    flt[0].ENGN_thro[n] = UTIL_clamp(value, 0.0f, hi);
}

void ENGN_set_prop_rpm(int n, float value)
{
    if (!engine_ok(n) || std::isnan(value)) return;
    flt[0].ENGN_prop[n] = UTIL_clamp(value, pln[0].acf_RSC_mingreen_prp, pln[0].acf_RSC_redline_prp);
}

void ENGN_set_mixture(int n, float value)
{
    if (!engine_ok(n) || std::isnan(value)) return;
    flt[0].ENGN_mixt[n] = UTIL_clamp(value, 0.0f, 1.0f);
}

void ENGN_set_prop_pitch(int n, float degrees)
{
    if (!engine_ok(n) || std::isnan(degrees)) return;
    const acf_struct& a = pln[0];
    float lo = 0.0f, hi = 0.0f;
    switch (flt[0].ENGN_propmode[n]) {
    case PROPMODE_FEATHERED: lo = hi = a.acf_feathered_pitch; break;
    case PROPMODE_NORMAL: lo = a.acf_min_pitch[n]; hi = a.acf_max_pitch[n]; break;
    case PROPMODE_REVERSE: lo = -90.0f; hi = a.acf_min_pitch[n]; break;
    default: break;   // beta and unknown modes: flat
    }
    const float c = UTIL_clamp(degrees, lo, hi);
    float& pitch = flt[0].POINT_pitch_deg[n];
    if (PROP_type_pitch_is_slewed(a.acf_prop_type[n])) {
        const float step = 30.0f * sim_operation_misc.frame_rate_period;
        pitch = UTIL_clamp(c, pitch - step, pitch + step);
        // A pitch that is not a number would stay NaN through the clamp for
        // good; it starts at the request instead.
        if (std::isnan(pitch)) pitch = c;
    } else {
        pitch = c;
    }
}

float ENGN_lever_to_throttle(float x, int n, int write)
{
    if (!engine_ok(n)) return 0.0f;
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const lever_zones z = zones_of(a);
    const float F = z.forward, R = z.reverse;

    // A lever that is not a number (a serial message) would fall into the
    // reverse zone and write a NaN throttle; it writes nothing.
    if (write && !std::isnan(x)) {
        if (x >= F) {
            f.ENGN_propmode[n] = PROPMODE_NORMAL;
            const float t = F != 1.0f ? a.acf_throtmax_FWD * (x - F) / (1.0f - F) : 0.5f * a.acf_throtmax_FWD;
            f.ENGN_thro[n] = UTIL_clamp(t, 0.0f, a.acf_throtmax_FWD);
        } else if (x >= R) {
            f.ENGN_propmode[n] = PROPMODE_BETA;
            f.ENGN_thro[n] = 0.0f;
        } else {
            if (a.acf_revthrust_eq) f.ENGN_propmode[n] = PROPMODE_REVERSE;
            const float t = R != 0.0f ? a.acf_throtmax_REV * (R - x) / R : 0.5f * a.acf_throtmax_REV;
            f.ENGN_thro[n] = UTIL_clamp(t, 0.0f, a.acf_throtmax_REV);
        }
    }

    const float thro = f.ENGN_thro[n];
    switch (f.ENGN_propmode[n]) {
    case PROPMODE_FEATHERED:
    case PROPMODE_NORMAL: return F + (1.0f - F) * share(thro, a.acf_throtmax_FWD, 0.5f);
    case PROPMODE_BETA:
        return a.acf_throtmax_REV != 0.0f ? R + (F - R) * thro / a.acf_throtmax_REV : (F + R) * 0.5f;
    case PROPMODE_REVERSE: return a.acf_throtmax_REV != 0.0f ? R - R * thro / a.acf_throtmax_REV : R * 0.5f;
    default: return 0.0f;
    }
}

int ENGN_has_fadec(int p, int n)
{
    if (!plane_ok(p) || n < 0 || n >= ACF_NUM_PARTS) return 0;
    const acf_struct& a = pln[p];
    int fitted = 0;
    if (a.acf_has_collective_rotor) fitted = 1;
    if (a.acf_no_fadec) fitted = 0;
    if (a.acf_force_fadec) fitted = 1;

    bool present;
    if (n < FLT_ENGINES) {
        present = !FLT_slot_failed(p, FAIL_SLOT_ENGINE_BASE + n) && n < a.acf_num_engines &&
                  !(a.acf_hide_prop_at_90_vect && !(a.thrust_vector_angle[n] < 90.0f));
    } else if (n >= 53 && n <= 60) {
        present = !FLT_slot_failed(p, FLT_failure_slot_of_part(n)) && a.acf_part_eq[n] != 0;
    } else if (n <= 43) {
        present = !FLT_slot_failed(p, FAIL_SLOT_SURFACE_BASE + n) && a.acf_part_eq[n] != 0;
    } else {
        present = a.acf_part_eq[n] != 0;
    }
    // Only engines 0..7 carry an engine type: for a part above them the type
    // would be read past the engine-type array, so such a part has no FADEC.
    if (!present || n >= FLT_ENGINES) return 0;
    return fitted && ENGINE_type_drives_prop(a.acf_en_type[n]) ? 1 : 0;
}

int ENGN_fadec_active(int p, int n)
{
    if (!plane_ok(p) || !engine_ok(n)) return 0;
    return sim_cockpit_engine.fadec_on[n] != 0 && !FLT_slot_failed(p, FAIL_SLOT_FADEC_BASE + n) ? 1 : 0;
}

float ENGN_fuel_flow(float output, int n)
{
    if (!engine_ok(n)) return 0.0f;
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    // An output that is not finite would give an infinite or NaN fuel flow
    // and empty or poison the tanks; it counts as no output (the idle floor).
    if (!std::isfinite(output)) output = 0.0f;

    float t = 0.0f;
    if (output >= 0.0f)
        t = output;
    else if (f.ENGN_propmode[n] == PROPMODE_REVERSE)
        t = -output;

    const int32_t type = a.acf_en_type[n];
    float y0 = 0.0f;
    if (ENGINE_type_is_piston(type)) y0 = 1.0f;
    else if (type == ENGINE_TURBINE_FREE) y0 = 5.0f;
    else if (type == ENGINE_TURBINE_FIXED) y0 = 4.5f;
    else if (ENGINE_type_is_jet(type)) y0 = 4.0f;
    const float k = y0 != 0.0f ? a.acf_SFC[n] * UTIL_interp_clamped(0.0f, y0, 0.8f, 1.0f, f.ENGN_thro_use[n], 0)
                               : a.acf_SFC[n];

    float floor = 0.0f;
    if (ENGINE_type_is_piston(type)) floor = a.acf_pmax * k * 0.01f * f.ENGN_sigma[n];
    else if (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED) floor = a.acf_pmax * k * 0.06f * f.ENGN_sigma[n];
    else if (ENGINE_type_is_jet(type)) floor = a.acf_tmax * k * 0.06f * f.ENGN_sigma[n];

    float flow = UTIL_max(t * k, floor);
    if (f.ENGN_burning[n]) {
        const float B = a.acf_burnerinc, T = a.acf_tmax;
        // No thrust and no afterburner (T + B = 0) would divide by zero and
        // make the flow NaN; the flow is then left as it is.
        if (T + B != 0.0f) flow *= 2.0f * B / (T + B) + T / (T + B);
    }
    return flow;
}

int ENGN_type_is_8(int p, int n)
{
    return plane_ok(p) && engine_ok(n) && pln[p].acf_en_type[n] == ENGINE_TURBINE_FIXED ? 1 : 0;
}

int ENGN_type_is_2(int p, int n)
{
    return plane_ok(p) && engine_ok(n) && pln[p].acf_en_type[n] == ENGINE_TURBINE_FREE ? 1 : 0;
}

float UTIL_interp_clamped(float x1, float y1, float x2, float y2, float x, int extrapolate)
{
    if (x1 == x2) return (y1 + y2) * 0.5f;
    const float y = (y2 - y1) / (x2 - x1) * (x - x1) + y1;
    if (extrapolate) return y;
    const float lo = y1 < y2 ? y1 : y2;
    const float hi = y1 < y2 ? y2 : y1;
    return UTIL_clamp(y, lo, hi);
}
