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
// as "-"), and the line "99" at the end.
#pragma once

#include <cstdint>

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
// and aircraft of the user's plane, from and to the current airport, counters
// 0. Past 5,000 entries the fatal alert that asks the user to put the logbook
// file away.
void LOGBOOK_new_entry();
// Empties the logbook and starts entry 0.
void LOGBOOK_clear();
// Writes the logbook text file: this copy's entries added to the file as it
// stands, under the logbook's lock (a hidden ".<name>.lock" beside it) so that
// another copy's save in the same folder waits. The file is written beside
// its place and renamed over it only when complete; a failed write keeps the
// previous file and raises a notice naming it (while the program quits, only
// written to ERROR.OUT).
void LOGBOOK_write();
// Reads the logbook text file. A missing or unreadable file leaves the
// logbook empty; a damaged entry line is skipped (and noted in ERROR.OUT).
void LOGBOOK_read();

// The current entry's counters, for the systems step; nothing happens while
// the logbook is empty.
void LOGBOOK_add_hours(float total, float night, float instrument);
void LOGBOOK_add_cross_country(float hours);
void LOGBOOK_count_landing(const char* airport_id);
