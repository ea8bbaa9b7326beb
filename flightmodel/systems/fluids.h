// Icing (stage 7) and the plane's fluids and pressures (stage 9): airframe,
// pitot, propeller, window, inlet and carburettor ice; fuel dumping and
// transfer; each engine's power ratio; hydraulic pressure with the ram-air
// turbine; the vacuum; the cabin altitude of a pressurised cabin.
//
// Reads: the air at the plane (temperatures, sigma, precipitation), the cloud
// layers, the anti-ice and heat switches, plane 0's engines and tanks, the
// failure table, panel power, the pressure switches and settings.
// Writes: flt[0] ice, carburettor ice, tank masses and vacuum;
// engine_power_ratio; the hydraulic words; the cabin pressure words.
#pragma once

#include "flightmodel/flt.h"

// Power ratio of each engine this frame (0 for engines the aircraft lacks).
extern float engine_power_ratio[FLT_ENGINES];

struct fluids_state {
    float hydraulic_fail_time = 0.0f;   // frame clock while the hydraulics have not failed
};
extern fluids_state fluids;
void FLUIDS_reset();
// The cabin's pressure altitude and rate at rest, as a first start finds them.
void FLUIDS_cabin_reset();

// Stage 7, on the 1-second flag: airframe, pitot and carburettor ice.
void SYSTEMS_icing();
// Stage 9, every frame.
void SYSTEMS_fuel_and_pressures();

// The parts of stage 9, in their order.
void FLUIDS_fuel_dump();
void FLUIDS_fuel_transfer();
void FLUIDS_power_ratios();
void FLUIDS_hydraulics();
void FLUIDS_vacuum();
void FLUIDS_cabin_pressure();
