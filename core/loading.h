// The loading screen as every subsystem calls it: a progress message (and bar)
// shown at once while the program starts or loads a world. The program's
// start-up installs the drawer (graphics/loading_screen.h); without one the
// call does nothing.
#pragma once

void MACIBM_loading_screen(const char* message);

using loading_screen_fn = void (*)(const char* message);
void LOADING_set_screen(loading_screen_fn drawer);
