// Stand-ins of the instrument drawers until their own issues build them: each
// draws nothing and takes no click.
#include "panel/panel.h"

void PANEL_efis_readouts() {}
void PANEL_efis_map() {}
void PANEL_synthetic_vision(int) {}
void PANEL_fms_page() {}
