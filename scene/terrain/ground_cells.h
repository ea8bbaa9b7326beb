// What the ground passes share about the grid's cells: the window of cells a
// pass walks, held inside the current planet's grid, and the cells' flags of
// this projection. The grid's pure reads (its last cell, the random table,
// the ground height inside a cell) come from the world.
#pragma once

#include <vector>

#include "scene/scene_state.h"
#include "world/cover_placement.h"
#include "world/segments.h"

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
