// One tyre of an aircraft's landing gear drawn as a closed textured solid.
//
// Reads: the degree sine and cosine tables; the count of texture units in use.
#pragma once

// Draws the tyre at (x, y, z) of the current model-view matrix, turned by its
// steering angle about the vertical and rolled by its rolling angle about the
// axle (x), and leaves the matrix as it was. side_w and tread_w are the half
// widths at the side walls and at the tread, side_r and tread_r the radii
// there (metres); angles in degrees. The texture bound and the lighting are
// the caller's.
void ACF_draw_wheel(float x, float y, float z, float side_w, float tread_w, float side_r, float tread_r,
                    float steer_deg, float roll_deg);
