// The simulation defaults: the one-time set-up of the simulation at start-up,
// after the window, the folder table and the language texts exist and before
// the general and pilot preferences are read (which then overwrite whatever
// they store). It opens sound and speech, builds the star field and the
// built-in ship and platform models, reads the key file, loads the sky
// colours, fills the radio-chatter sound slots and gives the simulation
// settings their start values.
#pragma once

#include <cstdint>

// The star field: four lists of 8000 points on a sphere of radius 1555 about
// the origin. The points are kept here; when an OpenGL context exists each
// list is also compiled into a display list (star_lists) that the sky drawing
// calls between its own begin and end of points.
constexpr int STAR_LIST_COUNT = 4;
constexpr int STARS_PER_LIST = 8000;
constexpr float STAR_RADIUS = 1555.0f;
extern float star_points[STAR_LIST_COUNT][STARS_PER_LIST][3];
extern uint32_t star_lists[STAR_LIST_COUNT];   // 0 when no list was compiled

// The built-in ship and platform models: vertex tables (x across, y up, z
// along the hull, metres).
struct model_vertex {
    float x, y, z;
};
constexpr int CARRIER_HULL_SIDE = 14;       // pairs (lower, upper) of the hull side
constexpr int CARRIER_UPPER_HULL = 10;
constexpr int CARRIER_DECK_EDGE = 24;
constexpr int CARRIER_ISLAND_LEVELS = 7;    // eight-vertex blocks
constexpr int CARRIER_MARK_RUN = 20;        // points in each deck-marking run
constexpr int FRIGATE_HULL = 26;            // 13 pairs from the bow round the stern and back
constexpr int FRIGATE_BOXES = 3;            // superstructure boxes and the mast, eight vertices each
constexpr int PLATFORM_A_BLOCKS = 4;        // helideck, deck, box, derrick: eight vertices each
constexpr int PLATFORM_B_BOXES = 25;

struct ship_model_tables_record {
    model_vertex carrier_hull_side[CARRIER_HULL_SIDE];
    model_vertex carrier_upper_hull[CARRIER_UPPER_HULL];
    model_vertex carrier_deck_edge[CARRIER_DECK_EDGE];
    model_vertex carrier_island[CARRIER_ISLAND_LEVELS * 8];
    model_vertex carrier_marks[2][CARRIER_MARK_RUN];
    model_vertex frigate_hull[FRIGATE_HULL];
    model_vertex frigate_boxes[FRIGATE_BOXES * 8];
    model_vertex platform_a[PLATFORM_A_BLOCKS * 8];
    model_vertex platform_b[PLATFORM_B_BOXES * 8];
};
extern ship_model_tables_record ship_model_tables;

// Fills the star points (four lists) from the random generator and, when an
// OpenGL context exists, compiles them into star_lists.
void DEFAULTS_build_stars();
// Deletes the compiled star lists (a new build replaces the old ones).
void DEFAULTS_free_star_lists();
// Fills ship_model_tables.
void DEFAULTS_build_ship_models();

// The whole set-up, once, at start-up.
void SIM_init_defaults();
