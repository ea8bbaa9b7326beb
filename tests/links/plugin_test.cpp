// The plug-in host: loading managers laid out beside a program folder, the
// hooks, the data accessors as a manager receives them, the navigation and
// flight-plan callbacks, the host callbacks, and our manager with the sample
// plug-in.
#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/constants.h"
#include "core/draw_phases.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/font.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"
#include "core/menu_table.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/flight_plan.h"
#include "graphics/ogl_state.h"
#include "links/plugin_host.h"
#include "links/plugin_nav.h"
#include "links/plugin_threads.h"
#include "panel/controls/controls.h"
#include "shell/main.h"
#include "shell/menus.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/plugin_capture.h"
#include "tests/support/test_support.h"
#include "world/navdb.h"

namespace fs = std::filesystem;

namespace {

// What the program registered, as a manager sees it.
std::map<std::string, ORPM_data_ref>& registered = captured_data_refs;

// The recording test manager's record (tests/fixtures/plugin_managers.cpp).
struct recorded {
    int registrations;
    int by_type[64];
    int not_writable;
    int registered_before_init;
    ORPM_host_table* table;
    int shutdowns;
    int run_type[16];
    int run_length[16];
    int runs;
};

class PluginHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        PLUGIN_host_reset();
        app_mode = 0;
        screen.open_menu = -1;
        screen.ui_top_margin = 0.0f;
        for (int m = MENU_FIRST_PLUGIN; m < MENU_COUNT; ++m) menu_table[m] = menu_record{};
        registered.clear();
    }
    void TearDown() override
    {
        PLUGIN_host_reset();
        NAV_clear_tables();
        app_mode = 0;
    }
    // A program folder whose plug-in folder holds `manager` as ORPM.so (the
    // folder names in another case: the lookup is case-blind).
    void lay_out(const char* manager, const char* plugin = nullptr)
    {
        const fs::path plugins = folder_.path() / "RESOURCES" / "Plugins";
        fs::create_directories(plugins / "modules");
        fs::copy_file(manager, plugins / "ORPM.so");
        if (plugin) fs::copy_file(plugin, plugins / "modules" / "sample.so");
    }
    static recorded& record()
    {
        return *static_cast<recorded*>(dlsym(plugin_host.manager_library, "test_manager_record"));
    }
    temp_folder folder_;
};

// ---------------------------------------------------------------------------
TEST_F(PluginHost, WithoutAManagerEveryHookLetsTheProgramGoOn)
{
    PLUGIN_load(folder_.prefix().c_str());
    EXPECT_EQ(plugin_host.entries.initialize, nullptr);
    EXPECT_EQ(plugin_host.manager_library, nullptr);
    EXPECT_EQ(plugin_host.widget_library, nullptr);
    float v[7] = {};
    int state = -1;
    EXPECT_EQ(PLUGIN_call_draw_hook(15), 1);
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(10, 10, 1), 1);
    EXPECT_EQ(PLUGIN_call_key_press_hook(0x100, 65, 0), 1);
    EXPECT_EQ(PLUGIN_call_event_hook(0, 1.0f, 0, 0, 0), 1);
    EXPECT_EQ(PLUGIN_call_camera_hook(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]), 1);
    EXPECT_EQ(PLUGIN_call_menu_hook(1000), 1);
    EXPECT_EQ(PLUGIN_call_check_menu_hook(3, 4, &state), 1);
    EXPECT_EQ(PLUGIN_call_menu_item_enabled(3, 4), 1);
    EXPECT_EQ(PLUGIN_call_num_planes(7, 0), 7);
    PLUGIN_call_update_plane_path(1, "A.acf", "AIRCRAFT:A.acf");
    PLUGIN_call_shutdown();

    // A manager without its initialise entry is none: its other entries stay unset.
    lay_out(TEST_MANAGER_NO_INIT);
    PLUGIN_load(folder_.prefix().c_str());
    const plugin_manager_entries none;
    EXPECT_EQ(std::memcmp(&plugin_host.entries, &none, sizeof none), 0);
    PLUGIN_call_shutdown();
    EXPECT_EQ(record().shutdowns, 0);
}

TEST_F(PluginHost, AManagerGetsEveryNameBeforeItStartsAndTheWholeTable)
{
    lay_out(TEST_MANAGER_RECORDER);
    PLUGIN_load(folder_.prefix().c_str());
    ASSERT_NE(plugin_host.entries.initialize, nullptr);
    // The fourteen entries, each found by its own name.
    const plugin_manager_entries& e = plugin_host.entries;
    const bool found[14] = {e.initialize != nullptr,     e.shutdown != nullptr,   e.drawing != nullptr,
                            e.mouse_click != nullptr,    e.key_press != nullptr,  e.event != nullptr,
                            e.camera != nullptr,         e.register_data != nullptr, e.unregister_data != nullptr,
                            e.menu != nullptr,           e.check_menu != nullptr, e.menu_item_enabled != nullptr,
                            e.num_planes != nullptr,     e.update_plane_path != nullptr};
    for (int k = 0; k < 14; ++k) EXPECT_TRUE(found[k]) << k;
    const recorded& r = record();
    EXPECT_EQ(r.registrations, 1290);
    EXPECT_EQ(PLUGIN_dataref_count(), 1290);
    EXPECT_EQ(r.registered_before_init, r.registrations);
    EXPECT_EQ(r.not_writable, 0);
    EXPECT_EQ(r.by_type[ORPM_TYPE_DOUBLE], 0);
    // The seven runs in order: integers, floats, float arrays, integer arrays,
    // bytes, then the computed integer and the computed floats (100 + type).
    // The pre-rotation level, an integer word, is in the integer run.
    const int types[] = {1, 2, 8, 16, 32, 101, 102}, lengths[] = {318, 686, 220, 49, 9, 1, 7};
    ASSERT_EQ(r.runs, 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(r.run_type[i], types[i]) << i;
        EXPECT_EQ(r.run_length[i], lengths[i]) << i;
    }

    // The table as bytes: version, size, and slot 50 the GPS destination.
    ASSERT_EQ(r.table, &PLUGIN_host_table);
    const auto* bytes = reinterpret_cast<const unsigned char*>(r.table);
    int32_t version, size;
    std::memcpy(&version, bytes, 4);
    std::memcpy(&size, bytes + 4, 4);
    EXPECT_EQ(version, 2);
    EXPECT_EQ(size, 416);
    int (*gps_dest)();
    std::memcpy(&gps_dest, bytes + ORPM_host_slot_offset(50), sizeof gps_dest);
    sim_cockpit_gps.destination_type = 1, sim_cockpit_gps.destination_index = 3;
    EXPECT_EQ(gps_dest(), 0x1000003);
    sim_cockpit_gps.destination_type = 11;
    EXPECT_EQ(gps_dest(), 0x2000003);
    // Every slot is filled.
    for (int s = 0; s < ORPM_HOST_SLOTS; ++s) {
        void* p;
        std::memcpy(&p, bytes + ORPM_host_slot_offset(s), sizeof p);
        EXPECT_NE(p, nullptr) << s;
    }
    PLUGIN_call_shutdown();
    EXPECT_EQ(record().shutdowns, 1);
}

TEST_F(PluginHost, AManagerWithOnlyItsStartGetsTheTableAndNoNames)
{
    lay_out(TEST_MANAGER_INIT_ONLY);
    PLUGIN_load(folder_.prefix().c_str());
    ASSERT_NE(plugin_host.entries.initialize, nullptr);
    EXPECT_EQ(record().registrations, 0);
    EXPECT_EQ(record().table->version, 2);
    EXPECT_EQ(PLUGIN_call_draw_hook(17), 1);
    EXPECT_EQ(PLUGIN_call_num_planes(7, 0), 7);
    PLUGIN_call_shutdown();   // absent: never called through null
}

// ---------------------------------------------------------------------------
struct hook_log {
    int draws = 0, clicks = 0, keys = 0, events = 0;
    int last_x = 0, last_y = 0, last_status = -1;
    int event_code[8] = {}, event_param[8] = {};
    float event_time[8] = {};
    int answer = 1;
} hooks;

TEST_F(PluginHost, HooksGoToTheManagerOnlyWhileFlyingExceptEvents)
{
    hooks = hook_log{};
    plugin_manager_entries& e = plugin_host.entries;
    e.drawing = [](int) { return ++hooks.draws, 0; };
    e.key_press = [](int, int, int) { return ++hooks.keys, 0; };
    e.mouse_click = [](int x, int y, int status) {
        ++hooks.clicks, hooks.last_x = x, hooks.last_y = y, hooks.last_status = status;
        return hooks.answer;
    };
    e.event = [](int code, float time, int zero, int param, int zero2) {
        const int n = hooks.events++ % 8;
        hooks.event_code[n] = code, hooks.event_time[n] = time, hooks.event_param[n] = param;
        return 1;
    };

    // The camera: an answer of 0 takes it for the frame and clears the scene's camera-control words.
    float v[7] = {};
    for (const int answer : {1, 0}) {
        hooks.answer = answer;
        e.camera = [](float*, float*, float*, float*, float*, float*, float*) { return hooks.answer; };
        sim_private_camera.control_words[0] = 3, sim_private_camera.control_words[1] = 4;
        EXPECT_EQ(PLUGIN_call_camera_hook(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]), answer);
        EXPECT_EQ(sim_private_camera.control_words[0], answer ? 3 : 0);
        EXPECT_EQ(sim_private_camera.control_words[1], answer ? 4 : 0);
    }
    hooks.answer = 1;

    app_mode = 2;   // a screen is up
    EXPECT_EQ(PLUGIN_call_draw_hook(15), 1);
    EXPECT_EQ(PLUGIN_call_key_press_hook(0x100, 65, 0), 1);
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(100, 100, 1), 1);
    PLUGIN_call_event_hook(6, 2.5f, 0, 0, 0);
    EXPECT_EQ(hooks.draws + hooks.keys + hooks.clicks, 0);
    EXPECT_EQ(hooks.events, 1);

    app_mode = 0;
    EXPECT_EQ(PLUGIN_call_draw_hook(15), 0);
    EXPECT_EQ(PLUGIN_call_key_press_hook(0x100, 65, 0), 0);
    for (int code : {0, 1, 4}) PLUGIN_call_event_hook(code, 3.0f + code, 0, 0, 0);
    PLUGIN_call_event_hook(3, 9.0f, 0, 5, 0);
    const int codes[] = {6, 0, 1, 4, 3}, params[] = {0, 0, 0, 0, 5};
    const float times[] = {2.5f, 3.0f, 4.0f, 7.0f, 9.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(hooks.event_code[i], codes[i]);
        EXPECT_EQ(hooks.event_param[i], params[i]);
        EXPECT_FLOAT_EQ(hooks.event_time[i], times[i]);
    }

    // A press on the menu bar is the program's.
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(100, 760, 1), 1);
    EXPECT_EQ(hooks.clicks, 0);
    // A press the plug-in takes; its release above the bar reaches it on the line.
    hooks.answer = 0;
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(100, 700, 1), 0);
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(100, 765, 0), 0);
    EXPECT_EQ(hooks.clicks, 2);
    EXPECT_EQ(hooks.last_y, 750);
    EXPECT_EQ(hooks.last_status, 0);
    // The flag went with that release: the next release above the bar is the program's.
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(100, 765, 0), 1);
    EXPECT_EQ(hooks.clicks, 2);

    // An open menu takes every click inside the box around its items, even between them.
    menu_record& m = menu_table[MENU_FIRST_PLUGIN];
    std::strcpy(m.items[0].text, "One");
    m.items[0].left = 100, m.items[0].right = 200, m.items[0].bottom = 600, m.items[0].top = 620;
    std::strcpy(m.items[1].text, "Two");
    m.items[1].left = 100, m.items[1].right = 200, m.items[1].bottom = 560, m.items[1].top = 580;
    screen.open_menu = MENU_FIRST_PLUGIN;
    for (int y : {560, 590, 620}) EXPECT_EQ(PLUGIN_call_mouse_click_hook(150, y, 1), 1) << y;
    for (int x : {100, 200}) EXPECT_EQ(PLUGIN_call_mouse_click_hook(x, 590, 1), 1) << x;   // its side edges too
    EXPECT_EQ(hooks.clicks, 2);
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(201, 590, 1), 0);
    EXPECT_EQ(hooks.clicks, 3);
    EXPECT_EQ(PLUGIN_call_mouse_click_hook(201, 590, 0), 0);   // the release clears the flag again
    EXPECT_EQ(plugin_host.press_flag, 0);
}

// ---------------------------------------------------------------------------
class PluginData : public PluginHost {
protected:
    void SetUp() override
    {
        PluginHost::SetUp();
        plugin_host.entries.register_data = capture_data_ref;
        PLUGIN_register_datarefs();
    }
    const ORPM_data_ref& ref(const char* name)
    {
        const auto it = registered.find(name);
        EXPECT_NE(it, registered.end()) << name;
        static const ORPM_data_ref none{};
        return it == registered.end() ? none : it->second;
    }
};

TEST_F(PluginData, ArraysBytesAndComputedValues)
{
    EXPECT_EQ(static_cast<int>(registered.size()), PLUGIN_dataref_count());

    const ORPM_data_ref& tail = ref("sim/aircraft/view/acf_tailnum");
    ASSERT_EQ(tail.type, ORPM_TYPE_BYTES);
    EXPECT_EQ(tail.get_bytes(tail.read_context, nullptr, 0, 0), 40);
    std::strcpy(pln[0].acf_tailnum, "OV-TRN");
    char out[64];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(tail.get_bytes(tail.read_context, out, 0, 64), 40);
    EXPECT_STREQ(out, "OV-TRN");
    // Negative offsets and maxima copy nothing (they would reach outside the field).
    EXPECT_EQ(tail.get_bytes(tail.read_context, out, -4, 8), 0);
    EXPECT_EQ(tail.get_bytes(tail.read_context, out, 0, -1), 0);
    tail.set_bytes(tail.write_context, out, -4, 8);
    tail.set_bytes(tail.write_context, const_cast<char*>("ABCD"), 38, 4);   // only two bytes fit
    EXPECT_EQ(pln[0].acf_tailnum[38], 'A');
    EXPECT_EQ(pln[0].acf_tailnum[39], 'B');

    const ORPM_data_ref& thro = ref("sim/flightmodel/engine/ENGN_thro");
    ASSERT_EQ(thro.type, ORPM_TYPE_FLOAT_ARRAY);
    EXPECT_EQ(thro.get_float_array(thro.read_context, nullptr, 0, 0), 8);
    for (int i = 0; i < 8; ++i) flt[0].ENGN_thro[i] = 0.1f * i;
    float f[10] = {};
    EXPECT_EQ(thro.get_float_array(thro.read_context, f, 5, 10), 3);
    EXPECT_FLOAT_EQ(f[0], 0.5f);
    EXPECT_FLOAT_EQ(f[2], 0.7f);
    EXPECT_FLOAT_EQ(f[3], 0.0f);
    EXPECT_EQ(thro.get_float_array(thro.read_context, f, 8, 10), 0);
    EXPECT_EQ(thro.get_float_array(thro.read_context, f, -1, 3), 0);

    // Runs published shorter than their fields: the first 137 failure slots,
    // the first 228 words of the dynamic-pressure factors, 64 of the 96
    // buttons, the first 73 bytes of the steering words.
    const struct {
        const char* name;
        int count;
    } short_runs[] = {{"sim/operation/failures/failures", 137},
                      {"sim/flightmodel/misc/Q_centroid_MULT", 228},
                      {"sim/joystick/joystick_button_values", 64},
                      {"sim/joystick/joystick_button_assignments", 64},
                      {"sim/aircraft/overflow/acf_gear_steers", 73}};
    for (const auto& run : short_runs) {
        const ORPM_data_ref& r = ref(run.name);
        const int n = r.type == ORPM_TYPE_BYTES       ? r.get_bytes(r.read_context, nullptr, 0, 0)
                    : r.type == ORPM_TYPE_INT_ARRAY ? r.get_int_array(r.read_context, nullptr, 0, 0)
                                                    : r.get_float_array(r.read_context, nullptr, 0, 0);
        EXPECT_EQ(n, run.count) << run.name;
    }

    const ORPM_data_ref& heading = ref("sim/cockpit/autopilot/heading");
    sim_flightmodel_position.magnetic_variation = -5.0f;
    heading.set_float(heading.write_context, 90.0f);
    EXPECT_FLOAT_EQ(sim_cockpit_autopilot.heading_mag, 85.0f);
    EXPECT_FLOAT_EQ(heading.get_float(heading.read_context), 90.0f);

    const ORPM_data_ref& ap = ref("sim/cockpit/autopilot/autopilot_state");
    sim_cockpit_autopilot.airspeed_mode = 10, sim_cockpit_autopilot.heading_mode = 12;
    sim_cockpit_autopilot.altitude_mode = 15, sim_cockpit_autopilot.hnav_mode = 19;
    sim_cockpit_autopilot.vnav_mode = 20;
    EXPECT_EQ(ap.get_int(ap.read_context), 1 + 4 + 32 + 512 + 1024);
    ap.set_int(ap.write_context, 0);
    EXPECT_EQ(ap.get_int(ap.read_context), 1 + 4 + 32 + 512 + 1024);

    // Every bit of the autopilot word by its mode value.
    const struct {
        int airspeed, heading, altitude, hnav, vnav, word;
    } modes[] = {{10, 11, 13, 18, 21, 1 + 2 + 8 + 256 + 2048}, {9, 9, 14, 9, 9, 16}, {9, 9, 16, 9, 9, 64},
                 {9, 9, 17, 9, 9, 128}, {11, 10, 12, 20, 19, 0}};
    for (const auto& m : modes) {
        sim_cockpit_autopilot.airspeed_mode = m.airspeed, sim_cockpit_autopilot.heading_mode = m.heading;
        sim_cockpit_autopilot.altitude_mode = m.altitude, sim_cockpit_autopilot.hnav_mode = m.hnav;
        sim_cockpit_autopilot.vnav_mode = m.vnav;
        EXPECT_EQ(ap.get_int(ap.read_context), m.word) << m.word;
    }

    // The true-bearing names read their magnetic value less the variation.
    sim_cockpit_radios.nav1_obs_degm = 10.0f, sim_cockpit_radios.nav2_obs_degm = 20.0f;
    sim_cockpit_radios.adf1_obs_card_mag = 30.0f, sim_cockpit_radios.adf2_obs_card_mag = 40.0f;
    const char* bearings[] = {"sim/cockpit/radios/nav1_obs_degt", "sim/cockpit/radios/nav2_obs_degt",
                              "sim/cockpit/radios/adf1_obs_card", "sim/cockpit/radios/adf2_obs_card"};
    for (int k = 0; k < 4; ++k) {
        const ORPM_data_ref& b = ref(bearings[k]);
        EXPECT_FLOAT_EQ(b.get_float(b.read_context), 10.0f * (k + 1) + 5.0f) << bearings[k];
    }
    const ORPM_data_ref& current = ref("sim/weather/barometer_current_inhg");
    sim_physics.ambient_pressure = 50000.0f;
    EXPECT_NEAR(current.get_float(current.read_context), 50000.0f * 0.00029528743f, 1e-4f);

    const ORPM_data_ref& baro = ref("sim/weather/barometer_sealevel_inhg");
    sim_physics.earth_pressure_p = 101325.0f;
    EXPECT_NEAR(baro.get_float(baro.read_context), 29.92f, 0.005f);
    baro.set_float(baro.write_context, 30.0f);
    EXPECT_NEAR(sim_physics.earth_pressure_p, 101595.9f, 0.5f);

    // Scalars read and write the variable itself, without checks.
    const ORPM_data_ref& planes = ref("sim/graphics/settings/draw_aircrafts");
    planes.set_int(planes.write_context, 1000);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 1000);
    sim_graphics_settings.draw_aircrafts = 1;
}

// Every name reads its whole extent and takes the same value back: under the
// address sanitizer a name pointing outside a live variable fails here.
TEST_F(PluginData, EveryNameReadsAndWritesALiveVariable)
{
    EXPECT_EQ(registered.size(), 1290u);
    std::vector<char> buffer;
    for (const auto& [name, r] : registered) {
        SCOPED_TRACE(name);
        EXPECT_EQ(name.rfind("sim/", 0), 0u);
        switch (r.type) {
        case ORPM_TYPE_INT: r.set_int(r.write_context, r.get_int(r.read_context)); break;
        case ORPM_TYPE_FLOAT: r.set_float(r.write_context, r.get_float(r.read_context)); break;
        case ORPM_TYPE_FLOAT_ARRAY:
        case ORPM_TYPE_INT_ARRAY:
        case ORPM_TYPE_BYTES: {
            const bool bytes = r.type == ORPM_TYPE_BYTES;
            const int n = bytes ? r.get_bytes(r.read_context, nullptr, 0, 0)
                        : r.type == ORPM_TYPE_INT_ARRAY ? r.get_int_array(r.read_context, nullptr, 0, 0)
                                                        : r.get_float_array(r.read_context, nullptr, 0, 0);
            ASSERT_GT(n, 0);
            buffer.assign(size_t(n) * (bytes ? 1 : 4), 0);
            if (bytes) {
                EXPECT_EQ(r.get_bytes(r.read_context, buffer.data(), 0, n), n);
                r.set_bytes(r.write_context, buffer.data(), 0, n);
            } else if (r.type == ORPM_TYPE_INT_ARRAY) {
                auto* v = reinterpret_cast<int*>(buffer.data());
                EXPECT_EQ(r.get_int_array(r.read_context, v, 0, n + 5), n);
                r.set_int_array(r.write_context, v, 0, n + 5);
            } else {
                auto* v = reinterpret_cast<float*>(buffer.data());
                EXPECT_EQ(r.get_float_array(r.read_context, v, 0, n + 5), n);
                r.set_float_array(r.write_context, v, 0, n + 5);
            }
            break;
        }
        default: ADD_FAILURE() << "type " << r.type;
        }
    }

    // Names that stand for one element of an array, or for a run inside one.
    const struct {
        const char* name;
        float* variable;
    } elements[] = {
        {"sim/weather/wind_speed_kt[2]", &sim_weather.wind_speed_kt[2]},
        {"sim/weather/gravity_mss", &sim_weather.speed_of_sound_ms},
        {"sim/weather/speed_sound_ms", &sim_physics.g_sealevel},
        {"sim/cockpit/radios/nav2_course_degt", &sim_cockpit_radios.nav1_course_degt[1]},
        {"sim/cockpit/radios/adf2_dir_degt", &sim_cockpit_radios.nav1_dir_degt[3]},
        {"sim/flightmodel/movingparts/tvect", &pln[0].acf_sweepnow[ACF_SWEEPNOW_TVECT]},
        {"sim/multiplayer/position/plane9_psi", &flt[9].psi},
    };
    for (const auto& e : elements) {
        const ORPM_data_ref& r = ref(e.name);
        EXPECT_EQ(r.read_context, static_cast<void*>(e.variable)) << e.name;
    }
    const ORPM_data_ref& gear = ref("sim/multiplayer/position/plane3_gear_deploy");
    EXPECT_EQ(gear.get_float_array(gear.read_context, nullptr, 0, 0), 6);
    const float down[6] = {1, 1, 1, 1, 1, 0.5f};
    gear.set_float_array(gear.write_context, const_cast<float*>(down), 0, 6);
    EXPECT_FLOAT_EQ(pln[3].acf_gear_deploy[FLT_FIRST_GEAR_PART + 5], 0.5f);
    EXPECT_FLOAT_EQ(pln[3].acf_gear_deploy[FLT_FIRST_GEAR_PART - 1], 0.0f);
    const ORPM_data_ref& rgb = ref("sim/graphics/colors/background_rgb");
    float c[3];
    ASSERT_EQ(rgb.get_float_array(rgb.read_context, c, 0, 3), 3);
    EXPECT_FLOAT_EQ(c[2], colour_table[36][2]);

    // The map's layer switch is the panel's own word; a name the program
    // holds no value for reads zero, then what a plug-in wrote.
    const ORPM_data_ref& vors = ref("sim/cockpit/switches/EFIS_shows_VORs");
    const int32_t vors_was = sim_cockpit_switches.EFIS_shows_VORs;
    vors.set_int(vors.write_context, 0);
    EXPECT_EQ(sim_cockpit_switches.EFIS_shows_VORs, 0);
    sim_cockpit_switches.EFIS_shows_VORs = vors_was;
    const ORPM_data_ref& efis = ref("sim/cockpit/switches/EFIS_shows_terrain");
    const ORPM_data_ref& efis_data = ref("sim/cockpit/switches/EFIS_shows_data");
    efis.set_int(efis.write_context, 5);
    EXPECT_EQ(efis.get_int(efis.read_context), 5);
    EXPECT_EQ(efis_data.get_int(efis_data.read_context), 0);
    efis.set_int(efis.write_context, 0);
    // The cards' run reads the slaved RMI card's heading in nav 1's place.
    sim_cockpit_radios.nav1_cardinal_dir[0] = 123.0f;
    const ORPM_data_ref& slaved = ref("sim/cockpit/radios/nav1_cardinal_dir");
    float back[6] = {};
    EXPECT_EQ(slaved.get_float_array(slaved.read_context, back, 0, 6), 6);
    EXPECT_EQ(back[0], 123.0f);
    sim_cockpit_radios.nav1_cardinal_dir[0] = 0.0f;
    // The ADF card and the ammeter button's deadlines are the panel's own values.
    const ORPM_data_ref& card = ref("sim/cockpit/radios/adf2_cardinal_dir");
    card.set_float(card.write_context, 90.0f);
    EXPECT_EQ(sim_cockpit_radios.adf2_obs_card_mag, 90.0f);
    const ORPM_data_ref& volts = ref("sim/cockpit/electrical/volt_display_timeout");
    float eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    volts.set_float_array(volts.write_context, eight, 0, 8);
    EXPECT_EQ(volt_display_timeout[7], 8.0f);
    sim_cockpit_radios.adf2_obs_card_mag = 0.0f;
}

// The planet takes only the Earth (0) and Mars (1), the language only one of
// its seven folders: any other write is refused and the value stays.
TEST_F(PluginData, ThePlanetAndTheLanguageRefuseValuesOutOfTheirRange)
{
    const ORPM_data_ref& planet = ref("sim/graphics/scenery/current_planet");
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    for (const int wild : {2, -1, 1 << 30, -(1 << 30), INT32_MAX, INT32_MIN}) {
        planet.set_int(planet.write_context, wild);
        EXPECT_EQ(planet.get_int(planet.read_context), PLANET_EARTH) << wild;
    }
    planet.set_int(planet.write_context, PLANET_MARS);
    EXPECT_EQ(sim_graphics_scenery.current_planet, PLANET_MARS);
    planet.set_int(planet.write_context, 7);
    EXPECT_EQ(sim_graphics_scenery.current_planet, PLANET_MARS);
    planet.set_int(planet.write_context, PLANET_EARTH);
    EXPECT_EQ(sim_graphics_scenery.current_planet, PLANET_EARTH);

    const ORPM_data_ref& language = ref("sim/operation/prefs/misc/language");
    const int32_t kept = sim_operation_prefs_misc.language;
    for (const int value : {6, 7, -1, 0, 1 << 30, 3})
        language.set_int(language.write_context, value);
    EXPECT_EQ(sim_operation_prefs_misc.language, 3);
    language.set_int(language.write_context, 7);
    EXPECT_EQ(sim_operation_prefs_misc.language, 3);
    sim_operation_prefs_misc.language = kept;
}

// ---------------------------------------------------------------------------
class PluginNav : public PluginHost {
protected:
    void SetUp() override
    {
        PluginHost::SetUp();
        PLUGIN_fill_host_table();
        NAV_clear_tables();
        auto navaid = [](int kind, float lat, float lon, const char* id, const char* name) {
            navaid_record n{};
            n.kind = kind, n.lat = lat, n.lon = lon, n.frequency = 11030;
            std::strncpy(n.id, id, sizeof n.id - 1);
            std::strncpy(n.name, name, sizeof n.name - 1);
            navaid_table.push_back(n);
        };
        navaid(NAV_NDB, 47.0f, -122.0f, "BF", "BOEING NDB");
        navaid(NAV_VOR, 47.4f, -122.3f, "SEA", "SEATTLE VOR");
        navaid(NAV_ILS_LOC, 47.45f, -122.31f, "ISEA", "KSEA ILS 16L");
        airport_record a{};
        a.kind = 1;
        std::strcpy(a.id, "KSEA");
        std::strcpy(a.name, "SEATTLE TACOMA");
        a.runways.push_back(runway_record{});
        a.runways[0].lat = 47.45f, a.runways[0].lon = -122.30f;
        airport_table.push_back(a);
        fix_record fx{};
        fx.lat = 47.6f, fx.lon = -122.4f;
        std::strcpy(fx.id, "ALKIS");
        fix_table.push_back(fx);
        fms_plan = fms_plan_record{};
    }
    ORPM_host_table& host = PLUGIN_host_table;
};

TEST_F(PluginNav, WalkFindAndDetails)
{
    int visited = 0, reference = host.nav_first();
    const int expected[] = {0, 1, 2, 0x1000000, 0x2000000};
    for (; reference != -1 && visited < 10; reference = host.nav_next(reference)) {
        ASSERT_LT(visited, 5);
        EXPECT_EQ(reference, expected[visited++]);
    }
    EXPECT_EQ(visited, 5);

    EXPECT_EQ(host.nav_first_of_type(4), 1);
    EXPECT_EQ(host.nav_last_of_type(8), 2);
    EXPECT_EQ(host.nav_first_of_type(1), 0x1000000);
    EXPECT_EQ(host.nav_last_of_type(512), 0x2000000);
    // Reloaded data rebuild the index.
    navaid_table.erase(navaid_table.begin());
    EXPECT_EQ(host.nav_first_of_type(4), 0);

    // Nearest airport or fix to a point near the fix, then near the airport; without a position the last match.
    float lat = 47.59f, lon = -122.39f;
    EXPECT_EQ(host.nav_find(nullptr, nullptr, &lat, &lon, nullptr, 1 + 512), 0x2000000);
    lat = 47.46f, lon = -122.30f;
    EXPECT_EQ(host.nav_find(nullptr, nullptr, &lat, &lon, nullptr, 1 + 512), 0x1000000);
    EXPECT_EQ(host.nav_find(nullptr, nullptr, nullptr, nullptr, nullptr, 1 + 512), 0x1000000);
    EXPECT_EQ(host.nav_find(nullptr, const_cast<char*>("SEA"), nullptr, nullptr, nullptr, 4), 0);
    // A frequency must match exactly (all three navaids are on 11030).
    int frequency = 11040;
    EXPECT_EQ(host.nav_find(nullptr, nullptr, nullptr, nullptr, &frequency, 2 + 4 + 8), -1);
    frequency = 11030;
    EXPECT_EQ(host.nav_find(nullptr, nullptr, nullptr, nullptr, &frequency, 2 + 4 + 8), 1);

    char id[8] = "?", name[64] = "?";
    int type = 99;
    host.nav_info(-1, &type, nullptr, nullptr, nullptr, nullptr, nullptr, id, name, nullptr);
    EXPECT_STREQ(id, "NTFND");
    EXPECT_STREQ(name, "NOT FOUND");
    EXPECT_EQ(type, 0);
    host.nav_info(0x2000000, &type, &lat, &lon, nullptr, nullptr, nullptr, id, name, nullptr);
    EXPECT_EQ(type, 512);
    EXPECT_STREQ(name, "ALKIS");
    EXPECT_FLOAT_EQ(lat, 47.6f);
    host.nav_info(0x2000005, &type, nullptr, nullptr, nullptr, nullptr, nullptr, id, name, nullptr);   // untouched
    EXPECT_EQ(type, 512);
    // An airport: type 1, its first runway's position and its elevation.
    airport_table[0].elevation = 131.0f;
    float height = 0;
    host.nav_info(0x1000000, &type, &lat, &lon, &height, nullptr, nullptr, id, name, nullptr);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(std::vector<float>({lat, lon, height}), std::vector<float>({47.45f, -122.30f, 131.0f}));
    EXPECT_STREQ(name, "SEATTLE TACOMA");
}

// Distances east-west shrink with the cosine of the latitude: from 47.50 N
// 122.40 W a fix on the airport's runway (3 nm south, 0.1 deg east = 4.05 nm)
// is nearer than the fix 6 nm north, though 0.1 deg of longitude taken as 6 nm
// would put it at 6.7 nm. Of two at the same distance the one found first
// (fixes come before airports) wins.
TEST_F(PluginNav, FindWeighsLongitudeByTheCosineAndKeepsTheFirstOfEqualDistances)
{
    fix_record fx{};
    fx.lat = 47.45f, fx.lon = -122.30f;   // on the airport's first runway
    std::strcpy(fx.id, "SEAFX");
    fix_table.push_back(fx);
    const struct {
        float lat, lon;
        int expected;
    } rows[] = {{47.50f, -122.40f, 0x2000001}, {47.46f, -122.30f, 0x2000001}, {47.59f, -122.40f, 0x2000000}};
    for (const auto& r : rows) {
        float lat = r.lat, lon = r.lon;
        EXPECT_EQ(host.nav_find(nullptr, nullptr, &lat, &lon, nullptr, 1 + 512), r.expected) << r.lat << " " << r.lon;
    }
}

TEST_F(PluginNav, TypeFlagsOfEveryKindAndBack)
{
    // Kind -> flag, one bit a kind; kind 10 has none. Back from a flag to its kind; 0 for the rest.
    const int flags[14] = {0, 1, 2, 4, 8, 16, 32, 64, 128, 256, 0, 512, 1024, 2048};
    for (int kind = 0; kind < 14; ++kind) {
        EXPECT_EQ(PLUGIN_nav_type_flag(kind), flags[kind]) << kind;
        if (kind != 10) {
            EXPECT_EQ(PLUGIN_nav_type_index(flags[kind]), kind) << kind;
        }
    }
    for (int odd : {3, 5, 4096, -1}) EXPECT_EQ(PLUGIN_nav_type_index(odd), 0) << odd;
    EXPECT_EQ(PLUGIN_nav_type_flag(14), 0);
    EXPECT_EQ(PLUGIN_nav_type_flag(-1), 0);
}

TEST_F(PluginNav, FlightPlanEntries)
{
    host.fms_set_entry_latlon(0, 47.5f, -122.25f, 3000);
    char id[FMS_ID_SIZE];
    int type = 0, reference = 0, altitude = 0;
    float lat = 0, lon = 0;
    host.fms_get_entry(0, &type, id, &reference, &altitude, &lat, &lon);
    EXPECT_STREQ(id, "+47.50 -122.25");
    EXPECT_EQ(type, 2048);
    EXPECT_EQ(reference, -1);
    EXPECT_EQ(altitude, 3000);

    // An ILS reference: position and ID copied, the entry's kind kept.
    host.fms_set_entry(1, 0x1000000, 500);
    host.fms_set_entry(1, 2, 1200);
    host.fms_get_entry(1, &type, id, &reference, &altitude, &lat, &lon);
    EXPECT_EQ(type, 1);
    EXPECT_STREQ(id, "ISEA");
    EXPECT_FLOAT_EQ(lat, 47.45f);
    EXPECT_EQ(altitude, 1200);
    EXPECT_EQ(host.fms_count(), 2);
    host.fms_clear_entry(1);
    EXPECT_EQ(host.fms_count(), 1);

    // Each settable kind: NDB flag 2 -> kind 2, VOR 4 -> 3, airport 1 -> 1, fix 512 -> 11;
    // read back as its flag and reference.
    const std::pair<int, int> settable[] = {{0, 2}, {1, 4}, {0x1000000, 1}, {0x2000000, 512}};
    for (auto [ref, flag] : settable) {
        host.fms_set_entry(2, ref, 100);
        host.fms_get_entry(2, &type, id, &reference, &altitude, &lat, &lon);
        EXPECT_EQ(std::pair(type, reference), std::pair(flag, ref)) << ref;
    }
    // The GPS destination: a fix or airport index becomes its reference.
    const int gps[][3] = {{11, 512, 0x2000003}, {1, 1, 0x1000003}, {3, 4, 3}};
    for (const auto& g : gps) {
        sim_cockpit_gps.destination_type = g[0];
        sim_cockpit_gps.destination_index = 3;
        EXPECT_EQ(std::pair(host.gps_dest_type(), host.gps_dest()), std::pair(g[1], g[2])) << g[0];
    }

    // Entry numbers outside the plan are ignored.
    host.fms_set_displayed(3);
    host.fms_set_displayed(100);
    host.fms_set_destination(-1);
    host.fms_set_entry_latlon(100, 1.0f, 1.0f, 1);
    host.fms_clear_entry(-1);
    EXPECT_EQ(host.fms_get_displayed(), 3);
    EXPECT_EQ(host.fms_get_destination(), 0);
}

// ---------------------------------------------------------------------------
TEST_F(PluginHost, CoordinatesMenusCommandsAndTextures)
{
    PLUGIN_fill_host_table();
    ORPM_host_table& host = PLUGIN_host_table;
    sim_physics.earth_radius_m = 6378145.0f;
    sim_graphics_scenery.current_planet = 0;
    lat_ref = 47.0f, lon_ref = -123.0f;
    double x = 1, y = 1, z = 1;
    host.world_to_local(48.0, -121.5, 0.0, &x, &y, &z);
    EXPECT_NEAR(x, 0.0, 1e-3);
    EXPECT_NEAR(y, 0.0, 1e-3);
    EXPECT_NEAR(z, 0.0, 1e-3);
    host.world_to_local(48.0, -121.5, 100.0, &x, &y, &z);
    EXPECT_NEAR(y, 100.0, 1e-3);
    host.world_to_local(48.3, -121.1, 250.0, &x, &y, &z);
    double lat, lon, elev;
    host.local_to_world(x, y, z, &lat, &lon, &elev);
    EXPECT_NEAR(lat, 48.3, 1e-4);
    EXPECT_NEAR(lon, -121.1, 1e-4);
    EXPECT_NEAR(elev, 250.0, 1.0);
    host.local_to_world(9e6, -9e6, 9e6, &lat, &lon, &elev);   // far away: no NaN
    EXPECT_FALSE(std::isnan(lat) || std::isnan(lon));
    // 110.75 degrees west of the centre, across the date line: 127.75 east, not -232.25.
    host.world_to_local(48.0, 127.75, 0.0, &x, &y, &z);
    host.local_to_world(x, y, z, &lat, &lon, &elev);
    EXPECT_NEAR(lon, 127.75, 1e-3);
    // On Mars the frame's centre stands 2.5 degrees north and 3 east of the reference.
    sim_graphics_scenery.current_planet = 1;
    sim_physics.earth_radius_m = 3397000.0f;
    host.world_to_local(49.5, -120.0, 0.0, &x, &y, &z);
    EXPECT_NEAR(x, 0.0, 1e-3);
    EXPECT_NEAR(z, 0.0, 1e-3);
    host.local_to_world(0.0, 0.0, 0.0, &lat, &lon, &elev);
    EXPECT_NEAR(lat, 49.5, 1e-4);
    EXPECT_NEAR(lon, -120.0, 1e-4);
    sim_graphics_scenery.current_planet = 0;
    sim_physics.earth_radius_m = 6378145.0f;

    const int menu = host.create_menu(0, 0, const_cast<char*>("Plug-in menu with a title far too long to fit"));
    EXPECT_EQ(menu, 820);
    EXPECT_EQ(std::strlen(menu_table[menu].title), size_t(MENU_TEXT_SIZE - 1));
    EXPECT_EQ(host.append_menu_item(menu, 5, const_cast<char*>("Item"), 1), 82005);
    EXPECT_EQ(menu_table[menu].items[5].command, 82005);
    EXPECT_EQ(host.append_menu_item(menu, 200, const_cast<char*>("Item"), 1), 0);
    EXPECT_EQ(host.append_menu_item(700, 1, const_cast<char*>("Item"), 1), 0);
    host.destroy_menu(menu);
    EXPECT_EQ(host.create_menu(0, 0, const_cast<char*>("Again")), 820);

    static int slot_run;
    slot_run = -1;
    const hook_override run(core_hooks.CORE_run_key_slot, [](int, int slot) { slot_run = slot; });
    host.command_key(8);
    EXPECT_EQ(slot_run, 0);
    host.command_key(93);
    EXPECT_EQ(slot_run, 6);
    const int command_slots[][2] = {{5, 5},   {6, 7},   {7, 8},   {9, 9},   {10, 10}, {11, 13}, {12, 11},
                                    {13, 18}, {14, 12}, {15, 18}, {16, 15}, {17, 14}, {18, 20}, {19, 94},
                                    {20, 95}, {21, 22}, {50, 51}, {87, 88}, {88, 0},  {89, 89}, {92, 92}};
    for (const auto& [command, slot] : command_slots) {
        host.command_key(command);
        EXPECT_EQ(slot_run, slot) << command;
    }
    slot_run = -1;
    host.command_key(94);
    host.command_key(-1);
    EXPECT_EQ(slot_run, -1);

    // Buttons: command 58 is button function 93 (speed brake), 57 stays 57
    // (parking brake, off again on release); 0 ends the list.
    flt[0].sbrkrqst = 0.0f, flt[0].landing_lights_on = 0, flt[0].parkbrake = 0.0f;
    int speed_brake[] = {58, 0, 57};
    host.command_button(speed_brake, 0, 0);
    EXPECT_EQ(flt[0].sbrkrqst, 1.0f);
    EXPECT_EQ(flt[0].landing_lights_on, 0);
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
    int park[] = {57, 0};
    host.command_button(park, 0, 0);
    EXPECT_EQ(flt[0].parkbrake, 1.0f);
    host.command_button(park, 1, 0);
    EXPECT_EQ(flt[0].parkbrake, 0.0f);

    int w = -1, h = -1, third = -1;
    host.get_font_dims(4, &w, &h, &third);
    EXPECT_EQ(w, 10);
    host.get_font_dims(8, &w, &h, &third);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(host.get_texture(0), 444);
    EXPECT_EQ(host.get_texture(1), 400);
    EXPECT_EQ(host.get_texture(2), 401);
    EXPECT_EQ(host.get_texture(3), 0);

    // The camera as published (the view's angles, not the camera controls'),
    // the frame clock and the aircraft count.
    sim_graphics_view.view_x = 1.0f, sim_graphics_view.view_y = 2.0f, sim_graphics_view.view_z = 3.0f;
    sim_graphics_view.view_pitch = 4.0f, sim_graphics_view.view_heading = 5.0f, sim_graphics_view.view_roll = 6.0f;
    sim_graphics_view.view_zoom = 7.0f;
    sim_private_camera.the = sim_private_camera.psi = sim_private_camera.phi = 99.0f;
    float cam[7] = {};
    host.read_camera(&cam[0], &cam[1], &cam[2], &cam[3], &cam[4], &cam[5], &cam[6]);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(cam[k], static_cast<float>(k + 1)) << k;
    frame_clock = 12.5f;
    EXPECT_EQ(host.get_elapsed_time(), 12.5f);
    sim_graphics_settings.draw_aircrafts = 4;
    EXPECT_EQ(host.count_aircraft(), 4);
    sim_operation_prefs_misc.language = -1;
    EXPECT_EQ(host.get_language(), 0);
    sim_operation_prefs_misc.language = 5;
    EXPECT_EQ(host.get_language(), 6);
    // The program folder and the general preference file, each by its own call.
    char kept_folder[TEXT_SIZE], kept_prefs[TEXT_SIZE];
    std::memcpy(kept_folder, program_folder, TEXT_SIZE);
    std::memcpy(kept_prefs, pref_path_general, TEXT_SIZE);
    std::snprintf(program_folder, TEXT_SIZE, "/sim/");
    std::snprintf(pref_path_general, TEXT_SIZE, "/sim/Output/preferences/Orvell.prf");
    char folder[TEXT_SIZE] = {}, prefs[TEXT_SIZE] = {};
    host.get_system_path(folder);
    host.get_prefs_path(prefs);
    EXPECT_STREQ(folder, "/sim/");
    EXPECT_STREQ(prefs, "/sim/Output/preferences/Orvell.prf");
    std::memcpy(program_folder, kept_folder, TEXT_SIZE);
    std::memcpy(pref_path_general, kept_prefs, TEXT_SIZE);

    // The mouse held below the menu bar's line (work area offset + 750) unless the bar is asked for.
    screen.ui_top_margin = 10.0f;
    const float mouse_rows[][3] = {{770.0f, 0, 760}, {755.0f, 0, 755}, {770.0f, 1, 770}};
    for (const auto& m : mouse_rows) {
        mouse.mouse_x = 3.7f, mouse.mouse_y = m[0];
        int mx = -1, my = -1;
        host.get_mouse(&mx, &my, int(m[1]));
        EXPECT_EQ(std::pair(mx, my), std::pair(3, int(m[2]))) << m[0] << " " << m[1];
    }
    screen.ui_top_margin = 0.0f;

    MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
    // Transparency from the two flags: none, blending (b), alpha test (a), both.
    const int blend_rows[][4] = {{0, 0, 0, 0}, {0, 1, 1, 0}, {1, 0, 0, 1}, {1, 1, 1, 1}};
    for (const auto& b : blend_rows) {
        host.set_graphics_state(0, 0, 0, b[0], b[1], 1, 1);
        EXPECT_EQ(std::pair(glIsEnabled(GL_BLEND) == GL_TRUE, glIsEnabled(GL_ALPHA_TEST) == GL_TRUE),
                  std::pair(b[2] != 0, b[3] != 0))
            << b[0] << " " << b[1];
    }
    host.set_graphics_state(0, 0, 0, 0, 0, 1, 1);
    int first[3], second[3];
    host.gen_tex_ids(first, 3);
    host.gen_tex_ids(second, 3);
    // The lowest names from 4942 up that no texture holds: names an earlier
    // test of this process took up there are passed over.
    int expected = 4942;
    for (int i = 0; i < 3; ++i, ++expected) {
        while (glIsTexture(static_cast<GLuint>(expected))) ++expected;
        EXPECT_EQ(first[i], second[i]);
        EXPECT_EQ(first[i], expected) << i;
    }
    host.gen_tex_ids(first, -5);   // nothing
}

// Plug-in fonts 0..7 draw with the program's fonts of the table for each
// setting of the proportional-font switch.
TEST_F(PluginHost, PluginFontsMapToTheDrawingFonts)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    PLUGIN_fill_host_table();
    ORPM_host_table& host = PLUGIN_host_table;
    const int fonts[2][8] = {{107, 107, 107, 107, 108, 109, 110, 111}, {100, 101, 103, 105, 105, 109, 110, 111}};
    float rgb[3] = {1.0f, 1.0f, 1.0f};
    for (int proportional = 0; proportional < 2; ++proportional) {
        sim_graphics_misc.use_proportional_fonts = proportional;
        for (int k = 0; k < 8; ++k) {
            const std::vector<fb_rect> got =
                capture_rects([&] { host.draw_string(rgb, 10, 100, const_cast<char*>("Ab1"), nullptr, k); });
            const std::vector<fb_rect> want =
                capture_rects([&] { OGL_draw_string(113, 10.0f, 100.0f, "Ab1", 10000.0f, fonts[proportional][k]); });
            ASSERT_EQ(got.size(), want.size()) << proportional << " " << k;
            for (size_t i = 0; i < got.size(); ++i)
                EXPECT_TRUE(got[i].x1 == want[i].x1 && got[i].tx1 == want[i].tx1 && got[i].ty1 == want[i].ty1)
                    << proportional << " " << k << " " << i;
        }
    }
    sim_graphics_misc.use_proportional_fonts = 0;
}

// The aircraft drawer: what the plane looks like while the scene's aircraft
// drawer draws it (seen at its first light), and the plane as it was afterwards.
struct drawn_plane {
    int seen = 0, lights = 0, binds = 0;
    float gear[FLT_GEAR_COUNT] = {}, below_gear = 0, throttle[8] = {}, x = 0, psi = 0, flaps = 0, roll_control = 0;
    float leg_angle = 0;
    int nav_lights = 0;
};

struct drawn_plane_recorder : bind_recorder {
    drawn_plane got;
    int calls = 0;
    void look()
    {
        if (calls++) return;
        const flt_struct& f = flt[2];
        ++got.seen;
        std::memcpy(got.gear, pln[2].acf_gear_deploy + FLT_FIRST_GEAR_PART, sizeof got.gear);
        got.below_gear = pln[2].acf_gear_deploy[FLT_FIRST_GEAR_PART - 1];
        std::memcpy(got.throttle, f.ENGN_thro, sizeof got.throttle);
        got.x = f.local_x, got.psi = f.psi, got.flaps = f.flaprat, got.roll_control = f.FC_roll;
        got.nav_lights = f.nav_lights_on;
        got.leg_angle = pln[2].acf_gear_latN[FLT_FIRST_GEAR_PART];
    }
    void bound(int, int) override { ++got.binds, look(); }
    void light(const light_call&) override { ++got.lights, look(); }
};

TEST_F(PluginHost, TheAircraftDrawerUsesTheInfoRecordAndPutsThePlaneBack)
{
    PLUGIN_fill_host_table();
    drawn_plane_recorder rec;
    OGL_install_bind_recorder(&rec);
    auto draw = [&rec](int plane, float x, float psi, int full, ORPM_draw_info* info) {
        rec.calls = 0;
        rec.got = drawn_plane{rec.got.seen};
        PLUGIN_host_table.draw_aircraft(plane, x, 30.0f, -40.0f, 5.0f, 0.0f, psi, full, info);
        return rec.got;
    };
    for (int p = 0; p < ACF_NUM_PARTS; ++p) pln[2].acf_gear_deploy[p] = 0.25f;
    // One gear leg swinging from 10 degrees retracted to 50 extended, drawn at 7.
    pln[2].acf_part_eq[FLT_FIRST_GEAR_PART] = 1;
    pln[2].acf_gear_latR[FLT_FIRST_GEAR_PART] = 10.0f, pln[2].acf_gear_latE[FLT_FIRST_GEAR_PART] = 50.0f;
    pln[2].acf_gear_latN[FLT_FIRST_GEAR_PART] = 7.0f;
    flt[2] = flt_struct{};
    flt[2].flaprat = 0.5f, flt[2].ENGN_thro[3] = 0.9f, flt[2].local_x = -7.0f;
    const flt_struct flt_before = flt[2];
    std::vector<float> deploy_before(pln[2].acf_gear_deploy, pln[2].acf_gear_deploy + ACF_NUM_PARTS);
    const float spoiler_before = pln[2].acf_splr_up;

    // Only the size and the gear value of the plug-in's record: the rest its defaults.
    ORPM_draw_info info{};
    info.size = 8, info.gear_deploy = 1.0f, info.flap_ratio = 0.7f, info.throttle = 0.9f, info.roll_control = 0.4f;
    drawn_plane drawn = draw(2, 120.0f, 270.0f, 1, &info);
    ASSERT_EQ(drawn.seen, 1);
    for (float g : drawn.gear) EXPECT_FLOAT_EQ(g, 1.0f);
    EXPECT_FLOAT_EQ(drawn.below_gear, 0.25f);   // the propellers and bodies are not gear
    for (float t : drawn.throttle) EXPECT_FLOAT_EQ(t, 0.3f);
    EXPECT_FLOAT_EQ(drawn.x, 120.0f);
    EXPECT_FLOAT_EQ(drawn.psi, 270.0f);
    EXPECT_FLOAT_EQ(drawn.flaps, 0.0f);
    EXPECT_FLOAT_EQ(drawn.roll_control, 0.0f);
    EXPECT_EQ(drawn.nav_lights, 1);
    EXPECT_FLOAT_EQ(drawn.leg_angle, 50.0f);   // the shape follows the plug-in's gear
    const int whole_binds = drawn.binds;
    EXPECT_GT(whole_binds, 0);   // the model's paint

    // Every field it set is back as it was.
    EXPECT_EQ(std::memcmp(&flt[2], &flt_before, sizeof flt_before), 0);
    EXPECT_TRUE(std::equal(deploy_before.begin(), deploy_before.end(), pln[2].acf_gear_deploy));
    EXPECT_EQ(pln[2].acf_splr_up, spoiler_before);
    EXPECT_FLOAT_EQ(pln[2].acf_gear_latN[FLT_FIRST_GEAR_PART], 7.0f);

    // Not full: the lights alone, so none of the model's paint is bound.
    drawn = draw(2, 0.0f, 0.0f, 0, &info);
    EXPECT_LT(drawn.binds, whole_binds);
    const int seen = drawn.seen;

    // A whole record; a negative size or a plane outside the slots draws nothing.
    info.size = sizeof info;
    drawn = draw(2, 0.0f, 0.0f, 1, &info);
    EXPECT_FLOAT_EQ(drawn.flaps, 0.7f);
    EXPECT_FLOAT_EQ(drawn.throttle[5], 0.9f);
    EXPECT_FLOAT_EQ(drawn.roll_control, 0.4f);
    info.size = -8;
    drawn = draw(2, 0.0f, 0.0f, 1, &info);
    EXPECT_FLOAT_EQ(drawn.throttle[5], 0.3f);
    drawn = draw(10, 0.0f, 0.0f, 1, &info);
    drawn = draw(-1, 0.0f, 0.0f, 1, nullptr);
    EXPECT_EQ(drawn.seen, seen + 2);
    OGL_install_bind_recorder(nullptr);
}

// ---------------------------------------------------------------------------
// The lines "ERROR.OUT" gets while the test runs (written to a file of its own).
class log_capture {
public:
    explicit log_capture(const fs::path& file) : file_(file), was_open_(error_log.is_open())
    {
        error_log.close();
        error_log.clear();
        error_log.open(file_);
    }
    ~log_capture()
    {
        error_log.close();
        error_log.clear();
        if (was_open_) error_log.open("ERROR.OUT", std::ios::app);
    }
    std::vector<std::string> lines_naming(const std::string& name) const
    {
        std::vector<std::string> found;
        std::istringstream in(read_file_bytes(file_));
        for (std::string line; std::getline(in, line);)
            if (line.find(name) != std::string::npos) found.push_back(line);
        return found;
    }

private:
    fs::path file_;
    bool was_open_;
};

TEST_F(PluginHost, EachPluginIsNamedBeforeItRunsAndAFileThatIsNotOneInOneLine)
{
    lay_out(ORPM_LIBRARY, SAMPLE_PLUGIN);
    const fs::path modules = folder_.path() / "RESOURCES" / "Plugins" / "modules";
    folder_.write("RESOURCES/Plugins/modules/notes.txt", "not a plug-in");
    folder_.write("RESOURCES/Plugins/modules/broken.so", std::string(300, '\x5a'));
    fs::copy_file(TEST_MANAGER_INIT_ONLY, modules / "no_start.so");   // a shared object, but no plug-in
    const log_capture log(folder_.path() / "ERROR.OUT");
    PLUGIN_load(folder_.prefix().c_str());
    ASSERT_NE(plugin_host.entries.initialize, nullptr);
    EXPECT_STREQ(menu_table[MENU_FIRST_PLUGIN].title, "Sample");   // the plug-in still runs

    const std::vector<std::string> sample = log.lines_naming("sample.so");
    ASSERT_EQ(sample.size(), 1u);
    EXPECT_EQ(sample[0], "Plug-in: loading and starting " + (modules / "sample.so").string());
    const std::vector<std::string> notes = log.lines_naming("notes.txt");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Plug-in: " + (modules / "notes.txt").string() +
                            " is not a plug-in and was passed over: its name does not end in \".so\"");
    for (const char* name : {"broken.so", "no_start.so"}) {
        const std::vector<std::string> lines = log.lines_naming(name);
        // Loading it, then why it is not a plug-in (then, for the first, the
        // lines of the notice that names it).
        ASSERT_EQ(lines.size(), std::string(name) == "broken.so" ? 4u : 2u) << name;
        EXPECT_NE(lines[1].find("is not a plug-in and was passed over: "), std::string::npos) << lines[1];
    }
    EXPECT_NE(log.lines_naming("no_start.so")[1].find("it has no ORPluginStart"), std::string::npos);
    PLUGIN_call_shutdown();

    // A manager file that cannot be loaded, like a missing one, gives no message.
    PLUGIN_host_reset();
    const temp_folder other;
    other.write("Resources/plugins/ORPM.so", "not a library");
    PLUGIN_load(other.prefix().c_str());
    EXPECT_EQ(plugin_host.entries.initialize, nullptr);
    fs::remove(other.path() / "Resources" / "plugins" / "ORPM.so");
    PLUGIN_load(other.prefix().c_str());
    EXPECT_EQ(plugin_host.entries.initialize, nullptr);
    EXPECT_TRUE(log.lines_naming("ORPM.so").empty());
}

// A plug-in whose initialisers never return costs its test load's time once:
// the log says it hung, the record of plug-ins left out keeps it, and the
// next load passes it over at once, with the notice naming it.
TEST_F(PluginHost, APluginWhoseInitialisersHangIsLeftOutFromTheNextLoad)
{
    auto lay_out_with_hang = [](const temp_folder& f, const fs::path& record) {
        const fs::path plugins = f.path() / "Resources" / "plugins";
        fs::create_directories(plugins / "modules");
        fs::copy_file(ORPM_LIBRARY, plugins / "ORPM.so");
        fs::copy_file(SAMPLE_PLUGIN, plugins / "modules" / "sample.so");
        fs::copy_file(HANG_LOAD_PLUGIN, plugins / "modules" / "hang_load.so");
        // The same file as before: its size and time of change.
        fs::last_write_time(plugins / "modules" / "hang_load.so", fs::last_write_time(HANG_LOAD_PLUGIN));
        if (!record.empty()) fs::copy_file(record, plugins / "plug-ins left out.txt");
        void* m = dlopen((plugins / "ORPM.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        reinterpret_cast<ORPMSetTestLoadLimit_fn>(dlsym(m, "ORPMSetTestLoadLimit"))(1);
    };
    auto load = [](const temp_folder& f) {
        clear_alerts();
        const auto began = std::chrono::steady_clock::now();
        PLUGIN_load(f.prefix().c_str());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        EXPECT_STREQ(menu_table[MENU_FIRST_PLUGIN].title, "Sample");   // the others still run
        PLUGIN_call_shutdown();
        PLUGIN_host_reset();
        return seconds;
    };
    lay_out_with_hang(folder_, {});
    const log_capture log(folder_.path() / "ERROR.OUT");
    EXPECT_GE(load(folder_), 1.0);
    const std::vector<std::string> named = log.lines_naming("hang_load.so");
    ASSERT_GE(named.size(), 2u);
    EXPECT_NE(named[1].find("hang_load.so was left out: it hung while loading: its initialisers did not finish "
                            "within 1 seconds"),
              std::string::npos)
        << named[1];
    const fs::path record = folder_.path() / "Resources" / "plugins" / "plug-ins left out.txt";
    EXPECT_NE(read_file_bytes(record).find("\thang_load.so\tit hung while loading"), std::string::npos);

    const temp_folder next;
    lay_out_with_hang(next, record);
    EXPECT_LT(load(next), 1.0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[1], (next.path() / "Resources/plugins/modules/hang_load.so").string());
    EXPECT_EQ(recorded_alerts[0].lines[2], "It hung while loading: its initialisers did not finish within 1 "
                                           "seconds; it is tried again when the file changes");
}

// A plug-in's own threads change nothing under the frames: a call that
// changes the program waits for the next frame, a start or one that must
// answer at once is refused, and the counts are one
// line naming the plug-in. Its log output is bounded.
TEST_F(PluginHost, CallsFromAPluginsThreadsWaitForTheFrameOrAreRefused)
{
    static int keys_run = 0, starts_run = 0;
    keys_run = starts_run = 0;
    APPLICATION_install_hooks();
    core_hooks.CORE_run_key_slot = [](int, int) { ++keys_run; };
    core_hooks.CORE_set_mode = [](int, const char*) { ++starts_run; };   // the airport chosen
    PLUGIN_threads_reset();
    PLUGIN_fill_host_table();
    ORPM_host_table& t = PLUGIN_host_table;
    const int menu = t.create_menu(0, 0, const_cast<char*>("Mine"));
    ASSERT_GE(menu, MENU_FIRST_PLUGIN);
    const log_capture log(folder_.path() / "ERROR.OUT");
    std::atomic<int> menus_made{0};
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; ++k)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                t.select_airport(const_cast<char*>("KSBD"));
                t.command_key(3);
                t.destroy_menu(menu);
                if (t.create_menu(0, 0, const_cast<char*>("Theirs")) >= 0) ++menus_made;
            }
        });
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(keys_run, 0);
    EXPECT_STREQ(menu_table[menu].title, "Mine");
    EXPECT_EQ(menus_made.load(), 0);
    EXPECT_EQ(starts_run, 0);
    PLUGIN_run_queued_calls();
    EXPECT_EQ(keys_run, 200);
    EXPECT_EQ(starts_run, 0);   // a start from a thread is refused
    EXPECT_EQ(menu_table[menu].title[0], 0);

    // 1 MiB of a plug-in's log, then one line saying the rest was cut.
    const std::string line(1023, 'x');
    std::thread([&] {
        for (int k = 0; k < 1100; ++k) t.debug_string(const_cast<char*>((line + "\n").c_str()));
    }).join();
    PLUGIN_report_thread_calls();
    const std::vector<std::string> counts = log.lines_naming("calls queued");
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_NE(counts[0].find(" called the program from a thread of its own: 400 calls queued for the next frame, "
                             "400 refused"),
              std::string::npos)
        << counts[0];
    EXPECT_EQ(log.lines_naming(std::string(1023, 'x')).size(), 1024u);
    EXPECT_EQ(log.lines_naming("MiB to the log: the rest of its log output is left out").size(), 1u);
    APPLICATION_install_hooks();
}

// The bytes of a shared object with the type of its first relocation
// flipped: the system's loader, checking it, ends the whole process.
std::string with_first_relocation_flipped(const std::string& elf)
{
    auto word = [&](size_t at, int bytes) {
        uint64_t v = 0;
        std::memcpy(&v, elf.data() + at, static_cast<size_t>(bytes));
        return v;
    };
    const uint64_t sections = word(0x28, 8), entry = word(0x3a, 2), count = word(0x3c, 2), names = word(0x3e, 2);
    const uint64_t name_table = word(sections + names * entry + 0x18, 8);
    std::string out = elf;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t header = sections + i * entry;
        if (std::strcmp(elf.c_str() + name_table + word(header, 4), ".rela.dyn") != 0) continue;
        const uint64_t info = word(header + 0x18, 8) + 8;   // the first entry's r_info
        for (uint64_t k = info; k < info + 8; ++k) out[k] = static_cast<char>(~out[k]);
    }
    return out;
}

// A plug-in file damaged so that the system's loader would end the program
// is loaded first in a process of its own: it is left out, named in a
// notice with the loader's words, and the program and the plug-ins after it
// run on. One the loader refuses with an error is named in the same notice's
// count.
TEST_F(PluginHost, APluginTheLoaderWouldStopAtIsLeftOutWithANotice)
{
    lay_out(ORPM_LIBRARY, SAMPLE_PLUGIN);
    const fs::path modules = folder_.path() / "RESOURCES" / "Plugins" / "modules";
    const std::string flipped = with_first_relocation_flipped(read_file_bytes(SAMPLE_PLUGIN));
    ASSERT_NE(flipped, read_file_bytes(SAMPLE_PLUGIN));
    folder_.write("RESOURCES/Plugins/modules/a_flipped.so", flipped);
    folder_.write("RESOURCES/Plugins/modules/b_broken.so", std::string(300, '\x5a'));
    const log_capture log(folder_.path() / "ERROR.OUT");
    clear_alerts();
    PLUGIN_load(folder_.prefix().c_str());
    ASSERT_NE(plugin_host.entries.initialize, nullptr);
    EXPECT_STREQ(menu_table[MENU_FIRST_PLUGIN].title, "Sample");

    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record& a = recorded_alerts[0];
    EXPECT_EQ(a.code, ALERT_NOTICE);
    EXPECT_EQ(a.lines[0], "A plug-in could not be loaded and was left out:");
    EXPECT_EQ(a.lines[1], (modules / "a_flipped.so").string());
    EXPECT_EQ(a.lines[2].rfind("Loading it ended a test process", 0), 0u) << a.lines[2];
    EXPECT_NE(a.lines[2].find("ld.so"), std::string::npos) << a.lines[2];
    EXPECT_EQ(a.lines[3], "1 more could not be loaded either: see ERROR.OUT.");
    // In ERROR.OUT: loading it, then why it was passed over (then the notice's lines).
    const std::vector<std::string> named = log.lines_naming("a_flipped.so");
    ASSERT_GE(named.size(), 2u);
    EXPECT_NE(named[1].find("was left out: loading it ended a test process"), std::string::npos) << named[1];
    PLUGIN_call_shutdown();
}

// A plug-in start that ends or holds up the program, run in a process of its
// own: the program folder "plugin_start/<case>" of the test's working folder
// (the same in the child, which runs the test again from its start) holds our
// manager, the given plug-ins and the sample after them.
class PluginDeathTest : public PluginHost {
protected:
    void lay_out_program(const std::string& name, std::initializer_list<std::pair<const char*, const char*>> plugins)
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        program_ = fs::current_path() / "plugin_start" / name;
        fs::remove_all(program_);
        fs::create_directories(modules());
        fs::copy_file(ORPM_LIBRARY, manager());
        for (const auto& [library, file] : plugins) fs::copy_file(library, modules() / file);
        fs::copy_file(SAMPLE_PLUGIN, modules() / "sample.so");
    }
    void TearDown() override
    {
        PluginHost::TearDown();
        fs::remove_all(program_);
    }
    // In the child: the log in the program folder, and the manager's limit on
    // a start set before the load. A child still running after 10 s ends by
    // its alarm, so a start left untimed fails the test instead of holding it.
    void load_in_child(int seconds, void (*on_overrun)()) const
    {
        // A last guard against a child that never ends; on a busy machine a
        // sanitized child's load alone can take several seconds.
        alarm(90);
        error_log.close();
        error_log.clear();
        error_log.open(program_ / "ERROR.OUT");
        limit_starts(seconds, on_overrun);
        PLUGIN_load((program_.string() + "/").c_str());
    }
    void limit_starts(int seconds, void (*on_overrun)()) const
    {
        void* m = dlopen(manager().c_str(), RTLD_NOW | RTLD_LOCAL);
        reinterpret_cast<ORPMSetStartLimit_fn>(dlsym(m, "ORPMSetStartLimit"))(seconds, on_overrun);
    }
    // The parent's own load afterwards: the plug-ins the child met are left
    // out, named in the notice, and the sample still runs. (A hanging start
    // let through here ends the test's process rather than starting it again.)
    alert_record load_after() const
    {
        clear_alerts();
        limit_starts(30, [] { _exit(98); });
        PLUGIN_load((program_.string() + "/").c_str());
        EXPECT_STREQ(menu_table[MENU_FIRST_PLUGIN].title, "Sample");
        PLUGIN_call_shutdown();
        EXPECT_EQ(recorded_alerts.size(), 1u);
        return recorded_alerts.empty() ? alert_record{} : recorded_alerts[0];
    }
    fs::path modules() const { return program_ / "Resources" / "plugins" / "modules"; }
    fs::path manager() const { return program_ / "Resources" / "plugins" / "ORPM.so"; }
    fs::path left_out_record() const { return program_ / "Resources" / "plugins" / "plug-ins left out.txt"; }
    bool marker_left() const
    {
        for (const auto& e : fs::directory_iterator(program_ / "Resources" / "plugins"))
            if (e.path().filename().string().rfind("plug-in starting ", 0) == 0) return true;
        return false;
    }
    fs::path program_;
};

// A plug-in that crashes in its start call ends that run, with the log on the
// disk naming it last; the next start leaves it out with a notice, until the
// file changes.
TEST_F(PluginDeathTest, APluginThatCrashesInItsStartIsLeftOutAtTheNextStart)
{
    lay_out_program("crash", {{CRASH_PLUGIN, "crash_in_start.so"}});
    EXPECT_EXIT(
        {
            load_in_child(30, nullptr);
            std::exit(0);
        },
        [](int status) { return !(WIFEXITED(status) && WEXITSTATUS(status) == 0); }, "");
    const fs::path crash = modules() / "crash_in_start.so";
    EXPECT_EQ(read_file_bytes(program_ / "ERROR.OUT"), "Plug-in: loading and starting " + crash.string() + "\n");
    ASSERT_TRUE(marker_left());

    const alert_record a = load_after();
    EXPECT_EQ(a.lines[1], crash.string());
    EXPECT_EQ(a.lines[2], "The program ended during its start call; it is tried again when the file changes");
    EXPECT_FALSE(marker_left());
    EXPECT_NE(read_file_bytes(left_out_record()).find("\tcrash_in_start.so\t"), std::string::npos);

    // A new version in its place (here one that starts) is tried again.
    PLUGIN_host_reset();
    lay_out(ORPM_LIBRARY);
    const fs::path plugins = folder_.path() / "RESOURCES" / "Plugins";
    fs::copy_file(left_out_record(), plugins / "plug-ins left out.txt");
    fs::copy_file(SAMPLE_PLUGIN, plugins / "modules" / "crash_in_start.so");
    clear_alerts();
    PLUGIN_load(folder_.prefix().c_str());
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_FALSE(fs::exists(plugins / "plug-ins left out.txt"));
    PLUGIN_call_shutdown();
}

// A termination request while a start call hangs ends the program, though the
// program's own handler (like the window layer's) only notes it; the marker
// goes, since the request says nothing about the plug-in. Left alone, the
// start is timed by a watchdog, which records it and starts the program again
// (here: ends the child with status 3); that start leaves it out with a notice.
TEST_F(PluginDeathTest, APluginWhoseStartNeverReturnsIsPassedOverWhenItsTimeIsUp)
{
    lay_out_program("hang", {{HANG_PLUGIN, "hang_in_start.so"}});
    EXPECT_EXIT(
        {
            signal(SIGTERM, [](int) {});
            std::thread([this] {
                for (int k = 0; k < 3000 && !marker_left(); ++k) usleep(10000);   // up to 30 s on a busy machine
                kill(getpid(), SIGTERM);
            }).detach();
            // The watchdog outlasts the thread's wait for the marker: on a busy
            // machine a shorter one fired before the request was sent.
            load_in_child(40, [] { _exit(3); });
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_FALSE(marker_left());
    EXPECT_FALSE(fs::exists(left_out_record()));

    ASSERT_EXIT(
        {
            load_in_child(1, [] { _exit(3); });
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "hang_in_start.so did not return from its start call within 1 seconds");
    ASSERT_TRUE(marker_left());
    const alert_record a = load_after();
    EXPECT_EQ(a.lines[1], (modules() / "hang_in_start.so").string());
    EXPECT_EQ(a.lines[2], "Its start call did not return within 1 seconds, and the program was started again "
                          "without it; it is tried again when the file changes");
    EXPECT_FALSE(marker_left());
}

// ---------------------------------------------------------------------------
TEST_F(PluginHost, OurManagerRunsTheSamplePlugin)
{
    lay_out(ORPM_LIBRARY, SAMPLE_PLUGIN);
    PLUGIN_load(folder_.prefix().c_str());
    ASSERT_NE(plugin_host.entries.initialize, nullptr);
    // The sample's menu with its item.
    const menu_record& m = menu_table[MENU_FIRST_PLUGIN];
    EXPECT_STREQ(m.title, "Sample");
    EXPECT_STREQ(m.items[0].text, "Airspeed box");
    const int command = m.items[0].command;
    EXPECT_EQ(command, 82000);
    int state = -1;
    EXPECT_EQ(PLUGIN_call_check_menu_hook(MENU_FIRST_PLUGIN, 0, &state), 0);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(PLUGIN_call_menu_hook(1000), 1);   // not the sample's: the program runs it
    EXPECT_EQ(PLUGIN_call_num_planes(7, 0), 7);

    if (ensure_gl_context()) {
        // The dark box with the airspeed, drawn before the overlay.
        auto box_pixel = [] {
            screen.screen_area_left = screen.screen_area_bottom = 0.0f;
            screen.ui_zoom = 0.0f;
            draw_to_pixel_buffer = 0;
            gload_dim_factor = 1.0f;
            OGL_fill_default_colors();
            OGL_scissor_off();
            OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
            glClearColor(0.5f, 0.5f, 0.5f, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            EXPECT_EQ(PLUGIN_call_draw_hook(17), 1);
            unsigned char px[4];
            glReadPixels(998, 612, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);   // inside the box, near its lower right corner
            return int(px[0]);
        };
        const int shown = box_pixel();
        unsigned char far[4];
        glReadPixels(500, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, far);
        const int cleared = far[0];
        EXPECT_LT(shown, cleared);   // the dark box
        EXPECT_EQ(PLUGIN_call_menu_hook(command), 0);   // the item hides the box
        EXPECT_EQ(box_pixel(), cleared);
        EXPECT_EQ(PLUGIN_call_check_menu_hook(MENU_FIRST_PLUGIN, 0, &state), 0);
        EXPECT_EQ(state, 0);
    }
    PLUGIN_call_shutdown();
    EXPECT_EQ(menu_table[MENU_FIRST_PLUGIN].title[0], 0);   // the sample took its menu away
}

}   // namespace
