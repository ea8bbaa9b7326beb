// Multi-octave value noise drawn from the program's random table: the same
// seed always gives the same pattern.
#pragma once

// Adds value noise to the rectangle x0..x1 x z0..z1 (both ends included) of a
// grid indexed x * stride + z. For each octave o from `first` to `last` the
// rectangle is cut into 2^o x 2^o sub-cells; each sub-cell's centre gains
// (lo + (hi - lo) * r) / 2^o (half that again for octave 0), r drawn from the
// random table at (seed + j * 2^o + i); the sub-cell's inside is then
// interpolated from its centre and its border. A rectangle that is empty,
// reaches below 0 or past the stride, or octaves outside 0..15, change nothing.
void UTIL_noise_fill(int x0, int z0, int x1, int z1, float* grid, int stride, float lo, float hi, int first,
                     int last, int seed);
