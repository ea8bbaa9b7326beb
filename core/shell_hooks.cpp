#include "core/shell_hooks.h"

namespace {
shell_hooks installed;
}  // namespace

void CORE_set_shell_hooks(const shell_hooks& hooks) { installed = hooks; }

void CORE_set_mode(int32_t mode, const char* reason)
{
    if (installed.set_mode) installed.set_mode(mode, reason);
}

void CORE_run_remote_command(int32_t command)
{
    if (installed.remote_command) installed.remote_command(command);
}

int CORE_load_peer_situation(const char* name)
{
    return installed.load_peer_situation ? installed.load_peer_situation(name) : 0;
}

void CORE_run_key(int modifier_class, int key)
{
    if (installed.key_command) installed.key_command(modifier_class, key);
}

void CORE_click(int close_flag)
{
    if (installed.click) installed.click(close_flag);
}

void CORE_load_language(int reload)
{
    if (installed.load_language) installed.load_language(reload);
}

void CORE_build_menus(const char* file_name)
{
    if (installed.build_menus) installed.build_menus(file_name);
}

void CORE_load_background()
{
    if (installed.load_background) installed.load_background();
}
