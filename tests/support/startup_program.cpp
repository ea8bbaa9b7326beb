#include "tests/support/startup_program.h"

#include <SDL2/SDL.h>

#include <cmath>
#include <exception>
#include <filesystem>

#include "core/geo.h"
#include "core/overlay_texts.h"
#include "core/units.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "links/network.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "shell/frame.h"
#include "shell/main.h"

bool program_started = false;
double test_clock_seconds = 0.0;
std::function<void()> test_clock_hook;
int64_t (*test_calendar)() = nullptr;

namespace {
std::string program_path;
double test_clock()
{
    if (test_clock_hook) test_clock_hook();
    return test_clock_seconds;
}
}  // namespace

void use_test_clock() { PLAT_set_clock_source(test_clock, test_calendar); }

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
    chat_typing = 1;   // kept state the start-up puts back
    start_program(*folder);
}

void run_frames_for(double seconds, double period)
{
    const int n = static_cast<int>(seconds / period + 0.5);
    for (int k = 0; k < n; ++k) {
        test_clock_seconds += period;
        MACIBM_do_frame();
    }
}

unseen_frames::unseen_frames() : kept_(frame_loop.seen) { frame_loop.seen = false; }
unseen_frames::~unseen_frames() { frame_loop.seen = kept_; }

void push_key_press(int key, int scan, unsigned mod)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym = SDL_Keysym{static_cast<SDL_Scancode>(scan), key, static_cast<Uint16>(mod), 0};
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    e.key.state = SDL_RELEASED;
    SDL_PushEvent(&e);
}

void started_program_noting_failure::SetUpTestSuite()
{
    failure.clear();
    try {
        started_program::SetUpTestSuite();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    alerts = recorded_alerts;
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
    // A fresh process: the link not started yet (the start-up puts every
    // module's kept state back at rest itself, from the reset registry).
    NET_reset();
    clear_alerts();   // nor the alerts an earlier program in this process raised
    program_started = true;
    APPLICATION_start_up();
}

void stop_program()
{
    MACIBM_quit();
    program_started = false;
    startup_program_path = nullptr;
    PLAT_set_clock_source(nullptr, nullptr);
    PLAT_flush_messages();
}

void close_window_and_quit()
{
    PLAT_post_message(WM_CLOSE, 0, 0);
    APPLICATION_run_frames();   // returns once a frame has taken the close
    stop_program();
}

void started_program::TearDownTestSuite()
{
    stop_program();
    folder.reset();
}

void started_program_in_its_folder::SetUpTestSuite()
{
    folder = copy_default_data_folder();
    kept_cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder->path());
    start_program(*folder);
}

void started_program_in_its_folder::TearDownTestSuite()
{
    stop_program();
    std::filesystem::current_path(kept_cwd);
    folder.reset();
}

void hold_user_plane(const plane_pose& pose)
{
    flt_struct& f = flt[0];
    f.local_x_d = pose.x, f.local_y_d = pose.y, f.local_z_d = pose.z;
    f.local_x = static_cast<float>(pose.x), f.local_y = static_cast<float>(pose.y), f.local_z = static_cast<float>(pose.z);
    GEO_local_to_latlon(f.latitude, f.longitude, f.elevation, pose.x, pose.y, pose.z);
    f.psi = pose.psi, f.theta = pose.theta, f.phi = pose.phi;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.sin_theta = std::sin(f.theta * DEG_TO_RAD_FLOAT), f.cos_theta = std::cos(f.theta * DEG_TO_RAD_FLOAT);
    f.sin_phi = std::sin(f.phi * DEG_TO_RAD_FLOAT), f.cos_phi = std::cos(f.phi * DEG_TO_RAD_FLOAT);
    f.hpath = pose.psi, f.vpath = 0.0f;
    f.track_sin = std::sin(f.hpath * DEG_TO_RAD_FLOAT), f.track_cos = std::cos(f.hpath * DEG_TO_RAD_FLOAT);
    f.alpha = f.beta = 0.0f;
    f.sin_alpha = f.sin_beta = 0.0f, f.cos_alpha = f.cos_beta = 1.0f;
    f.local_vx = f.local_vy = f.local_vz = 0.0f;
    f.local_ax = f.local_ay = f.local_az = 0.0f;
    f.vx_acf_axis = f.vy_acf_axis = f.vz_acf_axis = 0.0f;
    f.vx_air_on_acf = f.vy_air_on_acf = f.vz_air_on_acf = 0.0f;
    f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    f.P_dot = f.Q_dot = f.R_dot = 0.0f;
    f.groundspeed = f.vs = f.ve = 0.0f;
}
