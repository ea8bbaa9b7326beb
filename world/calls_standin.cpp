#include "world/calls_standin.h"

standin_call_log world_standin_calls;
