// Driving the started program as its user does. Keys and the pointer go in
// as the system's own keyboard and mouse events, which the window layer
// turns into window messages in the program's next frame; frames run on the
// test clock; what the pilot sees is read back from the window.
//
// Pointer positions are interface units as the current screen's widgets read
// them: x from the screen's left edge, y up from its bottom edge (in the
// flying view, the window's 1024 x 768 interface area).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/startup_program.h"

namespace pilot {

// A key of the keyboard: the system's key code, its scan code (its place on
// the keyboard) and the modifiers held with it.
struct key {
    int32_t code;
    int32_t scan;
    uint16_t mods = 0;
};

// The key that types `c` on a US keyboard: letters, digits and punctuation,
// with Shift for capitals and the shifted punctuation.
key key_for(char c);
// Keys that type nothing.
key return_key();
key tab_key();
key arrow_key(char direction);   // 'l', 'r', 'u', 'd'
key keypad_key(int digit);       // 0..9
key function_key(int n);         // F1..F12

// Pressed and released; the program takes both in its next frame.
void press(key k);
void press(char c);
// Held down (the system's repeat aside) until released.
void key_down(key k);
void key_up(key k);

// The pointer moved to (x, y).
void move_to(float x, float y);
// Moved to (x, y), pressed there and released (the left button).
void click_at(float x, float y);
// The left button pressed or released where the pointer is.
void button_down();
void button_up();

// Opens the menu-bar menu titled `title` (one frame runs to show it) and
// clicks its item `item`, or, given `sub_item`, the item that opens the
// submenu `item` and then that submenu's `sub_item`; the command runs in the
// next frame. False when there is no such menu or item.
bool choose_menu_item(const std::string& title, const std::string& item, const std::string& sub_item = {});

// Runs `count` frames of the program, the test clock moving `step` seconds
// before each (the frame loop reads it once at the start of a frame).
constexpr double FRAME_STEP = 0.04;
void frames(int count, double step = FRAME_STEP);
// Runs frames until `done` holds (checked after each), at most `limit`;
// true when it held.
bool frames_until(const std::function<bool()>& done, int limit, double step = FRAME_STEP);

// While the program runs frames of its own (the alert box, the file
// browser), the test acts from inside them: `action` runs at the start of
// each such frame, after the clock moved `step`, until it returns true.
void inside_frames(std::function<bool()> action, double step = FRAME_STEP);
// How many times the program read the clock (once a frame) since the last
// call of inside_frames.
int frames_inside();

// What the window showed after the last frame: 8-bit RGBA, rows from the
// bottom up, in window pixels.
struct picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;

    struct colour {
        int r, g, b;
    };
    colour at(int x, int y) const;
    // The pixels of the rectangle [x0, x1) x [y0, y1) (clipped to the picture) for which `pick` holds.
    int count(int x0, int y0, int x1, int y1, const std::function<bool(colour)>& pick) const;
    // The same over the whole picture.
    int count(const std::function<bool(colour)>& pick) const;
    // Writes a PNG file (for looking at a failing picture).
    bool save_png(const std::string& path) const;
};
// With `being_drawn`, the picture the frame is drawing (from a drawing hook).
picture read_picture(bool being_drawn = false);

// A test suite on the program started once, as a user starts it: the copy
// of the default data folder, the pilot's clock (it moves only with the
// frames), the trainer on the KSBD runway; the simulated time of day follows
// the calendar, which reads local noon of a summer day, so the sky is lit.
// Each test starts in the flying view, in the trainer (loaded again when an
// earlier test opened another aircraft), with the pointer idle near the
// window's top left corner, below the menu bar.
class flying_program : public started_program {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;
};

// Puts the pilot's clock in place (flying_program does it itself); the
// calendar reads the local noon of a fixed summer day.
void use_pilot_clock();

}  // namespace pilot
