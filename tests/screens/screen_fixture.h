// What the settings screens' tests share: the offscreen context in interface
// units, cleared shared records, a pointer record driven frame by frame, and
// the texts a frame printed.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/input.h"
#include "tests/support/test_support.h"

class ScreenTest : public ::testing::Test {
protected:
    // The shared set-up, then arrange() unless the test was skipped.
    void SetUp() override;
    // What a suite adds to the shared set-up.
    virtual void arrange() {}
    void TearDown() override;

    // One frame of `routine` with the pointer pressed at (x, y) (down and held), then released.
    static void click(void (*routine)(), float x, float y);
    // One frame with the pointer held at (x, y) (a drag, no new press).
    static void drag(void (*routine)(), float x, float y);
    // One frame in which the selection list at (x, y) gets `row` as its pop-up answer.
    static void answer_list(void (*routine)(), float x, float y, int row);
    // Every text line a frame printed in `font`, top to bottom (glyphs only, no blanks).
    static std::vector<std::string> printed(const std::function<void()>& draw, int font = 105);
    static bool shows(const std::vector<std::string>& lines, const std::string& text);
    // Sets UI text `entry`.
    static void text(int entry, const char* words);

    // The screens on their own: no file is chosen and no mode is entered
    // unless a test answers the file browser or the mode switch itself.
    hook_override<int (*)(int, int, char*, char*)> no_file_{core_hooks.UI_open_file_browser,
                                                            [](int, int, char*, char*) { return 0; }};
    hook_override<void (*)(int32_t, const char*)> no_mode_{core_hooks.CORE_set_mode, [](int32_t, const char*) {}};
};
