// The scene's half of the origin shift: when the loaded area moves by one
// whole degree, the scene's own records held in the local frame are carried
// over to the new frame with the world (world/origin_shift.h), which reaches
// this half through the way up CORE_shift_scene_origin (core/hooks.h).
//
// Reads: lat_ref, lon_ref and the planet (the new origin), the terrain
// grid's extent, the ships' heights (the world's shift calls it before the
// ships move). Writes: the camera's terrain cell and the drawn terrain
// window, the wakes and their last positions, the live particles and their
// floors, the fires, the camera and the fly-by views' point, the engine
// trails, the cloud grid's origin.
#pragma once

// Carries the scene's records over for mode 2 (one degree west), 3 (east),
// 4 (north) or 5 (south); any other mode does nothing.
void SCENE_shift_origin(int mode);
