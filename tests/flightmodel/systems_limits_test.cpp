// Limits, the frame-rate guard and the crash of the user's plane.
#include <cstdio>
#include <cstring>

#include "core/frame_clock.h"
#include "aircraft/flight_start.h"
#include "core/ui_text.h"
#include "flightmodel/step_record.h"
#include "flightmodel/systems/limits.h"
#include "platform/plat_time.h"
#include "tests/flightmodel/systems_fixture.h"

namespace {

// A clock that jumps a second at every look, so the crash's wait passes at once.
double fast_clock_now = 0.0;
double fast_clock() { return fast_clock_now += 1.0; }

class SystemsLimits : public SystemsState {
protected:
    void SetUp() override
    {
        SystemsState::SetUp();
        trainer_like(pln[0]);
        start_selection.airport_index = add_airport("KSBD", 34.0954f, -117.2349f, 71.9f, 3048.0f, 353.0f);
        place(34.0954f, -117.2349f, 353.0f);
        terrain_height_m = flt[0].local_y;   // on the runway's surface
        flt[0].onground_any = 1;
        PLAT_set_clock_source(fast_clock, nullptr);
    }
    void TearDown() override
    {
        PLAT_set_clock_source(nullptr, nullptr);
        SystemsState::TearDown();
    }

    // Whether this frame with this sink rate was a crash (the plane held: its velocity stopped).
    bool crashes(float vy)
    {
        flt[0].local_vy = vy;
        flt[0].local_vx = 1.0f;
        frames(1);
        return flt[0].local_vx == 0.0f;
    }
};

}  // namespace

TEST_F(SystemsLimits, ASinkRateBeyondSevenAndAHalfIsACrash)
{
    EXPECT_FALSE(crashes(-7.4f));
    EXPECT_TRUE(crashes(-7.6f));
    EXPECT_GE(crash_hold_until, frame_clock + 0.9f);
    EXPECT_TRUE(recorded_alerts.empty());   // held without advisories
    // Met at 8 m/s within the frame's steps, thrown back up by its end.
    fm_step.impact_vy_mps = -8.0f;
    EXPECT_TRUE(crashes(1.0f));
    fm_step.impact_vy_mps = 0.0f;
    flt[0].phi = 150.0f;   // on its back, however gently
    EXPECT_TRUE(crashes(0.0f));
    flt[0].phi = 0.0f;
    // Below the surface even gently is a crash; in the air nothing is.
    flt[0].local_y = terrain_height_m - 1.0f;
    EXPECT_TRUE(crashes(-1.0f));
    flt[0].onground_any = 0;
    EXPECT_FALSE(crashes(-20.0f));
}

TEST_F(SystemsLimits, AGentleTouchdownOnALakeIsNoCrashButSinkingOffACarrierIs)
{
    const int i = std::clamp(flt[0].i, 0, TERRAIN_GRID_ROWS - 2), j = std::clamp(flt[0].j, 0, TERRAIN_GRID_COLS - 2);
    landuse_grid[(i + 1) * TERRAIN_GRID_COLS + j + 1] = LANDUSE_WATER_A;   // water under one corner of the cell
    flt[0].local_y = terrain_height_m - 0.5f;
    airport_surface_valid = 0;
    EXPECT_FALSE(crashes(-1.0f));
    launch_flags.arrest_engaged = 1;
    EXPECT_TRUE(crashes(-1.0f));
    launch_flags.arrest_engaged = 0;
    // Cell words set from outside the grid are kept inside it.
    for (int32_t word : {-5, 100000, 1 << 30}) {
        flt[0].i = flt[0].j = word;
        crashes(-1.0f);
    }
}

TEST_F(SystemsLimits, ACrashWithResetExplainsTellsTheMotionPlatformAndRestartsOnTheRunway)
{
    sim_operation_prefs.reset_on_crash = 1;
    net_peer_attach();
    net_slot_enabled[11] = net_slot_valid[11] = 1;
    flt[0].frm_ice = 0.2f;
    flt[0].failures[FAIL_SLOT_VACUUM] = FAILURE_STATE_FAILED;
    flt[0].local_vy = -12.0f;
    sim_time.total_flight_time_sec = 300.0f;
    for (int n = CRASH_TEXT_AIRFRAME_ICE; n < CRASH_TEXT_OVER_VFE + 2; ++n)
        std::snprintf(ui_text_table[n], TEXT_SIZE, "text %d", n);
    frames(1);

    // Two advisories from the UI text table: the ice (3 lines) and the vacuum (4).
    ASSERT_EQ(recorded_alerts.size(), 2u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    using lines = std::vector<std::string>;
    const auto lines_of = [](const alert_record& a) { return lines(a.lines, a.lines + 4); };
    EXPECT_EQ(lines_of(recorded_alerts[0]), (lines{"text 740", "text 741", "text 742", ""}));
    EXPECT_EQ(lines_of(recorded_alerts[1]), (lines{"text 746", "text 747", "text 748", "text 749"}));
    for (int n = CRASH_TEXT_AIRFRAME_ICE; n < CRASH_TEXT_OVER_VFE + 2; ++n) ui_text_table[n][0] = '\0';
    // "FIDE" to the motion platform: -990, 0, -999.
    const std::vector<net_sent_datagram> sent = net_peer_sent("FIDE");
    ASSERT_EQ(sent.size(), 1u);
    const net_sent_datagram& d = sent[0];
    EXPECT_EQ(d.slot, 11);
    EXPECT_EQ(d.label(), "FIDE");
    EXPECT_EQ(d.index(), 0);
    const std::vector<uint8_t> payload = d.payload();
    ASSERT_EQ(payload.size(), 12u);
    int32_t words[3];
    std::memcpy(words, payload.data(), 12);
    EXPECT_EQ(words[0], -990);
    EXPECT_EQ(words[1], 0);
    EXPECT_EQ(words[2], -999);
    // The crash sound, then the flight starts again on the runway.
    EXPECT_EQ(sounds.count(32), 1);
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);
    EXPECT_EQ(airport_surface_valid, 1);
    EXPECT_EQ(flt[0].local_vy, 0.0f);
    EXPECT_EQ(flt[0].parkbrake, 1.0f);
    net_slot_enabled[11] = net_slot_valid[11] = 0;
}

// A crash none of the listed causes explains shows no advisory and restarts.
TEST_F(SystemsLimits, ACrashWithoutACauseRestartsWithoutAdvisories)
{
    sim_operation_prefs.reset_on_crash = 1;
    flt[0].local_vy = -12.0f;
    frames(1);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(flt[0].parkbrake, 1.0f);   // on the runway again
}

TEST_F(SystemsLimits, OverspeedWithFlapsOutTearsAFlapAway)
{
    pln[0].acf_Vfe = 100.0f;
    sim_operation_prefs.warn_overspeed_flaps = 1;
    flt[0].flaprqst = 0.02f;
    flt[0].indicated_airspeed = 110.0f;   // within the 10 per cent margin
    frames(1);
    EXPECT_EQ(flt[0].over_vfe, 0);
    flt[0].indicated_airspeed = 110.5f;
    frames(1);
    EXPECT_EQ(flt[0].over_vfe, 1);
    const bool left = FLT_slot_failed(0, 28), right = FLT_slot_failed(0, 29);
    EXPECT_TRUE(left || right);
}

TEST_F(SystemsLimits, OverGFailsTheWingsOnlyWhenWarnedOf)
{
    pln[0].acf_Gpos = 4.0f;
    pln[0].acf_Gneg = 2.0f;
    flt[0].g_nrml = 4.5f;
    frames(1);
    EXPECT_EQ(flt[0].over_g, 0);
    EXPECT_FALSE(FLT_slot_failed(0, 58));
    sim_operation_prefs.warn_overgforce = 1;
    frames(1);
    EXPECT_EQ(flt[0].over_g, 1);
    for (int slot : {58, 59, 138, 140, 142, 144}) EXPECT_TRUE(FLT_slot_failed(0, slot)) << slot;
}

TEST_F(SystemsLimits, ElevenSlowSecondsWarnOnceAndShortenTheView)
{
    sim_operation_prefs.warn_framerate_low = 1;
    std::strcpy(ui_text_table[408], "The frame rate is low.");
    // Ten slow seconds do not warn; the eleventh does.
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    limits.slow_seconds = 10;
    LIMITS_frame_rate_guard();
    EXPECT_TRUE(recorded_alerts.empty());
    limits.slow_seconds = 11;
    LIMITS_frame_rate_guard();
    EXPECT_EQ(recorded_alerts.size(), 1u);
    limits.slow_seconds = 0;
    frames(11 * 20 + 40, 0.1f);   // a frame period above the 0.08 s goal
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[0], "The frame rate is low.");
    EXPECT_EQ(recorded_alerts[0].code, 16);
    EXPECT_LT(sim_graphics_view.visibility_framerate_ratio, 0.96f * 0.96f);
    frames(200, 0.1f);
    EXPECT_EQ(recorded_alerts.size(), 1u);   // once a run

    // Fast frames bring the view back.
    const float short_view = sim_graphics_view.visibility_framerate_ratio;
    frames(200, 0.02f);
    EXPECT_GT(sim_graphics_view.visibility_framerate_ratio, short_view);
    ui_text_table[408][0] = '\0';
}

TEST_F(SystemsLimits, TheFrameRateGuardShortensAndLengthensTheViewByItsBands)
{
    screen_settings.systems_period = 0.08f;   // the goal: slow above 0.068 s, fast below 0.0578 s
    float& ratio = sim_graphics_view.visibility_framerate_ratio;
    struct guard_case {
        float period, ratio_before;
        int master_link;
        float ratio_after;
        int slow_seconds;
        int cloud_type = 0;   // of a layer the plane flies in
        int open_menu = -1;
    };
    const guard_case cases[] = {
        {0.07f, 0.5f, 0, 0.48f, 1},     // slow: x 0.96
        {0.06f, 0.5f, 0, 0.5f, 0},      // between the bands: nothing but the count back to 0
        {0.05f, 0.5f, 0, 0.51f, 0},     // fast: x 1.02
        {0.05f, 0.995f, 0, 0.995f, 0},  // at most 0.99 lengthened
        {0.1f, 0.09f, 0, 0.09f, 1},     // at least 0.1 shortened
        {0.1f, 0.5f, 1, 0.5f, 1},       // a master machine sets the view: counted, not shortened
        {0.1f, 0.5f, 0, 0.5f, 0, 4},    // inside an overcast layer the guard rests
        {0.1f, 0.5f, 0, 0.48f, 1, 3},   // inside any other layer it works
        {0.1f, 0.5f, 0, 0.5f, 0, 0, 2},  // a menu is open: the guard rests
    };
    for (const guard_case& c : cases) {
        limits.slow_seconds = 0;
        net_slot_enabled[6] = c.master_link;
        sim_weather.cloud_type[1] = c.cloud_type;
        screen.open_menu = c.open_menu;
        sim_weather.cloud_base_msl_m[1] = flt[0].local_y - 100.0f;
        sim_weather.cloud_tops_msl_m[1] = flt[0].local_y + 100.0f;
        ratio = c.ratio_before;
        sim_operation_misc.frame_rate_period = c.period;
        interval_ticks[INTERVAL_ONE_SECOND] = 1;
        LIMITS_frame_rate_guard();
        interval_ticks[INTERVAL_ONE_SECOND] = 0;
        EXPECT_NEAR(ratio, c.ratio_after, 1e-6f) << c.period << " " << c.ratio_before;
        EXPECT_EQ(limits.slow_seconds, c.slow_seconds) << c.period;
    }
    net_slot_enabled[6] = 0;
    sim_weather.cloud_type[1] = 0;
    screen.open_menu = -1;
}

// Each limit with 10 per cent margin on its speed; g beyond +Gpos or -Gneg.
// A flag once set stays; over Vne or over g already set keep the other off.
TEST_F(SystemsLimits, EachLimitFlagsItsOwnExceedance)
{
    acf_struct& a = pln[0];
    a.acf_Gpos = 4.0f, a.acf_Gneg = 2.0f, a.acf_Vne = 200.0f, a.acf_Vle = 150.0f, a.acf_Vfe = 100.0f;
    sim_operation_prefs.warn_overgforce = sim_operation_prefs.warn_overspeed = 1;
    sim_operation_prefs.warn_overspeed_gear = sim_operation_prefs.warn_overspeed_flaps = 1;
    struct limit_case {
        float g, ias;
        int gear_down;
        float flaps;
        int vne_before;
        int over_g, over_vne, over_vle, over_vfe;
    };
    const limit_case cases[] = {
        {1.0f, 90.0f, 1, 0.5f, 0, 0, 0, 0, 0},
        {-2.1f, 90.0f, 0, 0.0f, 0, 1, 0, 0, 0},     // past -Gneg
        {-1.9f, 90.0f, 0, 0.0f, 0, 0, 0, 0, 0},
        {4.1f, 90.0f, 0, 0.0f, 0, 1, 0, 0, 0},      // past +Gpos
        {1.0f, 221.0f, 0, 0.0f, 0, 0, 1, 0, 0},     // 1.1 x Vne is 220
        {1.0f, 219.0f, 0, 0.0f, 0, 0, 0, 0, 0},
        {5.0f, 90.0f, 0, 0.0f, 1, 0, 1, 0, 0},      // over Vne already: no over g
        {1.0f, 166.0f, 1, 0.0f, 0, 0, 0, 1, 0},     // 1.1 x Vle is 165, gear down
        {1.0f, 166.0f, 0, 0.0f, 0, 0, 0, 0, 0},     // gear up
        {1.0f, 164.0f, 1, 0.0f, 0, 0, 0, 0, 0},
        {1.0f, 111.0f, 0, 0.01f, 0, 0, 0, 0, 0},    // flaps at 0.01 count as up
    };
    for (const limit_case& c : cases) {
        flt_struct& f = flt[0];
        f.over_g = f.over_vle = f.over_vfe = 0;
        f.over_vne = c.vne_before;
        f.g_nrml = c.g, f.indicated_airspeed = c.ias, f.flaprqst = c.flaps;
        sim_cockpit_switches.gear_handle_status = c.gear_down;
        LIMITS_exceedances();
        EXPECT_EQ(f.over_g, c.over_g) << c.g << " " << c.ias;
        EXPECT_EQ(f.over_vne, c.over_vne) << c.g << " " << c.ias;
        EXPECT_EQ(f.over_vle, c.over_vle) << c.g << " " << c.ias;
        EXPECT_EQ(f.over_vfe, c.over_vfe) << c.g << " " << c.ias;
    }
}
