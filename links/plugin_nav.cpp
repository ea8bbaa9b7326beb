// Plug-ins walk and search the loaded navaids, airports and fixes, and read
// and edit the flight plan and the GPS destination.
#include "links/plugin_nav.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/reset_registry.h"
#include "core/simvars/cockpit.h"
#include "flightmodel/systems/flight_plan.h"
#include "world/navdb.h"

plugin_nav_state plugin_nav;

ORVELL_RESET_RECORD(PLUGIN_nav_reset, plugin_nav, program);

namespace {

constexpr int KIND_COUNT = 14;
constexpr int TYPE_FLAGS[KIND_COUNT] = {0, 1, 2, 4, 8, 16, 32, 64, 128, 256, 0, 512, 1024, 2048};
constexpr int FLAG_AIRPORT = 1, FLAG_FIX = 512, FLAG_POINT = 2048;
constexpr int KIND_AIRPORT = 1, KIND_NDB = 2, KIND_VOR = 3, KIND_FIX = 11, KIND_POINT = 13;
constexpr int REF_AIRPORT = 0x1000000, REF_FIX = 0x2000000, REF_INDEX = 0xFFFFFF;

int navaid_count() { return static_cast<int>(navaid_table.size()); }
int airport_count() { return static_cast<int>(airport_table.size()); }
int fix_count() { return static_cast<int>(fix_table.size()); }

// An entry number comes straight from a plug-in: one outside 0..99 would read
// or write past the flight-plan table (or, as the displayed or destination
// entry, make the flight-plan pages do so later). Such a call does nothing.
bool entry_ok(int entry) { return entry >= 0 && entry < FMS_ENTRIES; }

void copy_field(char* out, const char* in, size_t in_size)
{
    if (out == nullptr) return;
    const size_t n = strnlen(in, in_size - 1);
    std::memcpy(out, in, n);
    out[n] = 0;
}

// The index is built from the navaid list and rebuilt when the loaded data change.
void build_type_index()
{
    plugin_nav_state& s = plugin_nav;
    if (s.built && s.built_for == navaid_table.data() && s.navaids == navaid_table.size() &&
        s.airports == airport_table.size() && s.fixes == fix_table.size())
        return;
    for (int k = 0; k < KIND_COUNT; ++k) s.first[k] = s.last[k] = -1;
    int previous = -1;
    for (int i = 0; i < navaid_count(); ++i) {
        const int k = navaid_table[i].kind;
        if (i == 0 || k != previous) {
            if (k >= 0 && k < KIND_COUNT) s.first[k] = i;
            if (i > 0 && previous >= 0 && previous < KIND_COUNT) s.last[previous] = i - 1;
        }
        previous = k;
    }
    if (navaid_count() > 0 && previous >= 0 && previous < KIND_COUNT) s.last[previous] = navaid_count() - 1;
    s.first[KIND_AIRPORT] = 0, s.last[KIND_AIRPORT] = airport_count() - 1;
    s.first[KIND_FIX] = 0, s.last[KIND_FIX] = fix_count() - 1;
    s.built_for = navaid_table.data();
    s.navaids = navaid_table.size(), s.airports = airport_table.size(), s.fixes = fix_table.size();
    s.built = true;
}

int PLUGIN_host_nav_first() { return 0; }

int PLUGIN_host_nav_next(int reference)
{
    if (reference == -1) return -1;
    const int kind = (reference >> 24) & 0xFF, index = (reference & REF_INDEX) + 1;
    if (kind == 0 && index >= navaid_count()) return REF_AIRPORT;
    if (kind == 1 && index >= airport_count()) return REF_FIX;
    if (kind == 2 && index >= fix_count()) return -1;
    return reference + 1;
}

int first_or_last(int flag, bool last)
{
    if (flag == FLAG_FIX) return fix_count() == 0 ? -1 : REF_FIX + (last ? fix_count() - 1 : 0);
    if (flag == FLAG_AIRPORT) return airport_count() == 0 ? -1 : REF_AIRPORT + (last ? airport_count() - 1 : 0);
    build_type_index();
    const int k = PLUGIN_nav_type_index(flag);
    return last ? plugin_nav.last[k] : plugin_nav.first[k];
}

int PLUGIN_host_nav_first_of_type(int flag) { return first_or_last(flag, false); }
int PLUGIN_host_nav_last_of_type(int flag) { return first_or_last(flag, true); }

bool contains(const char* text, const char* part) { return part == nullptr || std::strstr(text, part) != nullptr; }

// Null-terminated copies of the record texts for the substring tests.
template <size_t N> struct text_copy {
    char s[N + 1];
    explicit text_copy(const char (&in)[N])
    {
        std::memcpy(s, in, N);
        s[N] = 0;
    }
};

int PLUGIN_host_nav_find(char* name_part, char* id_part, float* lat, float* lon, int* frequency, int types)
{
    int best = -1;
    float best_d = -1.0f;
    auto consider = [&](int reference, float elat, float elon) {
        if (lat == nullptr || lon == nullptr) {
            best = reference;
            return;
        }
        const float factor = static_cast<float>(std::cos(((elat + *lat) / 2.0) * 3.141592 / 180.0));
        const double dx = (elon - *lon) * factor * 60.0, dy = (elat - *lat) * 60.0;
        const float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
        if (best_d == -1.0f || d < best_d) best = reference, best_d = d;
    };
    if (types & FLAG_FIX)
        for (int i = 0; i < fix_count(); ++i) {
            const text_copy id(fix_table[i].id);
            if (contains(id.s, name_part) && contains(id.s, id_part)) consider(REF_FIX + i, fix_table[i].lat, fix_table[i].lon);
        }
    if (types & ~(FLAG_AIRPORT | FLAG_FIX))
        for (int i = 0; i < navaid_count(); ++i) {
            const navaid_record& n = navaid_table[i];
            if (!(PLUGIN_nav_type_flag(n.kind) & types)) continue;
            const text_copy<APT_ID_SIZE> id(n.id);
            const text_copy<APT_NAME_SIZE> name(n.name);
            if (!contains(name.s, name_part) || !contains(id.s, id_part)) continue;
            if (frequency && *frequency != n.frequency) continue;
            consider(i, n.lat, n.lon);
        }
    if (types & FLAG_AIRPORT)
        for (int i = 0; i < airport_count(); ++i) {
            const airport_record& a = airport_table[i];
            const text_copy<APT_ID_SIZE> id(a.id);
            const text_copy<APT_NAME_SIZE> name(a.name);
            if (!contains(name.s, name_part) || !contains(id.s, id_part)) continue;
            // An airport with no runway has no first runway to read (the read
            // would go past its empty list): its position counts as 0, 0.
            const float alat = a.runways.empty() ? 0.0f : a.runways[0].lat;
            const float alon = a.runways.empty() ? 0.0f : a.runways[0].lon;
            consider(REF_AIRPORT + i, alat, alon);
        }
    return best;
}

void PLUGIN_host_nav_info(int reference, int* type, float* lat, float* lon, float* height, int* frequency, float* heading,
              char* id, char* name, char* flag)
{
    if (reference == -1) {
        if (name) std::memcpy(name, "NOT FOUND", 10);
        if (id) std::memcpy(id, "NTFND", 6);
        if (type) *type = 0;
        return;
    }
    if (reference < 0) return;
    const int kind = reference >> 24, index = reference & REF_INDEX;
    if (kind == 0 && index < navaid_count()) {
        const navaid_record& n = navaid_table[index];
        if (type) *type = PLUGIN_nav_type_flag(n.kind);
        if (lat) *lat = n.lat;
        if (lon) *lon = n.lon;
        if (height) *height = n.height;
        if (frequency) *frequency = n.frequency;
        if (heading) *heading = n.heading;
        copy_field(id, n.id, sizeof n.id);
        copy_field(name, n.name, sizeof n.name);
        if (flag) *flag = static_cast<char>(n.local);
    } else if (kind == 1 && index < airport_count()) {
        const airport_record& a = airport_table[index];
        if (type) *type = FLAG_AIRPORT;
        // No runway, no position to read (past an empty list): left untouched.
        if (lat && !a.runways.empty()) *lat = a.runways[0].lat;
        if (lon && !a.runways.empty()) *lon = a.runways[0].lon;
        if (height) *height = a.elevation;
        copy_field(id, a.id, sizeof a.id);
        copy_field(name, a.name, sizeof a.name);
        if (flag) *flag = static_cast<char>(a.local);
    } else if (kind == 2 && index < fix_count()) {
        const fix_record& f = fix_table[index];
        if (type) *type = FLAG_FIX;
        copy_field(id, f.id, sizeof f.id);
        copy_field(name, f.id, sizeof f.id);
        if (lat) *lat = f.lat;
        if (lon) *lon = f.lon;
        if (flag) *flag = static_cast<char>(f.local);
    }
}

// ---- flight plan ----------------------------------------------------------
int PLUGIN_host_fms_count()
{
    int n = 0;
    for (; n < FMS_ENTRIES; ++n) {
        const char* id = fms_plan.entries[n].id;
        if (id[std::strspn(id, " ")] == 0) break;   // empty or only blanks
    }
    return n;
}

int PLUGIN_host_fms_get_displayed() { return fms_plan.displayed_index; }
int PLUGIN_host_fms_get_destination() { return fms_plan.destination_index; }
void PLUGIN_host_fms_set_displayed(int entry)
{
    if (entry_ok(entry)) fms_plan.displayed_index = entry;
}
void PLUGIN_host_fms_set_destination(int entry)
{
    if (entry_ok(entry)) fms_plan.destination_index = entry;
}

void PLUGIN_host_fms_get_entry(int entry, int* type, char* id, int* reference, int* altitude, float* lat, float* lon)
{
    if (!entry_ok(entry)) return;
    const fms_entry& e = fms_plan.entries[entry];
    const int flag = PLUGIN_nav_type_flag(e.type);
    if (type) *type = flag;
    copy_field(id, e.id, sizeof e.id);
    if (reference)
        *reference = flag == FLAG_POINT ? -1 : e.reference + (flag == FLAG_FIX ? REF_FIX : flag == FLAG_AIRPORT ? REF_AIRPORT : 0);
    if (altitude) *altitude = std::atoi(e.altitude);
    if (lat) *lat = e.latitude;
    if (lon) *lon = e.longitude;
}

void write_altitude(fms_entry& e, int altitude) { std::snprintf(e.altitude, sizeof e.altitude, "%d", altitude); }

void PLUGIN_host_fms_set_entry(int entry, int reference, int altitude)
{
    if (!entry_ok(entry)) return;
    fms_entry& e = fms_plan.entries[entry];
    int flag = 0;
    char id[FMS_ID_SIZE];
    std::memcpy(id, e.id, sizeof id);
    PLUGIN_host_nav_info(reference, &flag, &e.latitude, &e.longitude, nullptr, nullptr, nullptr, id, nullptr, nullptr);
    std::memcpy(e.id, id, sizeof e.id);
    const int index = reference & REF_INDEX;
    switch (flag) {
    case 1: e.type = KIND_AIRPORT, e.reference = index; break;
    case 2: e.type = KIND_NDB, e.reference = index; break;
    case 4: e.type = KIND_VOR, e.reference = index; break;
    case 512: e.type = KIND_FIX, e.reference = index; break;
    default: break;   // other kinds keep the entry's kind and index
    }
    write_altitude(e, altitude);
}

void PLUGIN_host_fms_set_entry_latlon(int entry, float lat, float lon, int altitude)
{
    if (!entry_ok(entry)) return;
    fms_entry& e = fms_plan.entries[entry];
    e.type = KIND_POINT;
    write_altitude(e, altitude);
    e.latitude = lat, e.longitude = lon;
    e.reference = 0;
    std::snprintf(e.id, sizeof e.id, "%+06.2f %+07.2f", lat, lon);
}

void PLUGIN_host_fms_clear_entry(int entry)
{
    if (!entry_ok(entry)) return;
    fms_entry& e = fms_plan.entries[entry];
    e.type = 0;
    std::strcpy(e.altitude, "     ");
    e.reference = 0;
    std::memset(e.id, 0, sizeof e.id);
    std::memcpy(e.id, "             ", 13);
}

int PLUGIN_host_gps_dest_type() { return PLUGIN_nav_type_flag(sim_cockpit_gps.destination_type); }
int PLUGIN_host_gps_dest()
{
    const int flag = PLUGIN_host_gps_dest_type();
    return sim_cockpit_gps.destination_index + (flag == FLAG_FIX ? REF_FIX : flag == FLAG_AIRPORT ? REF_AIRPORT : 0);
}

}   // namespace

int PLUGIN_nav_type_flag(int kind) { return kind >= 0 && kind < KIND_COUNT ? TYPE_FLAGS[kind] : 0; }

int PLUGIN_nav_type_index(int flag)
{
    // No flag is kind 0 (kind 10 shares the empty flag but is never the answer).
    if (flag == 0) return 0;
    for (int k = 1; k < KIND_COUNT; ++k)
        if (TYPE_FLAGS[k] == flag) return k;
    return 0;
}

void PLUGIN_fill_nav_slots(ORPM_host_table& t)
{
    t.nav_first = PLUGIN_host_nav_first;
    t.nav_next = PLUGIN_host_nav_next;
    t.nav_first_of_type = PLUGIN_host_nav_first_of_type;
    t.nav_last_of_type = PLUGIN_host_nav_last_of_type;
    t.nav_find = PLUGIN_host_nav_find;
    t.nav_info = PLUGIN_host_nav_info;
    t.fms_count = PLUGIN_host_fms_count;
    t.fms_get_displayed = PLUGIN_host_fms_get_displayed;
    t.fms_get_destination = PLUGIN_host_fms_get_destination;
    t.fms_set_displayed = PLUGIN_host_fms_set_displayed;
    t.fms_set_destination = PLUGIN_host_fms_set_destination;
    t.fms_get_entry = PLUGIN_host_fms_get_entry;
    t.fms_set_entry = PLUGIN_host_fms_set_entry;
    t.fms_set_entry_latlon = PLUGIN_host_fms_set_entry_latlon;
    t.fms_clear_entry = PLUGIN_host_fms_clear_entry;
    t.gps_dest_type = PLUGIN_host_gps_dest_type;
    t.gps_dest = PLUGIN_host_gps_dest;
}
