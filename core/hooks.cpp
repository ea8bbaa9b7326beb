#include "core/hooks.h"

#include <cstdio>
#include <cstdlib>

core_hooks_table core_hooks;

const char* CORE_hook_left_empty()
{
#define CORE_HOOK_EMPTY(name, result, parameters, arguments, target) \
    if (!core_hooks.name) return #name;
    CORE_HOOKS(CORE_HOOK_EMPTY)
#undef CORE_HOOK_EMPTY
    return nullptr;
}

void CORE_hook_empty(const char* name)
{
#ifndef NDEBUG
    std::fprintf(stderr, "The way up %s was left empty: its target is not installed.\n", name);
    std::abort();
#else
    (void)name;
#endif
}
