#include "graphics/ogl_state.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "graphics/ogl_tex.h"
#include "platform/plat_window.h"
#include "graphics/gl_entry.h"
#include "graphics/glprobe.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/camera.h"

float colour_table[COLOUR_ROWS][3];
float frustum_box[6];
int32_t draw_to_pixel_buffer = 0;
uint8_t pixel_byte_colour[3];

namespace {

constexpr float ramp_points[7][3] = {
    {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {1.0f, 0.32f, 0.08f}, {1.0f, 1.0f, 0.0f},
    {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.8f, 0.0f, 0.8f},
};

void set_enabled(GLenum cap, bool on)
{
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
}

uint8_t to_byte(float v)
{
    if (!(v > 0.0f)) return 0;   // also NaN
    if (v >= 1.0f) return 255;
    return static_cast<uint8_t>(std::lround(v * 255.0f));
}

}  // namespace

void OGL_set_color(int row, float r, float g, float b)
{
    // A row outside the table (plug-ins reach this through the colour names)
    // would be written past it; such a call changes nothing.
    if (row < 0 || row >= COLOUR_ROWS) return;
    colour_table[row][0] = r;
    colour_table[row][1] = g;
    colour_table[row][2] = b;
}

void OGL_row_to_bytes(int row, uint8_t out[3])
{
    if (row < 0 || row >= COLOUR_ROWS) row = 0;
    for (int i = 0; i < 3; ++i) out[i] = to_byte(colour_table[row][i]);
}

void OGL_apply_color(int row, float alpha)
{
    if (row < 0 || row >= COLOUR_ROWS) row = 0;
    if (draw_to_pixel_buffer) {
        OGL_row_to_bytes(row, pixel_byte_colour);
        return;
    }
    float c[3] = {colour_table[row][0], colour_table[row][1], colour_table[row][2]};
    if (row <= 46) {
        c[0] *= sim_graphics_misc.cockpit_light_level_r;
        c[1] *= sim_graphics_misc.cockpit_light_level_g;
        c[2] *= sim_graphics_misc.cockpit_light_level_b;
    }
    for (float& v : c) v *= gload_dim_factor;
    if (alpha > 0.99f)
        glColor3fv(c);
    else
        glColor4f(c[0], c[1], c[2], alpha);
}

void OGL_set_state(int fog, int tex_units, int lighting, int transparency, int depth_test, int depth_writes)
{
    // While a display list is being compiled OpenGL reports the state outside
    // the list, which says nothing of the state the list will meet when it is
    // called: then every requested item goes into the list.
    GLint compiled_list = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiled_list);
    const bool compiling = compiled_list != 0;

    const bool fog_now = glIsEnabled(GL_FOG);
    const bool tex_now = glIsEnabled(GL_TEXTURE_2D);
    const bool light_now = glIsEnabled(GL_LIGHTING);
    const bool blend_now = glIsEnabled(GL_BLEND);
    const bool alpha_now = glIsEnabled(GL_ALPHA_TEST);
    const bool depth_now = glIsEnabled(GL_DEPTH_TEST);
    // Texturing found on counts as at least one unit, even when the count
    // says none (no multitexture driver, or other code switched it on behind
    // the kit's back): taken as 0 units, a request for none would see no
    // change and leave texturing on.
    const int units_now = tex_now ? std::max(cur_tex_units, 1) : 0;
    const int units_wanted = tex_units > 0 ? tex_units : 0;
    const bool units_change = compiling || units_wanted != units_now;

    const bool fog_wanted = fog == STATE_FOG_ON;
    if (compiling || fog_wanted != fog_now) set_enabled(GL_FOG, fog_wanted);

    if (units_change) set_enabled(GL_TEXTURE_2D, units_wanted > 0);

    const bool light_wanted = lighting == STATE_LIGHTING_ON;
    if (compiling || light_wanted != light_now) {
        set_enabled(GL_LIGHTING, light_wanted);
        set_enabled(GL_LIGHT0, light_wanted);
    }

    const bool depth_wanted = depth_test == STATE_DEPTH_TEST_ON;
    if (compiling || depth_wanted != depth_now) set_enabled(GL_DEPTH_TEST, depth_wanted);

    glDepthMask(depth_writes == STATE_DEPTH_WRITE_ON ? GL_TRUE : GL_FALSE);

    const bool blend_wanted = transparency == STATE_BLEND || transparency == STATE_BLEND_ALPHA_TEST;
    const bool alpha_wanted = transparency == STATE_ALPHA_TEST || transparency == STATE_BLEND_ALPHA_TEST;
    if (compiling || blend_wanted != blend_now) set_enabled(GL_BLEND, blend_wanted);
    if (compiling || alpha_wanted != alpha_now) set_enabled(GL_ALPHA_TEST, alpha_wanted);

    if (units_change) {
        const int units_new = std::clamp(units_wanted, 0, std::max(num_tex_units, 0));
        cur_tex_units = units_new;
        if ((compiling || units_new > 1 || units_now > 1) && gl_entry::glActiveTextureARB) {
            for (int k = 1; k <= 4 && k <= num_tex_units; ++k) {
                gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB + k - 1);
                if (units_new >= k)
                    glEnable(GL_TEXTURE_2D);
                else if (compiling || units_now >= k)
                    glDisable(GL_TEXTURE_2D);
            }
            gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
        }
    }

    if (draw_to_pixel_buffer) {
        OGL_row_to_bytes(49, pixel_byte_colour);
    } else {
        const float c[3] = {colour_table[49][0] * gload_dim_factor, colour_table[49][1] * gload_dim_factor,
                            colour_table[49][2] * gload_dim_factor};
        glColor3fv(c);
    }
}

void OGL_set_projection(int mode, float left, float bottom, float right, float top, float view_x1,
                        float view_y1, float view_x2, float view_y2, float near_clip, float corner_distance,
                        float far_clip, float divisor)
{
    // A divisor or a viewport width of 0 would divide by zero, and a huge
    // viewport value would not convert to an int: such values are taken as
    // 1, a square viewport and 0 below. A mode other than the two would load
    // an identity projection under a viewport of unscaled numbers, a picture
    // of nothing the caller meant: the call changes nothing.
    if (mode != PROJECTION_2D && mode != PROJECTION_3D) return;
    if (divisor == 0.0f) divisor = 1.0f;

    float aspect = 1.0f;   // viewport height over width, for the 3-D view
    if (mode == PROJECTION_3D) {
        const float w = view_x2 - view_x1, h = view_y2 - view_y1;
        if (w != 0.0f) aspect = h / w;
        const float d = corner_distance;
        const float points[5][3] = {
            {0.0f, 0.0f, -near_clip},
            {d * left, d * bottom * aspect, -d},
            {d * left, d * top * aspect, -d},
            {d * right, d * top * aspect, -d},
            {d * right, d * bottom * aspect, -d},
        };
        for (int i = 0; i < 5; ++i) {
            float p[3] = {points[i][0], points[i][1], points[i][2]};
            PHYS_rotate_by_camera(points[i], p);
            for (int a = 0; a < 3; ++a) {
                if (i == 0 || p[a] < frustum_box[a]) frustum_box[a] = p[a];
                if (i == 0 || p[a] > frustum_box[a + 3]) frustum_box[a + 3] = p[a];
            }
        }
    }

    if (mode == PROJECTION_2D) {
        left -= screen.ui_side_margin;
        right += screen.ui_side_margin + 1024.0f;
        top += screen.ui_top_margin + 768.0f;
        view_x2 += static_cast<float>(screen.window_width);
        view_y2 += static_cast<float>(screen.window_height);
    } else {
        left *= near_clip;
        bottom *= near_clip;
        right *= near_clip;
        top *= near_clip;
        view_x1 += screen.ui_side_margin;
        view_x2 += screen.ui_side_margin;
        view_x1 *= screen.ui_scale;
        view_y1 *= screen.ui_scale;
        view_x2 *= screen.ui_scale;
        view_y2 *= screen.ui_scale;
    }

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (mode == PROJECTION_2D)
        glOrtho(left / divisor, right / divisor, bottom / divisor, top / divisor, -1.0, 1.0);
    else
        glFrustum(left / divisor, right / divisor, bottom * aspect / divisor, top * aspect / divisor, near_clip,
                  far_clip);
    auto cut = [](float v) {
        if (!(std::fabs(v) < 1.0e9f)) return 0;
        return static_cast<int>(v);
    };
    glViewport(cut(view_x1), cut(view_y1), cut(view_x2 - view_x1), cut(view_y2 - view_y1));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void OGL_color_ramp(float value)
{
    float v = value;
    if (!(v >= 0.0f))
        v = 0.0f;
    else if (v > 1.0f)
        v = 1.0f;
    int band = 0;
    for (int b = 1; b <= 5; ++b)
        if (static_cast<float>(b) / 6.0f <= v) band = b;
    const float t = (v - static_cast<float>(band) / 6.0f) * 6.0f;
    float c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = (t * ramp_points[band + 1][i] + (1.0f - t) * ramp_points[band][i]) * gload_dim_factor;
    glColor4f(c[0], c[1], c[2], 1.0f);
}

// Nothing drawn into the pixel buffer.
void OGL_state_reset()
{
    for (float& v : frustum_box) v = 0.0f;
    draw_to_pixel_buffer = 0;
    for (uint8_t& c : pixel_byte_colour) c = 0;
}
ORVELL_RESET(OGL_state_reset, scene);

void OGL_scissor_on(float x, float y, float width, float height)
{
    const float x1 = (MACIBM_ui_to_window_x(screen.screen_area_left + x) + screen.ui_side_margin) * screen.ui_scale;
    const float x2 =
        (MACIBM_ui_to_window_x(screen.screen_area_left + x + width) + screen.ui_side_margin) * screen.ui_scale;
    const float y1 = MACIBM_ui_to_window_y(screen.screen_area_bottom + y) * screen.ui_scale;
    const float y2 = MACIBM_ui_to_window_y(screen.screen_area_bottom + y + height) * screen.ui_scale;
    glEnable(GL_SCISSOR_TEST);
    const int ix1 = static_cast<int>(x1), iy1 = static_cast<int>(y1);
    const int w = static_cast<int>(x2 - x1), h = static_cast<int>(y2 - y1);
    // GL refuses a box of negative size and keeps the one before, so a box
    // turned inside out (a caller's empty area) would clip to an old box
    // instead of to nothing: its size is held at 0.
    glScissor(ix1, iy1, std::max(w, 0), std::max(h, 0));
}

// Off, whatever clipped before the box: the frame's own cut of the scene
// under the panel ends here too, which leaves the picture as it is (the
// panel's opaque rows cover those rows).
void OGL_scissor_off() { glDisable(GL_SCISSOR_TEST); }

void OGL_polygon_offset(int level)
{
    if (level != 0) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(-5.0f * static_cast<float>(level), 0.0f);
    } else {
        glDisable(GL_POLYGON_OFFSET_FILL);
    }
}

void OGL_second_unit_mode(int mode)
{
    if (!gl_entry::glActiveTextureARB || num_tex_units < 2) return;
    gl_entry::glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    gl_entry::glActiveTextureARB(GL_TEXTURE0_ARB);
}

int OGL_swap_buffers()
{
    glColor4f(gload_dim_factor, gload_dim_factor, gload_dim_factor, 1.0f);
    return PLAT_swap_buffers() ? 1 : 0;
}

void OGL_fill_default_colors()
{
    struct row_value {
        int row;
        float r, g, b;
    };
    static constexpr row_value rows[] = {
        {0, 1, 1, 1},           {1, 0.3f, 1, 0.3f},     {2, 1, 0.2f, 0.2f},     {3, 1, 1, 0.2f},
        {4, 0.4f, 0.4f, 1},     {5, 1, 0.8f, 0.2f},     {6, 0, 0, 0},           {7, 0.8f, 0.8f, 0.8f},
        {8, 0, 1, 0},           {9, 1, 0, 0},           {10, 1, 1, 0},          {11, 0, 0, 1},
        {12, 0.2f, 0.2f, 0.6f}, {13, 1, 1, 1},          {14, 0.6f, 0.6f, 0.6f}, {15, 0, 0.8f, 0},
        {16, 0.8f, 0, 0},       {17, 0.6f, 0.6f, 0},    {18, 0, 0, 0.6f},       {19, 0.11f, 0.22f, 0.55f},
        {20, 0.9f, 0.9f, 0.95f}, {21, 0.4f, 0.4f, 0.4f}, {22, 0, 0.6f, 0},      {23, 0.6f, 0, 0},
        {24, 0.08f, 0.16f, 0.4f}, {25, 0.2f, 0.2f, 0.2f}, {26, 0, 0.4f, 0},     {27, 0.4f, 0, 0},
        {28, 0.66f, 0.44f, 0.22f}, {29, 0.1f, 0.1f, 0.1f}, {30, 0, 0.2f, 0},    {31, 0.2f, 0, 0},
        {32, 0.48f, 0.32f, 0.16f}, {33, 0, 0, 0},        {34, 0, 0.1f, 0},       {35, 0.1f, 0, 0},
        {49, 1, 1, 1},          {50, 0.1f, 1, 0.1f},    {51, 1, 0.4f, 0.4f},    {52, 1, 1, 0.6f},
        {53, 0.6f, 0.6f, 1},    {54, 0.92f, 0.87f, 0.67f}, {55, 1, 0.5f, 0},    {56, 0.8f, 0.8f, 0.8f},
        {57, 0, 0.8f, 0},       {58, 1, 0.2f, 0.2f},    {59, 1, 1, 0.2f},       {60, 0.4f, 0.4f, 1},
        {61, 0.67f, 0.61f, 0.42f}, {62, 0.5f, 0.3f, 0},  {63, 0.5f, 0.5f, 0.5f}, {64, 0, 0.6f, 0},
        {65, 0.6f, 0.2f, 0},    {66, 1, 1, 0},          {67, 0.2f, 0.2f, 0.8f}, {68, 0.49f, 0.43f, 0.24f},
        {69, 0.8f, 0, 0.8f},    {70, 0.2f, 0.2f, 0.2f}, {71, 0, 0.4f, 0},       {72, 0.6f, 0.6f, 0},
        {73, 0.15f, 0.15f, 0.6f}, {74, 0.35f, 0.3f, 0.11f}, {75, 0.8f, 0.7f, 1}, {76, 0, 0, 0},
        {77, 0, 0.2f, 0},       {78, 0.17f, 0.12f, 0},  {79, 1, 0.2f, 1},       {80, 0, 0.1f, 0},
        {81, 1, 0.88f, 0.49f},  {82, 1, 198.0f / 255.0f, 0}, {83, 214.0f / 255.0f, 123.0f / 255.0f, 0},
        {84, 0, 1, 1},          {85, 1, 0, 1},          {89, 0, 0, 0},          {90, 0, 0.9f, 0},
        {91, 0, 0.5f, 0},       {92, 1, 1, 0},          {93, 1, 0, 0},          {106, 0.5f, 0.5f, 0.4f},
        {107, 1, 0.3f, 0},      {109, 1, 1, 0.9f},      {110, 0.5f, 0.5f, 0.4f}, {111, 0.8f, 0.8f, 0.7f},
    };
    for (const row_value& v : rows) OGL_set_color(v.row, v.r, v.g, v.b);
}

void OGL_sample_interface_colors()
{
    static constexpr int sampled_rows[] = {36, 37, 38, 39, 40, 42, 43, 44, 45, 46, 47, 48};
    size_t texel = 79679;
    for (int row : sampled_rows) {
        const uint8_t* p = pixel_buffer + texel * 4;
        OGL_set_color(row, p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
        texel -= 4096;
    }
    OGL_set_color(41, (colour_table[40][0] + colour_table[37][0]) * 0.5f,
                  (colour_table[40][1] + colour_table[37][1]) * 0.5f,
                  (colour_table[40][2] + colour_table[37][2]) * 0.5f);
}
