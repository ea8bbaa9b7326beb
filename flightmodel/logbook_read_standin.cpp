// Stand-in of the logbook reader until it is built: the call is recorded.
#include "flightmodel/calls_standin.h"
#include "flightmodel/logbook.h"

void LOGBOOK_read() { flightmodel_standin_calls.push_back("LOGBOOK_read()"); }
