// The object table and the placements: OBJ_build_obs finds or builds the
// model of a name and size band (from an object file of version 2 or 700, or
// a procedural kind), finishes it (normals, display lists, the primitives the
// per-frame pass keeps) and places it on the terrain.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <istream>
#include <limits>

#include "core/alert.h"
#include "core/app_mode.h"
#include "platform/plat_files.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_tex.h"
#include "world/objects.h"

std::vector<scenery_object_record> object_table;
std::unordered_map<std::string, int32_t> object_index;
std::vector<object_placement> placement_list;
obj_texture_tables_record obj_texture_tables{};

namespace {

constexpr int FILE_SLOT_OBJECTS = 1;
constexpr int TEXTURE_NAME_MAX = OBJ_TEXTURE_NAME_SIZE - 1;   // characters of a texture field
constexpr const char* LIT_SUFFIX = "LIT";
constexpr const char* TEXTURE_EXTENSION = ".bmp";

// ---------------------------------------------------------------------------
// Reading the open object file (file-use slot 1).

// A damaged object file: the flight can go on without the object, so the file
// is named in one notice and the reader left (OBJ_read_file catches it, and
// the build takes the record back as for a missing file).
struct object_file_damaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void unreadable(const char* path, const char* what, const char* field)
{
    if (ALERT_first_notice_of_damage(path))
        MACIBM_nuke_alert(app_mode, what, "The object file is damaged and was left out:", path, field, ALERT_NOTICE);
    throw object_file_damaged(what);
}

std::istream& in() { return FILE_current_stream(); }

float read_number(const char* path)
{
    float v = 0.0f;
    in() >> v;
    if (in().fail()) unreadable(path, "An object file ends inside an entry, or holds a word where a number belongs.", "");
    return v;
}

int read_integer(const char* path)
{
    long long v = 0;
    in() >> v;
    if (in().fail()) unreadable(path, "An object file ends inside an entry, or holds a word where a number belongs.", "");
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max()));
}

// Reads and drops the characters up to and including the next line terminator.
void discard_line()
{
    for (;;) {
        const int c = in().get();
        if (c == std::char_traits<char>::eof() || static_cast<char>(c) == file_line_end) break;
    }
    in().clear(in().rdstate() & ~std::ios::failbit);
}

// Case-blind comparison of two texts.
bool same_nocase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return *a == *b;
}

struct keyword {
    const char* text;
    int32_t code;
};
constexpr keyword keywords[] = {
    {"light", 1},          {"line", 2},           {"tri", 3},
    {"quad", 4},           {"quad_hard", 5},      {"smoke_black", 6},
    {"smoke_white", 7},    {"quad_movie", 8},     {"polygon", 9},
    {"quad_strip", 10},    {"tri_strip", 11},     {"tri_fan", 12},
    {"shade_flat", 22},    {"shade_smooth", 23},  {"ATTR_shade_flat", 22},
    {"ATTR_shade_smooth", 23}, {"ATTR_ambient_rgb", 24}, {"ATTR_difuse_rgb", 25},
    {"ATTR_specular_rgb", 26}, {"ATTR_emission_rgb", 27}, {"ATTR_shiny_rat", 28},
    {"ATTR_no_depth", 29}, {"ATTR_depth", 30},     {"ATTR_LOD", 31},
    {"end", 99},
};

// ---------------------------------------------------------------------------
// The record being built.

scenery_object_record& record(int object) { return object_table[static_cast<size_t>(object)]; }

object_primitive* last_prim(int object, int group)
{
    std::vector<object_primitive>& p = record(object).groups[static_cast<size_t>(group)].prims;
    return p.empty() ? nullptr : &p.back();
}

void append(int object, int group, int code, float w1 = 0, float w2 = 0, float w3 = 0, float w4 = 0, float w5 = 0,
            float w6 = 0)
{
    int index = 0;
    OBJ_add_primitive(object, group, index, code);
    object_primitive* p = last_prim(object, group);
    if (!p || p->code != code) return;
    p->w[0] = w1, p->w[1] = w2, p->w[2] = w3, p->w[3] = w4, p->w[4] = w5, p->w[5] = w6;
}

int32_t group_end_of(int32_t code)
{
    switch (code) {
    case OBJ_LIGHT: return OBJ_END_LIGHTS;
    case OBJ_LINE: return OBJ_END_LINES;
    case OBJ_QUAD_MOVIE: return OBJ_END_MOVIE;
    default: return OBJ_END;
    }
}

bool is_batch_header(int32_t code) { return code >= OBJ_LIGHT && code <= OBJ_TRI_FAN && code != 6 && code != 7; }

// Whether a batch of `vertices` vertices is one its primitive can draw. The
// lights, lines, triangles and quads come in their fixed numbers; a polygon,
// a triangle strip or fan needs three vertices, a quad strip whole pairs and
// two of them. Handed fewer, or a quad strip of an odd number, the driver's
// list compiler reads past the vertices it was given. An empty batch draws
// nothing and is kept.
bool vertices_fit(int32_t code, long long vertices)
{
    if (vertices == 0) return true;
    switch (code) {
    case OBJ_POLYGON: case OBJ_TRI_STRIP: case OBJ_TRI_FAN: return vertices >= 3;
    case OBJ_QUAD_STRIP: return vertices >= 4 && vertices % 2 == 0;
    default: return true;
    }
}

// The entry as the notice names it: its keyword (its code in a version-2
// file) and its count.
std::string entry_name(int version, int32_t code, int count)
{
    if (version == 2) return std::to_string(code == OBJ_QUAD_STRIP ? -count : count);
    for (const keyword& k : keywords)
        if (k.code == code) return std::string(k.text) + " " + std::to_string(count);
    return std::to_string(count);
}

// The operands of one version-2 entry.
void read_entry_v2(const char* path, int object, int group, int32_t code, int count)
{
    float r = 0, g = 0, b = 0, Sa = 0, Sb = 0, Ta = 0, Tb = 0;
    const bool colour = code == OBJ_LIGHT || code == OBJ_LINE;
    const bool textured = code == OBJ_TRI || code == OBJ_QUAD || code == OBJ_QUAD_HARD || code == OBJ_QUAD_MOVIE;
    if (colour) {
        r = read_number(path) * 0.1f;
        g = read_number(path) * 0.1f;
        b = read_number(path) * 0.1f;
    }
    if (textured) {
        Sa = read_number(path), Sb = read_number(path), Ta = read_number(path), Tb = read_number(path);
    }
    discard_line();
    if (colour) {
        for (int k = 0; k < count; ++k) {
            const float x = read_number(path), y = read_number(path), z = read_number(path);
            append(object, group, code == OBJ_LIGHT ? OBJ_LIGHT_VERTEX : OBJ_LINE_VERTEX, x, y, z, r, g, b);
        }
    } else if (textured) {
        const float st[4][2] = {{Sb, Tb}, {Sb, Ta}, {Sa, Ta}, {Sa, Tb}};
        append(object, group, OBJ_NORMAL);
        for (int k = 0; k < count; ++k) {
            const float x = read_number(path), y = read_number(path), z = read_number(path);
            append(object, group, code == OBJ_QUAD_MOVIE ? OBJ_MOVIE_VERTEX : OBJ_VERTEX, x, y, z, st[k % 4][0],
                   st[k % 4][1]);
        }
    } else if (code == OBJ_QUAD_STRIP) {
        for (int k = 0; k < count; ++k) {
            float v[10];
            for (float& f : v) f = read_number(path);
            append(object, group, OBJ_NORMAL);
            append(object, group, OBJ_VERTEX, v[0], v[1], v[2], v[6], v[8]);
            append(object, group, OBJ_VERTEX, v[3], v[4], v[5], v[7], v[9]);
        }
    }
}

// The operands of one version-700 entry; `group` may move on at a LOD marker.
void read_entry_v700(const char* path, int object, int& group, bool& lod_seen, int32_t code, int count)
{
    const bool own_line = code == OBJ_SHINY || code == OBJ_LOD || (code >= OBJ_AMBIENT && code <= OBJ_EMISSION) ||
                          code == OBJ_SMOKE_BLACK || code == OBJ_SMOKE_WHITE;
    if (!own_line) discard_line();
    if (code == OBJ_TRI || code == OBJ_QUAD || code == OBJ_QUAD_HARD || code == OBJ_QUAD_MOVIE || code == OBJ_POLYGON)
        append(object, group, OBJ_NORMAL);

    if (code == OBJ_SHINY) {
        const float s = read_number(path);
        if (object_primitive* p = last_prim(object, group)) p->w[0] = s;
    } else if (code == OBJ_LOD) {
        if (lod_seen) {
            record(object).groups.push_back(lod_group{0, 0, 0.0f, OBJ_FIRST_GROUP_FAR2, {}});
            group = static_cast<int>(record(object).groups.size()) - 1;
        }
        lod_seen = true;
        const float near_m = read_number(path), far_m = read_number(path);
        lod_group& g = record(object).groups[static_cast<size_t>(group)];
        g.near2 = near_m * near_m;
        g.far2 = far_m * far_m;
    } else if (code >= OBJ_AMBIENT && code <= OBJ_EMISSION) {
        const float r = read_number(path), g = read_number(path), b = read_number(path);
        if (object_primitive* p = last_prim(object, group)) p->w[0] = r, p->w[1] = g, p->w[2] = b;
    } else if (code == OBJ_SMOKE_BLACK || code == OBJ_SMOKE_WHITE) {
        float w[4];
        for (float& f : w) f = read_number(path);
        if (object_primitive* p = last_prim(object, group)) std::copy(w, w + 4, p->w);
    } else {
        const int32_t vertex_code = code == OBJ_LIGHT          ? OBJ_LIGHT_VERTEX
                                    : code == OBJ_LINE         ? OBJ_LINE_VERTEX
                                    : code == OBJ_QUAD_MOVIE ? OBJ_MOVIE_VERTEX
                                                               : OBJ_VERTEX;
        const bool coloured = code == OBJ_LIGHT || code == OBJ_LINE;
        for (int k = 0; k < count; ++k) {
            if (((code == OBJ_QUAD_STRIP || code == OBJ_TRI_STRIP) && k % 2 == 0) || code == OBJ_TRI_FAN)
                append(object, group, OBJ_NORMAL);
            const float x = read_number(path), y = read_number(path), z = read_number(path);
            float a = read_number(path), b = read_number(path), c = 0.0f;
            if (coloured) {
                c = read_number(path) * 0.1f;
                a *= 0.1f;
                b *= 0.1f;
            }
            append(object, group, vertex_code, x, y, z, a, b, c);
        }
    }
    discard_line();
}

// ---------------------------------------------------------------------------
// Textures.

// The entry of `table` below the counter holding `name` (the last one), or -1.
int find_texture(const char (*table)[OBJ_TEXTURE_NAME_SIZE], const char* name)
{
    int found = -1;
    for (int e = 0; e < obj_texture_tables.counter; ++e)
        if (std::strncmp(table[e], name, OBJ_TEXTURE_NAME_SIZE) == 0) found = e;
    return found;
}

int32_t texture_slot(char (*table)[OBJ_TEXTURE_NAME_SIZE], const char* folder, const char* name, int type)
{
    const int found = find_texture(table, name);
    if (found >= 0) return OBJ_TEXTURE_FIRST_SLOT + found;
    obj_texture_tables_record& t = obj_texture_tables;
    char path[TEXT_SIZE];
    UTIL_strcat3(folder, name, path);
    int w = 0, h = 0;
    if (!OGL_load_tex_file(LOAD_TEXTURE, OBJ_TEXTURE_FIRST_SLOT + t.counter, type, path, w, h)) return OBJ_NO_TEXTURE;
    const int32_t slot = OBJ_TEXTURE_FIRST_SLOT + t.counter;
    std::memset(table[t.counter], 0, OBJ_TEXTURE_NAME_SIZE);
    std::strncpy(table[t.counter], name, OBJ_TEXTURE_NAME_SIZE - 1);
    t.counter = (t.counter + 1) % OBJ_TEXTURE_ENTRIES;
    return slot;
}

void read_textures(const char* path, int object, int autogen)
{
    char field[OBJ_TEXTURE_NAME_SIZE];
    FILE_read_field(field, OBJ_TEXTURE_NAME_SIZE, 0);
    discard_line();
    if (std::strlen(field) + std::strlen(LIT_SUFFIX) + std::strlen(TEXTURE_EXTENSION) > TEXTURE_NAME_MAX) {
        error_log << "The texture name of an object file is too long, the object has no texture: \"" << field
                  << "\" (" << FOLDERS_log_path(path) << ")\n";
        return;
    }
    char day[OBJ_TEXTURE_NAME_SIZE], lit[OBJ_TEXTURE_NAME_SIZE];
    UTIL_strcat3(field, TEXTURE_EXTENSION, day);
    UTIL_strcat3(field, LIT_SUFFIX, lit);
    UTIL_strcat(lit, TEXTURE_EXTENSION);
    char folder[TEXT_SIZE];
    if (autogen == 0)
        UTIL_strcat3(custom_scenery_folder, "custom object textures:", folder);
    else
        UTIL_strcpy(static_cast<const char*>(folder_table[FOLDER_AUTOGEN_TEXTURES]), folder);
    scenery_object_record& r = record(object);
    r.day_tex = texture_slot(obj_texture_tables.day, folder, day, TEX_KEY_MIPMAP);
    r.lit_tex = texture_slot(obj_texture_tables.lit, folder, lit, TEX_RGB_MIPMAP);
}

// Keeps file-use slot 1 only inside one object file.
struct object_file_slot {
    object_file_slot() { file_use_index = FILE_SLOT_OBJECTS; }
    ~object_file_slot()
    {
        file_use_index = FILE_SLOT_OBJECTS;
        FILE_close_current();
        file_use_index = 0;
    }
};

// Opens the object file: the letter, its line end, then version 2 or 700 and
// the rest of that line. 0 when it cannot be opened or is of another version.
int open_object_file(const char* name)
{
    char path[TEXT_SIZE];
    UTIL_strcpy(name, path);
    if (!FILE_open_for_use(path, KIND_OBJECT, 0, 0)) return 0;
    long long version = 0;
    in() >> version;
    if (in().fail() || (version != 2 && version != 700)) return 0;
    discard_line();
    return in().good() ? static_cast<int>(version) : 0;
}

bool read_object_file(const char* path, int object, int autogen);

}  // namespace

bool OBJ_read_file(const char* path, int object, int autogen)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return false;
    try {
        return read_object_file(path, object, autogen);
    } catch (const object_file_damaged&) {
        return false;
    }
}

namespace {

bool read_object_file(const char* path, int object, int autogen)
{
    object_file_slot slot;
    const int version = open_object_file(path);
    // A file that is there but opens as no object file of either version
    // (random bytes, say) is damaged, not missing.
    if (version == 0 && PLAT_file_exists(path))
        unreadable(path, "This is not an object file this program reads.", "");
    if (version == 0) return false;
    if (version == 700) discard_line();
    read_textures(path, object, autogen);
    record(object).object_class = OBJ_CLASS_PLAIN;

    int group = 0;
    bool lod_seen = false;
    int count = 0;
    for (int32_t code = OBJ_read_entry(path, version, count); code != OBJ_FILE_END;
         code = OBJ_read_entry(path, version, count)) {
        // A version-2 quad strip counts its pairs.
        const long long vertices = version == 2 && code == OBJ_QUAD_STRIP ? 2LL * count : count;
        if (!vertices_fit(code, vertices))
            unreadable(path, "An object file holds a strip, fan or polygon with a number of points it cannot have.",
                       entry_name(version, code, count).c_str());
        int index = 0;
        OBJ_add_primitive(object, group, index, code);
        if (version == 2)
            read_entry_v2(path, object, group, code, count);
        else
            read_entry_v700(path, object, group, lod_seen, code, count);
        // A batch that read no vertex still ends, so that every GL batch is closed.
        if (count > 0 || is_batch_header(code)) append(object, group, group_end_of(code));
    }
    return true;
}

// ---------------------------------------------------------------------------
// Finishing.

// The x, y, z of entry k, or null when there is no such entry.
const float* point(const std::vector<object_primitive>& p, long k)
{
    if (k < 0 || static_cast<size_t>(k) >= p.size()) return nullptr;
    return p[static_cast<size_t>(k)].w;
}

bool is_vertex(const std::vector<object_primitive>& p, long k)
{
    return k >= 0 && static_cast<size_t>(k) < p.size() && p[static_cast<size_t>(k)].code >= OBJ_LIGHT_VERTEX &&
           p[static_cast<size_t>(k)].code <= OBJ_VERTEX;
}

// The next vertex after entry k (normals skipped), or -1.
long next_vertex(const std::vector<object_primitive>& p, long k)
{
    for (long i = k + 1; i >= 0 && static_cast<size_t>(i) < p.size(); ++i) {
        if (is_vertex(p, i)) return i;
        if (p[static_cast<size_t>(i)].code != OBJ_NORMAL) return -1;
    }
    return -1;
}

// The unit normal of (A - B) x (C - B); straight up when a point is missing.
void set_normal(std::vector<object_primitive>& p, size_t n, long a, long b, long c)
{
    float* out = p[n].w;
    const float *A = point(p, a), *B = point(p, b), *C = point(p, c);
    if (!A || !B || !C || a < 0 || b < 0 || c < 0) {
        out[0] = 0.0f, out[1] = 1.0f, out[2] = 0.0f;
        return;
    }
    const float u[3] = {A[0] - B[0], A[1] - B[1], A[2] - B[2]};
    const float v[3] = {C[0] - B[0], C[1] - B[1], C[2] - B[2]};
    UTIL_cross_normalize(u, v, out);
}

void fill_normals(std::vector<object_primitive>& p)
{
    int32_t header = 0;
    long fan_centre = -1;
    bool first_of_strip = true;
    for (size_t k = 0; k < p.size(); ++k) {
        const int32_t code = p[k].code;
        const long n = static_cast<long>(k);
        if (is_batch_header(code)) {
            header = code;
            fan_centre = n + 2;
            first_of_strip = true;
            continue;
        }
        if (code < OBJ_NORMAL || code > OBJ_VERTEX) {
            header = 0;
            continue;
        }
        if (code != OBJ_NORMAL) continue;
        switch (header) {
        case OBJ_TRI: case OBJ_QUAD: case OBJ_QUAD_HARD: case OBJ_QUAD_MOVIE: case OBJ_POLYGON:
            set_normal(p, k, n + 1, n + 2, n + 3);
            break;
        case OBJ_QUAD_STRIP:
            // Pair (P, Q) after the normal: the face between it and the pair
            // before; the first pair takes the face after it.
            if (is_vertex(p, n - 2) && is_vertex(p, n - 1))
                set_normal(p, k, n + 1, n - 2, n - 1);
            else
                set_normal(p, k, next_vertex(p, n + 2), n + 1, n + 2);
            break;
        case OBJ_TRI_STRIP:
            if (first_of_strip)
                set_normal(p, k, n + 2, n + 1, next_vertex(p, n + 2));
            else
                set_normal(p, k, n - 1, n + 2, n + 1);
            break;
        case OBJ_TRI_FAN: {
            const bool short_group = static_cast<size_t>(n + 2) < p.size() && p[static_cast<size_t>(n + 2)].code == OBJ_END;
            set_normal(p, k, fan_centre, n + 1, short_group ? fan_centre + 4 : n + 3);
            break;
        }
        default: set_normal(p, k, -1, -1, -1); break;
        }
        first_of_strip = false;
    }
}

}  // namespace

void OBJ_finish(int object)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return;
    scenery_object_record& r = record(object);
    for (size_t g = 0; g < r.groups.size(); ++g) {
        fill_normals(r.groups[g].prims);
        OBJ_draw(object, static_cast<int>(g), 0, 0);
        OBJ_draw(object, static_cast<int>(g), 1, 0);
        // Keep what the per-frame pass draws itself.
        std::vector<object_primitive>& p = r.groups[g].prims;
        std::vector<object_primitive> kept, compiled;
        for (size_t k = 0; k < p.size(); ++k) {
            if (OBJ_is_dynamic_prim(object, static_cast<int>(g), static_cast<int>(k))) kept.push_back(p[k]);
            if (!OBJ_is_static_prim(object, static_cast<int>(g), static_cast<int>(k))) continue;
            compiled.push_back(p[k]);
            if (p[k].code == OBJ_LINE_VERTEX) OBJ_line_colour_now(p[k].w, compiled.back().w + 3);
        }
        p.swap(kept);
        r.groups[g].static_prims.swap(compiled);
    }
}

namespace {

// The GL state a new record leaves: everything off, unit 0 selected.
void restore_gl_state()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    if (gl_entry::glActiveTextureARB) {
        for (int u = std::min(num_tex_units, 4) - 1; u >= 0; --u) {
            gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + u);
            glDisable(GL_TEXTURE_2D);
        }
    }
    const float L = gload_dim_factor;
    glColor4f(L, L, L, 1.0f);
}

// The lookup name: the name and, for a size, its 10 m band.
std::string lookup_name(const char* name, float size)
{
    std::string key(name ? name : "");
    if (size > 0.0f) {
        const bool helipad = key == OBJ_HELIPAD_NAME;
        const double band = static_cast<double>(size) * (helipad ? 10.0 : 0.1);
        // A size too large for an integer would make the conversion undefined; it is held there.
        const long long whole = band < 2.0e9 ? static_cast<long long>(band) : 2000000000LL;
        key += std::to_string(whole);
    }
    if (key.size() > OBJ_NAME_SIZE - 1) key.resize(OBJ_NAME_SIZE - 1);   // the record's 500-byte name
    return key;
}

// Takes back a record and a placement that a failed or abandoned build left.
struct build_rollback {
    int object;
    long placement;
    bool done = false;
    ~build_rollback()
    {
        if (done) return;
        if (object >= 0 && static_cast<size_t>(object) + 1 == object_table.size()) {
            object_index.erase(object_table.back().name);
            object_table.pop_back();
        }
        if (placement >= 0 && static_cast<size_t>(placement) + 1 == placement_list.size()) placement_list.pop_back();
    }
};

}  // namespace

void OBJ_clear_table()
{
    object_table.clear();
    object_index.clear();
    placement_list.clear();
    obj_texture_tables.counter = 0;
    std::memset(obj_texture_tables.day, 0, sizeof obj_texture_tables.day);
    std::memset(obj_texture_tables.lit, 0, sizeof obj_texture_tables.lit);
    OBJ_builder_reset();
    OBJ_draw_reset();
}

int OBJ_read_entry(const char* path, int version, int& count)
{
    count = 0;
    if (version == 2) {
        long long raw = 0;
        in() >> raw;
        if (in().fail()) unreadable(path, "An object file holds an entry this program does not know.", "");
        int32_t code = static_cast<int32_t>(std::clamp<long long>(raw, -1000000000LL, 1000000000LL));
        if (code == 0) unreadable(path, "An object file holds an entry this program does not know.", "0");
        if (code < 0) {
            count = -code;
            return OBJ_QUAD_STRIP;
        }
        count = code <= OBJ_QUAD ? code : 4;
        if (code == OBJ_SMOKE_BLACK || code == OBJ_SMOKE_WHITE) code = OBJ_QUAD;
        return code;
    }

    char field[TEXT_SIZE];
    FILE_read_field(field, TEXT_SIZE, 0);
    int32_t code = 0;
    for (const keyword& k : keywords)
        if (same_nocase(field, k.text)) {
            code = k.code;
            break;
        }
    if (code == 0) {
        if (std::strncmp(field, "ATTR", 4) != 0)
            unreadable(path, "An object file holds an entry this program does not know.", field);
        code = OBJ_IGNORED_ATTR;
    }
    switch (code) {
    case OBJ_LIGHT: count = 1; break;
    case OBJ_LINE: count = 2; break;
    case OBJ_TRI: count = 3; break;
    case OBJ_QUAD: case OBJ_QUAD_HARD: case OBJ_QUAD_MOVIE: count = 4; break;
    case OBJ_POLYGON: case OBJ_QUAD_STRIP: case OBJ_TRI_STRIP: case OBJ_TRI_FAN:
        count = std::max(read_integer(path), 0);
        break;
    default: count = 0; break;
    }
    return code;
}

int OBJ_build_obs(float x, float z, float heading, float size, const char* name, int kind, int autogen)
{
    if (!name) name = "";
    long placement = -1;
    if (autogen == 0) {
        object_placement p{};
        p.x = x;
        p.z = z;
        p.heading = heading;
        p.y = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "build obs");
        placement_list.push_back(p);
        placement = static_cast<long>(placement_list.size()) - 1;
    }

    const std::string key = lookup_name(name, size);
    if (auto found = object_index.find(key); found != object_index.end()) {
        if (placement >= 0) placement_list[static_cast<size_t>(placement)].object = found->second;
        return found->second;
    }

    scenery_object_record r{};
    std::memcpy(r.name, key.c_str(), key.size() + 1);
    r.object_class = OBJ_CLASS_NEW;
    r.kind = kind;
    r.day_tex = r.lit_tex = OBJ_NO_TEXTURE;
    r.groups.push_back(lod_group{0, 0, 0.0f, OBJ_FIRST_GROUP_FAR2, {}});
    object_table.push_back(std::move(r));
    const int object = static_cast<int>(object_table.size()) - 1;
    object_index[key] = object;
    if (placement >= 0) placement_list[static_cast<size_t>(placement)].object = object;
    build_rollback rollback{object, placement};

    if (kind == 8) {
        if (!OBJ_read_file(name, object, autogen)) {
            // A damaged file has been named in its notice; only a missing one
            // named by the terrain textures is fatal.
            if (autogen != 0 && !PLAT_file_exists(name))
                MACIBM_nuke_alert(0, "An object file the terrain textures name cannot be opened:", name, "", "",
                                  ALERT_FATAL);
            return static_cast<int>(object_table.size()) - 2;   // the rollback takes the record back
        }
    } else {
        int index = 0;
        OBJ_build_procedural(kind, size, name, object, 0, index);
    }
    OBJ_finish(object);
    restore_gl_state();
    rollback.done = true;
    return object;
}

// The placements ascending by their object's draw-order word, its day texture
// slot. The sort is stable, so equal slots keep their order as an exchange
// sort that swaps only out-of-order neighbours leaves them: the same order.
// A placement whose object index lies outside the table would be read past
// it; it sorts as slot 0 instead.
void OBJ_sort_placements()
{
    std::stable_sort(placement_list.begin(), placement_list.end(),
                     [](const object_placement& a, const object_placement& b) {
                         auto slot = [](const object_placement& p) {
                             return p.object >= 0 && static_cast<size_t>(p.object) < object_table.size()
                                        ? object_table[static_cast<size_t>(p.object)].day_tex
                                        : 0;
                         };
                         return slot(a) < slot(b);
                     });
}
