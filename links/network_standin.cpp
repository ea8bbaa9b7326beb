// Stand-in of the UDP socket until the link itself is built: each finished
// datagram is recorded instead of being put on a socket.
#include "links/network_standin.h"

#include "links/udp_socket.h"

std::vector<net_sent_datagram> net_sent_log;

void NET_standin_clear() { net_sent_log.clear(); }

void NET_socket_send(int slot, const uint8_t* datagram, int length)
{
    net_sent_datagram d;
    d.slot = slot;
    d.bytes.assign(datagram, datagram + length);
    net_sent_log.push_back(std::move(d));
}
