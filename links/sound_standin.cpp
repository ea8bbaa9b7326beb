// Stand-in of the sound layer until the sound links are built: the device is
// opened through the platform layer (silent when the machine has none); no
// speech voice; loads are recorded, not read.
#include "links/sound.h"

#include <string>

#include "links/calls_standin.h"
#include "platform/plat_sound.h"
#include "core/folders.h"

namespace {
void log_to_error_out(const char* line)
{
    if (error_log.is_open()) error_log << line << '\n' << std::flush;
}
}  // namespace

int SOUND_init_dsound()
{
    links_standin_calls.push_back("SOUND_init_dsound()");
    PLAT_sound_set_log(log_to_error_out);
    PLAT_sound_open(nullptr);
    return 1;
}

int SOUND_init_speech()
{
    links_standin_calls.push_back("SOUND_init_speech()");
    return 0;
}

void SOUND_load_wav(int slot, const char* file_name)
{
    links_standin_calls.push_back("SOUND_load_wav(" + std::to_string(slot) + "," + (file_name ? file_name : "") +
                                  ")");
}
