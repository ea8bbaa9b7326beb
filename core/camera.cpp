#include "core/camera.h"
#include "core/reset_registry.h"

camera_trig_block camera_trig{0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f};

void CAMERA_trig_reset() { camera_trig = {0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f}; }
ORVELL_RESET(CAMERA_trig_reset, scene);

void PHYS_turn_to_local(float x, float y, float z, float* ox, float* oy, float* oz, float s_theta, float c_theta,
                        float s_psi, float c_psi, float s_phi, float c_phi)
{
    // Roll about z, pitch about x, heading about y.
    const float x1 = x * c_phi + y * s_phi;
    const float y1 = y * c_phi - x * s_phi;
    const float y2 = y1 * c_theta - z * s_theta;
    const float z2 = y1 * s_theta + z * c_theta;
    *ox = x1 * c_psi - z2 * s_psi;
    *oz = x1 * s_psi + z2 * c_psi;
    *oy = y2;
}

void PHYS_rotate_by_camera(const float in[3], float out[3])
{
    const camera_trig_block& c = camera_trig;
    float x, y, z;
    PHYS_turn_to_local(in[0], in[1], in[2], &x, &y, &z, c.sin_pitch, c.cos_pitch, c.sin_heading, c.cos_heading,
                       c.sin_roll, c.cos_roll);
    out[0] = x, out[1] = y, out[2] = z;
}
