// The UDP link: the one send routine every sender of the program calls.
// A sender names a destination slot (links/net_slots.h), never an address.
#pragma once

#include <cstdint>

constexpr int NET_PACKET_MAX = 2800;   // whole datagram, head included, must stay below this
constexpr int NET_HEAD_BYTES = 6;      // label (4), index byte, byte-order mark

extern int32_t net_inited;             // set by the first NET_init

// Sends one datagram: the 4-character label, the index byte, the byte-order
// mark '0' and `length` bytes of payload, to destination slot `slot`.
// A slot that is not enabled or not valid drops the datagram silently.
// Fatal alerts: slot outside 0..19, length + 6 of 2,800 or more.
void NET_data_send(const char* label, int index, const void* payload, int length, int slot);

// Starts the UDP link (once; a second call does nothing).
void NET_init();
// Closes the socket when it was opened.
void NET_close();
// Walks the datagrams received since the last call and dispatches each by its label.
void NET_receive();
// The socket notification: 1 data to read (one datagram into the receive
// ring), 2 ready to send.
void NET_socket_notify(int event);
