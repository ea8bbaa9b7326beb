// End to end: the fleet's helicopter in the started program, flown with the
// mouse and the keyboard alone, through the window's messages. The panel's
// collective lever (least pitch at the top of its travel), pulled down with
// the mouse, lifts it off the runway; the
// collective keys of the key table (F6 up, F5 down, a degree a press) then
// hold it in a hover at 5 m while the keypad works the cyclic and the pedals
// (the joystick screen's check box gives the pedals to the pilot).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/instrument_types.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "panel/panel.h"
#include "platform/plat_events.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"
#include "tests/support/ui_capture.h"

namespace {

constexpr float HOVER_M = 5.0f;

class HelicopterByHand : public started_program {
protected:
    static void frame() { test_clock_seconds += 0.04, MACIBM_do_frame(); }

    // A click at a point of the open screen's work area.
    static void click_screen(float x, float y) { click_over_frames(x, y, frame); }

    static void press_key(int virtual_key)
    {
        PLAT_post_message(WM_KEYDOWN, static_cast<uintptr_t>(virtual_key), 0);
        PLAT_post_message(WM_KEYUP, static_cast<uintptr_t>(virtual_key), 0);
    }

    // Keypad presses that bring a yoke ratio (moved 0.05 a press) toward a wish.
    static void keypad_toward(float now, float wish, int key_up, int key_down)
    {
        const int presses = std::clamp(static_cast<int>(std::lround((wish - now) / 0.05f)), -3, 3);
        for (int k = 0; k < std::abs(presses); ++k) press_key(VK_NUMPAD0 + (presses > 0 ? key_up : key_down));
    }

    // The pilot's hands on the cyclic and the pedals: wings level, the nose
    // at the attitude the helicopter sits at, the heading held.
    static void fly_level(float heading)
    {
        const flt_struct& f = flt[0];
        const sim_joystick_block& j = sim_joystick;
        keypad_toward(j.yolk_pitch_ratio, std::clamp(0.08f * (pln[0].acf_the_eqlbm - f.theta) - 0.02f * f.Q, -1.0f, 1.0f),
                      2, 8);
        keypad_toward(j.yolk_roll_ratio, std::clamp(-0.05f * f.phi - 0.01f * f.P, -1.0f, 1.0f), 6, 4);
        keypad_toward(j.yolk_heading_ratio,
                      std::clamp(0.1f * std::remainder(heading - f.psi, 360.0f) - 0.02f * f.R, -1.0f, 1.0f), 3, 1);
    }

    static int slot_of(int type)
    {
        for (int s = 0; s < ACF_INS_SLOTS; ++s)
            if (pln[0].acf_ins_type[s] == type) return s;
        return -1;
    }
};

}  // namespace

TEST_F(HelicopterByHand, TheCollectiveLeverLiftsItAndTheKeysHoldAHoverAtFiveMetres)
{
    std::string path;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder->path() / "Aircraft"))
        if (e.path().filename() == "Orvell Helicopter.acf") path = e.path().string();
    ASSERT_FALSE(path.empty()) << "the built fleet has no helicopter";
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", "Orvell Helicopter.acf");
    ASSERT_TRUE(ACF_load_and_setup(0));
    // The flight is checked by its state and the lever by the panel drawn
    // alone: no frame's scene is looked at.
    const unseen_frames unseen;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    APPLICATION_set_mode(MODE_FLYING, "from test");
    CORE_run_command(VIEW_FORWARD);
    MACIBM_pump_messages();
    for (int k = 0; k < 25; ++k) frame();

    // The pilot works the pedals himself: the joystick screen's check box
    // takes the helicopter's automatic pedals away, its close box shuts it.
    ASSERT_EQ(sim_operation_prefs.auto_coordinate_helos, 1);
    APPLICATION_handlemenu(601);
    frame();
    ASSERT_EQ(app_mode, MODE_JOYSTICK);
    click_screen(88.0f + 62.0f, screen.screen_area_height - 38.0f);   // the second tab
    click_screen(800.0f, 660.0f);
    EXPECT_EQ(sim_operation_prefs.auto_coordinate_helos, 0);
    click_screen(12.0f, screen.screen_area_height - 10.0f);
    ASSERT_EQ(app_mode, MODE_FLYING);
    for (int k = 0; k < 25; ++k) frame();

    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int lever = slot_of(INS_HAN_SLIDER_COLLECTIVE);
    ASSERT_GE(lever, 0) << "the helicopter's panel has a collective lever";
    ASSERT_EQ(f.POINT_pitch_deg[0], a.acf_min_pitch[0]);
    ASSERT_EQ(f.onground_any, 1);
    const float x = a.acf_ins_x[lever], y = a.acf_ins_y[lever], half = 0.5f * a.acf_ins_dely[lever];

    // At the least pitch the handle lies on the lever's own picture, at the
    // top of its travel.
    const auto handles = capture_rects([] {
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
        PANEL_update();
    });
    bool handle_on_track = false;
    for (const fb_rect& r : handles) {
        const float cx = 0.5f * (r.x1 + r.x2), cy = 0.5f * (r.y1 + r.y2);
        handle_on_track |= std::fabs(cx - x) < 2.0f && cy < y + half && cy > y + half - 12.0f;
    }
    EXPECT_TRUE(handle_on_track) << "no handle drawn at the head of the collective's track";

    // The handle grabbed at the head of its travel and pulled down a little
    // each frame, the keypad holding the attitude, until the skids leave the
    // runway.
    const float heading = f.psi;
    float hand_y = y + half - 5.0f;
    PLAT_post_message(WM_MOUSEMOVE, 0, window_pointer_at(x, hand_y));
    PLAT_post_message(WM_LBUTTONDOWN, 0, window_pointer_at(x, hand_y));
    frame();
    for (int k = 0; k < 40 * 25 && f.onground_any; ++k) {
        hand_y = std::max(hand_y - 0.25f, y - half);
        PLAT_post_message(WM_MOUSEMOVE, 0, window_pointer_at(x, hand_y));
        fly_level(heading);
        frame();
    }
    PLAT_post_message(WM_LBUTTONUP, 0, window_pointer_at(x, hand_y));
    ASSERT_EQ(f.onground_any, 0) << "still on the runway with the collective at " << f.POINT_pitch_deg[0];
    EXPECT_GT(f.POINT_pitch_deg[0], a.acf_min_pitch[0] + 1.0f);

    // The hover: the collective a degree a press toward what the height and
    // the climb ask for, the cyclic and the pedals on the keypad.
    float lowest = 1e9f, highest = -1e9f, worst_bank = 0.0f, worst_heading = 0.0f;
    for (int k = 0; k < 30 * 25; ++k) {
        const float wish = f.POINT_pitch_deg[0] + 0.6f * (HOVER_M - f.y_agl) - 1.2f * f.local_vy;
        if (k % 3 == 0 && wish > f.POINT_pitch_deg[0] + 0.5f) press_key(VK_F1 + 5);
        if (k % 3 == 0 && wish < f.POINT_pitch_deg[0] - 0.5f) press_key(VK_F1 + 4);
        fly_level(heading);
        frame();
        if (k >= 15 * 25) {   // the last 15 s
            lowest = std::min(lowest, f.y_agl), highest = std::max(highest, f.y_agl);
            worst_bank = std::max(worst_bank, std::fabs(f.phi));
            worst_heading = std::max(worst_heading, std::fabs(std::remainder(f.psi - heading, 360.0f)));
        }
    }
    EXPECT_EQ(f.onground_any, 0);
    EXPECT_GT(lowest, 0.5f * HOVER_M);
    EXPECT_LT(highest, 1.6f * HOVER_M);
    EXPECT_LT(worst_bank, 10.0f);
    EXPECT_LT(worst_heading, 10.0f);
}
