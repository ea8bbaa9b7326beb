// The instrument picture table: one picture path per instrument type (476
// types, 0..475), a colon path below "RESOURCES:BITMAPS:" such as
// "cockpit:buttons:but_battery.bmp". A type whose entry reads "no longer used"
// is retired: the aircraft checks take it off the panel.
#pragma once

constexpr int PANEL_INSTRUMENT_TYPES = 476;

// The picture path of an instrument type ("" for a type outside 0..475 or
// one without a picture).
const char* PANEL_instrument_picture(int type);
