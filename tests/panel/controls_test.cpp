// The switch bank, knobs, levers, flap lever and trim wheels worked the way
// the user works them: scripted mouse records on a slot, and the command codes
// the keys, buttons and console send. State is read back from the words they
// switch; what they draw from the feedback mode.
#include "tests/panel/panel_fixture.h"

#include "core/engine_types.h"
#include "panel/controls/controls.h"

namespace {

class Controls : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel_at(400.0f, 300.0f);
        pln[0].acf_gear_retract = 1;
    }
    // One mouse-down at (dx, dy) from the slot centre, the slot of `type`
    // drawn once with it, then the button released.
    template <class F>
    static std::vector<fb_rect> click(int type, float dx, float dy, F&& draw, int held_long = 0)
    {
        mouse.mouse_x = screen.screen_area_left + dx, mouse.mouse_y = screen.screen_area_bottom + dy;
        mouse.mouse_down = 1, mouse.mouse_held = 1, mouse.mouse_panel_drag = held_long;
        panel_ins_type = type;
        panel_ins_scale = 1.0f;
        const auto drawn = capture_rects(draw);
        release();
        return drawn;
    }
    static void release() { mouse.mouse_down = mouse.mouse_held = mouse.mouse_panel_drag = 0; }
    static void on_switch(int type, float dx, float dy) { click(type, dx, dy, [] { PANEL_switches(-1, 0); }); }
    // The state of `type`'s sprite among the drawn quads (-1 when none shows).
    static int shown_state(int type, const std::vector<fb_rect>& drawn)
    {
        for (const fb_rect& r : drawn)
            for (int s = 0; s <= 6; ++s) {
                const panel_sprite sp = PANEL_sprite(type, s);
                if (sp.sheet != SHEET_NONE && std::fabs((r.tx1 + r.tx2) * 0.5f - sp.cu) < 0.01f &&
                    std::fabs((r.ty1 + r.ty2) * 0.5f - sp.cv) < 0.01f)
                    return s;
            }
        return -1;
    }
};

TEST_F(Controls, CommandsWorkTheSwitchesWithoutDrawing)
{
    // A command toggles once, leaves its type current and draws nothing,
    // with no such switch on the panel.
    auto drawn = capture_feedback([] { PANEL_switches(7, 0); });
    EXPECT_EQ(sim_cockpit_switches.yaw_damper_on, 1);
    EXPECT_EQ(panel_ins_type, 7);
    EXPECT_TRUE(drawn.empty());
    // Per-engine switches serve the engine given; an engine outside the eight does nothing.
    PANEL_switches(9, 3);
    PANEL_switches(9, 8);
    PANEL_switches(9, -1);
    EXPECT_EQ(sim_cockpit_engine.fadec_on[3], 1);
    EXPECT_EQ(sim_cockpit_engine.fadec_on[0] + sim_cockpit_engine.fadec_on[7], 0);
    // The pressurization test runs 0.2 s past the press; the overspeed test
    // takes clicks only.
    PANEL_switches(417, 0);
    EXPECT_FLOAT_EQ(sim_cockpit_pressure.pressure_test_timeout, frame_clock + 0.2f);
    PANEL_switches(414, 0);
    EXPECT_FLOAT_EQ(flt[0].prop_ospeed_test_timeout, 0.0f);

    // The gear handle: fixed gear ignores it silently; retractable gear toggles and sounds.
    pln[0].acf_gear_retract = 0;
    PANEL_switches(20, 0);
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 0);
    EXPECT_TRUE(sounds.played_slots.empty());
    pln[0].acf_gear_retract = 1;
    drawn = capture_feedback([] { PANEL_switches(20, 0); });
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 1);
    EXPECT_EQ(sounds.played_slots, std::vector<int>{27});
    EXPECT_TRUE(drawn.empty());

    // A trim command steps the trim and sets the wheel spinning, drawing nothing.
    drawn = capture_feedback([] { PANEL_trim_wheels(24, 0); });
    EXPECT_FLOAT_EQ(flt[0].rud_trim, -0.001f);
    EXPECT_FLOAT_EQ(trim_mem.trim_spin_until[TRIM_WHEEL_RUDDER], frame_clock + 0.5f);
    EXPECT_TRUE(drawn.empty());
    PANEL_trim_wheels(25, 0);
    PANEL_trim_wheels(28, 0);
    panel_ins_type = 67;   // code 25 leaves an indicator's type current: still nothing drawn
    EXPECT_TRUE(capture_feedback([] { PANEL_trim_wheels(25, 0); }).empty());
    EXPECT_FLOAT_EQ(flt[0].rud_trim, -0.001f);
    EXPECT_FLOAT_EQ(flt[0].ail_trim, 0.0f);

    // JATO arms only while burn is left; the jettison drops the load or, on a
    // water bomber, starts the drop while there is water.
    flt[0].jato_left = 0.01f;
    PANEL_switches(14, 0);
    EXPECT_EQ(sim_cockpit_switches.jato_on, 0);
    flt[0].jato_left = 3.0f;
    PANEL_switches(14, 0);
    EXPECT_EQ(sim_cockpit_switches.jato_on, 1);
    flt[0].m_jettison = 500.0f;
    pln[0].acf_jett_is_water = 1;
    PANEL_switches(11, 0);
    EXPECT_EQ(flt[0].water_drop_on, 1);
    EXPECT_EQ(flt[0].m_jettison, 500.0f);
    pln[0].acf_jett_is_water = 0;
    PANEL_switches(11, 0);
    EXPECT_EQ(flt[0].m_jettison, 0.0f);
}

TEST_F(Controls, ClicksOnSwitchesShowTheirSpritesAndTheLightsTheGear)
{
    auto drawn = click(29, 0, 0, [] { PANEL_switches(-1, 0); });
    EXPECT_EQ(sim_cockpit_electrical.battery_on, 1);
    EXPECT_EQ(shown_state(29, drawn), 0);
    drawn = click(29, 0, 0, [] { PANEL_switches(-1, 0); });
    EXPECT_EQ(sim_cockpit_electrical.battery_on, 0);
    EXPECT_EQ(shown_state(29, drawn), -1);
    power();

    // Gear up and locked: dark, press-to-test shows state 1; in transit state 0; down and locked 1.
    pln[0].acf_gear_deploy[68] = 0.0f;
    panel_ins_type = 22;
    EXPECT_EQ(shown_state(22, capture_rects([] { PANEL_switches(-1, 68); })), -1);
    mouse.mouse_x = 400.0f, mouse.mouse_y = 300.0f, mouse.mouse_held = 1;
    EXPECT_EQ(shown_state(22, capture_rects([] { PANEL_switches(-1, 68); })), 1);
    release();
    pln[0].acf_gear_deploy[68] = 0.5f;
    EXPECT_EQ(shown_state(22, capture_rects([] { PANEL_switches(-1, 68); })), 0);
    sim_cockpit_switches.gear_handle_status = 1;
    pln[0].acf_gear_deploy[68] = 1.0f;
    EXPECT_EQ(shown_state(22, capture_rects([] { PANEL_switches(-1, 68); })), 1);
    EXPECT_TRUE(capture_rects([] { PANEL_switches(-1, 300); }).empty());   // no such gear part

    // The parking brake: a click sets it from below 0.1 and releases it from
    // 0.1 up; its sprite shows while it is set or either toe brake is past half.
    const struct { float from, to; } brakes[] = {{0.0f, 1.0f}, {0.09f, 1.0f}, {0.3f, 0.0f}, {1.0f, 0.0f}};
    for (const auto& b : brakes) {
        flt[0].parkbrake = b.from;
        click(19, 0, 0, [] { PANEL_switches(-1, 0); });
        EXPECT_FLOAT_EQ(flt[0].parkbrake, b.to) << b.from;
    }
    panel_ins_type = 19;
    for (const float toe : {0.6f, 0.4f}) {
        flt[0].l_brake_add = toe;
        EXPECT_EQ(shown_state(19, capture_rects([] { PANEL_switches(-1, 0); })), toe > 0.5f ? 0 : -1) << toe;
    }
    flt[0].l_brake_add = 0.0f;

    // The clutch transit light shows only for a piston engine with a clutch part-way engaged.
    pln[0].acf_has_clutch = 1;
    pln[0].acf_eng_clutch[1] = 1;
    panel_ins_type = 457;
    const struct { int en_type; float ratio; int shown; } clutch[] = {
        {1, 0.5f, 0}, {0, 0.01f, 0}, {1, 0.995f, -1}, {2, 0.5f, -1},
    };
    for (const auto& c : clutch) {
        pln[0].acf_en_type[1] = c.en_type;
        sim_cockpit_engine.clutch_ratio[1] = c.ratio;
        EXPECT_EQ(shown_state(457, capture_rects([] { PANEL_switches(-1, 0); })), c.shown) << c.en_type << " " << c.ratio;
    }

    // The starter key: a click turns it, a long press cranks while powered.
    pln[0].acf_en_type[0] = 0;
    click(34, 5, 5, [] { PANEL_switches(-1, 0); });
    EXPECT_EQ(flt[0].ignition_on[0], 1);
    drawn = click(34, 0, 0, [] { PANEL_switches(-1, 0); }, 1);
    EXPECT_FLOAT_EQ(sim_cockpit_engine.starter_duration[0], 0.1f);
    EXPECT_EQ(shown_state(34, drawn), 2);
    pln[0].acf_en_type[0] = 2;   // a turbine's key has only off and both
    click(34, 5, 5, [] { PANEL_switches(-1, 0); });
    EXPECT_EQ(flt[0].ignition_on[0], 0);
    sim_cockpit_engine.starter_duration[0] = 0.0f;
    drawn = click(34, 5, 5, [] { PANEL_switches(-1, 0); });   // drawn at the step, then to both
    EXPECT_EQ(shown_state(34, drawn), 1);
    EXPECT_EQ(flt[0].ignition_on[0], 3);

    // The JATO switch shows while JATO is armed.
    panel_ins_type = 14;
    for (const int on : {1, 0}) {
        sim_cockpit_switches.jato_on = on;
        EXPECT_EQ(shown_state(14, capture_rects([] { PANEL_switches(-1, 0); })), on ? 0 : -1) << on;
    }

    // The jettison button shows in the frame of its click; on a water bomber
    // only when the click starts a drop.
    const struct { int water; float load; int shown; } jettison[] = {{0, 0.0f, 0}, {1, 0.0f, -1}, {1, 50.0f, 0}};
    for (const auto& j : jettison) {
        pln[0].acf_jett_is_water = j.water, flt[0].m_jettison = j.load, flt[0].water_drop_on = 0;
        EXPECT_EQ(shown_state(11, click(11, 0, 0, [] { PANEL_switches(-1, 0); })), j.shown) << j.water << j.load;
        panel_ins_type = 11;
        EXPECT_EQ(shown_state(11, capture_rects([] { PANEL_switches(-1, 0); })), -1);   // not on later frames
    }
}

TEST_F(Controls, SelectorsStepWrapAndClampByTheDiagonal)
{
    struct step {
        int type;
        int32_t* word;
        int32_t from;
        float dx, dy;
        std::vector<int32_t> then;
    };
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    const step cases[] = {
        {5, &sw.auto_brake_settings, -1, -5, -5, {4, 3}},
        {5, &sw.auto_brake_settings, 4, 5, 5, {-1, 0}},
        {28, &sw.EFIS_map_range_selector, 6, 5, 5, {6}},
        {394, &sim_cockpit_engine.fuel_tank_selector, 0, 5, 5, {1, 4, 2, 2}},
        {394, &sim_cockpit_engine.fuel_tank_selector, 2, -5, -5, {4, 1, 0, 0}},
        {38, &sim_cockpit_engine.fuel_tank_selector, 0, 5, 5, {4, 4}},
        {38, &sim_cockpit_engine.fuel_tank_selector, 4, -5, -5, {0}},
        {395, &sim_cockpit_engine.fuel_tank_selector, 0, 5, 5, {1, 2, 3, 3}},
        {393, &sim_cockpit_engine.fuel_tank_selector, 1, 5, 5, {2, 2}},
        {439, &sim_cockpit_weapons.firing_rate, 1, 5, 5, {2, 5, 10, 10}},
        {369, &sw.EFIS_dme_1_selector, 2, 9, 4, {0}},
        {25, &sw.HSI_selector, 2147483647, 0, 0, {1}},   // a wild value from outside wraps in range
    };
    for (const step& c : cases) {
        *c.word = c.from;
        for (int32_t want : c.then) {
            on_switch(c.type, c.dx, c.dy);
            EXPECT_EQ(*c.word, want) << "type " << c.type << " from " << c.from;
        }
    }
    // The firing-rate knob starts at 0, which reads as its first position.
    sim_cockpit_weapons.firing_rate = 0;
    on_switch(439, 20, 20);
    EXPECT_EQ(sim_cockpit_weapons.firing_rate, 1);

    // The arming selectors share one position; a kind the type lacks stays safe.
    on_switch(423, 5, 5);
    on_switch(423, 5, 5);
    EXPECT_EQ(sim_cockpit_weapons.rockets_armed, 1);
    EXPECT_EQ(sim_cockpit_weapons.guns_armed + sim_cockpit_weapons.bombs_armed, 0);
    on_switch(433, 5, 5);
    EXPECT_EQ(switch_mem.weapon_select_pos, 3);
    EXPECT_EQ(sim_cockpit_weapons.missiles_armed, 1);

    // Each arming selector's positions: the position that arms guns,
    // rockets, missiles and bombs (0 where the type lacks the kind), and the
    // last position it turns to.
    const struct { int type; int guns, rockets, missiles, bombs, last; } arming[] = {
        {422, 1, 1, 1, 1, 1}, {423, 1, 2, 0, 0, 2}, {424, 1, 0, 2, 0, 2}, {425, 1, 0, 0, 2, 2},
        {426, 0, 1, 2, 0, 2}, {427, 0, 1, 0, 2, 2}, {428, 0, 0, 1, 2, 2}, {429, 1, 2, 3, 0, 3},
        {430, 1, 2, 0, 3, 3}, {431, 1, 0, 2, 3, 3}, {432, 0, 1, 2, 3, 3}, {433, 1, 2, 3, 4, 4},
    };
    const sim_cockpit_weapons_block& w = sim_cockpit_weapons;
    for (const auto& a : arming)
        for (int p = 0; p <= 5; ++p) {
            switch_mem.weapon_select_pos = p;
            panel_ins_type = a.type;
            PANEL_switches(-1, 0);
            const int at = std::min(p, a.last);
            EXPECT_EQ(switch_mem.weapon_select_pos, at) << a.type;
            EXPECT_EQ(w.guns_armed, a.guns != 0 && at == a.guns ? 1 : 0) << a.type << " at " << at;
            EXPECT_EQ(w.rockets_armed, a.rockets != 0 && at == a.rockets ? 1 : 0) << a.type << " at " << at;
            EXPECT_EQ(w.missiles_armed, a.missiles != 0 && at == a.missiles ? 1 : 0) << a.type << " at " << at;
            EXPECT_EQ(w.bombs_armed, a.bombs != 0 && at == a.bombs ? 1 : 0) << a.type << " at " << at;
        }
}

TEST_F(Controls, KnobsWrapOrClampAndRunAtTheirRate)
{
    // One upper-right click on each knob moves its value by its click step.
    const struct { int type; float* value; float from, to; } steps[] = {
        {39, &sim_cockpit_electrical.cockpit_lights, 0.5f, 0.55f},
        {41, &sim_cockpit_misc.barometer_setting, 29.92f, 29.93f},
        {43, &sim_cockpit_radios.nav2_obs_degm, 100.0f, 101.0f},
        {45, &sim_cockpit_radios.adf2_obs_card_mag, 100.0f, 99.0f},
        {46, &sim_cockpit_misc.radio_altimeter_minimum, 100.0f, 110.0f},
    };
    for (const auto& c : steps) {
        *c.value = c.from;
        click(c.type, 5, 5, [] { PANEL_knob(); });
        EXPECT_NEAR(*c.value, c.to, 1e-4f) << "type " << c.type;
    }
    sim_cockpit_radios.nav1_obs_degm = 359.0f;
    click(42, 5, 5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.nav1_obs_degm, 360.0f);
    click(42, 5, 5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.nav1_obs_degm, 1.0f);
    click(44, 5, 5, [] { PANEL_knob(); });   // the ADF card turns the other way
    EXPECT_FLOAT_EQ(sim_cockpit_radios.adf1_obs_card_mag, 359.0f);
    sim_cockpit_switches.HSI_selector = 2;
    click(375, -5, -5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.obs_mag, 359.0f);
    sim_cockpit_switches.HSI_selector = 7;   // outside 0..2: nav 1
    click(375, 5, 5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_radios.nav1_obs_degm, 2.0f);

    click(40, 5, 5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_electrical.HUD_brightness, 1.0f);
    click(40, -5, -5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_electrical.HUD_brightness, 0.1f);
    sim_cockpit_misc.barometer_setting = std::nanf("");
    click(41, -5, -5, [] { PANEL_knob(); });
    EXPECT_FLOAT_EQ(sim_cockpit_misc.barometer_setting, 0.0f);

    // Held long, the radio-altimeter minimum runs at 100 ft/s below 500 ft, then 500 ft/s.
    sim_cockpit_misc.radio_altimeter_minimum = 490.0f;
    sim_operation_misc.frame_rate_period = 0.05f;
    for (int i = 0; i < 3; ++i) click(46, 5, 5, [] { PANEL_knob(); }, 1);
    EXPECT_NEAR(sim_cockpit_misc.radio_altimeter_minimum, 490.0f + 5.0f + 5.0f + 25.0f, 1e-3f);
    for (int i = 0; i < 200; ++i) click(46, 5, 5, [] { PANEL_knob(); }, 1);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.radio_altimeter_minimum, 2500.0f);
}

TEST_F(Controls, FlapLeverSnapsToDetentsAndSpeedBrakeToHalves)
{
    acf_struct& a = pln[0];
    a.acf_flap_detents = 3;
    a.acf_flap_dn[0] = 0, a.acf_flap_dn[1] = 10, a.acf_flap_dn[2] = 20, a.acf_flap_dn[3] = 40;
    const struct { float request, snapped; } snaps[] = {{0.4f, 0.5f}, {0.375f, 0.25f}, {0.9f, 1.0f}, {0.05f, 0.0f}};
    for (const auto& c : snaps) {
        flt[0].flaprqst = c.request;
        in_slot(62, 1.0f, [] { PANEL_flap_lever(); });
        EXPECT_FLOAT_EQ(flt[0].flaprqst, c.snapped) << c.request;
    }
    // A click a quarter of the way down the travel asks for the 10-degree detent.
    click(62, 0, 28.0f - 14.0f, [] { PANEL_flap_lever(); });
    EXPECT_FLOAT_EQ(flt[0].flaprqst, 0.25f);
    // Detent counts from a file: only the table's own entries; none gives 0.
    a.acf_flap_detents = 1000;
    a.acf_flap_dn[7] = 80.0f;
    flt[0].flaprqst = 0.3f;
    in_slot(62, 1.0f, [] { PANEL_flap_lever(); });
    EXPECT_FLOAT_EQ(flt[0].flaprqst, 0.25f);
    a.acf_flap_detents = -1;
    in_slot(62, 1.0f, [] { PANEL_flap_lever(); });
    EXPECT_FLOAT_EQ(flt[0].flaprqst, 0.0f);
    // The round flap indicator turns 135 degrees from flaps up to flaps down.
    auto flap_needle = [](float rat) {
        flt[0].flaprat = rat;
        const auto n = needles(in_slot(453, 1.0f, [] { PANEL_flap_lever(); }), 57);
        return n.empty() ? -999.0f : n[0].angle_deg;
    };
    EXPECT_NEAR(angle_gap(flap_needle(1.0f), flap_needle(0.0f)), 135.0f, 0.5f);
    EXPECT_NEAR(angle_gap(flap_needle(0.5f), flap_needle(0.0f)), 67.5f, 0.5f);

    // Speed brake: released at 0.3 it rests at 0.5; armed only with the auto option.
    flt[0].sbrkrqst = 0.3f;
    in_slot(56, 1.0f, [] { PANEL_levers(0, 100.0f); });
    EXPECT_FLOAT_EQ(flt[0].sbrkrqst, 0.5f);
    flt[0].sbrkrqst = -0.5f;
    in_slot(56, 1.0f, [] { PANEL_levers(0, 100.0f); });
    EXPECT_FLOAT_EQ(flt[0].sbrkrqst, 0.0f);
    a.acf_autosbrkEQ = 1;
    flt[0].sbrkrqst = -0.5f;
    in_slot(56, 1.0f, [] { PANEL_levers(0, 100.0f); });
    EXPECT_FLOAT_EQ(flt[0].sbrkrqst, -0.5f);

    // Sweep reached half way on a 100-unit travel: the indicator at
    // y = 43 + (-33 - 43) x 0.5 = 5, x 19 beside the sweep lever, 11 beside
    // the incidence lever (the handle itself stands at x 0).
    flt[0].swdi = 0.5f;
    for (const auto& c : {std::pair{58, 19.0f}, std::pair{458, 11.0f}}) {
        panel_ins_type = c.first;
        const auto drawn = capture_rects([] { PANEL_levers(0, 100.0f); });
        bool found = false;
        for (const fb_rect& r : drawn)
            found = found || (std::fabs((r.x1 + r.x2) * 0.5f - (400.0f + c.second)) < 0.01f &&
                              std::fabs((r.y1 + r.y2) * 0.5f - 305.0f) < 0.01f);
        EXPECT_TRUE(found) << c.first;
    }
}

TEST_F(Controls, ThrottleDragMovesTheEngineAndTheGroupMovesTogether)
{
    acf_struct& a = pln[0];
    a.acf_num_engines = 2;
    a.acf_throtmax_FWD = 1.0f;
    // Lever travel 100: half travel 45, handle between y -45 and 45.
    click(48, 0, 45, [] { PANEL_levers(1, 100.0f); });
    EXPECT_NEAR(flt[0].ENGN_thro[1], 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[0], 0.0f);
    // A grab on the group's column (lever_gang_x at the slot) moves each lever it serves.
    sim_cockpit_misc.lever_gang_x[0] = 400.0f;
    for (int e = 0; e < 2; ++e) click(48, 0, -45, [e] { PANEL_levers(e, 100.0f); });
    EXPECT_NEAR(flt[0].ENGN_thro[0], 0.0f, 1e-4f);
    EXPECT_NEAR(flt[0].ENGN_thro[1], 0.0f, 1e-4f);
    EXPECT_TRUE(capture_rects([] { PANEL_levers(12, 100.0f); }).empty());   // no such engine
    // Mixture is rich at the top of its travel; carburettor heat is off there.
    click(52, 0, 45, [] { PANEL_levers(1, 100.0f); });
    click(54, 0, 45, [] { PANEL_levers(1, 100.0f); });
    EXPECT_NEAR(flt[0].ENGN_mixt[1], 1.0f, 1e-4f);
    EXPECT_NEAR(flt[0].ENGN_heat[1], 0.0f, 1e-4f);
    click(54, 0, -45, [] { PANEL_levers(1, 100.0f); });
    EXPECT_NEAR(flt[0].ENGN_heat[1], 1.0f, 1e-4f);

    // With reversers, a short click below the forward range leaves idle
    // forward; after a long press the lever enters reverse.
    a.acf_revthrust_eq = 1;
    a.acf_throtmax_REV = 1.0f;
    flt[0].ENGN_propmode[1] = 1;
    sim_cockpit_misc.lever_gang_x[0] = 0.0f;
    click(48, 0, -45, [] { PANEL_levers(1, 100.0f); });
    EXPECT_EQ(flt[0].ENGN_propmode[1], 1);
    EXPECT_FLOAT_EQ(flt[0].ENGN_thro[1], 0.0f);
    click(48, 0, -45, [] { PANEL_levers(1, 100.0f); }, 1);
    EXPECT_EQ(flt[0].ENGN_propmode[1], 3);

    // A vernier's handle runs on its own slot's picture like a linear one, and
    // the collective gives the least blade pitch at the top of its travel.
    click(47, 0, 45, [] { PANEL_levers(0, 100.0f); });
    EXPECT_NEAR(flt[0].ENGN_thro[0], 1.0f, 1e-4f);
    a.acf_num_thrustpoints = 1, a.acf_prop_type[0] = PROP_COLLECTIVE_ROTOR;
    a.acf_min_pitch[0] = 2.0f, a.acf_max_pitch[0] = 14.0f;
    click(60, 0, 45, [] { PANEL_levers(0, 100.0f); });
    EXPECT_NEAR(flt[0].POINT_pitch_deg[0], 2.0f, 1e-3f);
    click(60, 0, -45, [] { PANEL_levers(0, 100.0f); });
    EXPECT_NEAR(flt[0].POINT_pitch_deg[0], 14.0f, 1e-3f);
    // The vector lever asks for 1 at the bottom of its travel (12 - 45); displacement is 1.05 at the top.
    click(59, 0, -33, [] { PANEL_levers(0, 100.0f); });
    click(61, 0, 45, [] { PANEL_levers(0, 100.0f); });
    EXPECT_NEAR(flt[0].vectrqst, 1.0f, 1e-4f);
    EXPECT_NEAR(flt[0].displace_rat, 1.05f, 1e-4f);
}

TEST_F(Controls, TrimWheelsStepSpinAndTheIndicatorsRestOnZeroLimits)
{
    // One click on the upper elevator spot: exactly -0.001, and the wheel turns.
    click(66, 0, 15, [] { PANEL_trim_wheels(-1, 0); });
    EXPECT_FLOAT_EQ(flt[0].elv_trim, -0.001f);
    frame_clock += 0.05f;
    const auto drawn = in_slot(66, 1.0f, [] { PANEL_trim_wheels(-1, 0); });
    EXPECT_FLOAT_EQ(trim_mem.trim_spin_phase[TRIM_WHEEL_ELEVATOR], 0.25f);
    EXPECT_FALSE(drawn.empty());
    // The rotor trim runs at 0.2 a second and stops at 0.
    flt[0].rot_trim = 0.005f;
    PANEL_trim_wheels(23, 1);
    EXPECT_FLOAT_EQ(flt[0].rot_trim, 0.0f);

    // Elevator trim at its positive limit: the indicator 25 below its centre;
    // a limit of 0 from a file leaves it at the centre.
    acf_struct& a = pln[0];
    a.acf_elv_trim_pos_lim = 0.5f;
    flt[0].elv_trim = 0.5f;
    auto r = capture_rects([] { panel_ins_type = 67, panel_ins_scale = 1.0f, PANEL_trim_wheels(-1, 0); });
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NEAR((r[0].y1 + r[0].y2) * 0.5f, 300.0f - 25.0f, 1e-3f);
    a.acf_elv_trim_pos_lim = 0.0f;
    r = capture_rects([] { panel_ins_type = 67, panel_ins_scale = 1.0f, PANEL_trim_wheels(-1, 0); });
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NEAR((r[0].y1 + r[0].y2) * 0.5f, 300.0f, 1e-3f);
}

TEST_F(Controls, TrimWheelSpotsAndPictures)
{
    // Each wheel's two spots (pressed 8 beyond their centres, away from the
    // wheel's middle) step its trim down and up; the turning picture sits at
    // (-2, 0) on the vertical wheels and (0, 2) on the horizontal ones.
    sim_operation_misc.frame_rate_period = 0.05f;
    flt_struct& f = flt[0];
    const struct { int type; float* trim; float step, mx, my, px, py, sx, sy; } wheels[] = {
        {66, &f.elv_trim, 0.001f, 0, 23, 0, -23, -2, 0},
        {72, &f.rot_trim, 0.01f, 0, 23, 0, -23, -2, 0},
        {68, &f.rud_trim, 0.001f, -23, 0, 23, 0, 0, 2},
        {70, &f.ail_trim, 0.001f, -23, 0, 23, 0, 0, 2},
    };
    for (const auto& w : wheels) {
        *w.trim = 0.5f;
        click(w.type, w.mx, w.my, [] { PANEL_trim_wheels(-1, 0); });
        EXPECT_NEAR(*w.trim, 0.5f - w.step, 1e-5f) << w.type;
        trim_mem = trim_wheel_memory{};   // the picture at rest, phase 0
        const auto drawn = click(w.type, w.px, w.py, [] { PANEL_trim_wheels(-1, 0); });
        EXPECT_NEAR(*w.trim, 0.5f, 1e-5f) << w.type;
        ASSERT_FALSE(drawn.empty()) << w.type;
        EXPECT_NEAR((drawn[0].x1 + drawn[0].x2) * 0.5f, 400.0f + w.sx, 0.01f) << w.type;
        EXPECT_NEAR((drawn[0].y1 + drawn[0].y2) * 0.5f, 300.0f + w.sy, 0.01f) << w.type;
    }
}

TEST_F(Controls, TrimCommandsPickTheirWheelStepAndSpinWay)
{
    // Frame period 0.05 s: a click step is 0.001, the rotor moves 0.05 x 0.2,
    // and a spinning wheel advances 0.05 x 5 = 0.25 pictures a call.
    sim_operation_misc.frame_rate_period = 0.05f;
    struct row {
        int code, wheel;
        float* trim;
        float step, spin;
    };
    flt_struct& f = flt[0];
    const row rows[] = {
        {20, TRIM_WHEEL_ELEVATOR, &f.elv_trim, 0.001f, -0.25f}, {21, TRIM_WHEEL_ELEVATOR, &f.elv_trim, -0.001f, 0.25f},
        {22, TRIM_WHEEL_ROTOR, &f.rot_trim, 0.01f, -0.25f},     {23, TRIM_WHEEL_ROTOR, &f.rot_trim, -0.01f, 0.25f},
        {24, TRIM_WHEEL_RUDDER, &f.rud_trim, -0.001f, -0.25f},  {26, TRIM_WHEEL_RUDDER, &f.rud_trim, 0.001f, 0.25f},
        {27, TRIM_WHEEL_AILERON, &f.ail_trim, -0.001f, -0.25f}, {29, TRIM_WHEEL_AILERON, &f.ail_trim, 0.001f, 0.25f},
    };
    for (const row& r : rows) {
        f.elv_trim = f.rud_trim = f.ail_trim = 0.0f;
        f.rot_trim = 0.5f;
        const float before = *r.trim;
        PANEL_trim_wheels(r.code, 0);
        EXPECT_NEAR(*r.trim - before, r.step, 1e-6f) << "code " << r.code;
        EXPECT_FLOAT_EQ(trim_mem.trim_spin_rate[r.wheel], r.spin) << "code " << r.code;
    }
    // Turning the elevator wheel from phase 0 at +0.25 a call: pictures 0 and 1
    // show; phases 2 and up leave the background, and a phase of exactly 3
    // stays blank before the next call comes round to picture 0.
    trim_mem.trim_spin_phase[TRIM_WHEEL_ELEVATOR] = 0.0f;
    trim_mem.trim_spin_rate[TRIM_WHEEL_ELEVATOR] = 0.25f;
    trim_mem.trim_spin_until[TRIM_WHEEL_ELEVATOR] = frame_clock + 100.0f;
    std::vector<int> shown;
    for (int call = 0; call < 13; ++call) {
        const auto drawn = in_slot(66, 1.0f, [] { PANEL_trim_wheels(-1, 0); });
        shown.push_back(drawn.empty() ? -1 : static_cast<int>(trim_mem.trim_spin_phase[TRIM_WHEEL_ELEVATOR]));
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, -1, -1, -1, -1, -1, 0}));

    // The indicators at the positive limits: rudder and aileron 15 right of
    // the slot at y -6; the rotor indicator at half trim sits at 20 - 20 = 0, x 6.
    acf_struct& a = pln[0];
    a.acf_rud_trim_pos_lim = a.acf_ail_trim_pos_lim = 0.4f;
    f.rud_trim = f.ail_trim = 0.4f;
    f.rot_trim = 0.5f;
    const struct { int type; float x, y; } marks[] = {{69, 15.0f, -6.0f}, {71, 15.0f, -6.0f}, {73, 6.0f, 0.0f}};
    for (const auto& m : marks) {
        const auto r = capture_rects([&] { panel_ins_type = m.type, panel_ins_scale = 1.0f, PANEL_trim_wheels(-1, 0); });
        ASSERT_EQ(r.size(), 1u) << m.type;
        EXPECT_NEAR((r[0].x1 + r[0].x2) * 0.5f, 400.0f + m.x, 1e-3f) << m.type;
        EXPECT_NEAR((r[0].y1 + r[0].y2) * 0.5f, 300.0f + m.y, 1e-3f) << m.type;
    }
}

}  // namespace
