// The arresting hook: once a wire is caught, the wire's pull-out point runs
// along the carrier's angled deck and the hook is held to it, a stop over
// 92 m from one and a half times the stall speed.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "world/ship_decks.h"
#include "world/ships.h"

namespace {

constexpr float PULL_OUT_M = 92.06f;        // sqrt(8475.56)
// The two ends of the wire's run in the carrier's frame (x starboard, z aft):
// where the wires cross the landing area, and 92.06 m on along the angled
// deck toward the bow.
constexpr float WIRE_X_M = -4.0f;
constexpr float WIRE_Z_M = 106.0f;
constexpr float DECK_AXIS_X = -0.119f;      // the angled deck's direction toward the bow
constexpr float DECK_AXIS_Z = -0.993f;
constexpr float STALE_HOOK_SEC = 1.0f;

// A point of the carrier's frame in local axes.
void carrier_point(float xs, float zs, float* x, float* z)
{
    const double h = ship_heading[SHIP_CARRIER] * DEG_TO_RAD_DOUBLE;
    const double c = std::cos(h), s = std::sin(h);
    *x = static_cast<float>(ship_x[SHIP_CARRIER] + xs * c - zs * s);
    *z = static_cast<float>(ship_z[SHIP_CARRIER] + xs * s + zs * c);
}

}  // namespace

void FM_arresting_hook()
{
    forces_state& st = fm_state;
    const launch_flags_block& l = launch_flags;
    if (!l.arrest_engaged) {
        st.hook_was_engaged = 0;
        return;
    }
    if (!st.hook_was_engaged) {
        st.hook_was_engaged = 1;
        st.hook_engage_time = frame_clock;
    }
    flt_struct& f = flt[0];
    // The wire's steady pull: while the arrest is engaged the build-up
    // applies the aircraft's mass times the arrest deceleration that the
    // carrier (or a landing spot) set at the catch, along the body's axis at
    // the centre of gravity; the axial totals point aft. Without it the hook's spring alone
    // swings the plane round the pull-out point instead of stopping it.
    if (std::isfinite(l.arrest_decel) && l.arrest_decel > 0.0f)
        PHYS_add_gear_axial(0, f.m_total * l.arrest_decel, 0.0f, 0.0f);
    if (!l.hook_active) return;

    const acf_struct& a = pln[0];
    const float v_engage = 1.5f * a.acf_Vso * UNIT.kts_to_mps;
    // A stall speed of 0 would divide by zero: the wire point is then at the
    // end of its run at once.
    const float pull_out_sec = v_engage > 0.0f ? 2.0f * PULL_OUT_M / v_engage : 0.0f;
    const float r = pull_out_sec > 0.0f ? UTIL_clamp((frame_clock - st.hook_engage_time) / pull_out_sec, 0.0f, 1.0f)
                                        : 1.0f;

    float x0, z0, x1, z1;
    carrier_point(WIRE_X_M, WIRE_Z_M, &x0, &z0);
    carrier_point(WIRE_X_M + PULL_OUT_M * DECK_AXIS_X, WIRE_Z_M + PULL_OUT_M * DECK_AXIS_Z, &x1, &z1);
    const float wx = x0 + r * (x1 - x0);
    const float wz = z0 + r * (z1 - z0);
    const float wy = ship_y[SHIP_CARRIER] + CARRIER_DECK_Y_M;

    const int g = PART_GEAR_FIRST;
    const float hx = a.acf_gear_xnodef[g], hy = a.acf_gear_ynodef[g] - a.acf_gear_tirrad[g], hz = a.acf_gear_znodef[g];
    float lx, ly, lz;
    PHYS_body_to_local(hx, hy, hz, &lx, &ly, &lz, 0);
    float o[3];
    PHYS_local_to_body(wx - (f.local_x + lx), wy - (f.local_y + ly), wz - (f.local_z + lz), &o[0], &o[1], &o[2], 0);

    const bool fresh = frame_clock - st.hook_last_time <= STALE_HOOK_SEC && frame_clock >= st.hook_last_time;
    float pull[3];
    for (int k = 0; k < 3; ++k) {
        const float rate = fresh ? o[k] - st.hook_prev_offset[k] : 0.0f;
        pull[k] = o[k] + 0.1f * rate;
        st.hook_prev_offset[k] = o[k];
    }
    st.hook_last_time = frame_clock;

    const float normal = std::min(pull[1] * f.m_total * 5.0f, 0.0f);
    // A wire holds the hook back; it never pulls it on. An aircraft that the
    // wire and its brakes stopped short of the wire's run was dragged after
    // the running point, yanked along the deck and flipped over its nose.
    const float axial = std::max(pull[2] * f.m_total, 0.0f);
    PHYS_add_gear_side(0, pull[0] * f.m_total, hy, hz);
    PHYS_add_gear_normal(0, normal, hx, hz);
    PHYS_add_gear_axial(0, axial, hx, hy);
}
