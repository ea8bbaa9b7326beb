// End to end: the program started on the generated default data folder at
// KSBD, its shipped terrain definitions and autogen objects loaded with the
// tiles; the whole 3-D pass drawn over a town with and without the cover.
#include <GL/gl.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/views.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "scene/lights_model.h"
#include "scene/scene_driver.h"
#include "world/terrain_definitions.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "scene/scene_state.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"
#include "world/objects.h"
#include "world/terrain_grid.h"
#include "world/terrain_textures.h"

namespace {

class GroundEndToEnd : public started_program {
protected:
    static inline std::vector<alert_record> start_alerts;
    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};
        clear_alerts();
        started_program::SetUpTestSuite();
        start_alerts = recorded_alerts;
    }

    void SetUp() override
    {
        app_mode = MODE_FLYING;
        CORE_run_command(VIEW_FORWARD_NO_PANEL);   // the whole window shows the scene
        flying_frame_count = 10;
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.visibility_reported_m = 40000.0f;
        sim_time.zulu_time_sec = std::fmod((12.0f - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
        gload_dim_factor = 1.0f;
        sim_graphics_settings_block& g = sim_graphics_settings;
        g.draw_vectors = g.draw_taxilines = g.draw_cars = g.draw_obstacles = 1;
        g.autogen_level = 3;
        g.autogen_distance = 6;
    }
    void TearDown() override { sim_operation_override.override_camera = 0; }

    // The camera `height` m over (x, z), looking down at `pitch` degrees towards `heading`.
    static void camera(float x, float z, float height, float pitch, float heading)
    {
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = x;
        sim_graphics_view.view_y = TERRAIN_height_at(x, z, nullptr, nullptr, nullptr, nullptr, nullptr, 0, "test") + height;
        sim_graphics_view.view_z = z;
        sim_private_camera.the = pitch, sim_private_camera.psi = heading, sim_private_camera.phi = 0.0f;
    }

    static std::vector<unsigned char> picture(const char* name)
    {
        for (int k = 0; k < 3; ++k) SCENE_draw_3d();
        std::vector<unsigned char> px(1024 * 768 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        // ORVELL_GROUND_PICTURES=<folder> keeps the pictures for a look by eye.
        if (const char* folder = std::getenv("ORVELL_GROUND_PICTURES")) {
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            image.width = 1024, image.height = 768, image.format = PNG_FORMAT_RGBA;
            png_image_write_to_file(&image, (std::string(folder) + "/" + name + ".png").c_str(), 0, px.data(),
                                    -1024 * 4, nullptr);
        }
        return px;
    }

    // The first cell near the camera whose land use draws texture `name`.
    static bool find_cell(const char* name, int& ci, int& cj)
    {
        const int i0 = camera_cell.column, j0 = camera_cell.row;
        for (int r = 0; r < 450; ++r)
            for (int i = i0 - r; i <= i0 + r; ++i)
                for (int j = j0 - r; j <= j0 + r; ++j) {
                    if (i < 1 || j < 1 || i > 448 || j > 398 || (std::abs(i - i0) != r && std::abs(j - j0) != r)) continue;
                    const int k = TERRAIN_index(i, j);
                    const int32_t code = landuse_grid[k];
                    if (code < 0 || code >= LANDUSE_CODES || terrain_airport_cell[k] || terrain_point_texture[k] >= 4000)
                        continue;
                    // Texture names carry their region folder and file: "terrain:<region>:URBAN0_000".
                    const std::string texture = landuse_texture_name[landuse_code_texture[code]];
                    if (texture.find(std::string(":") + name + "0_") != std::string::npos) {
                        ci = i, cj = j;
                        return true;
                    }
                }
        return false;
    }
};

}  // namespace

TEST_F(GroundEndToEnd, ShippedDefinitionsLoadWithoutAlerts)
{
    for (const alert_record& a : start_alerts) ADD_FAILURE() << "start-up alert: " << a.lines[0] << " / " << a.lines[1];
    namespace fs = std::filesystem;
    const fs::path region = fs::path(folder->path()) / "Resources" / "bitmaps" / "terrain" / "-90+90 -180+180";
    int files = 0;
    const cover_entry saved = cover_table[COVER_TEXTURES - 1];
    for (const auto& e : fs::directory_iterator(region)) {
        if (e.path().extension() != ".txt") continue;
        ++files;
        clear_alerts();
        TERRAIN_setup_textures(e.path().c_str(), COVER_TEXTURES - 1);
        EXPECT_TRUE(recorded_alerts.empty()) << e.path();
        const cover_entry& c = cover_table[COVER_TEXTURES - 1];
        size_t definitions = 0;
        for (const auto& l : c.lists) definitions += l.size();
        EXPECT_GT(definitions, 0u) << e.path();
        // Every road loop closes inside its list; every object of the table.
        for (const cover_definition& d : c.lists[COVER_ROAD]) EXPECT_LT(size_t(d.next), c.lists[COVER_ROAD].size());
        for (const cover_definition& d : c.lists[COVER_OBJECTS]) {
            EXPECT_LE(d.first_object, d.last_object) << e.path();
            EXPECT_LT(size_t(d.last_object), object_table.size());
        }
    }
    cover_table[COVER_TEXTURES - 1] = saved;
    EXPECT_EQ(files, 8);
}

TEST_F(GroundEndToEnd, AutogenLevelsDifferOverATown)
{
    int i = 0, j = 0;
    ASSERT_TRUE(find_cell("URBAN", i, j));
    const terrain_vertex& a = terrain_vertex_grid[TERRAIN_index(i, j)];
    const terrain_vertex& b = terrain_vertex_grid[TERRAIN_index(i + 1, j + 1)];
    const float x = 0.5f * (a.x + b.x), z = 0.5f * (a.z + b.z);
    camera(x, z + 300.0f, 150.0f, -30.0f, 0.0f);
    sim_graphics_settings.autogen_level = 0;
    const std::vector<unsigned char> bare = picture("town_autogen_0");
    sim_graphics_settings.autogen_level = 3;
    const std::vector<unsigned char> grown = picture("town_autogen_3");
    int differing = 0;
    for (size_t k = 0; k < bare.size(); k += 4)
        differing += std::abs(int(bare[k]) - int(grown[k])) + std::abs(int(bare[k + 1]) - int(grown[k + 1])) > 24;
    EXPECT_GT(differing, 2000) << "pixels that the cover changed";
    // The town's cars are queued: parked ones and those on the road loops.
    EXPECT_GT(light_count, 0);
}
