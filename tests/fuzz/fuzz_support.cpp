#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/alert.h"
#include "core/folders.h"
#include "platform/plat_files.h"
#include "shell/main.h"
#include "tests/graphics/gl_context.h"

namespace {

int alerts = 0;

void throwing_alert(int, const char* const lines[4], int code)
{
    ++alerts;
    if (code == ALERT_FATAL) throw fuzz_fatal_alert(lines[0] ? lines[0] : "");
}

}  // namespace

std::filesystem::path fuzz_ram_folder()
{
    // A file write to a disk under load can take longer than the fuzzer lets
    // one input take; a write to memory cannot. The fuzz stage names a folder
    // in memory of its own (and removes it, with what a target that crashed
    // left there).
    std::error_code ec;
    const char* named = std::getenv("ORVELL_FUZZ_FOLDER");
    if (named && named[0] && std::filesystem::is_directory(named, ec)) return named;
    const std::filesystem::path shm = "/dev/shm";
    if (std::filesystem::is_directory(shm, ec) && access(shm.c_str(), W_OK) == 0) return shm;
    return std::filesystem::temp_directory_path(ec);
}

const std::string& fuzz_program_folder()
{
    static const std::string folder = [] {
        // The software renderer draws on the calling thread, and no shader
        // cache is written: the process stays single-threaded.
        setenv("LP_NUM_THREADS", "0", 1);
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        const std::filesystem::path p = fuzz_ram_folder() / ("orvell_fuzz_" + std::to_string(getpid()));
        std::filesystem::remove_all(p);
        // The folders the readers look in, spelt as the data tree spells them.
        for (const char* sub : {"Resources/sounds", "Resources/Earth nav data/+30-120", "Output/logbooks", "Custom Scenery"})
            std::filesystem::create_directories(p / sub);
        const std::string prefix = p.string() + "/";
        FOLDERS_init_from((prefix + "orvell").c_str());
        MACIBM_set_alert_handler(throwing_alert);
        APPLICATION_install_hooks();   // every way up reaches its target, as in the program
        // The folder goes with the process.
        static const bool removed_at_exit = std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(fuzz_ram_folder() / ("orvell_fuzz_" + std::to_string(getpid())), ignored);
        }) == 0;
        (void)removed_at_exit;
        return prefix;
    }();
    return folder;
}

bool fuzz_gl_context()
{
    fuzz_program_folder();
    return ensure_gl_context();
}

void fuzz_write_file(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(PLAT_resolve_path(path.c_str()), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

int fuzz_alert_count() { return alerts; }
