// The integration's step as the stages of the force build-up see it. A frame
// of the user's plane is integrated in several steps (two in the air, more
// in contact with the ground or water); the frame period keeps meaning the
// whole frame, and a stage reads the length of the step it runs in here.
// What must happen once a frame (scrape dust, sounds) asks whether the step
// is the frame's first or last; what the frame met in its steps (the worst
// sink at a contact, whether anything touched the surface) is gathered here
// for what is judged once a frame after the integration (the crash check,
// the touchdown sounds).
//
// Written by the integration (derived data) for each step; read by the
// build-up's stages, the crash check and the plane step's effects.
// Outside a frame's integration (the start's trim, a test that runs the
// build-up alone) the record says "the whole frame, one step".
#pragma once

struct fm_step_record {
    float dt_sec = 0.0f;        // length of this step; 0: the whole frame (the frame period)
    int index = 0, count = 1;   // this step's number in the frame (0..count-1) and how many it runs
    bool held = false;          // the plane is held where it crashed
    // Gathered over the frame's steps: whether any point of the plane (a
    // wheel, a skid, a body, a float, a wing tip, a propeller) met the ground
    // or the water, and the most downward vertical speed (m/s, local y) the
    // plane had in a step in which it met the surface (0 when it met none).
    bool touched = false;
    float impact_vy_mps = 0.0f;

    bool first() const { return index == 0; }
    bool last() const { return index == count - 1; }
};
extern fm_step_record fm_step;
void FM_step_reset();

// The length (s) of the step being run: the step record's, or outside a
// frame's integration the frame period.
float FM_step_sec();

// Whether this is the first step of the frame (always so outside a frame's
// integration): what a stage does once a frame it does then.
inline bool FM_first_step_of_frame() { return fm_step.first(); }

// A contact of the user's plane with the surface in the current step, met
// at the plane's vertical speed then (m/s).
void FM_step_touched(float vy_mps);
