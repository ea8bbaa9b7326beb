#include "core/command_hook.h"

namespace {
command_dispatch_fn installed_dispatcher = nullptr;
}

void CORE_set_command_dispatcher(command_dispatch_fn dispatcher) { installed_dispatcher = dispatcher; }

void CORE_run_command(int32_t command)
{
    if (installed_dispatcher) installed_dispatcher(command);
}
