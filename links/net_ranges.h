// The ranges every number received from outside must lie in: one row per
// kind of quantity (a latitude, a local position, a speed, an angle, a count
// ...), and for each fixed record a datagram carries, which of its words is
// which kind. A datagram holding one value outside its range is refused
// whole, as one holding NaN: nothing of it is applied.
//
// The rows are generous: they admit every value the program itself sends or
// flies (the orbiter's entry start at 450,000 ft and 25,750 ft/s among them)
// and refuse the values no plane state, weather or setting can have, before
// they reach the flight model, the scene builds or a table index.
#pragma once

#include <cstdint>

enum net_range : uint8_t {
    RANGE_ANY,              // not a number the simulation takes as one (a seed, a spare word)
    RANGE_VALUE,            // any other float: a magnitude a product of two keeps finite
    RANGE_INT_VALUE,        // any other integer, as carried by a float
    RANGE_LATITUDE,         // degrees
    RANGE_LONGITUDE,        // degrees
    RANGE_LOCAL,            // local metres about the scene origin: within the planet's size
    RANGE_ELEVATION,        // metres: below the lowest terrain to above the highest start the program flies
    RANGE_SPEED,            // metres a second (or knots)
    RANGE_ANGLE,            // degrees: headings, pitch, roll, directions, deflections
    RANGE_RATE,             // degrees a second
    RANGE_LOAD,             // g
    RANGE_RATIO,            // a control, lever or share (the speed brake's arming is -0.5)
    RANGE_TIME,             // seconds of a clock or timer
    RANGE_TIME_OF_DAY,      // seconds
    RANGE_DAY_OF_YEAR,
    RANGE_FLAG,             // 0 or 1
    RANGE_PLANE_COUNT,      // planes flown, 1..10
    RANGE_CLOUD_TYPE,
    RANGE_TURBULENCE,
    RANGE_WIND_SPEED,       // knots
    RANGE_VISIBILITY,       // metres
    RANGE_SHARE,            // 0..1
    RANGE_TEMPERATURE,      // degrees Celsius
    RANGE_PRESSURE,         // pascals
    RANGE_SEA_LEVEL_TEMPERATURE,  // degrees Celsius: the sea-level air a planet can have
    RANGE_SEA_LEVEL_PRESSURE,     // pascals: the same
    RANGE_WAVE_HEIGHT,      // metres
    RANGE_WAVE_LENGTH,      // metres
    RANGE_WAVE_SPEED,       // metres a second
    RANGE_MASS,             // kilograms
    RANGE_FAILURE_STATE,    // 0 working .. 6 failed
    RANGE_PANEL_PLACE,      // panel units
    RANGE_PANEL_ANGLE,      // degrees a needle turns
    RANGE_TEXEL,            // texel of the 512-texel needle picture
    RANGE_COLOUR,           // row of the colour table
    RANGE_RENDERING_RES,
    RANGE_SCREEN_WIDTH,
    RANGE_SCREEN_HEIGHT,
    RANGE_COLOUR_DEPTH,
    RANGE_AUTOGEN_LEVEL,
    RANGE_AUTOGEN_DISTANCE,
    RANGE_FIELD_OF_VIEW,    // degrees
    RANGE_VIEW_RATIO,
    // A place in the local frame that must lie in the loaded scenery (a tenth
    // wider on each side, as the terrain's own points may): east-west (x) and
    // north-south (z). Before any scenery is loaded they are RANGE_LOCAL.
    RANGE_AREA_X,
    RANGE_AREA_Z,
    RANGE_HEIGHT,           // local height, metres: the elevations with the ground's curve away from the origin
    // Digit groups of the plane state record's packed integers.
    RANGE_SIGN_DIGIT,       // 1 negative, 2 zero or positive
    RANGE_LAT_DEGREES,      // whole degrees of a reference latitude, 0..93 (past a pole)
    RANGE_LON_DEGREES,      // whole degrees of a reference longitude, 0..183
    RANGE_WHOLE_TURN,       // whole degrees 0..359
    RANGE_TENTHS_TURN,      // tenths of a degree 0..3599
    RANGE_THREE_DIGITS,     // 0..999
    RANGE_FOUR_DIGITS,      // 0..9999
    RANGE_SIX_DIGITS,       // 0..999999
    RANGE_EIGHT_DIGITS,     // four two-digit codes
    RANGE_TIRE_LOCKED,      // 0 or 1
    RANGE_FLAG_BITS,        // the 24 flag bits of a plane state
    RANGE_NOT_NEGATIVE,     // any integer from 0
    RANGE_THROTTLE_TACH,    // throttle percent * 1000 + propeller rad/s
    RANGE_SHIP_PLACE,       // a ship's local metres: RANGE_LOCAL, or the far place of a ship not placed
    RANGE_COUNT_OF_ROWS     // the number of rows, not a row
};

struct net_range_row {
    net_range range;
    const char* name;     // what a refusal calls a value of this row
    double low, high;     // inclusive
};
// The one table of ranges, indexed by net_range.
extern const net_range_row net_range_table[RANGE_COUNT_OF_ROWS];

// True when v is a number inside the row's range (NaN never is).
bool NET_in_range(net_range r, double v);
// The row's bounds now (the loaded scenery's for the area rows).
void NET_range_bounds(net_range r, double& low, double& high);

// One field of a fixed record: `count` 4-byte words from `offset`, each a
// float or a 32-bit integer in the row's range, or an integer made of digit
// groups (word / divisor % modulus, modulus 0 for the top group), each group
// in its own row.
enum net_word_kind : uint8_t { WORD_FLOAT, WORD_INT, WORD_DIGITS };
struct net_digit_group {
    int32_t divisor;
    int32_t modulus;
    net_range range;
};
constexpr int NET_COUNT_FROM_INDEX = -1;   // as many words as the index byte says (at most `per_index`)
struct net_field {
    const char* name;
    int offset;
    int count;            // or NET_COUNT_FROM_INDEX
    net_word_kind kind;
    net_range range;      // WORD_FLOAT and WORD_INT
    const net_digit_group* digits = nullptr;   // WORD_DIGITS
    int digit_groups = 0;
    int per_index = 0;    // the most words NET_COUNT_FROM_INDEX takes
};
struct net_field_list {
    const net_field* fields;
    int count;
};

// The fields of each fixed record that reaches the simulation.
extern const net_field_list net_fields_STAT;
extern const net_field_list net_fields_SNAP;
extern const net_field_list net_fields_ONEP;
extern const net_field_list net_fields_ALLP;
extern const net_field_list net_fields_CUST;
extern const net_field_list net_fields_TEXT;

// The first value of a record outside its range.
struct net_range_miss {
    const char* field = nullptr;   // the field's name (nullptr: every value is in range)
    int element = -1;              // which word of the field (-1: the field is one word)
    char name[40] = {};            // when not empty, the value's name instead of the field's
    double value = 0.0;            // the value, or the digit group's value
    net_range range = RANGE_ANY;
};
// Checks every field of a payload of `size` bytes (the fields lie inside it)
// whose index byte is `index`; false with the first miss filled in when a
// value lies outside its range.
bool NET_fields_in_range(const net_field_list& list, const uint8_t* payload, int size, int index, net_range_miss& miss);

// The range of each "GSET" setting (RANGE_ANY for the numbers without one).
net_range NET_setting_range(int n);
