// The rain and snow points around the camera (VIEW_draw_air_points in
// scene/view_effects.h): the field of 2,000 points within -10..10 m of their
// box's centre, set only by a reset, and the field's drift (air_drift), each component
// kept within -10..10 m, carried from frame to frame.
#pragma once

#include <array>

constexpr int AIR_POINT_COUNT = 2000;
struct air_points_record {
    std::array<std::array<float, 3>, AIR_POINT_COUNT> points{};
    float air_drift[3] = {};
};
extern air_points_record air_points;
