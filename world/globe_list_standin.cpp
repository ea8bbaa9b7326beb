// Stand-in of the globe display list until the airport scene build makes it:
// there is no list, so the scene draws no globe.
#include "world/apt_scene.h"

uint32_t globe_display_list = 0;
