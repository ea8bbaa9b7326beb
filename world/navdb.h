// The navigation databases of the current planet: airports with their
// runways, start positions, windsocks and frequencies; navaids; fixes;
// airway segments. Filled by the readers of "apt.dat", "nav.dat", "fix.dat"
// and "awy.dat" and by the custom scenery packages, and read by nearly every
// subsystem.
//
// Lengths are metres (the files give feet), angles degrees, latitudes and
// longitudes single-precision degrees. Radio frequencies are kept as written
// in the files (VHF in hundredths of MHz).
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/texture_slots.h"

// ---------------------------------------------------------------------------
// Capacities. Indices of these tables travel in nav references whose low 24
// bits hold the index, so no table may grow past 2^24 entries. A file that
// would take a table past its capacity is refused as a whole.
constexpr int32_t APT_MAX_AIRPORTS = 250000;
constexpr int32_t APT_MAX_RUNWAYS = 20000;        // runway and taxiway rows of one airport
constexpr int32_t APT_MAX_STARTS = 5000;          // start positions of one airport
constexpr int32_t APT_MAX_WINDSOCKS = 2000;       // windsocks of one airport
constexpr int32_t NAV_MAX_NAVAIDS = 500000;
constexpr int32_t NAV_MAX_FIXES = 2000000;
constexpr int32_t NAV_MAX_AIRWAYS = 2000000;

constexpr int APT_ID_SIZE = 5;       // 4 characters and a terminator
constexpr int APT_NAME_SIZE = 40;    // 39 characters and a terminator
constexpr int RWY_NUMBER_SIZE = 4;   // 3 characters and a terminator
constexpr int APT_FREQUENCIES = 7;   // rows 50 to 56
constexpr int FIX_ID_SIZE = 6;       // 5 characters and a terminator
constexpr int AWY_NAME_SIZE = 12;    // 11 characters and a terminator

// The kinds of row that open an airport.
constexpr int APT_KIND_AIRPORT = 1;
constexpr int APT_KIND_SEAPLANE_BASE = 16;
constexpr int APT_KIND_HELIPORT = 17;

// Internal surface codes (texture slots of the runway surfaces).
constexpr int32_t SURFACE_WATER = TEX_SLOT_WATER;
constexpr int32_t SURFACE_ASPHALT = TEX_SLOT_LINE_ASPHALT;
constexpr int32_t SURFACE_CONCRETE = TEX_SLOT_LINE_CONCRETE;

// Navaid kinds.
constexpr int32_t NAV_NDB = 2;
constexpr int32_t NAV_VOR = 3;
constexpr int32_t NAV_ILS_LOC = 4;
constexpr int32_t NAV_LOC = 5;
constexpr int32_t NAV_GLIDESLOPE = 6;
constexpr int32_t NAV_OUTER_MARKER = 7;
constexpr int32_t NAV_MIDDLE_MARKER = 8;
constexpr int32_t NAV_INNER_MARKER = 9;
constexpr int32_t NAV_DME = 12;
constexpr int NAV_SHIP_NAVAIDS = 6;   // the first records of the Earth's navaid table

// ---------------------------------------------------------------------------
// Records.

// One runway or taxiway segment (a number beginning with 'x' is a taxiway).
struct runway_record {
    int32_t geometry_index;        // kept by the runway geometry code; 0 after loading
    float lat;                     // the runway's centre point
    float lon;
    char number[RWY_NUMBER_SIZE];  // "09L", "18", "H1"; NUL-padded
    float heading;                 // degrees true, as read
    float length;                  // metres
    float width;                   // metres
    float displaced_thresholds;    // feet, packed: first end . other end x 10,000
    float stopways;                // feet, packed the same way
    int32_t lighting_code;         // six digits, three per end
    int32_t surface_code;          // internal surface code (152, 153, 160-169, 175) or 0
    int32_t shoulder_code;
    int32_t markings_code;         // 0 none .. 3 precision
    float smoothness;
    int32_t distance_signs;
};
static_assert(sizeof(runway_record) == 60);
static_assert(offsetof(runway_record, number) == 12);
static_assert(offsetof(runway_record, distance_signs) == 56);

struct start_position_record {
    float lat;
    float lon;
    float heading;                 // 0..360
    char name[APT_NAME_SIZE];
};
static_assert(sizeof(start_position_record) == 52);

struct windsock_record {
    float lat;
    float lon;
    int32_t lit;
};
static_assert(sizeof(windsock_record) == 12);

struct frequency_slot {
    int32_t frequency;             // hundredths of MHz, as written
    char name[APT_NAME_SIZE];
};
static_assert(sizeof(frequency_slot) == 44);

// One airport. Its position, for every user, is the position of its first
// runway. An airport read without runway rows is kept, with no position:
// every user of the first runway skips it.
struct airport_record {
    uint8_t local;                 // first runway inside the loaded scenery area (scene build)
    int32_t kind;                  // 1 airport, 16 seaplane base, 17 heliport
    char id[APT_ID_SIZE];          // at most 4 characters, NUL-padded
    char name[APT_NAME_SIZE];
    float elevation;               // metres
    uint8_t tower_flag;
    uint8_t buildings_flag;
    float tower_lat;               // the tower point, 0 until a row 14 is read
    float tower_lon;
    float tower_height;            // metres
    float beacon_lat;              // the beacon, 0 until a row 18 is read
    float beacon_lon;
    int32_t beacon_type;
    frequency_slot frequencies[APT_FREQUENCIES];   // slot k from row 50 + k
    std::vector<runway_record> runways;
    std::vector<start_position_record> starts;
    std::vector<windsock_record> windsocks;
};

struct navaid_record {
    int32_t kind;                  // NAV_NDB ...; other kinds stored as read
    float lat;
    float lon;
    float height;                  // metres
    int32_t frequency;             // as written (VHF: hundredths of MHz)
    float heading;                 // 0..360; glide slopes: slope x 100,000 + course
    char id[APT_ID_SIZE];
    char name[APT_NAME_SIZE];
    uint8_t local;                 // inside the loaded scenery area (scene build); ship navaids 1
};
static_assert(sizeof(navaid_record) == 72);
static_assert(offsetof(navaid_record, id) == 24);
static_assert(offsetof(navaid_record, name) == 29);
static_assert(offsetof(navaid_record, local) == 69);

struct fix_record {
    float lat;
    float lon;
    char id[FIX_ID_SIZE];          // at most 5 characters, spaces included
    uint8_t local;
};
static_assert(sizeof(fix_record) == 16);
static_assert(offsetof(fix_record, local) == 14);

// One airway segment; both latitudes come first.
struct airway_record {
    float lat1;
    float lat2;
    float lon1;
    float lon2;
    char name[AWY_NAME_SIZE];
    uint8_t level;                 // 1 low, 2 high, as read
    uint8_t local;                 // either end inside the loaded scenery area (scene build)
};
static_assert(sizeof(airway_record) == 32);
static_assert(offsetof(airway_record, name) == 16);
static_assert(offsetof(airway_record, level) == 28);

// ---------------------------------------------------------------------------
// The tables. Indices are the airport, navaid, fix and airway indices used
// throughout the program.
extern std::vector<airport_record> airport_table;
extern std::vector<navaid_record> navaid_table;
extern std::vector<fix_record> fix_table;
extern std::vector<airway_record> airway_table;

// Airport id (its first four bytes taken as one 32-bit word, NUL-padded) to
// the index of the first airport read with that id.
extern std::unordered_map<uint32_t, int32_t> airport_id_index;
// Frequency to navaid index, one entry per navaid record.
extern std::unordered_multimap<int32_t, int32_t> navaid_frequency_index;

// The airport, runway and navaid being filled; other code uses them as loop
// indices too. After an airport load apt_cursor is the last airport's index.
extern int32_t apt_cursor;
extern int32_t rwy_cursor;
extern int32_t nav_cursor;

// The labels of the two ships' landing aids (navaid records 0..5 on the Earth).
extern const char* const nav_carrier_label;
extern const char* const nav_frigate_label;

// The 32-bit key of an id text: its first four bytes, NUL-padded.
uint32_t NAV_id_key(const char* id);

// Empties the four tables and their indices and puts the three cursors back
// to -1, as at program start.
void NAV_clear_tables();

// ---------------------------------------------------------------------------
// Readers. mode 7 reads; no other mode does anything. Each path is a program
// path (':' separators) and is converted in place to the '\' form first.

// Reads an "apt.dat" (versions 703, 702, 701, 600). is_custom 0: the main
// file; the table and the id index are emptied first, and a missing or
// unreadable file is fatal. is_custom 1: appends; a missing or unrecognised
// file, or one too large for the table, changes nothing and gives 0.
// Returns 1 when the file was read up to its end row.
int APT_parse(int mode, char* path, int is_custom);
// Closes the last airport of the table: one without start positions gets a
// default start at its first runway (at latitude and longitude 0 when it has
// no runway either). An airport without runways is kept.
void APT_finish_airport();
// Merges the custom scenery packages' "Earth nav data:apt.dat" files: a
// package airport whose id (ignoring case) is already in the table takes that
// record's place; others are appended. Packages whose folder names sort first
// win. Returns the airport count. The argument is not used.
int APT_load(char* apt_path);

void NAV_parse_navaids(int mode, char* path);   // empties the navaid table and its index first
void NAV_parse_fixes(int mode, char* path);     // appends
void NAV_parse_airways(int mode, char* path);   // appends

// The airport at an index of the table, or null outside it.
airport_record* APT_table_at(int index);

// Fatal "Scan too far!" when the cursor is at or past the end, else moves it
// past every NUL, LF and CR.
void APT_skip_line_ends(const char* buffer, int64_t& cursor, int64_t end);
// True when the character at the position is NUL, LF or CR.
bool APT_is_line_end(const char* buffer, int64_t position);

// Reloads the four databases of the current planet, adds the custom scenery
// airports, then brings the GPS selection back inside the tables. An index
// of an empty table becomes -1 (no selection).
void NAV_load_databases();

// The indices of the table entries whose id key is `key`, in ascending
// order (empty when none): table 1 airports, 11 fixes, any other value
// navaids. Built from the tables on first use after they change.
const std::vector<int32_t>& NAV_entries_with_key(int table, uint32_t key);
