// The wind at the user's plane, kept by the weather step of the systems: the
// smoothed wind and the latest once-a-second sample, local x, y, z in m/s.
// The integration and the force build-up subtract it from the plane's velocity.
#pragma once

extern float wind_vector[3];
extern float gust_vector[3];
