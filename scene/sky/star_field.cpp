// The star field the sky drawing calls, built by the simulation defaults.
#include "scene/sky/star_field.h"

#include <GL/gl.h>

#include <cmath>

#include "core/random.h"
#include "platform/plat_window.h"

float star_points[STAR_LIST_COUNT][STARS_PER_LIST][3] = {};
uint32_t star_lists[STAR_LIST_COUNT] = {};

void DEFAULTS_build_stars()
{
    for (int list = 0; list < STAR_LIST_COUNT; ++list) {
        for (int i = 0; i < STARS_PER_LIST; ++i) {
            float c[3];
            for (float& v : c) v = static_cast<float>(UTIL_rand()) * 3110.0f / 32767.0f - STAR_RADIUS;
            float len = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
            if (!(len > 1.0f)) len = 1.0f;   // a point at the centre is only scaled
            for (int k = 0; k < 3; ++k) star_points[list][i][k] = c[k] * STAR_RADIUS / len;
        }
    }
    if (!PLAT_window_exists()) return;   // no OpenGL context: the points stay in the arrays
    DEFAULTS_free_star_lists();
    for (int list = 0; list < STAR_LIST_COUNT; ++list) {
        const GLuint name = glGenLists(1);
        star_lists[list] = name;
        if (!name) continue;   // no list name left: list 0 cannot be compiled, its vertices would reach no list
        glNewList(name, GL_COMPILE);
        for (int i = 0; i < STARS_PER_LIST; ++i) glVertex3fv(star_points[list][i]);
        glEndList();
    }
}

void DEFAULTS_free_star_lists()
{
    for (uint32_t& name : star_lists) {
        if (name && PLAT_window_exists()) glDeleteLists(name, 1);
        name = 0;
    }
}
