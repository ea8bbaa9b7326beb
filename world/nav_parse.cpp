// The navaid ("nav.dat"), fix ("fix.dat") and airway ("awy.dat") readers.

#include <cstring>

#include "world/ships.h"
#include "core/datafile.h"
#include "core/alert.h"
#include "core/mappedfile.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "world/nav_internal.h"
#include "world/nav_scan.h"
#include "world/navdb.h"
#include "platform/plat_files.h"

namespace {

// Thrown when a row would take a table past its capacity (navdb.h): an index
// past 2^24 would not fit the 24 bits a nav reference gives it and would name
// the wrong record. The file is then refused whole, with a notice, rather than
// read in part.
struct table_full {};

void copy_text(char* dest, int size, const char* src)
{
    std::memset(dest, 0, static_cast<size_t>(size));
    std::memcpy(dest, src, strnlen(src, static_cast<size_t>(size - 1)));
}

// The start every reader shares: the path's separators converted; false,
// and nothing read, unless the mode asks to read (7). The tables are changing.
bool begin_reading(int mode, char* path)
{
    FILE_colons_to_backslashes(path);
    if (mode != 7) return false;
    nav_tables_changed();
    return true;
}

// The navaids, fixes and airways are not needed to fly: a file of them that
// is there but cannot be read (cut short, random bytes) is named in one
// notice, the rows read before the damage are kept, and the
// flight goes on. Stopping the program for it would keep it from starting at
// all until the file is mended.
void damaged(const char* path)
{
    if (ALERT_first_notice_of_damage(path))
        MACIBM_nuke_alert(0, "This navigation data file is damaged:", path,
                          "The rows before the damage were kept; the rest was left out.", "", ALERT_NOTICE);
}

// The start of a text file: whether its header (the mark's line, then the
// version line whose token ends at a space or a line end) ends before the
// file does (the header reader stops the program on one cut short), and
// whether it is a header of these files at all, with a version number.
struct header_look {
    bool whole = false;
    bool numbered = false;
};
header_look look_at_header(const char* text, const char* end)
{
    const auto breaks = [](char c) { return c == 0 || c == '\n' || c == '\r'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const char* p = text;
    while (p < end && !breaks(*p)) ++p;
    while (p < end && breaks(*p)) ++p;
    const char* version = p;
    while (p < end && *p != ' ' && *p != '\n' && *p != '\r') ++p;
    header_look h;
    h.whole = end - p > 1;
    h.numbered = (text[0] == 'A' || text[0] == 'I') && p - version >= 3 && digit(version[0]) && digit(version[1]) &&
                 digit(version[2]);
    return h;
}

// Maps the file, checks its header and hands the scanner to read_row once per
// row until the end row, the end of the file or a damaged row. A row reader
// throws table_full when its table is full; on_full then puts the table back.
// Nothing is read from a missing or refused file.
template <class ReadRow, class OnFull>
void scan_rows(const char* path, int kind, const char* version, ReadRow&& read_row, OnFull&& on_full)
{
    MappedFile file;
    char* begin = nullptr;
    int64_t position = 0, length = 0;
    MappedFile_create(&file, path, &begin);
    const header_look h = begin && file.end > begin ? look_at_header(begin, file.end) : header_look{};
    if (!h.whole || SCAN_next_token(kind, &file, begin, position, length, version) != 1) {
        // A file of another version is passed over without a word; one cut
        // short or holding no header of these files at all is damaged.
        if (PLAT_file_exists(path) && !(h.whole && h.numbered)) damaged(path);
        return;
    }

    nav_scanner sc(begin + position, begin + length, path, true);
    try {
        for (;;) {
            sc.check();
            if (sc.at_end_row()) return;
            read_row(sc);
        }
    } catch (const table_full&) {
        on_full();
    } catch (const nav_scan_cut&) {
        damaged(path);
    } catch (const nav_scan_abort&) {
    }
}

// Reads a text table file (the fixes, the airways) into `table`, one record
// from each row; when the table fills up it is put back as it was before the
// file and the file is refused under `what`.
template <class Table, class ReadRow>
void parse_text_table(int mode, char* path, Table& table, const char* version, const char* what, ReadRow&& read_row)
{
    if (!begin_reading(mode, path)) return;
    const size_t before = table.size();
    scan_rows(path, KIND_TEXT, version, read_row, [&] {
        table.resize(before);
        nav_refuse_file(path, what, 0);
    });
}

// Adds a record to its table, or throws table_full when the table already
// holds `max`; the progress text is shown at every `every` records.
template <class Table, class Record>
void add_row(Table& table, const Record& r, int32_t max, size_t every, const char* progress)
{
    if (static_cast<int32_t>(table.size()) >= max) throw table_full{};
    table.push_back(r);
    if ((table.size() - 1) % every == 0) nav_progress(progress);
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
    if (!begin_reading(mode, path)) return;
    navaid_table.clear();
    navaid_frequency_index.clear();
    if (sim_graphics_scenery.current_planet == 0) add_ship_navaids();
    const size_t before = navaid_table.size();

    const auto row = [](nav_scanner& sc) {
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

        add_row(navaid_table, n, NAV_MAX_NAVAIDS, 8000, "Scanning navaids...");
        nav_cursor = static_cast<int32_t>(navaid_table.size()) - 1;
        navaid_frequency_index.emplace(n.frequency, nav_cursor);
    };
    scan_rows(path, KIND_NAV_DB, "600", row, [&] {
        // Back to the ship navaids alone.
        navaid_table.resize(before);
        navaid_frequency_index.clear();
        for (int32_t i = 0; i < static_cast<int32_t>(before); ++i)
            navaid_frequency_index.emplace(navaid_table[static_cast<size_t>(i)].frequency, i);
        nav_refuse_file(path, "navaids", 0);
    });
}

void NAV_parse_fixes(int mode, char* path)
{
    parse_text_table(mode, path, fix_table, "600", "fixes", [](nav_scanner& sc) {
        fix_record f{};
        f.lat = sc.token_float();
        f.lon = sc.token_float();
        sc.rest_of_line(f.id, FIX_ID_SIZE - 1);
        add_row(fix_table, f, NAV_MAX_FIXES, 10000, "Scanning fixes...");
    });
}

void NAV_parse_airways(int mode, char* path)
{
    parse_text_table(mode, path, airway_table, "640", "airways", [](nav_scanner& sc) {
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
        add_row(airway_table, a, NAV_MAX_AIRWAYS, 10000, "Scanning airways...");
    });
}
