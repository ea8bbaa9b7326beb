// The program's one pseudo-random generator: the classic 15-bit linear
// congruential generator (state = state * 1103515245 + 12345 modulo 2^32,
// result = bits 16..30 of the state, 0..32767), starting from state 1.
#pragma once

#include <cstdint>

constexpr int UTIL_RAND_MAX = 32767;

int UTIL_rand();                   // next result, 0..32767
void UTIL_srand(uint32_t seed);    // sets the state (1 is the initial state)
uint32_t UTIL_rand_state();        // the state, for a caller that puts it back with UTIL_srand

// The next result as a fraction, 0..1.
inline float UTIL_rand_fraction() { return static_cast<float>(UTIL_rand()) / static_cast<float>(UTIL_RAND_MAX); }
