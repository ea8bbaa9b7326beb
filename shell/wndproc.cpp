#include "shell/wndproc.h"

#include <cstring>

#include "aircraft/acf_struct.h"
#include "graphics/list.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "links/joystick.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "platform/plat_window.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "shell/keys.h"
#include "shell/main.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars/joystick.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "world/atc.h"

namespace {

constexpr int QUIT_COMMAND = 208;

// The pointer's scale: a scale of 0 (a window not yet sized) would make the
// pointer position infinite, so it counts as 1.
float safe_scale()
{
    return screen.ui_scale > 0.0f ? screen.ui_scale : 1.0f;
}

// The pointer position of a pointer message, in interface units relative to the current screen.
void take_pointer(intptr_t lparam)
{
    const uint32_t bits = static_cast<uint32_t>(lparam);
    const float px = static_cast<float>(bits & 0xFFFFu);
    const float py = static_cast<float>(screen.window_height) - static_cast<float>((bits >> 16) & 0xFFFFu);
    mouse.mouse_x = px / safe_scale() - screen.screen_area_left - screen.ui_side_margin;
    mouse.mouse_y = py / safe_scale() - screen.screen_area_bottom;
}

bool in_box(float x, float y, float left, float bottom, float right, float top)
{
    return left <= x && x <= right && bottom <= y && y <= top;
}

bool item_choosable(const menu_item_record& item)
{
    return item.text[0] != 0 && item.text[0] != '-' && item.text[0] != '=';
}

// Closing the window: the quit command, so preferences and the logbook are
// saved as when the user quits from the menu. Only switching to flying, as on
// the classic system, would leave the program running with its window gone:
// nothing left to see or to quit from, and the flight's settings never saved.
// Before the program has loaded there is nothing of the user's to save yet:
// it just ends.
void close_requested()
{
    if (!APPLICATION_running()) {
        APPLICATION_abandon_start();
        return;
    }
    if (quit_flag == 0) APPLICATION_handlemenu(QUIT_COMMAND);
}

int key_code_of(int vk)
{
    switch (vk) {
    case 0x25: return KEY_CODE_LEFT;
    case 0x26: return KEY_CODE_UP;
    case 0x27: return KEY_CODE_RIGHT;
    case 0x28: return KEY_CODE_DOWN;
    case 0x61: return 0x5300;
    case 0x62: return 0x5400;
    case 0x63: return 0x5500;
    case 0x64: return 0x5600;
    case 0x65: return 0x5700;
    case 0x66: return 0x5800;
    case 0x68: return 0x5B00;
    case 0x0D: return KEYCODE_RETURN;
    case 0x10: return KEYCODE_SHIFT;
    case 0x08:
    case 0x2E: return KEYCODE_ERASE;
    case 0x70: return 0x7A00;
    case 0x71: return 0x7800;
    case 0x72: return 0x6300;
    case 0x73: return 0x7600;
    case 0x74: return 0x6000;
    case 0x75: return 0x6100;
    case 0x76: return 0x6200;
    case 0x77: return 0x6400;
    case 0x78: return 0x6500;
    case 0x2D: return 0x6D00;   // Insert carries the F10 code
    case 0x7A: return 0x6700;
    case 0x7B: return 0x6F00;
    case 0x09: return KEY_CODE_TAB;
    default: return KEYCODE_NONE;
    }
}

// F1..F9, Insert (as F10), F11, F12 in order: engine controls 50..61.
int function_key_index(int code)
{
    static const int codes[12] = {0x7A00, 0x7800, 0x6300, 0x7600, 0x6000, 0x6100,
                                  0x6200, 0x6400, 0x6500, 0x6D00, 0x6700, 0x6F00};
    for (int i = 0; i < 12; ++i)
        if (codes[i] == code) return i;
    return -1;
}

int base_character(int vk, int language)
{
    int c = vk & 0xFF;
    switch (c) {
    case 0xBD: c = '_'; break;
    case 0xBB: c = '+'; break;
    case 0xDB: c = '{'; break;
    case 0xDD: c = '}'; break;
    case 0xBA: c = ':'; break;
    case 0xBC: c = '<'; break;
    case 0xBE: c = '>'; break;
    case 0xBF: c = '?'; break;
    case 0xC0: c = '`'; break;
    case 0xDC: c = '\\'; break;
    default: break;
    }
    if (language == 1 && c == '6') c = '_';
    return c;
}

int shifted_character(int c)
{
    static const char digits[] = ")!@#$%^&*(";
    if (c >= '0' && c <= '9') return digits[c - '0'];
    if (c == '`') return '~';
    if (c == '\\') return '|';
    return c;
}

int unshifted_character(int c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    switch (c) {
    case '_': return '-';
    case '+': return '=';
    case '{': return '[';
    case '}': return ']';
    case ':': return ';';
    case '<': return ',';
    case '>': return '.';
    case '?': return '/';
    case '~': return '`';
    case '|': return '\\';
    default: return c;
    }
}

// Closes the settings screen: its close boxes drawn pressed and shown at once, then back to flying.
void close_settings_screen()
{
    BTN_draw_close_boxes(1);
    OGL_swap_buffers();
    APPLICATION_set_mode(MODE_FLYING, "MACIBM_handleclick, close the window");
}

// A paint sets the screen up and draws it again. It is no input: the set-up
// would drop a press, an open menu, a field being typed into and the
// pointer's yoke, so a click or a menu opened in the frame whose pump also
// brings a paint (a window uncovered, the size event after an outside
// resize) would be lost, and with the menu silently closed the keys meant
// for it would reach the flight. The mode stays; when the paint moved to
// another screen, that screen starts afresh.
void repaint()
{
    const int32_t mode = app_mode;
    const int32_t menu = screen.open_menu, field = active_text_field, yoke = sim_joystick.mouse_is_joystick;
    const int32_t down = mouse.mouse_down, held = mouse.mouse_held;
    APPLICATION_set_mode(mode, "from update event");
    if (app_mode != mode) return;
    screen.open_menu = menu;
    active_text_field = field;
    sim_joystick.mouse_is_joystick = yoke;
    mouse.mouse_down = down;
    mouse.mouse_held = held;
}

bool is_arrow_code(int code)
{
    return code == KEY_CODE_LEFT || code == KEY_CODE_RIGHT || code == KEY_CODE_UP || code == KEY_CODE_DOWN;
}

// Kept from pump to pump within a frame.
struct pump_state {
    bool pressed = false;   // a press was taken in this frame's pumps
    bool typed = false;     // a key was taken in them while a text field was active
};
pump_state pump;

}  // namespace

ORVELL_RESET_RECORD(WNDPROC_pump_reset, pump, program);

key_meaning MACIBM_key_meaning(int vk, bool shift, bool ctrl, int language)
{
    key_meaning k;
    k.code = key_code_of(vk);

    int c = base_character(vk, language);
    c = shift ? shifted_character(c) : unshifted_character(c);
    k.character = c;

    const int f = function_key_index(k.code);
    if (f >= 0) k.engine_control = 50 + f + (shift ? 12 : 0);

    k.key_class = ctrl ? DISPATCH_CTRL : DISPATCH_PLAIN;
    const bool code_class = k.code == KEY_CODE_TAB || is_arrow_code(k.code) ||
                            (k.code >= 0x5300 && k.code <= 0x5800) || k.code == 0x5B00;
    if (code_class) k.key_class = DISPATCH_SPECIAL;
    if (shift) {
        if (k.code == KEY_CODE_UP) k.code = KEY_CODE_SHIFT_UP;
        else if (k.code == KEY_CODE_LEFT) k.code = KEY_CODE_SHIFT_LEFT;
        else if (k.code == KEY_CODE_DOWN) k.code = KEY_CODE_SHIFT_DOWN;
        else if (k.code == KEY_CODE_RIGHT) k.code = KEY_CODE_SHIFT_RIGHT;
    }
    k.dispatch_key = k.key_class == DISPATCH_SPECIAL ? k.code : k.character;
    return k;
}

void MACIBM_handlekey(int vk)
{
    const bool shift = PLAT_key_state(VK_SHIFT) < 0;
    const bool ctrl = PLAT_key_state(VK_CONTROL) < 0;
    const key_meaning k = MACIBM_key_meaning(vk, shift, ctrl, sim_operation_prefs_misc.language);

    // Keys typed into a file name or a text field, or while a menu is open,
    // are the user's typing or the menu's: none of them flies the aircraft.
    const bool typing = app_mode == MODE_BROWSER_SAVE || active_text_field >= 0;
    const bool kept_from_flight = typing || screen.open_menu >= 0;

    if (k.engine_control != 0) {
        if (!kept_from_flight) KEY_engine_controls(k.engine_control);
        return;
    }

    key_char = k.character;
    if (vk == VK_ESCAPE) {
        // Escape leaves what is open: a menu, else a settings screen or the
        // map (as its close box does); the alert box and the file browser
        // answer it in their loops (as their button and Cancel).
        if (screen.open_menu != -1) {
            if (screen.open_menu == MENU_POPUP) popup_owner = 0;   // a list's pop-up closes unanswered
            screen.open_menu = -1;
            return;
        }
        if (APP_settings_screen_open()) {
            close_settings_screen();
            return;
        }
        escape_pressed = 1;
    }
    if (vk == VK_RETURN && active_text_field >= 0 && app_mode != MODE_BROWSER_SAVE) {
        // Return finishes the field being typed into; its screen stays up, so
        // what is typed next does not reach the flight either.
        active_text_field = -1;
        return;
    }
    if (vk == VK_RETURN) enter_pressed = 1;

    if (!kept_from_flight) KEY_command_dispatch(k.key_class, k.dispatch_key);

    // A file name takes '-' and '_'; elsewhere they are zoom keys, never text.
    const int c = k.character;
    const bool dash = c == '-' || c == '_';
    if (c == '+' || c == '=' || (dash && app_mode != MODE_BROWSER_SAVE) || is_arrow_code(k.code) ||
        (k.code >= KEY_CODE_SHIFT_UP && k.code <= KEY_CODE_SHIFT_RIGHT) || k.code == KEY_CODE_TAB)
        return;

    const size_t length = strnlen(typed_text, TEXT_MAX_LEN);
    const size_t n = length > TEXT_MAX_LEN - 1 ? TEXT_MAX_LEN - 1 : length;   // the last place takes every further key
    if (k.code == KEYCODE_ERASE) {
        // The erase removes the text's last character, also from a full text.
        if (length > 0) typed_text[length - 1] = 0;
    } else if (k.code != KEYCODE_SHIFT && k.code != KEYCODE_RETURN && c >= 0x20) {
        // Control characters (Ctrl, Alt, Escape pressed alone) are keys, not
        // text: appended, they would put an invisible byte into a typed name,
        // and a file saved under it could not be named again.
        typed_text[n] = static_cast<char>(c);
        typed_text[n + 1] = 0;
    }

    // Return runs the click handler; a later key of the same frame (the flag
    // stays set until the frame ends) must not close the screen again.
    if (vk == VK_RETURN) MACIBM_handleclick(1);
}

void MACIBM_handleclick(int close_flag)
{
    const float x = mouse.mouse_x;
    const float y = mouse.mouse_y;

    // A settings screen closes through its corner boxes or Return.
    if (APP_settings_screen_open()) {
        const float w = screen.screen_area_width;
        const float h = screen.screen_area_height;
        const bool left_box = in_box(x, y, 0.0f, h - 20.0f, 25.0f, h);
        const bool right_box = in_box(x, y, w - 25.0f, h - 20.0f, w, h);
        if (left_box || right_box || close_flag != 0) {
            close_settings_screen();
            return;
        }
    }

    // The menu bar and the submenus of the open menu. The bar takes a click
    // only where it is shown: on its bottom line it is not yet drawn, and the
    // ATC window's first row, highlighted there, would lose the click to a
    // menu the pilot never saw.
    if (app_mode == MODE_FLYING && MENU_bar_shown(y)) {
        for (int m = 0; m < MENU_COUNT; ++m) {
            const menu_record& menu = menu_table[m];
            if (menu.parent != -1 && menu.parent != screen.open_menu) continue;
            if (!in_box(x, y, menu.left, menu.bottom, menu.right, menu.top)) continue;
            screen.open_menu = (screen.open_menu == m) ? -1 : m;
            return;
        }
    }

    // An item of the open menu.
    const int open = screen.open_menu;
    // An open menu past the table (set by a peer's command) would read past it.
    if (open >= 0 && open < MENU_COUNT) {
        for (int i = 0; i < MENU_ITEMS; ++i) {
            const menu_item_record& item = menu_table[open].items[i];
            if (!item_choosable(item)) continue;
            if (!in_box(x, y, item.left, item.bottom, item.right, item.top)) continue;
            const int command = item.command;
            if (PLUGIN_call_menu_hook(command) != 0) {
                if (open == MENU_POPUP) {
                    popup_answer = i;
                    popup_answer_owner = popup_owner;
                    popup_owner = 0;
                } else {
                    APPLICATION_handlemenu(command);
                }
            }
            screen.open_menu = -1;
            mouse.mouse_down = 0;
            mouse.mouse_held = 0;
            return;
        }
    }

    // A click that hits no menu closes the open one.
    screen.open_menu = -1;
    if (app_mode != MODE_FLYING || close_flag != 0) return;

    // A click on the head-up display's centre toggles flying by the pointer.
    const acf_struct& acf = pln[0];
    const bool toggled = atc_state.atc_window_open == 0 &&
                         in_box(x, y, acf.acf_HUD_cntrx - 100.0f, acf.acf_HUD_cntry - 100.0f,
                                acf.acf_HUD_cntrx + 100.0f, acf.acf_HUD_cntry + 100.0f);
    if (toggled) sim_joystick.mouse_is_joystick = sim_joystick.mouse_is_joystick == 0 ? 1 : 0;

    // Other controls have the stick.
    bool forced_off = sim_joystick.has_joystick != 0 || sim_joystick.eq_cirrusII_fun != 0 ||
                      sim_joystick.eq_cirrusII_app != 0 || sim_operation_override.override_joystick != 0 ||
                      sim_operation_override.override_artstab != 0 ||
                      sim_operation_override.override_flightcontrol != 0;
    for (int slot = 6; slot <= 9; ++slot) forced_off = forced_off || net_slot_enabled[slot] != 0;
    if (forced_off) sim_joystick.mouse_is_joystick = 0;

    // The click that hands the yoke to the pointer or takes it back leaves the
    // yoke where the click is. The frame's poll runs after the click and, the
    // pointer let go, no longer follows it: a pointer moved to the centre and
    // clicked within one frame would otherwise leave the yoke where the frame
    // before had it, deflected.
    if (toggled && !forced_off) JOY_mouse_yoke(&sim_joystick.yolk_pitch_ratio, &sim_joystick.yolk_roll_ratio);
}

intptr_t MACIBM_wndproc(void* window, uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    (void)window;
    switch (message) {
    case WM_CREATE:
        window_created = 1;
        break;
    case WM_CLOSE:
    case WM_DESTROY:
        close_requested();
        break;
    case WM_PAINT:
        // The screen is set up and drawn again, except while paused. The first
        // paint is marked in every case: the frame loop draws and moves nothing
        // before it, so a program paused before its first paint would hang
        // with an empty window for good.
        if (sim_time.paused == 0) repaint();
        window_painted = 1;
        break;
    case WM_KEYDOWN:
        if (PLUGIN_call_key_press_hook(static_cast<int>(message), static_cast<int>(wparam),
                                       static_cast<int>(lparam)) != 0) {
            MACIBM_handlekey(static_cast<int>(wparam));
            key_pressed = 1;
            key_down = 1;
        }
        break;
    case WM_KEYUP:
        if (PLUGIN_call_key_press_hook(static_cast<int>(message), static_cast<int>(wparam),
                                       static_cast<int>(lparam)) != 0) {
            key_hold_command = 0;
            key_down = 0;
        }
        break;
    case WM_MOUSEMOVE:
        take_pointer(lparam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // This platform may deliver a press without a pointer move before it
        // (the first click into the window): the press's own position is
        // taken, the one a move there would have set.
        take_pointer(lparam);
        if (PLUGIN_call_mouse_click_hook(static_cast<int>(mouse.mouse_x), static_cast<int>(mouse.mouse_y), 1) != 0) {
            mouse.mouse_down = 1;
            mouse.mouse_held = 1;
            mouse_activity_time = frame_clock;
            mouse_press_time = frame_clock;
            MACIBM_handleclick(0);
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        take_pointer(lparam);
        if (PLUGIN_call_mouse_click_hook(static_cast<int>(mouse.mouse_x), static_cast<int>(mouse.mouse_y), 0) != 0) {
            mouse.mouse_released = 1;
            mouse.mouse_held = 0;
            mouse.mouse_panel_drag = 0;
        }
        break;
    case WM_SOCKET_NOTIFY:
        if (lparam == SOCKET_EVENT_READ)
            NET_socket_notify(1);
        else if (lparam == SOCKET_EVENT_WRITE)
            NET_socket_notify(2);
        break;
    default:
        break;
    }
    // This platform has no default window procedure to hand every message on
    // to: its window layer already did what that would do (moving, sizing).
    return 0;
}

void MACIBM_pump_messages(bool same_frame)
{
    PLAT_message m;
    bool& pressed = pump.pressed;
    bool& typed = pump.typed;
    if (!same_frame) pressed = typed = false;
    while (PLAT_peek_message(m)) {
        const bool press = m.message == WM_LBUTTONDOWN || m.message == WM_RBUTTONDOWN;
        const bool release = m.message == WM_LBUTTONUP || m.message == WM_RBUTTONUP;
        if (release && pressed) {
            // A press and its release in one frame: the release and what
            // follows it wait for the next frame, so this frame's widgets and
            // panel see the button held (a knob steps only while it is held)
            // and a click shorter than a frame still clicks.
            PLAT_put_back_message(m);
            return;
        }
        const bool key = m.message == WM_KEYDOWN;
        const bool field = active_text_field >= 0 && app_mode != MODE_BROWSER_SAVE;
        if (key && m.wparam == VK_RETURN && field && typed) {
            // The keys typed into a field reach its text when the field is
            // next drawn; Return ends the field at once. Taken in the frame of
            // the keys before it, Return ended the field before they reached
            // it, and the last characters typed were lost: it and what follows
            // it wait for the next frame, after the field took them.
            PLAT_put_back_message(m);
            return;
        }
        pressed = pressed || press;
        typed = typed || (key && field && m.wparam != VK_RETURN);
        MACIBM_wndproc(PLAT_window_handle(), m.message, m.wparam, m.lparam);
    }
}
