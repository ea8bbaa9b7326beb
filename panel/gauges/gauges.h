// The engine readouts and small gauges of the 2-D panel (text readouts,
// linear engine gauges, stormscope, radio altimeter, total-energy vario,
// clock and stopwatch, fuel gauges, thermometers) and the ECAM display. What
// each keeps between frames lives in one record per module.
//
// Reads the user plane's flight and aircraft records, the weather stage's
// lightning, the time and cockpit values; writes the stopwatch, the radio
// altimeter minimum, ECAM_mode, ECAM_warning_on and the master caution
// timeout, and plays the vario tones, the minimum tone and the rotorcraft
// warnings through the links layer.
#pragma once

#include <cstdint>

// The scale mapping of every needle here: value -> angle between lo_ang and
// hi_ang (the middle when the two values are equal).
float GAUGE_angle(float value, float lo_val, float hi_val, float lo_ang, float hi_ang);

constexpr int STORM_STRIKES = 30;
struct small_gauges_state {
    // Stormscope: the strike ring (local x, z in metres, expiry in running seconds).
    float strike_x[STORM_STRIKES] = {};
    float strike_z[STORM_STRIKES] = {};
    float strike_expiry[STORM_STRIKES] = {};
    int32_t strike_index = 0;
    int32_t flash_was_active = 0;
    // Radio altimeter.
    int32_t ra_below_minimum = 1;
    // Total-energy variometer.
    float previous_energy = 0.0f;
    int32_t energy_known = 0;
    int32_t climb_tone_on = 0;
    int32_t sink_tone_on = 0;
    int32_t vario_audio_on = 1;
    // Clock and thermometer.
    int32_t clock_shows_time = 0;
    int32_t oat_celsius = 0;
    // The fuel fraction the fuel gauges hand to the linear gauge of type 347.
    float fuel_fraction = 0.0f;
};
extern small_gauges_state small_gauges;

// The ECAM's rotorcraft warning text.
constexpr int ECAM_WARNING_TEXT_SIZE = 500;
struct ecam_state {
    char warning_text[ECAM_WARNING_TEXT_SIZE] = {};
};
extern ecam_state ecam;

// The message of rotorcraft warning 1..5 ("" for others).
const char* ECAM_warning_message(int warning);

