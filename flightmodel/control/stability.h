// Artificial stability and control mixing: the yoke ratios (pilot and
// autopilot), the trims and the aircraft's stability dampers, blended by
// airspeed, become the control deflections FC_ptch, FC_roll and FC_hdng
// (-1..1); then hydraulic authority, control jams and the trims.
//
// Reads: the yoke ratios; yaw_damper_on, art_stab_on; override_flightcontrol,
// override_artstab; hydraulic_pressure_ratio; pln[p] stability gains, blend
// speeds, trim limits, hydraulic floor, wing tilt; flt[p] airspeed, alpha,
// beta, body rates, g_nrml, onground_all, failure slots 17..25 and 46.
// Writes: the yoke ratios (clamped), the artificial-stability ratios; flt[p]
// FC_ptch, FC_roll, FC_hdng, elv_trim, ail_trim, rud_trim, wing_tilt_ptch,
// wing_tilt_roll.
#pragma once

struct stability_state {
    float g_nrml_before;   // for the rate of the normal load
};
extern stability_state stability;
void STAB_reset_state();

// Clamps, stability laws and the composition of the three deflections, with
// the speed gain g of the stick shaping.
void STAB_mix(int p, float g);
// The wing tilt that follows the deflections (after the thrust-point positions).
void STAB_wing_tilt(int p);
