// The pilot's logbook file.
#pragma once

// Writes the logbook text file named by the pilot preferences.
void LOGBOOK_write();
// Reads the logbook text file named by the pilot preferences.
void LOGBOOK_read();
