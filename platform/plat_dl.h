// Shared libraries loaded while the program runs: the panel-module maker's
// library and the plug-ins.
#pragma once

// Loads a shared library by path; nullptr when it cannot be loaded (the
// reason is then PLAT_dl_error()).
void* PLAT_dl_open(const char* path);
// The address of an exported name, nullptr when the library has none.
void* PLAT_dl_symbol(void* library, const char* name);
void PLAT_dl_close(void* library);
// The reason the last load or look-up failed ("" when it did not).
const char* PLAT_dl_error();
