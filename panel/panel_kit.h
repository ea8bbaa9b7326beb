// The instrument helper library every drawer uses, in the drawing context the
// panel pass sets for each slot (`panel_ins_type`, `panel_ins_scale` and the
// screen record's 2-D origin at the slot's centre):
//  - click and drag tests on spots given in design units about the centre;
//  - drawing primitives: needles, drums, rotated cards, tapes and tape marks;
//  - control sprites of the current type (panel/panel_art.h);
//  - the round dials of the airspeed, vertical-speed and engine gauges;
//  - the annunciators and the small system panels the pass dispatches to.
//
// Reads the mouse record (core/input.h: mouse_down is the click flag,
// mouse_held the held flag, mouse_panel_drag the held-long flag), the open
// menu of the screen record, show_panel_click_spots, frame_rate_period,
// transparent_panel and the flight and aircraft records of plane 0.
#pragma once

#include <cstdint>

#include "panel/panel.h"

// ---- click and drag tests ----------------------------------------------------
// Held flag 0 fires in the frame the button went down, any other value in
// every frame it is held. No test fires while a menu-bar menu is open; every
// test outlines its box while show_panel_click_spots is on. Bounds inclusive.

int PANEL_click_rect(float x1, float y1, float x2, float y2, int held);
int PANEL_click_spot(float cx, float cy, float r, int held);
// A knob or rocker cut along its falling diagonal: +amount above and right of
// it, -amount below and left, 0 on it; amount = the click step on the press,
// then (use-rate set and held more than 0.5 s) rate x frame period.
float PANEL_drag_spot(float cx, float cy, float r, float click_step, float rate, int use_rate);
// Concentric tuning knob: inner square (half 5) steps by 2, the ring (half 15)
// by 1, on clicks only.
int PANEL_dual_knob(float cx, float cy);
// A lever handle between y of end A (upper) and y of end B (screen units about
// the origin, scaled) setting *value between va and vb; 1 when it set it.
int PANEL_lever_drag(float va, float vb, float* value, float ya, float yb, float w, int keep);
float PANEL_rot_x(float x, float y, float angle_deg);
float PANEL_rot_y(float x, float y, float angle_deg);
int PANEL_in_range(float x, float lo, float hi);

// ---- drawing primitives ----------------------------------------------------------

// While it lives, the screen record's 2-D origin is 0: for the 2-D drawers
// used about a GL matrix the caller has already moved to the slot origin, so
// the origin is not added a second time. The origin comes back at its end.
class PANEL_origin_in_matrix {
public:
    PANEL_origin_in_matrix();
    ~PANEL_origin_in_matrix();
    PANEL_origin_in_matrix(const PANEL_origin_in_matrix&) = delete;
    PANEL_origin_in_matrix& operator=(const PANEL_origin_in_matrix&) = delete;

private:
    float left_, bottom_;
};

// A needle of the second sheet turned clockwise by `angle` (0 up) about the
// pivot (x, y) x scale.
void PANEL_draw_needle(float x, float y, float angle, int style);
// One drum window: kind 3 a counter digit (d may be fractional), 4 the narrow
// and 5 the wide heading strip.
void PANEL_draw_drum_digit(int kind, float x, float y, float d);
// A counter of 1..6 rolling drums at x + 7k, with a minus sign for a negative value.
void PANEL_draw_drum_counter(float x, float y, float value, int digits);
// A square card of half size r (unscaled) turned counter-clockwise by `angle`
// about the origin: kinds 0..2 regions of the second sheet, 3 and 4 the rose cards.
void PANEL_draw_rotated_card(float angle, float r, int kind, int lit);
// A 4 x 5 marker on a vertical tape, unless within 2 units of the tape's ends.
void PANEL_tape_mark(int colour, float x, float y, float half, float offset);
// The scrolling tape (positions and sizes in unscaled panel units):
// orientation 0 horizontal, 1 vertical without marks below 0, 2 vertical;
// band 2 adds the ground band of a tape of hundreds of feet.
void PANEL_draw_tape(int colour, int line_colour, float label_pos, float cross_pos, float centre, float half,
                     float gap, float value, float step, int label_every, float scale_px, int orientation,
                     int band, int font);

// ---- control sprites -----------------------------------------------------------

// The sprite of the current type in `state`, centred at (x, y + shift) from
// the origin (x and y unscaled; its size scaled except for the types of
// PANEL_sprite_unscaled).
void PANEL_draw_control(float x, float y, int state);

// ---- round dials -----------------------------------------------------------------

// Dial angle of an airspeed on the printed scales of types 74..79 (the
// current type).
float a_of_v(float value);
// One generated gauge centred at (x, y): mode 0 the panel, 1 an ECAM page
// with scale and label, 2 an ECAM page with needle and readouts only.
void update_eng_asi(int type, float x, float y, int engine, int mode, const panel_records& r = PANEL_user_records());

// The readings the dials hold between frames (one set for the whole panel).
struct dial_held_readings {
    float airspeed = 0.0f;        // display units
    float mach = 0.0f;
    float needle_angle_deg = 0.0f;
    float barber_angle_deg = 0.0f;
    float vvi_fpm = 0.0f;         // smoothed vertical speed, ft/min
};
extern dial_held_readings dial_held;
// Refreshes the held airspeed (display units) and Mach from the flight model
// unless the pitot is failed or iced over; every airspeed and Mach instrument
// reads the held values, so a failed pitot freezes them all alike.
void DIALS_refresh_held_airspeed(const panel_records& r);
void DIALS_reset();

// ---- annunciators and small system panels --------------------------------------

int PANEL_annunciator_bit(int word, int n);
// n: engine for the per-engine lights, 0 the single lights, -1 the test button.
void PANEL_annunciators(int n);
void PANEL_stall_warning(const panel_records& r = PANEL_user_records());
void PANEL_pressurization(const panel_records& r = PANEL_user_records());
// The next engine after *counter that suits the current type (up to eight
// tries; 0 when none does).
int PANEL_pick_engine(int32_t* counter, const panel_records& r = PANEL_user_records());
void PANEL_ecam_label_value(float x, float y, const char* label, float value, int digits, int decimals);

// The radar's level colours are read again on the next build.
void RADAR_reset();

// The alpha of needles and sprites: 0.4 while the panel is see-through.
float PANEL_alpha();
// Whether the engine index may address the eight engine entries.
inline bool PANEL_engine_ok(int e) { return e >= 0 && e < 8; }
