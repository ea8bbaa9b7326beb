// The models of the carrier, the frigate and the two oil platforms, each in
// its own frame (x starboard or east, y up from the water, z aft or south),
// with their mast lines, lattices and lights. The hulls, decks, blocks and
// deck lights come from the built-in vertex tables (ship_model_tables); only
// what those tables do not hold (masts, lattices, booms, light rings) is
// kept here.
#include <algorithm>
#include <cmath>

#include <GL/gl.h>

#include "core/frame_clock.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"
#include "scene/sea/sea.h"
#include "scene/sea/ship_tables.h"
#include "world/ships.h"

namespace {

using v3 = model_vertex;
struct xz {
    float x, z;
};
struct segment {
    v3 a, b;
};

constexpr int LINE_COLOUR_ROW = 25;
constexpr int TEX_SLOT_RWAY_PAVE = 154;   // the asphalt runway paving (RUNWAYS:ASPHALT:RWAY_PAVE.BMP)
constexpr int LIGHT_KIND_POINT = 105;
constexpr int LIGHT_KIND_SPLASH = 107;

void solid_state(int textures)
{
    OGL_set_state(STATE_FOG_ON, textures, textures ? STATE_LIGHTING_ON : STATE_LIGHTING_OFF, STATE_OPAQUE,
                  STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
}

void quad(v3 a, v3 b, v3 c, v3 d, float s1, float t1, float s2, float t2)
{
    const float p[4][3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}, {d.x, d.y, d.z}};
    OGL_quad_3d_tex(p[0], p[1], p[2], p[3], s1, t1, s2, t2);
}

// Four walls between a lower and an upper ring of four corners.
void walls(const v3 lo[4], const v3 hi[4], float s1, float t1, float s2, float t2)
{
    for (int k = 0; k < 4; ++k) quad(hi[k], lo[k], lo[(k + 1) % 4], hi[(k + 1) % 4], s1, t1, s2, t2);
}

void lines(const segment* s, int n)
{
    solid_state(0);
    OGL_apply_color(LINE_COLOUR_ROW, 1.0f);
    glBegin(GL_LINES);
    for (int k = 0; k < n; ++k) {
        glVertex3f(s[k].a.x, s[k].a.y, s[k].a.z);
        glVertex3f(s[k].b.x, s[k].b.y, s[k].b.z);
    }
    glEnd();
}

// The line colour scaled by a factor, through the kit's tint and dim.
void line_colour(float r, float g, float b)
{
    const sim_graphics_misc_block& m = sim_graphics_misc;
    const float k = gload_dim_factor;
    glColor3f(r * m.cockpit_light_level_r * k, g * m.cockpit_light_level_g * k, b * m.cockpit_light_level_b * k);
}

bool lights_on() { return sim_graphics_scenery.percent_lights_on > 0.0f; }

void light_frame(int slot)
{
    OGL_lights_begin(0);
    OGL_lights_frame(ship_x[slot], ship_y[slot], ship_z[slot], ship_pitch[slot], ship_heading[slot], ship_roll[slot]);
}

// A ring of lights about (cx, y, cz) every `step` degrees from `first`. Deck
// lights share night key 0 (they come on together at dusk) and vary in
// brightness by their angle.
void light_ring(float cx, float y, float cz, float radius, int first, int step, float r, float g, float b,
                float size, int kind)
{
    for (int a = first; a < 360; a += step) {
        const float s = std::sin(a * DEG_TO_RAD_FLOAT), c = std::cos(a * DEG_TO_RAD_FLOAT);
        OGL_draw_light(cx + radius * s, y, cz + radius * c, r, g, b, 1.0f, size, 0, a, kind);
    }
}

// A triangular lattice tower of `bays` bays from `base`, each bay a line strip
// zig-zagging over the three faces; scale(bay) sizes the bay's corners.
template <class Scale, class Colour>
void lattice(v3 base, int bays, float bay_m, Scale scale, Colour colour)
{
    static const xz post[3] = {{0.0f, 5.0f}, {-4.33f, -2.5f}, {4.33f, -2.5f}};
    for (int bay = 0; bay < bays; ++bay) {
        const float s0 = scale(bay), s1 = scale(bay + 1);
        const float y0 = base.y + bay * bay_m, y1 = y0 + bay_m;
        auto lo = [&](int k) { return v3{base.x + post[k % 3].x * s0, y0, base.z + post[k % 3].z * s0}; };
        auto hi = [&](int k) { return v3{base.x + post[k % 3].x * s1, y1, base.z + post[k % 3].z * s1}; };
        const v3 pts[10] = {lo(0), hi(1), lo(1), hi(2), lo(2), hi(0), lo(0), hi(0), hi(1), hi(2)};
        colour(bay);
        glBegin(GL_LINE_STRIP);
        for (const v3& p : pts) glVertex3f(p.x, p.y, p.z);
        glEnd();
    }
}

// ---------------------------------------------------------------------------
// The carrier.

// The deck edge's pairs in order round the deck's outline, and the four
// quads of the flight deck, as pair numbers of the deck-edge table.
constexpr int CARRIER_OUTLINE_PAIRS[12] = {0, 6, 7, 8, 1, 2, 3, 4, 10, 11, 9, 5};
constexpr int CARRIER_DECK_QUADS[4][4] = {{0, 1, 4, 5}, {1, 2, 3, 4}, {6, 7, 8, 1}, {4, 10, 11, 9}};
constexpr float CARRIER_BANDS[4][2] = {{0.0f, 0.234f}, {0.234f, 0.398f}, {0.398f, 0.914f}, {0.914f, 1.0f}};
constexpr segment CARRIER_MAST[11] = {
    {{28, 51, 11}, {28, 60, 11}}, {{25, 55, 11}, {31, 55, 11}}, {{28, 55, 8}, {28, 55, 14}},
    {{18, 51, 11}, {38, 51, 11}}, {{20, 50, 11}, {36, 50, 11}}, {{28, 46, 11}, {24, 50, 11}},
    {{28, 46, 11}, {32, 50, 11}}, {{28, 45, 1}, {28, 45, 21}},  {{28, 44, 3}, {28, 44, 19}},
    {{28, 40, 11}, {28, 44, 7}},  {{28, 40, 11}, {28, 44, 15}}};

// Side quads between pairs (lower, upper) of a table, pair k to pair k + 1
// round a closed loop of `n` pairs.
void pair_loop(const v3* pairs, int n, float s1, float t1, float s2, float t2)
{
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        quad(pairs[2 * i + 1], pairs[2 * i], pairs[2 * j], pairs[2 * j + 1], s1, t1, s2, t2);
    }
}

void carrier_island()
{
    // Level k's corners stand at the even places of block k.
    const v3* island = ship_model_tables.carrier_island;
    v3 r[CARRIER_ISLAND_LEVELS][4];
    for (int k = 0; k < CARRIER_ISLAND_LEVELS; ++k)
        for (int c = 0; c < 4; ++c) r[k][c] = island[k * 8 + 2 * c];
    quad(r[4][0], r[4][1], r[4][2], r[4][3], 0.75f, 1.0f, 1.0f, 0.914f * 0.5f + 0.5f);   // roof
    walls(r[5], r[6], 0.75f, 0.5f, 1.0f, 1.0f);                                            // mast
    for (int b = 0; b < 4; ++b)
        walls(r[b], r[b + 1], 0.75f, 0.5f + 0.5f * CARRIER_BANDS[b][0], 1.0f, 0.5f + 0.5f * CARRIER_BANDS[b][1]);
}

}  // namespace

void SHIPS_draw_carrier(float, float)
{
    solid_state(1);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    const ship_model_tables_record& t = ship_model_tables;
    glBegin(GL_QUADS);
    pair_loop(t.carrier_hull_side, CARRIER_HULL_SIDE / 2, 0.5f, 1.0f, 0.75f, 0.5f);
    pair_loop(t.carrier_upper_hull, CARRIER_UPPER_HULL / 2, 0.0f, 0.5f, 0.25f, 1.0f);
    for (int i = 0; i < 12; ++i) {
        const v3* a = &t.carrier_deck_edge[2 * CARRIER_OUTLINE_PAIRS[i]];
        const v3* b = &t.carrier_deck_edge[2 * CARRIER_OUTLINE_PAIRS[(i + 1) % 12]];
        quad(a[1], a[0], b[0], b[1], 0.0f, 0.5f, 0.25f, 1.0f);
    }
    carrier_island();
    glEnd();

    // The flight deck: the deck picture spans x -35..36 and z 160..-154 once.
    OGL_bind_tex(TEX_SLOT_DECK, 0);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (const auto& q : CARRIER_DECK_QUADS)
        for (const int pair : q) {
            const v3& p = t.carrier_deck_edge[2 * pair + 1];   // the deck's top
            glTexCoord2f((p.x + 35.0f) / 71.0f, (p.z - 160.0f) / -314.0f);
            glVertex3f(p.x, p.y, p.z);
        }
    glEnd();

    lines(CARRIER_MAST, 11);

    // The glide-slope ball, seen from the eye.
    const sim_graphics_view_block& v = sim_graphics_view;
    bool red = false;
    const float offset = SHIPS_ball_offset(v.view_x - ship_x[SHIP_CARRIER], v.view_y - ship_y[SHIP_CARRIER] - 17.0f,
                                           v.view_z - ship_z[SHIP_CARRIER], &red);
    light_frame(SHIP_CARRIER);
    if (lights_on())
        for (int i = 0; i < 63; ++i) {
            const v3& p = t.carrier_lights[i];
            OGL_draw_light(p.x, p.y, p.z, 1, 1, 1, 1, 1, 0, i, LIGHT_KIND_POINT);
        }
    const v3& ball = t.carrier_lights[66];
    OGL_draw_light(ball.x, ball.y + offset, ball.z, 1, red ? 0.0f : 1.0f, 0, 1, 3, -1, 63, LIGHT_KIND_POINT);
    for (int i = 63; i < CARRIER_DECK_LIGHTS; ++i) {
        if (i == 66) continue;
        const v3& p = t.carrier_lights[i];
        OGL_draw_light(p.x, p.y, p.z, 0.5f, 1, 0.5f, 1, 2, -1, i, LIGHT_KIND_POINT);
    }
    OGL_lights_end();
}

// ---------------------------------------------------------------------------
// The frigate.

namespace {

constexpr segment FRIGATE_MAST[10] = {
    {{0, 50, -20}, {0, 60, -17.7f}},   {{-6, 50, -20}, {6, 50, -20}},   {{0, 46, -21}, {-4, 50, -20}},
    {{0, 46, -21}, {4, 50, -20}},      {{0, 44, -21}, {0, 44, -28}},    {{0, 40, -22.4f}, {0, 44, -26.4f}},
    {{-8, 38, -23}, {8, 38, -23}},     {{-10, 37, -23}, {10, 37, -23}}, {{0, 33, -24}, {-4, 37, -23}},
    {{0, 33, -24}, {4, 37, -23}}};

v3 mirror(v3 p) { return {-p.x, p.y, p.z}; }

// A block of a table: its four bottom corners, then its four top corners.
void block_walls(const v3* b, float s1, float t1, float s2, float t2) { walls(b, b + 4, s1, t1, s2, t2); }

void block_top(const v3* b, float s1, float t1, float s2, float t2)
{
    quad(b[4], b[5], b[6], b[7], s1, t1, s2, t2);
}

}  // namespace

void SHIPS_draw_frigate(float, float)
{
    solid_state(1);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    glBegin(GL_QUADS);
    // The port side's pairs (bottom, top) from the quarter to the bow point;
    // the starboard side is their mirror image.
    const v3* port = ship_model_tables.frigate_hull;
    constexpr int PORT_PAIRS = (FRIGATE_HULL / 2 + 1) / 2;   // six along the side and the bow point
    for (int i = 0; i + 1 < PORT_PAIRS; ++i) {
        const v3 *a = &port[2 * i], *b = &port[2 * i + 2];
        quad(a[1], b[1], mirror(b[1]), mirror(a[1]), 0.0f, 0.5f, 0.25f, 1.0f);                 // deck
        quad(a[1], a[0], b[0], b[1], 0.5f, 1.0f, 0.75f, 0.5f);                                 // port side
        quad(mirror(b[1]), mirror(b[0]), mirror(a[0]), mirror(a[1]), 0.5f, 1.0f, 0.75f, 0.5f); // starboard side
    }
    quad(port[1], port[0], mirror(port[0]), mirror(port[1]), 0.5f, 1.0f, 0.75f, 0.5f);   // the transom
    for (int k = 0; k < FRIGATE_BLOCKS; ++k) {
        const bool funnel = k >= 5;
        block_walls(&ship_model_tables.frigate_blocks[k * 8], funnel ? 0.25f : 0.0f, 0.5f, funnel ? 0.5f : 0.25f,
                    1.0f);
    }
    glEnd();

    // The helicopter deck spans the hull's tops between its 70-m and 40-m
    // stations (pairs 2 and 3).
    OGL_bind_tex(TEX_SLOT_HELIPAD_ASPHALT, 0);
    glBegin(GL_QUADS);
    quad(port[5], port[7], mirror(port[7]), mirror(port[5]), 0.0f, 0.0f, 1.0f, 1.0f);
    glEnd();

    lines(FRIGATE_MAST, 10);

    if (!lights_on()) return;
    light_frame(SHIP_FRIGATE);
    light_ring(0, FRIGATE_DECK_Y_M, 55, 14, 0, 10, 1, 1, 0.5f, 1, LIGHT_KIND_SPLASH);
    light_ring(0, FRIGATE_DECK_Y_M, 55, 16, 45, 90, 1, 1, 1, 2, LIGHT_KIND_SPLASH);
    OGL_lights_end();
}

// ---------------------------------------------------------------------------
// The oil platforms.

namespace {

// Platform A's blocks in its table: the helicopter deck slab, the main deck
// (a trapezoid), the drill floor block and the derrick core.
constexpr int OILRIG_A_HELIDECK = 0, OILRIG_A_MAIN_DECK = 8, OILRIG_A_DRILL_FLOOR = 16, OILRIG_A_DERRICK = 24;
constexpr v3 OILRIG_A_LEGS[3] = {{0, 0, 40}, {-28, 0, -33}, {28, 0, -33}};

void striped(int bay)
{
    const float fade = std::clamp(1.0f - 0.1f * bay, 0.0f, 1.0f);
    if (bay % 2)
        line_colour(fade, fade, fade);
    else
        line_colour(fade, 0.0f, 0.0f);
}

struct boom {
    v3 base;
    float tilt_deg;
};
constexpr boom OILRIG_B_BOOMS[4] = {{{0, 110, 0}, 0}, {{35, 117, 5}, -50}, {{35, 115, 35}, -75}, {{-35, 115, 0}, 45}};
constexpr float BOOM_LENGTH_M = 106.0f;
constexpr int OILRIG_B_HELIDECK = 5;

const v3* oilrig_b_block(int k) { return &ship_model_tables.platform_b[k * 8]; }

// A round column as a quad strip from (x0, y0, z0) to (x1, y1, z1).
void column(v3 lo, v3 hi, float radius, int step_deg)
{
    glBegin(GL_QUAD_STRIP);
    for (int a = 0; a <= 360; a += step_deg) {
        const float s = std::sin(a * DEG_TO_RAD_FLOAT), c = std::cos(a * DEG_TO_RAD_FLOAT);
        glNormal3f(s, 0.0f, c);
        glTexCoord2f(a / 1440.0f + 0.25f, 0.0f);
        glVertex3f(hi.x + radius * s, hi.y, hi.z + radius * c);
        glTexCoord2f(a / 1440.0f + 0.25f, 0.5f);
        glVertex3f(lo.x + radius * s, lo.y, lo.z + radius * c);
    }
    glEnd();
}

// The tip of a boom: 106 m up along its tilted axis from its base.
v3 boom_tip(const boom& b)
{
    const float t = b.tilt_deg * DEG_TO_RAD_FLOAT;
    return {b.base.x - BOOM_LENGTH_M * std::sin(t), b.base.y + BOOM_LENGTH_M * std::cos(t), b.base.z};
}

void light_square(float cx, float cz, float half, int per_side, float step, float y_hi, float y_lo)
{
    for (int side = 0; side < 4; ++side) {
        static const float dir[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
        static const float start[4][2] = {{-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
        const float sx = cx + start[side][0] * (half + 2.0f), sz = cz + start[side][1] * (half + 2.0f);
        for (int k = 0; k < per_side; ++k) {
            const float x = sx + dir[side][0] * step * k, z = sz + dir[side][1] * step * k;
            OGL_draw_light(x, y_hi, z, 1, 1, 1, 1, 1, 0, side, LIGHT_KIND_POINT);
            OGL_draw_light(x, y_lo, z, 1, 1, 1, 1, 1, 0, side, LIGHT_KIND_POINT);
        }
    }
}

}  // namespace

void SHIPS_draw_oilrig_a(float, float, float)
{
    solid_state(1);
    const v3* a = ship_model_tables.platform_a;
    OGL_bind_tex(TEX_SLOT_HELIPAD_ASPHALT, 0);
    glBegin(GL_QUADS);
    block_top(a + OILRIG_A_HELIDECK, 0.0f, 0.0f, 1.0f, 1.0f);
    glEnd();
    OGL_bind_tex(TEX_SLOT_RWAY_PAVE, 0);
    glBegin(GL_QUADS);
    block_top(a + OILRIG_A_DRILL_FLOOR, 0.0f, 0.0f, 1.0f, 1.0f);
    block_top(a + OILRIG_A_DERRICK, 0.0f, 0.0f, 1.0f, 1.0f);
    glEnd();
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    glBegin(GL_QUADS);
    for (int b : {OILRIG_A_HELIDECK, OILRIG_A_DRILL_FLOOR, OILRIG_A_DERRICK}) block_walls(a + b, 0.0f, 0.5f, 0.25f, 1.0f);
    block_walls(a + OILRIG_A_MAIN_DECK, 0.25f, 0.0f, 0.5f, 0.5f);
    block_top(a + OILRIG_A_MAIN_DECK, 0.25f, 0.5f, 0.5f, 1.0f);
    glEnd();

    solid_state(0);
    for (const v3& leg : OILRIG_A_LEGS)
        lattice(leg, 21, 5.0f, [](int) { return 1.0f; }, [](int) { OGL_apply_color(LINE_COLOUR_ROW, 1.0f); });
    lattice({0, 61, 0}, 21, 5.0f, [](int bay) { return std::max(0.5f, 3.0f - 0.125f * bay); }, striped);
    lattice({0, 54, 65}, 2, 2.5f, [](int) { return 1.0f; }, striped);

    if (!lights_on()) return;
    light_frame(SEA_PLATFORM_A);
    light_ring(0, OILRIG_A_DECK_Y_M, 65, 11, 0, 20, 1, 1, 0.5f, 1, LIGHT_KIND_SPLASH);
    light_ring(0, OILRIG_A_DECK_Y_M, 65, 13, 45, 90, 1, 1, 1, 2, LIGHT_KIND_SPLASH);
    const float pulse = UTIL_time_pulse(0.0f);
    for (int k = 0; k < 4; ++k) {
        const v3 base = k < 3 ? OILRIG_A_LEGS[k] : v3{0, 61, 0};
        const float s = k < 3 ? 1.0f : 0.5f;
        const xz at[3] = {{0, 5 * s}, {-4.33f * s, -2.5f * s}, {4.33f * s, -2.5f * s}};
        for (const xz& p : at) {
            if (k < 3)
                OGL_draw_light(base.x + p.x, base.y + 105, base.z + p.z, 1, 1, 1, 1, 1, 0, k, LIGHT_KIND_POINT);
            else
                OGL_draw_light(base.x + p.x, base.y + 105, base.z + p.z, pulse, 0, 0, 1, 1, 0, k, LIGHT_KIND_POINT);
        }
    }
    OGL_lights_end();
}

void SHIPS_draw_oilrig_b(float, float, float)
{
    solid_state(1);
    OGL_bind_tex(TEX_SLOT_SURFACES, 0);
    glBegin(GL_QUADS);
    for (int k = 0; k < PLATFORM_B_BOXES; ++k) {
        // Each block's walls take one of four strips of the walls' region.
        const float t0 = 0.5f + 0.125f * (k % 4);
        block_walls(oilrig_b_block(k), 0.0f, t0, 0.25f, t0 + 0.125f);
    }
    for (int k = 0; k < PLATFORM_B_BOXES; ++k)
        if (k != OILRIG_B_HELIDECK) block_top(oilrig_b_block(k), 0.25f, 0.5f, 0.5f, 1.0f);
    glEnd();
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2) column({40.0f * sx, 0, 40.0f * sz}, {40.0f * sx, 55, 40.0f * sz}, 13.0f, 30);
    static const xz brace[8][2] = {{{0, 40}, {-35, 40}},  {{0, 40}, {35, 40}},   {{40, 0}, {40, 35}},
                                   {{40, 0}, {40, -35}},  {{0, -40}, {35, -40}}, {{0, -40}, {-35, -40}},
                                   {{-40, 0}, {-40, -35}}, {{-40, 0}, {-40, 35}}};
    for (const auto& b : brace) column({b[1].x, 21, b[1].z}, {b[0].x, 56, b[0].z}, 5.0f, 45);
    OGL_bind_tex(TEX_SLOT_HELIPAD_ASPHALT, 0);
    glBegin(GL_QUADS);
    block_top(oilrig_b_block(OILRIG_B_HELIDECK), 0.0f, 0.0f, 1.0f, 1.0f);
    glEnd();

    solid_state(0);
    OGL_apply_color(LINE_COLOUR_ROW, 1.0f);
    // Zig-zag bracing round the 140-m square between 65 and 85 m.
    glBegin(GL_LINE_STRIP);
    static const float corner[4][2] = {{-70, 70}, {-70, -70}, {70, -70}, {70, 70}};
    for (int side = 0; side < 4; ++side)
        for (int k = 0; k < 10; ++k) {
            const float f = k / 10.0f;
            const float* a = corner[side];
            const float* b = corner[(side + 1) % 4];
            glVertex3f(a[0] + (b[0] - a[0]) * f, k % 2 ? 85.0f : 65.0f, a[1] + (b[1] - a[1]) * f);
        }
    glEnd();
    // Railings along the top edges of blocks 20, 3, 13 and 19.
    for (int k : {20, 3, 13, 19}) {
        const v3* top = oilrig_b_block(k) + 4;
        glBegin(GL_LINE_STRIP);
        for (int c = 0; c <= 4; ++c) glVertex3f(top[c % 4].x, top[c % 4].y + 1.0f, top[c % 4].z);
        glEnd();
    }
    // The booms: square lattices up their tilted axes, striped 0.8 / 0.2.
    for (const boom& b : OILRIG_B_BOOMS) {
        glPushMatrix();
        glTranslatef(b.base.x, b.base.y, b.base.z);
        glRotatef(b.tilt_deg, 0.0f, 0.0f, 1.0f);
        for (int bay = 0; bay < 20; ++bay) {
            const float g = bay % 2 ? 0.2f : 0.8f;
            line_colour(g, g, g);
            const float y0 = bay * BOOM_LENGTH_M / 20.0f, y1 = y0 + BOOM_LENGTH_M / 20.0f, w = 1.5f;
            glBegin(GL_LINE_STRIP);
            glVertex3f(-w, y0, -w), glVertex3f(w, y1, -w), glVertex3f(w, y0, w), glVertex3f(-w, y1, w);
            glVertex3f(-w, y0, -w), glVertex3f(-w, y1, -w), glVertex3f(w, y1, -w), glVertex3f(w, y1, w);
            glVertex3f(-w, y1, w), glVertex3f(-w, y1, -w);
            glEnd();
        }
        glPopMatrix();
    }

    if (!lights_on()) return;
    light_frame(SEA_PLATFORM_B);
    light_ring(0, OILRIG_B_DECK_Y_M, 90, 12, 0, 20, 1, 1, 0.5f, 1, LIGHT_KIND_SPLASH);
    light_square(0, 0, 70, 10, 14.4f, 83, 67);
    light_square(0, 0, 58, 10, 12.0f, 103, 97);
    light_square(-35, 35, 15, 5, 6.8f, 128, 112);
    light_square(0, 35, 10, 5, 5.6f, 118, 113);
    for (int k = 0; k < 4; ++k) {
        const v3 tip = boom_tip(OILRIG_B_BOOMS[k]);
        OGL_draw_light(tip.x, tip.y, tip.z, UTIL_time_pulse(static_cast<float>(k)), 0, 0, 1, 1, -1, 0,
                       LIGHT_KIND_POINT);
    }
    OGL_lights_end();
}

float SHIPS_ball_offset(float dx, float dy, float dz, bool* red)
{
    // The arctangent of dy over the horizontal distance, through atan2: the same
    // angle everywhere, and 90 degrees right above the ship, where dy / 0 would
    // be no number.
    const double a = std::atan2(double(dy), std::sqrt(double(dx) * dx + double(dz) * dz)) * RAD_TO_DEG_DOUBLE;
    double offset = (a - 4.0) * 2.0;
    if (!(offset >= -4.0)) offset = -4.0;   // the clamp; an eye at no number shows the ball at its floor
    if (offset > 4.0) offset = 4.0;
    // Red below -2 m. The margin only absorbs the arctangent's rounding: an eye
    // exactly on the 3-degree line gives -2 (amber) as the rule says, not
    // -2.0000002 (red).
    if (red) *red = offset < -2.0 - 1e-4;
    return static_cast<float>(offset);
}
