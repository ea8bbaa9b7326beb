// The way into the program's numbered command dispatcher and its keyboard
// commands for the subsystems below the spine (a flight start selects its view
// through a view command; the own-plane step toggles the reversers and
// disconnects the autopilot through their keys): the spine installs both at
// start-up.
#pragma once

#include <cstdint>

using command_dispatch_fn = void (*)(int32_t command);
void CORE_set_command_dispatcher(command_dispatch_fn dispatcher);
// Runs the command through the installed dispatcher; without one nothing happens.
void CORE_run_command(int32_t command);

// Runs the keyboard command of key-assignment slot `slot` with a modifier
// class, as if the slot's key had been typed; installed by the spine.
using key_slot_dispatch_fn = void (*)(int modifier_class, int slot);
void CORE_set_key_slot_dispatcher(key_slot_dispatch_fn dispatcher);
// Runs the key slot's command through the installed dispatcher; without one nothing happens.
void CORE_run_key_slot(int modifier_class, int slot);
