// Stand-in of the per-frame panel pass until the cockpit instruments are
// built: no instrument is drawn.
#include "panel/panel.h"

void PANEL_update() {}
