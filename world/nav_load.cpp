// Loading the navigation databases of the current planet.

#include <cstring>

#include "core/folders.h"
#include "core/numeric.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/screen_settings.h"
#include "core/text_util.h"
#include "world/nav_internal.h"
#include "world/navdb.h"

namespace {

// Index i of a table of n entries kept inside 0..n-1. For an empty table the
// plain rule would turn a negative index into 0, an index into a table with no
// entries; it is left at -1 (no selection) instead, which no user indexes with.
int32_t clamp_index(int32_t i, int32_t n) { return n <= 0 ? -1 : util_clamp_int(i, 0, n - 1); }

// The destination index kept inside 0..bound, the bound being its kind's own
// index. When that index is -1 (its table is empty) the plain rule would make a
// negative destination 0 and so index the empty table; it becomes -1 instead.
int32_t clamp_destination(int32_t d, int32_t bound) { return bound < 0 ? -1 : util_clamp_int(d, 0, bound); }

void build_path(char* path, const char* name)
{
    std::memset(path, 0, TEXT_SIZE);
    const int planet = sim_graphics_scenery.current_planet;
    if (planet == 0) UTIL_strcat3(folder_table[FOLDER_EARTH_NAV], name, path);
    if (planet == 1) UTIL_strcat3(folder_table[FOLDER_MARS_NAV], name, path);
}

}  // namespace

void NAV_load_databases()
{
    airway_table.clear();
    fix_table.clear();
    nav_tables_changed();

    char awy_path[TEXT_SIZE];
    char fix_path[TEXT_SIZE];
    char nav_path[TEXT_SIZE];
    char apt_path[TEXT_SIZE];
    build_path(awy_path, "awy.dat");
    build_path(fix_path, "fix.dat");
    build_path(nav_path, "nav.dat");
    build_path(apt_path, "apt.dat");

    // The airway option of the rendering settings.
    if (screen_settings.scenery_load_switch) NAV_parse_airways(7, awy_path);
    NAV_parse_fixes(7, fix_path);
    NAV_parse_navaids(7, nav_path);
    APT_parse(7, apt_path, 0);
    APT_load(apt_path);

    sim_cockpit_gps_block& gps = sim_cockpit_gps;
    const int32_t airports = static_cast<int32_t>(airport_table.size());
    const int32_t navaids = static_cast<int32_t>(navaid_table.size());
    const int32_t fixes = static_cast<int32_t>(fix_table.size());
    gps.airport_index = clamp_index(gps.airport_index, airports);
    gps.vor_index = clamp_index(gps.vor_index, navaids);
    gps.ndb_index = clamp_index(gps.ndb_index, navaids);
    gps.fix_index = clamp_index(gps.fix_index, fixes);

    if (gps.destination_type == 1) gps.destination_index = clamp_destination(gps.destination_index, gps.airport_index);
    if (gps.destination_type == 3) gps.destination_index = clamp_destination(gps.destination_index, gps.vor_index);
    if (gps.destination_type == 2) gps.destination_index = clamp_destination(gps.destination_index, gps.ndb_index);
    if (gps.destination_type == 11) gps.destination_index = clamp_destination(gps.destination_index, gps.fix_index);
}
