// What a test can set in the stand-in of the plug-in hooks: the answer of the
// menu hook (1, run the command, as without a manager; 0 takes the command).
#pragma once

extern int plugin_standin_menu_hook_answer;
