// The ADF indicators (fixed cards turned by hand, or slaved to the electric
// gyro) and the radio-magnetic indicators: needles that swing toward their
// station's bearing with a one-second lag held to 45 degrees a second, the
// VOR/ADF buttons and lamps, and the DME windows of the HM face.
//
// Reads: the navigation arrays and RMI selectors, the electric gyro heading,
// the frame period. Writes: the slaved card's heading (nav1_cardinal_dir),
// the RMI's left and right VOR/ADF selectors (its buttons) and rmi_mem.
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/systems/gyros.h"
#include "graphics/font.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/panel_kit.h"

rmi_memory rmi_mem;

ORVELL_RESET_RECORD(RMI_reset, rmi_mem, panel);

namespace {

// A heading or distance that is not a number (written from outside) reads 0:
// handed on, it would give the card an angle or the window a value that is not a number.
float finite_or_0(float v) { return std::isfinite(v) ? v : 0.0f; }

// Moves receiver k's needle toward its station and draws it.
void needle(int k, int style)
{
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    const float target = k == RADIO_GPS ? r.gps_dir_degt : r.nav1_dir_degt[k];
    const bool vor_ok = (k != RADIO_NAV1 && k != RADIO_NAV2) || r.nav_type[k] == 3;
    float& angle = rmi_mem.needle_deg[k];
    const float dt = sim_operation_misc.frame_rate_period;
    if (vor_ok && std::isfinite(target) && std::isfinite(dt)) {
        const float d = std::clamp(UTIL_wrap_from(target - angle, -180.0f, 360.0f), -45.0f, 45.0f);
        angle = UTIL_wrap_from(angle + dt * d, 0.0f, 360.0f);
    }
    PANEL_draw_needle(0.0f, 0.0f, angle, style);
}

// The DME window of one needle's receiver on the HM face.
void dme_window(int k, float x, float s)
{
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    if (r.nav1_has_dme[k] != 0)
        OGL_draw_string_fmt(49, x * s, 62.0f * s, std::clamp(finite_or_0(r.nav1_dme_dist_m[k]), 0.0f, 99.0f), 3, 1, 0, 114);
    else
        OGL_draw_string(50, x * s, 62.0f * s, "---", 9999.0f, 110);
}

}  // namespace

void PANEL_rmi()
{
    const int t = panel_ins_type;
    if (!INS_in(t, INS_ADF_CONVEN1_GA, INS_RMI_NADF12_HM)) return;   // the lamp table below is indexed by type
    const float s = panel_ins_scale;
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    sim_cockpit_switches_block& sw = sim_cockpit_switches;

    // The slaved card's heading is published as nav1_cardinal_dir (its nav 1
    // element); the ADF cards' adf1_obs_card_mag and adf2_obs_card_mag as
    // adf1_cardinal_dir and adf2_cardinal_dir.
    float card;
    if (t >= INS_ADF_SLAVED1_GA) {
        r.nav1_cardinal_dir[RADIO_NAV1] = finite_or_0(gyro_heading[GYRO_ELECTRIC]);
        card = r.nav1_cardinal_dir[RADIO_NAV1];
    } else {
        const bool adf2_card = INS_in(t, INS_ADF_CONVEN2_GA, INS_ADF_CONVEN2_HM);
        card = finite_or_0(adf2_card ? r.adf2_obs_card_mag : r.adf1_obs_card_mag);
    }
    PANEL_draw_rotated_card(card, 55.0f * s, 0, 0);

    const bool adf1 = INS_in(t, INS_ADF_CONVEN1_GA, INS_ADF_CONVEN1_HM) ||
                      INS_in(t, INS_ADF_CONVEN12_GA, INS_ADF_SLAVED1_HM) ||
                      INS_in(t, INS_ADF_SLAVED12_GA, INS_ADF_SLAVED12_HM);
    const bool adf2 =
        INS_in(t, INS_ADF_CONVEN2_GA, INS_ADF_CONVEN12_HM) || INS_in(t, INS_ADF_SLAVED2_GA, INS_ADF_SLAVED12_HM);
    if (adf1) needle(RADIO_ADF1, 22);
    if (adf2) needle(RADIO_ADF2, 23);
    if (INS_in(t, INS_RMI_N12GPS_GA, INS_RMI_N12GPS_HM)) needle(NAV_source_of_selector(sw.RMI_selector), 22);
    if (INS_in(t, INS_RMI_NADF12_GA, INS_RMI_NADF12_HM)) {
        if (sw.RMI_l_vor_adf_selector == 1) needle(RADIO_ADF1, 22);
        else needle(RADIO_NAV1, 22);
        if (sw.RMI_r_vor_adf_selector == 1) needle(RADIO_ADF2, 23);
        else needle(RADIO_NAV2, 23);

        // The VOR/ADF buttons are read after the needles have moved: the
        // needle a click chooses moves and shows from the next frame on, its
        // lamp at once.
        if (PANEL_click_spot(-55.0f, -58.0f, 14.0f, 0)) sw.RMI_l_vor_adf_selector = sw.RMI_l_vor_adf_selector == 1 ? 0 : 1;
        if (PANEL_click_spot(55.0f, -58.0f, 14.0f, 0)) sw.RMI_r_vor_adf_selector = sw.RMI_r_vor_adf_selector == 1 ? 0 : 1;
        struct lamps {
            int left_state;
            float lx, ly;
            int right_state;
            float rx, ry;
        };
        static constexpr lamps faces[] = {{0, -41, -44, 1, 42, -44}, {2, -48, -50, 3, 54, -50}, {4, -54, -52, 5, 58, -52}};
        const lamps& l = faces[t - INS_RMI_NADF12_GA];
        if (sw.RMI_l_vor_adf_selector == 1) PANEL_draw_control(l.lx * s, l.ly * s, l.left_state);
        if (sw.RMI_r_vor_adf_selector == 1) PANEL_draw_control(l.rx * s, l.ry * s, l.right_state);
    }
    if (t == INS_RMI_NADF12_HM) {
        dme_window(sw.RMI_l_vor_adf_selector == 1 ? RADIO_ADF1 : RADIO_NAV1, -56.0f, s);
        dme_window(sw.RMI_r_vor_adf_selector == 1 ? RADIO_ADF2 : RADIO_NAV2, 44.0f, s);
    }
}
