// The star field and the built-in ship and platform models of the simulation
// defaults.
#include <GL/gl.h>

#include <cmath>

#include "platform/plat_window.h"
#include "shell/defaults.h"
#include "core/random.h"

float star_points[STAR_LIST_COUNT][STARS_PER_LIST][3] = {};
uint32_t star_lists[STAR_LIST_COUNT] = {};
ship_model_tables_record ship_model_tables{};

void DEFAULTS_build_stars()
{
    for (int list = 0; list < STAR_LIST_COUNT; ++list) {
        for (int i = 0; i < STARS_PER_LIST; ++i) {
            float c[3];
            for (float& v : c) v = static_cast<float>(UTIL_rand()) * 3110.0f / 32767.0f - STAR_RADIUS;
            float len = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
            if (!(len > 1.0f)) len = 1.0f;   // a point at the centre is only scaled
            for (int k = 0; k < 3; ++k) star_points[list][i][k] = c[k] * STAR_RADIUS / len;
        }
    }
    if (!PLAT_window_exists()) return;   // no OpenGL context: the points stay in the arrays
    DEFAULTS_free_star_lists();
    for (int list = 0; list < STAR_LIST_COUNT; ++list) {
        const GLuint name = glGenLists(1);
        star_lists[list] = name;
        if (!name) continue;
        glNewList(name, GL_COMPILE);
        for (int i = 0; i < STARS_PER_LIST; ++i) glVertex3fv(star_points[list][i]);
        glEndList();
    }
}

void DEFAULTS_free_star_lists()
{
    for (uint32_t& name : star_lists) {
        if (name && PLAT_window_exists()) glDeleteLists(name, 1);
        name = 0;
    }
}

namespace {

// Eight vertices of a box: the four bottom corners at y0, then the four top
// corners at y1, of the rectangle x = cx +- hx, z = cz +- hz; each layer may be
// narrowed by a factor.
void box(model_vertex* out, float hx, float hz, float y0, float y1, float cx, float cz, float bottom_factor = 1.0f,
         float top_factor = 1.0f)
{
    const float sx[4] = {-1.0f, -1.0f, 1.0f, 1.0f};
    const float sz[4] = {1.0f, -1.0f, -1.0f, 1.0f};
    for (int k = 0; k < 4; ++k) {
        out[k] = {cx + sx[k] * hx * bottom_factor, y0, cz + sz[k] * hz * bottom_factor};
        out[4 + k] = {cx + sx[k] * hx * top_factor, y1, cz + sz[k] * hz * top_factor};
    }
}

void carrier()
{
    static const model_vertex hull_side[CARRIER_HULL_SIDE] = {
        {-8, -10, 140}, {-15, 10, 155}, {-16, -10, 100}, {-18, 10, 140}, {-16, -10, 0},  {-18, 10, -60},
        {0, -10, -140}, {0, 10, -145},  {16, -10, 0},    {18, 10, -60},  {16, -10, 100}, {18, 10, 140},
        {8, -10, 140},  {15, 10, 155}};
    static const model_vertex upper_hull[CARRIER_UPPER_HULL] = {
        {-18, 10, 140}, {-18, 18, 140}, {-18, 10, -60}, {-18, 18, -75}, {0, 10, -145},
        {0, 18, -152},  {18, 10, -60},  {18, 18, -75},  {18, 10, 140},  {18, 18, 140}};
    static const model_vertex deck_edge[CARRIER_DECK_EDGE] = {
        {-19, 18, 160},  {-19, 21, 160},  {-19, 18, -56}, {-19, 21, -56}, {-15, 18, -154}, {-15, 21, -154},
        {15, 18, -154},  {15, 21, -154},  {20, 18, -62},  {20, 21, -62},  {20, 18, 154},   {20, 21, 154},
        {-19, 18, 112},  {-19, 21, 112},  {-35, 18, 80},  {-35, 21, 80},  {-35, 18, -51},  {-35, 21, -51},
        {19, 18, 98},    {19, 21, 98},    {36, 18, -39},  {36, 21, -39},  {36, 18, 98},    {36, 21, 98}};
    ship_model_tables_record& t = ship_model_tables;
    for (int i = 0; i < CARRIER_HULL_SIDE; ++i) t.carrier_hull_side[i] = hull_side[i];
    for (int i = 0; i < CARRIER_UPPER_HULL; ++i) t.carrier_upper_hull[i] = upper_hull[i];
    for (int i = 0; i < CARRIER_DECK_EDGE; ++i) t.carrier_deck_edge[i] = deck_edge[i];

    // The island: seven levels of a rectangle centred at x 28, z 11. The even
    // places of each block hold the level's corners, the odd places the same
    // corners of the level above, so the sides can be drawn as strips.
    static const float level[CARRIER_ISLAND_LEVELS][3] = {{0, 6, 10},       {3.51f, 6, 10}, {5.97f, 8, 12},
                                                          {13.71f, 8, 12},  {15, 6, 10},    {15, 0.4f, 0.4f},
                                                          {30, 0.4f, 0.4f}};
    auto corner = [](const float* l, int k) {
        const float a = l[0], b = l[1], c = l[2];
        const model_vertex corners[4] = {
            {28 - b, 21 + a, 11 + c}, {28 - b, 21 + a, 11 - c}, {28 + b, 21 + a, 11 - c}, {28 + b, 21 + a, 11 + c}};
        return corners[k];
    };
    for (int lv = 0; lv < CARRIER_ISLAND_LEVELS; ++lv) {
        const float* above = level[lv + 1 < CARRIER_ISLAND_LEVELS ? lv + 1 : lv];
        for (int k = 0; k < 4; ++k) {
            t.carrier_island[lv * 8 + 2 * k] = corner(level[lv], k);
            t.carrier_island[lv * 8 + 2 * k + 1] = corner(above, k);
        }
    }

    // Deck-marking lines at deck height: the angled deck's two edge lines.
    for (int i = 0; i < CARRIER_MARK_RUN; ++i) {
        t.carrier_marks[0][i] = {-10.5f - 1.2894737f * i, 21.0f, 158.73f - 10.775263f * i};
        t.carrier_marks[1][i] = {13.0f - 1.4947618f * i, 21.0f, 154.94f - 10.759048f * i};
    }
}

void frigate()
{
    // From the bow down the port side, round the stern and back up the starboard side.
    static const model_vertex port[6][2] = {{{-12, -6, 82}, {-12, 6, 84}},  {{-15, -7, 70}, {-15, 7, 70}},
                                            {{-15, -8, 40}, {-15, 8, 40}},  {{-15, -8, 0}, {-15, 8, 0}},
                                            {{-15, -8, -25}, {-15, 8, -30}}, {{-15, -8, -50}, {-15, 8, -60}}};
    ship_model_tables_record& t = ship_model_tables;
    int n = 0;
    for (const auto& pair : port) {
        t.frigate_hull[n++] = pair[0];
        t.frigate_hull[n++] = pair[1];
    }
    t.frigate_hull[n++] = {0, -10, -90};
    t.frigate_hull[n++] = {0, 10, -100};
    for (int i = 5; i >= 0; --i) {
        t.frigate_hull[n++] = {-port[i][0].x, port[i][0].y, port[i][0].z};
        t.frigate_hull[n++] = {-port[i][1].x, port[i][1].y, port[i][1].z};
    }
    box(&t.frigate_boxes[0], 9.0f, 20.0f, 8.0f, 18.0f, 0.0f, 10.0f);
    box(&t.frigate_boxes[8], 6.0f, 8.0f, 18.0f, 28.0f, 0.0f, 14.0f);
    box(&t.frigate_boxes[16], 1.0f, 1.0f, 24.0f, 50.0f, 0.0f, 12.0f, 1.0f, 0.5f);   // the mast
}

void platforms()
{
    ship_model_tables_record& t = ship_model_tables;
    // First platform: helideck, deck, box and derrick.
    box(&t.platform_a[0], 12.0f, 12.0f, 59.0f, 60.0f, 0.0f, 65.0f, 11.0f / 12.0f, 1.0f);
    static const float deck[4][2] = {{-5, 75}, {-40, -40}, {40, -40}, {5, 75}};
    for (int k = 0; k < 4; ++k) {
        t.platform_a[8 + k] = {deck[k][0], 45.0f, deck[k][1]};
        t.platform_a[12 + k] = {deck[k][0], 54.0f, deck[k][1]};
    }
    box(&t.platform_a[16], 19.0f, 19.0f, 54.0f, 61.0f, 0.0f, 0.0f);
    box(&t.platform_a[24], 1.0f, 1.0f, 61.0f, 165.0f, 0.0f, 0.0f);

    // Second platform: 25 boxes (half-widths, bottom, top, centre).
    struct box_row {
        float hx, hz, y0, y1, cx, cz;
    };
    static const box_row rows[PLATFORM_B_BOXES] = {
        {50, 50, 95, 110, 0, 0},    {70, 70, 55, 65, 0, 0},     {70, 70, 85, 95, 0, 0},    {58, 58, 105, 106, 0, 0},
        {2, 2, 0, 210, 0, 0},       {12, 12, 110, 150, 20, 20}, {8, 8, 150, 190, 20, 20},  {5, 5, 190, 205, 20, 20},
        {6, 6, 0, 55, 55, 55},      {6, 6, 0, 55, -55, 55},     {6, 6, 0, 55, 55, -55},    {6, 6, 0, 55, -55, -55},
        {5, 5, 65, 85, 55, 55},     {5, 5, 65, 85, -55, 55},    {5, 5, 65, 85, 55, -55},   {5, 5, 65, 85, -55, -55},
        {10, 20, 110, 118, -40, 30}, {10, 20, 118, 126, -40, 30}, {15, 15, 110, 112, -40, -40},
        {3, 3, 110, 130, 45, -45},  {1, 20, 130, 131, 45, -25}, {6, 6, 65, 85, 0, 0},      {4, 4, 110, 140, -50, -50},
        {30, 2, 95, 96, 0, 60},     {2, 30, 95, 96, 60, 0}};
    for (int b = 0; b < PLATFORM_B_BOXES; ++b) {
        const box_row& r = rows[b];
        const float bottom = b == 5 ? 0.95f : 1.0f;
        const float top = (b == 6 || b == 7 || b == 22) ? 0.75f : 1.0f;
        box(&t.platform_b[b * 8], r.hx, r.hz, r.y0, r.y1, r.cx, r.cz, bottom, top);
    }
}

}  // namespace

void DEFAULTS_build_ship_models()
{
    ship_model_tables = ship_model_tables_record{};
    carrier();
    frigate();
    platforms();
}
