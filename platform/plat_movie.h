// Movie files: ".mov" files with one video track of JPEG frames in a time
// scale of 1/600 s, each frame a sample of its own duration.
//
// The file is written in fragments: an index without samples first, then per
// frame a fragment (its own small index and the frame's data), flushed to the
// file as soon as it is added. A file cut short anywhere (the program killed,
// the disk full) therefore plays up to its last whole frame; finishing only
// adds what a reader may use to seek.
#pragma once

#include <cstdint>

// Why a step failed: the step's name, the library's error number and its
// text, and whether the step was writing the file (creating it, writing the
// header, a sample or the end): such a failure (a missing folder, a full disk)
// leaves the file as far as it was written, the compression unharmed.
struct PLAT_movie_error {
    const char* step = "";
    int code = 0;
    bool writing = false;
    char text[96] = {};
};

// True when JPEG frames can be written into ".mov" files here.
bool PLAT_movie_available();

struct PLAT_movie;

// Creates (or replaces) the file and prepares a track of width x height
// frames. Null on failure, with the failing step in `err`.
PLAT_movie* PLAT_movie_create(const char* path, int width, int height, PLAT_movie_error* err);
// Compresses one frame and appends it as one sample of `duration` time-scale
// units, written through to the file. The frame is width x height pixels of 4
// bytes (x, R, G, B), the top row first.
bool PLAT_movie_add_frame(PLAT_movie* movie, const uint8_t* xrgb, int duration, PLAT_movie_error* err);
// Ends the track and closes the file; the movie is released in any case.
bool PLAT_movie_finish(PLAT_movie* movie, PLAT_movie_error* err);
// Releases a movie without finishing its file.
void PLAT_movie_discard(PLAT_movie* movie);
