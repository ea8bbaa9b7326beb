#include "aircraft/calls_standin.h"

standin_call_log aircraft_standin_calls;
