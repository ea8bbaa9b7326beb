// Sound: the 109 sound slots, their WAV files, playing, stopping, the volume
// and pitch law, and the engine and weather loops.
//
// Reads: sim_operation_sound (has_sound, sound_on), screen_settings
// (radio_chatter_on, sound_volume), sim_operation_prefs.has_headset_on,
// sim_graphics_view (view_is_external and the camera), the user plane's
// aircraft and flight-model records and the weather at the plane.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/sound_slots.h"

constexpr int SOUND_SLOTS = 109;              // slots 0..108
constexpr int SOUND_FIRST_CHATTER_SLOT = 59;  // 59..108 hold the radio chatter
constexpr int SOUND_RATE_HZ = 22050;          // the one sample rate every sound file has
constexpr int SOUND_VOLUME_SILENT = -5000;    // hundredths of a decibel

// The slots as the program keeps them. The playing flags are the program's
// own: a one-shot sound stays marked playing after it has sounded, until it
// is stopped.
struct sound_slots_record {
    int32_t loaded[SOUND_SLOTS];
    int32_t playing[SOUND_SLOTS];
    // What the slot's output was last set to: hundredths of a decibel
    // (-5000..0) and hertz (100..100,000).
    int32_t volume[SOUND_SLOTS];
    int32_t frequency_hz[SOUND_SLOTS];
};
extern sound_slots_record sound_slots;
// Length in seconds of each slot's sound, set when its file is loaded.
extern float sound_sample_length_sec[SOUND_SLOTS];
// Clears the slot record and the lengths.
void SOUND_reset();

// Opens the sound device; 1 when it is ready. Without a device it is a fatal
// alert, and 0 (the start-up's own fatal alert follows).
int SOUND_init_dsound();
// Starts the speech voice; 1 when speech is available (speech.h).
int SOUND_init_speech();
// Loads a WAV file (22,050 Hz PCM) into a slot. Slots 0..58 take the user
// aircraft's own file when it has one, else the file of "RESOURCES:SOUNDS:";
// slots 59..108 take it from "RESOURCES:SOUNDS:RADIO CHATTER:". A missing or
// damaged file is a fatal alert naming the condition.
void SOUND_load_wav(int slot, const char* file_name);
// Searches the file from its position for the four bytes of the tag, one byte
// at a time; 1 when found (the file then stands just after it).
int SOUND_read_tag(std::FILE* file, const char tag[4]);

// Plays a slot once or as a loop at a pitch (frequency ratio, 1 = 22,050 Hz)
// and a level (linear loudness about 0..1, times the master volume). A loop
// that runs is not restarted.
void SOUND_play(int slot, int looping, float pitch, float level);
// Stops the slot.
void SOUND_stop(int slot);
// Sets a playing slot's volume from the level and its frequency from the pitch.
void SOUND_set_volume_pitch(float pitch, float level, int slot);
// 0 stops every playing slot; 1 starts the engine, propeller and weather loops.
void SOUND_start_stop_loops(int on);

// Per-frame engine, propeller, jet, rumble, wind, rain and hail loops for the
// user plane at local position x, y, z (metres).
void SOUND_engine_update(float x, float y, float z);

// What the engine sounds keep between frames.
struct sound_engine_record {
    float previous_distance_m;
    float wander_1, wander_2;           // the two wander factors, about 1
    float wander_rate_1, wander_rate_2;
    float next_change_sec;              // frame clock of the next change of the rates
};
extern sound_engine_record sound_engine;
void SOUND_engine_reset();

// Releases the speech voice and the sound device.
void SOUND_close_speech();
