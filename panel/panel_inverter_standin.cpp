// Stand-in of the inverter test until the panel's electrics are built: the
// inverter switches of the aircraft's engines and their failure slots.
#include "aircraft/acf_struct.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "panel/panel.h"

int PANEL_inverter_on()
{
    const int engines = pln[0].acf_num_engines < FLT_ENGINES ? pln[0].acf_num_engines : FLT_ENGINES;
    for (int e = 0; e < engines; ++e)
        if (sim_cockpit_engine.inverter_on[e] && !FLT_slot_failed(0, FAIL_SLOT_INVERTER_BASE + e)) return 1;
    return 0;
}
