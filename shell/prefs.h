// Preferences, saved situations and movies: one routine reads and writes
// every kind, walking the same field order for both directions.
#pragma once

#include <cstdint>

constexpr int PREFS_KIND_GENERAL = 0;
constexpr int PREFS_KIND_RESOLUTION = 1;
constexpr int PREFS_KIND_PILOT = 2;
constexpr int PREFS_KIND_SITUATION = 4;
constexpr int PREFS_KIND_MOVIE = 5;
constexpr int PREFS_READ = 7;
constexpr int PREFS_WRITE = 8;

void PREFS_read_write(int kind, int mode, const char* path);

// Field transfers on the open data file (mode 7 read, 8 write). When reading
// with store 0 the value is consumed and dropped.
void PREFS_transfer_int(int store, int32_t* place, int mode);
void PREFS_transfer_float(int store, float* place, int mode);
void PREFS_transfer_string(int store, char* text, int mode, int size);
