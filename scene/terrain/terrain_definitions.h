// The definitions of what stands on the ground of each terrain texture, read
// from the text file beside the texture's image.
#pragma once

// Reads the definition file at `path` (a program path) into the entry of
// terrain texture index t (0..48).
void TERRAIN_setup_textures(const char* path, int t);
