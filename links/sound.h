// Sound and speech: the device, the speech voice and the sound slots.
#pragma once

constexpr int SOUND_SLOTS = 109;              // slots 0..108
constexpr int SOUND_FIRST_CHATTER_SLOT = 59;  // 59..108 hold the radio chatter

// Opens the sound device; 1 when it is ready. A machine without a sound device
// runs silent and still answers 1.
int SOUND_init_dsound();
// Starts the speech voice; non-zero when speech is available.
int SOUND_init_speech();
// Loads a WAV file into a slot: for slots 59 and up the name is taken in
// "RESOURCES:SOUNDS:RADIO CHATTER:", below 59 in "RESOURCES:SOUNDS:".
void SOUND_load_wav(int slot, const char* file_name);

// Starts sound slot 0..108 unless it is already playing, looping or once, at
// the two levels (scaled by the master sound level).
void SOUND_play(int slot, int looping, float level_a, float level_b);
// Stops the slot.
void SOUND_stop(int slot);
// Per-frame engine, propeller, wind, rocket and precipitation levels and
// pitch for a listener at the user plane's local position.
void SOUND_engine_update(float x, float y, float z);
// Length in seconds of each slot's sample, set when the wave files are loaded.
extern float sound_sample_length_sec[SOUND_SLOTS];

// 0 stops every playing sound slot; 1 starts the looping sounds.
void SOUND_start_stop_loops(int on);
// Releases the speech voice.
void SOUND_close_speech();
