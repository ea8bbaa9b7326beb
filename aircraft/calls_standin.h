// The calls the stand-ins of this subsystem received, in order, written as
// "NAME(arg,arg)". Tests read and clear it.
#pragma once

#include "core/standin_log.h"

extern standin_call_log aircraft_standin_calls;
