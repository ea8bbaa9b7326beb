#include "aircraft/acf_equipment.h"

acf_equipment_block acf_equipment{};
