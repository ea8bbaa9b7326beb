// sim/network/: the data output's groups and the network clock, and what a
// display slave leaves to its master (sim/private/net_disables/).
// Part of the published simulation variables (core/simvars.h).
#pragma once

#include <cstdint>

// sim/network/dataout/: which of the 200 data groups go where.
constexpr int DATAOUT_GROUPS = 200;
struct sim_network_dataout_block {
    float network_data_rate;          // records per second, 1..50 when used
    int32_t data_to_internet[DATAOUT_GROUPS];
    int32_t data_to_disk[DATAOUT_GROUPS];
    int32_t data_to_graph[DATAOUT_GROUPS];
    int32_t data_to_screen[DATAOUT_GROUPS];
    int32_t dump_parts_props;
    int32_t dump_parts_wings;
    int32_t dump_parts_vstabs;
    int32_t dump_next_cycle;          // the next flight-model step writes its report to "ORVELL.OUT"
};
extern sim_network_dataout_block sim_network_dataout;

// sim/network/misc/.
struct sim_network_misc_block {
    float network_time_sec;           // network clock, seconds; the replay clock while replaying
};
extern sim_network_misc_block sim_network_misc;

// sim/private/net_disables/: parts of the simulation a display slave leaves to its master.
struct sim_private_net_disables_block {
    int32_t ai_loc[10];               // per plane slot: the slave does not move that plane
    int32_t annuns;
    int32_t nav_NC;
    int32_t nav_GPS;
};
extern sim_private_net_disables_block sim_private_net_disables;
