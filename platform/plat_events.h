// Window messages: what happens to the program's window (keys, pointer,
// paint, close) and to its UDP sockets, delivered one message at a time in
// the form the window procedure takes: a message number, a word and a long.
//
// Keys carry virtual-key codes: 'A'..'Z' and '0'..'9' as their upper-case
// characters, the keypad digits 0x60..0x69, F1..F12 0x70..0x7B, the arrows
// 0x25..0x28, the US punctuation codes 0xBA..0xC0 and 0xDB..0xDE, Return 0x0D,
// Tab 0x09, Backspace 0x08, Shift 0x10, Ctrl 0x11, Alt 0x12, Insert 0x2D,
// Delete 0x2E. F10, Alt and keys pressed with Alt come as system keys. A key
// held down repeats its key-down message with bit 30 of the long set. Pointer
// messages carry the position in window pixels from the top left corner: x in
// the low 16 bits of the long, y in the high 16 bits.
//
// The message box is the one way to tell the user something before the
// program's own window can draw: the system's message box where there is a
// display, the error stream where there is none.
#pragma once

#include <cstdint>

// Message numbers.
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
// Keys meant for the system rather than the program: F10, and every key while Alt is down.
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_USER = 0x0400;
// The socket notification: the word is the socket, the long the event
// (1 data to read, 2 ready to send) with an error number in its high 16 bits.
constexpr uint32_t WM_SOCKET_NOTIFY = WM_USER;
constexpr intptr_t SOCKET_EVENT_READ = 1;
constexpr intptr_t SOCKET_EVENT_WRITE = 2;

// Virtual-key codes the program names.
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
              VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26,
              VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60,
              VK_F1 = 0x70, VK_F10 = 0x79, VK_F12 = 0x7B;

struct PLAT_message {
    uint32_t message = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

// Takes the next message off the window's queue; false when there is none
// (the caller's pump stops there, so nothing ever waits). Messages posted by
// the program come first, then the system's events in their order; when both
// are empty the registered sockets are polled, and a socket that is ready
// gives one notification. Polling repeats while a socket stays ready after its
// notification was taken (more datagrams wait), up to
// PLAT_SOCKET_POLLS_PER_PUMP polls before the answer is false. The next call
// after a false answer starts over.
bool PLAT_peek_message(PLAT_message& out);
constexpr int PLAT_SOCKET_POLLS_PER_PUMP = 100;

// Puts a message at the end of the program's own queue.
void PLAT_post_message(uint32_t message, uintptr_t wparam, intptr_t lparam);

// Puts a message just taken back at the front of the queue, so the next
// PLAT_peek_message gives it again before anything else; the caller's pump
// stops there, and the next call starts over as after a false answer.
void PLAT_put_back_message(const PLAT_message& message);

// Empties the program's queue and the system's pending events, and forgets
// the key states (used when the program starts and in tests).
void PLAT_flush_messages();

// Lets the system see the program alive during a long wait (so the desktop
// does not flag the window) without taking any message: everything stays
// queued for the next PLAT_peek_message.
void PLAT_pump_events();

// Key state as the last message taken reported it: negative while the key is
// down, 0 while it is up.
int PLAT_key_state(int virtual_key);

// The virtual-key code of a key of the system's keyboard layer (its key code
// and scan code); 0 for a key the program has no code for.
int PLAT_virtual_key(int32_t key_code, int32_t scan_code);

// Shows or hides the pointer over the window.
void PLAT_show_cursor(bool shown);
bool PLAT_cursor_shown();

// Sockets whose readiness is turned into notifications. A socket may be
// registered for reading, for writing or both; registering it again replaces
// its wishes, and wishing for neither removes it. The list starts empty.
void PLAT_watch_socket(int socket_fd, bool want_read, bool want_write);
int PLAT_watched_socket_count();

// Shows a message with one OK button and waits for it (the system's message
// box), or writes the title and the text to the error stream when there is no
// display or the box cannot be shown.
void PLAT_message_box(const char* title, const char* text);
// True when a message box would be shown on a screen (false: the error stream).
bool PLAT_message_box_has_display();
