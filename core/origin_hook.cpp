#include "core/origin_hook.h"

namespace {
scene_origin_shift_fn installed_shift = nullptr;
}  // namespace

void CORE_set_scene_origin_shift(scene_origin_shift_fn shift) { installed_shift = shift; }

void CORE_shift_scene_origin(int mode)
{
    if (installed_shift) installed_shift(mode);
}
