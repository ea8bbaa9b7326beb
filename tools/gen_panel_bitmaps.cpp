// Draws the cockpit bitmaps of the default data folder by code:
//  - the eight built-in forward panels "RESOURCES:BITMAPS:PANELS:PANEL_*.BMP"
//    (1024 x 768; magenta above the glareshield lets the view show through);
//  - a face for every instrument type that has a picture in the instrument
//    picture table, at its picture path below "RESOURCES:BITMAPS:" (magenta
//    outside the face is left off when the face is composed onto a panel);
//  - the airliner's own forward panel, with its instruments painted in.
//
// usage: gen_panel_bitmaps <program folder>/ <own panel path below the program folder>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/ogl_image.h"
#include "panel/instrument_pictures.h"
#include "tools/pixel_font.h"

namespace {

constexpr double PI = 3.14159265358979;

struct rgb {
    uint8_t r, g, b;
};
constexpr rgb KEY{255, 0, 255};
constexpr rgb BLACK{12, 12, 14};
constexpr rgb WHITE{236, 236, 230};
constexpr rgb GREY{120, 122, 126};
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
    for (char ch : s) {
        const pixel_glyph* g = pixel_font_find(static_cast<unsigned char>(ch), false);
        if (!g) {
            x += 4 * scale;
            continue;
        }
        const int gw = pixel_glyph_width(*g);
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < gw; ++col)
                if (pixel_glyph_ink(*g, col, r))
                    im.fill(x + col * scale, y + (6 - r) * scale, x + (col + 1) * scale, y + (7 - r) * scale, c);
        x += (gw + 1) * scale;
    }
}

int text_width(const std::string& s, int scale = 1)
{
    int w = 0;
    for (char ch : s) {
        const pixel_glyph* g = pixel_font_find(static_cast<unsigned char>(ch), false);
        w += (g ? pixel_glyph_width(*g) + 1 : 4) * scale;
    }
    return w;
}

void centred_text(image& im, const std::string& s, double cx, double cy, rgb c, int scale = 1)
{
    text(im, s, int(cx - text_width(s, scale) * 0.5), int(cy - 3.5 * scale), c, scale);
}

bool write_bmp(const std::filesystem::path& path, const image& im)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) return false;
    uint8_t header[BMP_HEADER_SIZE];
    BMP_make_header(header, im.w, im.h);
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    std::vector<uint8_t> row(BMP_row_bytes(im.w), 0);
    for (int y = 0; y < im.h && ok; ++y) {
        for (int x = 0; x < im.w; ++x) {
            const rgb& p = im.px[size_t(y) * size_t(im.w) + size_t(x)];
            row[size_t(x) * 3 + 0] = p.b;
            row[size_t(x) * 3 + 1] = p.g;
            row[size_t(x) * 3 + 2] = p.r;
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------- faces ----

enum class face_kind { dial, attitude, heading, vsi, compass, button, lever, label };

struct face_style {
    face_kind kind;
    int w, h;
    const char* caption;
    double lo, hi;      // scale values of a dial
    int major;          // numbered ticks
};

// How each instrument type is drawn; unknown types get a plain labelled plate.
face_style style_of(int type, const std::string& path)
{
    const bool hm = path.find("_HM") != std::string::npos;
    const int d = hm ? 100 : 110;
    switch (type) {
    case 74: return {face_kind::dial, d, d, "KNOTS", 0, 200, 10};
    case 75: return {face_kind::dial, d, d, "KNOTS", 0, 300, 10};
    case 78: return {face_kind::dial, d, d, "KNOTS", 0, 400, 8};
    case 94: case 96: return {face_kind::dial, d, d, "ALT", 0, 10, 10};
    case 90: case 93: return {face_kind::attitude, d, d, "", 0, 0, 0};
    case 109: case 110: case 112: return {face_kind::heading, d, d, "", 0, 0, 0};
    case 122: return {face_kind::vsi, d, d, "VSI", -2, 2, 4};
    case 123: return {face_kind::vsi, d, d, "VSI", -3, 3, 6};
    case 127: return {face_kind::vsi, d, d, "VSI", -2, 2, 4};
    case 337: return {face_kind::vsi, d, d, "TE", -8, 8, 8};
    case 106: case 108: return {face_kind::compass, 80, 40, "", 0, 0, 0};
    case 0: return {face_kind::label, 80, 20, "", 0, 0, 0};
    default: break;
    }
    if (path.find(":handles:") != std::string::npos) return {face_kind::lever, 40, 90, "", 0, 0, 0};
    if (path.find(":buttons:") != std::string::npos) return {face_kind::button, 32, 32, "", 0, 0, 0};
    return {face_kind::label, 64, 32, "", 0, 0, 0};
}

// A short caption from the picture's file name: "but_battery.bmp" -> "BATTERY".
std::string caption_of(const std::string& path)
{
    std::string name = path.substr(path.find_last_of(':') + 1);
    name = name.substr(0, name.find('.'));
    for (const char* p : {"but_", "han_slider_", "han_"})
        if (name.rfind(p, 0) == 0) name = name.substr(std::strlen(p));
    std::string out;
    for (char c : name) out += c == '_' ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out.substr(0, 10);
}

void bezel(image& im, double cx, double cy, double r)
{
    disc(im, cx, cy, r, DARK);
    disc(im, cx, cy, r - 3, BLACK);
}

void dial_ticks(image& im, double cx, double cy, double r, int count, double a0, double a1, rgb c)
{
    for (int i = 0; i <= count; ++i) {
        const double a = a0 + (a1 - a0) * i / count;
        line(im, cx + std::cos(a) * r * 0.78, cy + std::sin(a) * r * 0.78, cx + std::cos(a) * r * 0.95,
             cy + std::sin(a) * r * 0.95, 2, c);
    }
}

image draw_face(int type, const std::string& path)
{
    const face_style s = style_of(type, path);
    image im(s.w, s.h, KEY);
    const double cx = s.w * 0.5, cy = s.h * 0.5, r = std::min(s.w, s.h) * 0.5 - 1;
    switch (s.kind) {
    case face_kind::dial: {
        bezel(im, cx, cy, r);
        // Scale from 7 o'clock round to 5 o'clock, numbered at the major ticks.
        const double a0 = PI * 1.25, a1 = -PI * 0.25;
        dial_ticks(im, cx, cy, r, s.major * 2, a0, a1, GREY);
        dial_ticks(im, cx, cy, r, s.major, a0, a1, WHITE);
        for (int i = 0; i < s.major; i += (s.major > 8 ? 2 : 1)) {
            const double a = a0 + (a1 - a0) * i / s.major;
            const int v = int(std::lround(s.lo + (s.hi - s.lo) * i / s.major));
            centred_text(im, std::to_string(v), cx + std::cos(a) * r * 0.6, cy + std::sin(a) * r * 0.6, WHITE);
        }
        if (type >= 74 && type <= 79) {   // the green arc of the airspeed indicator
            for (double t = 0.2; t <= 0.6; t += 0.005) {
                const double a = a0 + (a1 - a0) * t;
                disc(im, cx + std::cos(a) * r * 0.9, cy + std::sin(a) * r * 0.9, 2, GREEN);
            }
        }
        centred_text(im, s.caption, cx, cy - r * 0.35, WHITE);
        break;
    }
    case face_kind::attitude: {
        bezel(im, cx, cy, r);
        for (int y = int(cy - r); y <= int(cy + r); ++y)
            for (int x = int(cx - r); x <= int(cx + r); ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r - 4) im.set(x, y, y >= cy ? SKY : EARTH);
        line(im, cx - r + 4, cy, cx + r - 4, cy, 2, WHITE);
        for (int k = -2; k <= 2; ++k)
            if (k) line(im, cx - 10, cy + k * 9, cx + 10, cy + k * 9, 1, WHITE);
        line(im, cx - 28, cy, cx - 10, cy, 3, YELLOW);
        line(im, cx + 10, cy, cx + 28, cy, 3, YELLOW);
        disc(im, cx, cy, 3, YELLOW);
        break;
    }
    case face_kind::heading: {
        bezel(im, cx, cy, r);
        dial_ticks(im, cx, cy, r, 36, PI * 0.5, PI * 0.5 - 2 * PI, GREY);
        const char* marks[4] = {"N", "E", "S", "W"};
        for (int i = 0; i < 4; ++i) {
            const double a = PI * 0.5 - i * PI * 0.5;
            centred_text(im, marks[i], cx + std::cos(a) * r * 0.62, cy + std::sin(a) * r * 0.62, WHITE);
        }
        line(im, cx, cy - r * 0.45, cx, cy + r * 0.45, 2, YELLOW);
        line(im, cx - 12, cy - 4, cx + 12, cy - 4, 2, YELLOW);
        break;
    }
    case face_kind::vsi: {
        bezel(im, cx, cy, r);
        const double a0 = PI * 1.0, a1 = -PI * 0.0;   // down on the left, up on the right via the top
        dial_ticks(im, cx, cy, r, s.major * 2, PI * 1.5 - 0.05, PI * -0.5 + 0.05, GREY);
        for (int i = 0; i < s.major; ++i) {   // the last mark meets the first at the bottom
            const double t = double(i) / s.major;
            const double a = PI * 1.5 - 0.05 + (PI * -0.5 + 0.05 - (PI * 1.5 - 0.05)) * t;
            const int v = int(std::lround(std::fabs(s.lo + (s.hi - s.lo) * t)));
            if (i % 2 == 0) centred_text(im, std::to_string(v), cx + std::cos(a) * r * 0.62, cy + std::sin(a) * r * 0.62, WHITE);
        }
        (void)a0;
        (void)a1;
        centred_text(im, s.caption, cx + r * 0.3, cy, WHITE);
        break;
    }
    case face_kind::compass: {
        im.fill(0, 0, s.w, s.h, DARK);
        im.fill(3, 3, s.w - 3, s.h - 3, BLACK);
        for (int x = 8; x < s.w - 8; x += 8) line(im, x, s.h * 0.55, x, s.h - 6, 1, WHITE);
        centred_text(im, "33  N  3", cx, s.h * 0.3, WHITE);
        line(im, cx, 4, cx, s.h - 4, 1, RED);
        break;
    }
    case face_kind::button: {
        im.fill(0, 0, s.w, s.h, DARK);
        im.fill(2, 2, s.w - 2, s.h - 2, GREY);
        im.fill(s.w / 2 - 3, 6, s.w / 2 + 3, s.h - 10, BLACK);   // the switch
        im.fill(s.w / 2 - 4, s.h - 12, s.w / 2 + 4, s.h - 6, WHITE);
        const std::string cap = caption_of(path).substr(0, 4);
        centred_text(im, cap, cx, 0.0 + 1, BLACK);
        break;
    }
    case face_kind::lever: {
        im.fill(s.w / 2 - 3, 4, s.w / 2 + 3, s.h - 4, BLACK);   // the slot
        rgb knob = GREY;
        if (path.find("thro") != std::string::npos) knob = BLACK;
        if (path.find("prop") != std::string::npos) knob = SKY;
        if (path.find("mix") != std::string::npos) knob = RED;
        if (path.find("collective") != std::string::npos) knob = YELLOW;
        im.fill(4, s.h - 22, s.w - 4, s.h - 8, knob);
        im.fill(4, s.h - 22, s.w - 4, s.h - 20, WHITE);
        break;
    }
    case face_kind::label: {
        im.fill(0, 0, s.w, s.h, WHITE);
        im.fill(1, 1, s.w - 1, s.h - 1, GREY);
        centred_text(im, caption_of(path), cx, cy, BLACK);
        break;
    }
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

// Paints instrument faces onto a panel the way the loader composes them:
// magenta texels are left off.
void paint(image& panel, const image& face, int left, int bottom)
{
    for (int y = 0; y < face.h; ++y)
        for (int x = 0; x < face.w; ++x) {
            const rgb c = face.px[size_t(y) * size_t(face.w) + size_t(x)];
            if (c.r == KEY.r && c.g == KEY.g && c.b == KEY.b) continue;
            panel.set(left + x, bottom + y, c);
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_panel_bitmaps <program folder>/ <own panel path below it>\n");
        return EXIT_FAILURE;
    }
    const std::string folder = argv[1];
    const std::string bitmaps = folder + "/Resources/bitmaps";
    int written = 0;
    for (const panel_style& s : panels) {
        if (!write_bmp(std::filesystem::path(bitmaps) / "PANELS" / s.file, draw_panel(s))) {
            std::fprintf(stderr, "gen_panel_bitmaps: cannot write panel %s\n", s.file);
            return EXIT_FAILURE;
        }
        ++written;
    }
    for (int t = 0; t < PANEL_INSTRUMENT_TYPES; ++t) {
        const std::string path = PANEL_instrument_picture(t);
        if (path.empty() || path.find(':') == std::string::npos) continue;   // none, or retired
        if (!write_bmp(below(bitmaps, path), draw_face(t, path))) {
            std::fprintf(stderr, "gen_panel_bitmaps: cannot write %s\n", path.c_str());
            return EXIT_FAILURE;
        }
        ++written;
    }

    // The airliner's own panel: its instruments painted in where its
    // description puts them (two rows of glass-cockpit style gauges).
    image own = draw_panel({"", {58, 64, 74}, {24, 26, 30}, 540, "ORVELL AIRLINER"});
    const struct {
        int type, x, y;
    } layout[] = {{78, 200, 300}, {93, 320, 300}, {96, 440, 300}, {112, 320, 180}, {127, 440, 180},
                  {108, 560, 300}, {5, 660, 420}, {29, 60, 90},  {30, 110, 90},  {31, 160, 90},
                  {33, 210, 90},  {47, 500, 150}, {48, 540, 150}, {56, 600, 150}};
    for (const auto& l : layout) {
        const std::string path = PANEL_instrument_picture(l.type);
        if (path.empty()) continue;
        const image face = draw_face(l.type, path);
        paint(own, face, l.x - face.w / 2, l.y - face.h / 2);
    }
    if (!write_bmp(std::filesystem::path(folder) / argv[2], own)) {
        std::fprintf(stderr, "gen_panel_bitmaps: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    ++written;
    std::printf("gen_panel_bitmaps: wrote %d bitmaps\n", written);
    return EXIT_SUCCESS;
}
