// The cloud field: a 9 x 9 square of cells, 5 nautical miles each, every cell
// holding camera-facing puffs placed at random inside its box where a fixed
// fractal noise field is dense enough. The 3-D pass tiles the square over the
// whole world at the layer's height, so the field repeats every 45 nautical
// miles. Once a frame, before the scene draws, CLOUD_update_draw decides which
// shadow textures exist, regenerates the puffs when a setting asks for it and
// lights a hundredth of them (or all at once), drawing the cumulus and cirrus
// shadow pictures the ground samples on its second texture unit.
//
// Reads: sim_weather cloud types and bases, screen_settings' three cloud
// settings, the previous pass's scene light (scene_ambient_rgb,
// scene_diffuse_rgb, sun_angles, sun_tangents), the camera's latitude and
// longitude, lat_ref and lon_ref, the random table.
// Writes: the cells and everything declared below; texture slots 311..313.
//
// Local frame: metres, x east, y up, z south.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/units.h"

// One puff: its offset from the cell centre (the cell centre lies at the
// middle of the layer's thickness), half its quad's side, the lit colour, the
// alpha it was last drawn with, and the squared distances to the far light
// point and to the camera that order the lighting and the drawing.
struct cloud_puff {
    float dx, dy, dz;
    float size;
    float red, green, blue;
    float alpha;
    float light_distance;
    float eye_distance;
};
static_assert(sizeof(cloud_puff) == 40);

// One cell: its puffs, the puff indices farthest from the camera first, and
// nearest to the light point first; the slice of the light order the
// lighting step handles this frame.
struct cloud_cell {
    int32_t count = 0;
    int32_t slice_start = 0;
    int32_t slice_end = 0;
    std::vector<cloud_puff> puffs;
    std::vector<int32_t> draw_order;
    std::vector<int32_t> light_order;

    void clear();
};

constexpr int CLOUD_GRID = 9;
constexpr int CLOUD_CELLS = CLOUD_GRID * CLOUD_GRID;
// Cell (row, col) at row x 9 + col; row is the x index (west to east), col the
// z index (south to north). In the field's own frame the centre of cell (row,
// col) lies at x = (row - 4) 2hx, z = -(col - 4) 2hz.
extern std::array<cloud_cell, CLOUD_CELLS> cloud_cells;

// The cell box, set once by CLOUD_load_texture: half the cell's side in x and
// z, half the puff layer's thickness, and the box's half-diagonal.
struct cloud_cell_box_record {
    float hx, hy, hz;
    float r;
};
extern cloud_cell_box_record cloud_cell_box;
constexpr float CLOUD_CELL_HALF_M = 2.5f * UNIT.nm_to_mtrs;        // 4,630 m
constexpr float CLOUD_LAYER_HALF_M = 3000.0f * UNIT.ft_to_mtrs;    // 914.4 m

// Offset of the world grid of cells (local metres). The puff build sets it to
// 0; the origin shift carries it over to the new frame and keeps x within
// -hx..hx and z within -hz..hz, so the clouds stay over the same ground.
struct cloud_grid_origin_record {
    float x, y, z;
};
extern cloud_grid_origin_record cloud_grid_origin;

// The frame's texture pair: the slot the shadow passes draw from and the slot
// the ground samples on its second unit (0: none, no cloud shadows).
extern int32_t cloud_source_texture;
extern int32_t cloud_shadow_texture;
extern float cloud_shadow_strength;   // 0..1
extern float cloud_shadow_base;       // m above sea level: where the ground projects its shadow look-up
// The shadow texture on the ground: x origin, 1 / x extent, z origin, 1 / z
// extent. A ground point (x, y, z) takes s = ((x - X0) - (B - y) tan psi) KX,
// t = ((z - Z0) + (B - y) tan theta) KZ, B the shadow base; the texture repeats.
extern float cloud_shadow_mapping[4];

// What CLOUD_update_draw remembers from frame to frame.
struct cloud_update_record {
    int32_t initialised = 0;
    int32_t last_t1 = 0, last_t2 = 0, last_t3 = 0;
    int32_t last_shadows_on = 0;
    float last_strength = -1.0f;
    int32_t last_shadow_texture = 0;
    float last_count_factor = -1.0f;
    float last_size_factor = -1.0f;
    float last_light[6] = {};          // ambient r, g, b, diffuse r, g, b
    float last_angles[2] = {};         // the light's psi and theta
};
extern cloud_update_record cloud_update;

// The lighting cycle: the light map of remaining light seen along the light
// (255 full, row u, column v) and the slice of the 100-frame cycle.
constexpr int CLOUD_LIGHT_MAP_SIDE = 512;
constexpr int CLOUD_LIGHT_CYCLE = 100;
struct cloud_light_record {
    int32_t frame = -1;
    std::array<float, CLOUD_LIGHT_MAP_SIDE * CLOUD_LIGHT_MAP_SIDE> map{};
};
extern cloud_light_record cloud_light;
// Row u, column v of the light map.
inline float& cloud_light_map(int u, int v) { return cloud_light.map[size_t(u) * CLOUD_LIGHT_MAP_SIDE + size_t(v)]; }

// Where the shadow pictures are drawn: a framebuffer object whose colour is
// the texture the picture ends in (the work texture for the cumulus picture,
// the cirrus shadow texture for the cirrus one), so a step adds its quads to
// the picture in place; the lower-left corner of the back buffer when the
// renderer has no such object. `attached` is the texture slot the object
// draws into (0: none yet); `usable` 0 untried, 1 in use, -1 refused.
struct cloud_scratch_record {
    uint32_t framebuffer = 0;
    int32_t usable = 0;
    int32_t attached = 0;
    int32_t open = 0;      // between CLOUD_shadow_begin and CLOUD_shadow_end on the object
};
extern cloud_scratch_record cloud_scratch;

// The cell field, its textures and the shadow mapping back to their state
// before the first frame (the cells empty, the textures not made); the light
// map and the scratch records have their own registered reset.
void CLOUD_reset();

// A puff factor as the clouds use it: 0..9.9 (the screen's two-digit field),
// a value that is not a number counting as 0.
float CLOUD_hold_factor(float factor);

// The per-frame entry (modes 0 and 6), before the frame draws anything.
void CLOUD_update_draw();
// First frame: the cell box, the puff texture and the three 512 x 512 textures.
void CLOUD_load_texture();
// Regenerates the puffs of all 81 cells from the settings.
void CLOUD_build_puffs();
// 2 T[(|x + 256 y| + 3523 z) mod 10000] - 1, T the random table.
float CLOUD_noise(int x, int y, int z);
float CLOUD_lerp(float a, float b, float t);

// One lighting step: a hundredth of every cell's puffs (all of them when
// full), with the cumulus shadow picture when a shadow texture is in use.
void CLOUD_light_cells(int full);
// Opens a shadow picture over -w..w by -h..h in the scratch corner.
void CLOUD_shadow_begin(float w, float h, int clear);
// Closes it, copies it into a texture and maps it onto the ground rectangle
// (x0, z0)..(x1, z1).
void CLOUD_shadow_end(float w, float h, int final, float x0, float z0, float x1, float z1);
// The cirrus shadow: one cirrus picture over a 0.06 x 0.1 degree tile.
void CLOUD_draw_cirrus_shadow();

// Puff layer `layer` (0 or 1) in the 3-D pass; leaves the shadow base at the
// layer's base.
void CLOUD_draw_layer(int layer);
// One stored cell drawn with its centre at (x, y, z), the billboard corners
// given as their x, y and z.
void CLOUD_draw_cell(int row, int col, float x, float y, float z, const float cx[4], const float cy[4],
                     const float cz[4]);
// which 0: the light order by light distance, nearest first; 1: the draw order
// by eye distance, farthest first.
void CLOUD_sort_cell(int which, int row, int col);

// Visits the cells of a rectangle in the order given: visit(a, b) for every a
// from a_first to a_last in steps of da and every b from b_first to b_last in
// steps of db (each step +1 or -1, pointing from first to last), b in the
// outer loop when b_outer is set. The clouds walk their cells from far to near.
template <class Visit>
void CLOUD_walk_cells(long long a_first, long long a_last, long long da, long long b_first, long long b_last,
                      long long db, bool b_outer, Visit&& visit)
{
    if (b_outer) {
        for (long long b = b_first;; b += db) {
            for (long long a = a_first;; a += da) {
                visit(a, b);
                if (a == a_last) break;
            }
            if (b == b_last) break;
        }
    } else {
        for (long long a = a_first;; a += da) {
            for (long long b = b_first;; b += db) {
                visit(a, b);
                if (b == b_last) break;
            }
            if (a == a_last) break;
        }
    }
}
