// Ground contact of one point of the user's plane: the surface under it, a
// spring-and-damper normal force capped at ten times the maximum weight, tyre
// or sliding friction shaped by the surface, the runway condition and the
// temperature, steering and castoring, a failed tyre, and an adaptive
// side-slip stiffness; the forces go to the gear sums.
//
// Reads: flt[plane] position, velocity, attitude sines and cosines, body
// rates; pln[plane].acf_m_max, acf_nosewheel_k, acf_size_z; the terrain query
// with the plane's cell hint (flt i, j) and the surface under the plane;
// sim_weather.runway_friction, temperature_sealevel_c;
// screen_settings.runway_is_patchy; the random table;
// the launch flags (catapult, arresting hook); the step record's length and
// first step, the 0.05-s interval flag; dump_next_cycle.
// Writes: flt[plane] gear force sums, L, M, N, nrml_force[part], the plane's
// cell hint; the deflection, steering and rolling-speed outputs; the contact
// state below; the step record's contact and impact speed; scrape dust
// through PARTICLE_spawn; the report block.
#pragma once

#include "flightmodel/flt.h"

// What the contact keeps per part of the user's plane between frames.
struct contact_state {
    float wheel_roll_deg[FLT_PARTS];   // roll angle of a wheel with a failed tyre, 0..360
    float slip_gain[FLT_PARTS];        // side-slip stiffness 1..50 (0 until first used)
    float last_side_slip[FLT_PARTS];   // the previous frame's saturated side slip, -1..1
    // A point that grips the ground at rest (it would creep under the slip
    // friction alone): set by the ground stage for a gear whose brakes are on
    // this frame, a skid and a wing tip; the point of the ground it holds to
    // (local x, z).
    int32_t grips[FLT_PARTS];
    int32_t holding[FLT_PARTS];
    float hold_x[FLT_PARTS], hold_z[FLT_PARTS];
};
extern contact_state contact;
void CONTACT_reset();

// A steering angle above this marks a castoring wheel.
constexpr float CONTACT_CASTOR_MARK_DEG = 90.0f;

// One contact point of plane `plane`'s part `part` (0..72). The x, y and z
// groups each give the plane's local position and velocity, the point's body
// arm and an extra body velocity of the point. k (N/m) and c (N per m/s) make
// the normal force; mu_side and mu_axial the friction. *steer_deg (degrees,
// positive right) is read and written; above 90 the wheel castors. A failed
// tyre passes its bump amount (0 for none) and every wheel its tyre radius.
// Writes the compression along body y to *deflection and the forward speed
// over the surface to *rolling_speed. A part marked as gripping in the
// contact state (a braked tyre, a skid, a wing tip) holds the ground where it
// came to rest while it moves slower than 1 m/s, up to its friction. Returns 1
// in contact (or held on the catapult), else 0 with nothing but the deflection
// written.
int handlecontactpoint(int plane, int part, float x_plane, float vx_plane, float x_arm, float vx_extra, float y_plane,
                       float vy_plane, float y_arm, float vy_extra, float* deflection, float z_plane, float vz_plane,
                       float z_arm, float vz_extra, float k, float c, float mu_side, float mu_axial, float* steer_deg,
                       float failed_tyre_bump, float tyre_radius, float* rolling_speed);
