// Movie recording: takes of what the window shows, written as numbered
// ".mov" files of JPEG frames.
//
// A take is recorded into "<take>.recording.mov" beside its file and renamed
// to the take's name when it ends. The recording is written frame by frame,
// so a take cut short (the program killed) leaves that file playing up to its
// last whole frame. A take whose file cannot be written (a missing folder, a
// full disk) ends with a notice naming the file; the flight goes on.
//
// Reads: frame_clock, the frame buffer, pixel_buffer. Writes: the take files,
// texture slot 310, pixel_buffer.
#pragma once

#include <cstdint>

#include "core/text_util.h"

constexpr int MOVIE_TIME_SCALE = 600;       // time-scale units a second
constexpr int MOVIE_MAX_SAMPLE_UNITS = 60;  // a sample lasts at most 0.1 s

// The settings of the movie screen.
extern float movie_frame_rate;              // samples a second at most (10..99)
extern int32_t movie_width;                 // frame size in pixels (160..1024 x 160..768)
extern int32_t movie_height;
extern char movie_file_name[TEXT_SIZE];     // base name of the takes
extern char movie_file_path[TEXT_SIZE];     // its full path
extern int32_t movie_take_counter;          // number of the last take

extern int32_t movie_keys_enabled;          // the recorder is available
extern int32_t movie_recording;             // 1 while a take runs

// The recorder's state while a take runs.
struct movie_recorder_record {
    char take_path[TEXT_SIZE];
    char recording_path[TEXT_SIZE];         // the file written while the take runs
    float last_sample_sec;                  // frame clock of the last sample
    int32_t samples;                        // samples written into the take
};
extern movie_recorder_record movie_recorder;
// Drops a take under way without finishing its file and clears the recorder.
void MOVIE_reset();

// Finds the JPEG compressor and prepares the capture texture (slot 310).
void MOVIE_init_quicktime();
// Starts the next take (after waiting a second).
void MOVIE_start();
// Adds the frame just drawn to the take, at most movie_frame_rate a second.
void MOVIE_add_frame();
// Finishes the take's file.
void MOVIE_finish();
// Ends the recorder.
void MOVIE_exit_quicktime();

// The take file name for a base path and take number: the base with a final
// ".mov" (any letter case) removed, then " take-<n>.mov".
void MOVIE_take_name(const char* base, int take, char* out);
// The file a take is recorded into: the take name with its final ".mov"
// replaced by ".recording.mov".
void MOVIE_recording_name(const char* take, char* out);
