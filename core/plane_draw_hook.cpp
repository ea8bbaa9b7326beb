#include "core/plane_draw_hook.h"

namespace {
posed_plane_draw_fn installed_drawer = nullptr;
}  // namespace

void CORE_set_posed_plane_drawer(posed_plane_draw_fn draw) { installed_drawer = draw; }

void CORE_draw_posed_plane(int n, int full)
{
    if (installed_drawer) installed_drawer(n, full);
}
