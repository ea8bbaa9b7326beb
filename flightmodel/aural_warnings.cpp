#include "flightmodel/aural_warnings.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/sound.h"
#include "links/speech.h"
#include "flightmodel/systems/instrument_power.h"
#include "world/airport_state.h"
#include "world/atc.h"
#include "world/navdb.h"

aural_state_record aural_state{};

// Kept from one start to the next: the edges follow the loops still playing
// (the horn, rain, hail), which a start does not stop; put back, a horn
// sounding at the start would never be stopped.
ORVELL_RESET_RECORD(AURAL_reset, aural_state, program);

namespace {

constexpr int CHATTER_SAMPLES = 50;
constexpr float CALLOUT_FT[AURAL_CALLOUTS] = {1000, 500, 400, 300, 200, 100, 50, 40, 30, 20, 10};

bool tick(int interval) { return interval_ticks[interval] != 0; }

void play_once(int slot) { SOUND_play(slot, 0, 1.0f, 1.0f); }

void precipitation()
{
    if (!tick(INTERVAL_TENTH_SECOND)) return;
    const float level[2] = {sim_weather.precip_rain, sim_weather.precip_hail};
    const int slot[2] = {SOUND_RAIN, SOUND_HAIL};
    for (int k = 0; k < 2; ++k) {
        const int32_t on = level[k] > 0.01f ? 1 : 0;
        if (on == aural_state.precip_prev[k]) continue;
        if (on)
            SOUND_play(slot[k], 1, 1.0f, 0.0f);
        else
            SOUND_stop(slot[k]);
        aural_state.precip_prev[k] = on;
    }
}

void marker_beacons(const flt_struct& f)
{
    sim_cockpit_misc_block& m = sim_cockpit_misc;
    m.outer_marker_lit = m.middle_marker_lit = m.inner_marker_lit = 0;
    bool over[3] = {false, false, false};
    if (!f.onground_all) {
        static constexpr float reach[3] = {0.008f, 0.004f, 0.002f};
        for (const navaid_record& n : navaid_table) {
            if (!n.local || n.kind < NAV_OUTER_MARKER || n.kind > NAV_INNER_MARKER) continue;
            const int which = n.kind - NAV_OUTER_MARKER;
            if (std::fabs(f.latitude - n.lat) < reach[which] && std::fabs(f.longitude - n.lon) < reach[which])
                over[which] = true;
        }
    }
    int phase = GEO_round(sim_network_misc.network_time_sec * 10.0f) % 10;
    if (phase < 0) phase += 10;
    int32_t lit[3] = {0, 0, 0};
    int sound[3] = {SOUND_OUTER_MARKER, SOUND_MIDDLE_MARKER_A, SOUND_INNER_MARKER};
    if (over[0]) lit[0] = phase <= 4;
    if (over[1]) {
        lit[1] = phase <= 1 || (phase >= 4 && phase <= 8);
        if (phase >= 4) sound[1] = SOUND_MIDDLE_MARKER_B;
    }
    if (over[2]) lit[2] = phase <= 1 || phase == 3 || phase == 4 || phase == 6 || phase == 7;
    const bool audio = sim_cockpit_switches.marker_panel_out && sim_cockpit_radios.marker_audio_working;
    for (int k = 0; k < 3; ++k)
        if (lit[k] && !aural_state.marker_prev[k] && audio) play_once(sound[k]);
    if (!over[0] && !over[1] && !over[2]) sim_cockpit_radios.marker_audio_working = 1;
    m.outer_marker_lit = lit[0];
    m.middle_marker_lit = lit[1];
    m.inner_marker_lit = lit[2];
    for (int k = 0; k < 3; ++k) aural_state.marker_prev[k] = lit[k];
}

void warning_horn(const acf_struct& a, const flt_struct& f)
{
    const bool gear_condition = a.acf_gearhornEQ && a.acf_gear_retract && f.ENGN_thro_use[0] < 0.01f &&
                                sim_cockpit_switches.gear_handle_status == 0;
    if (!gear_condition) sim_cockpit_radios.gear_audio_working = 1;
    const int32_t horn = f.stallwarning || (gear_condition && sim_cockpit_radios.gear_audio_working) ? 1 : 0;
    if ((a.acf_has_stallwarn || a.acf_gearhornEQ) && horn != aural_state.horn_prev) {
        if (horn)
            SOUND_play(SOUND_HORN, 1, 1.0f, 1.0f);
        else
            SOUND_stop(SOUND_HORN);
    }
    aural_state.horn_prev = horn;
}

void low_rotor(const acf_struct& a, flt_struct& f)
{
    // No aircraft field says whether the low-rotor warner is fitted; a rotor
    // whose blade pitch is set by the collective stands in for it.
    if (!tick(INTERVAL_FIVE_SECONDS) || !a.acf_has_collective_rotor) return;
    f.lo_rotor_warning = f.POINT_tacrad[0] < a.acf_RSC_mingreen_prp ? 1 : 0;
    if (f.lo_rotor_warning) play_once(SOUND_LOW_ROTOR);
}

void radio_chatter()
{
    if (!screen_settings.radio_chatter_on || sim_graphics_scenery.current_planet != PLANET_EARTH ||
        !(speech_text_until < frame_clock) || atc_state.atc_request_pending)
        return;
    const float now = sim_time.total_running_time_sec;
    aural_state_record& s = aural_state;
    if (!s.chatter_started) {
        s.chatter_started = 1;
        s.next_chatter_time = now + static_cast<float>(UTIL_rand()) * 25.0f / UTIL_RAND_MAX + 5.0f;
    }
    if (!(now > s.next_chatter_time)) return;
    const int slot = SOUND_FIRST_CHATTER_SLOT + UTIL_rand() * CHATTER_SAMPLES / (UTIL_RAND_MAX + 1);
    const float activity = traffic_runway_state.airport_activity;
    s.next_chatter_time = now + sound_sample_length_sec[slot] +
                          (activity * -58.0f + 60.0f) * (static_cast<float>(UTIL_rand()) * 1.5f / UTIL_RAND_MAX + 0.5f);
    play_once(slot);
}

void atc_calls()
{
    if (tick(INTERVAL_ONE_SECOND)) {
        if (atc_state.atc_plan_filed && atc_state.atc_plan_active) ATC_clearance_and_handoffs(0);
        if (atc_state.atc_request_pending) ATC_handle_request(atc_state.atc_request_text);
        ATC_tuned_atis();
    }
    if (tick(INTERVAL_FIVE_SECONDS)) ATC_carrier_lso();
}

void ground_proximity(const acf_struct& a, const flt_struct& f)
{
    if (!tick(INTERVAL_ONE_SECOND) || !(a.acf_warn1EQ || a.acf_warn2EQ) || !sim_operation_prefs.warn_bb) return;
    const float h = f.y_agl * units.mtrs_to_ft;
    const float now = sim_time.total_running_time_sec;
    aural_state_record& s = aural_state;
    if (h < 2500.0f && now > s.next_gpws_check_time) {
        s.next_gpws_check_time = now + 2.0f;
        const float vs = f.local_vy * units.mps_to_fpm;
        float l1 = h * -1.6f - 1000.0f, l2 = h * -2.2f - 1500.0f;
        if (a.acf_warn2EQ) {
            l1 = h * -4.0f - 1000.0f;
            l2 = h * -5.5f - 1500.0f;
        }
        if (vs < l2)
            play_once(SOUND_PULL_UP);
        else if (vs < l1)
            play_once(SOUND_SINK_RATE);
        else if (sim_cockpit_switches.gear_handle_status == 0 && h < 500.0f && f.local_vy < 0.0f &&
                 f.indicated_airspeed < a.acf_Vfe)
            play_once(SOUND_TOO_LOW_GEAR);
    }
    for (int k = 0; k < AURAL_CALLOUTS; ++k) {
        const int32_t below = h < CALLOUT_FT[k] ? 1 : 0;
        if (!f.onground_all && below && !s.below_prev[k]) play_once(SOUND_FIRST_CALLOUT + k);
        s.below_prev[k] = below;
    }
}

}  // namespace

void AURAL_own_plane()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    SOUND_engine_update(f.local_x, f.local_y, f.local_z);
    precipitation();
    if (!PANEL_avionics_powered()) return;
    marker_beacons(f);
    warning_horn(a, f);
    low_rotor(a, f);
    radio_chatter();
    atc_calls();
    ground_proximity(a, f);
}
