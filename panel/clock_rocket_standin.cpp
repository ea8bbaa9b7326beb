// Stand-in of the clock's stopwatch and the rocket switch until the cockpit
// instruments are built: the stopwatch does nothing; the rocket switch sets
// the plane's rocket mode and timeout.
#include "core/frame_clock.h"
#include "flightmodel/flt.h"
#include "panel/panel.h"

int PANEL_clock_timer(int, int) { return 0; }

void PANEL_rocket_switch(int plane, int type, float d)
{
    if (plane < 0 || plane >= FLT_SLOTS) return;
    flt[plane].rocket_mode = type;
    flt[plane].rocket_timeout = frame_clock + d;
}
