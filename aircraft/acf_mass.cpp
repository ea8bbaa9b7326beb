// Propeller discs and blades, engine masses and the aircraft's moments of
// inertia: engines are point masses at their arms, the rest of the empty mass
// is spread over the wing elements and bodies in proportion to area.
#include <algorithm>
#include <cmath>

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "flightmodel/flt.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float BLADE_DENSITY = 2700.0f;    // kg/m3, aluminium
constexpr float BLADE_FILL = 0.67f;         // share of the chord-and-thickness box a blade fills
constexpr float GYRATION_AT = 0.7071f;      // blade radius of gyration over its span
constexpr float TIP_WEIGHT_AT = 0.85f;      // where tip weights sit on the span

// Elements of part p, bounded to the record's 10: a larger count would write
// the next propeller's rings and read the next part's elements.
int part_elements(const acf_struct& a, int p) { return std::clamp(a.acf_els[p], 0, ACF_ELS_PER_PART); }

void propellers(int slot, acf_report_writer* r)
{
    acf_struct& a = pln[slot];
    a.acf_has_collective_rotor = 0;
    a.acf_collective_rotor_index = 0;
    for (int p = 0; p <= PART_PROP_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        const int type = a.acf_prop_type[p];
        if (type == 5) a.acf_has_prop_type5 = 1;
        if (type == 3) {
            a.acf_has_collective_rotor = 1;
            a.acf_collective_rotor_index = p;
        }

        // Rings of the disc for the propwash.
        const int els = part_elements(a, p);
        auto radius = [&](float s) { return ACF_point_on_element(slot, p, s, 'X'); };
        if (r) r->t("The ").label(p).t(" DISC AREA is broken down into rings for propwash distribution as follows:").nl();
        for (int e = 0; e < els; ++e) {
            const float r0 = radius(static_cast<float>(e)), r1 = radius(static_cast<float>(e + 1));
            a.acf_ringarea[p * ACF_PROP_RINGS + e] = pi * r1 * r1 - r0 * r0 * pi;
            if (r)
                r->t("   element number ").n(e + 1, 2, 0).t(" (lat arm=").n(radius(e + 0.5f), 7, 2)
                    .t(" mtrs):   ring area=").n(a.acf_ringarea[p * ACF_PROP_RINGS + e], 8, 3).t(" кв. м.").nl();
        }
        const float tip = radius(static_cast<float>(els));
        a.acf_discarea[p] = pi * tip * tip;
        if (r) r->t("                                         TOTAL DISC AREA=").n(a.acf_discarea[p], 8, 3).t(" square meters.").nl(2);

        // Blades: a box of chord and thickness, partly filled.
        const float span = a.acf_semilen_SEG[p], cr = a.acf_Croot[p], ct = a.acf_Ctip[p];
        const float thick = 0.5f * (a.afl[p].afl_t_rat[0] * cr + a.afl[p].afl_t_rat[1] * ct);
        const float m = span * 0.5f * (cr + ct) * thick * BLADE_FILL * a.acf_num_blades[p] * a.aacf_rotor_mi_rat *
                        BLADE_DENSITY;
        a.acf_prop_mass[p] = m;
        a.acf_miprop_rpm[p] = (GYRATION_AT * span) * (GYRATION_AT * span) * m;
        if (r)
            r->t("Before any tip weights, the ").label(p).t(" weighs ").n(m, 8, 3).t(" kg, and the MI is ")
                .n(a.acf_miprop_rpm[p], 8, 3).t(" kg*m*m.").nl();
        if (type == 3 || type == 7) {
            const float at = TIP_WEIGHT_AT * span;
            a.acf_miprop_rpm[p] += a.aacf_tip_weight * a.acf_num_blades[p] * at * at;
            if (r)
                r->t("The mass of ").label(p).t("            tip weights is ")
                    .n(a.aacf_tip_weight * a.acf_num_blades[p], 8, 3)
                    .t(" kg total (all blades) centered at location ").n(at, 7, 2).t(" m.").nl();
        }
        if (type == 6) a.acf_miprop_rpm[p] *= 2.0f;
        if (r)
            r->t("The SEMI-SPAN  of the blades is ").n(span, 7, 2)
                .t(" m, and the moment of inertia in rotation about the HUB (for RPM change) is ")
                .n(a.acf_miprop_rpm[p], 8, 3).t(" kg*m*m.").nl(3);
    }
}

struct inertia {
    float xx = 0.0f, yy = 0.0f, zz = 0.0f;
    void add(float m, float x, float y, float z)
    {
        xx += m * (y * y + z * z);
        yy += m * (x * x + z * z);
        zz += m * (x * x + y * y);
    }
};

// A massless part (no empty mass) would divide by zero, and a negative moment
// (negative areas or powers in the file) has no root: the radius reads 0.
float radius_of_gyration(float moment, float mass) { return mass > 0.0f ? std::sqrt(std::max(0.0f, moment / mass)) : 0.0f; }

}  // namespace

void ACF_setup_props_and_masses(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    acf_report_writer* r = ACF_report_for(slot);
    propellers(slot, r);

    // Engines: every engine of the count, in service or not.
    const float hp = a.acf_pmax / units.hp_to_watts;
    const float lbf = a.acf_tmax / units.lbf_to_n;
    float engines = 0.0f;
    inertia ie;
    const int count = std::clamp(a.acf_num_engines, 0, ACF_MAX_ENGINES);
    for (int e = 0; e < count; ++e) {
        float lb = 0.0f;
        switch (a.acf_en_type[e]) {
        case 0: case 1: case 3: {
            // An engine without a manifold-pressure limit (an electric motor)
            // is weighed at sea-level pressure: 29.92 / 0 would give it an
            // infinite mass and the aircraft infinite moments of inertia.
            const float boost = a.acf_mpmax > 0.0f ? 29.92f / a.acf_mpmax : 1.0f;
            lb = hp * 1.75f * std::pow(boost, 1.5f);
            break;
        }
        case 2: case 8: lb = hp * 0.5f; break;
        case 4: case 5: lb = lbf * 0.18f; break;
        case 6: case 7: lb = lbf * 0.01f; break;
        default: break;
        }
        const float m = lb * units.lbs_to_kgs;
        a.acf_eng_mass[e] = m;
        a.acf_trq_per_speed[e] = a.acf_trq_max_prp / std::max(a.acf_RSC_redline_eng, 1.0f);
        // A negative or not-a-number empty mass (an unchecked file) would give
        // clamp a top below its bottom, which is undefined: the top is held at 0.
        engines = std::clamp(engines + m, 0.0f, std::max(0.0f, 0.5f * a.acf_m_empty));
        ie.add(m, a.acf_Xarm[e], a.acf_Yarm[e], a.acf_Zarm[e]);
    }

    // Airframe: half of each wing element's area at 75 per cent of its span,
    // then the bodies by their surfaces.
    float area = 0.0f;
    inertia ib;
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_MORE_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        for (int i = 0; i < part_elements(a, p); ++i) {
            const float w = 0.5f * a.acf_s[ACF_el(p, i)];
            area += w;
            const float t = static_cast<float>(i) + 0.75f;
            ib.add(w, ACF_point_on_element(slot, p, t, 'X'), ACF_point_on_element(slot, p, t, 'Y'),
                   ACF_point_on_element(slot, p, t, 'Z'));
        }
    }
    for (int p = PART_BODY_FIRST; p <= PART_BODY_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        float* s = &a.acf_s[ACF_el(p, 0)];
        s[0] = s[1] = s[2] = 0.0f;
        ACF_body_areas(slot, p, 0, a.acf_Xarm[p], a.acf_Yarm[p], a.acf_Zarm[p], s[0], s[1], s[2],
                       a.acf_X_body_aero[p], a.acf_Y_body_aero[p], a.acf_Z_body_aero[p], area, ib.xx, ib.yy, ib.zz);
    }
    // No airframe area: the airframe adds no inertia. Dividing by the zero area
    // would make the moments of inertia infinite or not a number, and the
    // flight model divides the moments by them.
    const float airframe = a.acf_m_empty - engines;
    const float f = area > 0.0f ? airframe / area : 0.0f;
    ib.xx *= f;
    ib.yy *= f;
    ib.zz *= f;
    // A record without empty mass (never one that passed the checks) gets no
    // inertia per unit mass instead of a division by zero.
    const float empty = a.acf_m_empty;
    a.acf_Jxx_unitmass = empty > 0.0f ? (ie.xx + ib.xx) / empty : 0.0f;
    a.acf_Jyy_unitmass = empty > 0.0f ? (ie.yy + ib.yy) / empty : 0.0f;
    a.acf_Jzz_unitmass = empty > 0.0f ? (ie.zz + ib.zz) / empty : 0.0f;

    if (!r) return;
    // Without a maximum mass the shares would divide by zero: they read 0.
    const float share = a.acf_m_max > 0.0f ? 100.0f / a.acf_m_max : 0.0f;
    if (engines > 0.0f) {
        const char* tail = " м, учитывая все силы, действующ. на двигатель и тягу";
        r->t("Масса двигателей  ").n(engines, 8, 2).t(" кг (").n(engines * share, 7, 2).t("% от общей):").nl();
        r->t("   Радиус вращ. двигателей пр крене               =  ").n(radius_of_gyration(ie.zz, engines), 7, 2).t(tail).nl();
        r->t("   Радиус вращ. двигателей при тангаже             = ").n(radius_of_gyration(ie.xx, engines), 7, 2).t(tail).nl();
        r->t("   Радиус вращ. двигателей при рыскании          =   ").n(radius_of_gyration(ie.yy, engines), 7, 2).t(tail).nl(2);
    }
    r->t("Масса остальной части самолета  ").n(airframe, 8, 2).t(" (").n(airframe * share, 7, 2).t("% от общей):").nl();
    const char* tail = " м, учитывая распределение масс по корпуму с 50% масс на всех упр. поверхностях.";
    r->t("   Радиус вращ. корпуса при крене                  = ").n(radius_of_gyration(ib.zz, airframe), 7, 2).t(tail).nl();
    r->t("   Радиус вращ. корпуса при тангаже                = ").n(radius_of_gyration(ib.xx, airframe), 7, 2).t(tail).nl();
    r->t("   TРадиус вращ. двигателя при рыскании          =   ").n(radius_of_gyration(ib.yy, airframe), 7, 2)
        .t(" м, учитывая распределение масс по крпусу с 50% масс на всех упр. поверхностях.").nl(2);
    r->t("ОБщие результаты:").nl();
    // (A negative inertia per unit mass has no root: it reads 0.)
    r->t("   Радиус вращ. при крене          =  ").n(std::sqrt(std::max(0.0f, a.acf_Jzz_unitmass)), 7, 2).t(" m.").nl();
    r->t("   Радиус вращ. при тангаже         = ").n(std::sqrt(std::max(0.0f, a.acf_Jxx_unitmass)), 7, 2).t(" m.").nl();
    r->t("   Радиус враш. при рыскании      =   ").n(std::sqrt(std::max(0.0f, a.acf_Jyy_unitmass)), 7, 2).t(" м.").nl(2);
}

void ACF_setup_initial_masses(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    const acf_struct& a = pln[slot];
    flt_struct& f = flt[slot];

    // Fuel: each tank half of its even share, less when its ratio is smaller.
    float* tanks[ACF_TANKS] = {&f.m_fuel1, &f.m_fuel2, &f.m_fuel3};
    for (float* t : tanks) *t = 0.0f;
    const int count = std::min(a.acf_num_tanks, ACF_TANKS);   // three tank masses
    for (int k = 0; k < count; ++k) {
        float fraction = std::min(0.5f / static_cast<float>(a.acf_num_tanks), a.acf_tank_rat[k]);
        if (fraction < 0.0f) fraction = 0.0f;
        *tanks[k] = a.acf_m_fuel_tot * fraction;
    }

    f.m_jettison = a.acf_jett_is_slung != 0 ? 0.0f : 0.5f * a.acf_m_jettison;

    // The stores on the named weapon stations: their fixed and their own mass.
    float stores = 0.0f;
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) {
        if (a.wpn_name[w * ACF_WPN_NAME_SIZE] == 0) continue;
        stores += a.acf_wpn_slot[w].wpn_fixed_mass + a.acf_wpn_slot[w].wpn_mass_now;
    }
    const float rest = a.acf_m_fuel_tot + a.acf_m_jettison + a.acf_m_empty + stores;
    const float payload = a.acf_m_displaced <= 0.5f * a.acf_m_max ? 0.5f * (a.acf_m_max - rest)
                                                                   : a.acf_m_displaced - rest;
    f.m_fixed = payload > 0.0f ? payload : 0.0f;
}
