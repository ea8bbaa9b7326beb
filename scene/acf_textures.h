// The paint and part textures of a plane slot's aircraft.
#pragma once

// Builds the part meshes, the paint coordinates, loads the textures and builds
// the shadow of the aircraft in `slot` (the aircraft set-up calls it as (1, 0, 0, slot)).
void ACF_load_textures(int reload, int a, int b, int slot);
