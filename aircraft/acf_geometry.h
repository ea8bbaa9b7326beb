// Three geometric routines of the aircraft set-up, each a pure function of the
// aircraft record and its arguments (apart from the body-area report and its
// alert): the span efficiency of a lifting part, the areas, centroid and
// surface moments of a body of revolution, and points along a lifting part or
// a propeller blade.
//
// Reads of the slot's records: acf_els, acf_element_len, acf_Xarm/Yarm/Zarm,
// acf_side_sign, acf_bladesweep, acf_body_X/Y/Z; flt foil_sin_dih,
// foil_cos_dih, foil_sin_swe, foil_cos_swe. Writes: the outputs by address,
// and the body-area report lines of slot 0 to "ORVELL.OUT".
#pragma once

// Span efficiency from the 720-entry table over aspect ratio (1..60), washout
// (0..5 degrees), quarter-chord sweep (-40..70 degrees) and taper (0..1),
// interpolated along each axis in turn; an argument beyond an axis gives that
// axis's edge value.
float ACF_e_search(float aspect_ratio, float washout_deg, float sweep_deg, float taper);

// Integrates the outline of body `part` of a slot (weapon 1: a weapon body of
// 12 stations) about its reference point (x0, y0, z0). The frontal area is
// raised to the largest station area; side, top and surface areas and the
// three area-weighted sums are added to; the centroids are overwritten (a body
// without surface gets the reference point). For slot 0 and aircraft bodies
// the report lines are written, and a body without frontal area is fatal.
void ACF_body_areas(int slot, int part, int weapon, float x0, float y0, float z0, float& frontal, float& side,
                    float& top, float& centroid_x, float& centroid_y, float& centroid_z, float& surface,
                    float& sum_yz, float& sum_xz, float& sum_xy);

// One coordinate ('X', 'Y', anything else Z) of the point t elements out along
// part `part`: for a lifting part in the aircraft frame, for a propeller blade
// (parts 0..7) as the offset from the blade root.
float ACF_point_on_element(int slot, int part, float t, char axis);
