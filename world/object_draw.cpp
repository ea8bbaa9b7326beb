// Drawing of the scenery objects: each LOD group's static primitives are
// compiled once into a day list and a night list (the lit texture added on
// texture unit 1); a placement replays a list after its record's textures are
// bound. Lights, smoke, movie quads and hard quads stay out of the lists for
// the terrain pass's per-frame work.
#include <GL/gl.h>
#include <GL/glext.h>

#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "world/objects.h"

obj_draw_state_record obj_draw_state{};

ORVELL_RESET_RECORD(OBJ_draw_reset, obj_draw_state, scene);

namespace {

bool has_texture(int32_t slot) { return slot >= 0 && slot < TEX_SLOTS && texture_memory[slot] > 0; }

const lod_group* group_at(int object, int group)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return nullptr;
    const std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    if (group < 0 || static_cast<size_t>(group) >= groups.size()) return nullptr;
    return &groups[static_cast<size_t>(group)];
}

int32_t code_at(const lod_group& g, long index)
{
    if (index < 0 || static_cast<size_t>(index) >= g.prims.size()) return 0;
    return g.prims[static_cast<size_t>(index)].code;
}

void material(GLenum which, const float* w)
{
    const GLfloat c[4] = {w[0], w[1], w[2], 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, which, c);
}

void send(const object_primitive& p)
{
    const float* w = p.w;
    switch (p.code) {
    case OBJ_LINE: OBJ_set_draw_state(OBJ_LINE), glBegin(GL_LINES); break;
    case OBJ_TRI: OBJ_set_draw_state(OBJ_TRI), glBegin(GL_TRIANGLES); break;
    case OBJ_QUAD:
    case OBJ_QUAD_HARD: OBJ_set_draw_state(p.code), glBegin(GL_QUADS); break;
    case OBJ_POLYGON: OBJ_set_draw_state(OBJ_POLYGON), glBegin(GL_POLYGON); break;
    case OBJ_QUAD_STRIP: OBJ_set_draw_state(OBJ_QUAD_STRIP), glBegin(GL_QUAD_STRIP); break;
    case OBJ_TRI_STRIP: OBJ_set_draw_state(OBJ_TRI_STRIP), glBegin(GL_TRIANGLE_STRIP); break;
    case OBJ_TRI_FAN: OBJ_set_draw_state(OBJ_TRI_FAN), glBegin(GL_TRIANGLE_FAN); break;
    case OBJ_NORMAL: glNormal3fv(w); break;
    case OBJ_LINE_VERTEX: {
        // The line colour is fixed when the list is compiled.
        float c[3];
        OBJ_line_colour_now(w, c);
        glColor4f(c[0], c[1], c[2], OBJ_LINE_ALPHA);
        glVertex3fv(w);
        break;
    }
    case OBJ_VERTEX:
        // Without the multi-texture coordinate entry the plain coordinate is
        // given rather than calling through a null pointer.
        if (!obj_draw_state.lit_flag || cur_tex_units == 1 || !gl_entry::glMultiTexCoord2fARB) {
            glTexCoord2f(w[3], w[4]);
        } else {
            for (int u = 0; u < cur_tex_units && u < 4; ++u)
                gl_entry::glMultiTexCoord2fARB(GL_TEXTURE0_ARB + u, w[3], w[4]);
        }
        glVertex3fv(w);
        break;
    case OBJ_END_LINES:
    case OBJ_END: glEnd(); break;
    case OBJ_SHADE_FLAT: glShadeModel(GL_FLAT); break;
    case OBJ_SHADE_SMOOTH: glShadeModel(GL_SMOOTH); break;
    case OBJ_AMBIENT: material(GL_AMBIENT, w); break;
    case OBJ_DIFFUSE: material(GL_DIFFUSE, w); break;
    case OBJ_SPECULAR: material(GL_SPECULAR, w); break;
    case OBJ_EMISSION: material(GL_EMISSION, w); break;
    case OBJ_SHINY: glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, w[0]); break;
    case OBJ_NO_DEPTH: glDisable(GL_DEPTH_TEST), glDepthMask(GL_FALSE); break;
    case OBJ_DEPTH: glEnable(GL_DEPTH_TEST), glDepthMask(GL_TRUE); break;
    default: break;
    }
}

}  // namespace

void OBJ_line_colour_now(const float* w, float rgb[3])
{
    const float L = gload_dim_factor;
    rgb[0] = w[3] * sim_graphics_misc.cockpit_light_level_r * L;
    rgb[1] = w[4] * sim_graphics_misc.cockpit_light_level_g * L;
    rgb[2] = w[5] * sim_graphics_misc.cockpit_light_level_b * L;
}

void OBJ_set_draw_state(int code)
{
    obj_draw_state_record& s = obj_draw_state;
    if (code == s.last_state) return;
    int units = 0;
    if (code != 0 && code != OBJ_LINE && s.day_flag) units = s.lit_flag ? 2 : 1;
    OGL_set_state(STATE_FOG_ON, units, code == 0 ? STATE_LIGHTING_OFF : STATE_LIGHTING_ON, STATE_ALPHA_TEST,
                  STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    s.last_state = code;
}

int OBJ_is_static_prim(int object, int group, int prim)
{
    const lod_group* g = group_at(object, group);
    if (!g) return 0;
    switch (code_at(*g, prim)) {
    case 2: case 3: case 4: case 5: case 9: case 10: case 11: case 12: case 13: case 15: case 17: case 19:
    case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28: case 29: case 30:
        return 1;
    default: return 0;
    }
}

int OBJ_is_dynamic_prim(int object, int group, int prim)
{
    const lod_group* g = group_at(object, group);
    if (!g || prim < 0 || static_cast<size_t>(prim) >= g->prims.size()) return 0;
    switch (code_at(*g, prim)) {
    case OBJ_LIGHT: case OBJ_QUAD_HARD: case OBJ_SMOKE_BLACK: case OBJ_SMOKE_WHITE: case OBJ_QUAD_MOVIE:
    case OBJ_LIGHT_VERTEX: case OBJ_MOVIE_VERTEX: case OBJ_END_LIGHTS: case OBJ_END_MOVIE:
        return 1;
    case OBJ_NORMAL: return code_at(*g, prim - 1) == OBJ_QUAD_HARD ? 1 : 0;
    case OBJ_VERTEX:
        // The four corners of a hard quad: its header lies 2 to 5 entries back.
        for (int back = 2; back <= 5; ++back)
            if (code_at(*g, prim - back) == OBJ_QUAD_HARD) return 1;
        return 0;
    default: return 0;
    }
}

void OBJ_use_textures(int object, int lit, int bind)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return;
    const scenery_object_record& r = object_table[static_cast<size_t>(object)];
    obj_draw_state_record& s = obj_draw_state;

    // has_mul_tex_add is the start-up's lit-texture-usable flag (the same
    // flag is also called lit_tex_usable), and texture_memory the texture size table.
    s.day_flag = has_texture(r.day_tex) ? 1 : 0;
    s.lit_flag = (has_texture(r.lit_tex) && lit != 0 && has_mul_tex_add) ? 1 : 0;
    OBJ_set_draw_state(0);

    if (s.day_flag) {
        OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_ALPHA_TEST, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        if (bind) OGL_bind_tex(r.day_tex, 0);
    }
    if (s.lit_flag) {
        OGL_set_state(STATE_FOG_ON, 2, STATE_LIGHTING_ON, STATE_ALPHA_TEST, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
        if (bind) {
            if (cur_tex_units <= 1 || !gl_entry::glActiveTextureARB) {
                // One unit only: the lit texture takes the day texture's place.
                // So does a display without the unit-selection entry, which
                // would otherwise be called through a null pointer.
                OGL_bind_tex(r.lit_tex, 0);
            } else {
                // The lit texture is added to the day texture: unit 1 gets the
                // additive environment, which adding needs; left at the default
                // it would multiply the day texture by the lit one instead.
                gl_entry::glActiveTextureARB(GL_TEXTURE1_ARB);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
                gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
                OGL_bind_tex(r.lit_tex, 1);
            }
        }
    }
}

void OBJ_draw(int object, int group, int lit, int mode)
{
    if (!group_at(object, group)) return;
    lod_group& g = object_table[static_cast<size_t>(object)].groups[static_cast<size_t>(group)];
    OBJ_use_textures(object, lit, mode == 1);

    if (mode == 1) {
        const uint32_t list = lit ? g.lit_list : g.day_list;
        if (list != 0) glCallList(list);
        return;
    }

    const GLuint list = glGenLists(1);
    if (lit)
        g.lit_list = list;
    else
        g.day_list = list;
    if (list == 0) return;   // no list name to be had: nothing can be compiled into it
    // The state switches go into the list; the kit's unit count describes
    // OpenGL's own state again once the list is closed.
    const int32_t units_outside = cur_tex_units;
    glNewList(list, GL_COMPILE);
    for (size_t k = 0; k < g.prims.size(); ++k)
        if (OBJ_is_static_prim(object, group, static_cast<int>(k))) send(g.prims[k]);
    glEndList();
    cur_tex_units = units_outside;
}
