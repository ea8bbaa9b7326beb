// The way into the program's numbered command dispatcher for the subsystems
// below the spine (a flight start selects its view through a view command):
// the spine installs its dispatcher at start-up.
#pragma once

#include <cstdint>

using command_dispatch_fn = void (*)(int32_t command);
void CORE_set_command_dispatcher(command_dispatch_fn dispatcher);
// Runs the command through the installed dispatcher; without one nothing happens.
void CORE_run_command(int32_t command);
