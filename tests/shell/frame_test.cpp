#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "shell/frame.h"
#include "shell/input.h"
#include "shell/modes.h"
#include "shell/simvars.h"
#include "shell/wndproc.h"
#include "tests/shell/startup_program.h"

namespace {

// The program started on a copy of the default folder, frames under the test clock.
class FrameLoop : public ::testing::Test {
protected:
    static std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite()
    {
        folder = copy_default_data_folder();
        start_program_in(*folder);
    }
    static void TearDownTestSuite()
    {
        stop_program();
        folder.reset();
    }
    void SetUp() override
    {
        MACIBM_pump_messages();   // the new window's creation and first paint
        FRAME_reset();
        test_clock_seconds = 100.0;
        app_mode = MODE_FLYING;
    }
    // One frame with the clock moved on by dt.
    static void frame_after(double dt)
    {
        test_clock_seconds += dt;
        MACIBM_do_frame();
    }
};
std::unique_ptr<temp_folder> FrameLoop::folder;

}  // namespace

TEST_F(FrameLoop, IntervalFlagsFireOncePerPeriodPassed)
{
    // Before the first paint a frame stops after the network pass: cheap, and
    // the flags are already worked out.
    window_painted = 0;
    const double step = 0.013;
    std::vector<std::vector<float>> fired(INTERVAL_COUNT);
    std::vector<float> times;
    frame_after(0.0);
    for (int f = 0; f < 1700; ++f) {
        frame_after(step);
        times.push_back(frame_clock);
        for (int k = 0; k < INTERVAL_COUNT; ++k)
            if (interval_ticks[k]) fired[static_cast<size_t>(k)].push_back(frame_clock);
    }
    EXPECT_EQ(window_painted, 0);
    for (int k = 0; k < INTERVAL_COUNT; ++k) {
        const float p = interval_periods[k];
        const std::vector<float>& f = fired[static_cast<size_t>(k)];
        ASSERT_FALSE(f.empty()) << k;
        // First in the first frame whose clock is past the period, then in the
        // first frame past the last firing plus the period.
        float last = 0.0f;
        for (float t : f) {
            EXPECT_GT(t, last + p) << "tick " << k;
            EXPECT_LE(t - static_cast<float>(step), last + p + 1e-4f) << "tick " << k;
            last = t;
        }
        const int expected = static_cast<int>(times.back() / (p + static_cast<float>(step)));
        EXPECT_GE(static_cast<int>(f.size()), expected) << "tick " << k;
    }
    EXPECT_NEAR(fired[0].front(), 10.0f, 0.014f);
    EXPECT_EQ(fired[0].size(), 2u);   // 22.1 s of frames: at about 10 and 20 s
}

TEST_F(FrameLoop, ShortPeriodsFireEveryFrame)
{
    window_painted = 0;
    frame_after(0.0);
    for (int f = 0; f < 5; ++f) {
        frame_after(0.06);
        EXPECT_EQ(interval_ticks[7], 1);   // 0.05 s
        EXPECT_EQ(interval_ticks[8], 1);   // 0.04 s
        EXPECT_EQ(interval_ticks[0], 0);
    }
}

TEST_F(FrameLoop, FramePeriodFollowsTheFourthRootOfTheClampedRatio)
{
    window_painted = 1;
    float& period = sim_operation_misc.frame_rate_period;
    period = 0.02f;

    // The first frame starts the estimate ten assumed periods back.
    frame_after(0.0);
    for (int f = 2; f <= 10; ++f) frame_after(0.05);
    ASSERT_EQ(flying_frame_count, 10);
    const float ratio = (0.45f + 0.2f) / 0.2f;
    EXPECT_NEAR(sim_operation_misc.time_ratio, ratio, 1e-3f);
    EXPECT_NEAR(period, 0.02f * std::pow(ratio, 0.25f), 1e-5f);

    // Only every tenth flying frame changes it.
    const float kept = period;
    for (int f = 0; f < 9; ++f) frame_after(0.05);
    EXPECT_FLOAT_EQ(period, kept);
    frame_after(0.05);
    EXPECT_NEAR(period, kept * std::pow(0.5f / (10.0f * kept), 0.25f), 1e-5f);

    // A screen's time does not count: the estimate starts again on its last frame.
    app_mode = 12;
    for (int f = 0; f < 3; ++f) frame_after(10.0);
    app_mode = MODE_FLYING;
    const float before = period;
    for (int f = 0; f < 10; ++f) frame_after(0.05);
    EXPECT_NEAR(sim_operation_misc.time_ratio, 0.5f / (10.0f * before), 1e-3f);

    // Very slow frames: the ratio is cut to 5 and the period stops at 0.08 s.
    float previous = period;
    for (int round = 0; round < 8; ++round) {
        for (int f = 0; f < 10; ++f) frame_after(3.0);
        EXPECT_FLOAT_EQ(sim_operation_misc.time_ratio, 5.0f);
        EXPECT_NEAR(period, std::fmin(0.08f, previous * std::pow(5.0f, 0.25f)), 1e-5f);
        previous = period;
    }
    EXPECT_FLOAT_EQ(period, 0.08f);

    // Very fast frames: the ratio is cut to 0.2 and the period stops at 0.001 s.
    for (int round = 0; round < 14; ++round) {
        for (int f = 0; f < 10; ++f) frame_after(1e-6);
        EXPECT_FLOAT_EQ(sim_operation_misc.time_ratio, 0.2f);
        EXPECT_GE(period, 0.001f);
        EXPECT_LE(period, 0.08f);
    }
    EXPECT_FLOAT_EQ(period, 0.001f);
}

TEST_F(FrameLoop, PeriodArithmetic)
{
    EXPECT_FLOAT_EQ(FRAME_period_ratio(2.0f, 0.01f), 5.0f);     // 20 cut to 5
    EXPECT_FLOAT_EQ(FRAME_period_ratio(0.001f, 0.01f), 0.2f);
    EXPECT_FLOAT_EQ(FRAME_period_ratio(0.2f, 0.01f), 2.0f);
    EXPECT_NEAR(FRAME_next_period(0.02f, 5.0f), 0.02f * 1.4953488f, 1e-6f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.079f, 5.0f), 0.08f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.0011f, 0.2f), 0.001f);
    EXPECT_FLOAT_EQ(FRAME_next_period(0.02f, std::nanf("")), 0.001f);   // never leaves the bounds
}

TEST_F(FrameLoop, FirstFramesFastAndViewClasses)
{
    window_painted = 1;
    frame_after(0.0);
    for (int f = 2; f <= 6; ++f) frame_after(0.1);
    EXPECT_EQ(first_frames_fast, 1);

    for (int v : {1000, 1001, 1002, 1019}) {
        EXPECT_TRUE(FRAME_is_panel_view(v));
        EXPECT_TRUE(FRAME_is_panel_picture_view(v));
    }
    for (int v : {1004, 1007, 1010}) {
        EXPECT_FALSE(FRAME_is_panel_view(v));
        EXPECT_TRUE(FRAME_is_panel_picture_view(v));
    }
    EXPECT_FALSE(FRAME_is_panel_picture_view(1003));
    EXPECT_FALSE(FRAME_is_panel_picture_view(1020));
}

TEST_F(FrameLoop, PerFrameEdgesAreClearedAndHoverTextEmptied)
{
    window_painted = 1;
    mouse.mouse_down = 1;
    mouse.mouse_released = 1;
    key_pressed = 1;
    enter_pressed = 1;
    UTIL_strcpy("help", mouse.hover_text);
    frame_after(0.02);
    EXPECT_EQ(mouse.mouse_down, 0);
    EXPECT_EQ(mouse.mouse_released, 0);
    EXPECT_EQ(key_pressed, 0);
    EXPECT_EQ(enter_pressed, 0);
    EXPECT_STREQ(mouse.hover_text, "");

    // A button held for more than half a second drags the panel.
    mouse.mouse_held = 1;
    mouse_press_time = frame_clock;
    frame_after(0.6);
    EXPECT_EQ(mouse.mouse_panel_drag, 1);
    mouse.mouse_held = 0;
    mouse.mouse_panel_drag = 0;
}
