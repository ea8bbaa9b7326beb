// The built-in ship and platform models as vertex tables (x across or east,
// y up from the water, z along the hull or south; metres), filled once at
// start-up by the simulation defaults and never changed afterwards: the
// carrier's hull, gallery, deck edge, island and deck lights, the frigate's
// hull and superstructure, platform A's four blocks and platform B's 25.
#pragma once

struct model_vertex {
    float x, y, z;
};
constexpr int CARRIER_HULL_SIDE = 14;       // pairs (waterline, hull top) of the hull side
constexpr int CARRIER_UPPER_HULL = 10;      // pairs (hull top, deck underside) of the gallery
constexpr int CARRIER_DECK_EDGE = 24;       // pairs (deck underside, deck) round the outline
constexpr int CARRIER_ISLAND_LEVELS = 7;    // eight-vertex blocks
constexpr int CARRIER_DECK_LIGHTS = 70;     // 0-62 along the landing area, 63-69 the ball's row (66 its base)
constexpr int FRIGATE_HULL = 26;            // 13 pairs (bottom, top) from the port quarter round the bow
constexpr int FRIGATE_BLOCKS = 7;           // superstructure blocks: four lower, then four upper corners
constexpr int PLATFORM_A_BLOCKS = 4;        // helideck, deck, drill floor, derrick: eight vertices each
constexpr int PLATFORM_B_BOXES = 25;

struct ship_model_tables_record {
    model_vertex carrier_hull_side[CARRIER_HULL_SIDE];
    model_vertex carrier_upper_hull[CARRIER_UPPER_HULL];
    model_vertex carrier_deck_edge[CARRIER_DECK_EDGE];
    model_vertex carrier_island[CARRIER_ISLAND_LEVELS * 8];
    model_vertex carrier_lights[CARRIER_DECK_LIGHTS];
    model_vertex frigate_hull[FRIGATE_HULL];
    model_vertex frigate_blocks[FRIGATE_BLOCKS * 8];
    model_vertex platform_a[PLATFORM_A_BLOCKS * 8];
    model_vertex platform_b[PLATFORM_B_BOXES * 8];
};
extern ship_model_tables_record ship_model_tables;

// Fills ship_model_tables (the start-up's defaults call it).
void SHIPS_build_model_tables();
