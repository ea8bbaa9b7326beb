// The host table's navigation-data and flight-plan callbacks (slots 34..50).
//
// A navigation reference is (kind << 24) | index: kind 0 a navaid, 1 an
// airport, 2 a fix; -1 none. Type flags have one bit per navaid kind (1 the
// airports, 512 the fixes, 2048 a latitude/longitude point of a flight plan).
#pragma once

#include "plugins/orvell_plugin.h"

// Fills slots 34..50 of the host table.
void PLUGIN_fill_nav_slots(ORPM_host_table& table);

// The type flag of a navaid kind (0 outside 0..13) and back (0 for an unknown flag).
int PLUGIN_nav_type_flag(int kind);
int PLUGIN_nav_type_index(int flag);

// First and last navaid position of each kind, rebuilt whenever the loaded
// navigation data change.
struct plugin_nav_state {
    int first[14];
    int last[14];
    const void* built_for = nullptr;   // the navaid list the index was built from
    size_t navaids = 0, airports = 0, fixes = 0;
    bool built = false;
};
extern plugin_nav_state plugin_nav;
void PLUGIN_nav_reset();
