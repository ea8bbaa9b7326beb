// The airspeed and Mach instruments: the round dials through the shared dial
// drawer, the linear airspeed and Mach tapes, and the EFIS airspeed tape
// with its speed bands and three-digit readout.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_kit.h"

bool PANEL_glass_alive()
{
    return PANEL_avionics_powered() != 0 && !FLT_slot_failed(0, FAIL_SLOT_GLASS_INSTR);
}

void PANEL_asi(const panel_records& r)
{
    const acf_struct& a = r.acf;
    const float s = panel_ins_scale;
    // Every type reads the held speed, so a failed or iced pitot freezes the
    // tapes and the EFIS readout as it freezes the round dials.
    DIALS_refresh_held_airspeed(r);
    float v = dial_held.airspeed;
    // A speed that is not a number (written from outside) reads 0: handed on,
    // it would give the tapes and the readout a position that is not a number.
    if (!std::isfinite(v)) v = 0.0f;
    const int t = panel_ins_type;
    if (t == INS_ASI_LINEAR) {
        PANEL_draw_tape(0, 9, -13.0f, 9.0f, 0.0f, 58.0f * s, -999.0f, v, 2.0f, 10, 2.0f, 1, 0, 110);
        return;
    }
    if (t == INS_MACH_LINEAR) {
        const float m = std::isfinite(dial_held.mach) ? dial_held.mach : 0.0f;
        PANEL_draw_tape(0, 9, -13.0f, 10.0f, 0.0f, 60.0f * s, -999.0f, m, 0.1f, 1, 50.0f, 1, 0, 110);
        return;
    }
    if (t != INS_EFIS_EL_AIRSPEED) {
        update_eng_asi(t, 0.0f, 0.0f, 0, 0, r);
        return;
    }
    if (!PANEL_glass_alive()) return;
    PANEL_draw_tape(49, -1, -12.0f, 11.0f, 0.0f, 62.0f * s, 10.0f, v, 5.0f, 10, 2.0f, 1, 0, 110);
    const struct { int colour; float speed; } bands[4] = {
        {49, a.acf_Vso}, {50, a.acf_Vs}, {59, a.acf_Vno}, {58, a.acf_Vne}};
    for (const auto& b : bands) {
        const float offset = (b.speed - v) * 2.0f;
        // The tape band marker; a band speed that is not a number draws no band.
        if (std::isfinite(offset)) PANEL_tape_mark(b.colour, 9.0f, 6.0f * s, 62.0f * s, offset);
    }
    OGL_draw_string_fmt(50, -13.0f * s, -4.0f * s, std::clamp(v, 0.0f, 999.0f), 3, 0, 0, 110);
}
