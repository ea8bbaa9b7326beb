#include "aircraft/wpn_slot.h"

#include "aircraft/acf_struct.h"

namespace {

// The slot, or none for a plane or slot index outside the tables (reading it
// would read past them): such a slot counts as not released.
const wpn_slot_record* slot_record(int plane, int slot)
{
    if (plane < 0 || plane >= ACF_SLOTS || slot < 0 || slot >= ACF_WPN_SLOTS) return nullptr;
    return &pln[plane].acf_wpn_slot[slot];
}

}  // namespace

int WPN_released(int plane, int slot)
{
    const wpn_slot_record* w = slot_record(plane, slot);
    // A weapon that hit the ground or left the loaded area has kind 0 again
    // while its valid and released flags still stand: it is gone, not released.
    return w && w->wpn_type != 0 && w->wpn_valid != 0 && w->wpn_released != 0 ? 1 : 0;
}

int WPN_not_released(int plane, int slot) { return WPN_released(plane, slot) ? 0 : 1; }
