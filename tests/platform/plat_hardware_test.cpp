// The platform's hardware layers: serial ports on pseudo-terminals, named
// shared memory seen through a second mapping, and game controllers made in
// software.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/plat_joystick.h"
#include "platform/plat_serial.h"
#include "platform/plat_shm.h"
#include "tests/support/test_support.h"
#include "tests/support/virtual_joystick.h"

namespace {

constexpr const char* SETTINGS = "baud=9600 parity=N data=8 stop=1";

struct pty_pair {
    int master = -1, slave = -1;
    std::string path;
    pty_pair()
    {
        char name[256];
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("no pseudo-terminal");
        path = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~pty_pair()
    {
        close(master);
        close(slave);
    }
    std::string drain()
    {
        std::string out;
        char b[512];
        for (ssize_t n; (n = read(master, b, sizeof b)) > 0;) out.append(b, static_cast<size_t>(n));
        return out;
    }
};

}  // namespace

TEST(PlatSerial, PortOnAPseudoTerminalReadsWithoutWaitingAndWritesEveryByte)
{
    pty_pair pty;
    PLAT_serial_set_device("COM2", pty.path.c_str());
    EXPECT_EQ(std::string(PLAT_serial_device("COM2")), pty.path);
    plat_serial_step step = PLAT_SERIAL_OPEN;
    const int fd = PLAT_serial_open("COM2", SETTINGS, &step);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(step, PLAT_SERIAL_OK);

    uint8_t buf[16];
    EXPECT_EQ(PLAT_serial_read(fd, buf, sizeof buf), 0);   // nothing there: no wait
    const std::vector<uint8_t> out = {0x78, 0xFA, 0xB0, 0x00, 0xFF};
    EXPECT_EQ(PLAT_serial_write(fd, out.data(), static_cast<int>(out.size())), 5);
    EXPECT_EQ(pty.drain(), std::string("\x78\xFA\xB0\x00\xFF", 5));   // raw: no byte changed or added
    ASSERT_EQ(write(pty.master, "\x85\xF1\x0D", 3), 3);
    usleep(20000);
    ASSERT_EQ(PLAT_serial_read(fd, buf, 2), 2);   // at most what was asked; the rest waits
    ASSERT_EQ(PLAT_serial_read(fd, buf + 2, 8), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 3), "\x85\xF1\x0D");
    PLAT_serial_close(fd);
    // Closed, the port can be claimed again.
    const int again = PLAT_serial_open("COM2", SETTINGS, &step);
    EXPECT_GE(again, 0);
    PLAT_serial_close(again);
    PLAT_serial_set_device("COM2", nullptr);
    EXPECT_EQ(std::string(PLAT_serial_device("COM2")), "/dev/ttyS1");
}

TEST(PlatSerial, EachFailingStepIsNamed)
{
    temp_folder tmp;
    const std::string plain = tmp.write("not_a_terminal", "x").string();
    pty_pair pty;
    const struct {
        std::string device;
        const char* settings;
        plat_serial_step step;
    } cases[] = {
        {pty.path, "baud=9600 parity=N data=9 stop=1", PLAT_SERIAL_CONTROL_BLOCK},
        {pty.path, "speed=fast", PLAT_SERIAL_CONTROL_BLOCK},
        {tmp.prefix() + "missing", SETTINGS, PLAT_SERIAL_OPEN},
        {plain, SETTINGS, PLAT_SERIAL_STATE},
    };
    for (const auto& c : cases) {
        plat_serial_step step = PLAT_SERIAL_OK;
        EXPECT_EQ(PLAT_serial_open(c.device.c_str(), c.settings, &step), -1) << c.device;
        EXPECT_EQ(step, c.step) << c.device << " " << c.settings;
    }
}

TEST(PlatShm, SecondMappingSeesTheBytesAndTheAreaIsGrownOnlyWhenSmall)
{
    const std::string name = "/orvell_test_shm_" + std::to_string(getpid());
    plat_shm a;
    auto* view = static_cast<uint8_t*>(PLAT_shm_open(a, name.c_str(), 264));
    ASSERT_NE(view, nullptr);
    std::memcpy(view, "state", 5);

    // Another program opens the name and maps it.
    const int fd = shm_open(name.c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(lseek(fd, 0, SEEK_END), 264);
    void* other = mmap(nullptr, 264, PROT_READ, MAP_SHARED, fd, 0);
    ASSERT_NE(other, MAP_FAILED);
    EXPECT_EQ(std::memcmp(other, "state", 5), 0);
    view[0] = 'S';
    EXPECT_EQ(static_cast<const char*>(other)[0], 'S');

    // A second copy asking for less maps the same area and leaves its size.
    plat_shm b;
    ASSERT_NE(PLAT_shm_open(b, name.c_str(), 100), nullptr);
    EXPECT_EQ(std::memcmp(b.view, "State", 5), 0);
    EXPECT_EQ(lseek(fd, 0, SEEK_END), 264);

    // The first copy to close leaves the name while the second holds the area.
    PLAT_shm_close(a, true);
    EXPECT_EQ(a.view, nullptr);
    const int again = shm_open(name.c_str(), O_RDONLY, 0);
    EXPECT_GE(again, 0);
    if (again >= 0) close(again);
    PLAT_shm_close(b, true);
    EXPECT_EQ(static_cast<const char*>(other)[0], 'S');   // an open mapping keeps its bytes
    munmap(other, 264);
    close(fd);
    EXPECT_LT(shm_open(name.c_str(), O_RDONLY, 0), 0);   // the name is gone
    EXPECT_EQ(PLAT_shm_open(a, "no_slash", 264), nullptr);
}

TEST(PlatJoystick, VirtualControllerObjectsStateAndReconnection)
{
    ASSERT_TRUE(PLAT_joy_start());
    {
        virtual_joystick stick(9, 5, 20, 0x0777);
        int index = -1;
        PLAT_joy_update();
        PLAT_joy_enumerate(
            [](int i, void* ctx) {
                *static_cast<int*>(ctx) = i;   // the last one attached is ours
                return true;
            },
            &index);
        ASSERT_GE(index, 0);
        plat_joy* d = PLAT_joy_create(index);
        ASSERT_NE(d, nullptr);

        std::vector<int> kinds;
        PLAT_joy_enum_objects(
            d,
            [](plat_joy_object_kind k, int, void* ctx) {
                static_cast<std::vector<int>*>(ctx)->push_back(k);
                return true;
            },
            &kinds);
        std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 6, 6};   // six axes, then sliders
        expected.insert(expected.end(), 5, PLAT_JOY_HAT);
        expected.insert(expected.end(), 20, PLAT_JOY_BUTTON);
        EXPECT_EQ(kinds, expected);

        for (int k = 0; k < 8; ++k) ASSERT_EQ(PLAT_joy_set_range(d, k, -100, 100), PLAT_JOY_OK);
        EXPECT_EQ(PLAT_joy_set_range(d, 1, 5, 5), PLAT_JOY_FAILED);
        const int values[8] = {100, -100, 0, 5, -37, 63, 1, -1};
        for (int k = 0; k < 8; ++k) stick.axis(k, values[k]);
        stick.hat(0, 2);
        stick.hat(3, 7);
        stick.button(0, true);
        stick.button(19, true);
        PLAT_joy_update();
        ASSERT_EQ(PLAT_joy_poll(d), PLAT_JOY_OK);
        plat_joy_state s{};
        ASSERT_EQ(PLAT_joy_get_state(d, &s), PLAT_JOY_OK);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(s.axes[k], values[k]) << k;
        EXPECT_EQ(s.hats[0], 9000);
        EXPECT_EQ(s.hats[1], PLAT_JOY_HAT_CENTRED);
        EXPECT_EQ(s.hats[3], 31500);
        EXPECT_EQ(s.buttons[0], PLAT_JOY_BUTTON_DOWN);
        EXPECT_EQ(s.buttons[1], 0);
        EXPECT_EQ(s.buttons[19], PLAT_JOY_BUTTON_DOWN);
        EXPECT_EQ(s.buttons[20], 0);

        // Unplugged: lost until the same kind of controller comes back.
        stick.detach();
        PLAT_joy_update();
        EXPECT_EQ(PLAT_joy_poll(d), PLAT_JOY_INPUT_LOST);
        EXPECT_EQ(PLAT_joy_get_state(d, &s), PLAT_JOY_INPUT_LOST);
        EXPECT_EQ(PLAT_joy_acquire(d), PLAT_JOY_INPUT_LOST);
        virtual_joystick other_kind(2, 0, 2, 0x0778);
        EXPECT_EQ(PLAT_joy_acquire(d), PLAT_JOY_INPUT_LOST);
        virtual_joystick again(9, 5, 20, 0x0777);
        again.axis(0, -50);
        EXPECT_EQ(PLAT_joy_acquire(d), PLAT_JOY_OK);
        PLAT_joy_update();
        ASSERT_EQ(PLAT_joy_get_state(d, &s), PLAT_JOY_OK);
        EXPECT_EQ(s.axes[0], -50);   // the ranges set stay with the device
        PLAT_joy_release(d);
    }
    PLAT_joy_stop();
}
