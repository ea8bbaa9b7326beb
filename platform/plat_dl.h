// Shared libraries loaded while the program runs: the panel-module maker's
// library and the plug-ins.
#pragma once

#include <string>

// Loads a shared library by path; nullptr when it cannot be loaded (the
// reason is then PLAT_dl_error()).
void* PLAT_dl_open(const char* path);
// The address of an exported name, nullptr when the library has none.
void* PLAT_dl_symbol(void* library, const char* name);
void PLAT_dl_close(void* library);
// The reason the last load or look-up failed ("" when it did not).
const char* PLAT_dl_error();
// The file name (without its folder) of the loaded library that holds
// `address`, "" when no library holds it: names a plug-in from an address in
// its code, such as the one a call into the program returns to.
std::string PLAT_dl_library_of(const void* address);
