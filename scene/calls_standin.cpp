#include "scene/calls_standin.h"

standin_call_log scene_standin_calls;
