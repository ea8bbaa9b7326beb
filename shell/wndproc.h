// The window procedure and its two handlers: window messages become the
// mouse record, the keyboard globals and the typed text (shell/input.h); a
// click closes a settings screen, works the menu bar or chooses a menu item;
// a key runs the engine controls or, after the plug-ins, the key commands.
// Four maps convert between interface units and the zoom-widened range.
#pragma once

#include "core/screen.h"   // the window-to-interface conversion

#include <cstdint>

#include "platform/plat_events.h"
#include "shell/keys.h"

// Handles one window message. Returns 0 (what the platform's default handling
// would give for every message the program takes).
intptr_t MACIBM_wndproc(void* window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// Takes the pending messages off the queue in order and hands each to
// MACIBM_wndproc; returns without waiting when the queue is empty. A button
// release that follows a press taken in the same frame stays queued, with
// everything after it, for the next frame's call. A second call within one
// frame passes `same_frame`.
void MACIBM_pump_messages(bool same_frame = false);

// A click at the pointer (close flag 0), or Return (close flag 1).
void MACIBM_handleclick(int close_flag);
// A key, by its virtual-key code.
void MACIBM_handlekey(int virtual_key);

// The shell's key codes beside those of the special keys (shell/keys.h).
constexpr int KEYCODE_NONE = -9999;
constexpr int KEYCODE_SHIFT = -999;
constexpr int KEYCODE_ERASE = 29999;
constexpr int KEYCODE_RETURN = 0x2400;

// What one key means to the shell, worked out from the virtual key, the
// modifiers and the language: its key code, its character, the engine-control
// number of a function key (0 for other keys) and the class and key the
// dispatcher gets.
struct key_meaning {
    int code = KEYCODE_NONE;
    int character = 0;
    int engine_control = 0;   // 50..61 for F1..F12 (Insert stands for F10), 62..73 with Shift
    int key_class = DISPATCH_PLAIN;
    int dispatch_key = 0;     // the character for classes 0 and 3, the code for class 1
};
key_meaning MACIBM_key_meaning(int virtual_key, bool shift, bool ctrl, int language);

