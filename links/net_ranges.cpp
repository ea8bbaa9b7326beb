// The range table and the fields of the fixed records (links/net_ranges.h).
#include "links/net_ranges.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "core/constants.h"
#include "core/plane_state_record.h"
#include "core/simvars/graphics.h"
#include "core/stat_record.h"
#include "flightmodel/atmosphere.h"
#include "graphics/ogl_state.h"
#include "links/net_receive.h"
#include "world/scenery_area.h"

namespace {

// The planet's size bounds local coordinates: twice the Earth's radius (Mars
// is smaller), so a point on the far side of the globe is still in range.
constexpr double PLANET_SIZE_M = 1.3e7;
// The deepest terrain either planet has lies above this; the orbiter's entry
// start (450,000 ft, about 137 km) and the highest placement the operator's
// station sends (999,999 ft, about 304.8 km) below the top.
constexpr double LOWEST_ELEVATION_M = -12000.0;
constexpr double HIGHEST_ELEVATION_M = 310000.0;
// A local height lies below the elevation of the point under it by the
// ground's curve away from the tangent plane at the origin: a few kilometres
// at the edge of the loaded scenery.
constexpr double LOWEST_HEIGHT_M = LOWEST_ELEVATION_M - 20000.0;
// The terrain's own points may lie this much wider than the loaded area.
constexpr double AREA_MARGIN = 1.1;
// Above the orbiter's entry speed (25,750 ft/s, about 7,850 m/s or 15,300 kt).
constexpr double FASTEST_SPEED = 20000.0;
// A float no state reaches, and whose product with another stays finite.
constexpr double LARGEST_VALUE = 1.0e9;
// Below the place a ship waits at until the scene build puts it on the water.
constexpr double SHIP_NOT_PLACED_M = -1.0e10;
// The scenery reference of a copy at a pole lies past it: the corner of the
// area centred there is the pole less the centre's offset (-91 at the South
// Pole on the Earth, -93 on Mars), and a far move takes a longitude past
// 180 as it comes (-182 at -180 on the Earth, -183 on Mars).
constexpr double HIGHEST_REFERENCE_LATITUDE = 90.0 + 3.0;
constexpr double HIGHEST_REFERENCE_LONGITUDE = 180.0 + 3.0;
static_assert(HIGHEST_REFERENCE_LATITUDE >= 90.0 + reference_lat_offset[PLANET_MARS] + 0.5);
static_assert(HIGHEST_REFERENCE_LONGITUDE >= 180.0 + reference_lon_offset[PLANET_MARS]);

}  // namespace

constexpr net_range_row net_range_table[RANGE_COUNT_OF_ROWS] = {
    {RANGE_ANY, "value", -HUGE_VAL, HUGE_VAL},
    {RANGE_VALUE, "value", -LARGEST_VALUE, LARGEST_VALUE},
    {RANGE_INT_VALUE, "integer", -LARGEST_VALUE, LARGEST_VALUE},
    {RANGE_LATITUDE, "latitude", -90.0, 90.0},
    {RANGE_LONGITUDE, "longitude", -180.0, 180.0},
    {RANGE_LOCAL, "position", -PLANET_SIZE_M, PLANET_SIZE_M},
    {RANGE_ELEVATION, "elevation", LOWEST_ELEVATION_M, HIGHEST_ELEVATION_M},
    {RANGE_SPEED, "speed", -FASTEST_SPEED, FASTEST_SPEED},
    {RANGE_ANGLE, "angle", -360.0, 360.0},
    {RANGE_RATE, "rate", -3600.0, 3600.0},
    {RANGE_LOAD, "load", -100.0, 100.0},
    {RANGE_RATIO, "control ratio", -1.5, 1.5},
    {RANGE_TIME, "time", -1.0e8, 1.0e8},
    {RANGE_TIME_OF_DAY, "time of day", 0.0, 86400.0},
    {RANGE_DAY_OF_YEAR, "day of the year", 0.0, 366.0},
    {RANGE_FLAG, "flag", 0.0, 1.0},
    {RANGE_PLANE_COUNT, "plane count", 1.0, NET_PLANES},
    {RANGE_CLOUD_TYPE, "cloud type", 0.0, 4.0},
    {RANGE_TURBULENCE, "turbulence", 0.0, 10.0},
    {RANGE_WIND_SPEED, "wind speed", 0.0, 400.0},
    {RANGE_VISIBILITY, "visibility", 0.0, 1.0e6},
    {RANGE_SHARE, "share", 0.0, 1.0},
    {RANGE_TEMPERATURE, "temperature", -273.15, 3000.0},
    {RANGE_PRESSURE, "pressure", 0.0, 1.0e6},
    // Either planet's; NET_range_bounds narrows them to the planet flown's.
    {RANGE_SEA_LEVEL_TEMPERATURE, "sea-level temperature", SEA_LEVEL_TEMP_LOW_C[PLANET_MARS],
     SEA_LEVEL_TEMP_HIGH_C[PLANET_EARTH]},
    {RANGE_SEA_LEVEL_PRESSURE, "sea-level pressure", SEA_LEVEL_PRESSURE_LOW_PA[PLANET_MARS],
     SEA_LEVEL_PRESSURE_HIGH_PA[PLANET_EARTH]},
    {RANGE_WAVE_HEIGHT, "wave height", 0.0, 100.0},
    {RANGE_WAVE_LENGTH, "wave length", 0.0, 1.0e5},
    {RANGE_WAVE_SPEED, "wave speed", 0.0, 1000.0},
    {RANGE_MASS, "mass", 0.0, 1.0e7},
    {RANGE_FAILURE_STATE, "failure state", 0.0, 6.0},
    {RANGE_PANEL_PLACE, "panel place", -1.0e5, 1.0e5},
    {RANGE_PANEL_ANGLE, "needle angle", -3600.0, 3600.0},
    {RANGE_TEXEL, "texel", 0.0, 512.0},
    {RANGE_COLOUR, "colour", 0.0, COLOUR_ROWS - 1},
    {RANGE_RENDERING_RES, "texture resolution", 0.0, 3.0},
    {RANGE_SCREEN_WIDTH, "screen width", 1024.0, 9999.0},
    {RANGE_SCREEN_HEIGHT, "screen height", 768.0, 9999.0},
    {RANGE_COLOUR_DEPTH, "colour depth", 16.0, 32.0},
    {RANGE_AUTOGEN_LEVEL, "autogen level", 0.0, 5.0},
    {RANGE_AUTOGEN_DISTANCE, "autogen distance", 0.0, 20.0},
    {RANGE_FIELD_OF_VIEW, "field of view", 1.0, 179.0},
    {RANGE_VIEW_RATIO, "view ratio", -10.0, 10.0},
    {RANGE_AREA_X, "place in the loaded scenery", -PLANET_SIZE_M, PLANET_SIZE_M},
    {RANGE_AREA_Z, "place in the loaded scenery", -PLANET_SIZE_M, PLANET_SIZE_M},
    {RANGE_HEIGHT, "height", LOWEST_HEIGHT_M, HIGHEST_ELEVATION_M},
    {RANGE_SIGN_DIGIT, "sign digit", 1.0, 2.0},
    {RANGE_LAT_DEGREES, "reference latitude", 0.0, HIGHEST_REFERENCE_LATITUDE},
    {RANGE_LON_DEGREES, "reference longitude", 0.0, HIGHEST_REFERENCE_LONGITUDE},
    {RANGE_WHOLE_TURN, "angle code", 0.0, 359.0},
    {RANGE_TENTHS_TURN, "heading code", 0.0, 3599.0},
    {RANGE_THREE_DIGITS, "three-digit code", 0.0, 999.0},
    {RANGE_FOUR_DIGITS, "four-digit code", 0.0, 9999.0},
    {RANGE_SIX_DIGITS, "six-digit code", 0.0, 999999.0},
    {RANGE_EIGHT_DIGITS, "control codes", 0.0, 99999999.0},
    {RANGE_TIRE_LOCKED, "tire lock code", 0.0, 1.0},
    {RANGE_FLAG_BITS, "flag bits", 0.0, (1 << 24) - 1},
    {RANGE_NOT_NEGATIVE, "code", 0.0, 2147483647.0},
    {RANGE_THROTTLE_TACH, "throttle and propeller code", 0.0, 1.0e6},
    {RANGE_SHIP_PLACE, "ship position", SHIP_NOT_PLACED_M, PLANET_SIZE_M},
};

namespace {

constexpr bool rows_in_order()
{
    for (int r = 0; r < RANGE_COUNT_OF_ROWS; ++r)
        if (net_range_table[r].range != r) return false;
    return true;
}
static_assert(rows_in_order(), "the range table's rows follow net_range");

// Field shorthands: n words of one kind from the member's offset.
constexpr net_field F(const char* name, size_t offset, int count, net_range r)
{
    return net_field{name, static_cast<int>(offset), count, WORD_FLOAT, r};
}
constexpr net_field I(const char* name, size_t offset, int count, net_range r)
{
    return net_field{name, static_cast<int>(offset), count, WORD_INT, r};
}
template <size_t N>
constexpr net_field D(const char* name, size_t offset, int count, const net_digit_group (&groups)[N])
{
    return net_field{name, static_cast<int>(offset), count, WORD_DIGITS, RANGE_ANY, groups, static_cast<int>(N)};
}
// A row of up to NET_PLANES floats, as many as the index byte names.
constexpr net_field P(const char* name, size_t offset, net_range r)
{
    return net_field{name, static_cast<int>(offset), NET_COUNT_FROM_INDEX, WORD_FLOAT, r, nullptr, 0, NET_PLANES};
}

template <size_t N>
constexpr net_field_list list_of(const net_field (&fields)[N])
{
    return net_field_list{fields, static_cast<int>(N)};
}

#define AT(record, member) offsetof(record, member)

// ---- "STAT" -------------------------------------------------------------
const net_field STAT_FIELDS[] = {
    I("paused", AT(stat_block, paused), 1, RANGE_FLAG),
    I("draw_aircrafts", AT(stat_block, draw_aircrafts), 1, RANGE_PLANE_COUNT),
    F("zulu_time_sec", AT(stat_block, zulu_time_sec), 1, RANGE_TIME_OF_DAY),
    F("local_date_days", AT(stat_block, local_date_days), 1, RANGE_DAY_OF_YEAR),
    I("cloud_type", AT(stat_block, cloud_type), CLOUD_LAYERS, RANGE_CLOUD_TYPE),
    F("cloud_tops_msl_m", AT(stat_block, cloud_tops_msl_m), CLOUD_LAYERS, RANGE_ELEVATION),
    F("cloud_base_msl_m", AT(stat_block, cloud_base_msl_m), CLOUD_LAYERS, RANGE_ELEVATION),
    F("wind_altitude_msl_m", AT(stat_block, wind_altitude_msl_m), WIND_LAYERS, RANGE_ELEVATION),
    F("turbulence", AT(stat_block, turbulence), WIND_LAYERS, RANGE_TURBULENCE),
    F("wind_direction_degt", AT(stat_block, wind_direction_degt), WIND_LAYERS, RANGE_ANGLE),
    F("wind_speed_kt", AT(stat_block, wind_speed_kt), WIND_LAYERS, RANGE_WIND_SPEED),
    F("shear_direction_degt", AT(stat_block, shear_direction_degt), WIND_LAYERS, RANGE_ANGLE),
    F("shear_speed_kt", AT(stat_block, shear_speed_kt), WIND_LAYERS, RANGE_WIND_SPEED),
    F("visibility_reported_m", AT(stat_block, visibility_reported_m), 1, RANGE_VISIBILITY),
    F("rain_percent", AT(stat_block, rain_percent), 1, RANGE_SHARE),
    F("thunderstorm_percent", AT(stat_block, thunderstorm_percent), 1, RANGE_SHARE),
    F("earth_temp_c", AT(stat_block, temperature_sealevel_c), 1, RANGE_SEA_LEVEL_TEMPERATURE),
    F("earth_pressure_p", AT(stat_block, earth_pressure_p), 1, RANGE_SEA_LEVEL_PRESSURE),
    F("wave_amplitude", AT(stat_block, wave_amplitude), 1, RANGE_WAVE_HEIGHT),
    F("wave_length", AT(stat_block, wave_length), 1, RANGE_WAVE_LENGTH),
    F("wave_speed", AT(stat_block, wave_speed), 1, RANGE_WAVE_SPEED),
    F("wave_dir", AT(stat_block, wave_dir), 1, RANGE_ANGLE),
    F("m_fixed", AT(stat_block, m_fixed), 1, RANGE_MASS),
    F("m_fuel", AT(stat_block, m_fuel), 3, RANGE_MASS),
    F("m_jettison", AT(stat_block, m_jettison), 1, RANGE_MASS),
    I("failures", AT(stat_block, failures), STAT_FAILURES, RANGE_FAILURE_STATE),
    F("failure values", AT(stat_block, failure_countdown), STAT_FAILURES, RANGE_VALUE),
};

// ---- "SNAP": the plane state record's words and packed integers ---------
constexpr net_digit_group REF_POINT[] = {{1000000, 0, RANGE_SIGN_DIGIT},
                                         {10000, 100, RANGE_LAT_DEGREES},
                                         {1000, 10, RANGE_SIGN_DIGIT},
                                         {1, 1000, RANGE_LON_DEGREES}};
constexpr net_digit_group TWO_TURNS[] = {{1000, 0, RANGE_WHOLE_TURN}, {1, 1000, RANGE_WHOLE_TURN}};
constexpr net_digit_group GEAR_LEG[] = {
    {1000000000, 0, RANGE_TIRE_LOCKED}, {1000000, 1000, RANGE_THREE_DIGITS}, {1, 1000000, RANGE_SIX_DIGITS}};
constexpr net_digit_group TWO_THREE_DIGITS[] = {{1000, 0, RANGE_THREE_DIGITS}, {1, 1000, RANGE_THREE_DIGITS}};
constexpr net_digit_group SHIP_HEADINGS[] = {{10000, 0, RANGE_TENTHS_TURN}, {1, 10000, RANGE_TENTHS_TURN}};
constexpr net_digit_group ENGINE_STATE[] = {{10000, 0, RANGE_FAILURE_STATE}, {1, 10000, RANGE_FOUR_DIGITS}};

const net_field SNAP_FIELDS[] = {
    F("network_time_sec", AT(plane_state_record, network_time_sec), 1, RANGE_TIME),
    D("ref_point", AT(plane_state_record, ref_point), 1, REF_POINT),
    I("flags", AT(plane_state_record, flags), 1, RANGE_FLAG_BITS),
    I("controls", AT(plane_state_record, controls), 1, RANGE_EIGHT_DIGITS),
    I("sweep_trim", AT(plane_state_record, sweep_trim), 1, RANGE_EIGHT_DIGITS),
    D("vector_cant", AT(plane_state_record, vector_cant), 2, TWO_TURNS),
    D("disc_tilt", AT(plane_state_record, disc_tilt), 2, TWO_TURNS),
    D("gear", AT(plane_state_record, gear), 6, GEAR_LEG),
    D("speeds", AT(plane_state_record, speeds), 1, TWO_THREE_DIGITS),
    D("turn_slip", AT(plane_state_record, turn_slip), 1, TWO_THREE_DIGITS),
    I("radios", AT(plane_state_record, radios), 2, RANGE_NOT_NEGATIVE),
    // About the sender's own reference point (ref_point), which need not be
    // this copy's: the place is checked against the globe, not against the
    // scenery loaded here.
    F("local_x", AT(plane_state_record, local_x), 1, RANGE_LOCAL),
    F("local_y", AT(plane_state_record, local_y), 1, RANGE_HEIGHT),
    F("local_z", AT(plane_state_record, local_z), 1, RANGE_LOCAL),
    F("local_vx", AT(plane_state_record, local_vx), 1, RANGE_SPEED),
    F("local_vy", AT(plane_state_record, local_vy), 1, RANGE_SPEED),
    F("local_vz", AT(plane_state_record, local_vz), 1, RANGE_SPEED),
    F("theta", AT(plane_state_record, theta), 1, RANGE_ANGLE),
    F("psi", AT(plane_state_record, psi), 1, RANGE_ANGLE),
    F("phi", AT(plane_state_record, phi), 1, RANGE_ANGLE),
    F("ship positions", AT(plane_state_record, ship_x0), 4, RANGE_SHIP_PLACE),
    D("ship_headings", AT(plane_state_record, ship_headings), 1, SHIP_HEADINGS),
    F("engine_thro_tac", AT(plane_state_record, engine_thro_tac), 8, RANGE_THROTTLE_TACH),
    D("engine_fail_jet", AT(plane_state_record, engine_fail_jet), 8, ENGINE_STATE),
    D("ice", AT(plane_state_record, ice), 1, TWO_THREE_DIGITS),
};

// ---- "ONEP", "ALLP" -----------------------------------------------------
const net_field ONEP_FIELDS[] = {
    F("local_x", AT(net_onep_record, local_x), 1, RANGE_AREA_X),
    F("local_y", AT(net_onep_record, local_y), 1, RANGE_HEIGHT),
    F("local_z", AT(net_onep_record, local_z), 1, RANGE_AREA_Z),
    F("psi", AT(net_onep_record, psi), 1, RANGE_ANGLE),
    F("theta", AT(net_onep_record, theta), 1, RANGE_ANGLE),
    F("phi", AT(net_onep_record, phi), 1, RANGE_ANGLE),
    F("latitude", AT(net_onep_record, latitude), 1, RANGE_LATITUDE),
    F("longitude", AT(net_onep_record, longitude), 1, RANGE_LONGITUDE),
};

const net_field ALLP_FIELDS[] = {
    P("local_x", AT(net_allp_record, local_x), RANGE_AREA_X),
    P("local_y", AT(net_allp_record, local_y), RANGE_HEIGHT),
    P("local_z", AT(net_allp_record, local_z), RANGE_AREA_Z),
    P("psi", AT(net_allp_record, psi), RANGE_ANGLE),
    P("theta", AT(net_allp_record, theta), RANGE_ANGLE),
    P("phi", AT(net_allp_record, phi), RANGE_ANGLE),
    F("latitude", AT(net_allp_record, latitude), 1, RANGE_LATITUDE),
    F("longitude", AT(net_allp_record, longitude), 1, RANGE_LONGITUDE),
};

// ---- "CUST", "TEXT" -----------------------------------------------------
const net_field CUST_FIELDS[] = {
    F("x", AT(net_cust_record, x), 1, RANGE_PANEL_PLACE),
    F("y", AT(net_cust_record, y), 1, RANGE_PANEL_PLACE),
    F("angle", AT(net_cust_record, angle), 1, RANGE_PANEL_ANGLE),
    F("source rectangle", AT(net_cust_record, s0), 4, RANGE_TEXEL),
};

const net_field TEXT_FIELDS[] = {
    I("color", AT(net_text_record, color), 1, RANGE_COLOUR),
    F("x", AT(net_text_record, x), 1, RANGE_PANEL_PLACE),
    F("y", AT(net_text_record, y), 1, RANGE_PANEL_PLACE),
};

#undef AT

int32_t word_at(const uint8_t* p, int offset)
{
    int32_t v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

float float_at(const uint8_t* p, int offset)
{
    float v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

bool miss_at(const net_field& f, int k, double value, net_range r, net_range_miss& miss)
{
    miss.field = f.name;
    miss.element = f.count == 1 ? -1 : k;
    miss.value = value;
    miss.range = r;
    return false;
}

}  // namespace

const net_field_list net_fields_STAT = list_of(STAT_FIELDS);
const net_field_list net_fields_SNAP = list_of(SNAP_FIELDS);
const net_field_list net_fields_ONEP = list_of(ONEP_FIELDS);
const net_field_list net_fields_ALLP = list_of(ALLP_FIELDS);
const net_field_list net_fields_CUST = list_of(CUST_FIELDS);
const net_field_list net_fields_TEXT = list_of(TEXT_FIELDS);

void NET_range_bounds(net_range r, double& low, double& high)
{
    if (r >= RANGE_COUNT_OF_ROWS) r = RANGE_ANY;
    low = net_range_table[r].low;
    high = net_range_table[r].high;
    const scenery_area_record& a = scenery_area;
    if (r == RANGE_AREA_X && a.x1 > a.x0) {
        low = AREA_MARGIN * a.x0;
        high = AREA_MARGIN * a.x1;
    }
    if (r == RANGE_AREA_Z && a.z1 > a.z0) {
        low = AREA_MARGIN * a.z0;
        high = AREA_MARGIN * a.z1;
    }
    // Sea-level air is the planet flown's own: taken, Mars' thin air on the
    // Earth would be flown in, and saved with the preferences for every later start.
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    if (r == RANGE_SEA_LEVEL_TEMPERATURE) low = SEA_LEVEL_TEMP_LOW_C[p], high = SEA_LEVEL_TEMP_HIGH_C[p];
    if (r == RANGE_SEA_LEVEL_PRESSURE) low = SEA_LEVEL_PRESSURE_LOW_PA[p], high = SEA_LEVEL_PRESSURE_HIGH_PA[p];
}

bool NET_in_range(net_range r, double v)
{
    if (r >= RANGE_COUNT_OF_ROWS) return false;
    if (std::isnan(v)) return false;
    if (r == RANGE_ANY) return true;
    double low, high;
    NET_range_bounds(r, low, high);
    return v >= low && v <= high;
}

bool NET_fields_in_range(const net_field_list& list, const uint8_t* payload, int size, int index, net_range_miss& miss)
{
    miss = net_range_miss{};
    for (int n = 0; n < list.count; ++n) {
        const net_field& f = list.fields[n];
        const int count = f.count == NET_COUNT_FROM_INDEX ? (index < f.per_index ? index : f.per_index) : f.count;
        for (int k = 0; k < count; ++k) {
            const int at = f.offset + 4 * k;
            if (at < 0 || at + 4 > size) return miss_at(f, k, 0.0, RANGE_ANY, miss);
            if (f.kind == WORD_FLOAT) {
                const float v = float_at(payload, at);
                if (!NET_in_range(f.range, v)) return miss_at(f, k, v, f.range, miss);
                continue;
            }
            const int32_t w = word_at(payload, at);
            if (f.kind == WORD_INT) {
                if (!NET_in_range(f.range, w)) return miss_at(f, k, w, f.range, miss);
                continue;
            }
            for (int g = 0; g < f.digit_groups; ++g) {
                const net_digit_group& d = f.digits[g];
                int32_t part = w / d.divisor;
                if (d.modulus > 0) part %= d.modulus;
                if (!NET_in_range(d.range, part)) return miss_at(f, k, part, d.range, miss);
            }
        }
    }
    return true;
}

net_range NET_setting_range(int n)
{
    switch (n) {
    case 0: return RANGE_RENDERING_RES;
    case 1: return RANGE_SCREEN_WIDTH;
    case 2: return RANGE_SCREEN_HEIGHT;
    case 3: return RANGE_COLOUR_DEPTH;
    case 5: return RANGE_PLANE_COUNT;
    case 6: return RANGE_AUTOGEN_LEVEL;
    case 7: return RANGE_AUTOGEN_DISTANCE;
    case 4: case 8: case 9: case 10: case 12: case 13: case 14: case 15: case 16: case 17: case 18: case 19:
    case 25: case 26:
        return RANGE_FLAG;
    case 20: case 22: return RANGE_ANGLE;
    case 21: case 23: return RANGE_VIEW_RATIO;
    case 24: return RANGE_FIELD_OF_VIEW;
    default: return RANGE_ANY;
    }
}
