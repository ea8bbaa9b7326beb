// The map window: the loaded scenery area as a north-up chart inside the map
// rectangle of the operator screens, its ground by map type, and the layers
// over it (airports, objects, navaids, linear features, airways, fixes, sea
// objects, the fire, the weather radar, the flown path, the aircraft, scales).
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/font.h"
#include "graphics/gl_entry.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel.h"
#include "platform/plat_window.h"
#include "scene/drawers.h"
#include "world/fires.h"
#include "scene/scene_state.h"
#include "world/ships.h"
#include "screens/map.h"
#include "screens/operator_map.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/runway_outline.h"
#include "world/scenery_area.h"
#include "world/segments.h"
#include "world/terrain_textures.h"

int32_t chart_airport = -1;
void MAP_chart_airport_reset() { chart_airport = -1; }
ORVELL_RESET(MAP_chart_airport_reset, program);
terrain_vertex map_projected_grid[TERRAIN_GRID_POINTS] = {};
map_visible_window_record map_visible_window{};
map_ground_cache_record map_ground_cache{};

float MAP_x_to_screen(float x) { return (x - map_ref_x) * map_scale + map_origin_x; }
float MAP_z_to_screen(float z) { return map_origin_y - (z - map_ref_z) * map_scale; }

namespace {

struct layer_colours {
    int airport, navaid, object;
};
constexpr layer_colours type_colours[6] = {{67, 76, 76}, {67, 76, 76}, {69, 67, 73},
                                           {70, 70, 70}, {49, 63, 56}, {76, 76, 76}};

// A map point that is not finite (a NaN or infinite position from a peer, a
// plug-in or a damaged file) would send a symbol's quad or a line's end to no
// place on the screen, a streak across the map: such a point is not drawn.
bool finite2(float a, float b) { return std::isfinite(a) && std::isfinite(b); }

// Any corner of cell (i, j) is water. The coast test reads the rim one cell
// past the window, which at the grid's last row or column would take its far
// corners from past the grid: the cell is held inside the grid.
bool cell_wet(int i, int j)
{
    i = std::clamp(i, 0, TERRAIN_GRID_ROWS - 2);
    j = std::clamp(j, 0, TERRAIN_GRID_COLS - 2);
    const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                            TERRAIN_index(i + 1, j)};
    for (const int c : corners) {
        const int32_t w = landuse_grid[c];
        if (w == LANDUSE_WATER_A || w == LANDUSE_WATER_B) return true;
    }
    return false;
}

// Height of the cell's mean corner above the planet's sphere, metres.
float cell_elevation(int i, int j)
{
    const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, j + 1), TERRAIN_index(i + 1, j + 1),
                            TERRAIN_index(i + 1, j)};
    double x = 0.0, y = 0.0, z = 0.0;
    for (const int c : corners) {
        x += terrain_vertex_grid[c].x;
        y += terrain_vertex_grid[c].y;
        z += terrain_vertex_grid[c].z;
    }
    x /= 4.0, y /= 4.0, z /= 4.0;
    const double R = sim_physics.earth_radius_m;
    return static_cast<float>(std::sqrt(x * x + z * z + (y + R) * (y + R)) - R);
}

// A colour as the map hands it to OpenGL: red, green, blue, alpha.
struct cell_rgba {
    GLfloat c[4];
};

cell_rgba colour_rgb(float r, float g, float b)
{
    const float k = gload_dim_factor / 255.0f;
    return {{r * k, g * k, b * k, 1.0f}};
}

cell_rgba grey(float level)
{
    const float g = level * gload_dim_factor;
    return {{g, g, g, 1.0f}};
}

// The current colour after one of the colour kit's calls: the kit owns the
// arithmetic (table rows, the light levels, the ramp), the map takes the
// result as it would reach a vertex.
cell_rgba current_colour()
{
    cell_rgba c;
    glGetFloatv(GL_CURRENT_COLOR, c.c);
    return c;
}

// Whether each cell touches water, worked out once per call over the visible
// window and its one-cell rim (the neighbours the coast test reads).
uint8_t cell_wet_flags[TERRAIN_GRID_POINTS];

void mark_wet_cells(const map_visible_window_record& w)
{
    for (int i = w.low_row; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) cell_wet_flags[TERRAIN_index(i, j)] = cell_wet(i, j);
}

// The colours of one call: colour rows through the kit once each, the rest
// worked out per cell.
struct cell_colourer {
    int type;
    map_visible_window_record w;
    cell_rgba rows[3] = {};   // rows 50, 56, 64 of the land-use types
    bool row_known[3] = {false, false, false};

    cell_rgba row(int slot, int colour_row)
    {
        if (!row_known[slot]) {
            OGL_apply_color(colour_row, 1.0f);
            rows[slot] = current_colour();
            row_known[slot] = true;
        }
        return rows[slot];
    }

    cell_rgba operator()(int i, int j)
    {
        const bool wet = cell_wet_flags[TERRAIN_index(i, j)] != 0;
        if (type == 0 || type == 1) {
            if (!wet) return row(1, 56);
            // Neighbours are held to the window's rows and columns and its rim.
            const int i0 = std::max(i - 1, w.low_row), i1 = std::min(i + 1, w.high_row + 1);
            const int j0 = std::max(j - 1, w.low_column), j1 = std::min(j + 1, w.high_column + 1);
            bool all = true;
            for (int ni = i0; ni <= i1 && all; ++ni)
                for (int nj = j0; nj <= j1 && all; ++nj) all = cell_wet_flags[TERRAIN_index(ni, nj)] != 0;
            return all ? row(0, 50) : row(2, 64);
        }
        if (type == 3) return grey(wet ? 0.1f : 0.7f);
        if (type == 2 && wet) return colour_rgb(170, 205, 220);
        if (type == 5 && wet) return grey(0.5f);
        const float e = cell_elevation(i, j);
        if (type == 2) {
            static constexpr struct {
                float below_ft;
                float r, g, b;
            } bands[] = {{1000, 212, 226, 175}, {2000, 188, 205, 154}, {3000, 239, 232, 174},
                         {5000, 241, 222, 136}, {7000, 233, 198, 102}};
            for (const auto& band : bands)
                if (e < band.below_ft * UNIT.ft_to_mtrs) return colour_rgb(band.r, band.g, band.b);
            return colour_rgb(223, 175, 72);
        }
        // Type 5: the colour ramp between the loaded tiles' lowest and highest ground.
        const float lo = terrain_elevation_low, hi = terrain_elevation_high;
        const float t = hi == lo ? 0.5f : std::clamp((e - lo) / (hi - lo), 0.0f, 1.0f);
        OGL_color_ramp(t);
        return current_colour();
    }
};

// Projects the terrain grid, narrowing the visible window as it goes.
void project_grid(float left, float bottom, float right, float top)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    map_visible_window_record w{0, 0, grid_rows[planet] - 1, grid_cols[planet] - 1};
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    for (int i = 0; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) {
            const int k = TERRAIN_index(i, j);
            const terrain_vertex& v = terrain_vertex_grid[k];
            const float sx = ox + MAP_x_to_screen(v.x), sy = oy + MAP_z_to_screen(v.z);
            map_projected_grid[k] = {sx, sy, 0.0f};
            if (sx < left && w.low_row < i - 1) w.low_row = std::max(0, i - 1);
            if (sy < bottom && w.low_column < j - 1) w.low_column = std::max(0, j - 1);
            if (sx > right && i + 2 < w.high_row) w.high_row = std::max(0, i + 2);
            if (sy > top && j + 2 < w.high_column) w.high_column = std::max(0, j + 2);
        }
    map_visible_window = w;
}

// The ground cells as client arrays, kept from call to call so that a frame
// allocates nothing once they have grown: every cell a quad of four vertices
// in the order c0, c1, c2, c3, each vertex a projected point with its normal
// and the cell's colour. A vertex serves every cell that meets its point with
// the same colour, so a run of equal cells sends each point about once.
struct ground_vertex_record {
    GLfloat x, y;
    GLfloat normal[3];
    cell_rgba colour;
};
// The last vertex made for a grid point, valid while its stamp is this call's.
struct point_vertex_record {
    uint32_t stamp;
    GLuint vertex;
};
struct ground_arrays {
    std::vector<ground_vertex_record> vertices;
    std::vector<GLuint> triangles;
    std::vector<point_vertex_record> points;
    uint32_t stamp = 0;
};
ground_arrays ground;

bool same_colour(const cell_rgba& a, const cell_rgba& b)
{
    // Bit for bit, as the colours reach OpenGL.
    uint32_t x[4], y[4];
    std::memcpy(x, a.c, sizeof x);
    std::memcpy(y, b.c, sizeof y);
    return ((x[0] ^ y[0]) | (x[1] ^ y[1]) | (x[2] ^ y[2]) | (x[3] ^ y[3])) == 0;
}

GLuint ground_vertex(int point, const cell_rgba& colour)
{
    ground_arrays& g = ground;
    point_vertex_record& p = g.points[static_cast<size_t>(point)];
    if (p.stamp == g.stamp && same_colour(g.vertices[p.vertex].colour, colour)) return p.vertex;
    const float* n = terrain_point_normal[point];
    p = {g.stamp, static_cast<GLuint>(g.vertices.size())};
    g.vertices.push_back({map_projected_grid[point].x, map_projected_grid[point].y, {n[0], n[1], n[2]}, colour});
    return p.vertex;
}

bool same_normal(int a, int b)
{
    return std::memcmp(terrain_point_normal[a], terrain_point_normal[b], sizeof terrain_point_normal[a]) == 0;
}

// A cell that may join a run of its column: one normal at all four corners,
// its west and east sides upright on the screen (c0 and c1 share their x, c3
// and c2 theirs) with c1 above c0 and c2 above c3, and every corner inside
// the screen, where nothing is clipped. Such cells of one colour, stacked,
// are lit alike at every corner and cover exactly the pixels of the one
// quad around them, so the run is drawn as that quad.
bool plain_cell(int i, int j)
{
    const int c0 = TERRAIN_index(i, j), c1 = TERRAIN_index(i, j + 1), c2 = TERRAIN_index(i + 1, j + 1),
              c3 = TERRAIN_index(i + 1, j);
    const terrain_vertex &p0 = map_projected_grid[c0], &p1 = map_projected_grid[c1], &p2 = map_projected_grid[c2],
                         &p3 = map_projected_grid[c3];
    if (!(p0.x == p1.x && p3.x == p2.x && p0.x < p3.x && p0.y < p1.y && p3.y < p2.y)) return false;
    for (const terrain_vertex* p : {&p0, &p1, &p2, &p3})
        if (!(p->x >= 0.0f && p->x <= 1024.0f && p->y >= 0.0f && p->y <= 768.0f)) return false;
    return same_normal(c0, c1) && same_normal(c0, c2) && same_normal(c0, c3);
}

// The last colour and normal the cells leave current.
struct ground_tail {
    cell_rgba colour;
    GLfloat normal[3];
};

// The last colour and normal drawing every cell of the visible window
// leaves current: the colour of its last cell, the normal of that cell's
// last corner.
ground_tail window_tail(int type)
{
    const map_visible_window_record w = map_visible_window;
    const int i = w.high_row, j = w.high_column;
    mark_wet_cells({std::max(w.low_row, i - 1), std::max(w.low_column, j - 1), i, j});
    cell_colourer colour_of{type, w};
    ground_tail tail{colour_of(i, j), {}};
    std::memcpy(tail.normal, terrain_point_normal[TERRAIN_index(i + 1, j)], sizeof tail.normal);
    return tail;
}

// Draws the cells of `part`, a window inside the visible window (neither is
// empty), with the state already set; each cell has the colour it has when
// the whole window is drawn.
void draw_cell_window(int type, const map_visible_window_record& part)
{
    const map_visible_window_record w = map_visible_window;
    const map_visible_window_record s = part;
    // The coast test reads the neighbours of every cell drawn, held to the window and its rim.
    mark_wet_cells({std::max(s.low_row - 1, w.low_row), std::max(s.low_column - 1, w.low_column),
                    std::min(s.high_row + 1, w.high_row), std::min(s.high_column + 1, w.high_column)});

    ground_arrays& g = ground;
    g.vertices.clear(), g.triangles.clear();
    if (g.points.empty()) g.points.assign(TERRAIN_GRID_POINTS, {0, 0});
    if (++g.stamp == 0) {
        std::fill(g.points.begin(), g.points.end(), point_vertex_record{0, 0});
        g.stamp = 1;
    }
    cell_colourer colour_of{type, w};
    cell_rgba colour{};
    for (int i = s.low_row; i <= s.high_row; ++i) {
        cell_rgba next = colour_of(i, s.low_column);
        for (int j = s.low_column; j <= s.high_column;) {
            colour = next;
            // The run of cells from j to `last` that draw as one quad.
            int last = j;
            const bool plain = plain_cell(i, j);
            for (;;) {
                if (last == s.high_column) break;
                next = colour_of(i, last + 1);
                if (!plain || !same_colour(next, colour) || !plain_cell(i, last + 1) ||
                    !same_normal(TERRAIN_index(i, last + 1), TERRAIN_index(i, j)))
                    break;
                ++last;
            }
            const int corners[4] = {TERRAIN_index(i, j), TERRAIN_index(i, last + 1), TERRAIN_index(i + 1, last + 1),
                                    TERRAIN_index(i + 1, j)};
            GLuint v[4];
            for (int k = 0; k < 4; ++k) v[k] = ground_vertex(corners[k], colour);
            // The quad as the two triangles c0 c1 c2 and c0 c2 c3, the split
            // OpenGL makes of a quad sent on its own.
            for (const GLuint k : {v[0], v[1], v[2], v[0], v[2], v[3]}) g.triangles.push_back(k);
            j = last + 1;
        }
    }
    map_ground_cache.cells += (s.high_row - s.low_row + 1) * (s.high_column - s.low_column + 1);

    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    constexpr GLsizei stride = sizeof(ground_vertex_record);
    glVertexPointer(2, GL_FLOAT, stride, &g.vertices[0].x);
    glNormalPointer(GL_FLOAT, stride, g.vertices[0].normal);
    glColorPointer(4, GL_FLOAT, stride, g.vertices[0].colour.c);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(g.triangles.size()), GL_UNSIGNED_INT, g.triangles.data());
    glPopClientAttrib();
}

// Draws the cells of the visible window (which is not empty) with the state
// already set, and returns what they leave current.
ground_tail draw_cells(int type)
{
    draw_cell_window(type, map_visible_window);
    return window_tail(type);
}

// The ground's picture, kept from call to call. The cells are the map's
// costliest layer and change only with their inputs: the map view and type,
// the terrain grid and land use, the colour rows and dimming, and the OpenGL
// state they are lit and placed with. When they are drawn on the screen, the
// depth buffer inside the scissor box marks what they cover: its values are
// put aside, it is cleared to 1 and the cells write depth 0 (their colours
// are not touched by this); the box's colours and depths are then copied into
// two textures and the depth values put back bit for bit. While a key of all
// those inputs stays the same, later calls draw the colour texture as one
// quad, texel for pixel, through the alpha test on the depth texture: the
// cells' pixels come back byte for byte and every pixel they leave uncovered
// keeps whatever lies under the map. Nothing else of the frame buffer changes.
struct picture_calls {
    PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC attachment = nullptr;
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC framebuffer_status = nullptr;
    PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebuffer_texture = nullptr;   // for shifting only
    bool all() const
    {
        return attachment && gen_framebuffers && delete_framebuffers && bind_framebuffer && framebuffer_status &&
               gen_renderbuffers && delete_renderbuffers && bind_renderbuffer && renderbuffer_storage &&
               framebuffer_renderbuffer && blit;
    }
};

struct ground_picture_record {
    void* window = nullptr;        // the window (and so the context) the textures belong to
    bool probed = false;           // the context's calls looked up
    picture_calls calls;
    GLenum depth_format = GL_DEPTH_COMPONENT24;   // the window's depth buffer's
    GLuint colour = 0, depth = 0;  // textures of the window's size
    GLuint aside = 0, aside_depth = 0;   // framebuffer object and its depth buffer of the same size
    // A second pair of textures the shifted picture is drawn into, and a
    // framebuffer object on each pair; the pairs change places at each shift.
    GLuint spare_colour = 0, spare_depth = 0, frame = 0, spare_frame = 0;
    bool shiftable = false;        // the second pair and both framebuffer objects could be made
    int width = 0, height = 0;
    bool complete = false;         // the textures could be made
    bool valid = false;            // the textures hold the cells of `key`
    std::vector<unsigned char> key, scratch;
    ground_tail tail{};            // what the kept cells left current
    double ref_x = 0.0, ref_z = 0.0;   // the map reference point the picture shows
    bool exact = false;            // drawn in full at that point (not shifted)
    float last_ref_x = 0.0f, last_ref_z = 0.0f;   // the reference point of the last call kept
};
ground_picture_record picture;

template <class F>
void look_up(F& f, const char* name)
{
    f = reinterpret_cast<F>(PLAT_gl_proc_address(name));
}

// The calls the picture needs, and the format of the window's depth buffer
// (its values are put aside in one of the same format, bit for bit).
void probe_picture_calls()
{
    ground_picture_record& p = picture;
    p.probed = true;
    picture_calls& c = p.calls;
    c = {};
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || version[0] < '3' || version[0] > '9' || version[1] != '.') return;
    look_up(c.attachment, "glGetFramebufferAttachmentParameteriv");
    look_up(c.gen_framebuffers, "glGenFramebuffers");
    look_up(c.delete_framebuffers, "glDeleteFramebuffers");
    look_up(c.bind_framebuffer, "glBindFramebuffer");
    look_up(c.framebuffer_status, "glCheckFramebufferStatus");
    look_up(c.gen_renderbuffers, "glGenRenderbuffers");
    look_up(c.delete_renderbuffers, "glDeleteRenderbuffers");
    look_up(c.bind_renderbuffer, "glBindRenderbuffer");
    look_up(c.renderbuffer_storage, "glRenderbufferStorage");
    look_up(c.framebuffer_renderbuffer, "glFramebufferRenderbuffer");
    look_up(c.blit, "glBlitFramebuffer");
    look_up(c.framebuffer_texture, "glFramebufferTexture2D");
    if (!c.all()) return;
    GLint kind = 0, bits = 0;
    c.attachment(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_COMPONENT_TYPE, &kind);
    c.attachment(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
    p.depth_format = kind == GL_FLOAT ? GL_DEPTH_COMPONENT32F
                     : bits >= 32    ? GL_DEPTH_COMPONENT32
                     : bits >= 24    ? GL_DEPTH_COMPONENT24
                                     : GL_DEPTH_COMPONENT16;
    while (glGetError() != GL_NO_ERROR) {
    }
}

GLuint make_texture(GLint internal_format, GLenum format, GLenum type, int width, int height)
{
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, internal_format, width, height, 0, format, type, nullptr);
    return t;
}

// Makes the textures of width x height pixels; false when the context
// cannot give them.
bool picture_ready(int width, int height)
{
    ground_picture_record& p = picture;
    void* window = PLAT_window_handle();
    if (window != p.window || (p.colour != 0 && !(glIsTexture(p.colour) && glIsTexture(p.depth)))) {
        // Another context: the names of the old one mean nothing here.
        p.window = window;
        p.probed = false;
        p.colour = p.depth = p.aside = p.aside_depth = 0;
        p.spare_colour = p.spare_depth = p.frame = p.spare_frame = 0;
        p.width = p.height = 0;
        p.complete = p.valid = p.shiftable = false;
    }
    if (!p.probed) probe_picture_calls();
    const picture_calls& c = p.calls;
    if (!c.all() || !gl_entry::glActiveTextureARB || !gl_entry::glMultiTexCoord2fARB) return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    if (units < 2) return false;
    if (p.colour != 0 && width == p.width && height == p.height) return p.complete;

    p.valid = false;
    if (p.colour != 0) {
        const GLuint old[4] = {p.colour, p.depth, p.spare_colour, p.spare_depth};
        glDeleteTextures(4, old);
        const GLuint frames[3] = {p.aside, p.frame, p.spare_frame};
        c.delete_framebuffers(3, frames);
        c.delete_renderbuffers(1, &p.aside_depth);
        p.colour = p.depth = p.aside = p.aside_depth = 0;
        p.spare_colour = p.spare_depth = p.frame = p.spare_frame = 0;
    }
    p.shiftable = false;
    GLint max_size = 0, bound = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    p.width = width, p.height = height, p.complete = false;
    if (width < 1 || height < 1 || width > max_size || height > max_size) return false;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    while (glGetError() != GL_NO_ERROR) {
    }
    auto make_pair = [width, height](GLuint& colour, GLuint& depth) {
        colour = make_texture(GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, width, height);
        depth = make_texture(GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, width, height);
        // Sampled as alpha: 0 where a cell covers the pixel, 1 where none does.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
        glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_ALPHA);
    };
    make_pair(p.colour, p.depth);
    if (c.framebuffer_texture) make_pair(p.spare_colour, p.spare_depth);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    c.gen_renderbuffers(1, &p.aside_depth);
    c.bind_renderbuffer(GL_RENDERBUFFER, p.aside_depth);
    c.renderbuffer_storage(GL_RENDERBUFFER, p.depth_format, width, height);
    c.bind_renderbuffer(GL_RENDERBUFFER, 0);
    c.gen_framebuffers(1, &p.aside);
    c.bind_framebuffer(GL_FRAMEBUFFER, p.aside);
    c.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, p.aside_depth);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const bool aside_ok = c.framebuffer_status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    bool frames_ok = c.framebuffer_texture != nullptr;
    if (frames_ok)
        for (const auto& [frame, colour, depth] : {std::tuple{&p.frame, p.colour, p.depth},
                                                   std::tuple{&p.spare_frame, p.spare_colour, p.spare_depth}}) {
            c.gen_framebuffers(1, frame);
            c.bind_framebuffer(GL_FRAMEBUFFER, *frame);
            c.framebuffer_texture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
            c.framebuffer_texture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth, 0);
            frames_ok = frames_ok && c.framebuffer_status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        }
    c.bind_framebuffer(GL_FRAMEBUFFER, 0);
    p.complete = aside_ok && glGetError() == GL_NO_ERROR;
    p.shiftable = p.complete && frames_ok;
    return p.complete;
}

struct key_writer {
    std::vector<unsigned char>& out;
    template <class T>
    void put(const T& value)
    {
        const auto* b = reinterpret_cast<const unsigned char*>(&value);
        out.insert(out.end(), b, b + sizeof value);
    }
    void floats(GLenum name, int count)
    {
        GLfloat v[16] = {};
        glGetFloatv(name, v);
        for (int k = 0; k < count; ++k) put(v[k]);
    }
    void ints(GLenum name, int count)
    {
        GLint v[4] = {};
        glGetIntegerv(name, v);
        for (int k = 0; k < count; ++k) put(v[k]);
    }
    void enabled(GLenum cap) { put(static_cast<unsigned char>(glIsEnabled(cap))); }
};

// A 64-bit hash of a span of memory, four lanes at a time.
uint64_t hash_span(uint64_t h, const void* data, size_t bytes)
{
    constexpr uint64_t M = 0x9E3779B97F4A7C15ull;
    const auto* b = static_cast<const unsigned char*>(data);
    uint64_t lane[4] = {h, h ^ 1, h ^ 2, h ^ 3};
    for (; bytes >= 32; b += 32, bytes -= 32)
        for (int k = 0; k < 4; ++k) {
            uint64_t w;
            std::memcpy(&w, b + 8 * k, 8);
            lane[k] = ((lane[k] ^ w) * M) ^ (lane[k] >> 31);
        }
    h = lane[0] ^ (lane[1] * 3) ^ (lane[2] * 5) ^ (lane[3] * 7);
    for (; bytes > 0; ++b, --bytes) h = (h ^ *b) * M;
    return h ^ (h >> 29);
}

// Everything of the terrain grid the cells read: points, normals and land
// use of the whole grid, since a shifted picture keeps cells of other windows.
uint64_t hash_ground()
{
    uint64_t h = hash_span(0, terrain_vertex_grid, sizeof terrain_vertex_grid);
    h = hash_span(h, terrain_point_normal, sizeof terrain_point_normal);
    return hash_span(h, landuse_grid, sizeof landuse_grid);
}

// Whether colour material tracks `pname` of the face `face`.
bool tracked(GLint cm_face, GLint cm_param, GLenum face, GLenum pname)
{
    if (cm_face != GL_FRONT_AND_BACK && static_cast<GLenum>(cm_face) != face) return false;
    if (cm_param == GL_AMBIENT_AND_DIFFUSE) return pname == GL_AMBIENT || pname == GL_DIFFUSE;
    return static_cast<GLenum>(cm_param) == pname;
}

// The key of the cells' picture under the current state; false when the
// state is one the picture cannot stand in for (feedback or selection, a
// display list being compiled, drawing into another framebuffer, stencil,
// logic operations, masked colours, clip planes, multisampling, lines or
// points for polygons, colour channels other than 8 bits, or no depth buffer
// of at least 16 bits).
bool build_key(int type, std::vector<unsigned char>& key)
{
    GLint v[4] = {};
    glGetIntegerv(GL_RENDER_MODE, v);
    if (v[0] != GL_RENDER || draw_to_pixel_buffer) return false;
    v[0] = 0, glGetIntegerv(GL_LIST_INDEX, v);
    if (v[0] != 0) return false;
    v[0] = 0, glGetIntegerv(GL_FRAMEBUFFER_BINDING, v);
    if (v[0] != 0) return false;
    for (const GLenum cap : {GL_STENCIL_TEST, GL_COLOR_LOGIC_OP, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST,
                             GL_FOG, GL_DEPTH_TEST, GL_POLYGON_STIPPLE, GL_POLYGON_SMOOTH, GL_CLIP_PLANE0,
                             GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3, GL_CLIP_PLANE4, GL_CLIP_PLANE5})
        if (glIsEnabled(cap)) return false;
    if (!glIsEnabled(GL_SCISSOR_TEST)) return false;
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    if (!(mask[0] && mask[1] && mask[2] && mask[3])) return false;
    v[0] = 0, glGetIntegerv(GL_SAMPLE_BUFFERS, v);
    if (v[0] != 0) return false;
    glGetIntegerv(GL_POLYGON_MODE, v);
    if (v[0] != GL_FILL || v[1] != GL_FILL) return false;
    for (const GLenum bits : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS}) {
        v[0] = 0, glGetIntegerv(bits, v);
        if (v[0] != 8) return false;
    }
    v[0] = 0, glGetIntegerv(GL_DEPTH_BITS, v);
    if (v[0] < 16) return false;

    key_writer k{key};
    // The map's own inputs.
    k.put(type);
    k.put(sim_graphics_scenery.current_planet);
    k.put(sim_physics.earth_radius_m);
    k.put(terrain_elevation_low), k.put(terrain_elevation_high);
    k.put(gload_dim_factor);
    for (const int row : {50, 56, 64}) k.put(colour_table[row]);
    // Not the reference point: a picture of another point may be shifted.
    for (const float f : {map_origin_x, map_origin_y, map_right, map_top, map_scale, screen.screen_area_left,
                          screen.screen_area_bottom})
        k.put(f);
    k.put(hash_ground());

    // Where the cells land and how they are lit.
    k.ints(GL_VIEWPORT, 4), k.ints(GL_SCISSOR_BOX, 4);
    k.floats(GL_MODELVIEW_MATRIX, 16), k.floats(GL_PROJECTION_MATRIX, 16);
    for (const GLenum cap : {GL_CULL_FACE, GL_NORMALIZE, GL_RESCALE_NORMAL, GL_COLOR_SUM, GL_DITHER, GL_LIGHTING,
                             GL_COLOR_MATERIAL})
        k.enabled(cap);
    k.ints(GL_CULL_FACE_MODE, 1), k.ints(GL_FRONT_FACE, 1), k.ints(GL_SHADE_MODEL, 1);
    k.floats(GL_LIGHT_MODEL_AMBIENT, 4);
    k.ints(GL_LIGHT_MODEL_LOCAL_VIEWER, 1), k.ints(GL_LIGHT_MODEL_COLOR_CONTROL, 1);
    GLint two_side = 0, cm_face = 0, cm_param = 0;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &two_side);
    const bool colour_material = glIsEnabled(GL_COLOR_MATERIAL);
    if (colour_material) {
        glGetIntegerv(GL_COLOR_MATERIAL_FACE, &cm_face);
        glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &cm_param);
    }
    k.put(two_side), k.put(cm_face), k.put(cm_param);
    for (const GLenum face : {GL_FRONT, GL_BACK}) {
        if (face == GL_BACK && !two_side) continue;
        for (const GLenum pname : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION}) {
            const bool follows_colour = colour_material && tracked(cm_face, cm_param, face, pname);
            if (follows_colour) continue;
            GLfloat m[4] = {};
            glGetMaterialfv(face, pname, m);
            k.put(m);
        }
        GLfloat shininess = 0.0f;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        k.put(shininess);
    }
    GLint lights = 8;
    glGetIntegerv(GL_MAX_LIGHTS, &lights);
    for (int n = 0; n < std::min(lights, 8); ++n) {
        const GLenum light = static_cast<GLenum>(GL_LIGHT0 + n);
        const bool on = glIsEnabled(light);
        k.put(on);
        if (!on) continue;
        for (const auto& [pname, count] : {std::pair{GL_AMBIENT, 4}, {GL_DIFFUSE, 4}, {GL_SPECULAR, 4},
                                           {GL_POSITION, 4}, {GL_SPOT_DIRECTION, 3}, {GL_SPOT_EXPONENT, 1},
                                           {GL_SPOT_CUTOFF, 1}, {GL_CONSTANT_ATTENUATION, 1},
                                           {GL_LINEAR_ATTENUATION, 1}, {GL_QUADRATIC_ATTENUATION, 1}}) {
            GLfloat l[4] = {};
            glGetLightfv(light, static_cast<GLenum>(pname), l);
            for (int c = 0; c < count; ++c) k.put(l[c]);
        }
    }
    return true;
}

// The scissor box held to the textures, in window pixels: x0, y0, x1, y1.
std::array<int, 4> picture_box()
{
    const ground_picture_record& p = picture;
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    return {std::clamp(box[0], 0, p.width), std::clamp(box[1], 0, p.height), std::clamp(box[0] + box[2], 0, p.width),
            std::clamp(box[1] + box[3], 0, p.height)};
}

// The kept picture to the screen over the scissor box, texel for pixel:
// colours from the first texture unit, the alpha test on the depth marks of
// the second.
void draw_picture()
{
    const ground_picture_record& p = picture;
    const auto [ix0, iy0, ix1, iy1] = picture_box();
    const float W = static_cast<float>(p.width), H = static_cast<float>(p.height);
    const float x0 = static_cast<float>(ix0), y0 = static_cast<float>(iy0);
    const float x1 = static_cast<float>(ix1), y1 = static_cast<float>(iy1);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT | GL_COLOR_BUFFER_BIT |
                 GL_CURRENT_BIT);
    for (const GLenum cap : {GL_LIGHTING, GL_CULL_FACE, GL_COLOR_SUM, GL_FOG})
        glDisable(cap);
    for (int unit = 1; unit >= 0; --unit) {
        gl_entry::glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0 + unit));
        for (const GLenum cap : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q,
                                 GL_TEXTURE_1D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP})
            glDisable(cap);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, unit == 0 ? p.colour : p.depth);
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
    }
    // Unit 0 (active now) gives the colour; unit 1 keeps it and takes the
    // depth mark for alpha.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    gl_entry::glActiveTextureARB(GL_TEXTURE1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    gl_entry::glActiveTextureARB(GL_TEXTURE0);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_LESS, 0.5f);
    glViewport(0, 0, p.width, p.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, W, 0.0, H, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    auto corner = [W, H](float x, float y) {
        gl_entry::glMultiTexCoord2fARB(GL_TEXTURE0, x / W, y / H);
        gl_entry::glMultiTexCoord2fARB(GL_TEXTURE1, x / W, y / H);
        glVertex2f(x, y);
    };
    glBegin(GL_QUADS);
    corner(x0, y0), corner(x1, y0), corner(x1, y1), corner(x0, y1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    for (int unit = 1; unit >= 0; --unit) {
        gl_entry::glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glPopMatrix();
    }
    glPopAttrib();
}

// The cells on the screen with their cover marked in the depth buffer, the
// box copied into the textures, the depth buffer as it was (put aside and
// back through a framebuffer object with a depth buffer of the same format).
ground_tail draw_and_keep_cells(int type, const std::array<int, 4>& b)
{
    ground_picture_record& p = picture;
    const picture_calls& c = p.calls;
    // The box's depth values from the window's buffer to the one aside, or back.
    auto carry_depth = [&](GLuint from, GLuint to) {
        c.bind_framebuffer(GL_READ_FRAMEBUFFER, from);
        c.bind_framebuffer(GL_DRAW_FRAMEBUFFER, to);
        c.blit(b[0], b[1], b[2], b[3], b[0], b[1], b[2], b[3], GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        c.bind_framebuffer(GL_FRAMEBUFFER, 0);
    };
    while (glGetError() != GL_NO_ERROR) {
    }
    glDisable(GL_SCISSOR_TEST);   // the blits name their rectangles
    carry_depth(0, p.aside);
    glEnable(GL_SCISSOR_TEST);
    if (glGetError() != GL_NO_ERROR) {
        // The depth values cannot be put aside here: no picture in this context.
        p.complete = p.valid = false;
        return draw_cells(type);
    }

    glPushAttrib(GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_VIEWPORT_BIT);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDepthRange(0.0, 0.0);
    const ground_tail tail = draw_cells(type);
    glPopAttrib();

    GLint bound = 0, read_buffer = 0, draw_buffer = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    glReadBuffer(static_cast<GLenum>(draw_buffer));
    const int w = b[2] - b[0], h = b[3] - b[1];
    glBindTexture(GL_TEXTURE_2D, p.colour);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, b[0], b[1], b[0], b[1], w, h);
    glBindTexture(GL_TEXTURE_2D, p.depth);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, b[0], b[1], b[0], b[1], w, h);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glReadBuffer(static_cast<GLenum>(read_buffer));

    glDisable(GL_SCISSOR_TEST);
    carry_depth(p.aside, 0);
    glEnable(GL_SCISSOR_TEST);
    // A copy that could not be made leaves no picture: the next call draws the cells.
    p.valid = glGetError() == GL_NO_ERROR;
    return tail;
}

// The size the picture needs: the window, or the viewport and scissor box
// where they reach beyond it.
void picture_size(int& width, int& height)
{
    PLAT_window_pixel_size(width, height);
    GLint view[4] = {}, box[4] = {};
    glGetIntegerv(GL_VIEWPORT, view);
    glGetIntegerv(GL_SCISSOR_BOX, box);
    width = std::max({width, std::min(view[0] + view[2], box[0] + box[2]), 1});
    height = std::max({height, std::min(view[1] + view[3], box[1] + box[3]), 1});
}

// Below this many cells in the window, drawing them costs less than keeping
// their picture (two copies and two depth blits of the whole map box).
constexpr int FEW_CELLS = 4096;

// How the 2-D units of the map map to window pixels under the current
// matrices and viewport: px = ax u + bx, py = ay v + by.
struct pixel_mapping {
    double ax, bx, ay, by;
};

// False where the mapping turns, leans or has perspective.
bool unit_to_pixel(pixel_mapping& m)
{
    GLfloat mv[16] = {}, pr[16] = {};
    GLint vp[4] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);
    double c[16] = {};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) c[col * 4 + row] += double(pr[k * 4 + row]) * double(mv[col * 4 + k]);
    const double w = c[15], tiny = 1.0e-6 * (std::fabs(c[0]) + std::fabs(c[5]));
    for (const int k : {1, 3, 4, 7})
        if (!(std::fabs(c[k]) <= tiny)) return false;
    if (!(std::fabs(w) > 0.0)) return false;
    m.ax = c[0] / w * vp[2] / 2.0, m.bx = vp[0] + (c[12] / w + 1.0) * vp[2] / 2.0;
    m.ay = c[5] / w * vp[3] / 2.0, m.by = vp[1] + (c[13] / w + 1.0) * vp[3] / 2.0;
    return std::isfinite(m.ax) && std::isfinite(m.bx) && std::isfinite(m.ay) && std::isfinite(m.by) && m.ax != 0.0 &&
           m.ay != 0.0;
}

// The part of the visible window whose cells, moved by t units, may reach
// the units lo..hi across x (`across_x`) or y: every row (along i) or column
// (along j) of cells that does, with the window's whole extent the other way.
// False when no cell does.
bool strip_window(bool across_x, float lo, float hi, float t, map_visible_window_record& out)
{
    const map_visible_window_record w = map_visible_window;
    // The extent of each grid line across the strip, then of each row of cells between two lines.
    const int first = across_x ? w.low_row : w.low_column, last = across_x ? w.high_row : w.high_column;
    static std::vector<float> line_lo, line_hi;
    line_lo.assign(static_cast<size_t>(last - first + 2), 1.0e30f);
    line_hi.assign(line_lo.size(), -1.0e30f);
    for (int i = w.low_row; i <= w.high_row + 1; ++i)
        for (int j = w.low_column; j <= w.high_column + 1; ++j) {
            const terrain_vertex& v = map_projected_grid[TERRAIN_index(i, j)];
            const float u = (across_x ? v.x : v.y) + t;
            const size_t n = static_cast<size_t>((across_x ? i : j) - first);
            // A point that is not finite may lie anywhere: its lines reach the strip.
            if (!std::isfinite(u)) {
                line_lo[n] = -1.0e30f, line_hi[n] = 1.0e30f;
                continue;
            }
            line_lo[n] = std::min(line_lo[n], u), line_hi[n] = std::max(line_hi[n], u);
        }
    int from = last + 1, to = first - 1;
    for (int k = first; k <= last; ++k) {
        const size_t n = static_cast<size_t>(k - first);
        const float a = std::min(line_lo[n], line_lo[n + 1]), b = std::max(line_hi[n], line_hi[n + 1]);
        if (a > hi || b < lo) continue;
        from = std::min(from, k), to = std::max(to, k);
    }
    if (from > to) return false;
    out = w;
    (across_x ? out.low_row : out.low_column) = from;
    (across_x ? out.high_row : out.high_column) = to;
    return true;
}

// Draws the ground by moving the kept picture to this call's reference
// point, rounded to whole pixels, into the spare pair of textures (colours
// and depth marks together, through their framebuffer objects), drawing
// there the cells of the strips it uncovers at the picture's own point, so
// that the new picture is again the map at one point, and drawing that to
// the screen as a kept picture is. The window's depth buffer is not touched.
// False (nothing drawn) where it cannot be done: no spare pair, another kind
// of mapping to pixels, or a move that uncovers half the box or more, which
// costs as much as drawing it all. Moved by whole pixels, a shifted picture
// stands less than half a pixel from where drawing the cells would put the
// ground; that holds only while the map moves: a resting map is drawn in
// full, exactly as the cells are.
bool shift_picture(int type, const std::array<int, 4>& box)
{
    ground_picture_record& p = picture;
    pixel_mapping m{};
    if (!p.shiftable || !unit_to_pixel(m)) return false;
    const double s = map_scale;
    const double dx = (p.ref_x - double(map_ref_x)) * s * m.ax, dy = (double(map_ref_z) - p.ref_z) * s * m.ay;
    const int bw = box[2] - box[0], bh = box[3] - box[1];
    if (!(std::fabs(dx) * 2.0 < bw && std::fabs(dy) * 2.0 < bh)) return false;
    const int nx = static_cast<int>(std::lround(dx)), ny = static_cast<int>(std::lround(dy));
    const double ref_x = p.ref_x - nx / (s * m.ax), ref_z = p.ref_z + ny / (s * m.ay);
    // The cells were projected at this call's point; the picture's point lies under a pixel away.
    const float tx = static_cast<float>(-(ref_x - double(map_ref_x)) * s);
    const float ty = static_cast<float>((ref_z - double(map_ref_z)) * s);
    struct strip_record {
        int x0, y0, x1, y1;
        bool across_x;
    };
    strip_record strips[2];
    int count = 0;
    if (nx > 0) strips[count++] = {box[0], box[1], box[0] + nx, box[3], true};
    if (nx < 0) strips[count++] = {box[2] + nx, box[1], box[2], box[3], true};
    if (ny > 0) strips[count++] = {box[0], box[1], box[2], box[1] + ny, false};
    if (ny < 0) strips[count++] = {box[0], box[3] + ny, box[2], box[3], false};

    // The new picture in the spare pair: the old one moved, the strips' cells
    // drawn over it with their cover marked in its depth.
    const picture_calls& c = p.calls;
    while (glGetError() != GL_NO_ERROR) {
    }
    glPushAttrib(GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
    c.bind_framebuffer(GL_FRAMEBUFFER, p.spare_frame);
    glEnable(GL_SCISSOR_TEST);
    glScissor(box[0], box[1], bw, bh);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    const int sx0 = std::max(box[0], box[0] - nx), sx1 = std::min(box[2], box[2] - nx);
    const int sy0 = std::max(box[1], box[1] - ny), sy1 = std::min(box[3], box[3] - ny);
    c.bind_framebuffer(GL_READ_FRAMEBUFFER, p.frame);
    c.blit(sx0, sy0, sx1, sy1, sx0 + nx, sy0 + ny, sx1 + nx, sy1 + ny, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
           GL_NEAREST);
    c.bind_framebuffer(GL_FRAMEBUFFER, p.spare_frame);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDepthRange(0.0, 0.0);
    for (int k = 0; k < count; ++k) {
        const strip_record& r = strips[k];
        glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
        // The strip in units, a pixel wider each way.
        const double a = r.across_x ? m.ax : m.ay, b = r.across_x ? m.bx : m.by;
        const double p0 = (r.across_x ? r.x0 : r.y0) - 1.0, p1 = (r.across_x ? r.x1 : r.y1) + 1.0;
        const double u0 = (p0 - b) / a, u1 = (p1 - b) / a;
        map_visible_window_record part{};
        if (!strip_window(r.across_x, static_cast<float>(std::min(u0, u1)), static_cast<float>(std::max(u0, u1)),
                          r.across_x ? tx : ty, part))
            continue;
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslatef(tx, ty, 0.0f);
        draw_cell_window(type, part);
        glPopMatrix();
    }
    c.bind_framebuffer(GL_FRAMEBUFFER, 0);
    glPopAttrib();
    std::swap(p.colour, p.spare_colour);
    std::swap(p.depth, p.spare_depth);
    std::swap(p.frame, p.spare_frame);
    if (glGetError() != GL_NO_ERROR) {
        // No picture could be made: the cells in full, and a full redraw next time.
        p.valid = false;
        p.tail = draw_cells(type);
        return true;
    }
    draw_picture();
    p.tail = window_tail(type);
    p.ref_x = ref_x, p.ref_z = ref_z;
    p.exact = false;
    return true;
}

ground_tail draw_cells_through_cache(int type)
{
    ground_picture_record& p = picture;
    map_ground_cache_record& counts = map_ground_cache;
    const map_visible_window_record& w = map_visible_window;
    const int cells = (w.high_row - w.low_row + 1) * (w.high_column - w.low_column + 1);
    if (!counts.enabled || cells < FEW_CELLS) {
        ++counts.redraws;
        return draw_cells(type);
    }
    int width = 0, height = 0;
    picture_size(width, height);
    std::vector<unsigned char>& key = p.scratch;
    key.clear();
    if (!picture_ready(width, height) || !build_key(type, key)) {
        p.valid = false;
        ++counts.redraws;
        return draw_cells(type);
    }
    const bool same = p.valid && key == p.key;
    const bool moved = map_ref_x != p.last_ref_x || map_ref_z != p.last_ref_z;
    p.last_ref_x = map_ref_x, p.last_ref_z = map_ref_z;
    if (same && p.exact && double(map_ref_x) == p.ref_x && double(map_ref_z) == p.ref_z) {
        draw_picture();
        ++counts.reuses;
        return p.tail;
    }
    const std::array<int, 4> box = picture_box();
    if (box[2] <= box[0] || box[3] <= box[1]) {
        ++counts.redraws;
        p.valid = false;
        return draw_cells(type);
    }
    // While the map moves its picture is shifted; once it rests it is drawn in full.
    if (same && moved && shift_picture(type, box)) {
        ++counts.shifts;
        return p.tail;
    }
    ++counts.redraws;
    p.tail = draw_and_keep_cells(type, box);
    if (p.valid) p.key.swap(key);
    p.ref_x = map_ref_x, p.ref_z = map_ref_z;
    p.exact = true;
    return p.tail;
}

}  // namespace

void MAP_ground_cache_reset()
{
    map_ground_cache = {};
    picture.valid = false;
    for (terrain_vertex& v : map_projected_grid) v = terrain_vertex{};
    map_visible_window = {};
    ground = ground_arrays{};
}
ORVELL_RESET(MAP_ground_cache_reset, scene);

namespace {

void draw_ground(int type, int overlay)
{
    const map_visible_window_record w = map_visible_window;
    if (type == 4) {
        const terrain_window_record saved = terrain_window;
        // The scene's window counts its columns along i (east) and its rows along j.
        terrain_window = {w.low_row, w.low_column, w.high_row, w.high_column};
        SURFACE_draw_patch(map_projected_grid, 2, 1, overlay);
        terrain_window = saved;
        return;
    }
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    if (w.low_row > w.high_row || w.low_column > w.high_column) return;
    const ground_tail tail = draw_cells_through_cache(type);
    // Leave the colour and normal of the last vertex current, as drawing the
    // cells one by one would.
    glColor4fv(tail.colour.c);
    glNormal3fv(tail.normal);
}

// A latitude, longitude and elevation on the map.
bool to_map(double lat, double lon, double elev, float& sx, float& sy)
{
    float x = 0.0f, y = 0.0f, z = 0.0f;
    GEO_latlon_to_local(x, y, z, lat, lon, elev);
    sx = MAP_x_to_screen(x);
    sy = MAP_z_to_screen(z);
    return finite2(sx, sy);
}

void draw_airports(int colour)
{
    // A last index beyond the list, an index outside the airport table or an
    // airport without runways (from a damaged airport file) would read past
    // the tables: such entries are not drawn.
    const int last = std::min(local_airport_last, LOCAL_AIRPORT_MAX - 1);
    for (int n = 0; n <= last; ++n) {
        const int a = local_airport_list[n];
        const airport_record* apt = APT_table_at(a);
        if (!apt || apt->runways.empty()) continue;
        float x, y;
        if (!to_map(apt->runways[0].lat, apt->runways[0].lon, apt->elevation, x, y)) continue;
        MAP_draw_airport(x, y, apt->tower_flag ? 73 : colour, a, 1, 1);
    }
    if (app_mode != MODE_OPERATOR_STATION && app_mode != MODE_OPERATOR_AIRPORT) return;
    const airport_record* apt = APT_table_at(chart_airport);
    if (!apt) return;
    const float d = 10.0f * UNIT.nm_to_mtrs * map_scale;
    for (const runway_record& r : apt->runways) {
        if (r.number[0] == 'x') continue;
        float x, y;
        if (!to_map(r.lat, r.lon, apt->elevation, x, y) || !std::isfinite(r.heading)) continue;
        const float h = r.heading * DEG_TO_RAD_FLOAT;
        OGL_draw_line(colour, 0.5f, x + d * std::sin(h), y + d * std::cos(h), x - d * std::sin(h),
                      y - d * std::cos(h));
    }
}

// The scenery objects of kinds 2 to 8 (blocks, towers, stacks, custom
// objects) show as the object symbol; control towers, navaid buildings,
// tall blocks and hangars do not.
void draw_objects(int colour)
{
    for (const object_placement& p : placement_list) {
        // An object index from a damaged scenery file outside the object table
        // would read past it: the placement is not drawn.
        if (p.object < 0 || p.object >= static_cast<int>(object_table.size())) continue;
        const int kind = object_table[static_cast<size_t>(p.object)].kind;
        if (kind < 2 || kind > 8) continue;
        const float x = MAP_x_to_screen(p.x), y = MAP_z_to_screen(p.z);
        if (x >= map_origin_x && x <= map_right && y >= map_origin_y && y <= map_top)
            MAP_draw_object(x, y, colour, 0, 3, 0);
    }
}

void draw_navaids(int colour)
{
    const bool chart = app_mode == MODE_OPERATOR_AIRPORT;
    for (size_t n = 0; n < navaid_table.size(); ++n) {
        const navaid_record& v = navaid_table[n];
        if (!v.local) continue;
        const int k = v.kind;
        const bool listed = k == NAV_NDB || k == NAV_VOR || k == NAV_DME ||
                            (chart && k >= NAV_ILS_LOC && k <= NAV_INNER_MARKER);
        if (!listed) continue;
        float x, y;
        if (!to_map(v.lat, v.lon, v.height, x, y)) continue;
        MAP_draw_object(x, y, colour, 1, k, static_cast<int>(n));
    }
}

void draw_features()
{
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const float a = std::clamp(0.5f + (screen_settings.map_zoom - 1.0f) / 6.0f, 0.5f, 1.0f);
    static constexpr int rows[SEG_SECTIONS] = {49, 62, 76, 72, 66, 60};
    const map_visible_window_record& w = map_visible_window;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    for (int k = 0; k < SEG_SECTIONS; ++k) {
        OGL_apply_color(rows[k], a <= 0.99f ? a : 1.0f);
        for (int i = w.low_row; i < w.high_row; ++i)
            for (int j = w.low_column; j < w.high_column; ++j) {
                const std::vector<segment_point>* list = SEG_list(k, i, j);
                if (!list || list->empty()) continue;
                glBegin(GL_LINE_STRIP);
                for (const segment_point& s : *list) {
                    const float x = MAP_x_to_screen((s.x + s.edge_x) * 0.5f);
                    const float y = MAP_z_to_screen((s.z + s.edge_z) * 0.5f);
                    if (finite2(x, y)) glVertex2f(ox + x, oy + y);
                    if (s.span_flag == SEG_END) {
                        glEnd();
                        glBegin(GL_LINE_STRIP);
                    }
                }
                glEnd();
            }
    }
}

// A point cut toward zero to whole units. A point that is not finite or lies
// beyond what an int holds has no whole-unit value (its cut is undefined):
// false, and it is not drawn.
bool whole_units(float& x, float& y)
{
    if (!(std::fabs(x) < 2147483648.0f && std::fabs(y) < 2147483648.0f)) return false;
    x = std::trunc(x), y = std::trunc(y);
    return true;
}

void draw_airways(int level)
{
    for (const airway_record& r : airway_table) {
        if (!r.local || r.level != level) continue;
        float x1, y1, x2, y2;
        if (!to_map(r.lat1, r.lon1, 0.0, x1, y1) || !to_map(r.lat2, r.lon2, 0.0, x2, y2)) continue;
        if (!whole_units(x1, y1) || !whole_units(x2, y2)) continue;
        OGL_draw_line(73, 0.2f, x1, y1, x2, y2);
        if (screen_settings.map_zoom <= 2.0f) continue;
        char name[AWY_NAME_SIZE + 1] = {};
        std::memcpy(name, r.name, AWY_NAME_SIZE);
        const float mx = (x1 + x2) / 2.0f, my = (y1 + y2) / 2.0f;
        const float w = 3.0f * static_cast<float>(std::strlen(name));
        OGL_fill_rect(73, 0.3f, mx - w - 1.0f, my - 4.0f, 2.0f * w + 2.0f, 9.0f);
        OGL_draw_string(49, mx - w, my - 3.0f, name, 9999.0f, 100);
    }
}

void draw_fixes(int colour)
{
    for (const fix_record& f : fix_table) {
        if (!f.local) continue;
        float x, y;
        if (!to_map(f.lat, f.lon, 0.0, x, y) || !whole_units(x, y)) continue;
        MAP_draw_object(x, y, colour, 0, 97, 0);
        char id[FIX_ID_SIZE + 1] = {};
        std::memcpy(id, f.id, FIX_ID_SIZE);
        OGL_draw_string(colour, x - 14.0f, y - 13.0f, id, 9999.0f, 100);
    }
}

void draw_sea_and_fire()
{
    static constexpr struct {
        int slot, type;
    } sea[] = {{SHIP_CARRIER, 101}, {SHIP_FRIGATE, 100}, {SEA_PLATFORM_1, 102}, {SEA_PLATFORM_2, 103}};
    for (const auto& s : sea) {
        const float x = ship_x[s.slot], z = ship_z[s.slot];
        if (!finite2(x, z) || !TERRAIN_point_in_area(x, ship_y[s.slot], z, 0.0f)) continue;
        MAP_draw_object(MAP_x_to_screen(x), MAP_z_to_screen(z), 49, 0, s.type, 0);
    }
    if (fire_table.present && sim_weather.temperature_sealevel_c > 0.0f &&
        sim_weather.rain_percent == 0.0f) {
        const float x = MAP_x_to_screen(fire_table.x[0]), y = MAP_z_to_screen(fire_table.z[0]);
        if (finite2(x, y)) MAP_draw_object(x, y, 49, 0, 104, 0);
    }
}

void draw_path_and_aircraft()
{
    for (int k = 0; k < REPLAY_RING_SIZE; ++k)
        MAP_draw_flight_path(k == 0, MAP_x_to_screen(replay_ring[k].local_x), MAP_z_to_screen(replay_ring[k].local_z),
                             k, 1);
    // draw_aircrafts is published and saved: a count beyond the plane slots
    // would read past them, so it is held to the slots there are.
    const int planes = std::clamp(sim_graphics_settings.draw_aircrafts, 0, FLT_SLOTS);
    for (int p = 0; p < planes; ++p) {
        const float x = MAP_x_to_screen(flt[p].local_x), y = MAP_z_to_screen(flt[p].local_z);
        if (!finite2(x, y)) continue;
        const int row = p == 0 ? 87 : (p == operator_panel.target_plane ? 88 : 59);
        MAP_draw_object(x, y, row, 0, 99, p);
    }
}

void draw_scales()
{
    const float left = map_origin_x, bottom = map_origin_y, right = map_right, top = map_top;
    OGL_draw_line(76, 1.0f, left + 5.0f, bottom + 5.0f, right, bottom + 5.0f);
    OGL_draw_line(76, 1.0f, left + 5.0f, bottom + 5.0f, left + 5.0f, top);
    const float zoom = screen_settings.map_zoom;
    const int step = static_cast<int>(std::clamp(std::trunc(10.0f / zoom), 1.0f, 10.0f));
    const float unit = UNIT.nm_to_mtrs * map_scale;
    // The map is scissored to its rectangle: a tick whose line and label lie
    // wholly beyond it shows nothing, nor does any after it.
    constexpr float label_reach = 10.0f;
    for (int d = step; d < 180; d += step) {
        const float X = left + static_cast<float>(d) * unit;
        if (X > right + label_reach) break;
        OGL_draw_line(76, 1.0f, X, bottom + 5.0f, X, bottom + 10.0f);
        OGL_draw_string_fmt(76, X - 6.0f, bottom + 12.0f, static_cast<float>(d), 3, 0, 0, 100);
    }
    for (int d = step; d < 120; d += step) {
        const float Y = bottom + static_cast<float>(d) * unit;
        if (Y > top + label_reach) break;
        OGL_draw_line(76, 1.0f, left + 5.0f, Y, left + 10.0f, Y);
        OGL_draw_string_fmt(76, left + 12.0f, Y - 3.0f, static_cast<float>(d), 3, 0, 0, 100);
    }
}

}  // namespace

void MAP_draw_window(int overlay)
{
    // The map type comes from the preference file: a value outside 0..5 would
    // read past the layer-colour table, so it is held to 0..5.
    const int type = std::clamp(screen_settings.map_type, 0, 5);
    const float zoom = screen_settings.map_zoom;
    const bool navaids = type == 0 || type == 1 || (type == 2 && zoom > 1.5f);
    const bool objects = zoom > 4.0f && (type == 2 || type == 4 || type == 5);
    const bool features = type == 2 || type == 4;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    project_grid(ox + map_origin_x, oy + map_origin_y, ox + map_right, oy + map_top);

    OGL_scissor_on(map_origin_x, map_origin_y, map_right - map_origin_x, map_top - map_origin_y);
    const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1.0f}, light_dir[4] = {-0.55f, 0.55f, -0.55f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_POSITION, light_dir);
    glEnable(GL_LIGHT0);
    draw_ground(type, overlay);

    const layer_colours c = type_colours[type];
    draw_airports(c.airport);
    if (objects) draw_objects(c.object);
    if (navaids) draw_navaids(c.navaid);
    if (features) draw_features();
    if (type == 0 || type == 1) draw_airways(type + 1);
    if (navaids && zoom > 5.0f) draw_fixes(c.navaid);
    draw_sea_and_fire();
    if (type == 3 && sim_weather.rain_percent > 0.0f) {
        const scenery_area_record& a = scenery_area;
        const float w = MAP_x_to_screen(a.x0), e = MAP_x_to_screen(a.x1);
        const float n = MAP_z_to_screen(a.z0), s = MAP_z_to_screen(a.z1);
        PANEL_draw_radar_texture(map_origin_x, map_origin_y, map_right, map_top, w, s, w, n, e, n, e, s, 0.5f);
        OGL_scissor_on(map_origin_x, map_origin_y, map_right - map_origin_x, map_top - map_origin_y);
    }
    draw_path_and_aircraft();
    draw_scales();
    OGL_scissor_off();
}
