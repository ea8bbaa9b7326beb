// Two copies of the program on loopback, each a process of its own started
// from this test binary: the first drives the second as its monitor 1, the
// second runs as "master machine, is external view". The test runs them in
// lock-step, one frame each per round, and reads their state back through
// pipes: the monitor's plane follows the master's, a cloud layer set on the
// master reaches the monitor, and with both network screens up the monitor
// tells whom it heard.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/app_mode.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_net.h"
#include "screens/network_screen.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "tests/support/test_network.h"

namespace {

namespace fs = std::filesystem;

enum copy_op : int32_t { OP_FRAME, OP_PAUSE, OP_CLOUD, OP_NETWORK_SCREEN, OP_QUIT };
struct copy_command {
    int32_t op;
    float a, b;
};
struct copy_report {
    float clock;
    float x, y, z;
    float cloud_base, cloud_tops;   // layer 1
    int32_t paused;
    int32_t mode;
    char status[200];               // the network screen's line for slot 1
};

bool read_all(int fd, void* p, size_t n, int wait_ms)
{
    auto* b = static_cast<uint8_t*>(p);
    while (n > 0) {
        pollfd q{fd, POLLIN, 0};
        if (poll(&q, 1, wait_ms) <= 0) return false;
        const ssize_t got = read(fd, b, n);
        if (got <= 0) return false;
        b += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}

bool write_all(int fd, const void* p, size_t n) { return write(fd, p, n) == static_cast<ssize_t>(n); }

copy_report report_now()
{
    copy_report r{};
    r.clock = sim_time.total_flight_time_sec;
    r.x = flt[0].local_x;
    r.y = flt[0].local_y;
    r.z = flt[0].local_z;
    r.cloud_base = sim_weather.cloud_base_msl_m[1];
    r.cloud_tops = sim_weather.cloud_tops_msl_m[1];
    r.paused = sim_time.paused;
    r.mode = app_mode;
    SETUP_network_status_line(1, r.status, sizeof r.status);
    return r;
}

struct copy_process {
    pid_t pid = -1;
    int to = -1, from = -1;

    // A command, and then its report: apart, two copies run their commands side by side.
    bool post(copy_op op, float a = 0.0f, float b = 0.0f) const
    {
        const copy_command c{op, a, b};
        return write_all(to, &c, sizeof c);
    }
    copy_report reply(bool posted = true) const
    {
        copy_report r{};
        if (!posted || !read_all(from, &r, sizeof r, 120000)) r.mode = -999;
        return r;
    }
    copy_report send(copy_op op, float a = 0.0f, float b = 0.0f) const { return reply(post(op, a, b)); }
};

copy_process spawn_copy(const char* role, int own_port, int peer_port)
{
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(down[1]);
        close(up[0]);
        const std::string fds = std::to_string(down[0]) + "," + std::to_string(up[1]);
        setenv("ORVELL_COPY_ROLE", role, 1);
        setenv("ORVELL_COPY_FDS", fds.c_str(), 1);
        setenv("ORVELL_COPY_PEER", std::to_string(peer_port).c_str(), 1);
        setenv("ORVELL_UDP_PORT", std::to_string(own_port).c_str(), 1);
        // The copy runs its one role whichever shard of the suite spawned it,
        // and writes no test results of its own.
        unsetenv("GTEST_TOTAL_SHARDS");
        unsetenv("GTEST_SHARD_INDEX");
        unsetenv("GTEST_OUTPUT");
        // The copies skip the leak check at exit: its tracer has crashed
        // beside the renderer's threads of a whole program, turning a clean
        // exit into a failure. This process keeps the check.
        const char* asan = std::getenv("ASAN_OPTIONS");
        const std::string options = std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "detect_leaks=0";
        setenv("ASAN_OPTIONS", options.c_str(), 1);
        char self[] = "/proc/self/exe";
        char filter[] = "--gtest_filter=TwoCopies.MonitorFollowsItsMasterOverLoopback";
        char brief[] = "--gtest_brief=1";
        char* argv[] = {self, filter, brief, nullptr};
        execv(self, argv);
        _exit(127);
    }
    close(down[0]);
    close(up[1]);
    return copy_process{pid, down[1], up[0]};
}

int wait_exit(pid_t pid)
{
    int status = 0;
    for (int k = 0; k < 600; ++k) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        usleep(100000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

// One copy, run by the test below in a process of its own: the test binary
// started again with ORVELL_COPY_ROLE set runs this in place of the test.
void run_copy(const char* role)
{
    int from_test = -1, to_test = -1;
    std::sscanf(std::getenv("ORVELL_COPY_FDS"), "%d,%d", &from_test, &to_test);
    const int peer_port = std::atoi(std::getenv("ORVELL_COPY_PEER"));
    const bool master = std::strcmp(role, "first") == 0;

    auto folder = copy_default_data_folder();
    const fs::path kept = fs::current_path();
    fs::current_path(folder->path());
    PLAT_udp_override_port(-1);   // the port comes from ORVELL_UDP_PORT, as for a copy started beside another
    start_program(*folder);
    const int slot = master ? 1 : 6;   // monitor 1, or "master machine, is external view"
    std::snprintf(net_ip_text[slot], NET_IP_TEXT_SIZE, "127.0.0.1");
    std::snprintf(net_port_text[slot], NET_PORT_TEXT_SIZE, "%d", peer_port);
    net_slot_enabled[slot] = 1;
    NET_init();
    APPLICATION_set_mode(MODE_FLYING, "from the test");
    copy_report hello = report_now();
    write_all(to_test, &hello, sizeof hello);
    const unseen_frames unseen;   // the copies' state is looked at, not their pictures

    for (copy_command c{}; read_all(from_test, &c, sizeof c, 300000) && c.op != OP_QUIT;) {
        switch (c.op) {
        case OP_FRAME:
            test_clock_seconds += 0.02;
            MACIBM_do_frame();
            break;
        case OP_PAUSE: sim_time.paused = 1; break;
        case OP_CLOUD:
            sim_weather.cloud_base_msl_m[1] = c.a;
            sim_weather.cloud_tops_msl_m[1] = c.b;
            break;
        case OP_NETWORK_SCREEN:
            APPLICATION_set_mode(MODE_NETWORK, "from the test");
            network_screen.network_tab = 1;
            break;
        default: break;
        }
        const copy_report r = report_now();
        write_all(to_test, &r, sizeof r);
    }
    stop_program();
    fs::current_path(kept);
}

}  // namespace

TEST(TwoCopies, MonitorFollowsItsMasterOverLoopback)
{
    if (const char* role = std::getenv("ORVELL_COPY_ROLE")) return run_copy(role);
    // Ports this test owns: the copies bind them, nothing else on the machine sends there.
    const int first_port = test_owned_port(TEST_PORT_FREE_FIRST), second_port = test_owned_port(TEST_PORT_FREE_FIRST + 1);
    const copy_process first = spawn_copy("first", first_port, second_port);
    const copy_process second = spawn_copy("second", second_port, first_port);
    ASSERT_GT(first.pid, 0);
    ASSERT_GT(second.pid, 0);
    copy_report a{}, b{};
    ASSERT_TRUE(read_all(first.from, &a, sizeof a, 120000)) << "the first copy did not start";
    ASSERT_TRUE(read_all(second.from, &b, sizeof b, 120000)) << "the second copy did not start";
    // In lock-step: the second's frame sees the first's frame before it.
    auto round = [&] {
        a = first.send(OP_FRAME);
        b = second.send(OP_FRAME);
    };
    // Side by side, where no figure is read against the frames' order.
    auto frames_together = [&] {
        const bool posted = first.post(OP_FRAME), posted_too = second.post(OP_FRAME);
        a = first.reply(posted);
        b = second.reply(posted_too);
    };

    // Two seconds of flight, then the first pauses: the second's plane stands where the first's is.
    for (int k = 0; k < 100; ++k) frames_together();
    a = first.send(OP_PAUSE);
    ASSERT_EQ(a.paused, 1);
    int frames = 0;
    for (; frames < 20; ++frames) {
        round();
        if (std::fabs(b.x - a.x) < 0.01f && std::fabs(b.y - a.y) < 0.01f && std::fabs(b.z - a.z) < 0.01f) break;
    }
    EXPECT_LE(frames, 3) << "the monitor stands at (" << b.x << ", " << b.y << ", " << b.z << "), the master at ("
                         << a.x << ", " << a.y << ", " << a.z << ")";

    // A cloud layer set on the first reaches the second with the shared state.
    a = first.send(OP_CLOUD, b.cloud_base + 1500.0f, b.cloud_tops + 1500.0f);
    round();
    const float base = a.cloud_base;   // as the first holds it within its bounds
    int rounds = 0;
    for (; rounds < 100 && std::fabs(b.cloud_base - base) > 0.01f; ++rounds) round();
    // The shared state goes to one slot of 0..12 each tenth of a second: at most 1.3 s.
    EXPECT_LE(rounds * 0.02f, 1.32f) << "the cloud layer did not arrive";
    EXPECT_EQ(b.cloud_tops, a.cloud_tops);

    // Both network screens up: the second hears the first's heartbeat as its monitor 1.
    a = first.send(OP_NETWORK_SCREEN);
    b = second.send(OP_NETWORK_SCREEN);
    for (int k = 0; k < 150 && b.status[0] == 0; ++k) frames_together();
    EXPECT_EQ(std::string(b.status).rfind("Got a test transmission from someone talking to a monitor 1", 0), 0u)
        << b.status;

    first.post(OP_QUIT);   // both quit side by side
    second.post(OP_QUIT);
    EXPECT_EQ(wait_exit(first.pid), 0);
    EXPECT_EQ(wait_exit(second.pid), 0);
}
