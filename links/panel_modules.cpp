// Panel modules: the maker's library loaded once, the forwarders into it, and
// the per-frame exchange of frequencies, switches, levers and lamps.
#include "links/panel_modules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/key_slots.h"
#include "core/screen.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/joystick.h"
#include "core/simvars/screen_settings.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/radio_tuning.h"
#include "platform/plat_dl.h"

GFDEV_entry_table gfdev_table;
panel_module_state panel_modules;

const char* const gfdev_entry_names[GFDEV_ENTRIES] = {
    "GFDev_Init", "GFDev_Terminate", "GFDev_RegisterInputCallback", "GFDev_UnregisterInputCallback",
    "GFDev_RegisterWakeupCallback", "GFDev_UnregisterWakeupCallback", "GFDev_RegisterConnectCallback",
    "GFDev_UnregisterConnectCallback",
    "GF45_GetNumDevices", "GF45_GetDialVals", "GF45_SetAlpha", "GF45_SetAlphaSegments", "GF45_SetNumeric",
    "GF45_SetNumericSegments", "GF45_SetBrightness",
    "GFP8_GetNumDevices", "GFP8_GetSwitchVals", "GFP8_GetIndicators", "GFP8_SetIndicators", "GFP8_GetBrightness",
    "GFP8_SetBrightness",
    "GFT8_GetNumDevices", "GFT8_GetSwitchVals", "GFT8_GetIndicators", "GFT8_SetIndicators", "GFT8_GetBrightness",
    "GFT8_SetBrightness",
    "GFLGT_GetNumDevices", "GFLGT_GetControlVals", "GFLGT_GetIndicators", "GFLGT_SetIndicators",
    "GFLGT_GetBrightness", "GFLGT_SetBrightness",
    "GF166_GetNumDevices", "GF166_GetControlVals", "GF166_GetIndicators", "GF166_SetIndicators",
    "GF166_SetLDisplayText", "GF166_SetLDisplaySegments", "GF166_SetRDisplayText", "GF166_SetRDisplaySegments",
    "GF166_GetBrightness", "GF166_SetBrightness",
};

namespace {

// Places of the entries the program calls.
enum entry_index : int {
    E_INIT = 0, E_TERMINATE = 1,
    E_GF45_COUNT = 8, E_GF45_DIALS = 9, E_GF45_ALPHA = 10, E_GF45_NUMERIC = 12,
    E_P8_COUNT = 15, E_P8_SWITCHES = 16, E_P8_SET_LAMPS = 18,
    E_T8_COUNT = 21, E_T8_SWITCHES = 22, E_T8_SET_LAMPS = 24,
    E_LGT_COUNT = 27, E_LGT_CONTROLS = 28, E_LGT_SET_LAMPS = 30,
};

constexpr int KEY_MODIFIER_COMMAND = 2;
// The maker's library "GFDev.dll" in this platform's form of a shared library.
constexpr const char* LIBRARY_NAME = "GFDev.so";

std::string library_path_override;

template <class F>
F entry(int i)
{
    return reinterpret_cast<F>(gfdev_table.entries[i]);
}

int count_of(int (*forwarder)(), int most) { return std::clamp(forwarder() & 0xFFFF, 0, most); }

int32_t* radio_word(int unit)
{
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    int32_t* words[GFDEV_RADIO_UNITS] = {&r.nav1_freq_hz, &r.nav2_freq_hz, &r.com1_freq_hz, &r.com2_freq_hz};
    return words[unit];
}

void radio_units()
{
    static const char* const labels[GFDEV_RADIO_UNITS] = {"NAV1", "NAV2", "COM1", "COM2"};
    for (int u = 0; u < panel_modules.radio_units; ++u) {
        int16_t outer = 0, inner = 0;
        GF45_GetDialVals(u, &outer, &inner);
        int32_t* freq = radio_word(u);
        const bool com = u >= 2;
        // The tuners take a step of 0 as a step up: handed the idle inner dial
        // every frame, they would climb the frequency frame after frame. An
        // inner count of 0 is not passed on.
        // An inner click moves one channel (.02 or .03 MHz) like every radio knob, not 0.05 MHz, which would skip channels.
        if (com) {
            PANEL_tune_com_digit(freq, outer, 1);
            if (inner != 0) PANEL_tune_com_digit(freq, inner * 5, 2);
        } else {
            PANEL_tune_freq_digit(freq, outer, 1);
            if (inner != 0) PANEL_tune_freq_digit(freq, inner * 5, 2);
        }
        // The whole MHz in decimal, a point, the hundredths as two digits. A
        // frequency word outside 0..99999 (a plug-in or a peer may write it)
        // would make a text longer than the display's six characters, or one
        // with minus signs: the word is held to 0..99999 for the text.
        const int v = std::clamp(*freq, 0, 99999);
        char numeric[7];
        std::snprintf(numeric, sizeof numeric, "%d.%02d", v / 100, v % 100);
        char* last_alpha = panel_modules.last_alpha[u];
        char* last_numeric = panel_modules.last_numeric[u];
        if (std::strncmp(last_alpha, labels[u], 4) != 0) {
            GF45_SetAlpha(u, labels[u]);
            std::snprintf(last_alpha, 5, "%s", labels[u]);
        }
        if (std::strncmp(last_numeric, numeric, 6) != 0) {
            GF45_SetNumeric(u, numeric);
            std::snprintf(last_numeric, 7, "%s", numeric);
        }
    }
}

void switch_panels()
{
    int32_t* buttons = sim_joystick.joystick_button_values;
    struct panel_kind {
        int units;
        int (*read)(int, uint8_t*);
        int (*lamps)(int, uint8_t);
        int first_button;
    };
    const panel_kind kinds[2] = {{panel_modules.p8_units, GFP8_GetSwitchVals, GFP8_SetIndicators, 88},
                                 {panel_modules.t8_units, GFT8_GetSwitchVals, GFT8_SetIndicators, 80}};
    for (const panel_kind& k : kinds) {
        if (k.units < 1) continue;
        uint8_t switches = 0;
        k.read(0, &switches);
        k.lamps(0, switches);
        for (int bit = 0; bit < 8; ++bit)
            if (switches & (1u << bit)) buttons[k.first_button + bit] = 1;
    }
}

void gear_units()
{
    const float* deploy = pln[0].acf_gear_deploy;
    const int32_t& handle = sim_cockpit_switches.gear_handle_status;
    for (int u = 0; u < panel_modules.gear_units; ++u) {
        int16_t wheel = 0;
        uint8_t switches = 0;
        GFLGT_GetControlVals(u, &wheel, &switches);
        if (wheel > 0) CORE_panel_trim_wheels(20, 0);
        if (wheel < 0) CORE_panel_trim_wheels(21, 0);

        const int flap = (switches & 0x02) ? 1 : ((switches & 0x04) ? -1 : 0);
        if (flap != panel_modules.flap_lever) {
            if (flap == -1) CORE_run_key_slot(KEY_MODIFIER_COMMAND, KEY_SLOT_FLAPS_UP);
            if (flap == 1) CORE_run_key_slot(KEY_MODIFIER_COMMAND, KEY_SLOT_FLAPS_DOWN);
        }
        const bool lever_up = (switches & 0x01) != 0;
        if (lever_up != panel_modules.gear_lever_up) {
            if (lever_up == (handle != 0)) CORE_run_key_slot(KEY_MODIFIER_COMMAND, KEY_SLOT_GEAR);
        }
        // The lamps read the handle as the lever's key has just left it.
        const bool handle_down = handle != 0;

        constexpr uint8_t green[3] = {0x80, 0x20, 0x08};
        constexpr uint8_t red[3] = {0x40, 0x10, 0x04};
        uint8_t lamps = 0;
        for (int leg = 0; leg < 3; ++leg) {
            const float d = deploy[FLT_FIRST_GEAR_PART + leg];
            if (handle_down)
                lamps |= d > 0.99f ? green[leg] : red[leg];
            else if (d >= 0.01f)
                lamps |= red[leg];
        }
        GFLGT_SetIndicators(u, lamps);
        panel_modules.flap_lever = flap;
        panel_modules.gear_lever_up = lever_up;
    }
}

void initial_texts()
{
    for (int u = 0; u < GFDEV_RADIO_UNITS; ++u) {
        std::snprintf(panel_modules.last_alpha[u], 5, "----");
        std::snprintf(panel_modules.last_numeric[u], 7, "---.--");
    }
}

}  // namespace

void GFDEV_reset()
{
    if (gfdev_table.library) GFDEV_unload();
    gfdev_table = GFDEV_entry_table{};
    panel_modules = panel_module_state{};
    initial_texts();
}

void GFDEV_set_library_path(const std::string& path) { library_path_override = path; }

std::string GFDEV_library_path()
{
    if (!library_path_override.empty()) return library_path_override;
    return std::string(program_folder) + LIBRARY_NAME;
}

int GFDEV_load(void* window)
{
    // Every system this program runs on can host the library: the version
    // test (result 9) has no meaning here, and only a missing library fails (10).
    void* lib = PLAT_dl_open(GFDEV_library_path().c_str());
    if (!lib) return GFDEV_NO_LIBRARY;
    gfdev_table.library = lib;
    for (int i = 0; i < GFDEV_ENTRIES; ++i) gfdev_table.entries[i] = PLAT_dl_symbol(lib, gfdev_entry_names[i]);
    const auto init = entry<gfdev_init_fn>(E_INIT);
    return init ? init(window) : GFDEV_NO_ENTRY;
}

int GFDEV_unload()
{
    int result = 0;
    if (const auto terminate = entry<gfdev_terminate_fn>(E_TERMINATE)) result = terminate();
    std::fill(std::begin(gfdev_table.entries), std::end(gfdev_table.entries), nullptr);
    if (gfdev_table.library) PLAT_dl_close(gfdev_table.library);
    gfdev_table.library = nullptr;
    return result;
}

int GF45_GetNumDevices() { auto f = entry<gfdev_count_fn>(E_GF45_COUNT); return f ? f() : 0; }
int GF45_GetDialVals(int u, int16_t* o, int16_t* i) { auto f = entry<gf45_dials_fn>(E_GF45_DIALS); return f ? f(u, o, i) : GFDEV_NO_ENTRY; }
int GF45_SetAlpha(int u, const char* t) { auto f = entry<gf45_text_fn>(E_GF45_ALPHA); return f ? f(u, t) : GFDEV_NO_ENTRY; }
int GF45_SetNumeric(int u, const char* t) { auto f = entry<gf45_text_fn>(E_GF45_NUMERIC); return f ? f(u, t) : GFDEV_NO_ENTRY; }
int GFP8_GetNumDevices() { auto f = entry<gfdev_count_fn>(E_P8_COUNT); return f ? f() : 0; }
int GFP8_GetSwitchVals(int u, uint8_t* s) { auto f = entry<gf8_switches_fn>(E_P8_SWITCHES); return f ? f(u, s) : GFDEV_NO_ENTRY; }
int GFP8_SetIndicators(int u, uint8_t l) { auto f = entry<gf8_lamps_fn>(E_P8_SET_LAMPS); return f ? f(u, l) : GFDEV_NO_ENTRY; }
int GFT8_GetNumDevices() { auto f = entry<gfdev_count_fn>(E_T8_COUNT); return f ? f() : 0; }
int GFT8_GetSwitchVals(int u, uint8_t* s) { auto f = entry<gf8_switches_fn>(E_T8_SWITCHES); return f ? f(u, s) : GFDEV_NO_ENTRY; }
int GFT8_SetIndicators(int u, uint8_t l) { auto f = entry<gf8_lamps_fn>(E_T8_SET_LAMPS); return f ? f(u, l) : GFDEV_NO_ENTRY; }
int GFLGT_GetNumDevices() { auto f = entry<gfdev_count_fn>(E_LGT_COUNT); return f ? f() : 0; }
int GFLGT_GetControlVals(int u, int16_t* w, uint8_t* s) { auto f = entry<gflgt_controls_fn>(E_LGT_CONTROLS); return f ? f(u, w, s) : GFDEV_NO_ENTRY; }
int GFLGT_SetIndicators(int u, uint8_t l) { auto f = entry<gf8_lamps_fn>(E_LGT_SET_LAMPS); return f ? f(u, l) : GFDEV_NO_ENTRY; }

void GFDEV_open()
{
    if (!screen_settings.eq_gf_panels || panel_modules.tried) return;
    panel_modules.tried = true;
    initial_texts();
    if ((GFDEV_load(screen.system_window) & 0xFF) != 0) return;
    panel_modules.radio_units = count_of(GF45_GetNumDevices, GFDEV_RADIO_UNITS);
    panel_modules.p8_units = count_of(GFP8_GetNumDevices, 1);
    panel_modules.t8_units = count_of(GFT8_GetNumDevices, 1);
    panel_modules.gear_units = count_of(GFLGT_GetNumDevices, 1);
    for (int u = 0; u < panel_modules.radio_units; ++u) {
        GF45_SetAlpha(u, "ORVL");
        GF45_SetNumeric(u, "000.00");
    }
    if (panel_modules.p8_units) GFP8_SetIndicators(0, 255);
    if (panel_modules.t8_units) GFT8_SetIndicators(0, 255);
    if (panel_modules.gear_units) GFLGT_SetIndicators(0, 168);
}

// Called while the panels are set fitted; a library that did not load leaves
// every count 0, so nothing is exchanged (the test below only spares the calls).
void GFDEV_exchange()
{
    if (!gfdev_table.library) return;
    radio_units();
    switch_panels();
    gear_units();
}

void GFDEV_shutdown()
{
    if (!screen_settings.eq_gf_panels) return;
    for (int u = 0; u < panel_modules.radio_units; ++u) {
        GF45_SetAlpha(u, "    ");
        GF45_SetNumeric(u, "      ");
    }
    if (panel_modules.p8_units) GFP8_SetIndicators(0, 0);
    if (panel_modules.t8_units) GFT8_SetIndicators(0, 0);
    for (int u = 0; u < panel_modules.gear_units; ++u) GFLGT_SetIndicators(u, 0);
    if (gfdev_table.library) GFDEV_unload();
}
