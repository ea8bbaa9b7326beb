// Stand-in of the instruments' power level until the panel's electrics are
// built: full power while the panel has power, none otherwise.
#include "panel/panel.h"

float PANEL_power_level() { return PANEL_has_power() ? 1.0f : 0.0f; }
