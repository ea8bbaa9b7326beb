// What the four navigation-database targets share. Each writes one database
// file from its input into the Earth navigation folder, beside small fixed
// files for the other three, and then runs what the program runs on what it
// read: the loading of all four databases (with the custom scenery merge),
// the choice of the start airport (the first airport read, so the area
// follows the input), the runway geometry, lights, labels and outlines the
// scene build and the map make of the first airports, the controller's
// runway in use and broadcast there, the radio receivers tuned to the
// navaids read, and the look-ups by id the flight plans make. (The whole
// scene build would also lay the area's terrain, which takes most of a
// second and reads nothing of the databases but the start place.)
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/geo.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "world/runway_label.h"
#include "flightmodel/systems/radios.h"
#include "core/constants.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/atc.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/runway_outline.h"

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

// Once per process: the fixed files of every database but `fuzzed`.
inline bool set_up(const char* fuzzed)
{
    static const bool ready = [fuzzed] {
        for (const auto& f : fixed_files)
            if (std::strcmp(f[0], fuzzed) != 0)
                fuzz_write_file(file_path(f[0]), reinterpret_cast<const uint8_t*>(f[1]), std::strlen(f[1]));
        return true;
    }();
    return ready;
}

// The receivers tuned to the first navaids of each kind read, and the GPS
// to an entry of each table, as the radios do in every plane step.
inline void tune_radios()
{
    sim_cockpit_radios_block& c = sim_cockpit_radios;
    c.nav1_freq_hz = c.nav2_freq_hz = c.adf1_freq_hz = c.adf2_freq_hz = c.dme_freq_hz = 0;
    for (const navaid_record& n : navaid_table) {
        if ((n.kind == NAV_VOR || n.kind == NAV_LOC) && !c.nav1_freq_hz) c.nav1_freq_hz = n.frequency;
        if (n.kind == NAV_ILS_LOC && !c.nav2_freq_hz) c.nav2_freq_hz = n.frequency;
        if (n.kind == NAV_NDB && !c.adf1_freq_hz) c.adf1_freq_hz = n.frequency;
        if (n.kind == NAV_DME) c.dme_freq_hz = n.frequency;
    }
    c.adf2_freq_hz = c.nav2_freq_hz;
    RADIOS_reset();
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    for (const int32_t type : {1, 3, 2, 11}) {
        g.destination_type = type;
        g.destination_index = 0;
        SYSTEMS_radio_receivers();
    }
}

// Loads the databases and runs the program's work on them, from empty tables.
inline void load_and_use()
{
    NAV_clear_tables();
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;
    PLANET_set_constants(0);
    screen_settings.scenery_load_switch = 1;   // airways read too
    NAV_load_databases();

    // The start airport, the first airport read: the plane stands on its
    // first runway and the area's origin follows.
    start_selection = start_selection_record{};
    start_selection.airport_index = -1;
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    flt[0].latitude = 34.0f;   // where the plane stands when no airport can place it
    flt[0].longitude = -117.5f;
    if (!airport_table.empty()) std::memcpy(start_selection.airport_id, airport_table.front().id, 4);
    APT_find_start_airport();

    // What the scene build makes of the first airports: runway geometry and
    // lights, the runway menus' labels and the map's outlines; and what the
    // controller says there.
    constexpr size_t most = 32;
    runway_geometry_table.clear();
    char text[TEXT_SIZE];
    for (size_t i = 0; i < std::min(airport_table.size(), most); ++i) {
        airport_record& a = airport_table[i];
        const int ai = static_cast<int>(i);
        const size_t runways = std::min(a.runways.size(), most);
        for (size_t r = 0; r < runways; ++r) {
            a.runways[r].geometry_index = static_cast<int32_t>(runway_geometry_table.size());
            APT_build_runway_strip(ai, static_cast<int>(r), a.runways[r].geometry_index);
        }
        for (size_t r = 0; r < runways; ++r) {
            APT_build_runway_lights(ai, static_cast<int>(r), a.runways[r].geometry_index);
            char ends[2][TEXT_SIZE];
            APT_runway_end_labels(ai, static_cast<int>(r), ends[0], ends[1]);
            for (const char* end : ends) RWY_label(end, text);
            float lat[4], lon[4], height[4];
            APT_runway_outline(ai, static_cast<int>(r), lat, lon, height, 0);
        }
        int runway = 0, end = 0, found = 0, localizer = 0;
        ATC_active_runway(ai, runway, end, found, localizer, 0);
        ATC_atis(ai, 'A', text, 0);
    }
    tune_radios();

    // The look-ups by id, for a few entries of each table.
    int found = -1;
    for (size_t i = 0; i < std::min(airport_table.size(), most); ++i)
        NAV_find_nearest_by_id(airport_table[i].id, 1, found, lat_ref, lon_ref);
    for (size_t i = 0; i < std::min(navaid_table.size(), most); ++i)
        NAV_find_nearest_by_id(navaid_table[i].id, navaid_table[i].kind, found, lat_ref, lon_ref);
    for (size_t i = 0; i < std::min(fix_table.size(), most); ++i)
        NAV_find_nearest_by_id(fix_table[i].id, 11, found, lat_ref, lon_ref);
}

// One input as the file `name` of the Earth navigation folder. An airport
// input is also a custom scenery package's airport file, merged into the
// main file's airports (each replaced by the package's airport of its id).
inline int run(const char* name, const uint8_t* data, size_t size)
{
    if (!set_up(name)) return 0;
    static const std::string path = file_path(name);
    static const bool airports = std::strcmp(name, "apt.dat") == 0;
    static const std::string package = [] {
        const std::string folder = fuzz_program_folder() + "Custom Scenery/Fuzz package/Earth nav data/";
        if (airports) std::filesystem::create_directories(folder);
        return folder + "apt.dat";
    }();
    if (airports) fuzz_write_file(package, data, size);
    return fuzz_read_file(path, data, size, load_and_use);
}

}  // namespace navdb_drive
