// What stands on the ground of the loaded tile (TERRAIN_draw, scene/drawers.h):
// the placed obstacles and, around the camera, the cover each visible cell's
// ground texture grows (objects, night lights, trees, parked cars, cars on
// road loops, layered forest canopy), and on the Earth small figures along
// the borders of airport areas. Every random choice is an entry of the random
// table indexed by cell and definition, so a cell looks the same in every
// frame and every time it comes back into view.
//
// Reads: the terrain grid (points, land use, airport flags, cell codes),
// cell_visible, camera_cell, terrain_window, view_footprint, the loaded area,
// scene_ground_elevation, the camera, the object table and placements,
// cover_table, the land-use table, the settings autogen_level,
// autogen_distance and draw_obstacles, percent_lights_on, the sun's azimuth
// and declination, the frame period and clock, the network time, the cockpit
// light levels, the planet.
// Writes: terrain_night, terrain_tilt, scene_cull_margin and
// scene_footprint_box (left at margin 0, the bare box), the placements'
// visible flags, the road cars of the cover table, the light queue,
// particles, GL state. Where the generated objects stand is the world's rule
// (world/cover_placement.h), which the simulation also walks to find their
// hard roofs under the plane; the pass marks no surface.
#pragma once

#include <cstdint>

// 1 while percent_lights_on is above 0 this frame.
extern int32_t terrain_night;

// The globe's curve as tilt per metre (degrees) about the z axis for x and the
// x axis for z: 1 / (cos(grid centre latitude) x 111,120) and -1 / 111,120.
struct terrain_tilt_record {
    float east_factor;
    float north_factor;
};
extern terrain_tilt_record terrain_tilt;

// Kept between calls and frames: the corner of the movie frame the next
// movie vertex takes (-1 before the first).
struct terrain_objects_kept_record {
    int32_t movie_corner;
};
extern terrain_objects_kept_record terrain_objects_kept;
void TERRAIN_objects_reset();

// One object of the object table at (x, y, z) turned to `heading` degrees:
// its level of detail by distance, leaning with the globe, its lights,
// smoke and night movie screens.
// Between begin and end, objects whose levels are plain faces are gathered
// and drawn at the end from vertex arrays, one draw per texture pair (their
// lights, smoke and screens after them, in order); the arrays are kept
// while the gathered placements stay the same from frame to frame. Outside,
// every object is drawn at once. Hard roofs are not the drawing's: the
// simulation finds those of placed and generated objects alike.
void TERRAIN_draw_object(int object, float x, float y, float z, float heading);
void TERRAIN_objects_begin();
void TERRAIN_objects_end();
// The vertex arrays the last end drew.
int TERRAIN_objects_batched();
// Adjusts a light's colour by its red code (steady, flashing, pulsing,
// strobe, traffic light); 1 when the light shows now, 0 when it is dark.
int TERRAIN_light_color(float x, float z, float& r, float& g, float& b);
// One smoke puff of emitter `item` of level `level` of the object.
void TERRAIN_spawn_smoke(int object, int level, int item, float x, float y, float z, float heading);
// The movie screen's frame at frame-clock time `clock`: left, right, lower
// and upper edge (s, s, t, t) in the movie texture.
void TERRAIN_movie_frame(float clock, float rect[4]);

// One tree as two crossed upright quads, 14 m wide and tall, inside the
// caller's GL_QUADS block: atlas cell `index` mod 64 of the 8 x 8 tree atlas.
void TERRAIN_draw_tree(float x, float y, float z, int index);
