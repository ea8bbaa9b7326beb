// The panel pass through its real path: slots of the user's aircraft drawn by
// PANEL_update and read back from the feedback mode; the Morse identifier
// through the sound layer's seam on an injected running time.
#include "tests/panel/panel_fixture.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/failure_slots.h"
#include "core/ui_text.h"
#include "flightmodel/systems/radios.h"
#include "links/net_slots.h"

namespace {

// Texts drawn in `font`: glyph quads joined left to right while they stand
// side by side on one line (a full stop sits a unit or two lower).
std::vector<std::string> words(int font, const std::vector<fb_rect>& rects)
{
    std::vector<fb_rect> glyphs;
    for (const fb_rect& r : rects)
        if (glyph_of(font, r) != 0) glyphs.push_back(r);
    std::sort(glyphs.begin(), glyphs.end(), [](const fb_rect& a, const fb_rect& b) { return a.x1 < b.x1; });
    std::vector<std::string> out;
    std::vector<bool> used(glyphs.size(), false);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (used[i]) continue;
        // The digit fonts keep '0' in the blank's cell.
        auto ch = [font](const fb_rect& r) {
            const int c = glyph_of(font, r);
            return static_cast<char>(c == ' ' && (font == 116 || font == 117) ? '0' : c);
        };
        std::string w(1, ch(glyphs[i]));
        float x = glyphs[i].x1, y = glyphs[i].y1;
        used[i] = true;
        for (size_t j = i + 1; j < glyphs.size(); ++j)
            if (!used[j] && std::fabs(glyphs[j].y1 - y) <= 2.5f && glyphs[j].x1 - x <= 7.0f && glyphs[j].x1 > x) {
                w += ch(glyphs[j]);
                x = glyphs[j].x1;
                used[j] = true;
            }
        out.push_back(w);
    }
    return out;
}

bool has(const std::vector<std::string>& w, const std::string& s) { return std::find(w.begin(), w.end(), s) != w.end(); }

constexpr float RPM = 9.549297f;

}  // namespace

TEST_F(PanelTest, MorseIdentifierOfTheSelectedRadioPlaysOnTimeAndRepeats)
{
    power();
    sim_cockpit_radios.nav_type[RADIO_NAV1] = 3;
    sim_cockpit_switches.audio_panel_out = RADIO_NAV1;
    std::strcpy(radio_stations.nav_ident_text[RADIO_NAV1], "VOR");
    const float t0 = 50.0f;
    sim_time.total_running_time_sec = t0;
    PANEL_update();
    EXPECT_TRUE(sounds.played_slots.empty());   // the first dot waits until the clock is past it

    const float at[] = {0.0f, 0.2f, 0.4f, 0.6f, 1.3f, 1.65f, 2.0f, 2.7f, 2.9f, 3.25f};
    const int slot[] = {52, 52, 52, 53, 53, 53, 53, 52, 53, 52};
    for (int k = 0; k < 10; ++k) {
        sim_time.total_running_time_sec = t0 + at[k] + 0.01f;
        PANEL_update();
        ASSERT_EQ(sounds.played_slots.size(), static_cast<size_t>(k + 1)) << "step " << k;
        EXPECT_EQ(sounds.played_slots.back(), slot[k]) << "step " << k;
    }
    sim_time.total_running_time_sec = t0 + 4.9f;
    PANEL_update();
    EXPECT_EQ(sounds.played_slots.size(), 10u);   // each once
    // After 5 s the identifier starts again from its first letter.
    for (float t : {5.01f, 5.02f, 5.03f}) {
        sim_time.total_running_time_sec = t0 + t;
        PANEL_update();
    }
    ASSERT_EQ(sounds.played_slots.size(), 11u);
    EXPECT_EQ(sounds.played_slots.back(), 52);

    // A digit or a small letter keys only its gap, an identifier ends at its
    // terminator and a fifth character is never keyed.
    auto keyed = [&](const char* ident, int bytes) {
        PANEL_reset();
        sounds.played_slots.clear();
        std::memset(radio_stations.nav_ident_text[RADIO_NAV1], 0, TEXT_SIZE);
        std::memcpy(radio_stations.nav_ident_text[RADIO_NAV1], ident, static_cast<size_t>(bytes));
        for (int k = 0; k <= 100; ++k) {
            sim_time.total_running_time_sec = 200.0f + 0.049f * static_cast<float>(k);
            PANEL_update();
        }
        return sounds.played_slots;
    };
    EXPECT_EQ(keyed("E1eE", 4), (std::vector<int>{52, 52}));
    EXPECT_EQ(keyed("EEEEE", 5), (std::vector<int>{52, 52, 52, 52}));
    EXPECT_EQ(keyed("T\0TT", 4), (std::vector<int>{53}));
    // Every letter keys its International Morse elements, 52 a dot and 53 a dash.
    const char* const morse[26] = {".-",   "-...", "-.-.", "-..",  ".",    "..-.", "--.",  "....", "..",
                                   ".---", "-.-",  ".-..", "--",   "-.",   "---",  ".--.", "--.-", ".-.",
                                   "...",  "-",    "..-",  "...-", ".--",  "-..-", "-.--", "--.."};
    for (char c = 'A'; c <= 'Z'; ++c) {
        std::vector<int> elements;
        for (const char* e = morse[c - 'A']; *e; ++e) elements.push_back(*e == '.' ? 52 : 53);
        EXPECT_EQ(keyed(std::string(1, c).c_str(), 1), elements) << c;
    }

    // The GPS selected, or no avionics power: nothing is keyed.
    sim_cockpit_radios.nav_type[4] = 3;
    sim_cockpit_switches.audio_panel_out = 4;
    std::strcpy(radio_stations.nav_ident_text[4], "VOR");
    EXPECT_TRUE(keyed("VOR", 3).empty());
    sim_cockpit_switches.audio_panel_out = RADIO_NAV1;
    sim_cockpit_electrical.avionics_on = 0;
    EXPECT_TRUE(keyed("VOR", 3).empty());
}

TEST_F(PanelTest, EngineDialsTakeSuccessiveSuitableEngines)
{
    acf_struct& a = pln[0];
    // A custom range makes the angles easy to read: 1..3 over -135..135 for EPR,
    // 0..3000 rpm for the tachometers.
    a.acf_cus_rnd_use[8] = a.acf_cus_rnd_use[4] = 1;
    a.acf_cus_rnd_lo_val[8] = 1.0f, a.acf_cus_rnd_hi_val[8] = 3.0f;
    a.acf_cus_rnd_lo_val[4] = 0.0f, a.acf_cus_rnd_hi_val[4] = 3000.0f;
    for (int k : {4, 8}) a.acf_cus_rnd_lo_ang[k] = -135.0f, a.acf_cus_rnd_hi_ang[k] = 135.0f;

    // A twin with a piston engine 0 and a jet engine 1: every EPR dial shows the jet.
    a.acf_num_engines = 2;
    a.acf_en_type[0] = 0, a.acf_en_type[1] = 4;
    flt[0].ENGN_EPR[0] = 1.2f, flt[0].ENGN_EPR[1] = 2.0f;
    slot(0, 297, 100, 100);
    slot(1, 297, 300, 100);
    auto epr = needles(capture_feedback(PANEL_update), 59);
    ASSERT_EQ(epr.size(), 2u);
    for (const drawn_needle& n : epr) EXPECT_NEAR(n.angle_deg, 0.0f, 0.2f);

    // A piston twin: tachometers 294, 294 and 301 share one counter: engines 0, 1, 0.
    a.acf_en_type[1] = 0;
    flt[0].POINT_tacrad[0] = 1000.0f / RPM, flt[0].POINT_tacrad[1] = 2000.0f / RPM;
    slot(0, 294, 100, 100);
    slot(1, 294, 300, 100);
    slot(2, 301, 500, 100);
    const auto prims = capture_feedback(PANEL_update);
    const auto first = needles(prims, 59), second = needles(prims, 60);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NEAR(first[0].angle_deg, -45.0f, 0.2f);
    EXPECT_NEAR(first[1].angle_deg, 45.0f, 0.2f);
    EXPECT_NEAR(second[0].angle_deg, -45.0f, 0.2f);
    EXPECT_NEAR(first[1].pivot_x, 300.0f, 0.01f);
    EXPECT_NEAR(first[1].pivot_y, 100.0f, 0.01f);

    // Without engines the counters are not wrapped, and an engine beyond the
    // eight entries draws nothing.
    a.acf_num_engines = 0;
    for (int s = 0; s < 12; ++s) slot(s, 36, 50.0f + 20.0f * s, 50);
    power();
    mouse.mouse_held = 1;
    mouse.mouse_x = 50.0f + 20.0f * 10, mouse.mouse_y = 50.0f;
    PANEL_update();   // the eleventh starter's engine does not exist: nothing is written
    for (float d : sim_cockpit_engine.starter_duration) EXPECT_EQ(d, 0.0f);
    EXPECT_TRUE(capture_rects([] { update_eng_asi(294, 0, 0, 9, 0); }).empty());
}

TEST_F(PanelTest, SlotsAreDrawnAboutTheirCentresAndTheOriginComesBackBitForBit)
{
    screen.screen_area_left = 12.345f, screen.screen_area_bottom = 6.789f;
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    slot(0, 101, 100.1f, 200.3f);
    slot(1, 340, 300.7f, 200.9f, 0.8f);
    slot(2, 294, 500.33f, 200.77f);
    slot(3, 9999, 10, 10);                       // no such type
    slot(4, 101, std::nanf(""), 10);             // placed by no number
    flt[0].turnrate_roll = 10.0f;
    sim_time.local_time_sec = 3.0f * 3600.0f + 15.0f * 60.0f + 30.0f;
    const auto prims = capture_feedback(PANEL_update);
    EXPECT_EQ(std::memcmp(&left, &screen.screen_area_left, sizeof left), 0);
    EXPECT_EQ(std::memcmp(&bottom, &screen.screen_area_bottom, sizeof bottom), 0);
    EXPECT_EQ(panel_ins_type, 9999);   // an unknown type still becomes the current one

    const auto turn = needles(prims, 15);
    ASSERT_EQ(turn.size(), 1u);
    EXPECT_NEAR(turn[0].angle_deg, 100.0f, 0.05f);
    EXPECT_NEAR(turn[0].pivot_x, left + 100.1f, 0.01f);
    EXPECT_NEAR(turn[0].pivot_y, bottom + 200.3f, 0.01f);
    // The clock's hands: 3.258 hours, 15.5 minutes, 30 seconds; scale 0.8 shortens them.
    const float hands[3][2] = {{41, (3.0f + 15.5f / 60.0f) * 30.0f}, {42, 15.5f * 6.0f}, {43, 180.0f}};
    for (const auto& h : hands) {
        const auto n = needles(prims, static_cast<int>(h[0]));
        ASSERT_EQ(n.size(), 1u) << h[0];
        EXPECT_LT(angle_gap(n[0].angle_deg, h[1]), 0.05f) << h[0];
        EXPECT_NEAR(n[0].length, 47.0f * 0.8f, 0.01f);
    }
}

TEST_F(PanelTest, GeneratedEngineScaleAndItsNumbers)
{
    pln[0].acf_en_type[0] = 0;
    slot(0, 295, 200, 200);   // N1, 0..100 over 270 degrees
    const auto rects = capture_rects(PANEL_update);
    EXPECT_EQ(count_art(rects, TICK_MAJOR_U1, TICK_V1, TICK_MAJOR_U2, TICK_V2), 6);
    EXPECT_EQ(count_art(rects, TICK_MINOR_U1, TICK_V1, TICK_MINOR_U2, TICK_V2), 15);
    auto numbers = words(117, rects);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::string>{"0", "100", "20", "40", "60", "80"}));

    // With the aircraft's own panel bitmap the printed scale stands instead.
    has_view_bitmap[0] = 1;
    EXPECT_EQ(count_art(capture_rects(PANEL_update), TICK_MAJOR_U1, TICK_V1, TICK_MAJOR_U2, TICK_V2), 0);
    has_view_bitmap[0] = 0;

    // A range that is not a number, or an EPR high end divided by a missing
    // jet face, is held to one unit above its low end: the ticks stay few.
    pln[0].acf_en_type[0] = 4;
    pln[0].acf_face_jet = 0.0f;
    slot(0, 297, 200, 200);
    const int epr_ticks = count_art(capture_rects(PANEL_update), TICK_MINOR_U1, TICK_V1, TICK_MINOR_U2, TICK_V2);
    EXPECT_GT(epr_ticks, 0);
    EXPECT_LT(epr_ticks, 40);
    pln[0].acf_cus_rnd_use[5] = 1;
    pln[0].acf_cus_rnd_lo_val[5] = std::nanf("");
    pln[0].acf_cus_rnd_hi_val[5] = INFINITY;
    pln[0].acf_en_type[0] = 0;
    slot(0, 295, 200, 200);
    const auto odd = capture_rects(PANEL_update);
    EXPECT_GT(count_art(odd, TICK_MAJOR_U1, TICK_V1, TICK_MAJOR_U2, TICK_V2), 0);
    EXPECT_LT(odd.size(), 200u);
}

TEST_F(PanelTest, TapeMarksTheNumberGapAndTheGroundBand)
{
    panel_ins_scale = 1.0f;
    screen.screen_area_left = screen.screen_area_bottom = 300.0f;
    // A 4 x 5 mark from 3 below its offset, only while it keeps 2 units inside either end.
    const struct { float offset; bool drawn; } marks[] = {
        {54.0f, true}, {54.5f, false}, {-54.0f, true}, {-54.5f, false}, {10.0f, true}};
    for (const auto& m : marks) {
        const auto r = capture_rects([&] { PANEL_tape_mark(9, 5.0f, 0.0f, 56.0f, m.offset); });
        ASSERT_EQ(r.size(), m.drawn ? 1u : 0u) << m.offset;
        if (r.empty()) continue;
        EXPECT_NEAR(r[0].x1, 305.0f, 0.01f);
        EXPECT_NEAR(r[0].x2, 309.0f, 0.01f);
        EXPECT_NEAR(r[0].y1, 300.0f + m.offset - 3.0f, 0.01f);
        EXPECT_NEAR(r[0].y2, 300.0f + m.offset + 2.0f, 0.01f);
    }
    // Ten units a value about centre 0: 1 lies at 10 and -1 at trunc(-9.5) = -9; a gap g
    // hides the numbers from trunc(-g - 3) to trunc(g + 3).
    const struct { float gap; const char* label; long shown; } gaps[] = {
        {5.0f, "001", 2}, {5.0f, "000", 0}, {6.0f, "001", 1}, {7.0f, "001", 0}, {-999.0f, "000", 1}};
    for (const auto& g : gaps) {
        const float gap = g.gap;
        const auto w = words(110, capture_rects([gap] { PANEL_draw_tape(0, -1, 20, 9, 0, 50, gap, 0, 1, 1, 10, 2, 0, 110); }));
        EXPECT_EQ(std::count(w.begin(), w.end(), std::string(g.label)), g.shown) << g.gap << " " << g.label;
    }
    // 1,000 ft above the ground at 2 units per hundred feet: ground from the foot up to -20, sky above.
    flt[0].y_agl = 1000.0f / 3.28084f;
    const auto band = capture_rects([] { PANEL_draw_tape(0, -1, 20, 9, 0, 50, -999, 10, 1, 5, 2, 1, 2, 110); });
    auto filled = [&band](int row) {
        for (const fb_rect& r : band)
            if (std::fabs(r.r - colour_table[row][0]) < 1e-3f && std::fabs(r.g - colour_table[row][1]) < 1e-3f &&
                std::fabs(r.b - colour_table[row][2]) < 1e-3f && r.x2 - r.x1 > 18.0f)
                return r;
        return fb_rect{};
    };
    const fb_rect ground = filled(62), sky = filled(73);
    EXPECT_NEAR(ground.x1, 319.0f, 0.01f);
    EXPECT_NEAR(ground.x2, 338.0f, 0.01f);
    EXPECT_NEAR(ground.y1, 250.0f, 0.01f);
    EXPECT_NEAR(ground.y2, 280.0f, 0.01f);
    EXPECT_NEAR(sky.y1, 280.0f, 0.01f);
    EXPECT_NEAR(sky.y2, 350.0f, 0.01f);
}

TEST_F(PanelTest, ControlSpritesByTypeAndState)
{
    screen.screen_area_left = screen.screen_area_bottom = 300.0f;
    // Sheet centre (u, v) and half sizes in texels, colour row, y shift; drawn at (10, 20) at size 2,
    // the lever handles, map and switch-button sprites at their own size.
    const struct { int type, state; float u, v, hw, hh; int colour; float shift; bool unscaled; } rows[] = {
        {7, 5, 143, 59, 15, 15, 0, 0, false},    {456, 0, 15, 59, 15, 15, 0, 0, false},
        {30, 0, 47, 15, 15, 15, 0, 0, false},    {370, 2, 271, 15, 15, 15, 0, 0, false},
        {5, 3, 284, 318, 11, 11, 0, 0, false},   {38, 4, 263, 318, 11, 11, 0, 0, false},
        {38, 1, 200, 318, 11, 11, 0, 0, false},  {396, 4, 284, 318, 11, 11, 0, 0, false},
        {22, 2, 164, 350, 4, 4, 49, 0, false},   {48, 0, 203, 182, 16, 13, 0, 0, true},
        {58, 1, 430, 153, 6, 6, 0, 0, true},     {66, 1, 507, 477, 5, 30, 0, 0, false},
        {131, 3, 90, 125, 4, 10, 0, 0, false},   {156, 5, 487, 465, 15, 15, 0, 0, false},
        {185, 1, 419, 267, 29, 10, 49, 0, true}, {191, 0, 400, 232, 15, 10, 49, 0, true},
        {240, 2, 344, 337, 9, 9, 0, 0, false},   {475, 3, 350, 322, 5, 5, 0, 0, false},
        {260, 0, 336, 180, 15, 9, 0, -3, false}, {260, 1, 336, 192, 15, 4, 51, 10, false},
        {261, 0, 336, 147, 15, 8, 0, 1, false},  {261, 1, 336, 161, 15, 8, 51, 0, false},
        {262, 2, 336, 132, 15, 9, 50, 1, false}, {278, 0, 336, 201, 15, 4, 49, 0, false},
        {444, 0, 144, 201, 15, 4, 49, 0, false}, {437, 1, 112, 229, 13, 10, 49, 0, false},
        {360, 0, 469, 296, 20, 5, 49, 0, false}, {184, 2, 66, 124, 12, 5, 49, 0, false},
        {70, 2, 482, 388, 30, 5, 0, 0, false},   {72, 1, 507, 477, 5, 30, 0, 0, false},
        {237, 3, 9, 226, 8, 4, 49, 0, false},    {474, 12, 209, 274, 15, 3, 49, 0, false},
        // One or two of every other row of the table.
        {2, 0, 47, 59, 15, 15, 0, 0, false},     {16, 1, 431, 59, 15, 15, 0, 0, false},
        {470, 0, 79, 59, 15, 15, 0, 0, false},   {18, 0, 495, 15, 15, 15, 0, 0, false},
        {33, 0, 143, 15, 15, 15, 0, 0, false},   {397, 3, 175, 15, 15, 15, 0, 0, false},
        {369, 1, 239, 15, 15, 15, 0, 0, false},  {411, 0, 367, 15, 15, 15, 0, 0, false},
        {459, 0, 495, 15, 15, 15, 0, 0, false},  {26, 1, 263, 318, 11, 11, 0, 0, false},
        {28, 2, 221, 318, 11, 11, 0, 0, false},  {439, 1, 221, 318, 11, 11, 0, 0, false},
        {422, 1, 263, 318, 11, 11, 0, 0, false}, {393, 2, 263, 318, 11, 11, 0, 0, false},
        {393, 0, 200, 318, 11, 11, 0, 0, false}, {394, 4, 242, 318, 11, 11, 0, 0, false},
        {398, 3, 263, 318, 11, 11, 0, 0, false}, {395, 0, 200, 318, 11, 11, 0, 0, false},
        {19, 0, 470, 226, 22, 5, 0, 0, false},   {20, 0, 145, 338, 15, 30, 0, 0, false},
        {21, 0, 149, 441, 19, 72, 0, 0, false},  {23, 1, 164, 342, 4, 4, 49, 0, false},
        {457, 0, 164, 364, 4, 4, 49, 0, false},  {35, 2, 38, 205, 8, 8, 0, 0, false},
        {53, 0, 299, 218, 16, 16, 0, 0, true},   {61, 0, 363, 182, 16, 13, 0, 0, true},
        {57, 0, 363, 218, 16, 16, 0, 0, true},   {63, 0, 395, 182, 15, 13, 0, 0, true},
        {458, 0, 395, 218, 15, 16, 0, 0, false}, {65, 0, 180, 226, 5, 4, 0, 0, true},
        {73, 0, 180, 220, 5, 4, 0, 0, false},    {69, 0, 180, 213, 5, 4, 0, 0, false},
        {68, 1, 482, 378, 30, 5, 0, 0, false},   {103, 0, 15, 81, 7, 7, 0, 0, false},
        {132, 4, 85, 111, 8, 4, 0, 0, false},    {131, 0, 69, 123, 6, 5, 0, 0, false},
        {154, 0, 401, 323, 15, 15, 0, 0, false}, {155, 2, 487, 433, 15, 15, 0, 0, false},
        {173, 0, 464, 357, 44, 6, 49, 0, false}, {174, 0, 502, 307, 6, 44, 49, 0, false},
        {176, 2, 81, 112, 14, 6, 0, 0, false},   {177, 1, 48, 101, 14, 6, 0, 0, false},
        {184, 1, 39, 124, 12, 5, 49, 0, false},
        {373, 1, 419, 267, 29, 10, 49, 0, true}, {191, 1, 419, 267, 29, 10, 49, 0, true},
        {192, 0, 400, 232, 15, 10, 49, 0, false}, {208, 0, 337, 266, 15, 11, 49, 0, false},
        {211, 1, 177, 238, 15, 8, 49, 0, false}, {212, 2, 209, 217, 15, 8, 49, 0, false},
        {214, 2, 435, 214, 9, 6, 49, 0, false},  {231, 2, 209, 265, 15, 8, 0, 0, false},
        {232, 1, 176, 292, 15, 8, 49, 0, false}, {233, 1, 305, 292, 15, 8, 49, 0, false},
        {234, 2, 369, 263, 15, 4, 49, 0, false}, {235, 0, 436, 233, 10, 8, 0, 0, false},
        {454, 2, 9, 234, 8, 4, 49, 0, false},    {238, 1, 29, 242, 8, 4, 49, 0, false},
        {239, 1, 257, 338, 8, 8, 0, 0, false},   {241, 2, 208, 338, 8, 8, 0, 0, false},
        {339, 0, 461, 214, 12, 7, 49, 0, false}, {355, 0, 469, 346, 20, 5, 49, 0, false},
        {366, 0, 469, 236, 20, 5, 49, 0, false}, {367, 0, 399, 355, 20, 5, 49, 0, false},
        {376, 0, 399, 365, 20, 5, 49, 0, false}, {386, 0, 399, 375, 20, 5, 49, 0, false},
        {266, 0, 208, 180, 15, 9, 0, -3, false}, {443, 2, 144, 132, 15, 9, 50, 1, false},
        {400, 1, 496, 161, 15, 8, 51, 0, false}, {402, 0, 496, 201, 15, 4, 49, 0, false},
        {242, 1, 112, 192, 15, 4, 51, 10, false}, {280, 0, 208, 201, 15, 4, 49, 0, false},
        {276, 0, 272, 201, 15, 4, 49, 0, false}, {254, 2, 272, 192, 15, 4, 50, 10, false},
    };
    for (const auto& r : rows) {
        const auto q = rects_of(in_slot(r.type, 2.0f, [&r] { PANEL_draw_control(10.0f, 20.0f, r.state); }));
        ASSERT_EQ(q.size(), 1u) << r.type << " state " << r.state;
        const float size = r.unscaled ? 1.0f : 2.0f;
        EXPECT_NEAR((q[0].tx1 + q[0].tx2) * 0.5f, r.u, 1e-3f) << r.type << " state " << r.state;
        EXPECT_NEAR((q[0].ty1 + q[0].ty2) * 0.5f, r.v, 1e-3f) << r.type << " state " << r.state;
        EXPECT_NEAR(q[0].tx2 - q[0].tx1, 2.0f * r.hw, 1e-3f) << r.type;
        EXPECT_NEAR(q[0].ty2 - q[0].ty1, 2.0f * r.hh, 1e-3f) << r.type;
        EXPECT_NEAR((q[0].x1 + q[0].x2) * 0.5f, 310.0f, 1e-3f) << r.type;
        EXPECT_NEAR((q[0].y1 + q[0].y2) * 0.5f, 320.0f + r.shift, 1e-3f) << r.type << " state " << r.state;
        EXPECT_NEAR(q[0].x2 - q[0].x1, 2.0f * r.hw * size, 1e-3f) << r.type;
        if (r.colour != 0) {
            EXPECT_NEAR(q[0].g, colour_table[r.colour][1], 1e-3f) << r.type;
        }
    }
    // Past their listed states, and for a type without a row, nothing.
    const std::pair<int, int> empty[] = {{58, 2}, {185, 0}, {131, 5}, {236, 0}, {300, 0}};
    for (const auto& [type, state] : empty)
        EXPECT_TRUE(in_slot(type, 1.0f, [state] { PANEL_draw_control(10.0f, 20.0f, state); }).empty()) << type;
}

TEST_F(PanelTest, DrumsTapesAndSprites)
{
    panel_ins_scale = 1.0f;
    screen.screen_area_left = screen.screen_area_bottom = 300.0f;   // every quad inside the window
    const auto drums = sorted_by_x(capture_rects([] { PANEL_draw_drum_counter(0, 0, 19.5f, 3); }));
    ASSERT_EQ(drums.size(), 3u);
    const float centres[3] = {271.0f, 284.5f, 356.5f};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR((drums[k].ty1 + drums[k].ty2) * 0.5f, centres[k], 1e-3f);
    EXPECT_EQ(capture_rects([] { PANEL_draw_drum_counter(10, 0, -5.0f, 2); }).size(), 3u);   // with the minus sign

    const auto vertical = capture_rects([] { PANEL_draw_tape(0, -1, 20, 9, 300, 50, -999, 1500, 500, 1, 0.2f, 2, 0, 110); });
    EXPECT_TRUE(has(words(110, vertical), "1.5k"));
    // The point stands 3 right of the number's start and 1 below its baseline.
    for (const fb_rect& one : vertical) {
        if (glyph_of(110, one) != '1') continue;
        int points = 0;
        for (const fb_rect& dot : vertical)
            if (glyph_of(110, dot) == '.' && std::fabs(dot.x1 - one.x1 - 3.0f) < 0.01f && std::fabs(dot.y1 - one.y1) < 3.0f) {
                ++points;
                EXPECT_NEAR(dot.y1 - one.y1, -1.0f, 0.01f);
            }
        EXPECT_EQ(points, 1);
    }
    const auto big = capture_rects([] { PANEL_draw_tape(0, -1, 20, 9, 300, 50, -999, 12000, 1000, 1, 0.05f, 2, 0, 110); });
    EXPECT_TRUE(has(words(110, big), "12k"));
    const auto across = capture_rects([] { PANEL_draw_tape(0, -1, 20, 300, 300, 40, -999, 365, 10, 10, 2.0f, 0, 0, 110); });
    const auto labels = words(110, across);
    EXPECT_TRUE(has(labels, "010"));
    EXPECT_TRUE(has(labels, "360"));
    // A step that is not positive draws no marks at all.
    EXPECT_TRUE(capture_rects([] { PANEL_draw_tape(0, -1, 20, 9, 300, 50, -999, 10, 0, 1, 1, 2, 0, 110); }).empty());

    // A radio head in state 12: the lit strip of the first sheet.
    binds.slots.clear();
    const auto head = rects_of(in_slot(231, 1.0f, [] { PANEL_draw_control(0, 0, 12); }));
    ASSERT_EQ(head.size(), 1u);
    EXPECT_NEAR((head[0].tx1 + head[0].tx2) * 0.5f, 209.0f, 1e-3f);
    EXPECT_NEAR((head[0].ty1 + head[0].ty2) * 0.5f, 274.0f, 1e-3f);
    EXPECT_NEAR(head[0].tx2 - head[0].tx1, 30.0f, 1e-3f);
    EXPECT_NEAR(head[0].ty2 - head[0].ty1, 6.0f, 1e-3f);
    EXPECT_NEAR(head[0].r, colour_table[49][0], 1e-3f);
    ASSERT_FALSE(binds.slots.empty());
    EXPECT_EQ(binds.slots.back(), (std::pair<int, int>{TEX_SLOT_PANEL_FONT, 0}));
    // Lever handles keep their size at any scale; other sprites grow with it.
    const auto lever = rects_of(in_slot(47, 2.0f, [] { PANEL_draw_control(0, 0, 0); }));
    ASSERT_EQ(lever.size(), 1u);
    EXPECT_NEAR(lever[0].x2 - lever[0].x1, 32.0f, 1e-3f);
    EXPECT_NEAR(rects_of(in_slot(339, 2.0f, [] { PANEL_draw_control(0, 0, 0); }))[0].x2 -
                    rects_of(in_slot(339, 2.0f, [] { PANEL_draw_control(0, 0, 0); }))[0].x1,
                48.0f, 1e-3f);
    // A type without a sprite, or a state its rule leaves out, draws nothing.
    EXPECT_TRUE(capture_rects([] { panel_ins_type = 500; PANEL_draw_control(0, 0, 0); }).empty());
    EXPECT_TRUE(rects_of(in_slot(437, 1.0f, [] { PANEL_draw_control(0, 0, 3); })).empty());
}

// The pass's own small instruments: the g meter's needle at g x 17 - 90
// degrees, the suction needle at vacuum x 225 - 180, the airspeed trend's
// line 4 units per knot a second (held within 62) with its tick; and both
// master lights re-armed once the running time is past the timeout by more
// than a second.
TEST_F(PanelTest, GMeterSuctionAirspeedTrendAndTheMasterLights)
{
    power();
    const struct { int type, style; float* input; float value, angle; } dials[] = {
        {329, 65, &flt[0].g_nrml, 1.0f, -73.0f}, {329, 65, &flt[0].g_nrml, 3.0f, -39.0f},
        {338, 58, &flt[0].vacuum, 0.8f, 0.0f},   {338, 58, &flt[0].vacuum, 1.0f, 45.0f},
    };
    for (const auto& d : dials) {
        slot(0, d.type, 400.0f, 300.0f);
        *d.input = d.value;
        const auto n = needles(capture_feedback(PANEL_update), d.style);
        ASSERT_EQ(n.size(), 1u) << d.type;
        EXPECT_LT(angle_gap(n[0].angle_deg, d.angle), 0.05f) << d.type << " at " << d.value;
    }

    slot(0, 445, 400.0f, 300.0f);
    sim_operation_misc.frame_rate_period = 0.05f;
    auto tick_y = [] {
        for (const fb_prim& p : capture_feedback(PANEL_update))
            if (p.token != GL_POLYGON_TOKEN && p.v.size() == 2 && std::fabs(std::fabs(p.v[1].x - p.v[0].x) - 8.0f) < 0.01f)
                return p.v[0].y - 300.0f;
        return 1e9f;
    };
    const struct { float ias, length; } trend[] = {{100.0f, 0.0f}, {100.5f, 40.0f}, {99.5f, -62.0f}, {99.0f, -40.0f}};
    for (const auto& t : trend) {
        flt[0].indicated_airspeed = t.ias;
        EXPECT_NEAR(tick_y(), t.length, 0.6f) << t.ias;   // lines stand on pixel centres
    }

    // The tail number in colour row 10.
    std::strcpy(pln[0].acf_tailnum, "N12");
    slot(0, 0, 400.0f, 300.0f);
    OGL_set_color(10, 0.25f, 0.5f, 0.75f);
    int letters = 0;
    for (const fb_rect& r : capture_rects(PANEL_update))
        if (glyph_of(100, r) != 0) {
            ++letters;
            EXPECT_NEAR(r.b, 0.75f, 0.01f);
        }
    EXPECT_EQ(letters, 3);
    OGL_fill_default_colors();

    slot(0, -1, 0.0f, 0.0f);
    sim_cockpit_warnings.master_caution_timeout = 10.0f;
    sim_cockpit_warnings.master_caution_on = sim_cockpit_warnings.master_accept_on = 0;
    sim_time.total_running_time_sec = 11.0f;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.master_caution_on, 0);
    EXPECT_EQ(sim_cockpit_warnings.master_accept_on, 0);
    sim_time.total_running_time_sec = 11.01f;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.master_caution_on, 1);
    EXPECT_EQ(sim_cockpit_warnings.master_accept_on, 1);
}

// Engine dials: torque numbers read percent (divisor 1); the tachometer's
// red line spans 0.1 rad either side of the redline (at 90 degrees when the
// dial runs to 1.2 x redline over -135..135) between radii 16 and 22; a bar
// gauge runs from -48 to 33 on the panel; a geared propeller (type 5) widens
// its dial by the first engine's gear ratio over its own.
TEST_F(PanelTest, EngineDialNumbersRedLineBarEndsAndGearedPropellers)
{
    panel_at(200.0f, 200.0f);
    pln[0].acf_num_engines = 2;
    pln[0].acf_en_type[0] = pln[0].acf_en_type[1] = 0;
    auto numbers = words(117, capture_rects([] { panel_ins_type = 298, panel_ins_scale = 1.0f; update_eng_asi(298, 0, 0, 0, 0); }));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::string>{"0", "100", "20", "40", "60", "80"}));

    // The generated airspeed scale runs from Vso - 20 to Vne + 20, each to the
    // nearest 10: Vso 63 and Vne 157 kt give 40..180.
    pln[0].acf_asi_kts = 1, pln[0].acf_vectEQ = 0;
    pln[0].acf_Vso = 63.0f, pln[0].acf_Vne = 157.0f;
    auto speeds = words(116, capture_rects([] { panel_ins_type = 80, panel_ins_scale = 1.0f; update_eng_asi(80, 0, 0, 0, 0); }));
    std::vector<int> knots;
    for (const auto& w : speeds) knots.push_back(std::stoi(w));
    std::sort(knots.begin(), knots.end());
    EXPECT_EQ(knots, (std::vector<int>{40, 60, 80, 100, 120, 140, 160, 180}));

    pln[0].acf_RSC_redline_prp = 200.0f;
    const auto red = in_slot(294, 1.0f, [] { update_eng_asi(294, 0, 0, 0, 0); });
    float lo = 1e9f, hi = -1e9f, r_in = 1e9f, r_out = 0.0f;
    for (const fb_prim& p : red)
        for (const fb_vertex& v : p.v) {
            if (p.token != GL_POLYGON_TOKEN || v.r < 0.99f || v.g > 0.01f || v.b > 0.01f) continue;
            const float dx = v.x - 200.0f, dy = v.y - 200.0f;
            lo = std::min(lo, std::atan2(dx, dy)), hi = std::max(hi, std::atan2(dx, dy));
            r_in = std::min(r_in, std::hypot(dx, dy)), r_out = std::max(r_out, std::hypot(dx, dy));
        }
    EXPECT_NEAR(lo, 1.5707963f - 0.1f, 1e-3f);
    EXPECT_NEAR(hi, 1.5707963f + 0.1f, 1e-3f);
    EXPECT_NEAR(r_in, 16.0f, 0.01f);
    EXPECT_NEAR(r_out, 22.0f, 0.01f);

    pln[0].acf_mpmax = 40.0f;
    for (const auto& [mpr, top] : {std::pair{40.0f, 33.0f}, std::pair{20.0f, -7.5f}}) {
        flt[0].ENGN_MPR[0] = mpr;
        float y1 = 1e9f, y2 = -1e9f;
        for (const fb_rect& r : rects_of(in_slot(310, 1.0f, [] { update_eng_asi(310, 0, 0, 0, 0); })))
            if (std::fabs(r.x1 - 198.0f) < 0.01f && std::fabs(r.x2 - 202.0f) < 0.01f) y1 = r.y1, y2 = r.y2;
        EXPECT_NEAR(std::min(y1, y2), 200.0f + std::min(-48.0f, top), 0.01f) << mpr;
        EXPECT_NEAR(std::max(y1, y2), 200.0f + std::max(-48.0f, top), 0.01f) << mpr;
    }

    // 100 rad/s on a dial to 1.2 x 200 rad/s is -22.5 degrees; geared 1 : 0.5 the dial doubles: -78.75.
    flt[0].POINT_tacrad[1] = 100.0f;
    pln[0].acf_prop_gear_rat[0] = 1.0f, pln[0].acf_prop_gear_rat[1] = 0.5f;
    for (const auto& [prop, angle] : {std::pair{0, -22.5f}, std::pair{5, -78.75f}}) {
        pln[0].acf_prop_type[1] = prop;
        const auto n = needles(in_slot(294, 1.0f, [] { update_eng_asi(294, 0, 0, 1, 0); }), 59);
        ASSERT_EQ(n.size(), 1u) << prop;
        EXPECT_LT(angle_gap(n[0].angle_deg, angle), 0.05f) << prop;
    }
}

// Every needle style's region of the second sheet, pivot share and colour
// row, drawn upright at the origin (300, 300): the quad is ub - ua wide and
// runs from f x length below the pivot to (1 - f) x length above it. Cards
// turn counter-clockwise; the heading strips scroll 0.4 and 1.2 texels a unit.
TEST_F(PanelTest, NeedleStylesCardsAndHeadingStrips)
{
    panel_ins_scale = 1.0f;
    screen.screen_area_left = screen.screen_area_bottom = 300.0f;
    OGL_set_color(0, 1.0f, 1.0f, 1.0f);
    OGL_set_color(49, 0.0f, 1.0f, 0.0f);
    const float T = 1.0f / 3.0f;
    const struct { int style, ua, ub, va, vb; float f; int colour; } styles[] = {
        {6, 88, 99, 0, 98, T, 0}, {7, 101, 110, 0, 98, T, 0}, {8, 112, 121, 0, 98, T, 0}, {9, 123, 132, 0, 98, T, 0},
        {10, 134, 145, 0, 98, T, 0}, {11, 147, 158, 0, 98, T, 0}, {12, 160, 169, 0, 98, T, 0}, {13, 171, 180, 0, 98, T, 0},
        {14, 182, 191, 0, 98, T, 0}, {15, 193, 220, 0, 88, 0.5f, 0}, {16, 193, 204, 90, 133, 0, 0},
        {17, 222, 233, 0, 98, T, 0}, {18, 235, 244, 0, 98, T, 0}, {19, 246, 255, 0, 98, T, 0}, {20, 257, 266, 0, 98, T, 0},
        {21, 367, 373, 84, 135, 0, 49}, {22, 268, 283, 0, 98, 0.5f, 0}, {23, 285, 300, 0, 98, 0.5f, 0},
        {24, 302, 317, 0, 98, 0.5f, 0}, {25, 438, 451, 146, 161, 0.5f, 0}, {27, 453, 466, 146, 161, 0.5f, 0},
        {29, 468, 481, 146, 161, 0.5f, 0}, {31, 483, 496, 146, 161, 0.5f, 0}, {33, 498, 511, 146, 161, 0.5f, 0},
        {26, 438, 451, 129, 144, 0.5f, 49}, {28, 453, 466, 129, 144, 0.5f, 49}, {30, 468, 481, 129, 144, 0.5f, 49},
        {32, 484, 497, 129, 144, 0.5f, 49}, {34, 499, 512, 129, 144, 0.5f, 49}, {35, 381, 438, 0, 121, 0.5f, 0},
        {37, 440, 445, 0, 121, 0.5f, 0}, {36, 447, 504, 0, 121, 0.5f, 49}, {38, 506, 512, 0, 121, 0.5f, 49},
        {39, 410, 420, 169, 241, 0.5f, 0}, {40, 421, 430, 169, 241, 0.5f, 49}, {41, 319, 326, 0, 47, T, 0},
        {42, 328, 335, 0, 47, T, 0}, {43, 337, 343, 0, 47, T, 0}, {44, 175, 183, 187, 196, 0.5f, 49},
        {45, 375, 379, 84, 135, T, 49}, {46, 6, 22, 1, 16, 0.5f, 49}, {47, 6, 22, 19, 34, 0.5f, 49},
        {48, 6, 22, 37, 52, 0.5f, 49}, {49, 6, 22, 55, 70, 0.5f, 49}, {50, 402, 421, 129, 161, 0.5f, 49},
        {51, 381, 400, 129, 161, 0.5f, 49}, {52, 50, 66, 97, 113, 0.5f, 49}, {53, 66, 78, 97, 113, 0.5f, 49},
        {54, 319, 326, 84, 152, 0, 0}, {55, 423, 436, 128, 144, 0.5f, 49}, {56, 175, 183, 199, 208, 0.5f, 49},
        {57, 352, 357, 84, 117, T, 0}, {58, 359, 365, 84, 117, T, 0}, {59, 206, 213, 90, 133, T, 0},
        {60, 213, 220, 90, 133, T, 0}, {61, 344, 350, 84, 135, 0, 0}, {62, 345, 352, 0, 47, 0, 0},
        {63, 354, 360, 0, 47, 0, 0}, {64, 362, 369, 0, 47, 0, 0}, {65, 371, 378, 0, 47, T, 0},
        {66, 431, 450, 177, 233, 0, 0}, {67, 24, 40, 0, 36, 1, 0}, {69, 56, 72, 0, 36, 1, 0}, {68, 40, 56, 0, 36, 0, 0},
        {70, 72, 88, 0, 36, 0, 0}, {71, 24, 40, 44, 80, 1, 0}, {73, 56, 72, 44, 80, 1, 0}, {72, 40, 56, 44, 80, 0, 0},
        {74, 72, 88, 44, 80, 0, 0},
    };
    for (const auto& n : styles) {
        const auto r = capture_rects([&n] { PANEL_draw_needle(0, 0, 0, n.style); });
        ASSERT_EQ(r.size(), 1u) << n.style;
        const float w = float(n.ub - n.ua), len = float(n.vb - n.va);
        EXPECT_NEAR(r[0].x2 - r[0].x1, w, 0.01f) << n.style;
        EXPECT_NEAR(r[0].y1, 300.0f - n.f * len, 0.01f) << n.style;
        EXPECT_NEAR(r[0].y2, 300.0f + (1.0f - n.f) * len, 0.01f) << n.style;
        EXPECT_NEAR(r[0].tx1, n.ua, 0.01f) << n.style;
        EXPECT_NEAR(r[0].ty1, n.va, 0.01f) << n.style;
        EXPECT_NEAR(r[0].ty2, n.vb, 0.01f) << n.style;
        EXPECT_NEAR(r[0].r, n.colour == 49 ? 0.0f : 1.0f, 0.01f) << n.style;
    }
    OGL_fill_default_colors();

    // The card's corner (-50, 50) at texel (1, 375), turned 30 degrees counter-clockwise.
    bool seen = false;
    for (const fb_prim& p : capture_feedback([] { PANEL_draw_rotated_card(30.0f, 50.0f, 0, 0); }))
        for (const fb_vertex& v : p.v)
            if (std::fabs(v.s * 512.0f - 1.0f) < 0.05f && std::fabs(v.t * 512.0f - 375.0f) < 0.05f) {
                seen = true;
                EXPECT_NEAR(v.x, 300.0f - 68.301f, 0.01f);
                EXPECT_NEAR(v.y, 300.0f + 18.301f, 0.01f);
            }
    EXPECT_TRUE(seen);

    // Heading strips at 10: kind 4 centred on u 160 (x -20..20, y -5..5),
    // kind 5 on u 53 (x -40..40, y -11..3), corners half a unit in.
    const struct { int kind; float x1, x2, y1, y2, u1, u2, v1, v2; } strips[] = {
        {4, 280.5f, 320.5f, 295.5f, 305.5f, 140, 180, 231, 241}, {5, 260.5f, 340.5f, 289.5f, 303.5f, 13, 93, 242, 256}};
    for (const auto& s : strips) {
        const int kind = s.kind;
        const auto r = capture_rects([kind] { PANEL_draw_drum_digit(kind, 0, 0, 10.0f); });
        ASSERT_EQ(r.size(), 1u) << s.kind;
        EXPECT_NEAR(r[0].x1, s.x1, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].x2, s.x2, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].y1, s.y1, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].y2, s.y2, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].tx1, s.u1, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].tx2, s.u2, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].ty1, s.v1, 0.01f) << s.kind;
        EXPECT_NEAR(r[0].ty2, s.v2, 0.01f) << s.kind;
    }
}
