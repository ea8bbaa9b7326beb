// What the image targets share: an image file of arbitrary bytes loaded
// through the texture loader the ways the program loads one: as an
// aircraft's paint (with the rest of that aircraft's textures and its
// shadow), as a colour-keyed and a brightness-keyed texture with reduced
// levels, as an instrument picture composed onto the panel and as an
// aircraft's own panel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_textures.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz_texture {

constexpr int PLANE = 1;

// Loads the image written at "AIRCRAFT:FUZZ_PAINT" + extension (".BMP" or
// ".PNG", the loader trying the first and then the second).
inline int load_image(const std::string& extension, const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        const std::string f = fuzz_program_folder();
        std::filesystem::create_directories(f + "Aircraft");
        CONST_fill_constants();
        OGL_init_image_blocks();
        return f;
    }();
    if (!fuzz_gl_context()) return 0;
    static const std::string aircraft = folder + "AIRCRAFT:FUZZ.ACF";
    static const std::string paint = folder + "AIRCRAFT:FUZZ_PAINT" + extension;
    return fuzz_read_file(paint, data, size, [] {
        acf_struct& a = pln[PLANE];
        std::memset(static_cast<void*>(&a), 0, sizeof a);
        UTIL_strcpy(aircraft.c_str(), a.acf_file_path);
        UTIL_strcpy("FUZZ.ACF", a.acf_file_name);
        ACF_load_textures(1, 0, 0, PLANE);
        int width = 0, height = 0;
        OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_PAINT_FIRST + 4 * PLANE + 2, TEX_KEY_MIPMAP, paint.c_str(), width, height);
        OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_PAINT_FIRST + 4 * PLANE + 3, TEX_BRIGHT_MIPMAP, paint.c_str(), width,
                          height);
        // An instrument picture put 100 units right of and above the panel's origin.
        screen.screen_area_left = screen.screen_area_bottom = 0.0f;
        OGL_load_tex_file(LOAD_BITMAP, TEX_SLOT_INSTRUMENTS_FIRST, 5100 * 10000 + 5100, paint.c_str(), width, height);
        OGL_load_tex_file(LOAD_CUSTOM_PANEL, 0, TEX_KEY, paint.c_str(), width, height);
    });
}

}  // namespace fuzz_texture
