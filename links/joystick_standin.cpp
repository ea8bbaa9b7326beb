// Stand-in of the joystick poll until the joystick links are built: no
// controller is attached; the call is recorded.
#include "links/joystick.h"

#include <string>

#include "links/calls_standin.h"

void JOY_poll(float out[JOY_POLL_OUTPUTS], int flag)
{
    for (int i = 0; i < JOY_POLL_OUTPUTS; ++i) out[i] = 0.0f;
    links_standin_calls.push_back("JOY_poll(" + std::to_string(flag) + ")");
}
