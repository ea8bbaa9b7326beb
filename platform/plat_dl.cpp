#include "platform/plat_dl.h"

#include <dlfcn.h>

#include <string>

namespace {
std::string last_error;
}

void* PLAT_dl_open(const char* path)
{
    last_error.clear();
    if (!path || !*path) {
        last_error = "no library path";
        return nullptr;
    }
    void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* e = dlerror();
        last_error = e ? e : "cannot load";
    }
    return lib;
}

void* PLAT_dl_symbol(void* library, const char* name)
{
    if (!library || !name) return nullptr;
    dlerror();
    void* sym = dlsym(library, name);
    const char* e = dlerror();
    last_error = e ? e : "";
    return e ? nullptr : sym;
}

void PLAT_dl_close(void* library)
{
    if (library) dlclose(library);
}

const char* PLAT_dl_error() { return last_error.c_str(); }

std::string PLAT_dl_library_of(const void* address)
{
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
