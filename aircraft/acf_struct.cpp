// The aircraft records and the engine-type queries.
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
