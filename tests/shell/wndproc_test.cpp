#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "graphics/list.h"
#include "links/plugin_hooks_standin.h"
#include "shell/frame.h"
#include "shell/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "shell/wndproc.h"
#include "tests/shell/startup_program.h"

// ---------------------------------------------------------------------------
// What a key means, without a window.

TEST(KeyMeaning, CharactersWithAndWithoutShift)
{
    auto ch = [](int vk, bool shift, int language = 0) { return MACIBM_key_meaning(vk, shift, false, language).character; };
    EXPECT_EQ(ch('A', false), 'a');
    EXPECT_EQ(ch('A', true), 'A');
    const char shifted_digits[] = ")!@#$%^&*(";
    for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(ch('0' + d, false), '0' + d);
        EXPECT_EQ(ch('0' + d, true), shifted_digits[d]);
    }
    // The US punctuation keys.
    const int vks[] = {0xBD, 0xBB, 0xDB, 0xDD, 0xBA, 0xBC, 0xBE, 0xBF, 0xC0, 0xDC};
    const char plain[] = "-=[];,./`\\", shifted[] = "_+{}:<>?~|";
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ch(vks[i], false), plain[i]) << std::hex << vks[i];
        EXPECT_EQ(ch(vks[i], true), shifted[i]) << std::hex << vks[i];
    }
    // Language 1 puts the underscore on the 6.
    EXPECT_EQ(ch('6', true, 0), '^');
    EXPECT_EQ(ch('6', true, 1), '_');
    EXPECT_EQ(ch('6', false, 1), '-');
}

TEST(KeyMeaning, CodesClassesAndEngineControls)
{
    // Keypad 1..6 and 8 go to the dispatcher by their codes; 7, 9 and 0 by their characters.
    const int keypad_codes[] = {0x5300, 0x5400, 0x5500, 0x5600, 0x5700, 0x5800};
    for (int i = 0; i < 6; ++i) {
        const key_meaning k = MACIBM_key_meaning(0x61 + i, false, false, 0);
        EXPECT_EQ(k.key_class, DISPATCH_SPECIAL);
        EXPECT_EQ(k.dispatch_key, keypad_codes[i]);
    }
    EXPECT_EQ(MACIBM_key_meaning(0x68, false, false, 0).dispatch_key, 0x5B00);
    EXPECT_EQ(MACIBM_key_meaning(0x67, false, false, 0).key_class, DISPATCH_PLAIN);

    // F1..F12 with Insert standing for F10: engine controls 50..61, 62..73 with Shift.
    const int fkeys[] = {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x2D, 0x7A, 0x7B};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(MACIBM_key_meaning(fkeys[i], false, false, 0).engine_control, 50 + i);
        EXPECT_EQ(MACIBM_key_meaning(fkeys[i], true, false, 0).engine_control, 62 + i);
    }
    EXPECT_EQ(MACIBM_key_meaning(0x2D, true, false, 0).engine_control, 71);
    EXPECT_EQ(MACIBM_key_meaning(VK_F10, false, false, 0).engine_control, 0);

    // Arrows and Tab are codes; Shift turns the arrows into 50000..50003.
    EXPECT_EQ(MACIBM_key_meaning(VK_UP, false, false, 0).dispatch_key, KEY_CODE_UP);
    EXPECT_EQ(MACIBM_key_meaning(VK_UP, true, false, 0).dispatch_key, KEY_CODE_SHIFT_UP);
    EXPECT_EQ(MACIBM_key_meaning(VK_LEFT, true, false, 0).dispatch_key, KEY_CODE_SHIFT_LEFT);
    EXPECT_EQ(MACIBM_key_meaning(VK_DOWN, true, false, 0).dispatch_key, KEY_CODE_SHIFT_DOWN);
    EXPECT_EQ(MACIBM_key_meaning(VK_RIGHT, true, false, 0).dispatch_key, KEY_CODE_SHIFT_RIGHT);
    EXPECT_EQ(MACIBM_key_meaning(VK_TAB, false, true, 0).key_class, DISPATCH_SPECIAL);
    EXPECT_EQ(MACIBM_key_meaning('C', false, true, 0).key_class, DISPATCH_CTRL);
    EXPECT_EQ(MACIBM_key_meaning(VK_DELETE, false, false, 0).code, KEYCODE_ERASE);
}

TEST(CoordinateMaps, ZoomWidensTheRange)
{
    const float kept = screen.ui_zoom;
    screen.ui_zoom = 0.0f;
    EXPECT_FLOAT_EQ(MACIBM_window_to_ui_x(300.0f), 300.0f);
    EXPECT_FLOAT_EQ(MACIBM_ui_to_window_y(200.0f), 200.0f);
    for (float z : {0.25f, 1.0f}) {
        screen.ui_zoom = z;
        EXPECT_FLOAT_EQ(MACIBM_window_to_ui_y(768.0f), 768.0f);
        EXPECT_NEAR(MACIBM_window_to_ui_y(-300.0f * z), 0.0f, 1e-4f);
        EXPECT_NEAR(MACIBM_window_to_ui_x(-200.0f * z), 0.0f, 1e-4f);
        EXPECT_NEAR(MACIBM_window_to_ui_x(1024.0f + 200.0f * z), 1024.0f, 1e-3f);
        EXPECT_NEAR(MACIBM_ui_to_window_x(MACIBM_window_to_ui_x(123.0f)), 123.0f, 1e-3f);
        EXPECT_NEAR(MACIBM_ui_to_window_y(MACIBM_window_to_ui_y(456.0f)), 456.0f, 1e-3f);
    }
    screen.ui_zoom = kept;
}

// ---------------------------------------------------------------------------
// Input into the running program.

namespace {

class WindowInput : public ::testing::Test {
protected:
    static std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite()
    {
        folder = copy_default_data_folder();
        start_program_in(*folder);
        test_clock_seconds += 0.05;
        MACIBM_do_frame();   // leaves the intro; the window is painted
    }
    static void TearDownTestSuite()
    {
        stop_program();
        folder.reset();
    }
    void SetUp() override
    {
        if (app_mode != MODE_FLYING) APPLICATION_set_mode(MODE_FLYING, "test");
        typed_text[0] = 0;
        active_text_field = -1;
        plugin_standin_menu_hook_answer = 1;
    }
    void TearDown() override
    {
        active_text_field = -1;
        plugin_standin_menu_hook_answer = 1;
        screen.open_menu = -1;
    }

    static void push_key(SDL_Keycode key, SDL_Scancode scan, Uint16 mod)
    {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym = SDL_Keysym{scan, key, mod, 0};
        SDL_PushEvent(&e);
        e.type = SDL_KEYUP;
        e.key.state = SDL_RELEASED;
        SDL_PushEvent(&e);
    }
    // A press and release at an interface point of the current screen.
    static void click_at(float x, float y)
    {
        const float s = screen.ui_scale;
        const int px = static_cast<int>((x + screen.screen_area_left + screen.ui_side_margin) * s + 0.5f);
        const int py = static_cast<int>(static_cast<float>(screen.window_height) - (y + screen.screen_area_bottom) * s + 0.5f);
        const intptr_t l = (px & 0xFFFF) | ((py & 0xFFFF) << 16);
        MACIBM_wndproc(nullptr, WM_MOUSEMOVE, 0, l);
        MACIBM_wndproc(nullptr, WM_LBUTTONDOWN, 0, l);
        MACIBM_wndproc(nullptr, WM_LBUTTONUP, 0, l);
    }
};
std::unique_ptr<temp_folder> WindowInput::folder;

}  // namespace

TEST_F(WindowInput, ShiftedKeysReachTheirCharacters)
{
    active_text_field = 0;   // a text field takes the typing, the key commands stay out
    push_key(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    push_key(SDLK_b, SDL_SCANCODE_B, KMOD_NONE);
    push_key(SDLK_1, SDL_SCANCODE_1, KMOD_NONE);
    push_key(SDLK_1, SDL_SCANCODE_1, KMOD_RSHIFT);
    push_key(SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, KMOD_LSHIFT);
    push_key(SDLK_EQUALS, SDL_SCANCODE_EQUALS, KMOD_LSHIFT);   // '+' never reaches the text
    push_key(SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_NONE);       // nor does '-'
    MACIBM_pump_messages();
    EXPECT_STREQ(typed_text, "Ab1!|");
    EXPECT_EQ(key_char, '-');
    EXPECT_EQ(key_pressed, 1);
    EXPECT_EQ(key_down, 0);   // released again

    // The keypad by its place; its character is the key code's low byte.
    push_key(SDLK_KP_2, SDL_SCANCODE_KP_2, KMOD_NONE);
    MACIBM_pump_messages();
    EXPECT_EQ(key_char, 'b');

    // Function keys go to the engine controls only.
    key_char = 0;
    push_key(SDLK_F5, SDL_SCANCODE_F5, KMOD_NONE);
    MACIBM_pump_messages();
    EXPECT_EQ(key_char, 0);
    EXPECT_STREQ(typed_text, "Ab1!|b");
}

TEST_F(WindowInput, TypedTextEditing)
{
    active_text_field = 0;
    MACIBM_handlekey(VK_BACK);   // nothing to erase
    EXPECT_STREQ(typed_text, "");
    for (int i = 0; i < 520; ++i) MACIBM_handlekey(i < 499 ? 'A' : 'B');
    EXPECT_EQ(std::string(typed_text).size(), 499u);
    EXPECT_EQ(typed_text[498], 'b');   // the last place takes every further character
    MACIBM_handlekey(VK_BACK);   // one character, also from a full text
    EXPECT_EQ(std::string(typed_text).size(), 498u);
    EXPECT_EQ(typed_text[497], 'a');
    typed_text[0] = 0;
    MACIBM_handlekey(VK_CONTROL);   // a modifier alone is not text
    MACIBM_handlekey(VK_ESCAPE);
    EXPECT_STREQ(typed_text, "");
}

TEST_F(WindowInput, PointerAndButtons)
{
    click_at(50.0f, 60.0f);
    EXPECT_FLOAT_EQ(mouse.mouse_x, 50.0f);
    EXPECT_FLOAT_EQ(mouse.mouse_y, 60.0f);
    EXPECT_EQ(mouse.mouse_down, 1);
    EXPECT_EQ(mouse.mouse_released, 1);
    EXPECT_EQ(mouse.mouse_held, 0);
    EXPECT_FLOAT_EQ(mouse_press_time, frame_clock);
}

TEST_F(WindowInput, CloseBoxesAndReturnCloseASettingsScreen)
{
    APPLICATION_set_mode(12, "test");
    const float h = screen.screen_area_height, w = screen.screen_area_width;
    mouse.mouse_x = 25.01f;        // just outside the left box
    mouse.mouse_y = h - 20.0f;
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, 12);
    mouse.mouse_x = 25.0f;         // its corner
    mouse.mouse_y = h - 20.0f;
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, MODE_FLYING);

    APPLICATION_set_mode(12, "test");
    click_at(w - 10.0f, h - 5.0f);   // the right box
    EXPECT_EQ(app_mode, MODE_FLYING);

    APPLICATION_set_mode(12, "test");
    MACIBM_handlekey(VK_RETURN);
    EXPECT_EQ(app_mode, MODE_FLYING);
}

TEST_F(WindowInput, MenuItemRunsThroughThePluginHookThenTheCommand)
{
    constexpr int MENU = 900;
    MACIBM_create_menu(MENU, 0, "Test");
    append_menu(MENU, 0, 1206, "Click spots", 0);
    append_menu(MENU, 1, 1206, "-", 0);
    const menu_record& m = menu_table[MENU];
    const menu_item_record& item = m.items[0];
    const float title_x = (m.left + m.right) / 2, title_y = (m.bottom + m.top) / 2;
    const float item_x = (item.left + item.right) / 2, item_y = (item.bottom + item.top) / 2;

    const int before = sim_graphics_misc.show_panel_click_spots;
    click_at(title_x, title_y);
    EXPECT_EQ(screen.open_menu, MENU);
    MACIBM_do_frame();   // drawn with its items
    click_at(item_x, item_y);
    EXPECT_EQ(screen.open_menu, -1);
    EXPECT_NE(sim_graphics_misc.show_panel_click_spots, before);

    // A plug-in that takes the command: nothing runs, the menu closes all the same.
    plugin_standin_menu_hook_answer = 0;
    click_at(title_x, title_y);
    click_at(item_x, item_y);
    EXPECT_EQ(screen.open_menu, -1);
    EXPECT_NE(sim_graphics_misc.show_panel_click_spots, before);

    // A second click on the open title closes it; a separator is never chosen.
    click_at(title_x, title_y);
    click_at(title_x, title_y);
    EXPECT_EQ(screen.open_menu, -1);
    menu_table[MENU].title[0] = 0;
    for (menu_item_record& it : menu_table[MENU].items) it.text[0] = 0;
}

TEST_F(WindowInput, PaintIsMarkedEvenWhilePaused)
{
    sim_time.paused = 1;
    window_painted = 0;
    MACIBM_wndproc(nullptr, WM_PAINT, 0, 0);
    EXPECT_EQ(window_painted, 1);
    sim_time.paused = 0;
}
