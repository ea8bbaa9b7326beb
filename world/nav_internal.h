// What the navigation-database readers share among themselves.
#pragma once

#include <cstdint>

// Called by every reader that changed a table, so the id look-up tables are
// rebuilt on their next use.
void nav_tables_changed();

// Shows a progress message on the loading screen.
void nav_progress(const char* message);

// Refuses a file that would take a table past its capacity: a notice naming
// the file (fatal when `fatal` is set, for the main airport file).
void nav_refuse_file(const char* path, const char* table_name, int fatal);
