// Loading an aircraft into a plane slot with everything derived from it.
#pragma once

// Loads the aircraft file named by the slot's record (acf_file_path, written
// by the caller; acf_file_name is derived from it) and turns it into the
// working set-up: SI units about the centre of gravity, gear, wing and
// propeller geometry, span efficiencies, masses and inertia, downwash, weapons,
// initial fuel and payload; for slot 0 also the set-up report, the panel
// images and the sounds. Returns the result of the first read: non-zero when
// the requested file was read, 0 when the default aircraft was loaded in its
// place. With the default aircraft missing too, the alert is fatal.
int ACF_load_and_setup(int slot);
