// The pilot preferences: the name of the pilot's logbook file, kept with the
// preferences and chosen on the logbook screen; the logbook lives in the
// folder "OUTPUT:LOGBOOKS:" under that name.
#pragma once

constexpr int PILOT_NAME_SIZE = 40;
extern char logbook_path[PILOT_NAME_SIZE];
