// UDP sockets for the network link: one non-blocking IPv4 datagram socket,
// this machine's own address, dotted-address parsing, sending to an address
// and port, and receiving one datagram with its true size. Readiness to read
// is watched by the message pump (PLAT_watch_socket in platform/plat_events.h),
// which turns it into socket notifications.
#pragma once

#include <cstdint>

constexpr int PLAT_UDP_PORT = 49000;   // the port every copy listens on

// The port the link binds: PLAT_UDP_PORT, unless an override is set. The
// override keeps two copies on one machine, and test programs, apart: it is
// taken from the environment variable ORVELL_UDP_PORT (a decimal port; 0 any
// free port) or from PLAT_udp_override_port, which wins. -1 clears the
// override set by the call.
int PLAT_udp_bind_port();
void PLAT_udp_override_port(int port);

// This machine's address as dotted text (at most 15 characters and the
// terminator, `size` bytes at least 16): the first IPv4 address of the host
// name. Returns 1 when the host name resolved; otherwise the text is
// "127.0.0.1" and the answer 0.
int PLAT_udp_own_address(char* out, int size);

// A non-blocking IPv4 UDP socket; -1 on failure.
int PLAT_udp_socket();
// Asks for receive and send buffers of `bytes` each and address reuse; false
// when the system refused one of them. The system may grant smaller buffers
// than asked without a word (Linux caps them at its own limits).
bool PLAT_udp_set_buffers(int fd, int bytes);
// Binds the socket to every local address at `port` (0 any free port).
bool PLAT_udp_bind(int fd, int port);
// The port the socket is bound to (0 when it is not bound or on failure).
int PLAT_udp_local_port(int fd);
void PLAT_udp_close(int fd);

// Sends one datagram to an IPv4 address (network byte order) and port. Returns
// the bytes sent, -1 on failure.
int PLAT_udp_send(int fd, uint32_t address_net, uint16_t port, const void* data, int length);

// Receives one waiting datagram into `buffer` (at most `capacity` bytes kept).
// Returns the datagram's true size, which is above `capacity` when it was cut
// short; -1 when none waits or on failure.
int PLAT_udp_receive(int fd, void* buffer, int capacity);

// Parses a dotted IPv4 text into an address in network byte order. False for
// an empty or unreadable text and for the all-ones address 255.255.255.255.
bool PLAT_parse_ipv4(const char* text, uint32_t* address_net);
