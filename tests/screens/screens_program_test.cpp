// The settings screens inside the running program on the generated data: each
// opens from its command, an airport chosen on the airport list is flown
// from, an engine set failed stops, and a filed flight plan reaches ATC.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>
#include <cstring>
#include <string>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/screen.h"
#include "flightmodel/flt.h"
#include "graphics/list.h"
#include "scene/scene_state.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/startup_program.h"
#include "world/atc/atc_state.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

void frames(double seconds) { run_frames_for(seconds); }

// One call of a screen routine with the pointer pressed at (x, y) of its work area.
void press(void (*routine)(), float x, float y)
{
    mouse.mouse_x = x, mouse.mouse_y = y;
    mouse.mouse_down = mouse.mouse_held = 1;
    routine();
    mouse.mouse_down = mouse.mouse_held = 0;
    mouse.mouse_x = mouse.mouse_y = -100.0f;
}

// The picture of the frame just shown, compared with the screen's reference
// picture in tests/fixtures/screens/ (checked by eye when it was made);
// ORVELL_UPDATE_REFERENCE=1 writes new ones. The pictures are compared in a
// process of their own (the ctest entry screens_pictures sets
// ORVELL_SCREEN_PICTURES): a program started after other tests' drawing
// context has closed draws its interface untextured.
void matches_reference(int mode)
{
    if (!std::getenv("ORVELL_SCREEN_PICTURES") && !std::getenv("ORVELL_UPDATE_REFERENCE")) return;
    constexpr int W = 1024, H = 768, STRIDE = -W * 4;   // rows bottom up, as GL reads them
    std::vector<unsigned char> frame(W * H * 4), expected(W * H * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_FRONT);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    glReadBuffer(GL_BACK);
    const std::string reference = fixture_path("screens/screen_" + std::to_string(mode) + ".png");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (std::getenv("ORVELL_UPDATE_REFERENCE")) {
        image.width = W, image.height = H, image.format = PNG_FORMAT_RGBA;
        ASSERT_TRUE(png_image_write_to_file(&image, reference.c_str(), 0, frame.data(), STRIDE, nullptr));
        return;
    }
    ASSERT_TRUE(png_image_begin_read_from_file(&image, reference.c_str())) << reference;
    image.format = PNG_FORMAT_RGBA;
    ASSERT_EQ(PNG_IMAGE_SIZE(image), expected.size());
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, expected.data(), STRIDE, nullptr));
    // The rendering screen's lowest box names the OpenGL driver and counts
    // the textures of the moment: it is left out.
    const size_t first = mode == MODE_RENDERING ? size_t(W) * 4 * 150 : 0;
    int off = 0;   // rasterisers may round glyph edges differently
    for (size_t i = first; i < frame.size(); ++i)
        if (std::abs(int(frame[i]) - int(expected[i])) > 8) ++off;
    EXPECT_LT(off, 6000) << "bytes differing from the reference of screen " << mode;
}

int airport_index(const char* id)
{
    int index = -1;
    return NAV_find_nearest_by_id(id, 1, index, flt[0].latitude, flt[0].longitude) ? index : -1;
}

// The program started once for the suite, its first flying frames drawn.
class ScreensInProgram : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite()
    {
        folder = copy_default_data_folder();
        start_program(*folder);
        frames(0.5);
    }
    static void TearDownTestSuite()
    {
        stop_program();
        folder.reset();
    }
};

}  // namespace

TEST_F(ScreensInProgram, EachOpensFromItsCommandAndShowsItsPicture)
{
    // Each screen opens from its command and draws a frame. The flying
    // frames between these screens are not looked at (those before the map
    // screens below are: the flight path's picture follows the scene drawn
    // after the map).
    const int commands[][2] = {{408, 2},  {604, 6},  {607, 8},  {608, 9},   {610, 10},  {611, 11}, {613, 12},
                               {616, 13}, {614, 14}, {807, 20}, {1200, 21}, {1220, 22}};
    for (const auto& [command, mode] : commands) {
        const unseen_frames unseen;
        APPLICATION_handlemenu(command);
        frames(0.1);
        EXPECT_EQ(app_mode, mode) << command;
        matches_reference(mode);
        APPLICATION_set_mode(MODE_FLYING, "test");
        frames(0.1);
    }

    // The map screens and the two preview screens, their turns and views fixed.
    for (const auto& [command, mode] : {std::pair{800, 15}, {801, 16}, {802, 17}, {1400, 23}}) {
        APPLICATION_handlemenu(command);
        globe_screen = {1, -30.0f, 20.0f};
        path_view = path_view_state{0.3f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f};
        view_orbit_pitch = 20.0f * DEG_TO_RAD_FLOAT, view_orbit_heading = 330.0f * DEG_TO_RAD_FLOAT;
        frames(0.1);
        EXPECT_EQ(app_mode, mode) << command;
        matches_reference(mode);
        APPLICATION_set_mode(MODE_FLYING, "test");
        frames(0.1);
    }

    // Screen 24 opens from the ATC window.
    APPLICATION_set_mode(MODE_FLIGHT_PLAN, "test");
    frames(0.1);
    matches_reference(MODE_FLIGHT_PLAN);
    APPLICATION_set_mode(MODE_FLYING, "test");
    frames(0.1);
}

TEST_F(ScreensInProgram, EachActsFromTheNextFrame)
{
    // Screen 2: KPSP chosen and selected: the flight starts on a KPSP runway.
    // No picture is looked at here.
    const unseen_frames unseen;
    const int kpsp = airport_index("KPSP");
    ASSERT_GE(kpsp, 0);
    APPLICATION_handlemenu(408);
    frames(0.1);
    start_selection.airport_index = kpsp;
    press(SETUP_airport_select, 247.0f, 28.0f);
    EXPECT_EQ(app_mode, MODE_FLYING);
    frames(0.5);
    const runway_record& first = APT_table_at(kpsp)->runways[0];
    EXPECT_NEAR(flt[0].latitude, first.lat, 0.05f);
    EXPECT_NEAR(flt[0].longitude, first.lon, 0.05f);

    // Screen 11: the trainer's engine set failed stops within a second of closing.
    ASSERT_EQ(flt[0].ENGN_running[0], 1);
    APPLICATION_handlemenu(611);
    frames(0.1);
    small_screens.failures_tab = 3;
    popup_answer_owner = BTN_text_list_key(200.0f, screen.screen_area_height - 90.0f - 40.0f * 8.0f);
    popup_answer = 6;
    frames(0.05);
    EXPECT_EQ(flt[0].failures[58], 6);
    APPLICATION_set_mode(MODE_FLYING, "test");
    frames(1.0);
    EXPECT_EQ(flt[0].ENGN_running[0], 0);

    // Screen 24: "kpsp" typed, closed: ATC's destination is KPSP, a plan filed.
    atc_state = atc_state_block{};
    APPLICATION_set_mode(MODE_FLIGHT_PLAN, "test");
    std::strcpy(atc_state.atc_plan_to_id, "kpsp");
    frames(0.1);
    EXPECT_STREQ(atc_state.atc_plan_to_id, "KPSP");
    APPLICATION_set_mode(MODE_FLYING, "test");
    EXPECT_EQ(atc_state.atc_dest_airport, kpsp);
    EXPECT_EQ(atc_state.atc_plan_filed, 1);
}
