// The reader of a terrain texture's cover definitions over a definition file
// of arbitrary bytes beside the texture's image, read into the texture's
// entry as the tile textures are prepared. What it read is then drawn as the
// terrain pass draws it: two frames (by day, then by night) over a window of
// cells that wear the texture around the camera, the objects, lights, trees,
// parked cars and canopy placed and the road cars moved on their loops.
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/constants.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "scene/drawers.h"
#include "scene/lights_model.h"
#include "scene/scene_state.h"
#include "world/terrain_definitions.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

namespace {

constexpr int TEXTURE = 3;
constexpr int32_t CODE = 5;         // the land use that wears TEXTURE
constexpr int CENTRE = 200;         // the camera's cell
constexpr int HALF = 4;             // cells of the window on each side of it
constexpr float CELL_M = 100.0f;
constexpr const char* REGION = "terrain:-90+90 -180+180:";

// The objects the definitions name: each a small box with a lamp on its
// roof, whose roof can be landed on.
constexpr const char* object_text =
    "I\n700 version\nA box that stands in for a generated building.\nnone // no texture\n"
    "ATTR_LOD 0 4000\n"
    "quad // wall\n-4 0 4  0 0\n-4 6 4  0 1\n4 6 4  1 1\n4 0 4  1 0\n"
    "quad_hard // roof\n-4 6 -4  0 1\n4 6 -4  1 1\n4 6 4  1 0\n-4 6 4  0 0\n"
    "light // lamp\n0 7 0  1 1 0.5\n"
    "end\n";
constexpr const char* object_names[] = {"house_a", "house_b", "house_c",       "flats", "farmhouse", "barn",
                                        "mast",    "shop",    "traffic_light", "screen", "chimney"};

// A flat grid of 100 m cells centred on the camera's cell, the window around
// it in view and wearing the texture; the autogen at its fullest.
void set_up_ground()
{
    PLANET_set_constants(0);
    lat_ref = 33.0f;
    lon_ref = -119.0f;
    for (int i = 0; i < TERRAIN_GRID_ROWS; ++i)
        for (int j = 0; j < TERRAIN_GRID_COLS; ++j) {
            terrain_vertex& v = terrain_vertex_grid[TERRAIN_index(i, j)];
            v.x = (static_cast<float>(i - CENTRE) - 0.5f) * CELL_M;
            v.z = -(static_cast<float>(j - CENTRE) - 0.5f) * CELL_M;
            v.y = 0.0f;
        }
    scenery_area = {-CENTRE * CELL_M, CENTRE * CELL_M, -CENTRE * CELL_M, CENTRE * CELL_M};
    landuse_code_texture[CODE] = TEXTURE;
    for (int i = CENTRE - HALF; i <= CENTRE + HALF + 1; ++i)
        for (int j = CENTRE - HALF; j <= CENTRE + HALF + 1; ++j) {
            landuse_grid[TERRAIN_index(i, j)] = CODE;
            cell_visible[TERRAIN_index(i, j)] = 1;
        }
    terrain_window = {CENTRE - HALF, CENTRE - HALF, CENTRE + HALF, CENTRE + HALF};
    camera_cell = {CENTRE, CENTRE};
    const float reach = HALF * CELL_M * 2.0f;
    view_footprint[0] = {-reach, reach}, view_footprint[1] = {-reach, -reach};
    view_footprint[2] = {reach, -reach}, view_footprint[3] = {reach, reach};
    sim_graphics_settings_block& g = sim_graphics_settings;
    g.draw_obstacles = g.draw_cars = 1;
    g.autogen_level = 5;
    g.autogen_distance = HALF;
    sim_operation_misc.frame_rate_period = 0.05f;
    // What is drawn matters, not its pixels: a small viewport keeps the
    // software renderer's share of each input small.
    glViewport(0, 0, 16, 16);
}

std::string set_up()
{
    if (!fuzz_gl_context()) return {};
    const std::string folder = fuzz_program_folder();
    std::filesystem::create_directories(folder + "Resources/bitmaps/terrain/-90+90 -180+180");
    std::filesystem::create_directories(folder + "Resources/AUTOGEN OBJECTS");
    for (const char* name : object_names)
        fuzz_write_file(std::string(folder_table[FOLDER_AUTOGEN_OBJECTS]) + name + ".obj",
                        reinterpret_cast<const uint8_t*>(object_text), std::strlen(object_text));
    set_up_ground();
    return std::string(folder_table[FOLDER_BITMAPS]) + REGION + "URBAN0_000.txt";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = set_up();
    if (file.empty()) return 0;
    return fuzz_read_file(file, data, size, [] {
        // The objects stay loaded from input to input, as the program keeps
        // them for the next texture that names them (loading them afresh
        // would take most of each input); only the spellings of the few
        // files' names can add to them, and past a few dozen they go.
        if (object_table.size() > 64) OBJ_clear_table();
        TERRAIN_clear_cover_table();
        TERRAIN_setup_textures(file.c_str(), TEXTURE);
        for (const float lights_on : {0.0f, 1.0f}) {
            light_count = 0;
            sim_graphics_scenery.percent_lights_on = lights_on;
            TERRAIN_draw();
        }
    });
}
