// Aircraft files of versions 600 and 626: an older body of 57 parts, read
// into the old staging record and converted field by field into a current
// aircraft record (the reader then treats it like a version-700 record).
//
// Reads: the staging record. Writes: the slot's aircraft record (pln).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t ACF_OLD_RECORD_SIZE = 454980;    // the staging record; a version-626 body fills it
constexpr std::size_t ACF_OLD_BODY_SIZE_600 = 433688;  // a version-600 body fills this much of it
constexpr int ACF_OLD_VERSION_600 = 600;
constexpr int ACF_OLD_VERSION_626 = 626;
constexpr int ACF_OLD_PARTS = 57;

// Text fields of the old body (old offsets).
constexpr std::size_t ACF_OLD_TAILNUM = 0;
constexpr std::size_t ACF_OLD_AUTHOR = 40;
constexpr std::size_t ACF_OLD_DESCRIP = 540;
constexpr std::size_t ACF_OLD_AFL_NAMES[4] = {7584, 9864, 12144, 14424};   // root 0, root 1, tip 0, tip 1
constexpr std::size_t ACF_OLD_WPN_NAMES = 433688;                         // version 626 only
constexpr std::size_t ACF_OLD_BYTE_ORDER = 1048;

// The staging record, shared by all slots: one old aircraft is read at a time.
struct acf_old_record_area {
    alignas(4) uint8_t bytes[ACF_OLD_RECORD_SIZE];
};
extern acf_old_record_area acf_old_record;

// The current part of old part `old_part`: 0-19 stay, 20-36 become 28-44,
// 37-44 become 53-60, 45-46 stay, 47-51 become 61-65, 52-56 become 67-71; any
// other index comes back unchanged.
int ACF_remap_part_index(int old_part);

// When the staging record's byte-order word is not zero, reverses every 4-byte
// word of it and then, back again, its texts and byte fields, so they read as
// written.
void ACF_swap_old_record();

// Fills the record of `slot` from the staging record: texts, every field of
// the old layout at its current place and part, the rules the old layout
// needs and defaults for the fields it lacks.
void ACF_set_defaults(int slot);
