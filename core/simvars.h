// Simulation-wide state named by published data names. The variable for
// "sim/<area>/<group>/<name>" is the field <name> of the global sim_<area>_<group>
// (sim_<area> where the name has no group). Per-plane values live in the
// flight-model and aircraft records instead; the window size and the rendering
// resolution live in the screen record (shell/screen.h).
//
// Settings that carry no published name and belong to one settings screen are
// gathered in `screen_settings` at the end.
//
// Other modules may add fields here; none are renamed or removed.
//
// The blocks are declared by area in core/simvars/; a file that uses one area
// only includes that area's header. This header brings in every area.
#pragma once

#include "core/simvars/cockpit.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/graphics.h"
#include "core/simvars/joystick.h"
#include "core/simvars/network.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/simvars/screen_settings.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"

