// The sound slots through the real reader and the real device layer (OpenAL's
// null output): WAV files good and damaged, the volume and pitch law, the
// muting rules and the loops.
#include <cmath>
#include <string>

#include "core/alert.h"
#include "core/failure_slots.h"
#include "tests/links/sound_fixture.h"

namespace {

class Sound : public sound_fixture {};

std::string fatal_text(const alert_record& a) { return a.lines[0] + " " + a.lines[1] + " " + a.lines[2]; }

}  // namespace

TEST_F(Sound, PcmFilesLoadWithTheirLengthAndALongFormatBlockIsSkipped)
{
    // 16-bit mono, 3 s: 132,300 bytes over 44,100 bytes a second.
    put_sound("A.WAV", wav_bytes(tone_samples(3.0)));
    SOUND_load_wav(20, "A.WAV");
    EXPECT_EQ(sound_slots.loaded[20], 1);
    EXPECT_EQ(sound_sample_length_sec[20], 3.0f);
    EXPECT_TRUE(PLAT_sound_is_loaded(20));

    // A 40-byte format block: its first 20 bytes are read, the rest skipped.
    put_sound("B.WAV", wav_bytes(tone_samples(2.0), 22050, 1, 40));
    SOUND_load_wav(21, "B.WAV");
    EXPECT_EQ(sound_slots.loaded[21], 1);
    EXPECT_EQ(sound_sample_length_sec[21], 2.0f);

    // Chatter slots read the chatter folder.
    put_sound("C.WAV", wav_bytes(tone_samples(1.0)), true);
    SOUND_load_wav(59, "C.WAV");
    EXPECT_EQ(sound_slots.loaded[59], 1);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(Sound, DamagedFilesAreLeftOutWithOneNoticeNamingTheirFault)
{
    const std::string good = wav_bytes(tone_samples(0.2));
    put_sound("GOOD.WAV", good);
    std::string no_data = good;
    no_data.replace(no_data.find("data"), 4, "dada");
    std::string longer = good;   // the data chunk claims 1 GB
    const size_t at = longer.find("data") + 4;
    longer[at + 3] = 0x40;
    const struct {
        const char* what;
        std::string bytes;
        const char* named;
    } cases[] = {
        {"44.1 kHz", wav_bytes(tone_samples(0.2), 44100), "22,050"},
        {"not PCM", wav_bytes(tone_samples(0.2), 22050, 3), "PCM"},
        {"no data chunk", no_data, "no data chunk"},
        {"empty data chunk", wav_bytes({}), "empty"},
        {"longer than the file", longer, "more bytes than the file"},
        {"cut in the format block", good.substr(0, 30), "format block"},
        {"not RIFF", "RIFX" + good.substr(4), "RIFF"},
    };
    for (const auto& c : cases) {
        put_sound("BAD.WAV", c.bytes);
        SOUND_load_wav(30, "GOOD.WAV");   // a sound the damaged file would replace
        clear_alerts();
        SOUND_load_wav(30, "BAD.WAV");
        ASSERT_EQ(recorded_alerts.size(), 1u) << c.what;
        const alert_record& a = recorded_alerts[0];
        EXPECT_EQ(a.code, ALERT_NOTICE) << c.what;
        EXPECT_NE(fatal_text(a).find(c.named), std::string::npos) << c.what << ": " << fatal_text(a);
        EXPECT_NE(a.lines[1].find("BAD.WAV"), std::string::npos) << c.what;
        EXPECT_EQ(sound_slots.loaded[30], 0) << c.what;
    }
    const alert_record missing = expect_fatal([] { SOUND_load_wav(30, "NONE.WAV"); });
    EXPECT_NE(missing.lines[1].find("NONE.WAV"), std::string::npos);
    EXPECT_EQ(expect_fatal([] { SOUND_load_wav(109, "A.WAV"); }).lines[0], "checkrange sound out of range hi!");
    EXPECT_EQ(expect_fatal([] { SOUND_load_wav(-1, "A.WAV"); }).lines[0], "checkrange sound out of range lo!");
    EXPECT_EQ(expect_fatal([] { SOUND_play(109, 0, 1.0f, 1.0f); }).lines[0], "checkrange sound out of range hi!");
}

TEST_F(Sound, TheAircraftsOwnFilesComeFirst)
{
    dir.write("Aircraft/Cub/sounds/Cub engn1.wav", wav_bytes(tone_samples(2.0)));
    dir.write("Aircraft/Cub/sounds/Cub prop2.wav", wav_bytes(tone_samples(4.0)));
    dir.write("Aircraft/Cub/sounds/Cub STAL.WAV", wav_bytes(tone_samples(3.0)));
    dir.write("Aircraft/Pa/sounds/Pa STAL.WAV", wav_bytes(tone_samples(5.0)));
    put_sound("ENGINE_RECIP.WAV", wav_bytes(tone_samples(1.0)));
    put_sound("PROP_PLANE.WAV", wav_bytes(tone_samples(1.0)));
    put_sound("STAL.WAV", wav_bytes(tone_samples(1.0)));

    std::strcpy(pln[0].acf_file_path, (dir.prefix() + "AIRCRAFT:CUB:Cub.acf").c_str());
    std::strcpy(pln[0].acf_file_name, "Cub.acf");
    SOUND_load_wav(0, "ENGINE_RECIP.WAV");
    SOUND_load_wav(1, "ENGINE_RECIP.WAV");   // no "Cub engn2.wav"
    SOUND_load_wav(9, "PROP_PLANE.WAV");
    SOUND_load_wav(22, "STAL.WAV");
    EXPECT_EQ(sound_sample_length_sec[0], 2.0f);
    EXPECT_EQ(sound_sample_length_sec[1], 1.0f);
    EXPECT_EQ(sound_sample_length_sec[9], 4.0f);
    EXPECT_EQ(sound_sample_length_sec[22], 3.0f);

    // A file name shorter than four characters is used whole.
    std::strcpy(pln[0].acf_file_path, (dir.prefix() + "AIRCRAFT:PA:Pa").c_str());
    std::strcpy(pln[0].acf_file_name, "Pa");
    SOUND_load_wav(22, "STAL.WAV");
    EXPECT_EQ(sound_sample_length_sec[22], 5.0f);
}

TEST_F(Sound, VolumeAndPitchLaw)
{
    for (int s : {0, 5, 22, 23, 24, 25}) load_tone(s);
    SOUND_play(0, 1, 1.0f, 1.0f);
    EXPECT_EQ(sound_slots.volume[0], -907);
    EXPECT_NEAR(PLAT_sound_slot(0).gain, 0.352f, 0.001f);
    EXPECT_EQ(sound_slots.frequency_hz[0], 22050);
    SOUND_set_volume_pitch(1.0f, 0.0f, 0);
    EXPECT_EQ(sound_slots.volume[0], -5000);

    const struct {
        float pitch;
        int hz;
    } pitches[] = {{0.001f, 100}, {5.0f, 100000}, {NAN, 100}, {INFINITY, 100000}, {2.0f, 44100}};
    for (const auto& p : pitches) {
        SOUND_set_volume_pitch(p.pitch, NAN, 0);
        EXPECT_EQ(sound_slots.frequency_hz[0], p.hz) << p.pitch;
        EXPECT_EQ(sound_slots.volume[0], -5000);
        EXPECT_NEAR(PLAT_sound_slot(0).pitch, p.hz / 22050.0f, 1e-5f) << p.pitch;
    }

    // The master volume applies twice to a sound's start, once to updates.
    screen_settings.sound_volume = 0.5f;
    SOUND_play(22, 1, 1.0f, 1.0f);
    EXPECT_EQ(sound_slots.volume[22], -2953);
    SOUND_set_volume_pitch(1.0f, 1.0f, 22);
    EXPECT_EQ(sound_slots.volume[22], -2106);

    // The headset quietens the cockpit's own sounds (slots 0..23) inside.
    screen_settings.sound_volume = 1.0f;
    sim_operation_prefs.has_headset_on = 1;
    SOUND_play(5, 1, 1.0f, 1.0f);
    EXPECT_EQ(sound_slots.volume[5], -2411);
    SOUND_play(23, 1, 1.0f, 1.0f);
    EXPECT_EQ(sound_slots.volume[23], -2411);
    for (int s : {24, 25}) {
        SOUND_play(s, 0, 1.0f, 1.0f);
        EXPECT_EQ(sound_slots.volume[s], -907) << s;
    }
}

TEST_F(Sound, SwitchesViewsAndRestarts)
{
    for (int s : {3, 17, 22, 25, 70}) load_tone(s);

    // Sound off: only the chatter plays; the rest is marked but silent.
    sim_operation_sound.sound_on = 0;
    SOUND_play(70, 0, 1.0f, 1.0f);
    SOUND_play(3, 1, 1.0f, 1.0f);
    EXPECT_TRUE(PLAT_sound_slot(70).started);
    EXPECT_EQ(sound_slots.playing[3], 1);
    EXPECT_FALSE(PLAT_sound_slot(3).started);
    SOUND_stop(3);
    SOUND_stop(70);

    // Chatter off silences the chatter alone.
    sim_operation_sound.sound_on = 1;
    screen_settings.radio_chatter_on = 0;
    SOUND_play(70, 0, 1.0f, 1.0f);
    EXPECT_FALSE(PLAT_sound_slot(70).started);
    SOUND_stop(70);
    EXPECT_EQ(sound_slots.playing[70], 0);

    // The outside view: the cockpit's sounds (stall horn, descent and climb
    // tones, gear, warnings from 34 on) are marked playing, their sources not
    // started; the others are heard.
    screen_settings.radio_chatter_on = 1;
    sim_graphics_view.view_is_external = 1;
    for (auto [slot, heard] : {std::pair{22, false}, {27, false}, {34, false}, {108, false}, {3, true}, {21, true},
                               {33, true}}) {
        load_tone(slot);
        SOUND_play(slot, 1, 1.0f, 1.0f);
        EXPECT_EQ(sound_slots.playing[slot], 1) << slot;
        EXPECT_EQ(PLAT_sound_slot(slot).started, heard) << slot;
        if (slot != 3 && slot != 22) SOUND_stop(slot);
    }

    // A running loop is not restarted; a one-shot sound is played again.
    sim_graphics_view.view_is_external = 0;
    SOUND_play(17, 1, 1.0f, 1.0f);
    SOUND_play(17, 1, 1.0f, 0.0f);
    EXPECT_EQ(sound_slots.volume[17], -907);
    SOUND_play(25, 0, 1.0f, 1.0f);
    SOUND_play(25, 0, 1.0f, 0.0f);
    EXPECT_EQ(sound_slots.volume[25], -5000);

    // Without a sound device nothing is marked.
    sim_operation_sound.has_sound = 0;
    SOUND_play(70, 0, 1.0f, 1.0f);
    EXPECT_EQ(sound_slots.playing[70], 0);
}

TEST_F(Sound, LoopsStartForThePlaneAndTheWeatherAndStopTogether)
{
    for (int s : {0, 1, 2, 8, 9, 10, 17, 18, 19, 20}) load_tone(s);
    acf_struct& a = pln[0];
    a.acf_num_engines = 2;
    a.acf_num_thrustpoints = 3;   // a third thrust point without an engine
    a.acf_en_type[0] = a.acf_en_type[1] = 0;
    flt[0].failures[FAIL_SLOT_ENGINE_BASE + 1] = 6;   // engine 2 failed
    sim_weather.precip_rain = 0.5f;

    SOUND_start_stop_loops(1);
    for (int s : {0, 8, 10, 17, 18, 19}) EXPECT_EQ(sound_slots.playing[s], 1) << s;
    for (int s : {1, 2, 9, 20}) EXPECT_EQ(sound_slots.playing[s], 0) << s;
    EXPECT_TRUE(PLAT_sound_slot(8).looping);

    SOUND_start_stop_loops(0);
    for (int s = 0; s < SOUND_SLOTS; ++s) {
        EXPECT_EQ(sound_slots.playing[s], 0) << s;
        EXPECT_FALSE(PLAT_sound_slot(s).started) << s;
    }
}
