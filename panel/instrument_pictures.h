// The picture and design size of each instrument type (0..475), from the one
// table of instrument types (panel/instrument_table.h).
//
// The picture path is a colon path below "RESOURCES:BITMAPS:" such as
// "cockpit:buttons:but_battery.bmp". A type whose entry reads "no longer used"
// is retired: the aircraft checks take it off the panel.
//
// The design size is the size of the type's face: the picture the generator
// draws is that many texels across and up, and an aircraft description that
// gives no acf_ins_delx/dely for a slot gets these.
#pragma once

#include <cstdint>

#include "core/instrument_types.h"

// The picture path of an instrument type ("" for a type outside 0..475).
const char* PANEL_instrument_picture(int type);

struct instrument_design_size {
    int16_t w, h;
};
// The face size of a type at scale 1 ({0, 0} for a type outside 0..475).
instrument_design_size PANEL_instrument_design_size(int type);
