// The camera's attitude as sines and cosines, cached by the view set-up once a
// frame for the rotations that turn camera axes into local axes
// (PHYS_rotate_by_camera of the flight model's kit).
#pragma once

struct camera_trig_block {
    float sin_pitch, cos_pitch;
    float sin_heading, cos_heading;
    float sin_roll, cos_roll;
};
extern camera_trig_block camera_trig;
