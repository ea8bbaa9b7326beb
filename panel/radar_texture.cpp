// The weather-radar picture shared by the moving map, the weather screen and
// the map window: texture slot 454 colours the storm grid of the loaded area
// by precipitation level.
#include <GL/gl.h>

#include <cmath>
#include <cstdint>

#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/panel_kit.h"

namespace {

constexpr int RADAR_SLOT = 454;
constexpr int RADAR_SIDE = 256;
constexpr int LEVELS = 5;
constexpr int FIRST_LEVEL_ROW = 89;

// The level colours, read once from colour rows 89..93 and kept for the run.
struct radar_state {
    bool colours_read = false;
    uint8_t level_rgb[LEVELS][3] = {};
};
radar_state radar;

void read_level_colours()
{
    for (int l = 0; l < LEVELS; ++l)
        for (int c = 0; c < 3; ++c) {
            // Cut toward zero; a row value outside 0..1 would not fit a byte, so
            // the byte is held to 0..255.
            const float v = colour_table[FIRST_LEVEL_ROW + l][c] * 255.0f;
            radar.level_rgb[l][c] = static_cast<uint8_t>(v > 0.0f ? (v < 255.0f ? v : 255.0f) : 0.0f);
        }
    radar.colours_read = true;
}

}  // namespace

ORVELL_RESET_RECORD(RADAR_reset, radar, panel);

void PANEL_radar_texture()
{
    if (!pixel_buffer) return;   // no shared pixel buffer yet (no drawing context): nothing to build in
    if (!radar.colours_read) read_level_colours();
    const float k = (sim_weather.rain_percent + sim_weather.thunderstorm_percent) * 0.5f * 4.99f;
    for (int i = 0; i < RADAR_SIDE; ++i)
        for (int j = 0; j < RADAR_SIDE; ++j) {
            // The level cut toward zero. The fractions come from plug-ins and
            // peers: a level above 4 has no colour and is held at 4, and a
            // negative one (or one that is not a number) would index before the
            // colour table, so it is level 0.
            const float x = k * storm_grid[i * RADAR_SIDE + j];
            int level = 0;
            if (x >= 1.0f) level = x >= 4.0f ? 4 : static_cast<int>(x);
            uint8_t* t = pixel_buffer + (static_cast<size_t>(j) * RADAR_SIDE + static_cast<size_t>(i)) * 4;
            t[0] = radar.level_rgb[level][0];
            t[1] = radar.level_rgb[level][1];
            t[2] = radar.level_rgb[level][2];
            t[3] = level == 0 ? 0 : 255;
        }
    OGL_load_tex("radar texture", RADAR_SLOT, 0, GL_RGBA, RADAR_SIDE, RADAR_SIDE, pixel_buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void PANEL_draw_radar_texture(float left, float bottom, float right, float top, float x0, float y0, float x1,
                              float y1, float x2, float y2, float x3, float y3, float alpha)
{
    OGL_scissor_on(left, bottom, right - left, top - bottom);
    const tex_quad_corner corners[4] = {{x0, y0, 0, 0}, {x1, y1, 0, 1}, {x2, y2, 1, 1}, {x3, y3, 1, 0}};
    OGL_draw_tex_quad(RADAR_SLOT, 49, alpha, corners, 1, STATE_BLEND);
    OGL_scissor_off();
}
