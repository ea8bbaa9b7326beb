// What the simulation asks of the drawing floors above it, which it does not
// include: an aircraft's textures loaded (with the part meshes and the paint
// the drawers need), the weather radar's picture rebuilt after the storms
// moved, the view effects (air points, windshield marks) cleared for a fresh
// flight, and an instrument type's picture. The spine installs them at
// start-up (shell/main.h); without them the requests do nothing and a picture
// is "" (a program that builds only the simulation draws nothing).
#pragma once

struct drawing_hooks {
    void (*load_aircraft_textures)(int reload, int a, int b, int plane) = nullptr;   // ACF_load_textures
    void (*rebuild_radar_texture)() = nullptr;                                        // PANEL_radar_texture
    void (*reset_view_effects)() = nullptr;            // VIEW_draw_air_points and VIEW_draw_windshield reset
    const char* (*instrument_picture)(int type) = nullptr;                            // PANEL_instrument_picture
};
void CORE_set_drawing_hooks(const drawing_hooks& hooks);

void CORE_load_aircraft_textures(int reload, int a, int b, int plane);
void CORE_rebuild_radar_texture();
void CORE_reset_view_effects();
// The picture path of an instrument type ("" without the hook).
const char* CORE_instrument_picture(int type);
