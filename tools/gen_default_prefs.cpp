// Writes the display-resolution preferences of the default data folder, so
// that a first start opens a 1024 x 768 window in English without asking for
// a language: "<program folder>/Resources/preferences/KESTRUM 7 RESOLUTION.PRF",
// written by the program's own preference writer. A file already there (the
// user's own choice) is kept.
//
// usage: gen_default_prefs <program folder>/
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/plat_files.h"
#include "core/alert.h"
#include "shell/prefs.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "tools/tool_args.h"

namespace {

void report_and_stop(int, const char* const lines[4], int)
{
    std::fprintf(stderr, "gen_default_prefs: %s %s %s %s\n", lines[0], lines[1], lines[2], lines[3]);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_default_prefs <program folder>/")) return 2;
    MACIBM_set_alert_handler(report_and_stop);
    const std::string path = std::string(argv[1]) + "Resources/preferences/KESTRUM 7 RESOLUTION.PRF";
    if (PLAT_file_exists(path.c_str())) {
        std::printf("gen_default_prefs: kept %s\n", path.c_str());
        return 0;
    }
    screen.res_width = 1024;
    screen.res_height = 768;
    screen.res_bits = 32;
    screen.requested_full_screen = 0;   // a window on the desktop
    sim_operation_prefs_misc.language = 0;   // English
    PREFS_read_write(PREFS_KIND_RESOLUTION, PREFS_WRITE, path.c_str());
    if (!PLAT_file_exists(path.c_str())) {
        std::fprintf(stderr, "gen_default_prefs: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("gen_default_prefs: wrote %s\n", path.c_str());
    return 0;
}
