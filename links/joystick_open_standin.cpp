// Stand-in of opening and releasing the game controllers until the joystick
// links are built: no controller is found. Both calls are recorded.
#include "links/joystick.h"

#include "links/calls_standin.h"

void JOY_init() { links_standin_calls.push_back("JOY_init()"); }
void JOY_close() { links_standin_calls.push_back("JOY_close()"); }
