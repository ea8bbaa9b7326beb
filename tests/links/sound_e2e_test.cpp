// End to end on OpenAL's wave-file output: the program started on the
// default data folder flies the trainer at full throttle for 3 s and the
// recording of what was played is not silent; pausing stops every loop.
// Runs in the ctest entry that selects the wave-file output; elsewhere it is
// skipped.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "links/sound.h"
#include "platform/plat_sound.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/support/startup_program.h"

namespace {

const char* wave_file()
{
    const char* driver = std::getenv("ALSOFT_DRIVERS");
    const char* file = std::getenv("ORVELL_WAVE_FILE");
    return driver && std::strcmp(driver, "wave") == 0 && file ? file : nullptr;
}

class SoundEndToEnd : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite()
    {
        if (!wave_file()) return;
        folder = copy_default_data_folder();
        start_program(*folder);
    }
    static void TearDownTestSuite()
    {
        if (!folder) return;
        stop_program();
        folder.reset();
    }
};

// The largest sample of the 16-bit recording so far.
int loudest_sample(const std::string& path)
{
    const std::string b = read_file_bytes(path);
    const size_t data = b.find("data");
    int loudest = 0;
    for (size_t i = data == std::string::npos ? b.size() : data + 8; i + 1 < b.size(); i += 2) {
        const int v = static_cast<int16_t>(uint16_t(uint8_t(b[i])) | uint16_t(uint8_t(b[i + 1])) << 8);
        loudest = std::max(loudest, std::abs(v));
    }
    return loudest;
}

}  // namespace

TEST_F(SoundEndToEnd, FullThrottleIsHeardAndPausingStopsEveryLoop)
{
    ASSERT_NE(wave_file(), nullptr) << "runs on OpenAL's wave-file output (ALSOFT_DRIVERS=wave, ORVELL_WAVE_FILE)";
    ASSERT_TRUE(PLAT_sound_is_open());
    ASSERT_FALSE(PLAT_sound_is_silent());
    ASSERT_EQ(sound_slots.loaded[0], 1);

    MACIBM_pump_messages();
    FRAME_reset();
    const unseen_frames unseen;   // heard, not looked at
    app_mode = MODE_FLYING;
    sim_time.paused = 0;
    for (int k = 0; k < 75; ++k) {   // 3 s at 25 frames a second
        for (int n = 0; n < pln[0].acf_num_engines && n < FLT_ENGINES; ++n) flt[0].ENGN_thro[n] = pln[0].acf_throtmax_FWD;
        test_clock_seconds += 0.04;
        MACIBM_do_frame();
    }
    for (int s : {0, 8, 17, 18}) EXPECT_EQ(sound_slots.playing[s], 1) << s;
    EXPECT_GT(sound_slots.volume[0], -2000);
    EXPECT_TRUE(PLAT_sound_is_playing(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));   // the output runs in real time
    EXPECT_GT(loudest_sample(wave_file()), 300);

    sim_time.paused = 1;
    test_clock_seconds += 0.04;
    MACIBM_do_frame();
    for (int s = 0; s < SOUND_SLOTS; ++s) {
        EXPECT_EQ(sound_slots.playing[s], 0) << s;
        EXPECT_FALSE(PLAT_sound_is_playing(s)) << s;
    }
    sim_time.paused = 0;
}
