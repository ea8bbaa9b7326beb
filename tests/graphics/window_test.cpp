#include <gtest/gtest.h>

#include <GL/gl.h>

#include "graphics/ogl_tex.h"
#include "platform/plat_window.h"
#include "tests/graphics/gl_context.h"

TEST(Window, ContextIsCurrentAndSlotNamesAreReserved)
{
    ASSERT_TRUE(ensure_gl_context());
    int w = 0, h = 0;
    PLAT_window_pixel_size(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_GE(PLAT_depth_bits(), 24);
    GLuint name = 0;
    glGenTextures(1, &name);
    EXPECT_GE(name, static_cast<GLuint>(TEX_SLOTS));
    glDeleteTextures(1, &name);
}
