// Stand-in of the serial console and panel modules until the hardware links
// are built: nothing is attached. Opening and closing are recorded.
#include "links/hardware.h"

#include <string>

#include "links/calls_standin.h"

void HARDWARE_open() { links_standin_calls.push_back("HARDWARE_open()"); }
void HARDWARE_close(int flag) { links_standin_calls.push_back("HARDWARE_close(" + std::to_string(flag) + ")"); }
