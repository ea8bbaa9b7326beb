// The simulation defaults: the one-time set-up of the simulation at start-up,
// after the window, the folder table and the language texts exist and before
// the general and pilot preferences are read (which then overwrite whatever
// they store). It opens sound and speech, builds the star field and the
// built-in ship and platform models, reads the key file, loads the sky
// colours, fills the radio-chatter sound slots and gives the simulation
// settings their start values.
#pragma once

// The built-in ship and platform models (ship_model_tables) belong to the
// ships of the scene; the defaults fill them at start-up.
#include "scene/sea/ship_tables.h"

// Fills ship_model_tables (SHIPS_build_model_tables).
void DEFAULTS_build_ship_models();

// The whole set-up, once, at start-up.
void SIM_init_defaults();

// The first situation aircraft as preferences saved before the fleet had an
// orbiter left it: the default aircraft, which stood in for the orbiter then,
// gives way to the orbiter. Any other path is kept.
void SIM_orbiter_for_stand_in();
