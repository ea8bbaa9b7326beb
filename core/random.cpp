#include "core/random.h"

#include "core/reset_registry.h"

namespace {
uint32_t rand_state = 1;
}

// The generator's initial state, as the program starts.
void UTIL_rand_reset() { rand_state = 1; }
ORVELL_RESET(UTIL_rand_reset, program);

int UTIL_rand()
{
    rand_state = rand_state * 1103515245u + 12345u;
    return static_cast<int>((rand_state >> 16) & 0x7fff);
}

void UTIL_srand(uint32_t seed) { rand_state = seed; }

uint32_t UTIL_rand_state() { return rand_state; }
