// The landing surfaces of the sea objects: the ships' speeds, the deck
// heights, and the deck outlines in each object's own frame (x starboard or
// east, z aft or south, metres). The one home of these numbers: the ship
// drawing builds its deck from them, the deck contact, the arresting hook and
// the terrain query read them.
#pragma once

constexpr float CARRIER_SPEED_MPS = 15.0f;
constexpr float FRIGATE_SPEED_MPS = 10.0f;
constexpr float CARRIER_DECK_Y_M = 21.0f;            // the flight deck above the carrier's position
constexpr float CARRIER_DECK_UNDERSIDE_Y_M = 18.0f;
constexpr float FRIGATE_DECK_Y_M = 7.0f;
constexpr float OILRIG_A_DECK_Y_M = 60.0f;
constexpr float OILRIG_B_DECK_Y_M = 97.0f;

struct deck_point {
    float x, z;
};

// The carrier's flight deck: twelve corners, the main deck (0-5), the port
// angled-deck sponson (6-8) and the starboard island sponson (9-11).
constexpr deck_point CARRIER_DECK_CORNERS[12] = {{-19, 160}, {-19, -56}, {-15, -154}, {15, -154}, {20, -62}, {20, 154},
                                                 {-19, 112}, {-35, 80},  {-35, -51},  {19, 98},   {36, -39},  {36, 98}};
// The deck's three landing polygons as corners of that table, in outline order.
constexpr int CARRIER_MAIN_DECK[6] = {0, 1, 2, 3, 4, 5};
constexpr int CARRIER_PORT_SPONSON[4] = {6, 7, 8, 1};
constexpr int CARRIER_STARBOARD_SPONSON[4] = {4, 10, 11, 9};
constexpr deck_point CARRIER_WIRES[4] = {{-16, 136}, {-23, 80}, {5, 76}, {13, 131}};
constexpr deck_point CARRIER_CATAPULT[4] = {{-16.5f, -51}, {-16.5f, -59}, {-8.5f, -59}, {-8.5f, -51}};
// The catapult's line: from the start on the port bow, turned 2 degrees to
// starboard of the ship's heading, along the bow's port edge to the bow.
constexpr deck_point CARRIER_CATAPULT_START = {-12.5f, -60.0f};
constexpr float CARRIER_CATAPULT_TURN_DEG = 2.0f;
constexpr deck_point FRIGATE_DECK[4] = {{-15, 70}, {-15, 40}, {15, 40}, {15, 70}};
constexpr deck_point OILRIG_A_DECK[4] = {{-12, 77}, {-12, 53}, {12, 53}, {12, 77}};
constexpr deck_point OILRIG_B_DECK[4] = {{-14, 104}, {-14, 76}, {14, 76}, {14, 104}};

// 1 when P (relative to the ship's origin) lies strictly on the inner (left)
// side of the edge A->B of the ship's own frame turned by the heading whose
// sine and cosine are s and c; a zero-length edge gives 0.
int SHIPS_point_left_of_edge(float ax, float az, float bx, float bz, float px, float pz, float s, float c);

// 1 when the object's position and attitude are placed and finite.
bool SHIPS_placed(int slot);
