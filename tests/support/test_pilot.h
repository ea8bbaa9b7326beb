// The test pilot on the joystick seam: what the pilot holds this frame,
// handed to the control step as its joystick
// (INPUT_set_joystick_poll(pilot_joystick)).
#pragma once

namespace test_pilot {

struct pilot_hands {
    float pitch = 0.0f, roll = 0.0f, heading = 0.0f;   // yoke ratios -1..1
    float throttle = 0.0f;                              // lever 0..1
    float left_brake = 0.0f, right_brake = 0.0f;
};
inline pilot_hands hands;

inline void pilot_joystick(float* pitch, float* roll, float* heading, float* throttle, float*, float* left,
                           float* right, float*, float*, float*, float*, float*, int)
{
    *pitch = hands.pitch, *roll = hands.roll, *heading = hands.heading;
    *throttle = hands.throttle;
    *left = hands.left_brake, *right = hands.right_brake;
}

}  // namespace test_pilot
