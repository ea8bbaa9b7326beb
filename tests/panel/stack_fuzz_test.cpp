// A panel of radio, GPS, gauge, ECAM and orbiter types with random
// selectors, indices and values (as plug-ins and "DATA" datagrams may write
// them), over empty and small navigation tables: nothing is read or written
// out of bounds (the sanitizers watch), every cursor and selector a drawn head
// edits by is back inside its range after the pass, and the tables keep their
// sizes.
#include "tests/panel/stack_fixture.h"

#include <array>
#include <random>

#include "world/navdb.h"

TEST_F(StackTest, RandomSelectorsAndIndicesStayInsideTheirTables)
{
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> any(-1000, 1000), chance(0, 9);
    auto wild_int = [&] {
        const int32_t picks[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 11, 13, 96, -7, INT32_MAX, INT32_MIN};
        return chance(rng) < 7 ? picks[std::uniform_int_distribution<size_t>(0, std::size(picks) - 1)(rng)] : any(rng);
    };
    auto wild = [&] {
        const float picks[] = {0.0f, 1.0f, -1.0f, 1.0e30f, -1.0e30f, std::nanf(""), INFINITY, 1234.5f, 80.0f};
        return picks[std::uniform_int_distribution<size_t>(0, std::size(picks) - 1)(rng)];
    };
    static constexpr int types[] = {188, 189, 190, 193, 194, 195, 196, 197, 198, 199, 200, 201, 202, 203, 204, 205,
                                    206, 210, 211, 212, 215, 216, 223, 224, 227, 228, 231, 474, 232, 233, 234,
                                    235, 236, 237, 238, 454, 239, 240, 241, 475, 324, 328, 412, 404, 408, 465,
                                    332, 334, 335, 336, 337, 397, 343, 346, 347, 348, 349, 350, 351, 352, 353};
    for (int frame = 0; frame < 300; ++frame) {
        if (frame % 25 == 0) {
            NAV_clear_tables();
            if (frame % 50 == 0) {
                airport_record a{};
                a.runways.resize(static_cast<size_t>(chance(rng)));
                airport_table.push_back(a);
                navaid_table.push_back(navaid_record{3, 0, 0, 0, 11000, 0, "VOR", "", 0});
                fix_table.push_back(fix_record{});
            }
            // The heads whose cursors and selectors are checked below are always on the panel.
            static constexpr int checked[] = {INS_RAD_GPS_GA, INS_RAD_TRANSPONDER_BC, INS_RAD_TRANSPONDER_HM,
                                              INS_RAD_ADF1FF_BC, INS_RAD_NAVCOMADFFF_HM};
            for (int s = 0; s < 12; ++s)
                if (s < 5) slot(s, checked[s], 80.0f * s, 300.0f, 1.0f);
                else slot(s, types[std::uniform_int_distribution<size_t>(0, std::size(types) - 1)(rng)], 80.0f * s, 300.0f,
                          chance(rng) < 8 ? 1.0f : wild());
            pln[0].acf_num_engines = wild_int();
            pln[0].acf_num_tanks = wild_int();
            for (int k = 0; k < 50; ++k) pln[0].acf_cus_rnd_use[k] = chance(rng) < 3;
        }
        sim_cockpit_switches_block& sw = sim_cockpit_switches;
        sw.DME_distance_or_time = wild_int(), sw.DME_radio_selector = wild_int(), sw.ECAM_mode = wild_int();
        sw.audio_panel_out = wild_int(), sw.marker_panel_out = wild_int();
        sim_cockpit_gps_block& g = sim_cockpit_gps;
        g.destination_type = wild_int(), g.destination_index = wild_int();
        g.airport_index = wild_int(), g.vor_index = wild_int(), g.ndb_index = wild_int(), g.fix_index = wild_int();
        g.course = wild();
        gps_unit.cursor = wild_int();
        sim_cockpit_radios_block& r = sim_cockpit_radios;
        r.transponder_code = wild_int(), r.transponder_mode = wild_int(), r.dme_freq_hz = wild_int();
        r.nav1_freq_hz = wild_int(), r.adf1_stdby_freq_hz = wild_int(), r.gps_dme_dist_m = wild();
        radio_heads.combined_radio = wild_int(), radio_heads.bc_adf_digit = wild_int();
        for (int i = 0; i < RADIO_RECEIVERS; ++i) r.nav1_has_dme[i] = chance(rng) < 5, r.nav1_dme_dist_m[i] = wild();
        flt[0].groundspeed = wild(), flt[0].local_y = wild(), flt[0].y_agl = wild(), flt[0].indicated_airspeed = wild();
        flt[0].psi = wild(), flt[0].m_fuel1 = wild(), flt[0].flaprat = wild();
        sim_time.total_running_time_sec = static_cast<float>(frame) * 0.05f;
        sim_time.timer_elapsed_time_sec = wild(), sim_time.local_time_sec = wild();
        for (int& t : interval_ticks) t = chance(rng) < 3;
        mouse.mouse_x = static_cast<float>(chance(rng) * 80), mouse.mouse_y = 300.0f + static_cast<float>(any(rng) % 60);
        mouse.mouse_down = chance(rng) < 4, mouse.mouse_held = chance(rng) < 6, mouse.mouse_panel_drag = chance(rng) < 3;
        const auto sizes = [] { return std::array{airport_table.size(), navaid_table.size(), fix_table.size()}; };
        const auto before = sizes();
        PANEL_update();
        const auto in = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
        const int32_t mode = sim_cockpit_radios.transponder_mode;   // a transponder off edits no digit
        EXPECT_TRUE(in(gps_unit.cursor, 0, 5) && in(mode, 0, 3) && in(radio_heads.bc_adf_digit, 1, 3) &&
                    in(radio_heads.combined_radio, 0, 5) &&
                    (mode == 0 || (in(transponder.xpdr_digit_cursor, 0, 3) && in(transponder.xpdr_key_cursor, 0, 3))))
            << frame << ": " << gps_unit.cursor << " " << mode << " " << transponder.xpdr_digit_cursor << " "
            << transponder.xpdr_key_cursor << " " << radio_heads.bc_adf_digit << " " << radio_heads.combined_radio;
        EXPECT_EQ(sizes(), before) << frame;
        PANEL_gps(std::uniform_int_distribution<int>(-3, 13)(rng));
        PANEL_transponder(1);
        PANEL_clock_timer(chance(rng) < 5, chance(rng) < 5);
    }
    NAV_clear_tables();
}
