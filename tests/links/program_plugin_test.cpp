// Plug-ins in the started program (the default data folder, the trainer in the
// forward view with its panel): a plug-in answering 0 before the panel keeps it
// from being drawn while the after-panel phase still comes, and a plug-in that
// writes bad values through the published names frame after frame (counts and
// indices far out of range, not-a-number floats, huge numbers into every
// integer) leaves the frames running and the scenery quick to reload.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/constants.h"
#include "core/draw_phases.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "links/plugin_host.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/support/gl_view.h"
#include "tests/support/plugin_capture.h"
#include "tests/support/startup_program.h"

namespace {

namespace fs = std::filesystem;
constexpr int W = 1024, H = 768;

std::map<std::string, ORPM_data_ref>& names = captured_data_refs;

// What the test's plug-in saw and answers.
struct plugin_state {
    int calls[20] = {};
    int panel_answer = 1;
    void (*each_frame)() = nullptr;
} plugin;

class PluginProgram : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static inline fs::path kept_cwd;
    static inline plugin_manager_entries kept_entries;

    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};
        folder = copy_default_data_folder();
        kept_cwd = fs::current_path();
        fs::current_path(folder->path());
        start_program(*folder);
        kept_entries = plugin_host.entries;
        names.clear();
        plugin_host.entries.register_data = capture_data_ref;
        PLUGIN_register_datarefs();
        plugin_host.entries = kept_entries;
    }
    static void TearDownTestSuite()
    {
        stop_program();
        fs::current_path(kept_cwd);
        folder.reset();
    }
    void SetUp() override
    {
        MACIBM_pump_messages();
        plugin = plugin_state{};
        plugin_host.entries.drawing = [](int phase) {
            if (phase >= 0 && phase < 20) ++plugin.calls[phase];
            if (phase == DRAW_PHASE_SCENE_BEFORE && plugin.each_frame) plugin.each_frame();
            return phase == DRAW_PHASE_PANEL_BEFORE ? plugin.panel_answer : 1;
        };
        sim_graphics_view.view_type = VIEW_FORWARD;
        APPLICATION_set_mode(MODE_FLYING, "from test");
        sim_time.paused = 1;   // the same picture frame after frame
    }
    void TearDown() override
    {
        plugin_host.entries = kept_entries;
        sim_time.paused = 0;
    }
    static void frame() { test_clock_seconds += 0.04, MACIBM_do_frame(); }
    static std::vector<unsigned char> frame_pixels()
    {
        frame();
        return window_pixels(GL_FRONT);
    }
    // Pixels of the lower half (where the panel stands) that differ.
    static int lower_half_changes(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        int n = 0;
        for (size_t i = 0; i < size_t(W) * H / 2; ++i)
            n += std::abs(a[4 * i] - b[4 * i]) + std::abs(a[4 * i + 1] - b[4 * i + 1]) +
                     std::abs(a[4 * i + 2] - b[4 * i + 2]) > 24;
        return n;
    }
};

TEST_F(PluginProgram, AnsweringZeroBeforeThePanelLeavesItUndrawn)
{
    frame();
    const auto with_panel = frame_pixels();
    EXPECT_EQ(lower_half_changes(with_panel, frame_pixels()), 0) << "the same frame twice";
    const int after_panel = plugin.calls[DRAW_PHASE_PANEL_AFTER];
    EXPECT_GE(plugin.calls[DRAW_PHASE_PANEL_BEFORE], 3);

    plugin.panel_answer = 0;
    const auto without = frame_pixels();
    EXPECT_GT(lower_half_changes(with_panel, without), W * H / 64) << "the panel's faces and instruments are gone";
    EXPECT_EQ(plugin.calls[DRAW_PHASE_PANEL_AFTER], after_panel + 1);
    EXPECT_EQ(lower_half_changes(without, frame_pixels()), 0);

    plugin.panel_answer = 1;
    EXPECT_EQ(lower_half_changes(with_panel, frame_pixels()), 0);
}

// The plug-in writes, before every scene: 1,000 planes to draw, 99 into every
// failure state, 77 as the DME source, huge or negative numbers into the
// selectors and indices the program looks things up by, and not-a-number into
// the values the instruments, the autopilot and the weather read. The frames
// go on, sanitizer-clean.
const char* const INDICES[] = {
    "sim/cockpit/switches/HSI_selector", "sim/cockpit/switches/RMI_selector",
    "sim/cockpit/switches/EFIS_map_range_selector", "sim/cockpit/switches/EFIS_map_mode",
    "sim/cockpit/switches/ECAM_mode", "sim/cockpit/switches/auto_brake_settings",
    "sim/cockpit/switches/auto_feather_mode", "sim/cockpit/switches/audio_panel_out",
    "sim/cockpit/radios/nav_type", "sim/cockpit/radios/transponder_mode", "sim/cockpit/engine/fuel_tank_selector",
    "sim/cockpit/gps/destination_type", "sim/cockpit/gps/destination_index", "sim/cockpit/gps/airport_index",
    "sim/cockpit/gps/vor_index", "sim/cockpit/gps/ndb_index", "sim/cockpit/gps/fix_index",
    "sim/cockpit/autopilot/airspeed_mode", "sim/cockpit/autopilot/heading_mode",
    "sim/cockpit/autopilot/altitude_mode", "sim/cockpit/weapons/plane_target_index",
    "sim/cockpit/weapons/firing_mode", "sim/joystick/joystick_axis_assignments",
    "sim/joystick/joystick_button_assignments", "sim/operation/prefs/misc/language",
    "sim/private/net_disables/ai_loc", "sim/operation/override/override_planepath",
};
const char* const VALUES[] = {
    "sim/cockpit/autopilot/airspeed", "sim/cockpit/autopilot/heading_mag", "sim/cockpit/autopilot/altitude",
    "sim/cockpit/autopilot/vertical_velocity", "sim/cockpit/misc/barometer_setting",
    "sim/cockpit/radios/nav1_obs_degm", "sim/cockpit/radios/nav1_course_degt", "sim/cockpit/radios/nav1_dme_dist_m",
    "sim/weather/wind_speed_kt[0]", "sim/weather/wind_direction_degt[1]", "sim/weather/visibility_reported_m",
    "sim/flightmodel/engine/ENGN_thro", "sim/flightmodel/weight/m_fuel1", "sim/joystick/joystick_axis_values",
    "sim/multiplayer/position/plane1_x", "sim/multiplayer/position/plane1_psi", "sim/graphics/view/field_of_view_deg",
};

TEST_F(PluginProgram, BadValuesWrittenThroughTheNamesLeaveTheFramesRunning)
{
    ASSERT_EQ(names.size(), 1289u);
    static int round;
    round = 0;
    plugin.each_frame = [] {
        ++round;
        const int big = round % 2 ? 1 << 30 : -(1 << 30);
        const float bad = round % 3 == 0 ? std::numeric_limits<float>::quiet_NaN() : round % 3 == 1 ? 1e30f : -1e30f;
        std::vector<int> ints(300, big);
        std::vector<float> floats(300, bad);
        for (const char* name : INDICES) {
            const ORPM_data_ref& r = names.at(name);
            if (r.type == ORPM_TYPE_INT) r.set_int(r.write_context, big);
            else r.set_int_array(r.write_context, ints.data(), 0, int(ints.size()));
        }
        for (const char* name : VALUES) {
            const ORPM_data_ref& r = names.at(name);
            if (r.type == ORPM_TYPE_FLOAT) r.set_float(r.write_context, bad);
            else r.set_float_array(r.write_context, floats.data(), 0, int(floats.size()));
        }
        const ORPM_data_ref& planes = names.at("sim/graphics/settings/draw_aircrafts");
        planes.set_int(planes.write_context, 1000);
        const ORPM_data_ref& failures = names.at("sim/operation/failures/failures");
        std::vector<int> states(200, 99);
        failures.set_int_array(failures.write_context, states.data(), 0, 200);
        const ORPM_data_ref& dme = names.at("sim/cockpit/switches/DME_radio_selector");
        dme.set_int(dme.write_context, 77);
    };
    sim_time.paused = 0;
    for (int k = 0; k < 60; ++k) frame();
    EXPECT_EQ(round, 60);
    EXPECT_EQ(app_mode, MODE_FLYING);
}

// Huge numbers, positive for ten passes and then negative, into every integer
// and integer array a plug-in can write: the planet keeps the Earth, the frames
// go on, sanitizer-clean, and the plug-in's scenery reload takes a moment.
// Every value comes back at the end.
TEST_F(PluginProgram, HugeNumbersInEveryIntegerLeaveTheFramesRunningAndTheReloadQuick)
{
    struct kept_value {
        const ORPM_data_ref* ref;
        std::vector<int> values;
    };
    static std::vector<kept_value> kept;
    kept.clear();
    for (const auto& [name, r] : names) {
        if (r.type == ORPM_TYPE_INT) kept.push_back({&r, {r.get_int(r.read_context)}});
        if (r.type == ORPM_TYPE_INT_ARRAY) {
            std::vector<int> v(size_t(r.get_int_array(r.read_context, nullptr, 0, 0)));
            r.get_int_array(r.read_context, v.data(), 0, int(v.size()));
            kept.push_back({&r, v});
        }
    }
    static int round;
    round = 0;
    plugin.each_frame = [] {
        const int big = ++round <= 10 ? 1 << 30 : -(1 << 30);
        std::vector<int> ints(1000, big);
        for (const kept_value& k : kept) {
            if (k.ref->type == ORPM_TYPE_INT) k.ref->set_int(k.ref->write_context, big);
            else k.ref->set_int_array(k.ref->write_context, ints.data(), 0, int(ints.size()));
        }
    };
    sim_time.paused = 0;
    for (int k = 0; k < 16; ++k) frame();
    plugin.each_frame = nullptr;
    EXPECT_GE(round, 16);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(sim_graphics_scenery.current_planet, PLANET_EARTH);

    PLUGIN_fill_host_table();
    const auto start = std::chrono::steady_clock::now();
    PLUGIN_host_table.reload_scenery();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
    frame();
    EXPECT_EQ(app_mode, MODE_FLYING);

    for (kept_value& k : kept) {
        if (k.ref->type == ORPM_TYPE_INT) k.ref->set_int(k.ref->write_context, k.values[0]);
        else k.ref->set_int_array(k.ref->write_context, k.values.data(), 0, int(k.values.size()));
    }
    frame();
}

// An open menu asks the plug-ins which items are enabled: the enabled ones are
// written in colour 40, the ones a plug-in disables in colour 41.
TEST_F(PluginProgram, MenuItemsAPluginDisablesAreWrittenInTheDisabledColour)
{
    const menu_record& menu = menu_table[0];
    std::vector<int> items;
    for (int i = 0; i < MENU_ITEMS && items.size() < 2; ++i)
        if (menu.items[i].text[0] && menu.items[i].text[0] != '-' && menu.items[i].text[0] != '=') items.push_back(i);
    ASSERT_EQ(items.size(), 2u);
    static int disabled;
    disabled = items[1];
    plugin_host.entries.menu_item_enabled = [](int, int item) { return item == disabled ? 0 : 1; };
    mouse.mouse_x = 900.0f, mouse.mouse_y = 100.0f;   // hovering over nothing
    screen.open_menu = 0;
    const std::vector<unsigned char> px = frame_pixels();
    screen.open_menu = -1;
    // The brightest pixel of an item's box: its text, the font's brightest
    // texel times the item's colour.
    const auto brightest = [&](const menu_item_record& item) {
        std::array<int, 3> best{};
        for (int y = int(item.bottom); y < int(item.top); ++y)
            for (int x = int(item.left); x < int(item.right); ++x) {
                const unsigned char* p = &px[4 * (size_t(y) * W + size_t(x))];
                if (p[0] + p[1] + p[2] > best[0] + best[1] + best[2]) best = {p[0], p[1], p[2]};
            }
        return best;
    };
    const std::array<int, 3> on = brightest(menu.items[items[0]]), off = brightest(menu.items[items[1]]);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(float(on[k]) / float(std::max(off[k], 1)), colour_table[40][k] / colour_table[41][k], 0.05f) << k;
}

// The check-menu hook gets each shown item's check state preset to -1 ("no mark").
TEST_F(PluginProgram, TheCheckMenuHookSeesEachStatePresetToMinusOne)
{
    static std::vector<int> presets;
    presets.clear();
    plugin_host.entries.check_menu = [](int, int, int* state) {
        presets.push_back(*state);
        return 1;
    };
    mouse.mouse_x = 900.0f, mouse.mouse_y = 100.0f;
    screen.open_menu = 0;
    frame_pixels();
    screen.open_menu = -1;
    ASSERT_FALSE(presets.empty());
    EXPECT_EQ(std::count(presets.begin(), presets.end(), -1), static_cast<long>(presets.size()));
}

}  // namespace
