// Scenery objects: the models (object records of LOD groups of primitives)
// kept in the object table for the whole run, the builders that fill them
// (object files of versions 2 and 700, and the procedural kinds), their
// drawing into display lists, and the placements of the current scene.
//
// Positions of a model are metres in its own frame (y up), before the
// placement's translation and heading turn. A record is built once per lookup
// name and shared by every placement of that name.
//
// Reads: the terrain (placement heights), the texture size table, the texture
// units the state kit enabled, the cockpit light level and gload_dim_factor
// (line colours at compile time), the custom scenery package folder.
// Writes: the object table, the placement list, texture slots 500..999 and
// the GL state (left as the record's finishing leaves it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// ---------------------------------------------------------------------------
// Primitive codes.
constexpr int32_t OBJ_LIGHT = 1;
constexpr int32_t OBJ_LINE = 2;
constexpr int32_t OBJ_TRI = 3;
constexpr int32_t OBJ_QUAD = 4;
constexpr int32_t OBJ_QUAD_HARD = 5;
constexpr int32_t OBJ_SMOKE_BLACK = 6;
constexpr int32_t OBJ_SMOKE_WHITE = 7;
constexpr int32_t OBJ_QUAD_MOVIE = 8;
constexpr int32_t OBJ_POLYGON = 9;
constexpr int32_t OBJ_QUAD_STRIP = 10;
constexpr int32_t OBJ_TRI_STRIP = 11;
constexpr int32_t OBJ_TRI_FAN = 12;
constexpr int32_t OBJ_NORMAL = 13;
constexpr int32_t OBJ_LIGHT_VERTEX = 14;
constexpr int32_t OBJ_LINE_VERTEX = 15;
constexpr int32_t OBJ_MOVIE_VERTEX = 16;
constexpr int32_t OBJ_VERTEX = 17;
constexpr int32_t OBJ_END_LIGHTS = 18;
constexpr int32_t OBJ_END_LINES = 19;
constexpr int32_t OBJ_END_MOVIE = 20;
constexpr int32_t OBJ_END = 21;
constexpr int32_t OBJ_SHADE_FLAT = 22;
constexpr int32_t OBJ_SHADE_SMOOTH = 23;
constexpr int32_t OBJ_AMBIENT = 24;
constexpr int32_t OBJ_DIFFUSE = 25;
constexpr int32_t OBJ_SPECULAR = 26;
constexpr int32_t OBJ_EMISSION = 27;
constexpr int32_t OBJ_SHINY = 28;
constexpr int32_t OBJ_NO_DEPTH = 29;
constexpr int32_t OBJ_DEPTH = 30;
constexpr int32_t OBJ_LOD = 31;
constexpr int32_t OBJ_IGNORED_ATTR = 32;
constexpr int32_t OBJ_FILE_END = 99;

// Object classes.
constexpr int32_t OBJ_CLASS_NEW = 1;
constexpr int32_t OBJ_CLASS_PLAIN = 2;
constexpr int32_t OBJ_CLASS_HARD_ROOF = 3;   // the roof is a landable surface (kinds 90..93)

// A texture slot that never receives a texture.
constexpr int32_t OBJ_NO_TEXTURE = 455;
// The object textures loaded from object files, reused in order.
constexpr int OBJ_TEXTURE_FIRST_SLOT = 500;
constexpr int OBJ_TEXTURE_ENTRIES = 500;
constexpr int OBJ_TEXTURE_NAME_SIZE = 150;

constexpr int OBJ_NAME_SIZE = 500;
constexpr float OBJ_FIRST_GROUP_FAR2 = 100000000.0f;

// The raised helipad of a rooftop heliport; its size is its exact height.
constexpr const char* OBJ_HELIPAD_NAME = "HELIPAD SO GIVE EXACT HEIGHT!";

// ---------------------------------------------------------------------------
// Records.

// One element of a LOD group: a code and six words (their meaning by code).
struct object_primitive {
    int32_t code;
    float w[6];
};
static_assert(sizeof(object_primitive) == 28);
static_assert(offsetof(object_primitive, w) == 4);

struct lod_group {
    uint32_t day_list;        // display-list names, 0 until compiled
    uint32_t lit_list;
    float near2;              // the group is drawn while near2 <= d^2 <= far2
    float far2;
    std::vector<object_primitive> prims;
    // The primitives compiled into the lists, kept for drawers that gather
    // many placements into one vertex array; line vertices carry the colour
    // the lists were compiled with.
    std::vector<object_primitive> static_prims{};
};

struct scenery_object_record {
    char name[OBJ_NAME_SIZE];     // the lookup name: the caller's name and its size band
    int32_t object_class;         // OBJ_CLASS_...
    // The kind the object was first built as (OBJ_build_obs); the map window
    // picks its symbols by it.
    int32_t kind;
    int32_t day_tex;              // texture slot on unit 0
    int32_t lit_tex;              // texture slot added on unit 1 at night
    std::vector<lod_group> groups;   // at least one
};

struct object_placement {
    int32_t object;               // index into the object table
    float x;                      // local metres
    float y;                      // the terrain height under (x, z)
    float z;
    float heading;                // degrees, as the caller gave it
    uint8_t visible;              // written by the terrain pass's culling
};

// The object table: records stay valid for the whole run (the start-up alone
// empties it) and are shared by every scene build.
extern std::vector<scenery_object_record> object_table;
// Lookup name to object index.
extern std::unordered_map<std::string, int32_t> object_index;
// The placements of the current scene (emptied by each scene build).
extern std::vector<object_placement> placement_list;

// Empties the object table, its index and the texture tables (start-up; the
// display lists of an earlier context are not deleted).
void OBJ_clear_table();

// ---------------------------------------------------------------------------
// Builders.

// Appends a primitive of `code` to group `group` of record `object` and
// writes into `index` the entry the caller fills next. Consecutive lights,
// lines, triangles or quads of one group join into one batch.
void OBJ_add_primitive(int object, int group, int& index, int code);
void OBJ_add_light(int object, int group, int& index, float x, float y, float z, float r, float g, float b);
void OBJ_add_line(int object, int group, int& index, float x1, float y1, float z1, float x2, float y2, float z2,
                  float r, float g, float b);
// Four walls (a quad strip) and, with roof set, a roof; sets the record's class.
void OBJ_add_box(int object, int group, int& index, float bottom_half_width, float bottom_y, float bottom_half_length,
                 float top_half_width, float top_y, float top_half_length, float centre_x, int kind, int sub_kind,
                 int roof);
// The model of a procedural kind (1, 2, 3, 5, 6, 9..13, 90..94) of size S; any
// other kind is a fatal alert naming `name`.
void OBJ_build_procedural(int kind, float size, const char* name, int object, int group, int& index);

// What OBJ_add_primitive keeps between calls.
struct obj_builder_state_record {
    int32_t last_object;
    int32_t last_group;
    int32_t last_code;
};
extern obj_builder_state_record obj_builder_state;
void OBJ_builder_reset();

// ---------------------------------------------------------------------------
// Drawing.

// Group `group` of record `object`: mode 0 compiles its day (lit 0) or night
// list, mode 1 binds the record's textures and replays that list.
void OBJ_draw(int object, int group, int lit, int mode);
// What OBJ_draw does before it replays a list: the record's texture flags
// (day, and lit when `lit`), the matching state, and with `bind` its textures.
void OBJ_use_textures(int object, int lit, int bind);
// A line vertex's colour as a list compiled now fixes it: its colour tinted by
// the cockpit light and dimmed; lines are drawn with alpha OBJ_LINE_ALPHA.
void OBJ_line_colour_now(const float* w, float rgb[3]);
constexpr float OBJ_LINE_ALPHA = 0.5f;
// Switches the GL state for the primitive group about to start (0 resets).
void OBJ_set_draw_state(int code);
// Whether a primitive goes into the display lists, and whether it is kept for
// the drawer's per-frame work (lights, smoke, movie quads, hard quads).
int OBJ_is_static_prim(int object, int group, int prim);
int OBJ_is_dynamic_prim(int object, int group, int prim);

struct obj_draw_state_record {
    int32_t day_flag;
    int32_t lit_flag;
    int32_t last_state;
};
extern obj_draw_state_record obj_draw_state;
void OBJ_draw_reset();

// ---------------------------------------------------------------------------
// Object files and the table.

// Builds (or finds) the object `name` of `kind` and `size` and, with autogen
// 0, places it at the local point (x, z) on the terrain turned to `heading`.
// Kind 8 reads the object file at the path `name`; other kinds are
// procedural. Returns the object index (for a missing file: the last index of
// the table, -1 when it is empty, and no placement).
int OBJ_build_obs(float x, float z, float heading, float size, const char* name, int kind, int autogen);
// The two halves of building a record from a file: reading the object file
// (version 2 or 700) into record `object` (false when it cannot be opened),
// and finishing a record: normals, display lists, and only the primitives the
// per-frame pass draws itself kept.
bool OBJ_read_file(const char* path, int object, int autogen);
void OBJ_finish(int object);
// Reads the next entry of the open object file: its primitive code, and its
// vertex count through `count`. `path` names the file in the alert.
int OBJ_read_entry(const char* path, int version, int& count);

// The object textures: 500 day and 500 lit names (150 bytes each); entry i
// belongs to slot 500 + i; the counter names the next entry to fill.
struct obj_texture_tables_record {
    char day[OBJ_TEXTURE_ENTRIES][OBJ_TEXTURE_NAME_SIZE];
    char lit[OBJ_TEXTURE_ENTRIES][OBJ_TEXTURE_NAME_SIZE];
    int32_t counter;
};
extern obj_texture_tables_record obj_texture_tables;

// Sorts the placements by the day texture slot of their records, ascending,
// keeping the order of equal ones.
void OBJ_sort_placements();
