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
#include "tools/tool_setup.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_aircraft_paint <program folder> [--template] <description>...\n");
        return EXIT_FAILURE;
    }
    std::string folder = argv[1];
    if (!tool_program_folder(folder, "gen_aircraft_paint", 40)) return EXIT_FAILURE;
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
