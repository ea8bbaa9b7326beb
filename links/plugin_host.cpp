// The plug-in loader and the hook forwarders.
#include "links/plugin_host.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/menu_table.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "links/plugin_threads.h"
#include "platform/plat_dl.h"
#include "platform/plat_files.h"

plugin_host_state plugin_host;

void PLUGIN_host_reset() { plugin_host = plugin_host_state{}; }

namespace {

constexpr size_t PATH_BUFFER = 500;   // the program folder is cut to 499 characters
constexpr float MENU_BAR_LINE = MENU_BAR_BOTTOM;
constexpr size_t PROBLEMS_MAX = 1 << 16;   // a longer account from a manager is read no further

// The program folder followed by a file of the plug-in folder, found with the
// case-blind lookup. On this platform the libraries are shared objects
// ("ORPM.so", "ORWidgets.so") in "Resources/plugins/", with the system's own
// separators, in place of the Windows libraries and backslash path.
std::string plugin_path(const char* program_folder, const char* file)
{
    std::string path(program_folder ? program_folder : "");
    if (path.size() > PATH_BUFFER - 1) path.resize(PATH_BUFFER - 1);
    path += "Resources/plugins/";
    path += file;
    return PLAT_resolve_path(path.c_str());
}

template <typename F> F entry(void* library, const char* name)
{
    return reinterpret_cast<F>(PLAT_dl_symbol(library, name));
}

// The plug-ins the manager could not load (pairs of lines: the file, why),
// named in one notice: the program runs without them. The rest are in
// ERROR.OUT, where the manager named each.
void name_plugins_not_loaded(const char* problems)
{
    if (problems == nullptr || problems[0] == 0) return;
    std::vector<std::string> lines;
    std::string text(problems, strnlen(problems, PROBLEMS_MAX));
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    lines.resize(std::max<size_t>(lines.size(), 2));
    // The manager's reason is the end of its log line; in the notice it is a sentence of its own.
    if (!lines[1].empty()) lines[1][0] = static_cast<char>(std::toupper(static_cast<unsigned char>(lines[1][0])));
    const size_t more = lines.size() / 2 - 1;
    const std::string last = more == 0 ? "The program runs without it."
                                       : std::to_string(more) + " more could not be loaded either: see ERROR.OUT.";
    MACIBM_nuke_alert(app_mode, "A plug-in could not be loaded and was left out:", lines[0].c_str(), lines[1].c_str(),
                      last.c_str(), ALERT_NOTICE);
}

}   // namespace

void PLUGIN_load(const char* program_folder_path)
{
    plugin_host_state& h = plugin_host;
    const std::string manager = plugin_path(program_folder_path, "ORPM.so");
    h.manager_library = PLAT_dl_open(manager.c_str());
    if (h.manager_library == nullptr) return;   // no manager: no message, no plug-ins

    void* m = h.manager_library;
    // Found into a record of their own: a manager without its initialise entry
    // is no manager, and every hook stays unset.
    plugin_manager_entries e;
    e.initialize = entry<ORPMInitializePlugins_fn>(m, "ORPMInitializePlugins");
    e.shutdown = entry<ORPMShutdownPlugins_fn>(m, "ORPMShutdownPlugins");
    e.drawing = entry<ORPMDoDrawingHook_fn>(m, "ORPMDoDrawingHook");
    e.mouse_click = entry<ORPMMouseClickHook_fn>(m, "ORPMMouseClickHook");
    e.key_press = entry<ORPMKeyPressHook_fn>(m, "ORPMKeyPressHook");
    e.event = entry<ORPMEventHook_fn>(m, "ORPMEventHook");
    e.camera = entry<ORPMCameraHook_fn>(m, "ORPMCameraHook");
    e.register_data = entry<ORPMRegisterDataAccessor_fn>(m, "ORPMRegisterDataAccessor");
    e.unregister_data = entry<ORPMUnregisterDataAccessor_fn>(m, "ORPMUnregisterDataAccessor");
    e.menu = entry<ORPMMenuHook_fn>(m, "ORPMMenuHook");
    e.check_menu = entry<ORPMCheckMenuHook_fn>(m, "ORPMCheckMenuHook");
    e.menu_item_enabled = entry<ORPMMenuItemEnabled_fn>(m, "ORPMMenuItemEnabled");
    e.num_planes = entry<ORPMGetNumberPlanesToHandle_fn>(m, "ORPMGetNumberPlanesToHandle");
    e.update_plane_path = entry<ORPMUpdatePlaneNameAndPath_fn>(m, "ORPMUpdatePlaneNameAndPath");

    // The widget library is loaded when it is there; we ship none.
    h.widget_library = PLAT_dl_open(plugin_path(program_folder_path, "ORWidgets.so").c_str());

    if (e.initialize == nullptr) return;
    h.entries = e;
    PLUGIN_fill_host_table();
    PLUGIN_register_datarefs();
    e.initialize(program_folder_path, &PLUGIN_host_table);
    const auto problems = entry<ORPMLoadProblems_fn>(m, "ORPMLoadProblems");
    if (problems) name_plugins_not_loaded(problems());
}

void PLUGIN_call_shutdown()
{
    if (plugin_host.entries.shutdown) plugin_host.entries.shutdown();
    PLUGIN_report_thread_calls();
}

int PLUGIN_call_draw_hook(int phase)
{
    if (plugin_host.entries.drawing == nullptr || app_mode != 0) return 1;
    return plugin_host.entries.drawing(phase);
}

int PLUGIN_call_key_press_hook(int message, int wparam, int lparam)
{
    if (plugin_host.entries.key_press == nullptr || app_mode != 0) return 1;
    return plugin_host.entries.key_press(message, wparam, lparam);
}

int PLUGIN_call_mouse_click_hook(int x, int y, int status)
{
    plugin_host_state& h = plugin_host;
    if (h.entries.mouse_click == nullptr || app_mode != 0) return 1;

    // Above the menu bar's line the click is the program's, unless a plug-in
    // took the press this release ends: it then gets the release on the line.
    const float line = screen.ui_top_margin + MENU_BAR_LINE;
    if (static_cast<float>(y) > line) {
        if (h.press_flag == 0) return 1;
        y = static_cast<int>(line);
    }

    // An open menu takes every click inside the box around its items (a menu
    // number outside the table, none open, has no items to read).
    const int open = screen.open_menu;
    if (open >= 0 && open < MENU_COUNT) {
        float left = 9999.0f, bottom = 9999.0f, right = 0.0f, top = 0.0f;
        for (const menu_item_record& item : menu_table[open].items) {
            if (item.text[0] == 0) continue;
            left = std::min(left, item.left);
            bottom = std::min(bottom, item.bottom);
            right = std::max(right, item.right);
            top = std::max(top, item.top);
        }
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        if (left <= fx && fx <= right && bottom <= fy && fy <= top) return 1;
    }

    const int answer = h.entries.mouse_click(x, y, status);
    h.press_flag = status != 0 && answer == 0 ? 1 : 0;
    return answer;
}

int PLUGIN_call_event_hook(int code, float time, int zero, int param, int zero2)
{
    if (plugin_host.entries.event == nullptr) return 1;
    return plugin_host.entries.event(code, time, zero, param, zero2);
}

int PLUGIN_call_camera_hook(float* x, float* y, float* z, float* pitch, float* heading, float* roll, float* zoom)
{
    if (plugin_host.entries.camera == nullptr) return 1;
    const int answer = plugin_host.entries.camera(x, y, z, pitch, heading, roll, zoom);
    // A plug-in that takes the camera for this frame also takes it from the
    // scene's own camera controls.
    if (answer == 0) sim_private_camera.control_words[0] = sim_private_camera.control_words[1] = 0;
    return answer;
}

int PLUGIN_call_menu_hook(int command)
{
    if (plugin_host.entries.menu == nullptr) return 1;
    return plugin_host.entries.menu(command);
}

int PLUGIN_call_check_menu_hook(int menu, int item, int* state)
{
    if (plugin_host.entries.check_menu == nullptr) return 1;
    return plugin_host.entries.check_menu(menu, item, state);
}

int PLUGIN_call_menu_item_enabled(int menu, int item)
{
    if (plugin_host.entries.menu_item_enabled == nullptr) return 1;
    return plugin_host.entries.menu_item_enabled(menu, item);
}

int PLUGIN_call_num_planes(int count, int flag)
{
    if (plugin_host.entries.num_planes == nullptr) return count;
    return plugin_host.entries.num_planes(count, flag);
}

void PLUGIN_call_update_plane_path(int slot, const char* file_name, const char* path)
{
    if (plugin_host.entries.update_plane_path) plugin_host.entries.update_plane_path(slot, file_name, path);
}
