// Speech: the speech voice, the text on screen and its deadline.
#include "links/speech.h"

#include <cstring>

#include "core/frame_clock.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "core/simvars/operation.h"
#include "links/sound.h"
#include "links/sound_seam.h"
#include "platform/plat_sound.h"
#include "platform/plat_speech.h"

char speech_text[TEXT_SIZE] = {};
float speech_text_until = 0.0f;

// No text on screen: a program started again in the same process must not
// show, until the last program's deadline, the text that program spoke.
void SOUND_speech_text_reset()
{
    for (char& c : speech_text) c = 0;
    speech_text_until = 0.0f;
}
ORVELL_RESET(SOUND_speech_text_reset, program);

int SOUND_init_speech()
{
    MACIBM_loading_screen("Starting the speech voice.");
    return PLAT_speech_open() ? 1 : 0;
}

void SOUND_speak(const char* text, int show)
{
    // The program's texts hold at most 499 characters and their end; a longer
    // text is cut there so the buffers keep their end. No text (a null pointer
    // from a plug-in) is spoken as an empty one.
    char cut[TEXT_SIZE] = {};
    if (text) std::strncpy(cut, text, TEXT_SIZE - 1);
    SOUND_seam_spoken(cut, show);
    if (show) {
        std::memcpy(speech_text, cut, TEXT_SIZE);
        speech_text_until =
            frame_clock + SPEECH_SHOW_SEC + SPEECH_SHOW_PER_CHAR_SEC * static_cast<float>(std::strlen(cut));
    }
    if (sim_operation_sound.has_speech_synth && sim_operation_sound.speech_on) PLAT_speech_say(cut);
}

void SOUND_close_speech()
{
    if (!sim_operation_sound.has_sound) return;
    if (sim_operation_sound.has_speech_synth) PLAT_speech_close();
    PLAT_sound_close();
    sim_operation_sound.has_sound = 0;
    SOUND_reset();
}
