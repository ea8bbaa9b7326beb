#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/logbook.h"
#include "links/console.h"
#include "links/joystick.h"
#include "links/movie.h"
#include "links/plugin_host.h"
#include "links/sound.h"
#include "platform/plat_sound.h"
#include "platform/plat_speech.h"
#include "platform/plat_events.h"
#include "platform/plat_files.h"
#include "platform/plat_window.h"
#include "core/folders.h"
#include "graphics/ogl_tex.h"
#include "shell/display.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/overlay_texts.h"
#include "shell/lang.h"
#include "world/landuse.h"
#include "shell/main.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "core/datafile.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "shell/prefs.h"
#include "shell/startup_clock.h"
#include "shell/world_textures.h"
#include "links/network.h"
#include "tests/support/startup_program.h"
#include "world/atc/atc_state.h"
#include "world/navdb.h"

namespace {

// The program started once on a copy of the default data folder; the tests
// below run in order on it, and the last shuts it down.
class ProgramStart : public started_program_noting_failure {};

}  // namespace

// One story in its steps, each on what the one before left: the start, the
// first frames, the close and the shut-down.
TEST_F(ProgramStart, StartsFliesQuitsOnCloseAndShutsDownInOrder)
{
    // The start-up loads the default folder without an alert, in the steps' order.
    {
        for (const alert_record& a : alerts) ADD_FAILURE() << "alert: " << a.lines[0] << " / " << a.lines[1];
        EXPECT_EQ(gl_ready, 1);
        EXPECT_EQ(quit_flag, 0);
        EXPECT_TRUE(PLAT_window_exists());
        EXPECT_STREQ(LANG_ui_text(602), "OK");
        // The menu bar from the shipped menu file, its first menu holding the quit command.
        const menu_item_record* first = menu_table[0].items;
        EXPECT_NE(std::find_if(first, first + MENU_ITEMS, [](auto& it) { return it.command == 208; }), first + MENU_ITEMS);
        EXPECT_GT(landuse_texture_count, 1);
        EXPECT_TRUE(PLAT_file_exists(pln[0].acf_file_path)) << pln[0].acf_file_path;
        EXPECT_FALSE(std::filesystem::exists(folder->path() / "Aircraft/Interrupted.acf.partial"));
        EXPECT_EQ(chat_typing, 0);
        EXPECT_FALSE(navaid_table.empty());

        // The start airport is found and the plane placed at its first runway.
        ASSERT_GE(start_selection.airport_index, 0);
        const airport_record& apt = airport_table[static_cast<size_t>(start_selection.airport_index)];
        EXPECT_STREQ(apt.id, "KSBD");
        // On the selected runway, 10 m inside its threshold; 3 nm out on the
        // approach while the aircraft has no gear leg.
        const runway_record& rw = apt.runways[static_cast<size_t>(start_selection.start_index)];
        EXPECT_NEAR(flt[0].psi, rw.heading + GEO_grid_convergence(rw.lat, rw.lon), 1e-3f);
        float rx, ry, rz;
        GEO_latlon_to_local(rx, ry, rz, rw.lat, rw.lon, apt.elevation);
        const float back = (rw.length - 20.0f) * 0.5f + (pln[0].acf_gear_type[PART_GEAR_FIRST] == 0 ? 3.0f * 1852.0f : 0.0f);
        EXPECT_NEAR(std::hypot(flt[0].local_x - rx, flt[0].local_z - rz), back, 1.0f);
        EXPECT_FLOAT_EQ(lat_ref, std::round(flt[0].latitude - 1.0f));

        // The language texts report where a new text can go.
        error_log.flush();
        EXPECT_NE(read_file_bytes("ERROR.OUT").find(" LOWEST FREE TEXT INDEX="), std::string::npos);

        // The movie recorder and the sound are ready: the trainer's engine and
        // propeller, the fixed sounds and all the chatter are loaded.
        EXPECT_EQ(movie_keys_enabled, 1);
        EXPECT_EQ(sim_operation_sound.has_sound, 1);
        EXPECT_TRUE(PLAT_sound_is_open());
        for (int s : {0, 8}) EXPECT_EQ(sound_slots.loaded[s], 1) << s;
        for (int s = 16; s < SOUND_SLOTS; ++s) EXPECT_EQ(sound_slots.loaded[s], 1) << s;
        // The plug-ins and the joysticks; the network whether or not a peer is enabled.
        EXPECT_EQ(plugin_host.manager_library, nullptr);   // no manager laid out: the program runs without plug-ins
        EXPECT_TRUE(joystick.started);
        EXPECT_TRUE(joystick.layer_open);
        EXPECT_EQ(net_inited, 1);
        EXPECT_GT(NET_bound_port(), 0);   // a test program's link takes a free port
        // The default trainer flies in slot 0 from its path in the general-aviation
        // folder; the other slots in use got aircraft of the fleet folders.
        EXPECT_STREQ(pln[0].acf_tailnum, "OV-TRN");
        EXPECT_STREQ(pln[0].acf_file_name, "ORVELL TRAINER.ACF");
        EXPECT_EQ(pln[0].acf_is_general_aviation, 1);
        ASSERT_GE(sim_graphics_settings.draw_aircrafts, 2);
        for (int i = 1; i < sim_graphics_settings.draw_aircrafts && i < ACF_SLOTS; ++i) {
            EXPECT_NE(pln[i].acf_file_name[0], 0) << "slot " << i;
            EXPECT_GT(pln[i].acf_m_empty, 0.0f) << "slot " << i;
        }
        // The flight started on the runway (the ramp option is off), standing, brake set.
        EXPECT_EQ(flt[0].groundspeed, 0.0f);
        EXPECT_EQ(flt[0].parkbrake, 1.0f);
        EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);
        EXPECT_EQ(logbook_last, -1);   // no logbook file in the folder yet: an empty logbook
        EXPECT_EQ(sim_weather.has_real_weather_bool, 0);   // no "metar.rwx" in the folder
    }
    // The first frame leaves the intro and is painted.
    {
        EXPECT_EQ(app_mode, MODE_INTRO);
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
        EXPECT_EQ(app_mode, MODE_FLYING);
        EXPECT_EQ(window_created, 1);
        EXPECT_EQ(window_painted, 1);   // the new window's first paint came with the first pump
        const int flying = flying_frame_count;
        EXPECT_GE(flying, 1);
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
        EXPECT_EQ(flying_frame_count, flying + 1);
    }
    // The first flying frame stopped the start-up's clock: its line, every
    // stage in order with times that add up to the whole, is in the report log.
    {
        const std::string line = STARTUP_clock_line();
        ASSERT_EQ(line.rfind("Start to the first flying frame: ", 0), 0u) << line;
        const double seconds = STARTUP_clock_first_frame_seconds();
        EXPECT_GT(seconds, 0.0);
        EXPECT_LT(seconds, 300.0);
        std::vector<std::string> names;
        double sum = 0.0;
        size_t at = line.find('(');
        while (at != std::string::npos && at + 1 < line.size()) {
            const size_t end = line.find_first_of(",)", at + 1);
            const std::string item = line.substr(at + 1, end - at - 1);
            const size_t space = item.rfind(' ');
            names.push_back(item.substr(item.find_first_not_of(' '), space - item.find_first_not_of(' ')));
            sum += std::stod(item.substr(space + 1));
            at = line[end] == ')' ? std::string::npos : end + 1;
        }
        const std::vector<std::string> stages = {"process", "init", "display", "interface", "language", "sea",
                                                 "land use and plug-ins", "defaults", "aircraft", "navigation",
                                                 "start airport", "logbook and devices", "world textures", "scene",
                                                 "flight", "first frames"};
        EXPECT_EQ(names, stages);
        EXPECT_NEAR(sum, seconds, 0.0005 * double(stages.size()) + 0.005);
        report_log.flush();
        EXPECT_NE(read_file_bytes("ORVELL.OUT").find(line + "\n"), std::string::npos);
        // Later frames leave it as it is.
        test_clock_seconds += 0.05;
        MACIBM_do_frame();
        EXPECT_EQ(STARTUP_clock_line(), line);
    }
    // Closing the window is the quit command.
    {
        quit_flag = 0;
        PLAT_post_message(WM_CLOSE, 0, 0);
        APPLICATION_run_frames();   // returns once the frame that takes the close has run
        EXPECT_EQ(quit_flag, 1);
        EXPECT_TRUE(APPLICATION_running());
        EXPECT_TRUE(std::filesystem::exists(folder->path() / "Output/logbooks/ORVELL PILOT.txt"));   // the logbook was written

        // With the flag already set the loop runs no frame.
        const int frames = flying_frame_count;
        APPLICATION_run_frames();
        EXPECT_EQ(flying_frame_count, frames);
    }
    // The program shuts down in order.
    {
        const std::string resolution_prefs = folder->prefix() + "Resources/preferences/KESTRUM 7 RESOLUTION.prf";
        static std::string prefs_path;
        static int shutdowns_before_prefs;
        prefs_path = PLAT_resolve_path(resolution_prefs.c_str());
        shutdowns_before_prefs = 0;
        std::filesystem::remove(prefs_path);
        // A plug-in manager is told to shut down before the preferences are written.
        plugin_host.entries.shutdown = [] {
            if (!std::filesystem::exists(prefs_path)) ++shutdowns_before_prefs;
            return 1;
        };
        stop_program();
        PLUGIN_host_reset();
        EXPECT_EQ(shutdowns_before_prefs, 1);
        EXPECT_TRUE(std::filesystem::exists(prefs_path));
        EXPECT_EQ(NET_bound_port(), 0);   // the link's socket is closed
        EXPECT_FALSE(joystick.started);   // the controllers are let go
        EXPECT_EQ(console.port_open, 0);
        // The recorder is ended and the sound device and the speech voice released.
        EXPECT_EQ(movie_keys_enabled, 0);
        EXPECT_EQ(movie_recording, 0);
        EXPECT_FALSE(PLAT_sound_is_open());
        EXPECT_FALSE(PLAT_speech_is_open());
        EXPECT_EQ(sim_operation_sound.has_sound, 0);
        EXPECT_TRUE(PLAT_file_exists(resolution_prefs.c_str()));   // the display preferences are saved
        EXPECT_FALSE(error_log.is_open());
        EXPECT_EQ(gl_ready, 0);
    }
}

// The plane count and the resolution file come from the preferences of the
// folder the program runs on; the entry clears the flight-plan state.
TEST(ProgramRestart, PlaneCountStaysWithinTheSlotsAndAFailedDisplayKeepsItsResolutionReset)
{
    const auto folder = copy_default_data_folder();
    atc_state.atc_plan_filed = 1;
    atc_state.atc_plan_active = 1;
    atc_state.atc_request_pending = 1;
    // What an earlier program left: aircraft in every slot, items in the terrain lists.
    for (int slot = 1; slot < ACF_SLOTS; ++slot) pln[slot].acf_file_name[0] = 0;
    terrain_list_table[TERRAIN_LIST_ROWS - 1][TERRAIN_LISTS_PER_ROW - 1].count = 7;
    start_program(*folder);
    EXPECT_EQ(terrain_list_table[TERRAIN_LIST_ROWS - 1][TERRAIN_LISTS_PER_ROW - 1].count, 0);
    // Only the planes the preferences ask for are loaded: slot n stays empty.
    const int planes = sim_graphics_settings.draw_aircrafts;
    ASSERT_LT(planes, ACF_SLOTS);
    for (int slot = 1; slot < ACF_SLOTS; ++slot) EXPECT_EQ(pln[slot].acf_file_name[0] != 0, slot < planes) << slot;
    EXPECT_EQ(atc_state.atc_plan_filed, 0);
    EXPECT_EQ(atc_state.atc_plan_active, 0);
    EXPECT_EQ(atc_state.atc_request_pending, 0);

    // Preferences asking for more planes than there are slots, the start screen
    // first, and the radios preset at start-up over the tuned ones they keep.
    sim_graphics_settings.draw_aircrafts = 50;
    screen_settings.show_start_screen = 1;
    screen_settings.preset_radios_option = 1;
    sim_operation_prefs.startup_on_ramp = 1;
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_freq_hz = r.nav2_freq_hz = 10850;
    r.com1_freq_hz = r.com2_freq_hz = 11830;
    r.adf1_freq_hz = r.adf2_freq_hz = 340;
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, pref_path_general);
    // A new rendering resolution reloads every aircraft: only the slots that
    // exist (a load clears the slot's limit flags).
    for (flt_struct& f : flt) f.over_g = 1;
    screen.rendering_res += 1;
    WORLD_load_textures();
    for (int slot = 0; slot < ACF_SLOTS; ++slot) EXPECT_EQ(flt[slot].over_g, 0) << slot;

    // The next start loads only the slots that exist, and the world textures
    // for its new window afresh, not as a change of the last start's resolution.
    // Live weather reports now lie in the program folder.
    stop_program();
    folder->write("metar.rwx", "METAR KSBD 061853Z 27015KT 10SM OVC080 A2992 15/10\n");
    start_program(*folder);
    EXPECT_EQ(sim_weather.has_real_weather_bool, 1);
    ASSERT_EQ(sim_graphics_settings.draw_aircrafts, 50);
    for (int slot = 0; slot < ACF_SLOTS; ++slot) EXPECT_NE(pln[slot].acf_file_name[0], 0) << slot;
    EXPECT_EQ(app_mode, MODE_START_SCREEN);
    // On the ramp: standing at the airport's start position, facing its heading.
    {
        const airport_record& apt = airport_table[static_cast<size_t>(start_selection.airport_index)];
        const size_t k = static_cast<size_t>(start_selection.start_index);
        EXPECT_GT(apt.starts.size(), k);
        if (k < apt.starts.size()) { EXPECT_NEAR(flt[0].psi, apt.starts[k].heading, 1e-3f); }
    }
    sim_operation_prefs.startup_on_ramp = 0;
    // 111.70 MHz, 121.00 MHz and 210 kHz; the second ADF keeps its tuning.
    for (int32_t hz : {r.nav1_freq_hz, r.nav2_freq_hz}) EXPECT_EQ(hz, 11170);
    for (int32_t hz : {r.com1_freq_hz, r.com2_freq_hz}) EXPECT_EQ(hz, 12100);
    EXPECT_EQ(r.adf1_freq_hz, 210);
    EXPECT_EQ(r.adf2_freq_hz, 340);
    // A language picked on the settings screen brings the default aircraft back.
    UTIL_strcpy("OTHER.ACF", pln[0].acf_file_name);
    LANG_load_text(1);
    EXPECT_STREQ(pln[0].acf_file_name, "ORVELL TRAINER.ACF");
    // Korean texts come with the Korean glyph set in its texture slot.
    folder->write("Resources/text/korean/ORVELL.TXT", "I\n1 version\n602 OK\n-1\n");
    const uint32_t glyph_uploads = texture_uploads[TEX_SLOT_INTERFACE_FONT2];
    sim_operation_prefs_misc.language = 5;
    LANG_load_text(0);
    sim_operation_prefs_misc.language = 0;
    EXPECT_GT(texture_uploads[TEX_SLOT_INTERFACE_FONT2], glyph_uploads);
    LANG_load_text(0);

    // A display that could not be set up: the start-up resets the resolution
    // file and the shut-down leaves it so, for the next start to use the defaults.
    char path[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(pref_path_resolution), path);
    const std::string on_disk = PLAT_resolve_path(path);
    FILE_write_version(path, KIND_BINARY, -999);
    file_out.close();
    const std::string reset = read_file_bytes(on_disk);
    ASSERT_FALSE(reset.empty());
    PLAT_destroy_window();
    stop_program();
    EXPECT_EQ(read_file_bytes(on_disk), reset);
}

TEST(ProgramEntry, AnotherInstanceReturnsAtOnce)
{
    int self = 0, other = 0;
    EXPECT_EQ(APPLICATION_main(&self, &other, "ignored", 1), 0);
    EXPECT_EQ(instance_handle, &self);
    EXPECT_FALSE(APPLICATION_running());
    EXPECT_FALSE(error_log.is_open());   // nothing was opened
}

// The program itself, run as a child process on a copy of its folder whose
// interface bitmap is missing or random bytes: the lines reach the message box
// (the error stream, on a machine without a display), saying which file and
// whether it is missing or damaged, and the process ends with a non-zero status.
TEST(ProgramEntry, MissingOrDamagedInterfaceBitmapEndsWithLinesNamingIt)
{
    namespace fs = std::filesystem;
    const fs::path program = fs::path(ORVELL_DATA_FOLDER) / "orvell";
    ASSERT_TRUE(fs::exists(program)) << "the program is not built in " << ORVELL_DATA_FOLDER;
    const struct {
        bool damaged;
        std::vector<std::string> lines;
    } cases[] = {
        {false,
         {"Kestrum Message", "I CANNOT OPEN THE GRAPHICS INTERFACE FILE!",
          "IT SEEMS THAT YOU HAVE MOVED ORVELL OUT OF THE KESTRUM FOLDER!", "NO! NO!",
          "CREATE A SHORTCUT IF YOU WANT, BUT DO NOT MOVE THE ORVELL APPLICATION ITSELF OUT OF THE KESTRUM FOLDER "
          "THAT IT CAME IN!"}},
        {true, {"This picture file is damaged:", "INTERFACE.PNG", "It is not a PNG picture."}},
    };
    for (const auto& c : cases) {
        auto folder = copy_default_data_folder(c.damaged ? "" : "Resources/bitmaps/INTERFACE.PNG");
        if (c.damaged) folder->write("Resources/bitmaps/INTERFACE.PNG", std::string(5000, '\x5b'));
        fs::copy_file(program, folder->path() / "orvell");

        const std::string command = "cd '" + folder->path().string() +
                                    "' && SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null ASAN_OPTIONS=detect_leaks=0 "
                                    "timeout 120 ./orvell 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        const int status = pclose(pipe);

        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 0);
        EXPECT_NE(WEXITSTATUS(status), 124) << "the program did not end";
        for (const std::string& line : c.lines)
            EXPECT_NE(output.find(line), std::string::npos) << line << "\n--- output:\n" << output;
    }
}

// Half-length and random-byte copies of files the flight can go without (a
// runway texture, the trainer's paint, a scenery tile, a package object, an
// altitude callout): each is named in one notice, left out, and the program
// flies. A file is loaded more than once at a start (the paint and the
// callout for every plane), and named once.
TEST(ProgramRestart, DamagedFilesTheFlightCanGoWithoutAreNamedOnceAndLeftOut)
{
    namespace fs = std::filesystem;
    const char* const files[] = {
        "Resources/bitmaps/RUNWAYS/CONCRETE/NUMBERS/RWAY_C.BMP",
        "Aircraft/General Aviation/Orvell Trainer/Orvell Trainer_PAINT.BMP",
        "Resources/Earth nav data/+30-120/+34-117.env",
        "Custom Scenery/Orvell KSBD/custom objects/ksbd_hangar.obj",
        "Resources/sounds/30FT.WAV",
    };
    auto lower = [](std::string t) {
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    for (const bool random : {false, true}) {
        SCOPED_TRACE(random ? "random bytes" : "half length");
        const auto folder = copy_default_data_folder();
        for (const char* file : files) {
            const fs::path p = folder->path() / file;
            std::string bytes = read_file_bytes(p);
            ASSERT_GT(bytes.size(), 100u) << file;
            uint32_t x = 2463534242u;
            for (char& c : bytes) {
                x ^= x << 13, x ^= x >> 17, x ^= x << 5;
                c = static_cast<char>(x);
            }
            write_file_bytes(p, random ? bytes : read_file_bytes(p).substr(0, bytes.size() / 2));
        }
        clear_alerts();
        start_program(*folder);
        {
            const unseen_frames unseen;
            run_frames_for(1.0);
        }
        EXPECT_EQ(app_mode, MODE_FLYING);
        for (const alert_record& a : recorded_alerts) EXPECT_EQ(a.code, ALERT_NOTICE) << a.lines[0];
        for (const char* file : files) {
            const std::string stem = lower(fs::path(file).stem().string());
            int notices = 0;
            for (const alert_record& a : recorded_alerts)
                notices += std::any_of(std::begin(a.lines), std::end(a.lines),
                                       [&](const std::string& l) { return lower(l).find(stem) != std::string::npos; });
            EXPECT_EQ(notices, 1) << file;
        }
        stop_program();
    }
}

// The interface's 1024 x 768 units fill the window's smaller proportion; the
// wider side is left as margins (half on each side, or all above).
TEST(StartupMapping, InterfaceScaleAndMarginsFollowTheWindow)
{
    const screen_record kept = screen;
    const struct { int w, h; float scale, side, top; } cases[] = {
        {1024, 768, 1.0f, 0.0f, 0.0f},
        {1280, 1024, 1.25f, 0.0f, 51.2f},          // 1024 / 1.25 - 768
        {1600, 900, 1.171875f, 170.66667f, 0.0f},  // (1600 / 1.171875 - 1024) / 2
        {2048, 768, 1.0f, 512.0f, 0.0f},
    };
    for (const auto& c : cases) {
        screen.window_width = c.w;
        screen.window_height = c.h;
        DISPLAY_set_ui_mapping();
        EXPECT_FLOAT_EQ(screen.ui_scale, c.scale) << c.w << "x" << c.h;
        EXPECT_NEAR(screen.ui_side_margin, c.side, 1e-3f) << c.w << "x" << c.h;
        EXPECT_NEAR(screen.ui_top_margin, c.top, 1e-3f) << c.w << "x" << c.h;
    }
    screen = kept;
}
