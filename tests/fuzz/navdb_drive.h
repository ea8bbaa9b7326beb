// What the four navigation-database targets share. Each writes one database
// file from its input into the Earth navigation folder, beside small fixed
// files for the other three, and then runs what the program runs on what it
// read: the loading of all four databases (with the custom scenery merge),
// the choice of the start airport (the first airport read, so the area
// follows the input), the scene build of the area around it (in-area flags,
// nearby lists and menus, runway geometry and lights, buildings and navaid
// huts) and the look-ups by id the radios and the flight plans make.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "screens/setup.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/objects.h"

namespace navdb_drive {

// The databases the input does not replace: one airport with a runway, a
// taxiway, a start, a tower and a frequency; a VOR, an NDB and an ILS; two
// fixes; one airway between them.
inline const char* const fixed_files[4][2] = {
    {"apt.dat",
     "I\n703 Version\n"
     "1   1000 1 1 KTST Test Field\n"
     "10  34.050000 -117.600000 09x  90.00  6000 0.0000 0.0000  150 111111 1 0 3 0.25 1\n"
     "10  34.049000 -117.600000 xxx  90.00  3000 0.0000 0.0000   50 000000 1 0 0 0.25 0\n"
     "14  34.052000 -117.598000 80 0 Tower\n"
     "15  34.051000 -117.602000 180.00 Ramp\n"
     "50 12345 ATIS\n"
     "99\n"},
    {"nav.dat",
     "I\n600 Version\n"
     "3  34.000000 -117.500000   1000 11320     12.0 TVR  Test VOR\n"
     "2  34.100000 -117.700000   1000   320      0.0 TN   Test NDB\n"
     "4  34.050000 -117.590000   1000 10990     90.0 ITST Test Field ILS 09\n"
     "99\n"},
    {"fix.dat", "I\n600 Version\n 34.020000 -117.550000 ALPHA\n 34.080000 -117.650000 BRAVO\n99\n"},
    {"awy.dat", "I\n640 Version\nALPHA 34.020000 -117.550000 BRAVO 34.080000 -117.650000 1  40 180 V99\n99\n"},
};

// The path of a database file of the Earth navigation folder.
inline std::string file_path(const char* name) { return fuzz_program_folder() + "Resources/Earth nav data/" + name; }

// Once per process: the OpenGL context the scene build draws its lists with,
// and the fixed files of every database but `fuzzed`. False without a context.
inline bool set_up(const char* fuzzed)
{
    static const bool ready = [fuzzed] {
        if (!fuzz_gl_context()) return false;
        for (const auto& f : fixed_files)
            if (std::strcmp(f[0], fuzzed) != 0)
                fuzz_write_file(file_path(f[0]), reinterpret_cast<const uint8_t*>(f[1]), std::strlen(f[1]));
        return true;
    }();
    return ready;
}

// Loads the databases and runs the program's work on them, from empty tables.
inline void load_and_use()
{
    NAV_clear_tables();
    OBJ_clear_table();
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;
    PLANET_set_constants(0);
    screen_settings.scenery_load_switch = 1;   // airways read too
    NAV_load_databases();

    // The start airport: the first airport read.
    start_selection = start_selection_record{};
    start_selection.airport_index = -1;
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    if (!airport_table.empty()) std::memcpy(start_selection.airport_id, airport_table.front().id, 4);
    APT_find_start_airport();
    APT_build_scene(1);

    // The look-ups by id, for a few entries of each table.
    constexpr size_t most = 32;
    int found = -1;
    for (size_t i = 0; i < std::min(airport_table.size(), most); ++i)
        NAV_find_nearest_by_id(airport_table[i].id, 1, found, lat_ref, lon_ref);
    for (size_t i = 0; i < std::min(navaid_table.size(), most); ++i)
        NAV_find_nearest_by_id(navaid_table[i].id, navaid_table[i].kind, found, lat_ref, lon_ref);
    for (size_t i = 0; i < std::min(fix_table.size(), most); ++i)
        NAV_find_nearest_by_id(fix_table[i].id, 11, found, lat_ref, lon_ref);
}

// One input as the file `name` of the Earth navigation folder.
inline int run(const char* name, const uint8_t* data, size_t size)
{
    if (!set_up(name)) return 0;
    static const std::string path = file_path(name);
    return fuzz_read_file(path, data, size, load_and_use);
}

}  // namespace navdb_drive
