// The sky tests' state: the scene fixture with the cloud field, the sky
// objects and the air points back at their start, the world textures the sky
// draws with loaded from the built data folder, and the primitives of a
// drawing caught in OpenGL's feedback mode.
#pragma once

#include <array>
#include <cstdio>
#include <vector>

#include "core/random.h"
#include "core/texture_slots.h"
#include "flightmodel/systems/weather.h"
#include "graphics/ogl_tex.h"
#include "scene/drawers.h"
#include "scene/sky/air_points.h"
#include "scene/sky/cloud_field.h"
#include "scene/sky/sky_objects.h"
#include "scene/view_effects.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

// One fed-back vertex: window x, y, z, colour and texture s, t.
struct fb_vertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
};
struct fb_primitive {
    GLint kind;   // GL_POINT_TOKEN, GL_LINE_TOKEN (resets too) or GL_POLYGON_TOKEN
    std::vector<fb_vertex> v;
};

template <class F>
std::vector<fb_primitive> feedback(F&& draw)
{
    const std::vector<GLfloat> b = feedback_of(draw, 1 << 22);
    const GLint n = static_cast<GLint>(b.size());
    std::vector<fb_primitive> out;
    for (GLint i = 0; i < n;) {
        GLint token = static_cast<GLint>(b[size_t(i++)]);
        GLint count = 0;
        if (token == GL_POLYGON_TOKEN) count = static_cast<GLint>(b[size_t(i++)]);
        else if (token == GL_POINT_TOKEN) count = 1;
        else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) count = 2, token = GL_LINE_TOKEN;
        else if (token == GL_PASS_THROUGH_TOKEN) { ++i; continue; }
        else { ADD_FAILURE() << "unexpected feedback token " << token; break; }
        fb_primitive p{token, {}};
        for (GLint k = 0; k < count; ++k, i += 11) {
            const GLfloat* f = &b[size_t(i)];
            p.v.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
        }
        out.push_back(std::move(p));
    }
    return out;
}

// The polygons as quads: the driver may hand a quad back as two triangles.
inline std::vector<fb_primitive> quads(const std::vector<fb_primitive>& p)
{
    std::vector<fb_primitive> out;
    for (size_t k = 0; k < p.size(); ++k) {
        if (p[k].kind != GL_POLYGON_TOKEN) continue;
        fb_primitive q = p[k];
        if (q.v.size() == 3 && k + 1 < p.size() && p[k + 1].kind == GL_POLYGON_TOKEN && p[k + 1].v.size() == 3) {
            for (const fb_vertex& v : p[k + 1].v) q.v.push_back(v);
            ++k;
        }
        out.push_back(std::move(q));
    }
    return out;
}

inline size_t count_kind(const std::vector<fb_primitive>& p, GLint kind)
{
    size_t n = 0;
    for (const fb_primitive& q : p) n += q.kind == kind;
    return n;
}

class SkyState : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        CONST_fill_random_table();
        weather_stage = weather_stage_state{};
        air_points = air_points_record{};
        screen_settings.cloud_scale_a = screen_settings.cloud_scale_b = 1.0f;
        screen_settings.cloud_switch = 1;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
        for (int k = 0; k < 3; ++k) scene_cockpit_light_rgb[k] = 1.0f;
        for (int k = 0; k < CLOUD_LAYERS; ++k) sim_weather.cloud_type[k] = 0;
        // The textures the sky binds, at full size, loaded again whenever
        // something else (a started program, another fixture) has uploaded
        // into their slots since.
        static std::array<uint32_t, TEX_SLOTS> uploads_seen{};
        const int32_t kept_res = screen.rendering_res;
        screen.rendering_res = 4;
        const auto load = [](int slot, const char* name) {
            if (uploads_seen[size_t(slot)] != 0 && uploads_seen[size_t(slot)] == texture_uploads[slot]) return;
            int w, h;
            OGL_load_tex_file(LOAD_TEXTURE, slot, TEX_BRIGHT, name, w, h);
            uploads_seen[size_t(slot)] = texture_uploads[slot];
        };
        load(TEX_SLOT_CIRRUS, "WORLD:CLOUDS:CLD_CIRRUS1.BMP");
        load(TEX_SLOT_CUMULUS, "WORLD:CLOUDS:CLD_CUMULUS.BMP");
        load(TEX_SLOT_LIGHTS, "WORLD:OVERLAYS:LIGHTS.BMP");
        for (int n = 0; n < 23; ++n) {
            char name[64];
            std::snprintf(name, sizeof name, "WORLD:MOON:MOON%02d.BMP", n + 1);
            load(TEX_SLOT_MOON_FIRST + n, name);
        }
        screen.rendering_res = kept_res;
    }

    void TearDown() override
    {
        CONST_fill_random_table();
        SceneState::TearDown();
    }

    // Orthographic picture of the local frame seen from the south: window x
    // follows x over -half..half, window y follows y over y0..y1.
    static void side_view(float half, float y0, float y1)
    {
        window_ortho(-half, half, y0, y1, -1.0e6, 1.0e6);
    }
    static float world_y(float window_y, float y0, float y1) { return y0 + window_y / 768.0f * (y1 - y0); }

    // Orthographic picture from above, north up: window x follows x over
    // -half..half, window y follows -z over -half..half.
    static void top_view(float half)
    {
        window_ortho(-half, half, -half, half, -1.0e6, 1.0e6);
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    }
    static float world_x(float window_x, float half) { return (window_x / 1024.0f * 2.0f - 1.0f) * half; }
    static float world_z(float window_y, float half) { return -(window_y / 768.0f * 2.0f - 1.0f) * half; }

    // A 512 x 512 RGB texture read back.
    static std::vector<uint8_t> texture_rgb(int slot, int& w, int& h, GLenum format = GL_RGB)
    {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        const size_t n = format == GL_RGBA ? 4 : 3;
        std::vector<uint8_t> px(size_t(w) * size_t(h) * n);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, px.data());
        OGL_reset_bound_textures();
        return px;
    }
};
