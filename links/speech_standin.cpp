// Stand-in of speech until the sound links are built: there is no voice, so
// nothing is heard; the call is recorded with its text.
#include "links/speech.h"

#include <string>

#include "links/calls_standin.h"

void SOUND_speak(const char* text, int flag)
{
    links_standin_calls.push_back("SOUND_speak(" + std::string(text ? text : "") + "," + std::to_string(flag) + ")");
}
