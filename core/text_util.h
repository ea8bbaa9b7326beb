// Text, number and path utilities shared by every subsystem.
//
// Texts live in 500-byte buffers: at most 499 characters and a terminator.
// Every routine here that takes a text first cuts it to 499 characters.
#pragma once

#include <cstdint>

constexpr int TEXT_SIZE = 500;      // bytes of a text buffer
constexpr int TEXT_MAX_LEN = 499;   // characters a text may hold

// Texts.
void UTIL_limit_500(char* text);
char* UTIL_strcpy(char* source, char* destination);        // source FIRST; cuts the source in place
char* UTIL_strcpy(const char* source, char* destination);  // for constant sources (not cut in place)
int UTIL_strcat(char* destination, const char* text);     // returns the new length
int UTIL_strcat3(const char* first, const char* second, char* destination);
int UTIL_strcmp_nocase(const char* a, const char* b);
int UTIL_str_contains(const char* needle, const char* text);
void UTIL_c_to_pascal(const char* text, unsigned char* out);
void UTIL_downcase_char(char& c);
void UTIL_upcase_char(char& c);
void UTIL_pack_number_text(char* text);

// Numbers and characters (the clamps and range tests are in core/numeric.h).
bool UTIL_is_digit(char c);
bool UTIL_is_number_text(const char* text);
int UTIL_char_to_digit(char c);
char UTIL_digit_to_char(int digit);
int UTIL_text_to_int(const char* text);
void UTIL_int_to_text(int value, char* out, int width);
float UTIL_text_to_float(const char* text);
int UTIL_decimals_for_width(float x);
void UTIL_hours_minutes(float seconds, int& hours, int& minutes);
char UTIL_glyph_to_char(int glyph);
int UTIL_char_to_glyph(char c);

// Paths and files.
void UTIL_file_name_of_path(char* out, const char* path);
void get_custom_file(int kind, char* short_name, char* full_path, int direction);
void ENV_tile_file_name(int lat, int lon, char* out);

// The custom scenery folder that get_custom_file puts in front of a short name.
extern char custom_scenery_folder[TEXT_SIZE];
