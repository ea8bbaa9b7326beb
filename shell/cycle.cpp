// The simulation cycle: the spine's once-a-frame work around the
// simulation's frame (flightmodel/sim_frame.h), which it runs once.
#include "shell/cycle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "flightmodel/sim_frame.h"
#include "links/dataout.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_time.h"
#include "core/constants.h"
#include "shell/defaults.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "shell/modes.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "world/navdb.h"

cycle_state cycle;
plane_state_record snap_record{};

ORVELL_RESET_RECORD(CYCLE_reset, cycle, program);
ORVELL_RESET_RECORD(CYCLE_snapshot_reset, snap_record, program);

namespace {

constexpr float SKY_TOP_M = 99999.0f * UNIT.ft_to_mtrs;   // 30,479.7 m
constexpr int DAY_SECONDS = 86400;
constexpr int PATH_PAYLOAD = 500;
constexpr int PATH_TEXT_LIMIT = 150;               // characters of folder plus relative path
constexpr int DATA_ROWS_PER_DATAGRAM = 77;         // 77 x 36 + 6 bytes stays under 2,800
constexpr int GRAPH_ROWS = DATAOUT_GRAPH_GROUPS;

int planet_index() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

bool tick(int k) { return interval_ticks[k] != 0; }

bool slot_on(int s) { return s >= 0 && s < NET_SLOT_COUNT && net_slot_enabled[s] != 0; }
bool slot_live(int s) { return slot_on(s) && net_slot_valid[s] != 0; }

// ---------------------------------------------------------------------------
// Steps of the cycle.

void clock_from_system_time()
{
    if (!sim_time.use_system_time) return;
    const std::time_t now = static_cast<std::time_t>(PLAT_calendar_time());
    std::tm local{};
    if (!localtime_r(&now, &local)) return;
    sim_time.local_time_sec = static_cast<float>(local.tm_sec + 60 * local.tm_min + 3600 * local.tm_hour);
    sim_time.local_date_days = local.tm_mday + 30 * local.tm_mon - 1;   // every month counts 30 days
    // A longitude or zone correction that is not a finite number (from a
    // damaged situation or preference file) would leave the clock not a
    // number for good; the zone then counts as 0, the correction as none.
    const float lon = std::isfinite(flt[0].longitude) ? flt[0].longitude : 0.0f;
    const int zone = GEO_round(lon / 15.0f);
    // `zone_offset_hours` is the zone correction in hours, under the name the
    // date and time screen that sets it gives it.
    float zulu = sim_time.local_time_sec + screen_settings.zone_offset_hours * 3600.0f - zone * 3600.0f;
    if (!std::isfinite(zulu)) zulu = sim_time.local_time_sec;
    // Whole days off, as adding or subtracting a day at a time would (86,400
    // itself stays); by remainder, so a huge zone correction read from a
    // preference file cannot keep the loop from ever ending.
    sim_time.zulu_time_sec = UTIL_wrap_closed(zulu, static_cast<float>(DAY_SECONDS));
}

// The selected airport's height; 0 for an index no airport has (reading it
// would read past the airport table).
float selected_airport_height()
{
    const int a = start_selection.airport_index;
    if (a < 0 || a >= static_cast<int>(airport_table.size())) return 0.0f;
    return airport_table[static_cast<size_t>(a)].elevation;
}

// Each bound pair as "below the low bound: the low bound, else above the
// high bound: the high bound". A value that is not a number (from a damaged
// file or datagram) would pass both tests and stay so for good: it takes the
// low bound instead.
void weather_bounds()
{
    sim_weather_block& w = sim_weather;
    const float H = selected_airport_height() + 15.2f;
    const float T = SKY_TOP_M;
    w.cloud_base_msl_m[0] = UTIL_clamp_nan_low(w.cloud_base_msl_m[0], H, T - 914.4f);
    w.cloud_tops_msl_m[0] = UTIL_clamp_nan_low(w.cloud_tops_msl_m[0], w.cloud_base_msl_m[0] + 304.8f, T - 609.6f);
    w.cloud_base_msl_m[1] = UTIL_clamp_nan_low(w.cloud_base_msl_m[1], w.cloud_tops_msl_m[0] + 304.8f, T - 304.8f);
    w.cloud_tops_msl_m[1] = UTIL_clamp_nan_low(w.cloud_tops_msl_m[1], w.cloud_base_msl_m[1] + 304.8f, T);
    for (int l = 0; l < CLOUD_LAYERS; ++l)
        if (w.cloud_type[l] == 2 || w.cloud_type[l] == 3) w.cloud_tops_msl_m[l] = w.cloud_base_msl_m[l] + 304.8f;
    for (int l = 0; l < CLOUD_LAYERS; ++l)
        if (w.cloud_type[l] == 1) w.cloud_tops_msl_m[l] = w.cloud_base_msl_m[l];
    if (w.rain_percent > 0.0f && w.cloud_type[0] != 4 && w.cloud_type[1] != 4) w.cloud_type[0] = 4;
    w.visibility_reported_m = UTIL_clamp_nan_low(w.visibility_reported_m, 185.2f, max_visibility_m[planet_index()]);
    w.thunderstorm_percent = UTIL_clamp_nan_low(w.thunderstorm_percent, 0.0f, 1.0f);
    w.rain_percent = UTIL_clamp_nan_low(w.rain_percent, w.thunderstorm_percent, 1.0f);
    w.wind_turbulence_percent = UTIL_clamp_nan_low(w.wind_turbulence_percent, 0.0f, 1.0f);
    w.microburst_probability = UTIL_clamp_nan_low(w.microburst_probability, 0.0f, 1.0f);
    for (int l = 0; l < WIND_LAYERS; ++l) {
        w.wind_direction_degt[l] = UTIL_wrap_closed(w.wind_direction_degt[l], 360.0f);
        w.shear_direction_degt[l] = UTIL_clamp_nan_low(w.shear_direction_degt[l], 0.0f, 180.0f);
        w.wind_speed_kt[l] = UTIL_clamp_nan_low(w.wind_speed_kt[l], 0.0f, 100.0f);
        w.shear_speed_kt[l] = UTIL_clamp_nan_low(w.shear_speed_kt[l], 0.0f, 50.0f);
        w.turbulence[l] = UTIL_clamp_nan_low(w.turbulence[l], 0.0f, 9.0f);
    }
    w.rate_change_percent = UTIL_clamp_nan_low(w.rate_change_percent, -1.0f, 1.0f);
}

bool any_peer_for_shared_state()
{
    for (int s : {0, 1, 2, 3, 4, 5, 9})
        if (slot_on(s)) return true;
    return false;
}

bool shares_state(int s) { return (s >= 0 && s <= 5) || s == 9; }

void send_stat()
{
    bool changed = app_mode != cycle.last_app_mode;
    cycle.last_app_mode = app_mode;
    stat_block now;
    STAT_fill(now);
    if (STAT_changed(cycle.stat_sent, now)) changed = true;
    cycle.stat_sent = now;
    if (changed)
        for (int s = 0; s < CYCLE_PEER_SLOTS; ++s)
            if (shares_state(s)) cycle.stat_dirty[s] = 1;

    int cursor = cycle.stat_cursor + 1;
    if (cursor < 0 || cursor >= CYCLE_PEER_SLOTS) cursor = 0;
    cycle.stat_cursor = cursor;
    if (cycle.stat_dirty[cursor] && slot_live(cursor)) {
        NET_data_send("STAT", 0, &cycle.stat_sent, STAT_BLOCK_BYTES, cursor);
        cycle.stat_dirty[cursor] = 0;
    }
}

// The aircraft path of plane p from the character position of the program
// folder's length on, cut so that folder and relative path together stay
// within 150 characters. Empty when the folder is that long already, or when
// the path is shorter than the folder (taking from there would copy the bytes
// after its end).
int relative_path_payload(int p, char out[PATH_PAYLOAD])
{
    std::memset(out, 0, PATH_PAYLOAD);
    const size_t folder_len = strnlen(program_folder, TEXT_MAX_LEN);
    if (folder_len >= static_cast<size_t>(PATH_TEXT_LIMIT)) return 0;
    const char* path = pln[p].acf_file_path;
    const size_t path_len = strnlen(path, TEXT_MAX_LEN);
    if (path_len < folder_len) return 0;
    const size_t take = std::min(path_len - folder_len, static_cast<size_t>(PATH_TEXT_LIMIT) - folder_len);
    std::memcpy(out, path + folder_len, take);
    return static_cast<int>(take);
}

void send_path()
{
    const int n = FLTMOD_planes_to_run();
    cycle.path_plane_cursor += 1;
    if (cycle.path_plane_cursor >= n || cycle.path_plane_cursor < 0) {
        cycle.path_plane_cursor = 0;
        cycle.path_slot_cursor += 1;
        if (cycle.path_slot_cursor > 12 || cycle.path_slot_cursor < 0) cycle.path_slot_cursor = 0;
    }
    const int slot = cycle.path_slot_cursor;
    const int plane = cycle.path_plane_cursor;
    if (n < 1 || !shares_state(slot) || !slot_live(slot)) return;
    int index = plane;
    if (slot == 0) {
        if (plane == 1) return;   // the peer knows our plane 1 as its own user plane's stand-in
        if (plane == 0) index = 1;
    }
    char payload[PATH_PAYLOAD];
    const int len = relative_path_payload(plane, payload);
    NET_data_send("PATH", index, payload, len + 1, slot);
}

void record_replay()
{
    int index = replay_index + 1;
    if (index < 0 || index >= REPLAY_RING_SIZE) index = 0;
    replay_index = index;
    PLANE_pack_state(replay_ring[index], 0);
    replay_ring[(index + 1) % REPLAY_RING_SIZE].network_time_sec = 0.0f;
    if (sim_time.total_flight_time_sec < 0.2f) replay_ring[index].network_time_sec = 0.0f;
}

bool replay_recording_wanted()
{
    if (sim_operation_prefs.replay_mode != 0) return false;
    if (app_mode <= MODE_FLYING) return true;   // flying or the intro picture
    for (int s = 6; s <= 9; ++s)
        if (slot_on(s)) return true;
    return false;
}

// The records go out in datagrams of at most 77 records: one datagram with
// more would be too large for the link and end the program, and choosing many
// groups on the network screen must not do that.
void send_data_rows(int rows)
{
    for (int first = 0; first < rows; first += DATA_ROWS_PER_DATAGRAM) {
        const int count = std::min(DATA_ROWS_PER_DATAGRAM, rows - first);
        NET_data_send("DATA", 0, &net_data_snd[first], DATA_RECORD_BYTES * count, 12);
    }
}

void data_output(bool paused)
{
    float rate = sim_network_dataout.network_data_rate;
    rate = UTIL_clamp_nan_low(rate, 1.0f, 50.0f);
    if (frame_clock > cycle.dataout_last_send + 1.0f / rate - 0.5f * sim_operation_misc.frame_rate_period) {
        cycle.dataout_last_send = frame_clock;
        if (slot_on(11)) HARDWARE_send_motion();
        if (slot_on(12)) {
            // Selection entries 107..199 name no group and take no record.
            int rows = 0;
            for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g)
                if (sim_network_dataout.data_to_internet[g]) DATAOUT_group(1, g, rows++);
            if (rows > 0) send_data_rows(rows);
        }
    }
    if (paused) return;
    if (tick(INTERVAL_TENTH_SECOND) && dataout_any_disk_group) {
        for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g)
            if (sim_network_dataout.data_to_disk[g]) DATAOUT_group(2, g, 0);
        if (data_log.is_open()) data_log << '\n';
    }
    if (tick(INTERVAL_TWENTIETH_SECOND)) {
        // The graph history holds five groups: a sixth would be written past it.
        int row = 0;
        for (int g = 0; g < DATAOUT_GROUP_COUNT && row < GRAPH_ROWS; ++g)
            if (sim_network_dataout.data_to_graph[g]) DATAOUT_group(4, g, row++);
    }
}

// The current settings screen's frame.
void screen_step()
{
    const mode_screen* s = MODE_screen_of(app_mode);
    if (s && s->step) s->step();
}

}  // namespace

// ---------------------------------------------------------------------------

void STAT_fill(stat_block& o)
{
    const sim_weather_block& w = sim_weather;
    const flt_struct& f = flt[0];
    o = stat_block{};
    o.paused = sim_time.paused;
    o.draw_aircrafts = sim_graphics_settings.draw_aircrafts;
    o.zulu_time_sec = sim_time.zulu_time_sec;
    o.local_date_days = static_cast<float>(sim_time.local_date_days);
    STAT_copy_weather(o, w);
    o.temperature_sealevel_c = w.temperature_sealevel_c;
    o.weather_seed = weather_seed;
    o.earth_pressure_p = sim_physics.earth_pressure_p;
    o.wave_dir = static_cast<float>(w.wave_dir);
    o.m_fixed = f.m_fixed;
    o.m_fuel[0] = f.m_fuel1;
    o.m_fuel[1] = f.m_fuel2;
    o.m_fuel[2] = f.m_fuel3;
    o.m_jettison = f.m_jettison;
    for (int k = 0; k < STAT_FAILURES; ++k) {
        o.failures[k] = f.failures[k];
        o.failure_countdown[k] = f.failure_param[k];
    }
}

namespace {

bool int_moved(int32_t a, int32_t b, double threshold)
{
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) > threshold;
}

bool float_moved(float a, float b, double threshold)
{
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) > threshold;
}

template <int N>
bool ints_moved(const int32_t (&a)[N], const int32_t (&b)[N], double t)
{
    for (int k = 0; k < N; ++k)
        if (int_moved(a[k], b[k], t)) return true;
    return false;
}

template <int N>
bool floats_moved(const float (&a)[N], const float (&b)[N], double t)
{
    for (int k = 0; k < N; ++k)
        if (float_moved(a[k], b[k], t)) return true;
    return false;
}

}  // namespace

int STAT_changed(const stat_block& s, const stat_block& n)
{
    const bool moved =
        int_moved(s.paused, n.paused, 0.0) || int_moved(s.draw_aircrafts, n.draw_aircrafts, 0.0) ||
        float_moved(s.zulu_time_sec, n.zulu_time_sec, 216.0) ||
        float_moved(s.local_date_days, n.local_date_days, 0.1) || ints_moved(s.cloud_type, n.cloud_type, 0.5) ||
        floats_moved(s.cloud_tops_msl_m, n.cloud_tops_msl_m, 50.0) ||
        floats_moved(s.cloud_base_msl_m, n.cloud_base_msl_m, 50.0) ||
        floats_moved(s.wind_altitude_msl_m, n.wind_altitude_msl_m, 50.0) ||
        floats_moved(s.turbulence, n.turbulence, 0.5) ||
        floats_moved(s.wind_direction_degt, n.wind_direction_degt, 0.5) ||
        floats_moved(s.wind_speed_kt, n.wind_speed_kt, 0.5) ||
        floats_moved(s.shear_direction_degt, n.shear_direction_degt, 0.5) ||
        floats_moved(s.shear_speed_kt, n.shear_speed_kt, 0.5) ||
        float_moved(s.visibility_reported_m, n.visibility_reported_m, 250.0) ||
        float_moved(s.rain_percent, n.rain_percent, 0.1) ||
        float_moved(s.thunderstorm_percent, n.thunderstorm_percent, 0.1) ||
        int_moved(s.weather_seed, n.weather_seed, 0.1) ||
        float_moved(s.temperature_sealevel_c, n.temperature_sealevel_c, 0.5) ||
        float_moved(s.earth_pressure_p, n.earth_pressure_p, 1.0) ||
        float_moved(s.wave_amplitude, n.wave_amplitude, 0.5) || float_moved(s.wave_length, n.wave_length, 0.5) ||
        float_moved(s.wave_speed, n.wave_speed, 0.5) || float_moved(s.wave_dir, n.wave_dir, 0.5) ||
        float_moved(s.m_fixed, n.m_fixed, 0.5) || floats_moved(s.m_fuel, n.m_fuel, 0.5) ||
        float_moved(s.m_jettison, n.m_jettison, 0.5) || ints_moved(s.failures, n.failures, 0.1) ||
        floats_moved(s.failure_countdown, n.failure_countdown, 0.5);
    return moved ? 1 : 0;
}

void CYCLE_plane_stepped(int i)
{
    for (int s = 0; s < CYCLE_PEER_SLOTS; ++s) {
        if (!slot_live(s)) continue;
        const bool wanted = (s == 0 && i == 0 && tick(INTERVAL_TWENTIETH_SECOND)) || (s >= 1 && s <= 5) || s == 10;
        if (!wanted) continue;
        PLANE_pack_state(snap_record, i);
        NET_data_send("SNAP", s == 0 ? 1 : i, &snap_record, PLANE_STATE_BYTES, s);
    }
}

void update_plane_cycle()
{
    clock_from_system_time();
    weather_bounds();
    if (tick(INTERVAL_TENTH_SECOND) && any_peer_for_shared_state()) {
        send_stat();
        send_path();
    }
    if (tick(INTERVAL_TENTH_SECOND) && replay_recording_wanted()) record_replay();
    const sim_frame_ran ran = FLTMOD_sim_frame();
    if (!ran.flying) {
        screen_step();
        return;
    }
    data_output(ran.paused);
    if (ran.paused) {
        float s[12] = {};
        JOY_poll(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7], &s[8], &s[9], &s[10], &s[11], 1);
    }
}
