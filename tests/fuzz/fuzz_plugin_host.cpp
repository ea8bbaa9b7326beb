// The host calls a plug-in makes: the input plays a plug-in calling the host
// table's entries, the table the program hands its plug-in manager, with
// arguments of its own choosing, in the flying view with the program's own
// dispatchers in place. The plug-in's buffers are as large as the calls ask.
//
// Input: a run of calls, each a byte choosing the entry, then its arguments
// (numbers as four bytes, least significant first; texts as a length byte
// and that many bytes).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <GL/gl.h>
#include <vector>

#include "core/app_mode.h"
#include "core/menu_table.h"
#include "core/reset_registry.h"
#include "flightmodel/systems/flight_plan.h"
#include "graphics/ogl_state.h"
#include "links/plugin_host.h"
#include "shell/main.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int OUT_TEXT = 1024;      // the plug-in's text buffers
constexpr int MOST_IDS = 256;       // texture numbers asked for at once
constexpr int MOST_COMMANDS = 16;   // commands of one button call

// Scratch the calls write into.
struct outputs {
    int i[8];
    float f[8];
    double d[3];
    char t[3][OUT_TEXT];
};

// The calls that rebuild the airport scene (choosing an airport, setting a
// situation up, reloading the scenery) take the most time of all: one a run.
int scene_builds = 0;
bool builds_scene(int slot) { return slot == 18 || slot == 32 || slot == 33; }

void call(fuzz_input& in, const ORPM_host_table& h)
{
    outputs o{};
    const int slot = in.byte() % ORPM_HOST_SLOTS;
    if (builds_scene(slot) && scene_builds++ > 0) return;
    switch (slot) {
    case 0: h.get_screen_size(&o.i[0], &o.i[1]); break;
    case 1: h.get_mouse(&o.i[0], &o.i[1], in.integer()); break;
    case 2: {
        int a[7];
        for (int& v : a) v = in.integer();
        h.set_graphics_state(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        break;
    }
    case 3: {
        const int texture = in.integer();
        h.bind_texture(texture, in.integer());
        break;
    }
    case 4: {
        const int count = std::clamp(in.integer(), -1, MOST_IDS);
        std::vector<int> ids(static_cast<size_t>(std::max(count, 1)));
        h.gen_tex_ids(ids.data(), count);
        break;
    }
    case 5: h.get_texture(in.integer()); break;
    case 6: {
        const double lat = in.number(), lon = in.number();
        h.world_to_local(lat, lon, in.number(), &o.d[0], &o.d[1], &o.d[2]);
        break;
    }
    case 7: {
        const double x = in.number(), y = in.number();
        h.local_to_world(x, y, in.number(), &o.d[0], &o.d[1], &o.d[2]);
        break;
    }
    case 8: {
        int a[4];
        for (int& v : a) v = in.integer();
        h.draw_dark_box(a[0], a[1], a[2], a[3]);
        break;
    }
    case 9: {
        float rgb[3] = {in.real(), in.real(), in.real()};
        const int x = in.integer(), y = in.integer();
        int wrap = in.integer();
        std::string text = in.text();
        const int font = in.integer();
        h.draw_string(rgb, x, y, text.data(), (font & 0x100) ? nullptr : &wrap, font & ~0x100);
        break;
    }
    case 10: {
        float rgb[3] = {in.real(), in.real(), in.real()};
        const int x = in.integer(), y = in.integer();
        const double value = in.number();
        const int digits = in.integer(), decimals = in.integer(), sign = in.integer();
        h.draw_number(rgb, x, y, value, digits, decimals, sign, in.integer());
        break;
    }
    case 11: h.get_font_dims(in.integer(), &o.i[0], &o.i[1], &o.i[2]); break;
    case 12: h.get_elapsed_time(); break;
    case 13: h.read_camera(&o.f[0], &o.f[1], &o.f[2], &o.f[3], &o.f[4], &o.f[5], &o.f[6]); break;
    case 14: {
        const int plane = in.integer();
        float v[6];
        for (float& x : v) x = in.real();
        const int full = in.integer();
        ORPM_draw_info info{};
        info.size = in.integer();
        float* fields = &info.gear_deploy;
        for (int k = 0; k < 10; ++k) fields[k] = in.real();
        h.draw_aircraft(plane, v[0], v[1], v[2], v[3], v[4], v[5], full, (full & 2) ? nullptr : &info);
        break;
    }
    case 15: {
        const int plane = in.integer();
        std::string path = in.text(), name = in.text();
        h.set_aircraft(plane, path.data(), name.data());
        break;
    }
    case 16: h.get_aircraft(in.integer(), o.t[0], o.t[1]); break;
    case 17: h.count_aircraft(); break;
    case 18: {
        std::string id = in.text();
        h.select_airport(id.data());
        break;
    }
    case 19: {
        const int modifiers = in.integer();
        h.simulate_key(modifiers, in.integer());
        break;
    }
    case 20: {
        std::string text = in.text();
        h.speak(text.data());
        break;
    }
    case 21: h.command_key(in.integer()); break;
    case 22: {
        int commands[MOST_COMMANDS + 1] = {};
        const int n = in.byte() % (MOST_COMMANDS + 1);
        for (int k = 0; k < n; ++k) commands[k] = in.integer();
        const int up = in.integer();
        h.command_button(commands, up, in.integer());
        break;
    }
    case 23: h.get_system_path(o.t[0]); break;
    case 24: h.get_prefs_path(o.t[0]); break;
    case 25: h.get_versions(&o.i[0], &o.i[1]); break;
    case 26: h.get_language(); break;
    case 27: {
        std::string text = in.text();
        h.debug_string(text.data());
        break;
    }
    case 28: {
        const int menu = in.integer(), item = in.integer();
        std::string title = in.text();
        h.create_menu(menu, item, title.data());
        break;
    }
    case 29:
    case 30: {
        const int menu = in.integer(), item = in.integer();
        std::string text = in.text();
        (slot == 29 ? h.append_menu_item(menu, item, text.data(), in.integer())
                    : (h.set_menu_item(menu, item, text.data(), in.integer()), 0));
        break;
    }
    case 31: h.destroy_menu(in.integer()); break;
    case 32: {
        const int code = in.integer();
        h.set_situation(code, in.integer());
        break;
    }
    case 33: h.reload_scenery(); break;
    case 34: h.nav_first(); break;
    case 35: h.nav_next(in.integer()); break;
    case 36: h.nav_first_of_type(in.integer()); break;
    case 37: h.nav_last_of_type(in.integer()); break;
    case 38: {
        std::string name = in.text(), id = in.text();
        const int types = in.integer();
        h.nav_find((types & 1) ? nullptr : name.data(), (types & 2) ? nullptr : id.data(), &o.f[0], &o.f[1],
                   &o.i[0], types >> 2);
        break;
    }
    case 39:
        h.nav_info(in.integer(), &o.i[0], &o.f[0], &o.f[1], &o.f[2], &o.i[1], &o.f[3], o.t[0], o.t[1], o.t[2]);
        break;
    case 40: h.fms_count(); break;
    case 41: h.fms_get_displayed(); break;
    case 42: h.fms_get_destination(); break;
    case 43: h.fms_set_displayed(in.integer()); break;
    case 44: h.fms_set_destination(in.integer()); break;
    case 45: h.fms_get_entry(in.integer(), &o.i[0], o.t[0], &o.i[1], &o.i[2], &o.f[0], &o.f[1]); break;
    case 46: {
        const int entry = in.integer(), reference = in.integer();
        h.fms_set_entry(entry, reference, in.integer());
        break;
    }
    case 47: {
        const int entry = in.integer();
        const float lat = in.real(), lon = in.real();
        h.fms_set_entry_latlon(entry, lat, lon, in.integer());
        break;
    }
    case 48: h.fms_clear_entry(in.integer()); break;
    case 49: h.gps_dest_type(); break;
    default: h.gps_dest(); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const bool ready = [] {
        APPLICATION_install_hooks();
        PLUGIN_fill_host_table();
        return true;
    }();
    (void)ready;
    RESET_all();
    for (int m = MENU_FIRST_PLUGIN; m < MENU_COUNT; ++m) menu_table[m] = menu_record{};
    fms_plan = fms_plan_record{};
    app_mode = MODE_FLYING;
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    fuzz_input in{data, size};
    scene_builds = 0;
    try {
        while (in.more()) call(in, PLUGIN_host_table);
    } catch (const fuzz_fatal_alert&) {
    }
    glFinish();   // the drawing done within the input, its buffers freed
    return 0;
}
