// What the stand-in terrain query answers: a flat terrain at a set height, and
// a set grid cell.
#pragma once

struct terrain_standin_answer {
    float height = 0.0f;
    int cell_row = 0;
    int cell_col = 0;
};
extern terrain_standin_answer terrain_standin;
