// The serial console's bytes: the input chooses the console's settings, then
// arrives in bursts, each put on the console's port and taken by one joystick
// poll's exchange (the message to the console built and sent, the burst read
// and applied), one poll per frame on the 0.05-s tick. The key commands,
// numbered commands and panel controls the bytes run reach the program's own
// dispatchers and the panel, with every command slot holding a key of its own.
//
// Input: a settings byte (console model), a flags byte, then bursts of a
// length byte and that many bytes.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/key_slots.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "links/console.h"
#include "links/hardware.h"
#include "links/serial_calibration.h"
#include "shell/commands.h"
#include "shell/keys.h"
#include "shell/main.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The two ends of the line: the console's (written by the target, read back
// for what the program sent) and the program's.
int console_end = -1;
int program_end = -1;

void open_line()
{
    fuzz_program_folder();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return;
    console_end = ends[0];
    program_end = ends[1];
    for (const int fd : ends) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void drain()
{
    uint8_t sink[512];
    while (read(console_end, sink, sizeof sink) > 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (console_end < 0) open_line();
    if (console_end < 0 || size < 2) return 0;
    console.port = -1;   // the line stays open across the reset
    RESET_all();
    for (int k = 0; k < KEY_SLOTS; ++k) key_assignment_table[k] = static_cast<uint8_t>(33 + k);
    for (int c = 0; c < CONSOLE_CHANNELS; ++c) {
        serial_axis_lo[c] = 0.0f;
        serial_axis_hi[c] = 255.0f;
    }
    app_mode = MODE_FLYING;
    frame_clock = 10.0f;
    console = console_state{};
    console.port = program_end;
    console.port_open = 1;
    // The settings of the joystick and equipment screen.
    const uint8_t flags = data[1];
    sim_joystick.eq_cirrusII_fun = data[0] % 13 == 0 ? 1 : data[0] % 13;
    sim_joystick.eq_pfc_pedals = flags & 1;
    sim_joystick.eq_pfc_cirrus2 = (flags >> 1) & 1;
    screen_settings.eq_cirrus_layout2 = (flags >> 2) & 1;
    screen_settings.eq_cirrus_latch_brake = (flags >> 3) & 1;
    sim_cockpit_electrical.avionics_on = (flags >> 4) & 1;
    fide_mode = (flags >> 5) & 1;
    drain();
    size_t at = 2;
    try {
        while (at < size) {
            const size_t wanted = data[at++];
            const size_t length = std::min(wanted, size - at);
            if (length && write(console_end, data + at, length) != static_cast<ssize_t>(length)) break;
            at += length;
            frame_clock += 0.05f;
            std::fill(std::begin(interval_ticks), std::end(interval_ticks), 1);
            UTIL_cirrus_build();
            drain();
        }
    } catch (const fuzz_fatal_alert&) {
    }
    // What a burst longer than one pass leaves waits on the line.
    uint8_t sink[CONSOLE_INPUT_BYTES];
    while (console.port_open && read(program_end, sink, sizeof sink) > 0) {
    }
    // A port the program let go (a write it could not finish) was closed by
    // it: the next input takes a new line.
    if (!console.port_open) {
        close(console_end);
        console_end = program_end = -1;
    }
    return 0;
}
