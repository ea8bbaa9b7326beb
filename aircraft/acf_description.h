// Readable aircraft descriptions: "key = value" lines from which the project
// makes its own aircraft files (the default aircraft).
//
// '#' at the start of a line or after a blank starts a comment. Keys are the
// aircraft record's field names, with an optional index list for arrays:
//
//   acf_Vne = 160                      one value
//   acf_flap_dn[0..3] = 0 10 20 30     one value per index, or one value for all
//   acf_Croot[8,9] = 5.3               a list of indices
//   acf_flap[8:0..3] = 1               element entries: part 8, elements 0 to 3
//   acf_Rafl0[8..9] = wing_15pct.afl   texts: name lists are indexed by part or weapon slot
//
// Two keys are not fields: "name", the aircraft's file name below "AIRCRAFT:"
// without its extension (it may name sub-folders with ':'), and
// "body[p] = z halfwidth top bottom", which adds the next station of the
// outline of body part p (an elliptic section; lengths relative to the part's
// arm). Values are in the aircraft file's units: feet, pounds, horsepower,
// knots, rpm, degrees. Keys beginning with "paint_" are the paint
// generator's colours (tools/aircraft_paint.h) and are passed over here.
#pragma once

#include "aircraft/acf_struct.h"

// Clears the record of `slot` and fills it from the description at `path`.
// Returns 1 and the aircraft's name (500 characters) on success; 0 and a
// message naming the line (500 characters) when the description is bad.
int ACF_read_description(const char* path, int slot, char* name, char* error);

// 1 when every size the model divides by is positive, else 0 and a message
// naming the field (500 characters): the empty and maximum mass, and the root
// chord, tip chord and length of every fitted surface with elements (its
// area; on a propeller or rotor, its blade chord). With `inertia`, once the
// masses are set up (ACF_setup_props_and_masses), the mass-normalised
// moments of inertia as well.
int ACF_check_description_values(int slot, bool inertia, char* error);
