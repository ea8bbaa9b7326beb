#include "aircraft/situation_start.h"
#include "core/reset_registry.h"

situation_start_record situation_start_state{};
ORVELL_RESET_RECORD(SITUATION_start_reset, situation_start_state, program);
