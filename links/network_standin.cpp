// Stand-in of the UDP link until the link itself is built: it checks a send
// as the link does and records the datagram instead of putting it on a socket.
#include "links/network.h"

#include <cstring>

#include "links/net_slots.h"
#include "links/network_standin.h"
#include "core/alert.h"

int32_t net_inited = 0;
std::vector<net_sent_datagram> net_sent_log;

void NET_standin_clear() { net_sent_log.clear(); }

void NET_data_send(const char* label, int index, const void* payload, int length, int slot)
{
    if (slot < 0 || slot >= NET_SLOT_COUNT) {
        MACIBM_nuke_alert(0, "Trying to send on too high an IP index!", "", "", "", ALERT_FATAL);
        return;
    }
    if (!net_slot_enabled[slot] || !net_slot_valid[slot]) return;
    if (length < 0 || length + NET_HEAD_BYTES >= NET_PACKET_MAX) {
        MACIBM_nuke_alert(0, "Trying to send too LARGE a buffer!", label ? label : "", "", "", ALERT_FATAL);
        return;
    }
    net_sent_datagram d;
    d.slot = slot;
    d.bytes.resize(static_cast<size_t>(length) + NET_HEAD_BYTES, 0);
    if (label) std::memcpy(d.bytes.data(), label, strnlen(label, 4));
    d.bytes[4] = static_cast<uint8_t>(index);
    d.bytes[5] = '0';
    if (length > 0 && payload) std::memcpy(d.bytes.data() + NET_HEAD_BYTES, payload, static_cast<size_t>(length));
    net_sent_log.push_back(std::move(d));
}
