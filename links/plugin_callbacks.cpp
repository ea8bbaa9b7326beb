// The host table's screen, graphics, aircraft, command and menu callbacks
// (slots 0..33), and the table itself. Every value a plug-in passes that
// indexes one of our tables is checked first: a value outside it is ignored
// (or answers 0), texts are cut to their fields.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "graphics/font.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/joystick.h"
#include "links/plugin_host.h"
#include "links/plugin_nav.h"
#include "links/plugin_threads.h"
#include "links/speech.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"

ORPM_host_table PLUGIN_host_table;

namespace {

constexpr float MENU_BAR_LINE = MENU_BAR_BOTTOM;
constexpr int FIRST_FREE_TEXTURE = 4942;   // one past the program's highest texture slot
constexpr int PLUGIN_FONTS = 8;
constexpr int PLUGIN_COMMANDS = 94;
constexpr int PROGRAM_VERSION = 710;
constexpr int INTERFACE_VERSION = 1;
constexpr int PLUGIN_PLANES = 10;
constexpr int MENU_LAST_PLUGIN = MENU_COUNT - 1;
constexpr int TEXT_FIELD = 500;            // aircraft path and file-name fields

constexpr std::array<int, PLUGIN_FONTS> FONT_PROPORTIONAL = {100, 101, 103, 105, 105, 109, 110, 111};
constexpr std::array<int, PLUGIN_FONTS> FONT_FIXED = {107, 107, 107, 107, 108, 109, 110, 111};
constexpr std::array<int, PLUGIN_FONTS> FONT_WIDTH = {6, 7, 6, 6, 10, 6, 6, 6};
constexpr std::array<int, PLUGIN_FONTS> FONT_HEIGHT = {10, 10, 10, 10, 10, 11, 11, 11};

// Plug-in command n to the key-assignment slot and to the joystick button function.
constexpr std::array<int, PLUGIN_COMMANDS> COMMAND_KEY_SLOT = [] {
    std::array<int, PLUGIN_COMMANDS> t{};
    const int head[21] = {0, 1, 2, 3, 4, 5, 7, 8, 0, 9, 10, 13, 11, 18, 12, 18, 15, 14, 20, 94, 95};
    for (int n = 0; n < 21; ++n) t[n] = head[n];
    for (int n = 21; n <= 87; ++n) t[n] = n + 1;
    t[88] = 0;
    for (int n = 89; n <= 92; ++n) t[n] = n;
    t[93] = 6;
    return t;
}();
constexpr int command_button_code(int n) { return n <= 57 ? n : n == 58 ? 93 : n - 1; }

// The address in the plug-in that a host service returns to: names the
// plug-in whose call from another thread is queued or refused. Used in the
// services themselves, which plug-ins call through the table.
#define PLUGIN_CALLER __builtin_return_address(0)
// A drawing or state call from a thread other than the frames' is refused:
// the drawing context and the state caches are the main thread's.
#define REFUSED_OFF_MAIN_THREAD(answer)                                                                               \
    if (!PLUGIN_on_main_thread()) {                                                                                    \
        PLUGIN_refuse_call(PLUGIN_CALLER);                                                                             \
        return answer;                                                                                                 \
    }

constexpr std::array<int, 7> LANGUAGES = {-1, 0, 1, 2, 3, 4, 5};

float line_of_menu_bar() { return screen.ui_top_margin + MENU_BAR_LINE; }

// Copies a text into a field of `size` bytes, always terminated.
void copy_text(char* out, const char* in, size_t size)
{
    if (out == nullptr || size == 0) return;
    size_t n = 0;
    if (in) n = strnlen(in, size - 1);
    if (n) std::memcpy(out, in, n);
    out[n] = 0;
}

// The local frame's centre on the current planet, degrees.
void frame_centre(double& lat, double& lon)
{
    const bool mars = sim_graphics_scenery.current_planet == 1;
    lat = lat_ref + (mars ? 2.5 : 1.0);
    lon = lon_ref + (mars ? 3.0 : 1.5);
}

// ---- slots 0..5 -----------------------------------------------------------
void PLUGIN_host_get_screen_size(int* width, int* height)
{
    if (width) *width = static_cast<int>(screen.screen_area_width);
    if (height) *height = static_cast<int>(screen.screen_area_height);
}

void PLUGIN_host_get_mouse(int* x, int* y, int with_menu_bar)
{
    if (x) *x = static_cast<int>(mouse.mouse_x);
    if (y) {
        const float line = line_of_menu_bar();
        *y = static_cast<int>(mouse.mouse_y > line && with_menu_bar == 0 ? line : mouse.mouse_y);
    }
}

void PLUGIN_host_set_graphics_state(int fog, int texture_units, int lighting, int flag_a, int flag_b, int depth_test,
                        int depth_write)
{
    REFUSED_OFF_MAIN_THREAD()
    const int transparency = flag_a ? (flag_b ? 7 : 6) : (flag_b ? 5 : 4);
    // A unit count past the units the state setter keeps would index past its cache: held to 0..4.
    OGL_set_state(fog ? 0 : 1, std::clamp(texture_units, 0, TEX_UNITS_CACHED), lighting ? 2 : 3, transparency,
                  depth_test ? 8 : 9, depth_write ? 10 : 11);
}

// Raised for the length of a plug-in's bind.
int plugin_binding_flag = 0;
void PLUGIN_binding_reset() { plugin_binding_flag = 0; }
ORVELL_RESET(PLUGIN_binding_reset, program);

// The texture binder keeps the cache of what each unit holds.
void PLUGIN_host_bind_texture(int texture, int unit)
{
    REFUSED_OFF_MAIN_THREAD()
    plugin_binding_flag = 1;
    OGL_bind_tex(texture, unit);
    plugin_binding_flag = 0;
}

void PLUGIN_host_gen_tex_ids(int* out, int count)
{
    if (out == nullptr || count <= 0) return;
    REFUSED_OFF_MAIN_THREAD()
    int candidate = FIRST_FREE_TEXTURE;
    for (int i = 0; i < count; ++i) {
        while (glIsTexture(static_cast<GLuint>(candidate))) ++candidate;
        out[i] = candidate++;
    }
}

int PLUGIN_host_get_texture(int kind)
{
    constexpr int slots[3] = {444, 400, 401};
    return kind >= 0 && kind < 3 ? slots[kind] : 0;
}

// ---- slots 8..13 ----------------------------------------------------------
void PLUGIN_host_draw_dark_box(int left, int top, int right, int bottom)
{
    REFUSED_OFF_MAIN_THREAD()
    OGL_shade_box(static_cast<float>(left), static_cast<float>(bottom), static_cast<float>(right),
                  static_cast<float>(top), 0.5f);
}

// The drawing font of a plug-in font, -1 outside the table.
int mapped_font(int font)
{
    if (font < 0 || font >= PLUGIN_FONTS) return -1;
    return (sim_graphics_misc.use_proportional_fonts ? FONT_PROPORTIONAL : FONT_FIXED)[font];
}

void set_text_colour(const float* rgb)
{
    if (rgb == nullptr) return;
    for (int c = 0; c < 3; ++c) colour_table[COLOUR_PLUGIN_TEXT][c] = rgb[c];
}

void PLUGIN_host_draw_string(float* rgb, int x, int y, char* text, int* wrap_width, int font)
{
    const int f = mapped_font(font);
    if (f < 0 || text == nullptr) return;
    REFUSED_OFF_MAIN_THREAD()
    set_text_colour(rgb);
    const float wrap = wrap_width ? static_cast<float>(*wrap_width) : 10000.0f;
    OGL_draw_string(COLOUR_PLUGIN_TEXT, static_cast<float>(x), static_cast<float>(y), text, wrap, f);
}

void PLUGIN_host_draw_number(float* rgb, int x, int y, double value, int digits, int decimals, int show_sign, int font)
{
    const int f = mapped_font(font);
    if (f < 0) return;
    REFUSED_OFF_MAIN_THREAD()
    set_text_colour(rgb);
    OGL_draw_string_fmt(COLOUR_PLUGIN_TEXT, static_cast<float>(x), static_cast<float>(y), static_cast<float>(value),
                        digits, decimals, show_sign, f);
}

void PLUGIN_host_get_font_dims(int font, int* width, int* height, int* third)
{
    const bool known = font >= 0 && font < PLUGIN_FONTS;
    if (width) *width = known ? FONT_WIDTH[font] : 0;
    if (height) *height = known ? FONT_HEIGHT[font] : 0;
    if (third) *third = 0;
}

float PLUGIN_host_get_elapsed_time() { return frame_clock; }

void PLUGIN_host_read_camera(float* x, float* y, float* z, float* pitch, float* heading, float* roll, float* zoom)
{
    if (!x || !y || !z || !pitch || !heading || !roll || !zoom) return;
    *x = sim_graphics_view.view_x, *y = sim_graphics_view.view_y, *z = sim_graphics_view.view_z;
    *pitch = sim_graphics_view.view_pitch, *heading = sim_graphics_view.view_heading, *roll = sim_graphics_view.view_roll;
    *zoom = sim_graphics_view.view_zoom;
}

// ---- slots 14..18 ---------------------------------------------------------
// The aircraft-record fields the shape pass writes from the controls (gear
// legs and nodes, doors, thrust-vector cant, sweep, dihedral, variable
// incidence), each handed to `f` with its size. Left as the plug-in's pose,
// the plane would be drawn, and its gear would meet the ground, in that pose
// until its own step rewrites them: they are restored with the other fields.
template <class F> void shape_fields(acf_struct& a, F&& f)
{
    f(a.acf_gear_latN, sizeof a.acf_gear_latN);
    f(a.acf_gear_lonN, sizeof a.acf_gear_lonN);
    f(a.acf_gear_axiN, sizeof a.acf_gear_axiN);
    f(a.acf_gear_xnodef, sizeof a.acf_gear_xnodef);
    f(a.acf_gear_ynodef, sizeof a.acf_gear_ynodef);
    f(a.acf_gear_znodef, sizeof a.acf_gear_znodef);
    f(a.acf_gear_door_ang_now, sizeof a.acf_gear_door_ang_now);
    f(a.acf_vect_cant, sizeof a.acf_vect_cant);
    f(a.acf_sweepnow, sizeof a.acf_sweepnow);
    f(a.acf_dihednow, sizeof a.acf_dihednow);
    f(a.varinc_now, sizeof a.varinc_now);
}

void PLUGIN_host_draw_aircraft(int plane, float x, float y, float z, float pitch, float roll, float heading, int full,
                   ORPM_draw_info* info)
{
    if (plane < 0 || plane >= PLUGIN_PLANES) return;
    REFUSED_OFF_MAIN_THREAD()
    ORPM_draw_info d{};
    d.size = sizeof(ORPM_draw_info);
    d.throttle = 0.3f;
    if (info && info->size > 0)
        std::memcpy(&d, info, std::min<size_t>(static_cast<size_t>(info->size), sizeof(ORPM_draw_info)));
    d.size = sizeof(ORPM_draw_info);

    flt_struct& f = flt[plane];
    acf_struct& a = pln[plane];
    static_assert(FLT_FIRST_GEAR_PART + FLT_GEAR_COUNT <= ACF_NUM_PARTS);
    // Every field written below is restored from these copies. The gear value
    // goes to all six landing-gear legs (parts 67..72, the parts the drawer
    // shows as gear): writing only five would draw the sixth leg at its own
    // deployment, up while the others stand down.
    float* const legs = a.acf_gear_deploy + FLT_FIRST_GEAR_PART;
    const flt_struct saved_flt = f;
    float saved_gear[FLT_GEAR_COUNT];
    std::memcpy(saved_gear, legs, sizeof saved_gear);
    const float saved_splr = a.acf_splr_up;
    std::vector<unsigned char> saved_shape;
    shape_fields(a, [&saved_shape](float* p, size_t n) {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        saved_shape.insert(saved_shape.end(), b, b + n);
    });

    f.local_x = x, f.local_y = y, f.local_z = z;
    f.theta = pitch, f.phi = roll, f.psi = heading;
    for (int g = 0; g < FLT_GEAR_COUNT; ++g) legs[g] = d.gear_deploy;
    f.flaprat = d.flap_ratio;
    a.acf_splr_up = d.spoiler_ratio;
    f.sbrkrat = d.speed_brake_ratio;
    f.slatrat = d.slat_ratio;
    f.swdi = d.wing_sweep;
    f.FC_ptch = d.pitch_control, f.FC_hdng = d.heading_control, f.FC_roll = d.roll_control;
    for (float& t : f.ENGN_thro) t = d.throttle;
    f.nav_lights_on = f.beacon_lights_on = f.strobe_lights_on = f.landing_lights_on = f.taxi_light_on = 1;
    // The pitch's sine and cosine kept beside it, which the drawer reads, follow the pitch.
    f.sin_theta = std::sin(pitch * DEG_TO_RAD_FLOAT), f.cos_theta = std::cos(pitch * DEG_TO_RAD_FLOAT);

    // The shape follows the plug-in's controls and gear before the plane is
    // drawn, whole or as its lights alone as the plug-in asks.
    ACF_control_incidence(plane);
    CORE_draw_posed_plane(plane, full);

    f = saved_flt;
    std::memcpy(legs, saved_gear, sizeof saved_gear);
    a.acf_splr_up = saved_splr;
    size_t at = 0;
    shape_fields(a, [&saved_shape, &at](float* p, size_t n) {
        std::memcpy(p, saved_shape.data() + at, n);
        at += n;
    });
}

void set_aircraft_now(int plane, const char* path, const char* file_name)
{
    copy_text(pln[plane].acf_file_path, path, TEXT_FIELD);
    copy_text(pln[plane].acf_file_name, file_name, TEXT_FIELD);
    ACF_load_and_setup(plane);
    // The user's panel pictures are part of the flying view's background.
    if (plane == 0) CORE_load_background();
}

// A text a plug-in passes, cut to `size` - 1 characters, kept for a queued call.
std::string kept_text(const char* text, size_t size) { return std::string(text, strnlen(text, size - 1)); }

void PLUGIN_host_set_aircraft(int plane, char* path, char* file_name)
{
    if (plane < 0 || plane >= PLUGIN_PLANES || path == nullptr || file_name == nullptr) return;
    if (!PLUGIN_on_main_thread()) {
        return PLUGIN_queue_call(PLUGIN_CALLER,
                                 [plane, p = kept_text(path, TEXT_FIELD), f = kept_text(file_name, TEXT_FIELD)] {
                                     set_aircraft_now(plane, p.c_str(), f.c_str());
                                 });
    }
    set_aircraft_now(plane, path, file_name);
}

void PLUGIN_host_get_aircraft(int plane, char* path_out, char* file_name_out)
{
    if (plane < 0 || plane >= PLUGIN_PLANES) return;
    copy_text(path_out, pln[plane].acf_file_path, TEXT_FIELD);
    copy_text(file_name_out, pln[plane].acf_file_name, TEXT_FIELD);
}

int PLUGIN_host_count_aircraft() { return sim_graphics_settings.draw_aircrafts; }

// Starts, as the other starts below, are refused from a plug-in's own
// thread: queued, a thread asking every few milliseconds started the flight
// again at every frame, and the program never flew.
void PLUGIN_host_select_airport(char* airport_id)
{
    if (airport_id == nullptr) return;
    REFUSED_OFF_MAIN_THREAD()
    char id[8];
    copy_text(id, airport_id, sizeof id);
    int index = -1;
    NAV_find_nearest_by_id(id, 1, index, flt[0].latitude, flt[0].longitude);
    start_selection.airport_index = index;
    app_mode = 2;
    CORE_set_mode(0, "select airport");
}

// ---- slots 19..27 ---------------------------------------------------------
void PLUGIN_host_simulate_key(int modifiers, int key)
{
    if (!PLUGIN_on_main_thread())
        return PLUGIN_queue_call(PLUGIN_CALLER, [modifiers, key] { CORE_run_key(modifiers, key); });
    CORE_run_key(modifiers, key);
}

void PLUGIN_host_speak(char* text)
{
    if (text) SOUND_speak(text, 1);
}

void PLUGIN_host_command_key(int command)
{
    if (command < 0 || command >= PLUGIN_COMMANDS) return;
    const int slot = COMMAND_KEY_SLOT[command];
    if (!PLUGIN_on_main_thread())
        return PLUGIN_queue_call(PLUGIN_CALLER, [slot] { CORE_run_key_slot(0, slot); });
    CORE_run_key_slot(0, slot);
}

void command_button_now(const std::vector<int>& commands, int up, int continuous)
{
    for (const int c : commands) {
        if (c < 1 || c >= PLUGIN_COMMANDS) continue;
        const int code = command_button_code(c);
        if (!up) continuous ? JOY_button_held(code) : JOY_button_pressed(code);
        else continuous ? JOY_button_idle(code) : JOY_button_released(code);
    }
}

void PLUGIN_host_command_button(int* commands, int up, int continuous)
{
    if (commands == nullptr) return;
    // The list ends at its 0; a list without one is read no further than one
    // entry per command.
    std::vector<int> list;
    for (int i = 0; i < PLUGIN_COMMANDS && commands[i] != 0; ++i) list.push_back(commands[i]);
    if (!PLUGIN_on_main_thread()) {
        return PLUGIN_queue_call(PLUGIN_CALLER,
                                 [list = std::move(list), up, continuous] { command_button_now(list, up, continuous); });
    }
    command_button_now(list, up, continuous);
}

void PLUGIN_host_get_system_path(char* out) { copy_text(out, program_folder, TEXT_SIZE); }
void PLUGIN_host_get_prefs_path(char* out) { copy_text(out, pref_path_general, TEXT_SIZE); }

int PLUGIN_host_get_versions(int* program, int* interface_version)
{
    if (program) *program = PROGRAM_VERSION;
    if (interface_version) *interface_version = INTERFACE_VERSION;
    return PROGRAM_VERSION;
}

int PLUGIN_host_get_language()
{
    for (size_t i = 0; i < LANGUAGES.size(); ++i)
        if (LANGUAGES[i] == sim_operation_prefs_misc.language) return static_cast<int>(i);
    return 0;
}

void PLUGIN_host_debug_string(char* text)
{
    if (text == nullptr) return;
    PLUGIN_log_text(PLUGIN_CALLER, text, std::strlen(text));
}

// ---- slots 28..33 ---------------------------------------------------------
int PLUGIN_host_create_menu(int parent_menu, int parent_item, char* title)
{
    // The new menu's number is the answer, so the call cannot wait for the
    // next frame: from another thread it is refused.
    REFUSED_OFF_MAIN_THREAD(-1)
    for (int m = MENU_FIRST_PLUGIN; m <= MENU_LAST_PLUGIN; ++m) {
        if (menu_table[m].title[0] != 0) continue;
        char text[MENU_TEXT_SIZE];
        copy_text(text, title ? title : "", MENU_TEXT_SIZE);
        if (text[0] == 0) std::strcpy(text, " ");   // an empty title would leave the slot free
        // A parent outside the menu table, or an item past its 200, would put
        // the new menu under a position past the table: it goes on the bar.
        const bool valid_parent = parent_menu >= 1 && parent_menu < MENU_COUNT && parent_item >= 0 &&
                                  parent_item < MENU_ITEMS;
        MENU_create(m, valid_parent ? parent_menu * MENU_ITEMS + parent_item : 0, text);
        return m;
    }
    return -1;
}

// A menu outside the plug-ins' slots 820..1019 is the program's own (or past
// the table): a plug-in could rewrite or remove the program's menus, so such
// a call is refused, as is an item past the menu's 200.
int PLUGIN_host_append_menu_item(int menu, int item, char* text, int enabled)
{
    if (menu < MENU_FIRST_PLUGIN || menu > MENU_LAST_PLUGIN || item < 0 || item >= MENU_ITEMS) return 0;
    REFUSED_OFF_MAIN_THREAD(0)
    char label[MENU_TEXT_SIZE];
    copy_text(label, text ? text : "", MENU_TEXT_SIZE);
    const int command = menu * 100 + item;
    MENU_append(menu, item, command, label, 0);
    return command;
}

void PLUGIN_host_set_menu_item(int menu, int item, char* text, int enabled)
{
    if (!PLUGIN_on_main_thread()) {
        return PLUGIN_queue_call(PLUGIN_CALLER,
                                 [menu, item, t = kept_text(text ? text : "", MENU_TEXT_SIZE), enabled]() mutable {
                                     PLUGIN_host_append_menu_item(menu, item, t.data(), enabled);
                                 });
    }
    PLUGIN_host_append_menu_item(menu, item, text, enabled);
}

void PLUGIN_host_destroy_menu(int menu)
{
    // Only the plug-ins' own slots: clearing the title of one of the
    // program's menus would free its slot and lose it from the bar.
    if (menu < MENU_FIRST_PLUGIN || menu > MENU_LAST_PLUGIN) return;
    if (!PLUGIN_on_main_thread())
        return PLUGIN_queue_call(PLUGIN_CALLER, [menu] { menu_table[menu].title[0] = 0; });
    menu_table[menu].title[0] = 0;
}

void PLUGIN_host_set_situation(int code, int sub_mode)
{
    REFUSED_OFF_MAIN_THREAD()
    FLIGHT_init_situation(code, sub_mode);
}

void PLUGIN_host_reload_scenery()
{
    REFUSED_OFF_MAIN_THREAD()
    APT_build_scene(1);
}

}   // namespace

// ---- local and world coordinates (slots 6, 7) -----------------------------
void PLUGIN_host_world_to_local(double lat, double lon, double elevation, double* x, double* y, double* z)
{
    constexpr double pi = 3.14159265358979323846;
    double clat, clon;
    frame_centre(clat, clon);
    const double R = sim_physics.earth_radius_m;
    const double a = clat * DEG_TO_RAD_DOUBLE;
    double dl = (lon - clon) * DEG_TO_RAD_DOUBLE;
    if (dl < -pi) dl += 2.0 * pi;
    if (dl >= pi) dl -= 2.0 * pi;
    const double phi = lat * DEG_TO_RAD_DOUBLE, r = R + elevation;
    const double P = r * std::cos(phi) * std::cos(dl) - R * std::cos(a);
    const double Q = R * std::sin(a) - r * std::sin(phi);
    if (x) *x = static_cast<float>(r * std::cos(phi) * std::sin(dl));
    if (y) *y = static_cast<float>(P * std::cos(a) - Q * std::sin(a));
    if (z) *z = static_cast<float>(Q * std::cos(a) + P * std::sin(a));
}

void PLUGIN_host_local_to_world(double x, double y, double z, double* lat, double* lon, double* elevation)
{
    double clat, clon;
    frame_centre(clat, clon);
    // The shared conversion takes the longitude from the point's full
    // position, so a point past a pole or far round the planet keeps its side.
    // The longitude comes within half a turn of the centre's, so near the
    // date line it runs past 180 (181 for a point just east of it), which is
    // no longitude a plug-in expects: brought into -180..180 as every
    // longitude the host hands out.
    const geo_point g = GEO_local_to_latlon_about(clat, clon, x, y, z);
    if (lat) *lat = static_cast<float>(g.lat);
    if (lon) *lon = static_cast<float>(UTIL_wrap_pm180(g.lon));
    if (elevation) *elevation = static_cast<float>(g.elev);
}

void PLUGIN_fill_host_table()
{
    ORPM_host_table& t = PLUGIN_host_table;
    t.version = ORPM_HOST_TABLE_VERSION;
    t.size = sizeof(ORPM_host_table);
    t.get_screen_size = PLUGIN_host_get_screen_size;
    t.get_mouse = PLUGIN_host_get_mouse;
    t.set_graphics_state = PLUGIN_host_set_graphics_state;
    t.bind_texture = PLUGIN_host_bind_texture;
    t.gen_tex_ids = PLUGIN_host_gen_tex_ids;
    t.get_texture = PLUGIN_host_get_texture;
    t.world_to_local = PLUGIN_host_world_to_local;
    t.local_to_world = PLUGIN_host_local_to_world;
    t.draw_dark_box = PLUGIN_host_draw_dark_box;
    t.draw_string = PLUGIN_host_draw_string;
    t.draw_number = PLUGIN_host_draw_number;
    t.get_font_dims = PLUGIN_host_get_font_dims;
    t.get_elapsed_time = PLUGIN_host_get_elapsed_time;
    t.read_camera = PLUGIN_host_read_camera;
    t.draw_aircraft = PLUGIN_host_draw_aircraft;
    t.set_aircraft = PLUGIN_host_set_aircraft;
    t.get_aircraft = PLUGIN_host_get_aircraft;
    t.count_aircraft = PLUGIN_host_count_aircraft;
    t.select_airport = PLUGIN_host_select_airport;
    t.simulate_key = PLUGIN_host_simulate_key;
    t.speak = PLUGIN_host_speak;
    t.command_key = PLUGIN_host_command_key;
    t.command_button = PLUGIN_host_command_button;
    t.get_system_path = PLUGIN_host_get_system_path;
    t.get_prefs_path = PLUGIN_host_get_prefs_path;
    t.get_versions = PLUGIN_host_get_versions;
    t.get_language = PLUGIN_host_get_language;
    t.debug_string = PLUGIN_host_debug_string;
    t.create_menu = PLUGIN_host_create_menu;
    t.append_menu_item = PLUGIN_host_append_menu_item;
    t.set_menu_item = PLUGIN_host_set_menu_item;
    t.destroy_menu = PLUGIN_host_destroy_menu;
    t.set_situation = PLUGIN_host_set_situation;
    t.reload_scenery = PLUGIN_host_reload_scenery;
    PLUGIN_fill_nav_slots(t);
}
