// The surfaces of the placed world a plane can stand on: the hard roofs of
// the scenery objects, placed or generated from the land-cover definitions,
// and the road spans of the vector cells. The simulation asks them about the
// point under the user's plane in every step, whatever a frame draws.
#pragma once

// The hard quad at `item` of level `level` of object `object`, placed at
// (x, y, z) turned to `heading` (degrees): whether the local point (px, pz)
// lies strictly inside its four corners (the second to fifth items after it),
// and then through `height` the roof's height, y + its first corner's y. A
// quad cut short at the end of its list, or an object or level past its
// table, has no inside. This is the terrain object drawing's hard-quad test
// (TERRAIN_hard_quad), moved to the ground step: the roof carries the plane
// whether or not a frame draws the object.
bool OBJ_hard_quad_under(int object, int level, int item, float x, float y, float z, float heading, float px,
                         float pz, float& height);

// The hard roof of the placed obstacles under the local point (px, pz) of a
// plane at height py: the level of detail of each object is the one its
// distance from the plane picks, as the drawing picks it by the camera's;
// objects placed more than 1 km across from the plane are not read. Of
// several roofs the last of the placement list counts. False when none.
bool OBJ_roof_under(float px, float py, float pz, float& height);

// The hard roof under (px, pz) of the objects generated from the land-cover
// definitions around cell (i, j) (the plane's cell; a hint off the grid is
// held to it), taken by the definitions' `stride` (COVER_stride): each object
// stands and is picked as the terrain pass draws it (world/cover_placement.h)
// and its level of detail is the one its distance from the plane at height py
// picks. These are houses and shops: objects standing more than 100 m across
// from the plane are not read, nor the definitions and cells that cannot
// stand that near. Of several roofs the last in the pass's order counts.
// False when none.
bool COVER_roof_under(int i, int j, float px, float py, float pz, long long stride, float& height);

// Whether (x, z) lies inside a span of a highway, trail or railroad listed at
// terrain point (i, j) (the cell the plane is in); a point on a span's edge
// is outside.
bool SEG_on_road(int i, int j, float x, float z);
