#include "screens/calls_standin.h"

standin_call_log screens_standin_calls;
