// A hostile sender against the started program (the default trainer at its
// start airport): the datagrams that would put the user's aircraft billions of
// metres away, and a flood of malformed datagrams of every kind, once straight
// through the receive pass and once over a loopback socket. The program flies
// on where it was, raises no alert, refuses every one of them and keeps its
// log small.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <array>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/pilot_prefs.h"
#include "core/plane_state_record.h"
#include "core/simvars.h"
#include "core/stat_record.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "links/dataout.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_events.h"
#include "shell/frame.h"
#include "shell/main.h"
#include "tests/links/program_peer_fixture.h"
#include "tests/support/net_peer.h"
#include "tests/support/startup_program.h"
#include "world/apt_scene.h"

namespace {

namespace fs = std::filesystem;

constexpr int FLOOD = 100000;
constexpr int FRAME_EVERY = 5000;          // datagrams between two frames of the flood
constexpr uintmax_t LOG_GROWTH_MOST = 8192;   // bytes ERROR.OUT may grow by in a flood

class ProgramFlood : public started_program_with_peer {
protected:
    void SetUp() override
    {
        started_program_with_peer::SetUp();
        sim_time.paused = 1;   // the aircraft stands still unless a datagram moves it
        frame();
        clear_alerts();
    }
    static uintmax_t log_size()
    {
        error_log.flush();
        return fs::file_size(folder->path() / "ERROR.OUT");
    }
};

// Where the user's aircraft is and which tile the scenery is loaded about.
// (The integrator's doubles and the floats a received position is written to.)
struct place {
    double x, y, z;
    float fx, fy, fz;
    float latitude, longitude, lat_ref, lon_ref;

    static place now()
    {
        const flt_struct& f = flt[0];
        return place{f.local_x_d, f.local_y_d, f.local_z_d, f.local_x,   f.local_y,
                     f.local_z,   f.latitude,  f.longitude, ::lat_ref, ::lon_ref};
    }
};

void expect_same_place(const place& a, const place& b)
{
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(a.fx, b.fx);
    EXPECT_EQ(a.fy, b.fy);
    EXPECT_EQ(a.fz, b.fz);
    EXPECT_EQ(a.latitude, b.latitude);
    EXPECT_EQ(a.longitude, b.longitude);
    EXPECT_EQ(a.lat_ref, b.lat_ref);
    EXPECT_EQ(a.lon_ref, b.lon_ref);
}

template <class T>
std::vector<uint8_t> datagram(const char* label, int index, char mark, const T& payload, size_t size = sizeof(T))
{
    std::vector<uint8_t> d(NET_HEAD_BYTES + size, 0);
    std::memcpy(d.data(), label, 4);
    d[4] = static_cast<uint8_t>(index);
    d[5] = static_cast<uint8_t>(mark);
    std::memcpy(d.data() + NET_HEAD_BYTES, &payload, std::min(size, sizeof(T)));
    return d;
}

void put_float(std::vector<uint8_t>& d, size_t payload_offset, float v)
{
    std::memcpy(d.data() + NET_HEAD_BYTES + payload_offset, &v, sizeof v);
}

// Datagrams the program must refuse, of six kinds, built on good records of
// the user's aircraft where it stands.
class malformed_sender {
public:
    enum kind { TRUNCATED, OVERSIZED, WRONG_LABEL, INDEX_OUT_OF_RANGE, EXTREME_FLOAT, WRONG_BYTE_ORDER, KINDS };

    malformed_sender() : rng_(4711)
    {
        const flt_struct& f = flt[0];
        PLANE_pack_state(snap_, 0);
        onep_ = net_onep_record{f.local_x, f.local_y, f.local_z, f.psi, f.theta, f.phi, f.latitude, f.longitude};
        allp_.local_x[0] = f.local_x, allp_.local_y[0] = f.local_y, allp_.local_z[0] = f.local_z;
        allp_.psi[0] = f.psi, allp_.theta[0] = f.theta, allp_.phi[0] = f.phi;
        allp_.latitude = f.latitude, allp_.longitude = f.longitude;
        stat_.draw_aircrafts = 1;
        cust_ = net_cust_record{4, 1, 100, 100, 0, 0, 0, 8, 8};
        text_ = net_text_record{100, 1, 10, 10, "x"};
        position_ = data_record{19, {f.local_x, f.local_y, f.local_z, -999, -999, -999, -999, -999}};
    }

    std::vector<uint8_t> next(kind k)
    {
        switch (k) {
        case TRUNCATED: return truncated();
        case OVERSIZED: return oversized();
        case WRONG_LABEL: return wrong_label();
        case INDEX_OUT_OF_RANGE: return index_out_of_range();
        case EXTREME_FLOAT: return extreme_float();
        default: return wrong_byte_order();
        }
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    float extreme()
    {
        static constexpr float values[] = {3.0e9f, -3.0e9f, 1.0e20f, -1.0e30f, 3.4e38f, -3.4e38f};
        return values[pick(static_cast<int>(std::size(values)))];
    }

    // One of the labels of a fixed size, good as built.
    std::vector<uint8_t> fixed_size_record()
    {
        switch (pick(8)) {
        case 0: return datagram("SNAP", 0, '0', snap_);
        case 1: return datagram("ONEP", 0, '0', onep_);
        case 2: return datagram("ALLP", 1, '0', allp_);
        case 3: return datagram("STAT", 0, '0', stat_);
        case 4: return datagram("CUST", 0, '0', cust_);
        case 5: return datagram("TEXT", 0, '0', text_);
        case 6: return datagram("GSET", 24, '0', 60.0f);
        default: return datagram("FIX_", 0, '0', std::array<int32_t, 3>{1, 2, 3});
        }
    }
    std::vector<uint8_t> truncated()
    {
        std::vector<uint8_t> d = fixed_size_record();
        d.resize(static_cast<size_t>(pick(static_cast<int>(d.size()))));   // the head itself may be cut
        if (d.size() < 4) d = {'S', 'N', 'A', 'P'};
        return d;
    }
    std::vector<uint8_t> oversized()
    {
        std::vector<uint8_t> d = fixed_size_record();
        const size_t extra = pick(4) == 0 ? static_cast<size_t>(NET_PACKET_MAX) : 1 + static_cast<size_t>(pick(100));
        d.resize(d.size() + extra, 0x5A);
        return d;
    }
    std::vector<uint8_t> wrong_label()
    {
        static const char* const known[] = {"CUST", "TEXT", "STAT", "SNAP", "FIX_", "ONEP", "ALLP", "GSET", "ISET",
                                            "TRAI", "PATH", "MESS", "CHAR", "DATA", "FAIL", "RECO", "DSEL", "USEL",
                                            "DCOC", "UCOC", "MOUS", "KSTM", "FIRE", "MMLO", "STA1", "ATA1"};
        std::vector<uint8_t> d = fixed_size_record();
        for (;;) {
            for (int k = 0; k < 4; ++k) d[static_cast<size_t>(k)] = static_cast<uint8_t>(1 + pick(255));
            if (std::none_of(std::begin(known), std::end(known),
                             [&](const char* l) { return std::memcmp(l, d.data(), 4) == 0; }))
                return d;
        }
    }
    std::vector<uint8_t> index_out_of_range()
    {
        const int index = NET_PLANES + pick(256 - NET_PLANES);
        switch (pick(6)) {
        case 0: return datagram("SNAP", index, '0', snap_);
        case 1: return datagram("ONEP", index, '0', onep_);
        case 2: return datagram("PATH", index, '0', std::array<char, 24>{"Aircraft/Trainer.acf"});
        case 3: {
            net_cust_record c = cust_;
            c.index = NET_NEEDLE_ENTRIES + pick(100000);
            return datagram("CUST", 0, '0', c);
        }
        case 4: return datagram("FIX_", 0, '0', std::array<int32_t, 3>{NET_FIX_ENTRIES + pick(1000), 2, 3});
        default:
            return datagram("KSTM", index, '0', std::array<char, 44>{"map placement  3777500547500027000100000050"}, 43);
        }
    }
    std::vector<uint8_t> extreme_float()
    {
        switch (pick(6)) {
        case 0: {
            std::vector<uint8_t> d = datagram("SNAP", 0, '0', snap_);
            put_float(d, offsetof(plane_state_record, local_x) + 4 * static_cast<size_t>(pick(9)), extreme());
            return d;
        }
        case 1: {
            std::vector<uint8_t> d = datagram("ONEP", 0, '0', onep_);
            put_float(d, 4 * static_cast<size_t>(pick(8)), extreme());
            return d;
        }
        case 2: {
            std::vector<uint8_t> d = datagram("ALLP", 1, '0', allp_);
            const size_t rows[] = {offsetof(net_allp_record, local_x), offsetof(net_allp_record, local_y),
                                   offsetof(net_allp_record, local_z), offsetof(net_allp_record, psi),
                                   offsetof(net_allp_record, theta),   offsetof(net_allp_record, phi),
                                   offsetof(net_allp_record, latitude)};
            put_float(d, rows[pick(static_cast<int>(std::size(rows)))], extreme());
            return d;
        }
        case 3: {
            std::vector<uint8_t> d = datagram("DATA", 0, '0', position_);
            put_float(d, offsetof(data_record, values) + 4 * static_cast<size_t>(pick(3)), extreme());
            return d;
        }
        case 4: {
            std::vector<uint8_t> d = datagram("STAT", 0, '0', stat_);
            put_float(d, offsetof(stat_block, wind_speed_kt), extreme());
            return d;
        }
        default: return datagram("GSET", 24, '0', extreme());
        }
    }
    // Records written in this machine's order but marked as the other's: the
    // turned integers are far outside their ranges. A mark that is neither
    // order is a bad head.
    std::vector<uint8_t> wrong_byte_order()
    {
        switch (pick(4)) {
        case 0: return datagram("SNAP", 0, '1', snap_);
        case 1: return datagram("STAT", 0, '1', stat_);
        case 2: return datagram("TEXT", 0, '1', text_);
        default: {
            std::vector<uint8_t> d = fixed_size_record();
            d[5] = static_cast<uint8_t>(pick(2) ? 'B' : 0xFF);
            return d;
        }
        }
    }

    std::mt19937 rng_;
    plane_state_record snap_{};
    net_onep_record onep_{};
    net_allp_record allp_{};
    stat_block stat_{};
    net_cust_record cust_{};
    net_text_record text_{};
    data_record position_{};
};

TEST_F(ProgramFlood, DatagramsThatWouldTeleportTheUserAircraftLeaveItWhereItIs)
{
    const place before = place::now();
    frame();
    expect_same_place(place::now(), before);   // paused, nothing moves it by itself

    plane_state_record snap{};
    PLANE_pack_state(snap, 0);
    snap.local_x = 3.0e9f;
    snap.local_y = 3.0e9f;
    const flt_struct& f = flt[0];
    const net_onep_record onep{3.0e9f, f.local_y, f.local_z, f.psi, f.theta, f.phi, f.latitude, f.longitude};
    const data_record position{19, {f.local_x, 3.0e9f, f.local_z, -999, -999, -999, -999, -999}};
    // On the planet, but 12,000 km from the loaded scenery.
    net_onep_record onep_far = onep;
    onep_far.local_x = 1.2e7f;
    data_record position_far = position;
    position_far.values[1] = f.local_y;
    position_far.values[2] = -1.2e7f;
    const uint64_t refused = net_counters.refused;
    ASSERT_TRUE(net_peer_send("SNAP", 0, '0', &snap, sizeof snap));
    ASSERT_TRUE(net_peer_send("ONEP", 0, '0', &onep, sizeof onep));
    ASSERT_TRUE(net_peer_send("DATA", 0, '0', &position, sizeof position));
    ASSERT_TRUE(net_peer_send("ONEP", 0, '0', &onep_far, sizeof onep_far));
    ASSERT_TRUE(net_peer_send("DATA", 0, '0', &position_far, sizeof position_far));
    for (int k = 0; k < 5 && net_counters.refused < refused + 5; ++k) frame();
    EXPECT_EQ(net_counters.refused, refused + 5);
    expect_same_place(place::now(), before);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_TRUE(recorded_alerts.empty());

    // A peer's plane near the South Pole, one position and one of all
    // planes: the peer's plane goes there, the user's stays, nothing is refused.
    net_slot_enabled[0] = 1;
    const int32_t planes = std::exchange(sim_graphics_settings.draw_aircrafts, 2);
    const net_onep_record pole{f.local_x, f.local_y, f.local_z, f.psi, f.theta, f.phi, -89.9f, f.longitude};
    net_allp_record all{};
    all.latitude = -89.9f;
    ASSERT_TRUE(net_peer_send("ONEP", 1, '0', &pole, sizeof pole));
    ASSERT_TRUE(net_peer_send("ALLP", 2, '0', &all, sizeof all));
    for (int k = 0; k < 5; ++k) frame();
    expect_same_place(place::now(), before);
    EXPECT_LT(flt[1].latitude, -85.0f);
    EXPECT_EQ(net_counters.refused, refused + 5);
    EXPECT_TRUE(recorded_alerts.empty());
    sim_graphics_settings.draw_aircrafts = planes;
    net_slot_enabled[0] = 0;

    // From a station that instructs this copy a place in the loaded scenery
    // is taken: the aircraft moves 100 m east (the record names a point of
    // the loaded reference tile, so the scenery stays).
    net_slot_enabled[10] = 1;
    net_onep_record onep_near = onep;
    onep_near.local_x = f.local_x + 100.0f;
    onep_near.latitude = lat_ref + reference_lat_offset[PLANET_EARTH] + (lat_ref < 0.0f ? -0.5f : 0.5f);
    onep_near.longitude = lon_ref + reference_lon_offset[PLANET_EARTH] + (lon_ref < 0.0f ? -0.5f : 0.5f);
    ASSERT_TRUE(net_peer_send("ONEP", 0, '0', &onep_near, sizeof onep_near));
    ASSERT_EQ(net_peer_deliver(1), 1);
    frame();
    net_slot_enabled[10] = 0;
    EXPECT_NEAR(flt[0].local_x, before.fx + 100.0f, 0.01f);
    EXPECT_EQ(net_counters.refused, refused + 5);
    sim_operation_override.override_planepath[0] = 0;
    hold_user_plane({before.x, before.y, before.z, f.psi, f.theta, f.phi});
}

// The flood, both ways: every datagram is refused, the aircraft stays where
// it was, the program flies on without an alert, and the log grows by a few
// summary lines.
void flood(const std::function<void(const std::vector<uint8_t>&)>& send, const std::function<void()>& after_burst,
           int burst, const std::function<void()>& frame_fn)
{
    malformed_sender sender;
    for (int sent = 0; sent < FLOOD;) {
        for (int k = 0; k < burst && sent < FLOOD; ++k, ++sent)
            send(sender.next(static_cast<malformed_sender::kind>(sent % malformed_sender::KINDS)));
        after_burst();
        if (sent % FRAME_EVERY == 0) frame_fn();
    }
}

TEST_F(ProgramFlood, MalformedDatagramsThroughTheReceivePassAreRefusedAndChangeNothing)
{
    const place before = place::now();
    const uintmax_t log_before = log_size();
    const net_counter_record counts = net_counters;
    int slot = 0;
    flood(
        [&](const std::vector<uint8_t>& d) {
            // Into the ring as the socket notification puts them: the true size,
            // the bytes that fit.
            std::memcpy(net_link.net_ring[slot], d.data(), std::min<size_t>(d.size(), NET_RING_BYTES));
            net_link.net_ring_len[slot] = static_cast<int>(d.size());
            ++slot;
        },
        [&] {
            NET_receive();
            slot = 0;
        },
        NET_RING_SLOTS, [] { frame(); });
    frame();
    EXPECT_EQ(net_counters.handled - counts.handled, static_cast<uint64_t>(FLOOD));
    EXPECT_EQ(net_counters.refused - counts.refused, static_cast<uint64_t>(FLOOD));
    expect_same_place(place::now(), before);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(quit_flag, 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_LT(log_size() - log_before, LOG_GROWTH_MOST);
}

TEST_F(ProgramFlood, MalformedDatagramsOverALoopbackSocketAreAllReadAndRefused)
{
    const place before = place::now();
    const uintmax_t log_before = log_size();
    const net_counter_record counts = net_counters;
    // Bursts that fit the socket's buffer, each drained by one receive pass.
    flood([](const std::vector<uint8_t>& d) { ASSERT_TRUE(net_peer_send(d.data(), d.size())); }, [] { NET_receive(); },
          200, [] { frame(); });
    // What the system still held when the last burst was drained comes with the next frames.
    for (int k = 0; k < 20 && net_counters.read - counts.read < static_cast<uint64_t>(FLOOD); ++k) frame();
    // Anything else that reached the port only adds to the counts.
    EXPECT_GE(net_counters.read - counts.read, static_cast<uint64_t>(FLOOD));
    EXPECT_GE(net_counters.refused - counts.refused, static_cast<uint64_t>(FLOOD));
    expect_same_place(place::now(), before);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_EQ(quit_flag, 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_LT(log_size() - log_before, LOG_GROWTH_MOST);
}

// A fatal alert that remains (a rule of the program, raised by no input)
// still keeps the flight's preferences and logbook: the program writes them
// before it ends. The ending process counts the files once its shut-down is
// over and reports them on its error stream.
std::string saved_folder;

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int files_named(const std::function<bool(const std::string&)>& wanted)
{
    int n = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(saved_folder)) {
        if (wanted(upper(e.path().filename().string()))) ++n;
    }
    return n;
}

// The file name at the end of a program path (':' or '/' between folders).
std::string file_name_of(const char* path)
{
    const std::string p(path);
    const size_t cut = p.find_last_of(":/");
    return upper(cut == std::string::npos ? p : p.substr(cut + 1));
}

// The general and the pilot preference files (the shut-down writes the
// resolution's file whatever else happened).
int preference_files()
{
    const std::string general = file_name_of(pref_path_general), pilot = file_name_of(pref_path_pilot);
    return files_named([&](const std::string& n) { return n == general || n == pilot; });
}
int logbook_files()
{
    const std::string logbook = upper(logbook_path);
    return files_named([&](const std::string& n) { return n == logbook; });
}

void report_saved_files()
{
    std::fprintf(stderr, "preference files: %d, logbook files: %d\n", preference_files(), logbook_files());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);   // the status a fatal alert ends with; the leak check has nothing to say here
}

TEST_F(ProgramFlood, AFatalAlertSavesThePreferencesAndTheLogbookBeforeTheProgramEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            saved_folder = folder->path().string();
            for (const fs::directory_entry& e : fs::recursive_directory_iterator(saved_folder)) {
                const std::string name = upper(e.path().filename().string());
                if (name == upper(logbook_path) || name == file_name_of(pref_path_general) ||
                    name == file_name_of(pref_path_pilot))
                    fs::remove(e.path());
            }
            if (preference_files() != 0 || logbook_files() != 0) std::_Exit(2);
            std::atexit(report_saved_files);
            // The program's own box, dismissed with Return.
            MACIBM_set_alert_handler(nullptr);
            PLAT_post_message(WM_KEYDOWN, VK_RETURN, 0);
            PLAT_post_message(WM_KEYUP, VK_RETURN, 0);
            MACIBM_nuke_alert(0, "A fault of the program itself.", "", "", "", ALERT_FATAL);
            std::_Exit(0);   // not reached: a fatal alert does not return
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "preference files: 2, logbook files: 1");
}

}  // namespace
