// Writes the objects the terrain textures' definitions grow, and their
// textures, all made by code:
//   "Resources/AUTOGEN OBJECTS/<name>.obj" (object files of version 700):
//     house_a, house_b, house_c (houses, loaded one after another as the
//     alternatives of one definition), flats, farmhouse, barn, a lattice
//     mast with a pulsing red light (red code 9.9), a chimney that smokes, a
//     shop whose flat roof can be landed on (quad_hard), a traffic light
//     (red code 9.7) and a drive-in screen that shows the movie at night
//     (quad_movie);
//   "Resources/AUTOGEN TEXTURES/autogen.bmp" and "autogenLIT.bmp": their
//     256 x 256 atlas by day and its lit windows at night (see `atlas`).
//
// usage: gen_autogen <program folder>/
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/ogl_image.h"
#include "tools/bmp_writer.h"
#include "tools/tool_args.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// The atlas: texture rectangles (s0, s1, t0, t1).
struct rect {
    float s0, s1, t0, t1;
};
namespace atlas {
constexpr rect HOUSE_WALL{0.0f, 0.5f, 0.0f, 0.25f};
constexpr rect BRICK_WALL{0.5f, 1.0f, 0.0f, 0.25f};
constexpr rect FLATS_WALL{0.0f, 0.5f, 0.25f, 0.5f};
constexpr rect BARN_WALL{0.5f, 1.0f, 0.25f, 0.5f};
constexpr rect RED_ROOF{0.0f, 0.5f, 0.5f, 0.625f};
constexpr rect SLATE_ROOF{0.5f, 1.0f, 0.5f, 0.625f};
constexpr rect CONCRETE{0.0f, 0.25f, 0.625f, 0.75f};
constexpr rect METAL{0.25f, 0.5f, 0.625f, 0.75f};
constexpr rect GRAVEL_ROOF{0.5f, 0.75f, 0.625f, 0.75f};
constexpr rect SCREEN{0.75f, 1.0f, 0.625f, 0.75f};
constexpr rect SHOP_FRONT{0.0f, 1.0f, 0.75f, 1.0f};
}  // namespace atlas

struct rgb {
    float r, g, b;
};

struct image {
    static constexpr int SIZE = 256;
    std::vector<rgb> px = std::vector<rgb>(size_t(SIZE) * SIZE, rgb{0, 0, 0});
    rgb& at(int x, int y) { return px[size_t(y) * SIZE + size_t(x)]; }
};

float grain(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

rgb scale(rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }

// Fills a rectangle of both pictures: colour(u, v) gives the day colour and
// whether the texel is a window (lit at night), u and v 0..1 across it.
template <class F>
void paint(image& day, image& lit, const rect& r, F colour)
{
    const int x0 = static_cast<int>(std::lround(r.s0 * image::SIZE)), x1 = static_cast<int>(std::lround(r.s1 * image::SIZE));
    const int y0 = static_cast<int>(std::lround(r.t0 * image::SIZE)), y1 = static_cast<int>(std::lround(r.t1 * image::SIZE));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float u = (x - x0 + 0.5f) / (x1 - x0), v = (y - y0 + 0.5f) / (y1 - y0);
            bool window = false;
            day.at(x, y) = colour(u, v, x, y, window);
            lit.at(x, y) = window ? scale(rgb{255, 214, 140}, 0.75f + 0.25f * grain(x / 4, y / 4, 77)) : rgb{0, 0, 0};
        }
}

// Windows on a wall: `across` columns and `floors` rows, each window a share of its bay.
bool in_window(float u, float v, int across, int floors, float w = 0.5f, float h = 0.45f, float base = 0.0f)
{
    if (v < base) return false;
    const float vv = (v - base) / (1.0f - base);
    const float bu = u * across - std::floor(u * across), bv = vv * floors - std::floor(vv * floors);
    return std::fabs(bu - 0.5f) < w * 0.5f && std::fabs(bv - 0.55f) < h * 0.5f;
}

void draw_atlas(image& day, image& lit)
{
    const rgb glass{70, 86, 104};
    paint(day, lit, atlas::HOUSE_WALL, [&](float u, float v, int x, int y, bool& win) {
        const bool door = std::fabs(u - 0.5f) < 0.06f && v < 0.6f;
        win = !door && in_window(u, v, 4, 1, 0.35f, 0.4f) && std::fabs(u - 0.5f) > 0.1f;
        if (door) return rgb{96, 64, 40};
        return win ? glass : scale(rgb{226, 214, 188}, 0.92f + 0.1f * grain(x, y, 1));
    });
    paint(day, lit, atlas::BRICK_WALL, [&](float u, float v, int x, int y, bool& win) {
        win = in_window(u, v, 3, 2, 0.4f, 0.45f);
        if (win) return glass;
        const bool mortar = y % 4 == 0 || (x + (y / 4 % 2) * 4) % 8 == 0;
        return mortar ? rgb{190, 180, 168} : scale(rgb{156, 78, 58}, 0.88f + 0.2f * grain(x, y, 2));
    });
    paint(day, lit, atlas::FLATS_WALL, [&](float u, float v, int x, int y, bool& win) {
        win = in_window(u, v, 8, 5, 0.55f, 0.5f);
        return win ? glass : scale(rgb{200, 198, 192}, 0.9f + 0.12f * grain(x, y, 3));
    });
    paint(day, lit, atlas::BARN_WALL, [&](float u, float v, int x, int y, bool& win) {
        win = false;
        const bool board = x % 6 == 0;
        const bool door = std::fabs(u - 0.5f) < 0.2f && v < 0.7f;
        rgb c = door ? rgb{120, 44, 36} : rgb{150, 52, 42};
        if (door && (std::fabs(u - 0.5f) < 0.01f || std::fabs(std::fabs(u - 0.5f) - 0.19f) < 0.01f)) c = rgb{230, 226, 214};
        return scale(board ? scale(c, 0.8f) : c, 0.9f + 0.15f * grain(x, y, 4));
    });
    paint(day, lit, atlas::RED_ROOF, [&](float, float, int x, int y, bool& win) {
        win = false;
        return scale(y % 4 == 0 ? rgb{120, 52, 40} : rgb{164, 74, 54}, 0.88f + 0.2f * grain(x / 3, y, 5));
    });
    paint(day, lit, atlas::SLATE_ROOF, [&](float, float, int x, int y, bool& win) {
        win = false;
        return scale(y % 4 == 0 ? rgb{58, 60, 66} : rgb{88, 90, 98}, 0.88f + 0.2f * grain(x / 3, y, 6));
    });
    // The plain materials: one colour under a grain, no windows.
    struct plain {
        rect r;
        rgb colour;
        float base, grain_share;
        uint32_t seed;
    };
    for (const plain& m : {plain{atlas::CONCRETE, {170, 168, 160}, 0.85f, 0.2f, 7},
                           plain{atlas::METAL, {140, 146, 152}, 0.9f, 0.15f, 8},
                           plain{atlas::GRAVEL_ROOF, {128, 126, 118}, 0.75f, 0.4f, 9},
                           plain{atlas::SCREEN, {96, 96, 100}, 0.95f, 0.05f, 10}})
        paint(day, lit, m.r, [&](float, float, int x, int y, bool& win) {
            win = false;
            return scale(m.colour, m.base + m.grain_share * grain(x, y, m.seed));
        });
    paint(day, lit, atlas::SHOP_FRONT, [&](float u, float v, int x, int y, bool& win) {
        const bool sign = v > 0.72f && v < 0.9f && std::fabs(u - 0.5f) < 0.3f;
        win = (v > 0.12f && v < 0.62f && std::fmod(u * 6.0f, 1.0f) > 0.08f) || sign;
        if (sign) return rgb{40, 120, 190};
        return win ? glass : scale(rgb{214, 208, 196}, 0.9f + 0.12f * grain(x, y, 11));
    });
}

bool write_bmp(const fs::path& path, const image& im)
{
    return write_float_bmp(path, image::SIZE, image::SIZE, im.px, 255.0f);
}

// ---------------------------------------------------------------------------
// Object files. Faces are wound clockwise as seen from outside (the program's
// front faces); x east, y up, z south.

struct v3 {
    float x, y, z;
};

class object_file {
public:
    object_file(const std::string& description, float far_m)
    {
        out_ << "I\n700 version\n" << description << "\nautogen // the autogen atlas\n";
        out_ << "ATTR_LOD 0 " << far_m << "\n";
    }
    std::string text() { return out_.str() + "end\n"; }

    void vertex(v3 p, float s, float t) { out_ << p.x << ' ' << p.y << ' ' << p.z << "  " << s << ' ' << t << '\n'; }

    // A quad given in drawing order with the rectangle's corners (s0,t0) (s0,t1) (s1,t1) (s1,t0).
    void quad(const char* keyword, v3 a, v3 b, v3 c, v3 d, const rect& r)
    {
        out_ << keyword << " // face\n";
        vertex(a, r.s0, r.t0);
        vertex(b, r.s0, r.t1);
        vertex(c, r.s1, r.t1);
        vertex(d, r.s1, r.t0);
    }
    // An upright wall from bl to br (its foot, left to right as seen from outside), y0 to y1.
    void wall(v3 bl, v3 br, float y1, const rect& r)
    {
        quad("quad", bl, {bl.x, y1, bl.z}, {br.x, y1, br.z}, br, r);
    }
    // The four walls of a box from y0 to y1.
    void walls(float x0, float x1, float z0, float z1, float y0, float y1, const rect& r)
    {
        wall({x0, y0, z1}, {x1, y0, z1}, y1, r);   // south
        wall({x1, y0, z0}, {x0, y0, z0}, y1, r);   // north
        wall({x1, y0, z1}, {x1, y0, z0}, y1, r);   // east
        wall({x0, y0, z0}, {x0, y0, z1}, y1, r);   // west
    }
    // A flat roof, clockwise from above: north-west, north-east, south-east, south-west.
    void flat_roof(const char* keyword, float x0, float x1, float z0, float z1, float y, const rect& r)
    {
        out_ << keyword << " // roof\n";
        vertex({x0, y, z0}, r.s0, r.t1);
        vertex({x1, y, z0}, r.s1, r.t1);
        vertex({x1, y, z1}, r.s1, r.t0);
        vertex({x0, y, z1}, r.s0, r.t0);
    }
    // A gable roof with its ridge along x, eaves at `eave`, overhanging by o.
    void gable(float x0, float x1, float z0, float z1, float eave, float ridge, float o, const rect& roof,
               const rect& gable_wall)
    {
        const float zm = 0.5f * (z0 + z1);
        // Each slope clockwise from above: its north-west, north-east, south-east and south-west corners.
        quad("quad", {x0 - o, ridge, zm}, {x1 + o, ridge, zm}, {x1 + o, eave, z1 + o}, {x0 - o, eave, z1 + o}, roof);
        quad("quad", {x0 - o, eave, z0 - o}, {x1 + o, eave, z0 - o}, {x1 + o, ridge, zm}, {x0 - o, ridge, zm}, roof);
        tri({x1, eave, z1}, {x1, ridge, zm}, {x1, eave, z0}, gable_wall);
        tri({x0, eave, z0}, {x0, ridge, zm}, {x0, eave, z1}, gable_wall);
    }
    void tri(v3 a, v3 b, v3 c, const rect& r)
    {
        out_ << "tri // gable\n";
        vertex(a, r.s0, r.t0);
        vertex(b, 0.5f * (r.s0 + r.s1), r.t1);
        vertex(c, r.s1, r.t0);
    }
    void light(v3 p, float r, float g, float b)
    {
        out_ << "light // lamp\n" << p.x << ' ' << p.y << ' ' << p.z << "  " << r << ' ' << g << ' ' << b << '\n';
    }
    void smoke(const char* keyword, v3 p, float size)
    {
        out_ << keyword << ' ' << p.x << ' ' << p.y << ' ' << p.z << ' ' << size << '\n';
    }
    void movie_screen(v3 top_left, v3 bottom_right, const rect& r)
    {
        // Top right, bottom right, bottom left, top left: the movie's corners 0..3.
        out_ << "quad_movie // the screen\n";
        vertex({bottom_right.x, top_left.y, top_left.z}, r.s1, r.t1);
        vertex({bottom_right.x, bottom_right.y, top_left.z}, r.s1, r.t0);
        vertex({top_left.x, bottom_right.y, top_left.z}, r.s0, r.t0);
        vertex(top_left, r.s0, r.t1);
    }

private:
    std::ostringstream out_;
};

std::string house(float hx, float hz, float eave, float ridge, const rect& wall, const rect& roof)
{
    object_file f("OBJ a house", 4000.0f);
    f.walls(-hx, hx, -hz, hz, 0, eave, wall);
    f.gable(-hx, hx, -hz, hz, eave, ridge, 0.5f, roof, wall);
    return f.text();
}

std::string flats()
{
    object_file f("OBJ a block of flats", 6000.0f);
    f.walls(-10, 10, -6, 6, 0, 15, atlas::FLATS_WALL);
    f.flat_roof("quad", -10, 10, -6, 6, 15, atlas::GRAVEL_ROOF);
    return f.text();
}

std::string barn()
{
    object_file f("OBJ a barn", 4000.0f);
    f.walls(-8, 8, -5, 5, 0, 4.5f, atlas::BARN_WALL);
    f.gable(-8, 8, -5, 5, 4.5f, 8.5f, 0.4f, atlas::SLATE_ROOF, atlas::BARN_WALL);
    return f.text();
}

std::string mast()
{
    object_file f("OBJ a lattice mast with a pulsing red light on top", 9000.0f);
    f.walls(-0.6f, 0.6f, -0.6f, 0.6f, 0, 40, atlas::METAL);
    f.light({0, 40.5f, 0}, 99, 0, 0);   // red code 9.9: pulsing
    return f.text();
}

std::string chimney()
{
    object_file f("OBJ a factory chimney, smoking", 8000.0f);
    f.walls(-1.5f, 1.5f, -1.5f, 1.5f, 0, 32, atlas::CONCRETE);
    f.walls(-6, 6, -4, 4, 0, 7, atlas::BRICK_WALL);
    f.flat_roof("quad", -6, 6, -4, 4, 7, atlas::GRAVEL_ROOF);
    f.smoke("smoke_black", {0, 32, 0}, 3.0f);
    return f.text();
}

std::string shop()
{
    object_file f("OBJ a shop whose flat roof takes a landing", 5000.0f);
    f.walls(-12, 12, -9, 9, 0, 5, atlas::SHOP_FRONT);
    f.flat_roof("quad_hard", -12, 12, -9, 9, 5, atlas::GRAVEL_ROOF);
    f.light({0, 5.5f, 9.5f}, 10, 9, 7);
    return f.text();
}

std::string traffic_light()
{
    object_file f("OBJ a traffic light", 3000.0f);
    f.walls(-0.12f, 0.12f, -0.12f, 0.12f, 0, 5, atlas::METAL);
    f.walls(-0.25f, 0.25f, -0.2f, 0.2f, 4, 5.2f, atlas::METAL);
    f.light({0, 4.6f, 0.3f}, 97, 0, 0);   // red code 9.7: green, yellow, red
    return f.text();
}

std::string screen()
{
    object_file f("OBJ a drive-in screen", 5000.0f);
    f.walls(-10.5f, -9.5f, -0.5f, 0.5f, 0, 4, atlas::METAL);
    f.walls(9.5f, 10.5f, -0.5f, 0.5f, 0, 4, atlas::METAL);
    f.wall({10.5f, 4, -0.5f}, {-10.5f, 4, -0.5f}, 13, atlas::METAL);   // its back, facing north
    f.movie_screen({-10, 12.5f, 0.5f}, {10, 4.5f, 0.5f}, atlas::SCREEN);
    return f.text();
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_autogen <program folder>/")) return 2;
    const fs::path resources = fs::path(argv[1]) / "Resources";
    const fs::path objects = resources / "AUTOGEN OBJECTS";
    std::error_code ec;
    fs::create_directories(objects, ec);

    const std::pair<const char*, std::string> files[] = {
        {"house_a", house(5, 4, 3, 6, atlas::HOUSE_WALL, atlas::RED_ROOF)},
        {"house_b", house(4.5f, 6, 3.2f, 6.5f, atlas::BRICK_WALL, atlas::SLATE_ROOF)},
        {"house_c", house(4, 4, 6, 8.5f, atlas::HOUSE_WALL, atlas::SLATE_ROOF)},
        {"farmhouse", house(6, 5, 5.5f, 9, atlas::HOUSE_WALL, atlas::RED_ROOF)},
        {"flats", flats()},
        {"barn", barn()},
        {"mast", mast()},
        {"chimney", chimney()},
        {"shop", shop()},
        {"traffic_light", traffic_light()},
        {"screen", screen()},
    };
    for (const auto& [name, text] : files) {
        std::ofstream out(objects / (std::string(name) + ".obj"), std::ios::binary);
        out << text;
        if (!out) {
            std::fprintf(stderr, "gen_autogen: cannot write %s.obj\n", name);
            return 1;
        }
    }

    image day, lit;
    draw_atlas(day, lit);
    const fs::path textures = resources / "AUTOGEN TEXTURES";
    if (!write_bmp(textures / "autogen.bmp", day) || !write_bmp(textures / "autogenLIT.bmp", lit)) {
        std::fprintf(stderr, "gen_autogen: cannot write the textures\n");
        return 1;
    }
    std::printf("gen_autogen: wrote %zu objects and their textures\n", std::size(files));
    return 0;
}
