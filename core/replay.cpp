#include "core/replay.h"
#include "core/reset_registry.h"

plane_state_record replay_ring[REPLAY_RING_SIZE] = {};
int32_t replay_index = 0;

void REPLAY_clear_ring()
{
    for (plane_state_record& r : replay_ring) r = plane_state_record{};
}

void REPLAY_reset()
{
    for (plane_state_record& r : replay_ring) r = plane_state_record{};
    replay_index = 0;
}
ORVELL_RESET(REPLAY_reset, program);
