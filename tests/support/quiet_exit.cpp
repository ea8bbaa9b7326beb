// After the last test of a test binary: the platform's services that run
// threads of their own (the speech synthesis, the sound device's mixer, the
// window with its OpenGL context) are ended, and the binary fails when any
// thread but the main one is still running (the speech library's own
// thread included: the synthesiser is ended too). The leak checker at exit then
// inspects a quiet process: a thread still drawing or mixing while it stops
// the process has crashed it.
//
// The software renderer's workers and its shader cache's writer belong to the
// driver, which stays loaded until the process ends (the leak checker names
// what the driver keeps by the driver's file, which must still be there), so
// the test binaries have it draw on the calling thread and keep no cache: it
// starts no thread of its own.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/plat_sound.h"
#include "platform/plat_speech.h"
#include "platform/plat_window.h"

namespace {

// The names of the process's threads other than the calling one.
std::vector<std::string> other_threads()
{
    std::vector<std::string> names;
    const std::string self = std::to_string(gettid());
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return names;
    while (const dirent* e = readdir(tasks)) {
        const std::string id = e->d_name;
        if (id == "." || id == ".." || id == self) continue;
        std::ifstream comm("/proc/self/task/" + id + "/comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(id + " " + name);
    }
    closedir(tasks);
    return names;
}

class quiet_exit_environment : public ::testing::Environment {
public:
    void TearDown() override
    {
        PLAT_speech_end();
        PLAT_sound_close();
        // The OpenGL library stays loaded: the leak checker names what the
        // driver keeps for the life of the process by the driver's file.
        if (PLAT_window_exists()) SDL_GL_LoadLibrary(nullptr);
        PLAT_destroy_window();
        // A thread that was told to end may take a moment to go.
        std::vector<std::string> left = other_threads();
        for (int k = 0; k < 200 && !left.empty(); ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            left = other_threads();
        }
        std::string list;
        for (const std::string& t : left) list += "\n  " + t;
        EXPECT_TRUE(left.empty()) << "threads still running after the last test:" << list;
    }
};

}  // namespace

// The address checker's allocator keeps the pages of freed memory instead of
// handing them back to the system every few seconds: each hand-back flushes
// the address translations of every core, and in the whole-program tests,
// which free a picture's worth of memory every frame, that took a third of
// the time, more with eight tests at once. The peak use is the same. The
// ASAN_OPTIONS of the environment still come after these.
extern "C" const char* __asan_default_options() { return "allocator_release_to_os_interval_ms=-1"; }

namespace {

const bool registered = [] {
    setenv("LP_NUM_THREADS", "0", 1);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    ::testing::AddGlobalTestEnvironment(new quiet_exit_environment);
    return true;
}();

}  // namespace
