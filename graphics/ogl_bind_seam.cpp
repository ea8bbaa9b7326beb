#include "graphics/ogl_bind_seam.h"

namespace {
bind_recorder* installed_recorder = nullptr;
}

void OGL_install_bind_recorder(bind_recorder* recorder) { installed_recorder = recorder; }

void OGL_seam_bound(int slot, int unit)
{
    if (installed_recorder) installed_recorder->bound(slot, unit);
}

void OGL_seam_light(const bind_recorder::light_call& call)
{
    if (installed_recorder) installed_recorder->light(call);
}
