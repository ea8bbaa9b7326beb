#include "links/net_slots.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/reset_registry.h"

char net_ip_text[NET_SLOT_COUNT][NET_IP_TEXT_SIZE] = {};
char net_port_text[NET_SLOT_COUNT][NET_PORT_TEXT_SIZE] = {};
int32_t net_slot_enabled[NET_SLOT_COUNT] = {};
int32_t net_slot_valid[NET_SLOT_COUNT] = {};
uint32_t net_slot_addr[NET_SLOT_COUNT] = {};
int32_t net_peer_heard[NET_SLOT_COUNT] = {};
float net_peer_heard_time[NET_SLOT_COUNT] = {};

// The slots as a fresh process has them: none switched on, no address, no peer heard.
void NET_slots_reset()
{
    std::memset(net_ip_text, 0, sizeof net_ip_text);
    std::memset(net_port_text, 0, sizeof net_port_text);
    std::fill(std::begin(net_slot_enabled), std::end(net_slot_enabled), 0);
    std::fill(std::begin(net_slot_valid), std::end(net_slot_valid), 0);
    std::fill(std::begin(net_slot_addr), std::end(net_slot_addr), 0u);
    std::fill(std::begin(net_peer_heard), std::end(net_peer_heard), 0);
    std::fill(std::begin(net_peer_heard_time), std::end(net_peer_heard_time), 0.0f);
}
ORVELL_RESET(NET_slots_reset, program);
