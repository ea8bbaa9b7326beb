// The ways up: every call a floor below asks of a floor above it that it may
// not include (the spine's modes, commands, keys, menus, language, alert box,
// file browser, loading screen and its sends after each plane's step in the
// simulation's frame, whether a peer's click or key may be handled; the
// link's refusal of a peer's notice; the drawing
// floors' textures, pictures, view effects,
// panel controls, plane drawer and origin shift). One entry a
// way: the name the lower floors call, its result and parameters, and the
// function above that answers it, its target.
//
// The spine's one installer (APPLICATION_install_hooks, shell/main.h) fills
// every entry from its target; the program, the test support and the tools
// all call it. A call through an entry left empty is a fault: a debug build
// names the entry and stops, at the install and at the call (a release build
// does nothing and answers 0, "" for a picture).
#pragma once

#include <cstdint>
#include <type_traits>

// X(name, result, (parameters), (arguments), target)
#define CORE_HOOKS(X)                                                                                                  \
    /* the spine */                                                                                                    \
    X(CORE_set_mode, void, (int32_t mode, const char* reason), (mode, reason), APPLICATION_set_mode)                   \
    X(CORE_run_command, void, (int32_t command), (command), APPLICATION_handlemenu)                                    \
    X(CORE_run_remote_command, void, (int32_t command), (command), APPLICATION_handlemenu_remote)                      \
    X(CORE_load_peer_situation, int, (const char* name), (name), APPLICATION_load_peer_situation)                      \
    X(CORE_run_key, void, (int modifier_class, int key), (modifier_class, key), KEY_command_dispatch)                  \
    X(CORE_run_key_slot, void, (int modifier_class, int slot), (modifier_class, slot), KEY_run_slot)                   \
    X(CORE_click, void, (int close_flag), (close_flag), MACIBM_handleclick)                                            \
    X(CORE_load_language, void, (int reload), (reload), LANG_load_text)                                                \
    X(CORE_build_menus, void, (const char* file_name), (file_name), MACIBM_build_menus)                                \
    X(MENU_create, void, (int menu, int parent_item, const char* title), (menu, parent_item, title),                   \
      MACIBM_create_menu)                                                                                              \
    X(MENU_append, void, (int menu, int item, int command, const char* text, int plain_text),                          \
      (menu, item, command, text, plain_text), append_menu)                                                            \
    X(CORE_load_background, void, (), (), MACIBM_load_background)                                                      \
    X(CORE_show_alert_box, void,                                                                                       \
      (int return_mode, const char* const passed[4], const char* const shown[4], int code),                            \
      (return_mode, passed, shown, code), ALERT_show_box)                                                              \
    X(UI_open_file_browser, int, (int mode, int kind, char* name, char* path), (mode, kind, name, path), opensave)     \
    X(CORE_refuse_notice_of_peer, int, (const char* line, const char* detail), (line, detail),                         \
      NET_refuse_notice_of_peer)                                                                                       \
    X(CORE_peer_input_refused, int, (), (), APPLICATION_peer_input_refused)                                            \
    X(MACIBM_loading_screen, void, (const char* message), (message), LOADING_draw_screen)                              \
    X(CORE_plane_stepped, void, (int plane), (plane), CYCLE_plane_stepped)                                             \
    /* the drawing floors */                                                                                           \
    X(CORE_load_aircraft_textures, void, (int reload, int a, int b, int plane), (reload, a, b, plane),                 \
      ACF_load_textures)                                                                                               \
    X(CORE_rebuild_radar_texture, void, (), (), PANEL_radar_texture)                                                   \
    X(CORE_reset_view_effects, void, (), (), VIEW_reset_effects)                                                       \
    X(CORE_instrument_picture, const char*, (int type), (type), PANEL_instrument_picture)                              \
    X(CORE_panel_switches, void, (int command, int item), (command, item), PANEL_switches)                             \
    X(CORE_panel_trim_wheels, void, (int command, int repeat), (command, repeat), PANEL_trim_wheels)                   \
    X(CORE_panel_transponder, void, (int ident_only), (ident_only), PANEL_transponder)                                 \
    X(CORE_panel_gps, void, (int code), (code), PANEL_gps)                                                             \
    X(CORE_panel_clock_timer, int, (int toggle_cmd, int reset_cmd), (toggle_cmd, reset_cmd), PANEL_clock_timer)        \
    X(CORE_panel_rocket_switch, void, (int plane, int type, float d), (plane, type, d), PANEL_rocket_switch)           \
    X(CORE_draw_posed_plane, void, (int n, int full), (n, full), SCENE_draw_posed_plane)                               \
    X(CORE_shift_scene_origin, void, (int mode), (mode), SCENE_shift_origin)

// The table: one pointer an entry, empty until the installer runs.
struct core_hooks_table {
#define CORE_HOOK_ENTRY(name, result, parameters, arguments, target) result(*name) parameters = nullptr;
    CORE_HOOKS(CORE_HOOK_ENTRY)
#undef CORE_HOOK_ENTRY
};
extern core_hooks_table core_hooks;

// The name of the first entry left empty, or nullptr when every one is filled.
const char* CORE_hook_left_empty();
// Reports the entry `name` found empty: a debug build names it on the error
// output and stops; a release build goes on.
void CORE_hook_empty(const char* name);

// What an empty entry answers in a release build.
template <class R>
R CORE_hook_none()
{
    if constexpr (!std::is_void_v<R>) return R{};
}
template <>
inline const char* CORE_hook_none<const char*>()
{
    return "";
}

// The calls the lower floors make, each through its entry.
#define CORE_HOOK_CALL(name, result, parameters, arguments, target)                                                   \
    inline result name parameters                                                                                      \
    {                                                                                                                  \
        if (!core_hooks.name) {                                                                                        \
            CORE_hook_empty(#name);                                                                                    \
            return CORE_hook_none<result>();                                                                           \
        }                                                                                                              \
        return core_hooks.name arguments;                                                                              \
    }
CORE_HOOKS(CORE_HOOK_CALL)
#undef CORE_HOOK_CALL
