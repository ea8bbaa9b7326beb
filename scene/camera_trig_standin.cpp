// Stand-in of the view set-up's camera cache until the view set-up is built:
// the camera is not turned (pitch, heading and roll 0), so camera axes are
// local axes.
#include "scene/camera_trig.h"

camera_trig_block camera_trig{0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f};
