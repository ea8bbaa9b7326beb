// Hooks into the plug-in manager. Without a manager every hook gives the
// answer that lets the program go on as if there were no plug-ins.
#pragma once

// Forwards an event to the plug-in manager (0: a flying frame begins, with the
// frame clock; 1: before a view change). 1 when no manager is loaded.
int PLUGIN_call_event_hook(int event, float value, float float_value, int a, int b);
// The number of aircraft slots to handle: the manager's answer, or the count
// unchanged when no manager is loaded.
int PLUGIN_call_num_planes(int count, int flag);
