// A glass panel (every glass type, three synthetic-vision instruments, the
// weapon camera) drawn over many frames with random flight, GPS, selector,
// flight-plan and traffic values, random clicks, and the viewer at the loaded
// area's edges: nothing is read or written out of bounds (the sanitizers
// watch) and the origin always comes back.
#include "tests/panel/panel_fixture.h"

#include <cstring>
#include <random>

#include "core/constants.h"
#include "core/weapon_kinds.h"
#include "flightmodel/systems/flight_plan.h"
#include "panel/glass/glass.h"
#include "scene/scene_state.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"
#include "world/scenery_area.h"

TEST_F(PanelTest, GlassPanelWithRandomValuesAtTheAreasEdge)
{
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> chance(0, 9), big(-100000, 100000);
    auto pick = [&](std::initializer_list<float> values) {
        return *(values.begin() + std::uniform_int_distribution<size_t>(0, values.size() - 1)(rng));
    };
    auto wild = [&] { return pick({0.0f, 1.0f, -1.0f, 0.5f, 359.9f, 1.0e30f, -1.0e30f, std::nanf(""), INFINITY, 90.0f}); };
    auto index = [&] { return pick({0.0f, 1.0f, -1.0f, 5.0f, 199.0f, 200.0f, 1.0e6f, -1.0e6f}); };

    // A small world: two airports with runways, navaids and fixes in the lists.
    NAV_clear_tables();
    runway_geometry_table.clear();
    for (int n = 0; n < 3; ++n) {
        airport_record a{};
        runway_record r{};
        r.lat = 35.0f + 0.01f * n, r.lon = -116.5f;
        r.geometry_index = n == 2 ? 77 : n;   // the last one's geometry entry is missing
        a.runways.push_back(r);
        std::snprintf(a.id, sizeof a.id, "K%03d", n);
        airport_table.push_back(a);
        runway_geometry_record g;
        g.sections.push_back(runway_section{0, {0, 0, -3000.0f * n}, {40, 0, -3000.0f * n}});
        g.sections.push_back(runway_section{0, {0, 0, -3000.0f * n - 2000.0f}, {40, 0, -3000.0f * n - 2000.0f}});
        if (n < 2) runway_geometry_table.push_back(g);
        navaid_record v{};
        v.kind = n == 0 ? 2 : 3, v.lat = 35.1f, v.lon = -116.4f;
        navaid_table.push_back(v);
        fix_table.push_back(fix_record{35.2f, -116.6f, "FX", 0});
    }
    local_airport_list[0] = 0, local_airport_list[1] = 1, local_airport_list[2] = 2, local_airport_list[3] = 99999;
    navaid_start_list[0][0] = 1, navaid_start_list[1][0] = 0, navaid_start_list[1][1] = -4;
    local_fix_list[0] = 2, local_fix_list[1] = 123456;
    local_airport_last = 3, navaid_start_last[0] = 0, navaid_start_last[1] = 1, local_fix_last = 1;

    const int types[] = {166, 167, 168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184,
                         185, 186, 187, 191, 191, 191, 192, 331, 333, 371, 372, 373, 374, 390, 435, 451, 452};
    acf_struct& a = pln[0];
    int s = 0;
    for (int t : types) {
        slot(s, t, 100.0f + 30.0f * static_cast<float>(s % 30), 150.0f + 250.0f * static_cast<float>(s / 30));
        ++s;
    }
    for (int k = 0; k < ACF_WPN_SLOTS; ++k) a.acf_wpn_slot[k].wpn_type = k % 2 ? WPN_KIND_BOMB_PRESS : WPN_KIND_BOMB_PRESS_2;
    flt_struct& f = flt[0];
    for (int frame = 0; frame < 300; ++frame) {
        power();
        sim_cockpit_electrical.avionics_on = chance(rng) < 9;
        sim_graphics_scenery.current_planet = chance(rng) < 8 ? PLANET_EARTH : PLANET_MARS;
        scenery_area = chance(rng) < 8 ? scenery_area_record{-225000, 225000, -200000, 200000} : scenery_area_record{0, 0, 0, 0};
        camera_cell = {static_cast<int32_t>(pick({0.0f, 449.0f, 450.0f, -7.0f, 383.0f, 9999.0f})),
                       static_cast<int32_t>(pick({0.0f, 399.0f, 400.0f, -7.0f, 319.0f, 9999.0f}))};
        f.i = static_cast<int32_t>(index()), f.j = static_cast<int32_t>(index());
        f.local_x = wild(), f.local_y = wild(), f.local_z = wild();
        f.psi = wild(), f.theta = wild(), f.phi = wild(), f.magpsi = wild(), f.hpath = wild();
        f.latitude = wild(), f.longitude = wild(), f.elevation = wild(), f.groundspeed = wild();
        f.vx_acf_axis = wild(), f.vy_acf_axis = wild(), f.vz_acf_axis = wild(), f.h_ind = wild(), f.vh_ind = wild();
        f.indicated_airspeed = wild(), f.machno = wild(), f.flaprat = wild(), f.onground_any = chance(rng) < 3;
        sim_graphics_view.view_x = wild(), sim_graphics_view.view_z = wild();
        sim_graphics_view.view_zoom = wild(), sim_graphics_view.field_of_view_deg = wild();
        sim_cockpit_gps.destination_type = static_cast<int32_t>(pick({0, 1, 2, 3, 11, 13, 77, -1}));
        sim_cockpit_gps.destination_index = static_cast<int32_t>(index());
        sim_cockpit_gps.airport_index = static_cast<int32_t>(index());
        sim_cockpit_gps.ndb_index = static_cast<int32_t>(index()), sim_cockpit_gps.vor_index = static_cast<int32_t>(index());
        sim_cockpit_gps.fix_index = static_cast<int32_t>(index());
        sim_cockpit_switches.EFIS_map_range_selector = big(rng) % 9;
        sim_cockpit_switches.EFIS_map_mode = chance(rng) < 8;
        sim_cockpit_switches.EFIS_dme_1_selector = chance(rng) % 4, sim_cockpit_switches.EFIS_dme_2_selector = chance(rng) % 4;
        sim_cockpit_radios.nav_type[chance(rng) % 4] = chance(rng) < 5;
        sim_weather.rain_percent = pick({0.0f, 0.5f, std::nanf("")});
        sim_graphics_settings.draw_aircrafts = big(rng) % 40;
        sim_graphics_settings.draw_ships = chance(rng) < 5;
        sim_cockpit_weapons.bombs_armed = chance(rng) < 7;
        for (wpn_slot_record& w : a.acf_wpn_slot) {
            w.wpn_released = chance(rng) < 3;
            w.wpn_terrain_i = static_cast<int32_t>(index()), w.wpn_terrain_j = static_cast<int32_t>(index());
            w.wpn_pos[0] = wild(), w.wpn_psi = wild();
        }
        for (int k = 1; k < FLT_SLOTS; ++k) flt[k].local_x = wild(), flt[k].local_y = wild(), flt[k].local_z = wild();
        fms_plan.destination_index = static_cast<int32_t>(index()), fms_plan.displayed_index = static_cast<int32_t>(index());
        fms_entry& e = fms_plan.entries[chance(rng) * 10];
        e.type = static_cast<int32_t>(pick({0, 1, 2, 3, 11, 13, 50}));
        e.reference = static_cast<int32_t>(index());
        std::memset(e.id, 'A' + chance(rng), sizeof e.id);
        std::memset(e.altitude, '0' + chance(rng), sizeof e.altitude);
        e.latitude = wild(), e.longitude = wild();
        interval_ticks[INTERVAL_ONE_SECOND] = chance(rng) < 5;
        mouse.mouse_x = static_cast<float>(big(rng) % 1024), mouse.mouse_y = static_cast<float>(big(rng) % 768);
        mouse.mouse_down = chance(rng) < 5, mouse.mouse_held = chance(rng) < 6;
        screen.open_menu = -1;
        screen.screen_area_left = 1.5f, screen.screen_area_bottom = 2.5f;
        PANEL_update();
        ASSERT_EQ(screen.screen_area_left, 1.5f) << frame;
        ASSERT_EQ(screen.screen_area_bottom, 2.5f) << frame;
    }
    NAV_clear_tables();
    runway_geometry_table.clear();
    local_airport_last = local_fix_last = navaid_start_last[0] = navaid_start_last[1] = -1;
}
