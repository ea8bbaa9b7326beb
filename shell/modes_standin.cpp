// Stand-in of the mode switch until the application modes are built: the new
// mode is taken at once and the call is recorded.
#include "shell/modes.h"

#include <string>

#include "shell/modes_standin.h"

int32_t quit_flag = 0;
std::vector<std::string> modes_standin_calls;

void APPLICATION_set_mode(int32_t mode, const char* reason)
{
    modes_standin_calls.push_back("APPLICATION_set_mode(" + std::to_string(mode) + "," + (reason ? reason : "") + ")");
    app_mode = mode;
}

void MACIBM_load_background() { modes_standin_calls.push_back("MACIBM_load_background()"); }
