#include "core/random.h"

namespace {
uint32_t rand_state = 1;
}

int UTIL_rand()
{
    rand_state = rand_state * 1103515245u + 12345u;
    return static_cast<int>((rand_state >> 16) & 0x7fff);
}

void UTIL_srand(uint32_t seed) { rand_state = seed; }
