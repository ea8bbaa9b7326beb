#include "links/calls_standin.h"

standin_call_log links_standin_calls;
