// Span efficiency, body areas and element points.
#include "aircraft/acf_geometry.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_report.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "flightmodel/flt.h"

namespace {

constexpr int AXIS_AR = 5, AXIS_WASH = 3, AXIS_SWEEP = 6, AXIS_TAPER = 8;
constexpr float axis_ar[AXIS_AR] = {1, 5, 10, 25, 60};
constexpr float axis_wash[AXIS_WASH] = {0, 2, 5};
constexpr float axis_sweep[AXIS_SWEEP] = {-40, -25, 0, 25, 40, 70};
constexpr float axis_taper[AXIS_TAPER] = {0, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.7f, 1.0f};

constexpr float e_table[AXIS_AR * AXIS_WASH * AXIS_SWEEP * AXIS_TAPER] = {
#include "aircraft/acf_e_table.inc"
};
static_assert(sizeof e_table / sizeof e_table[0] == 720);

float e_at(int a, int w, int s, int t) { return e_table[((a * AXIS_WASH + w) * AXIS_SWEEP + s) * AXIS_TAPER + t]; }

// The pair (lo, hi) of an axis that brackets x: hi steps up from 1 while x
// lies above the axis value at hi.
int upper_index(const float* axis, int count, float x)
{
    int hi = 1;
    while (x > axis[hi] && hi < count - 1) ++hi;
    return hi;
}

// Linear interpolation limited to the interval between the two values.
float interp(float x, float x_lo, float x_hi, float y_lo, float y_hi)
{
    if (x_lo == x_hi) return 0.5f * (y_lo + y_hi);
    const float y = y_lo + (x - x_lo) * (y_hi - y_lo) / (x_hi - x_lo);
    const float lo = std::min(y_lo, y_hi), hi = std::max(y_lo, y_hi);
    return y < lo ? lo : (y > hi ? hi : y);
}

// Stations and points of the outline that a body uses.
void body_extent(const acf_struct& a, int part, int weapon, int& stations, int& points)
{
    stations = points = 0;
    if (weapon) {
        stations = 12;
        points = 18;
    } else if (part >= 0 && part <= PART_AFL_LAST) {
        // Bounded to the part's 10 elements (its 20 stations): a larger count
        // would read the next part's outline points.
        stations = 2 * std::clamp(a.acf_els[part], 0, ACF_ELS_PER_PART);
        points = 14;
    } else if (part >= PART_BODY_FIRST && part <= PART_ENGINE_BODY_LAST) {
        stations = 12;
        points = 18;
    } else if (part > PART_ENGINE_BODY_LAST && part <= PART_BODY_LAST) {
        stations = 8;
        points = 10;
    }
}

struct vec3 {
    float x, y, z;
};
vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3 cross(vec3 a, vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

}  // namespace

float ACF_e_search(float aspect_ratio, float washout_deg, float sweep_deg, float taper)
{
    const int a1 = upper_index(axis_ar, AXIS_AR, aspect_ratio), a0 = a1 - 1;
    const int w1 = upper_index(axis_wash, AXIS_WASH, washout_deg), w0 = w1 - 1;
    const int s1 = upper_index(axis_sweep, AXIS_SWEEP, sweep_deg), s0 = s1 - 1;
    const int t1 = upper_index(axis_taper, AXIS_TAPER, taper), t0 = t1 - 1;
    if (a0 < 0 || a1 >= AXIS_AR || w0 < 0 || w1 >= AXIS_WASH || s0 < 0 || s1 >= AXIS_SWEEP || t0 < 0 ||
        t1 >= AXIS_TAPER) {
        MACIBM_nuke_alert(0, "Out of bounds e-search!", "", "", "", ALERT_FATAL);
        return 1.0f;
    }
    const int ai[2] = {a0, a1}, wi[2] = {w0, w1}, si[2] = {s0, s1};
    float by_sweep[2][2][2];   // [ar][washout][sweep], after taper
    for (int a = 0; a < 2; ++a)
        for (int w = 0; w < 2; ++w)
            for (int s = 0; s < 2; ++s)
                by_sweep[a][w][s] = interp(taper, axis_taper[t0], axis_taper[t1], e_at(ai[a], wi[w], si[s], t0),
                                           e_at(ai[a], wi[w], si[s], t1));
    float by_wash[2][2];
    for (int a = 0; a < 2; ++a)
        for (int w = 0; w < 2; ++w)
            by_wash[a][w] = interp(sweep_deg, axis_sweep[s0], axis_sweep[s1], by_sweep[a][w][0], by_sweep[a][w][1]);
    float by_ar[2];
    for (int a = 0; a < 2; ++a)
        by_ar[a] = interp(washout_deg, axis_wash[w0], axis_wash[w1], by_wash[a][0], by_wash[a][1]);
    return interp(aspect_ratio, axis_ar[a0], axis_ar[a1], by_ar[0], by_ar[1]);
}

void ACF_body_areas(int slot, int part, int weapon, float x0, float y0, float z0, float& frontal, float& side,
                    float& top, float& centroid_x, float& centroid_y, float& centroid_z, float& surface,
                    float& sum_yz, float& sum_xz, float& sum_xy)
{
    // A slot or part outside the tables would read outline points past them.
    if (slot < 0 || slot >= ACF_SLOTS || part < 0 || part >= ACF_NUM_PARTS) return;
    const acf_struct& a = pln[slot];
    int n = 0, p = 0;
    body_extent(a, part, weapon, n, p);
    const int h = p / 2;
    const int base = part * ACF_BODY_PART_POINTS;
    auto pt = [&](int s, int k) {
        const int e = base + s * ACF_BODY_POINTS + k;
        return vec3{a.acf_body_X[e], a.acf_body_Y[e], a.acf_body_Z[e]};
    };

    // 1. Station areas and the side and top areas between stations.
    for (int s = 1; s < n; ++s) {
        float f = 0.0f;
        for (int k = 1; k < h; ++k) {
            const vec3 p0 = pt(s, k - 1), p1 = pt(s, k);
            f += (p0.x + p1.x) * 0.5f * (p0.y - p1.y) * 2.0f;
            const vec3 q0 = pt(s - 1, k - 1), q1 = pt(s - 1, k);
            const float dz = (p1.z + p0.z) * 0.5f - (q1.z + q0.z) * 0.5f;
            const float sd = ((q0.y - q1.y) + (p0.y - p1.y)) * 0.5f * dz;
            if (sd > 0.0f) side += sd;
            top += std::fabs(((q1.x - q0.x) + (p1.x - p0.x)) * 0.5f * dz);
        }
        frontal = std::max(f, frontal);
    }

    // 2. Surface triangles, counted for both halves of the body.
    float total = 0.0f, sum_ay = 0.0f, sum_az = 0.0f;
    for (int m = 0; m < 2; ++m) {
        for (int s = 0; s + 2 <= n; ++s) {
            for (int k = 0; k + 2 <= h; ++k) {
                const vec3 A = pt(s, k), B = m == 0 ? pt(s, k + 1) : pt(s + 1, k), C = pt(s + 1, k + 1);
                const vec3 c3 = cross(B - A, C - A);
                const float area = std::sqrt(c3.x * c3.x + c3.y * c3.y + c3.z * c3.z) * 0.5f * 2.0f;
                const vec3 c{(A.x + B.x + C.x) / 3.0f + x0, (A.y + B.y + C.y) / 3.0f + y0,
                             (A.z + B.z + C.z) / 3.0f + z0};
                surface += area;
                total += area;
                sum_ay += area * c.y;
                sum_az += area * c.z;
                sum_yz += area * (c.y * c.y + c.z * c.z);
                sum_xz += area * (c.x * c.x + c.z * c.z);
                sum_xy += area * (c.x * c.x + c.y * c.y);
            }
        }
    }

    // 3. Centroids: on the body's own plane laterally; a body without surface
    // has its centroid at its reference point.
    centroid_x = x0;
    centroid_y = total > 0.0f ? sum_ay / total : y0;
    centroid_z = total > 0.0f ? sum_az / total : z0;

    if (slot != 0 || weapon) return;
    // 4. Report.
    if (acf_report_writer* r = ACF_report_for(slot)) {
        r->t("Фронтальная зона        ").label(part).t("  = ").n(frontal, 8, 3).t(" кв. м.        ").nl();
        r->t("Боковая зона            ").label(part).t("  = ").n(side, 8, 3).t(" кв. м.        ").nl();
        r->t("Верхняя зона            ").label(part).t("  = ").n(top, 8, 3).t(" кв. м.        ").nl();
        r->t("Поперечный центроид              ").label(part).t("   =   ").n(centroid_x, 7, 2)
            .t(" метра от ЦТ, то есть         ").n(centroid_x - x0, 7, 2)
            .t(" от опорной точки данного элемента.           ").nl();
        r->t("Вертикальный центроид            ").label(part).t("   =   ").n(centroid_y, 7, 2)
            .t(" метра от ЦТ, то есть         ").n(centroid_y - y0, 7, 2)
            .t(" от опорной точки данного элемента.           ").nl();
        r->t("Продольный центроид              ").label(part).t("   =   ").n(centroid_z, 7, 2)
            .t(" метра от ЦТ, то есть         ").n(centroid_z - z0, 7, 2)
            .t(" метра от опорной точки данного элемента.     ").nl(2);
    }
    // 5. A body of the user's aircraft without frontal area cannot be flown.
    // Said in the interface font's language: the box cannot draw Cyrillic.
    if (frontal < 0.0001f)
        MACIBM_nuke_alert(0, "Found an element without frontal area!", "That is bad for the flight model!",
                          "This is the element without frontal area:", ACF_part_label(part), ALERT_FATAL);
}

float ACF_point_on_element(int slot, int part, float t, char axis)
{
    // A slot or part outside the tables would read the geometry past them.
    if (slot < 0 || slot >= ACF_SLOTS || part < 0 || part >= ACF_NUM_PARTS) return 0.0f;
    const acf_struct& a = pln[slot];
    const flt_struct& f = flt[slot];
    const float len = a.acf_element_len[part];
    if (part > PART_PROP_LAST) {
        if (axis == 'X') return t * len * f.foil_cos_swe[part] * f.foil_cos_dih[part] * a.acf_side_sign[part] + a.acf_Xarm[part];
        if (axis == 'Y') return t * len * f.foil_cos_swe[part] * f.foil_sin_dih[part] + a.acf_Yarm[part];
        return t * len * f.foil_sin_swe[part] + a.acf_Zarm[part];
    }
    if (axis == 'Y') return 0.0f;
    // Bounded to the 10 blade elements: a larger count would read past the
    // propeller's blade sweeps into the next propeller's.
    const int els = std::clamp(a.acf_els[part], 0, ACF_PROP_RINGS);
    if (els == 0) return 0.0f;
    // Whole elements before t, then the share of the element t lies in.
    const float t_cut = std::clamp(t, 0.0f, static_cast<float>(els - 1));   // NaN stays out of the cast
    const int j_max = t_cut == t_cut ? static_cast<int>(t_cut) : 0;
    float sum = 0.0f;
    for (int j = 0; j <= j_max; ++j) {
        const float w = std::clamp(t - static_cast<float>(j), 0.0f, 1.0f);
        const float sweep = a.acf_bladesweep[part * ACF_PROP_RINGS + j] * (static_cast<float>(M_PI) / 180.0f);
        sum += w * len * (axis == 'X' ? std::cos(sweep) : std::sin(sweep));
    }
    return sum;
}
