// "KSTM": commands from one copy to another. A 15-character command text,
// then its argument: the heartbeat, an airport or map placement, a menu
// command, a situation, the replay modes and quit. A master relays airport
// placements to its monitors; every copy relays quit to all its destinations.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/flight_start.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "links/net_ranges.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

constexpr int COMMAND_CHARS = 15;
constexpr int AIRPORT_KIND = 1;
constexpr int QUIT_COMMAND = 208;

struct replay_command {
    const char* text;
    int32_t mode;
};
constexpr replay_command replay_commands[] = {
    {"str_rep_fly    ", 0}, {"str_rep_fr     ", 2}, {"str_rep_rr     ", 3}, {"str_rep_sr     ", 4},
    {"str_rep_pause  ", 5}, {"str_rep_sf     ", 6}, {"str_rep_rf     ", 7}, {"str_rep_ff     ", 8},
};

bool is(const net_datagram& d, const char* command)
{
    return d.size >= COMMAND_CHARS && std::memcmp(d.payload, command, COMMAND_CHARS) == 0;
}

// The argument: the payload after the command text (a terminated text).
const char* argument(const net_datagram& d) { return reinterpret_cast<const char*>(d.payload) + COMMAND_CHARS; }

// `width` characters of the argument from payload offset `offset` read as a
// decimal number (-1 when one is not a digit, or the payload ends first).
int field(const net_datagram& d, int offset, int width)
{
    char text[16] = {};
    int k = 0;
    for (; k < width && offset + k < d.size && d.payload[offset + k]; ++k) text[k] = static_cast<char>(d.payload[offset + k]);
    text[k] = 0;
    return UTIL_text_to_int(text);
}

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

void heartbeat(net_datagram& d)
{
    // The heard arrays have 20 entries: a larger index byte would write past them.
    if (d.index >= NET_SLOT_COUNT) return NET_refuse(d, "its heartbeat names a slot of 20 or more");
    net_peer_heard[d.index] = 1;
    net_peer_heard_time[d.index] = frame_clock;
}

void airport_placement(net_datagram& d)
{
    char id[APT_ID_SIZE] = {};
    for (int k = 0; k < 4 && COMMAND_CHARS + k < d.size && d.payload[COMMAND_CHARS + k]; ++k)
        id[k] = static_cast<char>(d.payload[COMMAND_CHARS + k]);
    // An id no airport of this copy has is refused like any bad value: taken
    // as the current airport, it would rebuild the scene and restart the
    // flight where the plane already is. An airport without runways would
    // have the placement read past its runway list.
    int found = -1;
    if (!NAV_find_nearest_by_id(id, AIRPORT_KIND, found, flt[0].latitude, flt[0].longitude) || found < 0 ||
        found >= static_cast<int>(airport_table.size()))
        return NET_refuse(d, "no airport of this copy has its id");
    const airport_record& a = airport_table[static_cast<size_t>(found)];
    if (a.runways.empty()) return NET_refuse(d, "its airport has no runway");
    if (NET_hold_world_command(d, airport_placement, 0)) return;
    start_selection.airport_index = found;

    char text[COMMAND_CHARS + APT_ID_SIZE];
    std::snprintf(text, sizeof text, "apt placement  %.4s", a.id);
    for (int s = 1; s <= 5; ++s)
        if (net_slot_enabled[s]) NET_data_send("KSTM", 0, text, static_cast<int>(std::strlen(text)), s);

    flt[0].latitude = a.runways[0].lat;
    flt[0].longitude = a.runways[0].lon;
    lat_ref = static_cast<float>(GEO_round(flt[0].latitude - reference_lat_offset[planet()]));
    lon_ref = static_cast<float>(GEO_round(flt[0].longitude - reference_lon_offset[planet()]));
    if (app_mode != MODE_FLYING)
        CORE_set_mode(MODE_FLYING,
                      "so we initflt to window 0 as needed for flying, not init with a subwindow up, which would set "
                      "our background and stuff up for the in-cockpit view with a sub-window still in place!");
    APT_build_scene(1);
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
}

void map_placement(net_datagram& d)
{
    // Only plane slots 0..9 exist: a larger index byte would move a plane past the table.
    if (d.index >= NET_PLANES) return NET_refuse(d, "there are only plane slots 0 to 9");
    const float lon = static_cast<float>(field(d, 15, 7)) / 10000.0f - 500.0f;
    const float lat = static_cast<float>(field(d, 22, 7)) / 10000.0f - 500.0f;
    const float psi = static_cast<float>(field(d, 29, 3));
    const float alt = static_cast<float>(field(d, 32, 6));
    const float speed = static_cast<float>(field(d, 38, 5));
    const struct {
        const char* name;
        float value;
        net_range range;
    } fields[] = {{"longitude", lon, RANGE_LONGITUDE},
                  {"latitude", lat, RANGE_LATITUDE},
                  {"elevation", alt, RANGE_ELEVATION},
                  {"speed", speed, RANGE_SPEED}};
    // A value no placement can have (a blank longitude or latitude field reads
    // as -1, i.e. -500 degrees, off the globe; a speed or height past what any
    // plane flies) would start the flight or move the plane from a place or
    // state that does not exist: such a datagram is refused and nothing moves.
    // A blank heading, elevation or speed (-1) is within range and is used,
    // as is any heading the three digits hold (0..999 degrees).
    for (const auto& f : fields)
        if (!NET_in_range(f.range, f.value)) {
            net_range_miss miss;
            miss.field = f.name;
            miss.value = f.value;
            miss.range = f.range;
            return NET_refuse_range(d, miss);
        }
    if (NET_hold_world_command(d, map_placement, d.index)) return;
    situation_start_record& b = situation_start_state;
    b.latitude = lat;
    b.longitude = lon;
    b.elevation = alt;
    b.psi = psi;
    b.groundspeed = speed;
    if (d.index == 0) {
        FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
        CORE_set_mode(MODE_FLYING, "from net str_map_placement");
        return;
    }
    float x, y, z;
    GEO_latlon_to_local(x, y, z, lat, lon, alt);
    FLIGHT_reset_at_start(d.index, 0.0f, psi, 0.0f, x, y, z, speed);
}

void quit()
{
    for (int s = 0; s < NET_SLOT_COUNT; ++s)
        if (net_slot_enabled[s] && net_slot_valid[s]) NET_data_send("KSTM", 0, "quit           ", COMMAND_CHARS, s);
    CORE_run_remote_command(QUIT_COMMAND);
}

// The numbered commands a peer forwards are start choices: each places the
// plane anew and rebuilds the scene. Repeats of one number are one command,
// run in the turn of the last repeat; different numbers each run, so the
// number sent last is the one that stands.
void menu_selection(net_datagram& d)
{
    const int command = UTIL_text_to_int(argument(d));
    if (NET_hold_world_command(d, menu_selection, command)) return;
    CORE_run_remote_command(command);
}

void situation_selection(net_datagram& d)
{
    if (NET_hold_world_command(d, situation_selection, 0)) return;
    CORE_load_peer_situation(argument(d));
}

}  // namespace

void NET_handle_KSTM(net_datagram& d)
{
    if (is(d, "I am sending!  ")) return heartbeat(d);
    if (is(d, "apt placement  ")) return airport_placement(d);
    if (is(d, "map placement  ")) return map_placement(d);
    if (is(d, "menu selection ")) return menu_selection(d);
    if (is(d, "sit selection  ")) return situation_selection(d);
    for (const replay_command& r : replay_commands)
        if (is(d, r.text)) {
            sim_operation_prefs.replay_mode = r.mode;
            return;
        }
    if (is(d, "quit           ")) return quit();
}
