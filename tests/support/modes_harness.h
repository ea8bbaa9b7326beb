// What the tests of the modes, the alert box, the browser and the world
// texture set share: the one window with its OpenGL context, a scripted clock
// that lets a test act at the start of every frame, and synthetic window
// messages in interface units.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/test_support.h"

// The window (1024 x 768, offscreen where there is no display) with its
// context, default GL state and colours; false when none could be made.
bool harness_window();

// A program folder of its own for a test (folder table and preference paths
// follow it); the previous folder is back when it goes.
class harness_program_folder {
public:
    explicit harness_program_folder(const std::string& folder);
    ~harness_program_folder();
    harness_program_folder(const harness_program_folder&) = delete;
    harness_program_folder& operator=(const harness_program_folder&) = delete;

private:
    struct saved_folders;
    saved_folders* saved_;
};

// Posts synthetic messages to the window's queue.
void post_key(int virtual_key);            // key down and up
void post_click(float ui_x, float ui_y);   // move there, press, release (left button)
// Move there and press, run one frame, release, run another: a click the
// program sees across two frames.
void click_over_frames(float ui_x, float ui_y, void (*frame)());
// The window position of a point of the window's interface area (the flying
// view's panel points), packed as the pointer messages carry it.
intptr_t window_pointer_at(float x, float y);

// A frame action that posts Return in the first frame it sees in `mode`, and again after
// a frame in another mode; `seen` counts the Returns.
std::function<void()> press_return_in(int mode, int* seen = nullptr);

// The mode that is up with its screen area and title: "996 400x220+312+274 Text 600".
std::string current_screen();

// While a test runs: the window; the real alert box (no recording handler), gl_ready set,
// the window painted, the frame loop reset, no network roles and a clock that advances
// 20 ms a call and first runs the scripted action (the frame loop reads the clock once, at
// the start of every frame); a program folder of the test's own with ERROR.OUT in it;
// texts 352, 358 and 600 to 606 read "Text N"; mode 5 is up. Everything is put back after.
class harness_test : public ::testing::Test {
protected:
    void SetUp() override;   // skips the test where no OpenGL context can be had
    void TearDown() override;
    static void on_frame(std::function<void()> action);   // nullptr: none
    static int frames();   // frames started since SetUp
    temp_folder dir;
    std::unique_ptr<harness_program_folder> folder;
};
