#include "links/net_slots.h"

char net_ip_text[NET_SLOT_COUNT][NET_IP_TEXT_SIZE] = {};
char net_port_text[NET_SLOT_COUNT][NET_PORT_TEXT_SIZE] = {};
int32_t net_slot_enabled[NET_SLOT_COUNT] = {};
int32_t net_slot_valid[NET_SLOT_COUNT] = {};
uint32_t net_slot_addr[NET_SLOT_COUNT] = {};
int32_t net_peer_heard[NET_SLOT_COUNT] = {};
float net_peer_heard_time[NET_SLOT_COUNT] = {};
