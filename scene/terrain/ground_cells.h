// What the ground passes share about the grid's cells: the window of cells a
// pass walks, held inside the current planet's grid; the random table read
// by any index; and the ground height inside a cell by its two flat
// triangles.
#pragma once

#include <vector>

#include "scene/scene_state.h"
#include "world/segments.h"

// The last cell column (east) and row (north) of the current planet's grid.
int GROUND_last_column();
int GROUND_last_row();

// `in` held inside the grid's cells (a window reaching past the grid would
// have the walkers read cells past its end); false (and nothing to walk) when
// `in` is empty, its first column after its last or its first row after its last.
bool GROUND_hold_window(const terrain_window_record& in, terrain_window_record& out);

// The cell's flag of this projection (the surface pass marks it).
bool GROUND_cell_visible(int i, int j);

// Calls visit(point) for every point of segment list `kind` in the visible
// cells of columns first_i..last_i and rows first_j..last_j, column by column
// and row by row, each cell's points in their order.
template <class Visit>
void GROUND_visit_visible_points(int kind, int first_i, int last_i, int first_j, int last_j, Visit&& visit)
{
    for (int i = first_i; i <= last_i; ++i)
        for (int j = first_j; j <= last_j; ++j) {
            if (!GROUND_cell_visible(i, j)) continue;
            const std::vector<segment_point>* list = SEG_list(kind, i, j);
            if (!list) continue;
            for (const segment_point& p : *list) visit(p);
        }
}

// The random table's entry at any index, negative ones too.
float GROUND_random(long index);

// The ground height at (x, z) by the flat triangles of cell (i, j): the one
// through its corners (i, j), (i+1, j), (i, j+1) on the side of (i, j) of the
// diagonal from (i, j+1) to (i+1, j), else the one through (i+1, j+1),
// (i, j+1), (i+1, j); points outside the cell take the same flats, extended.
float GROUND_height_in_cell(int i, int j, float x, float z);
