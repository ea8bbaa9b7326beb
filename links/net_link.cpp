// The UDP link: the socket's start and close, the destination slots'
// addresses and the heartbeat, the one send routine every sender calls and
// the socket notification that fills the receive ring.
#include "links/network.h"

#include <algorithm>
#include <cstring>

#include "core/alert.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "platform/plat_events.h"
#include "platform/plat_net.h"

int32_t net_inited = 0;
net_link_state net_link;

namespace {

constexpr const char HEARTBEAT[] = "I am sending!  ";   // 15 characters, no terminator sent
constexpr int HEARTBEAT_LEN = 15;
constexpr int ROLE_TEXT_FIRST = 266;                    // UI text of slot 0's role; slot s is 266 + s

// A bounded, terminated copy of up to `n` bytes of a text that may lack its terminator.
void bounded_text(const void* source, int n, char* out, int size)
{
    const int take = std::max(0, std::min(n, size - 1));
    const char* s = static_cast<const char*>(source);
    int k = 0;
    if (s)
        for (; k < take && s[k]; ++k) out[k] = s[k];
    out[k] = 0;
}

void fatal(const char* line) { MACIBM_nuke_alert(0, line, "", "", "", ALERT_FATAL); }

void fatal_send(const char* line1, const char* label, const void* payload, int length)
{
    char label_text[5];
    bounded_text(label, 4, label_text, sizeof label_text);
    char payload_text[TEXT_SIZE];
    bounded_text(payload, length, payload_text, sizeof payload_text);
    MACIBM_nuke_alert(0, line1, label_text, payload_text, "", ALERT_FATAL);
}

void trace_send(const char* label, int index, int slot, int length, bool failed)
{
    if (!error_log.is_open()) return;
    char label_text[5];
    bounded_text(label, 4, label_text, sizeof label_text);
    error_log << "At time=" << frame_clock << ", sending label " << label_text << " to IP " << net_ip_text[slot]
              << ", which is: " << LANG_ui_text(ROLE_TEXT_FIRST + slot) << ", with index " << index << ".\n";
    error_log << "The length is " << length + NET_HEAD_BYTES << " and send failed=" << (failed ? 1 : 0)
              << " (0=not failed, 1=failed).\n";
    for (int k = 0; k < NET_HEAD_BYTES; ++k)
        error_log << "data_send[" << k << "]=" << static_cast<int>(net_link.data_send[k]) << "\n";
    error_log.flush();
}

// The slot's port text as a decimal number (-1 when it is empty or not a
// number), taken modulo 65536.
uint16_t slot_port(int slot)
{
    char text[NET_PORT_TEXT_SIZE];
    bounded_text(net_port_text[slot], NET_PORT_TEXT_SIZE, text, sizeof text);
    return static_cast<uint16_t>(static_cast<uint32_t>(UTIL_text_to_int(text)) & 0xFFFFu);
}

// A failure is a fatal alert (which ends the program; should one return, the
// link stays without a socket and every send counts as failed). This system
// has no socket library to start, so there is no start-up failure to report.
void start_socket()
{
    net_inited = 1;
    NET_clear_tables();
    // A host name that does not resolve is usual on this system (a machine
    // without a name service); failing on it would stop the program from
    // starting at all, so the own address reads 127.0.0.1 instead.
    PLAT_udp_own_address(net_link.net_own_ip, NET_OWN_IP_SIZE);
    const int fd = PLAT_udp_socket();
    if (fd < 0) return fatal("Can not create socket!        ");
    net_link.net_socket = fd;
    if (!PLAT_udp_set_buffers(fd, NET_SOCKET_BUFFER_BYTES)) return fatal("Cannot set socket buffer size!");
    if (!PLAT_udp_bind(fd, PLAT_udp_bind_port())) return fatal("Could not bind socket to port!");
    PLAT_watch_socket(fd, true, false);
}

}  // namespace

void NET_data_send(const char* label, int index, const void* payload, int length, int slot)
{
    if (slot < 0 || slot >= NET_SLOT_COUNT) {
        MACIBM_nuke_alert(0, "Trying to send on too high an IP index!", "", "", "", ALERT_FATAL);
        return;
    }
    if (!net_slot_enabled[slot] || !net_slot_valid[slot]) return;
    // A negative length is refused the same way: copying it would read and
    // write far outside the payload and the send buffer.
    if (length < 0 || length + NET_HEAD_BYTES >= NET_PACKET_MAX) {
        fatal_send("Trying to send too LARGE a buffer!", label, payload, length);
        return;
    }
    if (!net_inited) {
        fatal_send("Trying to send when not yet initedd!", label, payload, length);
        return;
    }
    uint8_t* d = net_link.data_send;
    std::memset(d, 0, NET_HEAD_BYTES);
    if (label) std::memcpy(d, label, strnlen(label, 4));
    d[4] = static_cast<uint8_t>(index);
    d[5] = static_cast<uint8_t>(NET_OWN_MARK);
    if (length > 0 && payload) std::memcpy(d + NET_HEAD_BYTES, payload, static_cast<size_t>(length));
    const int whole = length + NET_HEAD_BYTES;
    const int sent = PLAT_udp_send(net_link.net_socket, net_slot_addr[slot], slot_port(slot), d, whole);
    if (sim_operation_misc.debug_network) trace_send(label, index, slot, length, sent != whole);
}

void NET_init()
{
    if (!net_inited) start_socket();
    for (int s = 0; s < NET_SLOT_COUNT; ++s) {
        if (!net_slot_enabled[s]) continue;
        char text[NET_IP_TEXT_SIZE];
        bounded_text(net_ip_text[s], NET_IP_TEXT_SIZE, text, sizeof text);
        uint32_t address = 0;
        const bool ok = PLAT_parse_ipv4(text, &address);
        net_slot_addr[s] = ok ? address : UINT32_MAX;
        net_slot_valid[s] = ok ? 1 : 0;
    }
    if (interval_ticks[INTERVAL_TENTH_SECOND]) {
        int s = net_link.net_heartbeat_slot + 1;
        if (s < 0 || s >= NET_HEARTBEAT_SLOTS) s = 0;
        net_link.net_heartbeat_slot = s;
        if (net_slot_enabled[s] && net_slot_valid[s]) NET_data_send("KSTM", s, HEARTBEAT, HEARTBEAT_LEN, s);
    }
}

void NET_close()
{
    NET_report_refusals();
    if (!net_inited || net_link.net_socket < 0) return;
    PLAT_watch_socket(net_link.net_socket, false, false);
    PLAT_udp_close(net_link.net_socket);
    net_link.net_socket = -1;
}

// Reads waiting datagrams into the ring, one a slot after the slot written
// last. It stops at a slot the receive pass has not handled yet: overwriting
// it would lose a datagram already received; the rest waits on the socket for
// the next pass instead. A failed read leaves the ring index where it was.
int NET_fill_ring(int most)
{
    if (net_link.net_socket < 0) return 0;
    int read = 0;
    while (read < most) {
        int k = net_link.net_ring_index + 1;
        if (k < 0 || k >= NET_RING_SLOTS) k = 0;
        if (net_link.net_ring[k][0] != 0) break;   // not handled yet: the rest waits on the socket
        // The true size is kept even when the datagram did not fit the slot, so
        // the receive pass can refuse it by its size.
        const int n = PLAT_udp_receive(net_link.net_socket, net_link.net_ring[k], NET_RING_BYTES);
        if (n < 0) break;   // none waits (or the read failed): the slot stays free
        net_link.net_ring_len[k] = n;
        net_link.net_ring_index = k;
        ++net_counters.read;
        ++read;
    }
    return read;
}

// Read readiness: one datagram into the ring (the message pump notifies
// again while more wait on the socket).
void NET_socket_notify(int event)
{
    if (event != 1) return;
    NET_fill_ring(1);
}

int NET_bound_port() { return net_link.net_socket >= 0 ? PLAT_udp_local_port(net_link.net_socket) : 0; }

void NET_reset()
{
    if (net_link.net_socket >= 0) {
        PLAT_watch_socket(net_link.net_socket, false, false);
        PLAT_udp_close(net_link.net_socket);
    }
    net_link = net_link_state{};
    net_inited = 0;
}
