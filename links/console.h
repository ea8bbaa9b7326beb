// The serial cockpit console: a levers-and-radios console with pedals, a
// radio stack, an autopilot panel and switch rows on COM1 or COM2, chosen on
// the joystick and equipment screen (console model eq_cirrusII_fun or
// eq_cirrusII_app, port eq_cirrus_com2).
//
// Once per joystick poll UTIL_cirrus_build sends the changed parts of the
// message that drives the console's displays and lamps (on the 0.05-s tick),
// reads and applies what the console sent, exchanges with the panel modules
// and rewrites the shared-memory record.
//
// Input side reads: the console settings and calibration, the override
// flags, pln[0] engine limits and types, app_mode, the frame clock and its
// ticks. It writes the flight controls and engine levers of the user's plane,
// the yoke ratios, the radio, autopilot, switch and light words, the button
// values 0..8, and runs key commands, numbered commands and panel switches.
#pragma once

#include <cstdint>

constexpr int CONSOLE_MESSAGE_BYTES = 100;   // message buffers (at most 96 used)
constexpr int CONSOLE_MESSAGE_LIMIT = 95;    // the last index a group may start at
constexpr int CONSOLE_INPUT_BYTES = 200;
constexpr int CONSOLE_READ_MOST = CONSOLE_INPUT_BYTES - 1;   // bytes one read pass takes
constexpr int CONSOLE_CHANNELS = 9;          // six levers, then roll, pitch, heading
constexpr int CONSOLE_REFRESH_BYTES = 36;
constexpr uint8_t CONSOLE_NO_BYTE = 0xFF;    // a message position that is not sent

struct console_state {
    // The port.
    int port = -1;
    int32_t port_open = 0;
    // The outgoing message, the copy of what was last sent, the bytes written.
    uint8_t message[CONSOLE_MESSAGE_BYTES] = {};
    uint8_t last_sent[CONSOLE_MESSAGE_BYTES] = {};
    uint8_t output[CONSOLE_MESSAGE_BYTES] = {};
    int output_count = 0;
    int message_length = 0;
    uint8_t input[CONSOLE_INPUT_BYTES] = {};
    // The whole-display refresh: frame-clock seconds it is due, -1 none.
    int32_t refresh_time = -1;
    bool refresh_time_set = false;
    bool avionics_were_off = false;
    // Lever channels: the value of each, 0..1 for the levers, -1..1 for the axes.
    float channel[CONSOLE_CHANNELS] = {};
    // Latches kept between messages.
    bool held_key_a = false;            // elevator trim down repeats
    bool held_key_b = false;            // elevator trim up repeats
    float last_timer_button_time = -1000.0f;
    float parkbrake_hold_until = -1000.0f;
    float parkbrake_last_toggle = -1000.0f;
    bool starter_latch_1 = false;
    bool starter_latch_2 = false;
    bool autopilot_hold = false;
    int32_t previous_speed_hold = 0;
    // A port that could not be set up is named once for these settings.
    bool failure_noticed = false;
    int32_t noticed_settings[3] = {};
};
extern console_state console;
// Closes the port and forgets everything above.
void CONSOLE_reset();

// The console model: the first of the two settings that is set, 0 for none.
int CONSOLE_model();

// The input side: one two-byte message (command, value) and one one-byte message.
void UTIL_cirrus_parse(uint8_t command, uint8_t value);
void UTIL_cirrus_onoff(uint8_t byte);

// The exchange of one joystick poll.
void UTIL_cirrus_build();
// Reads what arrived (at most CONSOLE_READ_MOST bytes a pass; the rest waits
// for the next pass) and applies it.
void UTIL_cirrus_read();
// Sends the groups among the first `count` message bytes that differ from the
// last-sent copy.
void UTIL_cirrus_send(int count);
// Builds the whole message into the buffer; returns its length.
int CONSOLE_build_message();
// Puts the nine refresh groups into the buffer.
void CONSOLE_build_refresh();

// The port's part of HARDWARE_open and HARDWARE_close.
void CONSOLE_open_port();
void CONSOLE_close_port();
