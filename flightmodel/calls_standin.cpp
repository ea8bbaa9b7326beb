#include "flightmodel/calls_standin.h"

standin_call_log flightmodel_standin_calls;
