// The air points (streaks that show the air moving past the camera) and the
// windshield effects (rain and ice on the glass) of the flying view.
#pragma once

// With reset 1 and zeros, clears the field of air points.
void VIEW_draw_air_points(float a0, float a1, float a2, float a3, float a4, float a5, float a6, float a7, float a8,
                          float a9, float a10, float a11, float a12, int reset);
// With reset 1 and zeros, clears the windshield effects.
void VIEW_draw_windshield(int kind, float a0, float a1, float a2, float a3, float a4, float a5, int reset);
