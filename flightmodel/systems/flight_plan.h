// The flight plan of the user's navigation computer: 100 entries with a
// destination index and a displayed index, shared by the navigation page, the
// flight-plan files and the plug-in host.
#pragma once

#include <cstdint>

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
