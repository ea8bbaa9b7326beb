// The program itself, run as a child process on the offscreen driver: with
// the first-start language box up it keeps its frames paced, its memory flat,
// and a termination request ends it with status 0. Its frames are counted by
// a preloaded counter of its buffer swaps.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/plat_window.h"
#include "shell/main.h"
#include "tests/support/frame_counter.h"
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

// The frame count a started program keeps in a file of the test's.
class frame_count {
public:
    explicit frame_count(const fs::path& file) : path_(file)
    {
        write_file_bytes(file, std::string(sizeof(frame_counter_record), '\0'));
        const int fd = open(file.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return;
        void* p = mmap(nullptr, sizeof(frame_counter_record), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        if (p != MAP_FAILED) record_ = static_cast<frame_counter_record*>(p);
    }
    ~frame_count()
    {
        if (record_) munmap(record_, sizeof(frame_counter_record));
    }
    frame_count(const frame_count&) = delete;
    frame_count& operator=(const frame_count&) = delete;
    const fs::path& path() const { return path_; }
    uint64_t frames() const { return record_ ? record_->swaps.load() : 0; }

private:
    fs::path path_;
    frame_counter_record* record_ = nullptr;
};

// Starts "./orvell" in the folder, paced (no pacing override) and without
// sound or leak report, its frames counted; returns its process id.
pid_t spawn_program(const fs::path& folder, const frame_count& counter)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind(std::string(NO_PACING_VARIABLE) + "=", 0) == 0 || entry.rfind("SDL_VIDEODRIVER=", 0) == 0 ||
            entry.rfind("ASAN_OPTIONS=", 0) == 0 || entry.rfind("ALSOFT_DRIVERS=", 0) == 0 ||
            entry.rfind("LD_PRELOAD=", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("SDL_VIDEODRIVER=offscreen");
    env.push_back("ALSOFT_DRIVERS=null");
    env.push_back(std::string("LD_PRELOAD=") + FRAME_COUNTER_LIBRARY);
    env.push_back(std::string(FRAME_COUNTER_VARIABLE) + "=" + counter.path().string());
    // The sanitizer's quarantine of freed memory would grow by itself: keep it
    // small. The counter is loaded ahead of the sanitizer's runtime.
    env.push_back("ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16:verify_asan_link_order=0");
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
    uint64_t frames = 0;
    clock_type::time_point at;
};

process_sample sample(pid_t pid, const frame_count& counter)
{
    process_sample s;
    s.at = clock_type::now();
    s.frames = counter.frames();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) s.rss_mb = std::stod(line.substr(6)) / 1024.0;
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
    ASSERT_TRUE(fs::exists(program)) << "the program is not built in " << ORVELL_DATA_FOLDER;
    auto folder = copy_default_data_folder();
    fs::copy_file(program, folder->path() / "orvell");
    write_file_bytes(folder->path() / "Resources/preferences/KESTRUM 7 RESOLUTION.prf",
                     preferences_without_language());

    const frame_count counter(folder->path() / "frames.count");
    const pid_t pid = spawn_program(folder->path(), counter);
    ASSERT_GT(pid, 0);
    // The capability report is the last thing written before the box opens.
    const fs::path log = folder->path() / "ERROR.OUT";
    const auto give_up = clock_type::now() + std::chrono::seconds(60);
    while (read_file_bytes(log).find("max_iso_filtering") == std::string::npos && clock_type::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The box is up once it has drawn a few frames (a busy machine may hold
    // the program back for seconds).
    const uint64_t at_report = counter.frames();
    while (counter.frames() < at_report + 3 && clock_type::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // At least a second and a half, and a few frames more.
    const process_sample first = sample(pid, counter);
    process_sample last = first;
    const auto waited = [&] { return std::chrono::duration<double>(last.at - first.at).count(); };
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        last = sample(pid, counter);
    } while ((waited() < 1.5 || last.frames - first.frames < 3) && waited() < 60.0);
    kill(pid, SIGTERM);
    const int status = wait_for_exit(pid, std::chrono::seconds(20));

    EXPECT_EQ(status, 0) << "the termination request did not end the program cleanly";
    ASSERT_GT(first.rss_mb, 0.0) << "the program was not running";
    // Unpaced, the software renderer queued frames without end: hundreds of
    // megabytes a second on seven cores.
    EXPECT_LT(last.rss_mb - first.rss_mb, 50.0) << first.rss_mb << " MB, then " << last.rss_mb << " MB";
    // Paced, the box shows at most one frame per refresh period; unpaced it
    // drew as fast as every core allowed. A busy machine only ever gives it
    // fewer frames, so the bound holds however loaded the machine is.
    const double wall = waited();
    const uint64_t frames = last.frames - first.frames;
    EXPECT_GE(frames, 3u) << "the box stopped drawing";
    EXPECT_LE(static_cast<double>(frames), 1.2 * wall * PLAT_refresh_rate_hz() + 2.0) << "frames in " << wall << " s";
}
