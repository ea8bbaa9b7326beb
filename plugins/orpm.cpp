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
// handed to the program by ORPMLoadProblems for its notice. A file whose test
// load hangs or ends the child is also kept in the record of plug-ins left
// out (below), so that later starts neither wait for it nor try it again.
//
// A plug-in's start call runs in the program, with a marker beside this
// library naming it while it runs and a watchdog thread timing it. One whose
// start ends the program (a crash) leaves its marker behind; one whose start
// does not return in time has the watchdog record it and start the program
// again. Either is then kept in the record of plug-ins left out and named in
// the notice at every start, until its file changes. A termination request
// still ends the program while a start call runs.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

#include "plugins/orvell_plugin.h"

#define ORPM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct plugin : ORPM_hooks {
    void* library = nullptr;
    ORPluginStop_fn stop = nullptr;
};

// How long a plug-in's start call may take: far more than registering menus
// and reading a few files takes, and short enough that the program, started
// again without the plug-in, flies well within half a minute.
constexpr int START_SECONDS = 10;

// What the watchdog of a start call works with. Everything the overrun and the
// termination handler use is made before the call: the start may be stuck
// holding any lock (the memory allocator's too), so they only make system calls.
struct start_watch {
    std::mutex mutex;
    std::condition_variable returned_signal;
    bool returned = false;
    int seconds = START_SECONDS;
    void (*on_overrun)() = nullptr;   // null: start the program again
    std::array<char, 4096> marker_path{};   // empty: no marker written
    int marker_fd = -1;
    std::string overrun_text;      // the marker's line once the start has overrun
    std::string overrun_message;   // for the standard error
    std::vector<std::string> arguments;
    std::vector<char*> argv;   // the program's own arguments, to start it again
    int open_files_limit = 1024;
    struct sigaction previous_term {}, previous_interrupt {};
};

struct manager_state {
    std::unordered_map<std::string, ORPM_data_ref> data;
    std::vector<std::string> names;   // keeps the name texts the records point at
    std::vector<plugin> plugins;
    std::string program_folder;
    std::string problems;   // each plug-in not loaded: its file and why, a line each
    ORPM_plugin_services services{};
    bool started = false;
    start_watch watch;
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

// ---------------------------------------------------------------------------
// The record of plug-ins left out, beside this library: a line each, with the
// size and time of change the file had, its name in the plug-in folder and why.
constexpr const char* LEFT_OUT_FILE = "plug-ins left out.txt";
// Written before a start call, removed when it returns ("<process id>" inside).
constexpr const char* MARKER_PREFIX = "plug-in starting ";
constexpr const char* MARKER_SUFFIX = ".txt";
constexpr size_t LEFT_OUT_BYTES = 1 << 16;   // a longer record is read no further
constexpr const char* ENDED_WHY = "the program ended during its start call";

struct file_identity {
    long long size = -1;
    long long changed_ns = -1;
    bool operator==(const file_identity&) const = default;
};

file_identity identity_of(const std::filesystem::path& file)
{
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return {};
    return {static_cast<long long>(st.st_size), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

struct left_out_entry {
    file_identity file;
    std::string why;
};
using left_out_table = std::map<std::string, left_out_entry>;   // by file name

std::string record_line(const std::string& name, const left_out_entry& e)
{
    return std::to_string(e.file.size) + "\t" + std::to_string(e.file.changed_ns) + "\t" + name + "\t" + e.why + "\n";
}

// Adds the lines of a record or marker file to the table. A line that is not
// two numbers, a name and a reason (a line cut short by a full disk) is skipped.
void read_record(const std::filesystem::path& file, left_out_table& table)
{
    std::ifstream in(file, std::ios::binary);
    std::string text(LEFT_OUT_BYTES, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) break;   // no line end: cut short
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        std::array<std::string, 4> field;
        size_t from = 0;
        for (size_t k = 0; k < 3 && from != std::string::npos; ++k) {
            const size_t tab = line.find('\t', from);
            field[k] = line.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
            from = tab == std::string::npos ? tab : tab + 1;
        }
        if (from == std::string::npos) continue;
        field[3] = line.substr(from);
        left_out_entry e;
        const auto number = [](const std::string& f, long long& v) {
            const auto [end_at, error] = std::from_chars(f.data(), f.data() + f.size(), v);
            return error == std::errc() && end_at == f.data() + f.size() && !f.empty();
        };
        if (!number(field[0], e.file.size) || !number(field[1], e.file.changed_ns) || field[2].empty() ||
            field[2].find('/') != std::string::npos || field[3].empty())
            continue;
        e.why = field[3];
        table[field[2]] = e;
    }
}

// Writes the record through a temporary file renamed into place; an empty
// record is removed. False when it could not be written.
bool write_record(const std::filesystem::path& file, const left_out_table& table)
{
    std::error_code ec;
    if (table.empty()) {
        std::filesystem::remove(file, ec);
        return !ec;
    }
    std::string text;
    for (const auto& [name, e] : table) text += record_line(name, e);
    std::filesystem::path temporary = file;
    temporary += "." + std::to_string(getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::filesystem::rename(temporary, file, ec);
    if (ec) std::filesystem::remove(temporary, ec);
    return !ec;
}

// The markers left by runs whose plug-in start ended them: each names the
// plug-in. A marker of another copy of the program still running is its own
// start in progress; one of this process is from before it was started again.
std::vector<std::filesystem::path> ended_markers(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> markers;
    std::error_code ec;
    const std::string prefix = MARKER_PREFIX, suffix = MARKER_SUFFIX;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        pid_t process = 0;
        const auto [end_at, error] = std::from_chars(digits.data(), digits.data() + digits.size(), process);
        if (error != std::errc() || end_at != digits.data() + digits.size() || process <= 0) continue;
        if (process != getpid() && (kill(process, 0) == 0 || errno == EPERM)) continue;
        markers.push_back(e.path());
    }
    return markers;
}

// The record as this load uses it: the plug-ins the last runs' markers name
// are added, and those whose file has since changed or gone are tried again.
left_out_table update_left_out(const std::filesystem::path& folder, const std::filesystem::path& modules)
{
    left_out_table table;
    const std::filesystem::path record = folder / LEFT_OUT_FILE;
    read_record(record, table);
    bool changed = false;
    const std::vector<std::filesystem::path> markers = ended_markers(folder);
    for (const auto& marker : markers) read_record(marker, table), changed = true;
    for (auto it = table.begin(); it != table.end();) {
        if (identity_of(modules / it->first) == it->second.file) {
            ++it;
        } else {
            it = table.erase(it);
            changed = true;
        }
    }
    if (!changed) return table;
    if (!write_record(record, table)) {
        // The markers stay: the next load records them.
        log_line("the record of plug-ins left out could not be written: " + record.string());
        return table;
    }
    std::error_code ec;
    for (const auto& marker : markers) std::filesystem::remove(marker, ec);
    return table;
}

void write_text(int fd, std::string_view text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// Starts the program again with its own arguments, nothing of this run open.
void start_program_again()
{
    start_watch& w = state().watch;
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    // A port, lock or file this run holds open would be held by the next run
    // too, and refuse it.
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0)
        for (int fd = 3; fd < w.open_files_limit; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
    if (!w.argv.empty() && w.argv[0] != nullptr) execv("/proc/self/exe", w.argv.data());
}

// The watchdog's deadline passed with the start call still running: the
// marker says so, and the program starts again, leaving the plug-in out.
// Without a marker the next run would meet the same start: the program ends.
void start_overran()
{
    start_watch& w = state().watch;
    const bool recorded = w.marker_fd >= 0 &&
                          pwrite(w.marker_fd, w.overrun_text.data(), w.overrun_text.size(), 0) ==
                              static_cast<ssize_t>(w.overrun_text.size()) &&
                          ftruncate(w.marker_fd, static_cast<off_t>(w.overrun_text.size())) == 0;
    if (!recorded) {
        write_text(STDERR_FILENO, "Plug-in: a start call did not return, and it could not be recorded: the program ends\n");
        _exit(EXIT_FAILURE);
    }
    write_text(STDERR_FILENO, w.overrun_message);
    if (w.on_overrun) w.on_overrun();
    else start_program_again();
    write_text(STDERR_FILENO, "Plug-in: the program could not be started again: the next start leaves the plug-in out\n");
    _exit(EXIT_FAILURE);
}

// A termination request while a start call runs (the program's own handler
// only notes it for a frame that would never come): the marker goes, since
// the request says nothing about the plug-in, and the program ends at once.
void end_on_request(int signal_number)
{
    const start_watch& w = state().watch;
    if (w.marker_path[0]) unlink(w.marker_path.data());
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal_number, &fallback, nullptr);
    raise(signal_number);
}

// The program's arguments, read once, to start it again with.
void read_own_arguments(start_watch& w)
{
    if (!w.argv.empty()) return;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t at = 0; at < all.size();) {
        const size_t end = std::min(all.find('\0', at), all.size());
        w.arguments.push_back(all.substr(at, end - at));
        at = end + 1;
    }
    for (std::string& a : w.arguments) w.argv.push_back(a.data());
    w.argv.push_back(nullptr);
    rlimit files {};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY)
        w.open_files_limit = static_cast<int>(std::min<rlim_t>(files.rlim_cur, 1 << 20));
}

// Calls a plug-in's start with its marker written and its watchdog running.
int guarded_start(const std::filesystem::path& folder, const std::filesystem::path& file, ORPluginStart_fn start)
{
    manager_state& s = state();
    start_watch& w = s.watch;
    const std::string name = file.filename().string();
    const file_identity identity = identity_of(file);
    const std::string seconds = std::to_string(w.seconds);
    w.overrun_text = record_line(name, {identity, "its start call did not return within " + seconds +
                                                      " seconds, and the program was started again without it"});
    w.overrun_message = "Plug-in: " + file.string() + " did not return from its start call within " + seconds +
                        " seconds: the program starts again without it\n";
    read_own_arguments(w);

    const std::string marker = (folder / (MARKER_PREFIX + std::to_string(getpid()) + MARKER_SUFFIX)).string();
    w.marker_path.fill(0);
    if (marker.size() < w.marker_path.size()) {
        w.marker_fd = open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (w.marker_fd >= 0) {
            std::copy(marker.begin(), marker.end(), w.marker_path.begin());
            write_text(w.marker_fd, record_line(name, {identity, ENDED_WHY}));
        }
    }

    struct sigaction ending {};
    ending.sa_handler = end_on_request;
    sigemptyset(&ending.sa_mask);
    sigaction(SIGTERM, &ending, &w.previous_term);
    sigaction(SIGINT, &ending, &w.previous_interrupt);
    w.returned = false;
    std::thread watchdog;
    try {
        watchdog = std::thread([&w] {
            std::unique_lock<std::mutex> lock(w.mutex);
            if (!w.returned_signal.wait_for(lock, std::chrono::seconds(w.seconds), [&w] { return w.returned; }))
                start_overran();
        });
    } catch (const std::system_error&) {
        // No thread to time it: the start runs untimed, its marker still written.
    }

    const int answer = start(&s.services);

    {
        const std::lock_guard<std::mutex> lock(w.mutex);
        w.returned = true;
    }
    w.returned_signal.notify_one();
    if (watchdog.joinable()) watchdog.join();
    sigaction(SIGTERM, &w.previous_term, nullptr);
    sigaction(SIGINT, &w.previous_interrupt, nullptr);
    if (w.marker_fd >= 0) {
        close(w.marker_fd);
        w.marker_fd = -1;
        unlink(marker.c_str());
    }
    w.marker_path.fill(0);
    return answer;
}

// How long a test load may take before it is given up: far more than loading
// any library takes, short enough that a start is not held up for long by one
// whose initialisers never return.
constexpr int TEST_LOAD_SECONDS = 20;
constexpr size_t TEST_LOAD_MESSAGE_BYTES = 4096;
int test_load_seconds = TEST_LOAD_SECONDS;   // ORPMSetTestLoadLimit

// What the test load found: an empty reason when the file loads. One that
// hung or ended the test process is recorded with the plug-ins left out, so
// the next start does not wait for it or try it again until it changes.
struct test_load_result {
    std::string why;
    bool left_out = false;
};

// Whether the system's loader takes the file without ending the process: it
// is loaded first in a child process, which then ends with status 0. A
// damaged shared object (a few flipped bytes are enough) can make the loader
// end the whole process (a failed check of its own ends it with a status of
// its own, a fault with a signal) instead of answering with an error; in the
// child that ends only the child. An empty text when the child ended with 0
// (the file loads, or the loader answered with an error that the real load
// gives again); otherwise why the file is passed over, with the first line
// the loader wrote. The child runs the file's initialisers too, and nothing else.
test_load_result test_load(const std::filesystem::path& file)
{
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return {};   // no way to test: loaded as before
    const pid_t child = fork();
    if (child < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return {};
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(test_load_seconds);
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
    if (timed_out)
        return {"it hung while loading: its initialisers did not finish within " + std::to_string(test_load_seconds) +
                    " seconds",
                true};
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    std::string why = "loading it ended a test process";
    if (WIFEXITED(status)) why += " (status " + std::to_string(WEXITSTATUS(status)) + ")";
    if (WIFSIGNALED(status)) {
        const char* name = strsignal(WTERMSIG(status));
        why += std::string(" (") + (name ? std::string(name) : "signal " + std::to_string(WTERMSIG(status))) + ")";
    }
    const std::string first_line = written.substr(0, written.find('\n'));
    if (!first_line.empty()) why += ": " + first_line;
    return {why, true};
}

void load_plugins()
{
    namespace fs = std::filesystem;
    manager_state& s = state();
    const fs::path own = own_folder();
    const fs::path folder = own / "modules";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    left_out_table left_out = update_left_out(own, folder);
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file(ec)) files.push_back(e.path());
    std::sort(files.begin(), files.end());

    for (const fs::path& file : files) {
        if (file.extension() != ".so") {
            passed_over(file, "its name does not end in \".so\"");
            continue;
        }
        // The record of plug-ins left out could not name it, so a start that
        // ended the program would end it again at every start.
        if (file.filename().string().find_first_of("\t\n") != std::string::npos) {
            passed_over(file, "its name holds a tab or a line break");
            continue;
        }
        if (const auto it = left_out.find(file.filename().string()); it != left_out.end()) {
            log_line(file.string() + " was left out: " + it->second.why);
            s.problems += file.string() + "\n" + it->second.why + "; it is tried again when the file changes\n";
            continue;
        }
        // Named before anything of it runs (loading runs its initialisers,
        // then comes its start call): a plug-in that ends the program there
        // is the last one the log names.
        log_line("loading and starting " + file.string());
        if (const test_load_result tested = test_load(file); !tested.why.empty()) {
            if (!tested.left_out) {
                not_loaded(file, tested.why);
                continue;
            }
            // Recorded, so that the next start does not spend its time on it again.
            log_line(file.string() + " was left out: " + tested.why);
            s.problems += file.string() + "\n" + tested.why + "\n";
            left_out[file.filename().string()] = left_out_entry{identity_of(file), tested.why};
            if (!write_record(own / LEFT_OUT_FILE, left_out))
                log_line("the record of plug-ins left out could not be written: " + (own / LEFT_OUT_FILE).string());
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
        if (guarded_start(own, file, start) == 0) {
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

ORPM_EXPORT void ORPMSetStartLimit(int seconds, void (*on_overrun)())
{
    start_watch& w = state().watch;
    w.seconds = std::clamp(seconds, 1, 3600);
    w.on_overrun = on_overrun;
}

ORPM_EXPORT void ORPMSetTestLoadLimit(int seconds) { test_load_seconds = std::clamp(seconds, 1, 3600); }

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
