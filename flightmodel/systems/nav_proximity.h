// The distance test with which the radio receivers pick the navaid nearest
// to the user's plane.
#pragma once

// The runway label is world/runway_label.h.

// Distance in degrees, sqrt(dlat^2 + dlon^2), from the user's plane to the
// navaid at navaid_index. When it is below *best + 0.1 it is stored in *best
// and the answer is 1; otherwise 0 and *best stays. An index outside the
// navaid table answers 0.
int NAV_nearer_than_best(int navaid_index, float* best);
