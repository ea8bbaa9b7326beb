// The origin shift: when the loaded area moves by one whole degree, every
// position held in the local frame is carried over to the new frame so that
// nothing in the world jumps. The caller has written the new lat_ref/lon_ref;
// the old origin follows from the mode (2 west, 3 east, 4 north, 5 south).
//
// Reads and writes: the planes in play (position, velocity, terrain cell),
// the sea objects,
// the replay ring, the weapons in flight and released and the storm grid;
// the scene's own records (the camera's terrain cell and the drawn terrain
// window, wakes, particles, fires, the camera and the fly-by views' point,
// the engine trails, the cloud field's point) through the scene's half
// (scene/scene_origin_shift.h), reached by the core hook.
#pragma once

#include <cstdint>

#include "core/geo.h"

// A point or a velocity taken about the old area centre, about the new one.
struct origin_rebase_frame {
    double old_lat, old_lon, new_lat, new_lon;

    void point(float& x, float& y, float& z) const
    {
        const geo_point g = GEO_local_to_latlon_about(old_lat, old_lon, x, y, z);
        double nx, ny, nz;
        GEO_latlon_to_local_about(new_lat, new_lon, g, nx, ny, nz);
        x = static_cast<float>(nx), y = static_cast<float>(ny), z = static_cast<float>(nz);
    }
    void point(float* p) const { point(p[0], p[1], p[2]); }
    // A velocity turns with the frame: its end point, less the old centre, both re-based.
    void vector(float& x, float& y, float& z) const
    {
        float ox = 0.0f, oy = 0.0f, oz = 0.0f;
        point(ox, oy, oz);
        point(x, y, z);
        x -= ox, y -= oy, z -= oz;
    }
    // Re-bases (x, z) at height y, leaving y where it was.
    void point_xz(float& x, float y, float& z) const
    {
        float yy = y;
        point(x, yy, z);
    }
    // Degrees by which the frame's north turns at the point: a heading taken
    // about the old centre plus this is the same heading about the new one.
    // Worked in double precision, as a metre is lost in a float far out.
    double heading_turn_deg(double x, double y, double z) const;
};

// Whole degrees from the new reference back to the old one for a move: mode
// 2 (west) lon +1, 3 (east) lon -1, 4 (north) lat -1, 5 (south) lat +1; 0, 0
// for any other mode.
struct origin_shift_step {
    int lon, lat;
};
origin_shift_step APT_origin_shift_step(int mode);
// The frame of a one-degree move (modes 2 to 5) from the old origin to the
// current lat_ref/lon_ref; false, with `frame` untouched, for any other mode.
bool APT_origin_shift_frame(int mode, origin_rebase_frame& frame);

// The packed reference of an origin: latitude sign digit x 1,000,000 +
// |latitude| x 10,000 + longitude sign digit x 1,000 + |longitude| (sign
// digit 1 for a negative, 2 otherwise), and back.
int32_t APT_pack_reference(float lat, float lon);
void APT_unpack_reference(int32_t packed, float& lat, float& lon);

// Carries everything over from the old origin to the current one (modes 2 to
// 5; any other mode does nothing): first the scene's records (the wakes at
// the ships' old heights), then the planes' terrain cells, the planes, the
// ships, the replay ring, the weapons and the storm grid.
void APT_shift_origin(int mode);
// After a jump of the corner from (old_lat_ref, old_lon_ref) to the current
// one: the planes in play (position, velocity and heading) and the weapons
// are carried over, so that a plane whose own position asked for the jump
// (a flight across a pole turns the longitude by half a turn) flies on where
// it is; the rest of the world is built anew by the full rebuild. A corner
// that is no number carries nothing.
void APT_carry_over_jump(float old_lat_ref, float old_lon_ref);
