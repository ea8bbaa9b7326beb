// The sound file reader over a file of arbitrary bytes, loaded into a slot
// of the sound device (the null driver's).
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/folders.h"
#include "links/sound.h"
#include "platform/plat_sound.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool opened = [] {
        fuzz_program_folder();
        return PLAT_sound_open(nullptr);
    }();
    (void)opened;
    static const std::string file = std::string(folder_table[FOLDER_SOUNDS]) + "fuzz.wav";
    return fuzz_read_file(file, data, size, [] { SOUND_load_wav(SOUND_FIRST_CHATTER_SLOT - 1, "fuzz.wav"); });
}
