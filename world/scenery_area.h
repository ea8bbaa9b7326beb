// The loaded scenery area in the local frame (metres, x east, z south) and the
// scale at which the operator map shows it, set by the airport scene build.
#pragma once

struct scenery_area_record {
    float left;           // smallest x
    float right;          // largest x
    float bottom;         // smallest z
    float top;            // largest z
    float map_scale;      // map pixels per metre
    float map_scale_inverse;
};
extern scenery_area_record scenery_area;
