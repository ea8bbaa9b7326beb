// A panel of random instrument types, sizes, places and states, drawn over
// many frames with random flight values and mouse: nothing is read or written
// out of bounds (the sanitizers watch), and the origin always comes back.
#include "tests/panel/panel_fixture.h"

#include <random>

#include "flightmodel/atmosphere.h"

TEST_F(PanelTest, RandomPanelsDrawSafelyFrameAfterFrame)
{
    std::mt19937 rng(29);
    auto pick = [&](std::initializer_list<float> values) {
        return *(values.begin() + std::uniform_int_distribution<size_t>(0, values.size() - 1)(rng));
    };
    auto wild = [&] { return pick({0.0f, 1.0f, -1.0f, 0.5f, 1.0e30f, -1.0e30f, std::nanf(""), INFINITY, 7.0f, 250.0f}); };
    std::uniform_int_distribution<int> type(-3, 480), count(-2, 12), chance(0, 9);
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    // No picture is looked at: drawn into one pixel of the window, the
    // frames run every line of the panel's code and cost no rasterising.
    glViewport(0, 0, 1, 1);
    for (int frame = 0; frame < 300; ++frame) {
        if (frame % 10 == 0) {
            for (int s = 0; s < ACF_INS_SLOTS; ++s) {
                a.acf_ins_type[s] = chance(rng) < 3 ? -1 : type(rng);
                a.acf_ins_size[s] = pick({1.0f, 0.5f, 2.0f, 0.0f, -1.0f, std::nanf(""), 1.0e6f});
                a.acf_ins_x[s] = chance(rng) ? static_cast<float>(chance(rng) * 100) : wild();
                a.acf_ins_y[s] = chance(rng) ? static_cast<float>(chance(rng) * 70) : wild();
                a.acf_ins_dely[s] = wild();
            }
            a.acf_num_engines = count(rng);
            a.acf_num_thrustpoints = count(rng);
            for (int e = 0; e < 8; ++e) {
                a.acf_en_type[e] = count(rng);
                a.acf_prop_type[e] = count(rng);
                a.acf_prop_gear_rat[e] = wild();
            }
            for (int k = 0; k < 26; ++k) {
                a.acf_cus_rnd_use[k] = chance(rng) < 3;
                a.acf_cus_rnd_lo_val[k] = wild(), a.acf_cus_rnd_hi_val[k] = wild();
                a.acf_cus_rnd_lo_ang[k] = wild(), a.acf_cus_rnd_hi_ang[k] = wild();
            }
            a.acf_face_jet = wild(), a.acf_tmax = wild(), a.acf_Mmo = wild(), a.acf_Vne = wild();
            a.acf_Vso = wild(), a.acf_m_jettison = wild(), a.acf_max_press_diff = wild();
            a.acf_trq_max_prp = wild(), a.acf_RSC_redline_prp = wild(), a.acf_RSC_redline_eng = wild();
            a.acf_flap_detents = static_cast<int32_t>(rng()) % 20 - 5;
            for (float& dn : a.acf_flap_dn) dn = wild();
            a.acf_elv_trim_pos_lim = wild(), a.acf_elv_trim_neg_lim = wild(), a.acf_rud_trim_pos_lim = wild();
            a.acf_ail_trim_neg_lim = wild(), a.acf_gear_retract = chance(rng) < 5, a.acf_jett_is_water = chance(rng) < 5;
            for (float& x : sim_cockpit_misc.lever_gang_x) x = wild();
            has_view_bitmap[0] = chance(rng) < 5;
            sim_graphics_settings.transparent_panel = chance(rng) < 2;
            sim_graphics_misc.show_panel_click_spots = chance(rng) < 2;
            sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = chance(rng) < 8;
        }
        for (int e = 0; e < 8; ++e) {
            f.POINT_tacrad[e] = wild(), f.ENGN_tacrad[e] = wild(), f.ENGN_N1_[e] = wild();
            f.ENGN_EPR[e] = wild(), f.ENGN_FF_[e] = wild(), f.ENGN_bat_volt[e] = wild();
        }
        f.indicated_airspeed = wild(), f.vh_ind = wild(), f.turnrate_roll = wild(), f.slip = wild();
        f.g_nrml = wild(), f.vacuum = wild(), f.alpha = wild(), f.groundspeed = wild(), f.m_jettison = wild();
        f.y_agl = wild(), f.stallwarning = chance(rng) < 5;
        // Selectors, trims and courses as plug-ins and datagrams may write them.
        auto any_int = [&] { return static_cast<int32_t>(rng()); };
        sim_cockpit_switches.HSI_selector = any_int(), sim_cockpit_switches.RMI_selector = any_int();
        sim_cockpit_switches.auto_brake_settings = any_int(), sim_cockpit_engine.fuel_tank_selector = any_int();
        sim_cockpit_weapons.firing_rate = any_int(), f.ignition_on[0] = any_int();
        sim_cockpit_radios.nav1_obs_degm = wild(), sim_cockpit_radios.obs_mag = wild();
        f.elv_trim = wild(), f.rud_trim = wild(), f.rot_trim = wild(), f.flaprqst = wild(), f.flaprat = wild();
        f.sbrkrqst = wild(), f.ENGN_thro[0] = wild(), f.swdi = wild();
        sim_time.local_time_sec = wild();
        sim_time.total_running_time_sec = static_cast<float>(frame) * 0.05f;
        sim_operation_misc.frame_rate_period = pick({0.05f, 0.0f, -1.0f});
        sim_cockpit_pressure.cabin_altitude_set_m_msl = wild();
        sim_cockpit_warnings_annunciators.fuel_pressure = static_cast<int32_t>(rng());
        mouse.mouse_x = static_cast<float>(chance(rng) * 100), mouse.mouse_y = static_cast<float>(chance(rng) * 70);
        mouse.mouse_down = chance(rng) < 3, mouse.mouse_held = chance(rng) < 6, mouse.mouse_panel_drag = chance(rng) < 3;
        screen.open_menu = chance(rng) < 1 ? 2 : -1;
        screen.screen_area_left = 1.5f, screen.screen_area_bottom = 2.5f;
        PANEL_update();
        ASSERT_EQ(screen.screen_area_left, 1.5f) << frame;
        ASSERT_EQ(screen.screen_area_bottom, 2.5f) << frame;
    }
    sim_weather.rain_percent = sim_weather.thunderstorm_percent = std::nanf("");
    PANEL_radar_texture();
    glViewport(0, 0, 1024, 768);
}
