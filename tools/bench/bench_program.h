// The program started once for a whole benchmark run: on a copy of the
// generated default data folder (the folder the benchmark lies in, beside
// the program), on the offscreen OpenGL context, past the intro picture into
// the flying mode; shut down and its copy removed at the end of the run.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/alert.h"
#include "core/input.h"
#include "core/simvars/graphics.h"
#include "scene/camera.h"
#include "scene/scene_driver.h"
#include "scene/scene_state.h"
#include "scene/sky_light.h"
#include "scene/view_setup.h"
#include "tests/scene/pass_to_view.h"
#include "shell/frame.h"
#include "shell/main.h"
#include "shell/modes.h"

namespace bench {

// The benchmark's name, for its alerts and the copy's folder.
inline const char*& program_name()
{
    static const char* name = "bench";
    return name;
}

// A notice goes to the error stream and the start goes on; a fatal alert ends the run.
inline void report_alert(int, const char* const lines[4], int code)
{
    std::fprintf(stderr, "%s: alert %d: %s | %s | %s | %s\n", program_name(), code, lines[0], lines[1], lines[2],
                 lines[3]);
    if (code == ALERT_FATAL) std::_Exit(1);
}

class started_program {
public:
    // `failure` is empty when the program started and painted its window.
    std::string failure;

    explicit started_program(const char* name)
    {
        namespace fs = std::filesystem;
        program_name() = name;
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        std::error_code ec;
        const fs::path data = fs::read_symlink("/proc/self/exe", ec).parent_path();
        if (ec || !fs::exists(data / "Resources")) {
            failure = "no generated data folder beside the benchmark";
            return;
        }
        folder_ = fs::temp_directory_path() / ("orvell-" + std::string(name) + "-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        for (const char* part : {"Aircraft", "Airfoils", "Resources", "Custom Scenery"})
            if (fs::exists(data / part)) fs::copy(data / part, folder_ / part, fs::copy_options::recursive, ec);
        // The log files are written in the current folder.
        if (ec || chdir(folder_.c_str()) != 0) {
            failure = "could not copy or enter the data folder";
            return;
        }
        MACIBM_set_alert_handler(report_alert);
        program_path_ = (folder_ / "orvell").string();
        startup_program_path = program_path_.c_str();
        APPLICATION_start_up();
        // The first frames leave the intro picture and take the first paint.
        for (int i = 0; i < 50 && (window_painted == 0 || app_mode == MODE_INTRO); ++i) MACIBM_do_frame();
        if (app_mode != MODE_FLYING) APPLICATION_set_mode(MODE_FLYING, "ready to go");
        if (window_painted == 0) failure = "the window was never painted";
    }

    ~started_program()
    {
        MACIBM_quit();
        startup_program_path = nullptr;
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

    started_program(const started_program&) = delete;
    started_program& operator=(const started_program&) = delete;

private:
    std::filesystem::path folder_;
    std::string program_path_;
};

// The world view of one scene pass, as the pass sets it up before its drawers
// run (the whole pass first, so every input of the set-up is current; the
// whole pass ends in the 2-D projection).
inline void world_view()
{
    SCENE_draw_3d();
    scene_pass_to_view();
}

}  // namespace bench
