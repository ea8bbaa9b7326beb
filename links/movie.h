// Movie recording: start and finish a recording.
#pragma once

#include <cstdint>

extern int32_t movie_keys_enabled;   // the movie library started
extern int32_t movie_recording;      // 1 between MOVIE_start and MOVIE_finish
extern int32_t movie_width;
extern int32_t movie_height;
extern float movie_frame_rate;

void MOVIE_start();
void MOVIE_finish();
