// The socket side of the UDP link: puts one finished datagram (head and
// payload, `length` bytes) on the wire to destination slot `slot`. The caller
// has checked the slot and the size.
#pragma once

#include <cstdint>

void NET_socket_send(int slot, const uint8_t* datagram, int length);
