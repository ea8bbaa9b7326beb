// The start-up sequence: from bare globals to an OpenGL window with the
// interface art, the language texts, the basic world textures and the
// plug-ins in place. The order is fixed and other modules rely on it: the log
// streams open before anything writes, the folder table is complete before
// any file is named, the colour table is filled before anything draws,
// gl_ready becomes 1 only once the window, the context and the first mode
// exist (until then alerts go to the message box), the plug-ins start last.
#pragma once

// Runs every step once, in order. Each failure it finds itself is fatal.
void APPLICATION_init();

// The steps the sequence is made of, in order (also run one by one by tests).
void STARTUP_reset_state();          // what an earlier start-up loaded: texts, world textures, records, containers
void STARTUP_random_and_clock();     // the random table, then the generator stirred with the clock
void STARTUP_logs_and_folders();     // the three logs, then the folder table and preference paths
void STARTUP_display_defaults();     // display defaults, then the resolution preferences
void STARTUP_world_textures();       // the light sprites and the sixteen sea textures
