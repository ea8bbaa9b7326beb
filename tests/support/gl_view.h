// Views and captures for the tests that draw in the 1024 x 768 test window.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <vector>

// The whole window shows the box (left..right, bottom..top, near..far)
// straight on; the model-view matrix is the identity and the current one.
void window_ortho(double left, double right, double bottom, double top, double near_z, double far_z);

// Light 0 white and directional, shining from (x, y, z) in the current
// model-view frame, with no ambient or specular part.
void white_light_from(GLfloat x, GLfloat y, GLfloat z);

// The window's picture, RGBA with the rows bottom up, read from `buffer`: the
// front buffer is what the window shows after a frame, the back buffer what
// the drawing since the last frame drew.
std::vector<unsigned char> window_pixels(GLenum buffer);

// What `draw` sends through the pipeline, as the feedback mode returns it in
// `type` (window coordinates): the buffer cut to the values written; empty,
// with a test failure, when `size` values were too few.
std::vector<GLfloat> feedback_of(const std::function<void()>& draw, size_t size, GLenum type = GL_3D_COLOR_TEXTURE);
