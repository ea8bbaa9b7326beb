// The camera's attitude as sines and cosines, cached by the view set-up once a
// frame, and the turn of camera axes into local axes that the drawing kit and
// the flight model use. The body-to-local turn with explicit sines and cosines
// lives here too, so every caller shares one rotation order: roll about z,
// pitch about x, heading about y.
#pragma once

struct camera_trig_block {
    float sin_pitch, cos_pitch;
    float sin_heading, cos_heading;
    float sin_roll, cos_roll;
};
// Level camera (pitch, heading and roll 0) until the view set-up writes it.
extern camera_trig_block camera_trig;

// The body-to-local turn with explicit sines and cosines of pitch, heading and roll.
void PHYS_turn_to_local(float x, float y, float z, float* ox, float* oy, float* oz, float s_theta, float c_theta,
                        float s_psi, float c_psi, float s_phi, float c_phi);

// Camera axes to local axes by the camera's roll, pitch and heading, with the
// sines and cosines the view set-up caches each frame.
void PHYS_rotate_by_camera(const float in[3], float out[3]);
