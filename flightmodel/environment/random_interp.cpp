#include "flightmodel/environment/random_interp.h"

#include "core/constants.h"

float UTIL_random_interp(float a, float b, int key)
{
    int k = key % RANDOM_TABLE_SIZE;
    if (k < 0) k += RANDOM_TABLE_SIZE;   // a negative key takes the non-negative remainder
    return a + (b - a) * random_table[k];
}
