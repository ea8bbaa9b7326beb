// Stand-in of the data-output session until the data table is built: the call
// is recorded.
#include "links/dataout_session.h"

#include "links/calls_standin.h"

void DATAOUT_reset() { links_standin_calls.push_back("DATAOUT_reset()"); }
