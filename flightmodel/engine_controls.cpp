// Engine-control setters of the user's plane and the FADEC fitting test. Each
// setter keeps its control inside the aircraft's limits, testing the lower
// bound first. Engine indices outside 0..7 are ignored.
#include "flightmodel/engine_controls.h"

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "core/engine_types.h"
#include "core/simvars.h"

namespace {

bool engine_ok(int n) { return n >= 0 && n < FLT_ENGINES; }

float clamp_low_first(float v, float lo, float hi)
{
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

}  // namespace

void ENGN_set_throttle(int n, float value)
{
    if (!engine_ok(n)) return;
    const acf_struct& a = pln[0];
    const float hi = flt[0].ENGN_propmode[n] == 3 ? a.acf_throtmax_REV : a.acf_throtmax_FWD;
    flt[0].ENGN_thro[n] = clamp_low_first(value, 0.0f, hi);
}

void ENGN_set_prop_rpm(int n, float value)
{
    if (!engine_ok(n)) return;
    flt[0].ENGN_prop[n] = clamp_low_first(value, pln[0].acf_RSC_mingreen_prp, pln[0].acf_RSC_redline_prp);
}

void ENGN_set_mixture(int n, float value)
{
    if (!engine_ok(n)) return;
    flt[0].ENGN_mixt[n] = clamp_low_first(value, 0.0f, 1.0f);
}

void ENGN_set_prop_pitch(int n, float degrees)
{
    if (!engine_ok(n)) return;
    const acf_struct& a = pln[0];
    float lo = 0.0f, hi = 0.0f;
    switch (flt[0].ENGN_propmode[n]) {
    case 0: lo = hi = a.acf_feathered_pitch; break;
    case 1: lo = a.acf_min_pitch[n]; hi = a.acf_max_pitch[n]; break;
    case 3: lo = -90.0f; hi = a.acf_min_pitch[n]; break;
    default: break;
    }
    const float c = clamp_low_first(degrees, lo, hi);
    float& pitch = flt[0].POINT_pitch_deg[n];
    const int type = a.acf_prop_type[n];
    if (PROP_type_pitch_is_slewed(type)) {
        const float step = 30.0f * sim_operation_misc.frame_rate_period;
        pitch = clamp_low_first(c, pitch - step, pitch + step);
    } else {
        pitch = c;
    }
}

int ENGN_has_fadec(int p, int n)
{
    if (p < 0 || p >= FLT_SLOTS || n < 0 || n >= ACF_NUM_PARTS) return 0;
    const acf_struct& a = pln[p];
    int fitted = 0;
    if (a.acf_has_collective_rotor) fitted = 1;
    if (a.acf_no_fadec) fitted = 0;
    if (a.acf_force_fadec) fitted = 1;

    bool present;
    if (n < FLT_ENGINES) {
        present = !FLT_slot_failed(p, FAIL_SLOT_ENGINE_BASE + n) && n < a.acf_num_engines &&
                  !(a.acf_hide_prop_at_90_vect && a.thrust_vector_angle[n] >= 90.0f);
    } else if (n >= 53 && n <= 60) {
        present = !FLT_slot_failed(p, FLT_failure_slot_of_part(n)) && a.acf_part_eq[n] != 0;
    } else if (n <= 43) {
        present = !FLT_slot_failed(p, FAIL_SLOT_SURFACE_BASE + n) && a.acf_part_eq[n] != 0;
    } else {
        present = a.acf_part_eq[n] != 0;
    }
    if (!present || n >= FLT_ENGINES) return 0;
    return fitted && ENGINE_type_drives_prop(a.acf_en_type[n]) ? 1 : 0;
}
