// Stand-in of the plane step until the flight model's step is built: the call
// is recorded, the plane does not move.
#include "flightmodel/plane_step.h"

#include <string>

#include "flightmodel/calls_standin.h"

float control_authority = 1.0f;

void FLTMOD_plane_step(int p) { flightmodel_standin_calls.push_back("FLTMOD_plane_step(" + std::to_string(p) + ")"); }
