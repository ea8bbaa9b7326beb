// Where the moving parts of the instruments lie in the two panel-font sheets:
// the needle styles, the control sprites, the drum strips, the scale ticks,
// the map symbol cells and the attitude-indicator regions. The drawers cut
// their quads from these boxes and the panel bitmap generator paints its art
// into the same boxes, so both read this one header.
//
// Texel units of a 512 x 512 sheet, rows counted from the bottom. The first
// sheet (F1) is OGL_font_tex (slot 446, or 447 under cockpit light), the
// second (F2) OGL_font2_tex (448 or 449).
#pragma once

#include <cstdint>

#include "core/instrument_types.h"

constexpr int PANEL_ART_SIDE = 512;
constexpr float PANEL_TEXEL = 1.0f / 512.0f;

constexpr int SHEET_NONE = 0;
constexpr int SHEET_F1 = 1;
constexpr int SHEET_F2 = 2;

// ---------------------------------------------------------------------------
// Needle styles: a texel region of F2 (u from ua to ub, v from va at the back
// end to vb at the tip), the share f of the length that lies behind the pivot
// and the colour-table row.
struct needle_style {
    int16_t ua, ub, va, vb;
    float f;
    int16_t colour;
};

constexpr int NEEDLE_STYLE_FIRST = 6;
constexpr int NEEDLE_STYLE_LAST = 74;
constexpr float THIRD = 1.0f / 3.0f;

constexpr needle_style needle_styles[NEEDLE_STYLE_LAST + 1] = {
    {}, {}, {}, {}, {}, {},                                                // 0..5: no style
    {88, 99, 0, 98, THIRD, 0},   {101, 110, 0, 98, THIRD, 0},  {112, 121, 0, 98, THIRD, 0},   // 6..8
    {123, 132, 0, 98, THIRD, 0}, {134, 145, 0, 98, THIRD, 0},                                // 9, 10
    {147, 158, 0, 98, THIRD, 0}, {160, 169, 0, 98, THIRD, 0},  {171, 180, 0, 98, THIRD, 0},   // 11..13
    {182, 191, 0, 98, THIRD, 0},                                                              // 14
    {193, 220, 0, 88, 0.5f, 0},  {193, 204, 90, 133, 0.0f, 0},                                // 15, 16
    {222, 233, 0, 98, THIRD, 0}, {235, 244, 0, 98, THIRD, 0},  {246, 255, 0, 98, THIRD, 0},   // 17..19
    {257, 266, 0, 98, THIRD, 0},                                                              // 20
    {367, 373, 84, 135, 0.0f, 49},                                                            // 21
    {268, 283, 0, 98, 0.5f, 0},  {285, 300, 0, 98, 0.5f, 0},   {302, 317, 0, 98, 0.5f, 0},    // 22..24
    {438, 451, 146, 161, 0.5f, 0}, {438, 451, 129, 144, 0.5f, 49},                            // 25, 26
    {453, 466, 146, 161, 0.5f, 0}, {453, 466, 129, 144, 0.5f, 49},                            // 27, 28
    {468, 481, 146, 161, 0.5f, 0}, {468, 481, 129, 144, 0.5f, 49},                            // 29, 30
    {483, 496, 146, 161, 0.5f, 0}, {484, 497, 129, 144, 0.5f, 49},                            // 31, 32
    {498, 511, 146, 161, 0.5f, 0}, {499, 512, 129, 144, 0.5f, 49},                            // 33, 34
    {381, 438, 0, 121, 0.5f, 0}, {447, 504, 0, 121, 0.5f, 49},                                // 35, 36
    {440, 445, 0, 121, 0.5f, 0}, {506, 512, 0, 121, 0.5f, 49},                                // 37, 38
    {410, 420, 169, 241, 0.5f, 0}, {421, 430, 169, 241, 0.5f, 49},                            // 39, 40
    {319, 326, 0, 47, THIRD, 0}, {328, 335, 0, 47, THIRD, 0},  {337, 343, 0, 47, THIRD, 0},   // 41..43
    {175, 183, 187, 196, 0.5f, 49},                                                           // 44
    {375, 379, 84, 135, THIRD, 49},                                                           // 45
    {6, 22, 1, 16, 0.5f, 49},    {6, 22, 19, 34, 0.5f, 49},    {6, 22, 37, 52, 0.5f, 49},     // 46..48
    {6, 22, 55, 70, 0.5f, 49},                                                                // 49
    {402, 421, 129, 161, 0.5f, 49}, {381, 400, 129, 161, 0.5f, 49},                           // 50, 51
    {50, 66, 97, 113, 0.5f, 49}, {66, 78, 97, 113, 0.5f, 49},                                 // 52, 53
    {319, 326, 84, 152, 0.0f, 0},                                                             // 54
    {423, 436, 128, 144, 0.5f, 49},                                                           // 55
    {175, 183, 199, 208, 0.5f, 49},                                                           // 56
    {352, 357, 84, 117, THIRD, 0}, {359, 365, 84, 117, THIRD, 0},                             // 57, 58
    {206, 213, 90, 133, THIRD, 0}, {213, 220, 90, 133, THIRD, 0},                             // 59, 60
    {344, 350, 84, 135, 0.0f, 0},                                                             // 61
    {345, 352, 0, 47, 0.0f, 0},  {354, 360, 0, 47, 0.0f, 0},   {362, 369, 0, 47, 0.0f, 0},    // 62..64
    {371, 378, 0, 47, THIRD, 0},                                                              // 65
    {431, 450, 177, 233, 0.0f, 0},                                                            // 66
    {24, 40, 0, 36, 1.0f, 0},    {40, 56, 0, 36, 0.0f, 0},     {56, 72, 0, 36, 1.0f, 0},      // 67..69
    {72, 88, 0, 36, 0.0f, 0},    {24, 40, 44, 80, 1.0f, 0},    {40, 56, 44, 80, 0.0f, 0},     // 70..72
    {56, 72, 44, 80, 1.0f, 0},   {72, 88, 44, 80, 0.0f, 0},                                   // 73, 74
};

// The course-deviation bar of a horizontal situation display moves this many
// panel units a dot of deviation (mechanical and glass faces); the course
// arrow's art carries its dots at the same spacing.
constexpr float HSI_UNITS_PER_DOT = 4.0f;
constexpr float HSI_UNITS_PER_DOT_GLASS = 5.0f;
// The glide-slope pointers move this many units a dot; the glide-slope
// scale's art carries its dots at the same spacing.
constexpr float HSI_GS_UNITS_PER_DOT = 8.2f;

// The style, or null for a number outside the table.
constexpr const needle_style* PANEL_needle_style(int style)
{
    if (style < NEEDLE_STYLE_FIRST || style > NEEDLE_STYLE_LAST) return nullptr;
    return &needle_styles[style];
}

// ---------------------------------------------------------------------------
// Control sprites: the moving or lighting part of an instrument, chosen by its
// type and a state. A rectangle of a sheet (centre and half sizes in texels,
// drawn with the same half sizes in panel units), its colour row and a fixed
// shift of y (unscaled panel units). An empty sprite has sheet SHEET_NONE.
struct panel_sprite {
    int sheet;
    float cu, cv, hw, hh;
    int colour;
    float shift;
};

constexpr int SPRITE_DEFAULT_COLOUR = 29;

// Autopilot keys come in triples of types sharing a column of the sheet; each
// triple has its light strip.
struct autopilot_triple {
    ins_type first;   // first type of the triple
    int column;       // B
    ins_type strip;   // type of the light strip
};
constexpr autopilot_triple autopilot_triples[] = {
    {INS_OTT_ATR_ENG_GA, 112, INS_OTT_ANN_ATR},         {INS_OTT_HDG_ENG_GA, 176, INS_OTT_ANN_HDG},
    {INS_RETIRED_248, 208, INS_RETIRED_274},            {INS_OTT_HN_ENG_GA, 240, INS_OTT_ANN_HN},
    {INS_OTT_ALT_ENG_GA, 272, INS_OTT_ANN_ALT},         {INS_OTT_VVI_ENG_GA, 304, INS_OTT_ANN_VVI},
    {INS_OTT_VN_ENG_GA, 336, INS_OTT_ANN_VN},           {INS_OTT_BC_ENG_GA, 368, INS_OTT_ANN_BC},
    {INS_OTT_LCA_ENG_GA, 208, INS_OTT_ANN_LCA},         {INS_OTT_SYN_ENG_GA, 400, INS_OTT_ANN_SYN},
    {INS_OTT_WINGLEV_ENG_GA, 496, INS_OTT_ANN_WINGLEV}, {INS_OTT_ASI_ENG_GA, 144, INS_OTT_ANN_ASI},
};

namespace panel_art_detail {

constexpr panel_sprite none() { return {SHEET_NONE, 0, 0, 0, 0, SPRITE_DEFAULT_COLOUR, 0}; }
constexpr panel_sprite f1(double cu, double cv, double hw, double hh, int colour, double shift = 0.0)
{
    return {SHEET_F1, float(cu), float(cv), float(hw), float(hh), colour, float(shift)};
}
constexpr panel_sprite f2(double cu, double cv, double hw, double hh, int colour, double shift = 0.0)
{
    return {SHEET_F2, float(cu), float(cv), float(hw), float(hh), colour, float(shift)};
}
// The switch-bank rows of 15 x 15 sprites.
constexpr panel_sprite switch_row(int t, double s)
{
    switch (t) {
    case INS_BUT_LAND_LIGHT: return f1(15, 59, 15, 15, 0);
    case INS_BUT_HUD_POWER: return f1(47, 59, 15, 15, 0);
    case INS_DEICE_PITOT_HEAT: return f1(79, 59, 15, 15, 0);
    case INS_DEICE_ALL_SYSTEMS: return f1(111, 59, 15, 15, 0);
    case INS_BUT_TAXI_LIGHT: return f1(15, 59, 15, 15, 0);
    case INS_BUT_RUD_TRIM_RESET: return f1(463, 15, 15, 15, 0);
    case INS_BUT_AIL_TRIM_RESET: return f1(495, 15, 15, 15, 0);
    case INS_TOTALENERGY_INC: case INS_TOTALENERGY_DEC: return f1(175, 15, 15, 15, 0);
    case INS_BUT_DISP_VORADF1: case INS_BUT_DISP_VORADF2: return f1(207 + 32 * s, 15, 15, 15, 0);
    case INS_BUT_NAVLIGHT: return f1(271, 15, 15, 15, 0);
    case INS_BUT_BEACON: return f1(303, 15, 15, 15, 0);
    case INS_BUT_ARTSTAB: return f1(335, 15, 15, 15, 0);
    case INS_BUT_IDLE: return f1(367, 15, 15, 15, 0);
    case INS_BUT_STROBELIGHT: return f1(399, 15, 15, 15, 0);
    case INS_BUT_CLUTCH: return f1(431, 15, 15, 15, 0);
    case INS_BUT_IGNITER: return f1(463, 15, 15, 15, 0);
    case INS_BUT_PUFFER: case INS_BUT_WATER_SCOOP: return f1(495, 15, 15, 15, 0);
    default: break;
    }
    if (INS_in(t, INS_BUT_YAWDAMP, INS_BUT_PREROTATELEVEL))
        return f1(143 + 32 * (t - INS_BUT_YAWDAMP), 59, 15, 15, 0);
    if (INS_in(t, INS_DEICE_AUTO_IGNITION, INS_DEICE_WINDSHIELD_HEAT)) return f1(79, 59, 15, 15, 0);
    if (INS_in(t, INS_BUT_BATTERY, INS_BUT_FUELPUMP)) return f1(15 + 32 * (t - INS_BUT_BATTERY), 15, 15, 15, 0);
    return none();
}

// The knob row of 11 x 11 sprites at v 318.
constexpr bool knob_row(int t, long long s, double& cu)
{
    if (t == INS_BUT_AUTOBRAKE || t == INS_BUT_AUTOFEATHER || t == INS_BUT_FLITEDIR_MODESC ||
        t == INS_BUT_FLITEDIR_MODEDC || INS_in(t, INS_WPN_GUN_ROC, INS_WPN_MIS_BOM))
        return cu = 221.0 + 21.0 * double(s), true;
    if (INS_in(t, INS_BUT_HSI_12, INS_BUT_RMI_12GPS)) return cu = 242.0 + 21.0 * double(s), true;
    if (t == INS_BUT_MAP_ZOOM) return cu = 179.0 + 21.0 * double(s), true;
    if (INS_in(t, INS_WPN_GUN_ROC_MIS, INS_WPN_ANY) || t == INS_WPN_FIRE_MODE || t == INS_WPN_FIRE_RATE)
        return cu = 200.0 + 21.0 * double(s), true;
    if (t == INS_BUT_MAP_HSI || t == INS_BLEED_AIR || t == INS_WPN_ALL) return cu = 221.0 + 42.0 * double(s), true;
    if (t == INS_BUT_FUEL_01) return cu = s == 0 ? 221 : s == 4 ? 263 : 200, true;
    if (t == INS_BUT_FUEL_012) return cu = s == 1 ? 221 : s == 2 ? 263 : 200, true;
    if (t == INS_BUT_FUEL_012_ALL) return cu = s == 1 ? 221 : s == 2 ? 263 : s == 4 ? 242 : 200, true;
    if (t == INS_BUT_FUEL_0123 || t == INS_BUT_FUEL_XFR_0123)
        return cu = s == 1 ? 221 : s == 2 ? 242 : s == 3 ? 263 : 200, true;
    if (t == INS_BUT_FUEL_0123_ALL) return cu = s >= 1 && s <= 4 ? 221 + 21 * double(s - 1) : 200, true;
    return false;
}

constexpr panel_sprite autopilot_key(int t, long long s)
{
    for (const autopilot_triple& a : autopilot_triples) {
        const double b = a.column;
        if (t == a.strip) return f1(b, 201, 15, 4, 49);
        if (t == a.first) {
            if (s == 0) return f1(b, 180, 15, 9, 0, -3);
            if (s == 1) return f1(b, 192, 15, 4, 51, 10);
            if (s == 2) return f1(b, 192, 15, 4, 50, 10);
            return none();
        }
        if (t == a.first + 1) {
            if (s == 0) return f1(b, 147, 15, 8, 0, 1);
            if (s == 1) return f1(b, 161, 15, 8, 51);
            if (s == 2) return f1(b, 161, 15, 8, 50);
            return none();
        }
        if (t == a.first + 2) {
            if (s == 0) return f1(b, 107, 15, 15, 0, 1);
            if (s == 1) return f1(b, 132, 15, 9, 51, 1);
            if (s == 2) return f1(b, 132, 15, 9, 50, 1);
            return none();
        }
    }
    return none();
}

}  // namespace panel_art_detail

// The sprite of instrument type `type` in state `state`. States take part in
// the linear rules unchanged (any state gives a rectangle further along the
// sheet); the arithmetic is done in double, so no state overflows.
constexpr panel_sprite PANEL_sprite(int type, int state)
{
    using namespace panel_art_detail;
    const long long s = state;
    const double sd = double(s);
    const int t = type;

    const panel_sprite sw = switch_row(t, sd);
    if (sw.sheet != SHEET_NONE) return sw;
    double cu = 0.0;
    if (knob_row(t, s, cu)) return f1(cu, 318, 11, 11, 0);
    const panel_sprite ap = autopilot_key(t, s);
    if (ap.sheet != SHEET_NONE) return ap;

    switch (t) {
    case INS_BUT_BRAKES: return f1(470, 226, 22, 5, 0);
    case INS_BUT_GEAR_HANDLE_GA: return f1(145, 338, 15, 30, 0);
    case INS_BUT_GEAR_HANDLE_HM: return f1(149, 441, 19, 72, 0);
    case INS_BUT_GEAR_LIGHT_GA: case INS_BUT_CLUTCH_TRANSIT: return f1(164, 364 - 7 * sd, 4, 4, 49);
    case INS_BUT_GEAR_LIGHT_HM: return f1(164, 349 - 7 * sd, 4, 4, 49);
    case INS_BUT_STARTER_GA: case INS_BUT_STARTER_BC: return f1(8 + 15 * sd, 205, 8, 8, 0);
    case INS_HAN_SLIDER_THRO_VERNIER: return f2(203, 218, 16, 16, 0);
    case INS_HAN_SLIDER_PROP_VERNIER: return f2(235, 218, 16, 16, 0);
    case INS_HAN_SLIDER_MIX_VERNIER: return f2(267, 218, 16, 16, 0);
    case INS_HAN_SLIDER_HEAT_VERNIER: return f2(299, 218, 16, 16, 0);
    case INS_HAN_SLIDER_COWL: return f2(331, 218, 16, 16, 0);
    case INS_HAN_SLIDER_THRO_LINEAR: return f2(203, 182, 16, 13, 0);
    case INS_HAN_SLIDER_PROP_LIN: return f2(235, 182, 16, 13, 0);
    case INS_HAN_SLIDER_MIXTURE_LIN: return f2(267, 182, 16, 13, 0);
    case INS_HAN_SLIDER_CHEAT_LIN: return f2(299, 182, 16, 13, 0);
    case INS_HAN_SLIDER_COLLECTIVE: return f2(331, 182, 16, 13, 0);
    case INS_HAN_SLIDER_DISPLACEMENT: return f2(363, 182, 16, 13, 0);
    case INS_HAN_SBRAKE1: case INS_HAN_SBRAKE2: return f2(363, 218, 16, 16, 0);
    case INS_HAN_SLIDER_FLAP_GA: case INS_HAN_SLIDER_FLAP_BC: case INS_HAN_SLIDER_FLAP_HM:
        return f2(395, 182, 15, 13, 0);
    case INS_HAN_SWEEP: case INS_HAN_VECT: case INS_HAN_INCIDENCE:
        if (s == 0) return f2(395, 218, 15, 16, 0);
        if (s == 1) return f2(430, 153, 6, 6, 0);
        return none();
    case INS_FLAP_IND_LIN: return f2(180, 226, 5, 4, 0);
    case INS_HAN_ELV_TRIM_IND: case INS_HAN_ROT_TRIM_IND: return f2(180, 220, 5, 4, 0);
    case INS_HAN_RUD_TRIM_IND: case INS_HAN_AIL_TRIM_IND: return f2(180, 213, 5, 4, 0);
    case INS_HAN_ELV_TRIM_ACT: case INS_HAN_ROT_TRIM_ACT: return f1(507, 413 + 64 * sd, 5, 30, 0);
    case INS_HAN_RUD_TRIM_ACT: case INS_HAN_AIL_TRIM_ACT: return f1(482, 368 + 10 * sd, 30, 5, 0);
    case INS_HORIZGLASS_GA: case INS_HORIZGLASS_BC: case INS_HORIZGLASS_HM:
    case INS_TURN_COORDINATOR: case INS_TURN_NEEDLE:
    case INS_SLIP_BALL_GA: case INS_SLIP_BALL_BC: case INS_SLIP_BALL_HM:
        return f2(15, 81, 7, 7, 0);
    case INS_CDI_NAV1: case INS_CDI_NAV2:
        switch (s) {
        case 0: return f1(69, 123, 6, 5, 0);
        case 1: return f1(69, 114, 6, 5, 0);
        case 2: return f1(81, 125, 4, 10, 0);
        case 3: return f1(90, 125, 4, 10, 0);
        case 4: return f1(85, 111, 8, 4, 0);
        default: return none();
        }
    case INS_RMI_NADF12_GA: case INS_RMI_NADF12_BC: case INS_RMI_NADF12_HM:
        switch (s) {
        case 0: return f1(401, 323, 15, 15, 0);
        case 1: return f1(433, 323, 15, 15, 0);
        case 2: return f1(487, 433, 15, 15, 0);
        case 3: return f1(487, 400, 15, 15, 0);
        case 4: return f1(487, 495, 15, 15, 0);
        case 5: return f1(487, 465, 15, 15, 0);
        default: return none();
        }
    case INS_EFIS_EL_LOC: return f1(464, 357, 44, 6, 49);
    case INS_EFIS_EL_GS: return f1(502, 307, 6, 44, 49);
    case INS_EFIS_EL_DME_1: return f1(15 + 33 * sd, 112, 14, 6, 0);
    case INS_EFIS_EL_DME_2: return f1(15 + 33 * sd, 101, 14, 6, 0);
    case INS_EFIS_EL_GEAR: return f1(12 + 27 * sd, 124, 12, 5, 49);
    case INS_EFIS_MAP_T_GA: case INS_EFIS_MAP_T_BC: case INS_EFIS_MAP_T_HM:
    case INS_EFIS_MAP_S_GA: case INS_EFIS_MAP_S_BC: case INS_EFIS_MAP_S_HM:
        return s == 1 ? f1(419, 267, 29, 10, 49) : none();
    case INS_EFIS_HITS: return s == 1 ? f1(419, 267, 29, 10, 49) : f1(400, 232, 15, 10, 49);
    case INS_EFIS_SWITCHES: return f1(400, 232, 15, 10, 49);
    case INS_ECAM_MODESEL_ENG: case INS_ECAM_MODESEL_FUEL: case INS_ECAM_MODESEL_FCON: case INS_ECAM_MODESEL_HYD:
    case INS_ECAM_MODESEL_FAIL:
        return f1(337, 266, 15, 11, 49);
    case INS_RAD_AUDIOPANEL_GA: return f1(145 + 32 * sd, 238, 15, 8, 49);
    case INS_RAD_AUDIOPANEL_BC: return f1(145 + 32 * sd, 217, 15, 8, 49);
    case INS_RAD_MARKER_GA: case INS_RAD_MARKER_BC: return f1(399 + 18 * sd, 214, 9, 6, 49);
    case INS_RAD_NAVCOMADFFF_HM: case INS_RAD_NAVCOMADFFF_HM2:
        if (s < 10) return f1(145 + 32 * sd, 265, 15, 8, 0);
        return f1(145 + 32 * (sd - 10), 274, 15, 3, 49);
    case INS_RAD_GPS_GA: return f1(144 + 32 * sd, 292, 15, 8, 49);
    case INS_RAD_GPS_BC: return f1(273 + 32 * sd, 292, 15, 8, 49);
    case INS_RAD_GPS_HM: return f1(369, 279 - 8 * sd, 15, 4, 49);
    case INS_RAD_DME_FRQ_GA: case INS_RAD_DME_N12_GA: case INS_RAD_DME_ALL_GA:
        if (s == 0) return f1(436, 233, 10, 8, 0);
        if (s >= 1) return f1(9, 250 - 8 * sd, 8, 4, 49);
        return none();
    case INS_RAD_DME_FRQFF_BC: case INS_RAD_DME_N12FF_BC:
        return s >= 1 ? f1(29, 250 - 8 * sd, 8, 4, 49) : none();
    case INS_RAD_TRANSPONDER_GA: return f1(241 + 16 * sd, 338, 8, 8, 0);
    case INS_RAD_TRANSPONDER_HM: return f1(176 + 16 * sd, 338, 8, 8, 0);
    case INS_RAD_TRANSPONDER_BC: return f1(306 + 19 * sd, 337, 9, 9, 0);
    case INS_RAD_TRANSPONDER_HM2: return f1(320 + 10 * sd, 322, 5, 5, 0);
    case INS_STALL_LIGHT: return f1(461, 214, 12, 7, 49);
    case INS_ANN_HYD_PRESS: return f1(399, 355, 20, 5, 49);
    case INS_ANN_MASTER_ACCEPT: return f1(399, 365, 20, 5, 49);
    case INS_ANN_AUTO_IGNITION: return f1(399, 375, 20, 5, 49);
    case INS_AOA_INDEXER:
        switch (s) {
        case 0: return f1(112, 247, 13, 7, 49);
        case 1: return f1(112, 229, 13, 10, 49);
        case 2: return f1(112, 211, 13, 7, 49);
        default: return none();
        }
    default: break;
    }
    if (INS_in(t, INS_ANN_MASTER_CAUTION, INS_ANN_ENGINE_FIRE))
        return f1(469, 346 - 10 * (t - INS_ANN_MASTER_CAUTION), 20, 5, 49);
    return none();
}

// Types whose callers pass positions already scaled: their sprites keep their
// size at any instrument scale.
constexpr bool PANEL_sprite_unscaled(int type)
{
    return INS_in(type, INS_HAN_SLIDER_THRO_VERNIER, INS_FLAP_IND_LIN) ||
           INS_in(type, INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM) || type == INS_EFIS_HITS ||
           INS_in(type, INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM);
}

// ---------------------------------------------------------------------------
// Drum strips of F2. Kind 3: a column of digits 9 texels apart, 0 centred at
// v 271 (10 shows the 0 after the 9); kinds 4 and 5: heading strips scrolled
// along u.
constexpr float DRUM_DIGIT_U1 = 246, DRUM_DIGIT_U2 = 252;
constexpr float DRUM_DIGIT_V0 = 271, DRUM_DIGIT_PITCH = 9, DRUM_DIGIT_HALF = 5;
constexpr float DRUM_NARROW_U0 = 164, DRUM_NARROW_RATE = -0.4f, DRUM_NARROW_HALF = 20;
constexpr float DRUM_NARROW_V1 = 231, DRUM_NARROW_V2 = 241;
constexpr float DRUM_WIDE_U0 = 41, DRUM_WIDE_RATE = 1.2f, DRUM_WIDE_HALF = 40;
constexpr float DRUM_WIDE_V1 = 242, DRUM_WIDE_V2 = 256;
// The minus sign before a negative counter.
constexpr float MINUS_U1 = 81, MINUS_U2 = 84, MINUS_V1 = 124, MINUS_V2 = 129;

// Scale ticks of F2: major and minor, and the one texel of F1 that fills the
// vertical engine bars.
constexpr float TICK_V1 = 98, TICK_V2 = 108;
constexpr float TICK_MAJOR_U1 = 330, TICK_MAJOR_U2 = 333;
constexpr float TICK_MINOR_U1 = 338, TICK_MINOR_U2 = 341;
constexpr float BAR_TEXEL_U = 85, BAR_TEXEL_V = 103;
// The airspeed unit label of F2: centre u 118 for knots, 126 for miles per
// hour, 4 either side, v 26..46.
constexpr float UNIT_LABEL_KNOTS_U = 118, UNIT_LABEL_MPH_U = 126, UNIT_LABEL_HALF = 4;
constexpr float UNIT_LABEL_V1 = 26, UNIT_LABEL_V2 = 46;

// Rotated cards of F2 (kinds 0..2); kinds 3 and 4 are the whole rose cards.
constexpr float CARD0_U1 = 1, CARD0_U2 = 118, CARD12_U1 = 122, CARD12_U2 = 239;
constexpr float CARD_V1 = 258, CARD_V2 = 375;

// ---------------------------------------------------------------------------
// Map symbol cells (texels of a 512 sheet; the moving map gives them in
// 1/1024): NDB, VOR, fix and airport on F1, the ship on F2.
struct art_box {
    int sheet;
    float u1, v1, u2, v2;
};
constexpr art_box MAP_CELL_NDB{SHEET_F1, 56, 231, 70, 245};
constexpr art_box MAP_CELL_VOR{SHEET_F1, 41, 215, 55, 229};
constexpr art_box MAP_CELL_FIX{SHEET_F1, 41, 231, 55, 245};
constexpr art_box MAP_CELL_AIRPORT{SHEET_F1, 56, 215, 70, 229};
constexpr art_box MAP_CELL_SHIP{SHEET_F2, 7, 91, 21, 105};

// Attitude-indicator regions: the glass ball and bank ring (F2), the glass
// mask (F1); the mechanical ball and bank card (F2) and bezel (F1); the
// flight-director bars and aircraft symbols (F2).
constexpr art_box ADI_GLASS_BALL{SHEET_F2, 384, 320, 512, 448};
constexpr art_box ADI_GLASS_RING{SHEET_F2, 128, 384, 256, 512};
constexpr art_box ADI_GLASS_MASK{SHEET_F1, 342, 385, 470, 513};
constexpr art_box ADI_MECH_BALL{SHEET_F2, 256, 320, 384, 448};
constexpr art_box ADI_MECH_CARD{SHEET_F2, 0, 384, 128, 512};
constexpr art_box ADI_MECH_BEZEL{SHEET_F1, 170, 349, 338, 511};
constexpr art_box ADI_FD_GLASS_BARS{SHEET_F2, 80, 181, 156, 191};
constexpr art_box ADI_FD_GLASS_SYMBOL_SC{SHEET_F2, 80, 169, 156, 180};
constexpr art_box ADI_FD_GLASS_SYMBOL{SHEET_F2, 0, 169, 77, 185};
constexpr art_box ADI_FD_MECH_BARS{SHEET_F2, 80, 212, 156, 223};
constexpr art_box ADI_FD_MECH_SYMBOL_SC{SHEET_F2, 80, 200, 156, 211};
constexpr art_box ADI_FD_MECH_SYMBOL{SHEET_F2, 0, 193, 77, 224};
