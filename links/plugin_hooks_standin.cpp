// Stand-in of the plug-in manager's hooks until the plug-in host is built: no
// manager is ever loaded, so every hook gives the no-manager answer. Loading
// and shutting down are recorded; the per-frame hooks are not (a long run
// would otherwise collect every call).
#include "links/plugin_host.h"

#include "links/calls_standin.h"
#include "links/plugin_hooks_standin.h"

int plugin_standin_menu_hook_answer = 1;
int plugin_standin_draw_phase_taken = -1;

int PLUGIN_call_draw_hook(int phase) { return phase == plugin_standin_draw_phase_taken ? 0 : 1; }
int PLUGIN_call_camera_hook(float*, float*, float*, float*, float*, float*, float*) { return 1; }
int PLUGIN_call_key_press_hook(int message, int wparam, int lparam) { return 1; }
int PLUGIN_call_mouse_click_hook(int x, int y, int status) { return 1; }
int PLUGIN_call_menu_hook(int command) { return plugin_standin_menu_hook_answer; }
int PLUGIN_call_menu_item_enabled(int menu, int item) { return 1; }
int PLUGIN_call_check_menu_hook(int menu, int item, int* state) { return 1; }

int PLUGIN_load(const char* program_folder_path)
{
    links_standin_calls.push_back("PLUGIN_load()");
    return 0;
}

void PLUGIN_call_shutdown() { links_standin_calls.push_back("PLUGIN_call_shutdown()"); }
