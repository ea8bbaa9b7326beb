// The key file over arbitrary bytes: read into the key assignment table as
// the defaults read it, then every character typed once in flight, so each
// command the file assigned runs as the keyboard runs it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "platform/plat_files.h"
#include "shell/keys.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = [] {
        fuzz_program_folder();
        const std::string path = std::string(folder_table[FOLDER_KEYS]) + "ORVELL.TXT";
        std::filesystem::create_directories(std::filesystem::path(PLAT_resolve_path(path.c_str())).parent_path());
        return path;
    }();
    return fuzz_read_file(file, data, size, [] {
        RESET_all();
        std::memset(key_assignment_table, 0, sizeof key_assignment_table);
        KEY_read_table();
        for (int key = 1; key < 256; ++key) {
            app_mode = MODE_FLYING;
            KEY_command_dispatch(DISPATCH_PLAIN, key);
        }
    });
}
