// The UDP link: one socket shared by every sender and receiver of the
// program. A sender names one of the twenty destination slots
// (links/net_slots.h), never an address. Datagrams that arrive are read into a
// 100-slot receive ring by the socket notification and handled once a frame by
// the receive pass (links/net_receive.h).
//
// Every datagram: a 4-character label, an index byte, the sender's byte-order
// mark ('0' little-endian, '1' big-endian) and the payload, under 2,800 bytes
// in all.
#pragma once

#include <cstdint>

constexpr int NET_PACKET_MAX = 2800;   // whole datagram, head included, must stay below this
constexpr int NET_HEAD_BYTES = 6;      // label (4), index byte, byte-order mark
constexpr int NET_RING_SLOTS = 100;
constexpr int NET_RING_BYTES = NET_PACKET_MAX;   // one ring slot
constexpr int NET_SOCKET_BUFFER_BYTES = 280000;
constexpr int NET_OWN_IP_SIZE = 16;
constexpr int NET_HEARTBEAT_SLOTS = 11;   // the heartbeat visits slots 0..10
constexpr char NET_OWN_MARK = '0';        // this machine is little-endian
// The most datagrams one receive pass handles (ten rings): a burst is read and
// handled in the frame it arrives in instead of being dropped by the system,
// and a flood cannot stop the frame.
constexpr int NET_RECEIVE_MOST_PER_PASS = 10 * NET_RING_SLOTS;

extern int32_t net_inited;   // set by the first NET_init, never cleared (NET_reset aside)

// The link's own state.
struct net_link_state {
    int net_socket = -1;
    char net_own_ip[NET_OWN_IP_SIZE] = {};         // this machine's address, dotted
    uint8_t data_send[NET_PACKET_MAX] = {};        // the datagram being sent
    int32_t net_heartbeat_slot = 0;                // the slot the last heartbeat tick visited
    uint8_t net_ring[NET_RING_SLOTS][NET_RING_BYTES] = {};
    int32_t net_ring_len[NET_RING_SLOTS] = {};     // byte count of each slot's datagram, -1 after a failed read
    int32_t net_ring_index = 0;                    // the slot written last
};
extern net_link_state net_link;

// Sends one datagram: the 4-character label, the index byte, the byte-order
// mark '0' and `length` bytes of payload, to destination slot `slot`.
// A slot that is not enabled or not valid drops the datagram silently.
// Fatal alerts: slot outside 0..19, length + 6 of 2,800 or more, a send before
// the link was started.
void NET_data_send(const char* label, int index, const void* payload, int length, int slot);

// Starts the link on its first call (socket bound to the UDP port, watched for
// reading); every call re-reads the enabled slots' addresses and, on the
// 0.1-s tick, sends the heartbeat to the next slot of 0..10 in turn. Set-up
// failures are fatal alerts.
void NET_init();
// Closes the socket when it was opened (the started flag stays set).
void NET_close();
// The socket notification: 1 reads one waiting datagram into the ring slot
// after the one written last (a slot not yet handled is never written over:
// the datagram then waits on the socket for the receive pass), 2 (ready to
// send) and anything else change nothing.
void NET_socket_notify(int event);
// Reads up to `most` waiting datagrams into the ring, one a notification
// would read; returns how many were read.
int NET_fill_ring(int most);
// Handles every datagram waiting in the receive ring, then what still waits
// on the socket, up to NET_RECEIVE_MOST_PER_PASS (links/net_receive.h).
void NET_receive();

// The UDP port the link's socket is bound to (0 while it has none).
int NET_bound_port();

// Closes the socket and clears the link and the started flag (a fresh start
// for tests; the receive copies, the tables and the refusal log go back with
// the reset registry's program group).
void NET_reset();
