// A value that looks random but is the same every time for the same key (a
// grid cell, an object), taken from the program's fixed random table.
#pragma once

// a + (b - a) * random_table[key mod 10000]; any key, negative ones too, reads
// inside the table.
float UTIL_random_interp(float a, float b, int key);
