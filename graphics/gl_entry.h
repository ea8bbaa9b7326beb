// OpenGL extension entry points found by the capability probe (graphics/glprobe.h).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// Extension entry points from the driver, null when missing. They live in their
// own namespace because the system's OpenGL header declares functions of the
// same names.
namespace gl_entry {
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
}  // namespace gl_entry
