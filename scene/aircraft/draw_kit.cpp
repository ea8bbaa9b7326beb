// The texture-coordinate rule, the element strip and the safe counts.
#include "scene/aircraft/draw_kit.h"

#include <GL/gl.h>

#include "aircraft/acf_struct.h"
#include "graphics/gl_entry.h"
#include "graphics/ogl_tex.h"

float ACF_blade_count(int n, int e)
{
    if (n < 0 || n >= ACF_SLOTS || e < 0 || e >= ACF_MAX_ENGINES) return 0.0f;
    const float b = pln[n].acf_num_blades[e];
    if (!(b > 0.0f)) return 0.0f;
    return b < static_cast<float>(ACF_MAX_BLADES) ? b : static_cast<float>(ACF_MAX_BLADES);
}

// With 2..4 units but no multi-texture entry point from the driver, calling
// through the empty pointer would crash: the plain coordinate is given instead.
void ACF_tex_coord(const float st[2])
{
    const int units = cur_tex_units;
    if (units == 1 || (units > 1 && units <= TEX_UNITS_CACHED && !gl_entry::glMultiTexCoord2fvARB)) {
        glTexCoord2fv(st);
        return;
    }
    if (units < 2 || units > TEX_UNITS_CACHED) return;
    for (int u = 0; u < units; ++u) gl_entry::glMultiTexCoord2fvARB(GL_TEXTURE0_ARB + u, st);
}

void ACF_element_strip(const acf_part_geometry& g, int p, int e, const int* points, int count)
{
    const int inner = 2 * e, outer = 2 * e + 1;
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < count; ++i) {
        const int k = points[i];
        glNormal3fv(g.part_normal[p][inner][k]);
        ACF_tex_coord(g.part_texcoord[p][outer][k]);
        glVertex3fv(g.part_vertex[p][outer][k]);
        ACF_tex_coord(g.part_texcoord[p][inner][k]);
        glVertex3fv(g.part_vertex[p][inner][k]);
    }
    glEnd();
}
