// The way from the world's origin shift into the scene's own records (its
// wakes, particles, fires, camera point, engine trails and cloud grid), which
// the world below the scene does not include: the spine installs the scene's
// half at start-up; without it the world's shift leaves those records alone.
#pragma once

// Carries the scene's records over for a one-degree move (mode 2 west,
// 3 east, 4 north, 5 south) to the current lat_ref/lon_ref.
using scene_origin_shift_fn = void (*)(int mode);
void CORE_set_scene_origin_shift(scene_origin_shift_fn shift);
// Runs the installed shift; without one nothing happens.
void CORE_shift_scene_origin(int mode);
