#include "core/units.h"
#include "tools/env/world_gen.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

namespace envgen {

namespace {

constexpr double PI = 3.14159265358979;
constexpr uint32_t SEED = 20240611u;

// ---------------------------------------------------------------------------
// Seeded value noise: a hashed lattice, smoothly interpolated.

uint32_t hash3(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h = seed ^ 0x9e3779b9u;
    h ^= static_cast<uint32_t>(x) * 0x85ebca6bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xc2b2ae35u;
    h *= 0x27d4eb2fu;
    h ^= h >> 15;
    h *= 0x165667b1u;
    h ^= h >> 13;
    return h;
}

double lattice(int32_t x, int32_t y, uint32_t seed) { return (hash3(x, y, seed) & 0xffffff) / 16777215.0; }

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

// 0..1 at a place given in lattice cells.
double value_noise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Octaves of noise, 0..1, the first `wavelength_km` long.
double fractal(double x_km, double y_km, double wavelength_km, int octaves, uint32_t seed)
{
    double sum = 0.0, weight = 0.0, amp = 1.0, w = wavelength_km;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(x_km / w, y_km / w, seed + 101u * static_cast<uint32_t>(o));
        weight += amp;
        amp *= 0.5;
        w *= 0.5;
    }
    return sum / weight;
}

double smoothstep(double lo, double hi, double v)
{
    if (v <= lo) return 0.0;
    if (v >= hi) return 1.0;
    return smooth((v - lo) / (hi - lo));
}

// ---------------------------------------------------------------------------
// The Earth's shapes, in latitude and longitude.

struct latlon {
    double lat, lon;
};

// The coast from north-west to south-east: the sea lies to the right (south-west).
const std::vector<latlon> COAST = {
    {34.60, -121.00}, {34.47, -120.47}, {34.42, -119.90}, {34.41, -119.60}, {34.28, -119.28}, {34.12, -119.10},
    {34.04, -118.80}, {34.02, -118.52}, {33.87, -118.42}, {33.73, -118.32}, {33.76, -118.16}, {33.70, -118.02},
    {33.60, -117.89}, {33.46, -117.71}, {33.38, -117.58}, {33.21, -117.40}, {33.00, -117.29}, {32.82, -117.28},
    {32.68, -117.24}, {32.55, -117.13}, {32.30, -117.05}, {31.50, -116.70},
};

struct ellipse {
    latlon centre;
    double along_km, across_km, heading_deg;   // half axes and the heading of the long one
    double level_m;                            // lake surface, or island crest
};

const ellipse CATALINA = {{33.385, -118.420}, 17.0, 5.0, 112.0, 560.0};
const std::vector<ellipse> LAKES = {
    {{33.30, -115.85}, 24.0, 11.0, 140.0, -69.0},   // the salt sea of the desert
    {{34.243, -116.955}, 3.6, 0.7, 90.0, 2058.0},   // the mountain lake
    {{33.665, -117.352}, 2.6, 1.6, 120.0, 380.0},
    {{33.858, -117.178}, 1.6, 1.1, 60.0, 485.0},
};

struct ridge {
    std::vector<latlon> line;
    double height_m, half_width_km;
};

const std::vector<ridge> RIDGES = {
    {{{34.62, -119.60}, {34.55, -119.10}, {34.50, -118.70}}, 1700.0, 12.0},
    {{{34.13, -118.95}, {34.12, -118.45}}, 700.0, 5.0},
    {{{34.36, -118.35}, {34.30, -118.05}, {34.34, -117.80}, {34.32, -117.62}}, 2200.0, 9.0},
    {{{34.24, -117.45}, {34.20, -117.15}, {34.12, -116.85}, {34.08, -116.60}}, 2600.0, 10.0},
    {{{33.95, -116.82}, {33.80, -116.68}, {33.62, -116.52}}, 2500.0, 8.0},
    {{{33.86, -117.66}, {33.70, -117.54}, {33.50, -117.40}}, 1250.0, 6.0},
    {{{33.30, -116.62}, {33.00, -116.55}, {32.70, -116.40}}, 1400.0, 12.0},
};

// The desert (north of the mountains, and the low valley to the east).
bool in_desert(double lat, double lon)
{
    const bool high_desert = lat > 34.42 + 0.1 * (lon + 118.0) && lon > -118.75;
    const bool low_desert = lon > -116.62 && lat > 33.0;
    return high_desert || low_desert;
}

// City centres beside the airports.
const std::vector<latlon> CITIES = {
    {34.052, -118.245}, {32.716, -117.162}, {33.770, -118.190}, {33.748, -117.868}, {34.106, -117.290},
};

struct tower_group {
    latlon centre;
    int count;
    double spread_km, low_ft, high_ft;
};

// ---------------------------------------------------------------------------
// Mars: a crater with a central mound, on a plain.

const latlon MARS_CRATER = {-5.40, 137.80};
const latlon MARS_MOUND = {-5.08, 137.85};

double distance_to_segment_km(double px, double py, double ax, double ay, double bx, double by, double& t)
{
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    t = len2 > 0.0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0.0;
    const double cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

}  // namespace

// ---------------------------------------------------------------------------

bool read_airports(const std::string& path, std::vector<airport>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        int code = 0;
        if (!(f >> code)) continue;
        if (code == 1 || code == 16 || code == 17) {
            airport a;
            double elevation_ft = 0.0;
            int tower = 0, buildings = 0;
            f >> elevation_ft >> tower >> buildings >> a.id;
            a.kind = code;
            a.elevation_m = static_cast<float>(elevation_ft * FT_TO_M_DOUBLE);
            out.push_back(a);
        } else if (code == 10 && !out.empty()) {
            runway r;
            std::string number;
            double length_ft = 0.0, dthr = 0.0, stop = 0.0, width_ft = 0.0;
            if (!(f >> r.lat >> r.lon >> number >> r.heading_deg >> length_ft >> dthr >> stop >> width_ft)) continue;
            r.length_m = length_ft * FT_TO_M_DOUBLE;
            r.width_m = width_ft * FT_TO_M_DOUBLE;
            r.taxiway = !number.empty() && number[0] == 'x';
            out.back().runways.push_back(r);
        } else if (code == 99) {
            break;
        }
    }
    out.erase(std::remove_if(out.begin(), out.end(), [](const airport& a) { return a.runways.empty(); }), out.end());
    return true;
}

world::world(int planet, std::vector<airport> airports) : planet_(planet), airports_(std::move(airports))
{
    const double radius_km = planet == 1 ? 3396.2 : 6378.145;
    ref_lat_ = planet == 1 ? -4.5 : 34.0;
    ref_lon_ = planet == 1 ? 137.0 : -118.0;
    km_per_deg_lat_ = radius_km * DEG_TO_RAD_DOUBLE;
    km_per_deg_lon_ = km_per_deg_lat_ * std::cos(ref_lat_ * DEG_TO_RAD_DOUBLE);
    add_features();
    add_objects();
}

world::place world::to_km(double lat, double lon) const
{
    return {(lon - ref_lon_) * km_per_deg_lon_ * std::cos(lat * DEG_TO_RAD_DOUBLE) / std::cos(ref_lat_ * DEG_TO_RAD_DOUBLE),
            (lat - ref_lat_) * km_per_deg_lat_};
}

// Land or water; `lake` gets the index of the lake (-1 the sea or land).
bool world::is_land(double lat, double lon, int& lake) const
{
    lake = -1;
    if (planet_ == 1) return true;
    const place p = to_km(lat, lon);
    auto inside = [&](const ellipse& e, double scale) {
        const place c = to_km(e.centre.lat, e.centre.lon);
        const double h = e.heading_deg * DEG_TO_RAD_DOUBLE;
        const double dx = p.x_km - c.x_km, dy = p.y_km - c.y_km;
        const double a = dx * std::sin(h) + dy * std::cos(h), b = dx * std::cos(h) - dy * std::sin(h);
        return (a * a) / (e.along_km * e.along_km * scale * scale) + (b * b) / (e.across_km * e.across_km * scale * scale);
    };
    // Land always around an airport.
    for (const airport& a : airports_) {
        const place q = to_km(a.runways[0].lat, a.runways[0].lon);
        if (std::hypot(q.x_km - p.x_km, q.y_km - p.y_km) < 2.5) return true;
    }
    for (size_t k = 0; k < LAKES.size(); ++k)
        if (inside(LAKES[k], 1.0) < 1.0) {
            lake = static_cast<int>(k);
            return false;
        }
    if (inside(CATALINA, 1.0) < 1.0) return true;

    // Signed distance to the coast: the sea on the right of the line.
    double best = 1e30;
    double side = 1.0;
    for (size_t k = 0; k + 1 < COAST.size(); ++k) {
        const place a = to_km(COAST[k].lat, COAST[k].lon), b = to_km(COAST[k + 1].lat, COAST[k + 1].lon);
        double t;
        const double d = distance_to_segment_km(p.x_km, p.y_km, a.x_km, a.y_km, b.x_km, b.y_km, t);
        if (d < best) {
            best = d;
            const double cross = (b.x_km - a.x_km) * (p.y_km - a.y_km) - (b.y_km - a.y_km) * (p.x_km - a.x_km);
            side = cross >= 0.0 ? 1.0 : -1.0;   // left of the line (north-east) is land
        }
    }
    return side > 0.0;
}

double world::base_height(double lat, double lon) const
{
    const place p = to_km(lat, lon);
    if (planet_ == 1) {
        // The plain falls to the north; the crater's floor, rim and mound.
        const place c = to_km(MARS_CRATER.lat, MARS_CRATER.lon);
        const place m = to_km(MARS_MOUND.lat, MARS_MOUND.lon);
        const double r = std::hypot(p.x_km - c.x_km, p.y_km - c.y_km);
        const double plain = -2200.0 - 20.0 * (p.y_km / 10.0);
        const double floor = -4500.0;
        const double rim = 1800.0 * std::exp(-std::pow((r - 77.0) / 9.0, 2.0));
        double h = r < 77.0 ? floor + (plain - floor) * std::pow(r / 77.0, 6.0) : plain;
        h += rim;
        const double rm = std::hypot(p.x_km - m.x_km, p.y_km - m.y_km);
        h += 4800.0 * std::exp(-std::pow(rm / 18.0, 2.0));
        // Small craters from the noise: round pits where the noise peaks.
        const double pits = fractal(p.x_km, p.y_km, 12.0, 2, SEED + 7);
        h -= 600.0 * smoothstep(0.72, 0.9, pits);
        h += 350.0 * (fractal(p.x_km, p.y_km, 30.0, 5, SEED + 3) - 0.5);
        return h;
    }

    // The land's level from the airports' elevations (inverse distance squared).
    double sum = 0.0, weight = 0.0;
    for (const airport& a : airports_) {
        const place q = to_km(a.runways[0].lat, a.runways[0].lon);
        const double d2 = std::pow(q.x_km - p.x_km, 2) + std::pow(q.y_km - p.y_km, 2) + 25.0;
        sum += a.elevation_m / d2;
        weight += 1.0 / d2;
    }
    double h = weight > 0.0 ? sum / weight : 0.0;
    // The high desert's plateau, raised smoothly from its edges.
    const double plateau = smoothstep(0.0, 0.2, lat - (34.42 + 0.1 * (lon + 118.0))) *
                           smoothstep(-118.95, -118.55, lon) * (1.0 - smoothstep(-117.1, -116.7, lon));
    if (h < 600.0) h += plateau * (600.0 + (h - 600.0) * 0.3 - h);

    // Low by the sea.
    double coast_km = 1e30;
    for (size_t k = 0; k + 1 < COAST.size(); ++k) {
        const place a = to_km(COAST[k].lat, COAST[k].lon), b = to_km(COAST[k + 1].lat, COAST[k + 1].lon);
        double t;
        coast_km = std::min(coast_km, distance_to_segment_km(p.x_km, p.y_km, a.x_km, a.y_km, b.x_km, b.y_km, t));
    }
    h *= smoothstep(0.0, 12.0, coast_km);

    // Mountain ridges, rugged by the noise.
    const double rugged = fractal(p.x_km, p.y_km, 14.0, 4, SEED + 11);
    for (const ridge& r : RIDGES) {
        double d = 1e30;
        for (size_t k = 0; k + 1 < r.line.size(); ++k) {
            const place a = to_km(r.line[k].lat, r.line[k].lon), b = to_km(r.line[k + 1].lat, r.line[k + 1].lon);
            double t;
            d = std::min(d, distance_to_segment_km(p.x_km, p.y_km, a.x_km, a.y_km, b.x_km, b.y_km, t));
        }
        if (d < 4.0 * r.half_width_km) h += r.height_m * std::exp(-std::pow(d / r.half_width_km, 2.0)) * (0.55 + 0.9 * rugged);
    }
    // The island.
    {
        const place c = to_km(CATALINA.centre.lat, CATALINA.centre.lon);
        const double d = std::hypot(p.x_km - c.x_km, p.y_km - c.y_km);
        if (d < 20.0) h += CATALINA.level_m * std::exp(-std::pow(d / 7.0, 2.0)) * (0.6 + 0.8 * rugged);
    }
    // Hills everywhere.
    h += 140.0 * (fractal(p.x_km, p.y_km, 24.0, 5, SEED) - 0.5);
    return h;
}

double world::height_m(double lat, double lon) const
{
    int lake = -1;
    if (!is_land(lat, lon, lake)) {
        if (lake >= 0) return LAKES[static_cast<size_t>(lake)].level_m;
        return 0.0;
    }
    double h = base_height(lat, lon);
    if (planet_ == 0) h = std::max(h, 1.0);   // land stands above the sea
    // Level around each airport: its field elevation within reach of its runways.
    const place p = to_km(lat, lon);
    for (const airport& a : airports_) {
        const place q = to_km(a.runways[0].lat, a.runways[0].lon);
        double reach = 0.0;
        for (const runway& r : a.runways) reach = std::max(reach, r.length_m * 0.0005);
        const double inner = 1.5 + reach;
        const double d = std::hypot(q.x_km - p.x_km, q.y_km - p.y_km);
        if (d > inner + 6.0) continue;
        h = a.elevation_m + (h - a.elevation_m) * smoothstep(inner, inner + 6.0, d);
    }
    return h;
}

int32_t world::landuse(double lat, double lon) const { return landuse_at(lat, lon, height_m(lat, lon)); }

int32_t world::landuse_at(double lat, double lon, double h) const
{
    const place p = to_km(lat, lon);
    if (planet_ == 1) {
        const double n = fractal(p.x_km, p.y_km, 20.0, 3, SEED + 29);
        if (h > -1200.0 || n > 0.66) return LU_ROCK;
        return LU_DESERT;
    }
    int lake = -1;
    if (!is_land(lat, lon, lake)) return lake >= 0 ? LU_LAKE : LU_OCEAN;

    // The towns about the airports and the city centres.
    for (const airport& a : airports_) {
        const place q = to_km(a.runways[0].lat, a.runways[0].lon);
        double longest = 0.0;
        for (const runway& r : a.runways) longest = std::max(longest, r.length_m);
        const double radius = longest > 2500.0 ? 7.0 : 3.0;
        if (std::hypot(q.x_km - p.x_km, q.y_km - p.y_km) < radius) return LU_URBAN;
    }
    for (const latlon& c : CITIES) {
        const place q = to_km(c.lat, c.lon);
        if (std::hypot(q.x_km - p.x_km, q.y_km - p.y_km) < 9.0) return LU_URBAN;
    }

    const double n = fractal(p.x_km, p.y_km, 9.0, 3, SEED + 17);
    if (h > 2750.0) return LU_SNOW;
    if (h > 1500.0 + 400.0 * n) return LU_FOREST;
    if (in_desert(lat, lon)) return n > 0.7 ? LU_SCRUB : LU_DESERT;
    if (h < 650.0 && n > 0.55) return LU_FARMLAND;
    return LU_SCRUB;
}

env::tile world::build_tile(int south, int west) const
{
    env::tile t = env::make_tile(planet_, south, west, 650, 'i');
    for (int i = 0; i <= t.rows; ++i)
        for (int j = 0; j <= t.cols; ++j) {
            env::grid_point& g = t.at(i, j);
            // The place as the file will hold it, so the program reads back this height.
            const int32_t code = env::pack_point(g.lat, g.lon, south, west);
            g.lat = south + (code / 10000) / 9999.0;
            g.lon = west + (code % 10000) / 9999.0;
            g.elevation_m = height_m(g.lat, g.lon);
            // Textures span two cells: tile position (i, j) mod 2, rotation 4.
            g.landuse_word = env::landuse_word(i % 2, j % 2, 1, 4, landuse_at(g.lat, g.lon, g.elevation_m));
        }
    for (const env::object_record& o : objects_)
        if (o.lat >= south && o.lat <= south + 1 && o.lon >= west && o.lon <= west + 1) t.objects.push_back(o);
    clip_into(t);
    return t;
}

std::vector<std::pair<int, int>> world::start_area_tiles(const std::vector<std::string>& ids) const
{
    const double half_lat = planet_ == 1 ? 2.5 : 1.0, half_lon = planet_ == 1 ? 3.0 : 1.5;
    const int n_lat = planet_ == 1 ? 5 : 2, n_lon = planet_ == 1 ? 6 : 3;
    auto round_away = [](double v) { return static_cast<int>(v < 0.0 ? v - 0.5 : v + 0.5); };
    std::set<std::pair<int, int>> tiles;
    for (const airport& a : airports_) {
        if (!ids.empty() && std::find(ids.begin(), ids.end(), a.id) == ids.end()) continue;
        const int lat0 = round_away(a.runways[0].lat - half_lat), lon0 = round_away(a.runways[0].lon - half_lon);
        for (int i = 0; i < n_lat; ++i)
            for (int j = 0; j < n_lon; ++j) tiles.insert({lat0 + i, lon0 + j});
    }
    return {tiles.begin(), tiles.end()};
}

// ---------------------------------------------------------------------------
// Features and objects.

void world::add_features()
{
    if (planet_ == 1) return;
    auto line = [&](int section, std::vector<latlon> pts, double wiggle_km) {
        feature f{section, {}};
        for (size_t k = 0; k + 1 < pts.size(); ++k) {
            const place a = to_km(pts[k].lat, pts[k].lon), b = to_km(pts[k + 1].lat, pts[k + 1].lon);
            const double len = std::hypot(b.x_km - a.x_km, b.y_km - a.y_km);
            const int steps = std::max(1, static_cast<int>(len / 1.5));
            for (int s = 0; s < steps; ++s) {
                const double t = static_cast<double>(s) / steps;
                double lat = pts[k].lat + (pts[k + 1].lat - pts[k].lat) * t;
                double lon = pts[k].lon + (pts[k + 1].lon - pts[k].lon) * t;
                if (s > 0 && wiggle_km > 0.0) {
                    const place q = to_km(lat, lon);
                    const double w = wiggle_km * (2.0 * fractal(q.x_km, q.y_km, 6.0, 2, SEED + 41 + section) - 1.0);
                    // Sideways to the leg.
                    lat += w * (-(b.x_km - a.x_km) / len) / km_per_deg_lat_;
                    lon += w * ((b.y_km - a.y_km) / len) / km_per_deg_lon_;
                }
                f.points.push_back({lat, lon});
            }
        }
        f.points.push_back({pts.back().lat, pts.back().lon});
        features_.push_back(std::move(f));
    };

    // Highways.
    line(env::HIGHWAYS, {{34.030, -118.470}, {34.035, -118.250}, {34.070, -117.750}, {34.065, -117.300},
                         {34.030, -117.050}, {33.930, -116.850}, {33.820, -116.550}, {33.720, -116.200},
                         {33.640, -115.700}},
         0.3);
    line(env::HIGHWAYS, {{32.720, -117.120}, {33.000, -117.080}, {33.480, -117.150}, {33.850, -117.500},
                         {34.060, -117.460}, {34.300, -117.470}, {34.500, -117.330}, {34.850, -117.050},
                         {35.300, -116.100}},
         0.3);
    line(env::HIGHWAYS, {{32.700, -117.150}, {33.200, -117.350}, {33.450, -117.650}, {33.700, -117.850},
                         {34.060, -118.230}, {34.400, -118.550}, {34.850, -118.880}, {35.600, -119.300}},
         0.3);
    line(env::HIGHWAYS, {{34.060, -118.230}, {34.160, -118.600}, {34.200, -119.200}, {34.450, -119.900},
                         {34.470, -120.400}},
         0.3);
    line(env::HIGHWAYS, {{33.900, -117.250}, {34.050, -117.275}, {34.200, -117.400}}, 0.2);
    // Trails in the mountains.
    line(env::TRAILS, {{34.220, -118.190}, {34.300, -118.000}, {34.370, -117.750}, {34.350, -117.650}}, 0.6);
    line(env::TRAILS, {{34.160, -117.300}, {34.240, -117.200}, {34.250, -116.900}, {34.280, -116.780}}, 0.6);
    line(env::TRAILS, {{33.745, -116.720}, {33.700, -116.600}, {33.580, -116.450}}, 0.6);
    // The railroad through the pass.
    line(env::RAILROADS, {{34.050, -118.230}, {34.060, -117.750}, {34.100, -117.300}, {34.300, -117.450},
                          {34.550, -117.350}, {34.900, -117.000}},
         0.2);
    // Power lines from the desert to the coast.
    line(env::POWER_LINES, {{35.000, -118.200}, {34.600, -118.100}, {34.300, -117.850}, {34.000, -117.900}}, 0.0);
    line(env::POWER_LINES, {{33.900, -116.500}, {34.000, -117.000}, {34.000, -117.600}, {33.900, -118.000}}, 0.0);
    // Rivers to the sea.
    line(env::RIVERS, {{34.130, -116.950}, {34.100, -117.150}, {34.070, -117.300}, {34.000, -117.450},
                       {33.900, -117.600}, {33.850, -117.750}, {33.750, -117.880}, {33.640, -117.960}},
         0.4);
    line(env::RIVERS, {{34.180, -118.450}, {34.150, -118.280}, {34.050, -118.230}, {33.900, -118.190},
                       {33.760, -118.200}},
         0.3);

    // Taxi lines along the taxiway rows of the first airport ("KSBD"), and from
    // the first taxiway to each start position's side of the field.
    for (const airport& a : airports_) {
        if (a.id != "KSBD") continue;
        for (const runway& r : a.runways) {
            if (!r.taxiway) continue;
            const double h = r.heading_deg * DEG_TO_RAD_DOUBLE, half = r.length_m * 0.5 / 1000.0;
            const double dlat = half * std::cos(h) / km_per_deg_lat_, dlon = half * std::sin(h) / km_per_deg_lon_;
            feature f{env::TAXI_LINES, {}};
            const int steps = std::max(2, static_cast<int>(r.length_m / 150.0));
            for (int s = 0; s <= steps; ++s) {
                const double t = -1.0 + 2.0 * s / steps;
                f.points.push_back({r.lat + dlat * t, r.lon + dlon * t});
            }
            features_.push_back(std::move(f));
        }
    }
}

void world::add_objects()
{
    if (planet_ == 1) return;
    uint32_t n = 0;
    auto place_group = [&](const tower_group& g, int32_t type) {
        for (int k = 0; k < g.count; ++k, ++n) {
            const double a = 2.0 * PI * lattice(static_cast<int32_t>(n), 1, SEED + 51);
            const double r = g.spread_km * std::sqrt(lattice(static_cast<int32_t>(n), 2, SEED + 51));
            env::object_record o;
            o.type = type;
            o.lat = static_cast<float>(g.centre.lat + r * std::cos(a) / km_per_deg_lat_);
            o.lon = static_cast<float>(g.centre.lon + r * std::sin(a) / km_per_deg_lon_);
            o.value = static_cast<float>(g.low_ft + (g.high_ft - g.low_ft) * lattice(static_cast<int32_t>(n), 3, SEED + 51));
            int lake;
            if (is_land(o.lat, o.lon, lake)) objects_.push_back(o);
        }
    };
    // Towers of the city centres (both sides of 300 ft) and low blocks around them.
    place_group({{34.050, -118.250}, 30, 1.2, 300.0, 1000.0}, 2);
    place_group({{34.050, -118.250}, 40, 3.0, 40.0, 299.0}, 2);
    place_group({{32.716, -117.162}, 14, 0.9, 300.0, 500.0}, 2);
    place_group({{32.716, -117.162}, 20, 2.0, 40.0, 299.0}, 2);
    place_group({{33.770, -118.190}, 8, 0.8, 250.0, 400.0}, 2);
    place_group({{34.106, -117.290}, 10, 1.0, 60.0, 320.0}, 2);
    place_group({{33.748, -117.868}, 8, 1.0, 80.0, 330.0}, 2);
    // Radio towers on the peaks, cooling towers and stacks of the power plants.
    place_group({{34.224, -118.066}, 4, 0.4, 500.0, 900.0}, 3);
    place_group({{33.810, -116.680}, 2, 0.5, 300.0, 400.0}, 3);
    place_group({{34.090, -117.560}, 2, 0.2, 350.0, 450.0}, 5);
    place_group({{33.760, -118.225}, 3, 0.3, 150.0, 250.0}, 6);
    place_group({{34.090, -117.560}, 2, 0.2, 200.0, 260.0}, 6);
}

// Each feature's pieces inside the tile, cut at its edges.
void world::clip_into(env::tile& t) const
{
    const double s = t.south, w = t.west, n = t.south + 1.0, e = t.west + 1.0;
    for (const feature& f : features_) {
        env::chain current;
        auto flush = [&] {
            if (current.size() >= 2) t.sections[static_cast<size_t>(f.section)].push_back(current);
            current.clear();
        };
        for (size_t k = 0; k + 1 < f.points.size(); ++k) {
            const env::seg_point a = f.points[k], b = f.points[k + 1];
            // Liang-Barsky: the part of a..b inside the tile.
            double t0 = 0.0, t1 = 1.0;
            const double dx = b.lon - a.lon, dy = b.lat - a.lat;
            const double p[4] = {-dx, dx, -dy, dy};
            const double q[4] = {a.lon - w, e - a.lon, a.lat - s, n - a.lat};
            bool outside = false;
            for (int m = 0; m < 4 && !outside; ++m) {
                if (p[m] == 0.0) {
                    outside = q[m] < 0.0;
                } else {
                    const double r = q[m] / p[m];
                    if (p[m] < 0.0)
                        t0 = std::max(t0, r);
                    else
                        t1 = std::min(t1, r);
                }
            }
            if (outside || t0 > t1) {
                flush();
                continue;
            }
            const env::seg_point from{a.lat + dy * t0, a.lon + dx * t0}, to{a.lat + dy * t1, a.lon + dx * t1};
            if (current.empty()) current.push_back(from);
            current.push_back(to);
            if (t1 < 1.0) flush();
        }
        flush();
    }
}

}  // namespace envgen
