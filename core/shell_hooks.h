// The way into the program's spine for the subsystems below it that act on
// what a peer or an outside program sends (the network link): the mode
// switch, the numbered commands a peer asks for, a peer's situation, a key
// typed and a click made from outside. The spine installs them at start-up;
// without them the calls do nothing (0 where an answer is due).
#pragma once

#include <cstdint>

struct shell_hooks {
    void (*set_mode)(int32_t mode, const char* reason) = nullptr;           // APPLICATION_set_mode
    void (*remote_command)(int32_t command) = nullptr;                      // APPLICATION_handlemenu_remote
    int (*load_peer_situation)(const char* name) = nullptr;                 // APPLICATION_load_peer_situation
    void (*key_command)(int modifier_class, int key) = nullptr;             // KEY_command_dispatch
    void (*click)(int close_flag) = nullptr;                                // MACIBM_handleclick
    void (*load_language)(int reload) = nullptr;                            // LANG_load_text
    void (*build_menus)(const char* file_name) = nullptr;                   // MACIBM_build_menus
    void (*load_background)() = nullptr;                                    // MACIBM_load_background
};
void CORE_set_shell_hooks(const shell_hooks& hooks);

void CORE_set_mode(int32_t mode, const char* reason);
void CORE_run_remote_command(int32_t command);
int CORE_load_peer_situation(const char* name);
void CORE_run_key(int modifier_class, int key);
void CORE_click(int close_flag);
void CORE_load_language(int reload);
void CORE_build_menus(const char* file_name);
void CORE_load_background();
