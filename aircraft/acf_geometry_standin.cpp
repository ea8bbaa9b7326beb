// Stand-in of the body-area integration until the aircraft set-up's geometry
// is built: the outputs are left as the caller set them.
#include "aircraft/acf_geometry.h"

void ACF_body_areas(int slot, int part, int weapon, float x0, float y0, float z0, float& frontal, float& side,
                    float& top, float& centroid_x, float& centroid_y, float& centroid_z, float& surface,
                    float& sum_yz, float& sum_xz, float& sum_xy)
{
}
