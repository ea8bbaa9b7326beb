// The fixed texture slots. A texture slot is a number 0..4941 that is also the
// OpenGL texture name; loading into a slot replaces what it held. The slots
// below are fixed: the start-up, the interface, the world texture set and the
// panel load their pictures into them, and the drawers bind them by number.
// The texture kit treats some slots by their place in this map (wrap mode,
// reduction, colour passes).
#pragma once

constexpr int TEX_SLOTS = 4942;

// Terrain textures.
constexpr int TEX_SLOT_TERRAIN_FIRST = 0;            // 0..48
constexpr int TEX_SLOT_TERRAIN_LAST = 48;
constexpr int TEX_SLOT_TERRAIN_MORE_FIRST = 4000;    // 4000..4941

// Runways (the world texture set). The paved pictures come in pairs, slot
// 50 + 2k the asphalt and 51 + 2k the concrete version of picture k.
constexpr int TEX_SLOT_RUNWAY_FIRST = 50;            // 50..173
constexpr int TEX_SLOT_PAVED_FIRST = 50;
constexpr int TEX_SLOT_LATERAL_BLAST_LEFT_ASPHALT = 156;
constexpr int TEX_SLOT_LATERAL_BLAST_LEFT_CONCRETE = 157;
constexpr int TEX_SLOT_LATERAL_BLAST_RIGHT_ASPHALT = 158;
constexpr int TEX_SLOT_LATERAL_BLAST_RIGHT_CONCRETE = 159;
constexpr int TEX_SLOT_LINE_ASPHALT = 160;           // also the asphalt surface code
constexpr int TEX_SLOT_LINE_CONCRETE = 161;          // also the concrete surface code
constexpr int TEX_SLOT_LINE_GRASS = 162;             // 162..175: soft-edged unpaved pictures
constexpr int TEX_SLOT_LINE_DIRT = 163;
constexpr int TEX_SLOT_LINE_GRAVEL = 164;
constexpr int TEX_SLOT_LINE_LAKEBED = 165;
constexpr int TEX_SLOT_HELIPAD_ASPHALT = 166;
constexpr int TEX_SLOT_HELIPAD_CONCRETE = 167;
constexpr int TEX_SLOT_HELIPAD_GRASS = 168;
constexpr int TEX_SLOT_HELIPAD_DIRT = 169;
constexpr int TEX_SLOT_THRESHOLD_GRASS = 170;
constexpr int TEX_SLOT_THRESHOLD_DIRT = 171;
constexpr int TEX_SLOT_THRESHOLD_GRAVEL = 172;
constexpr int TEX_SLOT_THRESHOLD_LAKEBED = 173;
constexpr int TEX_SLOT_RUNWAY_LAST = 173;
constexpr int TEX_SLOT_SKIDS = 174;
constexpr int TEX_SLOT_WATER = 175;                  // the water surface code; soft-edged like the unpaved ones
constexpr int TEX_SLOT_SOFT_EDGE_FIRST = TEX_SLOT_LINE_GRASS;
constexpr int TEX_SLOT_SOFT_EDGE_LAST = TEX_SLOT_WATER;

// The shadow pictures of the ten plane slots: slot 178 + n for plane n.
constexpr int TEX_SLOT_SHADOW_FIRST = 178;
constexpr int TEX_SLOT_SHADOW_LAST = 187;

// The world group.
constexpr int TEX_SLOT_BUILDINGS = 188;
constexpr int TEX_SLOT_BUILDINGS_LIT = 189;
constexpr int TEX_SLOT_DECK = 190;
constexpr int TEX_SLOT_SURFACES = 191;
constexpr int TEX_SLOT_CARS = 192;
constexpr int TEX_SLOT_PERSON = 193;
constexpr int TEX_SLOT_HITS_1 = 194;
constexpr int TEX_SLOT_HITS_2 = 195;
constexpr int TEX_SLOT_CHUTE = 196;
constexpr int TEX_SLOT_CIRRUS = 197;
constexpr int TEX_SLOT_CUMULUS = 198;
constexpr int TEX_SLOT_FIRE = 199;
constexpr int TEX_SLOT_FLAME_BURNER_FAST = 200;
constexpr int TEX_SLOT_FLAME_BURNER_SLOW = 201;
constexpr int TEX_SLOT_FLAME_ROCKET_LIQUID = 202;
constexpr int TEX_SLOT_FLAME_ROCKET_SOLID = 203;
constexpr int TEX_SLOT_BLOWING_SNOW = 204;
constexpr int TEX_SLOT_FENCE = 205;
constexpr int TEX_SLOT_LIGHTS = 206;                 // the light sprite atlas
constexpr int TEX_SLOT_PROP_DISC = 207;
constexpr int TEX_SLOT_SMOKE = 208;
constexpr int TEX_SLOT_WAKE = 210;
constexpr int TEX_SLOT_CLOUD = 211;
constexpr int TEX_SLOT_LANDING_LIGHT = 212;
constexpr int TEX_SLOT_ICE = 213;
constexpr int TEX_SLOT_SCRATCHES = 214;
constexpr int TEX_SLOT_MOON_FIRST = 215;             // 215..237: the moon's 23 phases
constexpr int TEX_SLOT_MOON_LAST = 237;
constexpr int TEX_SLOT_SEA_FIRST = 238;              // 238..253: the sixteen sea textures
constexpr int TEX_SLOT_SEA_LAST = 253;
constexpr int TEX_SLOT_MOVIE = 254;
constexpr int TEX_SLOT_HIGHWAY = 255;
constexpr int TEX_SLOT_HIGHWAY_BRIDGE = 256;
constexpr int TEX_SLOT_TRAIL = 257;
constexpr int TEX_SLOT_TRAIL_BRIDGE = 258;
constexpr int TEX_SLOT_RAILROAD = 259;
constexpr int TEX_SLOT_RAILROAD_BRIDGE = 260;
constexpr int TEX_SLOT_TAXILINE = 261;
constexpr int TEX_SLOT_RIVERBANK = 262;              // ends up holding the land-use border mask
constexpr int TEX_SLOT_TREE_SIDE = 267;
constexpr int TEX_SLOT_TREES_FIRST = 268;            // 268..273
constexpr int TEX_SLOT_TREES_LAST = 273;
constexpr int TEX_SLOT_PLANET_1 = 274;
constexpr int TEX_SLOT_PLANET_2 = 275;
constexpr int TEX_SLOT_WINDOW_DAMAGE = 305;
constexpr int TEX_SLOT_MOVIE_CAPTURE = 310;             // the movie recorder's copy of the frame

// The aircraft of plane slot n (0..9): its four paint bitmaps (paint 1, lit
// paint 1, paint 2, lit paint 2) and the bitmaps of its 24 weapon slots (its
// shadow is TEX_SLOT_SHADOW_FIRST + n).
constexpr int TEX_SLOT_PAINT_FIRST = 400;            // 400 + 4n .. 403 + 4n
constexpr int TEX_SLOT_WEAPON_FIRST = 4701;          // 4701 + 24n + w

// The interface and the panel.
constexpr int TEX_SLOT_INTERFACE = 444;              // the interface bitmap: widget art and the interface fonts
constexpr int TEX_SLOT_INTERFACE_FONT2 = 445;        // the second interface font (the two-byte glyphs)
constexpr int TEX_SLOT_PANEL_FONT = 446;             // the panel font sheet
constexpr int TEX_SLOT_PANEL_FONT_LIT = 447;
constexpr int TEX_SLOT_PANEL_FONT2 = 448;            // the second panel font sheet
constexpr int TEX_SLOT_PANEL_FONT2_LIT = 449;
constexpr int TEX_SLOT_PANEL_BLEND = 450;            // the panel's blend bitmap
constexpr int TEX_SLOT_COMPASS_ROSE = 451;
constexpr int TEX_SLOT_HSI_ROSE = 452;
constexpr int TEX_SLOT_PANEL_CUSTOM = 453;
constexpr int TEX_SLOT_BACKGROUND_FIRST = 456;       // 456..467: the twelve 2-D background tiles,
constexpr int TEX_SLOT_BACKGROUND_LAST = 467;        // 3 rows of 4, row r column c at 456 + 4r + c
constexpr int TEX_SLOT_INSTRUMENTS_FIRST = 500;      // 500..699: instrument bitmaps, one per instrument slot
constexpr int TEX_SLOT_INSTRUMENTS_LAST = 699;
