// Stand-in of speech until the sound links are built: there is no voice, so
// nothing is heard; the text goes to the recording seam and the call log.
#include "links/speech.h"

#include <string>

#include "links/calls_standin.h"
#include "links/sound_seam.h"

float speech_busy_until = 0.0f;

void SOUND_speak(const char* text, int flag)
{
    links_standin_calls.push_back("SOUND_speak(" + std::string(text ? text : "") + "," + std::to_string(flag) + ")");
    SOUND_seam_spoken(text, flag);
}
