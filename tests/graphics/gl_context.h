// One window with its OpenGL context for the whole test binary (1024 x 768,
// the offscreen driver where there is no display), probed and set to the
// program's default state. Made in tests/support, so every test binary can draw.
#pragma once

// Creates the window on first use; false when no context could be made.
bool ensure_gl_context();
