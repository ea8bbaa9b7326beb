// Answers to the pilot's requests: vectors, landing, taxi and take-off,
// the approach controller (ILS, localizer, precision radar), wind checks,
// missed approaches, emergencies, ships and the tanker, runway lights.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "world/ships.h"
#include "world/apt_scene.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"

namespace {

enum request_code {
    REQ_VECTORS = 3, REQ_LANDING, REQ_ILS, REQ_LOC, REQ_PAR, REQ_TAXI, REQ_TAKEOFF,
    REQ_WIND, REQ_MISSED, REQ_EMERGENCY, REQ_CARRIER, REQ_FRIGATE, REQ_TANKER, REQ_LITES_UP, REQ_LITES_DOWN,
    REQ_UNKNOWN
};

struct request_key {
    const char* key;
    int length;
    int code;
};
const request_key request_keys[] = {
    {"REQUEST VEC", 11, REQ_VECTORS}, {"REQUEST LAN", 11, REQ_LANDING}, {"REQUEST ILS", 11, REQ_ILS},
    {"REQUEST LOC", 11, REQ_LOC},     {"REQUEST PAR", 11, REQ_PAR},     {"REQUEST TAX", 11, REQ_TAXI},
    {"REQUEST TAK", 11, REQ_TAKEOFF}, {"WIN", 3, REQ_WIND},             {"MIS", 3, REQ_MISSED},
    {"DEC", 3, REQ_EMERGENCY},        {"CAR", 3, REQ_CARRIER},          {"FRI", 3, REQ_FRIGATE},
    {"TAN", 3, REQ_TANKER},           {"BRI", 3, REQ_LITES_UP},         {"DIM", 3, REQ_LITES_DOWN},
};

constexpr float TANKER_ALTITUDE_M = 25000.0f * UNIT.ft_to_mtrs;
constexpr float TANKER_SPEED_MPS = 400.0f * UNIT.kts_to_mps;
constexpr int TANKER_SPEED_KT = 400;
// The tanker flown for "REQUEST VECTORS TO TANKER" is the aircraft of the
// refuelling situation (the third situation path) rather than a fixed heavy
// tanker file: the program's fleet is its own and holds no such aircraft, so
// a fixed path would name a file that is not there. Its file name is compared
// with plane 1's, and a different one is loaded and placed as a tanker would be.
constexpr int TANKER_SITUATION_PATH = 2;
constexpr double EMERGENCY_MIN_RUNWAY_M = FT_TO_M_DOUBLE * 500;

const flt_struct& user() { return flt[0]; }

double bearing_to(double x, double z)
{
    return std::atan2(x - user().local_x, user().local_z - z) * RAD_TO_DEG_DOUBLE;
}

double distance_to(double x, double z) { return std::hypot(x - user().local_x, z - user().local_z); }

double magvar() { return sim_flightmodel_position.magnetic_variation; }

void append_turn(char* out, int heading)
{
    const int turn = UTIL_wrap_int(atc_trunc(heading - static_cast<double>(user().magpsi)), -179, 180);
    UTIL_strcat(out, turn <= 0 ? "TURN LEFT HEADING " : "TURN RIGHT HEADING ");
}

void append_miles(char* out, double metres) { atc_append_int(out, atc_round(metres / NM_TO_M_DOUBLE)); }

void append_wind(char* out)
{
    ATC_wind_phrase(out, atc_trunc(static_cast<double>(sim_weather.wind_direction_degt[0]) + magvar()),
                    atc_trunc(sim_weather.wind_speed_kt[0]), atc_trunc(sim_weather.shear_direction_degt[0]),
                    atc_trunc(sim_weather.shear_speed_kt[0]));
}

// The turn, heading and distance to the local point (x, z) named `name`:
// "TURN ... HEADING ... VECTORS <name><joint> THEY ARE ABOUT <n> MILES FROM
// YOUR CURRENT POSITION."
void append_vectors(char* text, float x, float z, const char* name, const char* joint)
{
    const int h = atc_round(bearing_to(x, z) + magvar());
    append_turn(text, h);
    ATC_heading_words(text, h, 5);
    UTIL_strcat(text, " VECTORS ");
    UTIL_strcat(text, name);
    UTIL_strcat(text, joint);
    UTIL_strcat(text, " THEY ARE ABOUT ");
    append_miles(text, distance_to(x, z));
    UTIL_strcat(text, " MILES FROM YOUR CURRENT POSITION.");
}

// The index of the first record of a table (airports or navaids) named `name`;
// -1 when none is, or when the name is longer than a record's name can be.
template <class Table>
int find_named(const Table& table, const char* name)
{
    if (std::strlen(name) >= static_cast<size_t>(APT_NAME_SIZE)) return -1;
    for (size_t k = 0; k < table.size(); ++k)
        if (std::strncmp(table[k].name, name, APT_NAME_SIZE) == 0) return static_cast<int>(k);
    return -1;
}

// The airport of the nearby list whose first runway is nearest a point
// (planar degrees). Entries outside the table, and airports without runways,
// have no first runway to read (it would be read past the lists): passed over.
int nearest_listed_airport(float lat, float lon, bool long_runway_only)
{
    int best = -1;
    double best_d = ATC_FAR_FUTURE;
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        const airport_record* a = atc_airport(local_airport_list[n]);
        if (!a || a->runways.empty()) continue;
        const double d = std::hypot(lat - a->runways[0].lat, lon - a->runways[0].lon);
        if (d < best_d && (!long_runway_only || a->runways[0].length > EMERGENCY_MIN_RUNWAY_M)) {
            best_d = d;
            best = local_airport_list[n];
        }
    }
    return best;
}

// The chosen airport's place in the nearby list, or -1.
int chosen_airport_list_position()
{
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n)
        if (local_airport_list[n] == start_selection.airport_index && atc_airport(start_selection.airport_index))
            return n;
    return -1;
}

// The approach controller. Returns false when nothing is to be said.
bool approach(int code, int nav, const char* request, char* text)
{
    atc_state_block& s = atc_state;
    atc_request_record& r = atc_request;
    const navaid_record& n = navaid_table[static_cast<size_t>(nav)];
    char name[TEXT_SIZE];
    atc_copy_name(n.name, APT_NAME_SIZE, name);

    // Pacing.
    const double now = sim_time.total_running_time_sec;
    if (s.atc_request_pending == 0) r.atc_approach_next_time = 0.0;
    if (now < r.atc_approach_next_time) return false;
    r.atc_approach_next_time =
        now + (code == REQ_PAR ? 15.0 + atc_chance() * 5.0 : 20.0 + atc_chance() * 20.0);

    // Geometry.
    float nx, ny, nz;
    GEO_latlon_to_local(nx, ny, nz, n.lat, n.lon, n.height);
    const double d = distance_to(nx, nz);
    const double d_nm = d / NM_TO_M_DOUBLE;
    const double glide = std::atan2(static_cast<double>(user().elevation) - n.height, d) * RAD_TO_DEG_DOUBLE;
    const int crs = atc_round(n.heading) % 1000;
    const double e = UTIL_wrap_pm180(bearing_to(nx, nz) - crs);
    const double k = UTIL_wrap_pm180(static_cast<double>(user().psi) - crs);

    if (s.atc_request_pending &&
        (std::fabs(e) < 8.0 || (code == REQ_PAR && d_nm < 2.0)) && std::fabs(k) < 45.0 && d_nm < 20.0) {
        if (code != REQ_PAR) {
            UTIL_strcat(text, "INTERCEPT LOCALIZER ");
            atc_append_pressure(text, sim_physics.earth_pressure_p * static_cast<double>(UNIT.pa_to_inhg));
            UTIL_strcat(text, " CLEARED ");
            UTIL_strcat(text, name);
            UTIL_strcat(text, " CONTACT TOWER.");
            s.atc_phase = 7;
            s.atc_checkin_expected = 1;
            s.atc_plan_filed = 1;
            s.atc_plan_active = 1;
            s.atc_request_pending = 0;
            const int dest = nearest_listed_airport(n.lat, n.lon, false);
            s.atc_dest_airport = dest < 0 ? 0 : dest;
        } else if (user().onground_all) {
            UTIL_strcat(text, atc_chance() < 0.5 ? "GOOD JOB." : "I HAVE NOT DONE THAT IN A WHILE!");
            s.atc_request_pending = 0;
            s.atc_phase = 8;
            s.atc_checkin_expected = 0;
        } else {
            const int target = atc_trunc(2.0 * e + crs + magvar());
            if (std::abs(target - atc_trunc(user().magpsi)) <= 5) {
                UTIL_strcat(text, "HEADING IS OK");
            } else {
                append_turn(text, target);
                ATC_heading_words(text, target, 1);
            }
            UTIL_strcat(text, glide < 2.0   ? ", WELL BELOW GLIDE PATH."
                              : glide < 2.7 ? ", SLIGHTLY BELOW GLIDE PATH."
                              : glide < 3.3 ? ", ON GLIDE PATH."
                              : glide < 4.0 ? ", SLIGHTLY ABOVE GLIDE PATH."
                                            : ", WELL ABOVE GLIDE PATH.");
        }
        return true;
    }

    // Vectors to a point 9 nm out on the final approach course, joined on a turn circle.
    const double sc = std::sin(crs * DEG_TO_RAD_DOUBLE), cc = std::cos(crs * DEG_TO_RAD_DOUBLE);
    const double p1x = nx - 9.0 * NM_TO_M_DOUBLE * sc, p1z = nz + 9.0 * NM_TO_M_DOUBLE * cc;
    const double q = UTIL_wrap_floor(e <= 0.0 ? crs + 90.0 : crs - 90.0, 360.0);
    // A speed that is no number would make the turn radius, and every heading
    // after it, no number; it counts as 0 (the smallest radius).
    double ias = std::isfinite(user().indicated_airspeed) ? user().indicated_airspeed : 0.0;
    const double o = std::clamp((ias - 100.0) * 0.025 + 1.5, 1.5, 4.0) * NM_TO_M_DOUBLE;
    const double p2x = p1x + std::sin(q * DEG_TO_RAD_DOUBLE) * 1.1 * o;
    const double p2z = p1z - std::cos(q * DEG_TO_RAD_DOUBLE) * 1.1 * o;
    const int b = atc_round(bearing_to(p2x, p2z));
    const double d2 = distance_to(p2x, p2z);
    const int a = d2 <= o ? atc_trunc(180.0 - 90.0 * d2 / o) : atc_round(std::acos(o / d2) * RAD_TO_DEG_DOUBLE);
    const int h = UTIL_wrap_int(e <= 0.0 ? b - a : b + a, 0, 359);
    const int heading = atc_round(atc_trunc(h + magvar()) / 5.0) * 5;

    // Altitude: lower with the distance, never below 2,000 ft over the terrain.
    int alt = s.atc_plan_altitude;
    const double nav_ft = ny * M_TO_FT_DOUBLE;
    const double bands[4][2] = {{100.0, 14000.0}, {60.0, 10000.0}, {30.0, 6000.0}, {15.0, 4000.0}};
    for (const auto& band : bands)
        if (d_nm < band[0]) alt = atc_trunc(std::min(nav_ft + band[1], static_cast<double>(s.atc_plan_altitude)));
    const int floor_ft = atc_round((atc_trunc(terrain_height_m * M_TO_FT_DOUBLE) + 2000) / 1000.0) * 1000;
    alt = std::max(alt, floor_ft);
    alt = atc_round(alt / 100.0) * 100;

    const bool first = s.atc_request_pending == 0;
    const int current = atc_round(user().h_ind * M_TO_FT_DOUBLE);
    const double vs = std::isfinite(user().vh_ind) ? user().vh_ind : 0.0;   // no number: level
    bool heading_call = first || std::abs(heading - r.atc_last_heading) > 10;
    bool altitude_call = first || std::abs(alt - r.atc_last_altitude) > 1 ||
                         (current > alt + 200 && vs > -2.0) || (current < alt - 200 && vs < 2.0);
    if (heading_call) {
        append_turn(text, heading);
        ATC_heading_words(text, heading, 5);
        UTIL_strcat(text, " ");
        r.atc_last_heading = heading;
    }
    if (altitude_call) {
        UTIL_strcat(text, current < alt ? "CLIMB AND MAINTAIN " : "DESCEND AND MAINTAIN ");
        atc_append_int(text, alt);
        UTIL_strcat(text, " FEET");
        r.atc_last_altitude = alt;
    }
    if (first) {
        s.atc_request_pending = 1;
        if (request != s.atc_request_text) UTIL_strcpy(request, s.atc_request_text);
        UTIL_strcat(text, " VECTORS ");
        if (code == REQ_PAR) name[8] = 0;
        UTIL_strcat(text, name);
        UTIL_strcat(text, ", IF YOU WOULD LIKE ANOTHER APPROACH INSTEAD JUST TELL ME");
    }
    if (!heading_call && !altitude_call) {
        ATC_traffic_advisory(0, 0);
        return false;
    }
    UTIL_strcat(text, ".");
    return true;
}

void end_plan()
{
    atc_state.atc_plan_filed = 0;
    atc_state.atc_plan_active = 0;
    atc_state.atc_phase = 0;
    atc_state.atc_request_pending = 0;
}

void vectors_to_ship_or_tanker(int code, char* text)
{
    double x, z, heading;
    int speed;
    const char* what;
    if (code == REQ_TANKER) {
        acf_struct& t = pln[1];
        char file[TEXT_SIZE];
        const char* path = screen_settings.situation_acf_paths[TANKER_SITUATION_PATH];
        UTIL_file_name_of_path(file, path);
        if (std::strncmp(t.acf_file_name, file, sizeof t.acf_file_name) != 0) {
            UTIL_strcpy(path, t.acf_file_path);
            UTIL_strcpy(file, t.acf_file_name);
            ACF_load_and_setup(1);
            const int r1 = UTIL_rand(), r2 = UTIL_rand(), r3 = UTIL_rand();
            FLIGHT_reset_at_start(1, 0.0f, static_cast<float>(r3) * 360.0f / 32767.0f, 0.0f,
                                  user().local_x + (static_cast<float>(r2) * 20.0f / 32767.0f - 10.0f) * UNIT.nm_to_mtrs,
                                  TANKER_ALTITUDE_M,
                                  user().local_z + (static_cast<float>(r1) * 20.0f / 32767.0f - 10.0f) * UNIT.nm_to_mtrs,
                                  TANKER_SPEED_MPS);
        }
        x = flt[1].local_x;
        z = flt[1].local_z;
        heading = flt[1].psi;
        speed = TANKER_SPEED_KT;
        what = " VECTORS FOR THE NEAREST TANKER, HE IS ";
    } else {
        const int ship = code == REQ_CARRIER ? SHIP_CARRIER : SHIP_FRIGATE;
        x = ship_x[ship];
        z = ship_z[ship];
        heading = ship_heading[ship];
        speed = atc_trunc((code == REQ_CARRIER ? 15.0 : 10.0) * static_cast<double>(UNIT.mps_to_kts));
        sim_graphics_settings.draw_ships = 1;
        what = code == REQ_CARRIER ? " VECTORS FOR THE NEAREST CARRIER, HE IS " : " VECTORS FOR THE NEAREST FRIGATE, HE IS ";
    }
    const int b = atc_round(bearing_to(x, z) + magvar());
    append_turn(text, b);
    ATC_heading_words(text, b, 5);
    UTIL_strcat(text, what);
    append_miles(text, distance_to(x, z));
    UTIL_strcat(text, " MILES FROM YOUR CURRENT POSITION, HEADING ");
    ATC_heading_words(text, atc_trunc(heading + magvar()), 10);
    UTIL_strcat(text, " DEGREES AT ");
    atc_append_int(text, speed);
    UTIL_strcat(text, code == REQ_TANKER ? " KNOTS TRUE AT FLIGHT LEVEL 250." : " KNOTS TRUE.");
    end_plan();
}

void runway_lights(int code, char* text)
{
    // The chosen airport may be outside the nearby list, which has no light
    // value for it (reading one would read past the list): its lights count as
    // off and nothing is stored. A negative stored value counts as off too.
    const int pos = chosen_airport_list_position();
    int level = pos < 0 ? 0 : near_airport_light_state[pos] % 10;
    if (level < 0) level = 0;
    if (code == REQ_LITES_UP) {
        UTIL_strcat(text, level == 3 ? "THE LIGHTS ARE ALREADY ON AT MAX!" : "OK HOW DOES THIS LOOK?");
        level = std::min(level + 1, 3);
    } else {
        UTIL_strcat(text, level == 0   ? "THE LIGHTS ARE OFF AT THIS FIELD RIGHT NOW!"
                          : level == 1 ? "OK I WILL TURN THEM OFF FOR YOU!"
                                       : "OK HOW DOES THIS LOOK?");
        level = std::max(level - 1, 0);
    }
    if (pos >= 0) near_airport_light_state[pos] = level;
}

}  // namespace

void ATC_handle_request(const char* request_in)
{
    char request[TEXT_SIZE] = {};
    if (request_in) std::strncpy(request, request_in, TEXT_MAX_LEN);

    int code = REQ_UNKNOWN;
    for (const request_key& k : request_keys)
        if (std::strncmp(request, k.key, static_cast<size_t>(k.length)) == 0) {
            code = k.code;
            break;
        }

    char text[TEXT_SIZE] = {};
    ATC_callsign(text, 1);

    // The target by name. A name the tables do not hold (an approach still
    // pending after a reload or a planet switch emptied them) would end the
    // program with a fatal alert in mid-flight; the request is dropped and the
    // controller asks for it again instead.
    int target = -1;
    const char* name = request + 11;
    if (code == REQ_VECTORS || code == REQ_LANDING || code == REQ_TAXI || code == REQ_TAKEOFF)
        target = find_named(airport_table, name);
    if (code == REQ_ILS || code == REQ_LOC || code == REQ_PAR) target = find_named(navaid_table, name);
    if (code >= REQ_VECTORS && code <= REQ_TAKEOFF && target < 0) {
        error_log << "ATC: no airport or navaid is named \"" << name << "\"; the request is asked again.\n";
        atc_state.atc_request_pending = 0;
        UTIL_strcat(text, "SAY AGAIN PLEASE");
        atc_speak(text);
        return;
    }

    switch (code) {
    case REQ_VECTORS: {
        const airport_record& a = airport_table[static_cast<size_t>(target)];
        // An airport without runways has no position (its first runway would be
        // read past the list); the vectors lead to the area's centre.
        float x = 0, y = 0, z = 0;
        if (!a.runways.empty()) GEO_latlon_to_local(x, y, z, a.runways[0].lat, a.runways[0].lon, a.elevation);
        append_vectors(text, x, z, name, ".");
        break;
    }
    case REQ_LANDING:
        append_wind(text);
        UTIL_strcat(text, ", CLEARED TO LAND ");
        ATC_runway_name(text, target, 1);
        UTIL_strcat(text, " ");
        UTIL_strcat(text, name);
        UTIL_strcat(text, ".");
        break;
    case REQ_TAXI:
        UTIL_strcat(text, "TAXI ");
        ATC_runway_name(text, target, 1);
        UTIL_strcat(text, ".");
        break;
    case REQ_TAKEOFF:
        UTIL_strcat(text, "FLY RUNWAY HEADING CLEARED FOR TAKE OFF ");
        ATC_runway_name(text, target, 1);
        UTIL_strcat(text, ".");
        break;
    case REQ_ILS:
    case REQ_LOC:
    case REQ_PAR:
        if (!approach(code, target, request, text)) return;
        break;
    case REQ_WIND:
        append_wind(text);
        UTIL_strcat(text, ".");
        break;
    case REQ_MISSED:
        UTIL_strcat(text, "UNDERSTAND MISSED APPROACH. HOLD AS PUBLISHED. SAY INTENTIONS WHEN ABLE.");
        atc_state.atc_plan_filed = 0;
        atc_state.atc_plan_active = 0;
        break;
    case REQ_EMERGENCY: {
        int best = nearest_listed_airport(flt[0].latitude, flt[0].longitude, true);
        char best_name[TEXT_SIZE] = {};
        if (best >= 0)
            atc_copy_name(airport_table[static_cast<size_t>(best)].name, APT_NAME_SIZE, best_name);
        else
            best = 0;
        float lat, lon;
        if (atc_airport_point(best, lat, lon)) {
            float x, y, z;
            GEO_latlon_to_local(x, y, z, lat, lon, airport_table[static_cast<size_t>(best)].elevation);
            UTIL_strcat(text, "SQUAWK 7 7 0 0 ");
            append_vectors(text, x, z, best_name, ",");
        } else {
            // No airport 0 (an empty table) or one without runways: its position
            // would be read past the tables, so the squawk is said alone.
            UTIL_strcat(text, "SQUAWK 7 7 0 0.");
        }
        end_plan();
        break;
    }
    case REQ_CARRIER:
    case REQ_FRIGATE:
    case REQ_TANKER: vectors_to_ship_or_tanker(code, text); break;
    case REQ_LITES_UP:
    case REQ_LITES_DOWN: runway_lights(code, text); break;
    default: UTIL_strcat(text, "SAY AGAIN PLEASE"); break;
    }
    atc_speak(text);
}
