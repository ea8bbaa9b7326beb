// Stand-in of the forest fires until the scene's fires are built: none burns.
#include "scene/fires.h"

forest_fire_record forest_fire{};
