// What the ATC modules share among themselves: number conventions, the
// values each module keeps between calls, and small helpers.
#pragma once

#include <cstdint>

#include "core/numeric.h"
#include "core/units.h"
#include "world/navdb.h"

constexpr double ATC_FAR_FUTURE = 9.9e9;
constexpr int ATC_MENU_ROWS = 29;
constexpr int ATC_LIST_COLUMNS = 6;

// The request window's row states of its last drawing pass and the mouse
// position of its last highlight update; and the pick list of its last
// drawing pass: its page (0: none drawn) and the airport or navaid drawn in
// each slot (the table index + 1; 0 for an empty slot).
struct atc_menu_record {
    int32_t atc_row_state[ATC_MENU_ROWS];
    float atc_last_mouse[2];
    int32_t atc_list_page;
    int32_t atc_list_entry[ATC_LIST_COLUMNS][ATC_MENU_ROWS];
};
extern atc_menu_record atc_menu;

// The approach controller's pacing and the last vectors it gave.
struct atc_request_record {
    double atc_approach_next_time;
    int32_t atc_last_heading;
    int32_t atc_last_altitude;
};
extern atc_request_record atc_request;

// The clearance logic's timers.
struct atc_clearance_record {
    double atc_center_handoff_time;
    double atc_enroute_check_time;
    int32_t atc_vectors_given;
};
extern atc_clearance_record atc_clearance;

// The broadcast on the radio: the airport whose ATIS is heard, -1 for none,
// and its information letter, kept while it stays tuned.
struct atc_broadcast_record {
    int32_t airport = -1;
    char letter = 'A';
};
extern atc_broadcast_record atc_broadcast;

// Numbers: values from files or peers may be huge or not finite, so every
// conversion to an integer is bounded and a non-finite value counts as 0.
int atc_trunc(double x);
int atc_round(double x);                 // halves away from zero
int atc_random(int n);                   // (r * n) / 32768
double atc_chance();                     // r / 32767

// Appends decimal digits of a value.
void atc_append_int(char* out, int value);
// Appends the pressure phrase ("ALTIMETER 29.92" or "AREA QNH 1013") of
// inches of mercury.
void atc_append_pressure(char* out, double inhg);
// Appends four random squawk digits 0..7 separated by blanks.
void atc_append_squawk(char* out);

// The airport or navaid at an index, or null outside its table.
const airport_record* atc_airport(int index);
const navaid_record* atc_navaid(int index);
// The first runway point of an airport (false without runways).
bool atc_airport_point(int index, float& lat, float& lon);
// Copies a fixed-size record text into a terminated 500-byte buffer.
void atc_copy_name(const char* src, int size, char* out);
// Spoken with the show flag (the last ATC message): the text is shown as it
// stands, and the voice is given it with atc_spoken_text's spellings.
void atc_speak(const char* text);
// The text as the voice is given it: the spelling words whose names it says
// wrongly ("LIMA", "ZULU") spelled as it says them right ("LEEMA", "ZOOLOO").
void atc_spoken_text(const char* text, char out[TEXT_SIZE]);
