// End to end: the program started on the generated default data folder at
// KSBD; the 3-D view draws the head-up display over the picture.
#include <GL/gl.h>

#include <cmath>

#include "core/app_mode.h"
#include "core/command_hook.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "scene/scene_draw.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/shell/startup_program.h"

namespace {

class GlassEndToEnd : public started_program {
protected:
    void SetUp() override
    {
        MACIBM_pump_messages();
        app_mode = MODE_FLYING;
        sim_operation_misc.frame_rate_period = 0.1f;
        gload_dim_factor = 1.0f;
    }
    static bool hud_green(int x, int y)
    {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return p[0] < 60 && p[1] > 220 && p[2] < 60;   // row 50: 0.1, 1.0, 0.1
    }
};

}   // namespace

// View 1023, level: the horizon line crosses the HUD box's centre height.
TEST_F(GlassEndToEnd, HeadUpViewShowsTheHorizonLineAtTheCentre)
{
    CORE_run_command(VIEW_HUD);
    sim_cockpit_electrical.HUD_brightness = 0.75f;
    sim_cockpit_electrical.battery_on = 1;
    flt[0].theta = flt[0].phi = 0.0f;
    SCENE_draw_3d();
    ASSERT_EQ(sim_graphics_view.view_type, VIEW_HUD);
    // The box is x 200..824, y 50..718: the horizon runs 120 units each side of x 512 at y 384.
    int lit = 0;
    for (int x : {420, 460, 560, 600}) lit += (hud_green(x, 384) || hud_green(x, 383)) ? 1 : 0;
    EXPECT_EQ(lit, 4);
    EXPECT_FALSE(hud_green(600, 390));
    EXPECT_FALSE(hud_green(660, 384));   // past the horizon's end
    CORE_run_command(VIEW_FORWARD);
}
