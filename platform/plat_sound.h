// Sound output: the default sound device with one source per sound slot.
//
// Each slot holds one loaded sound (16-bit or 8-bit PCM, mono or stereo) and
// plays it once or as a loop, with a gain, a pitch (frequency ratio) and a pan
// (-1 left .. +1 right). Beside the slots, one more source plays the speech
// voice. When the machine has no sound device the layer runs silent: every
// operation is accepted and remembered, nothing is heard, and the fact is
// reported once through the log function.
//
// The operations that touch the device answer false when the device refused
// them (the slot operations also for a bad slot); a silent layer accepts all.
#pragma once

#include <cstdint>

constexpr int PLAT_SOUND_SLOTS = 109;
// The pitch range: 100 Hz to 100,000 Hz for a sound recorded at 22,050 Hz.
constexpr float PLAT_SOUND_PITCH_MIN = 100.0f / 22050.0f;
constexpr float PLAT_SOUND_PITCH_MAX = 100000.0f / 22050.0f;

// Where the layer reports that it runs silent (called at most once per run).
using PLAT_sound_log_fn = void (*)(const char* line);
void PLAT_sound_set_log(PLAT_sound_log_fn fn);

// Opens the device (nullptr: the default device) and creates the slots'
// sources. Returns true when a device was opened, false when the layer runs
// silent. A second call while open does nothing and gives the first answer.
bool PLAT_sound_open(const char* device_name);
// Releases every source, buffer, the context and the device.
void PLAT_sound_close();
bool PLAT_sound_is_open();     // opened (with a device or silent)
bool PLAT_sound_is_silent();   // open without a device

// Loads PCM data into a slot, replacing what it held (stopping it first).
// bits 8 (unsigned) or 16 (signed, native order); channels 1 or 2; a rate of
// 1 Hz or more. False for a bad slot or format.
bool PLAT_sound_load(int slot, const void* data, int bytes, int channels, int bits, int rate);
bool PLAT_sound_is_loaded(int slot);

// Starts a loaded slot from its beginning, once or looping.
bool PLAT_sound_play(int slot, bool loop);
bool PLAT_sound_stop(int slot);
void PLAT_sound_stop_all();
// True while a slot plays (a silent layer reports looping slots as playing
// until stopped and one-shot sounds as already finished).
bool PLAT_sound_is_playing(int slot);

bool PLAT_sound_set_gain(int slot, float gain);     // 0 and up
bool PLAT_sound_set_pitch(int slot, float pitch);   // frequency ratio, kept within the pitch range
bool PLAT_sound_set_pan(int slot, float pan);       // kept within -1..1

// What a slot was last given (also on a silent layer).
struct PLAT_sound_slot_state {
    bool loaded = false;
    bool looping = false;
    bool started = false;
    float gain = 1.0f;
    float pitch = 1.0f;
    float pan = 0.0f;
};
PLAT_sound_slot_state PLAT_sound_slot(int slot);

// The speech source: plays one block of 16-bit mono samples at their rate,
// replacing whatever it played. Safe to call from another thread than the
// one that opened the layer.
bool PLAT_sound_speech_play(const int16_t* samples, int count, int rate);
void PLAT_sound_speech_stop();
bool PLAT_sound_speech_is_playing();
// Sample frames the speech source was last given (also on a silent layer).
int PLAT_sound_speech_samples();
