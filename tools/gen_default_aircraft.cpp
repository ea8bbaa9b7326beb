// Writes the project's aircraft files from their readable descriptions.
//
//   gen_default_aircraft <program folder> <description>...
//
// The description's syntax is given in aircraft/acf_description.h; each one's
// "name" says where its file goes: "AIRCRAFT:<name>.acf" below the program folder.
// The record goes through the same derivation and checks as any aircraft file,
// is written with the aircraft file writer and read back with the reader,
// airfoils included (the airfoil files must already be in "AIRFOILS:" below
// the program folder); any alert is a failure. A description whose mass,
// surface or blade area or moments of inertia would come out zero or negative
// is refused with the field named, and no file is left for it. An instrument slot whose
// description gives no picture size (acf_ins_delx/dely) gets its type's
// design size, the size its face is drawn at.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_description.h"
#include "aircraft/acf_file.h"
#include "aircraft/acf_setup.h"
#include "platform/plat_files.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "panel/instrument_pictures.h"
#include "tools/tool_setup.h"

namespace {

// Writes one aircraft file from its description and reads it back; 0 when
// that failed (the reason is on stderr).
int make_aircraft(const std::string& folder, const char* description)
{
    char name_text[ACF_TEXT_SIZE], error[ACF_TEXT_SIZE];
    if (!ACF_read_description(description, 0, name_text, error)) {
        std::fprintf(stderr, "gen_default_aircraft: %s: %s\n", description, error);
        return 0;
    }
    if (!name_text[0]) {
        std::fprintf(stderr, "gen_default_aircraft: %s gives no name\n", description);
        return 0;
    }
    if (!ACF_check_description_values(0, false, error)) {
        std::fprintf(stderr, "gen_default_aircraft: %s: %s\n", description, error);
        return 0;
    }
    const std::string name = name_text;
    const std::string relative = "AIRCRAFT:" + name + ".acf";
    const std::string path = folder + relative;
    if (path.size() >= TEXT_SIZE) {
        std::fprintf(stderr, "gen_default_aircraft: aircraft path too long\n");
        return 0;
    }
    const std::size_t cut = name.find_last_of(':');
    const std::string file_name = (cut == std::string::npos ? name : name.substr(cut + 1)) + ".acf";

    acf_struct& a = pln[0];
    for (int k = 0; k < ACF_INS_SLOTS; ++k) {
        const instrument_design_size d = PANEL_instrument_design_size(a.acf_ins_type[k]);
        if (a.acf_ins_delx[k] <= 0.0f) a.acf_ins_delx[k] = d.w;
        if (a.acf_ins_dely[k] <= 0.0f) a.acf_ins_dely[k] = d.h;
    }
    std::snprintf(a.acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(a.acf_file_name, ACF_TEXT_SIZE, "%s", file_name.c_str());

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(PLAT_resolve_path(path.c_str())).parent_path(), ec);

    ACF_derive_values(0);
    if (!ACF_read_write(ACF_MODE_WRITE, 0, 0) || tool_alerts_seen) {
        std::fprintf(stderr, "gen_default_aircraft: could not write %s\n", path.c_str());
        return 0;
    }

    // Read it back the way the simulator does, airfoils and checks included.
    std::memset(&a, 0, sizeof a);
    std::snprintf(a.acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(a.acf_file_name, ACF_TEXT_SIZE, "%s", file_name.c_str());
    if (!ACF_read_write(ACF_MODE_READ, 0, 0) || tool_alerts_seen) {
        std::fprintf(stderr, "gen_default_aircraft: %s does not read back\n", path.c_str());
        return 0;
    }
    // Set up as the simulator sets it up at load, for the moments of inertia.
    ACF_setup_convert(0);
    ACF_setup_gear(0);
    ACF_setup_wings(0);
    ACF_setup_props_and_masses(0);
    if (!ACF_check_description_values(0, true, error)) {
        std::remove(PLAT_resolve_path(path.c_str()).c_str());
        std::fprintf(stderr, "gen_default_aircraft: %s: %s\n", description, error);
        return 0;
    }
    std::printf("gen_default_aircraft: wrote %s\n", relative.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_default_aircraft <program folder> <description>...\n");
        return EXIT_FAILURE;
    }
    tool_report_alerts("gen_default_aircraft");
    std::string folder = argv[1];
    if (!tool_program_folder(folder, "gen_default_aircraft", 40)) return EXIT_FAILURE;
    for (int i = 2; i < argc; ++i)
        if (!make_aircraft(folder, argv[i])) return EXIT_FAILURE;
    return EXIT_SUCCESS;
}
