// Screen 3, the network and data-output screen (SETUP_network in
// screens/setup.h): tab 0 chooses, for each data group, whether it is sent by
// UDP, written to "DATA.OUT", graphed or shown over the flying view; tab 1
// enables the network roles, takes their addresses and ports and the data
// rate, and tells which roles a peer was heard on.
#pragma once

#include <cstdint>

#include "graphics/list.h"
#include "links/net_slots.h"

constexpr int NETWORK_SCREEN_ROLES = 13;       // rows 0..12, one per destination slot with a role
constexpr int NETWORK_GRAPH_LIMIT = 5;         // graph groups at most
constexpr int NETWORK_SCREEN_GROUP_LIMIT = 16; // groups shown over the flying view at most

struct network_screen_state {
    int32_t network_tab = 0;   // 0 data output, 1 connections
    // Set when the data graph was asked for with nothing ticked to graph and
    // the data table opened in its place: the table then says what to tick,
    // until a group is ticked or the screen is opened from its own menu.
    // Opened without a word, the menu item seemed to open the wrong screen,
    // and the user did not learn why the graph stayed shut.
    int32_t graph_note = 0;
    // Each role's address and port as they stood before the user's typing:
    // what a refused value gives way to.
    char kept_ip[NETWORK_SCREEN_ROLES][NET_IP_TEXT_SIZE] = {};
    char kept_port[NETWORK_SCREEN_ROLES][NET_PORT_TEXT_SIZE] = {};
};
extern network_screen_state network_screen;
void SETUP_network_reset();

// The role names of slots 0..12 as the status lines give them.
extern const char* const network_role_names[NETWORK_SCREEN_ROLES];

// The status line of slot `slot` ("Got a test transmission from someone
// talking to a <role> <age> seconds ago."), written into `out` when a peer was
// heard on it; false (and an empty text) otherwise.
bool SETUP_network_status_line(int slot, char* out, int size);

// The role exclusions of a click on slot `slot`'s check box: the monitors and
// the instructor station exclude the master-machine kinds, and a master kind
// excludes them and the other master kinds.
void SETUP_network_role_clicked(int slot);

// The limits of the data table: more than 5 graph groups or more than 16
// screen groups drop the lowest-numbered selected one.
void SETUP_network_limit_selections();

// What the address and port fields take: a dotted address of four numbers
// 0..255, and a port 1..65535 (digits only).
text_entry_state SETUP_network_address_check(const char* text);
text_entry_state SETUP_network_port_check(const char* text);
