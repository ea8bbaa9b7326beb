// The plug-in manager library, ORPM.so. The simulator registers its published
// data names here and hands over its host table; the manager then loads every
// plug-in (a shared object ending in ".so") from the folder "modules" beside
// itself, in the order of their file names, starts each with the host table
// and a lookup of the registered names, and passes each hook to the plug-ins
// in load order, stopping at the first that answers 0. With no plug-in every
// hook answers 1 and the plane count comes back unchanged.
//
// Through the host's log entry the manager names each plug-in in "ERROR.OUT"
// before loading and starting it, and each file of the folder that is not a
// plug-in, with the reason, in one line.
#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "plugins/orvell_plugin.h"

#define ORPM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct plugin : ORPM_hooks {
    void* library = nullptr;
    ORPluginStop_fn stop = nullptr;
};

struct manager_state {
    std::unordered_map<std::string, ORPM_data_ref> data;
    std::vector<std::string> names;   // keeps the name texts the records point at
    std::vector<plugin> plugins;
    std::string program_folder;
    ORPM_plugin_services services{};
    bool started = false;
};

manager_state& state()
{
    static manager_state s;
    return s;
}

const ORPM_data_ref* find_data(const char* name)
{
    if (name == nullptr) return nullptr;
    auto& data = state().data;
    const auto it = data.find(name);
    return it == data.end() ? nullptr : &it->second;
}

// The folder this library was loaded from.
std::filesystem::path own_folder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&own_folder), &info) == 0 || info.dli_fname == nullptr) return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

template <typename F> F symbol(void* library, const char* name) { return reinterpret_cast<F>(dlsym(library, name)); }

// One line into the simulator's log ("ERROR.OUT"), on the disk when this
// returns: the host's log entry flushes what it is given.
void log_line(const std::string& text)
{
    const ORPM_host_table* host = state().services.host;
    if (host == nullptr || host->debug_string == nullptr) return;
    std::string line = "Plug-in: " + text + "\n";
    host->debug_string(line.data());
}

void passed_over(const std::filesystem::path& file, const std::string& why)
{
    log_line(file.string() + " is not a plug-in and was passed over: " + why);
}

void load_plugins()
{
    namespace fs = std::filesystem;
    manager_state& s = state();
    const fs::path folder = own_folder() / "modules";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file(ec)) files.push_back(e.path());
    std::sort(files.begin(), files.end());

    for (const fs::path& file : files) {
        if (file.extension() != ".so") {
            passed_over(file, "its name does not end in \".so\"");
            continue;
        }
        // Named before anything of it runs (loading runs its initialisers,
        // then comes its start call): a plug-in that ends the program there
        // is the last one the log names.
        log_line("loading and starting " + file.string());
        void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char* why = dlerror();
            passed_over(file, why ? why : "it cannot be loaded");
            continue;
        }
        const auto start = symbol<ORPluginStart_fn>(library, "ORPluginStart");
        if (start == nullptr) {
            dlclose(library);
            passed_over(file, "it has no ORPluginStart");
            continue;
        }
        if (start(&s.services) == 0) {
            dlclose(library);
            log_line(file.string() + " did not start (its start call answered 0) and was unloaded");
            continue;
        }
        plugin p;
        p.library = library;
        p.stop = symbol<ORPluginStop_fn>(library, "ORPluginStop");
        p.drawing = symbol<ORPMDoDrawingHook_fn>(library, "ORPluginDraw");
        p.mouse_click = symbol<ORPMMouseClickHook_fn>(library, "ORPluginMouseClick");
        p.key_press = symbol<ORPMKeyPressHook_fn>(library, "ORPluginKeyPress");
        p.event = symbol<ORPMEventHook_fn>(library, "ORPluginEvent");
        p.camera = symbol<ORPMCameraHook_fn>(library, "ORPluginCamera");
        p.menu = symbol<ORPMMenuHook_fn>(library, "ORPluginMenu");
        p.check_menu = symbol<ORPMCheckMenuHook_fn>(library, "ORPluginCheckMenu");
        p.menu_item_enabled = symbol<ORPMMenuItemEnabled_fn>(library, "ORPluginMenuItemEnabled");
        p.num_planes = symbol<ORPMGetNumberPlanesToHandle_fn>(library, "ORPluginNumberPlanes");
        p.update_plane_path = symbol<ORPMUpdatePlaneNameAndPath_fn>(library, "ORPluginPlaneNameAndPath");
        s.plugins.push_back(p);
    }
}

// Passes a hook to the plug-ins in load order; the first 0 ends the pass.
template <typename M, typename... A> int pass(M ORPM_hooks::*entry, A... args)
{
    for (const plugin& p : state().plugins)
        if (p.*entry && (p.*entry)(args...) == 0) return 0;
    return 1;
}

}   // namespace

ORPM_EXPORT int ORPMRegisterDataAccessor(const char* name, int type, int writable, ORPM_get_int_fn get_int,
                                         ORPM_set_int_fn set_int, ORPM_get_float_fn get_float,
                                         ORPM_set_float_fn set_float, ORPM_get_double_fn get_double,
                                         ORPM_set_double_fn set_double, ORPM_get_int_array_fn get_int_array,
                                         ORPM_set_int_array_fn set_int_array, ORPM_get_float_array_fn get_float_array,
                                         ORPM_set_float_array_fn set_float_array, ORPM_get_bytes_fn get_bytes,
                                         ORPM_set_bytes_fn set_bytes, void* read_context, void* write_context)
{
    if (name == nullptr) return 0;
    manager_state& s = state();
    auto [it, added] = s.data.try_emplace(name);
    it->second = ORPM_data_ref{it->first.c_str(), type, writable, get_int, set_int, get_float, set_float,
                               get_double, set_double, get_int_array, set_int_array, get_float_array,
                               set_float_array, get_bytes, set_bytes, read_context, write_context};
    return 1;
}

ORPM_EXPORT int ORPMUnregisterDataAccessor(const char* name)
{
    return name && state().data.erase(name) ? 1 : 0;
}

ORPM_EXPORT int ORPMInitializePlugins(const char* program_folder, ORPM_host_table* host)
{
    manager_state& s = state();
    if (s.started || host == nullptr || host->version != ORPM_HOST_TABLE_VERSION ||
        host->size != static_cast<int32_t>(sizeof(ORPM_host_table)))
        return 0;
    s.started = true;
    s.program_folder = program_folder ? program_folder : "";
    s.services = ORPM_plugin_services{1, host, s.program_folder.c_str(), find_data};
    load_plugins();
    return 1;
}

ORPM_EXPORT int ORPMShutdownPlugins()
{
    manager_state& s = state();
    for (auto p = s.plugins.rbegin(); p != s.plugins.rend(); ++p)
        if (p->stop) p->stop();
    s.plugins.clear();   // the libraries stay loaded: their code may still be referenced
    return 1;
}

ORPM_EXPORT int ORPMDoDrawingHook(int phase) { return pass(&plugin::drawing, phase); }
ORPM_EXPORT int ORPMMouseClickHook(int x, int y, int status) { return pass(&plugin::mouse_click, x, y, status); }
ORPM_EXPORT int ORPMKeyPressHook(int message, int key, int flags) { return pass(&plugin::key_press, message, key, flags); }
ORPM_EXPORT int ORPMEventHook(int code, float seconds, int zero, int param, int zero2)
{
    return pass(&plugin::event, code, seconds, zero, param, zero2);
}
ORPM_EXPORT int ORPMCameraHook(float* x, float* y, float* z, float* pitch, float* heading, float* roll, float* zoom)
{
    return pass(&plugin::camera, x, y, z, pitch, heading, roll, zoom);
}
ORPM_EXPORT int ORPMMenuHook(int command) { return pass(&plugin::menu, command); }
ORPM_EXPORT int ORPMCheckMenuHook(int menu, int item, int* check_state)
{
    return pass(&plugin::check_menu, menu, item, check_state);
}
ORPM_EXPORT int ORPMMenuItemEnabled(int menu, int item) { return pass(&plugin::menu_item_enabled, menu, item); }

ORPM_EXPORT int ORPMGetNumberPlanesToHandle(int planes, int loading)
{
    for (const plugin& p : state().plugins)
        if (p.num_planes) planes = p.num_planes(planes, loading);
    return planes;
}

ORPM_EXPORT int ORPMUpdatePlaneNameAndPath(int plane, const char* file_name, const char* path)
{
    for (const plugin& p : state().plugins)
        if (p.update_plane_path) p.update_plane_path(plane, file_name, path);
    return 1;
}
