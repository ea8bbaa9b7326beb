// The air points (streaks that show the air moving past the camera) and the
// windshield effects (rain and ice on the glass) of the flying view.
#pragma once

// Rain and snow streaming past the camera, in the viewport (left, bottom,
// right, top, interface units), with the scene's four frustum edges (taken
// third, second, fourth, first as left, bottom, right, top), the plane's
// velocity (m/s) and the rain and snow amounts. With reset 1 (and zeros) it
// only scatters the points afresh.
void VIEW_draw_air_points(float left, float bottom, float right, float top, float e0, float e1, float e2, float e3,
                          float vx, float vy, float vz, float rain_amount, float snow_amount, int reset);
// The windshield: works out sun_glare every call and, with draw set (the
// cockpit views), draws the damage marks, the sunlit scratches and the frost
// over the window rectangle (x1, y1)-(x2, y2) of the 2-D projection; impacts
// per second make new marks (at most 50, each with its crack sound). With
// reset set it only clears the marks.
void VIEW_draw_windshield(int draw, float x1, float y1, float x2, float y2, float impact_rate, float window_ice,
                          int reset);
// A fresh flight's view effects: the air points scattered afresh and the
// windshield's marks cleared.
void VIEW_reset_effects();
// The number of damage marks on the windshield.
int VIEW_windshield_marks();
// No marks, and the frost's texture extent not yet worked out (it is worked
// out once, on the first frame that shows frost).
void VIEW_windshield_reset();
