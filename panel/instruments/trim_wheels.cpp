// The trim wheels (elevator, rotor, rudder, aileron) and their position
// indicators. The panel pass draws the wheels and takes clicks on them; the
// key commands, the joystick buttons and the serial console step a trim with
// a command code, which also starts that wheel's half-second spin.
//
// Reads: the mouse record through the click tests, the frame clock and period,
// the aircraft's trim limits and the flight record's trims it is handed.
// Writes: trim_mem; the trims through the flight model's cockpit setters.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/cockpit_controls.h"
#include "flightmodel/flt.h"
#include "panel/controls/controls.h"
#include "panel/panel_kit.h"

trim_wheel_memory trim_mem;

ORVELL_RESET_RECORD(TRIM_WHEELS_reset, trim_mem, panel);

namespace {

struct wheel_layout {
    ins_type type;
    int wheel;
    float spot_minus_x, spot_minus_y, spot_plus_x, spot_plus_y;
    float sprite_x, sprite_y;
    float spin_sign;   // the picture's direction for a step of -1
};
constexpr wheel_layout WHEELS[] = {
    {INS_HAN_ELV_TRIM_ACT, TRIM_WHEEL_ELEVATOR, 0, 15, 0, -15, -2, 0, 5.0f},
    {INS_HAN_ROT_TRIM_ACT, TRIM_WHEEL_ROTOR, 0, 15, 0, -15, -2, 0, 5.0f},
    {INS_HAN_RUD_TRIM_ACT, TRIM_WHEEL_RUDDER, -15, 0, 15, 0, 0, 2, -5.0f},
    {INS_HAN_AIL_TRIM_ACT, TRIM_WHEEL_AILERON, -15, 0, 15, 0, 0, 2, -5.0f},
};

const wheel_layout* wheel_of_type(int t)
{
    for (const wheel_layout& w : WHEELS)
        if (w.type == t) return &w;
    return nullptr;
}

float finite_or_0(float v) { return std::isfinite(v) ? v : 0.0f; }

// One step of a trim, unclamped. A value written from outside that is not a
// number restarts from 0: stepping it would leave the trim not a number for good.
void step_trim(trim_axis axis, float trim, float delta) { CTRL_set_trim(axis, finite_or_0(trim) + delta); }

// The indicator's offset for a trim against the limit of its side; a limit
// of 0 (or none at all) leaves the indicator at its centre.
float indicator_share(float trim, float neg_lim, float pos_lim)
{
    const float lim = trim > 0.0f ? pos_lim : neg_lim;
    if (!std::isfinite(lim) || lim == 0.0f) return 0.0f;
    return finite_or_0(trim / lim);
}

}  // namespace

void PANEL_trim_wheels(int command, int per_frame, const panel_records& r)
{
    const float dt = sim_operation_misc.frame_rate_period;
    int d = 0;
    switch (command) {
    case 20: panel_ins_type = INS_HAN_ELV_TRIM_ACT, d = 1; break;
    case 21: panel_ins_type = INS_HAN_ELV_TRIM_ACT, d = -1; break;
    case 22: panel_ins_type = INS_HAN_ROT_TRIM_ACT, d = 1; break;
    case 23: panel_ins_type = INS_HAN_ROT_TRIM_ACT, d = -1; break;
    case 24: panel_ins_type = INS_HAN_RUD_TRIM_ACT, d = -1; break;
    case 26: panel_ins_type = INS_HAN_RUD_TRIM_ACT, d = 1; break;
    case 27: panel_ins_type = INS_HAN_AIL_TRIM_ACT, d = -1; break;
    case 29: panel_ins_type = INS_HAN_AIL_TRIM_ACT, d = 1; break;
    default: break;
    }
    const float step = per_frame ? dt * 0.05f : 0.001f;
    const int t = panel_ins_type;
    const flt_struct& f = r.flt;
    const float s = panel_ins_scale;

    if (const wheel_layout* w = wheel_of_type(t)) {
        const int k = w->wheel;
        if (frame_clock < trim_mem.trim_spin_until[k]) {
            // Brought into 0..3 by whole turns of 3: a phase of exactly 3 stays
            // 3 (the blank picture), as stepping down by 3 while above 3 leaves it.
            float& phase = trim_mem.trim_spin_phase[k];
            // A frame period not a number would make the phase one for good: the wheel never drawn again.
            phase = finite_or_0(phase + trim_mem.trim_spin_rate[k]);
            if (phase > 3.0f) {
                phase = std::fmod(phase, 3.0f);
                if (phase == 0.0f) phase = 3.0f;
            } else if (phase < 0.0f) {
                phase = std::fmod(phase, 3.0f);
                if (phase < 0.0f) phase += 3.0f;
            }
        }
        if (d == 0) {
            if (PANEL_click_spot(w->spot_minus_x, w->spot_minus_y, 10.0f, per_frame)) d = -1;
            else if (PANEL_click_spot(w->spot_plus_x, w->spot_plus_y, 10.0f, per_frame)) d = 1;
        }
        if (d != 0) {
            switch (k) {
            case TRIM_WHEEL_ELEVATOR: step_trim(TRIM_ELEVATOR, f.elv_trim, d * step); break;
            case TRIM_WHEEL_RUDDER: step_trim(TRIM_RUDDER, f.rud_trim, d * step); break;
            case TRIM_WHEEL_AILERON: step_trim(TRIM_AILERON, f.ail_trim, d * step); break;
            default: CTRL_set_trim(TRIM_ROTOR, finite_or_0(f.rot_trim + d * dt * 0.2f)); break;   // held to 0..1 by its setter
            }
            trim_mem.trim_spin_until[k] = frame_clock + 0.5f;
            trim_mem.trim_spin_rate[k] = dt * w->spin_sign * static_cast<float>(-d);
        }
        if (command < 0 && trim_mem.trim_spin_phase[k] < 2.0f)
            PANEL_draw_control(w->sprite_x, w->sprite_y, static_cast<int>(trim_mem.trim_spin_phase[k]));
        return;
    }
    // Commands never reach the indicators: codes 25 and 28 leave the type of the
    // last slot drawn, and drawing its indicator then would put it wherever the
    // panel origin was last set.
    if (command >= 0) return;
    const acf_struct& a = r.acf;
    switch (t) {
    case INS_HAN_ELV_TRIM_IND:
        PANEL_draw_control(7.0f, -indicator_share(f.elv_trim, a.acf_elv_trim_neg_lim, a.acf_elv_trim_pos_lim) * 25.0f * s, 0);
        break;
    case INS_HAN_RUD_TRIM_IND:
        PANEL_draw_control(indicator_share(f.rud_trim, a.acf_rud_trim_neg_lim, a.acf_rud_trim_pos_lim) * 15.0f * s, -6.0f, 0);
        break;
    case INS_HAN_AIL_TRIM_IND:
        PANEL_draw_control(indicator_share(f.ail_trim, a.acf_ail_trim_neg_lim, a.acf_ail_trim_pos_lim) * 15.0f * s, -6.0f, 0);
        break;
    case INS_HAN_ROT_TRIM_IND: PANEL_draw_control(6.0f, 20.0f - s * (f.rot_trim * 40.0f), 0); break;
    default: break;
    }
}
