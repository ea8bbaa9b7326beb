// Airfoil files (".afl", text, data-file kind 2) and the airfoil blocks of the
// aircraft record: finding and reading the four files of a lifting part,
// writing one file, and the curve fits that generate the coefficient tables
// of older files that carry none.
#pragma once

#include "aircraft/airfoil_block.h"

constexpr int AFL_NAME_SIZE = 40;          // airfoil file name in the aircraft record
constexpr int AFL_DEVICE_CODE = 1234;      // second line of every airfoil file
constexpr int AFL_WRITE_VERSION = 700;
constexpr int AFL_MODE_READ = 7;
constexpr int AFL_MODE_WRITE = 8;
constexpr int AFL_READ_VERSIONS[] = {700, 650, 641, 613, 363};   // tried in this order

// The airfoil block of part 0..43 of the aircraft in plane slot 0..9
// (a bad index is a fatal alert).
afl_block& AIRFOIL_block(int slot, int part);

// Finds the airfoil file `name` (up to 40 characters) first in "airfoils:"
// beside the slot's aircraft file, then in the program's airfoil folder, and
// reads it into table (end, member) of the part's block. False when it cannot
// be read: missing, or damaged (a file of a known version damaged inside is
// refused where it is found); a notice names the file (ACF_refuse_file) and
// the aircraft cannot be loaded.
bool AIRFOIL_load(const char* name, int slot, int part, int end, int member);

// Mode 7 reads the file at `path` (a colon path) into table (end, member) of
// the part's block: 1 on success, 0 when no readable file of a known version is
// there, or when the file is damaged inside (its device code, numbers cut
// short or not numbers, coefficients out of range: a notice names it, and the
// table is left as far as it was read). Mode 8 writes the table and the
// part's values as a version-700 file: 1 when the whole file is in place; 0,
// with the previous file kept as it was and a notice naming the file, when it
// could not be saved. Any other mode: 0.
int AIRFOIL_read_write(int mode, int slot, int part, int end, int member, const char* path);

// After the four files of a part are read: each end whose two Reynolds
// numbers differ by less than 0.01 gets 0.0 and 99.9, so the flight model's
// interpolation between them never divides by a vanishing difference.
void AIRFOIL_normalise_reynolds(int slot, int part);

// The fitted curves, valid from -20 to +20 degrees (angles in degrees).
float AIRFOIL_fit_lift(float alpha, int slot, int part, int end, int member);
float AIRFOIL_fit_drag(float alpha, int slot, int part, int end, int member);
float AIRFOIL_fit_moment(float alpha, int slot, int part);

// Fills the three tables of (end, member) from the fits over the whole circle;
// false when a value came out NaN or of magnitude 1e10 or more.
bool AIRFOIL_build_tables(int slot, int part, int end, int member);

// The same on a block directly (table t = end * 2 + member), for tools and tests.
float AIRFOIL_fit_lift(const afl_block& b, int t, float alpha);
float AIRFOIL_fit_drag(const afl_block& b, int t, float alpha);
float AIRFOIL_fit_moment(const afl_block& b, float alpha);
bool AIRFOIL_build_tables(afl_block& b, int t);
