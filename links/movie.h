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

// Starts the movie library; movie_keys_enabled tells whether it is there.
void MOVIE_init_quicktime();
// Shuts the movie library down when it was started.
void MOVIE_exit_quicktime();
// Captures the finished frame while a movie is recorded.
void MOVIE_add_frame();
