// The first stages of the control step: automatic view cycling, the pilot's
// inputs (joystick poll, the joystick's hold on the throttle and propeller
// levers, single-lever fan-out, toe brakes) or the auto-flight showcase, the
// per-engine pre-step (reverser failure, reverse cancel, idle speed,
// afterburner) and the stick shaping (roll-yaw link, speed gain, helicopter
// auto-coordination).
//
// Reads: pln[p] engines, propellers, tanks, stall speed; flt[p] engines,
// speeds, heights, attitude, fuel, failures; the joystick block; the autopilot
// mode words; the frame clock and period; terrain_height_m; the airport table
// and the traffic airport (showcase).
// Writes: the yoke ratios; flt[p] ENGN_thro, ENGN_prop, ENGN_mixt, ENGN_heat,
// ENGN_propmode, ENGN_burning, POINT_pitch_deg, sbrkrqst, brakes, parkbrake,
// flaprqst, elv_trim, fuel (showcase); idle_speed; the autopilot targets
// (showcase); the flight-director commands; gear_handle_status (showcase).
// Issues view commands and, in the showcase, flight restarts.
#pragma once

#include <cstdint>

// What the step keeps from frame to frame for these stages.
struct pilot_input_state {
    float next_view_change_time;
    float throttle_axis_value;      // axis positions delivered by the joystick poll, 0..1
    float prop_axis_value;
    float throttle_last_moved;      // the axis position when the joystick last took the lever
    float prop_last_moved;
    float throttle_lever_before;    // lever and pitch equivalents of the previous frame
    float prop_lever_before;
    int32_t throttle_taken;         // the joystick holds the throttle lever
    int32_t prop_taken;             // the joystick holds the collective pitch
    float heading_timer;            // showcase: next new heading and altitude
    float altitude_timer;
    float auto_throttle_ratio = 1.0f;   // showcase throttle, 0..1
};
extern pilot_input_state pilot_inputs;
void INPUT_reset_state();

// What the stick shaping hands to the autopilot and the stability stages.
struct control_gains {
    float g;               // speed gain of the autopilot laws and the artificial stability
    float k;               // factor on the autopilot's pitch law
    float pilot_roll;      // the pilot's roll and heading inputs before the autopilot
    float pilot_heading;
};

// The joystick poll the input stage calls: JOY_poll, or a test's own
// (null puts JOY_poll back).
using joystick_poll_fn = void (*)(float*, float*, float*, float*, float*, float*, float*, float*, float*, float*,
                                  float*, float*, int);
void INPUT_set_joystick_poll(joystick_poll_fn poll);

// Issues a random view command every 10 to 30 s while auto_view_cycle_on is set.
void INPUT_view_cycling();
// The pilot's inputs, or the showcase while auto_flight_on is set.
void INPUT_pilot_inputs(int p);
void INPUT_auto_flight(int p);
// Reverser failure, reverse cancel, idle-speed switch and afterburner flag of every engine.
void INPUT_engine_prestep(int p);
// Roll-yaw link, flight-director reset, speed gain and helicopter coordination.
control_gains INPUT_stick_shaping(int p);
