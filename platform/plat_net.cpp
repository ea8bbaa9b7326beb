#include "platform/plat_net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int NO_OVERRIDE = -1;
int override_port = NO_OVERRIDE;

// A decimal port 0..65535, or -1 for anything else.
int port_from_text(const char* text)
{
    if (!text || !text[0]) return -1;
    long v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return -1;
        v = v * 10 + (*p - '0');
        if (v > 65535) return -1;
    }
    return static_cast<int>(v);
}

}  // namespace

int PLAT_udp_bind_port()
{
    if (override_port != NO_OVERRIDE) return override_port;
    const int env = port_from_text(std::getenv("ORVELL_UDP_PORT"));
    return env >= 0 ? env : PLAT_UDP_PORT;
}

void PLAT_udp_override_port(int port) { override_port = (port >= 0 && port <= 65535) ? port : NO_OVERRIDE; }

int PLAT_udp_own_address(char* out, int size)
{
    if (!out || size < 16) return 0;
    std::snprintf(out, static_cast<size_t>(size), "%s", "127.0.0.1");
    char host[500] = {};
    if (gethostname(host, sizeof host - 1) != 0 || !host[0]) return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return 0;
    int ok = 0;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
            std::snprintf(out, static_cast<size_t>(size), "%s", text);
            ok = 1;
            break;
        }
    }
    freeaddrinfo(found);
    return ok;
}

int PLAT_udp_socket()
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return fd >= 0 ? fd : -1;
}

bool PLAT_udp_set_buffers(int fd, int bytes)
{
    const int on = 1;
    return setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0 &&
           setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes) == 0 &&
           setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0;
}

bool PLAT_udp_bind(int fd, int port)
{
    if (port < 0 || port > 65535) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

int PLAT_udp_local_port(int fd)
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (fd < 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) return 0;
    return ntohs(a.sin_port);
}

void PLAT_udp_close(int fd)
{
    if (fd >= 0) close(fd);
}

int PLAT_udp_send(int fd, uint32_t address_net, uint16_t port, const void* data, int length)
{
    if (fd < 0 || length < 0) return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address_net;
    a.sin_port = htons(port);
    const ssize_t n = sendto(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&a),
                             sizeof a);
    return n < 0 ? -1 : static_cast<int>(n);
}

int PLAT_udp_receive(int fd, void* buffer, int capacity)
{
    if (fd < 0 || capacity < 0) return -1;
    // MSG_TRUNC: the answer is the datagram's true size even when it did not fit.
    ssize_t n;
    do {
        n = recv(fd, buffer, static_cast<size_t>(capacity), MSG_TRUNC | MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

bool PLAT_parse_ipv4(const char* text, uint32_t* address_net)
{
    if (!text || !text[0] || !address_net) return false;
    in_addr a{};
    if (inet_aton(text, &a) == 0) return false;
    if (a.s_addr == INADDR_NONE) return false;   // the all-ones address is the parser's "none"
    *address_net = a.s_addr;
    return true;
}
