// The radio stack of the 2-D panel: the audio selector panels, the NAV, COM
// and ADF heads, the DME heads, the transponders and the GPS unit. What each
// keeps between frames lives in one record per module, reset with the panel.
//
// Reads and writes the published radio values (sim_cockpit_radios), the audio
// and DME switches (sim_cockpit_switches) and the GPS destination
// (sim_cockpit_gps); the GPS reads the navigation tables of world/navdb.h.
#pragma once

#include <cstdint>

// The radio heads' own selections.
struct radio_heads_state {
    int32_t bc_adf_digit = 1;        // digit of the BC ADF head's standby the knob steps, 1..3
    int32_t combined_radio = 0;      // combined head: 0 NAV1, 1 NAV2, 2 COM1, 3 COM2, 4 ADF1, 5 ADF2
    int32_t combined_adf_digit = 1;  // combined head's ADF digit, 1..3
};
extern radio_heads_state radio_heads;

// The transponder's reply lamp and digit cursors.
struct transponder_state {
    float xpdr_lamp_level = 0.0f;    // length of the current lamp pulse, s
    float xpdr_lamp_until = 0.0f;    // running time of the pulse's middle, s
    int32_t xpdr_digit_cursor = 0;   // digit the concentric knob edits, 0..3
    int32_t xpdr_key_cursor = 0;     // digit the next keypad key writes, 0..3
};
extern transponder_state transponder;

// The GPS unit's identifier, cursor and name line.
constexpr int GPS_NAME_CHARS = 19;
struct gps_unit_state {
    char identifier[8] = {};         // the first five characters are edited
    int32_t cursor = 0;              // 0 pages through the table; 1..4 (1..5 for fixes) spell
    char name[GPS_NAME_CHARS + 1] = {};
};
extern gps_unit_state gps_unit;

// The DME texts of a receiver: frequency, distance, speed and time (dashes
// when the receiver has no station or is no receiver).
struct dme_texts {
    char freq[24], dist[24], speed[16], time[16];
};
dme_texts DME_texts(int receiver);

// The GPS unit's page back to its start.
void RADIO_STACK_reset();
