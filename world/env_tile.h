// ENV scenery tiles: one binary file per tile of one degree of latitude by one
// degree of longitude, named by its south-west corner (ENV_tile_file_name).
// The reader finds a tile's file (custom scenery packages first, then the
// planet's navigation-data folder), checks it and reads it front to back into
// the terrain vertex grid, the land-use grid, the object list and the segment
// lists of the loaded area.
//
// File layout: byte-order letter ('i' or 'a'), version (6, 61, 631, 650),
// the grid records of the tile window, object records up to type 99, the
// segment sections of the version (0, 4, 5, 6), then up to 500 names of
// custom terrain textures of 150 bytes. 4-byte fields are in the letter's
// byte order; the 2-byte elevation is always most significant byte first.
#pragma once

#include <cstdint>

// Set by the 3-D scene each frame: while it is 0 the reader looks for a tile's
// file only when asked to force it. 1 until the scene sets it.
extern int32_t scenery_switch;

// Segment section widths (metres): highways, trails, railroads, power lines
// (towers instead of a ribbon), taxi lines, rivers.
constexpr float ENV_SECTION_WIDTH_M[6] = {18.0f, 4.0f, 3.0f, 0.0f, 0.2f, 50.0f};

// The number of segment sections a version of the file carries: 4 (61), 5
// (631), 6 (650), none for the others.
constexpr int ENV_section_count(int32_t version)
{
    switch (version) {
    case 61: return 4;
    case 631: return 5;
    case 650: return 6;
    default: return 0;
    }
}

// The folder of a custom scenery package that holds its tiles, per planet.
// One folder for both planets would put a package's Earth tiles on Mars
// wherever a Mars tile has the same name; each planet has its own, as the
// navigation data of the program's own folder does.
constexpr const char* ENV_PACKAGE_TILE_FOLDER[2] = {"Earth nav data:", "Mars nav data:"};

// Reads the tile whose south-west corner is (lat, lon), whole degrees, into
// the grid window that starts at row0 (along i, east) and col0 (along j,
// north). Without a file the window gets the default grid. A tile outside the
// loaded area is a fatal alert. A damaged file (cut short, random bytes, any
// defect) is named in one notice and left out: a file without a valid header
// is passed over for the next candidate, and one refused inside its grid
// leaves the default grid in the window.
void ENV_load_tile(int lat, int lon, int row0, int col0, int force);

// Readers over a file held in memory: each checks that the whole field lies
// inside the size before it reads ("Scan too far!" otherwise, and 0), and
// advances the position. 4-byte values are swapped when the byte-swap flag
// of the header scan is set.
uint8_t ENV_scan_u8(const char* buffer, int64_t& position, int64_t size);
int32_t ENV_scan_int(const char* buffer, int64_t& position, int64_t size);
float ENV_scan_float(const char* buffer, int64_t& position, int64_t size);
// Reverses the four bytes of a word in place.
void ENV_swap4(void* word);
// A packed point of a tile: q = code / 10000 steps of latitude and r = code %
// 10000 of longitude, 9999 steps across the tile (a negative code first has
// 10000 added).
void ENV_decode_coord(int32_t code, double& lat, double& lon, double south, double west);
// x low <= x <= x high and y low <= y <= y high.
bool ENV_in_rect(double x, double y, double x_low, double y_low, double x_high, double y_high);

// The custom terrain texture table: slot i names the texture of land-use code
// 1000 + i (an empty name is a free slot). Its textures load into texture
// slot 1000 + i, so only the slots below the terrain masks (4000) are used.
constexpr int ENV_CUSTOM_TEXTURE_SLOTS = 15000;
constexpr int ENV_CUSTOM_TEXTURE_USABLE = 3000;
constexpr int ENV_NAME_BYTES = 150;
const char* ENV_custom_texture_name(int slot);
// Empties the table.
void ENV_clear_custom_textures();
