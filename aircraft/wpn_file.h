// Weapon files (".wpn", binary, data-file kind 3, version 1): one weapon each,
// read into a weapon slot of a plane's aircraft record.
//
// A file is the byte-order letter 'i' or 'a', the version (int32), the
// weapon block (the slot record's 9,556 bytes), the body radius and the body
// outline X, Y and Z (20 stations x 18 points each). The file holds feet,
// pounds, pounds-force, square feet and square inches; a slot holds metres,
// kilograms, newtons and square metres. A weapon in slot s keeps its radius
// and outline in the body arrays of part index s (acf_body_r, acf_body_X/Y/Z).
//
// Reads: the aircraft's path and file name (pln[slot]); the weapon folder of
// the folder table. Writes: the weapon slot, the body arrays of part index s,
// and for plane slot 0 the weapon's report to "ORVELL.OUT".
#pragma once

#include <cstddef>

#include "aircraft/acf_struct.h"

constexpr int WPN_FILE_VERSION = 1;
constexpr std::size_t WPN_FILE_HEADER_SIZE = 5;
constexpr std::size_t WPN_FILE_SIZE =
    WPN_FILE_HEADER_SIZE + ACF_WPN_SLOT_SIZE + 4 + 3 * ACF_BODY_PART_POINTS * sizeof(float);   // 13,885
constexpr int WPN_TEXT_OFFSET = 224;   // the weapon's description text in the block
constexpr int WPN_TEXT_SIZE = 156;

// A weapon file's contents after its header, in the file's units.
struct wpn_file_image {
    wpn_slot_record block;
    float radius;
    float X[ACF_BODY_PART_POINTS];   // station k, point j at k * 18 + j
    float Y[ACF_BODY_PART_POINTS];
    float Z[ACF_BODY_PART_POINTS];
};
static_assert(sizeof(wpn_file_image) == WPN_FILE_SIZE - WPN_FILE_HEADER_SIZE);

// Builds the path of weapon file `name` for the aircraft of plane `slot` into
// `path` (500 characters): the aircraft's folder followed by "weapons:" and
// the name when there is such a file (when it opens as a version-1 weapon
// file it is left open in the data-file services' input slot), otherwise the
// program's "WEAPONS:" folder followed by the name. A path that would not fit
// 500 characters is not found: `path` is then empty.
void WPN_find_file(int slot, const char* name, char* path);

// Mode 7 reads, mode 8 writes the weapon file `name` of weapon slot
// `weapon_slot` (0..23) of plane `slot`. With `path_ready` 0 the path is
// found first and left in `path` (500 characters); otherwise `path` holds it.
// Reading converts the weapon to metric units, works out its areas,
// centroids and radii of gyration (not for kind 3) and, for plane slot 0,
// writes its report. A missing file leaves the slot as it was; a short, long
// or damaged one (not a version-1 weapon file, values that are not numbers,
// no positive mass) is refused with a notice naming it, the slot untouched.
// Writing stores the slot in the file's units, so a read gives it back, then
// reads the file again into every slot of plane 0 that names it.
void WPN_read(int mode, int slot, int weapon_slot, const char* name, char* path, int path_ready);

// Writes a weapon file at `path` from an image in the file's units. Returns 1
// when the whole file is in place; 0, with any earlier file kept and a notice
// naming the file, when it could not be saved.
int WPN_write_file(const char* path, const wpn_file_image& image);
