#include "core/file_browser.h"

namespace {
file_browser_fn installed_browser = nullptr;
}

void UI_set_file_browser(file_browser_fn browser) { installed_browser = browser; }

int UI_open_file_browser(int mode, int kind, char* name, char* path)
{
    return installed_browser ? installed_browser(mode, kind, name, path) : 0;
}
