// The navaid ("nav.dat"), fix ("fix.dat") and airway ("awy.dat") readers.

#include <cstring>

#include "world/ships.h"
#include "core/datafile.h"
#include "core/mappedfile.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "world/nav_internal.h"
#include "world/nav_scan.h"
#include "world/navdb.h"

namespace {

struct table_full {};

void copy_text(char* dest, int size, const char* src)
{
    std::memset(dest, 0, static_cast<size_t>(size));
    std::memcpy(dest, src, strnlen(src, static_cast<size_t>(size - 1)));
}

// Loads a file and checks its header; false when it is missing or refused.
bool open_database(MappedFile& file, const char* path, int kind, const char* version, char*& begin,
                   int64_t& position, int64_t& length)
{
    begin = nullptr;
    MappedFile_create(&file, path, &begin);
    if (!begin) return false;
    return SCAN_next_token(kind, &file, begin, position, length, version) == 1;
}

navaid_record ship_navaid(int32_t kind, int32_t frequency, float heading, const char* label)
{
    navaid_record n{};
    n.kind = kind;
    n.frequency = frequency;
    n.heading = heading;
    copy_text(n.id, APT_ID_SIZE, "----");
    copy_text(n.name, APT_NAME_SIZE, label);
    n.local = 1;
    return n;
}

// The landing aids of the carrier and the frigate; the flight-model cycle
// moves them with the ships.
void add_ship_navaids()
{
    const float carrier = nav_wrap_heading(ship_heading[SHIP_CARRIER] - 8.0f);
    const float frigate = ship_heading[SHIP_FRIGATE];
    navaid_table.push_back(ship_navaid(NAV_ILS_LOC, 10800, carrier, nav_carrier_label));
    navaid_table.push_back(ship_navaid(NAV_GLIDESLOPE, 10800, 400000.0f + carrier, nav_carrier_label));
    navaid_table.push_back(ship_navaid(NAV_DME, 10800, 0.0f, nav_carrier_label));
    navaid_table.push_back(ship_navaid(NAV_ILS_LOC, 10810, frigate, nav_frigate_label));
    navaid_table.push_back(ship_navaid(NAV_GLIDESLOPE, 10810, 400000.0f + frigate, nav_frigate_label));
    navaid_table.push_back(ship_navaid(NAV_DME, 10810, 0.0f, nav_frigate_label));
    for (int32_t i = 0; i < static_cast<int32_t>(navaid_table.size()); ++i)
        navaid_frequency_index.emplace(navaid_table[static_cast<size_t>(i)].frequency, i);
}

}  // namespace

void NAV_parse_navaids(int mode, char* path)
{
    FILE_colons_to_backslashes(path);
    if (mode != 7) return;
    nav_tables_changed();
    navaid_table.clear();
    navaid_frequency_index.clear();
    if (sim_graphics_scenery.current_planet == 0) add_ship_navaids();
    const size_t before = navaid_table.size();

    MappedFile file;
    char* begin;
    int64_t position = 0, length = 0;
    if (!open_database(file, path, KIND_NAV_DB, "600", begin, position, length)) return;

    nav_scanner sc(begin + position, begin + length, path);
    try {
        for (;;) {
            sc.check();
            if (sc.at_end_row()) return;
            navaid_record n{};
            n.kind = sc.token_int();
            n.lat = sc.token_float();
            n.lon = sc.token_float();
            const float height_ft = sc.token_float();
            n.frequency = sc.token_int();
            n.heading = sc.token_float();
            sc.token_text(n.id, APT_ID_SIZE - 1);
            sc.rest_of_line(n.name, APT_NAME_SIZE - 1);
            if (n.kind != NAV_GLIDESLOPE) n.heading = nav_wrap_heading(n.heading);
            n.height = height_ft * UNIT.ft_to_mtrs;

            if (static_cast<int32_t>(navaid_table.size()) >= NAV_MAX_NAVAIDS) throw table_full{};
            navaid_table.push_back(n);
            nav_cursor = static_cast<int32_t>(navaid_table.size()) - 1;
            navaid_frequency_index.emplace(n.frequency, nav_cursor);
            if (nav_cursor % 8000 == 0) nav_progress("Scanning navaids...");
        }
    } catch (const table_full&) {
        // Back to the ship navaids alone.
        navaid_table.resize(before);
        navaid_frequency_index.clear();
        for (int32_t i = 0; i < static_cast<int32_t>(before); ++i)
            navaid_frequency_index.emplace(navaid_table[static_cast<size_t>(i)].frequency, i);
        nav_refuse_file(path, "navaids", 0);
    } catch (const nav_scan_abort&) {
    }
}

void NAV_parse_fixes(int mode, char* path)
{
    FILE_colons_to_backslashes(path);
    if (mode != 7) return;
    nav_tables_changed();
    const size_t before = fix_table.size();

    MappedFile file;
    char* begin;
    int64_t position = 0, length = 0;
    if (!open_database(file, path, KIND_TEXT, "600", begin, position, length)) return;

    nav_scanner sc(begin + position, begin + length, path);
    try {
        for (;;) {
            sc.check();
            if (sc.at_end_row()) return;
            fix_record f{};
            f.lat = sc.token_float();
            f.lon = sc.token_float();
            sc.rest_of_line(f.id, FIX_ID_SIZE - 1);
            if (static_cast<int32_t>(fix_table.size()) >= NAV_MAX_FIXES) throw table_full{};
            fix_table.push_back(f);
            if ((fix_table.size() - 1) % 10000 == 0) nav_progress("Scanning fixes...");
        }
    } catch (const table_full&) {
        fix_table.resize(before);
        nav_refuse_file(path, "fixes", 0);
    } catch (const nav_scan_abort&) {
    }
}

void NAV_parse_airways(int mode, char* path)
{
    FILE_colons_to_backslashes(path);
    if (mode != 7) return;
    nav_tables_changed();
    const size_t before = airway_table.size();

    MappedFile file;
    char* begin;
    int64_t position = 0, length = 0;
    if (!open_database(file, path, KIND_TEXT, "640", begin, position, length)) return;

    nav_scanner sc(begin + position, begin + length, path);
    try {
        for (;;) {
            sc.check();
            if (sc.at_end_row()) return;
            airway_record a{};
            char dropped[TEXT_SIZE];
            sc.token_text(dropped, TEXT_MAX_LEN);   // first end id
            a.lat1 = sc.token_float();
            a.lon1 = sc.token_float();
            sc.token_text(dropped, TEXT_MAX_LEN);   // second end id
            a.lat2 = sc.token_float();
            a.lon2 = sc.token_float();
            a.level = static_cast<uint8_t>(sc.token_int());
            (void)sc.token_int();   // base
            (void)sc.token_int();   // top
            sc.rest_of_line(a.name, AWY_NAME_SIZE - 1);
            if (static_cast<int32_t>(airway_table.size()) >= NAV_MAX_AIRWAYS) throw table_full{};
            airway_table.push_back(a);
            if ((airway_table.size() - 1) % 10000 == 0) nav_progress("Scanning airways...");
        }
    } catch (const table_full&) {
        airway_table.resize(before);
        nav_refuse_file(path, "airways", 0);
    } catch (const nav_scan_abort&) {
    }
}
