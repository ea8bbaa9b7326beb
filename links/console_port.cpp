// The serial console's port and its per-frame exchange: the outgoing message
// of displays and lamps, sent group by group where it changed, the refresh
// sequence, and the read pass that hands the incoming bytes to the parser.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/console.h"
#include "links/panel_modules.h"
#include "links/shared_memory.h"
#include "platform/plat_serial.h"

console_state console;

namespace {

constexpr const char* LINE_SETTINGS = "baud=9600 parity=N data=8 stop=1";

// A whole number from a float display value, held within 0..most.
int held_int(float v, int most)
{
    // A negative value would give negative digits; a non-finite one has no int to convert to.
    if (!std::isfinite(v) || v <= 0.0f) return 0;
    if (v >= static_cast<float>(most)) return most;
    return static_cast<int>(v);
}

struct message_writer {
    uint8_t* bytes;
    int at = 0;

    void group(uint8_t code, uint8_t a, uint8_t b, uint8_t c)
    {
        if (at > CONSOLE_MESSAGE_LIMIT)
            MACIBM_nuke_alert(0, "UTIL_cirrus_build overflow!", "", "", "", ALERT_FATAL);
        if (at + 3 >= CONSOLE_MESSAGE_BYTES) return;
        bytes[at] = code;
        bytes[at + 1] = a;
        bytes[at + 2] = b;
        bytes[at + 3] = c;
        at += 4;
    }

    // A display value: whole part (0..999) and hundredths (0..99), each digit a nibble.
    void display(uint8_t code, int whole, int hundredths, bool blank_hundredths, uint8_t point)
    {
        const int w = std::clamp(whole, 0, 999), h = std::clamp(hundredths, 0, 99);
        const int h_tens = blank_hundredths ? 0xF : h / 10, h_units = blank_hundredths ? 0xF : h % 10;
        group(code, static_cast<uint8_t>((w / 100) * 16 + (w / 10) % 10), static_cast<uint8_t>((w % 10) * 16 + h_tens),
              static_cast<uint8_t>(h_units * 16 + point));
    }
    void frequency(uint8_t code, int32_t value)
    {
        const int v = std::max(value, 0);   // a negative word would give negative digits
        display(code, v / 100, v % 100, false, 4);
    }
};

uint8_t marker_code()
{
    const sim_cockpit_misc_block& m = sim_cockpit_misc;
    if (m.outer_marker_lit) return 0xA2;
    if (m.middle_marker_lit) return 0xA1;
    if (m.inner_marker_lit) return 0xA4;
    return 0xA0;
}

void autopilot_lamps(message_writer& w)
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const acf_struct& a = pln[0];
    if (sim_operation_override.override_pfc_autopilot_lites) {
        const int p = sim_joystick_pfc.autopilot_lites;
        if (p & 0x80) {
            w.group(0xA8, static_cast<uint8_t>(p & 0x7F), 0xFF, 0xFF);
        } else {
            w.group(0xB6, 0xFF, 0xFF, 0xFF);
            w.group(0xAA, static_cast<uint8_t>(p & 0x7F), 0xFF, 0xFF);
        }
        return;
    }
    int lamps = 0;
    if (ap.autopilot_mode > 0 && a.acf_has_SC_fd) lamps += 0x40;
    if (ap.autopilot_mode > 0 && a.acf_has_DC_fd) lamps += 0x40;
    if (ap.altitude_mode == 15) lamps |= 0x20;
    if (ap.heading_mode == 11) lamps |= 0x10;
    if (ap.hnav_mode == 18 && ap.backcourse_on) lamps |= 0x08;
    if (ap.vnav_mode == 21) lamps |= 0x04;
    if (ap.hnav_mode == 18) lamps |= 0x02;
    if (ap.vnav_mode == 20) lamps |= 0x01;
    if (lamps == 0)
        w.group(0xB6, 0xFF, 0xFF, 0xFF);
    else if (ap.autopilot_mode == 2 && (a.acf_has_SC_fd || a.acf_has_DC_fd))
        w.group(0xA8, static_cast<uint8_t>(lamps), 0xFF, 0xFF);
    else
        w.group(0xAA, static_cast<uint8_t>(lamps), 0xFF, 0xFF);
}

uint8_t gear_lamps()
{
    const float* deploy = pln[0].acf_gear_deploy;
    int g = 0;
    for (int leg = 0; leg < 3; ++leg) {
        const float d = deploy[FLT_FIRST_GEAR_PART + leg];
        if (d > 0.99f) g |= 0x01 << (2 * leg);
        else if (d >= 0.01f) g |= 0x02 << (2 * leg);
    }
    return static_cast<uint8_t>(g);
}

// A digit above 9 (a code past 9999) would spill into the next nibble.
uint8_t nibbles(int high, int low) { return static_cast<uint8_t>(std::clamp(high, 0, 9) * 16 + std::clamp(low, 0, 9)); }

void notice_failure(const char* port, plat_serial_step step)
{
    static const char* const steps[] = {
        "",
        "its line settings could not be read",
        "it could not be opened",
        "its line settings could not be applied",
        "its reads could not be made to return at once",
        "its pending output could not be aborted",
        "its pending input could not be aborted",
        "its input could not be cleared",
        "its output could not be cleared",
        "it stopped taking what was sent to it",
    };
    const int32_t settings[3] = {sim_joystick.eq_cirrusII_fun, sim_joystick.eq_cirrusII_app, screen_settings.eq_cirrus_com2};
    if (console.failure_noticed && std::equal(settings, settings + 3, console.noticed_settings)) return;
    console.failure_noticed = true;
    std::copy(settings, settings + 3, console.noticed_settings);
    char line1[TEXT_SIZE], line2[TEXT_SIZE];
    std::snprintf(line1, sizeof line1, "The cockpit console on %s (%s) cannot be used:", port, PLAT_serial_device(port));
    const int s = std::clamp(static_cast<int>(step), 0, static_cast<int>(std::size(steps)) - 1);
    std::snprintf(line2, sizeof line2, "%s.", steps[s]);
    MACIBM_nuke_alert(0, line1, line2, "The console stays off until its model or port is changed.", "", ALERT_NOTICE);
}

}  // namespace

void CONSOLE_reset()
{
    if (console.port >= 0) PLAT_serial_close(console.port);
    console = console_state{};
}

int CONSOLE_model()
{
    const int32_t f = sim_joystick.eq_cirrusII_fun;
    return f != 0 ? f : sim_joystick.eq_cirrusII_app;
}

int CONSOLE_build_message()
{
    message_writer w{console.message};
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    const sim_cockpit_switches_block& sw = sim_cockpit_switches;

    w.group(marker_code(), 0xFF, 0xFF, 0xFF);
    autopilot_lamps(w);
    const bool dme_speed = sw.DME_radio_selector == 2;
    if (dme_speed)
        w.group(0xC4, 0x00, 0x00, 0x40);
    else
        w.group(0xC4, 0x00, 0x02, 0x20);

    // A receiver number outside 0..5 (written by a plug-in or a datagram) would read past the receiver words.
    const int receiver = std::clamp(sw.DME_distance_or_time, 0, RADIO_RECEIVERS - 1);
    w.frequency(0xC1, r.nav1_freq_hz);
    w.frequency(0xC3, r.nav2_freq_hz);
    w.frequency(0xC0, r.com1_freq_hz);
    w.frequency(0xC2, r.com2_freq_hz);
    w.display(0xC5, r.adf1_freq_hz, 0, true, 0);
    w.display(0xC4, held_int(r.nav1_dme_dist_m[receiver] * 10.0f, 999), 0, false, 2);
    w.frequency(0xD1, r.nav1_stdby_freq_hz);
    w.frequency(0xD3, r.nav2_stdby_freq_hz);
    w.frequency(0xD0, r.com1_stdby_freq_hz);
    w.frequency(0xD2, r.com2_stdby_freq_hz);
    w.display(0xD5, r.adf1_stdby_freq_hz, 0, true, 0);
    if (dme_speed)
        w.display(0xD4, held_int(r.nav1_dme_speed_kts[receiver], 999), held_int(r.nav1_dme_time_secs[receiver], 99), false, 4);
    else
        w.frequency(0xD4, r.dme_freq_hz);

    const int code = std::max(r.transponder_code, 0);   // a negative code would give negative digits
    w.group(0xC7, nibbles(code / 1000, (code / 100) % 10), nibbles((code / 10) % 10, code % 10),
            r.transponder_light ? 0xE0 : 0x00);
    w.group(0xA9, gear_lamps(), 0xFF, 0xFF);
    console.message_length = w.at;
    return w.at;
}

void CONSOLE_build_refresh()
{
    message_writer w{console.message};
    w.group(0x78, 0xFA, 0xFF, 0xFF);
    for (uint8_t c = 0xB0; c <= 0xB7; ++c) w.group(c, 0xFF, 0xFF, 0xFF);
}

void UTIL_cirrus_send(int count)
{
    if (!console.port_open || console.port < 0) return;
    const int n = std::clamp(count, 0, CONSOLE_MESSAGE_BYTES);
    console.output_count = 0;
    for (int k = 0; k + 3 < n; k += 4) {
        if (std::memcmp(console.message + k, console.last_sent + k, 4) == 0) continue;
        for (int b = k; b < k + 4; ++b)
            if (console.message[b] != CONSOLE_NO_BYTE) console.output[console.output_count++] = console.message[b];
    }
    std::memcpy(console.last_sent, console.message, static_cast<size_t>(n));
    if (console.output_count == 0) return;
    // A short write would be a fatal alert and end the flight: a console
    // that stops taking bytes (unplugged, its adapter gone) is named once in
    // a notice and let go; the flight goes on without it.
    if (PLAT_serial_write(console.port, console.output, console.output_count) != console.output_count) {
        CONSOLE_close_port();
        notice_failure(screen_settings.eq_cirrus_com2 ? "COM2" : "COM1", PLAT_SERIAL_WRITE);
    }
}

void UTIL_cirrus_read()
{
    if (!console.port_open || console.port < 0) return;
    // A pass takes at most 199 bytes and leaves the rest for the next pass.
    // Reading on with the index wrapping from 199 to 0 would overwrite the
    // earliest bytes of a burst (exactly 200 would parse nothing): console
    // input would be lost.
    int n = PLAT_serial_read(console.port, console.input, CONSOLE_READ_MOST);
    if (n < 0) n = 0;
    sim_joystick.eq_ped_nobrk = 0;
    sim_joystick.eq_ped_wibrk = sim_joystick.eq_pfc_pedals;
    for (int i = 0; i < n; ++i) {
        if (i < n - 1) UTIL_cirrus_parse(console.input[i], console.input[i + 1]);
        UTIL_cirrus_onoff(console.input[i]);
    }
}

void UTIL_cirrus_build()
{
    const bool model = CONSOLE_model() != 0;
    if (model && console.port_open && interval_ticks[INTERVAL_TWENTIETH_SECOND]) {
        const float now = std::isfinite(frame_clock) ? frame_clock : 0.0f;
        if (!console.refresh_time_set) {
            console.refresh_time_set = true;
            console.refresh_time = static_cast<int32_t>(now);
        }
        if (console.refresh_time != -1 && static_cast<float>(console.refresh_time) <= now) {
            console.refresh_time = -1;
            CONSOLE_build_refresh();
            UTIL_cirrus_send(CONSOLE_REFRESH_BYTES);
        }
        const int length = CONSOLE_build_message();
        if (sim_cockpit_electrical.avionics_on) UTIL_cirrus_send(length);
        if (!sim_cockpit_electrical.avionics_on) {
            console.avionics_were_off = true;
        } else if (console.avionics_were_off) {
            console.refresh_time = static_cast<int32_t>(now + 5.0f);
            console.avionics_were_off = false;
        }
    }
    if (model) UTIL_cirrus_read();
    if (screen_settings.eq_gf_panels) GFDEV_exchange();
    SHMEM_write_record();
}

void CONSOLE_open_port()
{
    if (CONSOLE_model() == 0 || console.port_open) return;
    console.port_open = 1;
    const char* port = screen_settings.eq_cirrus_com2 ? "COM2" : "COM1";
    plat_serial_step step = PLAT_SERIAL_OK;
    const int fd = PLAT_serial_open(port, LINE_SETTINGS, &step);
    // A port that cannot be set up (no such port, the console unplugged)
    // would be a fatal alert and end the flight: it is named once in a
    // notice and the console stays off; the flight goes on without it.
    if (fd < 0) {
        console.port_open = 0;
        notice_failure(port, step);
        return;
    }
    console.port = fd;
    console.failure_noticed = false;
}

void CONSOLE_close_port()
{
    if (!console.port_open) return;
    console.port_open = 0;
    PLAT_serial_close(console.port);
    console.port = -1;
}
