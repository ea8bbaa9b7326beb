// The flight-management page (types 374 and 390): one entry of the flight
// plan at a time with its distance and time en route, edited with type keys
// and a keypad, stepped through, loaded and saved; once a second the route
// pass works out the distance and moves the destination on as the aircraft
// passes each waypoint.
//
// Reads: the flight-plan table, the user's position, heading and ground
// speed, the navigation tables. Writes: the flight-plan table, the GPS
// destination (sim_cockpit_gps), the autopilot altitude, fms_page.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/flight_plan.h"
#include "graphics/font.h"
#include "panel/glass/glass.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

constexpr int FONT = 114;
constexpr int WHITE = 49, GREY = 63;
constexpr int KIND_AIRPORT = 1, KIND_NDB = 2, KIND_VOR = 3, KIND_FIX = 11, KIND_LATLON = 13;
constexpr int LATLON_CHARS = 14;
constexpr int NAME_CHARS = 19;
constexpr int MAX_TIME_SEC = 359940;   // 99 h 59 min

// Our own labels.
constexpr const char* TITLE_LABEL = "FLIGHT PLAN";
constexpr const char* ALTITUDE_LABEL = "ALT";
constexpr const char* DISTANCE_LABEL = "DIS";
constexpr const char* LATLON_NAME = "LAT/LON POINT";

struct layout {
    float text_y, button_y, command_row[2], command_half, key_half, key_pitch, key_dx, key_dy;
};
constexpr layout LAYOUT_374 = {0.0f, -2.0f, {12.0f, -6.0f}, 9.0f, 7.0f, 15.0f, -5.0f, 0.0f};
constexpr layout LAYOUT_390 = {-19.0f, -15.0f, {2.0f, -10.0f}, 6.0f, 5.0f, 10.0f, -4.0f, 1.0f};

fms_entry& entry_at(int i) { return fms_plan.entries[std::clamp(i, 0, FMS_ENTRIES - 1)]; }

// Texts of an entry kept terminated inside their fields whatever a file put there.
void terminate(fms_entry& e)
{
    e.id[FMS_ID_SIZE - 1] = 0;
    e.altitude[FMS_ALTITUDE_SIZE - 1] = 0;
}

const char* type_label(int type)
{
    switch (type) {
    case KIND_AIRPORT: return "APT";
    case KIND_VOR: return "VOR";
    case KIND_NDB: return "NDB";
    case KIND_FIX: return "FIX";
    case KIND_LATLON: return "L/L";
    default: return "???";
    }
}

template <class T>
bool in_table(const std::vector<T>& table, int32_t i)
{
    return i >= 0 && i < static_cast<int32_t>(table.size());
}

// The name line of an entry: the fix's identifier, the airport's or the
// navaid's name, cut to 19 characters; empty when its reference lies outside
// its table.
void name_of(const fms_entry& e, char out[NAME_CHARS + 1])
{
    out[0] = 0;
    const char* name = nullptr;
    size_t size = 0;
    if (e.type == 0) return;
    if (e.type == KIND_LATLON) name = LATLON_NAME, size = std::strlen(LATLON_NAME);
    else if (e.type == KIND_FIX && in_table(fix_table, e.reference))
        name = fix_table[static_cast<size_t>(e.reference)].id, size = FIX_ID_SIZE;
    else if (e.type == KIND_AIRPORT && in_table(airport_table, e.reference))
        name = airport_table[static_cast<size_t>(e.reference)].name, size = APT_NAME_SIZE;
    else if (e.type != KIND_FIX && e.type != KIND_AIRPORT && in_table(navaid_table, e.reference))
        name = navaid_table[static_cast<size_t>(e.reference)].name, size = APT_NAME_SIZE;
    if (!name) return;
    const size_t n = std::min<size_t>(strnlen(name, size), NAME_CHARS);
    std::memcpy(out, name, n);
    out[n] = 0;
}

// Local x, z of a latitude and longitude by the orthographic projection about
// the loaded area's centre.
void to_local(double lat_deg, double lon_deg, double& x, double& z)
{
    const bool mars = sim_graphics_scenery.current_planet == PLANET_MARS;
    const double lat0 = (lat_ref + (mars ? 2.5 : 1.0)) * DEG_TO_RAD_DOUBLE;
    const double lon0 = lon_ref + (mars ? 3.0 : 1.5);
    const double phi = lat_deg * DEG_TO_RAD_DOUBLE;
    const double dl = UTIL_wrap_nearest((lon_deg - lon0) * DEG_TO_RAD_DOUBLE, TWO_PI_DOUBLE);
    const double R = sim_physics.earth_radius_m;
    x = R * std::cos(phi) * std::sin(dl);
    z = R * (std::sin(lat0) * std::cos(phi) * std::cos(dl) - std::cos(lat0) * std::sin(phi));
}

// Great-circle length of a leg in nautical miles; the cosine is held to
// -1..1 so rounding cannot make it undefined.
double leg_nm(double lat1, double lon1, double lat2, double lon2)
{
    const double p1 = lat1 * DEG_TO_RAD_DOUBLE, p2 = lat2 * DEG_TO_RAD_DOUBLE;
    const double c = std::cos(p1) * std::cos(p2) * std::cos((lon1 - lon2) * DEG_TO_RAD_DOUBLE) + std::sin(p1) * std::sin(p2);
    const double a = std::acos(std::clamp(std::isfinite(c) ? c : 1.0, -1.0, 1.0));
    return a * 180.0 * 60.0 / PI_DOUBLE;
}

bool exists(const fms_entry& e) { return std::fabs(e.latitude) > 0.01f || std::fabs(e.longitude) > 0.01f; }

// Resolves the entry the keys changed: a latitude/longitude text is forced
// into its form and read; any other kind is looked up by its identifier.
void resolve(int index)
{
    fms_entry& e = entry_at(index);
    terminate(e);
    if (e.type == KIND_LATLON && !fms_page.editing_altitude) {
        char* t = e.id;
        if (t[0] != '-') t[0] = '+';
        if (t[7] != '-') t[7] = '+';
        t[3] = '.', t[11] = '.', t[6] = ' ', t[LATLON_CHARS] = 0;
        auto d = [t](int k) { return static_cast<float>(UTIL_char_to_digit(t[k])); };
        e.latitude = d(0) * (10.0f * d(1) + d(2) + 0.1f * d(4) + 0.01f * d(5));
        e.longitude = d(7) * (100.0f * d(8) + 10.0f * d(9) + d(10) + 0.1f * d(12) + 0.01f * d(13));
    } else if (e.type != 0 && e.type != KIND_LATLON) {
        int32_t found = e.reference;
        if (NAV_find_nearest_by_id(e.id, e.type, found, flt[0].latitude, flt[0].longitude)) {
            e.reference = found;
            if (e.type == KIND_AIRPORT) {
                const airport_record* a = APT_table_at(found);
                if (a && !a->runways.empty()) e.latitude = a->runways[0].lat, e.longitude = a->runways[0].lon;
            } else if (e.type == KIND_FIX) {
                if (in_table(fix_table, found))
                    e.latitude = fix_table[static_cast<size_t>(found)].lat,
                    e.longitude = fix_table[static_cast<size_t>(found)].lon;
            } else if (in_table(navaid_table, found)) {
                e.latitude = navaid_table[static_cast<size_t>(found)].lat;
                e.longitude = navaid_table[static_cast<size_t>(found)].lon;
            }
        }
    }
    if (index == 0) FMS_set_gps_destination(0);
}

}   // namespace

void FMS_set_gps_destination(int entry)
{
    fms_entry& e = entry_at(entry);
    terminate(e);
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    g.destination_type = e.type;
    g.destination_index = e.reference;
    std::memset(gps_unit.identifier, 0, sizeof gps_unit.identifier);
    std::memcpy(gps_unit.identifier, e.id, std::min(strnlen(e.id, FMS_ID_SIZE), sizeof gps_unit.identifier - 1));
    // The EFIS map draws the destination at its kind's remembered index
    // (airport_index, vor_index, ndb_index, fix_index), which otherwise only
    // the GPS unit's panel call sets: on a panel with this page and a map but
    // no GPS unit the map would go on showing the previous destination, not
    // the one now flown to. So the kind's remembered index follows it here.
    switch (e.type) {
    case KIND_AIRPORT: g.airport_index = e.reference; break;
    case KIND_VOR: g.vor_index = e.reference; break;
    case KIND_NDB: g.ndb_index = e.reference; break;
    case KIND_FIX: g.fix_index = e.reference; break;
    default: break;
    }
    if (UTIL_is_number_text(e.altitude)) {
        const float feet = static_cast<float>(UTIL_text_to_int(e.altitude));
        sim_cockpit_autopilot.altitude = sim_cockpit_autopilot.current_altitude = feet;
    }
}

void FMS_route_pass()
{
    fms_page_state& p = fms_page;
    const flt_struct& f = flt[0];
    double distance = 0.0;
    const int s = std::clamp(fms_plan.destination_index, 0, FMS_ENTRIES - 1);
    for (int i = s; i < FMS_ENTRIES - 1; ++i) {
        const fms_entry& e = fms_plan.entries[i];
        if (!exists(e)) continue;
        const double lat0 = i == s ? f.latitude : fms_plan.entries[i - 1].latitude;
        const double lon0 = i == s ? f.longitude : fms_plan.entries[i - 1].longitude;
        if (i <= fms_plan.displayed_index) distance += leg_nm(lat0, lon0, e.latitude, e.longitude);
        double x, z;
        to_local(e.latitude, e.longitude, x, z);
        const double b = std::atan2(x - f.local_x, f.local_z - z) * RAD_TO_DEG_DOUBLE;
        const double d = std::hypot(x - f.local_x, z - f.local_z);
        const double off = f.psi - b;
        const double r = std::isfinite(off) ? UTIL_wrap_nearest(off, 360.0) : off;
        const bool passed = i == fms_plan.destination_index && p.leg_start == -1 && d < NM_TO_M_DOUBLE && std::fabs(r) > 90.0;
        if (i == p.leg_start || passed) {
            fms_plan.destination_index = i + 1;
            FMS_set_gps_destination(i + 1);
        }
    }
    const double speed = std::clamp(static_cast<double>(f.groundspeed), 0.01, 9.9e9);
    double seconds = distance * NM_TO_M_DOUBLE / speed;
    if (!std::isfinite(seconds)) seconds = std::isnan(seconds) ? 0.0 : MAX_TIME_SEC;
    const int t = static_cast<int>(std::clamp(std::trunc(seconds), 0.0, static_cast<double>(MAX_TIME_SEC)));
    p.distance_nm = static_cast<float>(distance);
    p.hours = t / 3600;
    p.minutes = t / 60 - 60 * p.hours;
    // A new destination becomes the displayed entry.
    if (fms_plan.destination_index != p.last_destination) {
        p.last_destination = fms_plan.destination_index;
        fms_plan.displayed_index = fms_plan.destination_index;
    }
}

void PANEL_fms_page()
{
    if (!PANEL_avionics_powered()) return;
    fms_page_state& p = fms_page;
    if (interval_ticks[INTERVAL_ONE_SECOND]) FMS_route_pass();
    fms_plan.displayed_index = std::clamp(fms_plan.displayed_index, 0, FMS_ENTRIES - 1);

    const layout& L = panel_ins_type == INS_FMS_HM ? LAYOUT_390 : LAYOUT_374;
    // The texts are placed at the instrument scale, as PANEL_click_spot places
    // the keys: unscaled, a unit drawn at a scale other than 1 would show its
    // texts away from the fields and keys they belong to. At scale 1 every
    // place is as given.
    const float sc = panel_ins_scale, Y = L.text_y;
    auto text = [sc](int colour, float x, float y, const char* t) { OGL_draw_string(colour, x * sc, y * sc, t, 9999.0f, FONT); };
    auto number = [sc](int colour, float x, float y, float v, int digits, int decimals) {
        OGL_draw_string_fmt(colour, x * sc, y * sc, v, digits, decimals, 0, FONT);
    };

    int shown = fms_plan.displayed_index;
    {
        fms_entry& e = fms_plan.entries[shown];
        terminate(e);
        text(GREY, -45.0f, Y + 68.0f, TITLE_LABEL);
        number(GREY, 39.0f, Y + 68.0f, static_cast<float>(shown + 1), 2, 0);
        text(WHITE, -60.0f, Y + 58.0f, type_label(e.type));
        text(WHITE, -36.0f, Y + 58.0f, e.id);
        if (!p.editing_altitude) text(WHITE, 6.0f * static_cast<float>(p.cursor) - 36.0f, Y + 56.0f, "_");
        text(WHITE, -60.0f, Y + 38.0f, ALTITUDE_LABEL);
        text(WHITE, -18.0f, Y + 38.0f, e.altitude);
        if (p.editing_altitude) text(WHITE, 6.0f * static_cast<float>(p.cursor) - 18.0f, Y + 36.0f, "_");
        text(GREY, -60.0f, Y + 28.0f, DISTANCE_LABEL);
        if (e.type != 0) {
            number(GREY, -36.0f, Y + 28.0f, p.distance_nm, 6, 1);
            number(GREY, 30.0f, Y + 28.0f, static_cast<float>(p.hours), 2, 0);
            number(GREY, 48.0f, Y + 28.0f, static_cast<float>(p.minutes), 2, 0);
        }
    }

    // The keys.
    int changed = -1;
    auto edit_identifier = [&p] { p.cursor = 0, p.editing_altitude = 0; };
    const float B = L.button_y;
    for (float x : {-76.0f, 76.0f}) {
        if (PANEL_click_spot(x, B + 61.0f, 5.0f, 0) || PANEL_click_spot(x, B + 51.0f, 5.0f, 0)) edit_identifier();
        if (PANEL_click_spot(x, B + 41.0f, 5.0f, 0)) p.cursor = 0, p.editing_altitude = 1;
    }
    const float C1 = L.command_row[0], C2 = L.command_row[1], h = L.command_half;
    if (PANEL_click_spot(-56.0f, C1, h, 0)) {
        for (fms_entry& e : fms_plan.entries) e = fms_entry{};
        fms_plan.destination_index = 0;
        p.leg_start = -1;
        edit_identifier();
        changed = 0;
    }
    for (int step : {-1, 1}) {
        if (PANEL_click_spot(step < 0 ? -33.0f : -10.0f, C1, h, 0)) {
            changed = shown;
            fms_plan.displayed_index = shown = std::clamp(shown + step, 0, FMS_ENTRIES - 1);
            edit_identifier();
        }
    }
    if (PANEL_click_spot(13.0f, C1, h, 0)) {
        fms_entry& e = fms_plan.entries[shown];
        e.type = 0;
        std::memset(e.id, 0, sizeof e.id);
        std::memcpy(e.id, "     ", 5);
        std::memset(e.altitude, 0, sizeof e.altitude);
        edit_identifier();
    }
    if (PANEL_click_spot(36.0f, C1, h, 0)) p.leg_start = shown;
    const struct { float x; int type; } type_keys[] = {
        {-56.0f, KIND_AIRPORT}, {-33.0f, KIND_VOR}, {-10.0f, KIND_NDB}, {13.0f, KIND_FIX}, {36.0f, KIND_LATLON}};
    for (const auto& k : type_keys)
        if (PANEL_click_spot(k.x, C2, h, 0)) fms_plan.entries[shown].type = k.type, changed = shown;

    // The cursor's highest position and its step past the fixed characters of a latitude/longitude text.
    fms_entry& e = fms_plan.entries[shown];
    const bool latlon_text = e.type == KIND_LATLON && !p.editing_altitude;
    const int m = latlon_text ? LATLON_CHARS - 1 : (e.type == KIND_FIX || p.editing_altitude) ? 4 : 3;
    auto advance = [&p](int top, bool skip) {
        int c = p.cursor + 1;
        if (c > top || c < 0) c = 0;
        while (skip && (c == 3 || c == 6 || c == 11)) c = c + 1 > top ? 0 : c + 1;
        p.cursor = c;
    };
    const float kh = L.key_half, pitch = L.key_pitch, kx = L.key_dx, ky = L.key_dy;
    if (PANEL_click_spot(kx + 64.0f, pitch - 22.0f + ky, kh, 0)) {
        const int c = std::clamp(p.cursor, 0, LATLON_CHARS - 1);
        e.id[c] = e.id[c] == '-' ? '+' : '-';
        advance(LATLON_CHARS - 1, true);
        changed = shown;
    }
    static constexpr char keys[5][8] = {
        {'1', '2', '3', 'A', 'B', 'C', 'D', 'E'}, {'4', '5', '6', 'F', 'G', 'H', 'I', 'J'},
        {'7', '8', '9', 'K', 'L', 'M', 'N', 'O'}, {'<', '0', '\0', 'P', 'Q', 'R', 'S', 'T'},
        {'O', 'S', 'U', 'V', 'W', 'X', 'Y', 'Z'}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 8; ++c) {
            if (!PANEL_click_spot(17.0f * static_cast<float>(c) - 55.0f + kx, -26.0f - static_cast<float>(r) * pitch + ky, kh, 0))
                continue;
            changed = shown;
            if (r == 4 && c == 0) {
                FMS_file_open_save(FMS_OPEN);
                p.leg_start = -1;
                changed = 0;
                continue;
            }
            if (r == 4 && c == 1) {
                FMS_file_open_save(FMS_SAVE);
                continue;
            }
            if (r == 3 && c == 0) {
                p.cursor = std::min(std::max(p.cursor - 1, 0), m);
                continue;
            }
            const char ch = keys[r][c];
            const int at = std::clamp(p.cursor, 0, LATLON_CHARS - 1);
            if (!p.editing_altitude) e.id[at] = ch;
            else if (ch >= '0' && ch <= '9' && at < FMS_ALTITUDE_SIZE - 1) e.altitude[at] = ch;
            advance(m, latlon_text);
        }
    if (changed >= 0) resolve(changed);

    // The name line, after the keys.
    char name[NAME_CHARS + 1];
    name_of(fms_plan.entries[std::clamp(fms_plan.displayed_index, 0, FMS_ENTRIES - 1)], name);
    text(GREY, -60.0f, Y + 48.0f, name);
}

