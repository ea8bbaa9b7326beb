#include "tests/support/net_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_net.h"

namespace {

constexpr int WAIT_MS = 2000;
const char MARKER[] = "\xffpeer-marker";

struct peer_state {
    int sockets[NET_SLOT_COUNT];
    int ports[NET_SLOT_COUNT];
    int sender = -1;
    bool open = false;
    uint32_t marker_count = 0;
    std::vector<net_sent_datagram> log;
};
peer_state peer;

struct stamped {
    timespec when;
    int slot;
    std::vector<uint8_t> bytes;
};

int open_receiver(int& port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("test peer: no socket");
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    const int big = 4 << 20;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("test peer: no bind");
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

void send_to_port(int port, const void* data, size_t length)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    sendto(peer.sender, data, length, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

// Reads one datagram (blocking up to the wait); false when none came.
bool read_one(int fd, stamped& out, int wait_ms)
{
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, wait_ms) <= 0) return false;
    std::vector<uint8_t> buffer(70000);
    iovec io{buffer.data(), buffer.size()};
    char control[256];
    msghdr m{};
    m.msg_iov = &io;
    m.msg_iovlen = 1;
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd, &m, MSG_DONTWAIT);
    if (n < 0) return false;
    out.when = timespec{};
    for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c))
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) std::memcpy(&out.when, CMSG_DATA(c), sizeof out.when);
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

// Moves everything the sockets hold into the log, in send order: a marker
// sent to each socket behind the program's datagrams shows when all of them
// are in.
void drain()
{
    if (!peer.open) return;
    const uint32_t number = ++peer.marker_count;
    std::vector<uint8_t> marker(MARKER, MARKER + sizeof MARKER - 1);
    marker.resize(marker.size() + 4);
    std::memcpy(marker.data() + sizeof MARKER - 1, &number, 4);
    for (int s = 0; s < NET_SLOT_COUNT; ++s) send_to_port(peer.ports[s], marker.data(), marker.size());
    std::vector<stamped> got;
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        for (;;) {
            stamped d;
            if (!read_one(peer.sockets[s], d, WAIT_MS)) break;
            if (is_marker(d.bytes, number)) break;
            if (d.bytes.size() >= sizeof MARKER - 1 && std::memcmp(d.bytes.data(), MARKER, sizeof MARKER - 1) == 0)
                continue;   // a late marker of an earlier drain
            d.slot = s;
            got.push_back(std::move(d));
        }
    }
    std::stable_sort(got.begin(), got.end(), [](const stamped& a, const stamped& b) {
        return a.when.tv_sec != b.when.tv_sec ? a.when.tv_sec < b.when.tv_sec : a.when.tv_nsec < b.when.tv_nsec;
    });
    for (stamped& d : got) peer.log.push_back(net_sent_datagram{d.slot, std::move(d.bytes)});
}

}  // namespace

void net_peer_attach()
{
    if (!peer.open) {
        for (int s = 0; s < NET_SLOT_COUNT; ++s) peer.sockets[s] = open_receiver(peer.ports[s]);
        peer.sender = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        peer.open = true;
    }
    if (net_link.net_socket < 0) {   // never started, or closed by a shut-down
        NET_reset();
        PLAT_udp_override_port(0);
        NET_init();
    }
    uint32_t loopback = 0;
    PLAT_parse_ipv4("127.0.0.1", &loopback);
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "127.0.0.1");
        std::snprintf(net_port_text[s], NET_PORT_TEXT_SIZE, "%d", peer.ports[s]);
        net_slot_addr[s] = loopback;
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

int net_peer_port(int slot) { return slot >= 0 && slot < NET_SLOT_COUNT && peer.open ? peer.ports[slot] : 0; }

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
