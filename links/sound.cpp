// The sound slots: the WAV reader, playing and stopping, the volume and pitch
// law and the muting rules (sound off, radio chatter off, outside view,
// headset).
#include "links/sound.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/part_presence.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/simvars.h"
#include "links/sound_seam.h"
#include "platform/plat_files.h"
#include "platform/plat_sound.h"

sound_slots_record sound_slots;
float sound_sample_length_sec[SOUND_SLOTS] = {};

namespace {

constexpr int AIRCRAFT_SOUND_SLOTS = SOUND_FIRST_CHATTER_SLOT;   // 0..58 may come with the aircraft
constexpr int FORMAT_RECORD_BYTES = 20;       // PCM format and its extension size
constexpr int FORMAT_PCM = 1;
constexpr float HEADSET_FACTOR = 0.4f;
constexpr float VOLUME_LAW_FACTOR = 0.67f;
constexpr int FREQUENCY_MIN_HZ = 100;
constexpr int FREQUENCY_MAX_HZ = 100000;

bool is_chatter(int slot) { return slot >= SOUND_FIRST_CHATTER_SLOT && slot < SOUND_SLOTS; }

void fatal(const char* a, const char* b = "", const char* c = "", const char* d = "")
{
    MACIBM_nuke_alert(0, a, b, c, d, ALERT_FATAL);
}

// A sound file that is there but cannot be read (cut short, random bytes, a
// kind of sound this program does not play): the flight can go on without
// it, so it is named in one notice and its slot left empty.
void left_out(int slot, const std::string& path, const char* a, const char* b = "", const char* c = "")
{
    sound_slots.loaded[slot] = 0;
    sound_slots.playing[slot] = 0;
    if (ALERT_first_notice_of_damage(path.c_str()))
        MACIBM_nuke_alert(app_mode, a, b, c, "The sound was left out.", ALERT_NOTICE);
}

// Slot range check; false (after the fatal alert) for a slot outside 0..108.
bool check_range(int slot)
{
    if (slot < 0) {
        fatal("checkrange sound out of range lo!");
        return false;
    }
    if (slot >= SOUND_SLOTS) {
        fatal("checkrange sound out of range hi!");
        return false;
    }
    return true;
}

// Muted by the sound switches: sound off silences all but the chatter, the
// chatter switch silences the chatter.
bool muted_by_switches(int slot)
{
    if (!sim_operation_sound.sound_on && !is_chatter(slot)) return true;
    if (!screen_settings.radio_chatter_on && is_chatter(slot)) return true;
    return false;
}

// Sounds only heard inside the cockpit: the stall horn, the panel's tones and
// the warnings, callouts and chatter.
bool cockpit_only(int slot) { return slot == 22 || slot == 25 || slot == 26 || slot == 27 || slot >= 34; }

void log_to_error_out(const char* line)
{
    if (error_log.is_open()) error_log << line << '\n' << std::flush;
}

uint32_t little_u32(const unsigned char* b) { return b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24); }
uint16_t little_u16(const unsigned char* b) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }

struct file_closer {
    std::FILE* f;
    ~file_closer()
    {
        if (f) std::fclose(f);
    }
};

// The aircraft's own file for a slot: "<aircraft folder>sounds:<aircraft name
// less its last four characters> <sound name>".
std::string own_sound_path(int slot, const char* name)
{
    const acf_struct& a = pln[0];
    const std::string path(a.acf_file_path, strnlen(a.acf_file_path, sizeof a.acf_file_path));
    const size_t cut = path.find_last_of(":/\\");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    std::string base(a.acf_file_name, strnlen(a.acf_file_name, sizeof a.acf_file_name));
    if (base.size() >= 4) base.resize(base.size() - 4);   // a shorter name is used whole
    std::string sound = name;
    if (slot <= SOUND_ENGINE_LAST) sound = "engn" + std::to_string(slot + 1) + ".wav";
    else if (slot >= SOUND_PROP_FIRST && slot <= SOUND_PROP_LAST) sound = "prop" + std::to_string(slot - SOUND_PROP_FIRST + 1) + ".wav";
    return folder + "sounds:" + base + " " + sound;
}

long bytes_left(std::FILE* f)
{
    const long here = std::ftell(f);
    if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(f);
    if (std::fseek(f, here, SEEK_SET) != 0 || end < here) return -1;
    return end - here;
}

}  // namespace

void SOUND_reset()
{
    sound_slots = sound_slots_record{};
    for (int s = 0; s < SOUND_SLOTS; ++s) {
        sound_slots.volume[s] = SOUND_VOLUME_SILENT;
        sound_sample_length_sec[s] = 0.0f;
    }
}

int SOUND_init_dsound()
{
    SOUND_reset();
    MACIBM_loading_screen("Starting the sound.");
    MACIBM_loading_screen("Opening the sound device.");
    PLAT_sound_set_log(log_to_error_out);
    // This platform's sound layer stands in for the device calls: the error it
    // met is written to "ERROR.OUT" (its own text, in place of the device
    // error names), and the alert says the device could not be opened.
    if (!PLAT_sound_open(nullptr)) {
        PLAT_sound_close();   // the layer opened silent: nothing stays open
        fatal("The sound device could not be opened.", "(see ERROR.OUT for the error the sound layer gave)");
        return 0;
    }
    MACIBM_loading_screen("The sound device is ready.");
    return 1;
}

int SOUND_read_tag(std::FILE* file, const char tag[4])
{
    if (!file) return 0;
    char last[4] = {0, 0, 0, 0};
    for (;;) {
        const int c = std::fgetc(file);
        if (c == EOF) return 0;
        last[0] = last[1];
        last[1] = last[2];
        last[2] = last[3];
        last[3] = static_cast<char>(c);
        if (std::memcmp(last, tag, 4) == 0) return 1;
    }
}

void SOUND_load_wav(int slot, const char* file_name)
{
    const char* name = file_name ? file_name : "";
    if (slot % 50 == 0) MACIBM_loading_screen(("Loading sound " + std::string(name) + ".").c_str());
    if (!check_range(slot)) return;

    std::FILE* f = nullptr;
    std::string path;
    if (slot < AIRCRAFT_SOUND_SLOTS) {
        path = own_sound_path(slot, name);
        f = PLAT_fopen(path.c_str(), "rb");
    }
    if (!f) {
        path = std::string(folder_table[is_chatter(slot) ? FOLDER_RADIO_CHATTER : FOLDER_SOUNDS]) + name;
        f = PLAT_fopen(path.c_str(), "rb");
    }
    if (!f) {
        fatal("A sound file could not be opened:", FOLDERS_log_path(path.c_str()).c_str());
        return;
    }
    file_closer closer{f};
    const std::string shown = FOLDERS_log_path(path.c_str());

    if (!SOUND_read_tag(f, "RIFF")) return left_out(slot, path, "This sound file is not a RIFF file:", shown.c_str());
    if (!SOUND_read_tag(f, "WAVE")) return left_out(slot, path, "This sound file is not a WAVE file:", shown.c_str());
    if (!SOUND_read_tag(f, "fmt ")) return left_out(slot, path, "This sound file has no format block:", shown.c_str());
    unsigned char size_bytes[4];
    if (std::fread(size_bytes, 1, 4, f) != 4)
        return left_out(slot, path, "This sound file ends in its format block:", shown.c_str());
    const uint32_t format_size = little_u32(size_bytes);
    unsigned char format[FORMAT_RECORD_BYTES] = {};
    const size_t take = format_size < FORMAT_RECORD_BYTES ? format_size : FORMAT_RECORD_BYTES;
    if (std::fread(format, 1, take, f) != take)
        return left_out(slot, path, "This sound file ends in its format block:", shown.c_str());
    // A longer format block is read for its first 20 bytes and skipped.
    if (format_size > take && std::fseek(f, static_cast<long>(format_size - take), SEEK_CUR) != 0)
        return left_out(slot, path, "This sound file ends in its format block:", shown.c_str());

    const int format_tag = little_u16(format);
    const int channels = little_u16(format + 2);
    const uint32_t rate = little_u32(format + 4);
    const int block_align = little_u16(format + 12);
    const int bits = little_u16(format + 14);
    if (format_tag != FORMAT_PCM) return left_out(slot, path, "This sound file is not plain PCM sound:", shown.c_str());
    if (rate != SOUND_RATE_HZ)
        return left_out(slot, path, "This sound file is not recorded at 22,050 samples a second:", shown.c_str(),
                     ("It is recorded at " + std::to_string(rate) + " samples a second.").c_str());

    if (!SOUND_read_tag(f, "data")) return left_out(slot, path, "This sound file has no data chunk:", shown.c_str());
    if (std::fread(size_bytes, 1, 4, f) != 4)
        return left_out(slot, path, "This sound file ends in its data chunk header:", shown.c_str());
    const uint32_t data_size = little_u32(size_bytes);
    if (data_size == 0) return left_out(slot, path, "This sound file's data chunk is empty:", shown.c_str());
    // A damaged header claiming more bytes than the file holds would have the
    // read run past the file's end and load whatever memory held as sound:
    // such a file is a fatal alert like a short read.
    const long left = bytes_left(f);
    if (left < 0 || static_cast<uint64_t>(data_size) > static_cast<uint64_t>(left) || data_size > 0x7FFFFFFFu)
        return left_out(slot, path, "This sound file's data chunk claims more bytes than the file holds:",
                        shown.c_str());
    std::vector<unsigned char> data(data_size);
    if (std::fread(data.data(), 1, data_size, f) != data_size)
        return left_out(slot, path, "This sound file could not be read whole:", shown.c_str());

    if (!PLAT_sound_load(slot, data.data(), static_cast<int>(data_size), channels, bits, static_cast<int>(rate)))
        return fatal("The sound device could not take this sound file:", shown.c_str(),
                     "(mono or stereo, 8 or 16 bits are taken)");
    sound_slots.loaded[slot] = 1;
    sound_slots.playing[slot] = 0;   // a new sound in the slot is not yet playing
    const int frame_bytes = block_align > 0 ? block_align : (channels * bits / 8 > 0 ? channels * bits / 8 : 1);
    // Whole seconds (unsigned division), as the chatter's pacing takes them.
    // The data size is divided by the bytes a second (the sample rate times
    // the bytes of a sample frame), not by the sample rate alone: that would
    // give twice the real length for a 16-bit mono file (four times for
    // 16-bit stereo), and the chatter would wait that long between calls.
    sound_sample_length_sec[slot] = static_cast<float>(data_size / (uint32_t(SOUND_RATE_HZ) * uint32_t(frame_bytes)));
}

void SOUND_play(int slot, int looping, float pitch, float level)
{
    if (!check_range(slot)) return;
    SOUND_seam_played(slot, looping, pitch, level);
    if (!sim_operation_sound.has_sound || !sound_slots.loaded[slot]) return;
    if (sound_slots.playing[slot] && looping) return;   // a running loop is not restarted
    sound_slots.playing[slot] = 1;
    if (muted_by_switches(slot)) return;
    if (sim_graphics_view.view_is_external && cockpit_only(slot)) return;
    SOUND_set_volume_pitch(pitch, level * screen_settings.sound_volume, slot);
    if (!PLAT_sound_play(slot, looping != 0)) fatal("The sound device could not play a sound.");
}

void SOUND_stop(int slot)
{
    if (!check_range(slot)) return;
    SOUND_seam_stopped(slot);
    if (!sim_operation_sound.has_sound || !sound_slots.loaded[slot] || !sound_slots.playing[slot]) return;
    sound_slots.playing[slot] = 0;
    if (!PLAT_sound_stop(slot)) fatal("The sound device could not stop a sound.");
}

void SOUND_set_volume_pitch(float pitch, float level, int slot)
{
    if (!check_range(slot)) return;
    if (!sim_operation_sound.has_sound || !sound_slots.loaded[slot] || !sound_slots.playing[slot]) return;
    if (muted_by_switches(slot)) return;
    if (sim_operation_prefs.has_headset_on && !sim_graphics_view.view_is_external && slot <= 23) level *= HEADSET_FACTOR;

    // 5000 x the square root of the loudness, less 5000: hundredths of a decibel.
    const float loudness = level * VOLUME_LAW_FACTOR * screen_settings.sound_volume;
    float volume = loudness > 0.0f ? 5000.0f * std::sqrt(loudness) - 5000.0f : float(SOUND_VOLUME_SILENT);
    if (!(volume >= float(SOUND_VOLUME_SILENT))) volume = float(SOUND_VOLUME_SILENT);   // also not a number
    if (volume > 0.0f) volume = 0.0f;
    const int32_t hundredths = static_cast<int32_t>(volume);
    float hz = pitch * float(SOUND_RATE_HZ);
    if (!(hz >= float(FREQUENCY_MIN_HZ))) hz = float(FREQUENCY_MIN_HZ);
    if (hz > float(FREQUENCY_MAX_HZ)) hz = float(FREQUENCY_MAX_HZ);
    const int32_t frequency = static_cast<int32_t>(hz);
    sound_slots.volume[slot] = hundredths;
    sound_slots.frequency_hz[slot] = frequency;
    const float gain = std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
    if (!PLAT_sound_set_gain(slot, gain) ||
        !PLAT_sound_set_pitch(slot, static_cast<float>(frequency) / float(SOUND_RATE_HZ)))
        fatal("The sound device could not set a sound's volume or pitch.");
}

void SOUND_start_stop_loops(int on)
{
    if (!sim_operation_sound.has_sound) return;
    if (!on) {
        for (int s = 0; s < SOUND_SLOTS; ++s) {
            if (!sound_slots.loaded[s] || !sound_slots.playing[s]) continue;
            sound_slots.playing[s] = 0;
            if (!PLAT_sound_stop(s)) fatal("The sound device could not stop a sound.");
        }
        return;
    }
    const acf_struct& a = pln[0];
    for (int i = 0; i <= SOUND_ENGINE_LAST; ++i) {
        if (i < a.acf_num_engines && ACF_part_not_failed_or_hidden(0, i)) SOUND_play(i, 1, 1.0f, 0.0f);
        if (ACF_part_present(0, i)) SOUND_play(SOUND_PROP_FIRST + i, 1, 1.0f, 0.0f);
    }
    SOUND_play(SOUND_RUMBLE, 1, 1.0f, 0.0f);
    SOUND_play(SOUND_WIND, 1, 1.0f, 0.0f);
    if (sim_weather.precip_rain > 0.01f) SOUND_play(SOUND_RAIN, 1, 1.0f, 0.0f);
    if (sim_weather.precip_hail > 0.01f) SOUND_play(SOUND_HAIL, 1, 1.0f, 0.0f);
}
