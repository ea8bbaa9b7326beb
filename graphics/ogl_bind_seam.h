// The recording seam of the texture kit: a test installs a recorder and sees
// every slot that a drawer asks OGL_bind_tex to bind, with its texture unit,
// whether or not the bound-texture cache lets the call reach OpenGL.
#pragma once

class bind_recorder {
public:
    virtual ~bind_recorder() = default;
    virtual void bound(int slot, int unit) = 0;
    // Every light asked of OGL_draw_light, lit or not, with its arguments.
    struct light_call {
        float x, y, z, r, g, b, a, size;
        int flash_index, phase_index, type;
    };
    virtual void light(const light_call&) {}
};

// Installs the recorder (null removes it).
void OGL_install_bind_recorder(bind_recorder* recorder);

// Called by OGL_bind_tex.
void OGL_seam_bound(int slot, int unit);
// Called by OGL_draw_light.
void OGL_seam_light(const bind_recorder::light_call& call);
