#include "core/pilot_prefs.h"

char logbook_path[PILOT_NAME_SIZE] = "ORVELL PILOT.TXT";
