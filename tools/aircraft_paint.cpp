// The paint of the project's aircraft and weapons, drawn by code.
#include "tools/aircraft_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/wpn_file.h"
#include "core/alert.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "core/weapon_kinds.h"
#include "graphics/ogl_image.h"
#include "graphics/ogl_tex.h"
#include "platform/plat_files.h"
#include "scene/aircraft/paint_layout.h"
#include "scene/aircraft/part_geometry.h"
#include "aircraft/part_presence.h"
#include "tools/pixel_font.h"
#include "tools/tool_setup.h"

namespace aircraft_paint {

// ------------------------------------------------------------------ picture

picture::picture(int width, int height, rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), texels_(size_t(width_) * size_t(height_), fill)
{
}

rgb picture::get(int s, int t) const { return inside(s, t) ? texels_[size_t(t) * size_t(width_) + size_t(s)] : rgb{}; }

void picture::set(int s, int t, rgb c)
{
    if (inside(s, t)) texels_[size_t(t) * size_t(width_) + size_t(s)] = c;
}

void picture::fill(int s0, int t0, int s1, int t1, rgb c)
{
    for (int t = std::max(t0, 0); t < std::min(t1, height_); ++t)
        for (int s = std::max(s0, 0); s < std::min(s1, width_); ++s) texels_[size_t(t) * size_t(width_) + size_t(s)] = c;
}

namespace {

rgb shade(rgb c, int d)
{
    const auto m = [d](uint8_t v) { return static_cast<uint8_t>(std::clamp(int(v) + d, 0, 255)); };
    return {m(c.r), m(c.g), m(c.b)};
}

rgb scaled(rgb c, float k)
{
    const auto m = [k](uint8_t v) { return static_cast<uint8_t>(std::clamp(std::lround(v * k), 0L, 255L)); };
    return {m(c.r), m(c.g), m(c.b)};
}

constexpr rgb BLACK{0, 0, 0};
constexpr rgb TIP_YELLOW{236, 196, 32};
constexpr rgb LIT_WINDOW{255, 214, 150};
constexpr rgb LOGO_LIGHT{255, 246, 226};

// ------------------------------------------------------------ descriptions

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// A comment starts with '#' at the start of the line or after a blank.
std::string strip_comment(const std::string& line)
{
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    return line;
}

bool parse_colour(const std::string& value, rgb& out)
{
    std::istringstream in(value);
    int c[3];
    for (int& v : c)
        if (!(in >> v) || v < 0 || v > 255) return false;
    std::string rest;
    if (in >> rest) return false;
    out = {uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2])};
    return true;
}

}  // namespace

bool read_scheme(const std::string& path, std::string& name, scheme& out, std::string& error)
{
    name.clear();
    error.clear();
    std::string text;
    if (!PLAT_read_text_file(path.c_str(), text)) {
        error = "cannot read the description";
        return false;
    }
    std::istringstream in(text);
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        line = trim(strip_comment(line));
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        bool ok = true;
        if (key == "name")
            name = value;
        else if (key == "paint_body")
            ok = parse_colour(value, out.body);
        else if (key == "paint_wing")
            ok = parse_colour(value, out.wing);
        else if (key == "paint_trim")
            ok = parse_colour(value, out.trim);
        else if (key == "paint_detail")
            ok = parse_colour(value, out.detail);
        else if (key == "paint_window")
            ok = parse_colour(value, out.window);
        else if (key == "paint_lit")
            ok = (value == "0" || value == "1") && ((out.lit = value == "1"), true);
        else if (key.rfind("paint_", 0) == 0)
            ok = false;
        if (!ok) {
            error = "line " + std::to_string(line_no) + ": bad paint value for " + key;
            return false;
        }
    }
    if (name.empty()) error = "the description gives no name";
    return !name.empty();
}

// ------------------------------------------------------------------- layout

std::vector<texel_box> part_boxes(int part)
{
    std::vector<texel_box> boxes;
    if (part < 0 || part > PART_BODY_LAST) return boxes;
    const paint_rect r = paint_layout_of(part);
    const int s_lo = std::min(r.s0, r.s1), s_hi = std::max(r.s0, r.s1);
    const int t_lo = std::min(r.t0, r.t1), t_hi = std::max(r.t0, r.t1);
    if (s_lo == s_hi || t_lo == t_hi) return boxes;
    if (part >= PAINT_TURNED_FIRST) {
        boxes.push_back({r.bitmap, t_lo, s_lo, t_hi, s_hi});
        return boxes;
    }
    boxes.push_back({r.bitmap, s_lo, t_lo, s_hi, t_hi});
    if (part >= PAINT_FIN_FIRST && part <= PAINT_FIN_LAST)
        boxes.push_back({r.bitmap, s_lo + PAINT_FIN_LOWER_SHIFT, t_lo, s_hi + PAINT_FIN_LOWER_SHIFT, t_hi});
    const int second = part == PAINT_FUSELAGE ? PAINT_FUSELAGE_SECOND_SIDE
                       : (part >= PART_ENGINE_BODY_FIRST && part <= PART_ENGINE_BODY_LAST) ? PAINT_NACELLE_SECOND_SIDE
                                                                                           : 0;
    if (second) boxes.push_back({r.bitmap, s_lo, t_lo - second, s_hi, t_hi - second});
    return boxes;
}

rgb template_colour(int part)
{
    const paint_layout_row& row = paint_layout_row_of(part);
    const int j = static_cast<int>(&row - PAINT_LAYOUT);
    // Distinct, bright enough to tell from the black ground.
    return {uint8_t(40 + (j * 67) % 211), uint8_t(40 + (j * 151 + 90) % 211), uint8_t(40 + (j * 29 + 170) % 211)};
}

namespace {

picture& bitmap_of(int bitmap, picture& p1, picture& p2) { return bitmap == 2 ? p2 : p1; }

void fill_part(int part, rgb c, picture& p1, picture& p2)
{
    for (const texel_box& b : part_boxes(part)) bitmap_of(b.bitmap, p1, p2).fill(b.s0, b.t0, b.s1, b.t1, c);
}

}  // namespace

void paint_template(picture& paint1, picture& paint2)
{
    paint1.fill(0, 0, paint1.width(), paint1.height(), BLACK);
    paint2.fill(0, 0, paint2.width(), paint2.height(), BLACK);
    for (int part = 0; part <= PART_BODY_LAST; ++part) fill_part(part, template_colour(part), paint1, paint2);
}

// ------------------------------------------------------------------ baking

namespace {

struct vec3 {
    float x, y, z;
};

// One mesh point: where it lands on its bitmap (texels) and where it is.
struct bake_point {
    float s, t;
    vec3 pos, normal;
};

// Paints the texels whose centres lie in the triangle, each with the colour
// `colour`(position, normal) gives at that place, if any.
template <class F>
void bake_triangle(picture& pic, const bake_point& a, const bake_point& b, const bake_point& c, F colour)
{
    const float area = (b.s - a.s) * (c.t - a.t) - (c.s - a.s) * (b.t - a.t);
    if (!(std::fabs(area) > 1e-6f)) return;
    const float lo_s = std::min({a.s, b.s, c.s}), hi_s = std::max({a.s, b.s, c.s});
    const float lo_t = std::min({a.t, b.t, c.t}), hi_t = std::max({a.t, b.t, c.t});
    const int s0 = std::max(0, int(std::floor(lo_s))), s1 = std::min(pic.width() - 1, int(std::ceil(hi_s)));
    const int t0 = std::max(0, int(std::floor(lo_t))), t1 = std::min(pic.height() - 1, int(std::ceil(hi_t)));
    constexpr float EDGE = -1e-4f;   // shared edges leave no gap
    for (int t = t0; t <= t1; ++t)
        for (int s = s0; s <= s1; ++s) {
            const float ps = s + 0.5f, pt = t + 0.5f;
            const float wa = ((b.s - ps) * (c.t - pt) - (c.s - ps) * (b.t - pt)) / area;
            const float wb = ((c.s - ps) * (a.t - pt) - (a.s - ps) * (c.t - pt)) / area;
            const float wc = 1.0f - wa - wb;
            if (wa < EDGE || wb < EDGE || wc < EDGE) continue;
            const auto mix = [&](const vec3& p, const vec3& q, const vec3& r) {
                return vec3{wa * p.x + wb * q.x + wc * r.x, wa * p.y + wb * q.y + wc * r.y, wa * p.z + wb * q.z + wc * r.z};
            };
            const std::optional<rgb> col = colour(mix(a.pos, b.pos, c.pos), mix(a.normal, b.normal, c.normal));
            if (col) pic.set(s, t, *col);
        }
}

// Every quad of part k's grid baked onto its bitmap. Positions are in the
// aircraft frame (a body's arm added). The quads across a body's seam join
// its two sides and are left out.
template <class F>
void bake_part(int plane, int k, picture& p1, picture& p2, F colour)
{
    const acf_part_geometry& g = *ACF_geometry(plane);
    const acf_struct& a = pln[plane];
    const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
    const paint_rect rect = paint_layout_of(k);
    picture& pic = bitmap_of(rect.bitmap, p1, p2);
    const bool body = k >= PART_BODY_FIRST;
    const vec3 arm = body ? vec3{a.acf_Xarm[k], a.acf_Yarm[k], a.acf_Zarm[k]} : vec3{0, 0, 0};
    const auto point = [&](int r, int i) {
        const float* v = g.part_vertex[k][r][i];
        const float* n = g.part_normal[k][r][i];
        const float* st = g.part_texcoord[k][r][i];
        return bake_point{st[0] * PAINT_W, st[1] * pic.height(), {v[0] + arm.x, v[1] + arm.y, v[2] + arm.z},
                          {n[0], n[1], n[2]}};
    };
    for (int r = 0; r + 1 < R; ++r)
        for (int i = 0; i + 1 < N; ++i) {
            if (i == N / 2 - 1) continue;   // the seam (a body's keel, a fin's trailing edge)
            const bake_point p00 = point(r, i), p10 = point(r + 1, i), p11 = point(r + 1, i + 1), p01 = point(r, i + 1);
            bake_triangle(pic, p00, p10, p11, colour);
            bake_triangle(pic, p00, p11, p01, colour);
        }
}

// ------------------------------------------------------------ the fuselage

// Windows on the fuselage's sides: boxes in z and y of the aircraft frame.
struct window_box {
    float z0, z1, y0, y1;
};

// The fuselage's waterline, height and length, and where its windows and
// registration go.
struct fuselage_plan {
    bool present = false;
    float waterline = 0.0f, bottom = 0.0f, top = 0.0f, front = 0.0f, back = 0.0f;
    float band = 0.0f;                  // half-height of the cheatline
    std::vector<window_box> windows;
    // The registration: its text pixels (7 rows, top first), pixel size,
    // centre along the length and its foot.
    std::vector<std::string> text_rows;
    float pixel = 0.0f, text_z = 0.0f, text_foot = 0.0f;
};

constexpr float LONG_FUSELAGE_M = 20.0f;   // cabin windows along an airliner's side

std::vector<std::string> text_bitmap(const char* text)
{
    std::vector<std::string> rows(7);
    for (const char* c = text; *c; ++c) {
        const pixel_glyph* g = pixel_font_find(static_cast<unsigned char>(*c), false);
        const int w = g ? pixel_glyph_width(*g) : 3;
        if (c != text)
            for (std::string& row : rows) row += '.';
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < w; ++col) rows[size_t(r)] += (g && pixel_glyph_ink(*g, col, r)) ? '#' : '.';
    }
    return rows;
}

fuselage_plan plan_fuselage(int plane)
{
    fuselage_plan f;
    const acf_struct& a = pln[plane];
    const int k = PAINT_FUSELAGE;
    if (!ACF_part_fitted(plane, k)) return f;
    const int R = ACF_mesh_rows(plane, k), N = ACF_mesh_points(k);
    const acf_part_geometry& g = *ACF_geometry(plane);
    float sum = 0.0f;
    f.bottom = f.top = g.part_vertex[k][0][0][1];
    f.front = f.back = g.part_vertex[k][0][0][2];
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < N; ++i) {
            const float* v = g.part_vertex[k][r][i];
            sum += v[1];
            f.bottom = std::min(f.bottom, v[1]);
            f.top = std::max(f.top, v[1]);
            f.front = std::min(f.front, v[2]);
            f.back = std::max(f.back, v[2]);
        }
    if (!std::isfinite(sum) || !(f.top > f.bottom) || !(f.back > f.front)) return f;
    f.present = true;
    const float y_arm = a.acf_Yarm[k], z_arm = a.acf_Zarm[k];
    f.waterline = sum / float(R * N) + y_arm;
    f.bottom += y_arm;
    f.top += y_arm;
    f.front += z_arm;
    f.back += z_arm;
    const float height = f.top - f.bottom, length = f.back - f.front;
    f.band = std::max(0.03f, 0.045f * height);

    // The cockpit's side windows about the pilot's eye, and along an
    // airliner's cabin a row of small ones at the same height.
    const float eye_y = std::clamp(a.acf_peY, f.waterline + 2.0f * f.band, f.top - 0.05f * height);
    const float eye_z = a.acf_peZ;
    const bool airliner = length > LONG_FUSELAGE_M;
    if (airliner) {
        f.windows.push_back({eye_z - 1.0f, eye_z + 0.2f, eye_y - 0.25f, eye_y + 0.15f});
        const float pitch = 0.53f, first = eye_z + 3.0f, last = f.front + 0.72f * length;
        for (float z = first; z + 0.25f <= last; z += pitch)
            f.windows.push_back({z, z + 0.25f, eye_y - 0.75f, eye_y - 0.4f});
    } else {
        const float lo = std::max(eye_y - 0.3f, f.waterline + 2.0f * f.band);
        f.windows.push_back({eye_z - 0.75f, eye_z + 0.05f, lo, eye_y + 0.3f});
        f.windows.push_back({eye_z + 0.12f, eye_z + 0.9f, lo, eye_y + 0.3f});
    }

    // The registration on the aft fuselage, just above the cheatline.
    char tail[ACF_TAILNUM_SIZE];
    const size_t n = strnlen(a.acf_tailnum, ACF_TAILNUM_SIZE - 1);
    std::memcpy(tail, a.acf_tailnum, n);
    tail[n] = 0;
    f.text_rows = text_bitmap(tail);
    f.pixel = std::clamp(0.03f * height, 0.035f, 0.09f);
    // Aft, clear of the windows, where the fuselage is still tall enough for
    // the letters: from the preferred place forwards, the first place with
    // room, else the roomiest with the letters made to fit.
    const float columns = float(f.text_rows[0].size());
    const auto room_at = [&](float z_mid, float pixel) {
        const float half = 0.5f * columns * pixel;
        for (const window_box& w : f.windows)
            if (z_mid + half > w.z0 && z_mid - half < w.z1) return 0.0f;
        float room = f.top - f.bottom;
        for (int r = 0; r < R; ++r) {
            const float z = g.part_vertex[k][r][0][2] + z_arm;
            if (z < z_mid - half || z > z_mid + half) continue;
            float row_top = g.part_vertex[k][r][0][1];
            for (int i = 0; i < N; ++i) row_top = std::max(row_top, g.part_vertex[k][r][i][1]);
            room = std::min(room, row_top + y_arm - (f.waterline + f.band));
        }
        return room;
    };
    const float preferred = airliner ? 0.8f : 0.66f;
    float best_z = f.front + preferred * length, best_room = 0.0f, best_miss = 1.0f;
    bool fits = false;
    for (float frac = 0.3f; frac <= 0.86f; frac += 0.02f) {
        const float z = f.front + frac * length, room = room_at(z, f.pixel);
        const float miss = std::fabs(frac - preferred);
        const bool fit = room >= 9.5f * f.pixel;
        if ((fit && (!fits || miss < best_miss)) || (!fits && !fit && room > best_room)) {
            best_z = z;
            best_room = room;
            best_miss = miss;
            fits = fit;
        }
    }
    f.text_z = best_z;
    f.pixel = std::min(f.pixel, std::max(best_room, 0.0f) / 9.5f);
    f.text_foot = f.waterline + f.band + 1.5f * f.pixel;
    if (!(f.pixel > 0.0f)) f.text_rows.clear();
    return f;
}

bool in_window(const fuselage_plan& f, const vec3& p, const vec3& n)
{
    if (std::fabs(n.x) < 0.35f) return false;   // on the sides only
    for (const window_box& w : f.windows)
        if (p.z >= w.z0 && p.z < w.z1 && p.y >= w.y0 && p.y < w.y1) return true;
    return false;
}

// The registration reads from left to right as seen from outside: towards the
// tail on the left side (x < 0), towards the nose on the right side.
bool in_registration(const fuselage_plan& f, const vec3& p, const vec3& n)
{
    if (f.text_rows.empty() || f.text_rows[0].empty() || std::fabs(n.x) < 0.35f) return false;
    const float width = float(f.text_rows[0].size()) * f.pixel;
    const float along = p.x < 0.0f ? p.z - (f.text_z - 0.5f * width) : (f.text_z + 0.5f * width) - p.z;
    const float up = p.y - f.text_foot;
    if (along < 0.0f || up < 0.0f) return false;
    const int col = int(along / f.pixel), row = 6 - int(up / f.pixel);
    if (row < 0 || col >= int(f.text_rows[0].size())) return false;
    return f.text_rows[size_t(row)][size_t(col)] == '#';
}

// ---------------------------------------------------------- lifting parts

// A line of texels between two mesh points' paint coordinates.
void line(picture& pic, float s0, float t0, float s1, float t1, rgb c)
{
    const int steps = int(std::ceil(std::max(std::fabs(s1 - s0), std::fabs(t1 - t0)))) + 1;
    if (steps > 4 * PAINT_W) return;   // not a line of this bitmap
    for (int q = 0; q <= steps; ++q) {
        const float f = float(q) / float(steps);
        pic.set(int(std::floor(s0 + f * (s1 - s0))), int(std::floor(t0 + f * (t1 - t0))), c);
    }
}

bool has_control(const acf_struct& a, int el)
{
    return a.acf_ail1[el] || a.acf_ail2[el] || a.acf_elev[el] || a.acf_rudd[el] || a.acf_flap[el];
}

// The outlines of the control surfaces: each hinge line, and the surface's
// ends from the hinge to the trailing edge, on both sides of the part.
void hinge_lines(int plane, int k, picture& pic, rgb c)
{
    const acf_struct& a = pln[plane];
    const acf_part_geometry& g = *ACF_geometry(plane);
    const int els = ACF_mesh_elements(plane, k);
    const auto st = [&](int r, int i) { return g.part_texcoord[k][r][i]; };
    const float H = float(pic.height());
    const auto segment = [&](int r0, int i0, int r1, int i1) {
        line(pic, st(r0, i0)[0] * PAINT_W, st(r0, i0)[1] * H, st(r1, i1)[0] * PAINT_W, st(r1, i1)[1] * H, c);
    };
    for (int e = 0; e < els; ++e) {
        if (!has_control(a, ACF_el(k, e))) continue;
        const bool starts = e == 0 || !has_control(a, ACF_el(k, e - 1));
        const bool ends = e == els - 1 || !has_control(a, ACF_el(k, e + 1));
        for (const int hinge : {5, 8}) {
            const int edge = hinge == 5 ? 6 : 7;
            segment(2 * e, hinge, 2 * e + 1, hinge);
            if (starts) segment(2 * e, hinge, 2 * e, edge);
            if (ends) segment(2 * e + 1, hinge, 2 * e + 1, edge);
        }
    }
}

// The fin that carries the logo light: the lifting part standing most upright.
int logo_fin(int plane)
{
    int best = -1;
    float most = 45.0f;
    for (int k = PAINT_FIN_FIRST; k <= PART_WING_EXTRA_LAST; ++k) {
        const float d = std::fabs(pln[plane].acf_dihed1[k]);
        if (ACF_part_fitted(plane, k) && ACF_mesh_elements(plane, k) > 0 && d > most) {
            most = d;
            best = k;
        }
    }
    return best;
}

bool fitted_grid(int plane, int k) { return ACF_part_fitted(plane, k) && ACF_mesh_rows(plane, k) > 0; }

}  // namespace

void paint_aircraft(int plane, const scheme& colours, picture& paint1, picture& paint2)
{
    paint1.fill(0, 0, paint1.width(), paint1.height(), colours.body);
    paint2.fill(0, 0, paint2.width(), paint2.height(), colours.body);
    if (!ACF_geometry(plane)) return;

    // Each part's pictures in its base colour.
    for (int k = 0; k <= PART_BODY_LAST; ++k) {
        if (!fitted_grid(plane, k)) continue;
        const rgb base = k <= PART_PROP_LAST ? colours.detail : (k <= PART_AFL_LAST ? colours.wing : colours.body);
        fill_part(k, base, paint1, paint2);
    }
    // Propeller tips: the last tenth of the blade (all blades share one picture).
    const paint_rect prop = paint_layout_of(PART_PROP_FIRST);
    for (int k = PART_PROP_FIRST; k <= PART_PROP_LAST; ++k)
        if (fitted_grid(plane, k)) {
            paint1.fill(std::min(prop.s0, prop.s1), prop.t1 - (prop.t1 - prop.t0) / 10, std::max(prop.s0, prop.s1),
                        prop.t1, TIP_YELLOW);
            break;
        }
    // The nacelles' intake lips: the front of their length.
    const paint_rect nacelle = paint_layout_of(PART_ENGINE_BODY_FIRST);
    for (int k = PART_ENGINE_BODY_FIRST; k <= PART_ENGINE_BODY_LAST; ++k)
        if (fitted_grid(plane, k))
            for (const texel_box& b : part_boxes(k))
                paint1.fill(b.s0, b.t0, nacelle.s0 + (nacelle.s1 - nacelle.s0) / 16, b.t1, shade(colours.detail, 20));

    // The fuselage: cheatline, belly, windows and registration.
    const fuselage_plan f = plan_fuselage(plane);
    if (f.present)
        bake_part(plane, PAINT_FUSELAGE, paint1, paint2, [&](const vec3& p, const vec3& n) -> std::optional<rgb> {
            if (in_registration(f, p, n)) return colours.detail;
            if (in_window(f, p, n)) return colours.window;
            if (std::fabs(p.y - f.waterline) <= f.band) return colours.trim;
            if (p.y < f.waterline - f.band) return shade(colours.body, -24);
            return colours.body;
        });

    // Control surface outlines on every lifting part.
    for (int k = PART_WING_PAIR_FIRST; k <= PART_AFL_LAST; ++k)
        if (fitted_grid(plane, k))
            hinge_lines(plane, k, bitmap_of(paint_layout_of(k).bitmap, paint1, paint2), shade(colours.wing, -90));
}

void paint_lit(int plane, picture& lit1, picture& lit2)
{
    lit1.fill(0, 0, lit1.width(), lit1.height(), BLACK);
    lit2.fill(0, 0, lit2.width(), lit2.height(), BLACK);
    if (!ACF_geometry(plane)) return;
    const fuselage_plan f = plan_fuselage(plane);
    if (f.present)
        bake_part(plane, PAINT_FUSELAGE, lit1, lit2, [&](const vec3& p, const vec3& n) -> std::optional<rgb> {
            if (in_window(f, p, n)) return LIT_WINDOW;
            return std::nullopt;
        });
    // The logo light shines up the fin from its root.
    const int fin = logo_fin(plane);
    if (fin < 0) return;
    const acf_span_xyz root = ACF_span_point(plane, fin, 0.0f);
    const float chord = pln[plane].acf_Croot[fin];
    const vec3 lamp{root.x, root.y, root.z + 0.25f * chord};
    const float reach = std::max(0.6f * pln[plane].acf_semilen_SEG[fin], 0.5f);
    bake_part(plane, fin, lit1, lit2, [&](const vec3& p, const vec3&) -> std::optional<rgb> {
        const float d = std::sqrt((p.x - lamp.x) * (p.x - lamp.x) + (p.y - lamp.y) * (p.y - lamp.y) +
                                  (p.z - lamp.z) * (p.z - lamp.z));
        const float k = 1.0f - d / reach;
        if (!(k > 0.0f)) return std::nullopt;
        return scaled(LOGO_LIGHT, k);
    });
}

// ------------------------------------------------------------------ weapons

void paint_weapon(const wpn_slot_record& weapon, picture& out)
{
    const int kind = weapon.wpn_type;
    rgb body{150, 152, 156}, band{60, 62, 66}, fins{120, 122, 126};
    if (kind == WPN_KIND_BOMB || kind == WPN_KIND_BOMB_PRESS || kind == WPN_KIND_BOMB_PRESS_2 ||
        kind == WPN_KIND_GUIDED_BOMB || kind == WPN_KIND_GUIDED_BOMB_2 || kind == WPN_KIND_GUIDED_BOMB_3) {
        body = {86, 96, 62};
        band = {228, 196, 40};
        fins = {74, 84, 54};
    } else if (WPN_kind_is_missile(kind)) {
        body = {232, 232, 228};
        band = {190, 40, 36};
        fins = {200, 200, 196};
    } else if (kind == WPN_KIND_FUEL_TANK) {
        body = {196, 198, 202};
        band = {96, 98, 104};
        fins = {180, 182, 186};
    } else if (WPN_kind_shoots(kind) || WPN_kind_draws_fire_line(kind)) {
        body = {62, 64, 68};
        band = {30, 30, 32};
        fins = {62, 64, 68};
    }
    const int W = out.width(), H = out.height();
    out.fill(0, 0, W, H, BLACK);
    // The body: both sides of its section, the whole length; a band behind the nose.
    const int length = int(std::ceil(WPN_PAINT_LENGTH * W));
    out.fill(0, 0, length, H, body);
    const int band_lo = int(0.12f * WPN_PAINT_LENGTH * W), band_hi = int(0.17f * WPN_PAINT_LENGTH * W);
    out.fill(band_lo, 0, band_hi, H, band);
    // The fins: each pair's column, both faces.
    for (int f = 0; f < WPN_FIN_PAIRS; ++f) {
        const float lo = WPN_FIN_S_LO + f * WPN_FIN_STEP, hi = WPN_FIN_S_HI + f * WPN_FIN_STEP;
        out.fill(int(std::floor(lo * W)), 0, int(std::ceil(hi * W)), H, fins);
    }
}

// ------------------------------------------------------------------- files

bool write_bitmap(const std::string& path, const picture& p)
{
    const size_t bytes = size_t(p.width()) * size_t(p.height()) * 3;
    if (p.width() < 1 || p.height() < 1 || bytes > PIXEL_BUFFER_BYTES) return false;
    for (size_t i = 0; i < p.texels().size(); ++i) {
        pixel_buffer[i * 3 + 0] = p.texels()[i].r;
        pixel_buffer[i * 3 + 1] = p.texels()[i].g;
        pixel_buffer[i * 3 + 2] = p.texels()[i].b;
    }
    BMP_write_file(path.c_str(), p.width(), p.height());
    std::error_code ec;
    const auto size = std::filesystem::file_size(PLAT_resolve_path(path.c_str()), ec);
    return !ec && size == BMP_HEADER_SIZE + BMP_row_bytes(p.width()) * size_t(p.height());
}

namespace {

constexpr int PAINT_PLANE = 1;   // no report, panel or sounds, as for every slot but the user's

// A path less its last four characters (the extension) followed by `suffix`.
std::string beside(const std::string& path, const char* suffix)
{
    return (path.size() >= 4 ? path.substr(0, path.size() - 4) : std::string()) + suffix;
}

bool paint_one(const std::string& folder, const std::string& description, bool template_mode,
               std::set<std::string>& weapons)
{
    std::string name, error;
    scheme colours;
    if (!read_scheme(description, name, colours, error)) {
        std::fprintf(stderr, "gen_aircraft_paint: %s: %s\n", description.c_str(), error.c_str());
        return false;
    }
    const std::string path = folder + "AIRCRAFT:" + name + ".acf";
    if (path.size() >= TEXT_SIZE) {
        std::fprintf(stderr, "gen_aircraft_paint: aircraft path too long\n");
        return false;
    }
    acf_struct& a = pln[PAINT_PLANE];
    std::memset(&a, 0, sizeof a);
    UTIL_strcpy(path.c_str(), a.acf_file_path);
    default_aircraft_path[0] = default_aircraft_name[0] = 0;   // nothing stands in for a missing aircraft
    tool_alerts_seen = 0;
    if (!ACF_load_and_setup(PAINT_PLANE) || tool_alerts_seen) {
        std::fprintf(stderr, "gen_aircraft_paint: %s does not load\n", path.c_str());
        return false;
    }
    // The set-up has prepared the model (meshes and paint coordinates); with
    // no window there are no textures to load.

    picture p1(PAINT_W, PAINT1_H), p2(PAINT_W, PAINT2_H);
    if (template_mode)
        paint_template(p1, p2);
    else
        paint_aircraft(PAINT_PLANE, colours, p1, p2);
    bool ok = write_bitmap(beside(path, "_PAINT.BMP"), p1) && write_bitmap(beside(path, "_PAINT2.BMP"), p2);
    const std::string lit1 = beside(path, "_PAINT_LIT.BMP"), lit2 = beside(path, "_PAINT2_LIT.BMP");
    if (colours.lit && !template_mode) {
        paint_lit(PAINT_PLANE, p1, p2);
        ok = ok && write_bitmap(lit1, p1) && write_bitmap(lit2, p2);
    } else {
        std::error_code ec;
        std::filesystem::remove(PLAT_resolve_path(lit1.c_str()), ec);
        std::filesystem::remove(PLAT_resolve_path(lit2.c_str()), ec);
    }
    if (!ok) {
        std::fprintf(stderr, "gen_aircraft_paint: cannot write the paint of %s\n", path.c_str());
        return false;
    }
    std::printf("gen_aircraft_paint: painted %s%s\n", name.c_str(), colours.lit ? " (with lit paint)" : "");

    // The weapons it carries.
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) {
        const char* weapon = a.wpn_name + w * ACF_WPN_NAME_SIZE;
        if (!weapon[0] || strnlen(weapon, ACF_WPN_NAME_SIZE) == ACF_WPN_NAME_SIZE) continue;
        char found[TEXT_SIZE] = {};
        WPN_find_file(PAINT_PLANE, weapon, found);
        if (found[0]) weapons.insert(found);
    }
    return true;
}

bool paint_weapon_file(const std::string& path)
{
    char file[TEXT_SIZE];
    UTIL_strcpy(path.c_str(), file);
    acf_struct& a = pln[PAINT_PLANE];
    std::memset(&a.acf_wpn_slot[0], 0, sizeof a.acf_wpn_slot[0]);
    tool_alerts_seen = 0;
    WPN_read(7, PAINT_PLANE, 0, "", file, 1);
    if (tool_alerts_seen || a.acf_wpn_slot[0].wpn_type == 0) {
        std::fprintf(stderr, "gen_aircraft_paint: %s does not read as a weapon\n", path.c_str());
        return false;
    }
    picture p(WEAPON_SIDE, WEAPON_SIDE);
    paint_weapon(a.acf_wpn_slot[0], p);
    if (!write_bitmap(beside(path, ".BMP"), p)) {
        std::fprintf(stderr, "gen_aircraft_paint: cannot write the bitmap of %s\n", path.c_str());
        return false;
    }
    std::printf("gen_aircraft_paint: painted weapon %s\n", path.c_str());
    return true;
}

}  // namespace

int run(const std::string& folder, const std::vector<std::string>& descriptions, bool template_mode)
{
    tool_report_alerts("gen_aircraft_paint");
    std::set<std::string> weapons;
    for (const std::string& d : descriptions)
        if (!paint_one(folder, d, template_mode, weapons)) return 1;

    // Every weapon file of the program's weapon folder as well.
    std::error_code ec;
    const std::string weapon_folder = folder_table[FOLDER_WEAPONS];
    for (const auto& entry : std::filesystem::directory_iterator(PLAT_resolve_path(weapon_folder.c_str()), ec)) {
        const std::string file = entry.path().filename().string();
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".wpn" && entry.is_regular_file(ec) && weapon_folder.size() + file.size() < TEXT_SIZE)
            weapons.insert(weapon_folder + file);
    }
    for (const std::string& w : weapons)
        if (!paint_weapon_file(w)) return 1;
    return 0;
}

}  // namespace aircraft_paint
