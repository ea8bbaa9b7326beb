// Wing-element aerodynamics: airfoil tables below the speed of sound, double
// wedge theory above it, scaled into newtons.
#include "flightmodel/forces/element_aero.h"

#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/report.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;
constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr float PI_F = static_cast<float>(PI_DOUBLE);

// The terms of one force line of the report: "label coeff* area* sqr(V) * rho" and the text after them.
void report_force_terms(const char* label, float coeff, float area, float V, float rho, const char* after)
{
    report_log << label;
    FM_num(coeff, 5, 10) << "* ";
    FM_num(area, 3, 8) << "* sqr(";
    FM_num(V, 2, 7) << ") * ";
    FM_num(rho, 4, 7) << after;
}

// A part, element or blade outside 73 x 10 x 4 would read past the flow and
// aircraft tables: such a call gives zero coefficients and forces.
bool indices_ok(int p, int e, int b) { return p >= 0 && p < FLT_PARTS && e >= 0 && e < 10 && b >= 0 && b < 4; }

// A value between root value r and tip value t for element e of n.
float span_blend(float r, float t, int e, int n)
{
    if (n <= 0) return 0.5f * (r + t);
    return r + (t - r) * (static_cast<float>(e) + 0.5f) / static_cast<float>(n);
}

// Speed of sound of the moment; a value of 0 (no atmosphere set yet) would
// divide by zero and carry an infinite Mach number into the coefficients, so
// it gives Mach 0.
float mach_of(float v)
{
    const float a = sim_weather.speed_of_sound_ms;
    return a > 0.0f ? v / a : 0.0f;
}

struct coeffs {
    float cl, cd, cm;
};

}  // namespace

void FM_airfoil_lookup(float alpha, float* cl, float* cd, float* cm, int p, int a, int r, int e, int b)
{
    *cl = *cd = *cm = 0.0f;
    // Only parts 0..43 carry airfoil tables: another part or table would read past them.
    if (!indices_ok(p, e, b) || p >= AFL_PARTS || a < 0 || a > 1 || r < 0 || r > 1) return;
    const acf_struct& acf = pln[0];
    flt_struct& f = flt[0];
    const afl_block& afl = acf.afl[p];
    const int t = AFL_table_index(a, r);

    float s = 1.0f;
    const bool slat = acf.acf_slat[ACF_el(p, e)] != 0;
    if (slat) s = 1.0f + (acf.acf_slat_effect[p] - 1.0f) * f.slatrat;
    // A slat whose factor is 0 (effect 0 at full extension) would divide the
    // angle by zero and read the table at NaN: the angle is then not divided.
    const float s_div = std::fabs(s) > 1e-6f ? s : 1.0f;

    // Zero-lift angle of the table's linear range; a table without slope would
    // divide by zero (a NaN angle and table position), so its angle is 0.
    const float clM = afl.afl_clM[t];
    const float alpha0 = clM != 0.0f ? -afl.afl_clB[t] / clM : 0.0f;
    const float alpha1 =
        alpha0 + (alpha - alpha0) * acf.acf_al_D_al0[p] / s_div * f.Q_centroid_MULT[4 * p + b];
    // The modification fades out between 20 and 90 degrees.
    float alpha2 = alpha1 + (alpha - alpha1) * (std::fabs(alpha) - 20.0f) / 70.0f;
    const float lo = alpha1 < alpha ? alpha1 : alpha;
    const float hi = alpha1 < alpha ? alpha : alpha1;
    alpha2 = UTIL_clamp(alpha2, lo, hi);

    float x;
    if (alpha2 < -20.0f)
        x = UTIL_clamp_nan_low(alpha2 + 180.0f, 0.0f, 160.0f);
    else if (alpha2 < 20.0f)
        x = UTIL_clamp_nan_low((alpha2 + 20.0f) * 10.0f + 160.0f, 160.0f, 560.0f);
    else
        x = UTIL_clamp_nan_low(alpha2 - 20.0f + 560.0f, 560.0f, 719.0f);
    const int i = static_cast<int>(x);
    const float w = x - static_cast<float>(i);
    const int base = t * AFL_ROWS;
    *cl = afl.afl_cl[base + i] * (1.0f - w) + afl.afl_cl[base + i + 1] * w;
    *cd = afl.afl_cd[base + i] * (1.0f - w) + afl.afl_cd[base + i + 1] * w;
    *cm = afl.afl_cm[base + i] * (1.0f - w) + afl.afl_cm[base + i + 1] * w;
    if (slat) *cl *= s;

    f.stalled[p] = acf.acf_alpha_max[p] * s < alpha2 ? 1 : 0;
}

void FM_element_coeffs(float, float mach_div, float mach, float dcl, float dcd, float dcm, float* cl, float* cd,
                       float* cm, int p, int e, int b)
{
    *cl = *cd = *cm = 0.0f;
    if (!indices_ok(p, e, b)) return;
    const acf_struct& acf = pln[0];
    const flt_struct& f = flt[0];
    const int idx = FM_flow_index(p, e, b);
    const int el = ACF_el(p, e);

    const float m = UTIL_clamp(mach, 0.0f, 0.8f);
    const float alpha = f.alpha_el[idx];

    // The four tables; an airfoil equal by name to the one it would replace is not looked up again.
    coeffs rl{}, tl{}, rh{}, th{};
    FM_airfoil_lookup(alpha, &rl.cl, &rl.cd, &rl.cm, p, 0, 0, e, b);
    const char* Rafl0 = acf.acf_Rafl0 + p * ACF_AFL_NAME_SIZE;
    const char* Rafl1 = acf.acf_Rafl1 + p * ACF_AFL_NAME_SIZE;
    const char* Tafl0 = acf.acf_Tafl0 + p * ACF_AFL_NAME_SIZE;
    const char* Tafl1 = acf.acf_Tafl1 + p * ACF_AFL_NAME_SIZE;
    if (std::strncmp(Tafl0, Rafl0, ACF_AFL_NAME_SIZE) != 0)
        FM_airfoil_lookup(alpha, &tl.cl, &tl.cd, &tl.cm, p, 1, 0, e, b);
    else
        tl = rl;
    if (std::strncmp(Rafl1, Rafl0, ACF_AFL_NAME_SIZE) != 0)
        FM_airfoil_lookup(alpha, &rh.cl, &rh.cd, &rh.cm, p, 0, 1, e, b);
    else
        rh = rl;
    if (std::strncmp(Tafl1, Tafl0, ACF_AFL_NAME_SIZE) != 0)
        FM_airfoil_lookup(alpha, &th.cl, &th.cd, &th.cm, p, 1, 1, e, b);
    else
        th = tl;

    // Reynolds number in millions; without a viscosity it would divide by
    // zero, so it is 0 there (the low table then counts).
    const float mu = sim_physics.mu_air;
    const float re = mu > 0.0f ? sim_weather.rho * f.v_el[idx] * acf.acf_mac[el] / mu / 1.0e6f : 0.0f;
    const afl_block* afl = p < AFL_PARTS ? &acf.afl[p] : nullptr;   // none past part 43 (read past the blocks)
    auto between = [re](const coeffs& low, const coeffs& high, float re0, float re1) {
        float r = re;
        if (!(r >= re0))
            r = re0;
        else if (r > re1)
            r = re1;
        if (re1 == re0) return coeffs{0.5f * (low.cl + high.cl), 0.5f * (low.cd + high.cd), 0.5f * (low.cm + high.cm)};
        const float k = (r - re0) / (re1 - re0);
        return coeffs{low.cl + k * (high.cl - low.cl), low.cd + k * (high.cd - low.cd), low.cm + k * (high.cm - low.cm)};
    };
    const coeffs root = between(rl, rh, afl ? afl->afl_re_num[0] : 0.0f, afl ? afl->afl_re_num[1] : 0.0f);
    const coeffs tip = between(tl, th, afl ? afl->afl_re_num[2] : 0.0f, afl ? afl->afl_re_num[3] : 0.0f);

    const int n = acf.acf_els[p];
    float c_l = span_blend(root.cl, tip.cl, e, n) + dcl;
    float c_d = span_blend(root.cd, tip.cd, e, n) + dcd;
    float c_m = span_blend(root.cm, tip.cm, e, n) + dcm;

    // Effective aspect ratio: a wing in full sideslip flies with the inverse
    // one (a part without aspect ratio keeps it: 1/A would divide by zero).
    float A = acf.acf_AR[p];
    if (p >= 8 && p <= 43 && A > 0.0f) {
        const float c = std::fabs(std::cos(f.beta * DEG * std::cos(acf.acf_dihednow[p] * DEG)));
        const float A0 = A, inv = 1.0f / A0;
        A = UTIL_clamp(A0 + (1.0f - c) * (inv - A0), A0 < inv ? A0 : inv, A0 < inv ? inv : A0);
    }
    const float qm = f.Q_centroid_MULT[4 * p + b];
    // Induced drag; a part without aspect ratio or span efficiency would
    // divide by zero (infinite drag), so it has none.
    const float induced = PI_F * acf.acf_e[p] * A * UTIL_clamp(qm, 0.5f, 2.0f);
    if (induced > 0.0f) c_d += c_l * c_l / induced;
    c_l *= acf.acf_cl_D_cl0[p] * qm;
    c_m *= acf.acf_cm_D_cm0[p] * qm;

    if (c_l > 0.0f) {
        c_l *= f.CL_grndeffect[p];
        c_d *= f.CD_grndeffect[p];
    }

    const float comp = 1.0f / std::sqrt(1.0f - m * m);
    c_l *= comp;
    c_m *= comp;
    const float x = mach_div - 0.2f * std::fabs(c_l);
    if (m > x) c_d += 2.5f * (m - x) * (m - x);
    c_m -= 0.25f * acf.acf_delta_fac[p] * c_l;

    const float ice = p <= 7 ? f.prop_ice : f.frm_ice;
    if (ice > 0.0f) {
        c_l /= 1.0f + 0.5f * ice;
        c_d *= 1.0f + 4.0f * ice;
    }
    *cl = c_l;
    *cd = c_d;
    *cm = c_m;

    if (FM_reporting()) {
        report_log << "   FINAL LOCAL-VELOCITY COEFFICIENTS: cl=";
        FM_num(c_l, 5, 10) << ", cd=";
        FM_num(c_d, 5, 10) << ", cm=";
        FM_num(c_m, 5, 10) << ".\n";
    }
}

void FM_supersonic_coeffs(float thickness_ratio, float mach, float dcl, float dcd, float dcm, float* cl, float* cd,
                          float* cm, int p, int e, int b)
{
    *cl = *cd = *cm = 0.0f;
    if (!indices_ok(p, e, b)) return;
    const float M = UTIL_clamp(mach, 1.1f, 3.0f);
    const float k = 2.0f / std::sqrt(M * M - 1.0f);
    const float eps = std::atan(thickness_ratio);   // radians
    const float alpha = flt[0].alpha_el[FM_flow_index(p, e, b)] * DEG;
    const float faces[4] = {alpha - eps, alpha + eps, alpha + eps, alpha - eps};
    float c_l = 0.0f, c_d = 0.0f;
    for (float th : faces) {
        const float P = k * th;
        c_l += 0.5f * P * std::cos(th);
        c_d += 0.5f * P * std::sin(th);
    }
    c_d += 0.0046f;   // skin friction
    *cl = c_l + dcl;
    *cd = c_d + dcd;
    *cm = -0.24f * c_l + dcm;
}

float FM_element_forces(float dcl, float dcd, float dcm, float* lift, float* drag, float* moment, int p, int e, int b)
{
    *lift = *drag = *moment = 0.0f;
    if (!indices_ok(p, e, b)) return 0.0f;
    const acf_struct& acf = pln[0];
    const flt_struct& f = flt[0];
    const int idx = FM_flow_index(p, e, b);
    const int el = ACF_el(p, e);
    const float V = f.v_el[idx];
    const float M = mach_of(V);

    const afl_block* afl = p < AFL_PARTS ? &acf.afl[p] : nullptr;   // none past part 43 (read past the blocks)
    const int n = acf.acf_els[p];
    const float t_rat = afl ? span_blend(afl->afl_t_rat[0], afl->afl_t_rat[1], e, n) : 0.0f;
    const float m_div = afl ? span_blend(afl->afl_mach_div[0], afl->afl_mach_div[1], e, n) : 0.0f;

    float cl, cd, cm;
    if (f.machno < 1.0f)
        FM_element_coeffs(t_rat, m_div, M, dcl, dcd, dcm, &cl, &cd, &cm, p, e, b);
    else
        FM_supersonic_coeffs(t_rat, M, dcl, dcd, dcm, &cl, &cd, &cm, p, e, b);

    const float delta = f.del_dir[idx] * DEG;
    const float sd = std::sin(delta), cdl = std::cos(delta);
    const float L = cl * cdl + cd * sd;
    const float D = cd * cdl - cl * sd;
    const float area = acf.acf_s[el];
    const float rho = sim_weather.rho;
    const float qS = 0.5f * rho * V * V * area;
    *lift = L * qS;
    *drag = D * qS;
    *moment = cm * qS * acf.acf_mac[el];

    if (FM_reporting()) {
        report_log << "   force=coeff*S*V*V*rho/2.0\n";
        report_force_terms("   lift=", L, area, V, rho, " / 2          =");
        FM_num(*lift, 2, 10) << " N.\n";
        report_force_terms("   drag=", D, area, V, rho, " / 2          =");
        FM_num(*drag, 2, 10) << " N.\n";
        report_force_terms("   momt=", cm, area, V, rho, " / 2 * ");
        FM_num(acf.acf_mac[el], 2, 7) << "=";
        FM_num(*moment, 2, 10) << " N-m.\n\n";
    }
    return cl;
}
