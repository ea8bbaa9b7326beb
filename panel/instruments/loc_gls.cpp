// The navigation part of every horizontal situation display: course arrow,
// deviation bar, TO/FROM pointer and the glide-slope pointers or their warning
// flags, all turned with the compass card; and the EFIS localizer and
// glide-slope scales on their own.
//
// Reads: the navigation arrays of sim_cockpit_radios, HSI_selector, the
// avionics power and failure slot 7. Draws about the current slot's origin.
#include <cmath>

#include "core/alert.h"
#include "core/simvars.h"
#include "core/units.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"

namespace {

// A deviation or course that is not a number (written from outside) reads 0:
// handed on, it would give the needle a position that is not a number.
float finite_or_0(float v) { return std::isfinite(v) ? v : 0.0f; }

struct loc_gls_layout {
    int source;   // receiver index, or -1 for the HSI selector's
    bool glass;
    float span;   // half span of the glide-slope pointers before the scale
};

bool layout_of(int t, loc_gls_layout& l)
{
    if (INS_in(t, INS_HSI1_GA, INS_HSI1_HM)) l = {RADIO_NAV1, false, 60.0f};
    else if (INS_in(t, INS_HSI2_GA, INS_HSI2_HM)) l = {RADIO_NAV2, false, 60.0f};
    else if (INS_in(t, INS_HSI12GPS_GA, INS_HSI12GPS_HM)) l = {-1, false, 60.0f};
    else if (INS_in(t, INS_HSIGLASS_GA, INS_HSIGLASS_HM) || t == INS_EFIS_EL_HSI_SEMI_CIRCLE ||
             t == INS_EFIS_EL_HSI_FULL_CIRCLE || t == INS_EFIS_ORBITER_PRIM || t == INS_EFIS_HITS)
        l = {-1, true, 60.0f};
    else if (t == INS_EFIS_EL_LOC || t == INS_EFIS_EL_GS) l = {-1, true, 0.0f};
    else if (INS_in(t, INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM) || INS_in(t, INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM))
        l = {-1, true, 80.0f};
    else return false;
    return true;
}

}  // namespace

void update_loc_gls(float card_heading)
{
    const int t = panel_ins_type;
    const float s = panel_ins_scale;
    loc_gls_layout l{};
    if (!layout_of(t, l)) {
        MACIBM_nuke_alert(0, "Bad update_loc_gls ins_type!", "", "", "", 17);
        return;
    }
    const int n = l.source >= 0 ? l.source : NAV_source_of_selector(sim_cockpit_switches.HSI_selector);
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    const float S = l.span * s;

    if (l.glass && !PANEL_glass_alive()) return;
    float h = finite_or_0(r.nav1_hdef_dot[n]) * (l.glass ? HSI_UNITS_PER_DOT_GLASS : HSI_UNITS_PER_DOT);
    float v = -finite_or_0(r.nav1_vdef_dot[n]) * HSI_GS_UNITS_PER_DOT;
    if (!PANEL_avionics_powered()) h = v = 0.0f;

    // Scale marks.
    if (t == INS_EFIS_EL_LOC || t == INS_EFIS_EL_GS) {
        PANEL_draw_control(0.0f, 0.0f, 0);
    } else if (l.glass && t != INS_EFIS_EL_HSI_SEMI_CIRCLE) {
        panel_ins_type = INS_EFIS_EL_GS;
        PANEL_draw_control(-S, 0.0f, 0);
        PANEL_draw_control(S, 0.0f, 0);
        panel_ins_type = t;
    }
    // The needle routine scales the position; multiplying it by the scale here
    // as well would scale it twice and put the pointer off its scale at any
    // scale but 1, so the EFIS scales are handed the plain deflection.
    if (t == INS_EFIS_EL_GS) return PANEL_draw_needle(0.0f, v, 0.0f, 32);
    if (t == INS_EFIS_EL_HSI_SEMI_CIRCLE) return;
    if (t == INS_EFIS_EL_LOC) return PANEL_draw_needle(h, 0.0f, 0.0f, 56);

    const float d = finite_or_0(card_heading - NAV_course(n));
    const float sn = std::sin(d * DEG_TO_RAD_FLOAT), c = std::cos(d * DEG_TO_RAD_FLOAT), a = -d;
    const int g = l.glass ? 1 : 0;
    PANEL_draw_needle(0.0f, 0.0f, a, 35 + g);
    PANEL_draw_needle(c * h, sn * h, a, 37 + g);
    const int fromto = r.nav1_fromto[n];
    if (fromto == 1) PANEL_draw_needle(15.0f * c - 15.0f * sn, 15.0f * c + 15.0f * sn, a, 29 + g);
    else if (fromto == 2) PANEL_draw_needle(15.0f * c + 15.0f * sn, 15.0f * sn - 15.0f * c, a + 180.0f, 29 + g);
    const float side = s != 0.0f ? S / s : 0.0f;   // a scale of 0 would divide by zero
    if (fromto != 0 && r.nav_type[n] == 4) {
        PANEL_draw_needle(-side, v, 0.0f, 31 + g);
        PANEL_draw_needle(side, v, 0.0f, 33 + g);
    } else {
        PANEL_draw_needle(-side, 0.0f, 0.0f, 39 + g);
        PANEL_draw_needle(side, 0.0f, 0.0f, 39 + g);
    }
}
