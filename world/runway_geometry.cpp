// Runway strips and lights. A strip is cut into rows about as long as the
// runway is wide; marking rows (threshold bars, letter, number, touchdown
// marks) are a quarter or half as long, so the strip still ends at the
// runway's far end. Lights are laid from the strip's first and last sections.
#include "world/runway_geometry.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/physics.h"
#include "core/text_util.h"
#include "world/apt_scene.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/runway_outline.h"

std::vector<runway_geometry_record> runway_geometry_table;

const airport_record* APT_near_airport(int n, int& airport_index)
{
    if (n < 0 || n >= LOCAL_AIRPORT_MAX || n > local_airport_last) return nullptr;
    airport_index = local_airport_list[n];
    if (airport_index < 0 || static_cast<size_t>(airport_index) >= airport_table.size()) return nullptr;
    return &airport_table[static_cast<size_t>(airport_index)];
}

const runway_geometry_record* APT_runway_geometry(const airport_record& a, int r)
{
    if (r < 0 || static_cast<size_t>(r) >= a.runways.size()) return nullptr;
    const int32_t g = a.runways[static_cast<size_t>(r)].geometry_index;
    if (g < 0 || static_cast<size_t>(g) >= runway_geometry_table.size()) return nullptr;
    const runway_geometry_record& e = runway_geometry_table[static_cast<size_t>(g)];
    return e.sections.empty() ? nullptr : &e;
}

runway_quad APT_runway_quad(const runway_geometry_record& g)
{
    const runway_section& first = g.sections.front();
    const runway_section& last = g.sections.back();
    return {last.left, last.right, first.right, first.left};
}

bool APT_inside_runway(const runway_quad& q, float x, float z)
{
    const float* corners[5] = {q.A, q.B, q.C, q.D, q.A};
    for (int k = 0; k < 4; ++k)
        if (!GEO_circle_inside_edge(corners[k][0], corners[k][2], corners[k + 1][0], corners[k + 1][2], x, z, 0.0f))
            return false;
    return true;
}

namespace {

const airport_record* airport_at(int airport)
{
    if (airport < 0 || static_cast<size_t>(airport) >= airport_table.size()) return nullptr;
    return &airport_table[static_cast<size_t>(airport)];
}

const runway_record* runway_at(int airport, int runway)
{
    const airport_record* a = airport_at(airport);
    if (!a || runway < 0 || static_cast<size_t>(runway) >= a->runways.size()) return nullptr;
    return &a->runways[static_cast<size_t>(runway)];
}

runway_geometry_record* entry_at(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= runway_geometry_table.size()) return nullptr;
    return &runway_geometry_table[static_cast<size_t>(index)];
}

bool usable(float v) { return std::isfinite(v) && v > 0.0f; }

// Rounded half away from zero. A damaged length or displacement can make a
// quotient past int's range, which no cast may take: it is held at +-2^30,
// beyond every cap the callers apply and far enough from int's limits that
// the row sums made of it cannot overflow.
int round_half(double v)
{
    constexpr double most = 1073741824.0;
    const double r = v < 0.0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    return static_cast<int>(std::isnan(r) ? 0.0 : std::clamp(r, -most, most));
}

// A local point straight above (x, z) on the sphere of radius R + height: the
// same point as turning (x, z) into latitude and longitude on that sphere and
// placing it back there, as the local frame's origin lies on the y axis.
void on_sphere(double x, double z, double height, float out[3])
{
    const double R = sim_physics.earth_radius_m;
    const double r = R + height;
    const double h2 = r * r - x * x - z * z;
    out[0] = static_cast<float>(x);
    out[1] = static_cast<float>((h2 > 0.0 ? std::sqrt(h2) : 0.0) - R);
    out[2] = static_cast<float>(z);
}

float decode_field(float packed, int end)
{
    // Not a number has no whole count of light rows, and a length far below 0 asks for more strip rows than memory.
    if (!std::isfinite(packed) || packed <= 0.0f) return 0.0f;
    const double whole = std::trunc(static_cast<double>(packed));
    const double feet = end == 0 ? whole : (static_cast<double>(packed) - whole) * 10000.0;
    return static_cast<float>(feet * FT_TO_M_DOUBLE);
}

// The number of a runway end from its designator's two digits, in 1..36.
int wrap_number(int n)
{
    while (n > 36) n -= 36;
    while (n < 1) n += 36;
    return n;
}

// What a strip row shows.
struct row_roles {
    bool bars = false, wide_bars = false;
    bool letter[2] = {false, false};
    bool number[2] = {false, false};
    bool mark_a = false, mark_b = false, mark_c = false, mark_d = false, mark_e = false;
};

// The single degenerate section of a refused runway. A zero or non-finite
// width or length would make the row count a division by zero; such a runway
// is refused: this one section at its point draws no strip and gives the
// light builder no first and last section to lay lights from.
void degenerate_section(runway_geometry_record& e, const airport_record* a, const runway_record* r)
{
    runway_section s{};
    s.texture_slot = r ? r->surface_code : 0;
    if (a && r) {
        float x, y, z;
        GEO_latlon_to_local(x, y, z, r->lat, r->lon, a->elevation);
        s.left[0] = s.right[0] = x;
        s.left[1] = s.right[1] = y;
        s.left[2] = s.right[2] = z;
    }
    e.sections.push_back(s);
}

}  // namespace

runway_lengths APT_runway_lengths(float packed_displaced, float packed_overruns)
{
    runway_lengths l{};
    for (int end = 0; end < 2; ++end) {
        l.displaced[end] = decode_field(packed_displaced, end);
        l.overrun[end] = decode_field(packed_overruns, end);
    }
    return l;
}

void APT_build_runway_strip(int airport, int runway, int table_index)
{
    (void)table_index;   // the entry made here is the one the caller numbered
    runway_geometry_table.emplace_back();
    runway_geometry_record& entry = runway_geometry_table.back();
    const airport_record* apt = airport_at(airport);
    const runway_record* rwy = runway_at(airport, runway);
    if (!apt || !rwy) {
        degenerate_section(entry, apt, rwy);
        return;
    }
    const runway_lengths len = APT_runway_lengths(rwy->displaced_thresholds, rwy->stopways);
    const float ov0 = len.overrun[0], ov1 = len.overrun[1], dt0 = len.displaced[0], dt1 = len.displaced[1];
    const double T = static_cast<double>(ov0) + rwy->length + ov1;
    if (!usable(rwy->width) || !usable(rwy->length) || !std::isfinite(T)) {
        degenerate_section(entry, apt, rwy);
        return;
    }

    float lat[4], lon[4], heights[4];
    APT_runway_outline(airport, runway, lat, lon, heights, 0);

    // Row boundaries of the overruns and displaced areas.
    // The row count is capped (RUNWAY_MAX_ROWS): a damaged width of a
    // millimetre would otherwise ask for millions of rows and exhaust memory.
    int N = std::min(round_half(T / rwy->width), RUNWAY_MAX_ROWS);
    int o0 = round_half(N * ov0 / T), o1 = round_half(N * ov1 / T);
    if (ov0 > 0.0f) o0 = std::max(o0, 1);
    if (ov1 > 0.0f) o1 = std::max(o1, 1);
    int d0 = round_half(N * (ov0 + dt0) / T), d1 = round_half(N * (ov1 + dt1) / T);
    if (dt0 > 0.0f && d0 == o0) d0 = o0 + 1;
    if (dt1 > 0.0f && d1 == o1) d1 = o1 + 1;

    const int surface = rwy->surface_code;
    const char c0 = rwy->number[0];
    const bool soft = surface == 162 || surface == 163 || surface == 164 || surface == 165 || surface == 168 ||
                      surface == 169;
    if ((soft || (c0 != 'x' && c0 != 'H')) && N < 4) N = 3;
    const int M = N;
    const int markings = rwy->markings_code;
    if (markings > 0) N += 4;
    const int f = surface == 161 ? 1 : 0;

    // The marking rows of each end; an end-1 row k is row N - 1 - d1 - k.
    std::vector<row_roles> roles(static_cast<size_t>(N) + 1);
    auto role = [&](int end, int k) -> row_roles* {
        const int row = end == 0 ? d0 + k : N - 1 - d1 - k;
        if (row < 0 || row > N) return nullptr;   // a short strip: a row past its ends would be written past the list
        return &roles[static_cast<size_t>(row)];
    };
    for (int end = 0; end < 2 && markings > 0; ++end) {
        auto set = [&](int k, bool row_roles::*flag) {
            if (row_roles* r = role(end, k)) r->*flag = true;
        };
        int k = 0;
        if (markings >= 2) {
            if (row_roles* r = role(end, k)) (markings == 3 && rwy->width > 50.0f ? r->wide_bars : r->bars) = true;
            ++k;
        }
        if (row_roles* r = role(end, k)) r->letter[end] = true;
        if (row_roles* r = role(end, k + 1)) r->number[end] = true;
        set(k + 2, &row_roles::mark_a);
        if (markings == 2) set(k + 5, &row_roles::mark_b);
        if (markings == 3) {
            set(k + 3, &row_roles::mark_e);
            set(k + 5, &row_roles::mark_b);
            set(k + 7, &row_roles::mark_d);
            set(k + 9, &row_roles::mark_d);
            set(k + 11, &row_roles::mark_c);
            set(k + 13, &row_roles::mark_c);
        }
    }

    // The numbers of the two ends and their texture slots.
    const int number0 = wrap_number(10 * UTIL_char_to_digit(rwy->number[0]) + UTIL_char_to_digit(rwy->number[1]));
    const int number1 = wrap_number(number0 + 18);
    const int number_slot[2] = {2 * number0 + 68 + f, 2 * number1 + 68 + f};
    const char letter = rwy->number[0] ? rwy->number[2] : 0;

    // Sections along the outline's edges.
    double t = 0.0;
    for (int k = 0; k <= N; ++k) {
        const row_roles& r = roles[static_cast<size_t>(k)];
        const double u = M > 0 ? t / M : 0.5;
        runway_section s{};
        for (int side = 0; side < 2; ++side) {
            const int a = side, b = side + 2;   // start and end corner of the edge
            const double la = lat[a] + (lat[b] - lat[a]) * u, lo = lon[a] + (lon[b] - lon[a]) * u;
            float* p = side == 0 ? s.left : s.right;
            GEO_latlon_to_local(p[0], p[1], p[2], la, lo, apt->elevation);
        }

        int slot;
        if (surface == 160) slot = 154;
        else if (surface == 161) slot = 155;
        else if (surface >= 162 && surface <= 165) slot = (k == 0 || k == N - 1) ? surface + 8 : surface;
        else if (surface == 152 || surface == 153 || (surface >= 166 && surface <= 169) || surface == 175) slot = surface;
        else slot = 154;   // a surface code of no listed kind draws as plain pavement

        if (markings > 0) {
            if (k < o0 || k >= N - o1) slot = 50 + f;
            else if (k < d0 || k >= N - d1) slot = 54 + f;
            else if (r.bars) slot = 58 + f;
            else if (r.wide_bars) slot = 60 + f;
            else if (r.letter[0] && (letter == 'L' || letter == 'C' || letter == 'R' || letter == 'x'))
                slot = (letter == 'L' ? 62 : letter == 'C' ? 64 : letter == 'R' ? 66 : 68) + f;
            else if (r.letter[1] && (letter == 'L' || letter == 'C' || letter == 'R' || letter == 'x'))
                slot = (letter == 'L' ? 66 : letter == 'C' ? 64 : letter == 'R' ? 62 : 68) + f;
            else if (r.number[0]) slot = number_slot[0];
            else if (r.number[1]) slot = number_slot[1];
            else if (r.mark_a) slot = 142 + f;
            else if (r.mark_b) slot = 144 + f;
            else if (r.mark_e) slot = 150 + f;
            else if (r.mark_d) slot = 148 + f;
            else if (r.mark_c) slot = 146 + f;
            else slot = 160 + f;
        }
        s.texture_slot = slot;
        entry.sections.push_back(s);

        if (r.letter[0] || r.letter[1] || r.number[0] || r.number[1]) t += 0.25;
        else if (r.mark_a) t += 0.5;
        else t += 1.0;
    }

    // The two ends of each displaced area: the arrows' first row and the bar row.
    if (markings > 0) {
        std::vector<int32_t> before(entry.sections.size());
        for (size_t k = 0; k < before.size(); ++k) before[k] = entry.sections[k].texture_slot;
        const int H = (N + 1) / 2;
        auto slot_at = [&](int k) { return k >= 0 && k <= N ? before[static_cast<size_t>(k)] : -1; };
        auto overrun = [&](int k) { return slot_at(k) == 50 + f; };
        auto displaced = [&](int k) { return slot_at(k) == 54 + f || slot_at(k) == 56 + f; };
        for (int k = 0; k <= N; ++k) {
            if (before[static_cast<size_t>(k)] != 54 + f) continue;
            const bool first_half = k < H;
            int32_t& slot = entry.sections[static_cast<size_t>(k)].texture_slot;
            if (k == 0 || k == N || (first_half && overrun(k - 1)) || (!first_half && overrun(k + 1)))
                slot = 52 + f;
            else if ((first_half && !displaced(k + 1)) || (!first_half && !displaced(k - 1)))
                slot = 56 + f;
        }
    }
}

void APT_add_runway_light(float x, float height, float z, int base_kind, int airport, int table_index, int facing,
                          int test)
{
    const airport_record* apt = airport_at(airport);
    runway_geometry_record* e = entry_at(table_index);
    if (!apt || !e) return;   // an index outside the tables would write past them
    if (test && APT_point_on_runway(airport, table_index, 1, x, z)) return;
    runway_light l{};
    l.kind = base_kind + (facing == 0 ? LIGHT_FACING_END0 : facing == 1 ? LIGHT_FACING_END1 : 0);
    float p[3];
    on_sphere(x, z, static_cast<double>(apt->elevation) + height, p);
    l.x = p[0], l.y = p[1], l.z = p[2];
    e->lights.push_back(l);
}

namespace {

struct vec2 {
    double x, z;
};
vec2 operator+(vec2 a, vec2 b) { return {a.x + b.x, a.z + b.z}; }
vec2 operator-(vec2 a, vec2 b) { return {a.x - b.x, a.z - b.z}; }
vec2 operator*(vec2 a, double s) { return {a.x * s, a.z * s}; }
vec2 xz(const float p[3]) { return {p[0], p[2]}; }
double length(vec2 a) { return std::sqrt(a.x * a.x + a.z * a.z); }

// The lights of one runway, laid out from the strip's corners.
struct light_layout {
    int airport, index;
    vec2 left0, right0, left1, right1;   // strip corners: first end, far end
    vec2 along, right;                   // unit vectors from end 0 to end 1, and to its right
    double T, W;

    void add(vec2 p, float height, int kind, int facing, bool test) const
    {
        APT_add_runway_light(static_cast<float>(p.x), height, static_cast<float>(p.z), kind, airport, index, facing,
                             test ? 1 : 0);
    }
    vec2 on_left(int i, int n) const { return left0 + (left1 - left0) * (static_cast<double>(i) / n); }
    vec2 on_right(int i, int n) const { return right0 + (right1 - right0) * (static_cast<double>(i) / n); }
    // From end e's strip end: d into the strip along the centre line and
    // `left` to the left as seen from that end's approach.
    vec2 from_end(int e, double d, double left) const
    {
        const vec2 centre = e == 0 ? (left0 + right0) * 0.5 : (left1 + right1) * 0.5;
        const vec2 in = e == 0 ? along : along * -1.0;
        const vec2 to_left = e == 0 ? right * -1.0 : right;
        return centre + in * d + to_left * left;
    }
};

}  // namespace

void APT_build_runway_lights(int airport, int runway, int table_index)
{
    const runway_record* rwy = runway_at(airport, runway);
    runway_geometry_record* e = entry_at(table_index);
    if (!rwy || !e || e->sections.size() < 2 || !usable(rwy->width) || !usable(rwy->length)) return;
    const runway_lengths len = APT_runway_lengths(rwy->displaced_thresholds, rwy->stopways);
    const double T = static_cast<double>(len.overrun[0]) + rwy->length + len.overrun[1];
    const bool taxiway = rwy->number[0] == 'x';
    const double S = (T < 100.0 && !taxiway) ? 3.0 : 30.0;
    const int NL = std::clamp(round_half(T / S), 3, 100);
    const int NW = std::clamp(round_half(rwy->width / S), 3, 100);

    light_layout L{};
    L.airport = airport;
    L.index = table_index;
    L.left0 = xz(e->sections.front().left);
    L.right0 = xz(e->sections.front().right);
    L.left1 = xz(e->sections.back().left);
    L.right1 = xz(e->sections.back().right);
    // The along and across directions are taken from the strip itself rather
    // than from the heading: the local frame's north turns away from true north
    // away from the area's centre (about 0.8 degree 1.5 degrees of longitude
    // out at 34 N), so heading-based directions would set the approach lights
    // 1 km out some 15 m beside the drawn runway's centre line.
    const vec2 run = (L.left1 + L.right1) * 0.5 - (L.left0 + L.right0) * 0.5;
    const vec2 across = L.right0 - L.left0;
    if (length(run) <= 0.0 || length(across) <= 0.0) return;   // no direction to lay lights along (a zero divide)
    L.along = run * (1.0 / length(run));
    L.right = across * (1.0 / length(across));
    L.T = T;
    L.W = rwy->width;

    int gs[2], rl[2], al[2];
    APT_split_rwy_code(gs, rl, al, rwy->lighting_code);

    // Lights all around the strip.
    if (rl[0] == 5 || rl[1] == 5) {
        for (int i = 0; i <= NL; ++i) {
            L.add(L.on_left(i, NL), 0.0f, LIGHT_ALL_AROUND, 2, true);
            L.add(L.on_right(i, NL), 0.0f, LIGHT_ALL_AROUND, 2, true);
        }
        for (int j = 0; j <= NW; ++j) {
            L.add(L.left0 + (L.right0 - L.left0) * (static_cast<double>(j) / NW), 0.0f, LIGHT_ALL_AROUND, 2, true);
            L.add(L.left1 + (L.right1 - L.left1) * (static_cast<double>(j) / NW), 0.0f, LIGHT_ALL_AROUND, 2, true);
        }
    }
    if (taxiway) return;

    for (int end = 0; end < 2; ++end) {
        const int far = 1 - end;
        // Position i (from the end-0 side) lies inside the last `zone` metres seen from this end.
        auto in_far_zone = [&](int i, double zone) {
            return end == 0 ? i > round_half(NL * (T - zone) / T) : i < round_half(NL * zone / T);
        };

        // Edge lights, the last stretch in the caution colour.
        if (rl[end] > 0) {
            const double caution = std::min(600.0, T / 2.0);
            for (int i = 0; i <= NL; ++i) {
                const int kind = in_far_zone(i, caution) ? LIGHT_EDGE_CAUTION : LIGHT_EDGE;
                L.add(L.on_left(i, NL), 0.0f, kind, end, true);
                L.add(L.on_right(i, NL), 0.0f, kind, end, true);
            }
        }
        // Centre-line lights, alternating and then all in the end colour near the far end.
        if (rl[end] == 3 || rl[end] == 4) {
            const double z1 = std::min(1000.0, T / 2.0), z2 = std::min(500.0, T / 4.0);
            for (int i = 1; i < NL; ++i) {
                const bool end_colour = (i % 2 == 0 && in_far_zone(i, z1)) || in_far_zone(i, z2);
                L.add((L.on_left(i, NL) + L.on_right(i, NL)) * 0.5, 0.0f,
                      end_colour ? LIGHT_CENTRELINE_END : LIGHT_CENTRELINE, end, false);
            }
        }
        // Threshold and runway-end lines: 16 positions from two steps outside
        // the left edge to two outside the right edge, the width in 11 steps.
        const double threshold = len.overrun[end] + len.displaced[end];
        const double far_end = T - len.overrun[far];
        if ((rl[end] >= 2 && rl[end] <= 4) || (al[end] >= 1 && al[end] <= 4)) {
            const bool inner = al[end] >= 1 && al[end] <= 4;
            for (int s = -2; s <= 13; ++s) {
                if (s >= 2 && s <= 9 && !inner) continue;
                const double left = L.W / 2.0 - s * L.W / 11.0;
                // The pavement test is made for the two outer lights only.
                L.add(L.from_end(end, threshold, left), 0.0f, LIGHT_THRESHOLD, end, false);
                if (s == -2 || s == 13) L.add(L.from_end(end, threshold, left), 0.0f, LIGHT_THRESHOLD_OUTER, end, true);
                L.add(L.from_end(end, far_end, left), 0.0f, LIGHT_RUNWAY_END, end, false);
            }
        }
        // Touchdown-zone rows.
        if (rl[end] == 4) {
            for (double across_w : {-0.24, -0.20, -0.16, 0.16, 0.20, 0.24})
                for (double d = 10.0; d <= 510.0; d += 20.0)
                    L.add(L.from_end(end, d, across_w * L.W), 0.0f, LIGHT_CENTRELINE, end, false);
        }
        // Approach lights, outward from the threshold's centre.
        const int A = al[end];
        if (A >= 1 && A <= 7 && A != 5) {
            auto out = [&](double distance, double across_m) { return L.from_end(end, threshold - distance, across_m); };
            // Centre-line pairs every 25 m from 25 m out; the long systems add
            // a second, wider pair from 625 m out.
            const int positions = A < 3 ? 21 : 41;
            for (int m = 1; m <= positions; ++m) {
                for (double x : {-2.5, 2.5}) L.add(out(25.0 * m, x), 0.0f, LIGHT_APPROACH, end, true);
                if ((A == 6 || A == 7) && 25.0 * m >= 625.0)
                    for (double x : {-7.5, 7.5}) L.add(out(25.0 * m, x), 0.0f, LIGHT_APPROACH, end, true);
            }
            auto crossbar = [&](double distance, double from, double to) {
                for (double x = from; x <= to + 1e-9; x += 5.0) {
                    L.add(out(distance, -x), 0.0f, LIGHT_APPROACH, end, true);
                    L.add(out(distance, x), 0.0f, LIGHT_APPROACH, end, true);
                }
            };
            crossbar(150.0, 7.5, 12.5);
            crossbar(300.0, 7.5, 22.5);
            if (A == 6 || A == 7) {
                crossbar(450.0, 7.5, 22.5);
                crossbar(600.0, 22.5, 42.5);
                crossbar(750.0, 22.5, 42.5);
            }
            // Side rows beside the first stretch of the approach. Their sideways
            // places are not given; they stand at the 150 m crossbar's offsets,
            // the pair's 5 m spacing continued, one row every 25 m out.
            if (A == 4 || A == 7)
                for (int m = 1; m <= 11; ++m)
                    for (double x : {-12.5, -7.5, 7.5, 12.5})
                        L.add(out(25.0 * m, x), 0.0f, LIGHT_RUNWAY_END, end, true);
            // The single light: its distance out is not given; it stands one
            // step of 25 m beyond the last centre-line pair, past the system.
            if (A >= 2) L.add(out(25.0 * (positions + 1), 0.0), 0.0f, LIGHT_SINGLE_APPROACH, end, true);
        }
        // Glide-slope units beside the left edge at the threshold.
        const int G = gs[end];
        auto unit = [&](double along_m, double left_m, int kind) {
            L.add(L.from_end(end, threshold + along_m, L.W / 2.0 + left_m), 2.0f, kind, end, true);
        };
        if (G == 1) {
            for (double left_m : {18.0, 20.0}) {
                unit(100.0, left_m, 94);
                unit(250.0, left_m, 95);
            }
        } else if (G == 2) {
            unit(200.0, 34.0, 96);
            unit(200.0, 26.0, 97);
            unit(200.0, 18.0, 98);
            unit(200.0, 10.0, 99);
        } else if (G == 3) {
            unit(200.0, 240.0, 105);
            unit(200.0, 200.0, 100);
            unit(200.0, 160.0, 101);
            unit(200.0, 120.0, 102);
            unit(200.0, 80.0, 103);
            unit(200.0, 40.0, 105);
        }
    }
}

int APT_point_on_runway(int airport, int skip_index, int include_taxiways, float x, float z)
{
    const airport_record* apt = airport_at(airport);
    if (!apt) return 0;
    const vec2 p{x, z};
    for (const runway_record& r : apt->runways) {
        if (r.geometry_index == skip_index) continue;
        if (r.number[0] == 'x' && !include_taxiways) continue;
        const runway_geometry_record* e = entry_at(r.geometry_index);
        if (!e || e->sections.size() < 2) continue;
        const vec2 q[4] = {xz(e->sections.front().left), xz(e->sections.front().right), xz(e->sections.back().right),
                           xz(e->sections.back().left)};
        // The winding of the outline, so that each side's outward side is known.
        double area = 0.0;
        for (int k = 0; k < 4; ++k) {
            const vec2 a = q[k], b = q[(k + 1) % 4];
            area += a.x * b.z - b.x * a.z;
        }
        if (area == 0.0) continue;
        const double sign = area > 0.0 ? 1.0 : -1.0;
        bool inside = true;
        for (int k = 0; k < 4 && inside; ++k) {
            const vec2 a = q[k], b = q[(k + 1) % 4];
            const vec2 side = b - a;
            const double l = length(side);
            if (l <= 0.0) continue;
            // Distance of p inside this side (negative outside); the side moved 5 m out.
            const double d = sign * (side.x * (p.z - a.z) - side.z * (p.x - a.x)) / l;
            if (d < -5.0) inside = false;
        }
        if (inside) return 1;
    }
    return 0;
}
