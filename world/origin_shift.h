// The origin shift: when the loaded area moves by one whole degree, every
// position held in the local frame is carried over to the new frame so that
// nothing in the world jumps. The caller has written the new lat_ref/lon_ref;
// the old origin follows from the mode (2 west, 3 east, 4 north, 5 south).
//
// Reads and writes: the planes in play (position, velocity, terrain cell),
// the camera's terrain cell and the drawn terrain window, the sea objects and
// their wakes, particles, fires, the camera and the fly-by views' point, the
// engine trails, the replay ring, the weapons in flight and released, the
// cloud field's point and the storm grid.
#pragma once

#include <cstdint>

// The packed reference of an origin: latitude sign digit x 1,000,000 +
// |latitude| x 10,000 + longitude sign digit x 1,000 + |longitude| (sign
// digit 1 for a negative, 2 otherwise), and back.
int32_t APT_pack_reference(float lat, float lon);
void APT_unpack_reference(int32_t packed, float& lat, float& lon);

// Carries everything over from the old origin to the current one (modes 2 to
// 5; any other mode does nothing).
void APT_shift_origin(int mode);
