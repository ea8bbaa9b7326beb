#include "core/folders.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/plat_files.h"
#include "core/datafile.h"

const char* const folder_relative_paths[FOLDER_COUNT] = {
    "AIRFOILS:",
    "WEAPONS:",
    "AIRCRAFT:",
    "RESOURCES:AUTOGEN OBJECTS:",
    "RESOURCES:AUTOGEN TEXTURES:",
    "OUTPUT:SITUATIONS:",
    "OUTPUT:MOVIES:",
    "OUTPUT:LOGBOOKS:",
    "OUTPUT:FMS PLANS:",
    "PELLICK RESOURCES:SAVED GAMES:",
    "ROADMIRE RESOURCES:TRACKS:",
    "ROADMIRE RESOURCES:CARS:",
    "TALVERAN RESOURCES:SPACESHIPS:",
    "TALVERAN RESOURCES:REGIONS:",
    "RESOURCES:SOUNDS:",
    "RESOURCES:BITMAPS:",
    "PELLICK RESOURCES:PLANETS:",
    "CUSTOM SCENERY:",
    "RESOURCES:EARTH NAV DATA:",
    "RESOURCES:MARS NAV DATA:",
    "RESOURCES:MENUS:",
    "RESOURCES:TEXT:",
    "RESOURCES:KEYS:",
    "RESOURCES:SOUNDS:RADIO CHATTER:",
};

const char* const written_folders[WRITTEN_FOLDER_COUNT] = {
    "",
    "Resources/preferences",
    "Output/situations",
    "Output/movies",
    "Output/logbooks",
    "Output/FMS plans",
};

char folder_table[FOLDER_COUNT][TEXT_SIZE];
char program_folder[TEXT_SIZE];
char pref_path_resolution[TEXT_SIZE];
char pref_path_general[TEXT_SIZE];
char pref_path_pilot[TEXT_SIZE];

std::ofstream error_log;
std::ofstream report_log;
std::ofstream data_log;

namespace {

void open_log(std::ofstream& log, const char* name, std::ios::openmode mode = std::ios::trunc)
{
    log.close();
    log.clear();
    // A width or precision left set by a write to the closed stream (which the
    // failed write never used up) does not carry over into the new file.
    const std::ios fresh_format(nullptr);
    log.copyfmt(fresh_format);
    log.open(name, std::ios::out | mode);
    log.setf(std::ios::fixed, std::ios::floatfield);
}

}  // namespace

void FOLDERS_open_logs()
{
    open_log(error_log, "ERROR.OUT");
    // Where "ERROR.OUT" cannot be made (a folder the user may not write in),
    // the failures it would record go to the standard error instead of
    // nowhere; appended, so a standard error led into a file is not emptied.
    if (!error_log.is_open()) open_log(error_log, PLAT_STANDARD_ERROR_FILE, std::ios::app);
    open_log(report_log, "ORVELL.OUT");
    open_log(data_log, DATA_LOG_NAME);
}

void FOLDERS_close_logs()
{
    error_log.close();
    report_log.close();
    data_log.close();
}

void FOLDERS_init_from(const char* executable_path)
{
    file_use_index = 0;

    // The program folder is the executable's path cut after its last separator;
    // a path without any separator is cut after its first character. The
    // separator is '/', this system's, standing for the other platform's
    // backslash; the colon paths joined to it are resolved by the file layer.
    char path[TEXT_SIZE];
    std::strncpy(path, executable_path, TEXT_MAX_LEN);
    path[TEXT_MAX_LEN] = 0;
    char* last = std::strrchr(path, '/');
    if (last)
        last[1] = 0;
    else if (path[0])
        path[1] = 0;
    UTIL_strcpy(path, program_folder);
    UTIL_strcpy(program_folder, file_list_folder);

    for (int i = 0; i < FOLDER_COUNT; ++i) UTIL_strcat3(program_folder, folder_relative_paths[i], folder_table[i]);
    UTIL_strcat3(program_folder, "RESOURCES:PREFERENCES:KESTRUM 7 RESOLUTION.PRF", pref_path_resolution);
    UTIL_strcat3(program_folder, "RESOURCES:PREFERENCES:KESTRUM 7 ORVELL.PRF", pref_path_general);
    UTIL_strcat3(program_folder, "RESOURCES:PREFERENCES:KESTRUM 7 PILOT.PRF", pref_path_pilot);
}

void FOLDERS_init() { FOLDERS_init_from(PLAT_executable_path().c_str()); }

int FOLDERS_make_written()
{
    // Only a program folder taken from a whole path names a place on disk.
    const size_t n = strnlen(program_folder, TEXT_SIZE);
    if (n == 0 || program_folder[n - 1] != '/') return 0;
    int failed = 0;
    for (const char* folder : written_folders) {
        const std::string wanted = std::string(program_folder) + folder;
        const std::string disk = PLAT_resolve_path(wanted.c_str());
        if (disk.empty()) continue;
        std::error_code ec;
        std::filesystem::create_directories(disk, ec);
        if (!ec && std::filesystem::is_directory(disk, ec)) continue;
        ++failed;
        if (error_log.is_open()) {
            error_log << "The folder " << disk << " could not be made; files saved there will be lost.\n";
            error_log.flush();
        }
    }
    return failed;
}

std::string FOLDERS_log_path(const char* path) { return path ? PLAT_resolve_path(path) : std::string(); }

bool FOLDERS_in_program_folder(const char* text)
{
    const size_t n = strnlen(program_folder, TEXT_SIZE);
    return text && n > 0 && std::strncmp(text, program_folder, n) == 0;
}
