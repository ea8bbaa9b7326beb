// Stand-in of the air points and windshield effects until the view effects
// are built: there is nothing to draw or clear.
#include "scene/view_effects.h"

void VIEW_draw_air_points(float, float, float, float, float, float, float, float, float, float, float, float, float,
                          int)
{
}

void VIEW_draw_windshield(int, float, float, float, float, float, float, int) {}
