// The menu file over arbitrary bytes: the menus built from it and laid out,
// in a Latin language and in Korean (whose numbered texts are packed).
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/folders.h"
#include "core/simvars/operation.h"
#include "platform/plat_files.h"
#include "shell/menus.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int LATIN = 0;
constexpr int KOREAN = 5;

std::string menu_file(int language)
{
    const std::string path = std::string(folder_table[FOLDER_MENUS]) + MENU_language_folder(language) + "ORVELL.TXT";
    std::filesystem::create_directories(std::filesystem::path(PLAT_resolve_path(path.c_str())).parent_path());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::array<std::string, 2> files = [] {
        fuzz_program_folder();
        return std::array<std::string, 2>{menu_file(LATIN), menu_file(KOREAN)};
    }();
    fuzz_write_file(files[1], data, size);
    return fuzz_read_file(files[0], data, size, [] {
        for (const int language : {LATIN, KOREAN}) {
            sim_operation_prefs_misc.language = language;
            try {
                MACIBM_build_menus("ORVELL.TXT");
            } catch (const fuzz_fatal_alert&) {
            }
        }
        sim_operation_prefs_misc.language = LATIN;
    });
}
