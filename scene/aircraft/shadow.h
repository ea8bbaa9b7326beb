// The soft shadow of a plane: its footprint seen from straight above, white
// with the footprint in the alpha channel, S x S texels in texture slot
// 178 + plane, and the half-extents acf_size_x and acf_size_z over which the
// shadow drawer lays it. Propellers and gear cast no shadow; failed parts
// neither.
//
// Reads: pln[plane] presence, wing stations and chords, the body arrays,
// arms and the nacelles' engine side cants; rendering_res.
// Writes: pln[plane] acf_size_x, acf_size_z; the texture slot.
#pragma once

#include <cstdint>

// Side of the shadow texture: 32, 64, 128 or 256 for rendering_res 0..3, 512
// for any other, halved while the driver's largest texture (when known,
// above 0) is smaller.
int ACF_shadow_size(int rendering_res, int max_texture_size);

// Measures the plane's half-extents (each at least 0.01 m, then widened by
// (S + 4) / S for a two-texel border) into acf_size_x and acf_size_z, and
// draws its footprint into `rgba` (S x S texels of 4 bytes, row by row):
// white everywhere, alpha 255 inside the footprint and 0 outside. Points
// that are not finite are left out; nothing is written outside the S x S texels.
void ACF_shadow_raster(int plane, int S, uint8_t* rgba);

// Softens the alpha of `rgba` in place with a 3 x 3 box (the mean, rounded),
// column by column (each texel already softened feeds the ones after it); the
// outermost rows and columns stay as they are.
void ACF_shadow_blur(uint8_t* rgba, int S);

// The whole shadow of plane `plane`: size, footprint and blur in the
// graphics kit's pixel buffer, uploaded to slot 178 + plane with linear filters.
void ACF_load_shadow(int plane);
