// The way into the program's own open/save file browser for the widgets: the
// program's spine installs its browser at start-up.
#pragma once

// mode 998 opens, 999 saves; see opensave in shell/browser.h.
using file_browser_fn = int (*)(int mode, int kind, char* name, char* path);
void UI_set_file_browser(file_browser_fn browser);
// Runs the installed browser; without one nothing is chosen (0, name and path unchanged).
int UI_open_file_browser(int mode, int kind, char* name, char* path);
