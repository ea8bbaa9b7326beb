// The ground surface of one runway, taxiway or apron: its blast shoulders,
// then textured quad strips along the sections of its geometry, with the skid
// marks over the runway's marked band and the landing light's splash on
// further texture units.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/alert.h"
#include "core/reset_registry.h"
#include "core/texture_slots.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/airport_draw.h"
#include "scene/airport/worldobj.h"
#include "scene/terrain/landing_light.h"

struct skid_corner_record {
    int64_t uploads = -1;   // the skid picture's upload count when it was looked at
    bool white = false;
};
skid_corner_record skid_corner;
ORVELL_RESET_RECORD(STRIP_reset, skid_corner);

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

// Whether the skid picture reads plain white at (0, 0): white at its four
// corner texels, which are all a filtered read there sees when the edges
// repeat or clamp to the edge texels. Looked at again after each upload.
bool skids_corner_white()
{
    skid_corner_record& k = skid_corner;
    const int64_t uploads = texture_uploads[TEX_SLOT_SKIDS];
    if (k.uploads == uploads) return k.white;
    k.uploads = uploads;
    k.white = false;
    OGL_bind_tex(TEX_SLOT_SKIDS, 0);
    GLint w = 0, h = 0, wrap_s = 0, wrap_t = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap_s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap_t);
    // A border colour would be blended in at the edge.
    const auto no_border = [](GLint wrap) { return wrap == GL_REPEAT || wrap == GL_CLAMP_TO_EDGE; };
    if (!no_border(wrap_s) || !no_border(wrap_t)) return false;
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return false;
    std::vector<uint8_t> texels(size_t(w) * size_t(h) * 4);
    {
        const OGL_pixel_rows_guard rows(true);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    }
    k.white = true;
    for (const size_t x : {size_t(0), size_t(w - 1)})
        for (const size_t y : {size_t(0), size_t(h - 1)})
            for (int c = 0; c < 4; ++c) k.white = k.white && texels[(y * size_t(w) + x) * 4 + size_t(c)] == 255;
    return k.white;
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
// other end past the middle; the skid marks run over the marked band. Outside
// the band every corner reads the skid picture at its corner texels, which are
// unmarked white, so those runs leave the skid unit off: the same picture for
// a texture read less per pixel.
void marked_strip(const runway_geometry_record& g, bool paved, bool unpaved, bool skids, bool lit)
{
    const int last = static_cast<int>(g.sections.size()) - 1;
    const int mid = last / 2;
    float s_left = 0.0f, s_right = 1.0f, t = 0.0f, dt = 1.0f;
    float u = 0.0f, du = 0.025f;
    int e = 0;
    bool in_band = false;
    if (paved && last > 0) {
        du = std::max(4.0f / static_cast<float>(last), 0.025f);
        e = static_cast<int>(static_cast<float>(last) - 1.0f / du - 2.0f);
        for (int i = mid; i <= last; ++i)
            if (in(g.sections[static_cast<size_t>(i)].texture_slot, 50, 57)) --e;
    }
    strip_skids = {du, e};
    bool skid_unit = false;   // the run being drawn carries the skid marks
    auto emit = [&](const runway_section& s) {
        const int light_unit = skid_unit ? 2 : 1;
        AIRPORT_tex(0, s_right, t);
        if (skid_unit) AIRPORT_tex(1, in_band ? 1.0f : 0.0f, in_band ? u : 0.0f);
        if (lit) AIRPORT_splash_tex(light_unit, s.right[0], s.right[2]);
        vertex(s.right);
        AIRPORT_tex(0, s_left, t);
        if (skid_unit) AIRPORT_tex(1, 0.0f, in_band ? u : 0.0f);
        if (lit) AIRPORT_splash_tex(light_unit, s.left[0], s.left[2]);
        vertex(s.left);
    };

    int current = -1;
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
            if (i > 0) {
                emit(s);
                if (i > mid && s_left < s_right) {
                    std::swap(s_left, s_right);
                    dt = -dt;
                }
                glEnd();
            }
            current = s.texture_slot;
            if (skids) in_band = in(current, 58, 161);
            const bool wanted = skids && (in_band || !skids_corner_white());
            if (i == 0 || wanted != skid_unit) strip_units(unpaved, wanted, lit);
            skid_unit = wanted;
            OGL_bind_tex(current, 0);
            glBegin(GL_QUAD_STRIP);
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
    const runway_geometry_record* g = AIRPORT_geometry(apt, r);
    if (!g) return;
    const runway_record& rw = apt.runways[static_cast<size_t>(r)];
    const bool runway = AIRPORT_is_runway(rw);
    const bool unpaved = AIRPORT_unpaved(rw.surface_code);
    // The overlays need texture units of their own.
    bool lit = full && landing_splash_on && num_tex_units >= 2;
    bool skids = full && runway && !unpaved && num_tex_units >= 2;
    if (num_tex_units == 2 && lit) skids = false;

    if (rw.shoulder_code != 0) {
        if (shoulder_slot(rw.shoulder_code, 0) < 0) {
            MACIBM_nuke_alert(0, "Bad shoulder type!", "", "", "", ALERT_FATAL);
            return;
        }
        shoulders(*g, rw.shoulder_code, unpaved, lit);
    }

    glNormal3f(0.0f, 1.0f, 0.0f);
    if (!runway && !unpaved) {
        strip_units(unpaved, false, lit);
        OGL_bind_tex(g->sections.front().texture_slot, 0);
        paved_apron(*g, lit);
    } else {
        marked_strip(*g, !unpaved, unpaved, skids, lit);
    }
}
