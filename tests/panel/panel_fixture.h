// The panel's tests: a user's aircraft with an empty panel on a cleared
// simulation, the offscreen context in the 2-D projection, and helpers that
// read what a pass drew from OpenGL's feedback mode: needle angles, texel
// boxes, the slots bound (the texture kit's seam) and the sounds played.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/sound_seam.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/ui_capture.h"
#include "tests/support/test_support.h"

struct recorded_binds : bind_recorder {
    std::vector<std::pair<int, int>> slots;   // slot, unit
    void bound(int slot, int unit) override { slots.emplace_back(slot, unit); }
};

struct recorded_sounds : sound_recorder {
    std::vector<int> played_slots;
    void played(int slot, int, float, float) override { played_slots.push_back(slot); }
};

// A needle as drawn: its pivot and tip direction in window units.
struct drawn_needle {
    float pivot_x, pivot_y;
    float angle_deg;   // 0 up, clockwise
    float length;
};

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        ASSERT_TRUE(ui_2d_ready());
        flt[0] = flt_struct{};
        pln[0] = acf_struct{};
        acf_HUD_type = HUD_KIND_NONE;
        for (int s = 0; s < ACF_INS_SLOTS; ++s) pln[0].acf_ins_type[s] = -1;
        has_view_bitmap[0] = 0;
        mouse = mouse_record{};
        screen.open_menu = -1;
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_graphics_misc.cockpit_light_level_r = sim_graphics_misc.cockpit_light_level_g =
            sim_graphics_misc.cockpit_light_level_b = 1.0f;
        gload_dim_factor = 1.0f;
        frame_clock = 100.0f;
        pln[0].acf_num_engines = 1;
        OGL_install_bind_recorder(&binds);
        SOUND_install_recorder(&sounds);
    }
    void TearDown() override
    {
        OGL_install_bind_recorder(nullptr);
        SOUND_install_recorder(nullptr);
        mouse = mouse_record{};
    }

    // Puts instrument `type` into slot s at (x, y) with scale `size`.
    static void slot(int s, int type, float x, float y, float size = 1.0f)
    {
        acf_struct& a = pln[0];
        a.acf_ins_type[s] = type;
        a.acf_ins_x[s] = x;
        a.acf_ins_y[s] = y;
        a.acf_ins_size[s] = size;
    }
    // The panel's lower left corner in the window.
    static void panel_at(float left, float bottom)
    {
        screen.screen_area_left = left;
        screen.screen_area_bottom = bottom;
    }
    // The lines the glyphs of `font` among the primitives spell, top to
    // bottom, each ended by '|'.
    static std::string glyph_text(int font, const std::vector<fb_prim>& prims)
    {
        std::vector<fb_rect> glyphs;
        for (const fb_rect& r : rects_of(prims))
            if (glyph_of(font, r) != 0) glyphs.push_back(r);
        std::string all;
        for (const std::string& l : text_lines(font, glyphs)) all += l + "|";
        return all;
    }
    // The battery on and charged: the panel and avionics have power.
    static void power()
    {
        sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
        flt[0].ENGN_bat_volt[0] = 1.0f;
    }
    // Runs the drawing with the drawing context of one slot of `type`.
    static std::vector<fb_prim> in_slot(int type, float scale, const std::function<void()>& draw)
    {
        panel_ins_type = type;
        panel_ins_scale = scale;
        return capture_feedback(draw);
    }

    // The needles of `style` among the captured primitives.
    static std::vector<drawn_needle> needles(const std::vector<fb_prim>& prims, int style)
    {
        const needle_style* n = PANEL_needle_style(style);
        std::vector<drawn_needle> out;
        if (!n) return out;
        auto near = [](float a, float b) { return std::fabs(a - b) < 0.01f; };
        for (size_t i = 0; i < prims.size(); ++i) {
            if (prims[i].token != GL_POLYGON_TOKEN) continue;
            // A quad may come as two triangles: take the corners of both, once each.
            std::vector<fb_vertex> v = prims[i].v;
            if (v.size() == 3 && i + 1 < prims.size() && prims[i + 1].v.size() == 3) {
                for (const fb_vertex& w : prims[i + 1].v) {
                    bool seen = false;
                    for (const fb_vertex& u : v) seen = seen || (near(u.x, w.x) && near(u.y, w.y));
                    if (!seen) v.push_back(w);
                }
                ++i;
            }
            if (v.size() != 4) continue;
            // The quad's texels span the style's region exactly (untextured
            // primitives carry whatever texture coordinate was set last).
            float s1 = 1e9f, s2 = -1e9f, t1 = 1e9f, t2 = -1e9f;
            for (const fb_vertex& u : v) {
                s1 = std::min(s1, u.s * 512.0f), s2 = std::max(s2, u.s * 512.0f);
                t1 = std::min(t1, u.t * 512.0f), t2 = std::max(t2, u.t * 512.0f);
            }
            const bool inside = near(s1, n->ua) && near(s2, n->ub) && near(t1, n->va) && near(t2, n->vb);
            if (!inside) continue;
            float tx = 0, ty = 0, bx = 0, by = 0;
            for (const fb_vertex& u : v) {
                if (near(u.t * 512.0f, n->vb)) tx += u.x * 0.5f, ty += u.y * 0.5f;
                else bx += u.x * 0.5f, by += u.y * 0.5f;
            }
            const float dx = tx - bx, dy = ty - by, len = std::hypot(dx, dy);
            out.push_back({bx + dx * n->f, by + dy * n->f, std::atan2(dx, dy) * 57.29578f, len});
        }
        return out;
    }

    // Angles compared on the circle, in degrees.
    static float angle_gap(float a, float b)
    {
        float d = std::fmod(std::fabs(a - b), 360.0f);
        return d > 180.0f ? 360.0f - d : d;
    }

    recorded_binds binds;
    recorded_sounds sounds;
};
