#include <gtest/gtest.h>

#include <string>

#include <regex>

#include <chrono>
#include <cmath>
#include <ctime>
#include <tuple>
#include <utility>
#include <vector>

#include <algorithm>

#include "core/folders.h"
#include "links/plugin_host.h"
#include "links/sound.h"
#include "core/draw_phases.h"
#include "core/views.h"
#include "shell/menus.h"
#include "shell/world_textures.h"
#include "core/simvars.h"
#include "graphics/ogl_state.h"
#include "shell/frame.h"
#include "core/input.h"
#include "shell/modes.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "shell/wndproc.h"
#include "tests/support/startup_program.h"
#include "tests/support/test_support.h"

namespace {

// Flying frames of the started program under the test clock.
class FrameLoop : public started_program {
protected:
    void SetUp() override
    {
        MACIBM_pump_messages();   // the new window's creation and first paint
        FRAME_reset();
        test_clock_seconds = 100.0;
        app_mode = MODE_FLYING;
    }
    // n frames, each with the clock moved on by dt.
    static void frames_after(double dt, int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            test_clock_seconds += dt;
            MACIBM_do_frame();
        }
    }
};

}  // namespace

TEST_F(FrameLoop, IntervalFlagsFireOncePerPeriodPassed)
{
    // Before the first paint a frame stops after the network pass: cheap, and
    // the flags are already worked out.
    window_painted = 0;
    const float step = 0.013f;
    std::vector<float> fired[INTERVAL_COUNT];
    frames_after(0.0);
    for (int f = 0; f < 1700; ++f) {
        frames_after(step);
        for (int k = 0; k < INTERVAL_COUNT; ++k)
            if (interval_ticks[k]) fired[k].push_back(frame_clock);
    }
    EXPECT_EQ(window_painted, 0);
    for (int k = 0; k < INTERVAL_COUNT; ++k) {
        // First in the first frame whose clock is past the period, then in the
        // first frame past the last firing plus the period.
        const float p = interval_periods[k];
        float last = 0.0f;
        for (float t : fired[k]) {
            EXPECT_GT(t, last + p) << "tick " << k;
            EXPECT_LE(t - step, last + p + 1e-4f) << "tick " << k;
            last = t;
        }
        EXPECT_GE(fired[k].size(), static_cast<size_t>(frame_clock / (p + step))) << "tick " << k;
    }
    EXPECT_NEAR(fired[0].front(), 10.0f, 0.014f);
    EXPECT_EQ(fired[0].size(), 2u);   // 22.1 s of frames: at about 10 and 20 s
}

TEST_F(FrameLoop, FramePeriodFollowsTheFourthRootOfTheClampedRatio)
{
    const unseen_frames unseen;   // the estimate is looked at, not the picture
    window_painted = 1;
    float& period = sim_operation_misc.frame_rate_period;
    const float& ratio = sim_operation_misc.time_ratio;
    period = 0.02f;

    // The first frame starts the estimate ten assumed periods back; only every
    // tenth flying frame changes it.
    frames_after(0.0);
    frames_after(0.05, 9);
    ASSERT_EQ(flying_frame_count, 10);
    EXPECT_NEAR(ratio, 0.65f / 0.2f, 1e-3f);
    EXPECT_NEAR(period, 0.02f * std::pow(0.65f / 0.2f, 0.25f), 1e-5f);
    const float kept = period;
    frames_after(0.05, 9);
    EXPECT_FLOAT_EQ(period, kept);
    frames_after(0.05);
    EXPECT_NEAR(period, kept * std::pow(0.5f / (10.0f * kept), 0.25f), 1e-5f);

    // A screen's time does not count: the estimate starts again on its last frame.
    app_mode = 12;
    frames_after(10.0, 3);
    app_mode = MODE_FLYING;
    const float before = period;
    frames_after(0.05, 10);
    EXPECT_NEAR(ratio, 0.5f / (10.0f * before), 1e-3f);

    // Very slow frames: the ratio is cut to 5 and the period stops at 0.08 s;
    // very fast ones: 0.2 and 0.001 s.
    for (auto [dt, cut, bound] : {std::tuple{3.0, 5.0f, 0.08f}, std::tuple{1e-6, 0.2f, 0.001f}}) {
        for (int round = 0; round < 14; ++round) {
            frames_after(dt, 10);
            EXPECT_FLOAT_EQ(ratio, cut);
            EXPECT_TRUE(period >= 0.001f && period <= 0.08f) << period;
        }
        EXPECT_FLOAT_EQ(period, bound);
    }
}

// The program's frames with pacing on keep to the display's refresh rate: on
// the test clock, each frame asks the sleep for what is left of its period
// (the test's sleep moves the clock by it), a late frame is not hurried after,
// and the period estimate measures the paced frames. The sleep asked for
// gives up the processor.
std::vector<double> asked_sleeps;
void sleep_on_test_clock(double seconds)
{
    asked_sleeps.push_back(seconds);
    test_clock_seconds += seconds;
}

TEST_F(FrameLoop, PacedFramesKeepToTheRefreshRateAndTheEstimateMeasuresThem)
{
    window_painted = 1;
    float& period = sim_operation_misc.frame_rate_period;
    period = 0.05f;
    const double refresh = 1.0 / PLAT_refresh_rate_hz();
    const double work = 0.3 * refresh;   // what a frame takes on the clock before it is paced
    // The plane is held, so later suites start from where it stands.
    sim_time.paused = 1;
    asked_sleeps.clear();
    PLAT_set_sleep_source(sleep_on_test_clock);
    PLAT_set_frame_pacing(true);
    frames_after(work, 20);
    const float period_after_20 = period;
    frames_after(work, 10);
    ASSERT_EQ(flying_frame_count, 30);
    // The first frame starts the schedule; each later one sleeps out the rest of its period.
    ASSERT_EQ(asked_sleeps.size(), 29u);
    for (double s : asked_sleeps) EXPECT_NEAR(s, refresh - work, 1e-6);
    // Frames a refresh period apart, and the estimate moving from the assumed 20 Hz toward them.
    EXPECT_NEAR(sim_operation_misc.time_ratio * period_after_20, refresh, 1e-4);
    EXPECT_LT(period, 0.05f);

    // A frame half a period late is caught up with by the next one; one more
    // than a period late starts the schedule again from its end.
    asked_sleeps.clear();
    frames_after(1.5 * refresh);
    frames_after(work);
    frames_after(3.0 * refresh);
    frames_after(work);
    EXPECT_EQ(asked_sleeps.size(), 2u);
    if (asked_sleeps.size() == 2u) {
        EXPECT_NEAR(asked_sleeps[0], 0.5 * refresh - work, 1e-6);
        EXPECT_NEAR(asked_sleeps[1], refresh - work, 1e-6);
    }
    PLAT_set_frame_pacing(false);
    PLAT_set_sleep_source(nullptr);
    sim_time.paused = 0;

    // The real sleep waits without using the processor, however busy the machine.
    const auto cpu_seconds = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
    };
    const double cpu_before = cpu_seconds();
    const auto start = std::chrono::steady_clock::now();
    PLAT_sleep_seconds(0.1);
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.1);
    EXPECT_LT(cpu_seconds() - cpu_before, 0.02) << "the sleep spun";
}

// The sixth flying frame counts as fast only when it came less than 0.4 s after
// the fifth; the panel zoom moves 4 frame periods' worth toward its target.
TEST_F(FrameLoop, FirstFramesFastAndPanelZoomEasing)
{
    window_painted = 1;
    for (auto [gap, fast] : {std::pair{0.45, 0}, std::pair{0.35, 1}}) {
        FRAME_reset();
        frames_after(0.0);
        frames_after(0.05, 4);
        frames_after(gap);
        ASSERT_EQ(flying_frame_count, 6);
        EXPECT_EQ(first_frames_fast, fast) << gap;
    }

    FRAME_reset();
    sim_operation_misc.frame_rate_period = 0.05f;   // k = 0.2 a frame
    screen.ui_zoom_smooth = 0.0f;
    screen.ui_zoom_on = 1;
    frames_after(0.05);
    EXPECT_NEAR(screen.ui_zoom_smooth, 0.2f, 1e-5f);
    frames_after(0.05);
    EXPECT_NEAR(screen.ui_zoom_smooth, 0.36f, 1e-5f);
    screen.ui_zoom_on = 0;
    frames_after(0.05);
    EXPECT_NEAR(screen.ui_zoom_smooth, 0.288f, 1e-5f);
    screen.ui_zoom_smooth = 0.0f;
}

TEST_F(FrameLoop, PeriodArithmeticStaysWithinItsBounds)
{
    EXPECT_FLOAT_EQ(FRAME_period_ratio(2.0f, 0.01f), 5.0f);   // 20 cut to 5
    EXPECT_FLOAT_EQ(FRAME_period_ratio(0.001f, 0.01f), 0.2f);
    EXPECT_FLOAT_EQ(FRAME_period_ratio(0.2f, 0.01f), 2.0f);
    EXPECT_NEAR(FRAME_next_period(0.02f, 5.0f), 0.02f * 1.4953488f, 1e-6f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.079f, 5.0f), 0.08f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.0011f, 0.2f), 0.001f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.02f, std::nanf("")), 0.001f);   // NaN never leaves the bounds
}

TEST_F(FrameLoop, PerFrameEdgesAreClearedAndALongPressDragsThePanel)
{
    window_painted = 1;
    frames_after(0.0);
    frames_after(0.1, 5);
    EXPECT_EQ(first_frames_fast, 1);   // the sixth frame within 0.4 s of the fifth

    mouse.mouse_down = mouse.mouse_released = key_pressed = enter_pressed = 1;
    UTIL_strcpy("help", mouse.hover_text);
    frames_after(0.02);
    EXPECT_EQ(mouse.mouse_down + mouse.mouse_released + key_pressed + enter_pressed, 0);
    EXPECT_STREQ(mouse.hover_text, "");

    // A button held for more than half a second drags the panel.
    mouse.mouse_held = 1;
    mouse_press_time = frame_clock;
    frames_after(0.6);
    EXPECT_EQ(mouse.mouse_panel_drag, 1);
    mouse.mouse_held = mouse.mouse_panel_drag = 0;
}

// The blinking colour rows follow sin(10 t) of the frame clock, and after the
// drawing every cockpit light level is lifted to at least 0.75.
TEST_F(FrameLoop, BlinkingRowsFollowTheClockAndLightLevelsEndAtLeastThreeQuarters)
{
    window_painted = 1;
    frames_after(0.0);   // the first frame: clock 0, sin 0
    struct row { int colour; float rgb[3]; };
    for (const row& want : {row{86, {0.6f, 0.6f, 0.6f}}, row{87, {0.8f, 0.16f, 0.16f}}, row{88, {0.8f, 0.8f, 0.16f}}})
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(colour_table[want.colour][k], want.rgb[k], 1e-5f) << want.colour << " " << k;
    // At 0.05 s: sin 0.5 = 0.479426, a = 0.791770, b = 0.895885. On a screen
    // (no sky to light the cockpit) the levels set here are the ones lifted.
    app_mode = MODE_DATE_TIME;
    sim_graphics_misc.cockpit_light_level_r = 0.3f;
    sim_graphics_misc.cockpit_light_level_g = 0.9f;
    sim_graphics_misc.cockpit_light_level_b = 0.0f;
    frames_after(0.05);
    for (const row& want : {row{86, {0.791770f, 0.791770f, 0.791770f}}, row{87, {0.895885f, 0.179177f, 0.179177f}},
                            row{88, {0.895885f, 0.895885f, 0.179177f}}})
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(colour_table[want.colour][k], want.rgb[k], 1e-4f) << want.colour << " " << k;
    EXPECT_FLOAT_EQ(sim_graphics_misc.cockpit_light_level_r, 0.75f);
    EXPECT_FLOAT_EQ(sim_graphics_misc.cockpit_light_level_g, 0.9f);
    EXPECT_FLOAT_EQ(sim_graphics_misc.cockpit_light_level_b, 0.75f);
    app_mode = MODE_FLYING;
}

// Under the panel and overlay, a panel view with the lit panel picture takes
// white cockpit light, any other warm light (0.85, 0.25, 0.25 of the lights).
TEST_F(FrameLoop, PanelLightIsWhiteOnTheLitPictureAndWarmOtherwise)
{
    window_painted = 1;
    static float seen[3];
    plugin_host.entries.drawing = [](int phase) {
        sim_graphics_misc_block& g = sim_graphics_misc;
        if (phase == DRAW_PHASE_SCENE_AFTER) g.cockpit_light_level_r = g.cockpit_light_level_g = g.cockpit_light_level_b = 0.1f;
        if (phase == DRAW_PHASE_OVERLAY_BEFORE)
            seen[0] = g.cockpit_light_level_r, seen[1] = g.cockpit_light_level_g, seen[2] = g.cockpit_light_level_b;
        return 1;
    };
    sim_graphics_view.view_type = VIEW_FORWARD;
    sim_cockpit_electrical.cockpit_lights_on = 1;
    sim_cockpit_electrical.cockpit_lights = 0.8f;
    struct row { int option; float rgb[3]; };
    for (const row& want : {row{0, {0.68f, 0.2f, 0.2f}}, row{1, {0.8f, 0.8f, 0.8f}}}) {
        screen_settings.lit_cus_panel_option = want.option;
        frames_after(0.05);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(seen[k], want.rgb[k], 1e-6f) << want.option << " " << k;
    }
    plugin_host.entries.drawing = nullptr;
    screen_settings.lit_cus_panel_option = 0;
    sim_cockpit_electrical.cockpit_lights_on = 0;
}

// The pointer hides after more than ten seconds at rest and shows on the next
// move; pausing the flight stops the looping sounds; with the first bar menu
// open, the pointer on the second one's title opens that one.
TEST_F(FrameLoop, PointerRestPauseSilenceAndMenuBarTracking)
{
    window_painted = 1;
    sim_operation_sound.sound_on = 1;
    sim_time.paused = 0;
    mouse.mouse_x = 300.0f;
    mouse.mouse_y = 300.0f;
    PLAT_show_cursor(true);
    frames_after(0.0);   // moved from where the loop starts: active at clock 0
    frames_after(9.9);
    EXPECT_TRUE(PLAT_cursor_shown());
    frames_after(0.2);
    EXPECT_FALSE(PLAT_cursor_shown());
    mouse.mouse_x += 1.0f;
    frames_after(0.05);
    EXPECT_TRUE(PLAT_cursor_shown());

    SOUND_start_stop_loops(1);
    ASSERT_NE(std::count(sound_slots.playing, sound_slots.playing + SOUND_SLOTS, 1), 0);
    sim_time.paused = 1;
    frames_after(0.05);
    EXPECT_EQ(std::count(sound_slots.playing, sound_slots.playing + SOUND_SLOTS, 1), 0);
    sim_time.paused = 0;

    ASSERT_EQ(menu_table[1].parent, -1);
    screen.open_menu = 0;
    mouse.mouse_x = (menu_table[1].left + menu_table[1].right) / 2.0f;
    mouse.mouse_y = (menu_table[1].bottom + menu_table[1].top) / 2.0f;
    frames_after(0.05);
    EXPECT_EQ(screen.open_menu, 1);
    screen.open_menu = -1;
}

// The combined start screen keeps the world textures up to date as flying
// does; the lit panel picture is wanted only with the lights on and the option set.
TEST_F(FrameLoop, StartScreenFollowsThePlanetAndTheLitPanelNeedsLightsAndOption)
{
    window_painted = 1;
    frames_after(0.0);
    app_mode = MODE_START_SCREEN;
    sim_graphics_scenery.current_planet = 1;
    frames_after(0.05);
    EXPECT_EQ(world_textures.last_planet, 1);
    sim_graphics_scenery.current_planet = 0;
    frames_after(0.05);
    EXPECT_EQ(world_textures.last_planet, 0);

    app_mode = MODE_FLYING;
    for (auto [lights, option, lit] : {std::tuple{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}, {0, 0, 0}}) {
        sim_cockpit_electrical.cockpit_lights_on = lights;
        screen_settings.lit_cus_panel_option = option;
        frames_after(0.05);
        EXPECT_EQ(o_lit_cus_panel, lit) << lights << " " << option;
    }
    screen_settings.lit_cus_panel_option = 0;
}

TEST(FrameProfile, TimeProbeWritesColumnsWhenFlying)
{
    temp_folder dir;
    const auto log_path = dir.path() / "ERROR.OUT";
    error_log.open(log_path, std::ios::out | std::ios::trunc);

    app_mode = 3;
    UTIL_time_probe("ignored", 1);
    app_mode = 0;
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    UTIL_time_probe("start", 1);   // measured from here, not from an earlier test's frames
    error_log.close();
    error_log.open(log_path, std::ios::out | std::ios::trunc);
    for (int tick : {1, 0}) {   // the names at the one-second tick, then the times
        interval_ticks[INTERVAL_ONE_SECOND] = tick;
        UTIL_time_probe("frame", 0);
        UTIL_time_probe("scene", 1);
    }
    error_log.close();

    const std::string log = read_file_bytes(log_path);
    EXPECT_TRUE(std::regex_match(log, std::regex("  frame   scene \n[ 0-9]{6}[0-9] [ 0-9]{6}[0-9] \n"))) << log;

    // A section of ten seconds (10^8 counts at 10 MHz) is written in hundreds of counts: 1000000,
    // plus whatever the test itself took.
    error_log.open(log_path, std::ios::out | std::ios::trunc);
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    time_probe_previous = PLAT_perf_counter() - 100000000;
    UTIL_time_probe("long", 1);
    error_log.close();
    const long long hundreds = std::stoll(read_file_bytes(log_path));
    EXPECT_GE(hundreds, 1000000);
    EXPECT_LT(hundreds, 1010000);
}
