// Stand-in of the air points until the precipitation points are built:
// there is nothing to draw or clear.
#include "scene/view_effects.h"

void VIEW_draw_air_points(float, float, float, float, float, float, float, float, float, float, float, float, float,
                          int)
{
}
