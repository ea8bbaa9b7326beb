// Where the cover of the land-cover definitions stands on the loaded grid:
// which cells hold cover, where each definition of a cell stands, which
// object a generated-object definition picks, and which definitions the
// autogen setting takes. Every choice is an entry of the random table indexed
// by cell and definition, so a cell holds the same cover every time it is
// asked, by the terrain pass drawing it or by the simulation standing a plane
// on it. Also the pure reads of the grid both need: the last cell of the
// planet's grid, the random table by any index, the ground height in a cell.
//
// Reads: the terrain grid (points, land use, airport flags, point textures),
// the land-use table, cover_table, the random table, the planet.
#pragma once

#include <cstddef>
#include <vector>

#include "world/terrain_definitions.h"

// The last cell column (east) and row (north) of the current planet's grid.
int COVER_last_column();
int COVER_last_row();

// The random table's entry at any index, negative ones too.
float COVER_random(long index);

// The ground height at (x, z) by the flat triangles of cell (i, j): the one
// through its corners (i, j), (i+1, j), (i, j+1) on the side of (i, j) of the
// diagonal from (i, j+1) to (i+1, j), else the one through (i+1, j+1),
// (i, j+1), (i+1, j); points outside the cell take the same flats, extended.
float COVER_height_in_cell(int i, int j, float x, float z);

// The cover entry of cell (i, j) of the grid, or null when the cell holds no
// cover: a cell under an airport, a cell drawn from texture layers, or one
// whose land use has no cover texture.
const cover_entry* COVER_cell_entry(int i, int j);

// Where definition k of cell (i, j) stands; false when the cell does not
// show it. `draw`, when given, takes the cell's chance draw of the
// definition (it also picks a generated object's alternative).
bool COVER_place(const cover_definition& d, int i, int j, int k, float& x, float& y, float& z, float* draw = nullptr);

// The object of the object table a generated-object definition puts up for
// its chance draw `draw`: one of its range by the draw. A range beyond any
// int is held to it; the callers refuse an index outside the table.
int COVER_object_pick(const cover_definition& d, float draw);

// The definitions autogen level `level` takes: 0, stride, 2 stride ... with
// stride 6 - level. A level above 5 would give a stride of 0 or below, a walk
// that never ends: it takes every definition, as level 5.
long long COVER_stride(int level);

// Calls f(k, definition) for the definitions of a list taken by the stride.
template <class F>
void COVER_for_stride(const std::vector<cover_definition>& list, long long stride, F&& f)
{
    for (std::size_t k = 0; k < list.size(); k += static_cast<std::size_t>(stride)) f(static_cast<int>(k), list[k]);
}
