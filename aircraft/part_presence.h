// Whether a part of a plane is there to be flown and drawn, and where the
// points along a wing part's span lie.
//
// Parts: 0..7 propellers (thrust points) of engines 0..7, 8..43 lifting
// surfaces, 44..66 bodies (53..60 the nacelles of engines 0..7), 67..72 gear.
//
// Reads: pln[plane] acf_part_eq, acf_num_engines, acf_num_thrustpoints,
// acf_en_type, acf_hide_prop_at_90_vect, acf_vect_cant, acf_els,
// acf_element_len, the arms, acf_side_sign, acf_bladesweep; flt[plane]
// failures and the part's cached sines and cosines of sweep and dihedral.
#pragma once

// Part `part` of plane `plane` is in service (present): fitted, not failed
// and not hidden.
//  - a propeller (0..7): its engine's failure entry (58 + engine) is not
//    failed; it is not hidden by acf_hide_prop_at_90_vect with the engine's
//    current cant at 90 degrees or more; below acf_num_engines its engine
//    drives a propeller or is a tip rocket, above it the part is one of the
//    extra thrust points (below acf_num_thrustpoints);
//  - a nacelle (53..60): its engine's failure entry is not failed;
//  - a lifting surface (8..43): its own failure entry (130 + part) is not failed;
//  - every part from 8 on: acf_part_eq is set.
// False for a plane outside 0..9 or a part outside 0..72, which would index
// past the plane and part tables.
bool ACF_part_in_service(int plane, int part);
// The same rule under the name the drawing of the aircraft knows it by.
bool ACF_part_present(int plane, int part);

// The same rule for the thrust points: a part 0..7 below acf_num_thrustpoints
// passes whatever its engine type (a jet's thrust point is there for its
// flame); failures and the 90-degree hiding still count.
bool ACF_part_present_thrust(int plane, int part);

// The failure and 90-degree hiding clauses alone, for callers that test the
// engine count themselves.
bool ACF_part_not_failed_or_hidden(int plane, int part);

// The fitting clauses alone (engine count and type for 0..7, acf_part_eq from
// 8 on), whatever the failures and the hiding: the parts whose model is built
// when an aircraft is prepared, so a part repaired later shows its own shape.
bool ACF_part_fitted(int plane, int part);

// Point at span station `station` (elements from the root: 0 the root,
// acf_els the tip, e + 0.5 the middle of element e) of part `part`, aircraft
// frame, metres. For a lifting surface its current sweep and dihedral and
// its arm are taken; for a propeller blade the blade's own frame (span along
// x from the hub, y 0, swept blade elements). Zero for indices out of range.
struct acf_span_xyz {
    float x, y, z;
};
acf_span_xyz ACF_span_point(int plane, int part, float station);
