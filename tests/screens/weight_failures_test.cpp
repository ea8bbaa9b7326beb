// The weight and fuel screen and the failures screen driven frame by frame:
// the fuel endurance, the fuel and tank sliders and their caps, the
// overweight look, the failure rows of a twin and the clear button, and a
// failure state from outside that no pop-up can name.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "aircraft/acf_struct.h"
#include "core/folders.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/annunciators.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "tests/support/ui_capture.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/test_support.h"

namespace {

class WeightFailures : public ScreenTest {
protected:
    void arrange() override
    {
        pln[0] = acf_struct{};
        flt[0] = flt_struct{};
        acf_struct& a = pln[0];
        a.acf_m_empty = 600.0f;
        a.acf_m_max = 2000.0f;   // sliders run to 3000 kg
        a.acf_m_fuel_tot = 1000.0f;
        a.acf_num_tanks = 3;
        a.acf_tank_rat[0] = 0.5f, a.acf_tank_rat[1] = 0.3f, a.acf_tank_rat[2] = 0.2f;
        text(93, "Working-Random-Timed-Speed-Altitude-Key-Failed");
    }
    // The slider x (x 145, 312 long) of a mass on the 0..3000 kg sliders.
    static float slider_x(float kg) { return 145.0f + kg / 3000.0f * 312.0f; }
};

// The fill colour of the bar gauge of the slider on row y.
fb_rect gauge_at(float y)
{
    fb_rect found{};
    for (const fb_rect& r : capture_rects(SETUP_weight_fuel))
        if (std::fabs(r.y1 - (y - 3.0f)) < 0.5f && std::fabs(r.y2 - (y + 13.0f)) < 0.5f && r.x1 > 160.0f &&
            r.x2 - r.x1 < 2.5f)
            found = r;
    return found;
}

}  // namespace

TEST_F(WeightFailures, FuelEnduranceFromTheEnginesFullFlow)
{
    flt[0].m_fuel1 = 945.0f;
    EXPECT_FLOAT_EQ(ENGN_fuel_endurance(), 999.9f);   // no engines
    pln[0].acf_num_engines = 1;
    pln[0].acf_en_type[0] = 3;                           // electric: burns nothing
    EXPECT_FLOAT_EQ(ENGN_fuel_endurance(), 999.9f);
    pln[0].acf_en_type[0] = 4;                           // a jet at 0.1 kg/s full flow
    pln[0].acf_SFC[0] = 0.0001f;
    pln[0].acf_tmax = 1000.0f;
    EXPECT_NEAR(ENGN_fuel_endurance(), 10.0f, 1e-3f);
    pln[0].acf_num_engines = 99;                         // held to the eight engines
    EXPECT_GT(ENGN_fuel_endurance(), 0.0f);
}

// Each engine family burns its own share of its full flow: turbines and
// rockets the whole of it, jets 0.35 x 0.75, piston and other engines 0.65.
// With every full flow 0.1 kg/s: 945 kg lasts 945 / 360, 945 / 94.5 or
// 945 / 234 hours; a jet and a turbine together 945 / 454.5.
TEST_F(WeightFailures, FuelEnduranceShareOfEachEngineFamily)
{
    flt[0].m_fuel1 = 500.0f, flt[0].m_fuel2 = 400.0f, flt[0].m_fuel3 = 45.0f;
    acf_struct& a = pln[0];
    a.acf_SFC[0] = a.acf_SFC[1] = 0.0001f;
    a.acf_tmax = a.acf_pmax = a.acf_fmax_opt = 1000.0f;
    struct row {
        int engines, type0, type1;
        float hours;
    };
    const row rows[] = {{1, 6, 0, 2.625f},   {1, 7, 0, 2.625f},   {1, 4, 0, 10.0f},   {1, 5, 0, 10.0f},
                        {1, 0, 0, 4.03846f}, {1, 1, 0, 4.03846f}, {1, 2, 0, 4.03846f}, {1, 8, 0, 4.03846f},
                        {2, 4, 6, 2.07921f}};
    for (const row& r : rows) {
        a.acf_num_engines = r.engines;
        a.acf_en_type[0] = r.type0, a.acf_en_type[1] = r.type1;
        EXPECT_NEAR(ENGN_fuel_endurance(), r.hours, 1e-3f) << r.type0 << " " << r.type1;
    }
    // Without JATO the burn time left is half the burn duration; with it, the
    // time left is held to the duration.
    a.acf_jato_dur = 20.0f;
    flt[0].jato_left = 3.0f;
    SETUP_weight_fuel();
    EXPECT_FLOAT_EQ(flt[0].jato_left, 10.0f);
    a.acf_jato_thrust = 9798.2788f, a.acf_jato_sfc = 3.6f;   // 1 kg a second
    flt[0].jato_left = 30.0f;
    SETUP_weight_fuel();
    EXPECT_NEAR(flt[0].jato_left, 20.0f, 1e-3f);
    SETUP_weight_fuel();   // the total counts the JATO fuel left: 20 kg
    // The tanks hold 500, 300 (held to its share) and 45 kg.
    EXPECT_NEAR(flt[0].m_total, 600.0f + 845.0f + 20.0f, 0.1f);
}

// The total counts the station and weapon masses of a named slot holding a
// weapon still aboard (slot 0: 10 + 100 kg), not of a slot without a weapon,
// without a name or whose weapon is gone; the jettisonable load is held to
// its 300 kg once the frame has counted it. 600 + 50 + 500 + 110 = 1260,
// then 600 + 50 + 300 + 110 = 1060.
TEST_F(WeightFailures, TheTotalCountsWeaponsAboardAndTheHeldJettisonableLoad)
{
    acf_struct& a = pln[0];
    const struct {
        const char* name;
        int type, released;
        float fixed, mass;
    } slots[] = {{"a.wpn", 5, 0, 10.0f, 100.0f}, {"b.wpn", 0, 0, 20.0f, 200.0f}, {"", 5, 0, 40.0f, 400.0f},
                 {"d.wpn", 5, 1, 80.0f, 800.0f}};
    for (int s = 0; s < 4; ++s) {
        std::strcpy(a.wpn_name + size_t(s) * TEXT_SIZE, slots[s].name);
        wpn_slot_record& w = a.acf_wpn_slot[s];
        w.wpn_type = slots[s].type, w.wpn_valid = 1, w.wpn_released = slots[s].released;
        w.wpn_fixed_mass = slots[s].fixed, w.wpn_mass = slots[s].mass;
    }
    a.acf_m_jettison = 300.0f;
    flt[0].m_fixed = 50.0f;
    flt[0].m_jettison = 500.0f;
    SETUP_weight_fuel();
    EXPECT_FLOAT_EQ(flt[0].m_total, 1260.0f);
    EXPECT_FLOAT_EQ(flt[0].m_jettison, 300.0f);
    SETUP_weight_fuel();
    EXPECT_FLOAT_EQ(flt[0].m_total, 1060.0f);
}

// The weapons tab: slot s's row is 25 lower for each pair, odd slots on the
// right half (451 in); its unload button sits 72 in and 303 up.
TEST_F(WeightFailures, UnloadingAWeaponKeepsItsNameAndAnUnnamedSlotHasNoRow)
{
    acf_struct& a = pln[0];
    std::strcpy(a.wpn_name + 3 * size_t(TEXT_SIZE), "d.wpn");
    a.acf_wpn_slot[2].wpn_type = a.acf_wpn_slot[3].wpn_type = 5;   // slot 2 has no name
    weight_screen.weight_tab = 1;
    weight_screen.weapon_preview_slot = 1;
    click(SETUP_weight_fuel, 72.0f, 278.0f);   // where slot 2's button would be
    EXPECT_EQ(a.acf_wpn_slot[2].wpn_type, 5);
    click(SETUP_weight_fuel, 451.0f + 72.0f, 278.0f);
    EXPECT_EQ(a.acf_wpn_slot[3].wpn_type, 0);
    EXPECT_STREQ(a.wpn_name + 3 * size_t(TEXT_SIZE), "d.wpn");
    // Its file browser (the icon 17 left of the name field at 159 in, 299
    // up) cancelled: the slot stays unloaded and out of the preview.
    click(SETUP_weight_fuel, 451.0f + 159.0f - 17.0f, 274.0f + 3.0f);
    EXPECT_EQ(a.acf_wpn_slot[3].wpn_type, 0);
    EXPECT_EQ(weight_screen.weapon_preview_slot, 1);
    weight_screen.weight_tab = 0;
}

TEST_F(WeightFailures, FuelSplitsByTheTanksAndEachTankKeepsItsCap)
{
    drag(SETUP_weight_fuel, slider_x(600.0f), 410.0f);
    EXPECT_NEAR(flt[0].m_fuel1, 300.0f, 2.0f);
    EXPECT_NEAR(flt[0].m_fuel2, 180.0f, 2.0f);
    EXPECT_NEAR(flt[0].m_fuel3, 120.0f, 2.0f);

    // A tank slider moves that tank only.
    drag(SETUP_weight_fuel, slider_x(400.0f), 360.0f);
    EXPECT_NEAR(flt[0].m_fuel1, 400.0f, 2.0f);
    EXPECT_NEAR(flt[0].m_fuel2, 180.0f, 2.0f);
    drag(SETUP_weight_fuel, slider_x(100.0f), 310.0f);   // tank 2, 50 lower
    EXPECT_NEAR(flt[0].m_fuel2, 100.0f, 2.0f);
    drag(SETUP_weight_fuel, slider_x(150.0f), 260.0f);   // tank 3
    EXPECT_NEAR(flt[0].m_fuel3, 150.0f, 2.0f);
    EXPECT_NEAR(flt[0].m_fuel1, 400.0f, 2.0f);

    // A tank over its share is cut in the same frame, shown or not.
    pln[0].acf_num_tanks = 1;
    flt[0].m_fuel3 = 500.0f;
    SETUP_weight_fuel();
    EXPECT_EQ(flt[0].m_fuel3, 200.0f);
    EXPECT_NEAR(flt[0].m_fuel1, 400.0f, 2.0f);
}

TEST_F(WeightFailures, OverweightShowsTheTotalAndMaximumInTheWarningLook)
{
    // Empty 600 + payload 1400 = 2000 = the maximum: the payload's look.
    flt[0].m_fixed = 1400.0f;
    const fb_rect payload = gauge_at(460.0f);
    const fb_rect equal_total = gauge_at(110.0f);
    ASSERT_GT(payload.x2, 0.0f);
    EXPECT_EQ(equal_total.r, payload.r);
    EXPECT_EQ(equal_total.g, payload.g);
    EXPECT_EQ(equal_total.b, payload.b);

    flt[0].m_fixed = 1401.0f;
    SETUP_weight_fuel();
    EXPECT_FLOAT_EQ(flt[0].m_total, 2001.0f);
    const fb_rect over_total = gauge_at(110.0f), over_max = gauge_at(60.0f);
    EXPECT_TRUE(over_total.r != payload.r || over_total.g != payload.g || over_total.b != payload.b);
    EXPECT_EQ(over_max.r, over_total.r);
    EXPECT_EQ(over_max.g, over_total.g);
}

TEST_F(WeightFailures, ATwinShowsItsEngineRowsAndClearKeepsTheValues)
{
    pln[0].acf_num_engines = 2;
    small_screens.failures_tab = 3;
    text(334, "EA");
    text(335, "EB");
    text(584, "EC");
    text(338, "ED");
    // Which slot's state each row position edits: answer every possible row's pop-up with "failed".
    std::set<int> shown;
    for (float x : {200.0f, 500.0f, 800.0f})
        for (int row = 0; row < 16; ++row) {
            std::fill(std::begin(flt[0].failures), std::end(flt[0].failures), 0);
            answer_list(SETUP_failures, x, 768.0f - 90.0f - 40.0f * row, 6);
            for (int s = 0; s < 174; ++s)
                if (flt[0].failures[s] == 6) shown.insert(s);
        }
    EXPECT_EQ(shown, (std::set<int>{50, 51, 58, 59, 66, 67, 74, 75}));
    std::multiset<std::string> captions;
    for (const std::string& line : printed(SETUP_failures, 103))
        for (const char* c : {"EA1", "EA2", "EB1", "EB2", "EC1", "EC2", "ED1", "ED2"})   // each engine by number
            if (line.find(c) != std::string::npos) captions.insert(c);
    EXPECT_EQ(captions, (std::multiset<std::string>{"EA1", "EA2", "EB1", "EB2", "EC1", "EC2", "ED1", "ED2"}));

    // Clear all: every state to 0, on every tab, the trigger values kept.
    for (int s = 0; s < 174; ++s) flt[0].failures[s] = 3, flt[0].failure_param[s] = 100.0f + s;
    click(SETUP_failures, 918.0f, 768.0f - 35.0f);
    EXPECT_EQ(std::count(std::begin(flt[0].failures), std::end(flt[0].failures), 0), 174);
    EXPECT_EQ(flt[0].failure_param[90], 190.0f);
    // The landing gear's tyre drag is cleared every frame the screen shows.
    flt[0].tire_drag_dis[70] = 5.0f;
    SETUP_failures();
    EXPECT_EQ(flt[0].tire_drag_dis[70], 0.0f);
}

// The engines tab of a twin with the program's own captions: the row named
// "Engine" fails the engine, which lights no fire or chip lamp; those light
// only for the row whose caption names the engine's fire.
TEST_F(WeightFailures, TheEngineRowLightsNoFireLampTheEngineFireRowDoes)
{
    std::map<int, std::string> own;   // the program's captions of the two engine groups
    std::ifstream file(ORVELL_DATA_FOLDER "Resources/text/english/ORVELL.TXT");
    ASSERT_TRUE(file) << "the built data folder has no English texts";
    for (std::string line; std::getline(file, line);)
        for (const int entry : {334, 335})
            if (line.rfind(std::to_string(entry) + " ", 0) == 0) own[entry] = line.substr(4);
    ASSERT_EQ(own.size(), 2u);
    pln[0].acf_num_engines = 2;
    flt[0].ENGN_mixt[0] = flt[0].ENGN_mixt[1] = 1.0f;
    small_screens.failures_tab = 3;
    int plain_rows = 0;
    for (const int row : {0, 8}) {
        const float y = 768.0f - 90.0f - 40.0f * static_cast<float>(row);
        // Which caption the row carries: each entry marked, the row's text read.
        text(334, "EA");
        text(335, "EB");
        std::vector<fb_rect> glyphs;
        for (const fb_rect& g : capture_rects(SETUP_failures))
            if (glyph_of(103, g) > 32 && std::fabs((g.y1 + g.y2) / 2.0f - y) < 15.0f) glyphs.push_back(g);
        std::string shown;
        for (const std::string& line : text_lines(103, glyphs)) shown += line;
        const int entry = shown.find("EA1") != std::string::npos ? 334 : (shown.find("EB1") != std::string::npos ? 335 : -1);
        ASSERT_NE(entry, -1) << shown;

        std::fill(std::begin(flt[0].failures), std::end(flt[0].failures), 0);
        answer_list(SETUP_failures, 200.0f, y, 6);
        ANNUNCIATORS_update();
        const sim_cockpit_warnings_annunciators_block& lit = sim_cockpit_warnings_annunciators;
        const bool fire = own[entry].find("fire") != std::string::npos;
        EXPECT_EQ(lit.engine_fire & 1, fire ? 1 : 0) << own[entry];
        EXPECT_EQ(lit.chip_detect & 1, fire ? 1 : 0) << own[entry];
        if (!fire) {
            EXPECT_EQ(own[entry], "Engine");
            ++plain_rows;
        }
    }
    EXPECT_EQ(plain_rows, 1);
}

// Where a slot's row stands (tab, column x, row) and its caption entry.
TEST_F(WeightFailures, EachSlotHasItsTabColumnRowAndCaption)
{
    pln[0].acf_num_engines = 8;
    const struct {
        int slot, tab;
        float x;
        int row, caption;
    } rows[] = {
        {9, 1, 500, 0, 980},   {16, 1, 500, 7, 987},   {17, 2, 200, 0, 309},  {41, 2, 500, 9, 333},
        {42, 2, 800, 0, 950},  {49, 2, 800, 7, 957},
        {57, 3, 200, 7, 334},  {105, 4, 200, 7, 336},  {137, 4, 800, 7, 523}, {138, 5, 200, 0, 828},
        {157, 5, 500, 7, 847}, {173, 5, 800, 15, 863},
    };
    for (const auto& r : rows) {
        small_screens.failures_tab = r.tab;
        std::fill(std::begin(flt[0].failures), std::end(flt[0].failures), 0);
        answer_list(SETUP_failures, r.x, 768.0f - 90.0f - 40.0f * r.row, 6);
        EXPECT_EQ(flt[0].failures[r.slot], 6) << r.slot;
        EXPECT_EQ(std::count(std::begin(flt[0].failures), std::end(flt[0].failures), 6), 1) << r.slot;
        text(r.caption, "CAPX");
        EXPECT_TRUE(shows(printed(SETUP_failures, 103), "CAPX")) << r.slot;
        text(r.caption, "");
    }
    small_screens.failures_tab = 0;
}

// The mean time between failures is edited on the first tab only.
TEST_F(WeightFailures, TheMeanTimeFieldIsOnTheFirstTabOnly)
{
    for (const auto& [tab, after] : {std::pair{1, 5.0f}, {0, 6.0f}}) {
        small_screens.failures_tab = tab;
        sim_operation_failures.mean_time_between_failure_hrs = 5.0f;
        click(SETUP_failures, 175.0f + 45.0f, 75.0f);   // the ones digit, upper half
        EXPECT_EQ(sim_operation_failures.mean_time_between_failure_hrs, after) << tab;
    }
}

// Only the four trigger states show a value field, each captioned by its
// own entry (88 + state): random by minutes, timed, airspeed, altitude.
TEST_F(WeightFailures, TheTriggerFieldFollowsTheState)
{
    small_screens.failures_tab = 1;
    const char* captions[4] = {"QA", "QB", "QC", "QD"};
    for (int k = 0; k < 4; ++k) text(89 + k, captions[k]);
    text(88, "QZ");
    text(94, "QY");
    for (int state = 0; state <= 6; ++state) {
        std::fill(std::begin(flt[0].failures), std::end(flt[0].failures), 0);
        flt[0].failures[3] = state;
        std::set<std::string> shown;
        for (int font : {103, 105})
            for (const std::string& line : printed(SETUP_failures, font))
                for (const char* c : {"QA", "QB", "QC", "QD", "QZ", "QY"})
                    if (line.find(c) != std::string::npos) shown.insert(c);
        const std::set<std::string> expected =
            state >= 1 && state <= 4 ? std::set<std::string>{captions[state - 1]} : std::set<std::string>{};
        EXPECT_EQ(shown, expected) << state;
    }
}

TEST_F(WeightFailures, AStateFromOutsideIsShownAsWorkingAndKept)
{
    temp_folder tmp;
    const std::string log = tmp.prefix() + "ERROR.OUT";
    error_log.close();
    error_log.open(log);
    small_screens.failures_tab = 1;
    flt[0].failures[3] = 9;   // written by a plug-in
    SETUP_failures();
    SETUP_failures();
    EXPECT_EQ(flt[0].failures[3], 9);   // not clamped by the pop-up
    EXPECT_TRUE(recorded_alerts.empty());
    // Choosing a state stores it.
    answer_list(SETUP_failures, 200.0f, 768.0f - 90.0f - 40.0f * 3, 2);
    EXPECT_EQ(flt[0].failures[3], 2);
    error_log.close();
    const std::string bytes = read_file_bytes(log);
    size_t count = 0;
    for (size_t p = bytes.find("util_set_fail_sit"); p != std::string::npos; p = bytes.find("util_set_fail_sit", p + 1))
        ++count;
    EXPECT_EQ(count, 1u);
}

// The weapons tab's preview, once settled on its targets, picks a new one:
// either a quarter roll (±90°) or a half turn of heading (±180°), never both.
TEST_F(WeightFailures, ThePreviewTurnsAQuarterRollOrAHalfTurnOfHeading)
{
    weight_screen.weight_tab = 1;
    bool rolled = false, turned_round = false;
    for (int k = 0; k < 40; ++k) {
        weight_screen_state& p = weight_screen;
        p.heading = p.heading_target = 90.0f;
        p.roll = p.roll_target = 0.0f;
        p.next_change_time = 0.0f;
        SETUP_weight_fuel();
        const bool roll_moved = std::fabs(std::fabs(p.roll_target) - 90.0f) < 1e-3f;
        const bool heading_moved = std::fabs(p.heading_target - 270.0f) < 1e-3f;
        EXPECT_NE(roll_moved, heading_moved) << "roll " << p.roll_target << " heading " << p.heading_target;
        EXPECT_TRUE(roll_moved || p.roll_target == 0.0f) << p.roll_target;
        rolled = rolled || roll_moved;
        turned_round = turned_round || heading_moved;
    }
    EXPECT_TRUE(rolled);
    EXPECT_TRUE(turned_round);
    weight_screen.weight_tab = 0;
}
