#include "tests/support/ui_capture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_state.h"
#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/gl_view.h"

std::vector<fb_prim> capture_feedback(const std::function<void()>& draw)
{
    const std::vector<GLfloat> buffer = feedback_of(draw, 1 << 20);
    const GLint n = static_cast<GLint>(buffer.size());

    std::vector<fb_prim> prims;
    auto vertex_at = [&](GLint& i) {
        fb_vertex v{buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3], buffer[i + 4], buffer[i + 5],
                    buffer[i + 6], buffer[i + 7], buffer[i + 8]};
        i += 11;   // x, y, z, colour (4), texture (4)
        return v;
    };
    for (GLint i = 0; i < n;) {
        const int token = static_cast<int>(buffer[i++]);
        fb_prim p{token, {}};
        int count = 0;
        switch (token) {
        case GL_POLYGON_TOKEN: count = static_cast<int>(buffer[i++]); break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN: count = 2; break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN: count = 1; break;
        case GL_PASS_THROUGH_TOKEN: ++i; continue;
        default: return prims;
        }
        for (int k = 0; k < count; ++k) p.v.push_back(vertex_at(i));
        prims.push_back(std::move(p));
    }
    return prims;
}

namespace {

fb_rect bbox(const std::vector<fb_vertex>& vs)
{
    fb_rect r{1e9f, 1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, -1e9f, vs[0].r, vs[0].g, vs[0].b, vs[0].a};
    for (const fb_vertex& v : vs) {
        r.x1 = std::min(r.x1, v.x), r.y1 = std::min(r.y1, v.y);
        r.x2 = std::max(r.x2, v.x), r.y2 = std::max(r.y2, v.y);
        r.tx1 = std::min(r.tx1, v.s * 512.0f), r.ty1 = std::min(r.ty1, v.t * 512.0f);
        r.tx2 = std::max(r.tx2, v.s * 512.0f), r.ty2 = std::max(r.ty2, v.t * 512.0f);
    }
    return r;
}

bool close(float a, float b) { return std::fabs(a - b) < 0.01f; }

// The corners two triangles have in common, place and texture both: the two
// halves of one quad share a diagonal; neighbouring quads that merely touch
// share places but not texture coordinates (a dropped empty triangle must not
// pair every later triangle with the wrong partner).
int shared_corners(const fb_prim& a, const fb_prim& b)
{
    int n = 0;
    for (const fb_vertex& u : a.v)
        for (const fb_vertex& v : b.v)
            if (close(u.x, v.x) && close(u.y, v.y) && close(u.s, v.s) && close(u.t, v.t)) ++n;
    return n;
}

}  // namespace

std::vector<fb_rect> rects_of(const std::vector<fb_prim>& prims)
{
    std::vector<fb_rect> out;
    for (size_t i = 0; i < prims.size(); ++i) {
        const fb_prim& p = prims[i];
        if (p.token != GL_POLYGON_TOKEN) continue;
        if (p.v.size() == 3 && i + 1 < prims.size() && prims[i + 1].token == GL_POLYGON_TOKEN &&
            prims[i + 1].v.size() == 3 && shared_corners(p, prims[i + 1]) == 2) {
            std::vector<fb_vertex> both = p.v;
            both.insert(both.end(), prims[i + 1].v.begin(), prims[i + 1].v.end());
            out.push_back(bbox(both));
            ++i;
        } else {
            out.push_back(bbox(p.v));
        }
    }
    return out;
}

std::vector<fb_rect> capture_rects(const std::function<void()>& draw) { return rects_of(capture_feedback(draw)); }

int glyph_of(int font, const fb_rect& r)
{
    for (int code = 32; code < 256; ++code) {
        font_glyph_place g;
        if (!FONT_glyph_place(font, code, g)) return 0;
        if (close(g.tx, r.tx1) && close(g.ty, r.ty1) && close(g.tx + g.w, r.tx2) && close(g.ty + g.h, r.ty2))
            return code;
    }
    return 0;
}

std::vector<std::string> text_lines(int font, const std::vector<fb_rect>& rects)
{
    std::map<float, std::vector<const fb_rect*>, std::greater<>> lines;
    for (const fb_rect& r : rects) lines[r.y1].push_back(&r);
    std::vector<std::string> out;
    for (auto& [y, rs] : lines) {
        std::sort(rs.begin(), rs.end(), [](const fb_rect* a, const fb_rect* b) { return a->x1 < b->x1; });
        std::string s;
        for (const fb_rect* r : rs) s += static_cast<char>(glyph_of(font, *r));
        out.push_back(s);
    }
    return out;
}

int count_art(const std::vector<fb_rect>& rects, float x1, float y1, float x2, float y2)
{
    int n = 0;
    for (const fb_rect& r : rects)
        if (r.tx1 >= x1 - 0.01f && r.tx2 <= x2 + 0.01f && r.ty1 >= y1 - 0.01f && r.ty2 <= y2 + 0.01f) ++n;
    return n;
}

std::vector<fb_rect> sorted_by_x(std::vector<fb_rect> r)
{
    std::sort(r.begin(), r.end(), [](const fb_rect& a, const fb_rect& b) { return a.x1 < b.x1; });
    return r;
}

void ui_whole_window()
{
    screen.screen_area_width = 1024.0f;
    screen.screen_area_height = 768.0f;
    screen.open_menu = -1;
}

bool ui_2d_ready()
{
    if (!ensure_gl_context()) return false;
    screen.screen_area_left = screen.screen_area_bottom = 0.0f;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    return true;
}

bool ui_screen_ready()
{
    RESET_all();
    if (!ui_2d_ready()) return false;
    ui_whole_window();
    return true;
}
