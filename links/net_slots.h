// The twenty network destination slots (the "IP index"). A sender names a
// slot, never an address. Roles of slots 0..12: 0 multiplayer peer, 1..5
// external visual monitors, 6..9 master machine (four kinds), 10 instructor
// station, 11 motion platform, 12 data output; 13..19 have no role.
#pragma once

#include <cstdint>

constexpr int NET_SLOT_COUNT = 20;
constexpr int NET_IP_TEXT_SIZE = 16;     // dotted IPv4 text, at most 15 characters
constexpr int NET_PORT_TEXT_SIZE = 6;    // decimal port, at most 5 digits

// The roles in which this copy takes the user's plane from the network: it
// shows a master's flight (slots 6..9) or a station instructs it (slot 10).
constexpr int NET_SLOT_FOLLOWING_FIRST = 6;
constexpr int NET_SLOT_FOLLOWING_LAST = 10;
constexpr bool NET_slot_follows(int slot) { return slot >= NET_SLOT_FOLLOWING_FIRST && slot <= NET_SLOT_FOLLOWING_LAST; }

extern char net_ip_text[NET_SLOT_COUNT][NET_IP_TEXT_SIZE];
extern char net_port_text[NET_SLOT_COUNT][NET_PORT_TEXT_SIZE];
extern int32_t net_slot_enabled[NET_SLOT_COUNT];      // switched on the network screen, kept with the preferences
extern int32_t net_slot_valid[NET_SLOT_COUNT];        // 1 when the address text parsed
extern uint32_t net_slot_addr[NET_SLOT_COUNT];        // the parsed address, network order
extern int32_t net_peer_heard[NET_SLOT_COUNT];        // a peer of that role was heard
extern float net_peer_heard_time[NET_SLOT_COUNT];     // frame-clock seconds when it was heard
