// The pilot's path through the started program, driven as a user drives it:
// keys and the pointer through the window layer's events, and the picture
// and the state that follow.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/draw_phases.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/instrument_types.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/units.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "links/plugin_host.h"
#include "scene/scene_state.h"
#include "shell/alert_box.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "tests/support/pilot_kit.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace fs = std::filesystem;
using namespace pilot;

namespace {

// The folders and files a folder of the copied data holds, as the browser sorts them.
std::vector<std::string> sorted_names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The folder the browser lists, as the program names it (in capitals).
std::string listed_folder()
{
    std::string listed = file_list_folder;
    std::replace(listed.begin(), listed.end(), '\\', '/');
    while (listed.size() > 1 && listed.back() == '/') listed.pop_back();
    return listed;
}

bool folder_is(const fs::path& folder) { return upper(listed_folder()) == upper(folder.string()); }

class PilotPath : public flying_program {};

}  // namespace

// The browser's list shows the entries around the highlighted one, 10 units a
// row; a click on any row opens that row, above the highlight as below it.
TEST_F(PilotPath, TheBrowserOpensTheEntryClicked)
{
    const fs::path aircraft = folder->path() / "Aircraft";
    const std::vector<std::string> top = sorted_names(aircraft);
    ASSERT_EQ(top.size(), 6u);
    const fs::path general = aircraft / "General Aviation";
    const std::vector<std::string> planes = sorted_names(general);
    ASSERT_EQ(planes, (std::vector<std::string>{"Orvell Floatplane", "Orvell Trainer", "Orvell Twin"}));

    // A row of the list at `offset` rows from the highlighted one; the click
    // lands 4 units above the middle of the row's band.
    constexpr float LIST_X = 20.0f, LIST_Y = 180.0f;
    auto click_row = [](int offset) { click_at(LIST_X + 60.0f, LIST_Y - 10.0f * offset + 4.0f); };
    // Cancel; also what ends a walk that finds a folder other than the one awaited.
    auto give_up = [] {
        click_at(45.0f, 28.0f);
        return true;
    };

    // Each folder of the aircraft folder, opened by a click on its row in a
    // browser that opens at the aircraft folder with its middle row highlighted.
    std::vector<std::string> opened;
    int step = -1;
    for (size_t next = 0; next < top.size(); ++next) {
        step = -1;
        inside_frames([&] {
            if (app_mode != MODE_BROWSER_OPEN) return false;
            switch (step) {
            case -1:   // the browser's first frame puts the list before the pilot
                step = 0;
                return false;
            case 0:
                if (!folder_is(aircraft)) return give_up();
                click_row(static_cast<int>(next) - static_cast<int>(top.size()) / 2);
                step = 1;
                return false;
            default:   // inside the folder clicked
                opened.push_back(upper(fs::path(listed_folder()).filename().string()));
                step = 2;
                return give_up();
            }
        });
        ASSERT_TRUE(choose_menu_item("File", "Open Aircraft..."));
        frames(1);
        ASSERT_EQ(step, 2) << "the browser did not show the folder clicked";
        ASSERT_EQ(app_mode, MODE_FLYING);
    }

    // Into General Aviation, then the floatplane's folder (the row above the
    // highlight), and its one aircraft file.
    step = 1;
    inside_frames([&] {
        if (app_mode != MODE_BROWSER_OPEN) return false;
        switch (step) {
        case 1:   // the browser's first frame
            step = 2;
            return false;
        case 2:
            if (!folder_is(aircraft)) return give_up();
            click_row(0 - static_cast<int>(top.size()) / 2);
            step = 3;
            return false;
        case 3:
            if (!folder_is(general)) return give_up();
            click_row(0 - static_cast<int>(planes.size()) / 2);
            step = 4;
            return false;
        case 4:
            if (!folder_is(general / "Orvell Floatplane")) return give_up();
            click_row(0);
            step = 5;
            return false;
        default: return true;
        }
    });
    ASSERT_TRUE(choose_menu_item("File", "Open Aircraft..."));
    frames(1);   // the browser runs its frames inside this one and returns with the choice

    std::vector<std::string> top_shown;
    for (const std::string& name : top) top_shown.push_back(upper(name));
    EXPECT_EQ(opened, top_shown);
    EXPECT_EQ(step, 5) << "the browser did not show the folder clicked";
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(upper(pln[0].acf_file_name), "ORVELL FLOATPLANE.ACF");
}

namespace {

// The share of the pixels of the rectangle [x0, x1) x [y0, y1) that two pictures show alike.
double alike(const picture& a, const picture& b, int x0, int y0, int x1, int y1)
{
    int same = 0, all = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const picture::colour p = a.at(x, y), q = b.at(x, y);
            same += (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) < 12) ? 1 : 0;
            ++all;
        }
    return all > 0 ? static_cast<double>(same) / all : 0.0;
}

// While one lives, the flying frames draw the sky but leave out the ground,
// its objects and the cover over it (the plug-in drawing hook's answer), the
// costliest part of a frame: for frames whose picture is looked at only
// where the panel covers the scene, or not at all (the camera eases in them).
class without_ground {
public:
    without_ground()
    {
        plugin_host.entries.drawing = [](int phase) {
            return phase == DRAW_PHASE_GROUND_BEFORE || phase == DRAW_PHASE_COVER_BEFORE ? 0 : 1;
        };
    }
    ~without_ground() { plugin_host.entries.drawing = nullptr; }
    without_ground(const without_ground&) = delete;
    without_ground& operator=(const without_ground&) = delete;
};

}  // namespace

// Key 1 shows the panel; key 2 and the View menu's Forward with HUD and
// Forward with Nothing look ahead without it: none of the panel's pixels stay
// in the lower part of the window, where the panel lies, and the horizon lies
// in the window's middle third. The ground reaches the bottom edge there and
// in the chase and backward views.
TEST_F(PilotPath, ForwardViewsWithoutThePanelShowNoPanel)
{
    hold_user_plane(ksbd_start_pose);
    press('1');
    frames(3);
    ASSERT_EQ(sim_graphics_view.view_type, VIEW_FORWARD);
    const picture panel = read_picture();
    // The panel's rows: the window's lower half (the panel's top edge lies
    // near two thirds of the way up).
    const int w = panel.width, h = panel.height / 2;

    auto panel_share = [&] {
        hold_user_plane(ksbd_start_pose);
        frames(3);
        return alike(panel, read_picture(), 0, 0, w, h);
    };
    press('1');
    EXPECT_GT(panel_share(), 0.9) << "the panel view shows its panel again";

    // The horizon lies in the window's middle third: the ground (what a
    // plug-in taking the ground phase leaves out) shows in the rows just
    // below that third and in none above it.
    auto horizon_in_middle_third = [&] {
        hold_user_plane(ksbd_start_pose);
        frames(3);
        const picture ground = read_picture();
        plugin_host.entries.drawing = [](int phase) { return phase == DRAW_PHASE_GROUND_BEFORE ? 0 : 1; };
        frames(1);
        plugin_host.entries.drawing = nullptr;
        const picture bare = read_picture();
        const int third = bare.height / 3;
        return alike(ground, bare, 0, 2 * third, w, bare.height) > 0.95 && alike(ground, bare, 0, third - 8, w, third) < 0.5;
    };
    press('2');
    const double with_hud = panel_share();
    EXPECT_EQ(sim_graphics_view.view_type, VIEW_FORWARD_HUD);
    EXPECT_LT(with_hud, 0.1);
    EXPECT_TRUE(horizon_in_middle_third());
    press('2');
    const double with_nothing = panel_share();
    EXPECT_EQ(sim_graphics_view.view_type, VIEW_FORWARD_NOTHING);
    EXPECT_LT(with_nothing, 0.1);
    EXPECT_TRUE(horizon_in_middle_third());

    press('1');
    ASSERT_TRUE(choose_menu_item("View", "Forward with HUD"));
    EXPECT_LT(panel_share(), 0.1);
    EXPECT_EQ(sim_graphics_view.view_type, VIEW_FORWARD_HUD);
    ASSERT_TRUE(choose_menu_item("View", "Forward with Nothing"));
    EXPECT_LT(panel_share(), 0.1);
    EXPECT_EQ(sim_graphics_view.view_type, VIEW_FORWARD_NOTHING);
    // The window's lower half lies below the horizon: ground to the bottom
    // edge, no pixel in the flat horizon colour of the sky backdrop and no
    // row one flat colour across the window (what shows where no ground is
    // drawn, or where the camera stands under the ground it looks at); so too
    // behind the trainer in the chase view, looking back from the cockpit, and
    // from the runway's end in the tower view with the trainer 1.5 km down the
    // runway, where it lies 6 m lower.
    const struct {
        const char* view;
        float along_runway_m;
    } outside[] = {{"Forward with Nothing", 0.0f}, {"Chase", 0.0f}, {"Backward", 0.0f}, {"Tower", 1500.0f}};
    auto terrain = [](double x, double z) {
        return TERRAIN_height_at(float(x), float(z), nullptr, nullptr, nullptr, nullptr, nullptr, 0, "test");
    };
    for (const auto& row : outside) {
        plane_pose pose = ksbd_start_pose;   // moved along the runway, on its gear
        pose.x += row.along_runway_m * std::sin(pose.psi * DEG_TO_RAD_FLOAT);
        pose.z -= row.along_runway_m * std::cos(pose.psi * DEG_TO_RAD_FLOAT);
        pose.y += terrain(pose.x, pose.z) - terrain(ksbd_start_pose.x, ksbd_start_pose.z);
        hold_user_plane(pose);
        frames(2);   // drawn there before the view is chosen
        ASSERT_TRUE(choose_menu_item("View", row.view));
        hold_user_plane(pose);
        {
            const without_ground bare;   // the chase camera eases to its distance
            frames(24);
        }
        frames(1);
        const picture seen = read_picture();
        const int sky[3] = {int(std::lround(sky_ramp[0][0] * 255.0f)), int(std::lround(sky_ramp[0][1] * 255.0f)),
                            int(std::lround(sky_ramp[0][2] * 255.0f))};
        EXPECT_EQ(seen.count(0, 0, w, h, [&](picture::colour c) {
            return std::abs(c.r - sky[0]) + std::abs(c.g - sky[1]) + std::abs(c.b - sky[2]) < 6;
        }), 0) << row.view;
        int flat_rows = 0;
        for (int y = 0; y < h; ++y) {
            const picture::colour m = seen.at(w / 2, y);
            flat_rows += seen.count(0, y, w, y + 1, [&](picture::colour c) {
                return std::abs(c.r - m.r) + std::abs(c.g - m.g) + std::abs(c.b - m.b) < 3;
            }) > w * 95 / 100;
        }
        EXPECT_EQ(flat_rows, 0) << row.view;
    }
    press('1');
    frames(1);
}

// Sixty presses of the course key, as fast as events go (all in one frame),
// step the course sixty degrees. Each menu of the bar, opened by a click and
// then painted again (the window uncovered), holds the throttle and view
// keys and stays open until Escape closes it.
TEST_F(PilotPath, EveryKeyPressStepsOnceAndAnOpenMenuHoldsEveryKey)
{
    float& course = sim_cockpit_radios.nav1_obs_degm;
    course = 100.0f;
    for (int k = 0; k < 60; ++k) press('m');
    frames(1);
    EXPECT_NEAR(course, 160.0f, 0.01f);

    const float throttle = flt[0].ENGN_thro[0];
    const int32_t view = sim_graphics_view.view_type;
    int menus = 0;
    for (int m = 0; m < MENU_COUNT; ++m) {
        const menu_record& menu = menu_table[m];
        if (menu.parent != -1 || menu.title[0] == 0) continue;
        ++menus;
        click_at(0.5f * (menu.left + menu.right), 0.5f * (menu.bottom + menu.top));
        SDL_Event paint{};
        paint.type = SDL_WINDOWEVENT, paint.window.event = SDL_WINDOWEVENT_EXPOSED;
        SDL_PushEvent(&paint);
        press(function_key(2)), press('8');
        frames(2);
        EXPECT_EQ(std::tuple(screen.open_menu, flt[0].ENGN_thro[0], sim_graphics_view.view_type),
                  std::tuple(m, throttle, view)) << menu.title;
        press(key{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE});
        frames(1);
        EXPECT_EQ(screen.open_menu, -1);
    }
    EXPECT_GE(menus, 5);
}

// A click on the view's centre hands the yoke to the pointer, which then
// flies the trainer: with the parking brake let off and the throttle pushed
// up on the panel, the pointer held a little below the centre lifts it off
// the runway.
TEST_F(PilotPath, TheMouseFliesTheTrainerOffTheRunway)
{
    hold_user_plane(ksbd_start_pose);
    press('1');
    frames(2);
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    // The view's centre: the middle of the windscreen, above the panel's top edge.
    ASSERT_EQ(a.acf_HUD_cntrx, 512.0f);
    ASSERT_GT(a.acf_HUD_cntry - 0.5f * screen.ui_top_margin, 520.0f);

    // The parking brake's button, then the throttle lever dragged to the top.
    if (f.parkbrake > 0.1f) click_at(290.0f, 60.0f);
    frames(1);
    EXPECT_LT(f.parkbrake, 0.1f);
    int throttle = -1;   // the throttle lever's slot: its handle stands at the bottom of its travel
    for (int s = 0; s < ACF_INS_SLOTS && throttle < 0; ++s)
        if (a.acf_ins_type[s] == INS_HAN_SLIDER_THRO_VERNIER) throttle = s;
    ASSERT_GE(throttle, 0);
    const float lever_x = a.acf_ins_x[throttle], lever_y = a.acf_ins_y[throttle];
    const float half_travel = 0.5f * a.acf_ins_dely[throttle];
    move_to(lever_x, lever_y - half_travel + 5.0f);
    button_down();
    frames(2);
    for (int k = 1; k <= 10; ++k) {
        move_to(lever_x, lever_y - half_travel + 5.0f + 0.2f * half_travel * static_cast<float>(k));
        frames(1);
    }
    button_up();
    frames(1);
    EXPECT_GT(f.ENGN_thro[0], 0.95f);

    // The yoke to the pointer, at the view's centre: neutral.
    click_at(a.acf_HUD_cntrx, a.acf_HUD_cntry);
    frames(2);
    ASSERT_EQ(sim_joystick.mouse_is_joystick, 1);
    EXPECT_NEAR(sim_joystick.yolk_pitch_ratio, 0.0f, 0.05f);
    EXPECT_NEAR(sim_joystick.yolk_roll_ratio, 0.0f, 0.05f);

    // The take-off run; past 55 knots the pointer a little below the centre.
    const unseen_frames unseen;
    const bool rotated = frames_until([&] { return f.indicated_airspeed > 55.0f; }, 500, 0.1);
    ASSERT_TRUE(rotated) << "the trainer did not reach flying speed";
    move_to(a.acf_HUD_cntrx, a.acf_HUD_cntry - 25.0f);
    const bool airborne = frames_until([&] { return f.y_agl > 15.0f; }, 600, 0.1);
    EXPECT_TRUE(airborne) << "the trainer did not climb away";
    EXPECT_GT(sim_joystick.yolk_pitch_ratio, 0.1f);
    // A click back on the centre lets go with the yoke neutral, also when the
    // pointer gets there and clicks within one frame.
    click_at(a.acf_HUD_cntrx, a.acf_HUD_cntry);
    frames(1);
    EXPECT_EQ(sim_joystick.mouse_is_joystick, 0);
    EXPECT_NEAR(sim_joystick.yolk_pitch_ratio, 0.0f, 0.05f);
    click_at(4.0f, 740.0f);
    frames(1);
}

// Every aircraft of the fleet puts its view's centre, where a click hands the
// yoke to the pointer, in the middle of the windscreen above its panel (the
// panels' top edges lie at 460 to 520). Each is read into the second plane's
// slot, which is put back afterwards.
TEST_F(PilotPath, EveryAircraftOfTheFleetCentresThePointersYokeOnTheWindscreen)
{
    const auto kept_acf = std::make_unique<acf_struct>(pln[1]);
    const auto kept_flt = std::make_unique<flt_struct>(flt[1]);
    int checked = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder->path() / "Aircraft")) {
        if (e.path().extension() != ".acf") continue;
        std::string colons = fs::relative(e.path(), folder->path()).string();
        std::replace(colons.begin(), colons.end(), '/', ':');
        const std::string path = folder->prefix() + colons;
        acf_struct& a = pln[1];
        UTIL_strcpy(path.c_str(), a.acf_file_path);
        ASSERT_NE(ACF_load_and_setup(1), 0) << path;
        EXPECT_EQ(a.acf_HUD_cntrx, 512.0f) << path;
        EXPECT_GT(a.acf_HUD_cntry, 560.0f) << path;
        EXPECT_LT(a.acf_HUD_cntry, 700.0f) << path;
        ++checked;
    }
    EXPECT_EQ(checked, 8);
    pln[1] = *kept_acf;
    flt[1] = *kept_flt;
}

// A first start without preferences asks for the language in a box; once it
// is answered, the first flying picture is the cockpit, the same picture a
// view key puts up, not the loading picture left behind a bare panel.
TEST(FirstStart, TheLanguageBoxIsFollowedByTheCockpit)
{
    const alert_handler_fn kept = MACIBM_get_alert_handler();
    MACIBM_set_alert_handler(nullptr);   // the real box, answered with Return
    use_pilot_clock();
    int box_frames = 0;
    inside_frames([&] {
        if (app_mode != MODE_ALERT) return false;
        if (++box_frames == 2) press(return_key());
        return box_frames >= 2;
    });
    const std::unique_ptr<temp_folder> data = copy_default_data_folder();
    fs::remove_all(data->path() / "Resources/preferences");
    start_program(*data);
    MACIBM_set_alert_handler(kept);
    EXPECT_EQ(box_frames, 2) << "the language box was not shown";
    // The pictures are compared where the panel lies, over the ground's part of the scene.
    const without_ground bare;

    hold_user_plane(ksbd_start_pose);
    frames(3);
    const picture first = read_picture();
    press('1');
    hold_user_plane(ksbd_start_pose);
    frames(3);
    const picture cockpit = read_picture();
    EXPECT_GT(alike(first, cockpit, 0, 0, cockpit.width, cockpit.height / 2), 0.95);

    stop_program();
    test_clock_hook = nullptr;
    test_calendar = nullptr;
}

// Airports picked from the list one after the other, each lower than the one
// before: the trainer stands on its wheels at each start (the surface found
// under it at the last airport is no ground at the next).
TEST_F(PilotPath, AStartFromTheAirportListStandsOnTheRunway)
{
    auto index_of = [](const char* id) {
        for (size_t i = 0; i < airport_table.size(); ++i)
            if (std::strncmp(airport_table[i].id, id, 4) == 0) return static_cast<int>(i);
        return -1;
    };
    const flt_struct& f = flt[0];
    for (const char* id : {"KSBD", "KONT", "KRAL", "KCNO"}) {
        SCOPED_TRACE(id);
        const int wanted = index_of(id);
        ASSERT_GE(wanted, 0);
        ASSERT_TRUE(choose_menu_item("Location", "Select Airport..."));
        frames(1);
        ASSERT_EQ(app_mode, MODE_AIRPORT_LIST);
        // The list's rows lie 10 units apart about the highlighted one, the airport flown from.
        click_at(80.0f, 184.0f - 10.0f * static_cast<float>(wanted - start_selection.airport_index));
        frames(1);
        ASSERT_EQ(start_selection.airport_index, wanted);
        click_at(247.0f, 28.0f);   // "Fly from here"
        frames(1);
        ASSERT_EQ(app_mode, MODE_FLYING);
        ASSERT_NEAR(f.latitude, airport_table[static_cast<size_t>(wanted)].runways[0].lat, 0.01);
        const float theta0 = f.theta;
        float worst_agl = 0.0f, worst_theta = 0.0f, worst_speed = 0.0f;
        const unseen_frames unseen;   // the trainer's state is looked at, not the picture
        for (int k = 0; k < 125; ++k) {   // 5 seconds
            frames(1);
            worst_agl = std::max(worst_agl, std::fabs(f.y_agl));
            worst_theta = std::max(worst_theta, std::fabs(f.theta - theta0));
            worst_speed = std::max(worst_speed, f.groundspeed);
        }
        EXPECT_LT(worst_agl, 0.5f);
        EXPECT_LT(worst_theta, 3.0f);
        EXPECT_LT(worst_speed, 1.0f);
    }
}

// The helicopter hovered by a pilot who acts twice a second: F6 and F5 add and
// take off a degree of collective, the pointer's yoke works the cyclic, the
// pedals are the program's own. Lifted off the runway to a hover, it holds
// 60 s within 10 ft of its height and 20 degrees of its heading, and the
// pedals never reach the end of their travel.
TEST_F(PilotPath, TheHelicopterHoversOnKeysAndThePointer)
{
    acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const std::string path = folder->prefix() + "Aircraft:Helicopters:Orvell Helicopter:Orvell Helicopter.acf";
    UTIL_strcpy(path.c_str(), a.acf_file_path);
    UTIL_strcpy("Orvell Helicopter.acf", a.acf_file_name);
    ASSERT_NE(ACF_load_and_setup(0), 0);
    const unseen_frames unseen;   // the hover is looked at in the state, not the picture
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    press('1');
    frames(2);
    click_at(a.acf_HUD_cntrx, a.acf_HUD_cntry);
    frames(2);
    ASSERT_EQ(sim_joystick.mouse_is_joystick, 1);

    constexpr double STEP = 0.05;   // s a frame; the pilot acts every tenth frame
    float most_pedal = 0.0f;
    // Half a second of frames, the pedals' largest deflection in the air kept.
    auto half_second = [&] {
        for (int k = 0; k < 10; ++k) {
            frames(1, STEP);
            if (!f.onground_any) most_pedal = std::max(most_pedal, std::fabs(f.FC_hdng));
        }
    };
    // The rotor up to its speed on the runway.
    for (int k = 0; k < 60; ++k) half_second();
    const float wanted_agl = 15.0f * 0.3048f;
    const float theta0 = f.theta;
    // The cyclic: the pointer's offset from the view's centre, 100 units full travel.
    // The attitude it asks for stops the drift over the ground: nose down to
    // go forward, a bank toward the side to move to.
    auto cyclic = [&] {
        const float s = std::sin(f.psi * 0.0174533f), c = std::cos(f.psi * 0.0174533f);
        const float forward = f.local_vx * s - f.local_vz * c, right = f.local_vx * c + f.local_vz * s;
        const float theta_wanted = theta0 + std::clamp(2.0f * forward, -8.0f, 8.0f);
        const float phi_wanted = std::clamp(-2.0f * right, -8.0f, 8.0f);
        const float pitch = std::clamp(0.04f * (theta_wanted - f.theta) - 0.02f * f.Q, -0.3f, 0.3f);
        const float roll = std::clamp(0.04f * (phi_wanted - f.phi) - 0.02f * f.P, -0.3f, 0.3f);
        move_to(a.acf_HUD_cntrx + 100.0f * roll, a.acf_HUD_cntry - 100.0f * pitch);
    };
    // The collective a degree at a time toward the height, its rate counted.
    auto collective = [&] {
        const float err = wanted_agl - f.y_agl - 1.5f * f.local_vy;
        if (err > 0.3f) press(function_key(6));
        else if (err < -0.3f) press(function_key(5));
    };
    for (int k = 0; k < 60 && f.y_agl < wanted_agl - 0.5f; ++k) {
        cyclic();
        collective();
        half_second();
    }
    ASSERT_GT(f.y_agl, wanted_agl - 1.0f) << "the helicopter did not lift off";
    for (int k = 0; k < 20; ++k) {   // settled in the hover
        cyclic();
        collective();
        half_second();
    }
    const float psi0 = f.psi;
    float worst_height = 0.0f, worst_heading = 0.0f;
    for (int k = 0; k < 120; ++k) {
        cyclic();
        collective();
        half_second();
        worst_height = std::max(worst_height, std::fabs(f.y_agl - wanted_agl));
        worst_heading = std::max(worst_heading, std::fabs(std::remainder(f.psi - psi0, 360.0f)));
    }
    EXPECT_LT(worst_height, 10.0f * 0.3048f);
    EXPECT_LT(worst_heading, 20.0f);
    EXPECT_LT(most_pedal, 0.99f);
    click_at(a.acf_HUD_cntrx, a.acf_HUD_cntry);
    frames(1);
}

namespace {

// The picture of the frame before and after its planes were drawn.
picture before_planes, after_planes;

int keep_planes_phase(int phase)
{
    if (phase == DRAW_PHASE_PLANES_BEFORE) before_planes = read_picture(true);
    if (phase == DRAW_PHASE_PLANES_AFTER) after_planes = read_picture(true);
    return 1;
}

}  // namespace

// The starts beside a second aircraft show it, also where the rendering
// settings draw one aircraft only (they raise the count, and say so): the
// leader of the formation and the tanker in the view, the mother ship above
// the view's centre and nothing of it below (the pixels its drawing phase
// changes). Carried at the mother ship's
// speed, where the glider's own wing would pull many g, the picture stays
// lit; the space bar drops the glider.
TEST_F(PilotPath, TheSecondAircraftOfAStartInCompanyIsInSight)
{
    acf_struct& a = pln[0];
    const std::string path = folder->prefix() + "Aircraft:Gliders:Orvell Glider:Orvell Glider.acf";
    UTIL_strcpy(path.c_str(), a.acf_file_path);
    UTIL_strcpy("Orvell Glider.acf", a.acf_file_name);
    ASSERT_NE(ACF_load_and_setup(0), 0);
    press('1');
    const int32_t drawn = sim_graphics_settings.draw_aircrafts;
    const int centre = static_cast<int>(a.acf_HUD_cntry);
    int above = 0, below = 0;   // the pixels the second aircraft's drawing changes, by the view's centre
    for (const char* start : {"Formation Flight", "Air Refuelling 1", "Drop from Mother Ship"}) {
        SCOPED_TRACE(start);
        sim_graphics_settings.draw_aircrafts = 1;
        clear_alerts();
        ASSERT_TRUE(choose_menu_item("Location", "Formation and Towing", start));
        {
            const unseen_frames unseen;   // the carried glider's frames before the one looked at
            frames(start[0] == 'D' ? 100 : 3);
        }
        plugin_host.entries.drawing = keep_planes_phase;
        frames(1);
        plugin_host.entries.drawing = nullptr;
        above = below = 0;
        for (int y = 0; y < after_planes.height; ++y)
            for (int x = 0; x < after_planes.width; ++x) {
                const picture::colour p = after_planes.at(x, y), q = before_planes.at(x, y);
                (y > centre ? above : below) += p.r != q.r || p.g != q.g || p.b != q.b;
            }
        // A glider leader 0.2 nm ahead covers a dozen or so pixels, fewer as
        // its random heading turns it against the light; hidden, it covers none.
        EXPECT_GT(above + below, 4);
        EXPECT_TRUE(!recorded_alerts.empty() && recorded_alerts[0].lines[0] == "Drawing of other aircraft");
        const picture shown = read_picture();
        EXPECT_GT(shown.count([](picture::colour c) { return c.r + c.g + c.b > 150; }), shown.width * shown.height / 2);
    }
    EXPECT_GT(above, 500);   // the mother ship
    EXPECT_EQ(below, 0);
    // Let go, the glider flies free of its place under the mother ship: both
    // fly the same speed, trimmed, so it drifts from that place slowly.
    auto offset = [] {
        return std::array<double, 3>{flt[0].local_x - flt[1].local_x, flt[0].local_y - flt[1].local_y,
                                     flt[0].local_z - flt[1].local_z};
    };
    const std::array<double, 3> carried = offset();
    press(' ');
    {
        const unseen_frames unseen;
        frames(150);
    }
    EXPECT_EQ(launch_flags.mothership_carried, 0);
    const std::array<double, 3> free = offset();
    const double drift = std::hypot(free[0] - carried[0], free[1] - carried[1], free[2] - carried[2]);
    EXPECT_GT(drift, 2.0);
    sim_graphics_settings.draw_aircrafts = drawn;
}
