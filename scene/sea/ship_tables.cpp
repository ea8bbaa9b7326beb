// The built-in ship and platform vertex tables.
#include "scene/sea/ship_tables.h"

#include "world/ship_decks.h"

ship_model_tables_record ship_model_tables{};

namespace {

// Four corners of the rectangle x = cx +- hx, z = z0..z1 at height y, in the
// order (-x, z1), (-x, z0), (+x, z0), (+x, z1).
void rectangle(model_vertex* out, float cx, float hx, float y, float z0, float z1)
{
    out[0] = {cx - hx, y, z1};
    out[1] = {cx - hx, y, z0};
    out[2] = {cx + hx, y, z0};
    out[3] = {cx + hx, y, z1};
}

// Eight vertices of a box: the four bottom corners at y0, then the four top
// corners at y1, of the rectangle x = cx +- hx, z = cz +- hz; each layer may be
// narrowed by a factor.
void box(model_vertex* out, float hx, float hz, float y0, float y1, float cx, float cz, float bottom_factor = 1.0f,
         float top_factor = 1.0f)
{
    rectangle(out, cx, hx * bottom_factor, y0, cz - hz * bottom_factor, cz + hz * bottom_factor);
    rectangle(out + 4, cx, hx * top_factor, y1, cz - hz * top_factor, cz + hz * top_factor);
}

void carrier(ship_model_tables_record& t)
{
    static const model_vertex hull_side[CARRIER_HULL_SIDE] = {
        {-8, -10, 140}, {-15, 10, 155}, {-16, -10, 100}, {-18, 10, 140}, {-16, -10, 0},  {-18, 10, -60},
        {0, -10, -140}, {0, 10, -145},  {16, -10, 0},    {18, 10, -60},  {16, -10, 100}, {18, 10, 140},
        {8, -10, 140},  {15, 10, 155}};
    static const model_vertex upper_hull[CARRIER_UPPER_HULL] = {
        {-18, 10, 140}, {-18, 18, 140}, {-18, 10, -60}, {-18, 18, -75}, {0, 10, -145},
        {0, 18, -152},  {18, 10, -60},  {18, 18, -75},  {18, 10, 140},  {18, 18, 140}};
    for (int i = 0; i < CARRIER_HULL_SIDE; ++i) t.carrier_hull_side[i] = hull_side[i];
    for (int i = 0; i < CARRIER_UPPER_HULL; ++i) t.carrier_upper_hull[i] = upper_hull[i];
    // The deck edge: each corner of the deck outline at the deck's underside and at its top.
    for (int i = 0; i < CARRIER_DECK_EDGE / 2; ++i) {
        const deck_point& c = CARRIER_DECK_CORNERS[i];
        t.carrier_deck_edge[2 * i] = {c.x, CARRIER_DECK_UNDERSIDE_Y_M, c.z};
        t.carrier_deck_edge[2 * i + 1] = {c.x, CARRIER_DECK_Y_M, c.z};
    }
    static_assert(CARRIER_DECK_EDGE == 2 * sizeof CARRIER_DECK_CORNERS / sizeof CARRIER_DECK_CORNERS[0]);

    // The island: seven levels of a rectangle centred at x 28, z 11. The even
    // places of each block hold the level's corners, the odd places the same
    // corners of the level above, so the sides can be drawn as strips.
    static const float level[CARRIER_ISLAND_LEVELS][3] = {{0, 6, 10},       {3.51f, 6, 10}, {5.97f, 8, 12},
                                                          {13.71f, 8, 12},  {15, 6, 10},    {15, 0.4f, 0.4f},
                                                          {30, 0.4f, 0.4f}};
    for (int lv = 0; lv < CARRIER_ISLAND_LEVELS; ++lv) {
        const float* here = level[lv];
        const float* above = level[lv + 1 < CARRIER_ISLAND_LEVELS ? lv + 1 : lv];
        model_vertex lo[4], hi[4];
        rectangle(lo, 28.0f, here[1], 21.0f + here[0], 11.0f - here[2], 11.0f + here[2]);
        rectangle(hi, 28.0f, above[1], 21.0f + above[0], 11.0f - above[2], 11.0f + above[2]);
        for (int k = 0; k < 4; ++k) {
            t.carrier_island[lv * 8 + 2 * k] = lo[k];
            t.carrier_island[lv * 8 + 2 * k + 1] = hi[k];
        }
    }

    // Deck lights: three runs along the landing area at deck height, then the
    // row on the port edge whose middle entry is the glide-slope ball's base.
    for (int i = 0; i < CARRIER_DECK_LIGHTS; ++i) {
        model_vertex& v = t.carrier_lights[i];
        if (i < 20)
            v = {-10.5f - 1.289474f * i, 21.0f, 158.73f - 10.77526f * i};
        else if (i < 41)
            v = {1.25f + (i - 20) * (-26.695f - 1.25f) / 21.0f, 21.0f, 156.835f + (i - 20) * (-58.5f - 156.835f) / 21.0f};
        else if (i < 63)
            v = {13.0f - 1.494762f * (i - 41), 21.0f, 154.94f - 10.75905f * (i - 41)};
        else
            v = {-35.0f + 1.5f * (i - 66), 23.0f, 76.0f};
    }
}

void frigate(ship_model_tables_record& t)
{
    // Port side from the quarter to the bow, the bow point, then the
    // starboard side mirrored back to its quarter.
    static const model_vertex port[12] = {{-12, -6, 82}, {-12, 6, 84},  {-15, -6, 70},  {-15, 6, 70},
                                          {-15, -7, 70}, {-15, 7, 70},  {-15, -7, 40},  {-15, 7, 40},
                                          {-15, -8, 40}, {-15, 8, 40},  {-15, -8, -50}, {-15, 8, -60}};
    int n = 0;
    for (const model_vertex& v : port) t.frigate_hull[n++] = v;
    t.frigate_hull[n++] = {0, -10, -90};
    t.frigate_hull[n++] = {0, 10, -100};
    for (int i = 10; i >= 0; i -= 2) {
        t.frigate_hull[n++] = {-port[i].x, port[i].y, port[i].z};
        t.frigate_hull[n++] = {-port[i + 1].x, port[i + 1].y, port[i + 1].z};
    }

    // Superstructure: a lower and a slightly smaller upper rectangle each
    // (half-width, height, z from, z to).
    struct layer {
        float hx, y, z0, z1;
    };
    static const layer blocks[FRIGATE_BLOCKS][2] = {
        {{11, 8, 5, 35}, {10, 15, 5, 30}},           // aft block
        {{7, 15, 10, 25}, {6, 21, 10, 23}},          // aft upper block
        {{11, 8, -45, -5}, {10, 15, -40, -5}},       // forward block
        {{7, 15, -35, -20}, {6, 24, -33, -20}},      // bridge
        {{1, 24, -27, -25}, {0.5f, 50, -20.5f, -19.5f}},   // mast
        {{4, 21, 12.3f, 20}, {3, 28, 15, 20}},       // aft funnel
        {{5, 15, -18, -8}, {3, 28, -13, -8}}};       // forward funnel
    for (int b = 0; b < FRIGATE_BLOCKS; ++b)
        for (int k = 0; k < 2; ++k) {
            const layer& l = blocks[b][k];
            rectangle(&t.frigate_blocks[b * 8 + 4 * k], 0.0f, l.hx, l.y, l.z0, l.z1);
        }
}

void platforms(ship_model_tables_record& t)
{
    // Platform A: helicopter deck slab, main deck, drill floor block, derrick core.
    box(&t.platform_a[0], 12.0f, 12.0f, 59.0f, 60.0f, 0.0f, 65.0f, 11.0f / 12.0f, 1.0f);
    static const float deck[4][2] = {{-5, 75}, {-40, -40}, {40, -40}, {5, 75}};
    for (int k = 0; k < 4; ++k) {
        t.platform_a[8 + k] = {deck[k][0], 45.0f, deck[k][1]};
        t.platform_a[12 + k] = {deck[k][0], 54.0f, deck[k][1]};
    }
    box(&t.platform_a[16], 19.0f, 19.0f, 54.0f, 61.0f, 0.0f, 0.0f);
    box(&t.platform_a[24], 1.0f, 1.0f, 61.0f, 165.0f, 0.0f, 0.0f);

    // Platform B: 25 blocks (half x, half z, bottom, top, centre x, centre z);
    // block 5 is the helicopter deck.
    struct box_row {
        float hx, hz, y0, y1, cx, cz;
    };
    static const box_row rows[PLATFORM_B_BOXES] = {
        {50, 50, 95, 110, 0, 0},    {70, 70, 55, 65, 0, 0},      {70, 70, 85, 95, 0, 0},     {58, 58, 105, 106, 0, 0},
        {2, 2, 0, 210, 0, 0},       {14, 14, 95, 97, 0, 90},     {5, 5, 110, 120, 35, 35},   {5, 5, 112, 122, 35, 5},
        {10, 10, 110, 135, -35, 35}, {12, 30, 110, 112, 35, -5}, {9, 9, 110, 125, 35, -35},  {14, 14, 110, 130, -35, -35},
        {15, 15, 120, 121, -35, 35}, {15, 15, 130, 131, -35, 35}, {1.5f, 28, 90, 96, -10, 76}, {1.5f, 28, 90, 96, 10, 76},
        {58, 58, 100, 101, 0, 0},   {10, 10, 110, 123, 0, 35},   {12, 12, 115, 116, 0, 35},  {12, 12, 120, 121, 0, 35},
        {65, 65, 70, 71, 0, 0},     {65, 65, 78, 79, 0, 0},      {5, 5, 110, 120, -35, 0},   {20, 60, 65, 85, -30, 0},
        {20, 60, 65, 85, 30, 0}};
    for (int b = 0; b < PLATFORM_B_BOXES; ++b) {
        const box_row& r = rows[b];
        const float bottom = b == 5 ? 0.95f : 1.0f;
        const float top = (b == 6 || b == 7 || b == 22) ? 0.75f : 1.0f;
        box(&t.platform_b[b * 8], r.hx, r.hz, r.y0, r.y1, r.cx, r.cz, bottom, top);
    }
}

}  // namespace

void SHIPS_build_model_tables()
{
    ship_model_tables = ship_model_tables_record{};
    carrier(ship_model_tables);
    frigate(ship_model_tables);
    platforms(ship_model_tables);
}
