// The runway label of a runway designator, and the distance test with which
// the radio receivers pick the navaid nearest to the user's plane.
#pragma once

constexpr int RWY_LABEL_SIZE = 12;   // "PAD " or "RWY ", three characters, a terminator and room

// "PAD " + designator when it begins with 'H', else "RWY " + designator; a
// trailing 'x' is dropped. `out` holds at least RWY_LABEL_SIZE bytes; the
// designator is read to at most 3 characters.
void RWY_label(const char* designator, char* out);

// Distance in degrees, sqrt(dlat^2 + dlon^2), from the user's plane to the
// navaid at navaid_index. When it is below *best + 0.1 it is stored in *best
// and the answer is 1; otherwise 0 and *best stays. An index outside the
// navaid table answers 0.
int NAV_nearer_than_best(int navaid_index, float* best);
