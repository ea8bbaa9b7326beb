// The cockpit's sounds and calls of the user's plane after each plane step:
// engine sound levels, rain and hail, and with avionics power the marker
// beacons, the stall and gear horn, the low-rotor warning, radio chatter, the
// air-traffic-control calls, the ground-proximity warnings and height callouts.
//
// Reads: pln[0] warning equipment; flt[0] position, latitude/longitude,
// vertical speed, height above ground, on-ground flags, stall warning, rotor
// speed; the interval flags and clocks; the navaid table; the precipitation
// at the plane; the cockpit switches, preferences and ATC state; the airport
// activity; the sample lengths and the speech voice's busy time.
// Writes: the marker lights, marker_audio_working, gear_audio_working,
// flt[0].lo_rotor_warning; sound slots through the sound layer; aural_state.
#pragma once

#include <cstdint>

constexpr int AURAL_CALLOUTS = 11;

// Values of the previous frame, so a sound starts on a rising edge only.
struct aural_state_record {
    int32_t precip_prev[2];                  // rain, hail sound on
    int32_t marker_prev[3];                  // outer, middle, inner lit
    int32_t horn_prev;
    float next_chatter_time;                 // total running time of the next chatter sample
    int32_t chatter_started;
    float next_gpws_check_time;
    int32_t below_prev[AURAL_CALLOUTS];      // below each callout height at the last check
};
extern aural_state_record aural_state;
void AURAL_reset();

// One frame of the user plane's sounds and calls.
void AURAL_own_plane();
