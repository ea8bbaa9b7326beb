#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "core/alert.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "platform/plat_net.h"
#include "shell/main.h"
#include "tests/support/startup_program.h"
#include "tests/support/test_network.h"

std::vector<alert_record> recorded_alerts;

void clear_alerts() { recorded_alerts.clear(); }

namespace {

void test_alert_handler(int return_mode, const char* const lines[4], int code)
{
    alert_record a;
    a.return_mode = return_mode;
    for (int i = 0; i < 4; ++i) a.lines[i] = lines[i] ? lines[i] : "";
    a.code = code;
    recorded_alerts.push_back(a);
    if (code == ALERT_FATAL) throw fatal_alert(a);
}

// Installs the recording handler before any test runs, and clears the record before each test.
class alert_environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        MACIBM_set_alert_handler(test_alert_handler);
        // Every way up reaches its target, as in the program.
        APPLICATION_install_hooks();
        // Test programs run side by side: each one's UDP link binds a port
        // this process owns, which no other program is given.
        PLAT_udp_override_port(test_owned_port(TEST_PORT_PROGRAM));
    }
};

class alert_listener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        clear_alerts();
        ALERT_set_quitting(false);   // a quit in an earlier test does not keep later notices quiet
        // Every module's kept state at rest, whatever ran before, so that no
        // order of the tests changes what one sees; the suites of a started
        // program keep the program they share.
        if (!program_started) RESET_all();
    }
};

const bool registered = [] {
    ::testing::AddGlobalTestEnvironment(new alert_environment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new alert_listener);
    return true;
}();

std::atomic<int> temp_counter{0};

// The temporary folders not removed yet, each with the process that made it.
// Whatever is left when the process exits (a fatal alert's exit, a death
// test's child ending inside its test) is removed then; a forked child's exit
// leaves its parent's folders alone. Never destroyed, so folders held by
// statics can still be forgotten after the exit's clean-up ran.
struct live_temp_folders {
    std::mutex lock;
    std::map<std::string, pid_t> made_by;
};

void remove_leftover_temp_folders();

// The folders of test processes that ended without their exit's clean-up (a
// death test's child ends by its signal or by _exit, a test run killed at its
// time limit): each run would leave a program folder behind in the temporary
// directory, until the disk fills. Removed by the first folder a process makes.
void remove_folders_of_ended_processes()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ec)) {
        const std::string name = entry.path().filename().string();
        long pid = 0;
        if (std::sscanf(name.c_str(), "orvell-test-%ld-", &pid) != 1 || pid <= 0) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::filesystem::remove_all(entry.path(), ec);
    }
}

live_temp_folders& live_folders()
{
    static live_temp_folders* live = [] {
        remove_folders_of_ended_processes();
        std::atexit(remove_leftover_temp_folders);
        return new live_temp_folders;
    }();
    return *live;
}

void remove_leftover_temp_folders()
{
    live_temp_folders& live = live_folders();
    const std::lock_guard<std::mutex> hold(live.lock);
    for (auto it = live.made_by.begin(); it != live.made_by.end();) {
        if (it->second != getpid()) {
            ++it;
            continue;
        }
        std::error_code ec;
        std::filesystem::remove_all(it->first, ec);
        it = live.made_by.erase(it);
    }
}

}  // namespace

temp_folder::temp_folder()
{
    std::ostringstream name;
    name << "orvell-test-" << getpid() << "-" << temp_counter++;
    path_ = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::remove_all(path_);
    live_temp_folders& live = live_folders();
    {
        const std::lock_guard<std::mutex> hold(live.lock);
        live.made_by[path_.string()] = getpid();
    }
    std::filesystem::create_directories(path_);
}

temp_folder::~temp_folder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    live_temp_folders& live = live_folders();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.made_by.erase(path_.string());
}

std::filesystem::path temp_folder::write(const std::string& relative, const std::string& bytes) const
{
    std::filesystem::path p = path_ / relative;
    std::filesystem::create_directories(p.parent_path());
    write_file_bytes(p, bytes);
    return p;
}

logs_folder::logs_folder() : kept_(std::filesystem::current_path())
{
    std::filesystem::current_path(folder_.path());
    FOLDERS_open_logs();
}

logs_folder::~logs_folder()
{
    FOLDERS_close_logs();
    std::error_code ec;
    std::filesystem::current_path(kept_, ec);
}

std::string logs_folder::report() const
{
    report_log.flush();
    return read_file_bytes(folder_.path() / "ORVELL.OUT");
}

std::string read_file_bytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file_bytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string built_aircraft_file(const std::string& name)
{
    namespace fs = std::filesystem;
    const auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string wanted = lower(name);
    std::error_code ec;
    for (fs::recursive_directory_iterator it(fs::path(ORVELL_DATA_FOLDER) / "Aircraft", ec), end; it != end && !ec;
         it.increment(ec))
        if (lower(it->path().filename().string()) == wanted) return it->path().string();
    return "";
}

std::string fixture_path(const std::string& name) { return std::string(ORVELL_FIXTURES) + "/" + name; }

file_size_limit::file_size_limit(unsigned long bytes)
{
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("no file-size limit to set");
    previous_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("the file-size limit cannot be set");
    set_ = true;
}

file_size_limit::~file_size_limit()
{
    struct rlimit limit;
    if (!set_ || getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
    limit.rlim_cur = previous_;
    setrlimit(RLIMIT_FSIZE, &limit);
}

void link_default_aircraft(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    const fs::path data(ORVELL_DATA_FOLDER);
    for (const char* part : {"Aircraft", "Airfoils"}) fs::create_directory_symlink(data / part, folder / part);
    fs::create_directories(folder / "RESOURCES" / "BITMAPS");
    for (const char* part : {"PANELS", "cockpit"})
        fs::create_directory_symlink(data / "Resources" / "bitmaps" / part, folder / "RESOURCES" / "BITMAPS" / part);
    // The aircraft's sounds, unless the folder has sounds of its own.
    if (!fs::exists(folder / "RESOURCES" / "SOUNDS") && !fs::exists(folder / "Resources" / "sounds"))
        fs::create_directory_symlink(data / "Resources" / "sounds", folder / "RESOURCES" / "SOUNDS");
}
