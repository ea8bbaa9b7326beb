#include "tests/support/gl_view.h"

#include <gtest/gtest.h>

void window_ortho(double left, double right, double bottom, double top, double near_z, double far_z)
{
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, near_z, far_z);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void white_light_from(GLfloat x, GLfloat y, GLfloat z)
{
    const GLfloat from[4] = {x, y, z, 0}, white[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, from);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
}

std::vector<unsigned char> window_pixels(GLenum buffer)
{
    std::vector<unsigned char> px(size_t(1024) * 768 * 4);
    GLint kept = 0;
    glGetIntegerv(GL_READ_BUFFER, &kept);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glReadBuffer(static_cast<GLenum>(kept));
    return px;
}

std::vector<GLfloat> feedback_of(const std::function<void()>& draw, size_t size, GLenum type)
{
    // One buffer serves every capture, grown when one asks for more: a fresh
    // one each time would clear megabytes for every frame a test captures.
    static std::vector<GLfloat> buffer;
    if (buffer.size() < size) buffer.resize(size);
    glFeedbackBuffer(static_cast<GLsizei>(size), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    if (n < 0) {
        ADD_FAILURE() << "the feedback buffer of " << size << " values was too small";
        return {};
    }
    return std::vector<GLfloat>(buffer.begin(), buffer.begin() + n);
}
