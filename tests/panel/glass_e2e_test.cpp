// End to end: the program started on the generated default data folder at
// KSBD; the 3-D view draws the head-up display over the picture, the moving
// map shows the nearby airports, and the flight-management page sets the GPS
// destination the map then draws.
#include <GL/gl.h>

#include <cmath>

#include "core/app_mode.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/screen.h"
#include "flightmodel/systems/flight_plan.h"
#include "graphics/ogl_state.h"
#include "panel/glass/glass.h"
#include "panel/panel.h"
#include "tests/support/ui_capture.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "core/hooks.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "scene/scene_driver.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/support/startup_program.h"

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

// The nearby airports of the default world at KSBD on a 20 nm map where the
// map rule puts them; KSBD typed into the flight plan's first entry becomes
// the GPS destination, and the map draws its runway needle and approach line.
TEST_F(GlassEndToEnd, MapShowsTheNearbyAirportsAndTheTypedDestination)
{
    ASSERT_GE(local_airport_last, 0) << "the scene build found no airports";
    sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
    sim_cockpit_switches.EFIS_map_mode = 1;
    sim_cockpit_switches.EFIS_map_range_selector = 1;
    sim_cockpit_gps.destination_type = 0;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    // The map's origin and scale, given back at the end: the head-up view draws about the area's origin too.
    struct area_kept {
        float left = screen.screen_area_left, bottom = screen.screen_area_bottom, scale = panel_ins_scale;
        ~area_kept()
        {
            screen.screen_area_left = left, screen.screen_area_bottom = bottom;
            panel_ins_scale = scale;
        }
    } kept;
    screen.screen_area_left = 512.0f, screen.screen_area_bottom = 384.0f;
    panel_ins_scale = 1.0f;
    auto map = [] {
        panel_ins_type = 185;
        return capture_feedback([] { PANEL_efis_map(); });
    };

    // Airport symbols: 14 x 14 quads of the airport cell (texels 56..70, 215..229).
    std::vector<fb_rect> drawn;
    for (const fb_rect& r : rects_of(map()))
        if (std::fabs(r.tx1 - 56.0f) < 0.01f && std::fabs(r.ty1 - 215.0f) < 0.01f) drawn.push_back(r);
    const flt_struct& f = flt[0];
    const float k = 0.85f * 230.0f / (20.0f * 1852.0f), a = (360.0f - f.psi) * 0.01745329f;
    int expected = 0;
    for (int n = 0; n <= local_airport_last; ++n) {
        const airport_record& apt = airport_table[static_cast<size_t>(local_airport_list[n])];
        const float lat = apt.runways[0].lat, lon = apt.runways[0].lon;
        const float dx = (lon - (lon_ref + 1.5f)) * 111120.0f * std::cos(lat * 0.01745329f) - f.local_x;
        const float dz = (lat_ref + 1.0f - lat) * 111120.0f - f.local_z;
        const float x = (dx * std::cos(a) - dz * std::sin(a)) * k, y = -115.0f + 34.5f - (dx * std::sin(a) + dz * std::cos(a)) * k;
        if (x < -95.0f || x > 95.0f || y < -115.0f || y > 115.0f) continue;
        ++expected;
        bool found = false;
        for (const fb_rect& r : drawn)
            found = found || (std::fabs((r.x1 + r.x2) * 0.5f - (512.0f + std::round(x))) < 1.01f &&
                              std::fabs((r.y1 + r.y2) * 0.5f - (384.0f + std::round(y))) < 1.01f);
        EXPECT_TRUE(found) << apt.id;
    }
    EXPECT_GT(expected, 0);
    EXPECT_EQ(static_cast<int>(drawn.size()), expected);

    // KSBD typed into entry 0: the airport key, then K, S, B, D on the keypad.
    fms_plan = fms_plan_record{};
    GLASS_reset();
    auto click = [](float x, float y) {
        mouse.mouse_x = 512.0f + x, mouse.mouse_y = 384.0f + y, mouse.mouse_down = mouse.mouse_held = 1;
        panel_ins_type = 374;
        PANEL_fms_page();
        mouse = mouse_record{};
    };
    click(-56.0f, -6.0f);
    const int keys[4][2] = {{3, 2}, {6, 3}, {4, 0}, {6, 0}};   // K, S, B, D
    for (const auto& c : keys) click(17.0f * c[0] - 60.0f, -26.0f - 15.0f * c[1]);
    EXPECT_STREQ(fms_plan.entries[0].id, "KSBD");
    ASSERT_EQ(sim_cockpit_gps.destination_type, 1);
    const airport_record* ksbd = APT_table_at(sim_cockpit_gps.airport_index);
    ASSERT_NE(ksbd, nullptr);
    EXPECT_STREQ(ksbd->id, "KSBD");

    // The runway needle (style 53) and the approach line, 20 km long at this scale.
    const auto prims = map();
    int needles_53 = 0;
    for (const fb_rect& r : rects_of(prims))
        if (std::fabs(r.tx2 - r.tx1 - 12.0f) < 0.6f && std::fabs(r.ty1 - 97.0f) < 0.6f) ++needles_53;
    EXPECT_GE(needles_53, 1);
    bool line = false;
    for (const fb_prim& p : prims)
        if (p.token != GL_POLYGON_TOKEN && p.v.size() == 2 && std::fabs(p.v[0].a - 0.5f) < 0.01f)
            line = line || std::fabs(std::hypot(p.v[1].x - p.v[0].x, p.v[1].y - p.v[0].y) - 20000.0f * k) < 1.0f;
    EXPECT_TRUE(line);
}
