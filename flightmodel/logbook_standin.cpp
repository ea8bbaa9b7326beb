// Stand-in of the logbook writer until it is built: the call is recorded.
#include "flightmodel/logbook.h"

#include "flightmodel/calls_standin.h"

void LOGBOOK_write() { flightmodel_standin_calls.push_back("LOGBOOK_write()"); }
