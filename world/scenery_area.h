// The loaded scenery area in the local frame (metres, x east, z south) and the
// scale at which the operator panel's map shows the whole area, both set by
// the airport scene build.
#pragma once

struct scenery_area_record {
    float x0;   // west edge
    float x1;   // east edge
    float z0;   // north edge (z grows southward)
    float z1;   // south edge
};
extern scenery_area_record scenery_area;

// Map pixels per metre at which the area fills the operator map (890 x 686
// map pixels inside the panel's margins), and its inverse.
extern float map_base_scale;
extern float map_base_scale_inverse;
