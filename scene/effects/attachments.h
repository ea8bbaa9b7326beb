// The user plane's attachments in the scene (SCENE_draw_attachments, in
// scene/drawers.h): flown path, ropes, slung load, drag chute, refuelling hose.
// Reads: the replay ring, rope_points, the chute state, the aircraft's chute,
// sling and refuelling fields, planes 0 and 1. Writes: the fuel of tanks 1-3.
#pragma once

// One frame of fuel through a connected hose: each of the first three tanks
// (at most the aircraft's tank count) gains its share of 7370 lb/min over dt
// seconds, up to its capacity.
void SCENE_refuel(float dt);
