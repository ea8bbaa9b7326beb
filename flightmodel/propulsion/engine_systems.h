// The engine and electrical systems of the user's plane (slot 0), once a
// frame before the plane steps: starters, fuel from the tanks and carried
// fuel tanks, whether each engine runs, mixture, turbine and exhaust
// temperatures, oil, fuel flow, electrical loads, generators and batteries.
//
// Reads: pln[0] engine words and the battery capacity; the weapon slots of
// pln[0] (carried fuel tanks); flt[0] engine fields, tanks and failures; the
// cockpit engine, electrical, switch and light words; the ambient
// temperature; the frame period and the 1-second flag.
// Writes: flt[0] ENGN_running, mixture power ratio, fuel flow, ITT, EGT, oil
// temperature, pressure and ratio, generator and battery currents, battery
// charge; the tanks and carried tanks it draws from; ignition_on (a starter
// turns it on); starter_duration; the failure entries of over-temperature;
// prop_state run times and the weakest battery.
#pragma once

// One frame of the engine and electrical systems.
void ENGN_systems();
