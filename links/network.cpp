// The UDP link's send routine: the checks every send passes and the datagram
// head (label, index byte, byte-order mark) in front of the payload.
#include "links/network.h"

#include <array>
#include <cstring>

#include "core/alert.h"
#include "links/net_slots.h"
#include "links/udp_socket.h"

int32_t net_inited = 0;

void NET_data_send(const char* label, int index, const void* payload, int length, int slot)
{
    if (slot < 0 || slot >= NET_SLOT_COUNT) {
        MACIBM_nuke_alert(0, "Trying to send on too high an IP index!", "", "", "", ALERT_FATAL);
        return;
    }
    if (!net_slot_enabled[slot] || !net_slot_valid[slot]) return;
    if (length < 0 || length >= NET_PACKET_MAX - NET_HEAD_BYTES) {
        MACIBM_nuke_alert(0, "Trying to send too LARGE a buffer!", label ? label : "", "", "", ALERT_FATAL);
        return;
    }
    std::array<uint8_t, NET_PACKET_MAX> datagram{};
    if (label) std::memcpy(datagram.data(), label, strnlen(label, 4));
    datagram[4] = static_cast<uint8_t>(index);
    datagram[5] = '0';   // the byte-order mark of a little-endian sender
    if (length > 0 && payload) std::memcpy(datagram.data() + NET_HEAD_BYTES, payload, static_cast<size_t>(length));
    NET_socket_send(slot, datagram.data(), length + NET_HEAD_BYTES);
}
