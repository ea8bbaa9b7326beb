// The heading and navigation-needle instruments (directional gyro, HSIs and
// the EFIS heading displays, CDI, ADF and RMI): the receiver a selector
// chooses, the course of a receiver and what the RMI keeps between frames.
#pragma once

#include "flightmodel/systems/radios.h"   // the receiver numbers RADIO_NAV1 .. RADIO_GPS

// The receiver index of an HSI or RMI selector value: 0 nav 1, 1 nav 2,
// 2 the GPS (index 4). Any other value (a plug-in's or a datagram's) reads nav 1.
int NAV_source_of_selector(int selector);
// The selected course of receiver 0..4 (the GPS's is obs_mag), degrees; and
// the word that holds it.
float NAV_course(int receiver);
float* NAV_course_word(int receiver);

// The knobs a pilot drags on the mechanical heading and course instruments,
// in panel units about the slot's centre (times its scale): the heading knob
// of the directional gyro and of the HSIs, the course knob of the HSIs and the
// OBS knob of the CDIs. The faces show them where the drawers take the drag.
struct nav_knob {
    float x, y;
};
// How many knobs `type` has (0..2), written to `out`.
int NAV_knobs(int type, nav_knob out[2]);

// RMI: the needle of each receiver (nav 1, nav 2, ADF 1, ADF 2, GPS),
// degrees. (The slaved card's heading is the published nav1_cardinal_dir.)
struct rmi_memory {
    float needle_deg[5] = {};
};
extern rmi_memory rmi_mem;
void RMI_reset();
