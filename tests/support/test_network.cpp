#include "tests/support/test_network.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {

// Set for the children a test binary starts, which stay in their parent's network.
constexpr const char* PRIVATE_MARK = "ORVELL_TEST_NETWORK_PRIVATE";
constexpr const char* SHARED_REQUEST = "ORVELL_TEST_SHARED_NETWORK";
constexpr int BLOCK = TEST_OWNED_PORTS + 1;   // the lock's port, then the owned ones
constexpr int LOWEST_PORT = 1024;

// Brings the loopback interface up (a new network namespace starts with it
// down); false when it stays down.
bool loopback_up()
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    ifreq r{};
    std::snprintf(r.ifr_name, sizeof r.ifr_name, "lo");
    bool up = ioctl(fd, SIOCGIFFLAGS, &r) == 0;
    if (up && !(r.ifr_flags & IFF_UP)) {
        r.ifr_flags = static_cast<short>(r.ifr_flags | IFF_UP | IFF_RUNNING);
        up = ioctl(fd, SIOCSIFFLAGS, &r) == 0;
    }
    close(fd);
    return up;
}

// Runs before main, while the process has one thread: a namespace entered
// now holds for every thread and child that follows.
bool enter_private_network()
{
    if (std::getenv(PRIVATE_MARK)) return true;   // started by a test binary that made one
    if (std::getenv(SHARED_REQUEST)) {
        loopback_up();   // in a namespace a script made, the loopback may still be down
        return false;
    }
    if (unshare(CLONE_NEWNET) != 0) return false;   // not allowed here: the owned ports keep tests apart
    if (!loopback_up()) {
        std::fprintf(stderr, "test network: the private loopback could not be brought up\n");
        std::abort();
    }
    setenv(PRIVATE_MARK, "1", 1);
    return true;
}

const bool network_private = enter_private_network();

struct port_block {
    std::mutex lock;
    int base = 0;     // the lock's port; the owned ports follow it
    int lock_fd = -1;
};
port_block block;

// Ports below the ephemeral range when there is room there, else above it.
void free_range(int& lo, int& hi)
{
    int eph_lo = 32768, eph_hi = 60999;
    std::ifstream range("/proc/sys/net/ipv4/ip_local_port_range");
    range >> eph_lo >> eph_hi;
    if (eph_lo - LOWEST_PORT >= 64 * BLOCK) {
        lo = std::max(LOWEST_PORT, eph_lo - 16384);
        hi = eph_lo;   // exclusive
    } else {
        lo = eph_hi + 1;
        hi = 65536;
    }
}

void take_block()
{
    int lo = 0, hi = 0;
    free_range(lo, hi);
    const int blocks = (hi - lo) / BLOCK;
    if (blocks < 1) throw std::runtime_error("test network: no room for a block of ports");
    // Start where this process's id points, so binaries started together try different blocks first.
    const int first = static_cast<int>(static_cast<unsigned>(getpid()) * 2654435761u % static_cast<unsigned>(blocks));
    for (int n = 0; n < blocks; ++n) {
        const int base = lo + ((first + n) % blocks) * BLOCK;
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) break;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        a.sin_port = htons(static_cast<uint16_t>(base));
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            block.base = base;
            block.lock_fd = fd;
            return;
        }
        close(fd);
    }
    throw std::runtime_error("test network: every block of ports is taken");
}

}  // namespace

bool test_network_is_private() { return network_private; }

int test_owned_port(int k)
{
    if (k < 0 || k >= TEST_OWNED_PORTS) throw std::out_of_range("test network: no such owned port");
    const std::lock_guard<std::mutex> hold(block.lock);
    if (block.lock_fd < 0) take_block();
    return block.base + 1 + k;
}
