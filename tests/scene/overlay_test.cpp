// The 2-D overlay drawn whole over a cleared frame and read back: the glare
// wash, the three-way box under the replay bar, the start prompts, the replay
// bar's clicks and datagrams, the checklist.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "aircraft/launch_flags.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/overlay_texts.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/ui_text.h"
#include "links/speech.h"
#include "scene/effects/overlay.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/net_peer.h"
#include "world/atc.h"

namespace {

class Overlay : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        sun_glare = 0.0f;
        atc_state.atc_window_open = 0;
        mouse = {};
        checklist_count = checklist_current = checklist_shown = checklist_loaded = notes_shown = notes_loaded = 0;
        chat_typing = 0;
        speech_text_until = 0.0f;
        frame_clock = 100.0f;
        flt[0].parkbrake = 1.0f;
        std::snprintf(ui_text_table[565], TEXT_SIZE, "Release the parking brake to launch");
        std::snprintf(speech_text, TEXT_SIZE, "Cleared to land");
        sim_joystick.has_joystick = 1;   // no control marker unless a test asks
    }

    // One overlay over a black frame; the frame read back as RGBA rows.
    std::vector<unsigned char> frame()
    {
        glClearColor(clear_grey, clear_grey, clear_grey, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        SCENE_draw_overlay();
        mouse.mouse_down = 0;
        std::vector<unsigned char> px(1024 * 768 * 4);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    float clear_grey = 0.5f;
    static int red_at(const std::vector<unsigned char>& px, int x, int y) { return px[(y * 1024 + x) * 4]; }

    static void click(float x, float y)
    {
        mouse.mouse_x = x;
        mouse.mouse_y = y;
        mouse.mouse_down = 1;
    }
};

TEST_F(Overlay, GlareWashesBlackToThreeQuartersWhiteAndLoadingEnds)
{
    clear_grey = 0.0f;
    redraw_pending = 1;
    EXPECT_EQ(red_at(frame(), 300, 100), 0);
    EXPECT_EQ(redraw_pending, 0);
    sun_glare = 1.0f;
    const std::vector<unsigned char> px = frame();
    for (const auto& p : {std::pair{0, 0}, std::pair{1023, 767}, std::pair{300, 100}})
        EXPECT_NEAR(red_at(px, p.first, p.second), 191, 1);
}

TEST_F(Overlay, TheAtcWindowHidesThePhraseBoxAndTheDataRows)
{
    atc_state.atc_window_open = 1;
    const std::vector<unsigned char> atc_only = frame();
    sim_operation_prefs.text_out = 1;
    speech_text_until = frame_clock + 5.0f;
    for (int i = 0; i < 6; ++i) sim_network_dataout.data_to_screen[i] = 1;
    EXPECT_EQ(frame(), atc_only);

    // Closed: the phrase box shows instead, and with it no data rows.
    atc_state.atc_window_open = 0;
    const std::vector<unsigned char> phrase = frame();
    EXPECT_NE(phrase, atc_only);
    for (int i = 0; i < 6; ++i) sim_network_dataout.data_to_screen[i] = 0;
    EXPECT_EQ(frame(), phrase);
}

// A click inside the ATC box (2..1022 across, 453..748 up) goes to its menu;
// the bottom rows hold no request, so a click there closes the window.
TEST_F(Overlay, AClickInsideTheAtcBoxGoesToItsMenu)
{
    const struct {
        float x, y;
        int open_after;
    } clicks[] = {{500.0f, 453.0f, 0}, {500.0f, 452.9f, 1}, {2.0f, 460.0f, 0},
                  {1.9f, 460.0f, 1},   {1022.0f, 460.0f, 0}, {1022.1f, 460.0f, 1}};
    for (const auto& c : clicks) {
        atc_state.atc_window_open = 1;
        atc_state.atc_page = 0;
        mouse.mouse_x = c.x, mouse.mouse_y = c.y;
        mouse.mouse_down = 1;
        frame();
        EXPECT_EQ(atc_state.atc_window_open, c.open_after) << c.x << ", " << c.y;
    }
}

// A program started again in the same process shows no phrase box for the
// text the last one spoke, whose deadline lies in the new program's future.
TEST_F(Overlay, TheSpokenTextIsGoneAfterEveryModuleIsReset)
{
    sim_operation_prefs.text_out = 1;
    auto box_red = [&] { return red_at(frame(), 1015, 665); };
    const int grey = box_red();
    SOUND_speak("Cleared to land", 1);
    EXPECT_LT(box_red(), grey - 50);
    RESET_all();
    sim_operation_prefs.text_out = 1;
    EXPECT_EQ(box_red(), grey);
}

// The catapult's prompt shows while the plane is held on it, and only then.
TEST_F(Overlay, TheCatapultPromptShowsWhileThePlaneIsHeld)
{
    const std::vector<unsigned char> plain = frame();
    launch_flags.catapult_hold = 1;
    EXPECT_NE(frame(), plain);
    launch_flags.catapult_hold = 0;
    launch_flags.catapult_fired = 1;
    EXPECT_EQ(frame(), plain);
}

// The pause notice stands at y 570 on its shade, which reaches from 2 below
// the text's line to 8 above it: pixel rows 568 to 577 change, no others.
TEST_F(Overlay, ThePauseNoticeSitsAt570)
{
    std::snprintf(ui_text_table[571], TEXT_SIZE, "Paused");
    const std::vector<unsigned char> plain = frame();
    sim_time.paused = 1;
    const std::vector<unsigned char> paused = frame();
    sim_time.paused = 0;
    int lo = 768, hi = -1;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            if (red_at(paused, x, y) != red_at(plain, x, y)) lo = std::min(lo, y), hi = std::max(hi, y);
    EXPECT_EQ(lo, 568);
    EXPECT_EQ(hi, 577);
}

TEST_F(Overlay, ReplayButtonsSetTheModeAndSendTheirCommandOnSlotNine)
{
    net_peer_attach();
    net_slot_enabled[9] = 1;
    net_slot_valid[9] = 1;
    sim_operation_prefs.replay_mode = 1;

    click(553.0f, 740.0f);
    frame();
    EXPECT_EQ(sim_operation_prefs.replay_mode, 7);
    net_peer_deliver(0);
    ASSERT_EQ(net_peer_log().size(), 1u);
    const std::vector<uint8_t>& d = net_peer_log()[0].bytes;
    const char want[] = "KSTM\0" "0str_rep_rf     ";
    ASSERT_EQ(d.size(), 21u);
    EXPECT_EQ(std::memcmp(d.data(), want, 21), 0);
    EXPECT_EQ(net_peer_log()[0].slot, 9);

    // The edge of a hit box counts; buttons 1 and 9, or slot 9 off, send nothing.
    net_peer_clear();
    const struct {
        float x, y;
        int enabled, mode;
    } rows[] = {{418.0f, 750.0f, 1, 1}, {606.0f, 730.0f, 1, 9}, {566.0f, 740.0f, 0, 8}, {412.0f, 740.0f, 1, 8},
                // the edges of the buttons at 448, 471, 489, 512, 535 and 553 that no neighbour's box reaches
                {458.0f, 740.0f, 0, 2}, {461.0f, 740.0f, 0, 3}, {499.0f, 740.0f, 0, 4}, {502.0f, 740.0f, 0, 5},
                {522.0f, 740.0f, 0, 5}, {525.0f, 740.0f, 0, 6}, {563.0f, 740.0f, 0, 7},
                {544.0f, 740.0f, 0, 7}};   // in the boxes of 535 and 553 both: the later button's
    for (const auto& r : rows) {
        net_slot_enabled[9] = r.enabled;
        click(r.x, r.y);
        frame();
        EXPECT_EQ(sim_operation_prefs.replay_mode, r.mode) << r.x;
        net_peer_deliver(0);
        EXPECT_TRUE(net_peer_log().empty()) << r.x;
    }
    net_slot_enabled[9] = 0;
}

TEST_F(Overlay, TheChecklistStepsWithinItsLinesAndShowsAnEmptyLinePastTheLast)
{
    checklist_shown = checklist_loaded = 1;
    checklist_count = CHECKLIST_LINES;
    for (int k = 0; k < CHECKLIST_LINES; ++k)
        std::snprintf(checklist_lines[k], CHECKLIST_LINE_SIZE, "%0149d", k);   // no room for a terminator but the last
    click(213.0f, 613.0f);
    frame();
    EXPECT_EQ(checklist_current, 0);
    checklist_current = CHECKLIST_LINES - 1;
    click(224.0f, 613.0f);
    frame();
    EXPECT_EQ(checklist_current, CHECKLIST_LINES);
    click(229.0f, 618.0f);
    frame();   // the line past the last reads nothing beyond the list
    EXPECT_EQ(checklist_current, CHECKLIST_LINES);
}

TEST_F(Overlay, TheControlMarkerFollowsTheYokeOnlyWithoutAJoystickAndTheTextPageNeedsAFile)
{
    clear_grey = 0.0f;
    pln[0].acf_HUD_cntrx = 512.0f;
    pln[0].acf_HUD_cntry = 384.0f;
    sim_joystick.yolk_roll_ratio = 0.5f;
    sim_joystick.yolk_pitch_ratio = 0.25f;
    // Lit pixels in a 24 x 24 box whose lower-left corner is (x, y).
    const auto lit = [](const std::vector<unsigned char>& px, int x, int y) {
        int n = 0;
        for (int j = y; j < y + 24; ++j)
            for (int i = x; i < x + 24; ++i) n += red_at(px, i, j) > 100;
        return n;
    };
    // The "+" sits at (512 + 50 - 3, 384 - 25 - 3) = (559, 356): right for
    // roll to the right, down for the nose up.
    EXPECT_EQ(lit(frame(), 553, 350), 0);   // a joystick: no marker
    sim_joystick.has_joystick = 0;
    std::vector<unsigned char> px = frame();
    EXPECT_GT(lit(px, 553, 350), 0);
    EXPECT_EQ(lit(px, 553, 400), 0);        // not up at 384 + 25 - 3
    EXPECT_EQ(lit(px, 453, 350), 0);        // nor left at 512 - 50 - 3
    sim_operation_override.override_artstab = 1;
    EXPECT_EQ(lit(frame(), 553, 350), 0);

    // The page toggled on before any file was read shows nothing.
    sim_joystick.has_joystick = 1;
    clear_grey = 0.5f;   // so the page's shaded box shows
    const std::vector<unsigned char> plain = frame();
    notes_shown = 1;
    notes_loaded = 0;
    EXPECT_EQ(frame(), plain);
    notes_loaded = 1;   // an empty file read: its page shows, empty
    EXPECT_NE(frame(), plain);
    notes_shown = 0;
    checklist_shown = checklist_loaded = 1;   // so does an empty checklist's box
    EXPECT_NE(frame(), plain);
}

TEST_F(Overlay, RandomClicksFlagsAndModesStayInBounds)
{
    UTIL_srand(7);
    net_slot_enabled[9] = 0;
    checklist_count = 3;
    checklist_shown = checklist_loaded = 1;
    for (int round = 0; round < 200; ++round) {
        click(UTIL_rand() % 1100 - 40, UTIL_rand() % 820 - 20);
        sim_operation_prefs.replay_mode = UTIL_rand() % 40 - 15;   // from a peer or a plug-in
        checklist_current = UTIL_rand() % 9 - 3;
        sun_glare = (UTIL_rand() % 300) / 100.0f - 1.0f;
        sim_joystick.has_joystick = UTIL_rand() % 2;
        sim_joystick.mouse_is_joystick = UTIL_rand() % 2;
        launch_flags.catapult_hold = UTIL_rand() % 2;
        frame();
        EXPECT_GE(checklist_current, 0);
        EXPECT_LE(checklist_current, checklist_count);
    }
}

}  // namespace
