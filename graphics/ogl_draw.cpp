#include "graphics/ogl_draw.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/reset_registry.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/app_mode.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"

int32_t screenshot_counter = -1;

void SCREENSHOT_reset() { screenshot_counter = -1; }
ORVELL_RESET(SCREENSHOT_reset, program);

namespace {

// Texels of pixel-buffer drawing: 4 bytes at a row stride of 1024, clipped to
// the buffer (a texel off its edges would be written past the buffer).
void put_pixel(double row, double col)
{
    if (!(row > -1.0 && row < 1025.0 && col > -1.0 && col < 1025.0)) return;   // also NaN
    const long r = std::lround(row), c = std::lround(col);
    if (r < 0 || r >= PIXEL_BUFFER_SIDE || c < 0 || c >= PIXEL_BUFFER_SIDE) return;
    uint8_t* t = pixel_buffer + (size_t(r) * PIXEL_BUFFER_SIDE + size_t(c)) * 4;
    t[0] = pixel_byte_colour[0];
    t[1] = pixel_byte_colour[1];
    t[2] = pixel_byte_colour[2];
    t[3] = 255;
}

// An edge of a pixel-buffer box, rounded half away from zero and held inside
// the buffer (an edge beyond it would write past the buffer).
int box_edge(double v)
{
    if (!(v > 0.0)) return 0;   // also NaN
    if (v > double(PIXEL_BUFFER_SIDE)) return PIXEL_BUFFER_SIDE;
    return static_cast<int>(std::lround(v));
}

// A line of a huge (or not finite) length would step for ever; past this
// many texels every further one lies off the buffer anyway.
constexpr long MAX_LINE_STEPS = 4L * 1024 * 1024;

// The corners of a box of the screen area (x, y, width, height, placed at
// left, bottom) from the lower left one round, drawn as `mode`; `closed`
// repeats the first corner to close an outline.
void rect_vertices(GLenum mode, float x, float y, float width, float height, float left, float bottom, bool closed)
{
    glBegin(mode);
    glVertex2f(x + left, y + bottom);
    glVertex2f(x + left, y + height + bottom);
    glVertex2f(x + width + left, y + height + bottom);
    glVertex2f(x + width + left, y + bottom);
    if (closed) glVertex2f(x + left, y + bottom);
    glEnd();
}

}  // namespace

void OGL_draw_line(int row, float alpha, float x1, float y1, float x2, float y2)
{
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    if (draw_to_pixel_buffer) {
        OGL_row_to_bytes(row, pixel_byte_colour);
        const float dx = x2 - x1, dy = y2 - y1;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (!std::isfinite(length)) return;
        const float ux = length > 0.0f ? dx / length : 0.0f;
        const float uy = length > 0.0f ? dy / length : 0.0f;
        // From the start point, one unit step after each texel.
        float px = x1 + left, py = y1 + bottom;
        for (long i = 0; static_cast<float>(i) < length + 0.5f && i < MAX_LINE_STEPS; ++i) {
            put_pixel(py, px);
            px += ux;
            py += uy;
        }
        return;
    }
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, alpha < 0.99f ? STATE_BLEND : STATE_OPAQUE,
                  STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(row, alpha);
    glBegin(GL_LINES);
    glVertex2f(x1 + left + 0.5f, y1 + bottom + 0.5f);
    glVertex2f(x2 + left + 0.5f, y2 + bottom + 0.5f);
    glEnd();
}

void OGL_fill_rect(int row, float alpha, float x, float y, float width, float height)
{
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    if (draw_to_pixel_buffer) {
        OGL_row_to_bytes(row, pixel_byte_colour);
        const int c0 = box_edge(double(left) + x), c1 = box_edge(double(left) + x + width);
        const int r0 = box_edge(double(bottom) + y), r1 = box_edge(double(bottom) + y + height);
        for (int r = r0; r < r1; ++r)
            for (int c = c0; c < c1; ++c) put_pixel(r, c);
        return;
    }
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(row, alpha);
    rect_vertices(GL_QUADS, x, y, width, height, left, bottom, false);
}

void OGL_draw_rect_outline(int row, float alpha, float x, float y, float width, float height)
{
    const float left = screen.screen_area_left + 0.5f, bottom = screen.screen_area_bottom + 0.5f;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, alpha < 0.99f ? STATE_BLEND : STATE_OPAQUE,
                  STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(row, alpha);
    rect_vertices(GL_LINE_STRIP, x, y, width, height, left, bottom, true);
}

void OGL_draw_circle(int row, float centre_x, float centre_y, float radius)
{
    const float cx = centre_x + screen.screen_area_left + 0.5f;
    const float cy = centre_y + screen.screen_area_bottom + 0.5f;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(row, 1.0f);
    glBegin(GL_LINE_STRIP);
    for (int d = 0; d <= 360; d += 5) glVertex2f(cx + radius * degree_sin[d], cy + radius * degree_cos[d]);
    glEnd();
}

void OGL_shade_box(float x1, float y1, float x2, float y2, float alpha)
{
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(33, alpha);
    glBegin(GL_QUADS);
    glVertex2f(x1 + left, y1 + bottom);
    glVertex2f(x1 + left, y2 + bottom);
    glVertex2f(x2 + left, y2 + bottom);
    glVertex2f(x2 + left, y1 + bottom);
    glEnd();
}

void OGL_draw_tex_quad(int slot, int row, float alpha, const tex_quad_corner corners[4], int tex_units,
                       int transparency)
{
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    OGL_set_state(STATE_FOG_OFF, tex_units, STATE_LIGHTING_OFF, transparency, STATE_DEPTH_TEST_OFF,
                  STATE_DEPTH_WRITE_OFF);
    if (slot >= 1) OGL_bind_tex(slot, 0);
    OGL_apply_color(row, alpha);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(corners[i].s, corners[i].t);
        glVertex2f(corners[i].x + left, corners[i].y + bottom);
    }
    glEnd();
}

namespace {

constexpr int BACKGROUND_TILES = 12;

// The twelve tiles of the background, four across and three up from the bottom left.
void background_tiles()
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            OGL_bind_tex(TEX_SLOT_BACKGROUND_FIRST + c + 4 * r, 0);
            const float x0 = 256.0f * static_cast<float>(c), y0 = 256.0f * static_cast<float>(r);
            glBegin(GL_QUADS);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(x0, y0);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(x0, y0 + 256.0f);
            glTexCoord2f(1.0f, 1.0f);
            glVertex2f(x0 + 256.0f, y0 + 256.0f);
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(x0 + 256.0f, y0);
            glEnd();
        }
}

// Everything the drawn background depends on besides the window rows it covers.
struct background_key {
    std::array<float, 16> projection{}, modelview{};
    std::array<GLint, 4> viewport{};
    std::array<float, 4> colour{};
    std::array<uint32_t, BACKGROUND_TILES> uploads{};
    bool operator==(const background_key&) const = default;
};

background_key current_background_key()
{
    background_key k;
    glGetFloatv(GL_PROJECTION_MATRIX, k.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, k.modelview.data());
    glGetIntegerv(GL_VIEWPORT, k.viewport.data());
    glGetFloatv(GL_CURRENT_COLOR, k.colour.data());
    for (int t = 0; t < BACKGROUND_TILES; ++t) k.uploads[size_t(t)] = texture_uploads[TEX_SLOT_BACKGROUND_FIRST + t];
    return k;
}

// The drawn background kept in a framebuffer object of the window's size:
// the rows of the window it wholly covers are copied from it each frame
// instead of textured afresh, which on a processor-filled picture is most of
// the frame's work. It is drawn again when what it depends on has changed
// and then held for a frame (a key that changes every frame, the panel
// dimming under g-load, is drawn directly). The frame shows the same picture
// as drawing the tiles: every input of the drawing is in its key.
struct background_cache_record {
    GLuint framebuffer = 0;
    GLuint colour = 0;
    int width = 0, height = 0;
    bool refused = false;   // the renderer cannot do it: always drawn directly
    bool drawn = false;     // the framebuffer holds the picture of `key`
    background_key key;
    background_key candidate;
    bool have_candidate = false;
    int clear_top_rows = 0;   // the picture's top texel rows with every texel clear
};
background_cache_record background_cache;

// Makes the framebuffer of the window's size, its colour a texture the
// frame copies from; false when the renderer refuses it.
bool background_framebuffer(int width, int height)
{
    background_cache_record& c = background_cache;
    if (c.framebuffer != 0 && c.width == width && c.height == height) return true;
    if (c.framebuffer == 0) {
        glGenFramebuffers(1, &c.framebuffer);
        glGenTextures(1, &c.colour);
    }
    if (c.framebuffer == 0 || c.colour == 0) return false;
    glBindTexture(GL_TEXTURE_2D, c.colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    bound_texture[0] = -1;   // unit 0 no longer holds the slot the binder last put there
    GLint kept = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &kept);
    glBindFramebuffer(GL_FRAMEBUFFER, c.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, c.colour, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(kept));
    c.width = width;
    c.height = height;
    c.drawn = false;
    return complete;
}

// The bottom `rows` rows of the kept picture put into the frame texel for
// texel: a quad over those rows, its texture the kept picture sampled at the
// nearest texel and written as it is (the texture replaces the colour, which
// takes no colour to interpolate or multiply per pixel), with nothing else
// on. On a software renderer this plain textured span costs a fraction of a
// framebuffer blit.
void put_kept_rows(int rows)
{
    background_cache_record& c = background_cache;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, c.width, c.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    glBindTexture(GL_TEXTURE_2D, c.colour);
    bound_texture[0] = -1;
    GLint env = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const float t = static_cast<float>(rows) / static_cast<float>(c.height);
    const float y = 2.0f * t - 1.0f;
    glBegin(GL_QUADS);   // wound clockwise, the front face the program draws with
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(0.0f, t);
    glVertex2f(-1.0f, y);
    glTexCoord2f(1.0f, t);
    glVertex2f(1.0f, y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, env);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

// How many texel rows at the top of the picture (of its top row of tiles)
// are wholly clear, read back from the tiles' textures.
int clear_top_rows()
{
    std::vector<uint8_t> texels;
    int clear = 256;
    for (int c = 0; c < 4 && clear > 0; ++c) {
        const int slot = TEX_SLOT_BACKGROUND_FIRST + 8 + c;
        OGL_bind_tex(slot, 0);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        if (w <= 0 || w > 1024 || h != 256) return 0;   // the margins below take a texel as a unit
        texels.assign(size_t(w) * size_t(h) * 4, 0);
        {
            const OGL_pixel_rows_guard rows(true);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        }
        // Texel rows from the top down.
        int rows = 0;
        for (int y = h - 1; y >= 0; --y) {
            bool all_clear = true;
            for (int x = 0; x < w && all_clear; ++x) all_clear = texels[(size_t(y) * size_t(w) + size_t(x)) * 4 + 3] == 0;
            if (!all_clear) break;
            ++rows;
        }
        clear = std::min(clear, rows);
    }
    return clear;
}

// The first window row from which every fragment of the background is
// thrown away by the alpha test (its texels are all clear), or the window's
// height when there is none.
int first_clear_window_row(const background_key& k, int clear_top_rows, int height)
{
    if (clear_top_rows <= 0) return height;
    GLint function = 0;
    GLfloat reference = 0.0f;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    if (function != GL_GREATER || !(reference >= 0.0f)) return height;
    // The window row of an interface height: y through the model-view and
    // projection matrices (column-major) and the viewport.
    const auto window_y = [&k](float y) {
        const float* M = k.modelview.data();
        const float* P = k.projection.data();
        const float e[4] = {M[4] * y + M[12], M[5] * y + M[13], M[6] * y + M[14], M[7] * y + M[15]};
        const float cy = P[1] * e[0] + P[5] * e[1] + P[9] * e[2] + P[13] * e[3];
        const float cw = P[3] * e[0] + P[7] * e[1] + P[11] * e[2] + P[15] * e[3];
        return static_cast<float>(k.viewport[1]) + static_cast<float>(k.viewport[3]) * (0.5f * cy / cw + 0.5f);
    };
    // A fragment samples the texel rows within one texel of its point: the
    // rows from a texel inside the clear ones sample clear texels only.
    const float boundary = 768.0f - static_cast<float>(clear_top_rows) + 1.0f;
    const float below = window_y(boundary - 1.0f), at = window_y(boundary);
    if (!std::isfinite(at) || !(at > below)) return height;
    const float first = std::ceil(at - 0.5f) + 1.0f;   // a row's centre at or above it, and a row to spare
    if (!(first < static_cast<float>(height))) return height;
    return std::max(static_cast<int>(first), 0);
}

// Copies the bottom `rows` rows of the kept background into the frame,
// drawing it into the framebuffer first when it is out of date. False when
// it cannot be kept here (the frame then draws those rows itself).
bool copy_kept_background(int rows)
{
    background_cache_record& c = background_cache;
    const int width = screen.window_width, height = screen.window_height;
    if (c.refused || rows <= 0 || width <= 0 || height <= 0 || rows > height) return false;
    if (glIsEnabled(GL_SCISSOR_TEST)) return false;
    // The copy must land exactly as drawing would: a single-sampled frame
    // with 8 bits a colour, like the kept picture.
    GLint samples = 0, red = 0, green = 0, blue = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &samples);
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    if (samples != 0 || red != 8 || green != 8 || blue != 8) return false;

    const background_key key = current_background_key();
    if (!c.drawn || !(key == c.key) || c.width != width || c.height != height) {
        // A new picture is kept once it has stayed the same for a frame.
        const bool steady = c.have_candidate && key == c.candidate;
        c.candidate = key;
        c.have_candidate = true;
        if (!steady) return false;
        if (!background_framebuffer(width, height)) {
            c.refused = true;
            return false;
        }
        GLint kept = 0;
        GLfloat clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &kept);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        glBindFramebuffer(GL_FRAMEBUFFER, c.framebuffer);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        background_tiles();
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(kept));
        c.key = key;
        c.drawn = true;
        c.clear_top_rows = clear_top_rows();
    }

    put_kept_rows(rows);
    return true;
}

}  // namespace

void OGL_forget_kept_background()
{
    background_cache = background_cache_record{};   // a new context starts without its framebuffer and texture
}
ORVELL_RESET(OGL_forget_kept_background, scene);

void OGL_draw_background(int opaque_rows)
{
    const float side = screen.ui_side_margin, top = screen.ui_top_margin;
    if (app_mode != MODE_FLYING && (side > 0.5f || top > 0.5f)) {
        OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF,
                      STATE_DEPTH_WRITE_OFF);
        OGL_apply_color(36, 1.0f);
        glBegin(GL_QUADS);
        glVertex2f(-side, 0.0f);
        glVertex2f(-side, 768.0f + top);
        glVertex2f(1024.0f + side, 768.0f + top);
        glVertex2f(1024.0f + side, 0.0f);
        glEnd();
    }

    const float alpha = (app_mode == MODE_FLYING && sim_graphics_settings.transparent_panel) ? 0.4f : 1.0f;
    const auto tile_state = [alpha] {
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, alpha <= 0.99f ? STATE_BLEND : STATE_ALPHA_TEST,
                      STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        glColor4f(sim_graphics_misc.cockpit_light_level_r * gload_dim_factor,
                  sim_graphics_misc.cockpit_light_level_g * gload_dim_factor,
                  sim_graphics_misc.cockpit_light_level_b * gload_dim_factor, alpha);
    };
    tile_state();
    // Rows the picture wholly covers look the same whatever lies under them.
    if (alpha > 0.99f && copy_kept_background(opaque_rows)) {
        tile_state();   // the copy left its own state and colour
        // Between the copied rows and the clear top: the tiles drawn, the
        // scene showing through their clear texels.
        const int top = first_clear_window_row(background_cache.key, background_cache.clear_top_rows,
                                               screen.window_height);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, opaque_rows, screen.window_width, std::max(top - opaque_rows, 0));
        background_tiles();
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    background_tiles();
}

void OGL_screenshot()
{
    if (screenshot_counter == INT32_MAX) return;   // no number left: raising it would overflow
    {
        // Tight rows: a row length or skip left set by other code must not
        // spread the picture past the end of the pixel buffer.
        const OGL_pixel_rows_guard rows(true);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, pixel_buffer);
    }
    // The counter goes up by one a screenshot, from 0 every run. A number
    // whose file is there already (an earlier run's, or one another copy
    // running in the same folder places at the same moment) is passed over
    // for the next free one: no screenshot replaces another.
    const std::string stem = std::string(program_folder) + "screenshot_";
    BMP_write_new_numbered_file(stem.c_str(), ".bmp", screenshot_counter, 1024, 768);
}
