#include "shell/modes.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "aircraft/acf_choose.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "flightmodel/flt.h"
#include "graphics/list.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/dataout_session.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "links/serial_calibration.h"
#include "links/speech.h"
#include "platform/plat_window.h"
#include "screens/operator_map.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/input.h"
#include "shell/lang.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "world/apt_scene.h"
#include "world/atc.h"
#include "world/navdb.h"
#include "world/scenery_area.h"
#include "world/nav_lookup.h"
#include "core/app_mode.h"
#include "core/views.h"


namespace {

constexpr int OPERATOR_SLOT = 9;          // the peer the operator panel commands
constexpr int AIRPORT_KIND = 1;           // NAV_find_nearest_by_id: airports
constexpr int AXIS_ENDS_AUTO_COORDINATION = 3;   // an axis so assigned turns the helicopters' automatic coordination off
constexpr float INTERFACE_WIDTH = 1024.0f;
constexpr float INTERFACE_HEIGHT = 768.0f;
constexpr float MAP_MARGIN_X = 15.0f + 119.0f;
constexpr float MAP_MARGIN_Y = 15.0f + 67.0f;

static_assert(VIEW_PANEL_PICTURES == VIEW_IMAGE_COUNT);

void operator_panel_step() { OPERATOR_panel(-999); }

constexpr int OPERATOR_TITLE = 364;
constexpr int AIRPORT_LINE_TITLE = -1;

// Every mode's screen: size in interface units, the UI text of the title and
// the step of the simulation cycle.
constexpr mode_screen mode_screens[] = {
    {MODE_CREDITS, 700, 450, 350, SETUP_credits, false},
    {MODE_AIRPORT_LIST, 631, 328, 351, SETUP_airport_select, false},
    {MODE_NETWORK, 1024, 758, 353, SETUP_network, false},
    {MODE_JOYSTICK, 1000, 754, 354, SETUP_joystick_equipment, false},
    {MODE_SOUND, 620, 306, 352, SETUP_sound, false},
    {MODE_RENDERING, 840, 766, 355, SETUP_rendering_language, false},
    {MODE_MOVIE, 700, 500, 356, SETUP_movie, false},
    {MODE_WEATHER, 1002, 766, 358, SETUP_weather, false},
    {MODE_DATE_TIME, 572, 268, 357, SETUP_date_time, false},
    {MODE_WEIGHT_FUEL, 922, 650, 359, SETUP_weight_fuel, false},
    {MODE_FAILURES, 1009, 756, 360, SETUP_failures, false},
    {MODE_OPERATION_PREFS, 374, 452, 361, SETUP_operation_prefs, false},
    {MODE_START_SCREEN, 977, 766, 362, SETUP_time_weather_airport, false},
    {MODE_AIRCRAFT_PATHS, 810, 410, 363, SETUP_aircraft_paths, false},
    {MODE_OPERATOR, 0, 0, OPERATOR_TITLE, operator_panel_step, true},
    {MODE_FLIGHT_PATH_3D, 1020, 760, 365, SETUP_flight_path_3d, false},
    {MODE_GLOBE, 1020, 750, 366, SETUP_globe, false},
    {MODE_OPERATOR_STATION, 0, 0, OPERATOR_TITLE, operator_panel_step, true},
    {MODE_DATA_GRAPH, 1020, 762, 367, SETUP_data_graph, false},
    {MODE_LOGBOOK, 831, 636, 368, SETUP_logbook, false},
    {MODE_TEXT_PAGES, 835, 674, 371, SETUP_text_pages, false},
    {MODE_PLANET, 600, 426, 630, SETUP_planet, false},
    {MODE_OPERATOR_AIRPORT, 0, 0, AIRPORT_LINE_TITLE, operator_panel_step, true},
    {MODE_FLIGHT_PLAN, 590, 356, 369, SETUP_flight_plan, false},
    {MODE_ALERT, 400, 220, 600, nullptr, false},
    {MODE_BROWSER_OPEN, 341, 484, 601, nullptr, false},
    {MODE_BROWSER_SAVE, 341, 484, 601, nullptr, false},
};

// Rounding half away from zero.
float round_half_away(float v) { return static_cast<float>(GEO_round(v)); }

// A map-sized screen side: the loaded area's extent at the map scale plus the
// panel margins, kept within 0..limit, cut to a whole number and made even.
float map_screen_side(float extent, float margin, float limit)
{
    float side = extent * map_base_scale + margin;
    if (!(side >= 0.0f))   // also a side that is not a number (an empty area at an endless scale)
        side = 0.0f;
    else if (side > limit)
        side = limit;
    side = static_cast<float>(static_cast<int>(side));
    return 2.0f * round_half_away(side / 2.0f);
}

// The operator airport screen's title: the operator map's airport as "name (ID) elev N ft.".
void operator_airport_title(char* title)
{
    title[0] = 0;
    const airport_record* a = APT_table_at(chart_airport);
    if (!a) return;
    char name[APT_NAME_SIZE + 1] = {};
    char id[APT_ID_SIZE + 1] = {};
    std::memcpy(name, a->name, APT_NAME_SIZE);
    std::memcpy(id, a->id, APT_ID_SIZE);
    char feet[TEXT_SIZE];
    // The elevation comes from the airport database: a value too large for a
    // whole number would make the cut undefined (a garbage title), so it is shown as 0.
    const float elevation_ft = a->elevation / UNIT.ft_to_mtrs;
    const bool plausible = elevation_ft > -1.0e6f && elevation_ft < 1.0e6f;
    UTIL_int_to_text(plausible ? static_cast<int>(elevation_ft) : 0, feet, 1);
    UTIL_strcpy(static_cast<const char*>(name), title);
    UTIL_strcat(title, " (");
    UTIL_strcat(title, id);
    UTIL_strcat(title, ")");
    UTIL_strcat(title, " elev ");
    UTIL_strcat(title, feet);
    UTIL_strcat(title, " ft.");
}

// "select airport": the user's plane goes to the first runway of the airport
// chosen on the airport list, and the flight starts there.
void place_at_selected_airport()
{
    const airport_record* a = APT_table_at(start_selection.airport_index);
    // An index no airport has, or an airport without runways, would read past
    // the tables: the plane then stays where it is.
    if (a && !a->runways.empty()) {
        // The offsets are indexed by the planet; a planet value outside the two
        // (from a stored situation) would read past them, so it counts as Earth.
        const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
        flt[0].latitude = a->runways[0].lat;
        flt[0].longitude = a->runways[0].lon;
        lat_ref = round_half_away(flt[0].latitude - reference_lat_offset[planet]);
        lon_ref = round_half_away(flt[0].longitude - reference_lon_offset[planet]);

        char text[TEXT_SIZE];
        char id[APT_ID_SIZE + 1] = {};
        std::memcpy(id, a->id, APT_ID_SIZE);
        UTIL_strcat3("apt placement  ", id, text);
        if (net_slot_enabled[OPERATOR_SLOT])
            NET_data_send("KSTM", 0, text, static_cast<int>(std::strlen(text)), OPERATOR_SLOT);
    }
    APT_build_scene(1);
    FLIGHT_init_situation(408, sim_operation_prefs.startup_on_ramp == 0 ? 401 : 400);
}

// Leaving the flight plan screen: the plan's destination is looked up and ATC answers.
void file_flight_plan()
{
    int found_index = atc_state.atc_dest_airport;
    char id[ATC_PLAN_TO_ID_SIZE + 1] = {};
    std::memcpy(id, atc_state.atc_plan_to_id, ATC_PLAN_TO_ID_SIZE);
    const int found = NAV_find_nearest_by_id(id, AIRPORT_KIND, found_index, flt[0].latitude, flt[0].longitude);
    char spoken[TEXT_SIZE] = {};
    if (found) {
        atc_state.atc_dest_airport = found_index;
        atc_state.atc_request_pending = 0;
        if (atc_state.atc_plan_active) {
            ATC_callsign(spoken, 1);
            UTIL_strcat(spoken, "flight plan amended as requested.");
            SOUND_speak(spoken, 1);
        } else {
            atc_state.atc_plan_filed = 1;
            atc_state.atc_plan_active = 0;
        }
    } else {
        ATC_callsign(spoken, 1);
        UTIL_strcat(spoken, "unable, destination airport not found.");
        SOUND_speak(spoken, 1);
    }
}

// What a switch to any mode but the alert does to the simulation.
void leave_and_enter(int32_t old_mode, int32_t mode, const char* reason)
{
    if (old_mode == MODE_NETWORK) DATAOUT_reset();

    if (std::strcmp(reason, "select airport") == 0) place_at_selected_airport();

    if (mode == MODE_FLYING && old_mode == MODE_GLOBE && std::strcmp(reason, "planet region") == 0) {
        APT_build_scene(1);
        FLIGHT_init_situation(800, 0);
    }

    // Every plane slot in use gets an aircraft (the count is asked again each time).
    // The count comes from the plug-ins: a count above the slots the program has
    // would index past the aircraft table, so the loop stops at its end.
    for (int i = 0; i < PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 1) && i < ACF_SLOTS; ++i)
        if (pln[i].acf_file_path[0] == 0) ACF_choose_and_load(i);

    if (mode == MODE_JOYSTICK && screen_settings.joy_calibrating == 1) {
        for (float& v : serial_axis_lo) v = 9999.9f;
        for (float& v : serial_axis_hi) v = -9999.9f;
    }

    if (old_mode == MODE_FLIGHT_PLAN) file_flight_plan();

    if (old_mode == MODE_JOYSTICK) {
        for (int32_t a : sim_joystick.joystick_axis_assignments)
            if (a == AXIS_ENDS_AUTO_COORDINATION) sim_operation_prefs.auto_coordinate_helos = 0;
    }
}

void fill_pixel_buffer_with_background()
{
    if (!pixel_buffer) return;
    uint8_t rgba[4];
    for (int k = 0; k < 3; ++k) rgba[k] = static_cast<uint8_t>(static_cast<int>(colour_table[36][k] * 255.0f));
    rgba[3] = 255;
    const size_t texels = size_t(1024) * 768;
    for (size_t i = 0; i < texels; ++i) std::memcpy(pixel_buffer + i * 4, rgba, 4);
}

}  // namespace

const mode_screen* MODE_screen_of(int32_t mode)
{
    for (const mode_screen& s : mode_screens)
        if (s.mode == mode) return &s;
    return nullptr;
}

bool APPLICATION_peer_may_enter(int32_t mode) { return mode == MODE_FLYING; }

int APPLICATION_peer_input_refused()
{
    if (APPLICATION_peer_may_enter(app_mode)) return 0;
    NET_refuse_command(APPLICATION_PEER_INPUT_REFUSAL);
    return 1;
}

void APPLICATION_set_mode(int32_t mode, const char* reason)
{
    // What a peer sent reaches a screen by ways other than a menu item too
    // (its keys working the ATC window): the switch itself is refused. A
    // fatal alert's box still shows; a notice never gets here from a peer.
    if (net_command_from_peer && mode != MODE_ALERT && !APPLICATION_peer_may_enter(mode))
        return NET_refuse_command(APPLICATION_PEER_SCREEN_REFUSAL);
    if (!reason) reason = "";
    const int32_t old_mode = app_mode;

    redraw_pending = 1;
    sim_graphics_view.view_zoom = 1.0f;
    view_zoom_target = 1.0f;
    // The start-up's first switch comes before the window: no OpenGL context to set yet.
    if (PLAT_window_exists()) OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);

    if (net_slot_enabled[OPERATOR_SLOT] && mode == MODE_FLYING && old_mode != MODE_OPERATOR_STATION)
        mode = MODE_OPERATOR_STATION;

    if (mode != MODE_ALERT) leave_and_enter(old_mode, mode, reason);

    // The screen area: the window, then the mode's own size and title.
    screen.screen_area_width = static_cast<float>(screen.window_width);
    screen.screen_area_height = static_cast<float>(screen.window_height);
    screen.screen_title[0] = 0;
    if (const mode_screen* s = MODE_screen_of(mode)) {
        if (s->sized_by_map) {
            screen.screen_area_width =
                map_screen_side(scenery_area.x1 - scenery_area.x0, MAP_MARGIN_X, INTERFACE_WIDTH);
            screen.screen_area_height =
                map_screen_side(scenery_area.z1 - scenery_area.z0, MAP_MARGIN_Y, INTERFACE_HEIGHT);
        } else {
            screen.screen_area_width = s->width;
            screen.screen_area_height = s->height;
        }
        if (s->title_text == AIRPORT_LINE_TITLE)
            operator_airport_title(screen.screen_title);
        else
            UTIL_strcpy(LANG_ui_text(s->title_text), screen.screen_title);
    }

    active_text_field = -1;
    screen.open_menu = -1;

    screen.screen_area_left = round_half_away((INTERFACE_WIDTH - screen.screen_area_width) / 2.0f);
    screen.screen_area_bottom = round_half_away((INTERFACE_HEIGHT - screen.screen_area_height) / 2.0f);
    if (screen.screen_area_left <= 0.0f) screen.screen_area_left = 0.0f;
    if (screen.screen_area_bottom <= 0.0f) screen.screen_area_bottom = 0.0f;

    mouse.mouse_held = 0;
    mouse.mouse_down = 0;
    sim_joystick.mouse_is_joystick = 0;

    app_mode = mode;

    if (mode != MODE_FLYING) fill_pixel_buffer_with_background();
    if (mode == MODE_INTRO) {
        int iw = 0, ih = 0;
        OGL_load_tex_file(LOAD_BITMAP, 0, TEX_RGB, "intro.bmp", iw, ih);
    }
    MACIBM_load_background();
}

int32_t background_cover_rows = 0;

namespace {

// The panel picture copied into the buffer in flight: the main one (lit or
// not) in the three forward views and the orbit view with the panel, each
// side view its own, none in any other view (the buffer keeps what it holds).
// Whether the frame draws it behind the scene is decided there.
int background_picture(int32_t view, bool lit)
{
    if (view == VIEW_FORWARD || view == VIEW_FORWARD_HUD || view == VIEW_FORWARD_NOTHING || view == VIEW_ORBIT_PANEL)
        return lit ? VIEW_PANEL_PICTURE_MAIN_LIT : VIEW_PANEL_PICTURE_MAIN;
    return VIEW_panel_picture(view, lit);
}

}  // namespace

void MACIBM_load_background()
{
    background_cover_rows = 0;
    if (!pixel_buffer) return;
    constexpr size_t PICTURE_BYTES = size_t(1024) * 768 * 4;

    if (app_mode == MODE_FLYING) {
        const bool lit = sim_cockpit_electrical.cockpit_lights_on && screen_settings.lit_cus_panel_option;
        const int picture = background_picture(sim_graphics_view.view_type, lit);
        if (picture >= 0 && picture < VIEW_IMAGE_COUNT && view_image_buffers[picture])
            std::memcpy(pixel_buffer, view_image_buffers[picture], PICTURE_BYTES);
    }

    if (!PLAT_window_exists()) return;   // no OpenGL context to hold the textures yet

    std::vector<uint8_t> tile(size_t(BACKGROUND_TILE) * BACKGROUND_TILE * 4);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            for (int y = 0; y < BACKGROUND_TILE; ++y) {
                const size_t from = (size_t(r * BACKGROUND_TILE + y) * 1024 + size_t(c) * BACKGROUND_TILE) * 4;
                std::memcpy(&tile[size_t(y) * BACKGROUND_TILE * 4], pixel_buffer + from, size_t(BACKGROUND_TILE) * 4);
            }
            const int slot = TEX_SLOT_BACKGROUND_FIRST + 4 * r + c;
            OGL_load_tex("background texture", slot, 0, GL_RGBA, BACKGROUND_TILE, BACKGROUND_TILE, tile.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        }
    // The count of opaque rows at the top of the buffer changes nothing above:
    // the frame uses it only to skip drawing the scene where this picture
    // covers it anyway, so what is seen stays the same.
    int32_t rows = 0;
    while (rows < 768) {
        const uint8_t* row = pixel_buffer + size_t(rows) * 1024 * 4;
        bool opaque = true;
        for (int x = 0; x < 1024 && opaque; ++x) opaque = row[size_t(x) * 4 + 3] != 0;
        if (!opaque) break;
        ++rows;
    }
    background_cover_rows = rows;
}
