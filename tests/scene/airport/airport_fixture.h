// A known state for the airport and effect drawers: the scene test state
// (tests/scene/scene_fixture.h) looking straight down (or from the side) with
// an orthographic view, hand-made airports whose runway geometry is laid
// along straight lines, and recorders of what a drawing does: every texture
// bind (also marked in the feedback buffer, so primitives can be told by the
// texture they were drawn with), every light asked of the light kit and every
// multi-texture coordinate.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "aircraft/launch_flags.h"
#include "core/frame_clock.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/lights.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/worldobj.h"
#include "world/fires.h"
#include "scene/lights_model.h"
#include "scene/effects/particles.h"
#include "flightmodel/ground/surface_state.h"
#include "scene/terrain/landing_light.h"
#include "scene/effects/trails.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"
#include "world/runway_geometry.h"

// Restores an entry of the random table (one a light state reads) when it goes.
struct random_entry_guard {
    int i;
    float kept;
    explicit random_entry_guard(int index) : i(index), kept(random_table[index]) {}
    ~random_entry_guard() { random_table[i] = kept; }
};

// One primitive of a feedback capture; a texture bind made while capturing
// comes back as a marker (token GL_PASS_THROUGH_TOKEN, `marker` = slot + 10,000 x unit).
struct fb_item {
    int token;
    int marker;
    struct vertex {
        float x, y, z, r, g, b, a, s, t;
    };
    std::vector<vertex> v;
};

struct draw_record : bind_recorder {
    std::vector<std::pair<int, int>> binds;   // slot, unit
    std::vector<light_call> lights;
    void bound(int slot, int unit) override
    {
        binds.emplace_back(slot, unit);
        GLint mode = 0;
        glGetIntegerv(GL_RENDER_MODE, &mode);
        if (mode == GL_FEEDBACK) glPassThrough(static_cast<GLfloat>(slot + 10000 * unit));
    }
    void light(const light_call& c) override { lights.push_back(c); }
    bool bound_slot(int slot, int unit = -1) const
    {
        for (const auto& b : binds)
            if (b.first == slot && (unit < 0 || b.second == unit)) return true;
        return false;
    }
};

// Multi-texture coordinates given to units other than 0, in order.
struct unit_coord {
    int unit;
    float s, t;
};
inline std::vector<unit_coord> recorded_unit_coords;
inline PFNGLMULTITEXCOORD2FARBPROC real_multi_tex_coord = nullptr;
inline void APIENTRY recording_multi_tex_coord(GLenum unit, GLfloat s, GLfloat t)
{
    if (unit != GL_TEXTURE0_ARB) recorded_unit_coords.push_back({static_cast<int>(unit - GL_TEXTURE0_ARB), s, t});
    real_multi_tex_coord(unit, s, t);
}

class AirportScene : public SceneState {
protected:
    draw_record rec;

    void SetUp() override
    {
        SceneState::SetUp();
        LIGHTS_build_model();
        fire_table = fire_table_record{};
        runway_geometry_table.clear();
        std::memset(scene_airport_visible, 0, sizeof scene_airport_visible);
        landing_splash_on = 0;
        landing_splash_projection = {};
        for (int32_t& t : interval_ticks) t = 0;
        for (float& w : wind_vector) w = 0.0f;
        sim_time = sim_time_block{};
        sim_network_misc.network_time_sec = 0.0f;
        sim_graphics_scenery.percent_lights_on = 1.0f;
        sim_graphics_settings.draw_textured_lites = 1;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
        screen_settings.draw_apron_aircraft = 0;
        saved_units_ = num_tex_units;
        OGL_reset_bound_textures();
        real_multi_tex_coord = gl_entry::glMultiTexCoord2fARB;
        gl_entry::glMultiTexCoord2fARB = recording_multi_tex_coord;
        recorded_unit_coords.clear();
        OGL_install_bind_recorder(&rec);
        look_down(0.0f, 0.0f, 0.25f);
    }

    void TearDown() override
    {
        OGL_install_bind_recorder(nullptr);
        gl_entry::glMultiTexCoord2fARB = real_multi_tex_coord;
        num_tex_units = saved_units_;
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        runway_geometry_table.clear();
        local_airport_last = -1;
        SceneState::TearDown();
    }

    // Straight down on (cx, cz), north up: window x = 512 + scale (x - cx),
    // window y = 384 - scale (z - cz); nothing is culled or clipped by depth.
    static void look_down(float cx, float cz, float scale)
    {
        look_north(scale);
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        glTranslatef(-cx, 0.0f, -cz);
    }

    // The view's footprint: the ground within `half` metres of the origin each way.
    static void footprint_around_origin(float half)
    {
        view_footprint[0] = {-half, -half};
        view_footprint[1] = {half, -half};
        view_footprint[2] = {half, half};
        view_footprint[3] = {-half, half};
    }

    // From the south, looking north: window x = 512 + scale x, window y = 384 + scale y.
    static void look_north(float scale)
    {
        window_ortho(0.0, 1024.0, 0.0, 768.0, -1.0e6, 1.0e6);
        glTranslatef(512.0f, 384.0f, 0.0f);
        glScalef(scale, scale, scale);
        glDisable(GL_CULL_FACE);
    }

    static std::vector<fb_item> capture(const std::function<void()>& draw)
    {
        const std::vector<GLfloat> b = feedback_of(draw, 1 << 22);
        const GLint n = static_cast<GLint>(b.size());
        std::vector<fb_item> out;
        for (GLint i = 0; i < n;) {
            const int token = static_cast<int>(b[i++]);
            fb_item item{token, -1, {}};
            int count = 0;
            if (token == GL_PASS_THROUGH_TOKEN) {
                item.marker = static_cast<int>(b[i++]);
                out.push_back(item);
                continue;
            }
            if (token == GL_POLYGON_TOKEN)
                count = static_cast<int>(b[i++]);
            else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
                count = 2;
            else if (token == GL_POINT_TOKEN)
                count = 1;
            else
                break;
            for (int k = 0; k < count; ++k, i += 11)
                item.v.push_back({b[i], b[i + 1], b[i + 2], b[i + 3], b[i + 4], b[i + 5], b[i + 6], b[i + 7], b[i + 8]});
            out.push_back(std::move(item));
        }
        return out;
    }

    // The polygons drawn while `slot` was the last texture bound on unit 0.
    static std::vector<fb_item> drawn_with(const std::vector<fb_item>& items, int slot)
    {
        std::vector<fb_item> out;
        int current = -1;
        for (const fb_item& it : items) {
            if (it.token == GL_PASS_THROUGH_TOKEN) {
                if (it.marker < 10000) current = it.marker;
            } else if (it.token == GL_POLYGON_TOKEN && current == slot) {
                out.push_back(it);
            }
        }
        return out;
    }

    // A runway geometry along the z axis: `slots.size()` sections from z = 0
    // northward every `step` metres, `width` wide, at height y.
    static int add_geometry(const std::vector<int>& slots, float step, float width, float x = 0.0f, float y = 0.0f,
                            float z0 = 0.0f)
    {
        runway_geometry_record g;
        for (size_t k = 0; k < slots.size(); ++k) {
            const float z = z0 - step * static_cast<float>(k);
            g.sections.push_back({slots[k], {x - width / 2, y, z}, {x + width / 2, y, z}});
        }
        runway_geometry_table.push_back(std::move(g));
        return static_cast<int>(runway_geometry_table.size()) - 1;
    }

    // A runway record heading north (0 degrees) over geometry entry g.
    static runway_record runway(const char* number, int g, int surface = TEX_SLOT_LINE_ASPHALT, float length = 1600.0f,
                                float width = 40.0f)
    {
        runway_record r{};
        std::snprintf(r.number, sizeof r.number, "%.3s", number);
        r.geometry_index = g;
        r.surface_code = surface;
        r.length = length;
        r.width = width;
        r.smoothness = 0.25f;
        return r;
    }

    // An airport at elevation 0 in the nearby list (entry n), visible and selected.
    static int add_airport(std::vector<runway_record> runways, bool selected = true)
    {
        airport_record a{};
        std::strcpy(a.id, "TEST");
        a.local = 1;
        a.runways = std::move(runways);
        airport_table.push_back(a);
        const int index = static_cast<int>(airport_table.size()) - 1;
        const int n = ++local_airport_last;
        local_airport_list[n] = index;
        near_airport_light_state[n] = 10;
        scene_airport_visible[n] = 1;
        if (selected) start_selection.airport_index = index;
        return index;
    }

private:
    int saved_units_ = 0;
};
