#include "world/ship_decks.h"

#include <cmath>

#include "world/ships.h"

// The sign of the cross product is the answer of the comparison along the
// edge's dominant axis (Px against the edge's x at Pz, or Pz against its z at
// Px, the direction set by the signs of the edge's deltas): dividing the cross
// product by that delta gives the comparison. A zero-length edge gives 0.
int SHIPS_point_left_of_edge(float ax, float az, float bx, float bz, float px, float pz, float s, float c)
{
    const double a_x = double(ax) * c - double(az) * s, a_z = double(ax) * s + double(az) * c;
    const double b_x = double(bx) * c - double(bz) * s, b_z = double(bx) * s + double(bz) * c;
    return (b_x - a_x) * (pz - a_z) - (b_z - a_z) * (px - a_x) > 0.0 ? 1 : 0;
}

bool SHIPS_placed(int slot)
{
    if (slot < 0 || slot >= SEA_OBJECT_SLOTS) return false;
    const float v[] = {ship_x[slot], ship_y[slot], ship_z[slot], ship_heading[slot], ship_pitch[slot], ship_roll[slot]};
    for (float x : v)
        if (!std::isfinite(x)) return false;
    return std::fabs(ship_x[slot]) < 1.0e9f && std::fabs(ship_z[slot]) < 1.0e9f;
}
