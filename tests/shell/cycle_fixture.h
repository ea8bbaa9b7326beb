// A known simulation state for the tests of the simulation cycle, the
// numeric commands, the keyboard commands and the defaults.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/reset_registry.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems.h"
#include "links/dataout.h"
#include "links/plugin_host.h"
#include "links/net_slots.h"
#include "world/fires.h"
#include "world/scene_origin.h"
#include "shell/commands.h"
#include "shell/cycle.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "shell/keys.h"
#include "shell/modes.h"
#include "core/constants.h"
#include "core/replay.h"
#include "core/simvars.h"
#include "tests/support/net_peer.h"
#include "tests/support/terrain_support.h"
#include "tests/support/test_support.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"

constexpr int TICK_01 = 6;
constexpr int TICK_005 = 7;

// The project's own data folder ("data/..." beside the tests).
inline std::filesystem::path data_folder()
{
    return std::filesystem::path(ORVELL_FIXTURES).parent_path().parent_path() / "data";
}

class SimState : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_folder_ = program_folder;
        set_program_folder(program_dir_.prefix());   // an empty folder of its own: a scene build lists it
        RESET_all();
        CONST_fill_constants();   // an aircraft loaded by a command is converted with the unit factors
        for (flt_struct& f : flt) f = flt_struct{};
        pln[0] = acf_struct{};
        pln[0].acf_gear_type[PART_GEAR_FIRST] = 1;   // a plane on wheels: runway starts stand on the runway
        // Slot 0 names an aircraft already, so switching modes loads none.
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "AIRCRAFT:TEST.ACF");
        std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "TEST.ACF");
        for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_slot_valid[s] = 0;
        net_peer_attach();   // every slot's address is a socket of the test peer
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        replay_index = app_mode = quit_flag = net_origin_by_network = chat_typing = 0;
        frame_clock = 0.0f;
        lat_ref = 34.0f;
        lon_ref = -118.0f;
        PLANET_set_constants(0);
        NAV_clear_tables();
        local_airport_last = -1;
        navaid_start_last[0] = navaid_start_last[1] = -1;
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
        TEST_lay_flat_grid(0.0f);
        fire_table = fire_table_record{};   // no fires an earlier scene build placed
        std::memset(key_assignment_table, 0, sizeof key_assignment_table);
        COMMANDS_use_default_browser();
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_graphics_settings.draw_aircrafts = 1;
        clear_logs();
    }

    void TearDown() override
    {
        COMMANDS_use_default_browser();
        if (folder_changed_) {
            FOLDERS_init_from((saved_folder_ + "orvell").c_str());
            std::strcpy(program_folder, saved_folder_.c_str());
        }
    }

    // The program folder (and its folder table) for this test; put back after it.
    void set_program_folder(const std::string& prefix)
    {
        FOLDERS_init_from((prefix + "orvell").c_str());
        folder_changed_ = true;
    }

    static void clear_logs()
    {
        net_peer_clear();
        PLUGIN_host_reset();
    }

    // A flight start zeroes the flight time: marked beforehand, a zero shows one ran.
    static void mark_flight() { sim_time.total_flight_time_sec = 77.0f; }
    static bool flight_started() { return sim_time.total_flight_time_sec == 0.0f; }

    static void enable(int slot) { net_slot_enabled[slot] = net_slot_valid[slot] = 1; }

    static std::vector<net_sent_datagram> sent(const std::string& label) { return net_peer_sent(label); }

    static std::string text_of(const net_sent_datagram& d)
    {
        const std::vector<uint8_t> pl = d.payload();
        return std::string(pl.begin(), pl.end());
    }

    // One airport with `runways` runways and `starts` start positions.
    static int add_airport(const char* id, float lat, float lon, int runways, int starts)
    {
        airport_record a{};
        std::strncpy(a.id, id, APT_ID_SIZE - 1);
        for (int r = 0; r < runways; ++r) {
            runway_record rw{};
            rw.lat = lat + 0.01f * r;
            rw.lon = lon;
            std::strcpy(rw.number, "09");
            rw.heading = 90.0f;
            rw.length = 1000.0f;
            a.runways.push_back(rw);
        }
        for (int s = 0; s < starts; ++s) a.starts.push_back(start_position_record{lat, lon, 0.0f, {}});
        airport_table.push_back(a);
        return static_cast<int>(airport_table.size()) - 1;
    }

    std::string saved_folder_;
    bool folder_changed_ = false;
    temp_folder program_dir_;
};
