// What the pilot sees and what stays put, through the started program: the
// chase view follows the aircraft high over the ground, a glider parked on
// its brake stands in the wind, and a sky set clear of precipitation on the
// weather screen shows no falling specks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/draw_phases.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/widget_record.h"
#include "links/plugin_host.h"
#include "tests/support/pilot_kit.h"
#include "tests/support/startup_program.h"

using namespace pilot;

namespace {

// The pixels of the rectangle [x0, x1) x [y0, y1) that two pictures show
// clearly apart.
int pixels_apart(const picture& a, const picture& b, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const picture::colour p = a.at(x, y), q = b.at(x, y);
            n += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 30 ? 1 : 0;
        }
    return n;
}

class PilotViews : public flying_program {
protected:
    // Loads a fleet aircraft from the program's folder as plane 0.
    static void load_aircraft(const char* file, const std::string& path_in_folder)
    {
        acf_struct& a = pln[0];
        const std::string path = folder->prefix() + path_in_folder;
        UTIL_strcpy(file, a.acf_file_name);
        UTIL_strcpy(path.c_str(), a.acf_file_path);
        ASSERT_NE(ACF_load_and_setup(0), 0);
    }

    void TearDown() override
    {
        plugin_host.entries.drawing = nullptr;
        WIDGET_set_recorder(nullptr);
        if (sim_time.paused) press('p');
        frames(1);
        flying_program::TearDown();
    }
};

// The boxes a screen's widgets drew, with their texts.
struct seen_box {
    widget_box_kind kind;
    float x1, y1, x2, y2;
    std::string text;
};
std::vector<seen_box> seen;
void see_box(const widget_box& b) { seen.push_back({b.kind, b.x1, b.y1, b.x2, b.y2, b.text ? b.text : ""}); }

}  // namespace

// On a 10 nm approach, some 900 m over the ground, key 8 puts the camera
// behind the trainer: the picture with the planes drawn and the same frame
// with them left out differ by the trainer, a good part of the window.
TEST_F(PilotViews, TheChaseViewShowsTheAircraftHighOverTheGround)
{
    // The trainer, whichever aircraft an earlier test of this program left loaded.
    ASSERT_NO_FATAL_FAILURE(load_aircraft("Orvell Trainer.acf", "Aircraft:General Aviation:Orvell Trainer:Orvell Trainer.acf"));
    FLIGHT_init_situation(SIT_AIRPORT, SIT_APPROACH_10NM);   // as the Location menu's approach starts do
    frames(2);
    const flt_struct& f = flt[0];
    ASSERT_GT(f.y_agl, 500.0f) << "not high enough over the ground to show the fault";
    press('8');
    frames(25);
    ASSERT_EQ(sim_graphics_view.view_type, VIEW_CHASE);
    press('p');   // paused, so that the two pictures show the same moment
    frames(20);
    ASSERT_NE(sim_time.paused, 0);
    const picture with_planes = read_picture();
    plugin_host.entries.drawing = [](int phase) { return phase == DRAW_PHASE_PLANES_BEFORE ? 0 : 1; };
    frames(1);
    const picture without = read_picture();
    plugin_host.entries.drawing = nullptr;
    const int w = with_planes.width, h = with_planes.height;
    // The trainer, 12 m ahead, spans two thirds of the window's width (its
    // light grey wing is hard to tell from the overcast, its tail and
    // fuselage are not), in the middle of the picture.
    // (The light of the hour the flight has reached moves the count by some
    // tenths; a camera whose near plane cuts the trainer away leaves about
    // an eighth of it.)
    EXPECT_GT(pixels_apart(with_planes, without, 0, 0, w, h), w * h / 200);
    EXPECT_GT(pixels_apart(with_planes, without, w / 4, h / 4, 3 * w / 4, 3 * h / 4), w * h / 200);
}

// The fleet's glider on the KSBD runway with its parking brake set, in the
// program's own start weather (a wind of 6 to 12 knots): once it has settled
// onto its wheel and a wing tip it stands where it is for a minute.
TEST_F(PilotViews, AParkedGliderStandsInTheWind)
{
    ASSERT_NO_FATAL_FAILURE(load_aircraft("Orvell Glider.acf", "Aircraft:Gliders:Orvell Glider:Orvell Glider.acf"));
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    frames(1);
    const flt_struct& f = flt[0];
    ASSERT_GT(f.parkbrake, 0.5f);
    ASSERT_GE(sim_weather.wind_speed_kt[0], 6.0f);
    frames(250);   // 10 s to settle
    ASSERT_EQ(f.onground_any, 1);
    const float x0 = f.local_x, z0 = f.local_z, psi0 = f.psi;
    frames(1500);   // a minute
    EXPECT_LT(std::hypot(f.local_x - x0, f.local_z - z0), 0.5f);
    EXPECT_LT(std::fabs(f.psi - psi0), 1.0f);
    EXPECT_EQ(f.onground_any, 1);
}

// The start weather snows at KSBD (5 degrees below freezing at sea level
// under a raining overcast): specks fall past the camera. The weather
// screen's rain slider dragged down into what it calls "none" leaves a sky
// with nothing falling: two frames of the paused program show the same sky.
TEST_F(PilotViews, PrecipitationSetToNoneLeavesNoSpecks)
{
    auto sky_changes = [] {
        press('p');
        frames(3);
        const picture a = read_picture();
        frames(1);
        const picture b = read_picture();
        press('p');
        frames(1);
        // The sky above the horizon, in the forward view with the panel.
        return pixels_apart(a, b, 0, b.height - 100, b.width, b.height - 2);
    };
    press('1');
    frames(5);
    ASSERT_GT(sim_weather.precip_snow, 0.5f);
    EXPECT_GT(sky_changes(), 20) << "no snow falls in the start weather";

    seen.clear();
    WIDGET_set_recorder(see_box);
    ASSERT_TRUE(choose_menu_item("Settings", "Weather"));
    frames(2);
    WIDGET_set_recorder(nullptr);
    const seen_box* rain = nullptr;
    const seen_box* area = nullptr;
    for (const seen_box& b : seen) {
        if (b.kind == WIDGET_BOX_FIELD && b.text == "Rain") rain = &b;
        if (b.kind == WIDGET_BOX_WORK_AREA) area = &b;
    }
    ASSERT_NE(rain, nullptr);
    ASSERT_NE(area, nullptr);
    // The slider's track runs from 10 units inside its box's left end to 10
    // inside its right; the knob stands at the right end (rain 1).
    const float x = rain->x1 + 10.0f, length = rain->x2 - rain->x1 - 20.0f, y = rain->y1 + 9.0f;
    move_to(x + length, y);
    button_down();
    frames(1);
    move_to(x + 0.1f * length, y);
    frames(1);
    button_up();
    frames(1);
    EXPECT_GT(sim_weather.rain_percent, 0.0f);
    EXPECT_LE(sim_weather.rain_percent, WEATHER_SHARE_NONE);
    click_at(area->x2 - 16.0f, area->y2 - 10.0f);   // the screen's close box
    frames(3);
    ASSERT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(sky_changes(), 0);
}
