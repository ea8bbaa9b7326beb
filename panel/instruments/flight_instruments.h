// What the flight instruments keep between frames, one record per drawer,
// shared by every instrument of its kind on the panel (and by the EFIS,
// map and pressurization drawers that call them with their own types).
#pragma once

struct acf_struct;
struct flt_struct;

// Attitude indicator: smoothed flight-director cues (degrees), the aircraft
// symbol's height (panel units, -5..5) and the warning flag's angle.
struct adi_memory {
    float fd_roll_bar = 0.0f;
    float fd_pitch_bar = 0.0f;
    float adi_symbol_offset = 0.0f;
    float adi_flag_angle = 0.0f;
};
extern adi_memory adi_mem;

// Altimeter: the three needle angles (100, 1,000 and 10,000 ft) and the
// altitude they were made from.
struct altimeter_memory {
    float angle_100_deg = 0.0f;
    float angle_1000_deg = 0.0f;
    float angle_10000_deg = 0.0f;
    float altitude_ft = 0.0f;
};
extern altimeter_memory alt_mem;

// Vertical speed indicator: the last vertical speed shown, ft/min.
struct vvi_memory {
    float vvi_fpm = 0.0f;
};
extern vvi_memory vvi_mem;

// Magnetic compass: the card's heading.
struct compass_memory {
    float card_deg = 0.0f;
};
extern compass_memory compass_mem;

// The attitude indicator's memory back to its start (the altimeter's, the
// vertical speed's and the compass's go with their own resets).
void FLIGHT_INSTRUMENTS_reset();

// The vertical speed needle's angle from the dial's law (0 = level, before
// the quarter turn that points level flight to the left); 0 for a type
// without a needle law.
float VVI_needle_angle(int type, float fpm);
// The magnetic compass's indicated heading before the card's lag, from a
// flight record (the user's plane's without one).
float COMPASS_indicated_heading(const flt_struct& f);
float COMPASS_indicated_heading();

// Failure slots the flight instruments read.
constexpr int FAIL_SLOT_PITOT = 1;           // freezes every airspeed and Mach reading
constexpr int FAIL_SLOT_ALTIMETER_INSTR = 3;
constexpr int FAIL_SLOT_VVI_INSTR = 6;
constexpr int FAIL_SLOT_GLASS_INSTR = 7;   // every electronic display

// Whether an electronic display draws: avionics powered and slot 7 working.
bool PANEL_glass_alive();

// Inside the attitude indicator, about the slot centre: the flight-director
// cue and the aircraft symbol (glass 1 or mechanical 0, gyro 0/1, panel
// units per degree of pitch, symbol height); the slip ball at height y.
void PANEL_flight_director(const acf_struct& a, int glass, int gyro, float pitch_scale, float symbol_offset);
void PANEL_slip_ball(const flt_struct& f, float y);
