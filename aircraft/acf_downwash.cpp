// The downwash map (which forward parts wash each element of the parts behind
// them) and, for the user's aircraft, the downwash factors of the washing parts.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "core/numeric.h"
#include "aircraft/part_presence.h"

namespace {

constexpr int FIRST = PART_WING_PAIR_FIRST;   // parts 8..27 wash and are washed
constexpr int LAST = PART_WING_EXTRA_LAST;

// Elements of part p, bounded to the record's 10: a larger count would reach
// the flags of the next washer.
int part_elements(const acf_struct& a, int p) { return std::clamp(a.acf_els[p], 0, ACF_ELS_PER_PART); }

int downwash_index(int washed, int washer, int element)
{
    return (washed * ACF_NUM_PARTS + washer) * ACF_ELS_PER_PART + element;
}

bool washes(const acf_struct& a, int p, int j)
{
    for (int i = 0; i < part_elements(a, p); ++i)
        if (a.acf_in_downwash[downwash_index(p, j, i)]) return true;
    return false;
}

// Separation in semispans of the washer. For a washer without semispan the
// plain division gives infinity (the same factor terms as this large value)
// or, at no distance, 0/0, which would make the downwash factor not a number
// and spread into the lift of the washed part; that case gives 0.
float semispans(float distance, float semispan)
{
    if (semispan > 0.0f) return distance / semispan;
    return distance > 0.0f ? 1.0e6f : 0.0f;
}

void report_map(int slot, acf_report_writer& r)
{
    const acf_struct& a = pln[slot];
    static const char* const codes[6] = {"W1", "W2", "W3", "W4", "HS", "VS"};
    r.t("СКОС ПОТОКА:        W1=крыло 1").nl();
    r.t("                    W2=крыло 2").nl();
    r.t("                    W3=крыло 3").nl();
    r.t("                     HS=гор. стаб. (дополнительные крылья не указаны, хотя учитываюся)").nl(2);
    auto cell = [&](int p, int i, int side) {
        r.t(" ");
        if (i < part_elements(a, p)) {
            for (int w = 0; w < 6; ++w) r.t(a.acf_in_downwash[downwash_index(p, FIRST + 2 * w + side, i)] ? codes[w] : "--");
        } else {
            r.t("            ");
        }
        r.t(" ");
    };
    for (int p = FIRST; p < LAST; p += 2) {
        if (!ACF_part_in_service(slot, p)) continue;
        r.label(p).t(": ");
        for (int i = ACF_ELS_PER_PART - 1; i >= 0; --i) cell(p, i, 0);
        r.t("ФЮЗ.");
        for (int i = 0; i < ACF_ELS_PER_PART; ++i) cell(p + 1, i, 1);
        r.nl();
    }
    r.nl();
}

}  // namespace

void ACF_setup_downwash(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];

    // The map, every slot: an element of p lies in the wash of a part j ahead
    // of it on the same side when its middle lies between j's root and tip.
    for (int p = FIRST; p <= LAST; ++p) {
        if (!(std::fabs(a.acf_dihed1[p]) < 45.0f) || !ACF_part_in_service(slot, p)) continue;
        for (int j = FIRST; j <= LAST; ++j) {
            if (j == p || !(std::fabs(a.acf_dihed1[j]) < 45.0f) || !ACF_part_in_service(slot, j)) continue;
            if (!(a.acf_Zarm[j] < a.acf_Zarm[p])) continue;
            if (!(std::fabs(a.acf_dihednow[p] - a.acf_dihednow[j]) < 45.0f)) continue;
            if (a.acf_side_sign[p] != a.acf_side_sign[j]) continue;
            const float xr = std::fabs(ACF_point_on_element(slot, j, 0.0f, 'X'));
            const float xt = std::fabs(ACF_point_on_element(slot, j, static_cast<float>(part_elements(a, j)), 'X'));
            for (int i = 0; i < part_elements(a, p); ++i) {
                const float xi = std::fabs(ACF_point_on_element(slot, p, i + 0.5f, 'X'));
                if (xr <= xi && xi <= xt) a.acf_in_downwash[downwash_index(p, j, i)] = 1;
            }
        }
    }

    // The factors, the user's aircraft only; other slots keep the file's.
    if (slot != 0) return;
    acf_report_writer* r = ACF_report_for(slot);
    if (r) report_map(slot, *r);
    for (int p = FIRST; p <= LAST; ++p) {
        for (int j = FIRST; j <= LAST; ++j) {
            if (!washes(a, p, j)) continue;
            const float gy = semispans(std::fabs(a.acf_Yarm[p] - a.acf_Yarm[j]), a.acf_semilen_JND[j]);
            const float gz = semispans(std::fabs(a.acf_Zarm[p] - a.acf_Zarm[j]), a.acf_semilen_JND[j]);
            const float ta = UTIL_clamp((a.acf_taper[j] - 1.0f) * -2.2f - 1.1f, -1.1f, 1.1f);
            const float tb = UTIL_clamp((a.acf_AR[j] - 6.0f) * -0.6666667f + 2.0f, -2.0f, 2.0f);
            const float tc = UTIL_clamp((gz - 0.6f) * -1.0f + 5.1f, 4.1f, 5.1f);
            const float td = UTIL_clamp(gy * -5.333333f, -3.2f, 0.0f);
            a.acf_spec_wash[j] = tc + td + tb + ta;
            const bool overlap = std::fabs(a.acf_Zarm[p] - a.acf_Zarm[j]) < std::fabs(a.acf_Croot[p] + a.acf_Croot[j]);
            if (overlap) a.acf_spec_wash[j] *= 0.5f;
            if (!r) continue;
            if (overlap) {
                r->t("The root chord of the ").label(j).t(" and the ").label(p).t(" overlap,").nl();
                r->t("so the downwash is halved from the ").label(j).t(" onto the ").label(p).t(".").nl(2);
            }
            r->t("Для ").label(j).t(" при   ").n(a.acf_AR[j], 7, 2).t(",").nl();
            r->t("                   кон. коэф.  ").n(a.acf_taper[j], 7, 2).t(",").nl();
            r->t("                         прод. разделенние  ").n(gz, 7, 2).t(" полуразм. , (Z = ")
                .n(a.acf_Zarm[j], 7, 2).t(", Z WASHEE=").n(a.acf_Zarm[p], 7, 2).t(", SEMILAN WASHER=")
                .n(a.acf_semilen_JND[j], 7, 2).t(")").nl();
            r->t("                     и вертикальное раздел. ").n(gy, 7, 2).t(" полуразмах, (Y WASHER=")
                .n(a.acf_Yarm[j], 7, 2).t(", Y WASHEE=").n(a.acf_Yarm[p], 7, 2).t(", SEMILAN WASHER=")
                .n(a.acf_semilen_JND[j], 7, 2).t(")").nl();
            r->label(j).t(" скос потока на ").label(p).t("    =    ").n(a.acf_spec_wash[j], 7, 2)
                .t("грд на коэф. подъемной силы.").nl();
            r->t("ПОМНОЖЕННЫЙ НА КОСИНУС  ").label(j).t(" sweep.").nl(2);
        }
    }
}
