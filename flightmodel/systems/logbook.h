// The pilot's logbook: one entry per flight (date, from and to airport,
// landings, hours by kind, tail number and aircraft) in parallel arrays of
// 5,000 entries, read from and written to a text file in "OUTPUT:LOGBOOKS:"
// named by the logbook file-name preference.
//
// The systems step advances the current entry's hours and landings every
// frame; this module starts, clears, reads and writes entries.
//
// File (text data file, version 1): the header; one line per entry
//   "2 " date(6) "  " from(4) "  " to(4) "  " landings(2) "  "
//   total "  " night "  " instrument "  " cross-country "  " (each %4.1f)
//   tail(6) "  " aircraft
// from, to and tail padded with blanks to their widths (an empty one written
// as "-"), and the line "99" at the end. The hours of a line are tenths, and
// what a line's tenths leave over is carried to the next (see
// LOGBOOK_line_tenths).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/units.h"

constexpr int LOGBOOK_MAX_ENTRIES = 5000;
constexpr int LOGBOOK_AIRPORT_SIZE = 5;    // 4 characters and a terminator
constexpr int LOGBOOK_TAIL_SIZE = 7;       // 6 characters and a terminator
constexpr int LOGBOOK_AIRCRAFT_SIZE = 40;  // 39 characters and a terminator

struct logbook_arrays {
    int32_t date[LOGBOOK_MAX_ENTRIES];     // YYMMDD: years since 2000 x 10,000 + month x 100 + day
    char from[LOGBOOK_MAX_ENTRIES][LOGBOOK_AIRPORT_SIZE];
    char to[LOGBOOK_MAX_ENTRIES][LOGBOOK_AIRPORT_SIZE];
    int32_t landings[LOGBOOK_MAX_ENTRIES];
    float total_hours[LOGBOOK_MAX_ENTRIES];
    float night_hours[LOGBOOK_MAX_ENTRIES];
    float instrument_hours[LOGBOOK_MAX_ENTRIES];
    float cross_country_hours[LOGBOOK_MAX_ENTRIES];
    char tail[LOGBOOK_MAX_ENTRIES][LOGBOOK_TAIL_SIZE];
    char aircraft[LOGBOOK_MAX_ENTRIES][LOGBOOK_AIRCRAFT_SIZE];
};
extern logbook_arrays logbook;
// The index of the last entry (the current one), -1 while the logbook is empty.
extern int32_t logbook_last;

// Starts an entry, or refills the current one while it is this copy's and
// holds no more than the first second of its flight (the systems start the
// entry every frame of that second): date of the system clock, tail number
// and aircraft of the user's plane (the aircraft file's name as the disk
// holds it, whatever case it was chosen in), from and to the airport where
// the plane is (blank away from any), counters 0. Past 5,000 entries the
// fatal alert that asks the user to put the logbook file away.
void LOGBOOK_new_entry();
// Empties the logbook and starts entry 0.
void LOGBOOK_clear();
// Writes the logbook text file: this copy's entries added to the file as it
// stands, under the logbook's lock (a hidden ".<name>.lock" beside it, <name>
// the file's own name on the disk) so that
// another copy's save in the same folder waits. The file is written beside
// its place and renamed over it only when complete; a failed write keeps the
// previous file and raises a notice naming it (while the program quits, only
// written to ERROR.OUT).
void LOGBOOK_write();
// Reads the logbook text file. A missing or unreadable file leaves the
// logbook empty; a damaged entry line is skipped (and noted in ERROR.OUT).
void LOGBOOK_read();

// The current entry's counters, for the systems step; nothing happens while
// the logbook is empty. A landing also makes the airport the entry's arrival.
void LOGBOOK_add_hours(float total, float night, float instrument);
void LOGBOOK_add_cross_country(float hours);
void LOGBOOK_count_landing(int airport);
// The current entry's arrival: the airport the flight is at now (-1: none,
// a blank arrival).
void LOGBOOK_set_arrival(int airport);

// A place lies at an airport when one of the airport's runways or start
// positions is within this distance of it; farther from all of them it is at
// no airport.
constexpr float LOGBOOK_AIRPORT_RADIUS_M = 5.0f * UNIT.nm_to_mtrs;
// The airport a place (degrees) lies at: the one with the nearest runway or
// start position within the radius, -1 when none is.
int LOGBOOK_airport_at(float lat, float lon);

// The four hour columns (total, night, instrument, cross-country) of entries
// 0..logbook_last in tenths of an hour, as the file's lines and the logbook
// screen show them: each line holds the tenths of the hours flown up to its
// end less those of the lines above it, so what a line's rounding leaves
// over is carried to the next and the lines add up to the hours flown within
// half a tenth, however many short flights they hold.
using logbook_tenths = std::array<int64_t, 4>;
std::vector<logbook_tenths> LOGBOOK_line_tenths();
