// The UDP link on a real socket: the bytes a send puts on the wire and its
// trace, the send checks, the slots' addresses and the heartbeat, and
// datagrams too large for the receive ring.
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "tests/links/net_fixture.h"

namespace {

class Link : public NetState {};

TEST_F(Link, DataSendPutsTheHeadBeforeThePayloadAndTracesIt)
{
    std::snprintf(ui_text_table[266 + 12], TEXT_SIZE, "Data output receiver");
    net_slot_enabled[12] = 1;
    NET_init();   // parses the slot's address
    ASSERT_EQ(net_slot_valid[12], 1);
    sim_operation_misc.debug_network = 1;
    uint8_t payload[36];
    for (int k = 0; k < 36; ++k) payload[k] = static_cast<uint8_t>(k + 1);
    NET_data_send("DATA", 0, payload, 36, 12);

    const std::vector<net_sent_datagram>& got = net_peer_log();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].slot, 12);
    std::vector<uint8_t> expected = {0x44, 0x41, 0x54, 0x41, 0x00, 0x30};
    expected.insert(expected.end(), payload, payload + 36);
    EXPECT_EQ(got[0].bytes, expected);   // 42 bytes exactly

    const std::string log = error_text();
    EXPECT_NE(log.find("At time=10, sending label DATA to IP 127.0.0.13, which is: Data output receiver, with index 0.\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("The length is 42 and send failed=0 (0=not failed, 1=failed).\n"), std::string::npos);
    EXPECT_NE(log.find("data_send[0]=68\ndata_send[1]=65\ndata_send[2]=84\ndata_send[3]=65\ndata_send[4]=0\n"
                       "data_send[5]=48\n"),
              std::string::npos);
}

// A port in the upper half of the range (the default 49000 is one) is used
// whole: a receiver the system put on such a port gets the datagram.
TEST_F(Link, APortInTheUpperHalfOfTheRangeIsReached)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t size = sizeof a;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size), 0);
    const timeval wait{5, 0};   // only a guard against a lost datagram hanging the run
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const int port = ntohs(a.sin_port);
    enable(12);
    std::snprintf(net_port_text[12], NET_PORT_TEXT_SIZE, "%d", port);
    NET_data_send("DATA", 7, "x", 1, 12);
    uint8_t got[64] = {};
    EXPECT_EQ(recv(fd, got, sizeof got, 0), 7) << "port " << port;
    EXPECT_EQ(got[4], 7);
    close(fd);
}

// The shapes other senders hand the link: a replay button's command to the
// instructor station (slot 9) and the crash's short motion datagram (slot 11).
TEST_F(Link, OtherSendersDatagramsArriveByteForByte)
{
    const int32_t crash[3] = {-990, 0, -999};
    const struct {
        const char* label;
        int slot;
        const void* payload;
        int size;
    } sends[] = {{"KSTM", 9, "str_rep_ff     ", 15}, {"FIDE", 11, crash, 12}};
    for (const auto& s : sends) {
        enable(s.slot);
        NET_data_send(s.label, 0, s.payload, s.size, s.slot);
        std::vector<uint8_t> expected(s.label, s.label + 4);
        expected.insert(expected.end(), {0x00, 0x30});
        const auto* p = static_cast<const uint8_t*>(s.payload);
        expected.insert(expected.end(), p, p + s.size);
        ASSERT_EQ(net_peer_log().size(), 1u) << s.label;
        EXPECT_EQ(net_peer_log()[0].slot, s.slot);
        EXPECT_EQ(net_peer_log()[0].bytes, expected) << s.label;
        net_peer_clear();
    }
}

TEST_F(Link, SendChecksStayFatalForLocalCallers)
{
    enable(3);
    std::vector<uint8_t> big(2794, 'x');
    EXPECT_EQ(expect_fatal([&] { NET_data_send("DATA", 0, big.data(), 2794, 3); }).lines[0],
              "Trying to send too LARGE a buffer!");
    NET_data_send("DATA", 0, big.data(), 2793, 3);   // 2799 bytes in all still go
    ASSERT_EQ(net_peer_log().size(), 1u);
    EXPECT_EQ(net_peer_log()[0].bytes.size(), 2799u);
    for (int slot : {-1, 20})
        EXPECT_EQ(expect_fatal([&] { NET_data_send("MESS", 0, "hi", 2, slot); }).lines[0],
                  "Trying to send on too high an IP index!");

    // A slot that is off, or whose address did not parse, drops the datagram without a word.
    net_slot_valid[3] = 0;
    NET_data_send("MESS", 0, "hi", 2, 3);
    net_slot_valid[3] = 1;
    net_slot_enabled[3] = 0;
    NET_data_send("MESS", 0, "hi", 2, 3);
    net_peer_clear();
    EXPECT_TRUE(net_peer_log().empty());
    EXPECT_TRUE(recorded_alerts.size() == 3u);

    // Before the link has started a send to a live slot is refused.
    NET_reset();
    enable(3);
    const alert_record a = expect_fatal([&] { NET_data_send("MESS", 0, "hello", 5, 3); });
    EXPECT_EQ(a.lines[0], "Trying to send when not yet initedd!");
    EXPECT_EQ(a.lines[1], "MESS");
    EXPECT_EQ(a.lines[2], "hello");
}

TEST_F(Link, InitReadsEnabledAddressesAndTheHeartbeatVisitsSlotsInTurn)
{
    const char* texts[] = {"127.0.0.1", "", "255.255.255.255", "12.x"};
    for (int s = 0; s < 4; ++s) {
        std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "%s", texts[s]);
        net_slot_enabled[s] = 1;
    }
    net_slot_valid[5] = 1;   // a slot that is off keeps its flag
    NET_init();
    EXPECT_EQ(std::vector<int>(net_slot_valid, net_slot_valid + 6), (std::vector<int>{1, 0, 0, 0, 0, 1}));

    // Sends to an enabled slot whose address did not parse are dropped without a word.
    net_peer_attach();
    const uint8_t key = 'a';
    for (int s = 0; s < 4; ++s) NET_data_send("CHAR", 0, &key, 1, s);
    std::vector<int> reached;
    for (const net_sent_datagram& d : net_peer_log()) reached.push_back(d.slot);
    EXPECT_EQ(reached, std::vector<int>{0});
    EXPECT_TRUE(recorded_alerts.empty());
    net_peer_clear();

    // Slots 0..10 in turn, one a tenth of a second: each enabled one hears it every 1.1 s.
    for (int s = 0; s < 4; ++s) net_slot_enabled[s] = 0;
    for (int s : {2, 7, 12}) net_slot_enabled[s] = 1;
    std::vector<std::pair<int, int>> heard;   // (tick, slot)
    interval_ticks[INTERVAL_TENTH_SECOND] = 1;
    for (int tick = 1; tick <= 22; ++tick) {
        NET_init();
        for (const net_sent_datagram& d : net_peer_log()) {
            EXPECT_EQ(d.label(), "KSTM");
            EXPECT_EQ(d.index(), d.slot);
            EXPECT_EQ(d.payload_text(), "I am sending!  ");
            heard.emplace_back(tick, d.slot);
        }
        net_peer_clear();
    }
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{2, 2}, {7, 7}, {13, 2}, {18, 7}}));
}

TEST_F(Link, DatagramsOfTheFullSizeOrMoreAreDroppedAndCounted)
{
    for (size_t size : {size_t{2800}, size_t{3000}}) {
        std::vector<uint8_t> d(size, 7);
        std::memcpy(d.data(), "FAIL\0" "0", 6);
        ASSERT_TRUE(net_peer_send(d.data(), d.size()));
    }
    ASSERT_EQ(net_peer_deliver(2), 2);
    NET_receive();
    EXPECT_EQ(error_text(), "Refused 2 datagrams in 0.0 s: FAIL too long 2.\n");
    EXPECT_EQ(flt[0].failures[7], 0);

    const uint8_t f = 7;
    receive("FAIL", 0, '0', &f, 1);   // the link reads on
    EXPECT_EQ(flt[0].failures[7], 6);
}

// A ring full of datagrams the receive pass has not handled yet takes no
// more: the 101st waits on the socket until a slot is free, and none of the
// first hundred is lost.
TEST_F(Link, AFullRingLeavesTheNextDatagramWaitingOnTheSocket)
{
    for (int k = 0; k <= NET_RING_SLOTS; ++k) {
        const uint8_t n = static_cast<uint8_t>(k);
        ASSERT_TRUE(net_peer_send("MESS", 0, '0', &n, 1));
    }
    ASSERT_EQ(net_peer_deliver(NET_RING_SLOTS), NET_RING_SLOTS);
    std::vector<int> held;
    for (const auto& slot : net_link.net_ring) held.push_back(slot[6]);
    std::sort(held.begin(), held.end());
    for (int k = 0; k < NET_RING_SLOTS; ++k) EXPECT_EQ(held[size_t(k)], k);

    for (auto& slot : net_link.net_ring) slot[0] = 0;   // handled
    ASSERT_EQ(net_peer_deliver(1), 1);
    EXPECT_EQ(net_link.net_ring[size_t(net_link.net_ring_index)][6], NET_RING_SLOTS);
}

}  // namespace
