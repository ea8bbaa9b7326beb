// The land-use table: land-use codes of the terrain to ground textures.
#pragma once

#include <cstdint>

#include "core/text_util.h"

constexpr int LANDUSE_CODES = 97;         // codes 0..96
constexpr int LANDUSE_MAX_TEXTURES = 49;
constexpr int LANDUSE_ROWS = 80;

extern int32_t landuse_texture_count;
extern int32_t landuse_code_texture[LANDUSE_CODES];
extern char landuse_texture_name[LANDUSE_MAX_TEXTURES][TEXT_SIZE];
extern uint8_t landuse_texture_water[LANDUSE_MAX_TEXTURES];

// Reads "TERRAIN:LAND_USE.TXT" of the bitmaps folder; every defect is fatal.
void LANDUSE_read_table();
// Empties the table (count 0, every entry 0).
void LANDUSE_clear();
// The texture of a land-use code: codes past the table stand for themselves,
// a negative code gives the first texture.
int UTIL_landuse_texture(int code);
