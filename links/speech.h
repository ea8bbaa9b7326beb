// Speech: one text spoken through the speech voice.
#pragma once

// Speaks the text when speech is available and switched on.
void SOUND_speak(const char* text, int flag);
