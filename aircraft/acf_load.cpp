// Loading an aircraft into a plane slot: the order of the set-up stages.
#include "aircraft/acf_load.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "aircraft/acf_file.h"
#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_report.h"
#include "aircraft/acf_setup.h"
#include "aircraft/acf_struct.h"
#include "aircraft/wpn_file.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/graphics.h"
#include "core/reset_registry.h"
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

// ---------------------------------------------------------------------------
// Refusals held while a load puts another aircraft in the slot.

struct held_refusals {
    int depth = 0;
    std::vector<std::array<std::string, 4>> notices;
    std::string outcome;
};
held_refusals held;

// Writes held notices to ERROR.OUT (those no box will show), a path of the
// program folder as the path on this disk, as the alerts write it.
void log_held(size_t from)
{
    for (size_t k = from; k < held.notices.size() && error_log.is_open(); ++k) {
        for (const std::string& line : held.notices[k])
            error_log << (FOLDERS_in_program_folder(line.c_str()) ? FOLDERS_log_path(line.c_str()) : line) << '\n';
        error_log.flush();
    }
}

// ---------------------------------------------------------------------------
// The fleet.

// Two paths of one file: compared case-blind, each of ':', '\\' and '/' a
// separator (the program's own paths and the folder listing's differ so).
bool same_file(const char* a, const char* b)
{
    auto folded = [](char c) {
        if (c == '\\' || c == '/') return ':';
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    for (;; ++a, ++b) {
        if (folded(*a) != folded(*b)) return false;
        if (*a == 0) return true;
    }
}

// The aircraft files of the fleet: every aircraft file below `folder` (a
// listing folder, ending in ':' or '\\'), in name order, a folder's files
// where the folder comes. A folder tree deeper than any the fleet is laid out
// in (or one that loops back on itself through a link) is not walked further.
constexpr int FLEET_DEPTH = 8;
struct fleet_file {
    std::string path, name;
};
void list_fleet(const char* folder, int depth, std::vector<fleet_file>& out)
{
    if (depth > FLEET_DEPTH || out.size() >= FILE_LIST_MAX) return;
    UTIL_strcpy(folder, file_list_folder);
    const int n = FILE_list_directory(KIND_AIRCRAFT);
    std::vector<std::pair<fleet_file, bool>> here;   // the listing is overwritten by the next folder's
    for (int i = 0; i < n; ++i)
        here.push_back({{file_list_paths[i], file_list_names[i]}, file_list_kinds[i] == KIND_FOLDER});
    for (const auto& [entry, is_folder] : here) {
        if (is_folder)
            list_fleet(entry.path.c_str(), depth + 1, out);
        else if (out.size() < FILE_LIST_MAX)
            out.push_back(entry);
    }
}

// Reads the file at `path` into the slot: true when it was read.
bool read_as(acf_struct& a, int slot, const char* path, const char* name)
{
    UTIL_strcpy(path, a.acf_file_path);
    UTIL_strcpy(name, a.acf_file_name);
    return ACF_read_write(ACF_MODE_READ, slot, 0) != 0;
}

// Says what stands in the slot for the aircraft that could not be loaded.
void say_loaded_in_its_place(const acf_struct& a)
{
    std::string line = std::string(a.acf_file_name) + " was loaded in its place.";
    ACF_refusal_outcome(line.c_str());
}

// Nothing of the fleet could be read: the program cannot fly. Said in the
// interface font's language, and "cannot find" only of a default aircraft
// that is not there.
void no_aircraft(const char* default_path)
{
    log_held(0);
    if (PLAT_file_exists(default_path))
        MACIBM_nuke_alert(0, "The default aircraft file is damaged:", default_path,
                          "No other aircraft of the fleet could be loaded either.", "Put back a good copy of it.",
                          ALERT_FATAL);
    else
        MACIBM_nuke_alert(0, "I cannot find the aircraft asked for, nor the default aircraft:", default_path,
                          "Make sure the default aircraft is in its folder.",
                          "No other aircraft of the fleet could be loaded either.", ALERT_FATAL);
}

// The requested file; when it cannot be read, the default aircraft; when that
// cannot be read either (or is the file that was refused), the next aircraft
// of the fleet after it, in name order and round, that reads. A damaged file
// of the default aircraft (or of its airfoils) would otherwise stop every
// start until the file is mended. A requested file that is not there gives
// way to the default without a word; a refused one is named, with what was
// loaded in its place.
int read_aircraft(int slot)
{
    acf_struct& a = pln[slot];
    char requested[ACF_TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(a.acf_file_path), requested);
    const int first = ACF_read_write(ACF_MODE_READ, slot, 0);
    if (first) return first;

    char default_path[ACF_TEXT_SIZE];
    UTIL_strcat3(program_folder, default_aircraft_path, default_path);
    char default_name[ACF_TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(default_aircraft_name), default_name);
    const bool default_asked = same_file(requested, default_path);
    if (!default_asked && read_as(a, slot, default_path, default_name)) {
        say_loaded_in_its_place(a);
        return first;
    }
    // A program that names no default aircraft (a tool) has nothing stand in.
    if (default_aircraft_path[0] == 0) {
        no_aircraft(default_path);
        return first;
    }
    if (!PLAT_file_exists(default_path))
        ACF_refuse_file("The default aircraft file cannot be found:", default_path, "", "");

    std::vector<fleet_file> fleet;
    list_fleet(folder_table[FOLDER_AIRCRAFT], 0, fleet);
    size_t after = 0;
    for (size_t i = 0; i < fleet.size(); ++i)
        if (same_file(fleet[i].path.c_str(), default_path)) after = i + 1;
    for (size_t k = 0; k < fleet.size(); ++k) {
        const fleet_file& f = fleet[(after + k) % fleet.size()];
        if (same_file(f.path.c_str(), requested) || same_file(f.path.c_str(), default_path)) continue;
        if (read_as(a, slot, f.path.c_str(), f.name.c_str())) {
            say_loaded_in_its_place(a);
            return first;
        }
    }
    UTIL_strcpy(static_cast<const char*>(default_path), a.acf_file_path);
    UTIL_strcpy(static_cast<const char*>(default_name), a.acf_file_name);
    no_aircraft(default_path);
    return first;
}

}  // namespace

void ACF_refusals_reset() { held = held_refusals{}; }
ORVELL_RESET(ACF_refusals_reset, program);

void ACF_refuse_file(const char* line1, const char* path, const char* line3, const char* line4)
{
    if (held.depth == 0) {
        MACIBM_nuke_alert(app_mode, line1, path, line3, line4, ALERT_NOTICE);
        return;
    }
    held.notices.push_back({line1 ? line1 : "", path ? path : "", line3 ? line3 : "", line4 ? line4 : ""});
}

void ACF_refusal_outcome(const char* line4) { held.outcome = line4 ? line4 : ""; }

acf_refusal_hold::acf_refusal_hold() : exceptions_(std::uncaught_exceptions())
{
    if (held.depth++ == 0) {
        held.notices.clear();
        held.outcome.clear();
    }
}

acf_refusal_hold::~acf_refusal_hold()
{
    if (--held.depth > 0) return;
    if (held.notices.empty() || std::uncaught_exceptions() > exceptions_) {
        held.notices.clear();
        return;
    }
    // The later ones first into the log: the box of the first stops the
    // program until it is dismissed.
    log_held(1);
    std::vector<std::array<std::string, 4>> notices;
    notices.swap(held.notices);
    // A file named before with the same bytes (the same damaged aircraft
    // chosen for another slot, or loaded again) is not named again.
    const std::array<std::string, 4>& n = notices.front();
    if (!ALERT_first_notice_of_damage(n[1].c_str())) return;
    const std::string& fourth = held.outcome.empty() ? n[3] : held.outcome;
    MACIBM_nuke_alert(app_mode, n[0].c_str(), n[1].c_str(), n[2].c_str(), fourth.c_str(), ALERT_NOTICE);
}

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
    // A file refused on the way is named once the aircraft in its place is set up.
    const acf_refusal_hold hold;

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
