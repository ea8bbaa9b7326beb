#include "flightmodel/plane_override.h"

#include "flightmodel/flt.h"
#include "links/net_slots.h"
#include "core/simvars.h"

namespace {

constexpr int ROLE_MULTIPLAYER = 0;
constexpr int ROLE_MASTER_FIRST = 6;
constexpr int ROLE_MASTER_LAST = 9;

bool master_role_enabled()
{
    for (int r = ROLE_MASTER_FIRST; r <= ROLE_MASTER_LAST; ++r)
        if (net_slot_enabled[r] != 0) return true;
    return false;
}

bool override_set(int n)
{
    return n >= 0 && n < FLT_SLOTS && sim_operation_override.override_planepath[n] != 0;
}

}  // namespace

int PLANE_path_overridden(int n) { return (master_role_enabled() || override_set(n)) ? 1 : 0; }

int PLANE_externally_moved(int n)
{
    if (net_slot_enabled[ROLE_MULTIPLAYER] != 0 && n >= 1) return 1;
    return PLANE_path_overridden(n);
}
