// Stand-in of the windshield effects until they are built: there is nothing
// to draw or clear.
#include "scene/view_effects.h"

void VIEW_draw_windshield(int, float, float, float, float, float, float, int) {}
