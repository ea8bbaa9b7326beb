#include "links/sound_seam.h"

namespace {
sound_recorder* installed_recorder = nullptr;
}

void SOUND_install_recorder(sound_recorder* recorder) { installed_recorder = recorder; }

void SOUND_seam_played(int slot, int looping, float pitch, float level)
{
    if (installed_recorder) installed_recorder->played(slot, looping, pitch, level);
}

void SOUND_seam_stopped(int slot)
{
    if (installed_recorder) installed_recorder->stopped(slot);
}

void SOUND_seam_spoken(const char* text, int show)
{
    if (installed_recorder) installed_recorder->spoken(text ? text : "", show);
}
