// The air points (streaks that show the air moving past the camera) and the
// windshield effects (rain and ice on the glass) of the flying view.
#pragma once

// Rain and snow streaming past the camera, in the viewport (left, bottom,
// right, top, interface units), with the scene's four frustum edges (taken
// third, second, fourth, first as left, bottom, right, top), the plane's
// velocity (m/s) and the rain and snow amounts. With reset 1 (and zeros) it
// only scatters the points afresh.
void VIEW_draw_air_points(float left, float bottom, float right, float top, float e0, float e1, float e2, float e3,
                          float vx, float vy, float vz, float rain, float snow, int reset);
// With reset 1 and zeros, clears the windshield effects.
void VIEW_draw_windshield(int kind, float a0, float a1, float a2, float a3, float a4, float a5, int reset);
