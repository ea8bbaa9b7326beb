// The calls the stand-ins of this subsystem received, in order, written as
// "NAME(arg,arg)". Tests read and clear it.
#pragma once

#include "links/calls_standin.h"   // standin_call_log

extern standin_call_log scene_standin_calls;
