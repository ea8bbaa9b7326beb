// The systems step of the user's plane: the order of its stages, and the
// reset of what they keep from frame to frame.
#include "flightmodel/systems.h"

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "flightmodel/systems/logbook.h"
#include "flightmodel/propulsion/engine_systems.h"
#include "flightmodel/systems/annunciators.h"
#include "flightmodel/systems/clock.h"
#include "flightmodel/systems/environment.h"
#include "flightmodel/systems/failures.h"
#include "flightmodel/systems/fluids.h"
#include "flightmodel/systems/limits.h"
#include "flightmodel/systems/radios.h"
#include "flightmodel/systems/weather.h"

int32_t fail_on_command_armed = 0;

void SYSTEMS_reset() { fail_on_command_armed = 0; }
ORVELL_RESET(SYSTEMS_reset, flight);

void SYSTEMS_own_plane_update()
{
    if (sim_time.total_flight_time_sec < 1.0f) LOGBOOK_new_entry();
    SYSTEMS_clock_and_calendar();
    SYSTEMS_touchdowns();
    if (sim_graphics_scenery.current_planet == PLANET_EARTH) SYSTEMS_ship_navaids();
    SYSTEMS_air_at_plane();
    SYSTEMS_magnetic_variation();
    SYSTEMS_weather_at_plane();
    if (interval_ticks[INTERVAL_ONE_SECOND]) SYSTEMS_icing();
    SYSTEMS_radio_receivers();
    SYSTEMS_fuel_and_pressures();
    ENGN_systems();
    SYSTEMS_failure_model();
    SYSTEMS_annunciators_and_gyros();
    SYSTEMS_limits_and_crash();
}
