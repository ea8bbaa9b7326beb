#include "aircraft/situation_start.h"

situation_start_record situation_start_state{};
