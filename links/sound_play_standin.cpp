// Stand-in of the sound slots' playing until the sound layer is built: nothing
// is heard; every start and stop of a slot in range goes to the recording seam.
#include "links/sound.h"
#include "links/sound_seam.h"

float sound_sample_length_sec[SOUND_SLOTS] = {};

void SOUND_play(int slot, int looping, float level_a, float level_b)
{
    if (slot < 0 || slot >= SOUND_SLOTS) return;
    SOUND_seam_played(slot, looping, level_a, level_b);
}

void SOUND_stop(int slot)
{
    if (slot < 0 || slot >= SOUND_SLOTS) return;
    SOUND_seam_stopped(slot);
}

void SOUND_engine_update(float, float, float) {}
