// The 24-bit BMP reader of the world's own image tables over a file of
// arbitrary bytes, read alone and as the sky colour image. A refusal (false,
// or the sky colours' fatal alert) is the reader's answer; a crash, an
// out-of-bounds access or undefined behaviour is not.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/folders.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/bmp24.h"
#include "world/sky_colors.h"

namespace {

constexpr const char* NAME = "FUZZ_SKY.BMP";

std::string image_path()
{
    std::filesystem::create_directories(fuzz_program_folder() + "Resources/bitmaps");
    return std::string(folder_table[FOLDER_BITMAPS]) + NAME;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = image_path();
    return fuzz_read_file(path, data, size, [] {
        bmp24_image image;
        // Every pixel of an image read is there: the last one is read back.
        if (BMP24_read(path.c_str(), image)) {
            volatile uint8_t last = image.pixel(image.height - 1, image.width - 1)[2];
            (void)last;
        }
        WEATHER_load_sky_colors(NAME);
    });
}
