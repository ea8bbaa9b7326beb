#include "tests/support/pilot_kit.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <png.h>

#include <cmath>
#include <ctime>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/text_util.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/screen.h"
#include "core/simvars/joystick.h"
#include "core/simvars/time.h"
#include "core/views.h"
#include "platform/plat_events.h"
#include "scene/camera.h"
#include "scene/scene_state.h"
#include "platform/plat_time.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"

namespace pilot {

namespace {

// Local noon of 15 June 2024 on this machine's clock, whatever its time zone.
int64_t summer_noon()
{
    std::tm day{};
    day.tm_year = 2024 - 1900;
    day.tm_mon = 5;
    day.tm_mday = 15;
    day.tm_hour = 12;
    const std::time_t utc_noon = timegm(&day);
    std::tm local{};
    localtime_r(&utc_noon, &local);
    return static_cast<int64_t>(utc_noon) - local.tm_gmtoff;
}

std::function<bool()> inside_action;
// The aircraft the program started with: its file's name and path.
std::string start_aircraft_name, start_aircraft_path;
start_selection_record start_airport;   // the airport and start the suite began at
// The chase and orbit camera's distance and its smoothing as the suite began.
float start_view_distance = 0.0f;
camera_smoothing_record start_camera_smoothing{};
double inside_step = FRAME_STEP;
int inside_count = 0;
// A frame the kit started moved the clock itself before the frame read it.
bool kit_moved_clock = false;

void clock_read()
{
    ++inside_count;
    if (!inside_action) return;
    if (!kit_moved_clock) test_clock_seconds += inside_step;
    kit_moved_clock = false;
    if (inside_action()) inside_action = nullptr;
}

void push(const SDL_Event& e)
{
    SDL_Event copy = e;
    SDL_PushEvent(&copy);
}

void push_key(key k, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(k.scan);
    e.key.keysym.sym = k.code;
    e.key.keysym.mod = k.mods;
    push(e);
}

// Window pixels of a point in the current screen's interface units.
int pixel_x(float x)
{
    return static_cast<int>(std::lround((x + screen.screen_area_left + screen.ui_side_margin) * screen.ui_scale));
}
int pixel_y(float y)
{
    return static_cast<int>(
        std::lround(static_cast<float>(screen.window_height) - (y + screen.screen_area_bottom) * screen.ui_scale));
}

int pointer_px = 0, pointer_py = 0;

void push_button(bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = pointer_px;
    e.button.y = pointer_py;
    push(e);
}

}  // namespace

key key_for(char c)
{
    if (c >= 'a' && c <= 'z') return {c, SDL_SCANCODE_A + (c - 'a')};
    if (c >= 'A' && c <= 'Z') return {c - 'A' + 'a', SDL_SCANCODE_A + (c - 'A'), KMOD_LSHIFT};
    if (c >= '1' && c <= '9') return {c, SDL_SCANCODE_1 + (c - '1')};
    if (c == '0') return {'0', SDL_SCANCODE_0};
    // The punctuation keys, plain and shifted.
    struct punct {
        char plain, shifted;
        int32_t code, scan;
    };
    static const punct keys[] = {
        {'-', '_', SDLK_MINUS, SDL_SCANCODE_MINUS},
        {'=', '+', SDLK_EQUALS, SDL_SCANCODE_EQUALS},
        {'[', '{', SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET},
        {']', '}', SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET},
        {';', ':', SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON},
        {'\'', '"', SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE},
        {',', '<', SDLK_COMMA, SDL_SCANCODE_COMMA},
        {'.', '>', SDLK_PERIOD, SDL_SCANCODE_PERIOD},
        {'/', '?', SDLK_SLASH, SDL_SCANCODE_SLASH},
        {'`', '~', SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE},
        {'\\', '|', SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH},
        {' ', ' ', SDLK_SPACE, SDL_SCANCODE_SPACE},
    };
    for (const punct& p : keys) {
        if (c == p.plain) return {p.code, p.scan};
        if (c == p.shifted) return {p.code, p.scan, KMOD_LSHIFT};
    }
    static const char shifted_digits[] = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d)
        if (c == shifted_digits[d]) {
            key k = key_for(static_cast<char>('0' + d));
            k.mods = KMOD_LSHIFT;
            return k;
        }
    ADD_FAILURE() << "no key types '" << c << "'";
    return {0, 0};
}

key return_key() { return {SDLK_RETURN, SDL_SCANCODE_RETURN}; }
key tab_key() { return {SDLK_TAB, SDL_SCANCODE_TAB}; }

key arrow_key(char direction)
{
    switch (direction) {
    case 'l': return {SDLK_LEFT, SDL_SCANCODE_LEFT};
    case 'r': return {SDLK_RIGHT, SDL_SCANCODE_RIGHT};
    case 'u': return {SDLK_UP, SDL_SCANCODE_UP};
    default: return {SDLK_DOWN, SDL_SCANCODE_DOWN};
    }
}

key keypad_key(int digit)
{
    if (digit == 0) return {SDLK_KP_0, SDL_SCANCODE_KP_0};
    return {SDLK_KP_1 + (digit - 1), SDL_SCANCODE_KP_1 + (digit - 1)};
}

key function_key(int n) { return {SDLK_F1 + (n - 1), SDL_SCANCODE_F1 + (n - 1)}; }

void press(key k)
{
    push_key(k, true);
    push_key(k, false);
}

void press(char c) { press(key_for(c)); }
void key_down(key k) { push_key(k, true); }
void key_up(key k) { push_key(k, false); }

void move_to(float x, float y)
{
    pointer_px = pixel_x(x);
    pointer_py = pixel_y(y);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = pointer_px;
    e.motion.y = pointer_py;
    push(e);
}

void click_at(float x, float y)
{
    move_to(x, y);
    push_button(true);
    push_button(false);
}

void button_down() { push_button(true); }
void button_up() { push_button(false); }

namespace {

// Clicks the item `item` of the open menu `menu`; false when it has none.
bool click_item(const menu_record& menu, const std::string& item)
{
    for (const menu_item_record& it : menu.items) {
        if (item != it.text) continue;
        click_at(0.5f * (it.left + it.right), 0.5f * (it.bottom + it.top));
        return true;
    }
    return false;
}

}  // namespace

bool choose_menu_item(const std::string& title, const std::string& item, const std::string& sub_item)
{
    for (int m = 0; m < MENU_COUNT; ++m) {
        const menu_record& menu = menu_table[m];
        if (menu.parent != -1 || title != menu.title) continue;
        click_at(0.5f * (menu.left + menu.right), 0.5f * (menu.bottom + menu.top));
        frames(1);   // opens and draws the menu, which places its items
        if (click_item(menu, item)) {
            if (sub_item.empty()) return true;
            frames(1);   // opens and draws the submenu
            for (const menu_record& sub : menu_table)
                if (sub.parent != -1 && item == sub.title) return click_item(sub, sub_item);
        }
        click_at(0.5f * (menu.left + menu.right), 0.5f * (menu.bottom + menu.top));   // closes it again
        return false;
    }
    return false;
}

void frames(int count, double step)
{
    for (int k = 0; k < count; ++k) {
        test_clock_seconds += step;
        kit_moved_clock = true;
        MACIBM_do_frame();
        kit_moved_clock = false;
    }
}

bool frames_until(const std::function<bool()>& done, int limit, double step)
{
    for (int k = 0; k < limit; ++k) {
        frames(1, step);
        if (done()) return true;
    }
    return false;
}

void inside_frames(std::function<bool()> action, double step)
{
    inside_action = std::move(action);
    inside_step = step;
    inside_count = 0;
}

int frames_inside() { return inside_count; }

picture::colour picture::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2]};
}

int picture::count(int x0, int y0, int x1, int y1, const std::function<bool(colour)>& pick) const
{
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) n += pick(at(x, y)) ? 1 : 0;
    return n;
}

int picture::count(const std::function<bool(colour)>& pick) const { return count(0, 0, width, height, pick); }

bool picture::save_png(const std::string& path) const
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // Rows from the bottom up: a negative stride writes them top first.
    const png_int_32 stride = -static_cast<png_int_32>(width * 4);
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), stride, nullptr) != 0;
}

picture read_picture(bool being_drawn)
{
    picture p;
    p.width = screen.window_width;
    p.height = screen.window_height;
    p.rgba.assign(static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(being_drawn ? GL_BACK : GL_FRONT);
    glReadPixels(0, 0, p.width, p.height, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
    glReadBuffer(GL_BACK);
    return p;
}

void use_pilot_clock()
{
    test_calendar = summer_noon;
    test_clock_hook = clock_read;
    use_test_clock();
}

void flying_program::SetUpTestSuite()
{
    use_pilot_clock();
    started_program::SetUpTestSuite();
    sim_time.use_system_time = 1;   // the program's clock follows the calendar: noon
    frames(1);                      // leaves the intro
    start_aircraft_name = pln[0].acf_file_name;
    start_aircraft_path = pln[0].acf_file_path;
    start_airport = start_selection;
    start_view_distance = view_distance;
    start_camera_smoothing = camera_smoothing;
}

void flying_program::TearDownTestSuite()
{
    started_program::TearDownTestSuite();
    inside_action = nullptr;
    test_clock_hook = nullptr;
    test_calendar = nullptr;
}

void flying_program::SetUp()
{
    inside_action = nullptr;
    if (app_mode != MODE_FLYING) APPLICATION_set_mode(MODE_FLYING, "test");
    // An aircraft an earlier test opened gives way to the one the program started with.
    acf_struct& a = pln[0];
    if (start_aircraft_path != a.acf_file_path) {
        UTIL_strcpy(start_aircraft_name.c_str(), a.acf_file_name);
        UTIL_strcpy(start_aircraft_path.c_str(), a.acf_file_path);
        ACF_load_and_setup(0);
        FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    }
    // So does an airport an earlier test started from: the scenery is built
    // around the start airport again, where the tests' poses lie.
    if (start_selection.airport_index != start_airport.airport_index ||
        start_selection.start_index != start_airport.start_index) {
        start_selection = start_airport;
        FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    }
    // And the chase camera's distance: a larger aircraft an earlier test flew
    // left it longer (it never shrinks below a new aircraft's own), which puts
    // the trainer's chase camera elsewhere.
    view_distance = start_view_distance;
    camera_smoothing = start_camera_smoothing;
    screen.open_menu = -1;
    sim_joystick.mouse_is_joystick = 0;
    move_to(4.0f, 740.0f);
    frames(1);
}

void flying_program::TearDown()
{
    inside_action = nullptr;
    PLAT_flush_messages();
}

}  // namespace pilot
