// Values derived from an aircraft record once its file has been read.
#include <cmath>

#include "aircraft/acf_file.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "aircraft/part_presence.h"
#include "core/instrument_types.h"

namespace {

// The eight control surfaces: the per-element flag array and the run (first
// element, one past the last element) of each part.
struct control_arrays {
    int32_t (acf_struct::*elements)[ACF_NUM_ELEMENTS];
    float (acf_struct::*first)[ACF_NUM_PARTS];
    float (acf_struct::*end)[ACF_NUM_PARTS];
};

constexpr control_arrays controls[] = {
    {&acf_struct::acf_ail1, &acf_struct::acf_ail1_el_first, &acf_struct::acf_ail1_el_end},
    {&acf_struct::acf_ail2, &acf_struct::acf_ail2_el_first, &acf_struct::acf_ail2_el_end},
    {&acf_struct::acf_elev, &acf_struct::acf_elev_el_first, &acf_struct::acf_elev_el_end},
    {&acf_struct::acf_rudd, &acf_struct::acf_rudd_el_first, &acf_struct::acf_rudd_el_end},
    {&acf_struct::acf_splr, &acf_struct::acf_splr_el_first, &acf_struct::acf_splr_el_end},
    {&acf_struct::acf_drud, &acf_struct::acf_drud_el_first, &acf_struct::acf_drud_el_end},
    {&acf_struct::acf_sbrk, &acf_struct::acf_sbrk_el_first, &acf_struct::acf_sbrk_el_end},
    {&acf_struct::acf_flap, &acf_struct::acf_flap_el_first, &acf_struct::acf_flap_el_end},
};

// Elements of part p that exist. The reader refuses files whose counts exceed
// the record's arrays; the counts are bounded here as well, since a count taken
// as it is would index past the part's 10 elements (or the 8 engines) of the
// record when a record reaches this code another way.
int element_count(const acf_struct& a, int p)
{
    const int n = a.acf_els[p];
    return n < 0 ? 0 : (n > ACF_ELS_PER_PART ? ACF_ELS_PER_PART : n);
}

int thrust_point_count(const acf_struct& a)
{
    const int n = a.acf_num_thrustpoints;
    return n < 0 ? 0 : (n > ACF_MAX_ENGINES ? ACF_MAX_ENGINES : n);
}

int engine_count(const acf_struct& a)
{
    const int n = a.acf_num_engines;
    return n < 0 ? 0 : (n > ACF_MAX_ENGINES ? ACF_MAX_ENGINES : n);
}

bool in(int x, int lo, int hi) { return x >= lo && x <= hi; }

void derive_prop_types(int slot, acf_struct& a)
{
    for (int p = 0; p < thrust_point_count(a); ++p) {
        if (p < a.acf_num_engines && ACF_engine_is_jet(slot, p) && ACF_part_not_failed_or_hidden(slot, p))
            a.acf_prop_type[p] = PROP_JET;
        else if (a.acf_prop_type[p] < PROP_FIXED_PITCH)
            a.acf_prop_type[p] = PROP_FIXED_PITCH;
        else if (a.acf_prop_type[p] > PROP_TYPE_LAST_CHOSEN)
            a.acf_prop_type[p] = PROP_TYPE_LAST_CHOSEN;
    }
}

void derive_sides(int slot, acf_struct& a)
{
    for (int p = 0; p < ACF_NUM_PARTS; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        if (p <= PART_PROP_LAST || in(p, PART_WING_MORE_FIRST, PART_WING_MORE_LAST))
            a.acf_part_is_left[p] = a.acf_Xarm[p] < -0.01f ? 1 : 0;
        else if (in(p, PART_WING_PAIR_FIRST, PART_WING_PAIR_LAST))
            a.acf_part_is_left[p] = (p % 2 == 0) ? 1 : 0;
        else if (!in(p, PART_WING_EXTRA_FIRST, PART_WING_EXTRA_LAST))
            a.acf_part_is_left[p] = 0;
        a.acf_side_sign[p] = a.acf_part_is_left[p] ? -1.0f : 1.0f;
        if (p <= PART_PROP_LAST) a.acf_vect_cant[p] = a.acf_vertcant[p];
    }
}

void derive_element_equipment(int slot, acf_struct& a)
{
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        for (int i = 0; i < element_count(a, p); ++i) {
            const int e = ACF_el(p, i);
            if (a.acf_flap[e])
                a.acf_flapEQ = 1;
            else if ((a.acf_ail1[e] && a.acf_ail1flaps > 0.01f) || (a.acf_ail2[e] && a.acf_ail2flaps > 0.01f))
                a.acf_flapEQ = 1;
            if (a.acf_slat[e]) a.acf_slatEQ = 1;
            if (a.acf_sbrk[e]) a.acf_sbrkEQ = 1;
            if (a.acf_dihed_var[p]) a.acf_vardihedEQ = 1;
            if (a.acf_sweep_var[p]) a.acf_varsweepEQ = 1;
            if (a.acf_sweep_extra[p]) a.acf_sweep_extraEQ = 1;
        }
    }
}

void derive_element_geometry(int slot, acf_struct& a)
{
    for (int p = 0; p < ACF_NUM_PARTS; ++p) {
        for (const control_arrays& c : controls) {
            (a.*c.first)[p] = 10.0f;
            (a.*c.end)[p] = 0.0f;
        }
        if (!ACF_part_in_service(slot, p)) continue;

        const int n = element_count(a, p);
        const float nf = static_cast<float>(a.acf_els[p]);
        // A part without elements has element length 0: the division by its zero
        // element count would store an infinite (or, at zero length, not-a-number)
        // length that the flight model then multiplies into its forces.
        a.acf_element_len[p] = a.acf_els[p] != 0 ? a.acf_semilen_SEG[p] / nf : 0.0f;

        const float root = a.acf_Croot[p];
        const float tip = a.acf_Ctip[p];
        const float sweep_cos = std::cos(a.acf_sweep1[p] * units.deg_to_rad);
        for (int i = 0; i < n; ++i) {
            const int e = ACF_el(p, i);
            for (const control_arrays& c : controls) {
                if (!(a.*c.elements)[e]) continue;
                float& first = (a.*c.first)[p];
                float& end = (a.*c.end)[p];
                if (static_cast<float>(i) <= first) first = static_cast<float>(i);
                if (static_cast<float>(i + 1) >= end) end = static_cast<float>(i + 1);
            }
            const float inner = (tip - root) / nf * static_cast<float>(i) + root;
            const float outer = (tip - root) / nf * static_cast<float>(i + 1) + root;
            a.acf_s[e] = sweep_cos * a.acf_semilen_SEG[p] * (inner + outer) * 0.5f / nf;
            const float s = inner + outer;
            // Zero chords give a zero mean chord: 0/0 would store a not-a-number
            // mean chord that spreads into the element's forces.
            a.acf_mac[e] = s != 0.0f ? (s - inner * outer / s) * 2.0f / 3.0f : 0.0f;
        }
    }
}

void derive_panel_equipment(acf_struct& a)
{
    for (int k = 0; k < 4; ++k) a.acf_has_nav[k] = 0;
    a.acf_has_radar = 0;
    a.acf_has_SC_fd = 0;
    a.acf_has_DC_fd = 0;
    a.acf_has_stallwarn = 0;
    a.acf_has_clutch = 0;
    a.acf_has_idlespeed = 0;
    a.acf_no_fadec = 0;
    a.acf_force_fadec = 0;
    a.acf_ap_keep_speed = 0;
    a.acf_ap_keep_heading = 0;
    a.acf_ap_keep_altitude = 0;
    a.acf_panel_flag_51_52 = 0;

    for (int s = 0; s < ACF_INS_SLOTS; ++s) {
        const int t = a.acf_ins_type[s];
        // Both ADF receivers.
        const bool nav3_4 = INS_in(t, INS_ADF_CONVEN12_GA, INS_ADF_CONVEN12_HM) ||
                            INS_in(t, INS_ADF_SLAVED12_GA, INS_ADF_SLAVED12_HM);
        if (INS_in(t, INS_RAD_NAV1_GA, INS_RAD_NAV1FF_BC) || INS_in(t, INS_RAD_NAVCOM1_GA, INS_RAD_NAVCOM1FF_BC))
            a.acf_has_nav[0] = 1;
        if (INS_in(t, INS_RAD_NAV2_GA, INS_RAD_NAV2FF_BC) || INS_in(t, INS_RAD_NAVCOM2_GA, INS_RAD_NAVCOM2FF_BC))
            a.acf_has_nav[1] = 1;
        if (INS_in(t, INS_RAD_ADF1_GA, INS_RAD_ADF1FF_BC) || INS_in(t, INS_ADF_CONVEN1_GA, INS_ADF_CONVEN1_HM) ||
            INS_in(t, INS_ADF_SLAVED1_GA, INS_ADF_SLAVED1_HM) || nav3_4)
            a.acf_has_nav[2] = 1;
        if (INS_in(t, INS_RAD_ADF2_GA, INS_RAD_ADF2FF_BC) || INS_in(t, INS_ADF_CONVEN2_GA, INS_ADF_CONVEN2_HM) ||
            INS_in(t, INS_ADF_SLAVED2_GA, INS_ADF_SLAVED2_HM) || nav3_4)
            a.acf_has_nav[3] = 1;
        if (t == INS_RAD_NAVCOMADFFF_HM)
            for (int k = 0; k < 4; ++k) a.acf_has_nav[k] = 1;
        if (INS_in(t, INS_EFIS_MAP_T_GA, INS_EFIS_MAP_T_HM) || INS_in(t, INS_EFIS_MAP_S_GA, INS_EFIS_MAP_S_HM) ||
            t == INS_EFIS_HITS || t == INS_EFIS_MAP_RAIN)
            a.acf_has_radar = 1;
        if (t == INS_BUT_FLITEDIR_MODESC) a.acf_has_SC_fd = 1;
        if (t == INS_BUT_FLITEDIR_MODEDC) a.acf_has_DC_fd = 1;
        if (t == INS_STALL_LIGHT) a.acf_has_stallwarn = 1;
        if (t == INS_BUT_CLUTCH) a.acf_has_clutch = 1;
        if (t == INS_BUT_PREROTATE) a.acf_no_fadec = 1;
        if (t == INS_BUT_IDLE) a.acf_has_idlespeed = 1;
        if (t == INS_BUT_FADEC) a.acf_force_fadec = 1;
        if (t == INS_OTT_SEL_SPD || t == INS_OTT_SELDISP_SPD) a.acf_ap_keep_speed = 1;
        if (t == INS_OTT_SEL_HDG || t == INS_OTT_SELDISP_HDG || INS_in(t, INS_HSI1_GA, INS_HSIGLASS_HM))
            a.acf_ap_keep_heading = 1;
        if (t == INS_OTT_SEL_ALT || t == INS_OTT_SELDISP_ALT) a.acf_ap_keep_altitude = 1;
        if (t == INS_HAN_SLIDER_MIX_VERNIER || t == INS_HAN_SLIDER_MIXTURE_LIN) a.acf_panel_flag_51_52 = 1;
    }
}

void derive_defaults(acf_struct& a)
{
    if (a.acf_unpub_638096 < 1.0f) a.acf_unpub_638096 = a.acf_Vne;
    if (a.acf_unpub_638108 < 1.0f) a.acf_unpub_638108 = 100.0f;
    if (a.acf_unpub_638100 < 1.0f) {
        for (int p = 0; p < thrust_point_count(a); ++p) {
            const int t = a.acf_prop_type[p];
            if (t == PROP_FIXED_PITCH || t == PROP_CONSTANT_SPEED || t == PROP_MANUAL_PITCH || t == PROP_AUTO_PITCH ||
                t == PROP_TAIL_ROTOR)
                a.acf_unpub_638100 = 2500.0f;
            else if (t == PROP_COLLECTIVE_ROTOR || t == PROP_MAIN_ROTOR)
                a.acf_unpub_638100 = 400.0f;
            else if (t == PROP_LIFT_FAN)
                a.acf_unpub_638100 = 100.0f;
        }
    }
    if (a.acf_unpub_638104 < 1.0f) {
        for (int e = 0; e < engine_count(a); ++e) {
            const int t = a.acf_en_type[e];
            if (ENGINE_type_is_piston(t) || t == ENGINE_ELECTRIC)
                a.acf_unpub_638104 = 2500.0f;
            else if (t == ENGINE_TURBINE_FREE || t == ENGINE_TURBINE_FIXED)
                a.acf_unpub_638104 = 1900.0f;
        }
    }

    float* trims[6] = {&a.acf_elv_trim_dn, &a.acf_elv_trim_up, &a.acf_ail_trim_lt,
                       &a.acf_ail_trim_rt, &a.acf_rud_trim_lt, &a.acf_rud_trim_rt};
    bool all_small = true;
    for (float* t : trims) all_small = all_small && *t < 0.005f;
    if (all_small) {
        const float defaults[6] = {0.5f, 0.5f, 0.25f, 0.25f, 0.25f, 0.25f};
        for (int k = 0; k < 6; ++k) *trims[k] = defaults[k];
    }
    for (float* t : trims)
        if (*t <= 0.001f) *t = 0.001f;

    if (a.acf_spooltime_prop <= 0.1f) a.acf_spooltime_prop = 0.1f;
    if (a.acf_spooltime_jet <= 0.1f) a.acf_spooltime_jet = 0.1f;
}

}  // namespace

void ACF_settle_prop_types(int slot)
{
    // A slot outside the plane table would derive into memory past it.
    if (slot < 0 || slot >= ACF_SLOTS) return;
    derive_prop_types(slot, pln[slot]);
}

void ACF_derive_values(int slot)
{
    // A slot outside the plane table would derive into memory past it.
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];

    derive_prop_types(slot, a);

    a.acf_flapEQ = 0;
    a.acf_slatEQ = 0;
    a.acf_sbrkEQ = a.acf_brake_area > 0.1f ? 1 : 0;
    a.acf_vardihedEQ = 0;
    a.acf_varsweepEQ = 0;
    a.acf_sweep_extraEQ = 0;

    // Older files give one low and one high artificial-stability speed: spread them over the channels.
    if (a.acf_ASloV == 0.0f && a.acf_ASloV_yaw == 0.0f && a.acf_ASloV_roll == 0.0f && a.acf_AShiV == 0.0f &&
        a.acf_AShiV_yaw == 0.0f && a.acf_AShiV_roll == 0.0f) {
        a.acf_ASloV = a.acf_ASloV_yaw = a.acf_ASloV_roll = a.acf_ASloV_old;
        a.acf_AShiV = a.acf_AShiV_yaw = a.acf_AShiV_roll = a.acf_AShiV_old;
    }

    derive_sides(slot, a);
    derive_element_equipment(slot, a);
    derive_element_geometry(slot, a);
    derive_panel_equipment(a);
    derive_defaults(a);
}
