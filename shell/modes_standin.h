// What the stand-in of the mode switch records: every switch (mode and reason)
// and every background rebuild, as "APPLICATION_set_mode(mode,reason)" and
// "MACIBM_load_background()".
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> modes_standin_calls;
