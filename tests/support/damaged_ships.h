// Ships and a plane placed by damaged input: every slot's place and angles
// and the plane's place, speed and slip drawn from no number, infinities,
// far-off and ordinary figures, the same sequence for the same seed.
#pragma once

#include "core/random.h"
#include "flightmodel/flt.h"
#include "world/ships.h"

inline float damaged_figure()
{
    constexpr float odd[8] = {NAN, INFINITY, -INFINITY, 1e30f, -9.9e9f, 0.0f, 30.0f, -400.0f};
    return UTIL_rand() % 8 < 4 ? odd[UTIL_rand() % 8] : (UTIL_rand() - 16384) * 0.05f;
}

inline void place_ships_and_plane_damaged()
{
    for (int s = 0; s < SEA_OBJECT_SLOTS; ++s) {
        ship_x[s] = damaged_figure(), ship_y[s] = damaged_figure(), ship_z[s] = damaged_figure();
        ship_heading[s] = damaged_figure(), ship_pitch[s] = damaged_figure(), ship_roll[s] = damaged_figure();
    }
    flt[0].local_x = damaged_figure(), flt[0].local_z = damaged_figure();
    flt[0].groundspeed = damaged_figure(), flt[0].beta = damaged_figure();
}
