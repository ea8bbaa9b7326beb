// Look-ups in the navigation databases: the nearest entry with an id, the
// labels of a runway's two ends, the digits of a runway code and the start
// airport.
#pragma once

// The entry of `kind` (1 airport, 11 fix, else the navaid kind) with the id
// nearest to (lat, lon): its index in out_index and 1, or 0 when none has it.
int NAV_find_nearest_by_id(const char* id, int kind, int& out_index, float lat, float lon);
// The two end labels of a runway ("0 9 L" and "2 7 R"), empty for an index outside the tables.
void APT_runway_end_labels(int airport, int runway, char* this_end, char* other_end);
// The digit indices of a runway code's two ends (code = 1000 x first end + second end).
void APT_split_rwy_code(int hundreds[2], int tens[2], int units[2], int code);
// Selects the start airport named in the start selection and places the user's plane at its first runway.
void APT_find_start_airport();
