// Vertex-array drawing and view-volume culling of the cloud quads.
#include "scene/sky/cloud_quads.h"

#include <GL/gl.h>

#include <cmath>

cloud_draw_scratch_record cloud_draw_scratch;

void CLOUD_draw_quads(const std::vector<cloud_vertex>& v, bool coloured)
{
    if (v.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(cloud_vertex), &v[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(cloud_vertex), &v[0].s);
    if (coloured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, sizeof(cloud_vertex), &v[0].r);
    }
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(v.size()));
    if (coloured) {
        glDisableClientState(GL_COLOR_ARRAY);
        // The current colour after an array draw is not defined: set it as
        // drawing corner by corner would have left it.
        glColor4f(v.back().r, v.back().g, v.back().b, v.back().a);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// The planes come from the rows of projection x model-view: row 3 plus or
// minus rows 0, 1 and 2 (left, right, bottom, top, near, far), each scaled to
// unit normal so that a x + b y + c z + d is the distance inside.
cloud_view_volume cloud_view_volume::current()
{
    float P[16], M[16], C[16];   // column-major
    glGetFloatv(GL_PROJECTION_MATRIX, P);
    glGetFloatv(GL_MODELVIEW_MATRIX, M);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += P[k * 4 + row] * M[col * 4 + k];
            C[col * 4 + row] = sum;
        }
    cloud_view_volume v;
    for (int side = 0; side < 6; ++side) {
        const int axis = side / 2;
        const float sign = side % 2 == 0 ? 1.0f : -1.0f;
        float* q = v.plane[side];
        for (int k = 0; k < 4; ++k) q[k] = C[k * 4 + 3] + sign * C[k * 4 + axis];
        const float n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
        if (!(n > 0.0f) || !std::isfinite(n) || !std::isfinite(q[3])) return cloud_view_volume{};
        for (int k = 0; k < 4; ++k) q[k] /= n;
    }
    v.usable = true;
    return v;
}

bool cloud_view_volume::may_see(float x, float y, float z, float radius) const
{
    if (!usable) return true;
    for (const auto& q : plane)
        if (q[0] * x + q[1] * y + q[2] * z + q[3] < -radius) return false;
    return true;
}
