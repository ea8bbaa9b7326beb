// The part geometry arrays of each plane slot, over the record's drawing region.
#include "scene/aircraft/part_geometry.h"

#include <new>

#include "core/numeric.h"

acf_part_geometry* ACF_geometry(int plane)
{
    if (plane < 0 || plane >= ACF_SLOTS) return nullptr;
    // The region is a byte array inside the record, so the arrays can live there.
    return std::launder(reinterpret_cast<acf_part_geometry*>(pln[plane].acf_draw_geo));
}

// The element count held to 0..10: the arrays hold 10 elements (20 rows) a
// part, and a larger count from a file would read and write past them.
int ACF_mesh_elements(int plane, int part)
{
    if (plane < 0 || plane >= ACF_SLOTS || part < 0 || part > PART_AFL_LAST) return 0;
    return util_clamp_int(pln[plane].acf_els[part], 0, ACF_ELS_PER_PART);
}

int ACF_mesh_rows(int plane, int part)
{
    if (plane < 0 || plane >= ACF_SLOTS || part < 0 || part >= ACF_NUM_PARTS) return 0;
    if (part <= PART_AFL_LAST) return 2 * ACF_mesh_elements(plane, part);
    if (part < GEO_SMALL_BODY_FIRST) return GEO_BODY_ROWS;
    if (part <= PART_BODY_LAST) return GEO_SMALL_BODY_ROWS;
    return 0;
}

int ACF_mesh_points(int part)
{
    if (part < 0 || part >= ACF_NUM_PARTS) return 0;
    if (part <= PART_AFL_LAST) return GEO_FOIL_POINTS;
    if (part < GEO_SMALL_BODY_FIRST) return GEO_POINTS;
    if (part <= PART_BODY_LAST) return GEO_SMALL_BODY_POINTS;
    return 0;
}
