#include "core/pilot_prefs.h"

#include <cstring>

#include "core/reset_registry.h"

char logbook_path[PILOT_NAME_SIZE] = "ORVELL PILOT.TXT";

void PILOT_logbook_path_reset()
{
    std::memset(logbook_path, 0, sizeof logbook_path);
    std::memcpy(logbook_path, "ORVELL PILOT.TXT", sizeof "ORVELL PILOT.TXT");
}
ORVELL_RESET(PILOT_logbook_path_reset, program);
