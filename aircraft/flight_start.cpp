// Flight starts of the user's plane: the dispatcher by situation code, the
// airport, position and nearest-runway placements and the common reset that
// gives every flight a fresh start. The special situations are in
// flight_start_special.cpp, the reset of any slot at a point in flight_reset.cpp.
#include "aircraft/flight_start.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_equipment.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start_internal.h"
#include "aircraft/launch_flags.h"
#include "core/alert.h"
#include "core/hooks.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/attitude.h"
#include "flightmodel/control/autopilot_modes.h"
#include "flightmodel/control/engine_controls.h"
#include "flightmodel/flt.h"
#include "flightmodel/level_trim.h"
#include "flightmodel/systems/environment.h"
#include "flightmodel/systems/radios.h"
#include "core/numeric.h"
#include "core/units.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/weapons/weapons.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/ground/terrain_query.h"
#include "links/dataout_session.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "links/speech.h"
#include "flightmodel/effects/engine_trail_list.h"
#include "world/scene_origin.h"
#include "world/ships.h"
#include "world/airport_state.h"
#include "world/apt_scene.h"
#include "world/atc/atc_state.h"
#include "world/navdb.h"

int32_t chosen_navaid = -1;
int32_t& situation_hold_a = launch_flags.mothership_carried;
int32_t& situation_hold_b = launch_flags.tow_attached;
int32_t& situation_hold_c = launch_flags.winch_attached;
float situation_altitude = 0.0f;
float situation_speed = 0.0f;
float airport_surface_height_m = -9999.0f;
int32_t airport_surface_valid = 0;

// The user's choices for the next starts: kept from start to start.
void FLIGHT_choices_reset()
{
    chosen_navaid = -1;
    situation_altitude = situation_speed = 0.0f;
}
ORVELL_RESET(FLIGHT_choices_reset, program);

// The airport surface of the last start (the holds are launch flags, set by
// each start).
void FLIGHT_start_reset()
{
    airport_surface_height_m = -9999.0f;
    airport_surface_valid = 0;
}
ORVELL_RESET(FLIGHT_start_reset, flight);

// What the next start compares itself with: the aircraft and the airport of
// the start before (-1 when it was no airport start), and whether the start
// being made is the restart after a crash.
struct flight_start_kept_record {
    char acf_file_path[sizeof acf_struct::acf_file_path];
    int32_t airport_index = -1;
    char airport_id[sizeof airport_record::id];
    bool crash_restart = false;
};
flight_start_kept_record flight_start_kept{};
ORVELL_RESET_RECORD(FLIGHT_start_kept_reset, flight_start_kept, program);

namespace {

constexpr float NO_SURFACE = -9999.0f;
constexpr float TOW_PLANE_AHEAD_M = 55.0f;
constexpr float WINCH_CABLE_M = 2000.0f;
constexpr float STANDING_SPEED_MPS = 1.0f;   // below it the plane counts as standing
constexpr float MODEL_AIRCRAFT_MAX_KG = 45.36f;   // 100 lb
constexpr int PLUGIN_EVENT_FLIGHT_START = 4;
constexpr int FUEL_SELECTOR_ALL = 4;
constexpr int32_t TRANSPONDER_ON = 2;
constexpr float APPROACH_FLAPS = 0.5f;
constexpr float MOVING_THROTTLE = 0.75f;   // before the trim finds the throttle of a start in flight
// Where the trim's throttle search starts again when no balance is found
// from MOVING_THROTTLE.
constexpr float LOW_THROTTLE = 0.25f;
constexpr float APPROACH_SPEED_VS = 1.5f;   // the approach starts' speed over the estimated stall speed
// An approach start on a runway with a glide slope starts this far below it,
// so an armed glide slope meets the beam at once or from below.
constexpr float APPROACH_BELOW_SLOPE_DOTS = 0.25f;
constexpr float GLIDE_SLOPE_ACROSS_M = 300.0f;   // a runway's glide slope stands within this of its centreline
constexpr float GLIDE_SLOPE_COURSE_DEG = 10.0f;   // and points within this of the landing heading

float sin_deg(float a) { return static_cast<float>(std::sin(a * DEG_TO_RAD_DOUBLE)); }
float cos_deg(float a) { return static_cast<float>(std::cos(a * DEG_TO_RAD_DOUBLE)); }

float finite_or(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

// The airport selection and its start index, clamped into the airport's lists.
struct airport_choice {
    const airport_record* airport = nullptr;
    int index = 0;
};

airport_choice clamp_selection(int sub_mode)
{
    airport_choice c;
    const int count = static_cast<int>(airport_table.size());
    int32_t& a = start_selection.airport_index;
    int32_t& s = start_selection.start_index;
    if (count == 0) return c;
    if (a < 0) a = 0;
    if (a > count - 1) a = count - 1;
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    const int n = static_cast<int>(sub_mode == SIT_RAMP ? apt.starts.size() : apt.runways.size());
    if (s < 0) s = 0;
    if (n > 0 && s > n - 1) s = n - 1;
    if (n == 0) return c;
    // The index a ramp start left names a start position, and clamped it can
    // name any row: a runway start on a taxiway row stood the plane on the
    // taxiway by the ramp. The airport's first runway is taken instead.
    if (sub_mode != SIT_RAMP && apt.runways[static_cast<size_t>(s)].number[0] == 'x')
        for (int k = 0; k < n; ++k)
            if (apt.runways[static_cast<size_t>(k)].number[0] != 'x') {
                s = k;
                break;
            }
    c.airport = &apt;
    c.index = s;
    return c;
}

// The runway nearest to the plane of the code's type codes (2800..2803); on a
// find the selection moves there and the local frame is centred on it.
void nearest_runway_of_type(int code)
{
    auto matches = [code](int32_t t) {
        switch (code) {
        case 2800: return t == 162;
        case 2801: return t == 163;
        case 2802: return t == 164;
        default: return t >= 166 && t <= 169;
        }
    };
    const float lat = flt[0].latitude, lon = flt[0].longitude;
    float best = 9.9e9f;
    int best_airport = -1, best_runway = -1;
    for (size_t a = 0; a < airport_table.size(); ++a) {
        const airport_record& apt = airport_table[a];
        for (size_t r = 0; r < apt.runways.size(); ++r) {
            const runway_record& rw = apt.runways[r];
            if (rw.number[0] == 'x' || !matches(rw.surface_code)) continue;
            const float d = std::sqrt((rw.lat - lat) * (rw.lat - lat) + (rw.lon - lon) * (rw.lon - lon));
            if (d < best) {
                best = d;
                best_airport = static_cast<int>(a);
                best_runway = static_cast<int>(r);
            }
        }
    }
    if (best_airport < 0) {
        // The start goes on from the selected runway; without a word it looked
        // as if the menu item did nothing.
        static constexpr const char* kinds[] = {"grass runway", "dirt runway", "gravel runway", "helipad"};
        char line[TEXT_SIZE];
        std::snprintf(line, sizeof line, "No %s among the loaded airports: the start is on the selected runway.",
                      kinds[code - SIT_NEAREST_RUNWAY_FIRST]);
        SOUND_speak(line, 1);
        return;
    }
    start_selection.airport_index = best_airport;
    start_selection.start_index = best_runway;
    const runway_record& rw = airport_table[static_cast<size_t>(best_airport)].runways[static_cast<size_t>(best_runway)];
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    lat_ref = static_cast<float>(GEO_round(rw.lat - reference_lat_offset[p]));
    lon_ref = static_cast<float>(GEO_round(rw.lon - reference_lon_offset[p]));
    APT_build_scene(1);
}

bool advisory_code(int code)
{
    return code == SIT_CATAPULT || code == SIT_OPEN_WATER || (code >= SIT_AERO_TOW && code <= SIT_MOTHER_SHIP) ||
           code == SIT_CARRIER_APPROACH || code == SIT_FRIGATE_APPROACH || code == SIT_FOREST_FIRE ||
           (code >= SIT_SHUTTLE_FIRST && code <= SIT_SHUTTLE_LAST);
}

// What every start does first: the selection, advisories, the frame centred
// on the airport and the scenery a special situation needs.
void prepare(int code, int place_code, const airport_choice& choice)
{
    if (sim_joystick.eq_cirrusII_app && advisory_code(code))
        FLIGHT_notice("This start is not one the console's approach trainer knows:",
                      "its instruments and lights may not match the situation.", "The start goes on.", "");
    // Of the airport starts only the airport start proper re-centres the
    // frame here: the aero-tow, winch and nearest-runway starts become runway
    // starts after this step (the nearest-runway start centres the frame on
    // its runway itself).
    // An airport without runways has no first runway to centre on (it would be
    // read past the empty list): the frame stays where it is.
    if (code == SIT_AIRPORT && choice.airport && !choice.airport->runways.empty()) {
        const runway_record& first = choice.airport->runways.front();
        SCENE_recenter_origin(first.lat, first.lon);
        SCENE_recenter_origin(first.lat, first.lon);
    }
    // A start at the block's position takes the scenery there first, as an
    // airport start does: placed in the frame of an area far away, the plane
    // would be at the right place only until the next scene build moved the
    // frame under it, to the other side of the planet.
    if (code == SIT_FROM_BLOCK || code == SIT_IN_FLIGHT) {
        float lat, lon;
        FLIGHT_block_latlon(lat, lon);
        SCENE_recenter_origin(lat, lon);
        SCENE_recenter_origin(lat, lon);
    }
    if (code == SIT_CATAPULT &&
        TERRAIN_point_in_area(ship_x[SHIP_CARRIER], ship_y[SHIP_CARRIER], ship_z[SHIP_CARRIER], 0.0f)) {
        float elevation = 0.0f;
        GEO_local_to_latlon(flt[0].latitude, flt[0].longitude, elevation, ship_x[SHIP_CARRIER], ship_y[SHIP_CARRIER],
                            ship_z[SHIP_CARRIER]);
        SCENE_recenter_origin(flt[0].latitude, flt[0].longitude);
        SCENE_recenter_origin(flt[0].latitude, flt[0].longitude);
    }
    FLIGHT_special_scenery(code);
}

// The launch flags of a fresh start.
void launch_state(int code)
{
    airport_surface_height_m = NO_SURFACE;
    airport_surface_valid = 0;
    launch_flags_block& l = launch_flags;
    l.catapult_hold = l.catapult_fired = 0;
    l.catapult_launch_time = 0.0f;
    l.catapult_accel_mss = 0.0f;
    l.arrest_decel = 0.0f;
    l.arrest_engaged = 0;
    l.hook_active = 0;
    l.tow_attached = 0;
    l.winch_attached = 0;
    l.aero_tow_mode = l.tow_situation = code == SIT_AERO_TOW ? 1 : 0;
    l.winch_mode = code == SIT_WINCH ? 1 : 0;
    l.tow_armed = l.aero_tow_mode;
    l.winch_armed = l.winch_mode;
    l.plane1_straight_situation = l.mothership_carried = code == SIT_MOTHER_SHIP ? 1 : 0;
}

// The glide slope that serves a landing on this runway heading (degrees
// true): a glide-slope transmitter pointing along it and standing beside the
// runway, within half its length of the centre point and 300 m of the
// centreline (the one nearest the centreline); nullptr when it has none.
const navaid_record* glide_slope_of(const runway_record& rw, float heading_true)
{
    const float north_m = static_cast<float>(sim_physics.earth_radius_m * DEG_TO_RAD_DOUBLE);
    const float east_m = north_m * cos_deg(rw.lat);
    const float s = sin_deg(heading_true), c = cos_deg(heading_true);
    const navaid_record* best = nullptr;
    float best_across = GLIDE_SLOPE_ACROSS_M;
    for (const navaid_record& n : navaid_table) {
        if (n.kind != NAV_GLIDESLOPE) continue;
        const float course = static_cast<float>(GEO_round(n.heading) % 1000);
        if (std::fabs(UTIL_wrap_pm180(course - heading_true)) > GLIDE_SLOPE_COURSE_DEG) continue;
        const float north = (n.lat - rw.lat) * north_m, east = UTIL_wrap_pm180(n.lon - rw.lon) * east_m;
        const float along = north * c + east * s, across = std::fabs(east * c - north * s);
        if (std::fabs(along) > 0.5f * rw.length || across >= best_across) continue;
        best = &n;
        best_across = across;
    }
    return best;
}

// Raises or lowers an approach start to the glide slope `gs` less a quarter
// of a dot, as the receivers measure it: the height over the transmitter
// against the distance to it in the local frame. Started at a fixed 3 degrees
// from the threshold instead, the plane began up to 1.4 dots above the beam
// where the transmitter stands further in or the ground falls away, and an
// armed glide slope, captured only within 0.05 degrees, never met it.
void onto_glide_slope(const navaid_record& gs, start_place& p)
{
    const float slope = static_cast<float>(GEO_round(gs.heading) / 1000) * 0.01f;
    float gx, gy, gz;
    GEO_latlon_to_local(gx, gy, gz, gs.lat, gs.lon, gs.height);
    const float horizontal = std::hypot(p.x - gx, p.z - gz);
    const float angle = slope - APPROACH_BELOW_SLOPE_DOTS / UNIT_GS_DOTS_PER_DEG;
    const float wanted = gs.height + horizontal * static_cast<float>(std::tan(angle * DEG_TO_RAD_DOUBLE));
    // The local frame's up is the vertical at its centre only: two steps take
    // up the small tilt at the plane's place.
    for (int k = 0; k < 2; ++k) {
        float lat, lon, elevation;
        GEO_local_to_latlon(lat, lon, elevation, p.x, p.y, p.z);
        p.y += wanted - elevation;
    }
}

// Placement at the selected airport: ramp, runway or approach.
void place_at_airport(int code, int& sub_mode, const airport_choice& choice, start_place& p)
{
    const acf_struct& a = pln[0];
    if (sub_mode == SIT_RUNWAY && a.acf_gear_type[PART_GEAR_FIRST] == 0) sub_mode = SIT_APPROACH_3NM;
    const airport_record& apt = *choice.airport;
    float lat, lon, heading;
    float length = 0.0f;
    if (sub_mode == SIT_RAMP) {
        const start_position_record& sp = apt.starts[static_cast<size_t>(choice.index)];
        lat = sp.lat;
        lon = sp.lon;
        heading = sp.heading;
    } else {
        const runway_record& rw = apt.runways[static_cast<size_t>(choice.index)];
        lat = rw.lat;
        lon = rw.lon;
        length = rw.length;
        heading = rw.heading + GEO_grid_convergence(lat, lon);
        if (sim_time.backwards) heading = UTIL_wrap_open(heading + 180.0f, 360.0f);
    }
    GEO_latlon_to_local(p.x, p.y, p.z, lat, lon, apt.elevation + a.acf_h_eqlbm);
    const float s = sin_deg(heading), c = cos_deg(heading);
    if (sub_mode != SIT_RAMP) {
        // Back from the runway's centre point so the plane stands 10 m inside the threshold.
        const float back = (length - 20.0f) * 0.5f;
        p.x -= back * s;
        p.z += back * c;
        p.psi = heading;
    }
    if (sub_mode == SIT_RAMP) {
        p.psi = heading;
        p.theta = a.acf_the_eqlbm;
        p.groundspeed = 0.0f;
    } else if (sub_mode == SIT_RUNWAY) {
        launch_flags.winch_x = p.x + WINCH_CABLE_M * s;
        launch_flags.winch_y = p.y;
        launch_flags.winch_z = p.z - WINCH_CABLE_M * c;
        launch_flags.winch_cable_m = WINCH_CABLE_M;
        p.theta = a.acf_the_eqlbm;
        p.groundspeed = 0.0f;
    } else {
        const float d = (sub_mode == SIT_APPROACH_10NM ? 10.0f : 3.0f) * UNIT.nm_to_mtrs;
        const float glide = a.acf_num_engines == 0 ? 6.0f : 3.0f;
        p.x -= d * s;
        p.z += d * c;
        p.y += d * sin_deg(glide);
        // A powered approach onto a runway with a glide slope starts just below the beam.
        const runway_record& rw = apt.runways[static_cast<size_t>(choice.index)];
        const navaid_record* gs =
            a.acf_num_engines > 0 ? glide_slope_of(rw, sim_time.backwards ? UTIL_wrap_open(rw.heading + 180.0f, 360.0f) : rw.heading)
                                  : nullptr;
        if (gs) onto_glide_slope(*gs, p);
        p.theta = 0.0f;
        // A planet set without sea-level density or radius would divide by
        // zero here and start the plane at an infinite speed; such a term is 1.
        const float rho = sim_physics.rho_sea_level;
        const float r = sim_physics.earth_radius_m;
        const float density = rho > 0.0f ? std::sqrt(1.225f / rho) : 1.0f;
        const float gravity = r > 0.0f && sim_physics.earth_mu > 0.0f
                                  ? std::sqrt(sim_physics.earth_mu / (r * r) / UNIT.g_conv)
                                  : 1.0f;
        p.groundspeed = APPROACH_SPEED_VS * a.acf_est_Vs * density * gravity;
    }
    if (code == SIT_AERO_TOW && !FLIGHT_live_peer()) {
        const float h1 = pln[1].acf_h_eqlbm;
        FLIGHT_reset_at_start(1, pln[1].acf_the_eqlbm, p.psi, 0.0f, p.x + TOW_PLANE_AHEAD_M * sin_deg(p.psi),
                              p.y - a.acf_h_eqlbm + h1, p.z - TOW_PLANE_AHEAD_M * cos_deg(p.psi), 0.0f);
        flt[1].flaprat = 0.5f;
    }
}

// Placement at the start-position block's position, heading and speed.
void place_from_block(start_place& p)
{
    const situation_start_record& b = situation_start_state;
    // Values from files and peers are kept within the planet: a height up to
    // 10,000 km and a speed up to 100 km/s (the position as FLIGHT_block_latlon
    // keeps it). Taken as they come, a damaged file or datagram would put the
    // plane at a position the flight model cannot compute; a value not finite
    // counts as 0.
    float lat, lon;
    FLIGHT_block_latlon(lat, lon);
    const float elevation = UTIL_clamp(finite_or(b.elevation, 0.0f), -1.0e7f, 1.0e7f);
    GEO_latlon_to_local(p.x, p.y, p.z, lat, lon, elevation);
    p.psi = finite_or(b.psi, 0.0f);
    p.groundspeed = UTIL_clamp(finite_or(b.groundspeed, 0.0f), -1.0e5f, 1.0e5f);
    p.theta = 0.0f;
}

// For the common reset: the ground velocity in the level frame at the
// plane turned into the area frame (the end of a 1-m step along the heading
// taken through latitude and longitude and back). At a pole the step's
// longitude would divide by a zero cosine; there it takes no longitude.
void velocity_in_area_frame(flt_struct& f)
{
    const double r = sim_physics.earth_radius_m + f.elevation;
    float vx = 0.0f, vy = 0.0f, vz = 0.0f;
    if (r > 1.0 && f.groundspeed != 0.0f) {
        const double h = f.psi * DEG_TO_RAD_DOUBLE;
        const double lat = f.latitude;
        const double dlat = std::cos(h) / r * RAD_TO_DEG_DOUBLE;
        const double coslat = std::cos(lat * DEG_TO_RAD_DOUBLE);
        const double dlon = coslat > 1e-6 ? std::sin(h) / (r * coslat) * RAD_TO_DEG_DOUBLE : 0.0;
        float x0, y0, z0, x1, y1, z1;
        GEO_latlon_to_local(x0, y0, z0, lat, f.longitude, f.elevation);
        GEO_latlon_to_local(x1, y1, z1, lat + dlat, f.longitude + dlon, f.elevation);
        vx = (x1 - x0) * f.groundspeed;
        vy = (y1 - y0) * f.groundspeed;
        vz = (z1 - z0) * f.groundspeed;
    }
    f.local_vx = vx;
    f.local_vy = vy;
    f.local_vz = vz;
    lat_ref = static_cast<float>(GEO_round(lat_ref));
    lon_ref = static_cast<float>(GEO_round(lon_ref));
}

void gear_for_start(int code, const flt_struct& f)
{
    acf_struct& a = pln[0];
    const bool down = a.acf_gear_retract == 0 || code == SIT_CATAPULT ||
                      (f.groundspeed < STANDING_SPEED_MPS && code != SIT_MOTHER_SHIP && code != SIT_OPEN_WATER);
    sim_cockpit_switches.gear_handle_status = down ? 1 : 0;
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        a.acf_gear_deploy[p] = down ? 1.0f : 0.0f;
        a.acf_gear_latN[p] = down ? a.acf_gear_latE[p] : a.acf_gear_latR[p];
        a.acf_gear_lonN[p] = down ? a.acf_gear_lonE[p] : a.acf_gear_lonR[p];
        a.acf_gear_axiN[p] = down ? a.acf_gear_axiE[p] : a.acf_gear_axiR[p];
    }
}

// A speed between two limits given in either order.
float between(float v, float a, float b)
{
    const float lo = a < b ? a : b, hi = a < b ? b : a;
    return v < lo ? lo : (v > hi ? hi : v);
}

// The engines of a start, with the throttle of a moving start. A plane on
// a moving deck (`on_deck`) stands on it, whatever its speed over the sea.
void engines_for_start(flt_struct& f, bool running, float moving_throttle, bool on_deck = false)
{
    const acf_struct& a = pln[0];
    const acf_equipment_block& eq = acf_equipment;
    sim_cockpit_engine_block& ce = sim_cockpit_engine;
    sim_cockpit_electrical_block& el = sim_cockpit_electrical;
    const bool standing = f.groundspeed < STANDING_SPEED_MPS || on_deck;
    for (int e = 0; e < FLT_ENGINES; ++e) {
        ce.igniters_on[e] = 1;
        ce.idle_speed[e] = 1;
        ce.fadec_on[e] = ENGN_has_fadec(0, e);
        el.generator_on[e] = running || eq.generator_EQ == 0 ? 1 : 0;
        ce.inverter_on[e] = running || eq.inverter_eq == 0 ? 1 : 0;
        ce.fuel_pump_on[e] = running || eq.fuel_pump_EQ == 0 ? 1 : 0;
        el.battery_on = running || eq.battery_EQ == 0 ? 1 : 0;
        el.avionics_on = running || eq.avionics_EQ == 0 ? 1 : 0;
        const bool open = !running && a.acf_has_clutch && a.acf_eng_clutch[e] != 0;
        ce.clutch_ratio[e] = open ? 0.0f : 1.0f;
        ce.clutch_engage = open ? 0 : 1;
        f.ENGN_thro[e] = f.groundspeed > STANDING_SPEED_MPS && !on_deck ? moving_throttle : 0.0f;
        f.ENGN_prop[e] = a.acf_RSC_redline_prp;
        f.ENGN_mixt[e] = !running && a.acf_panel_flag_51_52 ? 0.0f : 1.0f;
        f.ignition_on[e] = running ? 3 : 0;
        f.ENGN_running[e] = running ? 1 : 0;
        f.ENGN_model_value[e] = running ? 100.0f : 0.0f;
        f.ENGN_N1_[e] = running ? (a.acf_en_type[e] == ENGINE_JET_HIGH_BYPASS ? 20.0f : 50.0f) : 0.0f;
        f.ENGN_oil_quan[e] = 1.0f;
        f.ENGN_oil_temp[e] = running ? 0.5f : 0.0f;
        f.ENGN_bat_volt[e] = 1.0f;
        f.ENGN_mixt_pow_rat[e] = running ? 1.0f : 0.0f;
        f.ENGN_sigma[e] = 1.0f;
        f.ENGN_oil_lube_rat[e] = 1.0f;
        f.ENGN_propmode[e] = 1;
        const float throttle_root = std::sqrt(f.ENGN_thro[e]);
        const float run = running ? 1.0f : 0.0f;
        f.ENGN_tacrad[e] = run * between(a.acf_RSC_idlespeed_eng + (a.acf_RSC_redline_eng - a.acf_RSC_idlespeed_eng) * throttle_root,
                                         a.acf_RSC_idlespeed_eng, a.acf_RSC_redline_eng);
        f.POINT_tacrad[e] = run * between(a.acf_RSC_idlespeed_prp + (a.acf_RSC_redline_prp - a.acf_RSC_idlespeed_prp) * throttle_root,
                                          a.acf_RSC_idlespeed_prp, a.acf_RSC_redline_prp);
        f.POINT_pitch_deg[e] = standing ? a.acf_min_pitch[e] : (a.acf_min_pitch[e] + a.acf_max_pitch[e]) * 0.5f;
        if (running) {
            if (a.acf_props_linked) {
                f.ENGN_tacrad[e] = a.acf_RSC_redline_eng;
                // An engine without a gear ratio drives no propeller: dividing by
                // its zero ratio would start the propeller at an infinite speed.
                const float ratio = a.acf_prop_gear_rat[e];
                f.POINT_tacrad[e] = ratio != 0.0f ? a.acf_RSC_redline_prp * a.acf_prop_gear_rat[0] / ratio : 0.0f;
            }
            if (PROP_is_rotor(e) || a.acf_prop_type[e] == PROP_LIFT_FAN) f.POINT_tacrad[e] = 0.0f;
        }
    }
}

void lights_and_switches(int code, flt_struct& f, bool running)
{
    const acf_struct& a = pln[0];
    const int on = running ? 1 : 0;
    f.parkbrake = f.groundspeed < STANDING_SPEED_MPS || code == SIT_CATAPULT ? 1.0f : 0.0f;
    f.landing_lights_on = running && (a.acf_has_lanlite1 || a.acf_has_lanlite2) ? 1 : 0;
    f.taxi_light_on = running && a.acf_has_lanlite3 ? 1 : 0;
    f.nav_lights_on = running && a.acf_has_navlites ? 1 : 0;
    f.beacon_lights_on = f.strobe_lights_on = on;
    sim_cockpit_electrical.HUD_on = on;

    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    sw.yaw_damper_on = on;
    sw.auto_brake_settings = 0;
    sw.auto_feather_mode = 1;
    sw.art_stab_on = 1;
    sw.jato_on = sw.arresting_gear = sw.parachute_on = sw.prop_sync_on = sw.pre_rotating = 0;
    sw.pre_rotate_level = 0;
    sw.anti_ice_on = sw.anti_ice_inlet_heat = sw.anti_ice_prop_heat = sw.anti_ice_window_heat = 0;
    sw.anti_ice_surf_heat = sw.anti_ice_surf_boot = sw.anti_ice_auto_ignite = sw.anti_ice_inert_sep = 0;
    sw.pitot_heat_on = 0;
    sw.dumping_fuel = 0;
    sw.EFIS_map_mode = 1;
    sw.DME_distance_or_time = 0;
    sw.DME_radio_selector = 2;
    sim_cockpit_engine.fuel_tank_selector = FUEL_SELECTOR_ALL;
    sim_cockpit_engine.fuel_tank_transfer = 0;
    sim_cockpit_warnings.ECAM_warning_on = 0;
    sim_cockpit_warnings.master_accept_on = sim_cockpit_warnings.master_caution_on = 1;
    sim_cockpit_pressure.bleed_air_on = 0;
    sim_cockpit_pressure.cabin_altitude_set_m_msl = 0.0f;
    sim_cockpit_pressure.cabin_vvi_set_m_msec = 500.0f * units.fpm_to_mps;
    sim_cockpit_misc.ah_bar = 0.0f;
    sim_cockpit_electrical.cockpit_lights = 1.0f;
    sim_cockpit_weapons_block& w = sim_cockpit_weapons;
    w.guns_armed = w.rockets_armed = w.missiles_armed = w.bombs_armed = 0;

    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.autopilot_mode = 2;
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = AP_OFF;
    ap.backcourse_on = 0;
    ap.airspeed = ap.vertical_velocity = ap.altitude = ap.current_altitude = 0.0f;
    sim_cockpit_radios.transponder_mode = running ? TRANSPONDER_ON : 0;
    sim_cockpit_radios.marker_audio_working = sim_cockpit_radios.gear_audio_working = 1;
    sim_joystick.yolk_pitch_ratio = sim_joystick.yolk_roll_ratio = sim_joystick.yolk_heading_ratio = 0.0f;
    sim_network_misc.network_time_sec = 0.0f;
    sim_operation_failures.hydraulic_pressure_ratio = 1.0f;
    sim_flightmodel_misc.stab_ptch_test = sim_flightmodel_misc.stab_hdng_test = 0;
    sim_time.total_flight_time_sec = 0.0f;
    sim_weather.sigma = 1.0f;
}

void controls_for_start(int sub_mode, bool airport_start, flt_struct& f)
{
    const acf_struct& a = pln[0];
    if (airport_start && (sub_mode == SIT_APPROACH_3NM || sub_mode == SIT_APPROACH_10NM))
        f.flaprat = f.flaprqst = APPROACH_FLAPS;
    f.jett_len = 40.0f * units.ft_to_mtrs;
    f.jato_left = a.acf_jato_dur;
    f.displace_rat = 1.0f;
    if (a.acf_vectEQ) {
        // The vector starts vertical for a standing plane, level otherwise,
        // held within the aircraft's own vector limits.
        const float v = f.groundspeed < STANDING_SPEED_MPS ? 90.0f : 0.0f;
        const float lo = std::min(a.acf_flap_vect_lo, a.acf_flap_vect_hi), hi = std::max(a.acf_flap_vect_lo, a.acf_flap_vect_hi);
        f.vect_ratio = f.vectrqst = between(v, lo, hi);
    }
}

// A start in flight is trimmed for its speed, whatever the start: slower
// than the approach speed (1.5 times the estimated stall speed, indicated)
// it flies with the approach starts' half flaps, below the flaps' limit
// speed; the elevator, aileron and rudder trims and the throttle are those
// that hold the speed it meets the air with in level flight with the stick
// let go. At the trims of another speed the plane let go noses over, and at
// three-quarter throttle most aircraft this slow zoom up. The air at the new
// place is worked out first (the systems step would only do so next frame).
// The catapult start stands on the deck (its speed is the ship's). A plane
// carried by the mother ship is trimmed for its flight after the drop: at the
// trims of the ground it left a glider dropped at the mother ship's speed
// looped at once. The starts in company of a second aircraft, and every
// start in the air of a rotorcraft, first hold their speed (and height)
// within the aircraft's limits: a rotorcraft's trim holds only the speeds
// its cyclic and power reach. A start in flight at the stall margin (the
// random start) first takes 1.3 times the stall speed, indicated at its
// height and in its wind: the same speed over the ground, 1.3 times the
// stall speed at sea level, met the air at 11,800 ft a little above the
// stall, less in a tailwind, and the plane let go spiralled or dived.
void trim_for_start(int code, int sub_mode, flt_struct& f, bool running)
{
    const acf_struct& a = pln[0];
    if (!(f.groundspeed > STANDING_SPEED_MPS) || code == SIT_CATAPULT) return;
    // Trimmed as flying free: under the mother ship the carriage takes up the
    // plane's own forces, and no trim would balance them.
    int32_t& carried = launch_flags.mothership_carried;
    const int32_t was_carried = carried;
    carried = 0;
    if (code == SIT_IN_FLIGHT && sub_mode == SIT_AT_STALL_MARGIN && !a.acf_has_collective_rotor)
        FLIGHT_at_stall_margin();
    if (FLIGHT_in_company(code) || a.acf_has_collective_rotor) FLIGHT_start_within_limits(code);
    SYSTEMS_air_at_plane();
    const float sigma = sim_weather.sigma > 0.0f ? sim_weather.sigma : 0.0f;
    const float indicated = f.groundspeed * std::sqrt(sigma);
    const bool under_flap_limit = !(a.acf_Vfe > 0.0f) || indicated * units.mps_to_kts <= a.acf_Vfe;
    if (indicated < APPROACH_SPEED_VS * a.acf_est_Vs && under_flap_limit && f.flaprqst < APPROACH_FLAPS)
        f.flaprat = f.flaprqst = APPROACH_FLAPS;
    level_trim t = FM_level_flight_trim(MOVING_THROTTLE);
    // A jet's thrust at three-quarter throttle can pitch it beyond its trim's
    // range at the slow speed of an approach: the balance failed there, the
    // trims stayed at 0 with the throttle at 0.75, and the striker let go on
    // its 10-nm approach climbed at 1,500 ft/min with the autopilot's trim at
    // its stop. The search starts again from a low throttle, its engines
    // first set to it (from the engines of 0.75 the trial's settling left
    // too much thrust in the balance found).
    if (!t.balanced && a.acf_num_engines > 0 && !a.acf_has_collective_rotor) {
        engines_for_start(f, running, LOW_THROTTLE);
        t = FM_level_flight_trim(LOW_THROTTLE);
        if (!t.balanced) engines_for_start(f, running, MOVING_THROTTLE);
    }
    f.elv_trim = t.elv_trim;
    f.ail_trim = t.ail_trim;
    f.rud_trim = t.rud_trim;
    // A rotorcraft flies level only at its own attitude, carried by its
    // collective: set at the start's level attitude and mid collective it
    // climbed, pitched up and slid backwards. Its engines and rotors keep
    // the speeds the trim held them at, on the trim's throttle.
    if (a.acf_has_collective_rotor) {
        f.theta = t.theta_deg;
        f.phi = t.phi_deg;
        if (const int k = FM_collective_rotor(); k >= 0) f.POINT_pitch_deg[k] = t.collective_deg;
        for (float& e : f.ENGN_thro) e = t.throttle;
    } else if (t.throttle != MOVING_THROTTLE) {
        // The engine speeds follow the throttle.
        engines_for_start(f, running, t.throttle);
    }
    carried = was_carried;
}

// A start elsewhere empties the replay ring and forgets the runway, roof or
// deck found last under the plane: it belongs to where the plane was. Left
// set, the height query of the common reset would take that old surface's
// height as the ground here, and a start at an airport lower than the
// previous runway would stand the plane in the air above it, to drop and
// tumble. The next step finds the surface afresh at the new place. A start
// that keeps the position (a movie's) keeps both.
void forget_the_place()
{
    REPLAY_reset();
    GROUND_surface_reset();
}

// The flight plan's defaults and the callsign text.
void atc_for_start() { ATC_set_start_defaults(pln[0].acf_file_name); }

// The ATC state block at a start (the flight resets have closed the window
// and ended the request and the plan). A start at the airport of the start
// before, with the same aircraft, keeps the rest: the plan form as the pilot
// left it, to file again. Any other start zeroes it: kept, the controller's
// phase, the destination, the altitudes given and the check-in flag of a
// flight flown elsewhere, by another aircraft or ended by a crash went on
// into the new one (the menu offered a check-in no controller asked for, and
// a carrier approach started again after one that had called the ball heard
// no call). A start that keeps the position goes on with the flight.
void atc_block_for_start(int code, int place_code, const airport_choice& choice)
{
    flight_start_kept_record& k = flight_start_kept;
    const int airport = place_code == SIT_AIRPORT && choice.airport ? start_selection.airport_index : -1;
    const bool same_airport = airport >= 0 && airport == k.airport_index &&
                              std::strncmp(choice.airport->id, k.airport_id, sizeof k.airport_id) == 0;
    const bool same_aircraft = std::strncmp(pln[0].acf_file_path, k.acf_file_path, sizeof k.acf_file_path) == 0;
    const bool goes_on = same_airport || code == SIT_KEEP_POSITION;
    if (!goes_on || !same_aircraft || k.crash_restart) ATC_zero_state_block();
    if (code != SIT_KEEP_POSITION) {
        k.airport_index = airport;
        std::memset(k.airport_id, 0, sizeof k.airport_id);
        if (airport >= 0) std::memcpy(k.airport_id, choice.airport->id, sizeof k.airport_id);
    }
    std::memcpy(k.acf_file_path, pln[0].acf_file_path, sizeof k.acf_file_path);
}

void local_time()
{
    const int zone = GEO_round(flt[0].longitude / 15.0f);
    sim_time.local_time_sec = UTIL_wrap_open(sim_time.zulu_time_sec + 3600.0f * static_cast<float>(zone), 86400.0f);
}

// Codes 203 and 206: the start-position block's controls, fuel, masses,
// engine settings and failures, each bounded: the block comes from files and
// peers, and a failure state beyond the table's states, a negative mass or a
// value that is not a number would break the systems and the flight model
// that read them. Ratios are held in 0..1, masses at 0 or more, ignition in
// 0..3, failure states in the table's range; values not finite count as 0.
void restore_from_block(flt_struct& f)
{
    const situation_start_record& b = situation_start_state;
    auto ratio = [](float v) { return std::isfinite(v) ? UTIL_clamp(v, 0.0f, 1.0f) : 0.0f; };
    auto finite = [](float v) { return finite_or(v, 0.0f); };
    auto mass = [](float v) { return std::isfinite(v) && v > 0.0f ? v : 0.0f; };
    f.flaprat = ratio(b.flaprat);
    f.flaprqst = ratio(b.flaprqst);
    f.elv_trim = finite(b.elv_trim);
    f.rud_trim = finite(b.rud_trim);
    f.ail_trim = finite(b.ail_trim);
    f.m_fuel1 = mass(b.m_fuel1);
    f.m_fuel2 = mass(b.m_fuel2);
    f.m_fuel3 = mass(b.m_fuel3);
    f.m_jettison = mass(b.m_jettison);
    f.m_fixed = mass(b.m_fixed);
    for (int e = 0; e < FLT_ENGINES; ++e) {
        f.ignition_on[e] = b.ignition_on[e] < 0 ? 0 : (b.ignition_on[e] > 3 ? 3 : b.ignition_on[e]);
        f.ENGN_thro[e] = finite(b.ENGN_thro[e]);
        f.ENGN_prop[e] = finite(b.ENGN_prop[e]);
        f.POINT_pitch_deg[e] = finite(b.POINT_pitch_deg[e]);
        f.ENGN_mixt[e] = ratio(b.ENGN_mixt[e]);
        f.ENGN_tacrad[e] = f.POINT_tacrad[e] = finite(b.POINT_tacrad[e]);
    }
    for (int s = 0; s < FAILURE_SLOTS; ++s) {
        const int32_t v = b.failures[s];
        f.failures[s] = v < 0 ? 0 : (v > FAILURE_STATE_FAILED ? FAILURE_STATE_FAILED : v);
        f.failure_param[s] = finite(b.failure_param[s]);
    }
}

// The common reset every start ends with, once the place is known.
void common_reset(int code, int place_code, int sub_mode, const start_place& p, const airport_choice& choice)
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float fuel1 = f.m_fuel1, fuel2 = f.m_fuel2, fuel3 = f.m_fuel3, fixed = f.m_fixed;
    f = flt_struct{};
    f.local_x = p.x;
    f.local_y = p.y;
    f.local_z = p.z;
    f.theta = p.theta;
    f.psi = p.psi;
    f.groundspeed = p.groundspeed;
    f.m_fuel1 = fuel1;
    f.m_fuel2 = fuel2;
    f.m_fuel3 = fuel3;
    f.m_fixed = fixed;
    const bool shuttle = code >= SIT_SHUTTLE_FIRST && code <= SIT_SHUTTLE_LAST;
    if (shuttle) {
        f.m_fixed = 1000.0f;
        f.m_jettison = 0.0f;
    }
    // The kept state of the flight before (the flight model's stages, the
    // systems, the weapons, ATC, the flight plan, the g-load dimming ...)
    // goes back to what a first start finds.
    RESET_group(reset_group::flight);
    atc_block_for_start(code, place_code, choice);
    if (code != SIT_KEEP_POSITION) forget_the_place();

    f.psi = UTIL_wrap_open(f.psi, 360.0f);

    const bool ground_start = place_code == SIT_AIRPORT && choice.airport && (sub_mode == SIT_RAMP || sub_mode == SIT_RUNWAY);
    if (ground_start) {
        float lat, lon, elevation, x, z;
        GEO_local_to_latlon(lat, lon, elevation, f.local_x, f.local_y, f.local_z);
        GEO_latlon_to_local(x, airport_surface_height_m, z, lat, lon, choice.airport->elevation);
        airport_surface_valid = 1;
        f.local_y = airport_surface_height_m + a.acf_h_eqlbm;
    }

    float surface_v[3];
    int row = f.i, col = f.j;
    const float ground = TERRAIN_height_at(f.local_x, f.local_z, &surface_v[0], &surface_v[1], &surface_v[2], &row,
                                           &col, 1, "init flt min altitude");
    f.i = row;
    f.j = col;
    terrain_height_m = ground;
    start_ground_y = ground;
    if (f.local_y < ground + a.acf_h_eqlbm) f.local_y = ground + a.acf_h_eqlbm;

    GEO_local_to_latlon(f.latitude, f.longitude, f.elevation, f.local_x, f.local_y, f.local_z);
    f.h_ind = f.elevation;
    // No Part says what chooses the runway the computer-flown traffic uses;
    // standing in for that, every start chooses the runway nearest the new start.
    APT_choose_traffic_runway();
    velocity_in_area_frame(f);
    if (code == SIT_SHUTTLE_FIRST) f.local_vy = -561.7f * units.ft_to_mtrs;
    f.local_x_d = f.local_x;
    f.local_y_d = f.local_y;
    f.local_z_d = f.local_z;

    for (float& v : f.failure_param) v = 100.0f;
    gear_for_start(code, f);

    const bool running = sim_operation_prefs.startup_running || f.groundspeed > STANDING_SPEED_MPS;
    // A helicopter's catapult start stands it on the deck, unhooked, its rotor
    // turning at the least collective pitch and the throttle closed, as on a
    // runway. Its speed is the ship's, and at a moving start's mid collective
    // and three-quarter throttle it lifted off the deck on its own at once.
    engines_for_start(f, running, MOVING_THROTTLE, code == SIT_CATAPULT && !LAUNCH_catapult_takes_plane());
    lights_and_switches(code, f, running);
    controls_for_start(sub_mode, place_code == SIT_AIRPORT, f);
    for (int32_t& w : sim_private_net_disables.ai_loc) w = 0;
    atc_for_start();
    local_time();
    if (code == SIT_FROM_BLOCK || code == SIT_KEEP_POSITION) restore_from_block(f);
    else trim_for_start(code, sub_mode, f, running);

    CORE_reset_view_effects();
    DATAOUT_reset();
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    // The weapons the plane carries hang on it where it now is: left as the
    // last flight left them, the first build-up took their air load at that
    // flight's place and speed, and the flight went otherwise than the same
    // start's flight before it.
    PHYS_cache_attitude(f);
    WPN_hang_carried(0);
    CORE_run_command(a.acf_m_max < MODEL_AIRCRAFT_MAX_KG ? VIEW_RUNWAY : VIEW_FORWARD);
    if (code == SIT_FRIGATE_APPROACH) SOUND_speak("Frigate I L S is on 1 0 8 point 1 0.", 1);
    PLUGIN_call_event_hook(PLUGIN_EVENT_FLIGHT_START, frame_clock, 0, 0, 0);
}

}  // namespace

void FLIGHT_block_latlon(float& lat, float& lon)
{
    const situation_start_record& b = situation_start_state;
    lat = UTIL_clamp(finite_or(b.latitude, 0.0f), -90.0f, 90.0f);
    lon = UTIL_wrap_pm180(finite_or(b.longitude, 0.0f));
}

bool FLIGHT_live_peer() { return net_slot_enabled[0] != 0 && net_peer_heard[0] != 0; }

void FLIGHT_notice(const char* l1, const char* l2, const char* l3, const char* l4)
{
    MACIBM_nuke_alert(app_mode, l1, l2, l3, l4, ALERT_NOTICE);
}

void FLIGHT_init_situation(int code, int sub_mode)
{
    // What the flight before put on screen goes with it; the lines of this
    // start follow.
    SOUND_speech_text_reset();
    // A nearest-runway start chooses its runway and centres the frame on it,
    // then starts there as a runway start. It does so before the placement
    // rather than after it: the placement works the runway's point out in the
    // frame of the moment, and centring the frame afterwards would leave that
    // point in the old frame, away from the runway. The steps before the
    // placement read neither the selection nor the frame for these codes.
    if (code >= SIT_NEAREST_RUNWAY_FIRST && code <= SIT_NEAREST_RUNWAY_LAST) nearest_runway_of_type(code);
    int place_code = code;
    if ((code >= SIT_NEAREST_RUNWAY_FIRST && code <= SIT_NEAREST_RUNWAY_LAST) || code == SIT_AERO_TOW ||
        code == SIT_WINCH) {
        place_code = SIT_AIRPORT;
        sub_mode = SIT_RUNWAY;
    }
    // An airport start's sub-mode from a peer or a plug-in: anything but the
    // four starts is a runway start. Left as it came, the plane would be put
    // on the runway's middle point, keeping the attitude and speed of the
    // flight before.
    if (place_code == SIT_AIRPORT && (sub_mode < SIT_RAMP || sub_mode > SIT_APPROACH_10NM)) sub_mode = SIT_RUNWAY;

    const airport_choice choice = clamp_selection(place_code == SIT_AIRPORT ? sub_mode : SIT_RUNWAY);
    // No airport, or none with a runway or start position for this start:
    // placing the plane would read past the empty list. The plane stays.
    if (place_code == SIT_AIRPORT && !choice.airport) return;
    // An aircraft without wheels (the float plane) starts a runway start on
    // the 3-nm approach, and so did its aero-tow or winch launch: there the
    // rope hooked at once (no parking brake is set in the air) and pulled it
    // down to the tow plane standing on the runway 950 ft below, 253 KIAS and
    // 62 degrees nose down on the first frame, then dragged it along the
    // runway on its back. It starts as the runway start, with no rope, tow
    // plane or winch, and one line says why.
    if ((code == SIT_AERO_TOW || code == SIT_WINCH) && pln[0].acf_gear_type[PART_GEAR_FIRST] == 0) {
        SOUND_speak(code == SIT_AERO_TOW
                        ? "This aircraft has no wheels to take off behind the tow plane: it starts on the approach."
                        : "This aircraft has no wheels to roll on the winch's cable: it starts on the approach.",
                    1);
        code = SIT_AIRPORT;
    }

    prepare(code, place_code, choice);
    FLIGHT_special_aircraft(code);
    launch_state(code);

    const flt_struct& now = flt[0];
    start_place p{now.local_x, now.local_y, now.local_z, now.theta, now.psi, now.phi, now.groundspeed};
    if (place_code == SIT_AIRPORT) {
        place_at_airport(code, sub_mode, choice, p);
    } else if (code == SIT_FROM_BLOCK || code == SIT_IN_FLIGHT) {
        place_from_block(p);
    } else if (FLIGHT_is_special_placement(code)) {
        if (!FLIGHT_place_special(code, p)) return;
    }
    common_reset(code, place_code, sub_mode, p, choice);
}

void FLIGHT_restart_after_crash()
{
    // Marked for this start only, however it ends.
    struct crash_mark {
        crash_mark() { flight_start_kept.crash_restart = true; }
        ~crash_mark() { flight_start_kept.crash_restart = false; }
    } const mark;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
}
