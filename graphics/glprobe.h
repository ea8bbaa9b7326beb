// What the OpenGL driver offers: found once at start-up, right after the window
// and its context exist, and kept for the texture uploader, the state kit and
// the scene drawers. The findings are written to ERROR.OUT as the
// "OpenGL Situation:" report.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// Globals kept for the run.
extern int32_t has_edge_clamp;     // GL_CLAMP_TO_EDGE may be used for clamped textures
extern int32_t has_mul_tex_add;    // multitexture with the additive texture environment
extern int32_t has_dis_fog;        // radial fog distance (GL_EYE_RADIAL_NV)
extern int32_t num_tex_units;      // texture units of the multitexture extension, 0 when not reported
extern float max_iso_filtering;    // largest anisotropy, 0 when not reported
extern int32_t software_rasterizer;   // 1 when the renderer fills the pixels on the processor

// The probe's own flags, each 0 or 1.
struct gl_probe_flags {
    int32_t found_opengl_12 = 0;
    int32_t found_clamp_SGI = 0;
    int32_t found_clamp_ARB = 0;
    int32_t found_mul_tex = 0;
    int32_t found_env_add = 0;
    int32_t found_dis_fog = 0;
};

// The driver's texts as the probe holds them (vendor, renderer and version cut
// to 499 characters; the extension list kept whole, so a name is found wherever
// it stands in it).
struct gl_driver_texts {
    std::string vendor;
    std::string renderer;
    std::string version;
    std::string extensions;
};

// Flags from the version and extension texts: the version must begin with
// "1.2" .. "1.5"; extension names are plain substrings of the list.
gl_probe_flags GLPROBE_flags_from_texts(const char* version, const char* extensions);
// True when the renderer text is exactly "GENERIC" (the system's software renderer).
bool GLPROBE_is_generic_renderer(const char* renderer);

// The capability globals the rest of the run reads, from the probe's flags:
// edge clamping, multitexture with the add mode, and the radial fog distance.
void GLPROBE_set_capabilities(const gl_probe_flags& flags);
// Writes the "OpenGL Situation:" report.
void GLPROBE_write_report(std::ostream& out, const gl_driver_texts& texts, const gl_probe_flags& flags,
                          int units, float max_iso);
// Reads the driver texts of the current context.
gl_driver_texts GLPROBE_read_driver_texts();
// The program's default OpenGL state.
void OGL_set_default_state();
// The whole probe: texts, flags, globals, report to ERROR.OUT, the software
// renderer warning, the default state and the extension entry points.
void OGL_probe_capabilities();
