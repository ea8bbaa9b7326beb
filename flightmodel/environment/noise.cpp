#include "flightmodel/environment/noise.h"

#include <cstdint>
#include <cstdlib>

#include "core/constants.h"

namespace {

constexpr int MAX_OCTAVE = 15;

// The value on the straight line from (a, va) to (b, vb) at t.
float line(int a, float va, int b, float vb, int t) { return va + (vb - va) * static_cast<float>(t - a) / (b - a); }

}  // namespace

void UTIL_noise_fill(int x0, int z0, int x1, int z1, float* grid, int stride, float lo, float hi, int first,
                     int last, int seed)
{
    // A rectangle reaching outside the grid's rows would write past them, and
    // an octave beyond MAX_OCTAVE would overflow 2^o: such a call adds nothing.
    if (!grid || x0 < 0 || z0 < 0 || x1 < x0 || z1 < z0 || z1 >= stride) return;
    if (first < 0 || last > MAX_OCTAVE) return;
    const auto cell = [grid, stride](int x, int z) -> float& {
        return grid[static_cast<std::size_t>(x) * static_cast<std::size_t>(stride) + static_cast<std::size_t>(z)];
    };
    for (int o = first; o <= last; ++o) {
        const int n = 1 << o;
        const float amplitude = (o == 0 ? 0.5f : 1.0f) / static_cast<float>(n);
        const int wx = (x1 - x0) / n;
        const int wz = (z1 - z0) / n;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const int xa = x0 + i * wx, xb = xa + wx;
                const int za = z0 + j * wz, zb = za + wz;
                const int xm = (xa + xb) / 2, zm = (za + zb) / 2;

                // The entry (seed + j n + i) mod 10,000, taken non-negative: a
                // negative seed would otherwise read before the table.
                const int64_t key = static_cast<int64_t>(seed) + static_cast<int64_t>(j) * n + i;
                const float r = random_table[((key % RANDOM_TABLE_SIZE) + RANDOM_TABLE_SIZE) % RANDOM_TABLE_SIZE];
                cell(xm, zm) += (lo + (hi - lo) * r) * amplitude;

                for (int x = xa + 1; x < xb; ++x) {
                    if (x == xm) continue;
                    cell(x, zm) = x < xm ? line(xa, cell(xa, zm), xm, cell(xm, zm), x)
                                         : line(xm, cell(xm, zm), xb, cell(xb, zm), x);
                }
                for (int z = za + 1; z < zb; ++z) {
                    if (z == zm) continue;
                    cell(xm, z) = z < zm ? line(za, cell(xm, za), zm, cell(xm, zm), z)
                                         : line(zm, cell(xm, zm), zb, cell(xm, zb), z);
                }
                for (int x = xa + 1; x < xb; ++x) {
                    if (x == xm) continue;
                    for (int z = za + 1; z < zb; ++z) {
                        if (z == zm) continue;
                        const float v1 = x < xm ? line(xa, cell(xa, z), xm, cell(xm, z), x)
                                                : line(xm, cell(xm, z), xb, cell(xb, z), x);
                        const float v2 = z < zm ? line(za, cell(x, za), zm, cell(x, zm), z)
                                                : line(zm, cell(x, zm), zb, cell(x, zb), z);
                        float v = (v1 + v2) * 0.5f;
                        if (o == 0)
                            v *= (1.0f - static_cast<float>(std::abs(x - xm)) / (xb - xa)) *
                                 (1.0f - static_cast<float>(std::abs(z - zm)) / (zb - za));
                        cell(x, z) = v;
                    }
                }
            }
    }
}
