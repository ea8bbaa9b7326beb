#include "core/simvars/network.h"

#include "core/reset_registry.h"

sim_network_dataout_block sim_network_dataout{};
sim_network_misc_block sim_network_misc{};
sim_private_net_disables_block sim_private_net_disables{};

void SIMVARS_network_reset()
{
    sim_network_dataout = {};
    sim_network_misc = {};
    sim_private_net_disables = {};
}
ORVELL_RESET(SIMVARS_network_reset, program);
