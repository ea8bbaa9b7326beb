// The link in the started program (the default data folder, the default
// trainer at its start airport): the data output of the simulation cycle, the
// "DATA.OUT" rows, control from outside through the frame loop, and a storm
// of damaged datagrams that must leave the frame loop running.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "links/dataout.h"
#include "links/dataout_session.h"
#include "links/net_slots.h"
#include "links/net_receive.h"
#include "links/network.h"
#include "shell/cycle.h"
#include "shell/frame.h"
#include "shell/main.h"
#include "shell/menus.h"
#include "shell/modes.h"
#include "tests/links/program_peer_fixture.h"
#include "tests/support/startup_program.h"
#include "tests/support/net_peer.h"
#include "world/apt_scene.h"
#include "world/atc.h"

extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

namespace fs = std::filesystem;

class ProgramLink : public started_program_with_peer {
protected:
    void SetUp() override
    {
        started_program_with_peer::SetUp();
        sim_time.paused = 0;
    }
    static std::string data_file()
    {
        data_log.flush();
        return read_file_bytes(folder->path() / "DATA.OUT");
    }
};

template <class T>
T at(const std::vector<uint8_t>& b, size_t offset)
{
    T v;
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

TEST_F(ProgramLink, TrainerDataGoesOutOnceTheRatesPeriodHasPassed)
{
    ASSERT_EQ(pln[0].acf_num_engines, 1);
    for (int g = 0; g < DATAOUT_GROUPS; ++g) sim_network_dataout.data_to_internet[g] = 0;
    for (int g : {2, 17, 23}) sim_network_dataout.data_to_internet[g] = 1;
    sim_network_dataout.network_data_rate = 20.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    net_slot_enabled[12] = net_slot_valid[12] = 1;
    CYCLE_reset();
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    net_peer_clear();
    std::vector<float> sent_at;
    std::vector<net_sent_datagram> data;
    for (int k = 1; k <= 6; ++k) {
        frame_clock = 0.02f * static_cast<float>(k);
        update_plane_cycle();
        for (const net_sent_datagram& d : net_peer_sent("DATA")) {
            sent_at.push_back(frame_clock);
            data.push_back(d);
        }
        net_peer_clear();
    }
    ASSERT_FALSE(sent_at.empty());
    EXPECT_FLOAT_EQ(sent_at[0], 0.06f);   // the first frame past 0.04 s
    const std::vector<uint8_t>& b = data[0].bytes;
    ASSERT_EQ(b.size(), 114u);
    EXPECT_EQ(at<int32_t>(b, 6), 2);
    EXPECT_EQ(at<int32_t>(b, 6 + 36), 17);
    EXPECT_EQ(at<int32_t>(b, 6 + 72), 23);
    EXPECT_FLOAT_EQ(at<float>(b, 6 + 4 + 2 * 4), at<float>(b, 6 + 4) * 1.1507795f);
    for (int k = 1; k < 8; ++k) EXPECT_EQ(at<float>(b, 6 + 72 + 4 + 4 * k), 0.0f) << "engine " << k;
    sim_network_dataout.data_to_internet[2] = sim_network_dataout.data_to_internet[17] =
        sim_network_dataout.data_to_internet[23] = 0;
}

TEST_F(ProgramLink, DataFileRowsFollowUnpausedTenthsOfASecond)
{
    for (int g = 0; g < DATAOUT_GROUPS; ++g) sim_network_dataout.data_to_disk[g] = 0;
    sim_network_dataout.data_to_disk[23] = sim_network_dataout.data_to_disk[24] = 1;
    const size_t before = data_file().size();
    DATAOUT_reset();
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    for (int k = 0; k < 8; ++k) {
        sim_time.paused = k >= 5 ? 1 : 0;
        interval_ticks[INTERVAL_TENTH_SECOND] = 1;
        update_plane_cycle();
    }
    sim_time.paused = 0;
    const std::string section = data_file().substr(before);
    std::vector<std::string> lines;
    for (size_t p = 0, e; (e = section.find('\n', p)) != std::string::npos; p = e + 1) lines.push_back(section.substr(p, e - p));
    ASSERT_EQ(lines.size(), 7u) << section;   // an empty line, the header, five rows
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "  thro1,_part |   mode1,____n | ");
    for (int r = 2; r < 7; ++r) EXPECT_EQ(std::count(lines[r].begin(), lines[r].end(), '|'), 2) << lines[r];
    sim_network_dataout.data_to_disk[23] = sim_network_dataout.data_to_disk[24] = 0;
}

TEST_F(ProgramLink, OutsideProgramDrivesTheYokeThroughTheFrameLoop)
{
    auto send_group8 = [](float pitch) {
        const data_record r{8, {pitch, -999, -999, -999, -999, -999, -999, -999}};
        ASSERT_TRUE(net_peer_send("DATA", 0, '0', &r, sizeof r));
        for (int k = 0; k < 3; ++k) frame();
    };
    send_group8(0.5f);
    EXPECT_EQ(sim_joystick.yolk_pitch_ratio, 0.5f);
    EXPECT_EQ(sim_operation_override.override_joystick, 1);
    send_group8(-999.0f);
    EXPECT_EQ(sim_operation_override.override_joystick, 0);
}

// A peer's "quit" goes on to the live slots, the preferences are written
// (the user is at an airport) and the frame loop ends.
TEST_F(ProgramLink, QuitFromAPeerIsRelayedSavesThePreferencesAndEndsTheLoop)
{
    auto preference_files = [] {
        std::vector<fs::path> found;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder->path())) {
            std::string name = e.path().filename().string();
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".PRF") == 0) found.push_back(e.path());
        }
        return found;
    };
    for (const fs::path& p : preference_files()) fs::remove(p);
    ASSERT_TRUE(preference_files().empty());
    net_slot_enabled[4] = net_slot_valid[4] = 1;
    ASSERT_TRUE(net_peer_send("KSTM", 0, '0', "quit           ", 15));
    frame();
    EXPECT_EQ(quit_flag, 1);
    APPLICATION_run_frames();   // returns at once
    ASSERT_EQ(net_peer_sent("KSTM").size(), 1u);
    EXPECT_EQ(net_peer_sent("KSTM")[0].slot, 4);
    EXPECT_EQ(net_peer_sent("KSTM")[0].payload_text(), "quit           ");
    EXPECT_FALSE(preference_files().empty());
    quit_flag = 0;
    ALERT_set_quitting(false);
}

// A peer's clicks and keys meet a peer's refusals and limits wherever what
// they set off runs: 100 click pairs on File > Screenshot over 10 s take one
// screenshot every 5 s; File > About and the data-to-file key open no box,
// each counted as refused. No screen opens either, whether clicked in the
// Settings menu, sent as a numbered command or reached by keys working the
// ATC window: the flight runs on.
TEST_F(ProgramLink, APeersClicksAndKeysMeetThePeersRefusals)
{
    auto at_centre = [](const auto& r) {
        char xy[24];
        std::snprintf(xy, sizeof xy, "%04d%04d", static_cast<int>(r.left + r.right) / 2, static_cast<int>(r.bottom + r.top) / 2);
        ASSERT_TRUE(net_peer_send("MOUS", 0, '0', xy, 8));
    };
    auto choose_in = [&](int menu, int command) {
        at_centre(menu_table[menu]);
        for (const menu_item_record& it : menu_table[menu].items)
            if (it.command == command && it.text[0] != '-') return at_centre(it);
    };
    auto choose = [&](int command) { choose_in(0, command); };
    auto shots = [] {
        int n = 0;
        for (const fs::directory_entry& e : fs::directory_iterator(folder->path()))
            n += e.path().filename().string().rfind("screenshot_", 0) == 0 ? 1 : 0;
        return n;
    };
    const int shots_before = shots();
    for (int k = 0; k < 100; ++k, frame(0.1)) choose(1205);
    EXPECT_LE(shots() - shots_before, 3);
    const uint64_t refused = net_counters.refused;
    choose(0);
    ASSERT_TRUE(net_peer_send("CHAR", 0, '0', "D", 1));
    for (int k = 0; k < 3; ++k) frame();
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(net_counters.refused, refused + 2);

    ASSERT_STREQ(menu_table[1].title, "Settings");
    uint64_t screens = 0;
    const uint64_t before_screens = net_counters.refused;
    const float flown = sim_time.total_flight_time_sec;
    for (const menu_item_record& it : menu_table[1].items) {
        if (it.text[0] == 0 || it.text[0] == '-') continue;
        choose_in(1, it.command);
        for (int k = 0; k < 3; ++k) frame();
        EXPECT_EQ(app_mode, MODE_FLYING) << it.text;
        ++screens;
    }
    for (int command : {600, 607, 616, 800, 802, 807, 1220}) {
        char text[32];
        std::snprintf(text, sizeof text, "menu selection %05d", command);
        ASSERT_TRUE(net_peer_send("KSTM", 0, '0', text, std::strlen(text)));
        for (int k = 0; k < 3; ++k) frame();
        EXPECT_EQ(app_mode, MODE_FLYING) << command;
        ++screens;
    }
    // Return opens the ATC window; with the pointer on its first row (filing
    // a flight plan), Return again runs that row: the flight plan screen.
    ASSERT_TRUE(net_peer_send("CHAR", 0, '0', "\r", 1));
    frame();
    ASSERT_TRUE(net_peer_send("MOUS", 0, '0', "01000740", 8));
    for (int k = 0; k < 2; ++k) frame();
    ASSERT_EQ(atc_state.atc_window_open, 1);
    ASSERT_EQ(atc_state.atc_hover_row, 0);
    ASSERT_TRUE(net_peer_send("CHAR", 0, '0', "\r", 1));
    for (int k = 0; k < 3; ++k) frame();
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(net_counters.refused, before_screens + screens + 1);
    EXPECT_GT(sim_time.total_flight_time_sec, flown + 0.5f);
    EXPECT_TRUE(recorded_alerts.empty());
    NET_report_refusals();
    error_log.flush();
    EXPECT_NE(read_file_bytes(folder->path() / "ERROR.OUT").find(APPLICATION_PEER_SCREEN_REFUSAL), std::string::npos);
}

// The heap in use once the GL driver has finished drawing: a software
// rasteriser holds the frames still queued for its threads on the heap (and
// with threads its bins grow at moments of their own: the long run's heap is
// read with LP_NUM_THREADS=0, the rasteriser drawing on the caller's thread).
size_t heap_now()
{
    if (!__sanitizer_get_current_allocated_bytes) return 0;
    glFinish();
    return __sanitizer_get_current_allocated_bytes();
}

// Random datagrams, known and random labels, of random sizes, index bytes and
// marks; none of what rightly quits or hands the user's input to the sender
// ("quit", "menu selection ", "CHAR", "MOUS").
std::vector<uint8_t> random_datagram(std::mt19937& rng)
{
    static const char* const labels[] = {"CUST", "TEXT", "STAT", "SNAP", "FIX_", "ONEP", "ALLP", "GSET", "ISET",
                                         "TRAI", "PATH", "MESS", "DATA", "FAIL", "RECO", "DSEL", "USEL", "DCOC",
                                         "UCOC", "KSTM", "FIRE", "MMLO", "STA1", "ATA1"};
    static const int sizes[] = {36, 172, 1564, 200, 12, 32, 248, 4, 28, 16};
    static const char* const commands[] = {"I am sending!  ", "apt placement  ", "map placement  ", "sit selection  ",
                                           "str_rep_fly    ", "str_rep_pause  ", "str_rep_ff     ", "str_rep_rr     "};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    std::string label;
    if (pick(5) == 0)
        for (int k = 0; k < 4; ++k) label += static_cast<char>(pick(256));
    else
        label = labels[pick(static_cast<int>(std::size(labels)))];
    if (label == "CHAR" || label == "MOUS") label = "FAIL";
    int size = pick(3001);
    for (size_t k = 0; k < std::size(sizes); ++k)
        if (label == labels[k] && pick(2) == 0) size = sizes[k];
    std::vector<uint8_t> d(6 + static_cast<size_t>(size));
    std::memcpy(d.data(), label.data(), 4);
    d[4] = static_cast<uint8_t>(pick(256));
    const int mark = pick(10);
    d[5] = static_cast<uint8_t>(mark < 5 ? '0' : mark < 9 ? '1' : pick(256));
    for (size_t k = 6; k < d.size(); ++k) d[k] = static_cast<uint8_t>(pick(256));
    if (label == "KSTM" && pick(3) != 0 && d.size() >= 21) {
        const char* c = commands[pick(static_cast<int>(std::size(commands)))];
        std::memcpy(d.data() + 6, c, 15);
        if (pick(2)) std::memcpy(d.data() + 21, "KSBD", std::min<size_t>(4, d.size() - 21));
    }
    return d;
}

// What the datagrams may legitimately change the size of put back as the
// start left it (the aircraft of the plane slots and the planes' state, the
// plane count, the rendering settings, the weather and time, the scenery
// area), then frames enough for what they load as they first draw it, so two
// heap readings compare like with like.
class settled_world {
public:
    settled_world() : lat_(lat_ref), lon_(lon_ref), rendering_res_(screen.rendering_res), seed_(weather_seed)
    {
        std::memcpy(path_, pln[0].acf_file_path, sizeof path_);
        for (const block& b : blocks()) kept_.emplace_back(b.place, b.place + b.size);
    }
    void restore() const
    {
        const std::vector<block> all = blocks();
        for (size_t k = 0; k < all.size(); ++k) std::memcpy(all[k].place, kept_[k].data(), all[k].size);
        screen.rendering_res = rendering_res_;
        weather_seed = seed_;
        for (int s = 0; s < ACF_SLOTS; ++s) {
            std::memcpy(pln[s].acf_file_path, path_, sizeof path_);
            ACF_load_and_setup(s);
        }
        lat_ref = lat_;
        lon_ref = lon_;
        APT_build_scene(1);
        CORE_set_mode(MODE_FLYING, "from the test");
        for (int k = 0; k < 100; ++k) {
            test_clock_seconds += 0.02;
            MACIBM_do_frame();
        }
    }

private:
    struct block {
        uint8_t* place;
        size_t size;
    };
    template <class T>
    static block of(T& v)
    {
        return block{reinterpret_cast<uint8_t*>(&v), sizeof v};
    }
    static std::vector<block> blocks()
    {
        return {of(flt),           of(sim_weather),           of(sim_time),          of(sim_physics),
                of(sim_operation_override), of(sim_operation_prefs), of(sim_graphics_settings),
                of(sim_graphics_view),      of(screen_settings),     of(sim_cockpit_electrical),
                of(sim_graphics_misc)};
    }
    float lat_, lon_;
    int32_t rendering_res_, seed_;
    char path_[ACF_TEXT_SIZE];
    std::vector<std::vector<uint8_t>> kept_;
};

TEST_F(ProgramLink, DamagedDatagramsLeaveTheFrameLoopRunning)
{
    int rounds = 3000;
    if (const char* env = std::getenv("ORVELL_FUZZ_ROUNDS")) rounds = std::max(100, std::atoi(env));
    const bool heap_checked = heap_now() > 0 && rounds >= 20000;
    // Chat texts are shown but not spoken: the voice keeps the samples of the
    // longest text it said, which is the voice's memory, not the link's.
    const int32_t speech_was = sim_operation_sound.speech_on;
    sim_operation_sound.speech_on = 0;
    const settled_world start;
    std::mt19937 rng(4711);
    size_t heap_after_first = 0;
    for (int sent = 0; sent < rounds;) {
        for (int k = 0; k < 100 && sent < rounds; ++k, ++sent) {
            const std::vector<uint8_t> d = random_datagram(rng);
            net_peer_send(d.data(), d.size());
        }
        frame();
        ASSERT_EQ(quit_flag, 0) << "after " << sent << " datagrams";
        if (sent == 10000 && heap_checked) {
            start.restore();
            heap_after_first = heap_now();
        }
    }
    for (int k = 0; k < 5; ++k) frame();
    if (heap_checked) {
        start.restore();
        const double grown = static_cast<double>(heap_now()) - static_cast<double>(heap_after_first);
        EXPECT_LT(grown, 1024.0 * 1024.0) << "the heap grew by " << grown << " bytes";
    }
    // The link still applies a good record (a radio frequency no step of the frame moves).
    app_mode = MODE_FLYING;
    const data_record r{82, {12390.0f, -999, -999, -999, -999, -999, -999, -999}};
    ASSERT_TRUE(net_peer_send("DATA", 0, '0', &r, sizeof r));
    for (int k = 0; k < 3; ++k) frame();
    EXPECT_EQ(sim_cockpit_radios.com1_freq_hz, 12390);
    EXPECT_EQ(quit_flag, 0);
    sim_operation_sound.speech_on = speech_was;
    // The tests after this one find the world the start left (the datagrams
    // moved the plane and the scenery far from any airport).
    start.restore();
}

}  // namespace
