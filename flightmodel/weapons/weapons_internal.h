// The steps of the weapons' frame pass and the values they keep between
// calls, shared by the files of this folder.
#pragma once

#include "aircraft/acf_struct.h"
#include "core/units.h"
#include "flightmodel/flt.h"

// Kept between calls by the firing rules.
struct wpn_fire_state_record {
    int32_t trigger_prev = 0;     // the fire trigger of the last pass
    float next_ripple = 0.0f;     // frame clock of the next ripple release
};
extern wpn_fire_state_record wpn_fire_state;

// Frame clock of the last smoke puff of each weapon slot of each plane, so a
// motor trails one puff a frame although the build-up runs twice a frame.
// (-1 before the first puff.)
struct wpn_smoke_state_record {
    float last_puff[ACF_SLOTS][ACF_WPN_SLOTS];
    wpn_smoke_state_record();
};
extern wpn_smoke_state_record wpn_smoke_state;

constexpr float WPN_GRAVITY_MPS2 = UNIT.g_conv;   // the flight model's fixed gravity

// The plane slots the weapon passes handle: the plug-in manager's count of
// planes in use, held to the plane slots.
int WPN_planes_in_use();

// Whether the weapon of slot s of plane p is both loaded (valid) and released.
inline bool WPN_valid_and_released(const wpn_slot_record& w) { return w.wpn_valid != 0 && w.wpn_released != 0; }

// The weapons' stage runs these four in this order each frame.
// First the firing rules over the slots of plane 0.
void WPN_fire_step();
// Then the forces and guidance of every loaded weapon of every plane in use.
// True when a released weapon left the loaded area or met the ground: the
// weapons' stage then ends for this frame.
bool WPN_force_step();
// Then the guns and rocket pods that are released shoot.
void WPN_shoot_step();
// Last the projectiles fly.
void WPN_projectile_step();
// Frees every projectile record.
void WPN_clear_projectiles();

// Whether a smoke puff is due for a trail whose last puff was at `last_puff`
// (at most one a frame); when due, the frame clock is kept in it.
bool WPN_smoke_due(float& last_puff);
