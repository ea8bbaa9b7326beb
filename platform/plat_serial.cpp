#include "platform/plat_serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int WRITE_WAIT_MS = 3000;   // longest wait for the system to take a write

struct serial_devices {
    std::string com1 = "/dev/ttyS0";
    std::string com2 = "/dev/ttyS1";
};
serial_devices devices;

struct line_settings {
    speed_t speed = B9600;
    int data_bits = 8;
    char parity = 'N';
    int stop_bits = 1;
};

speed_t speed_of(long baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

// "baud=9600 parity=N data=8 stop=1": every word must be known.
bool parse_settings(const char* text, line_settings& out)
{
    if (!text) return false;
    char key[16], value[16];
    const char* p = text;
    int used = 0;
    while (std::sscanf(p, " %15[^= ]=%15s%n", key, value, &used) == 2) {
        p += used;
        const std::string k(key);
        if (k == "baud") {
            out.speed = speed_of(std::strtol(value, nullptr, 10));
            if (out.speed == 0) return false;
        } else if (k == "parity") {
            out.parity = value[0];
            if (out.parity != 'N' && out.parity != 'E' && out.parity != 'O') return false;
        } else if (k == "data") {
            out.data_bits = static_cast<int>(std::strtol(value, nullptr, 10));
            if (out.data_bits < 5 || out.data_bits > 8) return false;
        } else if (k == "stop") {
            out.stop_bits = static_cast<int>(std::strtol(value, nullptr, 10));
            if (out.stop_bits != 1 && out.stop_bits != 2) return false;
        } else {
            return false;
        }
    }
    while (*p == ' ') ++p;
    return *p == 0;
}

bool apply_settings(int fd, const line_settings& s)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    if (cfsetispeed(&t, s.speed) != 0 || cfsetospeed(&t, s.speed) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    static const tcflag_t sizes[4] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[s.data_bits - 5] | CLOCAL | CREAD;
    if (s.parity != 'N') t.c_cflag |= PARENB;
    if (s.parity == 'O') t.c_cflag |= PARODD;
    if (s.stop_bits == 2) t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Reads return at once with what is buffered.
bool immediate_reads(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

const char* PLAT_serial_device(const char* port_name)
{
    if (!port_name) return "";
    if (std::strcmp(port_name, "COM1") == 0) return devices.com1.c_str();
    if (std::strcmp(port_name, "COM2") == 0) return devices.com2.c_str();
    return port_name;
}

void PLAT_serial_set_device(const char* port_name, const char* device)
{
    if (!port_name) return;
    const serial_devices defaults;
    if (std::strcmp(port_name, "COM1") == 0) devices.com1 = device ? device : defaults.com1;
    if (std::strcmp(port_name, "COM2") == 0) devices.com2 = device ? device : defaults.com2;
}

int PLAT_serial_open(const char* port_name, const char* settings, plat_serial_step* failed_step)
{
    plat_serial_step dummy;
    plat_serial_step& step = failed_step ? *failed_step : dummy;
    step = PLAT_SERIAL_OK;
    line_settings s;
    if (!parse_settings(settings, s)) {
        step = PLAT_SERIAL_CONTROL_BLOCK;
        return -1;
    }
    // Not shared: the terminal is claimed for this program while it is open.
    const int fd = open(PLAT_serial_device(port_name), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        step = PLAT_SERIAL_OPEN;
        return -1;
    }
    if (!isatty(fd)) {
        close(fd);
        step = PLAT_SERIAL_STATE;
        return -1;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        close(fd);
        step = PLAT_SERIAL_OPEN;
        return -1;
    }
    auto fail = [&](plat_serial_step at) {
        PLAT_serial_close(fd);
        step = at;
        return -1;
    };
    if (!apply_settings(fd, s)) return fail(PLAT_SERIAL_STATE);
    if (!immediate_reads(fd)) return fail(PLAT_SERIAL_TIMEOUTS);
    if (tcflow(fd, TCOON) != 0) return fail(PLAT_SERIAL_PURGE_TX_ABORT);
    if (tcflush(fd, TCIFLUSH) != 0) return fail(PLAT_SERIAL_PURGE_RX_ABORT);
    if (tcflush(fd, TCIFLUSH) != 0) return fail(PLAT_SERIAL_PURGE_RX_CLEAR);
    if (tcflush(fd, TCOFLUSH) != 0) return fail(PLAT_SERIAL_PURGE_TX_CLEAR);
    return fd;
}

void PLAT_serial_close(int fd)
{
    if (fd < 0) return;
    ioctl(fd, TIOCNXCL);   // the next open, ours or another program's, may claim it again
    close(fd);
}

int PLAT_serial_read(int fd, uint8_t* buffer, int size)
{
    if (fd < 0 || !buffer || size <= 0) return -1;
    for (;;) {
        const ssize_t n = read(fd, buffer, static_cast<size_t>(size));
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

int PLAT_serial_write(int fd, const uint8_t* bytes, int count)
{
    if (fd < 0 || !bytes || count <= 0) return 0;
    int done = 0;
    int waited_ms = 0;
    while (done < count) {
        const ssize_t n = write(fd, bytes + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
        if (waited_ms >= WRITE_WAIT_MS) break;
        pollfd p{fd, POLLOUT, 0};
        const int slice = 100;
        if (poll(&p, 1, slice) < 0 && errno != EINTR) break;
        waited_ms += slice;
    }
    return done;
}
