// Draws the cockpit bitmaps of the default data folder by code:
//  - the eight built-in forward panels "RESOURCES:BITMAPS:PANELS:PANEL_*.BMP"
//    (1024 x 768; the windscreen above the glareshield is in the colour key,
//    so the 3-D view shows through);
//  - a face for every instrument type of the instrument picture table, at its
//    picture path below "RESOURCES:BITMAPS:", at the type's design size
//    (magenta outside the face is left off when it is composed onto a panel);
//    the printed airspeed scales are marked at the angles their needle takes;
//  - the two panel-font sheets "PANEL_TEST_NEAREST.BMP" and
//    "PANEL_TEST_LINEAR.BMP" (tools/panel_sheets.h), the attitude face plate
//    "PANEL_BLEND_LINEAR.BMP", the rose cards "PANEL_COMPASS_ROSE.BMP" and
//    "PANEL_HSI_ROSE.BMP" and "PANEL_CUSTOM.BMP";
//  - the own forward panels of the aircraft that carry one (the airliner, the
//    orbiter), each with its instruments painted in where its description
//    puts them and the aircraft's name on its plate.
//
// usage: gen_panel_bitmaps <program folder>/ (<own panel path below the program folder> <its description>)...
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_description.h"
#include "aircraft/acf_struct.h"
#include "graphics/ogl_image.h"
#include "tools/bmp_writer.h"
#include "panel/instrument_pictures.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/instruments/nav_instruments.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"
#include "tools/panel_sheets.h"
#include "tools/pixel_font.h"
#include "tools/tool_setup.h"

namespace {

constexpr double PI = 3.14159265358979;

struct rgb {
    uint8_t r, g, b;
};
constexpr rgb KEY{255, 0, 255};
constexpr rgb BLACK{12, 12, 14};
constexpr rgb WHITE{236, 236, 230};
constexpr rgb GREY{120, 122, 126};
constexpr rgb LIGHT{200, 202, 206};
constexpr rgb DARK{38, 40, 44};
constexpr rgb GREEN{40, 190, 70};
constexpr rgb YELLOW{230, 200, 40};
constexpr rgb RED{210, 40, 30};
constexpr rgb SKY{60, 130, 210};
constexpr rgb EARTH{140, 90, 40};

// An image with row 0 at the bottom, as the files store it.
struct image {
    int w, h;
    std::vector<rgb> px;
    image(int width, int height, rgb fill) : w(width), h(height), px(size_t(width) * size_t(height), fill) {}
    void set(int x, int y, rgb c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * size_t(w) + size_t(x)] = c;
    }
    void fill(int x1, int y1, int x2, int y2, rgb c)
    {
        for (int y = std::max(0, y1); y < std::min(h, y2); ++y)
            for (int x = std::max(0, x1); x < std::min(w, x2); ++x) px[size_t(y) * size_t(w) + size_t(x)] = c;
    }
};

rgb mix(rgb a, rgb b, double t)
{
    auto m = [t](uint8_t p, uint8_t q) { return static_cast<uint8_t>(std::lround(p + (q - p) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void disc(image& im, double cx, double cy, double r, rgb c)
{
    for (int y = int(cy - r - 1); y <= int(cy + r + 1); ++y)
        for (int x = int(cx - r - 1); x <= int(cx + r + 1); ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) im.set(x, y, c);
}

// A thick line from (x1, y1) to (x2, y2).
void line(image& im, double x1, double y1, double x2, double y2, double width, rgb c)
{
    const double len = std::hypot(x2 - x1, y2 - y1);
    const int steps = std::max(1, int(len * 2));
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        disc(im, x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, width * 0.5, c);
    }
}

void text(image& im, const std::string& s, int x, int y, rgb c, int scale = 1)
{
    pixel_text_dots(s, false, [&](int col, int up) {
        im.fill(x + col * scale, y + up * scale, x + (col + 1) * scale, y + (up + 1) * scale, c);
    });
}

int text_width(const std::string& s, int scale = 1)
{
    return pixel_text_dots(s, false, [](int, int) {}) * scale;
}

void centred_text(image& im, const std::string& s, double cx, double cy, rgb c, int scale = 1)
{
    text(im, s, int(cx - text_width(s, scale) * 0.5), int(cy - 3.5 * scale), c, scale);
}

bool write_bmp(const std::filesystem::path& path, const image& im)
{
    return write_bmp_file(path, im.w, im.h, [&](int x, int y, uint8_t* bgr) {
        const rgb& p = im.px[size_t(y) * size_t(im.w) + size_t(x)];
        bgr[0] = p.b, bgr[1] = p.g, bgr[2] = p.r;
    });
}

// ---------------------------------------------------------------- faces ----
// Each face is drawn at its type's design size; what the drawers put on top
// (needles, drums, lit lamps, generated scales) is left out.

enum class face_kind { plate, button, lever, round_blank, asi_printed, alt_printed, vvi_printed, clock, turn, slip,
                       suction, attitude, lamp, tape, compass, tail };

bool in(int t, int lo, int hi) { return t >= lo && t <= hi; }

face_kind kind_of(int t, const std::string& path)
{
    if (t == 0) return face_kind::tail;
    if (in(t, 74, 79)) return face_kind::asi_printed;
    if (in(t, 94, 99)) return face_kind::alt_printed;
    if (in(t, 122, 129)) return face_kind::vvi_printed;
    if (in(t, 340, 342)) return face_kind::clock;
    if (t == 101 || t == 102) return face_kind::turn;
    if (in(t, 103, 105)) return face_kind::slip;
    if (t == 338) return face_kind::suction;
    if (in(t, 90, 93) || t == 448 || t == 460 || t == 166) return face_kind::attitude;
    if (in(t, 106, 108)) return face_kind::compass;
    if (in(t, 355, 367) || t == 376 || t == 386 || t == 339 || in(t, 272, 281) || t == 402 || t == 444 ||
        t == 213 || t == 214)
        return face_kind::lamp;
    if (in(t, 80, 86) || in(t, 94, 99) || in(t, 109, 129) || in(t, 131, 156) || in(t, 167, 169) ||
        in(t, 294, 307) || in(t, 322, 329) || t == 412 || t == 332 || t == 334 || t == 337 || t == 397 ||
        in(t, 348, 349) || t == 378 || in(t, 418, 421) || t == 440 || t == 453 || t == 461 || t == 462)
        return face_kind::round_blank;
    if (t == 87 || t == 88 || t == 89 || t == 100 || t == 130 || in(t, 170, 172) || t == 330 || t == 335 ||
        in(t, 308, 314) || t == 463 || t == 352 || t == 353 || t == 445 || t == 449)
        return face_kind::tape;
    if (path.find(":handles:") != std::string::npos && t != 65 && t != 453) return face_kind::lever;
    if (path.find(":buttons:") != std::string::npos || path.find(":rheostats:") != std::string::npos ||
        path.find(":de-ice:") != std::string::npos)
        return face_kind::button;
    return face_kind::plate;
}

// A short caption from the picture's file name: "but_battery.bmp" -> "BATTERY".
std::string caption_of(const std::string& path)
{
    std::string name = path.substr(path.find_last_of(':') + 1);
    name = name.substr(0, name.find('.'));
    for (const char* p : {"but_", "han_slider_", "han_", "rhe_", "ott_", "rad_", "EFIS_el_", "EFIS_", "ECAM_", "ann_"})
        if (name.rfind(p, 0) == 0) name = name.substr(std::strlen(p));
    std::string out;
    for (char c : name) out += c == '_' ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The caption cut to what fits a width (pixel-font text at scale 1).
std::string fitted(std::string s, int width)
{
    while (!s.empty() && text_width(s) > width) s.pop_back();
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

void bezel(image& im, double cx, double cy, double r)
{
    disc(im, cx, cy, r, DARK);
    disc(im, cx, cy, r - 3, BLACK);
}

// A point at radius r and dial angle a (degrees, 0 up, clockwise).
void polar(double cx, double cy, double r, double a_deg, double& x, double& y)
{
    x = cx + r * std::sin(a_deg * PI / 180.0);
    y = cy + r * std::cos(a_deg * PI / 180.0);
}

void dial_tick(image& im, double cx, double cy, double r1, double r2, double a_deg, double width, rgb c)
{
    double x1, y1, x2, y2;
    polar(cx, cy, r1, a_deg, x1, y1);
    polar(cx, cy, r2, a_deg, x2, y2);
    line(im, x1, y1, x2, y2, width, c);
}

void dial_arc(image& im, double cx, double cy, double r, double a1, double a2, double width, rgb c)
{
    for (double a = a1; a <= a2; a += 0.5) {
        double x, y;
        polar(cx, cy, r, a, x, y);
        disc(im, x, y, width * 0.5, c);
    }
}

// The printed airspeed scale of types 74..79, at the angles the needle takes.
void asi_printed(image& im, int t, double cx, double cy, double r)
{
    const double top = t == 74 ? 200 : t == 75 ? 300 : (t <= 77 ? 400 : 450);
    const double major = t == 74 ? 20 : 50, minor = t == 74 ? 5 : 10;
    panel_ins_type = t;
    dial_arc(im, cx, cy, r - 8, a_of_v(60), a_of_v(t == 74 ? 120 : 160), 4, GREEN);
    dial_arc(im, cx, cy, r - 8, a_of_v(t == 74 ? 120 : 160), a_of_v(t == 74 ? 160 : 250), 4, YELLOW);
    for (double v = 0; v <= top + 0.1; v += minor) {
        const double a = a_of_v(static_cast<float>(v));
        const bool is_major = std::fmod(v, major) < 0.01;
        dial_tick(im, cx, cy, r - (is_major ? 14 : 9), r - 4, a, is_major ? 2 : 1, WHITE);
        if (is_major && v >= (t == 74 ? 40 : 60)) {
            double x, y;
            polar(cx, cy, r - 26, a, x, y);
            centred_text(im, std::to_string(static_cast<int>(v)), x, y, WHITE);
        }
    }
    if (t == 77 || t == 79) im.fill(int(cx) - 11, int(cy) - 27, int(cx) + 12, int(cy) - 15, DARK);   // drum window
}

// ---- radio stack, small gauges and glass displays -----------------------------
// Drawn where their drawers put numbers, knobs and buttons: black windows
// under the digits, knobs at the tuning spots, labelled keys at the press
// spots (positions in design units about the face's centre).

struct face_pen {
    image& im;
    double cx, cy;
    // A window for `chars` characters drawn at (x, y).
    void window(double x, double y, int chars) const
    {
        im.fill(int(cx + x - 3), int(cy + y - 5), int(cx + x + 6 * chars + 3), int(cy + y + 12), DARK);
        im.fill(int(cx + x - 2), int(cy + y - 4), int(cx + x + 6 * chars + 2), int(cy + y + 11), BLACK);
    }
    void screen(double x1, double y1, double x2, double y2) const
    {
        im.fill(int(cx + x1 - 2), int(cy + y1 - 2), int(cx + x2 + 2), int(cy + y2 + 2), DARK);
        im.fill(int(cx + x1), int(cy + y1), int(cx + x2), int(cy + y2), BLACK);
    }
    void knob(double x, double y, double r) const
    {
        disc(im, cx + x, cy + y, r, GREY);
        disc(im, cx + x, cy + y, r * 0.45, DARK);
    }
    void key(double x, double y, double hw, double hh, const std::string& label) const
    {
        im.fill(int(cx + x - hw), int(cy + y - hh), int(cx + x + hw), int(cy + y + hh), DARK);
        im.fill(int(cx + x - hw + 1), int(cy + y - hh + 1), int(cx + x + hw - 1), int(cy + y + hh - 1), GREY);
        if (!label.empty()) centred_text(im, label, cx + x, cy + y, BLACK);
    }
    void label(double x, double y, const std::string& t, rgb c = WHITE) const { centred_text(im, t, cx + x, cy + y, c); }
    void ticks(double px, double py, double r1, double r2, double a1, double a2, int n) const
    {
        for (int k = 0; k <= n; ++k) dial_tick(im, cx + px, cy + py, r1, r2, a1 + (a2 - a1) * k / n, k % 2 ? 1 : 2, WHITE);
    }
};

void plate_base(image& im)
{
    im.fill(0, 0, im.w, im.h, DARK);
    im.fill(2, 2, im.w - 2, im.h - 2, mix(DARK, BLACK, 0.5));
}

// The face of a type of the radio stack, the small gauges or the glass
// displays; false for other types.
bool stack_face(image& im, int t)
{
    const face_pen p{im, im.w * 0.5, im.h * 0.5};
    const double r = std::min(im.w, im.h) * 0.5 - 1;
    if (in(t, 188, 190) || in(t, 193, 205)) {   // glass displays
        plate_base(im);
        p.screen(-im.w * 0.5 + 6, -im.h * 0.5 + 6, im.w * 0.5 - 6, im.h * 0.5 - 6);
        if (in(t, 193, 196)) {
            static const char* pages[5] = {"ENG", "FUEL", "FCON", "HYD", "FAIL"};
            for (int k = 0; k < 5; ++k) p.key(-60 + 30 * k, -70, 12, 7, pages[k]);
        }
        return true;
    }
    if (t == 211 || t == 212) {
        plate_base(im);
        static const char* labels[8] = {"COM1", "COM2", "NAV1", "NAV2", "ADF1", "ADF2", "DME", "MKR"};
        static const double x211[8] = {-17, -17, 10, 10, 37, 37, 64, 64}, y211[8] = {6, -6, 6, -6, 6, -6, 6, -6};
        static const double x212[8] = {-78, -56, -34, -12, 10, 32, 54, 76};
        for (int k = 0; k < 8; ++k) {
            if (t == 211) p.key(x211[k], y211[k], 13, 5, labels[k]);
            else p.key(x212[k], 2, 10, 8, ""), p.label(x212[k], 15, labels[k]);
        }
        p.label(t == 211 ? -55 : 0, t == 211 ? 0 : -12, "AUDIO", GREY);
        return true;
    }
    if (in(t, 215, 230)) {
        plate_base(im);
        const bool bc = (t - 215) % 2 == 1;
        const int head = (t - 215) / 2;   // nav1 nav2 com1 com2 navcom1 navcom2 adf1 adf2
        if (head >= 6) {
            if (bc) {
                p.window(-15, 23, 3), p.window(-15, 13, 3), p.knob(16, -21, 13), p.key(25, 18, 5, 5, "");
            } else {
                p.window(-10, 2, 3);
                for (double x : {-18.0, 0.0, 18.0}) p.knob(x, -10, 7);
            }
            p.label(-60, 0, head == 6 ? "ADF 1" : "ADF 2", GREY);
            return true;
        }
        const bool nav = head == 0 || head == 1 || head >= 4, com = head == 2 || head == 3 || head >= 4;
        for (int half = 0; half < 2; ++half) {
            if ((half == 0 && !nav) || (half == 1 && !com)) continue;
            const double shift = (nav && com) ? (half == 0 ? 41.0 : (bc ? -39.0 : -41.0)) : 0.0;
            const double kx = (bc ? 15.0 : 10.0) + shift, fx = (bc ? -31.0 : -16.0) + shift;
            const double ky = bc ? -22.0 : -15.0, fy = bc ? 23.0 : 8.0;
            p.window(fx, fy, 6);
            if (bc) p.window(fx, fy - 10, 6), p.key(kx + 9, ky + 42, 6, 4, "");
            p.knob(kx, ky, bc ? 13 : 11);
            p.label(fx - 14, fy + 3, half == 0 ? "N" : "C", GREY);
        }
        return true;
    }
    if (t == 231 || t == 474) {
        plate_base(im);
        const bool big = t == 231;
        const double cols[3] = {big ? -45.0 : -37.0, big ? -18.0 : -14.0, 9.0};
        const double rows[2] = {big ? -7.0 : 0.0, big ? -27.0 : -10.0};
        static const char* names[6] = {"NAV1", "NAV2", "COM1", "COM2", "ADF1", "ADF2"};
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 2; ++k) p.key(cols[c], rows[k], big ? 12 : 10, big ? 7 : 5, names[2 * c + k]);
        p.window(big ? -64 : -40, big ? 15 : 8, 6);
        p.window(big ? 20 : 15, big ? 15 : 8, 6);
        p.knob(big ? 54 : 37, big ? -18 : 0, 13);
        p.key(0, big ? 18 : 14, big ? 8 : 6, big ? 5 : 4, "");
        return true;
    }
    if (in(t, 232, 234)) {
        plate_base(im);
        static const double tx[3] = {-7, 17, 10}, ty[3] = {-4, -6, -3};
        static const double bx[3][8] = {{64, 64, 64, 64, 53, 73, 63, 63}, {-64, -64, -64, -64, 15, 35, -5, -25},
                                        {-50, -25, -50, -25, 0, 50, 25, 25}};
        static const double by[3][8] = {{11, -4, -19, -34, 30, 30, 20, 40}, {25, 10, -5, -20, -45, -45, -45, -45},
                                        {-16, -16, -33, -33, -16, -16, -33, -16}};
        static const char* keys[8] = {"APT", "VOR", "NDB", "FIX", "<", ">", "-", "+"};
        const int u = t - 232;
        p.screen(tx[u] - 69, ty[u] - (u == 2 ? 4 : 14), tx[u] + 52, ty[u] + 31);
        for (int k = 0; k < 8; ++k) p.key(bx[u][k], by[u][k], k < 4 ? 9 : 6, k < 4 ? 6 : 5, keys[k]);
        p.label(u == 0 ? 40 : -60, u == 0 ? -40 : 40, "GPS", GREY);
        return true;
    }
    if (in(t, 235, 238) || t == 454) {
        plate_base(im);
        if (t == 235 || t == 237) p.window(-76, -1, 22);
        if (t == 454) p.window(-76, 2, 16), p.window(-76, -8, 6);
        if (t == 236 || t == 238) p.window(-35, 20, 11), p.window(-35, 10, 11);
        if (t == 235) p.knob(63, -8, 13);
        if (t == 236) p.knob(17, -22, 13);
        if (t == 454) p.knob(63, -1, 13);
        p.label(t == 236 || t == 238 ? -60 : 40, t == 236 || t == 238 ? 0 : 12, "DME", GREY);
        return true;
    }
    if (in(t, 239, 241) || t == 475) {
        plate_base(im);
        static const double bx[4] = {-68, -3, 17, 4}, by_[4] = {8, -12, -15, -9}, mx[4] = {62, -19, 50, 27},
                            my[4] = {-2, -20, -17, -5};
        const int u = t == 475 ? 3 : t - 239;
        p.key(bx[u], by_[u], 7, 5, "ID");
        p.knob(mx[u], my[u], 9);
        if (t == 239) {
            p.window(-38, 5, 1), p.window(-15, 5, 1), p.window(8, 5, 1), p.window(31, 5, 1);
            for (double x : {-37.0, -14.0, 9.0, 32.0}) p.knob(x, -11, 6);
        } else if (t == 240) {
            p.window(-25, 17, 5);
            p.knob(16, -21, 13);
        } else {
            const bool big = t == 241;
            const double cols[3] = {big ? -30.0 : -41.0, big ? -16.0 : -27.0, big ? -2.0 : -13.0};
            const double rows[3] = {big ? 11.0 : 10.0, big ? -4.0 : 0.0, big ? -19.0 : -10.0};
            static const char* keys[9] = {"1", "2", "3", "4", "5", "6", "7", "0", "C"};
            for (int k = 0; k < 9; ++k) p.key(cols[k % 3], rows[k / 3], big ? 6 : 4, big ? 6 : 4, keys[k]);
            p.window(big ? 27 : 14, big ? 8 : 4, 4);
        }
        return true;
    }
    if (in(t, 324, 328) || t == 412) {   // linear engine gauges: the needle swings about (0, -40)
        plate_base(im);
        p.screen(-33, -15, 33, 15);
        p.ticks(0, -40, 46, 52, -30, 30, 6);
        p.label(0, -24, caption_of(PANEL_instrument_picture(t)).substr(0, 10), GREY);
        return true;
    }
    if (t == 348 || t == 349) {
        bezel(im, p.cx, p.cy, r);
        if (t == 348) {
            p.ticks(0, 0, r - 12, r - 5, -135, 135, 8);
            p.label(-r * 0.55, -r * 0.5, "E"), p.label(r * 0.55, -r * 0.5, "F");
        } else {
            // Each needle's tip swings 31 units from its pivot at the side: full up, empty down.
            p.ticks(-34, 0, 32, 36, 45, 135, 4);
            p.ticks(34, 0, 32, 36, -135, -45, 4);
            p.label(-14, -30, "L"), p.label(14, -30, "R"), p.label(0, 30, "FUEL", GREY);
        }
        return true;
    }
    if (t == 334) {   // radio altimeter: 0..500 ft over 165 degrees, then to 2500 at 239
        bezel(im, p.cx, p.cy, r);
        for (int v = 0; v <= 2500; v += v < 500 ? 100 : 500) {
            const double a = v < 500 ? v * 165.0 / 500.0 : (v - 500) * 74.0 / 1500.0 + 165.0;
            dial_tick(im, p.cx, p.cy, r - 11, r - 4, a, 2, WHITE);
        }
        p.label(0, -r * 0.45, "RAD ALT", GREY);
        p.knob(44, -47, 6);
        return true;
    }
    if (t == 337 || t == 397) {   // vario: -800..800 ft/min over -218..38 degrees
        bezel(im, p.cx, p.cy, r);
        p.ticks(0, 0, r - 11, r - 4, -218, 38, 8);
        p.label(0, -r * 0.4, "TE", GREY);
        p.knob(44 - 40 + r * 0.5, -45 + 40 - r * 0.5, 5);
        return true;
    }
    if (t == 332) {   // stormscope: rings at 10 and 17.6 nautical miles
        bezel(im, p.cx, p.cy, r);
        for (double ring : {22.0, 44.0})
            for (int k = 0; k < 72; ++k) dial_tick(im, p.cx, p.cy, ring - 0.5, ring + 0.5, k * 5.0, 1, GREY);
        return true;
    }
    if (t == 336 || t == 350 || t == 351) {
        plate_base(im);
        if (t == 336) p.window(-26, -4, 4), p.window(24, -4, 4);
        if (t == 350) p.window(-19, 0, 6);
        if (t == 351) p.window(-16, -3, 5), p.key(25, 0, 7, 7, "");
        return true;
    }
    if (in(t, 343, 346)) {
        plate_base(im);
        const double y = (t == 343 || t == 344) ? -10 : -25;
        p.window(-15, 4, 5);
        p.key(-15, y, 8, 6, "MOD"), p.key(15, y, 8, 6, "S/R");
        return true;
    }
    return false;
}

// The altimeter's dial: the long needle turns once per 1,000 ft, so the
// hundreds are printed 36 degrees apart with a mark every 20 ft; the drum
// windows of the counter faces and the barometer window stay dark.
void alt_printed(image& im, int t, double cx, double cy, double r)
{
    for (int k = 0; k < 50; ++k) dial_tick(im, cx, cy, r - (k % 5 ? 6 : 11), r - 2, k * 7.2, k % 5 ? 1 : 2, WHITE);
    for (int k = 0; k < 10; ++k) {
        double x, y;
        polar(cx, cy, r - 19, k * 36.0, x, y);
        centred_text(im, std::to_string(k), x, y, WHITE);
    }
    if (t >= 97) {
        im.fill(int(cx) - 18, int(cy) + 13, int(cx) + 18, int(cy) + 25, DARK);   // altitude counter
        im.fill(int(cx) - 37, int(cy) - 30, int(cx) + 34, int(cy) - 18, DARK);   // millibars and inches
    } else {
        im.fill(int(cx) - 13, int(cy) - 32, int(cx) + 16, int(cy) - 20, DARK);   // barometer window
    }
}

// A vertical-speed dial marked where its needle points (level to the left,
// climbs above): every 500 ft/min, numbered in thousands.
void vvi_printed(image& im, int t, double cx, double cy, double r)
{
    double full = 0.0;
    for (double fpm = 500.0; fpm <= 6000.0; fpm += 500.0)
        if (std::fabs(VVI_needle_angle(t, static_cast<float>(fpm)) - VVI_needle_angle(t, static_cast<float>(fpm - 500.0))) > 0.01)
            full = fpm;
    for (double fpm = -full; fpm <= full + 0.1; fpm += 500.0) {
        const double a = VVI_needle_angle(t, static_cast<float>(fpm)) - 90.0;
        const bool thousand = std::fmod(std::fabs(fpm), 1000.0) < 0.1;
        dial_tick(im, cx, cy, r - (thousand ? 12 : 8), r - 2, a, thousand ? 2 : 1, WHITE);
        if (thousand) {
            double x, y;
            polar(cx, cy, r - 21, a, x, y);
            centred_text(im, std::to_string(static_cast<int>(std::fabs(fpm) / 1000.0)), x, y, WHITE);
        }
    }
    centred_text(im, "UP", cx - r * 0.35, cy + r * 0.3, WHITE);
    centred_text(im, "DN", cx - r * 0.35, cy - r * 0.3, WHITE);
}

image draw_face(int type, const std::string& path)
{
    const instrument_design_size d = PANEL_instrument_design_size(type);
    const int w = std::max<int>(d.w, 8), h = std::max<int>(d.h, 8);
    image im(w, h, KEY);
    const double cx = w * 0.5, cy = h * 0.5, r = std::min(w, h) * 0.5 - 1;
    const std::string cap = caption_of(path);
    if (stack_face(im, type)) return im;
    const face_kind kind = kind_of(type, path);
    switch (kind) {
    case face_kind::tail:
        im.fill(0, 0, w, h, WHITE);
        im.fill(1, 1, w - 1, h - 1, LIGHT);
        break;
    case face_kind::asi_printed:
    case face_kind::alt_printed:
    case face_kind::vvi_printed: {
        // A printed dial inside the bezel.
        const auto print = kind == face_kind::asi_printed   ? asi_printed
                           : kind == face_kind::alt_printed ? alt_printed
                                                            : vvi_printed;
        bezel(im, cx, cy, r);
        print(im, type, cx, cy, r - 3);
        break;
    }
    case face_kind::clock:
        bezel(im, cx, cy, r);
        for (int k = 0; k < 60; ++k) dial_tick(im, cx, cy, r - (k % 5 ? 7 : 11), r - 4, k * 6.0, k % 5 ? 1 : 2, WHITE);
        for (int k = 3; k <= 12; k += 3) {
            double x, y;
            polar(cx, cy, r - 20, k * 30.0, x, y);
            centred_text(im, std::to_string(k), x, y, WHITE);
        }
        break;
    case face_kind::turn:
        bezel(im, cx, cy, r);
        // Level at 90 and 270 degrees; a standard-rate turn banks the needle about 16.5.
        for (double a : {90.0 + 16.5, 270.0 + 16.5, 90.0 - 16.5, 270.0 - 16.5})
            dial_tick(im, cx, cy, r - 14, r - 4, a, 3, WHITE);
        dial_tick(im, cx, cy, r - 14, r - 4, 90.0, 2, GREY);
        dial_tick(im, cx, cy, r - 14, r - 4, 270.0, 2, GREY);
        centred_text(im, "L", cx - r * 0.55, cy - r * 0.5, WHITE);
        centred_text(im, "R", cx + r * 0.55, cy - r * 0.5, WHITE);
        centred_text(im, type == 101 ? "TURN" : "RATE", cx, cy - r * 0.62, WHITE);
        break;
    case face_kind::slip:
        im.fill(0, 0, w, h, DARK);
        im.fill(3, 3, w - 3, h - 3, LIGHT);
        im.fill(int(cx) - 9, 3, int(cx) - 8, h - 3, BLACK);
        im.fill(int(cx) + 8, 3, int(cx) + 9, h - 3, BLACK);
        break;
    case face_kind::suction:
        bezel(im, cx, cy, r);
        dial_arc(im, cx, cy, r - 7, -180.0 + 225.0 * 0.6, -180.0 + 225.0 * 1.0, 3, GREEN);   // a pump at work
        for (int k = 0; k <= 10; ++k) dial_tick(im, cx, cy, r - (k % 2 ? 7 : 10), r - 4, -180.0 + 22.5 * k, 1.5, WHITE);
        centred_text(im, "VAC", cx, cy - r * 0.4, WHITE);
        break;
    case face_kind::attitude:
        bezel(im, cx, cy, r);
        break;
    case face_kind::round_blank: {
        bezel(im, cx, cy, r);
        // The heading and course knobs where their drawers take the drag.
        nav_knob knobs[2];
        for (int k = 0, n = NAV_knobs(type, knobs); k < n; ++k) {
            disc(im, cx + knobs[k].x, cy + knobs[k].y, 10, BLACK);
            disc(im, cx + knobs[k].x, cy + knobs[k].y, 8.5, GREY);
            disc(im, cx + knobs[k].x, cy + knobs[k].y, 4, DARK);
        }
        if (in(type, 301, 307) || type == 462)
            im.fill(int(cx) - 14, int(cy) - 28, int(cx) + 18, int(cy) - 16, DARK);   // drum window
        if (h > w + 8) centred_text(im, fitted(cap, w - 4), cx, 5, WHITE);
        break;
    }
    case face_kind::lamp:
        im.fill(0, 0, w, h, DARK);
        im.fill(1, 1, w - 1, h - 1, BLACK);
        break;
    case face_kind::tape:
        im.fill(0, 0, w, h, DARK);
        im.fill(2, 2, w - 2, h - 2, BLACK);
        break;
    case face_kind::compass:
        im.fill(0, 0, w, h, DARK);
        im.fill(3, 3, w - 3, h - 3, BLACK);
        line(im, cx, 4, cx, h - 4, 1, RED);
        break;
    case face_kind::button: {
        im.fill(0, 0, w, h, DARK);
        im.fill(2, 2, w - 2, h - 2, GREY);
        disc(im, cx, cy + 2, std::min(w, h) * 0.32, DARK);
        centred_text(im, fitted(cap, w - 2), cx, 4.5, BLACK);
        break;
    }
    case face_kind::lever:
        im.fill(int(cx) - 3, 4, int(cx) + 3, h - 4, BLACK);   // the slot
        break;
    case face_kind::plate:
        im.fill(0, 0, w, h, DARK);
        im.fill(2, 2, w - 2, h - 2, mix(DARK, BLACK, 0.5));
        if (h >= 12) centred_text(im, fitted(cap, w - 6), cx, h >= 24 ? h - 8.0 : cy, GREY);
        break;
    }
    return im;
}

// The mechanical attitude indicator's face plate (slot 450, alpha from
// brightness: black shows the ball through), 128 x 128.
image draw_blend()
{
    image im(128, 128, BLACK);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            if (std::hypot(x + 0.5 - 64, y + 0.5 - 64) > 54) im.set(x, y, GREY);
    line(im, 30, 64, 50, 64, 3, LIGHT);
    line(im, 78, 64, 98, 64, 3, LIGHT);
    disc(im, 64, 64, 3, LIGHT);
    return im;
}

// A rose card of 256 texels: marks every 5 degrees, headings every 30.
image draw_rose(bool hsi)
{
    image im(256, 256, KEY);
    const double c = 128, r = 126;
    disc(im, c, c, r, BLACK);
    const char* labels[12] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    for (int deg = 0; deg < 360; deg += 5) {
        dial_tick(im, c, c, r - (deg % 10 ? 8 : 14), r - 2, deg, deg % 30 ? 1.5 : 2.5, WHITE);
        if (deg % 30 == 0) {
            double x, y;
            polar(c, c, r - 30, deg, x, y);
            centred_text(im, labels[deg / 30], x, y, WHITE, 2);
        }
    }
    if (hsi) disc(im, c, c, 60, KEY);
    return im;
}

image draw_custom()
{
    image im(256, 256, KEY);
    bezel(im, 128, 128, 120);
    for (int k = 0; k <= 10; ++k) dial_tick(im, 128, 128, 100, 114, -135.0 + 27.0 * k, 2, WHITE);
    centred_text(im, "CUSTOM", 128, 70, WHITE, 2);
    return im;
}

// A panel-font sheet in the colour key.
image from_sheet(const interface_art::image& sheet)
{
    image im(PANEL_ART_SIDE, PANEL_ART_SIDE, KEY);
    for (int y = 0; y < PANEL_ART_SIDE; ++y)
        for (int x = 0; x < PANEL_ART_SIDE; ++x) {
            const interface_art::rgba p = sheet.get(x, y);
            if (p.a) im.set(x, y, {p.r, p.g, p.b});
        }
    return im;
}

// --------------------------------------------------------------- panels ----

struct panel_style {
    const char* file;
    rgb face;          // panel colour
    rgb shield;        // glareshield colour
    int top;           // panel top edge (rows above are see-through)
    const char* title;
};

const panel_style panels[] = {
    {"PANEL_GENERAL.BMP", {112, 118, 126}, {40, 42, 46}, 500, "GENERAL"},
    {"PANEL_AIRLINER.BMP", {70, 78, 88}, {28, 30, 34}, 540, "AIRLINER"},
    {"PANEL_FIGHTER.BMP", {52, 60, 58}, {20, 22, 22}, 470, "FIGHTER"},
    {"PANEL_GLIDER.BMP", {210, 206, 196}, {60, 60, 60}, 460, "GLIDER"},
    {"PANEL_HELO.BMP", {62, 66, 70}, {30, 32, 34}, 480, "HELICOPTER"},
    {"PANEL_AUTOGYRO.BMP", {124, 110, 90}, {44, 40, 36}, 470, "AUTOGYRO"},
    {"PANEL_GENERAL_IFR.BMP", {96, 104, 116}, {36, 38, 42}, 520, "GENERAL IFR"},
    {"PANEL_AUTOGYRO_TWIN.BMP", {116, 104, 86}, {40, 36, 32}, 480, "AUTOGYRO TWIN"},
};

image draw_panel(const panel_style& s)
{
    image im(1024, 768, KEY);
    // The panel, a little lighter towards its top edge; the glareshield arches over it.
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const double arch = s.top + 28.0 * std::cos((x - 512.0) / 512.0 * PI * 0.5);
            if (y < arch - 24)
                im.set(x, y, mix(s.face, WHITE, 0.12 * y / 768.0));
            else if (y < arch)
                im.set(x, y, mix(s.shield, BLACK, (y - (arch - 24)) / 48.0));
        }
    }
    // Screw heads in the corners of the instrument area and the panel's own name plate.
    for (int x : {24, 1000})
        for (int y : {24, s.top - 60}) disc(im, x, y, 4, mix(s.face, BLACK, 0.4));
    im.fill(440, 16, 584, 32, mix(s.face, BLACK, 0.3));
    centred_text(im, s.title, 512, 24, WHITE);
    return im;
}

// A face painted centred on (x, y) at `scale` times its size, each panel
// texel taking the face texel under it.
void paint_scaled(image& panel, const image& face, float x, float y, float scale)
{
    if (!(scale > 0.0f) || !std::isfinite(x) || !std::isfinite(y)) return;   // a slot the panel pass passes over
    const int w = static_cast<int>(std::lround(face.w * scale)), h = static_cast<int>(std::lround(face.h * scale));
    const int left = static_cast<int>(std::lround(x)) - w / 2, bottom = static_cast<int>(std::lround(y)) - h / 2;
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) {
            const int fx = std::min(face.w - 1, static_cast<int>(u / scale));
            const int fy = std::min(face.h - 1, static_cast<int>(v / scale));
            const rgb c = face.px[size_t(fy) * size_t(face.w) + size_t(fx)];
            if (c.r == KEY.r && c.g == KEY.g && c.b == KEY.b) continue;
            panel.set(left + u, bottom + v, c);
        }
}

std::filesystem::path below(const std::string& folder, std::string colon_path)
{
    std::replace(colon_path.begin(), colon_path.end(), ':', '/');
    return std::filesystem::path(folder) / colon_path;
}

}  // namespace

int main(int argc, char** argv)
{
    // The program folder, then pairs of an own panel's path and its description.
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: gen_panel_bitmaps <program folder>/ (<own panel path below it> <its description>)...\n");
        return EXIT_FAILURE;
    }
    std::string folder = argv[1];
    if (!tool_program_folder(folder, "gen_panel_bitmaps", 40)) return EXIT_FAILURE;   // the description reads its airfoils
    const std::filesystem::path bitmaps = std::filesystem::path(folder) / "Resources/bitmaps";
    int written = 0;
    auto put = [&written](const std::filesystem::path& path, const image& im) {
        if (!write_bmp(path, im)) {
            std::fprintf(stderr, "gen_panel_bitmaps: cannot write %s\n", path.string().c_str());
            std::exit(EXIT_FAILURE);
        }
        ++written;
    };
    for (const panel_style& s : panels) put(bitmaps / "PANELS" / s.file, draw_panel(s));
    for (int t = 0; t < PANEL_INSTRUMENT_TYPES; ++t) {
        const std::string path = PANEL_instrument_picture(t);
        if (path.find(':') == std::string::npos) continue;   // retired
        put(below(bitmaps.string(), path), draw_face(t, path));
    }
    put(bitmaps / "PANEL_TEST_NEAREST.BMP", from_sheet(panel_sheets::sheet(SHEET_F1)));
    put(bitmaps / "PANEL_TEST_LINEAR.BMP", from_sheet(panel_sheets::sheet(SHEET_F2)));
    put(bitmaps / "PANEL_BLEND_LINEAR.BMP", draw_blend());
    put(bitmaps / "PANEL_COMPASS_ROSE.BMP", draw_rose(false));
    put(bitmaps / "PANEL_HSI_ROSE.BMP", draw_rose(true));
    put(bitmaps / "PANEL_CUSTOM.BMP", draw_custom());

    // The own panels: each aircraft's instruments painted in where its
    // description puts them, at their slots' sizes, its name on the plate.
    for (int k = 2; k + 1 < argc; k += 2) {
        char name[TEXT_SIZE], error[TEXT_SIZE];
        if (!ACF_read_description(argv[k + 1], 0, name, error)) {
            std::fprintf(stderr, "gen_panel_bitmaps: %s: %s\n", argv[k + 1], error);
            return EXIT_FAILURE;
        }
        // The plate names the aircraft: the last part of its name, in capitals.
        std::string title = name;
        title = title.substr(title.find_last_of(':') + 1);
        std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return std::toupper(c); });
        image own = draw_panel({"", {58, 64, 74}, {24, 26, 30}, 540, title.c_str()});
        const acf_struct& a = pln[0];
        for (int s = 0; s < ACF_INS_SLOTS; ++s)
            if (a.acf_ins_type[s] >= 0)
                paint_scaled(own, draw_face(a.acf_ins_type[s], PANEL_instrument_picture(a.acf_ins_type[s])),
                             a.acf_ins_x[s], a.acf_ins_y[s], a.acf_ins_size[s]);
        put(std::filesystem::path(folder) / argv[k], own);
    }
    std::printf("gen_panel_bitmaps: wrote %d bitmaps\n", written);
    return EXIT_SUCCESS;
}
