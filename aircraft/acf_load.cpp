// Loading an aircraft into a plane slot: the order of the set-up stages.
#include "aircraft/acf_load.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "aircraft/wpn_file.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/graphics.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "links/plugin_host.h"
#include "platform/plat_files.h"

namespace {

constexpr int PLUGIN_EVENT_AIRCRAFT_LOADED = 3;

// The file name is what follows the path's last backslash or ':'. A path may
// also carry this platform's '/' (the program folder, a plug-in's path): split
// at backslash and ':' alone, a path with no ':' after its last '/' would keep
// its whole folder chain as the file name, so '/' separates too. The path's
// last character is cut so that a caller's unended path is not read past it.
void set_file_name(acf_struct& a)
{
    a.acf_file_path[ACF_TEXT_SIZE - 1] = 0;
    const char* name = a.acf_file_path;
    for (const char* c = a.acf_file_path; *c; ++c)
        if (*c == '\\' || *c == ':' || *c == '/') name = c + 1;
    UTIL_strcpy(name, a.acf_file_name);
}

// The category flags (exact case), compared from the position equal to the
// length of the aircraft folder text. Path texts here are whole paths (the
// fallback below puts the program folder ahead of the relative path), so the
// aircraft folder text is the folder table's entry, the program folder
// followed by "AIRCRAFT:"; a fixed nine would compare inside the program
// folder's own name and never set a flag.
void set_category_flags(acf_struct& a)
{
    const std::size_t n = std::strlen(folder_table[FOLDER_AIRCRAFT]);
    // A path shorter than that would compare the letters a longer earlier
    // path left past its end, and could take that path's category; it sets
    // neither flag.
    if (strnlen(a.acf_file_path, ACF_TEXT_SIZE) < n) return;
    const char* below = a.acf_file_path + n;
    if (std::strncmp(below, "GENERAL AVIATION", 16) == 0) a.acf_is_general_aviation = 1;
    if (std::strncmp(below, "HEAVY METAL", 11) == 0) a.acf_is_heavy_metal = 1;
}

int read_aircraft(int slot)
{
    acf_struct& a = pln[slot];
    const int first = ACF_read_write(ACF_MODE_READ, slot, 0);
    if (first) return first;
    UTIL_strcat3(program_folder, default_aircraft_path, a.acf_file_path);
    UTIL_strcpy(static_cast<const char*>(default_aircraft_name), a.acf_file_name);
    if (!ACF_read_write(ACF_MODE_READ, slot, 0)) {
        // Said in the interface font's language, and "cannot find" only of a
        // file that is not there: a default aircraft that is there but cannot
        // be read is damaged.
        char path[ACF_TEXT_SIZE];
        UTIL_strcpy(a.acf_file_path, path);
        if (PLAT_file_exists(path))
            MACIBM_nuke_alert(0, "The default aircraft file is damaged:", path,
                              "The program cannot go on without it.", "Put back a good copy of it.", ALERT_FATAL);
        else
            MACIBM_nuke_alert(0, "I cannot find the aircraft asked for, nor the default aircraft:", path,
                              "Make sure the default aircraft is in its folder.",
                              "The program starts with the default aircraft.", ALERT_FATAL);
    }
    return first;
}

}  // namespace

int ACF_load_and_setup(int slot)
{
    // A slot outside 0-9 would index past the aircraft and flight-model
    // records: fatal instead.
    if (slot < 0 || slot >= ACF_SLOTS) {
        MACIBM_nuke_alert(0, "ACF_load_and_setup: bad plane slot!", "", "", "", ALERT_FATAL);
        return 0;
    }
    acf_struct& a = pln[slot];
    flt_struct& f = flt[slot];

    sim_graphics_settings.draw_aircrafts = std::max(sim_graphics_settings.draw_aircrafts, slot + 1);
    std::memset(f.failures, 0, sizeof f.failures);
    set_file_name(a);
    PLUGIN_call_update_plane_path(slot, a.acf_file_name, a.acf_file_path);
    const int first = read_aircraft(slot);
    set_category_flags(a);
    ACF_setup_report_header(slot);
    f.over_g = f.over_vne = f.over_vfe = f.over_vle = 0;

    ACF_setup_convert(slot);
    ACF_setup_gear(slot);
    ACF_setup_wings(slot);
    ACF_setup_props_and_masses(slot);
    ACF_setup_slats_and_stall(slot);
    ACF_setup_downwash(slot);
    ACF_setup_pressure_centre(slot);

    char line[ACF_TEXT_SIZE];
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) {
        char* name = a.wpn_name + w * ACF_WPN_NAME_SIZE;
        name[ACF_WPN_NAME_SIZE - 1] = 0;   // a name from the file with no end would be read past its 500 characters
        if (name[0]) WPN_read(ACF_MODE_READ, slot, w, name, line, 0);
    }
    ACF_setup_initial_masses(slot);
    CORE_load_aircraft_textures(1, 0, 0, slot);
    ACF_setup_panel(slot);
    ACF_setup_sounds(slot);
    PLUGIN_call_event_hook(PLUGIN_EVENT_AIRCRAFT_LOADED, frame_clock, 0, slot, 0);
    return first;
}
