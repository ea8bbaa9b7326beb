// The airport database reader ("apt.dat", versions 703, 702, 701 and 600).

#include <algorithm>
#include <cstring>
#include <string>

#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/mappedfile.h"
#include "core/units.h"
#include "world/nav_internal.h"
#include "world/nav_scan.h"
#include "world/navdb.h"

namespace {

// File surface numbers 1..13 to the internal surface codes; any other number is asphalt.
constexpr int32_t surface_codes[14] = {SURFACE_ASPHALT, 160, 161, 162, 163, 164, 166, 167,
                                       168,             169, 152, 153, 165, SURFACE_WATER};

int32_t surface_from_file(int32_t n) { return (n >= 1 && n <= 13) ? surface_codes[n] : SURFACE_ASPHALT; }

constexpr const char* default_start_label = "Default start";

// The first airport index the file being read may add; airports below it
// belong to earlier loads.
struct apt_parse_state {
    int32_t first_new = 0;
};
apt_parse_state parse_state;

// Thrown when a row would take a table past its capacity. The tables grow
// without bound in the plain reading; but an airport index travels in 24 bits
// of a nav reference, so a larger one would name the wrong airport, and a
// damaged file could exhaust memory with one airport's lists. Such a file is
// refused whole (fatal for the main file) rather than read in part.
struct table_full {
    const char* table_name;
};

void copy_text(char* dest, int size, const char* src)
{
    std::memset(dest, 0, static_cast<size_t>(size));
    std::memcpy(dest, src, strnlen(src, static_cast<size_t>(size - 1)));
}

// The airport rows go to, or null when no airport has been opened yet.
airport_record* current_airport()
{
    if (apt_cursor < 0 || apt_cursor >= static_cast<int32_t>(airport_table.size())) return nullptr;
    return &airport_table[static_cast<size_t>(apt_cursor)];
}

[[noreturn]] void fatal_airport(const char* line1, const airport_record& apt, const char* path)
{
    MACIBM_nuke_alert(0, line1, apt.id, apt.name, path, ALERT_FATAL);
    throw nav_scan_abort{};
}

void read_airport_row(nav_scanner& sc, int32_t code)
{
    const float elevation = sc.token_float();
    const int32_t tower = sc.token_int();
    const int32_t buildings = sc.token_int();
    char id[APT_ID_SIZE];
    sc.token_text(id, APT_ID_SIZE - 1);
    char name[APT_NAME_SIZE];
    sc.rest_of_line(name, APT_NAME_SIZE - 1);

    if (!airport_table.empty()) APT_finish_airport();
    if (static_cast<int32_t>(airport_table.size()) >= APT_MAX_AIRPORTS) throw table_full{"airports"};

    airport_table.emplace_back();
    const int32_t index = static_cast<int32_t>(airport_table.size()) - 1;
    airport_record& apt = airport_table.back();
    apt.kind = code;
    copy_text(apt.id, APT_ID_SIZE, id);
    if (name[0] == '-') name[0] = ' ';
    copy_text(apt.name, APT_NAME_SIZE, name);
    apt.elevation = elevation * UNIT.ft_to_mtrs;
    apt.tower_flag = static_cast<uint8_t>(tower);
    apt.buildings_flag = static_cast<uint8_t>(buildings);
    airport_id_index.try_emplace(NAV_id_key(apt.id), index);
    apt_cursor = index;
    // The progress text, while the airport index is a multiple of 8000: drawn
    // once as that airport opens rather than again after each of its rows,
    // which would only draw the same screen again.
    if (index % 8000 == 0) nav_progress("Scanning airports...");
}

void read_runway_row(nav_scanner& sc, int version, const char* path)
{
    runway_record r{};
    r.lat = sc.token_float();
    r.lon = sc.token_float();
    char number[RWY_NUMBER_SIZE] = {};
    sc.token_text(number, RWY_NUMBER_SIZE - 1);
    std::memcpy(r.number, number, sizeof number);
    r.heading = sc.token_float();
    float length_ft = sc.token_float();
    r.displaced_thresholds = sc.token_float();
    r.stopways = sc.token_float();
    float width_ft = sc.token_float();
    r.lighting_code = sc.token_int();

    const bool taxiway = r.number[0] == 'x';
    if (version == 600 || version == 701) {
        if (version == 701) r.shoulder_code = sc.token_int();
        // The surface travels in the millions of the lighting code.
        const int32_t n = r.lighting_code / 1000000;
        if (n >= 1 && n <= 13) {
            r.surface_code = surface_from_file(n);
            r.lighting_code -= n * 1000000;
        }
        r.markings_code = (r.surface_code < 162 && !taxiway) ? 3 : 0;
        r.smoothness = 0.5f;
        r.distance_signs = taxiway ? 0 : 1;
    } else {
        r.surface_code = surface_from_file(sc.token_int());
        r.shoulder_code = sc.token_int();
        r.markings_code = sc.token_int();
        r.smoothness = sc.token_float();
        r.distance_signs = sc.token_int();
        if (r.surface_code > 161 || taxiway) r.markings_code = 0;
    }

    // A runway row before the first airport has no airport to belong to.
    airport_record* apt = current_airport();
    if (!apt) return;

    if (version >= 702 && !taxiway) {
        for (const runway_record& other : apt->runways)
            if (other.number[0] != 'x' && std::strncmp(other.number, r.number, RWY_NUMBER_SIZE) == 0)
                fatal_airport("Two runways of this airport have the same number:", *apt, path);
    }
    if (width_ft < 1.0f) fatal_airport("A runway of this airport is less than one foot wide:", *apt, path);
    if (length_ft < 1.0f) fatal_airport("A runway of this airport is less than one foot long:", *apt, path);
    r.length = length_ft * UNIT.ft_to_mtrs;
    r.width = width_ft * UNIT.ft_to_mtrs;

    if (static_cast<int32_t>(apt->runways.size()) >= APT_MAX_RUNWAYS) throw table_full{"runways of one airport"};
    apt->runways.push_back(r);
    rwy_cursor = static_cast<int32_t>(apt->runways.size()) - 1;
}

// Rows 14, 15, 18, 19 and 50..56: read whole, then kept when an airport is open.
void read_airport_detail_row(nav_scanner& sc, int32_t code)
{
    if (code == 14 || code == 18 || code == 19) {
        const float lat = sc.token_float();
        const float lon = sc.token_float();
        float height_ft = 0.0f;
        int32_t value = 0;
        if (code == 14)
            height_ft = sc.token_float();
        else
            value = sc.token_int();
        sc.drop_rest_of_line();
        airport_record* apt = current_airport();
        if (!apt) return;
        if (code == 14) {
            apt->tower_lat = lat;
            apt->tower_lon = lon;
            apt->tower_height = height_ft * UNIT.ft_to_mtrs;
        } else if (code == 18) {
            apt->beacon_lat = lat;
            apt->beacon_lon = lon;
            apt->beacon_type = value;
        } else {
            if (static_cast<int32_t>(apt->windsocks.size()) >= APT_MAX_WINDSOCKS)
                throw table_full{"windsocks of one airport"};
            apt->windsocks.push_back(windsock_record{lat, lon, value});
        }
        return;
    }
    if (code == 15) {
        start_position_record s{};
        s.lat = sc.token_float();
        s.lon = sc.token_float();
        s.heading = nav_wrap_heading(sc.token_float());
        sc.rest_of_line(s.name, APT_NAME_SIZE - 1);
        airport_record* apt = current_airport();
        if (!apt) return;
        if (static_cast<int32_t>(apt->starts.size()) >= APT_MAX_STARTS)
            throw table_full{"start positions of one airport"};
        apt->starts.push_back(s);
        return;
    }
    // 50..56: a radio frequency.
    const int32_t frequency = sc.token_int();
    char name[APT_NAME_SIZE];
    sc.rest_of_line(name, APT_NAME_SIZE - 1);
    airport_record* apt = current_airport();
    if (!apt) return;
    frequency_slot& slot = apt->frequencies[code - 50];
    slot.frequency = frequency;
    copy_text(slot.name, APT_NAME_SIZE, name);
}

// Puts the table back as it was before a refused custom file.
void roll_back(size_t before, bool had_last, airport_record& last_copy)
{
    for (size_t j = before; j < airport_table.size(); ++j) {
        const auto it = airport_id_index.find(NAV_id_key(airport_table[j].id));
        if (it != airport_id_index.end() && it->second == static_cast<int32_t>(j)) airport_id_index.erase(it);
    }
    airport_table.resize(before);
    if (had_last) airport_table[before - 1] = std::move(last_copy);
    apt_cursor = static_cast<int32_t>(airport_table.size()) - 1;
}

}  // namespace

void APT_finish_airport()
{
    if (airport_table.empty()) {
        apt_cursor = -1;
        return;
    }
    const int32_t last = static_cast<int32_t>(airport_table.size()) - 1;
    airport_record& apt = airport_table.back();
    if (apt.runways.empty() && last < parse_state.first_new) {
        // Read by an earlier load: left as it is, and no start is made up for it.
        apt_cursor = last;
        return;
    }
    apt_cursor = last;
    if (apt.starts.empty()) {
        // An airport with neither runway nor start row has no position to copy:
        // its start stands at latitude and longitude 0.
        start_position_record s{};
        s.lat = apt.runways.empty() ? 0.0f : apt.runways[0].lat;
        s.lon = apt.runways.empty() ? 0.0f : apt.runways[0].lon;
        // Facing along the first runway, whose middle it stands on: facing
        // north it stood across a runway such as March's 14 and rolled off it.
        s.heading = apt.runways.empty() ? 0.0f : nav_wrap_heading(apt.runways[0].heading);
        copy_text(s.name, APT_NAME_SIZE, default_start_label);
        apt.starts.push_back(s);
    }
}

int APT_parse(int mode, char* path, int is_custom)
{
    FILE_colons_to_backslashes(path);
    if (mode != 7) return 0;
    nav_tables_changed();
    if (!is_custom) {
        airport_table.clear();
        airport_id_index.clear();
    }
    apt_cursor = static_cast<int32_t>(airport_table.size()) - 1;
    parse_state.first_new = static_cast<int32_t>(airport_table.size());
    struct reset_first_new {
        ~reset_first_new() { parse_state.first_new = 0; }
    } reset;

    MappedFile file;
    char* begin = nullptr;
    MappedFile_create(&file, path, &begin);
    int64_t position = 0;
    int64_t length = 0;
    int version = 0;
    if (begin) {
        static const char* const versions[] = {"703", "702", "701", "600"};
        static const int version_numbers[] = {703, 702, 701, 600};
        // A refused check may have written a terminator into the first line
        // (inside its first 500 bytes, where a long line is cut): each version
        // is checked against the file as it was read.
        const size_t header_bytes =
            std::min(static_cast<size_t>(file.end - file.begin), static_cast<size_t>(TEXT_SIZE));
        const std::string as_read(begin, header_bytes);
        for (int k = 0; k < 4 && !version; ++k) {
            if (SCAN_next_token(KIND_APT_DB, &file, begin, position, length, versions[k]))
                version = version_numbers[k];
            else
                std::memcpy(begin, as_read.data(), header_bytes);
        }
    }
    if (!version) {
        if (is_custom) return 0;
        MACIBM_nuke_alert(0, "The airport database could not be read:", path, "", "", ALERT_FATAL);
        return 0;
    }

    // A custom file may add rows to the table's last airport: keep a copy to
    // put back if the file has to be refused.
    const size_t before = airport_table.size();
    const bool had_last = is_custom && before > 0;
    airport_record last_copy;
    if (had_last) last_copy = airport_table.back();

    nav_scanner sc(begin + position, begin + length, path);
    try {
        for (;;) {
            sc.check();
            if (sc.at_end_row()) {
                APT_finish_airport();
                return 1;
            }
            const int32_t code = sc.token_int();
            switch (code) {
            case 1:
            case 16:
            case 17: read_airport_row(sc, code); break;
            case 10: read_runway_row(sc, version, path); break;
            case 14:
            case 15:
            case 18:
            case 19:
            case 50:
            case 51:
            case 52:
            case 53:
            case 54:
            case 55:
            case 56: read_airport_detail_row(sc, code); break;
            default: break;   // only the code token is consumed
            }
        }
    } catch (const table_full& full) {
        if (!is_custom) {
            nav_refuse_file(path, full.table_name, 1);
            return 0;
        }
        roll_back(before, had_last, last_copy);
        nav_refuse_file(path, full.table_name, 0);
        return 0;
    } catch (const nav_scan_abort&) {
        return 0;
    }
}
