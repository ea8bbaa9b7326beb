// Stand-in of movie recording until the movie links are built: starting and
// finishing only move the recording flag; the calls are recorded.
#include "links/movie.h"

#include "links/calls_standin.h"

int32_t movie_keys_enabled = 0;
int32_t movie_recording = 0;
int32_t movie_width = 0;
int32_t movie_height = 0;
float movie_frame_rate = 0.0f;

void MOVIE_start()
{
    links_standin_calls.push_back("MOVIE_start()");
    movie_recording = 1;
}

void MOVIE_finish()
{
    links_standin_calls.push_back("MOVIE_finish()");
    movie_recording = 0;
}
