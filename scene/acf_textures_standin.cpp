// Stand-in of the aircraft textures until the scene's aircraft drawing is
// built: nothing is loaded.
#include "scene/acf_textures.h"

void ACF_load_textures(int reload, int a, int b, int slot) {}
