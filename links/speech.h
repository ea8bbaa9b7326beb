// Speech: one text spoken through the speech voice.
#pragma once

// Speaks the text when speech is available and switched on.
void SOUND_speak(const char* text, int flag);

// Frame-clock time until which the voice is busy with the last text.
extern float speech_busy_until;
