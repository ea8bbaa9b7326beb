#include "shell/startup.h"
#include "shell/startup_clock.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/dataout.h"
#include "links/movie.h"
#include "links/net_slots.h"
#include "links/plugin_host.h"
#include "core/bytes.h"
#include "core/alert.h"
#include "core/constants.h"
#include "shell/cycle.h"
#include "core/datafile.h"
#include "shell/display.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "graphics/glprobe.h"
#include "graphics/list.h"
#include "core/input.h"
#include "world/landuse.h"
#include "shell/lang.h"
#include "shell/main.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "shell/prefs.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "shell/world_textures.h"
#include "world/navdb.h"

namespace {

constexpr int SEA_TEXTURES = TEX_SLOT_SEA_LAST - TEX_SLOT_SEA_FIRST + 1;

// Records already clear are left alone: the aircraft records alone are tens
// of megabytes that a first start finds clear, and writing zeros over them
// would make the system hand the program memory for slots no aircraft uses.
template <class T>
void zero_records(T* records, size_t count)
{
    static_assert(std::is_trivially_copyable_v<T>);
    const size_t bytes = sizeof(T) * count;
    if (!UTIL_all_zero(reinterpret_cast<const uint8_t*>(records), bytes)) std::memset(static_cast<void*>(records), 0, bytes);
}

}  // namespace

void STARTUP_reset_state()
{
    // What an earlier start-up in this process loaded (a first start finds it
    // empty; the kept state went back with the reset registry, and the menus
    // are emptied as the texts build them): the texts, the world textures (a
    // new window has none yet: the set loads in full again), the graphics
    // card's limits, the scenery's reference.
    std::memset(ui_text_table, 0, sizeof ui_text_table);
    WORLD_textures_reset();
    std::memset(texture_memory, 0, sizeof texture_memory);
    num_tex_units = 0;
    max_iso_filtering = 0.0f;
    lat_ref = 0.0f;
    lon_ref = 0.0f;

    // The ten aircraft records and the ten flight-model records.
    zero_records(pln, ACF_SLOTS);
    zero_records(flt, ACF_SLOTS);

    // The world containers.
    NAV_clear_tables();
}

void STARTUP_random_and_clock()
{
    CONST_fill_random_table();
    CONST_stir_random(UTIL_seconds());
}

void STARTUP_logs_and_folders()
{
    FOLDERS_open_logs();
    file_use_index = 0;
    if (startup_program_path)
        FOLDERS_init_from(startup_program_path);
    else
        FOLDERS_init();
    // The folders saves go to must exist: a save into a missing folder would
    // fail and the saved data would be lost.
    FOLDERS_make_written();
}

void STARTUP_display_defaults()
{
    name_list_nav_kind = 1;
    screen.full_screen = 1;
    screen.window_width = 1024;
    screen.window_height = 768;
    screen.colour_depth = 16;
    screen.rendering_res = 3;
    sim_operation_prefs_misc.language = -1;
    screen.res_width = screen.window_width;
    screen.res_height = screen.window_height;
    screen.res_bits = screen.colour_depth;
    screen.requested_full_screen = 1;
    PREFS_read_write(PREFS_KIND_RESOLUTION, PREFS_READ, pref_path_resolution);
}

void STARTUP_world_textures()
{
    int width = 0, height = 0;
    OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_LIGHTS, TEX_BRIGHT, "WORLD:OVERLAYS:LIGHTS.BMP", width, height);
    WORLD_textures_lights_loaded();
    for (int i = 0; i < SEA_TEXTURES; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "TERRAIN:WATER -90+90 -180+180:SEA%02d.BMP", i + 1);
        OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_SEA_FIRST + i, TEX_RGB_MIPMAP, name, width, height);
    }
}

void APPLICATION_init()
{
    // The window class of the other platform has nothing to stand for here:
    // the window procedure is reached through the message pump.
    OGL_init_image_blocks();
    STARTUP_reset_state();
    STARTUP_random_and_clock();
    STARTUP_logs_and_folders();
    // Saves go through a temporary file renamed over the old one, so a failed
    // save keeps the old file; temporaries a run left mid-save are removed.
    FILE_remove_stale_saves();
    CONST_fill_constants();
    OGL_fill_default_colors();
    STARTUP_display_defaults();
    DISPLAY_set_ui_mapping();
    STARTUP_clock_stage("display");
    DISPLAY_open();
    DISPLAY_check_interface_file();
    OGL_probe_capabilities();
    STARTUP_clock_stage("interface");
    DISPLAY_load_interface();

    APPLICATION_set_mode(MODE_INTRO, "initial init");
    gl_ready = 1;
    quit_flag = 0;

    if (sim_operation_prefs_misc.language < 0) {
        sim_operation_prefs_misc.language = 0;
        MACIBM_nuke_alert(-1, "", "", "", "", ALERT_LANGUAGE);
    }
    STARTUP_clock_stage("language");
    LANG_load_text(0);
    MOVIE_init_quicktime();
    STARTUP_clock_stage("sea");
    STARTUP_world_textures();
    STARTUP_clock_stage("land use and plug-ins");
    LANDUSE_read_table();
    CONST_dimension_self_check();
    PLUGIN_load(program_folder);
}
