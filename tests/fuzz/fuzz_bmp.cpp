// The BMP reader of the texture loader over a file of arbitrary bytes, loaded
// as an aircraft's paint and the other ways the program loads an image.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzz_texture::load_image(".BMP", data, size);
}
