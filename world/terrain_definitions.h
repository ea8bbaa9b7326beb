// The definitions of what stands on the ground of each terrain texture, read
// from the text file beside the texture's image: scenery objects, trees,
// forest canopy patches, night lights, parked cars, and closed road loops on
// which one car rides per waypoint. Positions are fractions of a terrain
// cell, so one file serves every cell of its texture; where they stand in a
// cell is world/cover_placement.h's rule, which the terrain pass draws by and
// the simulation finds the generated buildings' roofs by.
//
// File: the text data-file header of version 1, then entries, each a keyword
// (any letter case) and its values, separated by blanks, tabs or line ends:
//   obj x z spread chance heading <object name to the line end>
//   ran <object name to the line end>      (another object for the obj before it)
//   tre x z spread chance picture          for x z spread chance picture
//   lit x z spread chance height red green blue   (colour values 10 = full)
//   car x z spread chance heading
//   roa x z spread chance                  (a waypoint leading to the next)
//   ret x z spread chance                  (the waypoint closing the loop)
//   com <comment to the line end>          end
// Object names are looked up as "RESOURCES:AUTOGEN OBJECTS:" + name + ".obj".
//
// Reads: the data-file services, the random table, the folder table.
// Writes: cover_table, the object table (through OBJ_build_obs).
#pragma once

#include <cstdint>
#include <vector>

constexpr int COVER_TEXTURES = 49;   // terrain texture indices 0..48
constexpr int COVER_LISTS = 6;
constexpr int COVER_OBJECTS = 0, COVER_TREES = 1, COVER_FOREST = 2, COVER_LIGHTS = 3, COVER_CARS = 4,
              COVER_ROAD = 5;

// One definition (all zero when created).
struct cover_definition {
    float x;                // across the cell, fractions 0..1
    float z;
    float spread;           // up to +-spread added to x and z (road cars: to the progress)
    float chance;           // 0..1, the share of cells that show it
    float heading;          // objects and parked cars; road: the moving car's heading, degrees
    int32_t first_object;   // objects: the range of alternatives in the object table
    int32_t last_object;
    float light_height;     // lights: metres above the ground
    float light_rgb[3];     // lights: the file's values x 0.1
    int32_t picture;        // trees: atlas cell; forest: canopy quarter 0..3
    int32_t next;           // road: the waypoint that follows
    uint8_t brake_flag;     // road: set by the terrain pass each frame
    uint8_t turn_flag;
    int32_t segment_start;  // road: the waypoint the car last passed
    float progress;         // road: 0..1 from the segment start to its next
    float car_x;            // road: the car's place, cell fractions
    float car_z;
};

struct cover_entry {
    std::vector<cover_definition> lists[COVER_LISTS];
};
extern cover_entry cover_table[COVER_TEXTURES];

// Empties every entry (the start-up's state).
void TERRAIN_clear_cover_table();

// Reads the definition file at `path` (a program path) into the entry of
// terrain texture index t (0..48). Fatal: an index outside 0..48 ("Too large
// a tex_index!"), a position, spread or chance outside 0..1 ("Ratio must be 0
// to 1!" with the path), a file of another version. A missing file, or one
// without the header's letter, leaves the entry empty.
void TERRAIN_setup_textures(const char* path, int t);
