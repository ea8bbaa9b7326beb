// Equipment of the user's aircraft that the panel decides: a switch whose
// equipment word is 0 has no switch on the panel and is always on. Written by
// the aircraft set-up from the panel's instruments; read by the flight start.
#pragma once

#include <cstdint>

struct acf_equipment_block {
    int32_t auto_fea_EQ;
    int32_t battery_EQ;
    int32_t avionics_EQ;
    int32_t generator_EQ;
    int32_t inverter_eq;
    int32_t fuel_pump_EQ;
};
extern acf_equipment_block acf_equipment;
