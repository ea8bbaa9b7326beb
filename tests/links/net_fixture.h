// A known state for the network link's tests: the link started on a free
// port with every destination slot pointing at the loopback test peer (all
// slots off), the spine's services installed, empty plane and airport
// tables, and "ERROR.OUT" and "DATA.OUT" in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ios>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/dataout.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_time.h"
#include "shell/main.h"
#include "tests/support/net_peer.h"
#include "tests/support/test_support.h"
#include "world/navdb.h"
#include "world/ships.h"

class NetState : public ::testing::Test {
protected:
    void SetUp() override
    {
        RESET_all();
        CONST_fill_constants();
        FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");   // the built data folder: the scene builds find its tiles
        PLANET_set_constants(PLANET_EARTH);
        for (flt_struct& f : flt) f = flt_struct{};
        for (int s = 0; s < 3; ++s) std::memset(static_cast<void*>(&pln[s]), 0, sizeof pln[s]);
        for (acf_struct& a : pln) std::snprintf(a.acf_file_name, ACF_TEXT_SIZE, "TEST.ACF");
        sim_graphics_settings.draw_aircrafts = 3;
        for (int s = 0; s < NET_SLOT_COUNT; ++s) {
            net_slot_enabled[s] = net_slot_valid[s] = net_peer_heard[s] = 0;
            net_peer_heard_time[s] = 0.0f;
        }
        // The clock stands still: a command that rebuilds the world takes no
        // time, so the next one is due at the next pass.
        PLAT_set_clock_source([] { return 100.0; }, nullptr);
        NET_reset();
        net_peer_attach();
        APPLICATION_install_hooks();
        app_mode = MODE_FLYING;
        quit_flag = 0;
        frame_clock = 10.0f;
        std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
        lat_ref = 46.0f;
        lon_ref = -123.0f;
        net_origin_by_network = 0;
        weather_seed = 0;
        airport_table.clear();
        for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) ship_x[k] = ship_z[k] = -9.9e9f;   // no ship placed yet
        // The logs start over in the test's folder, in the streams' own
        // format: a fixed or precise format an earlier program start left on
        // them would change how the traces print numbers.
        const std::ios fresh_format(nullptr);
        error_log.close();
        error_log.clear();
        error_log.copyfmt(fresh_format);
        error_log.open(dir_.path() / "ERROR.OUT");
        data_log.close();
        data_log.clear();
        data_log.copyfmt(fresh_format);
        data_log.open(dir_.path() / "DATA.OUT");
    }

    void TearDown() override
    {
        error_log.close();
        data_log.close();
        PLAT_set_clock_source(nullptr, nullptr);
    }

    std::string error_text()
    {
        error_log.flush();
        return read_file_bytes(dir_.path() / "ERROR.OUT");
    }
    int error_lines()
    {
        const std::string t = error_text();
        return static_cast<int>(std::count(t.begin(), t.end(), '\n'));
    }
    std::string data_text()
    {
        data_log.flush();
        return read_file_bytes(dir_.path() / "DATA.OUT");
    }

    // Puts one datagram on the program's port and runs the receive pass.
    static void receive(const std::string& label, int index, char mark, const void* payload, size_t size)
    {
        ASSERT_TRUE(net_peer_send(label, index, mark, payload, size));
        ASSERT_EQ(net_peer_deliver(1), 1);
        NET_receive();
    }
    static void receive_text(const std::string& label, int index, const std::string& text)
    {
        receive(label, index, '0', text.data(), text.size());
    }
    template <class T>
    static void receive_record(const std::string& label, int index, const T& record, char mark = '0')
    {
        receive(label, index, mark, &record, sizeof record);
    }

    static void enable(int slot) { net_slot_enabled[slot] = net_slot_valid[slot] = 1; }

    // Reverses the bytes of every 4-byte word, as a big-endian sender writes them.
    template <class T>
    static T big_endian(T record)
    {
        auto* b = reinterpret_cast<uint8_t*>(&record);
        for (size_t k = 0; k + 3 < sizeof record; k += 4) {
            std::swap(b[k], b[k + 3]);
            std::swap(b[k + 1], b[k + 2]);
        }
        return record;
    }

    temp_folder dir_;
};
