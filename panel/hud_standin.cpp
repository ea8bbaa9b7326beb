// Stand-in of the head-up display until it is built: the aircraft has none
// and nothing is drawn.
#include "panel/hud.h"

void HUD_draw(float, float, float, float, int) {}
void HUD_draw_world_symbols(int) {}
int32_t HUD_acf_type() { return 0; }
