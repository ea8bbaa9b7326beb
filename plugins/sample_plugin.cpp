// A sample plug-in: a menu "Sample" with one item that shows or hides a dark
// box with the indicated airspeed, drawn before the 2-D overlay of the flying
// view. The airspeed is read by its published name.
#include <cstring>

#include "plugins/orvell_plugin.h"

#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int PHASE_OVERLAY_BEFORE = 17;

struct sample_state {
    const ORPM_plugin_services* services = nullptr;
    const ORPM_data_ref* airspeed = nullptr;
    int menu = -1;
    int command = 0;
    bool shown = true;
};
sample_state sample;

}   // namespace

// The box's corners, interface units: left, top, right, bottom. It sits at
// the right of the view, below the data rows and the spoken text along the
// top, right of the checklist and clear of the ATC window's request list.
SAMPLE_EXPORT const int ORSampleBox[4] = {842, 640, 1002, 610};

SAMPLE_EXPORT int ORPluginStart(const ORPM_plugin_services* services)
{
    if (services == nullptr || services->host == nullptr) return 0;
    sample = sample_state{};
    sample.services = services;
    sample.airspeed = services->find_data("sim/flightmodel/position/indicated_airspeed");
    ORPM_host_table* host = services->host;
    char title[] = "Sample";
    char item[] = "Airspeed box";
    sample.menu = host->create_menu(0, 0, title);
    if (sample.menu >= 0) sample.command = host->append_menu_item(sample.menu, 0, item, 1);
    return 1;
}

SAMPLE_EXPORT void ORPluginStop()
{
    if (sample.services && sample.menu >= 0) sample.services->host->destroy_menu(sample.menu);
    sample = sample_state{};
}

SAMPLE_EXPORT int ORPluginDraw(int phase)
{
    if (phase != PHASE_OVERLAY_BEFORE || !sample.shown || sample.services == nullptr) return 1;
    ORPM_host_table* host = sample.services->host;
    const int* b = ORSampleBox;
    host->draw_dark_box(b[0], b[1], b[2], b[3]);
    float white[3] = {1.0f, 1.0f, 1.0f};
    char label[] = "IAS";
    host->draw_string(white, b[0] + 8, b[3] + 10, label, nullptr, 0);
    const float kias = sample.airspeed && sample.airspeed->get_float
                           ? sample.airspeed->get_float(sample.airspeed->read_context)
                           : 0.0f;
    host->draw_number(white, b[0] + 60, b[3] + 10, kias, 4, 0, 0, 0);
    return 1;
}

SAMPLE_EXPORT int ORPluginMenu(int command)
{
    if (sample.command == 0 || command != sample.command) return 1;
    sample.shown = !sample.shown;
    return 0;
}

SAMPLE_EXPORT int ORPluginCheckMenu(int menu, int item, int* check_state)
{
    if (menu != sample.menu || item != 0 || check_state == nullptr) return 1;
    *check_state = sample.shown ? 1 : 0;
    return 0;
}
