// Stand-in of the scene drawing until scene rendering is built: the 3-D pass
// only clears the picture to a plain sky and follows no weapon; the overlay
// only ends the redraw; there are no clouds.
#include "scene/scene_draw.h"

#include <GL/gl.h>

#include "core/app_mode.h"

int32_t scene_followed_weapon = -1;

void SCENE_draw_3d()
{
    scene_followed_weapon = -1;
    glClearColor(0.45f, 0.62f, 0.85f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SCENE_draw_overlay() { redraw_pending = 0; }

void CLOUD_update_draw() {}

void SCENE_clear_state() { scene_followed_weapon = 0; }
