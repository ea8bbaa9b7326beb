// The aircraft's current shape from the controls, once a frame for every
// plane slot: gear legs and doors, thrust-vector and disc tilts, differential
// throttles, sweep and dihedral, control-surface deflections and the extra
// incidence of every wing element.
//
// Reads: pln[plane] geometry and control set-up; flt[plane] controls, trims,
// throttles, vector setting, burner flags, attitude, indicated airspeed,
// failures; the throttle override; the frame period; dump_next_cycle.
// Writes: pln[plane] gear angles and nodes, door angles, acf_sweepnow,
// acf_dihednow, varinc_now, acf_vect_cant; flt[plane]
// vertcant, sidecant, ENGN_thro_use, elem_inc, foil_swe, foil_dih, the
// deflection arrays, ENGN_burnrat, sbrkrat, tail-rotor POINT_pitch_deg, the
// cached sines and cosines of theta, psi, phi and of each part's dihedral and
// sweep; the report stream (plane 0, while a report is requested).
#pragma once

// Surface chord over local chord of surface `kind` (0..7) of part `part` at
// `station` (elements from the root); 0 for a kind without geometry or
// indices outside the tables.
float ACF_control_chord_ratio(int plane, int part, float station, int kind);

// The whole pass for one plane slot; a slot outside 0..9 does nothing.
void ACF_control_incidence(int plane);
