// Failed writes in the running program: with the disk full (a file-size limit
// stands in for it, and "DATA.OUT" writes to a device that is always full), a
// screenshot and a movie take asked for with their keys, and the data output
// to the disk, each end in a notice naming their file; the flight goes on.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/simvars/network.h"
#include "core/simvars/time.h"
#include "links/dataout_session.h"
#include "links/movie.h"
#include "shell/frame.h"
#include "tests/support/startup_program.h"

namespace {

namespace fs = std::filesystem;

class FilesInProgram : public started_program {
protected:
    static void fly(int frames, double period = 0.05)
    {
        for (int k = 0; k < frames; ++k) {
            test_clock_seconds += period;
            MACIBM_do_frame();
        }
    }
    static void ctrl_key(SDL_Keycode key, SDL_Scancode scan) { push_key_press(key, scan, KMOD_LCTRL); }
    // The notices raised since the last look, the test's failure when one was fatal.
    static std::vector<alert_record> notices()
    {
        std::vector<alert_record> found = recorded_alerts;
        clear_alerts();
        for (const alert_record& a : found) EXPECT_EQ(a.code, ALERT_NOTICE) << a.lines[0];
        return found;
    }
};

}  // namespace

TEST_F(FilesInProgram, AFullDiskIsANoticeNamingTheFileAndTheFlightGoesOn)
{
    fly(1);   // out of the intro
    // What the frames show is not looked at: the pictures saved are written
    // to a full disk.
    const unseen_frames unseen;
    app_mode = MODE_FLYING;
    sim_time.paused = 0;
    const float started = sim_time.total_flight_time_sec;
    movie_width = 1024;
    movie_height = 768;
    clear_alerts();

    {
        const file_size_limit limit(1 << 20);   // a screenshot takes 2.3 MB

        // Ctrl+. takes a screenshot.
        ctrl_key(SDLK_PERIOD, SDL_SCANCODE_PERIOD);
        fly(2);
        std::vector<alert_record> n = notices();
        ASSERT_EQ(n.size(), 1u);
        EXPECT_EQ(n[0].lines[0], "The picture could not be saved:");
        const std::string shot = n[0].lines[1];
        EXPECT_EQ(shot.rfind(folder->prefix() + "screenshot_", 0), 0u) << shot;
        EXPECT_FALSE(fs::exists(shot));
        EXPECT_FALSE(fs::exists(shot + ".partial"));

        // Ctrl+Space starts a take; frames are added until the disk is full.
        ctrl_key(SDLK_SPACE, SDL_SCANCODE_SPACE);
        fly(1);
        ASSERT_EQ(movie_recording, 1);
        for (int k = 0; k < 60 && movie_recording; ++k) fly(1);
        EXPECT_EQ(movie_recording, 0);
        n = notices();
        ASSERT_EQ(n.size(), 1u);
        EXPECT_EQ(n[0].lines[0], "The movie take could not be written and was ended:");
        EXPECT_EQ(n[0].lines[1], std::string(movie_recorder.take_path));
        EXPECT_TRUE(fs::exists(fs::path(movie_recorder.take_path)));
    }

    // "DATA.OUT" on a full disk: the data output's section is refused at once.
    data_log.close();
    data_log.open("/dev/full");
    sim_network_dataout.data_to_disk[3] = 1;
    DATAOUT_reset();
    fly(4);
    std::vector<alert_record> n = notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].lines[0], "The data output file could not be written:");
    EXPECT_EQ(n[0].lines[1], (fs::current_path() / "DATA.OUT").string());
    EXPECT_FALSE(data_log.is_open());

    // The flight went on through all of it, and goes on.
    EXPECT_EQ(app_mode, MODE_FLYING);
    const float before = sim_time.total_flight_time_sec;
    EXPECT_GT(before, started);
    fly(10);
    EXPECT_NEAR(sim_time.total_flight_time_sec - before, 0.5f, 0.1f);
    EXPECT_TRUE(notices().empty());

    sim_network_dataout.data_to_disk[3] = 0;
    movie_width = 320;
    movie_height = 240;
}
