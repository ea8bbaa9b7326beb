// Value noise on a lattice that wraps every `period` cells, so a picture made
// of whole periods tiles without a seam. The lattice's values come from the
// program's random generator, seeded with `seed`.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/random.h"

class tiling_noise {
public:
    tiling_noise(int period, uint32_t seed) : period_(period), values_(size_t(period) * size_t(period))
    {
        UTIL_srand(seed);
        for (float& v : values_) v = static_cast<float>(UTIL_rand()) / static_cast<float>(UTIL_RAND_MAX);
    }
    // u, v in lattice cells: 0..1.
    float at(float u, float v) const
    {
        const float fu = std::floor(u), fv = std::floor(v);
        const int iu = static_cast<int>(fu), iv = static_cast<int>(fv);
        const float tu = smooth(u - fu), tv = smooth(v - fv);
        const float a = value(iu, iv), b = value(iu + 1, iv), c = value(iu, iv + 1), d = value(iu + 1, iv + 1);
        return (a * (1 - tu) + b * tu) * (1 - tv) + (c * (1 - tu) + d * tu) * tv;
    }

private:
    static float smooth(float t) { return t * t * (3.0f - 2.0f * t); }
    float value(int u, int v) const
    {
        const int pu = ((u % period_) + period_) % period_, pv = ((v % period_) + period_) % period_;
        return values_[size_t(pv) * size_t(period_) + size_t(pu)];
    }
    int period_;
    std::vector<float> values_;
};
