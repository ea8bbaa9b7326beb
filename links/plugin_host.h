// The plug-in host: loads the plug-in manager library at the end of the
// start-up, hands it the host table and the published data names, and carries
// the simulator's events to it through the hooks below. Without a manager
// every hook gives the answer that lets the program go on as if there were no
// plug-ins.
#pragma once

#include "plugins/orvell_plugin.h"

// Forwards an event to the plug-in manager with the frame clock in seconds
// (0: a flying cycle; 1: a view command 1000..1024; 2: the plane below sea
// level in a water situation; 3: an aircraft was loaded into slot `param`;
// 4: a situation was set up; 6: the airport scene was rebuilt; 7: the number
// of aircraft changed). Also called while a screen is up. 1 when no manager
// is loaded.
int PLUGIN_call_event_hook(int code, float time, int zero, int param, int zero2);
// Tells the plug-in manager the file name and path of the aircraft about to
// be loaded into a plane slot (nothing without a manager).
void PLUGIN_call_update_plane_path(int slot, const char* file_name, const char* path);
// The number of aircraft slots to handle: the manager's answer, or the count
// unchanged when no manager is loaded. Callers bound the answer to their slots.
int PLUGIN_call_num_planes(int count, int flag);

// Drawing phase of the frame (1/12 around each 3-D pass, 13/14 around the
// background, 15/16 around the panel, 17/18 around the overlay): non-zero
// lets the program draw that step. 1 without a manager or outside mode 0.
int PLUGIN_call_draw_hook(int phase);
// Offers the camera (local x, y, z in metres, pitch, heading and roll in
// degrees, zoom) to the plug-ins, which may write them: non-zero lets the
// program's own camera run, 0 means a plug-in has placed it. 1 without a manager.
int PLUGIN_call_camera_hook(float* x, float* y, float* z, float* pitch, float* heading, float* roll, float* zoom);
// A key message: non-zero lets the program handle the key (always without a
// manager or while a screen other than mode 0 is up).
int PLUGIN_call_key_press_hook(int message, int wparam, int lparam);
// A press (status 1) or release (0) at whole interface units: non-zero lets
// the program handle the click (always without a manager or outside mode 0).
// A press on the menu bar or inside an open menu is the program's; a release
// above the bar after a press a plug-in took reaches the plug-in on the bar's line.
int PLUGIN_call_mouse_click_hook(int x, int y, int status);
// A chosen menu command: non-zero lets the program run it (1 without a manager).
int PLUGIN_call_menu_hook(int command);
// Whether a menu item can be chosen (1 without a manager).
int PLUGIN_call_menu_item_enabled(int menu, int item);
// The check mark of a menu item: the manager may write the state; non-zero lets
// the program's own check marks apply (1 without a manager).
int PLUGIN_call_check_menu_hook(int menu, int item, int* state);
// Loads the plug-in manager "Resources/plugins/ORPM.so" of the program folder
// and starts the plug-ins (the last step of the start-up). A manager that is
// missing, cannot be loaded or lacks its initialise entry gives no message:
// the program runs without plug-ins.
void PLUGIN_load(const char* program_folder_path);
// Asks the plug-in manager to shut its plug-ins down (nothing without one).
void PLUGIN_call_shutdown();

// The manager's entries: its hooks and the four calls of its own, each null
// when the library lacks it.
struct plugin_manager_entries : ORPM_hooks {
    ORPMInitializePlugins_fn initialize = nullptr;
    ORPMShutdownPlugins_fn shutdown = nullptr;
    ORPMRegisterDataAccessor_fn register_data = nullptr;
    ORPMUnregisterDataAccessor_fn unregister_data = nullptr;   // looked up, never called
};

struct plugin_host_state {
    void* manager_library = nullptr;   // kept loaded for the whole run
    void* widget_library = nullptr;    // loaded when present; nothing in it is called
    plugin_manager_entries entries;
    int press_flag = 0;                // a plug-in took the last press: its release goes to it
};
extern plugin_host_state plugin_host;
// Forgets the manager (the libraries stay loaded) and the press flag.
void PLUGIN_host_reset();

// The table handed to the manager; filled once by PLUGIN_load.
extern ORPM_host_table PLUGIN_host_table;
void PLUGIN_fill_host_table();

// Registers every published data name with the manager's
// ORPMRegisterDataAccessor (nothing when the entry is missing).
void PLUGIN_register_datarefs();
// The number of published data names.
int PLUGIN_dataref_count();
