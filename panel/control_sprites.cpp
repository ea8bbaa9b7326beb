// The small moving or lighting part of the instrument being drawn: a switch
// lever, a knob position, a lever handle, a light, a flag or a label, cut
// from a panel-font sheet by the current type and a state.
#include <cmath>

#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"

void PANEL_draw_control(float x, float y, int state)
{
    const panel_sprite sp = PANEL_sprite(panel_ins_type, state);
    // An empty sprite would be a zero-size quad, which shows nothing: it is
    // simply not drawn, with the same picture.
    if (sp.sheet == SHEET_NONE || sp.hw <= 0.0f || sp.hh <= 0.0f) return;
    // A place that is not a number (from a value written from outside) would
    // give a quad with no place: nothing is drawn.
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const float size = PANEL_sprite_unscaled(panel_ins_type) ? 1.0f : panel_ins_scale;
    const float cx = x, cy = y + sp.shift;
    const float w = sp.hw * size, h = sp.hh * size;
    const float u1 = (sp.cu - sp.hw) * PANEL_TEXEL, u2 = (sp.cu + sp.hw) * PANEL_TEXEL;
    const float v1 = (sp.cv - sp.hh) * PANEL_TEXEL, v2 = (sp.cv + sp.hh) * PANEL_TEXEL;
    const tex_quad_corner c[4] = {{cx - w, cy - h, u1, v1}, {cx - w, cy + h, u1, v2}, {cx + w, cy + h, u2, v2},
                                  {cx + w, cy - h, u2, v1}};
    OGL_draw_tex_quad(sp.sheet == SHEET_F1 ? OGL_font_tex() : OGL_font2_tex(), sp.colour, PANEL_alpha(), c, 1,
                      STATE_BLEND);
}
