#include "tests/shell/startup_program.h"

#include <SDL2/SDL.h>

#include <filesystem>

#include "links/network.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "shell/main.h"

double test_clock_seconds = 0.0;

namespace {
std::string program_path;
double test_clock() { return test_clock_seconds; }
}  // namespace

void use_test_clock() { PLAT_set_clock_source(test_clock, nullptr); }

std::unique_ptr<temp_folder> copy_default_data_folder(const std::string& leave_out)
{
    namespace fs = std::filesystem;
    auto folder = std::make_unique<temp_folder>();
    const fs::path source(ORVELL_DATA_FOLDER);
    for (const char* part : {"Aircraft", "Airfoils", "Resources", "Custom Scenery"})
        if (fs::exists(source / part)) fs::copy(source / part, folder->path() / part, fs::copy_options::recursive);
    if (!leave_out.empty()) fs::remove(folder->path() / leave_out);
    // Programs start without the plug-in manager unless a test lays it out itself.
    fs::remove_all(folder->path() / "Resources" / "plugins");
    return folder;
}

void started_program::SetUpTestSuite()
{
    folder = copy_default_data_folder();
    folder->write("Aircraft/Interrupted.acf.partial", "half a save");   // the start-up removes it
    start_program(*folder);
}

void start_program(const temp_folder& folder)
{
    program_path = folder.prefix() + "orvell";
    startup_program_path = program_path.c_str();
    test_clock_seconds = 100.0;
    use_test_clock();
    // The video layer unloads the OpenGL library with the last window; holding
    // it keeps the driver loaded while the tests open and close programs.
    static const bool gl_library_held = PLAT_video_init() && SDL_GL_LoadLibrary(nullptr) == 0;
    (void)gl_library_held;
    PLAT_destroy_window();   // a window another test left open: the program opens its own
    PLAT_flush_messages();
    NET_reset();   // a fresh process: the link has not started yet
    APPLICATION_start_up();
}

void stop_program()
{
    MACIBM_quit();
    startup_program_path = nullptr;
    PLAT_set_clock_source(nullptr, nullptr);
    PLAT_flush_messages();
}

void started_program::TearDownTestSuite()
{
    stop_program();
    folder.reset();
}
