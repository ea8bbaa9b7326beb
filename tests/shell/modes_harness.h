// What the tests of the modes, the alert box, the browser and the world
// texture set share: the one window with its OpenGL context, a scripted clock
// that lets a test act at the start of every frame, and synthetic window
// messages in interface units.
#pragma once

#include <functional>
#include <string>

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

// While alive: the real alert box (no recording handler), gl_ready set, the
// window painted, the frame loop reset and a clock that advances 20 ms a call
// and first runs the scripted action (the frame loop reads the clock once, at
// the start of every frame). Everything is put back when it goes.
class harness_frames {
public:
    harness_frames();
    ~harness_frames();
    harness_frames(const harness_frames&) = delete;
    harness_frames& operator=(const harness_frames&) = delete;
    // The action run at the start of each frame (nullptr: none).
    void on_frame(std::function<void()> action);
    int frames() const;   // frames started since construction
};

// Posts synthetic messages to the window's queue.
void post_key(int virtual_key);                     // key down and up
void post_click(float ui_x, float ui_y);            // move there, press, release (left button)

