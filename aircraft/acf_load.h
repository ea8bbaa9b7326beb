// Loading an aircraft into a plane slot with everything derived from it.
#pragma once

// Loads the aircraft named by the slot's aircraft record (full path and file
// name) and derives geometry, masses and panel data; when the file cannot be
// read the default aircraft is loaded instead.
void ACF_load_and_setup(int slot);
