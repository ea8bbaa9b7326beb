// Stand-in of the 2-D overlay of the flying view until it is built: nothing
// is drawn; it ends the redraw that a mode switch asked for.
#include "scene/scene_draw.h"

#include "core/app_mode.h"

void SCENE_draw_overlay() { redraw_pending = 0; }
