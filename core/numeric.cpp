#include "core/numeric.h"

float UTIL_wrap_closed(float v, float span)
{
    if (!std::isfinite(v)) return 0.0f;
    if (v > span) {
        v = std::fmod(v, span);
        if (v == 0.0f) v = span;
    } else if (v < 0.0f) {
        v = std::fmod(v, span);
        if (v < 0.0f) v += span;
        if (v == 0.0f) v = 0.0f;   // a whole number of spans below 0 ends at 0, not -0
    }
    return v;
}
