#include "core/loading.h"

namespace {
loading_screen_fn installed_drawer = nullptr;
}

void LOADING_set_screen(loading_screen_fn drawer) { installed_drawer = drawer; }

void MACIBM_loading_screen(const char* message)
{
    if (installed_drawer) installed_drawer(message);
}
