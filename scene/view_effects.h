// The air points (streaks that show the air moving past the camera) and the
// windshield effects (rain and ice on the glass) of the flying view.
#pragma once

// With reset 1 and zeros, clears the field of air points.
void VIEW_draw_air_points(float a0, float a1, float a2, float a3, float a4, float a5, float a6, float a7, float a8,
                          float a9, float a10, float a11, float a12, int reset);
// The windshield: works out sun_glare every call and, with draw set (the
// cockpit views), draws the damage marks, the sunlit scratches and the frost
// over the window rectangle (x1, y1)-(x2, y2) of the 2-D projection; impacts
// per second make new marks (at most 50, each with its crack sound). With
// reset set it only clears the marks.
void VIEW_draw_windshield(int draw, float x1, float y1, float x2, float y2, float impact_rate, float window_ice,
                          int reset);
// The number of damage marks on the windshield.
int VIEW_windshield_marks();
