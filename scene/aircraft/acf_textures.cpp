// Preparing a plane slot's aircraft for drawing: meshes, paint coordinates,
// textures and shadow, in that order.
#include "scene/aircraft/acf_textures.h"

#include <cstring>

#include "aircraft/acf_struct.h"
#include "aircraft/wpn_file.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "graphics/ogl_tex.h"
#include "platform/plat_window.h"
#include "scene/aircraft/paint_layout.h"
#include "scene/aircraft/part_mesh.h"
#include "scene/aircraft/shadow.h"

namespace {

constexpr std::size_t EXTENSION_LENGTH = 4;   // ".acf", ".wpn"
constexpr const char* BITMAP_EXTENSION = ".BMP";

// The aircraft's own panel bitmaps (plane 0 only): the file beside the
// aircraft, then its second own file when it has one, then the program's.
struct panel_bitmap {
    int slot;
    int type;
    const char* own;
    const char* own_fallback;
    const char* program_file;
};
constexpr panel_bitmap PANEL_BITMAPS[] = {
    {TEX_SLOT_PANEL_FONT, TEX_KEY, "_TEST_NEAREST.BMP", nullptr, "PANEL_TEST_NEAREST.BMP"},
    {TEX_SLOT_PANEL_FONT_LIT, TEX_KEY, "_TEST_NEAREST_LIT.BMP", "_TEST_NEAREST.BMP", "PANEL_TEST_NEAREST.BMP"},
    {TEX_SLOT_PANEL_FONT2, TEX_KEY, "_TEST_LINEAR.BMP", nullptr, "PANEL_TEST_LINEAR.BMP"},
    {TEX_SLOT_PANEL_FONT2_LIT, TEX_KEY, "_TEST_LINEAR_LIT.BMP", "_TEST_LINEAR.BMP", "PANEL_TEST_LINEAR.BMP"},
    {TEX_SLOT_PANEL_BLEND, TEX_BRIGHT, "_BLEND_LINEAR.BMP", nullptr, "PANEL_BLEND_LINEAR.BMP"},
    {TEX_SLOT_COMPASS_ROSE, TEX_KEY, "_COMPASS_ROSE.BMP", nullptr, "PANEL_COMPASS_ROSE.BMP"},
    {TEX_SLOT_HSI_ROSE, TEX_KEY, "_HSI_ROSE.BMP", nullptr, "PANEL_HSI_ROSE.BMP"},
    {TEX_SLOT_PANEL_CUSTOM, TEX_KEY, "_CUSTOM.BMP", nullptr, "PANEL_CUSTOM.BMP"},
};

// Names of the aircraft's own files: its path less the extension, followed by
// a suffix. Cutting four characters off a shorter path would read before the
// text, and a name longer than the buffer would write past it: such a path or
// name gives the suffix alone, which the loader looks up in the program's
// bitmap folder, where no aircraft's own files lie.
class own_names {
public:
    explicit own_names(const acf_struct& a)
    {
        const std::size_t length = strnlen(a.acf_file_path, TEXT_SIZE - 1);
        base_length_ = length >= EXTENSION_LENGTH ? length - EXTENSION_LENGTH : 0;
        std::memcpy(base_, a.acf_file_path, base_length_);
    }
    const char* name(const char* suffix)
    {
        const std::size_t n = std::strlen(suffix);
        const std::size_t keep = base_length_ + n < TEXT_SIZE ? base_length_ : 0;
        std::memcpy(name_, base_, keep);
        std::memcpy(name_ + keep, suffix, n + 1);
        return name_;
    }

private:
    char base_[TEXT_SIZE] = {};
    std::size_t base_length_ = 0;
    char name_[TEXT_SIZE] = {};
};

int load(int slot, int type, const char* name)
{
    int width = 0, height = 0;
    return OGL_load_tex_file(LOAD_TEXTURE, slot, type, name, width, height);
}

void load_panel_bitmaps(own_names& own)
{
    for (const panel_bitmap& b : PANEL_BITMAPS) {
        if (load(b.slot, b.type, own.name(b.own))) continue;
        if (b.own_fallback && load(b.slot, b.type, own.name(b.own_fallback))) continue;
        load(b.slot, b.type, b.program_file);
    }
}

// Weapon w's bitmap: its weapon file's path with ".BMP" for the extension.
// A path that did not fit its buffer (left empty by WPN_find_file) or has no
// room for the new extension would be written past the buffer's end: that
// weapon loads nothing and its slot keeps what it held.
void load_weapon_bitmap(int plane, int w)
{
    char path[TEXT_SIZE] = {};
    char name[ACF_WPN_NAME_SIZE];
    const char* stored = pln[plane].wpn_name + w * ACF_WPN_NAME_SIZE;
    const std::size_t n = strnlen(stored, ACF_WPN_NAME_SIZE - 1);
    std::memcpy(name, stored, n);
    name[n] = 0;
    WPN_find_file(plane, name, path);
    std::size_t length = strnlen(path, TEXT_SIZE - 1);
    if (length == 0) return;
    if (length > EXTENSION_LENGTH) length -= EXTENSION_LENGTH;
    const std::size_t extension = std::strlen(BITMAP_EXTENSION);
    if (length + extension >= TEXT_SIZE) return;
    std::memcpy(path + length, BITMAP_EXTENSION, extension + 1);
    load(TEX_SLOT_WEAPON_FIRST + ACF_WPN_SLOTS * plane + w, TEX_RGB, path);
}

}  // namespace

void ACF_prepare_model(int plane)
{
    if (plane < 0 || plane >= ACF_SLOTS) return;
    ACF_build_surface_meshes(plane);
    ACF_copy_body_rows(plane);
    ACF_build_normals(plane);
    ACF_paint_coordinates(plane);
}

void ACF_load_textures(int, int, int, int plane)
{
    if (plane < 0 || plane >= ACF_SLOTS) return;
    ACF_prepare_model(plane);

    acf_struct& a = pln[plane];
    // Texture slots are textures of the window's context: without a window
    // (a tool, a test without drawing) the graphics calls would have no
    // context to work on, so only the shadow's extents are measured and the
    // plane counts as having no lit paint.
    if (!PLAT_window_exists()) {
        a.acf_has_litemap_tex = 0;
        ACF_shadow_raster(plane, ACF_shadow_size(screen.rendering_res, 0), pixel_buffer);
        return;
    }
    own_names own(a);
    const int paint = TEX_SLOT_PAINT_FIRST + 4 * plane;
    load(paint, TEX_RGB, own.name("_PAINT.BMP"));
    a.acf_has_litemap_tex = load(paint + 1, TEX_BRIGHT, own.name("_PAINT_LIT.BMP"));
    load(paint + 2, TEX_RGB, own.name("_PAINT2.BMP"));
    load(paint + 3, TEX_BRIGHT, own.name("_PAINT2_LIT.BMP"));
    if (plane == 0) load_panel_bitmaps(own);
    for (int w = 0; w < ACF_WPN_SLOTS; ++w)
        if (a.acf_wpn_slot[w].wpn_type != 0) load_weapon_bitmap(plane, w);

    ACF_load_shadow(plane);
}
