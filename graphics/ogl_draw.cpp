#include "graphics/ogl_draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <strings.h>

#include "core/reset_registry.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/app_mode.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "platform/plat_files.h"

int32_t screenshot_counter = -1;

void SCREENSHOT_reset() { screenshot_counter = -1; }
ORVELL_RESET(SCREENSHOT_reset);

namespace {

// Texels of pixel-buffer drawing: 4 bytes at a row stride of 1024, clipped to the buffer.
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

// An edge of a pixel-buffer box, rounded half away from zero and held inside the buffer.
int box_edge(double v)
{
    if (!(v > 0.0)) return 0;   // also NaN
    if (v > double(PIXEL_BUFFER_SIDE)) return PIXEL_BUFFER_SIDE;
    return static_cast<int>(std::lround(v));
}

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

void OGL_draw_background()
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
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, alpha <= 0.99f ? STATE_BLEND : STATE_ALPHA_TEST,
                  STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    glColor4f(sim_graphics_misc.cockpit_light_level_r * gload_dim_factor,
              sim_graphics_misc.cockpit_light_level_g * gload_dim_factor,
              sim_graphics_misc.cockpit_light_level_b * gload_dim_factor, alpha);
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

namespace {

// Screenshot numbers above this are not taken from the folder, so the next
// number always fits.
constexpr int32_t SCREENSHOT_NUMBER_MAX = 999999999;

// The highest n of a "screenshot_<n>.bmp" in the folder (any letter case), -1 when none.
int32_t highest_screenshot_number(const char* folder)
{
    std::vector<PLAT_dir_entry> entries;
    if (!PLAT_list_directory(folder, entries)) return -1;
    static constexpr char prefix[] = "screenshot_";
    static constexpr char suffix[] = ".bmp";
    constexpr size_t prefix_len = sizeof prefix - 1, suffix_len = sizeof suffix - 1;
    int32_t highest = -1;
    for (const PLAT_dir_entry& e : entries) {
        const std::string& name = e.name;
        if (e.is_folder || name.size() <= prefix_len + suffix_len) continue;
        if (strncasecmp(name.c_str(), prefix, prefix_len) != 0) continue;
        if (strcasecmp(name.c_str() + name.size() - suffix_len, suffix) != 0) continue;
        int64_t n = 0;
        bool digits = true;
        for (size_t i = prefix_len; i < name.size() - suffix_len && digits; ++i) {
            const char c = name[i];
            digits = c >= '0' && c <= '9';
            n = n * 10 + (c - '0');
            if (n > SCREENSHOT_NUMBER_MAX) digits = false;
        }
        if (digits && n > highest) highest = static_cast<int32_t>(n);
    }
    return highest;
}

}  // namespace

void OGL_screenshot()
{
    // The next number after the last one of this run and every screenshot in
    // the folder, so no earlier screenshot is ever replaced.
    const int32_t on_disk = highest_screenshot_number(program_folder);
    if (screenshot_counter < on_disk) screenshot_counter = on_disk;
    if (screenshot_counter < SCREENSHOT_NUMBER_MAX) ++screenshot_counter;
    const std::string path = std::string(program_folder) + "screenshot_" + std::to_string(screenshot_counter) + ".bmp";
    {
        // Tight rows: a row length or skip left set by other code must not
        // spread the picture past the end of the pixel buffer.
        const OGL_pixel_rows_guard rows(true);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, pixel_buffer);
    }
    BMP_write_file(path.c_str(), 1024, 768);
}
