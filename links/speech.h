// Speech: texts spoken by the speech voice and shown on screen for a time
// that grows with their length.
//
// Reads: sim_operation_sound (has_speech_synth, speech_on, has_sound),
// frame_clock. Writes: speech_text, speech_text_until.
#pragma once

#include "core/text_util.h"

constexpr float SPEECH_SHOW_SEC = 6.0f;             // every shown text stays this long
constexpr float SPEECH_SHOW_PER_CHAR_SEC = 0.125f;  // and this much longer per character

// Starts the speech voice; 1 when it is ready, 0 without one.
int SOUND_init_speech();
// Shows the text (show flag set) and speaks it when speech is available and
// switched on. Returns at once; a new text interrupts the one being spoken.
// Texts are cut to 499 characters.
void SOUND_speak(const char* text, int show);
// Releases the speech voice and the sound device.
void SOUND_close_speech();

// The text on screen (the overlay and the ATC window show it) and the frame
// clock until which it is shown; the radio stays busy until then.
extern char speech_text[TEXT_SIZE];
extern float speech_text_until;

// No text on screen. A flight start clears it before its own lines: the text
// of the flight before (a landing signal officer's call) stayed on screen
// over the next start until its deadline.
void SOUND_speech_text_reset();
