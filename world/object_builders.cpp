// The geometry builders of the scenery objects: the primitive appender that
// joins consecutive groups of one kind into one GL batch, lights, lines and
// boxes, and the models of the procedural kinds (blocks, towers, chimneys,
// cooling towers, the hangar, the control tower and the navaid antennas).
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/alert.h"
#include "core/constants.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/texture_slots.h"
#include "world/objects.h"

obj_builder_state_record obj_builder_state{};

ORVELL_RESET_RECORD(OBJ_builder_reset, obj_builder_state, scene);

namespace {

lod_group* group_at(int object, int group)
{
    if (object < 0 || static_cast<size_t>(object) >= object_table.size()) return nullptr;
    std::vector<lod_group>& groups = object_table[static_cast<size_t>(object)].groups;
    if (group < 0 || static_cast<size_t>(group) >= groups.size()) return nullptr;
    return &groups[static_cast<size_t>(group)];
}

bool is_group_end(int32_t code) { return code >= OBJ_END_LIGHTS && code <= OBJ_END; }

// Appends a primitive and fills its first words.
void add(int object, int group, int code, float w1 = 0, float w2 = 0, float w3 = 0, float w4 = 0, float w5 = 0,
         float w6 = 0)
{
    int index = -1;
    OBJ_add_primitive(object, group, index, code);
    lod_group* g = group_at(object, group);
    if (!g || index < 0 || static_cast<size_t>(index) >= g->prims.size()) return;
    if (g->prims[static_cast<size_t>(index)].code != code) return;   // a joined header: nothing to fill
    float* w = g->prims[static_cast<size_t>(index)].w;
    w[0] = w1, w[1] = w2, w[2] = w3, w[3] = w4, w[4] = w5, w[5] = w6;
}

void set_textures(int object, int day, int lit)
{
    scenery_object_record& r = object_table[static_cast<size_t>(object)];
    r.day_tex = day;
    r.lit_tex = lit;
}

void set_class(int object, int32_t object_class) { object_table[static_cast<size_t>(object)].object_class = object_class; }

// Whole degrees 0..360 from the start-up's tables.
float sin_deg(int a) { return degree_sin[std::clamp(a, 0, DEGREE_TABLE_SIZE - 1)]; }
float cos_deg(int a) { return degree_cos[std::clamp(a, 0, DEGREE_TABLE_SIZE - 1)]; }

// A ring of three lines at height h (the lattice of the towers).
void ring(int object, int group, float h, float r, float g, float b)
{
    int index = 0;
    OBJ_add_line(object, group, index, 0.0f, h, -1.0f, 0.9f, h, 0.5f, r, g, b);
    OBJ_add_line(object, group, index, 0.9f, h, 0.5f, -0.9f, h, 0.5f, r, g, b);
    OBJ_add_line(object, group, index, -0.9f, h, 0.5f, 0.0f, h, -1.0f, r, g, b);
}

// A quad strip around the vertical axis: pairs at a = 0, step, ..., 360, each a
// normal and two vertices (radius r1 at height h1 with t1, radius r2 at h2
// with t2), s 0.25 on even pairs and 0.0 on odd ones; then a group end.
void turned_strip(int object, int group, int step, float r1, float h1, float t1, float r2, float h2, float t2)
{
    add(object, group, OBJ_QUAD_STRIP);
    int pair = 0;
    for (int a = 0; a <= 360; a += step, ++pair) {
        const float s = pair % 2 == 0 ? 0.25f : 0.0f;
        add(object, group, OBJ_NORMAL);
        add(object, group, OBJ_VERTEX, r1 * sin_deg(a), h1, -r1 * cos_deg(a), s, t1);
        add(object, group, OBJ_VERTEX, r2 * sin_deg(a), h2, -r2 * cos_deg(a), s, t2);
    }
    add(object, group, OBJ_END);
}

struct tex_rect {
    float s_low, s_high, t_low, t_high;
};

tex_rect wall_rect(int kind, int sub_kind)
{
    switch (kind) {
    case 1:
        if (sub_kind == 1) return {0.0f, 0.25f, 0.39f, 0.48f};
        if (sub_kind == 2) return {0.0f, 0.25f, 0.48f, 0.5f};
        return {0.0f, 0.25f, 0.0f, 0.39f};
    case 2: return {0.875f, 1.0f, 0.0f, 0.5f};
    case 90: return {0.5f, 0.625f, 0.0f, 0.5f};
    case 91: return {0.625f, 0.75f, 0.0f, 0.5f};
    case 92: return {0.75f, 0.875f, 0.0f, 0.5f};
    case 93: return {0.25f, 0.5f, 0.0f, 0.5f};
    case 94: return {0.0f, 0.25f, 0.5f, 1.0f};
    default: return {0.0f, 0.25f, 0.0f, 0.5f};   // the navaid huts 9..13
    }
}

bool is_tall_building(int kind) { return kind >= 90 && kind <= 93; }

}  // namespace

void OBJ_add_primitive(int object, int group, int& index, int code)
{
    obj_builder_state_record& s = obj_builder_state;
    lod_group* g = group_at(object, group);
    if (!g) {   // an object or group outside the table: nothing to append to, no index to fill
        index = -1;
        return;
    }
    // A join also asks that the group end with a group end: the remembered
    // code outlives the table (a fresh object 0 after a clear matches the old
    // one), and dropping the final primitive of an empty group would crash, of
    // an unended batch would drop one of its vertices. Otherwise a new header.
    const bool joins = code >= OBJ_LIGHT && code <= OBJ_QUAD && object == s.last_object && group == s.last_group &&
                       code == s.last_code && !g->prims.empty() && is_group_end(g->prims.back().code);
    if (joins) {
        // The previous batch's group end goes: the caller's vertices extend that batch.
        g->prims.pop_back();
        index = static_cast<int>(g->prims.size()) - 1;
    } else {
        object_primitive p{};
        p.code = code;
        g->prims.push_back(p);
        index = static_cast<int>(g->prims.size()) - 1;
    }
    if ((code >= OBJ_LIGHT && code <= OBJ_TRI_FAN) || (code >= OBJ_SHADE_FLAT && code <= 98)) s.last_code = code;
    s.last_object = object;
    s.last_group = group;
}

void OBJ_add_light(int object, int group, int& index, float x, float y, float z, float r, float g, float b)
{
    OBJ_add_primitive(object, group, index, OBJ_LIGHT);
    add(object, group, OBJ_LIGHT_VERTEX, x, y, z, r, g, b);
    OBJ_add_primitive(object, group, index, OBJ_END_LIGHTS);
}

void OBJ_add_line(int object, int group, int& index, float x1, float y1, float z1, float x2, float y2, float z2,
                  float r, float g, float b)
{
    OBJ_add_primitive(object, group, index, OBJ_LINE);
    add(object, group, OBJ_LINE_VERTEX, x1, y1, z1, r, g, b);
    add(object, group, OBJ_LINE_VERTEX, x2, y2, z2, r, g, b);
    OBJ_add_primitive(object, group, index, OBJ_END_LINES);
}

void OBJ_add_box(int object, int group, int& index, float bw, float by, float bl, float tw, float ty, float tl,
                 float cx, int kind, int sub_kind, int roof)
{
    if (!group_at(object, group)) {
        index = -1;
        return;
    }
    tex_rect r = wall_rect(kind, sub_kind);

    // Walls: five corner pairs, the fifth closing the strip.
    static constexpr float corner_x[5] = {-1, 1, 1, -1, -1};
    static constexpr float corner_z[5] = {1, 1, -1, -1, 1};
    add(object, group, OBJ_QUAD_STRIP);
    for (int k = 0; k < 5; ++k) {
        const float s = k % 2 == 1 ? r.s_high : r.s_low;
        add(object, group, OBJ_NORMAL);
        add(object, group, OBJ_VERTEX, cx + corner_x[k] * bw, by, corner_z[k] * bl, s, r.t_low);
        add(object, group, OBJ_VERTEX, cx + corner_x[k] * tw, ty, corner_z[k] * tl, s, r.t_high);
    }
    add(object, group, OBJ_END);

    if (roof) {
        if (kind == 1 || kind == 2)
            r = {0.5f, 1.0f, 0.5f, 1.0f};
        else if (is_tall_building(kind))
            r = {0.0f, 0.5f, 0.5f, 1.0f};
        add(object, group, is_tall_building(kind) ? OBJ_QUAD_HARD : OBJ_QUAD);
        add(object, group, OBJ_NORMAL);
        add(object, group, OBJ_VERTEX, cx - tw, ty, tl, r.s_low, r.t_low);
        add(object, group, OBJ_VERTEX, cx - tw, ty, -tl, r.s_low, r.t_high);
        add(object, group, OBJ_VERTEX, cx + tw, ty, -tl, r.s_high, r.t_high);
        add(object, group, OBJ_VERTEX, cx + tw, ty, tl, r.s_high, r.t_low);
        add(object, group, OBJ_END);
    }
    set_class(object, is_tall_building(kind) ? OBJ_CLASS_HARD_ROOF : OBJ_CLASS_PLAIN);
    index = static_cast<int>(group_at(object, group)->prims.size()) - 1;
}

void OBJ_build_procedural(int kind, float S, const char* name, int object, int group, int& index)
{
    if (!group_at(object, group)) {
        index = -1;
        return;
    }
    const int o = object, g = group;
    int i = 0;
    switch (kind) {
    case 9:   // NDB: a mast and its umbrella of wires
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        OBJ_add_box(o, g, i, 0.2f, 0.0f, 0.2f, 0.2f, 15.0f, 0.2f, 0.0f, 9, 0, 1);
        for (int a = 0; a <= 340; a += 20)
            OBJ_add_line(o, g, i, 0.0f, 14.8f, 0.0f, 4.0f * cos_deg(a), 14.8f, 4.0f * sin_deg(a), 0.5f, 0.5f, 0.5f);
        break;
    case 10: {   // VOR: the round hut with its cone
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        static constexpr float rings[5][4] = {{7, 6, 7, 0}, {9, 6, 7, 6}, {9, 7, 9, 6}, {4, 7, 9, 7}, {0.1f, 16, 4, 7}};
        for (const auto& q : rings) turned_strip(o, g, 45, q[0], q[1], 0.5f, q[2], q[3], 0.0f);
        break;
    }
    case 11:   // ILS and localizer: a row of antennas
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        for (int k = -3; k <= 3; ++k) {
            const float c = 2.0f * static_cast<float>(k);
            OBJ_add_box(o, g, i, 0.4f, 1.0f, 2.0f, 0.4f, 1.5f, 2.0f, c, 11, 0, 1);
            OBJ_add_line(o, g, i, c, 0.0f, 1.8f, c, 1.0f, 1.8f, 0.8f, 0.8f, 0.8f);
            OBJ_add_line(o, g, i, c, 0.0f, -1.8f, c, 1.0f, -1.8f, 0.8f, 0.8f, 0.8f);
        }
        break;
    case 12:   // glide slope: a hut and a striped mast
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        OBJ_add_box(o, g, i, 2.0f, 0.0f, 2.0f, 2.0f, 4.0f, 2.0f, 4.0f, 12, 0, 1);
        OBJ_add_line(o, g, i, 0.0f, 0.0f, -1.0f, 0.0f, 14.0f, -1.0f, 0.8f, 0.1f, 0.1f);
        OBJ_add_line(o, g, i, -0.9f, 0.0f, 0.5f, -0.9f, 14.0f, 0.5f, 0.8f, 0.1f, 0.1f);
        OBJ_add_line(o, g, i, 0.9f, 0.0f, 0.5f, 0.9f, 14.0f, 0.5f, 0.8f, 0.1f, 0.1f);
        for (int h = 1; h <= 14; ++h) {
            const float c = (h / 3) % 2 == 0 ? 0.8f : 0.1f;
            ring(o, g, static_cast<float>(h), 0.8f, c, c);
        }
        break;
    case 13: {   // marker: a hut and its antenna array
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        OBJ_add_box(o, g, i, 1.5f, 0.0f, 1.5f, 1.5f, 3.0f, 1.5f, 4.0f, 13, 0, 1);
        OBJ_add_box(o, g, i, 0.2f, 0.0f, 0.2f, 0.2f, 4.1f, 0.2f, 0.0f, 13, 0, 1);
        OBJ_add_line(o, g, i, 0.0f, 4.0f, 0.0f, -4.0f, 8.0f, 0.0f, 0.4f, 0.4f, 0.4f);
        OBJ_add_line(o, g, i, 0.0f, 4.0f, 0.0f, 4.0f, 8.0f, 0.0f, 0.4f, 0.4f, 0.4f);
        static constexpr float bars[8][3] = {{-4, 8, 1.0f}, {-3, 7, 1.2f}, {-2, 6, 1.4f}, {-1, 5, 1.6f},
                                             {1, 5, 1.6f},  {2, 6, 1.4f},  {3, 7, 1.2f},  {4, 8, 1.0f}};
        for (const auto& b : bars) OBJ_add_line(o, g, i, b[0], b[1], -b[2], b[0], b[1], b[2], 0.4f, 0.4f, 0.4f);
        break;
    }
    case 3: {   // radio tower: three legs, rings, lights up the mast and on top
        set_class(o, OBJ_CLASS_PLAIN);
        OBJ_add_line(o, g, i, 0.0f, 0.0f, -1.0f, 0.0f, S, -1.0f, 0.8f, 0.8f, 0.8f);
        OBJ_add_line(o, g, i, -0.9f, 0.0f, 0.5f, -0.9f, S, 0.5f, 0.8f, 0.8f, 0.8f);
        OBJ_add_line(o, g, i, 0.9f, 0.0f, 0.5f, 0.9f, S, 0.5f, 0.8f, 0.8f, 0.8f);
        for (int h = 2; static_cast<float>(h) < S; h += 3) {
            const float c = (h / 10) % 2 == 0 ? 0.8f : 0.1f;
            ring(o, g, static_cast<float>(h), 0.8f, c, c);
        }
        for (int h = 2; static_cast<float>(h) < S; h += 10)
            OBJ_add_light(o, g, i, 0.0f, static_cast<float>(h), 0.0f, 9.9f, 9.9f, 9.9f);
        OBJ_add_light(o, g, i, 0.0f, S, 0.0f, 9.8f, 9.8f, 9.8f);
        break;
    }
    case 2:   // block
        set_textures(o, TEX_SLOT_BUILDINGS, TEX_SLOT_BUILDINGS_LIT);
        set_class(o, OBJ_CLASS_PLAIN);
        OBJ_add_box(o, g, i, 0.3f * S, 0.0f, 0.3f * S, 0.3f * S, S, 0.3f * S, 0.0f, 2, 0, 1);
        break;
    case 6: {   // stacks: a chimney with smoke and four lights
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        set_class(o, OBJ_CLASS_PLAIN);
        turned_strip(o, g, 45, 0.025f * S, S, 1.0f, 0.05f * S, 0.0f, 0.5f);
        add(o, g, OBJ_SMOKE_BLACK, 0.0f, S - 2.0f, 0.0f, 4.0f);
        const float d = 0.025f * S;
        for (auto [sx, sz] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}})
            OBJ_add_light(o, g, i, sx * d, S + 1.0f, sz * d, 9.9f, 9.9f, 9.9f);
        break;
    }
    case 1:   // control tower: shaft, cab and roof
        set_textures(o, TEX_SLOT_BUILDINGS, TEX_SLOT_BUILDINGS_LIT);
        OBJ_add_box(o, g, i, 3.0f, 0.0f, 3.0f, 3.0f, S - 2.0f, 3.0f, 0.0f, 1, 0, 0);
        OBJ_add_box(o, g, i, 3.0f, S - 2.0f, 3.0f, 5.0f, S + 2.0f, 5.0f, 0.0f, 1, 1, 0);
        OBJ_add_box(o, g, i, 5.0f, S + 2.0f, 5.0f, 3.0f, S + 3.5f, 3.0f, 0.0f, 1, 2, 1);
        break;
    case 90:
    case 91:
    case 92:
    case 93: {   // tall buildings with a landable roof and roof lights of one colour
        set_textures(o, TEX_SLOT_BUILDINGS, TEX_SLOT_BUILDINGS_LIT);
        const float w = 0.15f * S;
        OBJ_add_box(o, g, i, w, 0.0f, w, w, S, w, 0.0f, kind, 0, 1);
        float c[3] = {1.0f, 1.0f, 1.0f};
        if (static_cast<float>(UTIL_rand()) / 32767.0f < 0.25f) c[0] = c[1] = c[2] = 9.9f;
        if (static_cast<float>(UTIL_rand()) / 32767.0f < 0.25f) c[0] = c[1] = c[2] = 9.8f;
        if (static_cast<float>(UTIL_rand()) / 32767.0f < 0.25f) c[1] = c[2] = 0.1f;
        for (auto [sx, sz] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}})
            OBJ_add_light(o, g, i, sx * w, S + 1.0f, sz * w, c[0], c[1], c[2]);
        break;
    }
    case 5: {   // cooling tower: the waisted shell, its rim, steam and lights
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        set_class(o, OBJ_CLASS_PLAIN);
        static constexpr float bands[5][4] = {{0.35f, 0.2f, 0.45f, 0.0f},
                                              {0.3f, 0.4f, 0.35f, 0.2f},
                                              {0.27f, 0.6f, 0.3f, 0.4f},
                                              {0.28f, 0.8f, 0.27f, 0.6f},
                                              {0.32f, 1.0f, 0.28f, 0.8f}};
        for (const auto& b : bands) turned_strip(o, g, 30, b[0] * S, b[1] * S, 1.0f, b[2] * S, b[3] * S, 0.5f);
        add(o, g, OBJ_POLYGON);
        add(o, g, OBJ_NORMAL);
        for (int a = 0; a <= 360; a += 30)
            add(o, g, OBJ_VERTEX, 0.32f * S * sin_deg(a), S, -0.32f * S * cos_deg(a), 0.125f * sin_deg(a) + 0.125f,
                0.25f * cos_deg(a) + 0.75f);
        add(o, g, OBJ_END);
        add(o, g, OBJ_SMOKE_WHITE, 0.0f, S - 2.0f, 0.0f, 20.0f);
        for (int a = 0; a <= 360; a += 30)
            OBJ_add_light(o, g, i, -0.33f * S * sin_deg(a), S + 1.0f, -0.33f * S * cos_deg(a), 9.8f, 9.8f, 9.8f);
        break;
    }
    case 94:   // hangar: walls, eaves and the pitched roof
        set_textures(o, TEX_SLOT_SURFACES, OBJ_NO_TEXTURE);
        OBJ_add_box(o, g, i, 10.0f, 0.0f, 20.0f, 10.0f, 5.0f, 20.0f, 0.0f, 94, 0, 0);
        OBJ_add_box(o, g, i, 10.0f, 5.0f, 20.0f, 10.5f, 5.1f, 20.0f, 0.0f, 94, 0, 0);
        OBJ_add_box(o, g, i, 10.5f, 5.1f, 20.0f, 1.0f, 6.5f, 20.0f, 0.0f, 94, 0, 1);
        break;
    default:
        MACIBM_nuke_alert(0, "A scenery object of an unknown kind was asked for.", "path:", name ? name : "", "",
                          ALERT_FATAL);
        index = -1;
        return;
    }
    index = static_cast<int>(group_at(object, group)->prims.size()) - 1;
}
