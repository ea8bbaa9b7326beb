// Stand-in storage of the surface under the user's plane until the scene pass
// finds it: plain terrain, no flat surface, no deck.
#include "scene/surface_state.h"

surface_state_record surface_state{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0};
