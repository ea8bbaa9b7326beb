// The settings peers set for the flight, kept apart from the user's own.
#include "links/net_peer_settings.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/reset_registry.h"
#include "links/net_slots.h"

namespace {

constexpr size_t PLACE_BYTES = 16;   // the largest place: an address text

struct peer_set_place {
    void* place = nullptr;
    size_t size = 0;
    int group = -1;
    std::array<unsigned char, PLACE_BYTES> users{};   // before the first peer's write
    std::array<unsigned char, PLACE_BYTES> peers{};   // after the peer's last write
    bool swapped = false;                             // holds the user's value for a write
    bool holds_peers() const { return std::memcmp(place, peers.data(), size) == 0; }
};

struct peer_settings_record {
    std::vector<peer_set_place> places;
};
peer_settings_record peer_settings;

peer_set_place* find(const void* place)
{
    for (peer_set_place& p : peer_settings.places)
        if (p.place == place) return &p;
    return nullptr;
}

// Drops every place of the group of a place the user has changed since the
// peer set it (that place, or all of its group): they are the user's again.
void drop_users_changes()
{
    std::vector<int> changed_groups;
    for (const peer_set_place& p : peer_settings.places)
        if (p.group >= 0 && !p.holds_peers()) changed_groups.push_back(p.group);
    std::vector<peer_set_place> kept;
    for (const peer_set_place& p : peer_settings.places) {
        bool group_changed = false;
        for (int g : changed_groups) group_changed = group_changed || g == p.group;
        if (p.holds_peers() && !group_changed) kept.push_back(p);
    }
    peer_settings.places.swap(kept);
}

}  // namespace

ORVELL_RESET_RECORD(NET_peer_settings_reset, peer_settings, program);

NET_peer_setting_write::NET_peer_setting_write(void* place, size_t size, int group) : place_(nullptr)
{
    if (place == nullptr || size == 0 || size > PLACE_BYTES) return;
    place_ = place;
    peer_set_place* p = find(place);
    // A place the user changed after the peer's last write holds the user's value now.
    if (p && !p->holds_peers()) {
        std::memcpy(p->users.data(), place, size);
        return;
    }
    if (p) return;
    peer_set_place added;
    added.place = place;
    added.size = size;
    added.group = group;
    std::memcpy(added.users.data(), place, size);
    std::memcpy(added.peers.data(), place, size);
    peer_settings.places.push_back(added);
}

NET_peer_setting_write::~NET_peer_setting_write()
{
    if (place_ == nullptr) return;
    if (peer_set_place* p = find(place_)) std::memcpy(p->peers.data(), place_, p->size);
}

NET_users_settings_scope::NET_users_settings_scope(bool active) : active_(active)
{
    if (!active_) return;
    drop_users_changes();
    for (peer_set_place& p : peer_settings.places) {
        std::memcpy(p.place, p.users.data(), p.size);
        p.swapped = true;
    }
}

NET_users_settings_scope::~NET_users_settings_scope()
{
    if (!active_) return;
    for (peer_set_place& p : peer_settings.places) {
        if (!p.swapped) continue;
        std::memcpy(p.place, p.peers.data(), p.size);
        p.swapped = false;
    }
}

bool NET_slot_set_by_peer(int slot)
{
    if (slot < 0 || slot >= NET_SLOT_COUNT || !net_slot_enabled[slot]) return false;
    for (const peer_set_place& p : peer_settings.places)
        if (p.group == slot && p.holds_peers()) return true;
    return false;
}

void NET_forget_peer_settings() { peer_settings.places.clear(); }
