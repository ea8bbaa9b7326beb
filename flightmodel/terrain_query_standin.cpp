// Stand-in of the terrain height query until the terrain is built: flat
// terrain at the height and cell given in `terrain_standin`.
#include "flightmodel/terrain_query.h"

#include "flightmodel/terrain_query_standin.h"

terrain_standin_answer terrain_standin;

float TERRAIN_height_at(float x, float z, float* scratch_a, float* scratch_b, float* scratch_c, int* cell_row,
                        int* cell_col, int flag, const char* tag)
{
    if (scratch_a) *scratch_a = 0.0f;
    if (scratch_b) *scratch_b = 0.0f;
    if (scratch_c) *scratch_c = 0.0f;
    if (cell_row) *cell_row = terrain_standin.cell_row;
    if (cell_col) *cell_col = terrain_standin.cell_col;
    return terrain_standin.height;
}
