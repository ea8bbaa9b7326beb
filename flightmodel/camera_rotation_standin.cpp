// Stand-in of the camera rotation until the view set-up caches the camera's
// angles: the camera is not turned, so camera axes are local axes.
#include "flightmodel/phys.h"

void PHYS_rotate_by_camera(const float in[3], float out[3])
{
    for (int a = 0; a < 3; ++a) out[a] = in[a];
}
