// The flight plan of the user's navigation computer: 100 entries with a
// destination index and a displayed index, shared by the navigation page, the
// flight-plan files and the plug-in host.
//
// Flight-plan file (".FMS", text data file of version 3): the header; the
// destination index and the displayed index, each on its own line; then 100
// lines "type  ID  altitude  latitude  longitude", integers right-aligned in 6
// characters, coordinates in fixed notation with 6 decimals in 12, every
// blank of an ID written as '_'.
#pragma once

#include <cstdint>

#include "core/app_mode.h"

constexpr int FMS_ENTRIES = 100;
constexpr int FMS_ID_SIZE = 151;         // up to 150 characters and a terminator
constexpr int FMS_ALTITUDE_SIZE = 7;     // up to 6 characters and a terminator

struct fms_entry {
    int32_t type;                        // navigation-database type code; 0 empty
    char id[FMS_ID_SIZE];
    char altitude[FMS_ALTITUDE_SIZE];
    float latitude;
    float longitude;
    int32_t reference;                   // index of the matching airport, navaid or fix
};

struct fms_plan_record {
    int32_t destination_index;           // the active entry
    int32_t displayed_index;
    fms_entry entries[FMS_ENTRIES];
};
extern fms_plan_record fms_plan;

constexpr int FMS_OPEN = MODE_BROWSER_OPEN;
constexpr int FMS_SAVE = MODE_BROWSER_SAVE;
constexpr int FMS_FILE_VERSION = 3;

// Offers the file browser (998 open, 999 save) and loads the chosen file into
// the table or saves the table to it. Saving gives empty entries "----" and
// altitude "0" and turns blanks in IDs into '_', in the table as well; after
// a load both indices are 0 and each entry's reference is looked up. A file
// that cannot be read or written (or a damaged one) gives the notice "I could
// not deal with this flight plan file!" naming the file, and leaves the table
// and any file at the path as they were.
void FMS_file_open_save(int mode);
