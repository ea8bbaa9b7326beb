// Conversion of the old aircraft body (versions 600 and 626) into the record.
#include "aircraft/acf_old_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "aircraft/acf_file.h"
#include "aircraft/acf_struct.h"
#include "core/datafile.h"
#include "core/engine_types.h"
#include "core/numeric.h"
#include "core/instrument_types.h"

acf_old_record_area acf_old_record{};

namespace {

// How an old field's words are laid out.
enum old_layout : uint8_t {
    OLD_WORDS,           // count words in order
    OLD_BY_PART,         // one word per old part, to the part's new place
    OLD_BY_ELEMENT,      // ten words per old part
    OLD_BY_BODY,         // 20 stations x 18 points per old part
    OLD_BYTES_BY_PART,   // one byte per old part, widened to a word
    OLD_BYTE,            // one byte, widened to a word
};

struct old_field {
    uint32_t old_offset;
    old_layout layout;
    uint32_t count;
    std::size_t offset;   // in the record
};

constexpr old_field old_fields[] = {
#include "aircraft/acf_old_table.inc"
};
static_assert(std::size(old_fields) == 374);

// Every field lands inside the file image, with room for all the current parts.
constexpr bool table_fits()
{
    for (const old_field& f : old_fields) {
        std::size_t words = f.count;
        if (f.layout == OLD_BY_PART || f.layout == OLD_BYTES_BY_PART) words = ACF_NUM_PARTS;
        if (f.layout == OLD_BY_ELEMENT) words = ACF_NUM_ELEMENTS;
        if (f.layout == OLD_BY_BODY) words = ACF_NUM_PARTS * ACF_BODY_PART_POINTS;
        if (f.offset + 4 * words > ACF_FILE_IMAGE_SIZE) return false;
        const std::size_t old_bytes =
            f.layout == OLD_BYTE ? 1 : (f.layout == OLD_BYTES_BY_PART ? ACF_OLD_PARTS : 4 * std::size_t{f.count});
        if (f.old_offset + old_bytes > ACF_OLD_RECORD_SIZE) return false;
    }
    return true;
}
static_assert(table_fits());

// Old offsets the rules read beside the table.
constexpr std::size_t OLD_VLE = 433208, OLD_ROLL_CO = 433320, OLD_BRAKE_CO = 433324;
constexpr std::size_t OLD_COCKPIT_TYPE = 1064, OLD_DRAW_FRONT = 433344, OLD_DRAW_SIDE = 433348;
constexpr std::size_t OLD_ROTOR_KIND = 1052;     // 1: a tail-rotor machine, 2: a rotor machine
constexpr std::size_t OLD_GEAR_RATIO = 6116, OLD_ROTOR_GEAR_DIVISOR = 6168;
constexpr std::size_t OLD_MAC = 450856;          // the element chords as whole numbers
constexpr std::size_t OLD_ELEV_TRIM_FLAG = 430936, OLD_RUDD_TRIM_FLAG = 430940;
constexpr std::size_t OLD_TYRE_RADII = 428712;
constexpr std::size_t OLD_TANK_RATIOS = 433240;
constexpr std::size_t OLD_GEAR_STEER_BYTES = 432440, OLD_GEAR_STEER_BYTES_END = 432500;

constexpr char SYMMETRICAL_AIRFOIL[] = "NACA 0009 (symmetrical).afl";
constexpr float OLD_FULL_FLAP_DEG = 30.0f;   // full flap of an old aircraft, whose file gives none

uint8_t* old_bytes() { return acf_old_record.bytes; }

int32_t old_int(std::size_t off)
{
    int32_t v;
    std::memcpy(&v, old_bytes() + off, 4);
    return v;
}
float old_float(std::size_t off)
{
    float v;
    std::memcpy(&v, old_bytes() + off, 4);
    return v;
}
void set_old_float(std::size_t off, float v) { std::memcpy(old_bytes() + off, &v, 4); }
void set_old_int(std::size_t off, int32_t v) { std::memcpy(old_bytes() + off, &v, 4); }

// Calls f(old offset, width) for every text or byte field of the old body.
template <class F>
void for_each_byte_field(F&& f)
{
    f(ACF_OLD_TAILNUM, ACF_TAILNUM_SIZE);
    f(ACF_OLD_AUTHOR, ACF_TEXT_SIZE);
    f(ACF_OLD_DESCRIP, ACF_TEXT_SIZE);
    for (std::size_t base : ACF_OLD_AFL_NAMES) f(base, ACF_OLD_PARTS * ACF_AFL_NAME_SIZE);
    f(ACF_OLD_WPN_NAMES, ACF_WPN_SLOTS * ACF_WPN_NAME_SIZE);
    f(OLD_GEAR_STEER_BYTES, OLD_GEAR_STEER_BYTES_END - OLD_GEAR_STEER_BYTES);
}

void copy_field(uint8_t* rec, const old_field& f)
{
    const uint8_t* old = old_bytes();
    switch (f.layout) {
    case OLD_WORDS: std::memcpy(rec + f.offset, old + f.old_offset, 4 * std::size_t{f.count}); break;
    case OLD_BY_PART:
        for (int q = 0; q < ACF_OLD_PARTS; ++q)
            std::memcpy(rec + f.offset + 4 * ACF_remap_part_index(q), old + f.old_offset + 4 * q, 4);
        break;
    case OLD_BY_ELEMENT:
        for (int q = 0; q < ACF_OLD_PARTS; ++q)
            std::memcpy(rec + f.offset + 4 * ACF_el(ACF_remap_part_index(q), 0),
                        old + f.old_offset + 4 * ACF_el(q, 0), 4 * ACF_ELS_PER_PART);
        break;
    case OLD_BY_BODY:
        for (int q = 0; q < ACF_OLD_PARTS; ++q)
            std::memcpy(rec + f.offset + 4 * std::size_t{ACF_BODY_PART_POINTS} * ACF_remap_part_index(q),
                        old + f.old_offset + 4 * std::size_t{ACF_BODY_PART_POINTS} * q, 4 * ACF_BODY_PART_POINTS);
        break;
    case OLD_BYTES_BY_PART:
        for (int q = 0; q < ACF_OLD_PARTS; ++q) {
            const int32_t v = old[f.old_offset + q];
            std::memcpy(rec + f.offset + 4 * ACF_remap_part_index(q), &v, 4);
        }
        break;
    case OLD_BYTE: {
        const int32_t v = old[f.old_offset];
        std::memcpy(rec + f.offset, &v, 4);
        break;
    }
    }
}

// A text of the old body into a field of the record, ending at its last byte at the latest.
void copy_text(char* to, std::size_t old_offset, std::size_t size)
{
    std::memcpy(to, old_bytes() + old_offset, size);
    to[size - 1] = 0;
}

void copy_texts(acf_struct& a)
{
    copy_text(a.acf_tailnum, ACF_OLD_TAILNUM, ACF_TAILNUM_SIZE);
    copy_text(a.acf_author, ACF_OLD_AUTHOR, ACF_TEXT_SIZE);
    copy_text(a.acf_descrip, ACF_OLD_DESCRIP, ACF_TEXT_SIZE);
    char* names[4] = {a.acf_Rafl0, a.acf_Rafl1, a.acf_Tafl0, a.acf_Tafl1};
    for (int n = 0; n < 4; ++n)
        for (int q = 0; q < ACF_OLD_PARTS; ++q)
            copy_text(names[n] + ACF_remap_part_index(q) * ACF_AFL_NAME_SIZE,
                      ACF_OLD_AFL_NAMES[n] + std::size_t{ACF_AFL_NAME_SIZE} * q, ACF_AFL_NAME_SIZE);
    for (int k = 0; k < ACF_WPN_SLOTS; ++k)
        copy_text(a.wpn_name + k * ACF_WPN_NAME_SIZE, ACF_OLD_WPN_NAMES + std::size_t{ACF_WPN_NAME_SIZE} * k,
                  ACF_WPN_NAME_SIZE);
    // The parts the old layout lacks between its wings and its bodies fly a symmetrical section.
    for (int p = PART_WING_EXTRA_FIRST; p <= PART_WING_EXTRA_LAST; ++p)
        for (char* array : names) {
            char* name = array + p * ACF_AFL_NAME_SIZE;
            std::memset(name, 0, ACF_AFL_NAME_SIZE);
            std::memcpy(name, SYMMETRICAL_AIRFOIL, sizeof SYMMETRICAL_AIRFOIL);
        }
}

bool any_instrument(const acf_struct& a, int type)
{
    for (int32_t t : a.acf_ins_type)
        if (t == type) return true;
    return false;
}

// A count from the file beyond the record's arrays would read past them.
int bounded(int n, int hi) { return util_clamp_int(n, 0, hi); }

// The rules the old layout needs, in their order.
void apply_rules(int slot, acf_struct& a)
{
    // Each control surface's two chord ratios take the one old ratio.
    a.acf_ail1_crat = a.acf_ail1_crat2;
    a.acf_ail2_crat = a.acf_ail2_crat2;
    a.acf_elev_crat = a.acf_elev_crat2;
    a.acf_rudd_crat = a.acf_rudd_crat2;
    a.acf_splr_crat = a.acf_splr_crat2;
    a.acf_drud_crat = a.acf_drud_crat2;
    a.acf_sbrk_crat = a.acf_sbrk_crat2;
    a.acf_flap_crat = a.acf_flap_crat2;

    // Thrust-vector arms point the other way, and the phase flags mean the opposite.
    a.acf_vectarmZ = -a.acf_vectarmZ;
    a.acf_vectarmY = -a.acf_vectarmY;
    const int32_t out_at_90 = a.acf_phase_tvect_out_at_90 ? 0 : 1;
    const int32_t out_at_00 = a.acf_phase_tvect_out_at_00 ? 0 : 1;
    a.acf_phase_tvect_out_at_90 = a.acf_tvec_roll_at_90 = a.acf_tvec_hdng_at_90 = out_at_90;
    a.acf_phase_tvect_out_at_00 = a.acf_tvec_roll_at_00 = a.acf_tvec_hdng_at_00 = out_at_00;

    // Element chords from the old whole-number chords.
    for (float& mac : a.acf_mac) mac = 0.0f;
    for (int q = 0; q < ACF_OLD_PARTS; ++q)
        for (int i = 0; i < ACF_ELS_PER_PART; ++i)
            a.acf_mac[ACF_el(ACF_remap_part_index(q), i)] = static_cast<float>(old_int(OLD_MAC + 4 * ACF_el(q, i)));

    const int32_t rotor_kind = old_int(OLD_ROTOR_KIND);
    const bool rotorcraft = rotor_kind == 1 || rotor_kind == 2;
    a.acf_num_thrustpoints = rotorcraft ? 2 : a.acf_num_engines;

    a.acf_props_linked = (a.acf_vectEQ || rotorcraft || a.acf_num_engines != a.acf_num_thrustpoints ||
                          any_instrument(a, INS_BUT_PREROTATE))   // its presence links the propellers
                             ? 1
                             : 0;
    if (a.acf_props_linked)
        for (int32_t& clutch : a.acf_eng_clutch) clutch = 1;

    // One gear ratio for all engines; a rotor's is divided by the old rotor divisor.
    const float divisor = old_float(OLD_ROTOR_GEAR_DIVISOR);
    for (int e = 0; e < ACF_MAX_ENGINES; ++e) {
        float ratio = old_float(OLD_GEAR_RATIO);
        const int type = a.acf_prop_type[e];
        const bool rotor = (rotor_kind == 1 && type == PROP_TAIL_ROTOR) ||
                           (rotor_kind == 2 && (type == PROP_COLLECTIVE_ROTOR || type == PROP_MAIN_ROTOR));
        // (A divisor of 0 or no number would give a ratio of no number: it is left undivided.)
        if (rotor && divisor != 0.0f && std::isfinite(divisor)) ratio /= divisor;
        a.acf_prop_gear_rat[e] = ratio;
    }

    // A centre-of-gravity range either side of the centre of gravity when the file gives none.
    if (std::fabs(a.acf_cgZ_fwd) < 0.01f && std::fabs(a.acf_cgZ_aft) < 0.01f) {
        a.acf_cgZ_fwd = a.acf_cgZ - 0.15f * a.acf_Croot[PART_WING_PAIR_FIRST];
        a.acf_cgZ_aft = a.acf_cgZ + 0.15f * a.acf_Croot[PART_WING_PAIR_FIRST];
    }

    // Which tail elements follow the trim, the elevator and the rudder.
    constexpr int HSTAB_LEFT = 16, HSTAB_RIGHT = 17, VSTAB_1 = 18, VSTAB_2 = 19;
    for (int i = 0; i < ACF_ELS_PER_PART; ++i) {
        if (a.acf_hstb_trim_up > 0.0f || a.acf_hstb_trim_dn > 0.0f)
            a.acf_inc_trim[ACF_el(HSTAB_LEFT, i)] = a.acf_inc_trim[ACF_el(HSTAB_RIGHT, i)] = 1;
        if (old_int(OLD_ELEV_TRIM_FLAG) == 1)
            a.acf_inc_elev[ACF_el(HSTAB_LEFT, i)] = a.acf_inc_elev[ACF_el(HSTAB_RIGHT, i)] = 1;
        if (old_int(OLD_RUDD_TRIM_FLAG) == 1)
            a.acf_inc_rudd[ACF_el(VSTAB_1, i)] = a.acf_inc_rudd[ACF_el(VSTAB_2, i)] = 1;
    }

    // Thrust points of engine type 8 become lift fans and no longer count as engines.
    const int points = bounded(a.acf_num_thrustpoints, ACF_MAX_ENGINES);
    int fans = 0;
    for (int p = 0; p < points; ++p)
        if (a.acf_en_type[p] == ENGINE_TURBINE_FIXED) {
            a.acf_prop_type[p] = PROP_LIFT_FAN;
            ++fans;
        }
    // (A count far out of range stays out of range: the reader refuses it.)
    a.acf_num_engines = static_cast<int32_t>(std::max<int64_t>(int64_t{a.acf_num_engines} - fans, INT32_MIN));
    ACF_settle_prop_types(slot);

    // A collective rotor needs a collective lever on the panel.
    bool collective = false;
    for (int e = 0; e < bounded(a.acf_num_engines, ACF_MAX_ENGINES); ++e)
        if (ACF_engine_has_prop(slot, e) && a.acf_prop_type[e] == PROP_COLLECTIVE_ROTOR) collective = true;
    // The old panels used the last linear throttle for it.
    if (collective && !any_instrument(a, INS_HAN_SLIDER_COLLECTIVE))
        for (int s = ACF_INS_SLOTS - 1; s >= 0; --s)
            if (a.acf_ins_type[s] == INS_HAN_SLIDER_THRO_LINEAR) {
                a.acf_ins_type[s] = INS_HAN_SLIDER_COLLECTIVE;
                break;
            }

    // Tyre widths from the old tyre radii.
    for (int q = 0; q < ACF_OLD_PARTS; ++q)
        a.acf_gear_tirwid[ACF_remap_part_index(q)] = old_float(OLD_TYRE_RADII + 4 * q) * 0.35f;

    // Fuel tanks: at least one, and ratios that add up to one.
    for (int k = 0; k < ACF_TANKS; ++k) a.acf_tank_rat[k] = old_float(OLD_TANK_RATIOS + 4 * k);
    if (a.acf_num_tanks == 0) {
        a.acf_num_tanks = 1;
        a.acf_tank_rat[0] = 1.0f;
        a.acf_tank_Z[0] = a.acf_cgZ;
    } else if (a.acf_num_tanks > 0 && a.acf_num_tanks <= ACF_TANKS) {   // more would read past the three ratios
        float sum = 0.0f;
        for (int k = 0; k < a.acf_num_tanks; ++k) sum += a.acf_tank_rat[k];
        if (!(sum >= 0.995f && sum <= 1.005f))
            for (int k = 0; k < a.acf_num_tanks; ++k) a.acf_tank_rat[k] = 1.0f / static_cast<float>(a.acf_num_tanks);
    }
}

// Values the old layout does not have.
void apply_defaults(acf_struct& a)
{
    a.acf_unpub_625320 = 1;
    a.acf_starter_torque_rat = a.acf_battery_cap = 1.0f;
    a.acf_idle_rat_lo = a.acf_idle_rat_hi = 1.0f;
    a.acf_vect_rate = 15.0f;
    a.acf_stall_warn_alpha = 10.0f;
    a.acf_unpub_2244 = 1.0f;
    a.acf_unpub_2248 = 20.0f;
    a.acf_lanlite_the = -a.acf_the_eqlbm - 4.0f;
    a.acf_flap_vect_lo = 0.0f;
    a.acf_flap_vect_hi = 120.0f;
    if (!(a.acf_ail2vmax >= 0.01f)) a.acf_ail2vmax = 9999.0f;   // (no number counts as below)
    if (!(a.acf_splr_vmax >= 0.01f)) a.acf_splr_vmax = 9999.0f;

    // The old layout gives the number of flap detents but not their
    // deflections, and the checks refuse flaps whose last detent does not
    // deflect: the detents are spread evenly up to full flap.
    const int detents = a.acf_flap_detents;
    if (detents >= 1 && detents < ACF_FLAP_DN)
        for (int k = 0; k <= detents; ++k)
            a.acf_flap_dn[k] = OLD_FULL_FLAP_DEG * static_cast<float>(k) / static_cast<float>(detents);
}

}  // namespace

int ACF_remap_part_index(int old_part)
{
    if (old_part >= 20 && old_part <= 36) return old_part + 8;
    if (old_part >= 37 && old_part <= 44) return old_part + 16;
    if (old_part >= 47 && old_part <= 51) return old_part + 14;
    if (old_part >= 52 && old_part <= 56) return old_part + 15;
    return old_part;
}

void ACF_swap_old_record()
{
    if (old_int(ACF_OLD_BYTE_ORDER) == 0) return;
    FILE_swap_words(old_bytes(), ACF_OLD_RECORD_SIZE);
    for_each_byte_field([](std::size_t off, std::size_t size) { FILE_swap_words(old_bytes() + off, size); });
}

void ACF_set_defaults(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    std::memset(static_cast<void*>(&a), 0, sizeof a);

    // Values an old file may leave empty (a value of no number counts as empty).
    if (!(old_float(OLD_VLE) >= 0.001f)) set_old_float(OLD_VLE, 1000.0f);
    if (!(old_float(OLD_ROLL_CO) >= 0.001f)) set_old_float(OLD_ROLL_CO, 0.025f);
    if (!(old_float(OLD_BRAKE_CO) >= 0.001f)) set_old_float(OLD_BRAKE_CO, 0.75f);

    // The user's aircraft: a cockpit type beyond the built-in panels asks for the
    // aircraft's own cockpit to be drawn, and names a built-in panel modulo 8.
    if (slot == 0) {
        int32_t type = old_int(OLD_COCKPIT_TYPE);
        if (type > 7) {
            set_old_int(OLD_DRAW_FRONT, 1);
            set_old_int(OLD_DRAW_SIDE, 1);
        }
        type %= 8;
        if (type < 0) type += 8;
        set_old_int(OLD_COCKPIT_TYPE, type);
    }

    copy_texts(a);
    uint8_t* rec = reinterpret_cast<uint8_t*>(&a);
    for (const old_field& f : old_fields) copy_field(rec, f);
    apply_rules(slot, a);
    apply_defaults(a);
}
