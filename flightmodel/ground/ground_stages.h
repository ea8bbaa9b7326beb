// The build-up's stages of rockets, ropes, water and ground contact for the
// user's plane (slot 0). Each adds its forces through the adders of
// flightmodel/phys.h and keeps what it needs between calls itself.
#pragma once

// Rocket engine e (type 6): thrust whatever the air density.
void ROCKET_engine(int e);

// Manoeuvring rockets, JATO and attitude puffers, in that order.
void ROCKET_thrusters();

// Tow rope behind plane 1 and the winch cable, while a launch flag asks.
// Leaves the rope's angles relative to the body in the launch flags.
void ROPE_tow_and_winch();

// The slung load on its rope, when the aircraft carries one.
void ROPE_slung_load();

// 1 when the terrain cell under the plane or a neighbour is water (land-use
// code 14 or 15) and no runway, deck or flat surface is under it.
int GROUND_over_water();

// Water forces on the hulls and floats, and the water rudder (stage 17).
void FM_water_contact();

// Ground contact of the wing tips, bodies and gear, and the on-ground flags
// (stage 18).
void FM_ground_contact();

// Water scooping and dumping of a water bomber (stage 19).
void FM_water_scoop();

// The arresting hook pulling on its wire (stage 22).
void FM_arresting_hook();
