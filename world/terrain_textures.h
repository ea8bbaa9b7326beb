// The ground textures of the loaded scenery: which image files draw a terrain
// texture at a place, and, once the tiles are read, everything the terrain
// drawing needs to texture the grid: a lighting normal and a texture per
// point, the images of the textures in use with their border masks, and a
// stack of up to four texture layers for every cell whose corners differ.
#pragma once

#include <cstdint>

#include "core/text_util.h"
#include "world/landuse.h"
#include "world/terrain_grid.h"

// The region folder every position lies in.
constexpr const char* TERRAIN_DEFAULT_REGION = "-90+90 -180+180";

// Texture slots: terrain texture t is slot t; its 14 border masks are slots
// 4000 + 14 t + k (mask code m is slot 3999 + 14 t + m).
constexpr int TERRAIN_MASK_SLOT_FIRST = 4000;
constexpr int TERRAIN_MASKS_PER_TEXTURE = 14;
constexpr int TERRAIN_LAYERED = 4000;     // point texture of a cell drawn from its layers
constexpr int TERRAIN_NO_LAYER = 9999;

// Per point: the lighting normal and the texture (the land-use texture, or for
// the first corner of a layered cell TERRAIN_LAYERED).
extern float terrain_point_normal[TERRAIN_GRID_POINTS][3];
extern int32_t terrain_point_texture[TERRAIN_GRID_POINTS];
// Per cell: four layer slots and their textures (layer 0 the base texture,
// layers 1..3 the border masks of the overlays; TERRAIN_NO_LAYER unused).
extern int32_t terrain_cell_layer_slot[TERRAIN_GRID_POINTS][4];
extern int32_t terrain_cell_layer_texture[TERRAIN_GRID_POINTS][4];

// Per terrain texture: the base file last loaded and the image's width / height.
extern char terrain_texture_file[LANDUSE_MAX_TEXTURES][TEXT_SIZE];
extern float terrain_texture_aspect[LANDUSE_MAX_TEXTURES];
// The mask size the border cutter reads: S (half the mask image's width) and
// the second value (half its height, or the whole height for "_C4").
extern int32_t terrain_mask_size[2];
// Forgets the files loaded and the resolution they were loaded at.
void TERRAIN_reset_textures();

// Chooses the files of land-use texture t for a latitude and longitude: among
// the region folders of the bitmaps folder's "terrain:" folder that cover the
// place, the one of smallest area. Fills the base name (".BMP") and the four
// mask names ("_C1.BMP" .. "_C4.BMP"), relative to the bitmaps folder. With no
// region covering the place, the outputs are left as the caller filled them.
// Lists folders through FILE_list_directory, so the directory list changes.
void TERRAIN_find_texture_file(int t, char* base, char variants[4][TEXT_SIZE], float lat, float lon);

// Prepares the textures of the tiles just read (normals, point textures,
// images of the textures in use at the aircraft's place, cell layers). An
// image is loaded again only when its file or the resolution changed.
void TERRAIN_load_tile_textures();
// Cuts the S x S mask at (column, row) out of the alpha of the image loaded
// last (rows 2S long) into the slot, with its reduced levels.
void TERRAIN_make_border(int slot, int column, int row);
// Border code 1..14 of the corners (c0..c3) that carry `texture`; no corner or
// all four is a fatal alert (0).
int TERRAIN_border_code(int t0, int t1, int t2, int t3, int texture);
// Whether a diagonal overlay (code 13 or 14) of cell (i, j) stays one layer.
bool TERRAIN_keep_diagonal(int i, int j, int code);
