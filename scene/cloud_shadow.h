// The cloud-shadow picture the ground surface samples on its second texture
// unit: the texture that holds it and how ground points map into it.
#pragma once

#include <cstdint>

// Texture slot of the shadow picture of this frame, 0 when there is none.
extern int32_t cloud_shadow_texture;
// The picture's footprint: x origin, reciprocal x extent, z origin,
// reciprocal z extent (local metres).
extern float cloud_shadow_mapping[4];
// Height of the shadowing cloud base, m.
extern float cloud_shadow_base;
