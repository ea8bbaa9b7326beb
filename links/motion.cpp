// The motion platform's datagram: the user's attitude and the accelerations
// it feels, "MOTI" normally, "FIDE" when the installation chose that platform.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/simvars/time.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "links/hardware.h"
#include "links/network.h"

namespace {

constexpr int MOTION_SLOT = 11;
constexpr float FIDE_MARK = -990.0f;
constexpr float FIDE_ON_GROUND = 10000.0f;

// A value held to lo..hi. One of no number passes a clamp unchanged and would
// reach the platform's actuators as no number: it is sent as 0.
float held(float v, float lo, float hi) { return std::isfinite(v) ? std::clamp(v, lo, hi) : 0.0f; }

bool leg_in_transit(float d) { return d >= 0.01f && d <= 0.99f; }

}  // namespace

void HARDWARE_send_motion()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const float m = f.m_total > 1.0f ? f.m_total : 1.0f;
    const float fade = held(0.2f * f.groundspeed, 0.0f, 1.0f);
    const float side = (f.fside_prop + f.fside_aero + f.fside_gear) / m * fade;
    const float axial = (f.faxil_prop + f.faxil_aero + f.faxil_gear) / m * fade;
    float n = f.fnrml_prop + f.fnrml_aero + f.fnrml_gear;
    if (n > -0.1f && n < 0.1f) n = n < 0.0f ? -0.1f : 0.1f;
    const float normal = n / m;
    const float key = static_cast<float>(key_char);

    if (!fide_mode) {
        const float moti[7] = {f.theta, f.psi, f.phi, side, normal, axial, key};
        NET_data_send("MOTI", 0, moti, sizeof moti, MOTION_SLOT);
        return;
    }
    const bool paused = sim_time.paused != 0;
    const float* legs = a.acf_gear_deploy + FLT_FIRST_GEAR_PART;
    const bool ground = f.onground_any || leg_in_transit(legs[0]) || leg_in_transit(legs[1]) ||
                        leg_in_transit(legs[2]) || flying_frame_count == 0;
    const float fide[14] = {
        FIDE_MARK,
        f.groundspeed / UNIT.kts_to_mps,
        f.alpha,
        paused ? 0.0f : held(f.Q_dot, -30.0f, 30.0f),
        held(f.R_dot, -30.0f, 30.0f),
        paused ? 0.0f : held(f.P_dot, -30.0f, 30.0f),
        -side * UNIT.mtrs_to_ft,
        paused ? 0.0f : normal * UNIT.mtrs_to_ft,
        axial * UNIT.mtrs_to_ft,
        ground ? FIDE_ON_GROUND : 0.0f,
        f.theta,
        f.beta,
        f.phi,
        key,
    };
    NET_data_send("FIDE", '0', fide, sizeof fide, MOTION_SLOT);
}
