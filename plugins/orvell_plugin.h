// The plug-in interface of the simulator, shared by the program, the plug-in
// manager library (ORPM.so) and the plug-ins it loads.
//
// The program loads the manager from "Resources/plugins/ORPM.so" beside it,
// registers every published "sim/" data name with it, then hands it the host
// table: the 51 operations a plug-in may call back into the simulator. The
// table is a 64-bit layout of its own: two 32-bit words (version 2 and the
// size of the whole table in bytes) followed by 51 pointer-sized slots, slot i
// at offset 8 + 8 * i.
//
// Hooks answer 1 (non-zero) to let the simulator do its own work and 0 when a
// plug-in has done it.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// ---------------------------------------------------------------------------
// Data accessors: a published name is registered with a type code, its
// accessor routines and a pointer-sized context handed back to them.

enum {
    ORPM_TYPE_INT = 1,
    ORPM_TYPE_FLOAT = 2,
    ORPM_TYPE_DOUBLE = 4,   // not used by the simulator
    ORPM_TYPE_FLOAT_ARRAY = 8,
    ORPM_TYPE_INT_ARRAY = 16,
    ORPM_TYPE_BYTES = 32,
};

typedef int (*ORPM_get_int_fn)(void* context);
typedef void (*ORPM_set_int_fn)(void* context, int value);
typedef float (*ORPM_get_float_fn)(void* context);
typedef void (*ORPM_set_float_fn)(void* context, float value);
typedef double (*ORPM_get_double_fn)(void* context);
typedef void (*ORPM_set_double_fn)(void* context, double value);
// Array accessors: with a null buffer the get answers the element count;
// otherwise it copies at most `max` elements from element `offset` and answers
// how many it copied. The set copies the same way into the variable.
typedef int (*ORPM_get_int_array_fn)(void* context, int* out, int offset, int max);
typedef void (*ORPM_set_int_array_fn)(void* context, int* in, int offset, int max);
typedef int (*ORPM_get_float_array_fn)(void* context, float* out, int offset, int max);
typedef void (*ORPM_set_float_array_fn)(void* context, float* in, int offset, int max);
typedef int (*ORPM_get_bytes_fn)(void* context, void* out, int offset, int max);
typedef void (*ORPM_set_bytes_fn)(void* context, void* in, int offset, int max);

// ---------------------------------------------------------------------------
// The drawing-info record a plug-in passes to the aircraft drawer (slot 14).
// A record shorter than 44 bytes takes the defaults for its missing fields.
struct ORPM_draw_info {
    int32_t size;           // bytes of the record as the plug-in knows it
    float gear_deploy;
    float flap_ratio;
    float spoiler_ratio;
    float speed_brake_ratio;
    float slat_ratio;
    float wing_sweep;
    float throttle;
    float pitch_control;
    float heading_control;
    float roll_control;
};
static_assert(sizeof(ORPM_draw_info) == 44);
static_assert(offsetof(ORPM_draw_info, throttle) == 28);
static_assert(offsetof(ORPM_draw_info, roll_control) == 40);

// ---------------------------------------------------------------------------
// The host table. This is a 64-bit program: each callback address takes 8
// bytes, so slot i lies at 8 + 8 i and the whole table is 416 bytes, where
// 4-byte addresses would put it at 8 + 4 i and make the table 212 bytes.
struct ORPM_host_table {
    int32_t version;   // 2
    int32_t size;      // bytes of the whole table: 416
    // 0..5: screen, mouse, graphics state and textures
    void (*get_screen_size)(int* width, int* height);
    void (*get_mouse)(int* x, int* y, int with_menu_bar);
    void (*set_graphics_state)(int fog, int texture_units, int lighting, int flag_a, int flag_b, int depth_test,
                               int depth_write);
    void (*bind_texture)(int texture, int unit);
    void (*gen_tex_ids)(int* out, int count);
    int (*get_texture)(int kind);
    // 6, 7: local coordinates about the scenery centre
    void (*world_to_local)(double lat, double lon, double elevation, double* x, double* y, double* z);
    void (*local_to_world)(double x, double y, double z, double* lat, double* lon, double* elevation);
    // 8..12: 2-D drawing and time
    void (*draw_dark_box)(int left, int top, int right, int bottom);
    void (*draw_string)(float* rgb, int x, int y, char* text, int* wrap_width, int font);
    void (*draw_number)(float* rgb, int x, int y, double value, int digits, int decimals, int show_sign, int font);
    void (*get_font_dims)(int font, int* char_width, int* char_height, int* third);
    float (*get_elapsed_time)();
    // 13..18: camera and aircraft
    void (*read_camera)(float* x, float* y, float* z, float* pitch, float* heading, float* roll, float* zoom);
    void (*draw_aircraft)(int plane, float x, float y, float z, float pitch, float roll, float heading, int full,
                          ORPM_draw_info* info);
    void (*set_aircraft)(int plane, char* path, char* file_name);
    void (*get_aircraft)(int plane, char* path_out, char* file_name_out);
    int (*count_aircraft)();
    void (*select_airport)(char* airport_id);
    // 19..27: commands, paths, versions, log
    void (*simulate_key)(int modifiers, int key);
    void (*speak)(char* text);
    void (*command_key)(int command);
    void (*command_button)(int* commands, int up, int continuous);
    void (*get_system_path)(char* out);
    void (*get_prefs_path)(char* out);
    int (*get_versions)(int* program_version, int* interface_version);
    int (*get_language)();
    void (*debug_string)(char* text);
    // 28..33: menus, situations, scenery
    int (*create_menu)(int parent_menu, int parent_item, char* title);
    int (*append_menu_item)(int menu, int item, char* text, int enabled);
    void (*set_menu_item)(int menu, int item, char* text, int enabled);
    void (*destroy_menu)(int menu);
    void (*set_situation)(int code, int sub_mode);
    void (*reload_scenery)();
    // 34..39: navigation data
    int (*nav_first)();
    int (*nav_next)(int reference);
    int (*nav_first_of_type)(int type);
    int (*nav_last_of_type)(int type);
    int (*nav_find)(char* name_part, char* id_part, float* lat, float* lon, int* frequency, int types);
    void (*nav_info)(int reference, int* type, float* lat, float* lon, float* height, int* frequency,
                     float* heading, char* id, char* name, char* flag);
    // 40..50: flight plan and GPS destination
    int (*fms_count)();
    int (*fms_get_displayed)();
    int (*fms_get_destination)();
    void (*fms_set_displayed)(int entry);
    void (*fms_set_destination)(int entry);
    void (*fms_get_entry)(int entry, int* type, char* id, int* reference, int* altitude, float* lat, float* lon);
    void (*fms_set_entry)(int entry, int reference, int altitude);
    void (*fms_set_entry_latlon)(int entry, float lat, float lon, int altitude);
    void (*fms_clear_entry)(int entry);
    int (*gps_dest_type)();
    int (*gps_dest)();
};

constexpr int32_t ORPM_HOST_TABLE_VERSION = 2;
constexpr int ORPM_HOST_SLOTS = 51;
constexpr size_t ORPM_host_slot_offset(int slot) { return 8 + 8 * static_cast<size_t>(slot); }

static_assert(sizeof(void*) == 8, "the host table is laid out for 64-bit programs");
static_assert(sizeof(ORPM_host_table) == 416);
static_assert(offsetof(ORPM_host_table, get_screen_size) == ORPM_host_slot_offset(0));
static_assert(offsetof(ORPM_host_table, world_to_local) == ORPM_host_slot_offset(6));
static_assert(offsetof(ORPM_host_table, read_camera) == ORPM_host_slot_offset(13));
static_assert(offsetof(ORPM_host_table, debug_string) == ORPM_host_slot_offset(27));
static_assert(offsetof(ORPM_host_table, nav_first) == ORPM_host_slot_offset(34));
static_assert(offsetof(ORPM_host_table, fms_count) == ORPM_host_slot_offset(40));
static_assert(offsetof(ORPM_host_table, gps_dest) == 408);

// ---------------------------------------------------------------------------
// The fourteen entries the program looks up in the manager library. Each may
// be missing; the program then behaves as if no plug-in handled that hook.
typedef int (*ORPMInitializePlugins_fn)(const char* program_folder, ORPM_host_table* host);
typedef int (*ORPMShutdownPlugins_fn)();
typedef int (*ORPMDoDrawingHook_fn)(int phase);
typedef int (*ORPMMouseClickHook_fn)(int x, int y, int status);
typedef int (*ORPMKeyPressHook_fn)(int message, int key, int key_flags);
typedef int (*ORPMEventHook_fn)(int code, float seconds, int zero, int param, int zero2);
typedef int (*ORPMCameraHook_fn)(float* x, float* y, float* z, float* pitch, float* heading, float* roll,
                                 float* zoom);
typedef int (*ORPMRegisterDataAccessor_fn)(const char* name, int type, int writable, ORPM_get_int_fn get_int,
                                           ORPM_set_int_fn set_int, ORPM_get_float_fn get_float,
                                           ORPM_set_float_fn set_float, ORPM_get_double_fn get_double,
                                           ORPM_set_double_fn set_double, ORPM_get_int_array_fn get_int_array,
                                           ORPM_set_int_array_fn set_int_array,
                                           ORPM_get_float_array_fn get_float_array,
                                           ORPM_set_float_array_fn set_float_array, ORPM_get_bytes_fn get_bytes,
                                           ORPM_set_bytes_fn set_bytes, void* read_context, void* write_context);
typedef int (*ORPMUnregisterDataAccessor_fn)(const char* name);
typedef int (*ORPMMenuHook_fn)(int command);
typedef int (*ORPMCheckMenuHook_fn)(int menu, int item, int* check_state);
typedef int (*ORPMMenuItemEnabled_fn)(int menu, int item);
typedef int (*ORPMGetNumberPlanesToHandle_fn)(int planes, int loading);
typedef int (*ORPMUpdatePlaneNameAndPath_fn)(int plane, const char* file_name, const char* path);
// Our manager's account of the plug-in files it could not load (damaged, or
// not plug-ins): two lines each, the file and why; empty when all loaded.
// Looked up after ORPMInitializePlugins; a manager without it is not asked.
typedef const char* (*ORPMLoadProblems_fn)();
// Our manager's limit on a plug-in's start call: the seconds it may take, and
// what is done when one overruns, from a watchdog thread while the start is
// still running (null: the program is started again, and the record beside the
// manager leaves that plug-in out). Set before ORPMInitializePlugins; the
// tests shorten the time and end the process instead.
typedef void (*ORPMSetStartLimit_fn)(int seconds, void (*on_overrun)());
// Our manager's limit on the test load of a plug-in file (its initialisers run
// in a child process): the seconds it may take, 20 unless set (the tests
// shorten it). A file whose test load overruns, or ends the child, is left
// out and recorded as one whose start call hangs or crashes is.
typedef void (*ORPMSetTestLoadLimit_fn)(int seconds);

// The ten hooks the program calls on the manager, and the manager on each
// plug-in (under the plug-in entry names below); each null where the library
// lacks it.
struct ORPM_hooks {
    ORPMDoDrawingHook_fn drawing{};
    ORPMMouseClickHook_fn mouse_click{};
    ORPMKeyPressHook_fn key_press{};
    ORPMEventHook_fn event{};
    ORPMCameraHook_fn camera{};
    ORPMMenuHook_fn menu{};
    ORPMCheckMenuHook_fn check_menu{};
    ORPMMenuItemEnabled_fn menu_item_enabled{};
    ORPMGetNumberPlanesToHandle_fn num_planes{};
    ORPMUpdatePlaneNameAndPath_fn update_plane_path{};
};

// ---------------------------------------------------------------------------
// What our manager gives each plug-in it loads. A plug-in exports
// `ORPluginStart` (required) and any of the other entries below; the manager
// passes each hook to the plug-ins in load order and stops at the first that
// answers 0.
struct ORPM_data_ref {
    const char* name;
    int type;
    int writable;
    ORPM_get_int_fn get_int;
    ORPM_set_int_fn set_int;
    ORPM_get_float_fn get_float;
    ORPM_set_float_fn set_float;
    ORPM_get_double_fn get_double;
    ORPM_set_double_fn set_double;
    ORPM_get_int_array_fn get_int_array;
    ORPM_set_int_array_fn set_int_array;
    ORPM_get_float_array_fn get_float_array;
    ORPM_set_float_array_fn set_float_array;
    ORPM_get_bytes_fn get_bytes;
    ORPM_set_bytes_fn set_bytes;
    void* read_context;
    void* write_context;
};

struct ORPM_plugin_services {
    int32_t version;                 // 1
    ORPM_host_table* host;           // the simulator's host table
    const char* program_folder;
    // The registration of a published name, null when the name is unknown.
    const ORPM_data_ref* (*find_data)(const char* name);
};

typedef int (*ORPluginStart_fn)(const ORPM_plugin_services* services);
typedef void (*ORPluginStop_fn)();
// The other plug-in entries carry the manager hooks' signatures under these
// names: ORPluginDraw, ORPluginMouseClick, ORPluginKeyPress, ORPluginEvent,
// ORPluginCamera, ORPluginMenu, ORPluginCheckMenu, ORPluginMenuItemEnabled,
// ORPluginNumberPlanes (handed the count the plug-ins before it answered),
// ORPluginPlaneNameAndPath.

}   // extern "C"
