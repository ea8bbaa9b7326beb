#include "flightmodel/plane_override.h"

#include <cmath>

#include "core/numeric.h"
#include "core/replay.h"
#include "flightmodel/plane_state.h"

#include "flightmodel/flt.h"
#include "links/net_slots.h"
#include "core/simvars/network.h"
#include "core/simvars/operation.h"

namespace {

constexpr int ROLE_MULTIPLAYER = 0;
constexpr int ROLE_MASTER_FIRST = 6;
constexpr int ROLE_MASTER_LAST = 9;

bool master_role_enabled()
{
    for (int r = ROLE_MASTER_FIRST; r <= ROLE_MASTER_LAST; ++r)
        if (net_slot_enabled[r] != 0) return true;
    return false;
}

bool override_set(int n)
{
    return n >= 0 && n < FLT_SLOTS && sim_operation_override.override_planepath[n] != 0;
}

}  // namespace

int PLANE_path_overridden(int n) { return (master_role_enabled() || override_set(n)) ? 1 : 0; }

int PLANE_externally_moved(int n)
{
    if (net_slot_enabled[ROLE_MULTIPLAYER] != 0 && n >= 1) return 1;
    return PLANE_path_overridden(n);
}

namespace {

// A record whose time is not above 0.01 is empty. So is one whose time is not
// finite (the published clock set to infinity by a plug-in is recorded as it
// is): counted as recorded, it would move the replay clock to infinity for
// good, and with it every clock derived from it.
bool recorded(float t) { return std::isfinite(t) && t > 0.01f; }

}  // namespace

void PLANE_follow_override(int n)
{
    // A slot outside 0..9 would index past the plane records; it is ignored.
    if (n < 0 || n >= FLT_SLOTS) return;
    if (master_role_enabled() || override_set(n)) return;   // the outside writes the state itself
    flt_struct& f = flt[n];
    const float dt = sim_operation_misc.frame_rate_period;
    f.theta = UTIL_wrap_180(f.theta + f.Q * dt);
    f.psi = UTIL_wrap_360(f.psi + f.R * dt);
    f.phi = UTIL_wrap_180(f.phi + f.P * dt);
    f.local_x += f.local_vx * dt;
    f.local_y += f.local_vy * dt;
    f.local_z += f.local_vz * dt;
}

void REPLAY_play_own_plane(int n)
{
    int32_t& mode = sim_operation_prefs.replay_mode;
    // A mode outside 0..9 (written by a plug-in or a datagram) would read past
    // the table of clock rates; such a mode leaves the clock and the plane alone.
    if (mode < REPLAY_OFF || mode > REPLAY_TO_END) return;
    float& clock = sim_network_misc.network_time_sec;
    const float dt = sim_operation_misc.frame_rate_period;
    static constexpr float rate_of_mode[10] = {0.0f, 0.0f, -5.0f, -1.0f, -0.2f, 0.0f, 0.2f, 1.0f, 5.0f, 0.0f};
    clock += rate_of_mode[mode] * dt;

    float earliest = 999999.875f, latest = -999999.875f;
    bool found = false;
    for (int i = 0; i < REPLAY_RING_SIZE; ++i) {
        const int j = i + 1 < REPLAY_RING_SIZE ? i + 1 : 0;
        const float ti = replay_ring[i].network_time_sec;
        const float tj = replay_ring[j].network_time_sec;
        if (recorded(ti)) {
            if (ti < earliest) earliest = ti;
            if (ti > latest) latest = ti;
        }
        if (mode == REPLAY_TO_START) clock = earliest;
        if (mode == REPLAY_TO_END) clock = latest;
        if (recorded(ti) && recorded(tj) && ti <= clock && clock <= tj) {
            const float f = tj == ti ? 0.5f : (clock - ti) * (1.0f / (tj - ti));
            PLANE_unpack_state(replay_ring[i], replay_ring[j], f, PLANE_UNPACK_REPLAY, n);
            found = true;
        }
    }
    if (!found) mode = REPLAY_PAUSED;
    if (earliest < latest) {
        if (clock < earliest) clock = earliest;
        if (clock > latest) clock = latest;
    }
}
