#include "world/navdb.h"

#include <cstring>

#include "core/alert.h"
#include "core/hooks.h"
#include "core/text_util.h"
#include "world/nav_internal.h"

namespace {

// The hash maps start empty with a load-factor limit of 2.
template <class Map>
Map make_map()
{
    Map m;
    m.max_load_factor(2.0f);
    return m;
}

}  // namespace

std::vector<airport_record> airport_table;
std::vector<navaid_record> navaid_table;
std::vector<fix_record> fix_table;
std::vector<airway_record> airway_table;

std::unordered_map<uint32_t, int32_t> airport_id_index = make_map<std::unordered_map<uint32_t, int32_t>>();
std::unordered_multimap<int32_t, int32_t> navaid_frequency_index =
    make_map<std::unordered_multimap<int32_t, int32_t>>();

int32_t apt_cursor = -1;
int32_t rwy_cursor = -1;
int32_t nav_cursor = -1;

const char* const nav_carrier_label = "Carrier";
const char* const nav_frigate_label = "Frigate";

uint32_t NAV_id_key(const char* id)
{
    unsigned char b[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && id[i]; ++i) b[i] = static_cast<unsigned char>(id[i]);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
           static_cast<uint32_t>(b[3]) << 24;
}

void NAV_clear_tables()
{
    airport_table.clear();
    navaid_table.clear();
    fix_table.clear();
    airway_table.clear();
    airport_id_index.clear();
    navaid_frequency_index.clear();
    apt_cursor = rwy_cursor = nav_cursor = -1;
    nav_tables_changed();
}

// ---------------------------------------------------------------------------
// Id look-up tables: one multimap per table from the id key to the entries
// carrying it, rebuilt lazily after any table changed.

namespace {

struct id_lookup {
    std::unordered_map<uint32_t, std::vector<int32_t>> entries;
    size_t built_for = static_cast<size_t>(-1);   // table size when built
    int64_t built_generation = -1;
};

struct nav_lookup_state {
    int64_t generation = 0;
    id_lookup airports, navaids, fixes;
};
nav_lookup_state lookup;

const std::vector<int32_t> no_entries;

template <class Table>
void rebuild(id_lookup& l, const Table& table)
{
    if (l.built_for == table.size() && l.built_generation == lookup.generation) return;
    l.entries.clear();
    for (size_t i = 0; i < table.size(); ++i)
        l.entries[NAV_id_key(table[i].id)].push_back(static_cast<int32_t>(i));
    l.built_for = table.size();
    l.built_generation = lookup.generation;
}

const std::vector<int32_t>& find(const id_lookup& l, uint32_t key)
{
    const auto it = l.entries.find(key);
    return it == l.entries.end() ? no_entries : it->second;
}

}  // namespace

void nav_tables_changed() { ++lookup.generation; }

const std::vector<int32_t>& NAV_entries_with_key(int table, uint32_t key)
{
    if (table == 1) {
        rebuild(lookup.airports, airport_table);
        return find(lookup.airports, key);
    }
    if (table == 11) {
        rebuild(lookup.fixes, fix_table);
        return find(lookup.fixes, key);
    }
    rebuild(lookup.navaids, navaid_table);
    return find(lookup.navaids, key);
}

// ---------------------------------------------------------------------------

airport_record* APT_table_at(int index)
{
    if (index < 0 || index >= static_cast<int>(airport_table.size())) return nullptr;
    return &airport_table[static_cast<size_t>(index)];
}

bool APT_is_line_end(const char* buffer, int64_t position)
{
    const char c = buffer[position];
    return c == 0 || c == '\n' || c == '\r';
}

void APT_skip_line_ends(const char* buffer, int64_t& cursor, int64_t end)
{
    if (cursor >= end) {
        MACIBM_nuke_alert(0, "Scan too far!", "", "", "", ALERT_FATAL);
        return;
    }
    while (cursor < end && APT_is_line_end(buffer, cursor)) ++cursor;
}

// ---------------------------------------------------------------------------

void nav_progress(const char* message) { MACIBM_loading_screen(message); }

void nav_refuse_file(const char* path, const char* table_name, int fatal)
{
    MACIBM_nuke_alert(0, "This navigation data file is too large to load:", path, table_name,
                      fatal ? "The program cannot go on without it." : "The file was left out.",
                      fatal ? ALERT_FATAL : ALERT_NOTICE);
}
