// The instrument picture table: one picture path per instrument type (476
// types, 0..475), a colon path below "RESOURCES:BITMAPS:" such as
// "cockpit:buttons:but_battery.bmp". A type whose entry reads "no longer used"
// is retired: the aircraft checks take it off the panel.
//
// Beside it the design size of each type's face: the picture the generator
// draws is that many texels across and up, and an aircraft description that
// gives no acf_ins_delx/dely for a slot gets these.
#pragma once

#include <cstdint>

constexpr int PANEL_INSTRUMENT_TYPES = 476;

// The picture path of an instrument type ("" for a type outside 0..475).
const char* PANEL_instrument_picture(int type);

struct instrument_design_size {
    int16_t w, h;
};
// The face size of a type at scale 1 ({0, 0} for a type outside 0..475).
instrument_design_size PANEL_instrument_design_size(int type);
