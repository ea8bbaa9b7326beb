#include "core/command_hook.h"

namespace {
command_dispatch_fn installed_dispatcher = nullptr;
key_slot_dispatch_fn installed_key_dispatcher = nullptr;
}  // namespace

void CORE_set_command_dispatcher(command_dispatch_fn dispatcher) { installed_dispatcher = dispatcher; }

void CORE_run_command(int32_t command)
{
    if (installed_dispatcher) installed_dispatcher(command);
}

void CORE_set_key_slot_dispatcher(key_slot_dispatch_fn dispatcher) { installed_key_dispatcher = dispatcher; }

void CORE_run_key_slot(int modifier_class, int slot)
{
    if (installed_key_dispatcher) installed_key_dispatcher(modifier_class, slot);
}
