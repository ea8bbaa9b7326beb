// End to end: the flying frame draws its 3-D scene only above the rows the
// opaque panel picture hides, and nothing under the frame shows through.
#include <GL/gl.h>

#include <vector>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/draw_phases.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"
#include "core/views.h"
#include "links/plugin_host.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/support/startup_program.h"

namespace {

constexpr int W = 1024, H = 768;

class PanelCover : public started_program {
protected:
    void SetUp() override
    {
        MACIBM_pump_messages();
        app_mode = MODE_FLYING;
        CORE_run_command(VIEW_FORWARD);
        sim_time.paused = 1;
        sim_graphics_settings.transparent_panel = 0;
        screen.ui_zoom_smooth = 0.0f;
        sim_weather.cloud_type[0] = 3, sim_weather.cloud_type[1] = 0;   // a broken layer
        sim_weather.cloud_base_msl_m[0] = 1500.0f, sim_weather.cloud_tops_msl_m[0] = 2500.0f;
    }

    void TearDown() override
    {
        sim_time.paused = 0;
        sim_weather.cloud_type[0] = 0;
    }
};

}  // namespace

TEST_F(PanelCover, TheSceneUnderThePanelIsLeftOutAndNothingShowsThrough)
{
    // The trainer's panel hides the lower two thirds of the window.
    ASSERT_EQ(screen.window_height, H);
    ASSERT_GT(background_cover_rows, 300);
    ASSERT_LT(background_cover_rows, 768);
    const int hidden = FRAME_rows_hidden_by_panel(true, true);
    EXPECT_EQ(hidden, background_cover_rows - 1);

    // A frame drawn over a marker colour: the scene leaves the lowest rows
    // alone, and the panel picture covers every pixel it left.
    for (int k = 0; k < 2; ++k) MACIBM_do_frame();   // the clouds made and lit
    GLfloat kept[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, kept);
    glClearColor(13 / 255.0f, 250 / 255.0f, 77 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(kept[0], kept[1], kept[2], kept[3]);
    MACIBM_do_frame();
    std::vector<unsigned char> px(size_t(W) * H * 4);
    glReadBuffer(GL_FRONT);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glReadBuffer(GL_BACK);
    int marker = 0;
    for (size_t i = 0; i < px.size(); i += 4) marker += px[i] == 13 && px[i + 1] == 250 && px[i + 2] == 77;
    EXPECT_EQ(marker, 0);

    // Nothing is left out where the picture does not hide the scene; zoomed
    // in, the picture rises over the window and hides fewer of its rows.
    EXPECT_EQ(FRAME_rows_hidden_by_panel(false, false), 0);
    sim_graphics_settings.transparent_panel = 1;
    EXPECT_EQ(FRAME_rows_hidden_by_panel(true, true), 0);
    sim_graphics_settings.transparent_panel = 0;
    screen.ui_zoom_smooth = 1.0f;
    EXPECT_GT(FRAME_rows_hidden_by_panel(true, true), 0);
    EXPECT_LT(FRAME_rows_hidden_by_panel(true, true), hidden);
    screen.ui_zoom_smooth = 0.0f;
}

// With the plug-ins' drawing hook in place the scene is cut only while the
// hook lets the panel picture be drawn: once it leaves the picture out, the
// rows under it are cleared that frame and the scene is whole from the next.
TEST_F(PanelCover, APlugInLeavingThePictureOutGetsTheWholeSceneFromTheNextFrame)
{
    static bool leave_out = false;
    const auto kept = plugin_host.entries.drawing;
    plugin_host.entries.drawing = [](int phase) { return phase == DRAW_PHASE_BACKGROUND_BEFORE && leave_out ? 0 : 1; };
    MACIBM_do_frame();
    EXPECT_EQ(FRAME_rows_hidden_by_panel(true, true), background_cover_rows - 1);
    leave_out = true;
    MACIBM_do_frame();
    EXPECT_EQ(FRAME_rows_hidden_by_panel(true, true), 0);
    leave_out = false;
    MACIBM_do_frame();
    EXPECT_GT(FRAME_rows_hidden_by_panel(true, true), 0);
    plugin_host.entries.drawing = kept;
}
