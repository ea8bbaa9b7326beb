// What the rest of the program calls in the cockpit panel: the per-frame panel
// pass, the weather-radar texture, and the instrument drawers, which also
// serve the keys, the joystick buttons and the serial console (switches
// operated without drawing, the GPS keys, the transponder ident, the trim
// wheels, the rocket switch, the clock). The radio tuning steps are
// flightmodel/systems/radio_tuning.h, instrument power
// flightmodel/systems/instrument_power.h.
//
// The panel pass keeps the drawing context of the slot being drawn in
// `panel_ins_type` and `panel_ins_scale`; the slot's centre is the screen
// record's 2-D origin (screen.screen_area_left/bottom), which every 2-D
// drawer adds. The helper library the drawers use is panel/panel_kit.h.
#pragma once

#include <cstdint>

#include "core/instrument_types.h"
#include "flightmodel/systems/instrument_power.h"   // instrument power, kept with the systems

struct acf_struct;
struct flt_struct;

// The records the instruments read, handed to them read-only: an aircraft and
// its flight record.
struct panel_records {
    const acf_struct& acf;
    const flt_struct& flt;
};
// The user's plane's records (pln[0], flt[0]).
panel_records PANEL_user_records();

// ---- the panel pass --------------------------------------------------------

// Draws every instrument of the user's aircraft and handles its clicks (the
// pointer already mapped into panel coordinates by the frame).
void PANEL_update();
// The pass's own state back to program start: the Morse sequencer idle and
// no instrument under inspection. Each instrument registers the reset of its
// own memory in the reset registry's panel group.
void PANEL_reset();

// The drawing context of the slot being drawn.
extern int32_t panel_ins_type;
extern float panel_ins_scale;


// ---- weather radar ------------------------------------------------------------

// Rebuilds texture slot 454 from the storm grid and the rain and
// thunderstorm fractions; leaves it bound, with linear filtering.
void PANEL_radar_texture();
// Draws slot 454 onto four corners (texels (0,0), (0,1), (1,1), (1,0)),
// clipped to the window rectangle left, bottom, right, top.
void PANEL_draw_radar_texture(float left, float bottom, float right, float top, float x0, float y0, float x1,
                              float y1, float x2, float y2, float x3, float y3, float alpha);

// ---- engine dials --------------------------------------------------------------

// Full-power fuel flow of engine e of the user's aircraft, kg/s.
float ENGN_max_fuel_flow(int engine);

// ---- small system panels the buttons also work ---------------------------------

// Fires the rocket of plane p: with a rocket type (INS_BUT_ROCKET_1..6, from a
// key or button) the current type becomes it and the rocket fires at once;
// otherwise (the panel pass gives 0) it fires while the slot's spot is held.
// `rocket_mode` = the type, `rocket_timeout` = frame clock + d.
void PANEL_rocket_switch(int plane, int type, float d);

// ---- the instrument drawers ----------------------------------------------------
// Each draws the instrument of the current slot and takes the clicks aimed at
// it. Those that read the aircraft or its flight record take them read-only
// as `r` (the panel pass hands its own; other callers get the user's plane's)
// and change the flight record only through the flight model's setters.

// Command -1 draws and takes clicks, item 0, an engine counter or a gear part
// 67..72; a command of an instrument type operates its switch as one click
// would, without drawing (11 jettison, 20 gear handle, 446 clutch).
void PANEL_switches(int command, int item, const panel_records& r = PANEL_user_records());
void PANEL_knob();
void PANEL_levers(int engine, float travel, const panel_records& r = PANEL_user_records());
void PANEL_flap_lever(const panel_records& r = PANEL_user_records());
// -1 draws (repeat = the mouse held-long flag). One step of a trim: 20/21
// elevator +/-, 22/23 rotor +/-, 24/26 rudder -/+, 27/29 aileron -/+ (25 and
// 28 nothing); 0.05 x frame period when held, else 0.001.
void PANEL_trim_wheels(int command, int repeat, const panel_records& r = PANEL_user_records());
void PANEL_asi(const panel_records& r = PANEL_user_records());
void PANEL_adi(const panel_records& r = PANEL_user_records());
void PANEL_altimeter(const panel_records& r = PANEL_user_records());
void PANEL_compass(const panel_records& r = PANEL_user_records());
void PANEL_hsi(const panel_records& r = PANEL_user_records());
// The HSI's course arrow, deviation bar, TO/FROM pointer and glide-slope
// pointers (or flags) turned with a card showing `card_heading`, for the HSI
// and EFIS types; 173 and 174 draw the EFIS localizer and glide-slope scales.
// Any other current type is a fatal alert.
void update_loc_gls(float card_heading);
void PANEL_vvi(const panel_records& r = PANEL_user_records());
void PANEL_cdi(int nav_radio);
void PANEL_rmi();
void PANEL_efis_readouts(const panel_records& r = PANEL_user_records());
void PANEL_efis_map(const panel_records& r = PANEL_user_records());
void PANEL_orbiter_primary(const panel_records& r = PANEL_user_records());
void PANEL_orbiter_approach(const panel_records& r = PANEL_user_records());
void PANEL_orbiter_entry(const panel_records& r = PANEL_user_records());
void PANEL_synthetic_vision(int counter, const panel_records& r = PANEL_user_records());
void PANEL_efis_switches();
// Whether a map symbol at (px, py) shows: inside the rectangle x0..x1,
// y0..y1 and, except on type 331, strictly inside the 90-degree wedge that
// opens upward from (0, y0).
bool EFIS_map_visible(float x0, float y0, float x1, float y1, float px, float py);
void PANEL_ecam_page(const panel_records& r = PANEL_user_records());
void PANEL_ecam_mode_switch();
void PANEL_audio_panel();
void PANEL_radios(int radio, int nav_part, int com_part, int adf_head, int standby_and_swap);
// 0 draws the GPS; 10..13 act as its destination-type buttons, -3..3 as its
// index-step buttons, without drawing.
void PANEL_gps(int code, const panel_records& r = PANEL_user_records());
void PANEL_dme();
// 0 draws and takes clicks; 1 the ident button.
void PANEL_transponder(int code);
void PANEL_autopilot();
void PANEL_engine_readout(int engine, const panel_records& r = PANEL_user_records());
void PANEL_stormscope(const panel_records& r = PANEL_user_records());
void PANEL_radio_altimeter(const panel_records& r = PANEL_user_records());
void PANEL_te_vario(const panel_records& r = PANEL_user_records());
// (0, 0) draws; a non-zero toggle starts or stops the stopwatch, (0, non-zero)
// resets it. Returns non-zero when a command was performed.
int PANEL_clock_timer(int toggle_cmd, int reset_cmd);
// Shows tank *counter and advances the counter.
void PANEL_fuel_gauges(int32_t* counter, const panel_records& r = PANEL_user_records());
void PANEL_oat(const panel_records& r = PANEL_user_records());
void PANEL_fms_page();
