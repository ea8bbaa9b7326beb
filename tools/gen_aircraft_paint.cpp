// Paints the project's aircraft and weapons (see tools/aircraft_paint.h).
//
//   gen_aircraft_paint <program folder> [--template] <description>...
//
// The aircraft files the descriptions name must already lie below the
// program folder's "AIRCRAFT:", and the weapon files in its "WEAPONS:".
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/constants.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "tools/aircraft_paint.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_aircraft_paint <program folder> [--template] <description>...\n");
        return EXIT_FAILURE;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/') folder += '/';
    if (folder.size() + 40 >= TEXT_SIZE) {
        std::fprintf(stderr, "gen_aircraft_paint: program folder path too long\n");
        return EXIT_FAILURE;
    }
    FOLDERS_init_from((folder + "gen_aircraft_paint").c_str());
    CONST_fill_constants();
    bool template_mode = false;
    std::vector<std::string> descriptions;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--template")
            template_mode = true;
        else
            descriptions.push_back(arg);
    }
    return aircraft_paint::run(folder, descriptions, template_mode) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
