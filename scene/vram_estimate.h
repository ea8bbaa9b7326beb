// The video memory the window and the loaded textures take, for the rendering
// settings screen.
//
// Reads: the window size and colour depth (core/screen.h); the bytes held by
// each texture slot (texture_memory, graphics/ogl_tex.h).
#pragma once

// Megabytes (10^6 bytes): the window's bytes (width x height x depth / 8, in
// whole bytes) plus every texture slot that holds bytes.
float UTIL_vram_estimate();
