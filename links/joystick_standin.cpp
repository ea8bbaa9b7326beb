// Stand-in of the joystick poll until the joystick links are built: no
// controller is attached, so no destination is written.
#include "links/joystick.h"

void JOY_poll(float*, float*, float*, float*, float*, float*, float*, float*, float*, float*, float*, float*, int) {}
