// Aircraft files (".acf", binary, data-file kind 4): reading a file into the
// aircraft record of a plane slot, writing a record out, the values derived
// after a read and the checks that refuse an unflyable aircraft.
//
// A file is the byte-order letter 'i' or 'a', the version (int32 in the
// writer's byte order) and the body: for version 700 the first
// ACF_FILE_IMAGE_SIZE bytes of the record itself.
#pragma once

#include "aircraft/acf_struct.h"

constexpr int ACF_MODE_READ = 7;
constexpr int ACF_MODE_WRITE = 8;
constexpr int ACF_INS_TYPES = 476;   // instrument types 0..475; -1 is an empty slot
constexpr int ACF_INS_EMPTY = -1;
constexpr int ACF_COCKPIT_TYPES = 8; // built-in panels 0..7

// Mode 7 reads the file named by the slot's record (acf_file_path, which must
// lie below the program folder) into the record, loads the airfoils of every
// part in service, derives the dependent values and checks the aircraft.
// Returns 1 when a file was read; 0 when the path is outside the program
// folder, the file cannot be opened or is not a version-700 aircraft file, or
// the file is refused (wrong length, counts beyond the record's capacities, a
// failed check, an airfoil that cannot be read; a notice names the file,
// ACF_refuse_file). After a 0 the record is zero apart from its file name and
// path (unless the folder test failed: then it is untouched).
// Mode 8 checks the record and writes it to acf_file_path: 1 when the whole
// file is in place; 0, with the previous file kept as it was and a notice
// naming the file, when it could not be saved. Other modes do nothing and
// return 0. `flag` is unused.
int ACF_read_write(int mode, int slot, int flag);

// Why the file at `path` cannot be read as an aircraft (a sentence), or
// nullptr when it lies inside the program folder and opens as an aircraft
// file of a version this program reads, whole. Nothing is loaded.
const char* ACF_file_problem(const char* path);

// Reverses a record read from a file of the other byte order: when its first
// word is non-zero, every 4-byte word of the record is reversed and then the
// text fields (tail number, author, description, airfoil and weapon names)
// are reversed back, so they read as written.
void ACF_swap_record(int slot);

// Settles the propeller types of the thrust points: a jet in service gets the
// jet's type, any other is kept within the types a file may choose.
void ACF_settle_prop_types(int slot);

// Completes a record after its file was read: propeller type of jets, side of
// each part, equipment flags from the wing elements and the panel, control
// runs, element areas and mean chords, and a few defaults and lower bounds.
void ACF_derive_values(int slot);

// Tests the record for values that make the aircraft unflyable; the first one
// found raises a fatal alert naming the file. Then removes obsolete
// instruments from the panel.
void ACF_check(int slot);
// The same for a file being loaded: the first failed check refuses the file
// with a notice naming it (ACF_refuse_file) and gives false.
bool ACF_check_to_load(int slot);

// True for an instrument type in 0..475 whose picture entry reads "no longer used".
int ACF_instrument_obsolete(int type);
