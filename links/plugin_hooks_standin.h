// What a test can set in the stand-in of the plug-in hooks: the answer of the
// menu hook (1, run the command, as without a manager; 0 takes the command),
// and a drawing phase a plug-in takes over (the draw hook answers 0 for it;
// -1 none).
#pragma once

extern int plugin_standin_menu_hook_answer;
extern int plugin_standin_draw_phase_taken;
