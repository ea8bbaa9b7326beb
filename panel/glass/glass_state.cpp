// What the glass instruments keep between frames, and its reset.
#include "panel/glass/glass.h"
#include "core/reset_registry.h"

fms_page_state fms_page;
efis_map_state efis_map;
synthetic_vision_state synthetic_vision;

void GLASS_reset()
{
    fms_page = fms_page_state{};
    efis_map = efis_map_state{};
    synthetic_vision = synthetic_vision_state{};
}
ORVELL_RESET(GLASS_reset, panel);
