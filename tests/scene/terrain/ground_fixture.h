// The ground passes on the offscreen context: the scene's known state, a
// top-down orthographic view at one metre per pixel (north up), empty feature
// lists and cover table, land-use textures laid by the test, and OpenGL's
// feedback of what a drawer emits, turned back into local metres.
#pragma once

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "core/frame_clock.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_tex.h"
#include "scene/sky/cloud_field.h"
#include "scene/lights_model.h"
#include "flightmodel/ground/surface_state.h"
#include "scene/terrain/landing_light.h"
#include "scene/terrain/roads.h"
#include "scene/terrain/surface.h"
#include "world/terrain_definitions.h"
#include "scene/terrain/terrain_pass.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/segments.h"
#include "world/terrain_textures.h"

// One vertex fed back: its local position, colour and unit-0 texture coordinates.
struct fed_vertex {
    float x, y, z;
    std::array<float, 4> rgba;
    float s, t;
};
struct fed_back {
    std::vector<std::vector<fed_vertex>> polygons;
    std::vector<std::array<fed_vertex, 2>> lines;
    std::vector<fed_vertex> points;
};

// Records every texture bind request while it lives.
struct tex_bind_request {
    int32_t slot;
    int32_t unit;
};

class bind_recording : public bind_recorder {
public:
    bind_recording() { OGL_install_bind_recorder(this); }
    ~bind_recording() override { OGL_install_bind_recorder(nullptr); }
    bind_recording(const bind_recording&) = delete;
    bind_recording& operator=(const bind_recording&) = delete;
    void bound(int slot, int unit) override { binds.push_back({slot, unit}); }
    bool was_bound(int32_t slot, int32_t unit) const
    {
        for (const tex_bind_request& b : binds)
            if (b.slot == slot && b.unit == unit) return true;
        return false;
    }
    std::vector<tex_bind_request> binds;
};

class Ground : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        saved_ = std::make_unique<saved_world>();
        SEG_clear_lists();
        TERRAIN_clear_cover_table();
        placement_list.clear();
        light_count = 0;
        light_near_limit_sq = light_far_limit_sq = 1.0e12f;
        cloud_shadow_texture = 0;
        std::fill(std::begin(terrain_point_texture), std::end(terrain_point_texture), 0);
        std::memset(terrain_airport_cell, 0, sizeof terrain_airport_cell);
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
        for (auto& n : terrain_point_normal) n[0] = 0.0f, n[1] = 1.0f, n[2] = 0.0f;
        for (float& a : terrain_texture_aspect) a = 1.0f;
        sim_graphics_settings_block& g = sim_graphics_settings;
        g.draw_vectors = g.draw_cars = g.draw_taxilines = g.draw_obstacles = 1;
        g.autogen_level = 5;
        g.autogen_distance = 20;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        sim_graphics_scenery.percent_lights_on = 0.0f;
        top_down(0.0f, 0.0f);
        whole_window_visible();
    }
    void TearDown() override
    {
        OGL_install_bind_recorder(nullptr);
        glEnable(GL_CULL_FACE);
        SEG_clear_lists();
        TERRAIN_clear_cover_table();
        placement_list.clear();
        saved_.reset();
        SceneState::TearDown();
    }

    // Looking straight down on (cx, cz) from high above, one metre per pixel, north up.
    static void top_down(float cx, float cz) { look(cx, 0.0f, cz, 90.0f, 0.0f); }

    // An orthographic view at one metre per pixel centred on (cx, cy, cz),
    // pitched down by `pitch` degrees and turned to `heading`.
    static void look(float cx, float cy, float cz, float pitch, float heading)
    {
        window_ortho(-512.0, 512.0, -384.0, 384.0, -DEPTH_M, DEPTH_M);
        glRotatef(pitch, 1.0f, 0.0f, 0.0f);
        glRotatef(heading, 0.0f, 1.0f, 0.0f);
        glTranslatef(-cx, -cy, -cz);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview_);
        sim_graphics_view.view_x = cx, sim_graphics_view.view_z = cz;
        sim_graphics_view.view_y = 1000.0f;
    }

    // The terrain window around cell (200, 200) and every cell of it visible.
    static void whole_window_visible(int half = 20)
    {
        terrain_window = {200 - half, 200 - half, 200 + half, 200 + half};
        camera_cell = {200, 200};
        for (int i = 200 - half; i <= 200 + half + 1; ++i)
            for (int j = 200 - half; j <= 200 + half + 1; ++j) cell_visible[TERRAIN_index(i, j)] = 1;
    }

    template <class F>
    static fed_back feedback(F&& draw)
    {
        const std::vector<GLfloat> b = feedback_of(draw, 1 << 21);
        const GLint n = static_cast<GLint>(b.size());
        fed_back out;
        auto take = [&](GLint& i) {
            // Window to eye coordinates, then back through the view's turn and shift.
            const float e[3] = {b[i] - 512.0f, b[i + 1] - 384.0f, -(2.0f * b[i + 2] - 1.0f) * DEPTH_M};
            const float* m = modelview_;
            float w[3];
            for (int k = 0; k < 3; ++k)
                w[k] = m[4 * k] * (e[0] - m[12]) + m[4 * k + 1] * (e[1] - m[13]) + m[4 * k + 2] * (e[2] - m[14]);
            fed_vertex v{w[0], w[1], w[2], {b[i + 3], b[i + 4], b[i + 5], b[i + 6]}, b[i + 7], b[i + 8]};
            i += 11;
            return v;
        };
        for (GLint i = 0; i < n;) {
            const GLint token = static_cast<GLint>(b[i++]);
            if (token == GL_POLYGON_TOKEN) {
                const GLint count = static_cast<GLint>(b[i++]);
                std::vector<fed_vertex> p;
                for (GLint k = 0; k < count; ++k) p.push_back(take(i));
                out.polygons.push_back(p);
            } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                const fed_vertex a = take(i);
                out.lines.push_back({a, take(i)});
            } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                       token == GL_COPY_PIXEL_TOKEN) {
                out.points.push_back(take(i));
            } else if (token == GL_PASS_THROUGH_TOKEN) {
                ++i;
            } else {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
        }
        return out;
    }

    // An element of a feature list: its cross section from a to b.
    static segment_point element(float ax, float az, float bx, float bz, float tex, float marker, float y = 0.0f)
    {
        segment_point p{};
        p.x = ax, p.y = y, p.z = az;
        p.edge_x = bx, p.edge_y = y, p.edge_z = bz;
        p.tex_len = tex;
        p.span_flag = marker;
        p.normal[1] = 1.0f;
        return p;
    }

    // A solid-coloured 4 x 4 texture in a slot.
    static void solid_texture(int slot, uint8_t r, uint8_t g, uint8_t b)
    {
        std::vector<uint8_t> px(4 * 4 * 3);
        for (size_t k = 0; k < px.size(); k += 3) px[k] = r, px[k + 1] = g, px[k + 2] = b;
        OGL_reset_bound_textures();   // the upload binds the slot: the cache must not skip it
        OGL_load_tex("test", slot, 0, GL_RGB, 4, 4, px.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        texture_memory[slot] = 48;
    }

    static constexpr float DEPTH_M = 10000.0f;
    static inline float modelview_[16] = {};

private:
    // The world state the tests overwrite, put back afterwards for the other scene tests.
    struct saved_world {
        int32_t count = landuse_texture_count;
        std::vector<int32_t> code_texture{std::begin(landuse_code_texture), std::end(landuse_code_texture)};
        std::vector<uint8_t> water{std::begin(landuse_texture_water), std::end(landuse_texture_water)};
        std::vector<int32_t> point_texture{std::begin(terrain_point_texture), std::end(terrain_point_texture)};
        std::vector<int32_t> grid{std::begin(landuse_grid), std::end(landuse_grid)};
        std::vector<uint8_t> airport{std::begin(terrain_airport_cell), std::end(terrain_airport_cell)};
        std::vector<float> aspect{std::begin(terrain_texture_aspect), std::end(terrain_texture_aspect)};
        ~saved_world()
        {
            landuse_texture_count = count;
            std::copy(code_texture.begin(), code_texture.end(), landuse_code_texture);
            std::copy(water.begin(), water.end(), landuse_texture_water);
            std::copy(point_texture.begin(), point_texture.end(), terrain_point_texture);
            std::copy(grid.begin(), grid.end(), landuse_grid);
            std::copy(airport.begin(), airport.end(), terrain_airport_cell);
            std::copy(aspect.begin(), aspect.end(), terrain_texture_aspect);
        }
    };
    std::unique_ptr<saved_world> saved_;
};
