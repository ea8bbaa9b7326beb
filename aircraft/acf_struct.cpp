// The aircraft records, the engine-type queries and the part-in-service rule.
#include "aircraft/acf_struct.h"

#include <type_traits>

#include "flightmodel/flt.h"

static_assert(std::is_standard_layout_v<acf_struct>);
static_assert(std::is_trivially_copyable_v<acf_struct>);

acf_struct pln[ACF_SLOTS];

namespace {

bool slot_ok(int slot) { return slot >= 0 && slot < ACF_SLOTS; }
bool engine_ok(int engine) { return engine >= 0 && engine < ACF_MAX_ENGINES; }

}  // namespace

static_assert(FLT_SLOTS == ACF_SLOTS && FLT_FAILURE_SLOTS == FAIL_TABLE_SIZE);

int ACF_failure_state(int slot, int entry)
{
    if (!slot_ok(slot) || entry < 0 || entry >= FAIL_TABLE_SIZE) return 0;
    return flt[slot].failures[entry];
}

int ACF_engine_is_jet(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    const int32_t t = pln[slot].acf_en_type[engine];
    return t == 4 || t == 5;
}

int ACF_engine_is_recip(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    // Unsigned comparison: a negative type is a large value and is not a piston engine.
    return static_cast<uint32_t>(pln[slot].acf_en_type[engine]) < 2u;
}

int ACF_engine_has_prop(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    const uint32_t t = static_cast<uint32_t>(pln[slot].acf_en_type[engine]);
    return t <= 8u && ((0x10Fu >> t) & 1u) != 0;
}

int ACF_part_not_failed_or_hidden(int slot, int part)
{
    if (!slot_ok(slot) || part < 0 || part >= ACF_NUM_PARTS) return 0;
    if (part <= PART_PROP_LAST) {
        if (ACF_failure_state(slot, FAIL_PROP_BASE + part) == FAIL_STATE_FAILED) return 0;
        const acf_struct& a = pln[slot];
        if (a.acf_hide_prop_at_90_vect != 0 && a.acf_vect_cant[part] >= 90.0f) return 0;
        return 1;
    }
    if (part >= PART_ENGINE_BODY_FIRST && part <= PART_ENGINE_BODY_LAST &&
        ACF_failure_state(slot, FAIL_ENGINE_BODY_BASE + part) == FAIL_STATE_FAILED)
        return 0;
    if (part >= PART_WING_PAIR_FIRST && part <= PART_WING_MORE_LAST &&
        ACF_failure_state(slot, FAIL_WING_BASE + part) == FAIL_STATE_FAILED)
        return 0;
    return 1;
}

int ACF_part_in_service(int slot, int part)
{
    if (!ACF_part_not_failed_or_hidden(slot, part)) return 0;
    const acf_struct& a = pln[slot];
    if (part <= PART_PROP_LAST) {
        if (part < a.acf_num_engines)
            return ACF_engine_has_prop(slot, part) || a.acf_en_type[part] == 7;
        return part < a.acf_num_thrustpoints;
    }
    return a.acf_part_eq[part] != 0;
}
