// One scenery object drawn where the terrain pass puts it: its level of
// detail by distance, the lean of the globe, its display lists (or, inside
// the terrain pass, vertex arrays shared by the objects of one texture), and
// the special items that need work every frame (lights, smoke, movie
// screens); and the tree crosses of the cover. The hard roofs are not the
// drawing's: the simulation finds them under the plane, drawn or not.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/network.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/gl_entry.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/effects/particles.h"
#include "scene/scene_state.h"
#include "scene/terrain/terrain_pass.h"
#include "world/objects.h"

int32_t terrain_night = 0;
terrain_tilt_record terrain_tilt{};
terrain_objects_kept_record terrain_objects_kept{-1};

namespace {

constexpr int LIGHT_KIND_ORDINARY = 105;
constexpr int SMOKE_COLOUR_BLACK = 29;
constexpr int SMOKE_COLOUR_WHITE = 0;
constexpr float MOVIE_FRAMES_PER_SEC = 3.0f;
constexpr int MOVIE_LOOP_FRAMES = 40;
constexpr int MOVIE_LAST_FRAME = 34;   // 5 x 7 frames, the last held for five frame times
constexpr int MOVIE_COLUMNS = 5;
constexpr float MOVIE_FRAME_S = 204.0f / 1024.0f;
constexpr float MOVIE_FRAME_T = 146.0f / 1024.0f;

const lod_group* level_of(int object, int level)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return nullptr;
    const std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    if (level < 0 || static_cast<size_t>(level) >= groups.size()) return nullptr;
    return &groups[static_cast<size_t>(level)];
}

const object_primitive* item_of(int object, int level, int item)
{
    const lod_group* g = level_of(object, level);
    if (!g || item < 0 || static_cast<size_t>(item) >= g->prims.size()) return nullptr;
    return &g->prims[static_cast<size_t>(item)];
}

// The object's frame: at (x, y, z), turned to its heading, leaning with the globe.
void place_object_frame(float x, float y, float z, float heading)
{
    glTranslatef(x, y, z);
    glRotatef(-heading, 0.0f, 1.0f, 0.0f);
    glRotatef(-x * terrain_tilt.east_factor, 0.0f, 0.0f, 1.0f);
    glRotatef(-z * terrain_tilt.north_factor, 1.0f, 0.0f, 0.0f);
}

bool close_to(float v, float code) { return std::fabs(v - code) < 0.01f; }

// Whole number of tenths: a flash shows for the tenth in which it is a multiple of ten.
// A time with no number, or too large for a whole count, would make the rounding
// undefined: such a light stays dark.
bool on_tenth(double t)
{
    if (!std::isfinite(t) || std::fabs(t) > 1.0e15) return false;
    const long long n = std::llround(t);
    return n % 10 == 0;
}

void movie_vertex(const object_primitive& p)
{
    const float* w = p.w;
    if (!terrain_night) {
        glTexCoord2f(w[3], w[4]);
    } else {
        glTexCoord2f(w[3], w[4]);
        float rect[4];
        TERRAIN_movie_frame(frame_clock, rect);
        int& corner = terrain_objects_kept.movie_corner;
        corner = (corner + 1) % 4;   // from -1 at the start: 0, 1, 2, 3, 0, ...
        const float s = corner <= 1 ? rect[1] : rect[0];
        const float t = corner == 0 || corner == 3 ? rect[3] : rect[2];
        if (gl_entry::glMultiTexCoord2fARB) gl_entry::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, t);
    }
    glVertex3f(w[0], w[1], w[2]);
}

// ---------------------------------------------------------------------------
// Objects gathered into shared vertex arrays. An object level whose compiled
// primitives are faces (triangles, quads, polygons, strips and fans) and
// lines, each vertex after a normal, draws what its display list draws once
// its vertices are carried into the world by the object's placement: the
// same state (the record's textures, lighting on, alpha test, the state kit's
// colour as the material; lines untextured in the colours they were compiled
// with), and under the flat shading of the objects' pass each face takes the
// normal of the vertex that colours it. The placements of a frame are
// gathered, and their vertices rebuilt only when the placements differ from
// the last frame's (the cover cells, the levels of detail or the origin
// moved); each texture pair is then one draw, and all lines one more.

struct placed_object {
    int32_t object, level;
    float x, y, z, heading;
    bool operator==(const placed_object&) const = default;
};

struct batch_vertex {
    float x, y, z, nx, ny, nz, s, t;
};

struct line_vertex {
    float x, y, z, nx, ny, nz, r, g, b, a;
};
// The normal follows the position in both (the array set-up counts on it).
static_assert(offsetof(batch_vertex, nx) == 3 * sizeof(float) && offsetof(line_vertex, nx) == 3 * sizeof(float));

struct object_batch {
    int32_t first_object;   // the record whose textures and state the batch takes
    int32_t day_tex, lit_tex;
    std::vector<batch_vertex> vertices;
};

struct object_batches_record {
    bool open = false;
    std::vector<placed_object> placed;   // this frame's, in drawing order
    std::vector<placed_object> built;    // those the batches were built from
    std::vector<object_batch> batches;
    std::vector<line_vertex> lines;
};
object_batches_record object_batches;

bool face_header(int32_t code)
{
    return code == OBJ_TRI || code == OBJ_QUAD || code == OBJ_QUAD_HARD || code == OBJ_POLYGON ||
           code == OBJ_QUAD_STRIP || code == OBJ_TRI_STRIP || code == OBJ_TRI_FAN;
}

// Whether the level's compiled primitives are faces and lines with a normal
// before their first vertex (a vertex without one would take whatever normal
// an earlier drawer left).
bool batchable(const lod_group& g)
{
    if (g.static_prims.empty()) return false;
    int32_t open = 0;   // the header of the primitive being read
    bool normal = false;
    for (const object_primitive& p : g.static_prims) {
        const bool line = open == OBJ_LINE;
        if (face_header(p.code) || p.code == OBJ_LINE) {
            if (open) return false;
            open = p.code;
        } else if (p.code == OBJ_NORMAL) {
            normal = true;
        } else if (p.code == OBJ_VERTEX || p.code == OBJ_LINE_VERTEX) {
            if (!normal || !open || line != (p.code == OBJ_LINE_VERTEX)) return false;
        } else if (p.code == OBJ_END || p.code == OBJ_END_LINES) {
            if (!open || line != (p.code == OBJ_END_LINES)) return false;
            open = 0;
        } else {
            return false;
        }
    }
    return !open;
}

// The object's frame in the world: the turns TERRAIN_draw_object gives the
// matrix (heading about y, then the globe's lean about z and x).
struct placement_frame {
    float m[3][3];
    float t[3];

    placement_frame(const placed_object& o)
        : t{o.x, o.y, o.z}
    {
        const auto turn = [](float deg, int axis, float r[3][3]) {
            const float a = deg * DEG_TO_RAD_FLOAT, c = std::cos(a), s = std::sin(a);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) r[i][j] = i == j ? 1.0f : 0.0f;
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            r[u][u] = c, r[u][v] = -s, r[v][u] = s, r[v][v] = c;
        };
        float a[3][3], b[3][3], c[3][3], ab[3][3];
        turn(-o.heading, 1, a);
        turn(-o.x * terrain_tilt.east_factor, 2, b);
        turn(-o.z * terrain_tilt.north_factor, 0, c);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) ab[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m[i][j] = ab[i][0] * c[0][j] + ab[i][1] * c[1][j] + ab[i][2] * c[2][j];
    }
    void turned(const float* v, float* out) const
    {
        for (int i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    }
};

struct face_vertex {
    const float* w;        // position and texture coordinates
    const float* normal;
};

// One face primitive as triangles, split as OpenGL splits it and each
// triangle given the normal of the vertex that colours it under flat shading.
void add_face(int32_t code, const std::vector<face_vertex>& v, const placement_frame& f, std::vector<batch_vertex>& out)
{
    const auto tri = [&](size_t a, size_t b, size_t c, size_t coloured) {
        float n[3];
        f.turned(v[coloured].normal, n);
        for (const size_t k : {a, b, c}) {
            float p[3];
            f.turned(v[k].w, p);
            out.push_back({p[0] + f.t[0], p[1] + f.t[1], p[2] + f.t[2], n[0], n[1], n[2], v[k].w[3], v[k].w[4]});
        }
    };
    const size_t n = v.size();
    switch (code) {
    case OBJ_TRI:
        for (size_t i = 0; i + 2 < n; i += 3) tri(i, i + 1, i + 2, i + 2);
        break;
    case OBJ_QUAD:
    case OBJ_QUAD_HARD:
        for (size_t i = 0; i + 3 < n; i += 4) tri(i, i + 1, i + 3, i + 3), tri(i + 1, i + 2, i + 3, i + 3);
        break;
    case OBJ_POLYGON:   // coloured by its first vertex
        for (size_t i = 0; i + 2 < n; ++i) tri(i + 1, i + 2, 0, 0);
        break;
    case OBJ_QUAD_STRIP:
        for (size_t i = 0; i + 3 < n; i += 2) tri(i + 2, i, i + 3, i + 3), tri(i, i + 1, i + 3, i + 3);
        break;
    case OBJ_TRI_STRIP:
        for (size_t i = 0; i + 2 < n; ++i)
            if (i % 2 == 0)
                tri(i, i + 1, i + 2, i + 2);
            else
                tri(i + 1, i, i + 2, i + 2);
        break;
    case OBJ_TRI_FAN:
        for (size_t i = 1; i + 1 < n; ++i) tri(0, i, i + 1, i + 1);
        break;
    default: break;
    }
}

void add_object(const placed_object& o, std::vector<batch_vertex>& out, std::vector<line_vertex>& lines)
{
    const lod_group& g = object_table[static_cast<size_t>(o.object)].groups[static_cast<size_t>(o.level)];
    const placement_frame f(o);
    int32_t code = 0;
    const float* normal = nullptr;
    std::vector<face_vertex> face;
    size_t first_line = lines.size();
    for (const object_primitive& p : g.static_prims) {
        if (face_header(p.code)) {
            code = p.code;
            face.clear();
        } else if (p.code == OBJ_LINE) {
            first_line = lines.size();
        } else if (p.code == OBJ_NORMAL) {
            normal = p.w;
        } else if (p.code == OBJ_VERTEX && normal) {
            face.push_back({p.w, normal});
        } else if (p.code == OBJ_END) {
            add_face(code, face, f, out);
        } else if (p.code == OBJ_LINE_VERTEX && normal) {
            float v[3], n[3];
            f.turned(p.w, v);
            f.turned(normal, n);
            lines.push_back({v[0] + f.t[0], v[1] + f.t[1], v[2] + f.t[2], n[0], n[1], n[2], p.w[3], p.w[4], p.w[5],
                             OBJ_LINE_ALPHA});
        } else if (p.code == OBJ_END_LINES && (lines.size() - first_line) % 2 != 0) {
            lines.pop_back();   // a line without its second end draws nothing
        }
    }
}

void build_batches()
{
    object_batches_record& b = object_batches;
    b.batches.clear();
    b.lines.clear();
    for (const placed_object& o : b.placed) {
        const scenery_object_record& r = object_table[static_cast<size_t>(o.object)];
        auto it = std::find_if(b.batches.begin(), b.batches.end(), [&](const object_batch& k) {
            return k.day_tex == r.day_tex && k.lit_tex == r.lit_tex;
        });
        if (it == b.batches.end()) it = b.batches.insert(b.batches.end(), object_batch{o.object, r.day_tex, r.lit_tex, {}});
        add_object(o, it->vertices, b.lines);
    }
    b.built = b.placed;
}

// Positions and normals (switched on) or none (off) from an interleaved
// array of `stride` bytes; the current normal after an array draw is not
// defined, so the last one sent is left.
void positions_and_normals(const float* first, GLsizei stride)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, first);
    glNormalPointer(GL_FLOAT, stride, first + 3);
}
void positions_and_normals_off(const float* last)
{
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glNormal3fv(last + 3);
}

// One array draw of triangles with normals and, with `textured`, texture
// coordinates on every enabled unit.
void draw_array(const std::vector<batch_vertex>& v, bool textured)
{
    const bool second_unit = textured && cur_tex_units > 1 && gl_entry::glClientActiveTextureARB;
    constexpr GLsizei stride = sizeof(batch_vertex);
    positions_and_normals(&v[0].x, stride);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &v[0].s);
    }
    if (second_unit) {
        gl_entry::glClientActiveTextureARB(GL_TEXTURE1_ARB);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &v[0].s);
    }
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(v.size()));
    if (second_unit) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        gl_entry::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    positions_and_normals_off(&v.back().x);
}

// One array draw of lines with normals and colours; the colour after it is
// the last one sent, as after a list.
void draw_lines(const std::vector<line_vertex>& v)
{
    positions_and_normals(&v[0].x, sizeof(line_vertex));
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(line_vertex), &v[0].r);
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(v.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4fv(&v.back().r);
    positions_and_normals_off(&v.back().x);
}

void draw_batches()
{
    const object_batches_record& b = object_batches;
    for (const object_batch& k : b.batches) {
        if (k.vertices.empty()) continue;
        // The state and textures a list of the record meets, then the state its first face sets.
        OBJ_use_textures(k.first_object, terrain_night, 1);
        OBJ_set_draw_state(OBJ_TRI);
        draw_array(k.vertices, obj_draw_state.day_flag != 0);
    }
    if (!b.lines.empty()) {
        OBJ_set_draw_state(0);   // as a list is met, then its lines' own state
        OBJ_set_draw_state(OBJ_LINE);
        draw_lines(b.lines);
    }
}

// The items of the level that need work every frame (lights, smoke, movie
// screens), in the object's frame.
void special_items(int object, int level, float x, float y, float z, float heading, bool own_textures);

}  // namespace

void TERRAIN_objects_reset()
{
    terrain_objects_kept = terrain_objects_kept_record{-1};
    terrain_night = 0;
    terrain_tilt = terrain_tilt_record{};
    object_batches = object_batches_record{};
}
ORVELL_RESET(TERRAIN_objects_reset, scene);

void TERRAIN_movie_frame(float clock, float rect[4])
{
    int f = 0;
    const float frames = clock * MOVIE_FRAMES_PER_SEC;
    // A clock with no number or past the int range would make the rounding
    // undefined: frame 0 is shown then.
    if (std::isfinite(frames) && std::fabs(frames) < 1.0e9f) {
        f = static_cast<int>(std::lround(frames)) % MOVIE_LOOP_FRAMES;
        if (f < 0) f = 0;
        if (f > MOVIE_LAST_FRAME) f = MOVIE_LAST_FRAME;
    }
    const int c = f % MOVIE_COLUMNS, r = f / MOVIE_COLUMNS;
    rect[0] = static_cast<float>(c) * MOVIE_FRAME_S;
    rect[1] = rect[0] + MOVIE_FRAME_S;
    rect[2] = static_cast<float>(r) * MOVIE_FRAME_T;
    rect[3] = rect[2] + MOVIE_FRAME_T;
}

int TERRAIN_light_color(float x, float z, float& r, float& g, float& b)
{
    if (r > 0.0f && r < 1.0f) return 1;
    const double time = sim_network_misc.network_time_sec;
    if (r < 0.0f) {
        if (!on_tenth(time * 10.0 + z)) return 0;
        r = -r, g = -g, b = -b;
        return 1;
    }
    if (close_to(r, 9.9f)) {
        r = UTIL_time_pulse(x);
        g = b = 0.0f;
        return 1;
    }
    if (close_to(r, 9.8f)) {
        r = g = b = 1.0f;
        return on_tenth(time * 10.0 + x) ? 1 : 0;
    }
    if (close_to(r, 9.7f)) {
        const double t = time + x;
        // A time with no number (or too large for a whole count) would make
        // the conversion undefined: counted as 0, green.
        long long k = std::isfinite(t) && std::fabs(t) < 1.0e15 ? static_cast<long long>(std::trunc(t)) : 0;
        k %= 10;
        // Before the x origin the remainder is negative and would name no
        // colour (the light would keep its code colour 9.7): counted on from 0.
        if (k < 0) k += 10;
        if (k <= 3)
            r = 0.0f, g = 1.0f, b = 0.0f;
        else if (k <= 5)
            r = 1.0f, g = 1.0f, b = 0.0f;
        else
            r = 1.0f, g = 0.0f, b = 0.0f;
        return 1;
    }
    return 1;
}

void TERRAIN_spawn_smoke(int object, int level, int item, float x, float y, float z, float heading)
{
    const object_primitive* p = item_of(object, level, item);
    if (!p) return;
    const float ox = p->w[0], oy = p->w[1], oz = p->w[2], s = p->w[3];
    const float h = heading * DEG_TO_RAD_FLOAT;
    const float px = x + ox * std::cos(h) - oz * std::sin(h);
    const float pz = z + oz * std::cos(h) + ox * std::sin(h);
    PARTICLE_spawn(px, y + oy, pz, 0.0f, s, 0.0f, y, s, 0.25f, 10.0f * s,
                   p->code == OBJ_SMOKE_BLACK ? SMOKE_COLOUR_BLACK : SMOKE_COLOUR_WHITE, 1.0f, 0);
}

// Inside the terrain pass the objects whose levels hold only plain faces and
// lines are gathered and drawn as arrays, one per texture pair: each vertex
// goes through the same turns as under place_object_frame and each triangle
// keeps the normal that colours it in the list, so the picture is the one
// the objects' own lists give, with fewer draw calls. Their special items
// are then walked as for any other object. These objects are therefore not
// drawn through OBJ_draw, which draws every other one (in TERRAIN_draw_object
// below, and outside the pass): with a display list per placement, every
// placed house cost its own calls and state changes each frame.
void TERRAIN_objects_begin()
{
    object_batches.open = true;
    object_batches.placed.clear();
}

void TERRAIN_objects_end()
{
    object_batches_record& b = object_batches;
    if (!b.open) return;
    b.open = false;
    if (b.placed != b.built) build_batches();
    draw_batches();
    for (const placed_object& o : b.placed)
        special_items(o.object, o.level, o.x, o.y, o.z, o.heading, true);
}

int TERRAIN_objects_batched() { return static_cast<int>(object_batches.batches.size()); }

void TERRAIN_draw_object(int object, float x, float y, float z, float heading)
{
    // An object number past the table (a placement of a broken scenery file) would read past it: nothing drawn.
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return;
    const std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    const sim_graphics_view_block& v = sim_graphics_view;
    const float dx = x - v.view_x, dy = y - v.view_y, dz = z - v.view_z;
    const float d2 = dx * dx + dy * dy + dz * dz;
    int level = -1;
    for (size_t n = 0; n < groups.size() && level < 0; ++n)
        if (groups[n].near2 <= d2 && d2 <= groups[n].far2) level = static_cast<int>(n);
    if (level < 0) return;
    ++scene_draw_counts.objects;

    if (object_batches.open && batchable(groups[static_cast<size_t>(level)])) {
        object_batches.placed.push_back({object, level, x, y, z, heading});
        return;
    }
    glPushMatrix();
    place_object_frame(x, y, z, heading);
    OBJ_draw(object, level, terrain_night, 1);
    glPopMatrix();
    special_items(object, level, x, y, z, heading, false);
}

namespace {

void special_items(int object, int level, float x, float y, float z, float heading, bool own_textures)
{
    const std::vector<object_primitive>& items =
        object_table[static_cast<size_t>(object)].groups[static_cast<size_t>(level)].prims;
    // Lights and movie screens are drawn in the object's frame; smoke is
    // worked out without it.
    const bool framed = std::any_of(items.begin(), items.end(), [](const object_primitive& p) {
        return (p.code == OBJ_LIGHT && terrain_night) || p.code == OBJ_QUAD_MOVIE;
    });
    if (framed) {
        glPushMatrix();
        place_object_frame(x, y, z, heading);
    }
    if (terrain_night) OGL_lights_frame(x, y, z, 0.0f, heading, 0.0f);

    // The items are walked by index: a light may grow the particle list, never the table.
    bool lights_open = false, quads_open = false;
    const bool smoke_now = interval_ticks[INTERVAL_TWO_SECONDS] != 0;
    for (size_t n = 0; n < items.size(); ++n) {
        const object_primitive& p = items[n];
        switch (p.code) {
        // A light entry begun inside a movie's quads, which only a broken
        // object file holds, would begin one GL primitive inside another, an
        // error that drops what follows; a movie inside a light entry would
        // change the state its waiting lights are drawn with. Such an entry
        // is passed over, and its vertices (like a light vertex outside any
        // entry) draw nothing.
        case OBJ_LIGHT:
            if (terrain_night && !lights_open && !quads_open) {
                OGL_lights_begin(0);
                // The frame is given again after the begin: the frame call keeps
                // nothing while the batch is in point mode and the begin picks the
                // mode, so after the textured-lights setting is switched on the frame
                // given before it alone would leave the first object's sprites at
                // the place of an earlier object.
                OGL_lights_frame(x, y, z, 0.0f, heading, 0.0f);
                lights_open = true;
            }
            break;
        case OBJ_LIGHT_VERTEX:
            if (lights_open) {
                float r = p.w[3], g = p.w[4], b = p.w[5];
                if (TERRAIN_light_color(x, z, r, g, b))
                    OGL_draw_light(p.w[0], p.w[1], p.w[2], r, g, b, 1.0f, 2.0f, object, object + static_cast<int>(n),
                                   LIGHT_KIND_ORDINARY);
            }
            break;
        case OBJ_END_LIGHTS:
            if (lights_open) OGL_lights_end();
            lights_open = false;
            break;
        // A quad_hard item asks nothing of the drawing: the contact test of
        // TERRAIN_hard_quad is OBJ_hard_quad_under (world/placed_surfaces.h),
        // which the ground step makes under the plane every step, drawn or
        // not. Made here, a roof held the plane only while the camera saw it:
        // parked on one, the plane fell through when the view turned away.
        case OBJ_SMOKE_BLACK:
        case OBJ_SMOKE_WHITE:
            if (smoke_now) TERRAIN_spawn_smoke(object, level, static_cast<int>(n), x, y, z, heading);
            break;
        case OBJ_QUAD_MOVIE:
            if (quads_open || lights_open) break;
            // A batched object's screen takes its record's textures as its list would have left them.
            if (own_textures) OBJ_use_textures(object, terrain_night, 1);
            if (!terrain_night) {
                OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_ALPHA_TEST, STATE_DEPTH_TEST_ON,
                              STATE_DEPTH_WRITE_ON);
            } else {
                OGL_set_state(STATE_FOG_ON, 2, STATE_LIGHTING_ON, STATE_ALPHA_TEST, STATE_DEPTH_TEST_ON,
                              STATE_DEPTH_WRITE_ON);
                OGL_bind_tex(TEX_SLOT_MOVIE, 1);
            }
            glBegin(GL_QUADS);
            quads_open = true;
            break;
        case OBJ_MOVIE_VERTEX:
            if (quads_open) movie_vertex(p);
            break;
        case OBJ_END_MOVIE:
            if (quads_open) glEnd();
            quads_open = false;
            break;
        default: break;
        }
    }
    if (quads_open) glEnd();
    if (lights_open) OGL_lights_end();
    if (framed) glPopMatrix();
}

}  // namespace

void TERRAIN_draw_tree(float x, float y, float z, int index)
{
    const int k = index % 64;
    const int c = k % 8, q = k / 8;
    const float s0 = static_cast<float>(c) * 0.125f, t0 = static_cast<float>(q) * 0.125f;
    const float s1 = s0 + 0.125f, t1 = t0 + 0.125f;
    ++scene_draw_counts.objects;
    glTexCoord2f(s0, t0);
    glVertex3f(x - 7.0f, y, z);
    glTexCoord2f(s0, t1);
    glVertex3f(x - 7.0f, y + 14.0f, z);
    glTexCoord2f(s1, t1);
    glVertex3f(x + 7.0f, y + 14.0f, z);
    glTexCoord2f(s1, t0);
    glVertex3f(x + 7.0f, y, z);
    glTexCoord2f(s0, t0);
    glVertex3f(x, y, z - 7.0f);
    glTexCoord2f(s0, t1);
    glVertex3f(x, y + 14.0f, z - 7.0f);
    glTexCoord2f(s1, t1);
    glVertex3f(x, y + 14.0f, z + 7.0f);
    glTexCoord2f(s1, t0);
    glVertex3f(x, y, z + 7.0f);
}
