// Stand-in of the movie library until movie recording is built: the library
// is never there, so the movie keys stay off and no frame is captured.
#include "links/movie.h"

#include "links/calls_standin.h"

void MOVIE_init_quicktime()
{
    links_standin_calls.push_back("MOVIE_init_quicktime()");
    movie_keys_enabled = 0;
}

void MOVIE_exit_quicktime() { links_standin_calls.push_back("MOVIE_exit_quicktime()"); }

void MOVIE_add_frame() {}
