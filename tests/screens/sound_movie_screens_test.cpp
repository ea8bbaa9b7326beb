// The sound, movie and credits screens drawn on the offscreen context: the
// speech texts, the movie settings' limits, choosing a movie file, and the
// credit lines' places (feedback capture).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/simvars/screen_settings.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/list.h"
#include "links/movie.h"
#include "screens/setup.h"
#include "tests/support/test_support.h"
#include "tests/support/ui_capture.h"

namespace {

constexpr int TEXT_FONT = 105;

class SoundMovieScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_screen_ready());
        app_mode = 5;
        std::strcpy(ui_text_table[284], "VOICE READY");
        std::strcpy(ui_text_table[285], "NO VOICE");
        std::strcpy(ui_text_table[287], "TEXTS SHOWN");
    }
    // No file is chosen unless a test answers the file browser itself.
    hook_override<int (*)(int, int, char*, char*)> no_file_{core_hooks.UI_open_file_browser,
                                                            [](int, int, char*, char*) { return 0; }};
    // One frame of a screen with the pointer pressed at (x, y), then released.
    static void click(void (*screen_routine)(), float x, float y)
    {
        mouse.mouse_x = x, mouse.mouse_y = y, mouse.mouse_down = mouse.mouse_held = 1;
        screen_routine();
        mouse.mouse_down = mouse.mouse_held = 0;
        mouse.mouse_x = mouse.mouse_y = -100.0f;
    }
};

// The texts a drawing printed in the screen font, by line from the top.
std::map<float, std::string, std::greater<>> printed(const std::function<void()>& draw)
{
    std::map<float, std::string, std::greater<>> lines;
    for (const fb_rect& r : sorted_by_x(capture_rects(draw))) {
        const int c = glyph_of(TEXT_FONT, r);
        if (c > 32) lines[r.y1] += static_cast<char>(c);
    }
    return lines;
}

bool shows(const std::map<float, std::string, std::greater<>>& lines, const std::string& text)
{
    for (const auto& [y, s] : lines)
        if (s.find(text) != std::string::npos) return true;
    return false;
}

std::string chosen_name;
int choose_file(int mode, int kind, char* name, char* path)
{
    if (chosen_name.empty()) return 0;   // cancelled
    std::strcpy(name, chosen_name.c_str());
    std::strcpy(path, ("/tmp/" + chosen_name).c_str());
    return 1;
}

}  // namespace

TEST_F(SoundMovieScreens, TheSpeechTextsFollowTheSpeechEngine)
{
    sim_operation_sound.has_speech_synth = 0;
    auto lines = printed(SETUP_sound);
    EXPECT_TRUE(shows(lines, "NOVOICE"));
    EXPECT_TRUE(shows(lines, "TEXTSSHOWN"));
    EXPECT_FALSE(shows(lines, "VOICEREADY"));

    sim_operation_sound.has_speech_synth = 1;
    lines = printed(SETUP_sound);
    EXPECT_TRUE(shows(lines, "VOICEREADY"));
    EXPECT_FALSE(shows(lines, "NOVOICE"));

    // Each check box writes its own switch: a click turns it off and leaves the others on.
    int32_t* switches[6] = {&sim_operation_sound.sound_on,  &sim_operation_prefs.has_headset_on,
                            &sim_operation_prefs.warn_bb,   &screen_settings.radio_chatter_on,
                            &sim_operation_sound.speech_on, &sim_operation_prefs.text_out};
    const float box_x[6] = {26, 46, 26, 26, 26, 26}, box_y[6] = {265, 245, 225, 205, 185, 165};
    for (int k = 0; k < 6; ++k) {
        for (int32_t* s : switches) *s = 1;
        click(SETUP_sound, box_x[k], box_y[k]);
        for (int m = 0; m < 6; ++m) EXPECT_EQ(*switches[m], m == k ? 0 : 1) << "box " << k << ", switch " << m;
    }
    // The volume slider's left end is the lowest volume, never silence.
    screen_settings.sound_volume = 0.5f;
    click(SETUP_sound, 310.0f, 243.0f);
    EXPECT_EQ(screen_settings.sound_volume, 0.01f);
}

TEST_F(SoundMovieScreens, MovieSettingsStayInTheirLimitsAndAChosenFileRestartsTheTakes)
{
    movie_frame_rate = 5.0f;
    movie_width = 2000;
    movie_height = 50;
    SETUP_movie();
    EXPECT_EQ(movie_frame_rate, 10.0f);
    EXPECT_EQ(movie_width, 1024);
    EXPECT_EQ(movie_height, 160);
    movie_width = 100;
    movie_height = 2000;
    SETUP_movie();
    EXPECT_EQ(movie_width, 160);
    EXPECT_EQ(movie_height, 768);
    // The tens digit stepped up again and again stops at 99.
    for (int k = 0; k < 12; ++k) click(SETUP_movie, 155.0f, 425.0f);
    EXPECT_EQ(movie_frame_rate, 99.0f);

    core_hooks.UI_open_file_browser = choose_file;
    movie_take_counter = 3;
    chosen_name.clear();   // a cancelled browser keeps the takes of the name kept
    click(SETUP_movie, 18.0f, 321.0f);
    EXPECT_EQ(movie_take_counter, 3);
    EXPECT_STRNE(movie_file_name, "FLIGHT.mov");
    movie_take_counter = 3;
    chosen_name = "FLIGHT.mov";
    click(SETUP_movie, 18.0f, 321.0f);
    EXPECT_EQ(movie_take_counter, 0);
    EXPECT_STREQ(movie_file_name, "FLIGHT.mov");
    movie_take_counter = 2;   // the same name chosen again
    click(SETUP_movie, 18.0f, 321.0f);
    EXPECT_EQ(movie_take_counter, 0);
}

TEST_F(SoundMovieScreens, CreditLinesRunDownFromTheTop)
{
    screen.screen_area_height = 700.0f;
    const auto lines = printed(SETUP_credits);
    const char* const* credits = SETUP_credit_lines();
    std::set<int> expected_rows;   // the rows of the lines with text
    for (int k = 0; k < CREDIT_LINE_COUNT; ++k)
        if (credits[k][0]) expected_rows.insert(k);
    ASSERT_EQ(lines.size(), expected_rows.size());
    // The first line's glyphs sit at a fixed offset from its pen height.
    const float offset = lines.begin()->first - (700.0f - 84.0f);
    std::set<int> rows;
    for (const auto& [y, s] : lines) {
        const float row = (700.0f - 84.0f + offset - y) / 20.0f;
        EXPECT_NEAR(row, std::round(row), 1e-3f) << s;
        rows.insert(static_cast<int>(std::lround(row)));
    }
    EXPECT_EQ(rows, expected_rows);
}
