// The six flight instruments and the compass, drawn on the offscreen context
// and read back from feedback mode: needle angles, readouts, the attitude
// ball's tilt, the flight-director cues and the compass card's lag.
#include "tests/panel/panel_fixture.h"

#include "core/failure_slots.h"
#include "flightmodel/systems/gyros.h"
#include "flightmodel/systems/weather.h"
#include "panel/instruments/flight_instruments.h"

namespace {

class FlightInstruments : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel_at(512.0f, 384.0f);
        for (int g = 0; g < GYRO_SYSTEMS; ++g) gyro_roll[g] = gyro_pitch[g] = 0.0f, gyro_power[g] = 1.0f;
        sim_cockpit_autopilot = sim_cockpit_autopilot_block{};
        sim_operation_override = sim_operation_override_block{};
    }
    // The tilt (degrees, counter-clockwise) of the edge between the drawn
    // vertices carrying texels (u1, v) and (u2, v), in 512ths.
    static float tilt_of(const std::vector<fb_prim>& prims, float u1, float u2, float v, bool* found)
    {
        *found = false;
        const fb_vertex *a = nullptr, *b = nullptr;
        auto at = [](const fb_vertex& w, float u, float t) {
            return std::fabs(w.s * 512.0f - u) < 0.05f && std::fabs(w.t * 512.0f - t) < 0.05f;
        };
        for (const fb_prim& p : prims)
            for (const fb_vertex& w : p.v) {
                if (p.token != GL_POLYGON_TOKEN) continue;
                if (!a && at(w, u1, v)) a = &w;
                if (!b && at(w, u2, v)) b = &w;
            }
        if (!a || !b) return 0.0f;
        *found = true;
        return std::atan2(b->y - a->y, b->x - a->x) * 57.29578f;
    }
};

TEST_F(FlightInstruments, VerticalSpeedNeedlesFollowEachDialsLaw)
{
    const struct { int type, style; float fpm, angle; } cases[] = {
        {124, 19, 1000.0f, 80.0f}, {125, 19, 2500.0f, 80.0f}, {126, 19, 1000.0f, 60.0f},
        {127, 20, -1000.0f, -80.0f}, {128, 20, 2500.0f, 80.0f},
        {123, 17, 1000.0f, 70.0f}, {123, 17, 0.0f, 0.0f}, {123, 17, -9000.0f, -150.0f},
        {122, 17, 1000.0f, 80.0f}, {126, 19, 6000.0f, 170.0f}, {129, 20, -2000.0f, -(110.0f * std::pow(0.2f, 0.65f) + 60.0f)},
    };
    for (const auto& c : cases) {
        flt[0].vh_ind = c.fpm / 196.850394f;
        const auto n = needles(in_slot(c.type, 1.0f, [] { PANEL_vvi(); }), c.style);
        ASSERT_EQ(n.size(), 1u) << c.type;
        EXPECT_LT(angle_gap(n[0].angle_deg, c.angle - 90.0f), 0.2f) << c.type << " at " << c.fpm;
    }
    // A failed indicator keeps its last reading.
    flt[0].failures[FAIL_SLOT_VVI_INSTR] = FAILURE_STATE_FAILED;
    flt[0].vh_ind = 0.0f;
    const auto n = needles(in_slot(123, 1.0f, [] { PANEL_vvi(); }), 17);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_LT(angle_gap(n[0].angle_deg, -110.0f - 90.0f), 0.2f);
}

TEST_F(FlightInstruments, AltimeterNeedlesAndTheBarometerWindowAndKnob)
{
    flt[0].h_ind = 2500.0f / 3.2808399f;
    const auto prims = in_slot(96, 1.0f, [] { PANEL_altimeter(); });
    const auto n100 = needles(prims, 9), n1000 = needles(prims, 10), n10000 = needles(prims, 11);
    ASSERT_EQ(n100.size(), 1u);
    ASSERT_EQ(n1000.size(), 1u);
    ASSERT_EQ(n10000.size(), 1u);
    EXPECT_LT(angle_gap(n100[0].angle_deg, 180.0f), 0.1f);   // 500 ft past the turn
    EXPECT_LT(angle_gap(n1000[0].angle_deg, 90.0f), 0.1f);
    EXPECT_LT(angle_gap(n10000[0].angle_deg, 9.0f), 0.1f);
    EXPECT_TRUE(needles(in_slot(94, 1.0f, [] { PANEL_altimeter(); }), 11).empty());

    // A custom gauge with equal ends rests its needles at the middle angle.
    pln[0].acf_cus_rnd_use[3] = 1;
    pln[0].acf_cus_rnd_lo_val[3] = pln[0].acf_cus_rnd_hi_val[3] = 100.0f;
    pln[0].acf_cus_rnd_lo_ang[3] = 20.0f, pln[0].acf_cus_rnd_hi_ang[3] = 80.0f;
    const auto mid = needles(in_slot(94, 1.0f, [] { PANEL_altimeter(); }), 10);
    ASSERT_EQ(mid.size(), 1u);
    EXPECT_LT(angle_gap(mid[0].angle_deg, 50.0f), 0.1f);
    pln[0].acf_cus_rnd_use[3] = 0;

    // A failed altimeter freezes its needles.
    flt[0].failures[FAIL_SLOT_ALTIMETER_INSTR] = FAILURE_STATE_FAILED;
    flt[0].h_ind = 0.0f;
    EXPECT_LT(angle_gap(needles(in_slot(96, 1.0f, [] { PANEL_altimeter(); }), 10)[0].angle_deg, 50.0f), 0.1f);
    flt[0].failures[FAIL_SLOT_ALTIMETER_INSTR] = 0;

    // A custom scale of 0.18 degrees a unit from 10: the needles take A, A / 10
    // and A / 100 (2500 ft: 460 = 100, 55 and 14.5 degrees).
    flt[0].h_ind = 2500.0f / 3.2808399f;
    pln[0].acf_cus_rnd_use[3] = 1;
    pln[0].acf_cus_rnd_lo_val[3] = 0.0f, pln[0].acf_cus_rnd_hi_val[3] = 1000.0f;
    pln[0].acf_cus_rnd_lo_ang[3] = 10.0f, pln[0].acf_cus_rnd_hi_ang[3] = 190.0f;
    const auto custom = in_slot(96, 1.0f, [] { PANEL_altimeter(); });
    const struct { int style; float deg; } custom_needles[] = {{9, 100.0f}, {10, 55.0f}, {11, 14.5f}};
    for (const auto& c : custom_needles) {
        const auto n = needles(custom, c.style);
        ASSERT_EQ(n.size(), 1u) << c.style;
        EXPECT_LT(angle_gap(n[0].angle_deg, c.deg), 0.1f) << c.style;
    }
    pln[0].acf_cus_rnd_use[3] = 0;

    // The EFIS altitude readout rounds to the nearest 10 ft.
    power();
    for (const auto& [ft, reads] : {std::pair{2504.0f, "02500"}, std::pair{2506.0f, "02510"}}) {
        flt[0].h_ind = ft / 3.2808399f;
        std::vector<fb_rect> readout;
        for (const fb_rect& r : rects_of(in_slot(171, 1.0f, [] { PANEL_altimeter(); })))
            if (r.y1 > 375.0f && r.y1 < 381.0f && r.x1 >= 499.0f) readout.push_back(r);
        const auto lines = text_lines(110, readout);
        ASSERT_FALSE(lines.empty()) << ft;
        EXPECT_EQ(lines[0], reads) << ft;
    }
    flt[0].h_ind = 0.0f;

    // The barometer window in millibars: 29.92 in reads 1013.
    screen_settings.pressure_units_metric = 1;
    sim_cockpit_misc.barometer_setting = 29.92f;
    std::vector<fb_rect> drums;
    for (const fb_rect& r : rects_of(in_slot(94, 1.0f, [] { PANEL_altimeter(); })))
        if (std::fabs((r.tx1 + r.tx2) * 0.5f - (DRUM_DIGIT_U1 + DRUM_DIGIT_U2) * 0.5f) < 0.01f) drums.push_back(r);
    drums = sorted_by_x(drums);
    ASSERT_EQ(drums.size(), 4u);
    std::string reads;
    for (const fb_rect& r : drums)
        reads += static_cast<char>('0' + static_cast<int>(std::floor(((r.ty1 + r.ty2) * 0.5f - DRUM_DIGIT_V0) / DRUM_DIGIT_PITCH + 1e-3f)));
    EXPECT_EQ(reads, "1013");
    screen_settings.pressure_units_metric = 0;

    // The knob's upper-right half raises the setting, held within 0..35 in.
    sim_cockpit_misc.barometer_setting = 34.995f;
    mouse.mouse_down = mouse.mouse_held = 1;
    mouse.mouse_x = 512.0f - 47.0f + 5.0f, mouse.mouse_y = 384.0f - 55.0f + 5.0f;
    in_slot(94, 1.0f, [] { PANEL_altimeter(); });
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 35.0f);
    // Untouched, the knob still holds the setting within range, and one that
    // is not a number starts again from 29.92 in.
    mouse.mouse_down = mouse.mouse_held = 0;
    sim_cockpit_misc.barometer_setting = 40.0f;
    in_slot(94, 1.0f, [] { PANEL_altimeter(); });
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 35.0f);
    sim_cockpit_misc.barometer_setting = std::nanf("");
    in_slot(94, 1.0f, [] { PANEL_altimeter(); });
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 29.92f);
}

TEST_F(FlightInstruments, EfisAirspeedReadoutAndBlankingWithoutAvionics)
{
    pln[0].acf_asi_kts = 0;
    flt[0].indicated_airspeed = 100.0f;
    EXPECT_TRUE(in_slot(170, 1.0f, [] { PANEL_asi(); }).empty());
    power();
    const struct { float kt; const char* reads; } cases[] = {{100.0f, "115"}, {1200.0f, "999"}, {-20.0f, "000"}};
    for (const auto& c : cases) {
        flt[0].indicated_airspeed = c.kt;
        std::vector<fb_rect> readout;
        for (const fb_rect& r : rects_of(in_slot(170, 1.0f, [] { PANEL_asi(); })))
            if (r.y1 > 375.0f && r.y1 < 381.0f && r.x1 >= 495.0f && r.x2 <= 519.0f) readout.push_back(r);
        const auto lines = text_lines(110, readout);
        ASSERT_FALSE(lines.empty()) << c.kt;
        EXPECT_NE(lines[0].find(c.reads), std::string::npos) << c.kt << " read " << lines[0];
    }
    flt[0].failures[FAIL_SLOT_GLASS_INSTR] = FAILURE_STATE_FAILED;
    EXPECT_TRUE(in_slot(170, 1.0f, [] { PANEL_asi(); }).empty());
}

// A failed pitot freezes every airspeed and Mach instrument type: drawn at
// another speed, each draws what it drew before the failure, and working it
// follows the speed again.
TEST_F(FlightInstruments, AFailedPitotFreezesEveryAirspeedType)
{
    power();
    pln[0].acf_asi_kts = 1, pln[0].acf_Vne = 200.0f, pln[0].acf_Mmo = 0.8f;
    auto picture = [](int type) {
        std::vector<float> drawn;   // every vertex's place and texel
        for (const fb_prim& p : in_slot(type, 1.0f, [] { PANEL_asi(); }))
            for (const fb_vertex& w : p.v) drawn.insert(drawn.end(), {w.x, w.y, w.s, w.t});
        return drawn;
    };
    for (int type : {74, 77, 80, 86, 87, 88, 170}) {
        flt[0].indicated_airspeed = 100.0f, flt[0].machno = 0.3f;
        const auto working = picture(type);
        flt[0].failures[FAIL_SLOT_PITOT] = FAILURE_STATE_FAILED;
        flt[0].indicated_airspeed = 61.3f, flt[0].machno = 0.137f;
        EXPECT_EQ(picture(type), working) << type;
        flt[0].failures[FAIL_SLOT_PITOT] = 0;
        EXPECT_NE(picture(type), working) << type;
    }
}

// The EFIS tape's speed marks stand 2 units per knot from the centre: at
// 100 kt, Vso 90, Vs 100, Vno 115 and Vne 120 put them 20 below, at, 30 and
// 40 above (4 x 5 quads at x 9, y 6 - 3 + offset); a speed beyond the
// tape's 62 units draws none. The linear tapes put a tick every 2 kt at
// 2 units per knot, and every 0.1 Mach at 50 units per Mach.
TEST_F(FlightInstruments, AirspeedTapesAndTheirSpeedMarks)
{
    power();
    pln[0].acf_asi_kts = 1;
    flt[0].indicated_airspeed = 100.0f;
    pln[0].acf_Vso = 90.0f, pln[0].acf_Vs = 100.0f, pln[0].acf_Vno = 115.0f, pln[0].acf_Vne = 120.0f;
    // Each colour row gets red = row / 100, so a quad's red names its row.
    for (int row : {49, 50, 58, 59}) OGL_set_color(row, float(row) / 100.0f, 0.0f, 0.0f);
    auto marks = [] {
        std::vector<std::pair<float, int>> y;
        for (const fb_rect& r : rects_of(in_slot(170, 1.0f, [] { PANEL_asi(); })))
            if (std::fabs(r.x1 - 521.0f) < 0.01f && std::fabs(r.x2 - r.x1 - 4.0f) < 0.01f &&
                std::fabs(r.y2 - r.y1 - 5.0f) < 0.01f)
                y.emplace_back(r.y1 - 384.0f, int(std::lround(r.r * 100.0f)));
        std::sort(y.begin(), y.end());
        return y;
    };
    const auto four = marks();
    ASSERT_EQ(four.size(), 4u);
    const float expected[4] = {-17.0f, 3.0f, 33.0f, 43.0f};
    const int rows[4] = {49, 50, 59, 58};   // Vso, Vs, Vno, Vne
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(four[size_t(k)].first, expected[k], 0.01f) << k;
        EXPECT_EQ(four[size_t(k)].second, rows[k]) << k;
    }
    // The readout is drawn in row 50.
    std::vector<fb_rect> readout;
    for (const fb_rect& r : rects_of(in_slot(170, 1.0f, [] { PANEL_asi(); })))
        if (r.y1 > 375.0f && r.y1 < 381.0f && r.x1 >= 495.0f && r.x2 <= 519.0f && glyph_of(110, r) != 0)
            readout.push_back(r);
    ASSERT_FALSE(readout.empty());
    for (const fb_rect& r : readout) EXPECT_EQ(std::lround(r.r * 100.0f), 50);
    OGL_fill_default_colors();
    pln[0].acf_Vne = 131.0f;   // 62 units above: off the tape
    EXPECT_EQ(marks().size(), 3u);

    auto tick_gaps = [](int type) {
        std::vector<float> y;
        for (const fb_rect& r : rects_of(in_slot(type, 1.0f, [] { PANEL_asi(); })))
            if (glyph_of(110, r) == '_') y.push_back(r.y1);
        std::sort(y.begin(), y.end());
        std::vector<float> gaps;
        for (size_t k = 1; k < y.size(); ++k) gaps.push_back(y[k] - y[k - 1]);
        return gaps;
    };
    flt[0].indicated_airspeed = 101.0f;
    const auto knots = tick_gaps(87);
    ASSERT_GE(knots.size(), 10u);
    for (float g : knots) EXPECT_NEAR(g, 4.0f, 1.01f);
    // The Mach tape's half height of 60 at 50 units per Mach reaches 1.5
    // beyond the value: from Mach 0.57 the ticks run 0 .. 2.1, 22 of them.
    flt[0].machno = 0.57f;
    const auto mach = tick_gaps(88);
    ASSERT_EQ(mach.size(), 21u);
    for (float g : mach) EXPECT_NEAR(g, 5.0f, 1.01f);
}

// The Mach meter runs 0 to 330 degrees over 0 to Mmo + 0.1 rounded to a
// tenth, at least 1: with Mmo 1.6 (to 1.7), Mach 0.85 is at 165 and the
// barber pole at 310.6; with Mmo 0.8 the range is widened to 1, Mach 0.45 at 148.5.
TEST_F(FlightInstruments, MachMeterRange)
{
    const struct { float mmo, mach, needle, pole; } cases[] = {
        {1.6f, 0.85f, 165.0f, 1.6f / 1.7f * 330.0f}, {0.8f, 0.45f, 148.5f, 264.0f}};
    for (const auto& c : cases) {
        pln[0].acf_Mmo = c.mmo;
        flt[0].machno = c.mach;
        const auto prims = in_slot(86, 1.0f, [] { PANEL_asi(); });
        const auto needle = needles(prims, 6), pole = needles(prims, 8);
        ASSERT_EQ(needle.size(), 1u);
        ASSERT_EQ(pole.size(), 1u);
        EXPECT_LT(angle_gap(needle[0].angle_deg, c.needle), 0.05f) << c.mmo;
        EXPECT_LT(angle_gap(pole[0].angle_deg, c.pole), 0.05f) << c.mmo;
    }
}

TEST_F(FlightInstruments, AttitudeBallsTiltWithTheirOwnGyro)
{
    bool found = false;
    gyro_roll[GYRO_ELECTRIC] = 30.0f;
    // Unpowered, the glass ball draws nothing; powered, it leans 30 degrees.
    EXPECT_TRUE(in_slot(91, 1.0f, [] { PANEL_adi(); }).empty());
    power();
    EXPECT_NEAR(tilt_of(in_slot(91, 1.0f, [] { PANEL_adi(); }), 384.0f, 512.0f, 320.0f, &found), 30.0f, 0.2f);
    EXPECT_TRUE(found);
    // Type 90 reads the vacuum gyro, 448 the electric one.
    gyro_roll[GYRO_VACUUM] = -15.0f;
    EXPECT_NEAR(tilt_of(in_slot(90, 1.0f, [] { PANEL_adi(); }), 288.0f, 352.0f, 320.0f, &found), -15.0f, 0.2f);
    EXPECT_TRUE(found);
    EXPECT_NEAR(tilt_of(in_slot(448, 1.0f, [] { PANEL_adi(); }), 288.0f, 352.0f, 320.0f, &found), 30.0f, 0.2f);
    EXPECT_TRUE(found);

    // A microburst at the plane writes its warning across the glass ball, but
    // only with the warnings on and an aircraft that has the equipment.
    const size_t plain = in_slot(91, 1.0f, [] { PANEL_adi(); }).size();
    const struct {
        int blowing, warnings, equipped;
        bool shown;
    } rows[] = {{1, 1, 1, true}, {0, 1, 1, false}, {1, 0, 1, false}, {1, 1, 0, false}};
    for (const auto& w : rows) {
        weather_stage.microburst_active = w.blowing;
        sim_operation_prefs.warn_bb = w.warnings;
        pln[0].acf_warn1EQ = w.equipped;
        pln[0].acf_warn2EQ = 0;
        const std::vector<fb_prim> prims = in_slot(91, 1.0f, [] { PANEL_adi(); });
        const size_t drawn = prims.size();
        if (w.shown) {
            EXPECT_GE(drawn, plain + 10) << "the ten letters of the warning";
            // Across the ball: from 32 units left of its centre.
            EXPECT_EQ(glyph_text(110, prims), "MICROBURST|");
            float left = 1e9f;
            for (const fb_rect& r : rects_of(prims))
                if (glyph_of(110, r) != 0) left = std::min(left, r.x1);
            EXPECT_NEAR(left, screen.screen_area_left - 32.0f, 0.5f);   // the slot stands at the origin
        } else
            EXPECT_EQ(drawn, plain) << w.blowing << w.warnings << w.equipped;
    }
    weather_stage.microburst_active = 0;
}

TEST_F(FlightInstruments, FlightDirectorCuesPegAndTheSymbolKnobStops)
{
    power();
    pln[0].acf_has_DC_fd = 1;
    sim_cockpit_autopilot.autopilot_mode = 1;
    sim_cockpit_autopilot.heading_mode = 11;
    sim_cockpit_autopilot.altitude_mode = 13;
    sim_cockpit_autopilot.flight_director_roll = 120.0f;
    sim_cockpit_autopilot.flight_director_pitch = -60.0f;
    for (int i = 0; i < 200; ++i) in_slot(91, 1.0f, [] { PANEL_adi(); });
    EXPECT_NEAR(adi_mem.fd_roll_bar, 45.0f, 0.01f);
    EXPECT_NEAR(adi_mem.fd_pitch_bar, -20.0f, 0.01f);

    mouse.mouse_down = mouse.mouse_held = 1;
    mouse.mouse_x = 512.0f + 50.0f + 5.0f, mouse.mouse_y = 384.0f - 50.0f + 5.0f;
    for (int i = 0; i < 8; ++i) in_slot(91, 1.0f, [] { PANEL_adi(); });
    EXPECT_FLOAT_EQ(adi_mem.adi_symbol_offset, 5.0f);
}

// The roll cue follows the director while a heading mode runs or the lateral
// navigation has captured (19); the pitch cue while an altitude mode runs or
// the vertical navigation has captured (21); a plug-in override drives both.
TEST_F(FlightInstruments, FlightDirectorCuesFollowOnlyTheirActiveModes)
{
    power();
    pln[0].acf_has_DC_fd = 1;
    sim_cockpit_autopilot.flight_director_roll = 10.0f;
    sim_cockpit_autopilot.flight_director_pitch = 5.0f;
    const struct {
        int autopilot, heading, hnav, altitude, vnav, override_fd;
        float roll, pitch;
    } rows[] = {
        {1, 9, 19, 9, 21, 0, 10.0f, 5.0f}, {1, 9, 18, 9, 20, 0, 0.0f, 0.0f}, {1, 11, 0, 9, 0, 0, 10.0f, 0.0f},
        {1, 9, 0, 13, 0, 0, 0.0f, 5.0f},   {0, 11, 19, 13, 21, 0, 0.0f, 0.0f}, {0, 9, 0, 9, 0, 1, 10.0f, 5.0f},
    };
    for (const auto& r : rows) {
        sim_cockpit_autopilot.autopilot_mode = r.autopilot;
        sim_cockpit_autopilot.heading_mode = r.heading;
        sim_cockpit_autopilot.hnav_mode = r.hnav;
        sim_cockpit_autopilot.altitude_mode = r.altitude;
        sim_cockpit_autopilot.vnav_mode = r.vnav;
        sim_operation_override.override_flightdir = r.override_fd;
        for (int i = 0; i < 100; ++i) in_slot(91, 1.0f, [] { PANEL_adi(); });
        EXPECT_NEAR(adi_mem.fd_roll_bar, r.roll, 0.01f) << r.autopilot << r.heading << r.hnav << r.override_fd;
        EXPECT_NEAR(adi_mem.fd_pitch_bar, r.pitch, 0.01f) << r.autopilot << r.altitude << r.vnav << r.override_fd;
    }
    sim_operation_override.override_flightdir = 0;
}

// With the autopilot off, single-cue bars park 70 x scale above the ball
// (double-cue needles centre); the flagged indicator's flag swings to 20
// degrees when the electric gyro's supply drops below a quarter and back to
// -45 above it; the slip ball moves opposite the slip, scale units per unit.
TEST_F(FlightInstruments, BarsParkTheFlagShowsAndTheBallRollsAgainstTheSlip)
{
    power();
    sim_cockpit_autopilot.autopilot_mode = 0;
    pln[0].acf_has_SC_fd = 1;
    for (int i = 0; i < 400; ++i) in_slot(91, 2.0f, [] { PANEL_adi(); });
    EXPECT_NEAR(adi_mem.fd_pitch_bar, 140.0f, 0.05f);
    pln[0].acf_has_SC_fd = 0;
    pln[0].acf_has_DC_fd = 1;
    for (int i = 0; i < 400; ++i) in_slot(91, 2.0f, [] { PANEL_adi(); });
    EXPECT_NEAR(adi_mem.fd_pitch_bar, 0.0f, 0.05f);
    pln[0].acf_has_DC_fd = 0;

    const struct {
        float supply, flag;
    } flags[] = {{0.2f, 20.0f}, {0.3f, -45.0f}};
    for (const auto& c : flags) {
        gyro_power[GYRO_ELECTRIC] = c.supply;
        for (int i = 0; i < 400; ++i) in_slot(460, 1.0f, [] { PANEL_adi(); });
        EXPECT_NEAR(adi_mem.adi_flag_angle, c.flag, 0.01f) << c.supply;
    }
    gyro_power[GYRO_ELECTRIC] = 1.0f;

    flt[0].slip = 0.0f;
    const auto still = rects_of(in_slot(92, 1.5f, [] { PANEL_adi(); }));
    flt[0].slip = 8.0f;
    const auto slipping = rects_of(in_slot(92, 1.5f, [] { PANEL_adi(); }));
    ASSERT_EQ(still.size(), slipping.size());
    int moved = 0;
    for (size_t k = 0; k < still.size(); ++k)
        if (std::fabs(still[k].x1 - slipping[k].x1) > 0.01f) {
            ++moved;
            EXPECT_NEAR(slipping[k].x1 - still[k].x1, -12.0f, 0.05f);
            EXPECT_NEAR(slipping[k].y1, still[k].y1, 0.01f);
        }
    EXPECT_EQ(moved, 1);
}

TEST_F(FlightInstruments, CompassTurningErrorsAndLag)
{
    flt[0].psi = flt[0].magpsi = 90.0f;
    flt[0].local_ax = 1.0f;
    EXPECT_NEAR(COMPASS_indicated_heading(), 72.0f, 1e-3f);
    // The card closes the gap at one part per second: after one second of
    // 0.05 s frames it has covered 1 - 0.95^20 of it.
    for (int i = 0; i < 20; ++i) in_slot(106, 1.0f, [] { PANEL_compass(); });
    EXPECT_NEAR(compass_mem.card_deg, 72.0f * (1.0f - std::pow(0.95f, 20.0f)), 0.01f);
    // Northerly turning error: banked on north, the card swings.
    flt[0].psi = flt[0].magpsi = 0.0f, flt[0].local_ax = 0.0f, flt[0].phi = 20.0f, flt[0].latitude = 45.0f;
    const float t = std::tan(22.5f * 0.01745329f);
    EXPECT_NEAR(COMPASS_indicated_heading(),
                360.0f + std::atan2(-t * std::sin(20.0f * 0.01745329f), 1.0f) * 57.29578f, 1e-2f);
    // Exactly half a turn behind, the gap stays +180 and the card turns up.
    flt[0].phi = 0.0f, flt[0].psi = flt[0].magpsi = 200.0f;
    const float reads = COMPASS_indicated_heading();
    compass_mem.card_deg = reads - 180.0f;
    in_slot(106, 1.0f, [] { PANEL_compass(); });
    EXPECT_NEAR(compass_mem.card_deg, reads - 180.0f + 0.05f * 180.0f, 1e-3f);
}

}  // namespace

// Where each variant puts its parts: the drum altimeters' needle styles
// (97: 12, 98: 14, 99: 13), the EFIS vertical-speed needle 17 right of the
// centre, the compass cards' lubber windows 42 x 12 about (-3, 2), (-1, 7)
// and (8, 4), and the acceleration error on westerly headings too.
TEST_F(FlightInstruments, VariantsPlaceTheirNeedlesAndWindows)
{
    flt[0].h_ind = 2500.0f / 3.2808399f;
    for (const auto& [type, style] : {std::pair{97, 12}, std::pair{98, 14}, std::pair{99, 13}}) {
        const auto prims = in_slot(type, 1.0f, [] { PANEL_altimeter(); });
        for (int st : {12, 13, 14}) {
            const auto n = needles(prims, st);
            ASSERT_EQ(n.size(), st == style ? 1u : 0u) << type << " style " << st;
            if (st == style) { EXPECT_LT(angle_gap(n[0].angle_deg, 180.0f), 0.1f) << type; }
        }
    }

    power();
    flt[0].vh_ind = 0.0f;
    const auto n = needles(in_slot(172, 1.0f, [] { PANEL_vvi(); }), 21);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_NEAR(n[0].pivot_x, 512.0f + 17.0f, 0.01f);
    EXPECT_NEAR(n[0].pivot_y, 384.0f, 0.01f);

    const struct { int type; float cx, cy; } cards[] = {{106, -3.0f, 2.0f}, {107, -1.0f, 7.0f}, {108, 8.0f, 4.0f}};
    for (const auto& c : cards) {
        int found = 0;
        for (const fb_rect& r : rects_of(in_slot(c.type, 1.0f, [] { PANEL_compass(); })))
            if (std::fabs(r.tx1 - 176.0f) < 0.01f && std::fabs(r.tx2 - 336.0f) < 0.01f) {
                ++found;
                EXPECT_NEAR(r.x1, 512.0f + c.cx - 21.0f, 0.01f) << c.type;
                EXPECT_NEAR(r.x2, 512.0f + c.cx + 21.0f, 0.01f) << c.type;
                EXPECT_NEAR(r.y1, 384.0f + c.cy - 6.0f, 0.01f) << c.type;
                EXPECT_NEAR(r.y2, 384.0f + c.cy + 6.0f, 0.01f) << c.type;
            }
        EXPECT_EQ(found, 1) << c.type;
    }

    // West (270): the factor is 90 again, 18 degrees per unit of acceleration;
    // at 200 it is 20, so 4 degrees.
    flt[0].local_ax = 1.0f;
    for (const auto& [psi, reads] : {std::pair{270.0f, 252.0f}, std::pair{200.0f, 196.0f}}) {
        flt[0].psi = flt[0].magpsi = psi;
        EXPECT_NEAR(COMPASS_indicated_heading(), reads, 1e-2f) << psi;
    }
}
// Where the attitude indicators' pieces stand, slot centre (512, 384): the
// glass single-cue symbol (texels 80..156, rows 169/179/180) 10 x scale below
// and 1 x scale above the centre; the mechanical face (slot 450, x -64..64,
// y -54..64) and its symbol (rows 200/210/211) about a centre moved by
// (-2, +2); the glass slip ball centred 75 x scale below.
TEST_F(FlightInstruments, AttitudePiecesStandWhereTheirSpritesSay)
{
    power();
    pln[0].acf_has_SC_fd = 1;
    const struct { int type; float scale, tx1, tx2, ty1, ty2, x1, x2, y1, y2; } pieces[] = {
        {91, 1.0f, 80, 156, 169, 180, 474, 550, 374, 385},
        {91, 2.0f, 80, 156, 169, 180, 436, 588, 364, 386},
        {90, 1.0f, 0, 512, 40, 512, 446, 574, 332, 450},
        {90, 1.0f, 80, 156, 200, 211, 472, 548, 376, 387},
    };
    for (const auto& p : pieces) {
        int found = 0;
        for (const fb_rect& r : rects_of(in_slot(p.type, p.scale, [] { PANEL_adi(); }))) {
            if (std::fabs(r.tx1 - p.tx1) > 0.01f || std::fabs(r.tx2 - p.tx2) > 0.01f || std::fabs(r.ty1 - p.ty1) > 0.01f ||
                std::fabs(r.ty2 - p.ty2) > 0.01f)
                continue;
            ++found;
            EXPECT_NEAR(r.x1, p.x1, 0.01f) << p.type << " " << p.ty1;
            EXPECT_NEAR(r.x2, p.x2, 0.01f) << p.type << " " << p.ty1;
            EXPECT_NEAR(r.y1, p.y1, 0.01f) << p.type << " " << p.ty1;
            EXPECT_NEAR(r.y2, p.y2, 0.01f) << p.type << " " << p.ty1;
        }
        EXPECT_EQ(found, 1) << p.type << " " << p.ty1;
    }
    for (float scale : {1.0f, 2.0f}) {
        flt[0].slip = 0.0f;
        const auto still = rects_of(in_slot(92, scale, [] { PANEL_adi(); }));
        flt[0].slip = 8.0f;
        const auto slipping = rects_of(in_slot(92, scale, [] { PANEL_adi(); }));
        ASSERT_EQ(still.size(), slipping.size());
        for (size_t k = 0; k < still.size(); ++k)
            if (std::fabs(still[k].x1 - slipping[k].x1) > 0.01f) {
                EXPECT_NEAR((still[k].y1 + still[k].y2) * 0.5f, 384.0f - 75.0f * scale, 0.01f) << scale;
            }
    }
}

// Small placements: the linear altimeter's ground mark 8 left of the centre
// (100 ft above the ground: 10 units down); the linear airspeed tape's ticks
// 19 right of its numbers (cross position 9 - 3 against label position -13);
// the director's cues close a tenth of the gap in a 0.05 s frame (k = 2 dt).
TEST_F(FlightInstruments, GroundMarkTapeColumnsAndCueSmoothing)
{
    flt[0].y_agl = 100.0f / 3.2808399f;
    int marks = 0;
    for (const fb_rect& r : rects_of(in_slot(100, 1.0f, [] { PANEL_altimeter(); })))
        if (std::fabs(r.x2 - r.x1 - 4.0f) < 0.01f && std::fabs(r.y2 - r.y1 - 5.0f) < 0.01f) {
            ++marks;
            EXPECT_NEAR(r.x1, 512.0f - 8.0f, 0.01f);
            EXPECT_NEAR(r.y1, 384.0f - 10.0f - 3.0f, 0.01f);
        }
    EXPECT_EQ(marks, 1);

    pln[0].acf_asi_kts = 1;
    flt[0].indicated_airspeed = 100.0f;
    float tick_x = 1e9f, digit_x = 1e9f;
    for (const fb_rect& r : rects_of(in_slot(87, 1.0f, [] { PANEL_asi(); }))) {
        const int c = glyph_of(110, r);
        if (c == '_') tick_x = std::min(tick_x, r.x1);
        if (c >= '0' && c <= '9') digit_x = std::min(digit_x, r.x1);
    }
    EXPECT_NEAR(tick_x - digit_x, 19.0f, 0.01f);

    power();
    adi_mem = adi_memory{};
    pln[0].acf_has_DC_fd = 1;
    sim_cockpit_autopilot.autopilot_mode = 1;
    sim_cockpit_autopilot.heading_mode = 11;
    sim_cockpit_autopilot.flight_director_roll = 10.0f;
    sim_operation_misc.frame_rate_period = 0.05f;
    in_slot(91, 1.0f, [] { PANEL_adi(); });
    EXPECT_NEAR(adi_mem.fd_roll_bar, 1.0f, 1e-4f);
}

// A tape whose window holds no tick still shows its index line, 24 units
// across the slot's centre: the linear altimeter at -1,000 ft (its ticks stop
// at 0) and the linear airspeed tape at -40 kt, as at +1,000 ft and 100 kt.
TEST_F(FlightInstruments, TapesKeepTheirIndexLineWithNoTickInTheirWindow)
{
    auto index_lines = [](int type, void (*draw)()) {
        int n = 0;
        for (const fb_prim& p : in_slot(type, 1.0f, draw))
            n += p.token != GL_POLYGON_TOKEN && p.v.size() == 2 && p.v[0].y == 384.5f && p.v[1].y == 384.5f &&
                 std::fabs(p.v[1].x - p.v[0].x) == 24.0f;
        return n;
    };
    pln[0].acf_asi_kts = 1;
    for (const float k : {1.0f, -1.0f}) {
        flt[0].h_ind = k * 304.8f;
        flt[0].indicated_airspeed = k > 0.0f ? 100.0f : -40.0f;
        EXPECT_EQ(index_lines(100, [] { PANEL_altimeter(); }), 1) << k;
        EXPECT_EQ(index_lines(87, [] { PANEL_asi(); }), 1) << k;
    }
}
