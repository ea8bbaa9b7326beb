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
// plug-in, with the reason, in one line. Each file is first loaded in a child
// process, so that one the system's loader stops at (a damaged file) ends the
// child and not the program; the plug-ins that could not be loaded are
// handed to the program by ORPMLoadProblems for its notice.
#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
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
    std::string problems;   // each plug-in not loaded: its file and why, a line each
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

// A plug-in file that could not be loaded: passed over, and kept for the
// program to name in a notice (ORPMLoadProblems).
void not_loaded(const std::filesystem::path& file, const std::string& why)
{
    passed_over(file, why);
    state().problems += file.string() + "\n" + why + "\n";
}

// How long a test load may take before it is given up: far more than loading
// any library takes, short enough that a start is not held up for long by one
// whose initialisers never return.
constexpr int TEST_LOAD_SECONDS = 20;
constexpr size_t TEST_LOAD_MESSAGE_BYTES = 4096;

// Whether the system's loader takes the file without ending the process: it
// is loaded first in a child process, which then ends with status 0. A
// damaged shared object (a few flipped bytes are enough) can make the loader
// end the whole process (a failed check of its own ends it with a status of
// its own, a fault with a signal) instead of answering with an error; in the
// child that ends only the child. An empty text when the child ended with 0
// (the file loads, or the loader answered with an error that the real load
// gives again); otherwise why the file is passed over, with the first line
// the loader wrote. The child runs the file's initialisers too, and nothing else.
std::string test_load(const std::filesystem::path& file)
{
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return "";   // no way to test: loaded as before
    const pid_t child = fork();
    if (child < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return "";
    }
    if (child == 0) {
        dup2(pipe_ends[1], STDERR_FILENO);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        _exit(0);
    }
    close(pipe_ends[1]);

    // What the child writes on its error output, until it ends (the pipe
    // then reads as ended) or the time is up.
    std::string written;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(TEST_LOAD_SECONDS);
    bool timed_out = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timed_out = true;
            break;
        }
        pollfd p{pipe_ends[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[512];
        const ssize_t got = read(pipe_ends[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (written.size() < TEST_LOAD_MESSAGE_BYTES) written.append(buffer, static_cast<size_t>(got));
    }
    close(pipe_ends[0]);
    if (timed_out) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timed_out) return "loading it did not finish within " + std::to_string(TEST_LOAD_SECONDS) + " seconds";
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
    std::string why = "loading it ended a test process";
    if (WIFEXITED(status)) why += " (status " + std::to_string(WEXITSTATUS(status)) + ")";
    if (WIFSIGNALED(status)) {
        const char* name = strsignal(WTERMSIG(status));
        why += std::string(" (") + (name ? std::string(name) : "signal " + std::to_string(WTERMSIG(status))) + ")";
    }
    const std::string first_line = written.substr(0, written.find('\n'));
    if (!first_line.empty()) why += ": " + first_line;
    return why;
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
        if (const std::string why = test_load(file); !why.empty()) {
            not_loaded(file, why);
            continue;
        }
        void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char* why = dlerror();
            not_loaded(file, why ? why : "it cannot be loaded");
            continue;
        }
        const auto start = symbol<ORPluginStart_fn>(library, "ORPluginStart");
        if (start == nullptr) {
            dlclose(library);
            not_loaded(file, "it has no ORPluginStart");
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

ORPM_EXPORT const char* ORPMLoadProblems() { return state().problems.c_str(); }

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
