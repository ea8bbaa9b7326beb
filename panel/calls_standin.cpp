#include "panel/calls_standin.h"

standin_call_log panel_standin_calls;
