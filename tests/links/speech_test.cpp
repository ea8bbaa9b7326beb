// Speech: the text on screen and its deadline, the voice's samples, and a new
// text interrupting the one being spoken.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/frame_clock.h"
#include "links/sound_seam.h"
#include "links/speech.h"
#include "platform/plat_speech.h"
#include "tests/links/sound_fixture.h"
#include "tests/support/machine.h"

namespace {

class Speech : public sound_fixture {
protected:
    void SetUp() override
    {
        sound_fixture::SetUp();
        sim_operation_sound.has_speech_synth = SOUND_init_speech();
        sim_operation_sound.speech_on = 1;
        frame_clock = 100.0f;
    }
    void TearDown() override
    {
        SOUND_close_speech();
        sound_fixture::TearDown();
    }
};

double rms(const std::vector<int16_t>& s)
{
    double sum = 0.0;
    for (int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0.0 : std::sqrt(sum / double(s.size()));
}

}  // namespace

TEST_F(Speech, ShownTextsStayOnScreenByTheirLengthAndLongOnesAreCut)
{
    const std::string forty(40, 'A');
    sim_operation_sound.speech_on = 0;   // shown all the same
    SOUND_speak(forty.c_str(), 1);
    EXPECT_EQ(std::string(speech_text), forty);
    EXPECT_FLOAT_EQ(speech_text_until, 111.0f);
    EXPECT_FALSE(PLAT_speech_busy());   // and not spoken
    // Nor without the synthesiser flag, even with the voice there and speech on.
    const int32_t synth = sim_operation_sound.has_speech_synth;
    sim_operation_sound.has_speech_synth = 0;
    sim_operation_sound.speech_on = 1;
    SOUND_speak("TWO", 0);
    EXPECT_FALSE(PLAT_speech_busy());
    sim_operation_sound.has_speech_synth = synth;

    // Spoken only: the screen keeps the last shown text.
    SOUND_speak("ONE", 0);
    EXPECT_EQ(std::string(speech_text), forty);
    EXPECT_FLOAT_EQ(speech_text_until, 111.0f);

    SOUND_speak(std::string(600, 'B').c_str(), 1);
    EXPECT_EQ(std::strlen(speech_text), 499u);
    EXPECT_FLOAT_EQ(speech_text_until, 100.0f + 6.0f + 0.125f * 499.0f);

    // Closing lets the voice and the sound device go, once.
    MACHINE_NEEDS(sim_operation_sound.has_sound, "sound device");
    SOUND_close_speech();
    EXPECT_EQ(sim_operation_sound.has_sound, 0);
}

TEST_F(Speech, TheVoiceSaysTextsAndANewOnePurgesTheOld)
{
    MACHINE_NEEDS(sim_operation_sound.has_speech_synth, "speech synthesiser");
    int rate = 0;
    const std::vector<int16_t> said = PLAT_speech_render("one two three", &rate);
    const double seconds = double(said.size()) / rate;
    EXPECT_GE(seconds, 0.5);
    EXPECT_LE(seconds, 3.0);
    EXPECT_GT(rms(said), 300.0);

    // Latin-1 texts are taken byte by byte.
    EXPECT_FALSE(PLAT_speech_render("caf\xe9 cr\xe8me", &rate).empty());

    SOUND_speak("Cleared to land runway two seven left, wind two five zero at one zero.", 1);
    ASSERT_TRUE(PLAT_speech_wait_synthesised(10.0));
    const int long_text = PLAT_sound_speech_samples();
    EXPECT_GT(long_text, rate * 2);
    EXPECT_TRUE(PLAT_speech_busy());
    SOUND_speak("Roger.", 1);
    ASSERT_TRUE(PLAT_speech_wait_synthesised(10.0));
    const int short_text = PLAT_sound_speech_samples();
    EXPECT_GT(short_text, 0);
    EXPECT_LT(short_text, long_text / 2);
    EXPECT_EQ(std::string(speech_text), "Roger.");
}

// A program that ends in the middle of a text, without closing the voice,
// still exits with its own status.
TEST_F(Speech, AProgramEndingWhileTheVoiceSpeaksExitsWithItsStatus)
{
    MACHINE_NEEDS(sim_operation_sound.has_speech_synth, "speech synthesiser");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SOUND_speak("Cleared to land runway two seven left, wind two five zero at one zero.", 0);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
