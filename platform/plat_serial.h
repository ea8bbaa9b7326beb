// Serial ports: a port named "COM1" or "COM2" is the terminal device the
// installation gives it (/dev/ttyS0 and /dev/ttyS1 unless set), opened raw at
// 9600 baud, 8 data bits, no parity, one stop bit. Reads never wait: they take
// what has arrived. Writes finish when the system has taken every byte.
#pragma once

#include <cstdint>

// The steps of setting a port up, in order; a failure names its step.
enum plat_serial_step : int {
    PLAT_SERIAL_OK = 0,
    PLAT_SERIAL_CONTROL_BLOCK,    // the line settings text could not be read
    PLAT_SERIAL_OPEN,             // the device could not be opened
    PLAT_SERIAL_STATE,            // the line settings could not be applied
    PLAT_SERIAL_TIMEOUTS,         // reads could not be made to return at once
    PLAT_SERIAL_PURGE_TX_ABORT,   // the four purges
    PLAT_SERIAL_PURGE_RX_ABORT,
    PLAT_SERIAL_PURGE_RX_CLEAR,
    PLAT_SERIAL_PURGE_TX_CLEAR,
    PLAT_SERIAL_WRITE,            // an open port stopped taking what was written
};

// The device a port name stands for; an unknown name stands for itself.
const char* PLAT_serial_device(const char* port_name);
// Points a port name ("COM1", "COM2") at a device; nullptr puts the default back.
void PLAT_serial_set_device(const char* port_name, const char* device);

// Opens the port and sets it up from a line-settings text such as
// "baud=9600 parity=N data=8 stop=1". Returns the descriptor (0 or more), or
// -1 with the failing step in `failed_step`.
int PLAT_serial_open(const char* port_name, const char* settings, plat_serial_step* failed_step);
void PLAT_serial_close(int fd);

// Reads at most `size` bytes that have arrived; 0 when none, -1 on failure.
int PLAT_serial_read(int fd, uint8_t* buffer, int size);
// Writes every byte, waiting while the system's buffer is full (at most a few
// seconds in all). Returns the count the system took.
int PLAT_serial_write(int fd, const uint8_t* bytes, int count);
