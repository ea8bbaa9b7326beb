// The ground surface of one runway, taxiway or apron: its blast shoulders,
// then textured quad strips along the sections of its geometry, with the skid
// marks over the runway's marked band and the landing light's splash on
// further texture units.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/alert.h"
#include "core/texture_slots.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/airport_draw.h"
#include "scene/airport/worldobj.h"
#include "scene/terrain/landing_light.h"

namespace {

constexpr int SHOULDER_ASPHALT = 1;
constexpr int SHOULDER_CONCRETE = 2;

bool in(int slot, int lo, int hi) { return slot >= lo && slot <= hi; }

// The shoulder picture of a side (0 left, 1 right); -1 for a kind that has none.
int shoulder_slot(int kind, int side)
{
    if (kind == SHOULDER_ASPHALT)
        return side == 0 ? TEX_SLOT_LATERAL_BLAST_LEFT_ASPHALT : TEX_SLOT_LATERAL_BLAST_RIGHT_ASPHALT;
    if (kind == SHOULDER_CONCRETE)
        return side == 0 ? TEX_SLOT_LATERAL_BLAST_LEFT_CONCRETE : TEX_SLOT_LATERAL_BLAST_RIGHT_CONCRETE;
    return -1;
}

void vertex(const float* p) { glVertex3f(p[0], p[1], p[2]); }

// The blast shoulders on both sides, a quarter of the first section's width each.
void shoulders(const runway_geometry_record& g, int kind, bool unpaved, bool lit)
{
    OGL_set_state(STATE_FOG_ON, lit ? 2 : 1, STATE_LIGHTING_ON, unpaved ? STATE_BLEND : STATE_OPAQUE,
                  STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_OFF);
    if (lit) {
        OGL_bind_tex(TEX_SLOT_LANDING_LIGHT, 1);
        AIRPORT_modulate(1);
    }
    AIRPORT_modulate(0);
    const runway_section& s0 = g.sections.front();
    const float d[3] = {(s0.left[0] - s0.right[0]) * 0.25f, (s0.left[1] - s0.right[1]) * 0.25f,
                        (s0.left[2] - s0.right[2]) * 0.25f};
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int side = 0; side < 2; ++side) {
        OGL_bind_tex(shoulder_slot(kind, side), 0);
        glBegin(GL_QUAD_STRIP);
        for (size_t i = 0; i < g.sections.size(); ++i) {
            const runway_section& s = g.sections[i];
            const float t = static_cast<float>(i);
            const float* edge = side == 0 ? s.left : s.right;
            const float sign = side == 0 ? 1.0f : -1.0f;
            const float out[3] = {edge[0] + sign * d[0], edge[1] + sign * d[1], edge[2] + sign * d[2]};
            const float* first = side == 0 ? edge : out;
            const float* second = side == 0 ? out : edge;
            AIRPORT_tex(0, 0.0f, t);
            if (lit) AIRPORT_splash_tex(1, first[0], first[2]);
            vertex(first);
            AIRPORT_tex(0, 1.0f, t);
            if (lit) AIRPORT_splash_tex(1, second[0], second[2]);
            vertex(second);
        }
        glEnd();
    }
}

// A taxiway or apron: the texture fixed to the world, one repeat per 20 m.
void paved_apron(const runway_geometry_record& g, bool lit)
{
    const worldobj_state_record& w = worldobj_state;
    glBegin(GL_QUAD_STRIP);
    for (const runway_section& s : g.sections)
        for (const float* p : {s.right, s.left}) {
            AIRPORT_tex(0, (p[0] - w.snow_origin_x) * 0.05f, (p[2] - w.snow_origin_z) * 0.05f);
            if (lit) AIRPORT_splash_tex(1, p[0], p[2]);
            vertex(p);
        }
    glEnd();
}

// The state of a strip's sections: the surface on unit 0, the skid marks on
// unit 1 when `skid_unit`, the landing light's splash on the next unit when lit.
void strip_units(bool unpaved, bool skid_unit, bool lit)
{
    const int units = (skid_unit ? 1 : 0) + 1 + (lit ? 1 : 0);
    OGL_set_state(STATE_FOG_ON, units, STATE_LIGHTING_ON, unpaved ? STATE_BLEND : STATE_OPAQUE, STATE_DEPTH_TEST_ON,
                  STATE_DEPTH_WRITE_OFF);
    if (skid_unit) {
        OGL_bind_tex(TEX_SLOT_SKIDS, 1);
        AIRPORT_modulate(1);
    }
    if (lit) {
        OGL_bind_tex(TEX_SLOT_LANDING_LIGHT, skid_unit ? 2 : 1);
        AIRPORT_modulate(skid_unit ? 2 : 1);
    }
    AIRPORT_modulate(0);
}

// A runway or unpaved strip: one texture repeat per section, read from the
// other end past the middle; the skid marks run over the marked band.
void marked_strip(const runway_geometry_record& g, bool paved, bool unpaved, bool skids, bool lit)
{
    const int last = static_cast<int>(g.sections.size()) - 1;
    const int mid = last / 2;
    float s_left = 0.0f, s_right = 1.0f, t = 0.0f, dt = 1.0f;
    float u = 0.0f, du = 0.025f;
    int e = 0;
    bool in_band = false;
    if (paved) {
        du = std::max(4.0f / static_cast<float>(last), 0.025f);
        e = static_cast<int>(static_cast<float>(last) - 1.0f / du - 2.0f);
        for (int i = mid; i <= last; ++i)
            if (in(g.sections[static_cast<size_t>(i)].texture_slot, 50, 57)) --e;
    }
    strip_skids = {du, e};
    const int light_unit = skids ? 2 : 1;
    auto emit = [&](const runway_section& s) {
        AIRPORT_tex(0, s_right, t);
        if (skids) AIRPORT_tex(1, in_band ? 1.0f : 0.0f, in_band ? u : 0.0f);
        if (lit) AIRPORT_splash_tex(light_unit, s.right[0], s.right[2]);
        vertex(s.right);
        AIRPORT_tex(0, s_left, t);
        if (skids) AIRPORT_tex(1, 0.0f, in_band ? u : 0.0f);
        if (lit) AIRPORT_splash_tex(light_unit, s.left[0], s.left[2]);
        vertex(s.left);
    };

    // Section 0's texture is bound with the state, so the first run keeps the
    // skid band closed until the texture first changes.
    int current = g.sections.front().texture_slot;
    OGL_bind_tex(current, 0);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= last; ++i) {
        const runway_section& s = g.sections[static_cast<size_t>(i)];
        t += dt;
        if (in_band) {
            float step = du;
            if (in(s.texture_slot, 62, 141)) step = du * 0.25f;
            if (in(s.texture_slot, 142, 143)) step = du * 0.5f;
            u += step;
            if (u > 1.0f) u -= 2.0f * step;
            if (du > 0.0f && i > e) du = -step;
        }
        if (s.texture_slot != current) {
            if (i > 0) emit(s);
            if (i > mid && s_left < s_right) {
                std::swap(s_left, s_right);
                dt = -dt;
            }
            glEnd();
            current = s.texture_slot;
            OGL_bind_tex(current, 0);
            glBegin(GL_QUAD_STRIP);
            if (skids) in_band = in(current, 58, 161);
        }
        emit(s);
    }
    glEnd();
}

}  // namespace

void WORLDOBJ_draw_strip(int a, int r, int full)
{
    if (a < 0 || static_cast<size_t>(a) >= airport_table.size()) return;
    const airport_record& apt = airport_table[static_cast<size_t>(a)];
    const runway_geometry_record* g = APT_runway_geometry(apt, r);
    if (!g) return;
    const runway_record& rw = apt.runways[static_cast<size_t>(r)];
    const bool runway = APT_is_runway(rw);
    const bool unpaved = AIRPORT_unpaved(rw.surface_code);
    // landing_splash_on is the landing light's on flag (landing_light_active)
    // and num_tex_units the driver's texture unit count (max_tex_units).
    const bool lit = full && landing_splash_on;
    bool skids = full && runway && !unpaved;
    if (num_tex_units == 2 && lit) skids = false;

    if (rw.shoulder_code != 0) {
        if (shoulder_slot(rw.shoulder_code, 0) < 0) {
            MACIBM_nuke_alert(0, "Bad shoulder type!", "", "", "", ALERT_FATAL);
            return;
        }
        shoulders(*g, rw.shoulder_code, unpaved, lit);
    }

    strip_units(unpaved, skids, lit);
    glNormal3f(0.0f, 1.0f, 0.0f);
    if (!runway && !unpaved) {
        OGL_bind_tex(g->sections.front().texture_slot, 0);
        paved_apron(*g, lit);
    } else {
        marked_strip(*g, !unpaved, unpaved, skids, lit);
    }
}
