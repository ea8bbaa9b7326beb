// Checks that refuse an unflyable aircraft, and the removal of obsolete
// instruments from its panel.
#include <cstring>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "core/alert.h"
#include "core/hooks.h"
#include "core/engine_types.h"
#include "core/instrument_types.h"
#include "core/numeric.h"
#include "core/text_util.h"
#include "aircraft/part_presence.h"

namespace {

// Raises the alert of a failed check: three lines of its own and a fourth
// that names the aircraft file; fatal, or, for a file being loaded, the file
// is refused with a notice (three lines: what, the file, the check's first).
void fail(const acf_struct& a, bool refuse, const char* l1, const char* l2, const char* l3)
{
    char path[ACF_TEXT_SIZE];
    std::memcpy(path, a.acf_file_path, ACF_TEXT_SIZE);
    path[ACF_TEXT_SIZE - 1] = 0;
    if (refuse) {
        ACF_refuse_file("This aircraft cannot be flown and was not loaded:", path, l1, "");
        return;
    }
    char l4[TEXT_SIZE];
    UTIL_strcat3("Please correct the aircraft file: ", path, l4);
    MACIBM_nuke_alert(0, l1, l2, l3, l4, ALERT_FATAL);
}

// The checks, in order, from the tail number to the root chords; the first that
// fails shows its alert. True when one fired.
bool run_checks(int slot, const acf_struct& a, bool refuse)
{
    // The tail number.
    bool blank = true;
    for (int i = 0; i < ACF_TAILNUM_SIZE && a.acf_tailnum[i]; ++i) blank = blank && a.acf_tailnum[i] == ' ';
    if (blank) {
        fail(a, refuse, "This aircraft has no tail number.", "Every aircraft needs one: it is painted on the",
             "aircraft and shown on the panel.");
        return true;
    }

    // Propeller pitch range of each thrust point that drives a propeller. The
    // counts of thrust points, engines and elements are held to the record's
    // arrays here and below: a count from a damaged record would index past them.
    for (int e = 0; e < util_clamp_int(a.acf_num_thrustpoints, 0, ACF_MAX_ENGINES); ++e) {
        if (!ACF_engine_has_prop(slot, e)) continue;
        const int pt = a.acf_prop_type[e];
        const float range = a.acf_max_pitch[e] - a.acf_min_pitch[e];
        if (PROP_type_has_pitch_range(pt) && range < 0.01f) {
            fail(a, refuse, "A variable-pitch propeller has no pitch range.",
                 "Its maximum pitch must be above its minimum pitch.", "");
            return true;
        }
        if (pt == PROP_FIXED_PITCH && range > 0.01f) {
            fail(a, refuse, "A fixed-pitch propeller has a pitch range.",
                 "Give it the same minimum and maximum pitch,", "or choose a variable-pitch propeller.");
            return true;
        }
    }

    // Speeds and weights.
    if (a.acf_Vne == 0.0f) {
        fail(a, refuse, "The never-exceed speed (Vne) is zero.", "Every aircraft needs a never-exceed speed.", "");
        return true;
    }
    if (a.acf_m_empty < 0.01f) {
        fail(a, refuse, "The empty weight is zero.", "Every aircraft needs an empty weight.", "");
        return true;
    }
    if (a.acf_m_max < 0.01f) {
        fail(a, refuse, "The maximum weight is zero.", "Every aircraft needs a maximum weight.", "");
        return true;
    }
    if (a.acf_m_empty > a.acf_m_max) {
        fail(a, refuse, "The empty weight is above the maximum weight.", "The aircraft could never take off.", "");
        return true;
    }

    // Engines (the aircraft-wide engine values, tested for each engine).
    for (int e = 0; e < util_clamp_int(a.acf_num_engines, 0, ACF_MAX_ENGINES); ++e) {
        const int t = a.acf_en_type[e];
        const bool jet = ENGINE_type_is_jet(t);
        if (jet && a.acf_face_jet < 0.001f) {
            fail(a, refuse, "A jet engine has no inlet area.", "Give the jet engines their inlet area.", "");
            return true;
        }
        if (a.acf_revthrust_eq && a.acf_throtmax_REV < 0.005f) {
            fail(a, refuse, "Reverse thrust is fitted, but the reverse", "throttle limit is zero.", "");
            return true;
        }
        if (a.acf_throtmax_FWD < 0.005f) {
            fail(a, refuse, "The forward throttle limit is zero.", "The engines could never give power.", "");
            return true;
        }
        if (a.acf_revthrust_eq && a.acf_throtmax_REV > a.acf_throtmax_FWD + 0.005f) {
            fail(a, refuse, "The reverse throttle limit is above", "the forward throttle limit.", "");
            return true;
        }
        // Every type up to the pistons: a negative type from a damaged file too.
        if (t <= ENGINE_PISTON_INJECTED && a.acf_mpmax < 0.01f) {
            fail(a, refuse, "A piston engine has no maximum manifold pressure.", "", "");
            return true;
        }
        if (ENGINE_type_drives_prop(t) && (a.acf_RSC_idlespeed_eng < 1.0f || a.acf_RSC_redline_eng < 1.0f ||
                                 a.acf_RSC_mingreen_eng < 1.0f || a.acf_RSC_maxgreen_eng < 1.0f)) {
            fail(a, refuse, "The engine idle speed, redline or green arc", "is not given.",
                 "Give all four engine speeds.");
            return true;
        }
        if (ENGINE_type_drives_prop(t) && a.acf_RSC_idlespeed_eng > a.acf_RSC_redline_eng) {
            fail(a, refuse, "The engine idle speed is above its redline.", "", "");
            return true;
        }
        if (ENGINE_type_drives_prop(t) && a.acf_pmax < 0.01f) {
            fail(a, refuse, "An engine that drives a propeller has", "no maximum power.", "");
            return true;
        }
        if (jet && a.acf_tmax < 0.01f) {
            fail(a, refuse, "A jet engine has no maximum thrust.", "", "");
            return true;
        }
        if (ENGINE_type_is_rocket(t) && (a.acf_fmax_sl < 0.01f || a.acf_fmax_opt < 0.01f || a.acf_fmax_vac < 0.01f)) {
            fail(a, refuse, "A rocket engine has no maximum thrust", "at sea level, at its optimum altitude",
                 "or in vacuum.");
            return true;
        }
    }

    // Flap and slat deployment time.
    if ((a.acf_flapEQ || a.acf_slatEQ) && a.acf_flap_deftime < 0.01f && a.acf_flaps_with_vecEQ == 0) {
        fail(a, refuse, "Flaps or slats are fitted, but they take", "no time to deploy.", "");
        return true;
    }

    // Control surfaces of the wing elements, one pass per check.
    auto any_element = [&](auto&& test) {
        for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
            if (!ACF_part_in_service(slot, p)) continue;
            for (int i = 0; i < util_clamp_int(a.acf_els[p], 0, ACF_ELS_PER_PART); ++i)
                if (test(ACF_el(p, i))) return true;
        }
        return false;
    };
    if (a.acf_ail2vmax < 0.01f && any_element([&](int e) { return a.acf_ail2[e] != 0; })) {
        fail(a, refuse, "Aileron 2 is fitted, but the speed", "up to which it works is zero.", "");
        return true;
    }
    if (a.acf_splr_vmax < 0.01f && any_element([&](int e) { return a.acf_splr[e] != 0; })) {
        fail(a, refuse, "Spoilers are fitted, but the speed", "up to which they work is zero.", "");
        return true;
    }
    if (any_element([&](int e) { return a.acf_ail1[e] && a.acf_flap[e]; }) ||
        any_element([&](int e) { return a.acf_ail2[e] && a.acf_flap[e]; })) {
        fail(a, refuse, "A wing element carries both an aileron and a flap.", "An element may carry one of them only.",
             "");
        return true;
    }

    // The deflection of the last flap detent.
    if (a.acf_flapEQ && a.acf_flap_detents >= 1 &&
        // The detent count indexes the detent table; bounded, a count from a
        // damaged record cannot read past the table's last entry.
        a.acf_flap_dn[util_clamp_int(a.acf_flap_detents, 0, ACF_FLAP_DN - 1)] == 0.0f) {
        fail(a, refuse, "The last flap detent has no deflection.", "", "");
        return true;
    }

    // Landing gear.
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        if (a.acf_gear_tirrad[p] < 0.001f) {
            fail(a, refuse, "A landing gear has no tyre radius.", "", "");
            return true;
        }
        if (a.acf_gear_retract && a.acf_gear_cyc_time[p] < 0.01f) {
            fail(a, refuse, "The landing gear retracts, but a gear", "takes no time to cycle.", "");
            return true;
        }
    }

    // Equilibrium height on the gear.
    if (a.acf_h_eqlbm < 0.01f) {
        fail(a, refuse, "The height of the aircraft standing on its gear is zero.", "", "");
        return true;
    }

    // The fuselage stations.
    const int base = PART_BODY_FIRST * ACF_BODY_PART_POINTS;
    for (int k = 1; k <= 11; ++k) {
        if (a.acf_body_Z[base + ACF_BODY_POINTS * k] == a.acf_body_Z[base + ACF_BODY_POINTS * (k - 1)]) {
            fail(a, refuse, "Two stations of the fuselage are at the same place.", "", "");
            return true;
        }
    }

    // Root chords of the lifting surfaces.
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_MORE_LAST; ++p) {
        if (ACF_part_in_service(slot, p) && a.acf_Croot[p] < 0.01f) {
            fail(a, refuse, "A wing or tail has no root chord.", "", "");
            return true;
        }
    }
    return false;
}

// Removes the slots whose instrument is obsolete: later slots move down one
// place, the last slot keeps its content, and the slot is examined again.
// Slots past the moved run hold copies of the former last slot and are not
// examined again: when that copy is itself obsolete, examining it would move
// the same obsolete copy down for ever and hang the load. Otherwise the result
// is the same as examining every slot up to the last.
void remove_obsolete_instruments(acf_struct& a)
{
    int live = ACF_INS_SLOTS;   // slots before this one still hold distinct entries
    int s = 0;
    while (s < live) {
        if (!ACF_instrument_obsolete(a.acf_ins_type[s])) {
            ++s;
            continue;
        }
        if (s == ACF_INS_SLOTS - 1) break;
        const std::size_t moved = static_cast<std::size_t>(ACF_INS_SLOTS - 1 - s);
        std::memmove(&a.acf_ins_type[s], &a.acf_ins_type[s + 1], moved * sizeof(int32_t));
        std::memmove(&a.acf_ins_size[s], &a.acf_ins_size[s + 1], moved * sizeof(float));
        std::memmove(&a.acf_ins_x[s], &a.acf_ins_x[s + 1], moved * sizeof(float));
        std::memmove(&a.acf_ins_y[s], &a.acf_ins_y[s + 1], moved * sizeof(float));
        std::memmove(&a.acf_ins_delx[s], &a.acf_ins_delx[s + 1], moved * sizeof(float));
        std::memmove(&a.acf_ins_dely[s], &a.acf_ins_dely[s + 1], moved * sizeof(float));
        --live;
    }
}

}  // namespace

static_assert(ACF_INS_TYPES == PANEL_INSTRUMENT_TYPES);

int ACF_instrument_obsolete(int type)
{
    // A retired instrument type's picture entry reads "no longer used". A type
    // outside the picture table has no entry to read: it is not obsolete.
    if (type < 0 || type >= ACF_INS_TYPES) return 0;
    return UTIL_strcmp_nocase(CORE_instrument_picture(type), "no longer used") == 0 ? 1 : 0;
}

void ACF_check(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    if (run_checks(slot, a, false)) return;
    remove_obsolete_instruments(a);
}

bool ACF_check_to_load(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return false;
    acf_struct& a = pln[slot];
    if (run_checks(slot, a, true)) return false;
    remove_obsolete_instruments(a);
    return true;
}
