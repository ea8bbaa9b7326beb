// The cloud field: the cells, the per-frame decisions and the puff generation.
#include "scene/sky/cloud_field.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/screen_settings.h"
#include "core/simvars/weather.h"
#include "core/texture_slots.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/scene_state.h"

std::array<cloud_cell, CLOUD_CELLS> cloud_cells;
cloud_cell_box_record cloud_cell_box{};
cloud_grid_origin_record cloud_grid_origin{};
int32_t cloud_source_texture = 0;
int32_t cloud_shadow_texture = 0;
float cloud_shadow_strength = 0.0f;
float cloud_shadow_base = 0.0f;
float cloud_shadow_mapping[4] = {};
cloud_update_record cloud_update;

namespace {

constexpr int LATTICE_XZ = 256;
constexpr int LATTICE_Y = 4;
constexpr float CANDIDATES_PER_FACTOR = 600.0f;
constexpr float PUFF_SIZE_PER_FACTOR_M = 800.0f;
constexpr float FACTOR_MAX = 9.9f;
// A factor must move by more than a thousandth to make the puffs again; the
// float's own rounding (a typed 1.001 is 1.00100005) does not count.
constexpr float FACTOR_STEP = 0.001f + 4.0e-6f;
constexpr int SHADOW_SIDE = 512;

// A layer's cloud type as it stands: a type outside 1..4 is none of the
// cirrus, puff or overcast types (the larger type decides, whatever it is).
int layer_type(int layer) { return sim_weather.cloud_type[layer]; }

float table(int index)
{
    return random_table[static_cast<size_t>(index % RANDOM_TABLE_SIZE)];
}

// The noise field's density, summed over boxes through a table of running
// sums: every y layer holds the same value, so a box's sum is its x-z sum
// times the number of y layers it spans, the same sum as adding the box's
// entries one by one (in doubles, so no rounding of the float sum creeps in).
struct density_sums {
    std::vector<double> s = std::vector<double>(size_t(LATTICE_XZ + 1) * (LATTICE_XZ + 1), 0.0);
    double& at(int i, int j) { return s[size_t(i) * (LATTICE_XZ + 1) + size_t(j)]; }
    double box(int i0, int i1, int j0, int j1) { return at(i1, j1) - at(i0, j1) - at(i1, j0) + at(i0, j0); }
};

}  // namespace

void cloud_cell::clear()
{
    count = slice_start = slice_end = 0;
    puffs.clear();
    draw_order.clear();
    light_order.clear();
}

void CLOUD_reset()
{
    for (cloud_cell& c : cloud_cells) c.clear();
    cloud_cell_box = {};
    cloud_grid_origin = {};
    cloud_source_texture = cloud_shadow_texture = 0;
    cloud_shadow_strength = 0.0f;
    cloud_shadow_base = 0.0f;
    for (float& m : cloud_shadow_mapping) m = 0.0f;
    cloud_update = cloud_update_record{};
}
ORVELL_RESET(CLOUD_reset, scene);

// The factors come from the preferences file and the plug-ins' data table. A
// factor of no number or a huge one would make the candidate count no number
// or overflow it (billions of candidates a cell, the generation never ending):
// each is held to what the screen's two-digit field can show, 0..9.9.
float CLOUD_hold_factor(float factor)
{
    if (!std::isfinite(factor)) return 0.0f;
    return UTIL_clamp(factor, 0.0f, FACTOR_MAX);
}

float CLOUD_noise(int x, int y, int z)
{
    const long long k = std::llabs(static_cast<long long>(x) + 256LL * y) + 3523LL * z;
    // A negative z makes the sum negative and its remainder would index before
    // the table: the remainder is taken into 0..9999.
    const long long m = ((k % RANDOM_TABLE_SIZE) + RANDOM_TABLE_SIZE) % RANDOM_TABLE_SIZE;
    return 2.0f * random_table[static_cast<size_t>(m)] - 1.0f;
}

float CLOUD_lerp(float a, float b, float t) { return a * (1.0f - t) + b * t; }

void CLOUD_update_draw()
{
    cloud_update_record& m = cloud_update;
    screen_settings_block& ss = screen_settings;
    // cloud_scale_a is the puff count factor, cloud_scale_b the puff size
    // factor, cloud_switch the cloud-shadows switch (the preferences' names).
    ss.cloud_scale_a = CLOUD_hold_factor(ss.cloud_scale_a);
    ss.cloud_scale_b = CLOUD_hold_factor(ss.cloud_scale_b);

    // 1. Shadow strength: strong while the diffuse light outweighs the
    // ambient, none once the light comes in flatter than a slope of 4.
    const float a = 0.33f * (scene_ambient_rgb[0] + scene_ambient_rgb[1] + scene_ambient_rgb[2]);
    const float d = 0.33f * (scene_diffuse_rgb[0] + scene_diffuse_rgb[1] + scene_diffuse_rgb[2]);
    // With no light at all a / (d + a) is 0 / 0: taken as 1, no shadow.
    const float q = a + d > 0.0f ? a / (d + a) : 1.0f;
    const float slope = std::sqrt(sun_tangents[0] * sun_tangents[0] + sun_tangents[1] * sun_tangents[1]);
    const float f = UTIL_clamp_nan_low(1.0f - (slope - 3.0f), 0.0f, 1.0f);
    float S = (1.0f - q * q) * f;
    if (!std::isfinite(S)) S = 0.0f;   // a light of no number casts no shadow (S would fail every test)
    cloud_shadow_strength = S;

    // 2, 3. Shadows, and the larger cloud type.
    const int type0 = layer_type(0), type1 = layer_type(1);
    const int shadows_on = ss.cloud_switch && S > 0.01f && type0 != 4 && type1 != 4;
    const int top = std::max(type0, type1);
    const int t1 = top == 1, t2 = top == 2, t3 = top == 3;

    // 4. The texture pair.
    cloud_source_texture = cloud_shadow_texture = 0;
    if (shadows_on && t1) cloud_source_texture = TEX_SLOT_CIRRUS, cloud_shadow_texture = 313;
    if (shadows_on && (t2 || t3)) cloud_source_texture = 311, cloud_shadow_texture = 312;

    // 5. What changed.
    const float light[6] = {scene_ambient_rgb[0], scene_ambient_rgb[1], scene_ambient_rgb[2],
                            scene_diffuse_rgb[0], scene_diffuse_rgb[1], scene_diffuse_rgb[2]};
    const float angles[2] = {sun_angles[1], sun_angles[2]};
    const bool new_texture = cloud_shadow_texture != m.last_shadow_texture;
    bool P = std::fabs(ss.cloud_scale_a - m.last_count_factor) > FACTOR_STEP ||
             std::fabs(ss.cloud_scale_b - m.last_size_factor) > FACTOR_STEP;
    bool R = new_texture || P;
    for (int k = 0; k < 6; ++k)
        if (!(std::fabs(light[k] - m.last_light[k]) <= 0.1f)) R = true;
    for (int k = 0; k < 2; ++k)
        if (!(std::fabs(angles[k] - m.last_angles[k]) <= 0.9f)) R = true;
    bool C = new_texture || std::fabs(S - m.last_strength) > 0.01f;
    if (t1 && !m.last_t1) C = true;
    if ((t2 && !m.last_t2) || (t3 && !m.last_t3)) R = P = true;
    if (shadows_on && !m.last_shadows_on) R = true;

    // 6. Remember.
    const int32_t was_initialised = m.initialised;
    m.initialised = 1;
    m.last_t1 = t1, m.last_t2 = t2, m.last_t3 = t3;
    m.last_shadows_on = shadows_on;
    m.last_strength = S;
    m.last_shadow_texture = cloud_shadow_texture;
    m.last_count_factor = ss.cloud_scale_a;
    m.last_size_factor = ss.cloud_scale_b;
    for (int k = 0; k < 6; ++k) m.last_light[k] = light[k];
    for (int k = 0; k < 2; ++k) m.last_angles[k] = angles[k];

    // 7-10.
    if (!was_initialised) CLOUD_load_texture();
    if (t2 || t3) {
        if (P) CLOUD_build_puffs();
        CLOUD_light_cells(R ? 1 : 0);
    } else if (t1 && shadows_on) {
        if (type1 == 1) cloud_shadow_base = sim_weather.cloud_base_msl_m[1];
        if (type0 == 1) cloud_shadow_base = sim_weather.cloud_base_msl_m[0];
        if (C) CLOUD_draw_cirrus_shadow();
    } else {
        cloud_source_texture = cloud_shadow_texture = 0;
    }
}

void CLOUD_load_texture()
{
    cloud_cell_box_record& b = cloud_cell_box;
    b.hx = b.hz = CLOUD_CELL_HALF_M;
    b.hy = CLOUD_LAYER_HALF_M;
    b.r = std::sqrt(b.hx * b.hx + b.hy * b.hy + b.hz * b.hz);

    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    int w = 0, h = 0;
    OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_CLOUD, TEX_BRIGHT_MIPMAP, "world:clouds:cloud.bmp", w, h);
    for (int slot = 311; slot <= 313; ++slot) {
        OGL_bind_tex(slot, 0);
        texture_memory[slot] = SHADOW_SIDE * SHADOW_SIDE * 3;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, SHADOW_SIDE, SHADOW_SIDE, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
}

void CLOUD_build_puffs()
{
    const screen_settings_block& ss = screen_settings;
    const cloud_cell_box_record& b = cloud_cell_box;
    const int N = static_cast<int>(CLOUD_hold_factor(ss.cloud_scale_a) * CANDIDATES_PER_FACTOR);
    const float Z = CLOUD_hold_factor(ss.cloud_scale_b) * PUFF_SIZE_PER_FACTOR_M;
    cloud_grid_origin = {0.0f, 0.0f, 0.0f};
    const float W = 9.0f * b.hx;
    for (cloud_cell& c : cloud_cells) c.clear();
    // Before the first frame sets the cell box, W and hy are 0 and the lattice
    // steps below would divide by zero: the cells stay empty.
    if (!(W > 0.0f) || !(b.hy > 0.0f)) return;
    const float gx = 2.0f * W / LATTICE_XZ, gy = 2.0f * b.hy / LATTICE_Y, gz = gx;

    // 2-4. Three octaves of interpolated noise over one layer of the lattice, shaped.
    std::vector<float> density(size_t(LATTICE_XZ) * LATTICE_XZ, 0.0f);
    for (int k = 5; k <= 7; ++k) {
        const float F = static_cast<float>(1 << k);
        const float A = std::pow(0.8f, static_cast<float>(k));
        for (int i = 0; i < LATTICE_XZ; ++i) {
            const float u = static_cast<float>(i) / LATTICE_XZ * F;
            const int iu = static_cast<int>(u);
            const float fu = u - static_cast<float>(iu);
            for (int j = 0; j < LATTICE_XZ; ++j) {
                const float v = static_cast<float>(j) / LATTICE_XZ * F;
                const int iv = static_cast<int>(v);
                const float fv = v - static_cast<float>(iv);
                const float lo = CLOUD_lerp(CLOUD_noise(iu, iv, 0), CLOUD_noise(iu + 1, iv, 0), fu);
                const float hi = CLOUD_lerp(CLOUD_noise(iu, iv + 1, 0), CLOUD_noise(iu + 1, iv + 1, 0), fu);
                density[size_t(i) * LATTICE_XZ + size_t(j)] += A * CLOUD_lerp(lo, hi, fv);
            }
        }
    }
    const bool scattered = layer_type(0) == 2 || layer_type(1) == 2;
    density_sums sums;
    for (int i = 0; i < LATTICE_XZ; ++i)
        for (int j = 0; j < LATTICE_XZ; ++j) {
            float value = UTIL_clamp(density[size_t(i) * LATTICE_XZ + size_t(j)] * 0.5f + 0.5f, 0.0f, 1.0f);
            if (scattered) value = UTIL_clamp((value - 0.15f) * 1.176471f, 0.0f, 1.0f);
            sums.at(i + 1, j + 1) = value + sums.at(i, j + 1) + sums.at(i + 1, j) - sums.at(i, j);
        }

    // 5. The same candidates in every cell, kept where the noise is dense.
    const auto bound = [](int v, int hi) { return std::clamp(v, 0, hi); };
    for (int row = 0; row < CLOUD_GRID; ++row)
        for (int col = 0; col < CLOUD_GRID; ++col) {
            cloud_cell& cell = cloud_cells[size_t(row) * CLOUD_GRID + size_t(col)];
            const float cx = static_cast<float>(row - 4) * 2.0f * b.hx;
            const float cz = -static_cast<float>(col - 4) * 2.0f * b.hz;
            for (int n = 0; n < N; ++n) {
                // Entries 1.2n, 2.6n, 5.3n and 7.3n, cut to whole numbers in
                // tenths: 2.6 as a float is a shade under 2.6, so 2.6f x 45
                // would read entry 116 for 117.
                cloud_puff p{};
                p.dx = b.hx * (2.0f * table(n * 12 / 10) - 1.0f);
                p.dy = b.hy * (2.0f * table(n * 26 / 10) - 1.0f);
                p.dz = b.hz * (2.0f * table(n * 53 / 10) - 1.0f);
                p.size = Z * (table(n * 73 / 10) + 0.5f);
                const int ix = static_cast<int>((p.dx + cx + W) * 255.0f / (2.0f * W));
                const int iy = static_cast<int>((p.dy + b.hy) * 3.0f / (2.0f * b.hy));
                const int iz = static_cast<int>((W - p.dz - cz) * 255.0f / (2.0f * W));
                const int rx = static_cast<int>(p.size / gx), ry = static_cast<int>(p.size / gy);
                const int rz = static_cast<int>(p.size / gz);
                const int x0 = bound(ix - rx - 1, LATTICE_XZ), x1 = bound(ix + rx + 1, LATTICE_XZ);
                const int y0 = bound(iy - ry - 1, LATTICE_Y), y1 = bound(iy + ry + 1, LATTICE_Y);
                const int z0 = bound(iz - rz - 1, LATTICE_XZ), z1 = bound(iz + rz + 1, LATTICE_XZ);
                const double entries = double(x1 - x0) * double(y1 - y0) * double(z1 - z0);
                if (!(entries > 0.0)) continue;
                const double sum = sums.box(x0, x1, z0, z1) * double(y1 - y0);
                if (!(sum > 0.0) || !(sum / entries > 0.5)) continue;
                cell.puffs.push_back(p);
                const auto index = static_cast<int32_t>(cell.puffs.size() - 1);
                cell.count = index + 1;
                cell.draw_order.push_back(index);
                cell.light_order.push_back(index);
            }
        }
}
