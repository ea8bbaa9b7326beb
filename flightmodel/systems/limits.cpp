// Limits, frame-rate guard and crash of the user's plane.
#include "flightmodel/systems/limits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "core/alert.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_override.h"
#include "flightmodel/step_record.h"
#include "flightmodel/systems.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "links/sound.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "world/landuse_grid.h"

limits_state limits;
float crash_hold_until = 0.0f;

void LIMITS_reset()
{
    limits = limits_state{};
    crash_hold_until = 0.0f;
}
ORVELL_RESET(LIMITS_reset, program);

namespace {

constexpr int CLOUD_OVERCAST = 4;
constexpr float OVERSPEED_MARGIN = 1.1f;
constexpr float CRASH_SPEED_MPS = -7.5f;
constexpr int PLUGIN_EVENT_CRASH = 2;
constexpr int NET_SLOT_MOTION_PLATFORM = 11;
constexpr int SLOW_SECONDS_BEFORE_WARNING = 10;
// The entries of the UI text table that make the low-frame-rate alert.
constexpr int FRAMERATE_ALERT_TEXTS[4] = {408, 512, 517, 521};
// Failure slots broken by the limits.
constexpr int FLAP_SLOTS[2] = {28, 29};
constexpr int OVER_G_SLOTS[2] = {58, 59};
constexpr int OVERSPEED_SLOTS[4] = {138, 140, 142, 144};
// The crash advisories: their first entry in the UI text table and how many
// lines (consecutive entries) each shows.
struct crash_advisory {
    int first_text, lines;
};
constexpr crash_advisory ADVISE_AIRFRAME_ICE{CRASH_TEXT_AIRFRAME_ICE, 3};
constexpr crash_advisory ADVISE_CARBURETTOR_ICE{CRASH_TEXT_CARBURETTOR_ICE, 3};
constexpr crash_advisory ADVISE_VACUUM{CRASH_TEXT_VACUUM, 4};
constexpr crash_advisory ADVISE_OVER_G{CRASH_TEXT_OVER_G, 2};
constexpr crash_advisory ADVISE_OVER_VNE{CRASH_TEXT_OVER_VNE, 2};
constexpr crash_advisory ADVISE_OVER_VFE{CRASH_TEXT_OVER_VFE, 2};

bool role_on(int s) { return s >= 0 && s < NET_SLOT_COUNT && net_slot_enabled[s] != 0; }
bool master_machine_linked() { return role_on(6) || role_on(7) || role_on(8); }

void fail(int slot) { flt[0].failures[slot] = FAILURE_STATE_FAILED; }

bool inside_overcast()
{
    const sim_weather_block& w = sim_weather;
    const float y = flt[0].local_y;
    for (int k = 0; k < CLOUD_LAYERS; ++k)
        if (w.cloud_type[k] == CLOUD_OVERCAST && w.cloud_base_msl_m[k] <= y && y <= w.cloud_tops_msl_m[k]) return true;
    return false;
}

bool water_at(int i, int j)
{
    const int32_t code = landuse_grid[i * TERRAIN_GRID_COLS + j];
    return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B;
}

// The advisories that say what went wrong, each in its own box, drawn from the
// UI text table like every other interface text of the program: the language
// file loaded (the project ships its texts in English) gives the wording.
void explain_crash()
{
    const flt_struct& f = flt[0];
    auto say = [](const crash_advisory& a) {
        const char* line[4] = {"", "", "", ""};
        for (int n = 0; n < a.lines; ++n) line[n] = LANG_ui_text(a.first_text + n);
        MACIBM_nuke_alert(0, line[0], line[1], line[2], line[3], ALERT_NOTICE);
    };
    if (f.frm_ice > 0.0f || f.prop_ice > 0.0f || f.window_ice > 0.0f || f.inlet_ice > 0.0f) say(ADVISE_AIRFRAME_ICE);
    bool carburettor = f.ENGN_crbice[FLT_ENGINES - 1] != 0.0f;
    for (int n = 0; n < FLT_ENGINES - 1; ++n)
        if (f.ENGN_crbice[n] > 0.01f) carburettor = true;
    if (carburettor) say(ADVISE_CARBURETTOR_ICE);
    if (FLT_slot_failed(0, FAIL_SLOT_VACUUM)) say(ADVISE_VACUUM);
    if (f.over_g) say(ADVISE_OVER_G);
    if (f.over_vne) say(ADVISE_OVER_VNE);
    if (f.over_vfe) say(ADVISE_OVER_VFE);
}

// The crash plays for a moment with nothing drawn. The wait lets the system
// see the program alive (a window that takes no events for 4 s is flagged as
// hung) without handling any message.
void crash_wait()
{
    constexpr double NAP_SEC = 0.01;
    // Bounded by naps as well, should the clock stand still.
    constexpr int MOST_NAPS = static_cast<int>(2.0 * CRASH_WAIT_SEC / NAP_SEC);
    const double until = UTIL_seconds() + CRASH_WAIT_SEC;
    for (int nap = 0; nap < MOST_NAPS && UTIL_seconds() < until; ++nap) {
        PLAT_pump_events();
        PLAT_sleep_seconds(NAP_SEC);
    }
}

// An aircraft rolled past its side (its vertical axis pointing below the
// horizon) with a point on the surface lies on its side or back: its wing
// or propeller in the water, or its cabin on the ground. It is wrecked, and
// was counted no crash: a capsized float plane skated on upside down at full
// power, and one that came to rest inverted was logged as a landing.
bool rolled_past_its_side(const flt_struct& f)
{
    return std::cos(f.phi * DEG_TO_RAD_FLOAT) * std::cos(f.theta * DEG_TO_RAD_FLOAT) < 0.0f;
}

}  // namespace

void LIMITS_exceedances()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const sim_operation_prefs_block& prefs = sim_operation_prefs;
    const float ias = f.indicated_airspeed;
    if (!f.over_vne && !f.over_g && prefs.warn_overgforce && (f.g_nrml > a.acf_Gpos || f.g_nrml < -a.acf_Gneg))
        f.over_g = 1;
    if (!f.over_vne && !f.over_g && prefs.warn_overspeed && ias > OVERSPEED_MARGIN * a.acf_Vne) f.over_vne = 1;
    if (!f.over_vle && prefs.warn_overspeed_gear && ias > OVERSPEED_MARGIN * a.acf_Vle &&
        sim_cockpit_switches.gear_handle_status != 0)
        f.over_vle = 1;
    if (!f.over_vfe && prefs.warn_overspeed_flaps && ias > OVERSPEED_MARGIN * a.acf_Vfe && f.flaprqst > 0.01f) {
        f.over_vfe = 1;
        const int k = 1 + static_cast<int>(3.0f * static_cast<float>(UTIL_rand()) / 32768.0f);
        if (k == 1 || k == 3) fail(FLAP_SLOTS[0]);
        if (k == 2 || k == 3) fail(FLAP_SLOTS[1]);
    }
    if (f.over_g)
        for (int s : OVER_G_SLOTS) fail(s);
    if (f.over_vne || f.over_g)
        for (int s : OVERSPEED_SLOTS) fail(s);
}

void LIMITS_frame_rate_guard()
{
    limits_state& s = limits;
    float& ratio = sim_graphics_view.visibility_framerate_ratio;
    // Rests while a menu is open (the frame loop then draws the menu's
    // pull-down on top of the scene).
    if (interval_ticks[INTERVAL_ONE_SECOND] && screen.open_menu == -1 && !inside_overcast()) {
        const float period = sim_operation_misc.frame_rate_period;
        // The longest acceptable frame period (frame_period_goal): the target
        // period of the rendering screen.
        const float frame_period_goal = screen_settings.systems_period;
        if (period <= 0.85f * frame_period_goal) {
            s.slow_seconds = 0;
        } else {
            s.slow_seconds += 1;
            if (ratio > 0.1f && !master_machine_linked()) ratio *= 0.96f;
        }
        if (period < 0.85f * 0.85f * frame_period_goal) {
            s.slow_seconds = 0;
            if (ratio < 0.99f && !master_machine_linked()) ratio *= 1.02f;
        }
    }
    if (s.slow_seconds > SLOW_SECONDS_BEFORE_WARNING && !master_machine_linked() && !role_on(9) &&
        !s.framerate_warned && sim_operation_prefs.warn_framerate_low) {
        s.framerate_warned = 1;
        MACIBM_nuke_alert(0, LANG_ui_text(FRAMERATE_ALERT_TEXTS[0]), LANG_ui_text(FRAMERATE_ALERT_TEXTS[1]),
                          LANG_ui_text(FRAMERATE_ALERT_TEXTS[2]), LANG_ui_text(FRAMERATE_ALERT_TEXTS[3]), ALERT_NOTICE);
    }
}

// The cell words are writable by plug-ins; unchecked, a word outside the
// grid would read past the land-use grid, so they are kept inside it with
// room for the far corner.
bool LIMITS_over_water()
{
    const int i = std::clamp(static_cast<int>(flt[0].i), 0, TERRAIN_GRID_ROWS - 2);
    const int j = std::clamp(static_cast<int>(flt[0].j), 0, TERRAIN_GRID_COLS - 2);
    return water_at(i, j) || water_at(i, j + 1) || water_at(i + 1, j + 1) || water_at(i + 1, j);
}

int LIMITS_crash()
{
    limits_state& s = limits;
    flt_struct& f = flt[0];
    if (!s.crash_speed_set) {
        s.crash_speed_set = true;
        s.crash_vertical_speed = CRASH_SPEED_MPS;
    }
    // A body, a float or a wing laid on the surface is on it as much as a
    // wheel: counted by the main wheels alone, a dive into a hillside that
    // met it with the fuselage was never judged.
    const bool on_surface = f.onground_any != 0 || fm_step.touched;
    if (PLANE_externally_moved(0) || !on_surface) return 0;

    // The speed the plane met the surface with in the frame's steps: by the
    // frame's end the contact has already thrown a hard impact back up, and
    // judged then a dive into a hill at 16 m/s bounced on uncrashed.
    const float impact_vy = std::min(f.local_vy, fm_step.impact_vy_mps);
    bool crash;
    if (rolled_past_its_side(f)) {
        crash = true;
    } else if (impact_vy >= s.crash_vertical_speed) {
        const bool on_water = LIMITS_over_water() && !launch_flags.arrest_engaged && !launch_flags.hook_active &&
                              !airport_surface_valid;
        crash = !on_water && f.local_y < terrain_height_m;
    } else {
        crash = true;
    }
    if (!crash) return 0;

    PLUGIN_call_event_hook(PLUGIN_EVENT_CRASH, frame_clock, 0, 0, 0);
    if (!sim_operation_prefs.reset_on_crash) {
        if (frame_clock >= crash_hold_until) crash_hold_until = frame_clock + 1.0f;
        f.local_vx = f.local_vy = f.local_vz = 0.0f;
        return 1;
    }
    SOUND_start_stop_loops(0);
    SOUND_play(SOUND_CRASH, 0, 1.0f, 1.0f);
    crash_wait();
    explain_crash();
    if (role_on(NET_SLOT_MOTION_PLATFORM)) {
        const int32_t payload[3] = {-990, 0, -999};
        NET_data_send("FIDE", 0, payload, static_cast<int>(sizeof payload), NET_SLOT_MOTION_PLATFORM);
    }
    FLIGHT_restart_after_crash();
    SOUND_start_stop_loops(1);
    return 1;
}

void SYSTEMS_limits_and_crash()
{
    LIMITS_exceedances();
    LIMITS_frame_rate_guard();
    LIMITS_crash();
}
