// Bodies: the crossflow model of one body, and the build-up's body stage
// with the propeller wash over the bodies and the supersonic panel forces.
#include "flightmodel/forces/body_drag.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/phys.h"

namespace {

constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr float PI_F = static_cast<float>(PI_DOUBLE);
constexpr float CYLINDER_CD = 0.27f;
constexpr float BASE_SLOPE = 0.36f;   // a body narrowing faster (20 degrees) sheds its flow

struct body_coeffs {
    float mach_mult, cylinder, cv, cs, cd, ref_area;
};

body_coeffs body_coefficients(float front, float side, float top, float cd_base, float speed, float angle_vert,
                              float angle_side, float angle_total)
{
    // Without a speed of sound (no atmosphere set yet) the Mach number would
    // divide by zero and make the drag infinite: it is taken as 0 there.
    const float a = sim_weather.speed_of_sound_ms;
    const float M = a > 0.0f ? speed / a : 0.0f;
    const float m = UTIL_clamp(M, 0.0f, 0.8f);
    float k = 1.0f / std::sqrt(1.0f - m * m);
    if (M > 0.8f) k += 2.5f * (M - 0.8f) * (M - 0.8f);
    body_coeffs c{};
    c.mach_mult = k;
    c.cylinder = CYLINDER_CD * k;
    c.cv = c.cylinder * std::sin(angle_vert);
    c.cs = c.cylinder * std::sin(angle_side);
    const float st = std::fabs(std::sin(angle_total));
    c.cd = c.cylinder * st + cd_base;
    const float mid = 0.5f * (side + top);
    c.ref_area = UTIL_clamp(front + st * (mid - front), UTIL_min(front, mid), UTIL_max(front, mid));
    return c;
}

void report_body_drag(const body_coeffs& c, float front, float side, float top, float V, float fv, float fs, float fd)
{
    const float rho = sim_weather.rho;
    report_log << " mach multiplication=";
    FM_num(c.mach_mult, 4, 7) << ", cd_cylinder=";
    FM_num(c.cylinder, 5, 10) << ", s_top=";
    FM_num(top, 3, 8) << ", s_sid=";
    FM_num(side, 3, 8) << ", s_frn=";
    FM_num(front, 3, 8) << ".\n";
    const struct { const char* label; float coeff, area, force; } rows[3] = {
        {"   cl vert=", c.cv, top, fv}, {"   cl side=", c.cs, side, fs}, {"   cd     =", c.cd, c.ref_area, fd}};
    for (int k = 0; k < 3; ++k) {
        report_log << rows[k].label;
        FM_num(rows[k].coeff, 5, 10) << ", ref area of ";
        FM_num(rows[k].area, 3, 8) << ", v=";
        FM_num(V, 2, 7) << ", rho=";
        FM_num(rho, 4, 7) << ", force=";
        FM_num(rows[k].force, 2, 10) << (k == 2 ? ".\n\n" : ".\n");
    }
}

// Surface grid of a body: 12 stations of 18 points for bodies 44..60, 8 of 10 for 61..66.
struct body_grid {
    int stations, points;
};
body_grid grid_of(int part) { return part <= PART_ENGINE_BODY_LAST ? body_grid{12, 18} : body_grid{8, 10}; }

// Linearised supersonic panel coefficients (vertical, side, drag) of a body.
void supersonic_coeffs(int part, float mach, float aoa, float slip, float* cv, float* cs, float* cd)
{
    const acf_struct& a = pln[0];
    const float M = UTIL_clamp(mach, 1.1f, 3.0f);
    const float K = 2.0f / std::sqrt(M * M - 1.0f);
    const body_grid g = grid_of(part);
    const int base = part * ACF_BODY_PART_POINTS;
    auto point = [&](int s, int k, float out[3]) {
        const int i = base + s * ACF_BODY_POINTS + k;
        out[0] = a.acf_body_X[i], out[1] = a.acf_body_Y[i], out[2] = a.acf_body_Z[i];
    };
    float lift = 0.0f, side = 0.0f, drag = 0.0f, area = 0.0f;
    for (int s = 0; s + 1 < g.stations; ++s) {
        for (int k = 0; k + 1 < g.points; ++k) {
            float p0[3], p1[3], q0[3], q1[3];
            point(s, k, p0), point(s, k + 1, p1), point(s + 1, k, q0), point(s + 1, k + 1, q1);
            const float dz = UTIL_clamp(0.5f * ((q0[2] - p0[2]) + (q1[2] - p1[2])), 0.001f, 9.9e9f);
            const float dy = 0.5f * ((q0[1] - p0[1]) + (q1[1] - p1[1]));
            const float dx = 0.5f * ((q0[0] - p0[0]) + (q1[0] - p1[0]));
            const float w = length(vec3_at(p1) - vec3_at(p0));
            const float A = w * dz;
            const float inc_y = 0.5f * aoa - std::atan(dy / dz);
            const float inc_x = 0.5f * slip - std::atan(dx / dz);
            const float inc = std::sqrt(inc_y * inc_y + inc_x * inc_x);
            lift += inc_y * K * std::cos(inc_y) * A * 0.25f;
            side += inc_x * K * std::cos(inc_x) * A * 0.25f;
            drag += inc * K * std::sin(inc) * A;
            area += A;
        }
    }
    // Coefficients are the sums over the total area: a body whose grid has no
    // area would divide by zero, so it then takes no panel forces.
    const bool ok = area > 0.0f && std::isfinite(area);
    *cv = ok ? lift / area : 0.0f;
    *cs = ok ? side / area : 0.0f;
    *cd = ok ? drag / area : 0.0f;
}

// The yawing couple of a body turned across the flow, per unit of
// q x sin(2 x sideslip), in m^3: a slender body's flow makes a side force
// of 2 q sideslip dS/dx along it (S its section), pushing out where it
// grows and in where it narrows, so that a closed body carries a couple of
// 2 q sideslip x its volume turning it further across the flow. Where it
// ends in a base or narrows faster than BASE_SLOPE, the flow leaves it and
// that stretch makes no force. Taken as k2 - k1 of the spheroid of its
// fineness (length over the diameter of its largest section), for bodies
// too stout to be slender. Arms are from the centre of gravity.
float body_couple_m3(int part)
{
    const acf_struct& a = pln[0];
    const body_grid g = grid_of(part);
    const int h = g.points / 2;
    const int base = part * ACF_BODY_PART_POINTS;
    float sum = 0.0f, largest = 0.0f, last_area = 0.0f, last_z = 0.0f;
    for (int s = 0; s < g.stations; ++s) {
        float area = 0.0f, z = 0.0f;
        for (int k = 0; k < h; ++k) {
            const int i = base + s * ACF_BODY_POINTS + k;
            z += (a.acf_body_Z[i] + a.acf_Zarm[part]) / static_cast<float>(h);
            if (k > 0) area += (a.acf_body_X[i - 1] + a.acf_body_X[i]) * (a.acf_body_Y[i - 1] - a.acf_body_Y[i]);
        }
        area = std::fabs(area);   // the half section mirrored: twice the half's area
        if (s > 0) {
            const float dz = std::fabs(z - last_z);
            const float narrowing = std::sqrt(last_area / PI_F) - std::sqrt(area / PI_F);
            const bool leaves = narrowing > BASE_SLOPE * dz;
            // The force of the stretch at its middle, the nose ahead (z less).
            if (!leaves) sum += (area - last_area) * 0.5f * (z + last_z) * (z > last_z ? 1.0f : -1.0f);
        }
        largest = UTIL_max(largest, area);
        last_area = area, last_z = z;
    }
    const float length = std::fabs(last_z - (a.acf_body_Z[base] + a.acf_Zarm[part]));
    const float diameter = 2.0f * std::sqrt(largest / PI_F);
    // A body without a section has no fineness (it would divide by zero) and no couple.
    const float fineness = diameter > 0.0f ? length / diameter : 0.0f;
    if (!(fineness > 1.0f)) return 0.0f;
    // k2 - k1 of a prolate spheroid: 0 for a sphere, near 1 for a long body.
    const float e = std::sqrt(1.0f - 1.0f / (fineness * fineness));
    const float log_term = std::log((1.0f + e) / (1.0f - e));
    const float e3 = e * e * e;
    const float alpha0 = 2.0f * (1.0f - e * e) / e3 * (0.5f * log_term - e);
    const float beta0 = 1.0f / (e * e) - (1.0f - e * e) / (2.0f * e3) * log_term;
    const float k = beta0 / (2.0f - beta0) - alpha0 / (2.0f - alpha0);
    // A very long body runs the floats out of precision: never past 1.
    return -sum * (std::isfinite(k) ? UTIL_clamp(k, 0.0f, 1.0f) : 1.0f);
}

// Propellers and jets whose wash can blow over a body.
bool blows_slipstream(int prop_type) { return prop_type != 3 && prop_type != 5 && prop_type != 6 && prop_type != 7; }

}  // namespace

void FM_body_drag(float front_area, float side_area, float top_area, float cd_base, float speed, float angle_vert,
                  float* force_vert, float angle_side, float* force_side, float angle_total, float* force_drag)
{
    const body_coeffs c =
        body_coefficients(front_area, side_area, top_area, cd_base, speed, angle_vert, angle_side, angle_total);
    const float q = 0.5f * sim_weather.rho * speed * speed;
    *force_vert = c.cv * top_area * q;
    *force_side = c.cs * side_area * q;
    *force_drag = c.cd * c.ref_area * q;
    if (FM_reporting()) report_body_drag(c, front_area, side_area, top_area, speed, *force_vert, *force_side, *force_drag);
}

void FM_body_stage()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const bool report = FM_reporting();
    const int points = a.acf_num_thrustpoints < 0 ? 0 : (a.acf_num_thrustpoints > 8 ? 8 : a.acf_num_thrustpoints);

    for (int i = PART_BODY_FIRST; i <= PART_BODY_LAST; ++i) {
        if (!fm_state.present[i]) continue;
        const bool nacelle = i >= PART_ENGINE_BODY_FIRST && i <= PART_ENGINE_BODY_LAST;
        const int engine = i - PART_ENGINE_BODY_FIRST;
        if (nacelle && ACF_engine_has_prop(0, engine) && a.acf_semilen_SEG[engine] < a.acf_body_r[i]) continue;

        float cd = a.acf_fuse_cd;
        if (nacelle) {
            const int type = a.acf_en_type[engine];
            if (type == 0 || type == 1) cd = 2.0f * a.acf_fuse_cd;
            if (type == 4 || type == 5) cd = 0.0f;
        }

        const float cx = a.acf_X_body_aero[i], cy = a.acf_Y_body_aero[i], cz = a.acf_Z_body_aero[i];
        float v[3] = {f.vx_air_on_acf, f.vy_air_on_acf, f.vz_air_on_acf};
        for (int k = 0; k < points; ++k) {
            if (!fm_state.present[k] || !blows_slipstream(a.acf_prop_type[k])) continue;
            const float* tp = &f.POINT_XYZ[3 * k];
            if (!(cz > tp[2])) continue;   // the body lies aft of the thrust point
            const int type = a.acf_en_type[k];
            const float radius =
                (type == 4 || type == 5) ? std::sqrt(UTIL_max(a.acf_face_jet, 0.0f) / PI_F) : a.acf_semilen_SEG[k];
            const float dx = cx - tp[0], dy = cy - tp[1];
            if (!(dx * dx + dy * dy < radius * radius)) continue;
            float w[3];
            PHYS_rotate_by_cyclic(0.0f, 0.0f, f.DVinc[k], &w[0], &w[1], &w[2], 0, k);
            v[0] += w[0], v[1] += w[1], v[2] += w[2];
        }

        const float V = length(vec3_at(v));
        const float aoa = std::atan2(v[1], v[2]);
        const float slip = std::atan2(v[0], v[2]);
        const float total = std::atan2(std::sqrt(v[0] * v[0] + v[1] * v[1]), std::fabs(v[2]));
        const int el = ACF_el(i, 0);
        const float front = a.acf_s[el], side_area = a.acf_s[el + 1], top = a.acf_s[el + 2];

        fm_body_report r{};
        if (report) {
            r = fm_body_report{cx, cy, cz, {f.vx_air_on_acf, f.vy_air_on_acf, f.vz_air_on_acf}, {v[0], v[1], v[2]}, V,
                               aoa * RAD, slip * RAD, total * RAD, front, side_area, top};
            FM_report_body_begin(i, r);
        }

        const float sound = sim_weather.speed_of_sound_ms;
        // (No speed of sound, as in a vacuum, would divide by zero: subsonic.)
        const float mach = sound > 0.0f ? V / sound : 0.0f;
        float lift, side, drag, c_d, c_s, c_v;
        if (mach < 1.0f) {
            FM_body_drag(front, side_area, top, cd, V, aoa, &lift, slip, &side, total, &drag);
            const body_coeffs c = body_coefficients(front, side_area, top, cd, V, aoa, slip, total);
            c_d = c.cd, c_s = c.cs, c_v = c.cv;
            // The body's yawing couple (above). The crossflow force acts at
            // the body's centroid and carries none of it: a fuselage, its
            // centroid a little aft of the centre of gravity, steadied the
            // aircraft into the wind where a real one unsteadies it, and the
            // trainer weathercocked about twice as hard as a light single.
            // (The same couple in pitch is left out: the fleet's tail settings
            // and pitch trims were found without it.)
            const float q = 0.5f * sim_weather.rho * V * V;
            f.N += q * body_couple_m3(i) * std::sin(2.0f * slip);
        } else {
            supersonic_coeffs(i, mach, aoa, slip, &c_v, &c_s, &c_d);
            const float q = 0.5f * sim_weather.rho * V * V;
            lift = c_v * top * q;
            side = c_s * side_area * q;
            drag = c_d * front * q;
        }
        // The side force is the flow across the body pushing on its side
        // area: it acts across the body, not across the flow. Added as a side
        // force of the airflow's axes, a body turned right across the flow (a
        // float plane at rest in a beam wind) was pushed along its own axis
        // by it, and sailed ahead, where the wind pushes it sideways.
        const float sb = f.sin_beta, cb = f.cos_beta;
        PHYS_add_element_aero_force(drag + side * sb * f.cos_alpha, side * cb, lift - side * sb * f.sin_alpha, cx, cy,
                                    cz, i, 0);
        if (report) FM_report_body_end(c_d, c_s, c_v, drag, side, lift);
    }
}
