// Settings a peer sets through the link ("GSET" rendering and view settings,
// "ISET" destination slots) last for the flight: the preferences keep the
// user's own values. Each place a peer writes is remembered with the value it
// held before (the user's) and the value the peer left; while the place still
// holds the peer's value, every preferences write puts the user's value in
// its place for the length of the write. Once the user changes it (or any
// place of the same group, a destination slot's address, port and switch),
// it is the user's again.
#pragma once

#include <cstddef>

// A peer's write of one place of `size` bytes (at most 16), in one group
// (a destination slot's number, or -1 for none): made before the write, it
// keeps the user's value; ended, it keeps the peer's.
class NET_peer_setting_write {
public:
    NET_peer_setting_write(void* place, size_t size, int group = -1);
    ~NET_peer_setting_write();
    NET_peer_setting_write(const NET_peer_setting_write&) = delete;
    NET_peer_setting_write& operator=(const NET_peer_setting_write&) = delete;

private:
    void* place_;
};

// For the length of a preferences write (active true): each place a peer set
// holds the user's value, and the peer's again afterwards.
class NET_users_settings_scope {
public:
    explicit NET_users_settings_scope(bool active);
    ~NET_users_settings_scope();
    NET_users_settings_scope(const NET_users_settings_scope&) = delete;
    NET_users_settings_scope& operator=(const NET_users_settings_scope&) = delete;

private:
    bool active_;
};

// True while destination slot `slot` is switched on as a peer set it.
bool NET_slot_set_by_peer(int slot);
// Forgets what peers set: the values live now are the user's (a read of the
// user's preferences).
void NET_forget_peer_settings();
