#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "aircraft/acf_struct.h"
#include "graphics/list.h"
#include "links/net_slots.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "world/atc/atc_state.h"
#include "links/plugin_host.h"
#include "shell/commands.h"
#include "platform/plat_window.h"
#include "shell/frame.h"
#include "core/input.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "shell/wndproc.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"

// What a key means, without a window.
TEST(KeyMeaning, CharactersCodesAndEngineControls)
{
    auto meaning = [](int vk, bool shift = false, bool ctrl = false, int language = 0) {
        return MACIBM_key_meaning(vk, shift, ctrl, language);
    };
    const int vks[] = {'A', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                       0xBD, 0xBB, 0xDB, 0xDD, 0xBA, 0xBC, 0xBE, 0xBF, 0xC0, 0xDC};   // and the US punctuation keys
    const char plain[] = "a0123456789-=[];,./`\\", shifted[] = "A)!@#$%^&*(_+{}:<>?~|";
    for (size_t i = 0; i < std::size(vks); ++i) {
        EXPECT_EQ(meaning(vks[i]).character, plain[i]) << std::hex << vks[i];
        EXPECT_EQ(meaning(vks[i], true).character, shifted[i]) << std::hex << vks[i];
    }
    EXPECT_EQ(meaning('6', true, false, 1).character, '_');   // language 1 puts the underscore on the 6
    EXPECT_EQ(meaning('6', false, false, 1).character, '-');

    // Keypad 1..6 and 8 go to the dispatcher by their codes; 7, 9 and 0 by their characters.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(meaning(0x61 + i).dispatch_key, 0x5300 + 0x100 * i);
    EXPECT_EQ(meaning(0x68).key_class, DISPATCH_SPECIAL);
    EXPECT_EQ(meaning(0x68).dispatch_key, 0x5B00);
    EXPECT_EQ(meaning(0x67).key_class, DISPATCH_PLAIN);

    // F1..F12 with Insert standing for F10: engine controls 50..61, 62..73 with Shift.
    const int fkeys[] = {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x2D, 0x7A, 0x7B};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(meaning(fkeys[i]).engine_control, 50 + i);
        EXPECT_EQ(meaning(fkeys[i], true).engine_control, 62 + i);
    }
    EXPECT_EQ(meaning(VK_F10).engine_control, 0);

    // Arrows and Tab are codes; Shift turns the arrows into 50000..50003.
    EXPECT_EQ(meaning(VK_UP).dispatch_key, KEY_CODE_UP);
    EXPECT_EQ(meaning(VK_RIGHT, true).dispatch_key, 50003);
    EXPECT_EQ(meaning(VK_TAB, false, true).key_class, DISPATCH_SPECIAL);
    EXPECT_EQ(meaning('C', false, true).key_class, DISPATCH_CTRL);
    EXPECT_EQ(meaning(VK_DELETE).code, KEYCODE_ERASE);
}

// While zoomed, the window range widens by 200 units a side across and by 300
// units below only; the maps take it onto the 1024 x 768 interface and back.
TEST(ZoomMaps, WidenedRangeMapsOntoTheInterface)
{
    const float kept = screen.ui_zoom;
    struct row { float z, wx, ux, wy, uy; };
    for (const row& r : {row{1, -200, 0, -300, 0}, {1, 1224, 1024, 768, 768}, {1, 512, 512, 234, 384},
                         {0.5f, -100, 0, -150, 0}, {0.5f, 1124, 1024, 768, 768}, {0, 300, 300, 200, 200}}) {
        screen.ui_zoom = r.z;
        EXPECT_FLOAT_EQ(MACIBM_window_to_ui_x(r.wx), r.ux) << r.z << " " << r.wx;
        EXPECT_FLOAT_EQ(MACIBM_window_to_ui_y(r.wy), r.uy) << r.z << " " << r.wy;
        EXPECT_FLOAT_EQ(MACIBM_ui_to_window_x(r.ux), r.wx) << r.z << " " << r.ux;
        EXPECT_FLOAT_EQ(MACIBM_ui_to_window_y(r.uy), r.wy) << r.z << " " << r.uy;
    }
    screen.ui_zoom = kept;
}

// Input into the running program.
namespace {

class WindowInput : public started_program {
protected:
    static void SetUpTestSuite()
    {
        started_program::SetUpTestSuite();
        test_clock_seconds += 0.05;
        MACIBM_do_frame();   // leaves the intro; the window is painted
    }
    void SetUp() override
    {
        if (app_mode != MODE_FLYING) APPLICATION_set_mode(MODE_FLYING, "test");
        mouse.mouse_down = mouse.mouse_released = 0;   // the edges an earlier test's pumps left, as a frame clears them
        typed_text[0] = 0;
        active_text_field = -1;
    }
    void TearDown() override
    {
        active_text_field = -1;
        PLUGIN_host_reset();
        screen.open_menu = -1;
        PLAT_flush_messages();   // a release or a size event still queued belongs to this test alone
    }
    static void click_at(float x, float y)
    {
        post_click(x, y);
        MACIBM_pump_messages();
    }
};

}  // namespace

TEST_F(WindowInput, ShiftedKeysFunctionKeysAndTheKeypadReachTheirCodes)
{
    active_text_field = 0;   // a text field takes the typing, the key commands stay out
    push_key_press(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    push_key_press(SDLK_b, SDL_SCANCODE_B);
    push_key_press(SDLK_1, SDL_SCANCODE_1);
    push_key_press(SDLK_1, SDL_SCANCODE_1, KMOD_RSHIFT);
    push_key_press(SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, KMOD_LSHIFT);
    push_key_press(SDLK_EQUALS, SDL_SCANCODE_EQUALS, KMOD_LSHIFT);   // '+' never reaches the text
    push_key_press(SDLK_MINUS, SDL_SCANCODE_MINUS);                  // nor does '-'
    MACIBM_pump_messages();
    EXPECT_STREQ(typed_text, "Ab1!|");
    EXPECT_EQ(key_char, '-');
    EXPECT_EQ(key_pressed, 1);
    EXPECT_EQ(key_down, 0);   // released again

    // The keypad by its place; its character is the key code's low byte.
    push_key_press(SDLK_KP_2, SDL_SCANCODE_KP_2);
    MACIBM_pump_messages();
    EXPECT_EQ(key_char, 'b');

    // Function keys go to the engine controls only.
    key_char = 0;
    push_key_press(SDLK_F5, SDL_SCANCODE_F5);
    MACIBM_pump_messages();
    EXPECT_EQ(key_char, 0);
    EXPECT_STREQ(typed_text, "Ab1!|b");

    // A file name takes the underscore, the dash, the point and the space.
    app_mode = MODE_BROWSER_SAVE, typed_text[0] = 0;
    push_key_press(SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_LSHIFT);
    for (auto [key, scan] : {std::pair{SDLK_MINUS, SDL_SCANCODE_MINUS}, {SDLK_PERIOD, SDL_SCANCODE_PERIOD},
                             {SDLK_SPACE, SDL_SCANCODE_SPACE}, {SDLK_a, SDL_SCANCODE_A}})
        push_key_press(key, scan);
    MACIBM_pump_messages();
    EXPECT_STREQ(typed_text, "_-. a");
    app_mode = MODE_FLYING;
}

// Keys typed into a text field or with a menu open fly nothing (no view, yoke,
// throttle or ATC window); Return finishes the field, and its screen stays up
// so that the digits typed next stay off the flight as well.
TEST_F(WindowInput, KeysTypedIntoAFieldOrAMenuFlyNothing)
{
    APPLICATION_handlemenu(VIEW_FORWARD);
    sim_joystick.yolk_pitch_ratio = 0.0f, flt[0].ENGN_thro[0] = 0.2f;
    mouse.mouse_x = -50.0f, mouse.mouse_y = -50.0f;   // on no menu
    auto flown = [] {
        return std::tuple(sim_graphics_view.view_type, sim_joystick.yolk_pitch_ratio, flt[0].ENGN_thro[0],
                          atc_state.atc_window_open);
    };
    const auto before = flown();
    for (int32_t* held : {&active_text_field, &screen.open_menu}) {
        *held = 3;
        for (int vk : {int{'8'}, 0x68, 0x71, VK_RETURN}) MACIBM_handlekey(vk);   // chase view, keypad 8, F2, Return
        EXPECT_EQ(flown(), before);
        EXPECT_EQ(*held, -1);   // the field finished, the menu closed
    }
    APPLICATION_set_mode(MODE_NETWORK, "test");
    active_text_field = 3;
    for (int vk : {VK_RETURN, int{'8'}, int{'9'}}) MACIBM_handlekey(vk);
    EXPECT_EQ(app_mode, MODE_NETWORK);
    APPLICATION_set_mode(MODE_FLYING, "test");
    EXPECT_EQ(flown(), before);
}

// Keys typed in the same frame as the Return after them reach the field:
// the field takes the typed text when it is drawn, so Return waits for the
// next frame rather than ending the field before that.
TEST_F(WindowInput, KeysTypedJustBeforeReturnReachTheField)
{
    APPLICATION_set_mode(MODE_FLIGHT_PLAN, "test");
    atc_state.atc_plan_to_id[0] = 0;
    active_text_field = 1;   // the destination, as a click on it leaves it
    typed_text[0] = 0;
    for (auto [key, scan] : {std::pair{SDLK_k, SDL_SCANCODE_K}, {SDLK_o, SDL_SCANCODE_O}, {SDLK_n, SDL_SCANCODE_N},
                             {SDLK_t, SDL_SCANCODE_T}, {SDLK_RETURN, SDL_SCANCODE_RETURN}})
        push_key_press(key, scan);
    for (int k = 0; k < 2; ++k) {
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
    }
    EXPECT_STREQ(atc_state.atc_plan_to_id, "KONT");
    EXPECT_EQ(active_text_field, -1);   // and Return ended the field
    EXPECT_EQ(app_mode, MODE_FLIGHT_PLAN);
    APPLICATION_set_mode(MODE_FLYING, "test");
}

TEST_F(WindowInput, TypedTextStopsAtItsLastPlace)
{
    active_text_field = 0;
    MACIBM_handlekey(VK_BACK);   // nothing to erase
    EXPECT_STREQ(typed_text, "");
    for (int i = 0; i < 520; ++i) MACIBM_handlekey(i < 499 ? 'A' : 'B');
    EXPECT_EQ(std::string(typed_text).size(), 499u);
    EXPECT_EQ(typed_text[498], 'b');   // the last place takes every further character
    MACIBM_handlekey(VK_BACK);        // one character, also from a full text
    EXPECT_EQ(std::string(typed_text).size(), 498u);
    typed_text[0] = 0;
    MACIBM_handlekey(VK_CONTROL);     // a modifier alone is not text
    MACIBM_handlekey(VK_ESCAPE);
    EXPECT_STREQ(typed_text, "");
}

TEST_F(WindowInput, ClicksAndReturnCloseASettingsScreen)
{
    click_at(50.0f, 60.0f);
    // Down and held in this frame; the release waits for the next.
    EXPECT_EQ(std::tuple(mouse.mouse_x, mouse.mouse_y, mouse.mouse_down, mouse.mouse_released, mouse.mouse_held),
              std::tuple(50.0f, 60.0f, 1, 0, 1));
    EXPECT_FLOAT_EQ(mouse_press_time, frame_clock);
    MACIBM_pump_messages();
    EXPECT_EQ(std::tuple(mouse.mouse_released, mouse.mouse_held), std::tuple(1, 0));

    APPLICATION_set_mode(12, "test");
    const float h = screen.screen_area_height, w = screen.screen_area_width;
    mouse.mouse_y = h - 20.0f;
    mouse.mouse_x = 25.01f;   // just outside the left box
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, 12);
    mouse.mouse_x = 25.0f;    // its corner, then just below the boxes on either side
    for (float x : {25.0f, w - 25.0f}) {
        mouse.mouse_x = x, mouse.mouse_y = h - 20.01f;
        MACIBM_handleclick(0);
        EXPECT_EQ(app_mode, 12) << x;
    }
    mouse.mouse_x = 25.0f, mouse.mouse_y = h - 20.0f;
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, MODE_FLYING);

    APPLICATION_set_mode(12, "test");
    mouse.mouse_x = w - 25.01f;   // just outside the right box
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, 12);
    click_at(w - 10.0f, h - 5.0f);   // the right box
    EXPECT_EQ(app_mode, MODE_FLYING);
    APPLICATION_set_mode(12, "test");
    mouse.mouse_x = w - 25.0f, mouse.mouse_y = h - 20.0f;   // its corner
    MACIBM_handleclick(0);
    EXPECT_EQ(app_mode, MODE_FLYING);
    for (int vk : {VK_RETURN, VK_ESCAPE}) {
        APPLICATION_set_mode(12, "test");
        MACIBM_handlekey(vk);
        EXPECT_EQ(app_mode, MODE_FLYING);
    }
}

// A flying click within 100 units of the head-up display's centre (edges
// included) hands the yoke to the pointer or takes it back, unless the ATC
// window is up; any other control that has the stick takes it away again.
TEST_F(WindowInput, TheHeadUpCentreTogglesThePointerYokeUnlessAnotherControlHasIt)
{
    acf_struct& a = pln[0];
    const float kept_x = a.acf_HUD_cntrx, kept_y = a.acf_HUD_cntry;
    a.acf_HUD_cntrx = 500.0f;
    a.acf_HUD_cntry = 380.0f;
    struct click { float x, y; int atc_open, before, after; };
    const click clicks[] = {
        {600.0f, 380.0f, 0, 0, 1}, {400.0f, 480.0f, 0, 1, 0}, {500.0f, 280.0f, 0, 0, 1},
        {600.5f, 380.0f, 0, 1, 1}, {500.0f, 279.5f, 0, 0, 0}, {500.0f, 380.0f, 1, 0, 0},
        {500.0f, 380.0f, 0, 7, 0},
    };
    for (const click& c : clicks) {
        atc_state.atc_window_open = c.atc_open;
        sim_joystick.mouse_is_joystick = c.before;
        mouse.mouse_x = c.x;
        mouse.mouse_y = c.y;
        MACIBM_handleclick(0);
        EXPECT_EQ(sim_joystick.mouse_is_joystick, c.after) << c.x << "," << c.y << " atc " << c.atc_open;
    }
    atc_state.atc_window_open = 0;

    int32_t* takers[] = {&sim_joystick.has_joystick, &sim_joystick.eq_cirrusII_fun, &sim_joystick.eq_cirrusII_app,
                         &sim_operation_override.override_joystick, &sim_operation_override.override_artstab,
                         &sim_operation_override.override_flightcontrol, &net_slot_enabled[6], &net_slot_enabled[9]};
    for (int32_t* taker : takers) {
        const int32_t kept = *taker;
        *taker = 1;
        sim_joystick.mouse_is_joystick = 0;
        mouse.mouse_x = 500.0f;
        mouse.mouse_y = 380.0f;
        MACIBM_handleclick(0);
        EXPECT_EQ(sim_joystick.mouse_is_joystick, 0) << taker - takers[0];
        *taker = kept;
    }
    mouse.mouse_x = 100.0f;   // away from the head-up display: nothing changes
    sim_joystick.mouse_is_joystick = 1;
    MACIBM_handleclick(0);
    EXPECT_EQ(sim_joystick.mouse_is_joystick, 1);
    sim_joystick.mouse_is_joystick = 0;
    a.acf_HUD_cntrx = kept_x;
    a.acf_HUD_cntry = kept_y;
}

TEST_F(WindowInput, MenuItemRunsThroughThePluginHookThenTheCommand)
{
    constexpr int MENU = 900;
    MACIBM_create_menu(MENU, 0, "Test");
    append_menu(MENU, 0, 1206, "Click spots", 0);
    append_menu(MENU, 1, 1206, "-", 0);
    const menu_record& m = menu_table[MENU];
    const menu_item_record& item = m.items[0];
    auto click_title = [&] { click_at((m.left + m.right) / 2, (m.bottom + m.top) / 2); };
    auto click_item = [&] { click_at((item.left + item.right) / 2, (item.bottom + item.top) / 2); };

    const int before = sim_graphics_misc.show_panel_click_spots;
    click_title();
    EXPECT_EQ(screen.open_menu, MENU);
    MACIBM_do_frame();   // drawn with its items
    click_item();
    EXPECT_EQ(screen.open_menu, -1);
    EXPECT_NE(sim_graphics_misc.show_panel_click_spots, before);

    // A plug-in that takes the command: nothing runs, the menu closes all the same.
    plugin_host.entries.menu = [](int) { return 0; };   // a plug-in manager that takes every command
    click_title();
    click_item();
    EXPECT_EQ(screen.open_menu, -1);
    EXPECT_NE(sim_graphics_misc.show_panel_click_spots, before);

    // A second click on the open title closes it.
    click_title();
    click_title();
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

// A window made smaller from outside goes back to the size the picture and
// the menus are laid out for, and takes the next click.
TEST_F(WindowInput, AWindowResizedFromOutsideKeepsItsSize)
{
    SDL_Window* w = static_cast<SDL_Window*>(PLAT_window_handle());
    ASSERT_NE(w, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(w, &width, &height);
    SDL_SetWindowSize(w, width - 224, height - 168);
    MACIBM_pump_messages();
    int now_width = 0, now_height = 0;
    SDL_GetWindowSize(w, &now_width, &now_height);
    EXPECT_EQ(now_width, width);
    EXPECT_EQ(now_height, height);
    // The paint of the size put back comes a frame later: a menu opened by a
    // click in between stays open.
    const menu_record& file = menu_table[0];
    click_at((file.left + file.right) / 2, (file.bottom + file.top) / 2);
    MACIBM_pump_messages();
    EXPECT_EQ(screen.open_menu, 0);
}
