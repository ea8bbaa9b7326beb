// Plug-in drawing phases: the phase numbers passed to the plug-in manager's
// drawing hook before and after each drawing step. A zero answer to a
// "before" phase asks the caller to skip its own drawing of that step (the
// 3-D scene and the airport lights are drawn whatever the answer).
#pragma once

constexpr int DRAW_PHASE_SCENE_BEFORE = 1;        // around each 3-D scene pass
constexpr int DRAW_PHASE_SCENE_AFTER = 12;
constexpr int DRAW_PHASE_GROUND_BEFORE = 2;        // around the ground surface, roads, objects and taxi lines
constexpr int DRAW_PHASE_GROUND_AFTER = 3;
constexpr int DRAW_PHASE_VECTORS_BEFORE = 6;       // around the rivers and roads (the power lines and cars follow)
constexpr int DRAW_PHASE_VECTORS_AFTER = 7;
constexpr int DRAW_PHASE_COVER_BEFORE = 8;         // around the terrain cover, ships, lights, fires and bolt
constexpr int DRAW_PHASE_COVER_AFTER = 9;
constexpr int DRAW_PHASE_PLANES_BEFORE = 10;       // around the planes, the user's shadow and the hung weapons
constexpr int DRAW_PHASE_PLANES_AFTER = 11;
constexpr int DRAW_PHASE_AIRPORT_BEFORE = 4;      // around the airport surfaces of the objects pass
constexpr int DRAW_PHASE_AIRPORT_AFTER = 5;
constexpr int DRAW_PHASE_BACKGROUND_BEFORE = 13;  // around the 2-D background picture
constexpr int DRAW_PHASE_BACKGROUND_AFTER = 14;
constexpr int DRAW_PHASE_PANEL_BEFORE = 15;       // around the instrument panel
constexpr int DRAW_PHASE_PANEL_AFTER = 16;
constexpr int DRAW_PHASE_OVERLAY_BEFORE = 17;     // around the 2-D overlay of the flying view
constexpr int DRAW_PHASE_OVERLAY_AFTER = 18;
