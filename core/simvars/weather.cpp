#include "core/simvars/weather.h"

#include "core/reset_registry.h"

sim_weather_block sim_weather{};
int32_t weather_seed = 0;

void SIMVARS_weather_reset()
{
    sim_weather = {};
    weather_seed = 0;
}
ORVELL_RESET(SIMVARS_weather_reset, program);
