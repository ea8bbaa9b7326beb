// The numeric commands. The handler is a fixed series of independent tests
// run from top to bottom, so one number may match several of them (a
// forwarded start choice is both forwarded and run; 1015 is both a view and
// the tower placement).
#include "shell/commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "flightmodel/control/autopilot.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/systems/logbook.h"
#include "graphics/ogl_draw.h"
#include "links/net_ranges.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "platform/plat_files.h"
#include "screens/network_screen.h"
#include "screens/operator_map.h"
#include "core/alert.h"
#include "shell/browser.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "shell/keys.h"
#include "shell/main.h"
#include "shell/modes.h"
#include "shell/prefs.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "core/views.h"
#include "scene/scene_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/nav_lookup.h"

int32_t second_forward_view = 0;
ORVELL_RESET_RECORD(COMMANDS_second_forward_view_reset, second_forward_view, flight);
// The preset flags mark a flight a preset flight started: every start puts
// them back, and the preset sets them after its own start.
int32_t preset_flight_a = 0;
int32_t preset_flight_b = 0;
void COMMANDS_preset_flags_reset() { preset_flight_a = preset_flight_b = 0; }
ORVELL_RESET(COMMANDS_preset_flags_reset, flight);

// Kept with the replay, over any start made while it plays.
plane_state_record saved_replay_state{};
ORVELL_RESET_RECORD(COMMANDS_saved_replay_reset, saved_replay_state, program);

char situation_file_name[TEXT_SIZE] = "UNTITLED.SIT";
char situation_file_path[TEXT_SIZE] = {};
void COMMANDS_situation_file_reset()
{
    std::memset(situation_file_name, 0, sizeof situation_file_name);
    UTIL_strcpy("UNTITLED.SIT", situation_file_name);
    std::memset(situation_file_path, 0, sizeof situation_file_path);
}
ORVELL_RESET(COMMANDS_situation_file_reset, program);

namespace {

int default_browser(int mode, int kind, char* name, char* path) { return opensave(mode, kind, name, path); }

}  // namespace

commands_browser_fn commands_browser = default_browser;
void COMMANDS_use_default_browser() { commands_browser = default_browser; }

namespace {

constexpr const char* MODE_REASON = "from APPLICATION_handlemenu";
constexpr int BROWSE_OPEN = MODE_BROWSER_OPEN;
constexpr int BROWSE_SAVE = MODE_BROWSER_SAVE;
constexpr int APT_KIND_FOR_SEARCH = 1;

bool slot_on(int s) { return s >= 0 && s < NET_SLOT_COUNT && net_slot_enabled[s] != 0; }
bool slot_live(int s) { return slot_on(s) && net_slot_valid[s] != 0; }

void set_mode(int mode) { APPLICATION_set_mode(mode, MODE_REASON); }

void notice(const char* l1, const char* l2, const char* l3, const char* l4)
{
    MACIBM_nuke_alert(app_mode, l1, l2, l3, l4, ALERT_NOTICE);
}

// A start choice that does not fit the lists. Ending the program on it, as a
// fatal alert would, lets a stale menu entry or any peer's datagram stop the
// simulator, and writing the selection before the checks would store an index
// outside the lists. It is checked before anything is changed or forwarded,
// and its alert line is kept: a notice (for one from a peer, the alert
// routine counts it with the link's other refusals).
void refuse_start_choice(const char* why) { notice(why, "", "", ""); }

bool airport_ok(int a) { return a >= 0 && a < static_cast<int>(airport_table.size()); }

bool airport_has_runway(int a) { return airport_ok(a) && !airport_table[static_cast<size_t>(a)].runways.empty(); }

// The scenery reference at the whole degrees that put (lat, lon) within half
// a degree of the area's centre.
void reference_around(float lat, float lon)
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    lat_ref = static_cast<float>(GEO_round(lat - reference_lat_offset[p]));
    lon_ref = static_cast<float>(GEO_round(lon - reference_lon_offset[p]));
}

// The user's plane at the first runway of airport a, and the scenery
// reference at whole degrees around it. An airport without runways (or no
// airport found) leaves the plane where it is: its first runway would be read
// past an empty list.
void place_at_airport(int a)
{
    if (!airport_has_runway(a)) return;
    const runway_record& r = airport_table[static_cast<size_t>(a)].runways[0];
    flt[0].latitude = r.lat;
    flt[0].longitude = r.lon;
    reference_around(r.lat, r.lon);
}

// The scene a situation just read is built around the position it holds:
// built around the reference of the moment, the situation's start would have
// to build it a second time when the position lies away from that area.
void reference_at_situation()
{
    float lat, lon;
    FLIGHT_block_latlon(lat, lon);
    reference_around(lat, lon);
}

// ---------------------------------------------------------------------------
// Start choices.

bool in_forwarded_range(int32_t c)
{
    return (c >= 4000 && c <= 163999) || (c >= 2400 && c <= 2799) || (c >= 2800 && c <= 2805) ||
           (c >= 3000 && c <= 3005) || (c >= 3200 && c <= 3210);
}

void forward_to_peers(int32_t command)
{
    char text[TEXT_SIZE];
    char number[16];
    UTIL_int_to_text(command, number, 5);
    UTIL_strcat3("menu selection ", number, text);
    const int len = static_cast<int>(std::strlen(text));
    for (int s : {9, 1, 2, 3, 4, 5})
        if (slot_on(s)) NET_data_send("KSTM", 0, text, len, s);
}

struct airport_choice {
    int sub_mode;
    int item;
    int rest;
};

airport_choice decode_airport_choice(int32_t command)
{
    static const int sub_modes[4] = {400, 401, 402, 403};
    static const int bases[4] = {20, 220, 420, 620};
    const int band = (command - 4000) / 40000;
    const int q = command / 200;
    return {sub_modes[band], q - bases[band], command - 200 * q};
}

// The checks of an airport start choice, made before anything is changed.
const char* airport_choice_problem(const airport_choice& c)
{
    if (c.item < 0 || c.item > local_airport_last) return "apt sel out of local range!";
    if (c.item >= LOCAL_AIRPORT_MAX) return "apt sel out of item range!";
    const int a = local_airport_list[c.item];
    if (!airport_ok(a)) return "loc_apt_wrl out of range!";
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    const int index = c.sub_mode == 400 ? c.rest : c.rest / 2;
    const int count = static_cast<int>(c.sub_mode == 400 ? apt.starts.size() : apt.runways.size());
    if (index < 0 || index >= count) return "lcl_rwy_ram out of range!";
    return nullptr;
}

void airport_start(const airport_choice& c)
{
    start_selection.airport_index = local_airport_list[c.item];
    if (c.sub_mode == 400) {
        start_selection.start_index = c.rest;
    } else {
        start_selection.start_index = c.rest / 2;
        sim_time.backwards = c.rest % 2 ? 1 : 0;
    }
    FLIGHT_init_situation(408, c.sub_mode);
}

// The navaid a navaid start command names, or -1 (with the reason) when it names none.
int navaid_of_command(int32_t command, const char*& why)
{
    const int list = command >= 2600 ? 1 : 0;
    const int entry = command - (list ? 2600 : 2400);
    if (entry < 0 || entry > navaid_start_last[list] || entry >= NAVAID_START_MAX) {
        why = "navaid start out of list range!";
        return -1;
    }
    const int n = navaid_start_list[list][entry];
    if (n < 0 || n >= static_cast<int>(navaid_table.size())) {
        why = "navaid start out of navaid range!";
        return -1;
    }
    return n;
}

void navaid_start(int n)
{
    const navaid_record& nav = navaid_table[static_cast<size_t>(n)];
    chosen_navaid = n;
    situation_start_record& s = situation_start_state;
    s.latitude = nav.lat;
    s.longitude = nav.lon;
    s.elevation = nav.height + 1000.0f;
    s.psi = 0.0f;
    s.groundspeed = pln[0].acf_est_Vs * 1.5f;
    FLIGHT_init_situation(800, 0);
}

void random_start()
{
    auto r = [] { return static_cast<float>(UTIL_rand()) / 32767.0f; };
    situation_start_record& s = situation_start_state;
    s.latitude = lat_ref + 2.0f * r();
    s.longitude = lon_ref + 3.0f * r();
    s.elevation = 2000.0f + 2000.0f * r();
    s.psi = 360.0f * r();
    s.groundspeed = pln[0].acf_est_Vs * 1.3f;
    // The start meets the air at 1.3 times the stall speed indicated, there
    // and in its wind, rather than at this speed over the ground.
    FLIGHT_init_situation(SIT_IN_FLIGHT, SIT_AT_STALL_MARGIN);
}

void switch_planet(int planet)
{
    if (sim_graphics_scenery.current_planet == planet) {
        notice("The simulator is on that planet already.", "Nothing was changed.", "", "");
        return;
    }
    if (!slot_on(6) && !slot_on(7) && !slot_on(8))
        notice("The planet is being changed:", "navigation data, airports and scenery", "are loaded for the new planet.",
               "This can take a moment.");
    PLANET_set_constants(planet);
    NAV_load_databases();
    const char* id = planet == PLANET_MARS ? "MAR1" : "KSBD";
    for (size_t i = 0; i < airport_table.size(); ++i) {
        if (std::strncmp(airport_table[i].id, id, 4) == 0) {
            start_selection.airport_index = static_cast<int32_t>(i);
            start_selection.start_index = 0;
        }
    }
    place_at_airport(start_selection.airport_index);
    APT_build_scene(1);
    FLIGHT_init_situation(408, 401);
    if (planet == PLANET_EARTH) {
        sim_weather.visibility_reported_m = max_visibility_m[PLANET_EARTH] * 0.5f;
    } else {
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.visibility_reported_m = max_visibility_m[PLANET_MARS];
        sim_weather.rain_percent = 0.0f;
        sim_weather.thunderstorm_percent = 0.0f;
        sim_weather.use_real_weather_bool = 0;
    }
}

// ---------------------------------------------------------------------------
// Situation and movie files.

bool prefs_file_readable(const char* path)
{
    char p[TEXT_SIZE];
    std::memset(p, 0, sizeof p);
    std::snprintf(p, sizeof p, "%.*s", TEXT_MAX_LEN, path);
    const int ok = FILE_open_for_use(p, KIND_BINARY, PREFS_VERSION, 0);
    FILE_close_current();
    return ok != 0;
}

// The aircraft path a situation holds is relative to the program folder; an
// aircraft outside that folder was saved with its full path, kept as it is
// (putting the folder in front of a full path would name no file).
void aircraft_path_to_full()
{
    char* path = pln[0].acf_file_path;
    path[TEXT_MAX_LEN] = 0;
    if (path[0] == '/') return;   // already full
    const size_t folder_len = std::strlen(program_folder);
    if (folder_len && std::strncmp(path, program_folder, folder_len) == 0) return;   // already full
    char full[TEXT_SIZE];
    UTIL_strcat3(program_folder, path, full);
    UTIL_strcpy(static_cast<const char*>(full), path);
}

// The autopilot as a situation file left it, kept over the start that
// follows: a start sets every flight up with the autopilot off, and a flight
// saved climbing on the autopilot came back with no one holding it. Not in
// the flight group, which that start runs.
sim_cockpit_autopilot_block situation_autopilot{};
ORVELL_RESET_RECORD(COMMANDS_situation_autopilot_reset, situation_autopilot, program);

// Reads a situation (kind 4) or movie (kind 5) and starts its flight.
bool read_situation(int prefs_kind, const char* path)
{
    // A file shorter than its record is refused whole: read as far as it goes,
    // it would start a flight half from the file and half from before.
    if (!prefs_file_readable(path) || !PREFS_file_whole(prefs_kind, path)) return false;
    PREFS_read_write(prefs_kind, PREFS_READ, path);
    situation_autopilot = sim_cockpit_autopilot;
    return true;
}

// A mode word from a file: one of its modes, or off.
int32_t mode_or_off(int32_t v, int32_t first, int32_t last) { return v >= first && v <= last ? v : AP_OFF; }
// A target from a file: within its range, or 0 (a target that is no number
// would stay in the autopilot's laws for good).
float target_or_zero(float v, net_range r) { return NET_in_range(r, v) ? v : 0.0f; }

// A situation's flight starts with its ground speed along its nose. Flown,
// the nose points along the motion through the air, and the track differs
// from it by the wind: started so in a crosswind the plane slipped sideways
// through the air and swung round into it in the first seconds. The start's
// velocity is made the wind plus a speed through the air along the nose, at
// the ground speed the situation holds (unless the wind is faster than that
// across the nose; the start is then kept as it is).
void velocity_through_the_air()
{
    flt_struct& f = flt[0];
    const double vx = f.local_vx, vz = f.local_vz;
    const double g = std::sqrt(vx * vx + vz * vz);
    if (!(g > 1.0) || f.onground_any != 0 || !std::isfinite(wind_vector[0]) || !std::isfinite(wind_vector[2])) return;
    const double hx = vx / g, hz = vz / g;   // the nose's way, level
    const double wx = wind_vector[0], wz = wind_vector[2];
    // |a h + w| = g: a^2 + 2 a (h.w) + |w|^2 - g^2 = 0, the positive root.
    const double b = hx * wx + hz * wz;
    const double disc = b * b - (wx * wx + wz * wz - g * g);
    if (disc < 0.0) return;
    const double a = -b + std::sqrt(disc);
    if (!(a > 0.0)) return;
    f.local_vx = static_cast<float>(a * hx + wx);
    f.local_vz = static_cast<float>(a * hz + wz);
}

// After the situation's start: its autopilot modes and targets, taken by the
// autopilot as already engaged (entered afresh, a mode would capture the new
// flight's first values as its targets: a vertical speed of 0).
void resume_situation_autopilot()
{
    const sim_cockpit_autopilot_block& read = situation_autopilot;
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.airspeed_mode = mode_or_off(read.airspeed_mode, AP_AUTOTHROTTLE, AP_AUTOTHROTTLE);
    ap.heading_mode = mode_or_off(read.heading_mode, AP_HEADING_HOLD, AP_WING_LEVELLER);
    ap.altitude_mode = mode_or_off(read.altitude_mode, AP_SPEED_BY_PITCH, AP_PITCH_HOLD);
    ap.hnav_mode = mode_or_off(read.hnav_mode, AP_COURSE_ARMED, AP_COURSE_CAPTURED);
    ap.vnav_mode = mode_or_off(read.vnav_mode, AP_GLIDESLOPE_ARMED, AP_GLIDESLOPE_CAPTURED);
    ap.backcourse_on = read.backcourse_on != 0 ? 1 : 0;
    ap.airspeed_is_mach = read.airspeed_is_mach != 0 ? 1 : 0;
    ap.airspeed = target_or_zero(read.airspeed, RANGE_SPEED);
    ap.heading_mag = UTIL_wrap_open(target_or_zero(read.heading_mag, RANGE_ANGLE), 360.0f);
    ap.vertical_velocity = target_or_zero(read.vertical_velocity, RANGE_VALUE);
    ap.altitude = target_or_zero(read.altitude, RANGE_VALUE);
    ap.current_altitude = target_or_zero(read.current_altitude, RANGE_VALUE);
    ap.pitch_hold_deg = target_or_zero(read.pitch_hold_deg, RANGE_ANGLE);
    AP_resume_modes();
}

// The name and path fields and the kinds of a situation or a movie file.
struct situation_file {
    bool movie;
    char* name;
    char* path;
    int file_kind;
    int prefs_kind;
};

situation_file situation_file_of(bool movie)
{
    if (movie) return {true, movie_file_name, movie_file_path, KIND_MOVIE, PREFS_KIND_MOVIE};
    return {false, situation_file_name, situation_file_path, KIND_SITUATION, PREFS_KIND_SITUATION};
}

// Lets the user choose the file to open or save (`mode`); false when there is
// no browser or the choice is cancelled.
bool browse_situation(int mode, const situation_file& f)
{
    return commands_browser && commands_browser(mode, f.file_kind, f.name, f.path);
}

void open_situation(int32_t command)
{
    const situation_file file = situation_file_of(command == 206);
    if (!browse_situation(BROWSE_OPEN, file)) return;
    file.name[TEXT_MAX_LEN] = 0;
    file.path[TEXT_MAX_LEN] = 0;
    if (!read_situation(file.prefs_kind, file.path)) {
        notice("The file could not be read:", file.path, "Nothing was changed.", "");
        return;
    }
    if (slot_on(9)) {
        char text[TEXT_SIZE];
        UTIL_strcat3("sit selection  ", file.name, text);
        NET_data_send("KSTM", 0, text, static_cast<int>(std::strlen(text)), 9);
    }
    aircraft_path_to_full();
    ACF_load_and_setup(0);
    if (!file.movie) reference_at_situation();   // a movie plays where the plane is
    APT_build_scene(1);
    FLIGHT_init_situation(command, 0);
    if (file.movie) {
        APPLICATION_handlemenu(1031);
    } else {
        velocity_through_the_air();
        resume_situation_autopilot();
    }
}

void save_situation(int32_t command)
{
    const situation_file file = situation_file_of(command == 205);
    if (!browse_situation(BROWSE_SAVE, file)) return;
    file.path[TEXT_MAX_LEN] = 0;
    char* acf_path = pln[0].acf_file_path;
    acf_path[TEXT_MAX_LEN] = 0;
    char full[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(acf_path), full);
    // Stored relative to the program folder, but only when it lies inside it:
    // cutting the folder's length off a path outside it would store a broken path.
    const size_t folder_len = std::strlen(program_folder);
    if (folder_len && std::strncmp(acf_path, program_folder, folder_len) == 0)
        std::memmove(acf_path, acf_path + folder_len, std::strlen(acf_path + folder_len) + 1);
    PREFS_read_write(file.prefs_kind, PREFS_WRITE, file.path);
    UTIL_strcpy(static_cast<const char*>(full), acf_path);
}

void open_aircraft()
{
    acf_struct& a = pln[0];
    char kept_name[sizeof a.acf_file_name], kept_path[sizeof a.acf_file_path];
    std::memcpy(kept_name, a.acf_file_name, sizeof kept_name);
    std::memcpy(kept_path, a.acf_file_path, sizeof kept_path);
    auto keep_current = [&] {
        std::memcpy(a.acf_file_name, kept_name, sizeof kept_name);
        std::memcpy(a.acf_file_path, kept_path, sizeof kept_path);
    };
    if (!commands_browser || !commands_browser(BROWSE_OPEN, KIND_AIRCRAFT, a.acf_file_name, a.acf_file_path)) return;
    a.acf_file_name[TEXT_MAX_LEN] = 0;
    a.acf_file_path[TEXT_MAX_LEN] = 0;
    // A chosen file that is no aircraft is named, and the aircraft flown stays
    // as it is: loading it would bring up the default aircraft instead.
    if (const char* problem = ACF_file_problem(a.acf_file_path)) {
        notice("This file was not loaded as an aircraft:", a.acf_file_path, problem, "The current aircraft stays.");
        keep_current();
        return;
    }
    // Damaged past its header (its own notice names it, once the aircraft
    // flown is back): the aircraft flown is loaded again where it flies.
    const acf_refusal_hold hold;
    if (!ACF_load_and_setup(0)) {
        keep_current();
        ACF_load_and_setup(0);
        ACF_refusal_outcome("The aircraft flown stays.");
        return;
    }
    FLIGHT_init_situation(408, sim_operation_prefs.startup_on_ramp ? 400 : 401);
}

void quit()
{
    APPLICATION_save_preferences_and_logbook();
    quit_flag = 1;
}

// ---------------------------------------------------------------------------
// Views.

void view_command(int32_t v)
{
    PLUGIN_call_event_hook(1, frame_clock, 0, 0, 0);
    second_forward_view = (v == VIEW_FORWARD && sim_graphics_view.view_type == VIEW_FORWARD && !second_forward_view &&
                           sim_time.total_flight_time_sec > 1.0f)
                              ? 1
                              : 0;
    sim_graphics_view.view_zoom = 1.0f;
    view_zoom_target = 1.0f;
    sim_graphics_view.view_type = v;
    sim_graphics_view.view_is_external = VIEW_is_external(v) ? 1 : 0;

    // The camera is placed by what it follows: a tracked weapon, else the
    // user's plane. A weapon index past the weapon slots would read past them.
    const flt_struct& f = flt[0];
    float target[3] = {f.local_x, f.local_y, f.local_z};
    float velocity[3] = {f.local_vx, f.local_vy, f.local_vz};
    if (const int w = scene_followed_weapon; w >= 0 && w < ACF_WPN_SLOTS) {
        const wpn_slot_record& s = pln[0].acf_wpn_slot[w];
        for (int k = 0; k < 3; ++k) {
            target[k] = s.wpn_pos[k];
            velocity[k] = s.wpn_vel[k];
        }
    }
    float d = f.groundspeed * 0.05f;
    if (!(d >= pln[0].acf_size_x)) d = pln[0].acf_size_x;
    if (d > 9.9e9f) d = 9.9e9f;
    if (v == VIEW_CHASE) {
        view_orbit_heading = 0.0f;
        view_orbit_pitch = 0.0f;
    }
    if (v == VIEW_FLYBY || v == VIEW_FLYBY_DRIFT) {
        const float lead = v == VIEW_FLYBY ? 4.0f : 0.5f;
        float camera[3];
        for (int k = 0; k < 3; ++k) camera[k] = target[k] + lead * velocity[k] + d;
        sim_graphics_view.view_x = camera[0];
        sim_graphics_view.view_y = camera[1];
        sim_graphics_view.view_z = camera[2];
        for (int k = 0; k < 3; ++k) view_fixed_point[k] = camera[k];
        if (v == VIEW_FLYBY_DRIFT)
            for (int k = 0; k < 3; ++k) view_fixed_velocity[k] = velocity[k];
    }
    if (app_mode == MODE_FLYING) MACIBM_load_background();
}

// The tower view's point: the runway end nearest the user's plane, half a
// runway in from its threshold, at the airport's height.
void tower_placement()
{
    const int a = start_selection.airport_index;
    if (!airport_ok(a)) return;
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    float best = 9.9e9f;
    for (const runway_record& r : apt.runways) {
        if (r.number[0] == 'x') continue;
        float x, y, z;
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, apt.elevation);
        for (int end = 0; end < 2; ++end) {
            const double h = (r.heading + 180.0 * end) * DEG_TO_RAD_DOUBLE;
            const float s = (r.length - 10.0f) * 0.5f;
            const float px = x - s * static_cast<float>(std::sin(h));
            const float pz = z + s * static_cast<float>(std::cos(h));
            const float dx = px - flt[0].local_x;
            const float dz = pz - flt[0].local_z;
            const float dist = std::sqrt(dx * dx + dz * dz);
            if (dist < best) {
                best = dist;
                sim_graphics_view.view_x = px;
                sim_graphics_view.view_y = y;
                sim_graphics_view.view_z = pz;
            }
        }
    }
}

void zoom_command(int32_t command)
{
    const bool out = command == COMMAND_ZOOM_OUT;
    float& zoom = screen_settings.preview_zoom;
    if (app_mode == MODE_FLIGHT_PATH_3D) zoom = UTIL_clamp_nan_low(out ? zoom / 1.05f : zoom * 1.05f, 0.05f, 1.5f);
    if (app_mode == MODE_GLOBE) zoom = UTIL_clamp_nan_low(out ? zoom / 1.05f : zoom * 1.05f, 0.2f, 1.0f);
    const int v = sim_graphics_view.view_type;
    if (v == VIEW_CHASE || VIEW_is_orbit(v)) {
        const float nm = view_distance * (1.0f / UNIT.nm_to_mtrs);
        const float k = UTIL_clamp_nan_low(0.1f - 0.08f * std::sqrt(nm / 4.0f), 0.02f, 0.1f);
        view_distance *= out ? 1.0f - k : 1.0f + k;
    } else {
        view_zoom_target = UTIL_clamp_nan_low(out ? view_zoom_target * 2.0f : view_zoom_target * 0.5f, 1.0f, 400.0f);
    }
}

void replay_toggle()
{
    int32_t& mode = sim_operation_prefs.replay_mode;
    if (mode == 0) {
        mode = 5;
        PLANE_pack_state(saved_replay_state, 0);
    } else {
        mode = 0;
        PLANE_unpack_state(saved_replay_state, saved_replay_state, 0.5f, PLANE_UNPACK_REPLAY, 0);
    }
    if (slot_live(9)) NET_data_send("KSTM", 0, mode == 0 ? "str_rep_fly    " : "str_rep_pause  ", 15, 9);
}

// ---------------------------------------------------------------------------
// Text file and checklist windows.

void clear_windows()
{
    std::memset(notes_text, 0, sizeof notes_text);
    notes_text_length = 0;
    notes_loaded = 0;
    std::memset(checklist_lines, 0, sizeof checklist_lines);
    checklist_count = 0;
    checklist_current = 0;
    checklist_loaded = 0;
}

// The text file chosen last, which the browser offers again.
struct text_file_choice_record {
    char name[TEXT_SIZE] = "";
    char path[TEXT_SIZE] = "";
};
text_file_choice_record text_file_choice;
ORVELL_RESET_RECORD(COMMANDS_text_file_choice_reset, text_file_choice, program);

FILE* browse_text_file()
{
    text_file_choice_record& c = text_file_choice;
    if (!commands_browser || !commands_browser(BROWSE_OPEN, KIND_TEXT, c.name, c.path)) return nullptr;
    c.path[TEXT_MAX_LEN] = 0;
    return PLAT_fopen(c.path, "rb");
}

void read_text_file()
{
    clear_windows();
    FILE* f = browse_text_file();
    if (!f) return;
    // The window is drawn as a text, so its last byte is kept for the
    // terminator (filling all of it would draw past the buffer): the last
    // place for a character is the one before it. Further characters
    // overwrite that place.
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (notes_text_length < TEXT_WINDOW_SIZE - 1) {
            notes_text[notes_text_length++] = static_cast<char>(c);
        } else {
            notes_text[TEXT_WINDOW_SIZE - 2] = static_cast<char>(c);
        }
    }
    notes_text[notes_text_length] = 0;
    std::fclose(f);
    notes_loaded = 1;
    notes_shown = 1;
    checklist_shown = 0;
}

// One line of a text file: leading blanks skipped, at most size - 1
// characters kept, the rest of the line dropped. False at the end of the file.
bool read_checklist_line(FILE* f, char* out, int size)
{
    int c = std::fgetc(f);
    if (c == EOF) return false;
    while (c == ' ' || c == '\t') c = std::fgetc(f);
    int n = 0;
    while (c != EOF && c != '\n' && c != '\r') {
        if (n < size - 1) out[n++] = static_cast<char>(c);
        c = std::fgetc(f);
    }
    out[n] = 0;
    if (c == '\r') {
        const int next = std::fgetc(f);
        if (next != '\n' && next != EOF) std::ungetc(next, f);
    }
    return true;
}

void read_checklist()
{
    clear_windows();
    FILE* f = browse_text_file();
    if (!f) return;
    char line[CHECKLIST_LINE_SIZE];
    int count = 0;
    while (read_checklist_line(f, line, CHECKLIST_LINE_SIZE)) {
        if (!line[0]) continue;
        const int at = std::min(count, CHECKLIST_LINES - 1);   // further lines overwrite the last
        std::memcpy(checklist_lines[at], line, CHECKLIST_LINE_SIZE);
        if (count < CHECKLIST_LINES) ++count;
    }
    std::fclose(f);
    checklist_count = count;
    checklist_loaded = 1;
    checklist_shown = 1;
    notes_shown = 0;
}

// ---------------------------------------------------------------------------
// Preset flights.

void preset_flight(int32_t command)
{
    const bool first = command == 1231;
    sim_time_block& t = sim_time;
    sim_weather_block& w = sim_weather;
    t.zulu_time_sec = (first ? 20.0f : 1.0f) * 3600.0f;
    t.local_time_sec = (first ? 12.0f : 17.0f) * 3600.0f;
    t.local_date_days = 90;
    w.rain_percent = first ? 0.0f : 1.0f;
    w.thunderstorm_percent = first ? 0.0f : 0.2f;
    w.wind_turbulence_percent = 0.0f;
    w.microburst_probability = 0.0f;
    w.visibility_reported_m = (first ? 15.0f : 7.5f) * UNIT.nm_to_mtrs;
    w.cloud_type[0] = first ? 1 : 4;
    w.cloud_base_msl_m[0] = (first ? 8000.0f : 2000.0f) * UNIT.ft_to_mtrs;
    w.cloud_tops_msl_m[0] = (first ? 8000.0f : 3000.0f) * UNIT.ft_to_mtrs;
    w.cloud_type[1] = 0;
    w.cloud_base_msl_m[1] = 20000.0f * UNIT.ft_to_mtrs;
    w.cloud_tops_msl_m[1] = 25000.0f * UNIT.ft_to_mtrs;
    // With no such airport the found index means nothing (taking it would
    // select past the airport table): the selection and the plane stay as
    // they are.
    int found = -1;
    if (NAV_find_nearest_by_id("KSBD", APT_KIND_FOR_SEARCH, found, flt[0].latitude, flt[0].longitude) &&
        airport_ok(found)) {
        start_selection.airport_index = found;
        place_at_airport(found);
    }
    APT_build_scene(1);
    FLIGHT_init_situation(408, 401);
    preset_flight_a = 1;
    preset_flight_b = 1;

    const acf_struct& a = pln[0];
    float* tanks[3] = {&flt[0].m_fuel1, &flt[0].m_fuel2, &flt[0].m_fuel3};
    for (int k = 1; k <= 3; ++k) {
        if (a.acf_num_tanks < k) continue;
        const float share = std::min(0.5f / static_cast<float>(a.acf_num_tanks), a.acf_tank_rat[k - 1]);
        *tanks[k - 1] = a.acf_m_fuel_tot * std::max(share, 0.0f);
    }
}

// ---------------------------------------------------------------------------

void first_group(int32_t c)
{
    if (c == 0) MACIBM_nuke_alert(app_mode, "", "", "", "", ALERT_ABOUT);
    if (c == 1) set_mode(MODE_CREDITS);
    if (c == 200) open_aircraft();
    if (c == 202 || c == 205) save_situation(c);
    if (c == 203 || c == 206) open_situation(c);
    if (c == 208) quit();

    // Start choices are checked before they are forwarded or used.
    const char* why = nullptr;
    airport_choice apt{};
    int navaid = -1;
    if (c >= 4000 && c <= 163999) {
        apt = decode_airport_choice(c);
        why = airport_choice_problem(apt);
    } else if (c >= 2400 && c <= 2799) {
        navaid = navaid_of_command(c, why);
    }
    if (why) {
        refuse_start_choice(why);
        return;
    }
    if (in_forwarded_range(c)) forward_to_peers(c);
    if (c >= 4000 && c <= 163999) airport_start(apt);
    if (c >= 2400 && c <= 2799) navaid_start(navaid);
    if (c == 408) set_mode(MODE_AIRPORT_LIST);
    if ((c >= 2800 && c <= 2805) || (c >= 3000 && c <= 3005) || (c >= 3200 && c <= 3205) ||
        (c >= 3207 && c <= 3210))
        FLIGHT_init_situation(c, 0);
    if (c == 414) random_start();
    if (c == 416) switch_planet(PLANET_EARTH);
    if (c == 417) switch_planet(PLANET_MARS);
}

struct screen_entry {
    int32_t command;
    int32_t mode;
};
constexpr screen_entry screens[] = {
    {603, MODE_SOUND},           {600, MODE_NETWORK},          {601, MODE_JOYSTICK},
    {604, MODE_RENDERING},       {605, MODE_MOVIE},            {608, MODE_DATE_TIME},
    {607, MODE_WEATHER},         {610, MODE_WEIGHT_FUEL},      {611, MODE_FAILURES},
    {613, MODE_OPERATION_PREFS}, {616, MODE_START_SCREEN},     {614, MODE_AIRCRAFT_PATHS},
    {800, MODE_OPERATOR},        {801, MODE_FLIGHT_PATH_3D},   {802, MODE_GLOBE},
    {803, MODE_OPERATOR_STATION}, {807, MODE_LOGBOOK},         {1200, MODE_TEXT_PAGES},
    {1220, MODE_PLANET}};

// The screen a command opens (the flying view: none). The data graph opens
// the network screen when nothing is graphed.
int32_t screen_of_command(int32_t c)
{
    if (c == 1) return MODE_CREDITS;
    if (c == 408) return MODE_AIRPORT_LIST;
    for (const screen_entry& s : screens)
        if (c == s.command) return s.mode;
    if (c == 805) return MODE_DATA_GRAPH;
    if (c >= 1400 && c < 1400 + LOCAL_AIRPORT_MAX) return MODE_OPERATOR_AIRPORT;
    return MODE_FLYING;
}

void screen_commands(int32_t c)
{
    if (c == 600) network_screen.graph_note = 0;
    for (const screen_entry& s : screens)
        if (c == s.command) set_mode(s.mode);
    if (c == 805) {
        bool graphed = false;
        for (int32_t g : sim_network_dataout.data_to_graph) graphed = graphed || g != 0;
        // With nothing to graph the data table opens instead, on its own tab,
        // and says what to tick there: opened on the connections tab last
        // shown, it left the user on a page with no graph boxes at all.
        if (!graphed) network_screen.graph_note = 1, network_screen.network_tab = 0;
        set_mode(graphed ? MODE_DATA_GRAPH : MODE_NETWORK);
    }
    if (c >= 1400 && c - 1400 <= local_airport_last && c - 1400 < LOCAL_AIRPORT_MAX) {
        chart_airport = local_airport_list[c - 1400];
        set_mode(MODE_OPERATOR_AIRPORT);
    }
}

void further_commands(int32_t c)
{
    if (VIEW_is_view(c)) view_command(c);
    if (c == VIEW_RUNWAY) tower_placement();
    if (c == COMMAND_ZOOM_OUT || c == COMMAND_ZOOM_IN) zoom_command(c);
    if (c == COMMAND_TRANSPARENT_PANEL) sim_graphics_settings.transparent_panel = !sim_graphics_settings.transparent_panel;
    if (c == COMMAND_SMOKE) flt[0].smoking = !flt[0].smoking;
    if (c == COMMAND_REPLAY) replay_toggle();
    if (c == 1032) sim_cockpit_misc.show_path = !sim_cockpit_misc.show_path;
    if (c == 1034) REPLAY_clear_ring();
    if (c == 1036) view_follow_weapon = !view_follow_weapon;
    if (c == COMMAND_DATA_TO_FILE) {
        notice("The flight model's state will be written", "to the file ORVELL.OUT", "in the program's folder",
               "at the next step.");
        sim_network_dataout.dump_next_cycle = 1;
    }
    if (c == 1202) {
        int32_t& level = sim_graphics_view.visibility_math_level;
        // Widened so that a stored largest value does not overflow.
        level = static_cast<int32_t>((static_cast<int64_t>(level) + 1) % 6);
    }
    if (c == 1208) read_text_file();
    if (c == 1211) read_checklist();
    if (c == 1209) notes_shown = !notes_shown;
    if (c == 1212) checklist_shown = !checklist_shown;
    if (c == 1206) sim_graphics_misc.show_panel_click_spots = !sim_graphics_misc.show_panel_click_spots;
    if (c == 1205) OGL_screenshot();
    if (c == 1214) {
        auto_flight_on = !auto_flight_on;
        if (!auto_flight_on) {
            sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
            ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
        }
    }
    if (c == 1215) auto_view_cycle_on = !auto_view_cycle_on;
    if (c == 1217 || c == 1218) {
        notice("A stability test was requested:", "the aircraft will be disturbed", "and its response recorded.",
               "Keep the controls still.");
        if (c == 1217)
            sim_flightmodel_misc.stab_ptch_test = 2;
        else
            sim_flightmodel_misc.stab_hdng_test = 2;
    }
    if (c == 1231 || c == 1232) preset_flight(c);
}

void handle(int32_t command)
{
    if (sim_operation_prefs.replay_mode == 0 || command == 208) first_group(command);
    screen_commands(command);
    further_commands(command);
}

// ---------------------------------------------------------------------------
// What a peer may run.

constexpr float PEER_SCREENSHOT_PERIOD_SEC = 5.0f;

struct peer_command_state {
    bool shot = false;          // a peer's screenshot was taken
    float shot_time = 0.0f;     // frame clock of the last one
};
peer_command_state peer_commands;

// Why a peer may not run `c` (nullptr: it may): the one place that decides,
// however the peer reached the item ("menu selection ", a click, a key). A
// box, the file browser or a screen stops the flight until someone at this
// machine leaves it, and a peer can ask for one after another; a file written
// for each request fills the disk. So a peer runs no command that opens a
// screen (settings, maps, the operator station, the logbook), a box or the
// file browser (the about box, the aircraft, situation, movie and text files,
// the aircraft report's and the stability tests' notices, a planet switch
// that would say so first) and takes a screenshot at most once every few
// seconds. A peer names its situations with "sit selection  ".
const char* peer_refusal(int32_t c)
{
    if (!APPLICATION_peer_may_enter(screen_of_command(c))) return APPLICATION_PEER_SCREEN_REFUSAL;
    switch (c) {
    case 0:
    case 200:
    case 202:
    case 203:
    case 205:
    case 206:
    case 1203:
    case 1208:
    case 1211:
    case 1217:
    case 1218: return "its command opens a box or the file browser";
    case 416:
    case 417:
        if (sim_graphics_scenery.current_planet == (c == 416 ? PLANET_EARTH : PLANET_MARS) ||
            (!slot_on(6) && !slot_on(7) && !slot_on(8)))
            return "its planet switch would stop the flight with a box";
        return nullptr;
    case 1205:
        // A clock that went back counts as a screenshot long ago.
        if (peer_commands.shot && frame_clock >= peer_commands.shot_time &&
            frame_clock - peer_commands.shot_time < PEER_SCREENSHOT_PERIOD_SEC)
            return "a screenshot was taken for a peer moments before";
        peer_commands.shot = true;
        peer_commands.shot_time = frame_clock;
        return nullptr;
    default: return nullptr;
    }
}

}  // namespace

ORVELL_RESET_RECORD(COMMANDS_peer_reset, peer_commands, program);

namespace {

// Runs `command` as from a peer or from this machine, and puts the source
// back however it ends: a start whose aircraft cannot be read throws, and a
// source left set would treat this machine's own choices as a peer's.
void handle_from(int32_t command, int from_peer)
{
    const net_peer_scope scope(from_peer);
    const PREFS_peer_setting_watch kept_settings(from_peer != 0);
    handle(command);
}

}  // namespace

void APPLICATION_handlemenu(int32_t command)
{
    // Run while a peer's click or key is handled (a menu item, a key's
    // command), or from within a peer's command: the peer's.
    if (net_command_from_peer) return NET_run_peer_command(command);
    handle_from(command, 0);
}

void APPLICATION_handlemenu_remote(int32_t command)
{
    if (const char* why = peer_refusal(command)) return NET_refuse_command(why);
    handle_from(command, 1);
}

int COMMANDS_peer_situation_name_ok(const char* name)
{
    if (!name || !name[0]) return 0;
    const size_t len = strnlen(name, TEXT_SIZE);
    if (len >= TEXT_SIZE) return 0;
    if (std::strstr(name, "..")) return 0;
    for (size_t i = 0; i < len; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == '/' || c == '\\' || c == ':' || c < 32) return 0;
    }
    return std::strlen(folder_table[FOLDER_SITUATIONS]) + len <= static_cast<size_t>(TEXT_MAX_LEN) ? 1 : 0;
}

int APPLICATION_load_peer_situation(const char* name)
{
    // What the situation's start would show in a box is counted as refused.
    const net_peer_scope peer;
    // A name from a datagram with a separator or ".." would read (and start a
    // flight from) any file on the machine: only a plain name is taken.
    if (!COMMANDS_peer_situation_name_ok(name)) {
        NET_refuse_command("A situation named by the network was refused (only plain names inside "
                           "OUTPUT:SITUATIONS: are loaded)");
        return 0;
    }
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_SITUATIONS], name, path);
    if (!read_situation(PREFS_KIND_SITUATION, path)) return 0;
    aircraft_path_to_full();
    ACF_load_and_setup(0);
    if (app_mode != MODE_FLYING) APPLICATION_set_mode(MODE_FLYING, "net load sit");
    reference_at_situation();
    APT_build_scene(1);
    FLIGHT_init_situation(203, 0);
    velocity_through_the_air();
    resume_situation_autopilot();
    return 1;
}

void APPLICATION_save_preferences_and_logbook()
{
    // From here on a save that fails is a notice in ERROR.OUT: a box would
    // hold the quit up, and a second quit request would save again.
    ALERT_set_quitting(true);
    // A quit before the world is loaded leaves the preference files as they
    // are. Once it is, every quit saves them: the loaded area holds no airport
    // over open water or near a pole, and asking for one there lost the
    // settings changed in flight without a word.
    if (APPLICATION_started()) {
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, pref_path_general);
        PREFS_read_write(PREFS_KIND_PILOT, PREFS_WRITE, pref_path_pilot);
    }
    LOGBOOK_write();
}
