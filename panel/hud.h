// The head-up display: drawn over the 3-D picture in the forward views, and
// its symbols placed on the world (runway or target outline) drawn inside the
// 3-D projection.
#pragma once

#include <cstdint>

// The user's aircraft's head-up display kind: 0 none, 2 one that also draws
// its symbols on the world.
int32_t HUD_acf_type();
// Draws the head-up display in the box (x0, y0)..(x1, y1), interface units.
void HUD_draw(float x0, float y0, float x1, float y1, int flag);
// Draws the symbols placed on the world, in the scene's 3-D projection.
void HUD_draw_world_symbols(int flag);
