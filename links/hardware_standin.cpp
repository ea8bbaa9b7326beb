// Stand-in of the motion-platform output until the hardware links are built:
// the call is recorded.
#include "links/hardware.h"

#include "links/calls_standin.h"

int32_t fide_mode = 0;

void HARDWARE_send_motion() { links_standin_calls.push_back("HARDWARE_send_motion()"); }
