// Terrain texture files: which image files draw a terrain texture at a place.
#pragma once

#include "core/text_util.h"

// The region folder every position lies in.
constexpr const char* TERRAIN_DEFAULT_REGION = "-90+90 -180+180";

// Chooses the files of land-use texture t for a latitude and longitude: among
// the region folders of the bitmaps folder's "terrain:" folder that cover the
// place, the one of smallest area. Fills the base name (".BMP") and the four
// mask names ("_C1.BMP" .. "_C4.BMP"), relative to the bitmaps folder. With no
// region covering the place, the outputs are left as the caller filled them.
// Lists folders through FILE_list_directory, so the directory list changes.
void TERRAIN_find_texture_file(int t, char* base, char variants[4][TEXT_SIZE], float lat, float lon);
