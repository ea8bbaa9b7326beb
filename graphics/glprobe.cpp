#include "graphics/glprobe.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "graphics/gl_entry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/plat_window.h"
#include "core/alert.h"
#include "core/folders.h"

int32_t has_edge_clamp = 0;
int32_t has_mul_tex_add = 0;
int32_t has_dis_fog = 0;
int32_t num_tex_units = 0;
float max_iso_filtering = 0.0f;
int32_t software_rasterizer = 0;

namespace gl_entry {
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
}  // namespace gl_entry

namespace {

constexpr size_t DRIVER_TEXT_MAX = 499;

bool contains(const char* text, const char* name) { return std::strstr(text, name) != nullptr; }

std::string driver_text(GLenum which, size_t limit)
{
    const GLubyte* t = glGetString(which);
    if (!t) return std::string();
    std::string s(reinterpret_cast<const char*>(t));
    if (limit && s.size() > limit) s.resize(limit);
    return s;
}

}  // namespace

gl_probe_flags GLPROBE_flags_from_texts(const char* version, const char* extensions)
{
    gl_probe_flags f;
    if (!version) version = "";
    if (!extensions) extensions = "";
    for (const char* v : {"1.2", "1.3", "1.4", "1.5"})
        if (std::strncmp(version, v, 3) == 0) f.found_opengl_12 = 1;
    if (contains(extensions, "GL_SGI_texture_edge_clamp") || contains(extensions, "GL_SGIS_texture_edge_clamp"))
        f.found_clamp_SGI = 1;
    if (contains(extensions, "GL_ARB_texture_edge_clamp") || contains(extensions, "GL_EXT_texture_edge_clamp"))
        f.found_clamp_ARB = 1;
    if (contains(extensions, "GL_ARB_multitexture")) f.found_mul_tex = 1;
    if (contains(extensions, "GL_ARB_texture_env_add") || contains(extensions, "GL_EXT_texture_env_add"))
        f.found_env_add = 1;
    if (contains(extensions, "GL_NV_fog_distance")) f.found_dis_fog = 1;
    return f;
}

bool GLPROBE_is_generic_renderer(const char* renderer)
{
    return renderer && std::strncmp(renderer, "GENERIC", 500) == 0;
}

void GLPROBE_write_report(std::ostream& out, const gl_driver_texts& texts, const gl_probe_flags& flags,
                          int units, float max_iso)
{
    char iso[64];
    std::snprintf(iso, sizeof iso, "%.6f", static_cast<double>(max_iso));
    out << "OpenGL Situation:\n";
    out << "OpenGL Vendor    :" << texts.vendor << "\n";
    out << "OpenGL Render    :" << texts.renderer << "\n";
    out << "OpenGL Version   :" << texts.version << "\n";
    out << "OpenGL Extensions:" << texts.extensions << "\n";
    out << "found_opengl_12  :" << flags.found_opengl_12 << "\n";
    out << "found_clamp_SGI  :" << flags.found_clamp_SGI << "\n";
    out << "found_clamp_ARB  :" << flags.found_clamp_ARB << "\n";
    out << "found_mul_tex    :" << flags.found_mul_tex << "\n";
    out << "found_env_add    :" << flags.found_env_add << "\n";
    out << "found_dis_fog    :" << flags.found_dis_fog << "\n";
    out << "num_tex_units    :" << units << "\n";
    out << "max_iso_filtering:" << iso << "\n";
    out.flush();
}

void GLPROBE_set_capabilities(const gl_probe_flags& flags)
{
    has_edge_clamp = (flags.found_opengl_12 || flags.found_clamp_SGI || flags.found_clamp_ARB) ? 1 : 0;
    has_mul_tex_add = (flags.found_mul_tex && flags.found_env_add) ? 1 : 0;
    has_dis_fog = flags.found_dis_fog;
}

gl_driver_texts GLPROBE_read_driver_texts()
{
    gl_driver_texts t;
    t.vendor = driver_text(GL_VENDOR, DRIVER_TEXT_MAX);
    t.renderer = driver_text(GL_RENDERER, DRIVER_TEXT_MAX);
    t.version = driver_text(GL_VERSION, DRIVER_TEXT_MAX);
    t.extensions = driver_text(GL_EXTENSIONS, 0);
    return t;
}

void OGL_set_default_state()
{
    const GLfloat ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glAlphaFunc(GL_GREATER, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_LEQUAL);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glHint(GL_FOG_HINT, GL_FASTEST);
    glFrontFace(GL_CW);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DITHER);
    glDisable(GL_LOGIC_OP);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_NORMALIZE);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
}

void OGL_probe_capabilities()
{
    const gl_driver_texts texts = GLPROBE_read_driver_texts();
    const gl_probe_flags flags = GLPROBE_flags_from_texts(texts.version.c_str(), texts.extensions.c_str());

    GLPROBE_set_capabilities(flags);

    // Queries the driver does not know leave the values untouched (and raise a
    // GL error, which is cleared so that it is not blamed on later calls).
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    num_tex_units = units;
    GLfloat iso = max_iso_filtering;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &iso);
    max_iso_filtering = iso;
    // Whether the renderer fills the pixels on the processor: the texture
    // upload then filters more cheaply. The probed values stay the driver's.
    const std::string& renderer = texts.renderer;
    software_rasterizer =
        renderer.find("llvmpipe") != std::string::npos || renderer.find("softpipe") != std::string::npos ? 1 : 0;
    // (A bounded number of reads: a lost context may keep answering with an error.)
    for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i) {
    }

    if (error_log.is_open()) GLPROBE_write_report(error_log, texts, flags, num_tex_units, max_iso_filtering);

    if (GLPROBE_is_generic_renderer(texts.renderer.c_str()))
        MACIBM_nuke_alert(0,
                          "I can not find a 3-D accelerator card that can handle OpenGL that has correctly "
                          "installed drivers.",
                          "I will still let you run the simulator, but the frame rate will NOT allow for a good "
                          "simulation.",
                          "For you to fly realistically, you must use Orvell version Classic, or get a 3-D "
                          "accelerator card that can handle OpenGL.",
                          "The list of video cards known to work with Orvell is in the documentation that came "
                          "with it.",
                          ALERT_NOTICE);

    OGL_set_default_state();

    gl_entry::glMultiTexCoord2fARB =
        reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(PLAT_gl_proc_address("glMultiTexCoord2fARB"));
    gl_entry::glMultiTexCoord2fvARB =
        reinterpret_cast<PFNGLMULTITEXCOORD2FVARBPROC>(PLAT_gl_proc_address("glMultiTexCoord2fvARB"));
    gl_entry::glActiveTextureARB =
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(PLAT_gl_proc_address("glActiveTextureARB"));
    // The terrain objects' vertex arrays also need the client-side unit switch;
    // it is fetched the same way and leaves the three above as they are.
    gl_entry::glClientActiveTextureARB =
        reinterpret_cast<PFNGLCLIENTACTIVETEXTUREARBPROC>(PLAT_gl_proc_address("glClientActiveTextureARB"));
}
