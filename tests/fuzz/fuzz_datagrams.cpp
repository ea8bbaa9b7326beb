// The link's receive pass over datagrams an outside sender chose, with the
// link started and every destination slot and data-output group switched on,
// as on a machine that talks to others: the input is a run of datagrams, each
// a two-byte length (least significant first) and its bytes, put in the
// receive ring as the socket notification does, then handled by one receive
// pass; then the frame's steps that use what was received run: the slots'
// addresses read again with the heartbeat, the data output (records sent,
// rows, graph samples, the rows over the flying view) and the panel's
// network needles and texts. A refusal is the right answer to a bad
// datagram; a crash, an out-of-bounds access or undefined behaviour is not.
#include <arpa/inet.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/simvars/network.h"
#include "links/dataout.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "platform/plat_net.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The most records one "DATA" datagram carries, as the cycle sends them.
constexpr int ROWS_PER_DATAGRAM = (NET_PACKET_MAX - 1 - NET_HEAD_BYTES) / DATA_RECORD_BYTES;

// A socket of this process every slot sends to; what it gets is dropped.
int sink = -1;
bool can_draw = false;

void start_link()
{
    fuzz_program_folder();
    can_draw = fuzz_gl_context();
    PLAT_udp_override_port(0);   // a free port: another run may hold the usual one
    sink = PLAT_udp_socket();
    if (sink >= 0) PLAT_udp_bind(sink, 0);
    NET_init();
}

// Every slot on and pointing at the sink, every group chosen for every
// output: the state a datagram may have changed is set again for each input.
void switch_everything_on()
{
    const int port = sink >= 0 ? PLAT_udp_local_port(sink) : 9;
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "127.0.0.1");
        std::snprintf(net_port_text[s], NET_PORT_TEXT_SIZE, "%d", port);
        net_slot_enabled[s] = 1;
    }
    for (int g = 0; g < DATAOUT_GROUPS; ++g) {
        sim_network_dataout.data_to_internet[g] = sim_network_dataout.data_to_disk[g] = 1;
        sim_network_dataout.data_to_graph[g] = sim_network_dataout.data_to_screen[g] = 1;
    }
    NET_clear_tables();
    NET_clear_receive_copies();
    NET_receive_log_reset();
    app_mode = MODE_FLYING;
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    NET_init();   // the slots' addresses, as the network screen reads them
}

// A datagram ("ISET") may point a slot at any address and port: the frame
// sends only to the sink, at the loopback address a slot names, never to
// another machine or to another program's port on this one.
void keep_sends_home()
{
    const int port = sink >= 0 ? PLAT_udp_local_port(sink) : 9;
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        uint32_t address = 0;
        if (!PLAT_parse_ipv4(net_ip_text[s], &address) || (ntohl(address) >> 24) != 127)
            std::snprintf(net_ip_text[s], NET_IP_TEXT_SIZE, "127.0.0.1");
        std::snprintf(net_port_text[s], NET_PORT_TEXT_SIZE, "%d", port);
    }
}

// What the frame does with what was received.
void frame_steps()
{
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 1);
    keep_sends_home();
    NET_init();
    int rows = 0;
    for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g)
        if (sim_network_dataout.data_to_internet[g]) DATAOUT_group(1, g, rows++);
    for (int first = 0; first < rows; first += ROWS_PER_DATAGRAM)
        NET_data_send("DATA", 0, &net_data_snd[first], DATA_RECORD_BYTES * std::min(ROWS_PER_DATAGRAM, rows - first), 12);
    int graphed = 0;
    for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g) {
        if (sim_network_dataout.data_to_disk[g]) DATAOUT_group(2, g, 0);
        if (sim_network_dataout.data_to_graph[g] && graphed < DATAOUT_GRAPH_GROUPS) DATAOUT_group(4, g, graphed++);
    }
    if (can_draw) {
        int shown = 0;
        for (int g = 0; g < DATAOUT_GROUPS; ++g) {
            if (!sim_network_dataout.data_to_screen[g]) continue;
            DATAOUT_group(7, g, shown);
            DATAOUT_group(6, g, shown);
            ++shown;
        }
        NET_handle_TEXT(1);
        NET_handle_CUST(1);
    }
    uint8_t dropped[NET_RING_BYTES];
    while (sink >= 0 && PLAT_udp_receive(sink, dropped, sizeof dropped) >= 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = (start_link(), true);
    (void)started;
    switch_everything_on();
    int slot = 0;
    size_t at = 0;
    while (at + 2 <= size && slot < NET_RING_SLOTS) {
        const size_t length = static_cast<size_t>(data[at]) | static_cast<size_t>(data[at + 1]) << 8;
        at += 2;
        const size_t take = std::min({length, size - at, static_cast<size_t>(NET_RING_BYTES)});
        std::memset(net_link.net_ring[slot], 0, NET_RING_BYTES);
        std::memcpy(net_link.net_ring[slot], data + at, take);
        // As the socket reports it: the datagram's true length, even when
        // the slot holds only its start.
        net_link.net_ring_len[slot] = static_cast<int32_t>(std::min(length, size - at));
        at += std::min(length, size - at);
        ++slot;
    }
    try {
        NET_receive();
        frame_steps();
    } catch (const fuzz_fatal_alert&) {
    }
    return 0;
}
