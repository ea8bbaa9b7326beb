#include "tests/support/modes_harness.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/net_slots.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "platform/plat_window.h"
#include "core/alert.h"
#include "shell/alert_box.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "shell/display.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "graphics/glprobe.h"
#include "core/input.h"
#include "shell/lang.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "tests/support/machine.h"

namespace {

std::function<void()> frame_action;
double fake_time = 0.0;
int frame_count = 0;

double scripted_clock()
{
    fake_time += 0.02;
    ++frame_count;
    if (frame_action) frame_action();
    return fake_time;
}

}  // namespace

bool harness_window()
{
    screen.window_width = 1024;
    screen.window_height = 768;
    screen.colour_depth = 32;
    screen.full_screen = 0;
    DISPLAY_set_ui_mapping();
    if (!PLAT_window_exists()) {
        // Made here, or again when a test before this one closed it.
        if (!OGL_create_window()) return false;
        OGL_probe_capabilities();
    }
    static const bool filled = [] {
        CONST_fill_constants();
        OGL_init_image_blocks();
        return true;
    }();
    (void)filled;
    OGL_fill_default_colors();
    return true;
}

struct harness_program_folder::saved_folders {
    char texts[5][TEXT_SIZE];
    char table[FOLDER_COUNT][TEXT_SIZE];
};

namespace {
char* const folder_texts[5] = {program_folder, pref_path_resolution, pref_path_general, pref_path_pilot,
                               file_list_folder};
}

harness_program_folder::harness_program_folder(const std::string& folder) : saved_(new saved_folders)
{
    for (int i = 0; i < 5; ++i) std::memcpy(saved_->texts[i], folder_texts[i], TEXT_SIZE);
    std::memcpy(saved_->table, folder_table, sizeof folder_table);
    FOLDERS_init_from((folder + "/orvell").c_str());
}

harness_program_folder::~harness_program_folder()
{
    for (int i = 0; i < 5; ++i) std::memcpy(folder_texts[i], saved_->texts[i], TEXT_SIZE);
    std::memcpy(folder_table, saved_->table, sizeof folder_table);
    delete saved_;
}

namespace {
alert_handler_fn saved_handler = nullptr;
}

void harness_test::on_frame(std::function<void()> action) { frame_action = std::move(action); }
int harness_test::frames() { return frame_count; }

void post_key(int virtual_key)
{
    PLAT_post_message(WM_KEYDOWN, static_cast<uintptr_t>(virtual_key), 0);
    PLAT_post_message(WM_KEYUP, static_cast<uintptr_t>(virtual_key), 0);
}

intptr_t window_pointer_at(float x, float y)
{
    const float px = (x + screen.ui_side_margin) * screen.ui_scale;
    const float py = static_cast<float>(screen.window_height) - y * screen.ui_scale;
    return static_cast<intptr_t>(static_cast<int>(px) & 0xFFFF) | (static_cast<intptr_t>(static_cast<int>(py) & 0xFFFF) << 16);
}

namespace {
// The window position of a point of the open screen's work area, packed as a mouse message carries it.
intptr_t ui_point(float ui_x, float ui_y)
{
    return window_pointer_at(ui_x + screen.screen_area_left, ui_y + screen.screen_area_bottom);
}

void click_over_frames_at(intptr_t lparam, void (*frame)())
{
    PLAT_post_message(WM_MOUSEMOVE, 0, lparam);
    PLAT_post_message(WM_LBUTTONDOWN, 0, lparam);
    frame();
    PLAT_post_message(WM_LBUTTONUP, 0, lparam);
    frame();
}
}  // namespace

void post_click(float ui_x, float ui_y)
{
    const intptr_t lparam = ui_point(ui_x, ui_y);
    PLAT_post_message(WM_MOUSEMOVE, 0, lparam);
    PLAT_post_message(WM_LBUTTONDOWN, 0, lparam);
    PLAT_post_message(WM_LBUTTONUP, 0, lparam);
}

void click_over_frames(float ui_x, float ui_y, void (*frame)()) { click_over_frames_at(ui_point(ui_x, ui_y), frame); }

std::function<void()> press_return_in(int mode, int* seen)
{
    return [mode, seen, posted = false]() mutable {
        if (app_mode != mode) posted = false;
        if (app_mode != mode || posted) return;
        posted = true;
        if (seen) ++*seen;
        post_key(VK_RETURN);
    };
}

std::string current_screen()
{
    char s[TEXT_SIZE + 64];
    std::snprintf(s, sizeof s, "%d %gx%g+%g+%g %s", app_mode, screen.screen_area_width, screen.screen_area_height,
                  screen.screen_area_left, screen.screen_area_bottom, screen.screen_title);
    return s;
}

void harness_test::SetUp()
{
    RESET_all();
    MACHINE_NEEDS(harness_window(), "OpenGL context");
    saved_handler = MACIBM_get_alert_handler();
    MACIBM_set_alert_handler(nullptr);
    PLAT_flush_messages();
    frame_action = nullptr;
    frame_count = 0;
    gl_ready = window_painted = 1;
    // No network roles: an operator station would turn every flying mode into its map.
    std::fill(std::begin(net_slot_enabled), std::end(net_slot_enabled), 0);
    quit_flag = 0;
    PLAT_set_clock_source(scripted_clock, nullptr);
    folder = std::make_unique<harness_program_folder>(dir.path().string());
    error_log.close();
    error_log.clear();
    error_log.open(dir.path() / "ERROR.OUT");
    for (int n : {352, 358, 600, 601, 602, 606}) std::snprintf(ui_text_table[n], TEXT_SIZE, "Text %d", n);
    sim_operation_prefs_misc.language = 0;
    // Every slot names an aircraft already, so switching modes loads none.
    for (acf_struct& a : pln) {
        std::snprintf(a.acf_file_path, ACF_TEXT_SIZE, "AIRCRAFT:TEST.ACF");
        std::snprintf(a.acf_file_name, ACF_TEXT_SIZE, "TEST.ACF");
    }
    APPLICATION_set_mode(5, "test");
}

void harness_test::TearDown()
{
    if (IsSkipped()) return;
    error_log.close();
    folder.reset();
    PLAT_set_clock_source(nullptr, nullptr);
    frame_action = nullptr;
    PLAT_flush_messages();
    gl_ready = 0;
    MACIBM_set_alert_handler(saved_handler);
    screen.open_menu = -1;
    app_mode = 0;
}
