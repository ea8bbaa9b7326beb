// Stand-in of the plug-in hooks until the plug-in host is built: no manager is
// loaded, so each hook gives the no-manager answer; every call is recorded.
#include "links/plugin_host.h"

#include <string>

#include "links/calls_standin.h"

int PLUGIN_call_event_hook(int event, float value, float float_value, int a, int b)
{
    links_standin_calls.push_back("PLUGIN_call_event_hook(" + std::to_string(event) + ")");
    return 1;
}

int PLUGIN_call_num_planes(int count, int flag) { return count; }

void PLUGIN_call_update_plane_path(int slot, const char* file_name, const char* path)
{
    links_standin_calls.push_back("PLUGIN_call_update_plane_path(" + std::to_string(slot) + ")");
}
