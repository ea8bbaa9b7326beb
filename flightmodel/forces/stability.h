// The stability-derivative finder: after the derived-data step has offset the
// trimmed plane's pitch or heading by exactly one degree, the next build-up
// reports the resulting moment as a coefficient per degree and per radian.
//
// Reads: sim_flightmodel_misc stab_ptch_test, stab_hdng_test; pln[0] wings
// 8..27; flt[0] M, N, Qstatic, indicated_airspeed, cgz_ref_to_default.
// Writes: the report stream (whatever dump_next_cycle says); clears both flags.
#pragma once

// Stage 27: runs when either flag is 1.
void FM_stability_derivative();

// Reference area (m^2) and chord (m) of the plane's wings (parts 8..27 that
// are present and not steeper than 45 degrees); both 0 without such a wing.
void FM_reference_geometry(float* sref, float* cref);
