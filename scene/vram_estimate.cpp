// The video-memory estimate: the frame buffer and the textures.
#include "scene/vram_estimate.h"

#include <cstdint>

#include "core/screen.h"
#include "graphics/ogl_tex.h"

float UTIL_vram_estimate()
{
    // Integer arithmetic, truncated; in 64 bits, since a large window's bits
    // (width x height x depth) would overflow 32-bit integers.
    int64_t bytes = static_cast<int64_t>(screen.window_width) * screen.window_height * screen.colour_depth / 8;
    for (const int32_t b : texture_memory)
        if (b > 0) bytes += b;
    return static_cast<float>(static_cast<double>(bytes) / 1000000.0);
}
