// Stand-in of the engine trails and wakes until they are built: the rings
// exist (the origin shift moves them) but nothing feeds or draws them.
#include "scene/trails.h"

engine_trail_ring engine_trails[ENGINE_TRAIL_STREAMS] = {};
wake_ring wakes[WAKE_SLOTS] = {};
