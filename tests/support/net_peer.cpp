#include "tests/support/net_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_net.h"
#include "tests/support/test_network.h"

namespace {

constexpr int WAIT_MS = 2000;
const char MARKER[] = "\xffpeer-marker";
constexpr uint32_t LOOPBACK_NET = 0x7F000000u;   // 127.0.0.0, host order

// One receiving socket for every slot: the slots differ by address (slot s
// sends to 127.0.0.(s+1)), so the program's datagrams queue on one socket in
// the order it sent them, whichever slots they went to.
struct peer_state {
    int receiver = -1;
    int sender = -1;
    int port = 0;          // the receiver's, every slot's port
    int sender_port = 0;
    bool open = false;
    uint32_t marker_count = 0;
    std::vector<net_sent_datagram> log;
};
peer_state peer;

uint32_t slot_address(int slot) { return LOOPBACK_NET + 1u + static_cast<uint32_t>(slot); }

int open_bound(int port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("test peer: no socket");
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);   // every loopback address a slot points at
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("test peer: no bind");
    return fd;
}

void send_to(uint32_t address, int port, const void* data, size_t length)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(static_cast<uint16_t>(port));
    sendto(peer.sender, data, length, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

struct received {
    std::vector<uint8_t> bytes;
    uint32_t from = 0;        // source address and port, host order
    int from_port = 0;
    uint32_t to = 0;          // the address it was sent to
};

// Reads one datagram (waiting up to the wait); false when none came.
bool read_one(received& out, int wait_ms)
{
    pollfd p{peer.receiver, POLLIN, 0};
    if (poll(&p, 1, wait_ms) <= 0) return false;
    std::vector<uint8_t> buffer(70000);
    iovec io{buffer.data(), buffer.size()};
    char control[256];
    sockaddr_in source{};
    msghdr m{};
    m.msg_name = &source;
    m.msg_namelen = sizeof source;
    m.msg_iov = &io;
    m.msg_iovlen = 1;
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(peer.receiver, &m, MSG_DONTWAIT);
    if (n < 0) return false;
    out.to = 0;
    for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c)) {
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(c), sizeof info);
            out.to = ntohl(info.ipi_addr.s_addr);
        }
    }
    out.from = ntohl(source.sin_addr.s_addr);
    out.from_port = ntohs(source.sin_port);
    buffer.resize(static_cast<size_t>(n));
    out.bytes = std::move(buffer);
    return true;
}

bool is_marker(const std::vector<uint8_t>& b, uint32_t number)
{
    const size_t m = sizeof MARKER - 1;
    if (b.size() != m + 4 || std::memcmp(b.data(), MARKER, m) != 0) return false;
    uint32_t v;
    std::memcpy(&v, b.data() + m, 4);
    return v == number;
}

// The slot a datagram was sent to, from its destination address; -1 for an
// address no slot points at.
int slot_of(uint32_t to)
{
    for (int s = 0; s < NET_SLOT_COUNT; ++s)
        if (to == slot_address(s)) return s;
    return -1;
}

// Moves what the program sent since the last drain into the log: a marker
// sent behind its datagrams shows when all of them are in. Only datagrams
// from the program's own socket count; anything else on the port is not ours.
void drain()
{
    if (!peer.open) return;
    const uint32_t number = ++peer.marker_count;
    std::vector<uint8_t> marker(MARKER, MARKER + sizeof MARKER - 1);
    marker.resize(marker.size() + 4);
    std::memcpy(marker.data() + sizeof MARKER - 1, &number, 4);
    send_to(slot_address(0), peer.port, marker.data(), marker.size());
    const int program_port = NET_bound_port();
    for (received d; read_one(d, WAIT_MS);) {
        if ((d.from >> 24) != (LOOPBACK_NET >> 24)) continue;
        if (d.from_port == peer.sender_port) {
            if (is_marker(d.bytes, number)) break;
            continue;   // a late marker of an earlier drain
        }
        if (d.from_port != program_port || program_port <= 0) continue;
        const int slot = slot_of(d.to);
        if (slot < 0) continue;
        peer.log.push_back(net_sent_datagram{slot, std::move(d.bytes)});
    }
}

}  // namespace

void net_peer_attach()
{
    if (!peer.open) {
        peer.port = test_owned_port(TEST_PORT_PEER);
        peer.receiver = open_bound(peer.port);
        const int on = 1;
        setsockopt(peer.receiver, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        const int big = 4 << 20;
        setsockopt(peer.receiver, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
        peer.sender_port = test_owned_port(TEST_PORT_PEER_SENDER);
        peer.sender = open_bound(peer.sender_port);
        peer.open = true;
    }
    if (net_link.net_socket < 0) {   // never started, or closed by a shut-down
        NET_reset();
        PLAT_udp_override_port(test_owned_port(TEST_PORT_PROGRAM));
        NET_init();
    }
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        const uint32_t address = slot_address(s);
        std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "127.0.0.%u", address & 0xFFu);
        std::snprintf(net_port_text[s], NET_PORT_TEXT_SIZE, "%d", peer.port);
        net_slot_addr[s] = htonl(address);
    }
    net_peer_clear();
}

std::vector<net_sent_datagram>& net_peer_log()
{
    drain();
    return peer.log;
}

std::vector<net_sent_datagram> net_peer_sent(const std::string& label)
{
    std::vector<net_sent_datagram> out;
    for (const net_sent_datagram& d : net_peer_log())
        if (d.label() == label) out.push_back(d);
    return out;
}

void net_peer_clear()
{
    drain();
    peer.log.clear();
}

int net_peer_port(int slot) { return slot >= 0 && slot < NET_SLOT_COUNT && peer.open ? peer.port : 0; }

bool net_peer_send(const void* bytes, size_t length)
{
    if (!peer.open) net_peer_attach();
    const int port = NET_bound_port();
    if (port <= 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return sendto(peer.sender, bytes, length, 0, reinterpret_cast<sockaddr*>(&a), sizeof a) == static_cast<ssize_t>(length);
}

bool net_peer_send(const std::string& label, int index, char mark, const void* payload, size_t length)
{
    std::vector<uint8_t> d(6 + length);
    for (size_t k = 0; k < 4; ++k) d[k] = k < label.size() ? static_cast<uint8_t>(label[k]) : 0;
    d[4] = static_cast<uint8_t>(index);
    d[5] = static_cast<uint8_t>(mark);
    if (length) std::memcpy(d.data() + 6, payload, length);
    return net_peer_send(d.data(), d.size());
}

int net_peer_deliver(int expected)
{
    if (net_link.net_socket < 0) return 0;
    int read = 0;
    for (;;) {
        pollfd p{net_link.net_socket, POLLIN, 0};
        if (poll(&p, 1, read < expected ? WAIT_MS : 0) <= 0) return read;
        const uint64_t before = net_counters.read;
        NET_socket_notify(1);
        const int now = static_cast<int>(net_counters.read - before);
        if (now == 0) return read;   // the ring is full: the rest waits for the receive pass
        read += now;
    }
}
