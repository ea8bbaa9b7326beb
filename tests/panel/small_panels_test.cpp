// Annunciators, master lights and warning lines, the angle-of-attack
// indexer, rockets, pressurization, jettison lights and the weather radar.
#include "tests/panel/panel_fixture.h"

#include <cstring>

#include "core/failure_slots.h"
#include "core/ui_text.h"
#include "flightmodel/atmosphere.h"
#include "graphics/font.h"
#include "graphics/ogl_tex.h"
#include "links/dataout.h"
#include "links/net_slots.h"

namespace {

// Quads whose centre lies within 1 unit of (x, y).
int quads_at(const std::vector<fb_rect>& rects, float x, float y)
{
    int n = 0;
    for (const fb_rect& r : rects)
        if (std::fabs((r.x1 + r.x2) * 0.5f - x) < 1.0f && std::fabs((r.y1 + r.y2) * 0.5f - y) < 1.0f) ++n;
    return n;
}

}  // namespace

TEST_F(PanelTest, AnnunciatorsLightForTheirEngineAndTheMasterLightsClearAndComeBack)
{
    power();
    pln[0].acf_num_engines = 5;
    for (int s = 0; s < 5; ++s) slot(s, 360, 100.0f + 50.0f * s, 100);
    sim_cockpit_warnings_annunciators.fuel_pressure = 8;   // engine 3
    auto lit = capture_rects(PANEL_update);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_NEAR((lit[0].x1 + lit[0].x2) * 0.5f, 250.0f, 1e-3f);
    sim_cockpit_warnings_annunciators.fuel_pressure = 16;  // engine 4
    lit = capture_rects(PANEL_update);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_NEAR((lit[0].x1 + lit[0].x2) * 0.5f, 300.0f, 1e-3f);
    flt[0].ENGN_bat_volt[0] = 0.0f;                         // without power the panel is dark
    EXPECT_TRUE(capture_rects(PANEL_update).empty());
    power();

    // Master caution: a click clears it once; the pass lights both again one
    // second after the timeout.
    for (int s = 0; s < 5; ++s) slot(s, -1, 0, 0);
    slot(0, 355, 100, 100);
    slot(1, 368, 200, 100);
    sim_cockpit_warnings.master_caution_timeout = 10.0f;
    sim_time.total_running_time_sec = 11.0f;
    sim_cockpit_warnings.master_caution_on = sim_cockpit_warnings.master_accept_on = 1;
    mouse.mouse_x = 110.0f, mouse.mouse_y = 110.0f;
    mouse.mouse_down = mouse.mouse_held = 1;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.master_caution_on, 0);   // 11.0 is not past 10 + 1
    sim_cockpit_warnings.master_caution_on = 1;
    mouse.mouse_down = 0;
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.master_caution_on, 1);   // holding does not repeat
    mouse.mouse_down = 1;
    PANEL_update();
    sim_time.total_running_time_sec = 11.01f;
    mouse = mouse_record{};
    PANEL_update();
    EXPECT_EQ(sim_cockpit_warnings.master_caution_on, 1);
    EXPECT_EQ(sim_cockpit_warnings.master_accept_on, 1);
    // The lamp test button pushes its timeout ahead while held.
    mouse.mouse_x = 205.0f, mouse.mouse_y = 95.0f, mouse.mouse_held = 1;
    frame_clock = 300.0f;
    PANEL_update();
    EXPECT_FLOAT_EQ(sim_cockpit_warnings.annunciator_test_timeout, 300.1f);
    frame_clock = 301.0f;
    PANEL_update();
    EXPECT_FLOAT_EQ(sim_cockpit_warnings.annunciator_test_timeout, 301.1f);
}

TEST_F(PanelTest, WarningLinesStandInAColumnUnlessTheInstructorWatches)
{
    // Lines drawn at x 898 and the heights they stand at.
    auto column = [] {
        std::vector<float> ys;
        for (const fb_rect& r : capture_rects(PANEL_update))
            if (r.x1 >= 897.0f && (ys.empty() || std::fabs(ys.back() - (r.y1 + 2.0f)) > 0.5f)) ys.push_back(r.y1 + 2.0f);
        return ys;
    };
    for (int t = 377; t <= 384; ++t) std::strcpy(ui_text_table[t], "W");
    sim_operation_prefs.warn_nonobvious_stuff = 1;
    pln[0].acf_num_engines = 2;
    // Each condition alone, with the height of its line.
    const struct {
        void (*set)();
        float y;
    } rows[] = {
        {[] { sim_operation_misc.debug_network = 1; }, 728.0f},
        {[] { dataout_any_disk_group = 1; }, 718.0f},
        {[] { pln[0].acf_part_eq[68] = 1, flt[0].failures[38] = FAILURE_STATE_FAILED; }, 708.0f},
        {[] { flt[0].over_g = 1; }, 698.0f},
        {[] { flt[0].over_vne = 1; }, 688.0f},
        {[] { flt[0].over_vfe = 1; }, 678.0f},
        {[] { flt[0].over_vle = 1; }, 668.0f},
        {[] { flt[0].ENGN_crbice[1] = 0.02f; }, 658.0f},
    };
    for (const auto& row : rows) {
        sim_operation_misc.debug_network = 0;
        dataout_any_disk_group = 0;
        pln[0].acf_part_eq[68] = 0, flt[0].failures[38] = 0;
        flt[0].over_g = flt[0].over_vne = flt[0].over_vfe = flt[0].over_vle = 0;
        flt[0].ENGN_crbice[1] = 0.0f;
        row.set();
        EXPECT_EQ(column(), std::vector<float>{row.y}) << row.y;
    }
    flt[0].ENGN_crbice[1] = 0.0f;
    // Not a line: a failed tyre on a gear that is not fitted, ice on an engine
    // the aircraft does not have, a trace of ice.
    pln[0].acf_part_eq[69] = 0, flt[0].failures[39] = FAILURE_STATE_FAILED;
    flt[0].ENGN_crbice[2] = 0.5f;
    flt[0].ENGN_crbice[0] = 0.01f;
    EXPECT_TRUE(column().empty());

    flt[0].over_g = 1;
    flt[0].ENGN_crbice[0] = 0.02f;
    EXPECT_EQ(column(), (std::vector<float>{698.0f, 658.0f}));
    net_slot_enabled[10] = 1;
    EXPECT_TRUE(column().empty());
    net_slot_enabled[10] = 0;
    sim_operation_prefs.warn_nonobvious_stuff = 0;
    EXPECT_TRUE(column().empty());
}

TEST_F(PanelTest, AngleOfAttackIndexerRocketsAndJettisonLights)
{
    power();
    pln[0].acf_est_Vs = 30.0f;                  // m/s: about 58 knots
    pln[0].acf_stall_warn_alpha = 10.0f;        // w = 6
    flt[0].indicated_airspeed = 80.0f;
    flt[0].groundspeed = 40.0f;
    flt[0].alpha = 7.5f;                        // w + 1.5: upper and middle
    slot(0, 437, 100, 100);
    auto r = capture_rects(PANEL_update);
    EXPECT_EQ(quads_at(r, 100, 119), 1);
    EXPECT_EQ(quads_at(r, 100, 100), 1);
    EXPECT_EQ(quads_at(r, 100, 81), 0);
    flt[0].indicated_airspeed = 200.0f;         // above 2 Vs: nothing
    EXPECT_TRUE(capture_rects(PANEL_update).empty());
    flt[0].indicated_airspeed = 12.0f;          // 0.2 Vs is 11.66 kt
    EXPECT_FALSE(capture_rects(PANEL_update).empty());
    flt[0].indicated_airspeed = 11.0f;
    EXPECT_TRUE(capture_rects(PANEL_update).empty());

    // The rocket switch fires while held.
    slot(0, 382, 100, 100);
    mouse.mouse_x = 100.0f, mouse.mouse_y = 100.0f, mouse.mouse_held = 1;
    PANEL_update();
    EXPECT_EQ(flt[0].rocket_mode, 382);
    EXPECT_FLOAT_EQ(flt[0].rocket_timeout, frame_clock + 0.1f);
    mouse = mouse_record{};
    PANEL_rocket_switch(3, 384, 0.5f);          // from a joystick button
    EXPECT_EQ(flt[3].rocket_mode, 384);
    PANEL_rocket_switch(12, 384, 0.5f);         // no such plane

    // Jettison lights: one ninth of the load each, up to nine; none without a load.
    slot(0, 449, 100, 100);
    pln[0].acf_m_jettison = 900.0f;
    flt[0].m_jettison = 450.0f;
    EXPECT_EQ(capture_rects(PANEL_update).size(), 5u);
    flt[0].m_jettison = 1.0e30f;
    const auto nine = capture_rects(PANEL_update);
    ASSERT_EQ(nine.size(), 9u);
    float low = 1e9f, high = -1e9f;   // from 30 below the centre, 60 / 8 apart
    for (const fb_rect& q : nine) low = std::min(low, (q.y1 + q.y2) * 0.5f), high = std::max(high, (q.y1 + q.y2) * 0.5f);
    EXPECT_NEAR(low, 70.0f, 0.01f);
    EXPECT_NEAR(high, 130.0f, 0.01f);
    flt[0].m_jettison = -50.0f;
    EXPECT_TRUE(capture_rects(PANEL_update).empty());
    pln[0].acf_m_jettison = 0.0f;
    flt[0].m_jettison = 450.0f;
    EXPECT_TRUE(capture_rects(PANEL_update).empty());

    // Marker lights: outer 11 left of the centre, middle on it, inner 11 right.
    slot(0, 213, 100, 100, 2.0f);
    sim_cockpit_misc.outer_marker_lit = sim_cockpit_misc.middle_marker_lit = sim_cockpit_misc.inner_marker_lit = 1;
    std::vector<float> xs;
    for (const fb_rect& q : capture_rects(PANEL_update)) xs.push_back((q.x1 + q.x2) * 0.5f);
    std::sort(xs.begin(), xs.end());
    ASSERT_EQ(xs.size(), 3u);
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(xs[k], 78.0f + 22.0f * float(k), 0.01f) << k;
    sim_cockpit_misc.outer_marker_lit = sim_cockpit_misc.middle_marker_lit = sim_cockpit_misc.inner_marker_lit = 0;
}

TEST_F(PanelTest, AngleOfAttackNeedleTurnsSixDegreesADegreeFadedOutBelowWalkingPace)
{
    // 90 - 6 a, a = alpha x min(gs^2, 1), held to +-30 degrees of alpha.
    const struct {
        float alpha, groundspeed, angle;
    } cases[] = {
        {5.0f, 2.0f, 60.0f},      // moving: full alpha
        {5.0f, 0.5f, 82.5f},      // gs^2 = 0.25
        {40.0f, 3.0f, -90.0f},    // held at 30
        {-40.0f, 3.0f, 270.0f},   // held at -30
        {-10.0f, 0.0f, 90.0f},    // standing still reads zero
    };
    slot(0, INS_AOA_NEEDLE, 100, 100);
    for (const auto& c : cases) {
        flt[0].alpha = c.alpha;
        flt[0].groundspeed = c.groundspeed;
        const auto n = needles(capture_feedback(PANEL_update), 41);
        ASSERT_EQ(n.size(), 1u) << c.alpha;
        EXPECT_LT(angle_gap(n[0].angle_deg, c.angle), 0.05f) << c.alpha << " " << c.groundspeed;
    }
}

TEST_F(PanelTest, CabinSelectorsStopAtTheirEndsAndTheSafeAltitudeStaysANumber)
{
    sim_physics.rho_sea_level = 1.225f;
    slot(0, 418, 100, 100);
    slot(1, 419, 300, 100);
    sim_cockpit_pressure.cabin_altitude_set_m_msl = 3800.0f;
    sim_cockpit_pressure.cabin_vvi_set_m_msec = 20.0f;
    mouse.mouse_x = 110.0f, mouse.mouse_y = 90.0f;   // upper right of the altitude knob
    mouse.mouse_down = mouse.mouse_held = 1;
    PANEL_update();
    EXPECT_FLOAT_EQ(sim_cockpit_pressure.cabin_altitude_set_m_msl, 0.3048f * 12500.0f);
    EXPECT_FLOAT_EQ(sim_cockpit_pressure.cabin_vvi_set_m_msec, 2500.0f * 0.3048f / 60.0f);
    EXPECT_TRUE(std::isfinite(sim_cockpit_pressure.max_allowable_altitude));
    // The rate needle sweeps 270 degrees from -135 at 250 ft/min to 135 at 2,500.
    mouse = mouse_record{};
    const float lo = 250.0f * 0.3048f / 60.0f, hi = 2500.0f * 0.3048f / 60.0f;
    for (const auto& [v, angle] : {std::pair{lo, -135.0f}, std::pair{(lo + hi) * 0.5f, 0.0f}, std::pair{hi, 135.0f}}) {
        sim_cockpit_pressure.cabin_vvi_set_m_msec = v;
        const auto n = needles(capture_feedback(PANEL_update), 58);
        ASSERT_EQ(n.size(), 1u) << v;
        EXPECT_LT(angle_gap(n[0].angle_deg, angle), 0.05f) << v;
    }

    // A pressure difference above the cabin's pressure: the start value stands.
    pln[0].acf_max_press_diff = 500000.0f;
    PANEL_update();
    EXPECT_FLOAT_EQ(sim_cockpit_pressure.max_allowable_altitude,
                    500000.0f * 0.15f + sim_cockpit_pressure.cabin_altitude_set_m_msl);
}

TEST_F(PanelTest, EnginePickerSkipsUnsuitedEnginesAndEcamNumbersStandAfterTheirLabel)
{
    // A twin with a piston engine 0 and a jet engine 1 (kind 5): the pressure
    // ratio dial always takes engine 1, a propeller dial always engine 0.
    pln[0].acf_num_engines = 2;
    pln[0].acf_en_type[0] = 0;
    pln[0].acf_en_type[1] = 5;
    int32_t counter = -1;
    panel_ins_type = INS_EPR_RND;
    EXPECT_EQ(PANEL_pick_engine(&counter), 1);
    EXPECT_EQ(PANEL_pick_engine(&counter), 1);
    panel_ins_type = INS_RPM_PROP_RND;
    EXPECT_EQ(PANEL_pick_engine(&counter), 0);
    EXPECT_EQ(PANEL_pick_engine(&counter), 0);
    // No jet aboard: the pressure ratio dial falls back to engine 0.
    pln[0].acf_en_type[1] = 8;
    panel_ins_type = INS_EPR_RND;
    EXPECT_EQ(PANEL_pick_engine(&counter), 0);

    // A 3-letter label with a 3-digit number: the number is drawn 30 units on
    // (three letters, a blank, one unused digit of the four-digit field).
    const auto ecam = capture_rects([] { PANEL_ecam_label_value(100.0f, 200.0f, "EGT", 512.0f, 3, 0); });
    const auto apart = capture_rects([] {
        OGL_draw_string(49, 100.0f, 200.0f, "EGT", 9999.0f, 110);
        OGL_draw_string_fmt(49, 130.0f, 200.0f, 512.0f, 3, 0, 1, 110);
    });
    ASSERT_EQ(ecam.size(), apart.size());
    ASSERT_GT(ecam.size(), 3u);
    for (size_t k = 0; k < ecam.size(); ++k) {
        EXPECT_FLOAT_EQ(ecam[k].x1, apart[k].x1) << k;
        EXPECT_FLOAT_EQ(ecam[k].y1, apart[k].y1) << k;
    }
}

TEST_F(PanelTest, RadarColoursTheStormGridByLevel)
{
    std::fill(std::begin(storm_grid), std::end(storm_grid), 0.0f);
    storm_grid[0 * 256 + 0] = 1.0f;
    storm_grid[1 * 256 + 0] = 0.5f;
    storm_grid[2 * 256 + 0] = 0.2f;
    storm_grid[3 * 256 + 0] = 0.3f;
    storm_grid[4 * 256 + 7] = 1.0f;
    sim_weather.rain_percent = sim_weather.thunderstorm_percent = 1.0f;
    PANEL_radar_texture();
    std::vector<uint8_t> texels(256 * 256 * 4);
    auto read = [&] {
        OGL_bind_tex(454, 0);
        const OGL_pixel_rows_guard rows(true);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    };
    read();
    auto texel = [&](int col, int row) {
        const uint8_t* t = &texels[(static_cast<size_t>(row) * 256 + static_cast<size_t>(col)) * 4];
        return std::vector<int>{t[0], t[1], t[2], t[3]};
    };
    EXPECT_EQ(texel(0, 0), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(texel(1, 0), (std::vector<int>{0, 127, 0, 255}));
    EXPECT_EQ(texel(2, 0)[3], 0);
    EXPECT_EQ(texel(3, 0), (std::vector<int>{0, 229, 0, 255}));
    EXPECT_EQ(texel(4, 7), (std::vector<int>{255, 0, 0, 255}));   // first index along the columns

    // Rain alone halves the factor to 2.495: 0.81 is level 2 (2.02) and 0.4
    // stays level 0 (0.998, where a factor of 5 would reach level 1). The
    // colours were read once: a later change of row 93 does not reach them.
    OGL_set_color(93, 0.0f, 0.0f, 1.0f);
    sim_weather.thunderstorm_percent = 0.0f;
    storm_grid[5 * 256 + 0] = 0.81f;
    storm_grid[6 * 256 + 0] = 0.4f;
    PANEL_radar_texture();
    read();
    EXPECT_EQ(texel(5, 0), (std::vector<int>{0, 127, 0, 255}));
    EXPECT_EQ(texel(6, 0)[3], 0);
    EXPECT_EQ(texel(1, 0), (std::vector<int>{0, 229, 0, 255}));    // 0.5: 1.2475 is level 1 ...
    EXPECT_EQ(texel(0, 0), (std::vector<int>{0, 127, 0, 255}));    // ... and 1.0 level 2
    sim_weather.thunderstorm_percent = 1.0f;
    PANEL_radar_texture();
    read();
    EXPECT_EQ(texel(0, 0), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(texel(5, 0), (std::vector<int>{255, 0, 0, 255}));    // 0.81 of a full storm: 4.04
    OGL_fill_default_colors();

    // Drawn in row 49 with the given alpha, the corners taking texels
    // (0, 0), (0, 1), (1, 1), (1, 0) in the order given.
    OGL_set_color(49, 0.25f, 0.5f, 0.75f);
    const auto quad = capture_feedback([] {
        PANEL_draw_radar_texture(0.0f, 0.0f, 1024.0f, 768.0f, 100.0f, 100.0f, 100.0f, 200.0f, 200.0f, 200.0f,
                                 200.0f, 100.0f, 0.5f);
    });
    const struct { float x, y, s, t; } corners[] = {
        {100.0f, 100.0f, 0.0f, 0.0f}, {100.0f, 200.0f, 0.0f, 1.0f}, {200.0f, 200.0f, 1.0f, 1.0f}, {200.0f, 100.0f, 1.0f, 0.0f}};
    int seen = 0;
    for (const fb_prim& p : quad)
        for (const fb_vertex& v : p.v) {
            EXPECT_NEAR(v.r, 0.25f, 0.01f);
            EXPECT_NEAR(v.b, 0.75f, 0.01f);
            EXPECT_NEAR(v.a, 0.5f, 0.01f);
            for (const auto& c : corners)
                if (std::fabs(v.x - c.x) < 0.01f && std::fabs(v.y - c.y) < 0.01f) {
                    ++seen;
                    EXPECT_NEAR(v.s, c.s, 1e-3f) << c.x << "," << c.y;
                    EXPECT_NEAR(v.t, c.t, 1e-3f) << c.x << "," << c.y;
                }
        }
    EXPECT_GE(seen, 4);
    OGL_fill_default_colors();

    // Fractions from a peer beyond 1 are held at the top level; none at all clears the picture.
    sim_weather.rain_percent = 50.0f;
    PANEL_radar_texture();
    read();
    EXPECT_EQ(texel(3, 0), (std::vector<int>{255, 0, 0, 255}));
    sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
    PANEL_radar_texture();
    read();
    for (size_t k = 3; k < texels.size(); k += 4) ASSERT_EQ(texels[k], 0) << k;
}
