// The program itself, run as a child process on the offscreen driver: with
// the first-start language box up it keeps its frames paced, its memory flat,
// and a termination request ends it with status 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/main.h"
#include "tests/support/startup_program.h"
#include "tests/support/test_support.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using clock_type = std::chrono::steady_clock;

// Display preferences of a 1024 x 768 window that name no language (-1), so
// the program opens on the language box: the header 'i' and version 3, then
// width, height, depth, full screen and language, 4 bytes each, low byte first.
std::string preferences_without_language()
{
    std::string bytes = "i";
    for (int32_t v : {3, 1024, 768, 32, 0, -1})
        for (int b = 0; b < 4; ++b) bytes += static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xFF);
    return bytes;
}

// Starts "./orvell" in the folder, paced (no pacing override) and without
// sound or leak report; returns its process id.
pid_t spawn_program(const fs::path& folder)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind(std::string(NO_PACING_VARIABLE) + "=", 0) == 0 || entry.rfind("SDL_VIDEODRIVER=", 0) == 0 ||
            entry.rfind("ASAN_OPTIONS=", 0) == 0 || entry.rfind("ALSOFT_DRIVERS=", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("SDL_VIDEODRIVER=offscreen");
    env.push_back("ALSOFT_DRIVERS=null");
    // The sanitizer's quarantine of freed memory would grow by itself: keep it small.
    env.push_back("ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string dir = folder.string();
    char program[] = "./orvell";
    char* argv[] = {program, nullptr};

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) == 0) execve(program, argv, envp.data());
        _exit(127);
    }
    return pid;
}

struct process_sample {
    double rss_mb = 0.0;
    double cpu_sec = 0.0;   // user and system time
    clock_type::time_point at;
};

process_sample sample(pid_t pid)
{
    process_sample s;
    s.at = clock_type::now();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) s.rss_mb = std::stod(line.substr(6)) / 1024.0;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name (which is in parentheses): state is field 3, utime 14, stime 15.
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::vector<std::string> fields{std::istream_iterator<std::string>(rest), std::istream_iterator<std::string>()};
    if (fields.size() > 12)
        s.cpu_sec = (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return s;
}

// Waits for the child to end; -1 when it has not ended in time (it is then killed).
int wait_for_exit(pid_t pid, std::chrono::seconds limit)
{
    const auto until = clock_type::now() + limit;
    int status = 0;
    while (clock_type::now() < until) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

}  // namespace

TEST(ProgramRun, LanguageBoxRunsPacedWithFlatMemoryAndEndsOnTermination)
{
    const fs::path program = fs::path(ORVELL_DATA_FOLDER) / "orvell";
    if (!fs::exists(program)) GTEST_SKIP() << "the program is not built in " << ORVELL_DATA_FOLDER;
    auto folder = copy_default_data_folder();
    fs::copy_file(program, folder->path() / "orvell");
    write_file_bytes(folder->path() / "Resources/preferences/KESTRUM 7 RESOLUTION.prf",
                     preferences_without_language());

    const pid_t pid = spawn_program(folder->path());
    ASSERT_GT(pid, 0);
    // The capability report is the last thing written before the box opens.
    const fs::path log = folder->path() / "ERROR.OUT";
    const auto give_up = clock_type::now() + std::chrono::seconds(60);
    while (read_file_bytes(log).find("max_iso_filtering") == std::string::npos && clock_type::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const process_sample first = sample(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const process_sample last = sample(pid);
    kill(pid, SIGTERM);
    const int status = wait_for_exit(pid, std::chrono::seconds(20));

    EXPECT_EQ(status, 0) << "the termination request did not end the program cleanly";
    ASSERT_GT(first.rss_mb, 0.0) << "the program was not running";
    // Unpaced, the software renderer queued frames without end: hundreds of
    // megabytes a second on seven cores.
    EXPECT_LT(last.rss_mb - first.rss_mb, 50.0) << first.rss_mb << " MB, then " << last.rss_mb << " MB";
    const double wall = std::chrono::duration<double>(last.at - first.at).count();
    // Paced, the box costs about one core of this sanitised build's software
    // renderer; unpaced it filled every core the machine has. The bound sits
    // between the two, so a loaded or slow machine does not decide the result.
    const double cores = std::max(2.0, static_cast<double>(std::thread::hardware_concurrency()));
    EXPECT_LT((last.cpu_sec - first.cpu_sec) / wall, std::max(1.5, 0.5 * cores)) << "cores busy while the box waits";
}
