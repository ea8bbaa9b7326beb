// What the pilot sees and what stays put, through the started program: the
// chase view follows the aircraft high over the ground, a glider parked on
// its brake stands in the wind, a sky set clear of precipitation on the
// weather screen shows no falling specks, and the numbers shown over the
// flying view set their points on the digits' foot line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
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
#include "graphics/ogl_state.h"
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
// onto its wheel and a wing tip it stands where it is for a minute. Its
// place is looked at, not the picture: no frame is drawn.
using ParkedGlider = PilotViews;

TEST_F(ParkedGlider, StandsInTheWindOnItsBrake)
{
    ASSERT_NO_FATAL_FAILURE(load_aircraft("Orvell Glider.acf", "Aircraft:Gliders:Orvell Glider:Orvell Glider.acf"));
    const unseen_frames unseen;
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
// screen's rain slider dragged down into what it calls "little or none"
// leaves a sky with nothing falling: two frames of the paused program show
// the same sky.
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

// The position group ticked for the screen on the network and data output
// screen shows its numbers in the first box over the flying view. Each full
// stop stands on the foot line of the digits beside it, as a point; one that
// hangs a pixel below them reads as a comma ("34,091").
TEST_F(PilotViews, NumbersOverTheFlyingViewSetTheirPointsOnTheDigitsFootLine)
{
    seen.clear();
    WIDGET_set_recorder(see_box);
    ASSERT_TRUE(choose_menu_item("Settings", "Network and Data Output"));
    frames(1);
    auto find = [](widget_box_kind kind, const std::string& text) -> const seen_box* {
        for (const seen_box& b : seen)
            if (b.kind == kind && b.text == text) return &b;
        return nullptr;
    };
    const seen_box* tab = find(WIDGET_BOX_FIELD, "Data output");
    const seen_box* area = nullptr;
    for (const seen_box& b : seen)
        if (b.kind == WIDGET_BOX_WORK_AREA) area = &b;
    ASSERT_NE(tab, nullptr);
    ASSERT_NE(area, nullptr);
    const float close_x = area->x1 + 12.0f, close_y = area->y2 - 10.0f;   // the screen's close box
    click_at(0.5f * (tab->x1 + tab->x2), 0.5f * (tab->y1 + tab->y2));
    seen.clear();
    frames(1);
    WIDGET_set_recorder(nullptr);
    // The group's row: its title, and the rightmost of its four boxes
    // (shown on the flying screen) left of it.
    const seen_box* title = find(WIDGET_BOX_TEXT, "Latitude, longitude, altitude");
    ASSERT_NE(title, nullptr);
    const seen_box* box = nullptr;
    for (const seen_box& b : seen)
        if (b.kind == WIDGET_BOX_FIELD && b.x2 <= title->x1 && b.y1 < title->y2 && b.y2 > title->y1 &&
            (!box || b.x1 > box->x1))
            box = &b;
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(sim_network_dataout.data_to_screen[18], 0);
    click_at(0.5f * (box->x1 + box->x2), 0.5f * (box->y1 + box->y2));
    frames(1);
    ASSERT_EQ(sim_network_dataout.data_to_screen[18], 1);
    click_at(close_x, close_y);
    frames(3);
    ASSERT_EQ(app_mode, MODE_FLYING);
    const picture p = read_picture();
    sim_network_dataout.data_to_screen[18] = 0;
    ASSERT_EQ(p.width, 1024);
    ASSERT_EQ(p.height, 768);

    // The first box's row of values: its digits stand on the foot line a
    // unit above the box's middle line (725), seven pixels high, the unit
    // names 10 below and the column names 10 above.
    uint8_t ink[3];
    OGL_row_to_bytes(48, ink);
    const int x0 = 0, x1 = 290, y0 = 724, y1 = 734;
    auto inked = [&](int x, int y) {
        const picture::colour c = p.at(x, y);
        return std::abs(c.r - ink[0]) + std::abs(c.g - ink[1]) + std::abs(c.b - ink[2]) < 40;
    };
    // The glyphs as groups of touching ink pixels: their lowest row and size.
    struct blob {
        int bottom = 1 << 20, top = -1, left = 1 << 20, right = -1;
    };
    std::vector<blob> blobs;
    std::vector<int> label((x1 - x0) * (y1 - y0), -1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!inked(x, y) || label[(y - y0) * (x1 - x0) + (x - x0)] >= 0) continue;
            const int id = static_cast<int>(blobs.size());
            blobs.emplace_back();
            std::vector<std::pair<int, int>> todo{{x, y}};
            label[(y - y0) * (x1 - x0) + (x - x0)] = id;
            while (!todo.empty()) {
                const auto [cx, cy] = todo.back();
                todo.pop_back();
                blob& b = blobs[id];
                b.bottom = std::min(b.bottom, cy), b.top = std::max(b.top, cy);
                b.left = std::min(b.left, cx), b.right = std::max(b.right, cx);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < x0 || nx >= x1 || ny < y0 || ny >= y1 || !inked(nx, ny)) continue;
                        int& l = label[(ny - y0) * (x1 - x0) + (nx - x0)];
                        if (l < 0) l = id, todo.emplace_back(nx, ny);
                    }
            }
        }
    // Digits are tall; points are small and square; minus signs are flat.
    std::map<int, int> digit_feet;
    std::vector<int> point_feet;
    std::vector<const blob*> minus_signs;
    for (const blob& b : blobs) {
        const int w = b.right - b.left + 1, h = b.top - b.bottom + 1;
        if (h >= 5) ++digit_feet[b.bottom];
        if (w <= 2 && h == 2) point_feet.push_back(b.bottom);
        if (w >= 3 && h == 1) minus_signs.push_back(&b);
    }
    // The longitude at the field is negative: its minus keeps clear of the
    // latitude's last digit in the column to its left.
    ASSERT_FALSE(minus_signs.empty()) << "no minus sign in the first box";
    for (const blob* m : minus_signs)
        for (int y = y0; y < y1; ++y)
            for (int x = std::max(x0, m->left - 3); x < m->left; ++x)
                EXPECT_FALSE(inked(x, y)) << "the minus at x " << m->left << " touches ink at " << x << "," << y;
    if (digit_feet.empty() || point_feet.empty()) p.save_png("numbers_over_the_view.png");
    ASSERT_FALSE(digit_feet.empty()) << "no digits in the first box";
    const int foot = std::max_element(digit_feet.begin(), digit_feet.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->first;
    EXPECT_GE(point_feet.size(), 3u) << "latitude, longitude and both heights show a point";
    for (int f : point_feet) EXPECT_EQ(f, foot) << "a point off the digits' foot line";
}
