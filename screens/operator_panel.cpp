// The operator button panel of screens 15, 18 and 23: the map view it keeps,
// its placement values and the airport its screens show.
#include "screens/operator_map.h"

operator_panel_record operator_panel;

void OPERATOR_panel_reset() { operator_panel = operator_panel_record{}; }
