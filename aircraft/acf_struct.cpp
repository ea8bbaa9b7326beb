// The aircraft records, the engine-type queries and the part-in-service rule.
#include "aircraft/acf_struct.h"

#include <type_traits>

#include "core/engine_types.h"
#include "flightmodel/flt.h"

static_assert(std::is_standard_layout_v<acf_struct>);
static_assert(std::is_trivially_copyable_v<acf_struct>);

acf_struct pln[ACF_SLOTS];

namespace {

bool slot_ok(int slot) { return slot >= 0 && slot < ACF_SLOTS; }
bool engine_ok(int engine) { return engine >= 0 && engine < ACF_MAX_ENGINES; }

}  // namespace

static_assert(FLT_SLOTS == ACF_SLOTS);

int ACF_engine_is_jet(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    return ENGINE_type_is_jet(pln[slot].acf_en_type[engine]);
}

int ACF_engine_is_recip(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    return ENGINE_type_is_piston(pln[slot].acf_en_type[engine]);
}

int ACF_engine_has_prop(int slot, int engine)
{
    if (!slot_ok(slot) || !engine_ok(engine)) return 0;
    return ENGINE_type_drives_prop(pln[slot].acf_en_type[engine]);
}

int ACF_part_not_failed_or_hidden(int slot, int part)
{
    if (!slot_ok(slot) || part < 0 || part >= ACF_NUM_PARTS) return 0;
    if (part <= PART_PROP_LAST) {
        if (FLT_slot_failed(slot, FAIL_SLOT_ENGINE_BASE + part)) return 0;
        const acf_struct& a = pln[slot];
        if (a.acf_hide_prop_at_90_vect != 0 && a.acf_vect_cant[part] >= 90.0f) return 0;
        return 1;
    }
    if (part >= PART_ENGINE_BODY_FIRST && part <= PART_ENGINE_BODY_LAST &&
        FLT_slot_failed(slot, FLT_failure_slot_of_part(part)))
        return 0;
    if (part >= PART_WING_PAIR_FIRST && part <= PART_WING_MORE_LAST &&
        FLT_slot_failed(slot, FLT_failure_slot_of_part(part)))
        return 0;
    return 1;
}

int ACF_part_in_service(int slot, int part)
{
    if (!ACF_part_not_failed_or_hidden(slot, part)) return 0;
    const acf_struct& a = pln[slot];
    if (part <= PART_PROP_LAST) {
        if (part < a.acf_num_engines)
            return ACF_engine_has_prop(slot, part) || a.acf_en_type[part] == ENGINE_TIP_ROCKET;
        return part < a.acf_num_thrustpoints;
    }
    return a.acf_part_eq[part] != 0;
}
