// The build-up's own stages, one file per physical model, in the order the
// build-up (forces.cpp) calls them. All work on plane slot 0.
#pragma once

// Rigid body (rigid_body.cpp).
void FM_predict();              // 1: alpha, beta and rates predicted from their last change
void FM_clear_part_values();    // 2: strut deflections and per-part force sums
void FM_clear_totals();         // 4: force and moment totals
void FM_catapult();             // 21: the catapult throws the plane
void FM_accelerations();        // 25: totals into accelerations
void FM_integrate();            // 26: rates and local velocities by one frame period

// Wings (wing.cpp).
void FM_ground_effect();        // 3
void FM_blown_flaps();          // 5
void FM_wing_elements();        // 11
void FM_downwash_and_centroids();   // 12: downwash for the next frame, Q-centroid factors

// Bodies (body_drag.cpp): fuselages, nacelles and pods of parts 44..66,
// crossflow below the speed of sound, panel forces above it.
void FM_body_stage();           // 13

// Undercarriage and drag devices (gear_drag.cpp, chute.cpp).
void FM_gear_drag();            // 14: gear legs, tyres, doors and fuselage speed brakes
void FM_drag_chute();           // 15
void FM_nosewheel_steering();   // 16 (also clears the on-ground flags)
