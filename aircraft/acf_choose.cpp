// Choosing the aircraft of a plane slot that has none: a walk down the
// aircraft folders, at random where there is a choice, to the first folder
// that holds aircraft files; every file of that folder is loaded in turn.
#include "aircraft/acf_choose.h"

#include <cstring>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/random.h"
#include "flightmodel/flt.h"
#include "graphics/loading_screen.h"

namespace {

constexpr int MAX_RESTARTS = 10;
constexpr float FAR_AWAY_M = 9.9e9f;   // outside any scenery, until a start places the plane

// Slots whose walk prefers a category folder, and the folder's name.
const char* preferred_folder(int slot)
{
    if (slot >= 2 && slot <= 4) return "General Aviation";
    if (slot >= 5 && slot <= 7) return "Heavy Metal";
    return nullptr;
}

}  // namespace

void ACF_choose_and_load(int slot)
{
    // The slot comes from plug-ins, peers and the traffic: one outside the
    // plane table would write an aircraft and its start position past it.
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    if (a.acf_file_name[0] != 0) return;

    char folder[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(folder_table[FOLDER_AIRCRAFT]), folder);
    int restarts = 0;
    bool loaded = false;
    while (!loaded) {
        UTIL_strcpy(static_cast<const char*>(folder), file_list_folder);
        const int n = FILE_list_directory(KIND_AIRCRAFT);
        for (int i = 0; i < n; ++i) {
            if (file_list_kinds[i] == KIND_FOLDER) continue;
            UTIL_strcpy(static_cast<const char*>(file_list_paths[i]), a.acf_file_path);
            UTIL_strcpy(static_cast<const char*>(file_list_names[i]), a.acf_file_name);
            const std::string message = std::string("Loading ") + file_list_names[i] + "...";
            MACIBM_loading_screen(message.c_str());
            ACF_load_and_setup(slot);
            loaded = true;
        }
        if (loaded) break;
        if (n > 0) {
            int k = n > 1 ? UTIL_rand() * n / 32768 : 0;
            if (const char* preferred = preferred_folder(slot)) {
                const std::size_t len = std::strlen(preferred);
                for (int i = 0; i < n; ++i)
                    if (std::strncmp(file_list_names[i], preferred, len) == 0) k = i;
            }
            UTIL_strcat(folder, file_list_names[k]);
            UTIL_strcat(folder, "\\");
        } else {
            UTIL_strcat3(program_folder, "AIRCRAFT\\", folder);
            ++restarts;
        }
        if (restarts > MAX_RESTARTS) {
            MACIBM_nuke_alert(0, "No aircraft could be found in the aircraft folder:", folder_table[FOLDER_AIRCRAFT],
                              "Every folder walked was empty.", "Put at least one aircraft there and start again.",
                              ALERT_FATAL);
            return;
        }
    }
    flt[slot].local_x = FAR_AWAY_M;
    flt[slot].local_z = FAR_AWAY_M;
}
