// The 3-D pass of the frame. Of the scene's drawers none is built yet, so the
// pass decides the surface under the user's plane (a stand-in until the
// runway, ship and object drawers do), clears the picture to a plain sky and
// follows no weapon.
#include "scene/scene_draw.h"

#include <GL/gl.h>

#include "scene/surface_state.h"

int32_t scene_followed_weapon = -1;

void SCENE_draw_3d()
{
    scene_followed_weapon = -1;
    SCENE_surface_under_plane();
    glClearColor(0.45f, 0.62f, 0.85f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SCENE_clear_state() { scene_followed_weapon = 0; }
