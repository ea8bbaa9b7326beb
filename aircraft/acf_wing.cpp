// Wing geometry and span efficiency: element length and stall angle, joined
// wing geometry, aspect ratio, taper, delta-wing factor, Oswald factor with
// the biplane correction, the finite-span factors; slat effect and the stall
// speed estimate; the critical-altitude boost.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "core/numeric.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float RHO_SEA_LEVEL = 1.225f;
constexpr float PRESSURE_SEA_LEVEL = 101325.0f;

struct point {
    float x, y, z;
};

// Elements of part p, bounded to the record's 10: a larger count would read
// the next part's elements.
int part_elements(const acf_struct& a, int p) { return std::clamp(a.acf_els[p], 0, ACF_ELS_PER_PART); }

point station(int slot, int p, float t)
{
    return {ACF_point_on_element(slot, p, t, 'X'), ACF_point_on_element(slot, p, t, 'Y'),
            ACF_point_on_element(slot, p, t, 'Z')};
}

bool near(const point& a, const point& b, float tol)
{
    return std::fabs(a.x - b.x) < tol && std::fabs(a.y - b.y) < tol && std::fabs(a.z - b.z) < tol;
}

// asin of a ratio in degrees. A zero length gives 0, and the ratio is held
// to -1..1 (rounding can carry it just past 1): either way asin would give a
// not-a-number sweep that the span-efficiency search passes on to the forces.
float asin_deg(float num, float len)
{
    if (!(len > 0.0f)) return 0.0f;
    return std::asin(std::clamp(num / len, -1.0f, 1.0f)) * units.rad_to_deg;
}

void report_airfoils(acf_report_writer& r, const acf_struct& a, int p)
{
    static const char* const heads[4] = {"   кор.низ Re: УАmax=", "   кор.выс Re: УАmax=", "   кон.низ Re: УАmax=",
                                         "   кон.выс Re: УАmax="};
    const char* names[4] = {a.acf_Rafl0 + p * ACF_AFL_NAME_SIZE, a.acf_Rafl1 + p * ACF_AFL_NAME_SIZE,
                            a.acf_Tafl0 + p * ACF_AFL_NAME_SIZE, a.acf_Tafl1 + p * ACF_AFL_NAME_SIZE};
    const afl_block& b = a.afl[p];
    for (int t = 0; t < AFL_TABLES; ++t) {
        r.t(heads[t]).n(b.afl_almax[t], 7, 2).t(" грд, коэф=").n(b.afl_t_rat[t / 2], 7, 3).t(", Re=");
        r.n(b.afl_re_num[t], 7, 2).t(" МОм для ").bytes(names[t]).t(".").nl();
    }
}

// Stage 2 for one part: joined geometry, span efficiency and finite-span factors.
void wing_part(int slot, int p, acf_report_writer* r)
{
    acf_struct& a = pln[slot];
    const int els = part_elements(a, p);
    if (r) {
        r->t("Описание элементов профиля для ").label(p).t(":").nl();
        report_airfoils(*r, a, p);
        for (int i = 0; i < els; ++i) {
            const int e = ACF_el(p, i);
            r->t("   Элемент #").n(i + 1, 2, 0).t(": S=").n(a.acf_s[e], 8, 3).t(" кв. м, САХ =").n(a.acf_mac[e], 7, 2);
            r->t(" м, угловое см. =").n(ACF_point_on_element(slot, p, i + 0.5f, 'X'), 7, 2).t(" м, угол установ=");
            r->n(a.acf_anginc[e], 7, 2).t(" грд.").nl();
        }
    }

    // 1, 2. Root and tip, joined with the parts that touch them.
    point R = station(slot, p, 0.0f), T = station(slot, p, static_cast<float>(els));
    float Cr = a.acf_Croot[p], Ct = a.acf_Ctip[p];
    if (p >= PART_WING_PAIR_FIRST && p <= PART_WING_EXTRA_LAST) {
        int passes = 0;
        for (int q = PART_WING_PAIR_FIRST; q <= PART_WING_EXTRA_LAST; ++q) passes += ACF_part_in_service(slot, q) ? 1 : 0;
        for (int pass = 0; pass < passes; ++pass) {
            for (int j = PART_WING_PAIR_FIRST; j <= PART_WING_EXTRA_LAST; ++j) {
                if (j == p || !ACF_part_in_service(slot, j)) continue;
                if (!(std::fabs(a.acf_dihed1[j] - a.acf_dihed1[p]) < 45.0f)) continue;
                const int jels = part_elements(a, j);
                bool joined = false;
                if (near(station(slot, j, static_cast<float>(jels)), R, 0.1f * Cr)) {
                    R = station(slot, j, 0.0f);
                    Cr = a.acf_Croot[j];
                    joined = true;
                }
                if (near(station(slot, j, 0.0f), T, 0.1f * Ct)) {
                    T = station(slot, j, static_cast<float>(jels));
                    Ct = a.acf_Ctip[j];
                    joined = true;
                }
                if (joined && r)
                    r->t("   ВНИМАНИЕ! СОЕДИНЯЮ ").label(p).t(" И  ").label(j).t(" ДЛЯ ФОРМИРОВ. ОДНОГО КРЫЛА! ").nl();
            }
        }
    }
    // 3. A flat wing reaches the centre line.
    if (std::fabs(a.acf_dihed1[p]) < 45.0f) R.x = 0.0f;

    // 4..8. Length, sweeps, taper, aspect ratio, delta factor.
    const float L = std::sqrt((T.x - R.x) * (T.x - R.x) + (T.y - R.y) * (T.y - R.y) + (T.z - R.z) * (T.z - R.z));
    a.acf_semilen_JND[p] = L;
    const float S = asin_deg(T.z - R.z, L);
    const float zr = R.z - 0.25f * Cr, zt = T.z - 0.25f * Ct;
    const float le = std::sqrt((zr - zt) * (zr - zt) + (T.x - R.x) * (T.x - R.x) + (T.y - R.y) * (T.y - R.y));
    const float S_le = asin_deg(zt - zr, le);
    // A blade without a root chord (the checks refuse only wings without one)
    // would give an infinite or not-a-number taper, which the span-efficiency
    // search passes on to the forces; its taper is 0.
    const float taper = Cr > 0.0f ? Ct / Cr : 0.0f;
    a.acf_taper[p] = taper;
    const float mean_chord = 0.5f * (Cr + Ct);
    // Without chords the aspect ratio would be infinite (or 0/0): it takes
    // the least value, 0.5, as does anything at or below it.
    float A = mean_chord > 0.0f ? 2.0f * L / mean_chord : 0.5f;
    if (!(A > 0.5f)) A = 0.5f;
    a.acf_AR[p] = A;
    const float f1 = UTIL_clamp((S_le - 65.0f) * 0.015384615f + 1.0f, 0.0f, 1.0f);
    const float f2 = UTIL_clamp(1.0f - taper, 0.0f, 1.0f);
    const float f3 = UTIL_clamp((A - 0.5f) * -0.10526316f + 1.0f, 0.0f, 1.0f);
    a.acf_delta_fac[p] = f1 * f2 * f3;

    // 9, 10. Washout and span efficiency.
    float W = 0.0f;
    // A part without elements has no last element to read (index -1): no washout.
    if (p >= PART_WING_PAIR_FIRST && els > 0) W = a.acf_anginc[ACF_el(p, 0)] - a.acf_anginc[ACF_el(p, els - 1)];
    a.acf_e[p] = ACF_e_search(A, W, S, taper);

    // 11. Biplane interference.
    if (p >= PART_WING_PAIR_FIRST && p <= PART_WING_EXTRA_LAST) {
        for (int j = PART_WING_PAIR_FIRST; j <= PART_WING_EXTRA_LAST; ++j) {
            if (j == p || !ACF_part_in_service(slot, j)) continue;
            const float dp = std::fabs(a.acf_dihed1[p]), dj = std::fabs(a.acf_dihed1[j]);
            if (!(dp < 45.0f && dj < 45.0f && std::fabs(a.acf_dihed1[p] - a.acf_dihed1[j]) < 10.0f)) continue;
            const float dx = std::fabs(a.acf_Xarm[p] - a.acf_Xarm[j]);
            if (!(dx < a.acf_Ctip[p] && dx < a.acf_Ctip[j])) continue;
            const float ds = std::fabs(a.acf_semilen_SEG[p] - a.acf_semilen_SEG[j]);
            if (!(ds < 2.0f * a.acf_Ctip[p] && ds < 2.0f * a.acf_Ctip[j])) continue;
            const float dy = std::fabs(a.acf_Yarm[p] - a.acf_Yarm[j]);
            if (!(dy > 0.1f * a.acf_Ctip[p] && dy > 0.1f * a.acf_Ctip[j] && dy > dx)) continue;
            if (!(std::fabs(a.acf_Zarm[p] - a.acf_Zarm[j]) < dy)) continue;
            const float g = dy / (a.acf_semilen_SEG[p] + a.acf_semilen_SEG[j]);
            float ratio = a.acf_semilen_SEG[p] / a.acf_semilen_SEG[j];
            if (ratio > 1.0f) ratio = 1.0f / ratio;
            const float sigma = 0.9962f - 4.896f * g + 17.98f * g * g - 37.8f * g * g * g + 31.0f * g * g * g * g;
            const float e = 2.0f * ratio * ratio / (2.0f * sigma * ratio + ratio * ratio + 1.0f);
            a.acf_e[p] = std::max(0.5f, e);
            if (r)
                r->t("   Applying biplane interference factor to Oswalds Efficiency! between ").label(p).t("  И  ")
                    .label(j).nl();
        }
    }

    // 12. Lift fans: an ideal disc.
    if (p <= PART_PROP_LAST && a.acf_prop_type[p] == 6) {
        a.acf_e[p] = 1.0f;
        a.acf_AR[p] *= 10.0f;
    }

    // 13. Finite-span factors. A negative lift slope from a damaged airfoil
    // counts as none, so the factors stay finite.
    const afl_block& b = a.afl[p];
    float a0 = 0.25f * (b.afl_clM[0] + b.afl_clM[1] + b.afl_clM[2] + b.afl_clM[3]) * 180.0f / pi;
    if (!(a0 > 0.0f)) a0 = 0.0f;
    const float k = 1.0f / (a0 / (pi * a.acf_e[p] * a.acf_AR[p]) + 1.0f);
    a.acf_cl_D_cl0[p] = (std::sqrt(8.0f * k + 1.0f) + 1.0f) / 4.0f;
    a.acf_al_D_al0[p] = k / a.acf_cl_D_cl0[p];
    const float cs = std::cos(S * units.deg_to_rad);
    const float AR = a.acf_AR[p];
    a.acf_cm_D_cm0[p] = cs * cs * AR / (AR + 2.0f * cs);
    a.acf_alpha_max[p] /= a.acf_al_D_al0[p];

    if (r) {
        const char* tail1 = " м. (используется только для определения КПД Освальдса и фактора дельта)";
        const char* tail2 = ".      (используется только для определения КПД Освальдса и фактора дельта)";
        r->t("   После объединения профилей длина полукрыла      = ").n(L, 7, 2).t(tail1).nl();
        r->t("   После объдинения профилей корневая хорда        = ").n(Cr, 7, 2).t(tail1).nl();
        r->t("   После объединения профилей концевая хорда       = ").n(Ct, 7, 2).t(tail1).nl();
        r->t("   После объудинения профилей стрел, пер, кромки   = ").n(S_le, 7, 2)
            .t(" грд.  (используется только для определения фактора дельта)").nl();
        r->t("   После объединения профилей ср/ стреловидность   = ").n(S, 7, 2)
            .t(" грд.  (используется только для определения КПД Освальдса)").nl();
        r->t("   После объединения профилей отн. удлин           = ").n(A, 7, 2).t(tail2).nl();
        r->t("   После объединения профилей кон. коэф.           = ").n(taper, 7, 2).t(tail2).nl();
        r->t("   Таким образом, КПД Освальдса =  ").n(a.acf_e[p], 7, 3).t(", для ум. накл. под. силы до  ")
            .n(k * 100.0f, 7, 2).t("% значения 2-D.").nl();
        r->t("   Достигается след. образом :").nl();
        r->t("      используется значение коэввициента при углах атаки = ").n(a.acf_al_D_al0[p] * 100.0f, 7, 2)
            .t("% реального (УА свалив. =").n(a.acf_alpha_max[p], 7, 2).t(" грд),").nl();
        r->t("      и коэффициенты подъемной силы профиля ум.            ").n(a.acf_cl_D_cl0[p] * 100.0f, 7, 2)
            .t("% значение 2-D.").nl();
        r->t("      Учитывая отн. удл. и стрел., cm изменяется до        ").n(a.acf_cm_D_cm0[p] * 100.0f, 7, 2)
            .t("% значения 2-D.").nl();
        r->t("      Учитывая отн. удл. и кон. коэф.,аэрод. смещ. до      ").n(a.acf_delta_fac[p] * 100.0f, 7, 2)
            .t("% расстояния от 25%  хорды до 50% хорды.").nl(2);
    }
}

}  // namespace

void ACF_setup_wings(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    flt_struct& f = flt[slot];

    // Stage 1: element length, mean stall angle, current sweep and dihedral.
    for (int p = 0; p <= PART_AFL_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        const int els = part_elements(a, p);
        // A part without elements has element length 0: the division by its
        // zero element count would store an infinite (or not-a-number) length
        // that the flight model multiplies into its forces.
        a.acf_element_len[p] = a.acf_els[p] != 0 ? a.acf_semilen_SEG[p] / static_cast<float>(a.acf_els[p]) : 0.0f;
        const afl_block& b = a.afl[p];
        a.acf_alpha_max[p] = 0.25f * (b.afl_almax[0] + b.afl_almax[1] + b.afl_almax[2] + b.afl_almax[3]);
        a.acf_sweepnow[p] = a.acf_sweep1[p];
        a.acf_dihednow[p] = a.acf_dihed1[p];
        f.foil_sin_dih[p] = std::sin(a.acf_dihednow[p] * units.deg_to_rad);
        f.foil_cos_dih[p] = std::cos(a.acf_dihednow[p] * units.deg_to_rad);
        f.foil_sin_swe[p] = std::sin(a.acf_sweepnow[p] * units.deg_to_rad);
        f.foil_cos_swe[p] = std::cos(a.acf_sweepnow[p] * units.deg_to_rad);
    }

    // Stage 2: every lifting part and blade.
    acf_report_writer* r = ACF_report_for(slot);
    for (int p = 0; p <= PART_AFL_LAST; ++p)
        if (ACF_part_in_service(slot, p)) wing_part(slot, p, r);

    // Stage 3: what a supercharger holds up to the critical altitude.
    a.acf_critalt_boost_pa =
        (1.0f - ATMO_density_at_alt(PLANET_EARTH, a.acf_critalt) / RHO_SEA_LEVEL) * PRESSURE_SEA_LEVEL;
}

void ACF_setup_slats_and_stall(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    acf_report_writer* r = ACF_report_for(slot);
    float wing_area = 0.1f;
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        bool slats = false;
        for (int i = 0; i < part_elements(a, p); ++i) slats = slats || a.acf_slat[ACF_el(p, i)] != 0;
        // A stall angle of 0 leaves the slats without effect: the division
        // would give an infinite or not-a-number lift factor to the flight model.
        if (slats && a.acf_alpha_max[p] != 0.0f) {
            a.acf_slat_effect[p] = (a.acf_slat_inc + a.acf_alpha_max[p]) / a.acf_alpha_max[p];
            if (r) {
                r->t("для ").label(p).t(":").nl();
                r->t("Максимальный выпуск предкрылков приведет к изменению коэффициентов отн АУ до ")
                    .n(a.acf_slat_effect[p] * 100.0f, 7, 2).t("% от исходн.").nl();
                r->t("Максимальный выпуск предкрылков также изменит коэф. подъемной силы на ту же величину (наклон "
                     "останется тем же). ")
                    .nl(2);
            }
        } else {
            a.acf_slat_effect[p] = 1.0f;
        }
        wing_area += (a.acf_Croot[p] + a.acf_Ctip[p]) * a.acf_semilen_SEG[p];
    }
    float vs = std::sqrt(2.0f * units.g_conv * a.acf_m_max / (RHO_SEA_LEVEL * wing_area));
    if (vs > 250.0f * units.kts_to_mps) vs = 250.0f * units.kts_to_mps;
    if (a.acf_m_displaced > 0.5f * a.acf_m_max) vs = 40.0f * units.kts_to_mps;
    if (a.acf_has_collective_rotor && a.acf_vectEQ == 0) vs = 50.0f * units.kts_to_mps;
    a.acf_est_Vs = vs;
}
