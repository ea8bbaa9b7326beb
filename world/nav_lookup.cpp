// Look-ups in the navigation databases that the shell and the toolkit make:
// the nearest entry with an id, the labels of a runway's two ends and the
// start airport.

#include <cmath>
#include <cstring>

#include "flightmodel/flt.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

// The labels a helipad's two ends get in place of a runway number's side (8 characters each).
constexpr const char* helipad_label_this_end = " HELIPAD";
constexpr const char* helipad_label_other_end = " LANDING";
static_assert(sizeof(" HELIPAD") == 9 && sizeof(" LANDING") == 9);

struct nearest_search {
    float lat, lon;
    float best = 999.9f;
    int found = -1;

    void offer(int index, float lat_e, float lon_e)
    {
        const float dlat = lat - lat_e;
        const float dlon = lon - lon_e;
        const float d = std::sqrt(dlat * dlat + dlon * dlon);
        if (d < best) {
            best = d;
            found = index;
        }
    }
};

}  // namespace

int NAV_find_nearest_by_id(const char* id, int kind, int& out_index, float lat, float lon)
{
    if (kind == 13) {
        out_index = 0;
        return 1;
    }
    if (!id) return 0;
    char text[TEXT_SIZE];
    std::strncpy(text, id, TEXT_MAX_LEN);
    text[TEXT_MAX_LEN] = 0;
    if (std::strlen(text) >= 4 && text[3] == ' ') text[3] = 0;
    const size_t len = std::strlen(text);

    // Only the entries whose id key matches are visited, in table order: the
    // same entries, and so the same nearest one, as a scan of the whole table.
    // An id longer than the stored ids equals none of them.
    nearest_search s{lat, lon};
    const uint32_t key = NAV_id_key(text);
    if (kind == 1) {
        if (len >= APT_ID_SIZE) return 0;
        for (const int32_t i : NAV_entries_with_key(1, key)) {
            const airport_record& a = airport_table[static_cast<size_t>(i)];
            // An airport without runways has no position: its first runway
            // would be read past an empty list.
            if (a.runways.empty() || std::strncmp(a.id, text, APT_ID_SIZE) != 0) continue;
            s.offer(i, a.runways[0].lat, a.runways[0].lon);
        }
    } else if (kind == 11) {
        if (len >= FIX_ID_SIZE) return 0;
        for (const int32_t i : NAV_entries_with_key(11, key)) {
            const fix_record& f = fix_table[static_cast<size_t>(i)];
            if (std::strncmp(f.id, text, FIX_ID_SIZE) != 0) continue;
            s.offer(i, f.lat, f.lon);
        }
    } else {
        if (len >= APT_ID_SIZE) return 0;
        for (const int32_t i : NAV_entries_with_key(kind, key)) {
            const navaid_record& n = navaid_table[static_cast<size_t>(i)];
            if (n.kind != kind || std::strncmp(n.id, text, APT_ID_SIZE) != 0) continue;
            s.offer(i, n.lat, n.lon);
        }
    }
    if (s.found < 0) return 0;
    out_index = s.found;
    return 1;
}

void APT_runway_end_labels(int airport, int runway, char* this_end, char* other_end)
{
    this_end[0] = 0;
    other_end[0] = 0;
    if (airport < 0 || airport >= static_cast<int>(airport_table.size())) return;
    const airport_record& apt = airport_table[static_cast<size_t>(airport)];
    if (runway < 0 || runway >= static_cast<int>(apt.runways.size())) return;
    const char d0 = apt.runways[static_cast<size_t>(runway)].number[0];
    const char d1 = d0 ? apt.runways[static_cast<size_t>(runway)].number[1] : 0;
    const char d2 = d1 ? apt.runways[static_cast<size_t>(runway)].number[2] : 0;

    const char label[6] = {d0, ' ', d1, ' ', d2, 0};
    std::memcpy(this_end, label, sizeof label);

    if (d0 == 'x') {
        std::memcpy(other_end, label, sizeof label);
        return;
    }
    if (d0 == 'H') {
        size_t n = std::strlen(this_end);
        if (n > 0) this_end[--n] = 0;
        std::memcpy(other_end, this_end, n + 1);
        UTIL_strcat(this_end, helipad_label_this_end);
        UTIL_strcat(other_end, helipad_label_other_end);
        return;
    }
    const char digits[3] = {d0, d1, 0};
    int other = UTIL_text_to_int(digits) + 18;
    while (other > 36) other -= 36;
    while (other < 1) other += 36;
    int k = 0;
    other_end[k++] = static_cast<char>('0' + other / 10);
    other_end[k++] = ' ';
    other_end[k++] = static_cast<char>('0' + other % 10);
    other_end[k++] = ' ';
    if (d2 == 'x') other_end[k++] = 'x';
    if (d2 == 'L') other_end[k++] = 'R';
    if (d2 == 'R') other_end[k++] = 'L';
    if (d2 == 'C') other_end[k++] = 'C';
    other_end[k] = 0;
}

void APT_find_start_airport()
{
    // The start id is compared as its four bytes stand. Only the airports
    // whose id key matches are visited, in table order: the same airports,
    // and so the same last match, as a scan of the whole table.
    const unsigned char* b = reinterpret_cast<const unsigned char*>(start_selection.airport_id);
    const uint32_t key = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    for (const int32_t i : NAV_entries_with_key(1, key)) {
        const airport_record& a = airport_table[static_cast<size_t>(i)];
        // An airport without runways can never be selected: nothing could place the plane there.
        if (std::memcmp(a.id, start_selection.airport_id, 4) == 0 && !a.runways.empty())
            start_selection.airport_index = i;   // the last match wins
    }

    const int32_t selected = start_selection.airport_index;
    // The selection comes from the preferences and the menus: none (-1), or one past a table read smaller, would read past it.
    if (selected < 0 || selected >= static_cast<int32_t>(airport_table.size())) return;
    const airport_record& apt = airport_table[static_cast<size_t>(selected)];
    if (apt.runways.empty()) return;

    flt[0].latitude = apt.runways[0].lat;
    flt[0].longitude = apt.runways[0].lon;
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    lat_ref = static_cast<float>(GEO_round(flt[0].latitude - reference_lat_offset[planet]));
    lon_ref = static_cast<float>(GEO_round(flt[0].longitude - reference_lon_offset[planet]));
}

void APT_split_rwy_code(int hundreds[2], int tens[2], int units[2], int code)
{
    struct step {
        int threshold;
        int which;   // 0 hundreds, 1 tens, 2 units
        int index;
    };
    static constexpr step steps[] = {
        {400, 0, 3}, {300, 0, 2}, {200, 0, 1}, {100, 0, 0}, {60, 1, 5}, {50, 1, 4}, {40, 1, 3}, {30, 1, 2},
        {20, 1, 1},  {10, 1, 0},  {8, 2, 7},   {7, 2, 6},   {6, 2, 5},  {5, 2, 4},  {4, 2, 3},  {3, 2, 2},
        {2, 2, 1},   {1, 2, 0},
    };
    const int ends[2] = {code / 1000, code % 1000};
    for (int e = 0; e < 2; ++e) {
        int* out[3] = {&hundreds[e], &tens[e], &units[e]};
        *out[0] = *out[1] = *out[2] = 1;
        int d = ends[e];
        for (const step& s : steps) {
            if (d >= s.threshold) {
                *out[s.which] = s.index;
                d -= s.threshold;
            }
        }
    }
}
