// The speech voice: texts synthesised into 16-bit samples and played on the
// sound layer's speech source.
//
// Synthesis runs on a thread of its own, so saying a text returns at once. A
// new text purges the one still being synthesised or spoken. Texts are taken
// as Latin-1 bytes.
#pragma once

#include <cstdint>
#include <vector>

// Starts the synthesiser with its default voice; false when there is none.
// A second call while it runs gives true.
bool PLAT_speech_open();
// Ends the synthesis thread (the synthesiser stays started for the run).
void PLAT_speech_close();
// Closes the voice and ends the synthesiser with the thread the library runs
// for it, for the end of a process that must leave no thread behind; a later
// open starts the synthesiser again.
void PLAT_speech_end();
bool PLAT_speech_is_open();

// Purges what is being said and starts saying the text.
void PLAT_speech_say(const char* latin1_text);
// Stops what is being synthesised or spoken.
void PLAT_speech_purge();
// True while a text is being synthesised or its samples are playing.
bool PLAT_speech_busy();
// Waits until the text being synthesised has gone to the speech source (or
// was purged), at most `seconds`; true when nothing is left to synthesise.
bool PLAT_speech_wait_synthesised(double seconds);

// Synthesises a text at once on the calling thread's behalf (through the
// synthesis thread) and returns its samples; `rate` receives the sample rate.
// Empty when there is no synthesiser.
std::vector<int16_t> PLAT_speech_render(const char* latin1_text, int* rate);
