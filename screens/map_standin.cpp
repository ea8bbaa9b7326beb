// Stand-in of the map window's drawers until the map is built: nothing is drawn.
#include "screens/map.h"

void SETUP_draw_airport_diagram(int, float, float, float, float) {}

void MAP_draw_object(float, float, int, int, int, float) {}
