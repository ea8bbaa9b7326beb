#include "core/simvars/weather.h"

sim_weather_block sim_weather{};
int32_t weather_seed = 0;
