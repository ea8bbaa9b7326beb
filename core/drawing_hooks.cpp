#include "core/drawing_hooks.h"

namespace {
drawing_hooks installed;
}  // namespace

void CORE_set_drawing_hooks(const drawing_hooks& hooks) { installed = hooks; }

void CORE_load_aircraft_textures(int reload, int a, int b, int plane)
{
    if (installed.load_aircraft_textures) installed.load_aircraft_textures(reload, a, b, plane);
}

void CORE_rebuild_radar_texture()
{
    if (installed.rebuild_radar_texture) installed.rebuild_radar_texture();
}

void CORE_reset_view_effects()
{
    if (installed.reset_view_effects) installed.reset_view_effects();
}

const char* CORE_instrument_picture(int type)
{
    return installed.instrument_picture ? installed.instrument_picture(type) : "";
}
