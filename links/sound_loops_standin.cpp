// Stand-in of the looping sounds and the speech voice's release until the
// sound links are built: nothing plays. The release is recorded.
#include "links/sound.h"

#include <string>

#include "links/calls_standin.h"

void SOUND_start_stop_loops(int on) { links_standin_calls.push_back("SOUND_start_stop_loops(" + std::to_string(on) + ")"); }

void SOUND_close_speech() { links_standin_calls.push_back("SOUND_close_speech()"); }
