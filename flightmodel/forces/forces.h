// The force-and-moment build-up of the user's plane (slot 0): once per
// integration half-step it clears the totals, asks every wing element, body,
// engine, propeller, landing gear, float, weapon and special device for its
// force, sums them about the centre of gravity, works out the mass and
// inertia of the moment, turns the totals into local linear and body angular
// accelerations and integrates the body rates and local velocities by one
// integration step. Position and attitude are its caller's (the derived-data step).
//
// Reads: pln[0] (the whole aircraft record); flt[0] attitude, air data and
// their cached sines and cosines as the previous derived-data step left them,
// controls, deflections, engines, weights, failures; sim_weather rho, sigma,
// speed of sound; sim_physics g_sealevel, mu_air; terrain_height_m; the
// step record (the step's length, the plane held) and the frame clock; the launch flags; the damping settings; the report
// and stability-test flags.
// Writes: flt[0] force and moment totals, per-part and per-element aero
// values, g loads, accelerations, rates, local velocities, m_total,
// onground_any/all, nosewheel_steer/speed, the blown-flap and lift-fan
// values; pln[0].acf_gear_def; fm_state; gload_dim_factor.
#pragma once

#include <cstdint>
#include <span>

#include "core/units.h"
#include "flightmodel/flt.h"

// Values the build-up keeps from one call to the next (and the per-frame
// values its stages hand on to each other).
struct forces_state {
    // The previous frame's alpha, beta (degrees) and Prad, Qrad, Rrad (rad/s),
    // for the prediction.
    float prev_alpha, prev_beta, prev_Prad, prev_Qrad, prev_Rrad;
    // This frame's predicted values: alpha and beta in degrees, rates in rad/s.
    float alpha_use, beta_use, P_use, Q_use, R_use;
    // Moments of inertia of the moment (kg m^2) about x (pitch), y (yaw) and z (roll).
    float MI_pitch, MI_yaw, MI_roll;
    // Each wing's wash sum of this frame (the downwash it casts next frame).
    float wash_sum[FLT_PARTS];
    // Arresting hook: the engagement time stamp, the time of the last hook
    // frame and the hook's offset from the wire point in the last frame.
    float hook_engage_time, hook_last_time;
    float hook_prev_offset[3];
    int hook_was_engaged;
    // Phases of the tow-wake turbulence, radians 0..2 pi.
    float wake_phase[3];
    // Build-ups run since the reset.
    unsigned calls;
    // The parts that take part in this frame (the presence rule of the flight
    // model, taken once at the start of the build-up).
    uint8_t present[FLT_PARTS];
};
extern forces_state fm_state;

// Back to the state of a fresh start: everything kept between calls is zero.
void FM_forces_reset();

// One stage of the build-up: its name and the call that runs it (the call
// itself decides whether the stage has anything to do this time).
struct fm_stage {
    const char* name;
    void (*run)();
};

// The build-up's stages, in the one order they run in: FM_forces_and_moments
// runs them, and so does a caller that holds the plane still to ask it for its
// forces (the start's trim), so both always run the same stages.
std::span<const fm_stage> FM_stages();

// One build-up of plane 0: every stage of the list once, in its order.
void FM_forces_and_moments();

// Gravity constant of the flight model's own physics (m/s^2): the unit set's
// g_conv; the local gravity of the moment is sim_physics.g_sealevel.
constexpr float FM_GRAVITY = UNIT.g_conv;
