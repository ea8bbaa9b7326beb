// The report's head and its centre-of-pressure lines.
#include <algorithm>
#include <string>

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "aircraft/part_presence.h"

void ACF_setup_report_header(int slot)
{
    acf_report_writer* r = ACF_report_for(slot);
    if (!r) return;
    const std::string separator(100, '\xA5');
    const acf_struct& a = pln[slot];
    char path[ACF_TEXT_SIZE];
    std::copy(a.acf_file_path, a.acf_file_path + ACF_TEXT_SIZE, path);
    path[ACF_TEXT_SIZE - 1] = 0;
    r->bytes(separator.c_str()).nl();
    r->t("Orvell: отчёт о настройке самолёта").nl();
    r->t("Имитация ").bytes(path).nl();
    r->bytes(separator.c_str()).nl(2);
    r->t("Х положит. см назад        Х положит. сила вправо   тангаж/УА пол. нос вверх").nl();
    r->t("Y положит. см. вправо     Y положит. сила вверх  положит. крен вправо").nl();
    r->t("Z полодит. см. вверх      Z положит. сила назад     курс/бета пол. нос вправо").nl(2);
    r->t("РВ, элерон, спойлер       положит. упр. поверхность вверх").nl();
    r->t("РН                           положит. упр. поверхность вправо").nl();
    r->t("сопр.-откл от курса          положит. упр. поверхность выдв.").nl();
    r->t("тангаж цикл. ход винта       положит. нос вверх").nl();
    r->t("крен цикл. ход винта         положит. нос вправо").nl(2);
}

void ACF_setup_pressure_centre(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    const acf_struct& a = pln[slot];
    // Area-weighted element positions of the wing parts.
    double area = 0.0, moment1 = 0.0, moment2 = 0.0, chords = 0.0;
    int elements = 0;
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        for (int i = 0; i < std::clamp(a.acf_els[p], 0, ACF_ELS_PER_PART); ++i) {
            const int e = ACF_el(p, i);
            const double z = ACF_point_on_element(slot, p, static_cast<float>(i), 'Z');
            const double s = a.acf_s[e];
            area += s;
            moment1 += s * z;
            moment2 += (z + 0.25 * a.acf_delta_fac[p] * a.acf_mac[e]) * s;
            chords += a.acf_mac[e];
            ++elements;
        }
    }
    acf_report_writer* r = ACF_report_for(slot);
    if (!r) return;
    // Without a wing element the sums are empty: the lines print 0 where the
    // divisions by them would print a not-a-number.
    const double cp1 = area != 0.0 ? moment1 / area : 0.0;
    const double cp2 = area != 0.0 ? moment2 / area : 0.0;
    const double cm = elements ? chords / elements : 0.0;
    r->nl().t("Центр тяжести для всех профилей").n(cp1, 7, 2)
        .t(" м (положит. назад от ЦТ) если 255% хорда - расположение элемента.").nl();
    r->t("Центр тяжести для всех профилей").n(cp2, 7, 2)
        .t(" м (положит. назад от ЦТ) когда крыло рассматривается частично как дельта-крыло, осн. на кон. коэф.").nl();
    r->t("Средняя хорда всех профилей     =     ").n(cm, 7, 2).t(" m.").nl(2);
    r->t("Таким образом, статический предел   = ").n(cm != 0.0 ? cp1 / cm : 0.0, 7, 2)
        .t(" (положит. уст.) если 25% хорда - расположение элемента.").nl();
    r->t("Таким образом, статический предел   = ").n(cm != 0.0 ? cp2 / cm : 0.0, 7, 2)
        .t(" (полоит. уст.) когда крыло рассматривается частично как дельта-крыло, осн. на кон. коэф.").nl(2);
}
