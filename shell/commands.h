// The numeric commands: every user action that is more than a value change
// reaches the system as one integer command (menus, keys, joystick buttons,
// the serial console, the operator panel, the network, the flight model).
#pragma once

#include <cstdint>

#include "flightmodel/control/own_physics.h"
#include "links/movie.h"   // the movie file's name and path
#include "flightmodel/plane_state.h"
#include "core/overlay_texts.h"
#include "core/text_util.h"
#include "scene/scene_state.h"

// Command numbers run from outside the menus (the key commands).
constexpr int32_t COMMAND_ZOOM_OUT = 1026;
constexpr int32_t COMMAND_ZOOM_IN = 1027;
constexpr int32_t COMMAND_TRANSPARENT_PANEL = 1029;
constexpr int32_t COMMAND_SMOKE = 1030;
constexpr int32_t COMMAND_REPLAY = 1031;
constexpr int32_t COMMAND_DATA_TO_FILE = 1203;

// Runs one numbered command from a local source (menus, keys, panels, the
// flight model). Unknown numbers do nothing.
void APPLICATION_handlemenu(int32_t command);
// Runs one numbered command received from a peer ("menu selection " texts).
void APPLICATION_handlemenu_remote(int32_t command);

// Writes the general and pilot preferences (once the start-up loaded the world)
// and the logbook, as the quit command does; from then on a save that fails
// is a line in ERROR.OUT, not a box.
void APPLICATION_save_preferences_and_logbook();

// Loads the situation a peer names ("sit selection  "): accepted only as a
// plain file name inside "OUTPUT:SITUATIONS:" (no separator, no "..", not
// absolute). A refused name is logged to "ERROR.OUT". Returns 1 when the
// situation was read and the flight started.
int APPLICATION_load_peer_situation(const char* name);
// 1 when a peer's situation name is a plain file name (see above).
int COMMANDS_peer_situation_name_ok(const char* name);

// The view state the view commands write and the scene's camera reads is the
// scene's (scene/scene_state.h); this one is the commands' own.
extern int32_t second_forward_view;   // the forward view pressed twice

// Display and flight switches toggled by commands (1036 is view_follow_weapon).
// auto_flight_on (1214) and auto_view_cycle_on (1215) belong to the own-plane step.
extern int32_t preset_flight_a;       // set by the preset flights 1231, 1232
extern int32_t preset_flight_b;

// The replay: the user's plane as it was when replay began.
extern plane_state_record saved_replay_state;

// The text file window (1208) and the checklist window (1211) the commands
// fill are the overlay's (core/overlay_texts.h).

// Names and full paths offered by the browser for situations and movies.
extern char situation_file_name[TEXT_SIZE];
extern char situation_file_path[TEXT_SIZE];

// The file browser the commands use: (998 open or 999 save, file kind, name
// buffer, path buffer) -> non-zero when the user confirmed. By default the
// program's own browser when it is linked, else every browse is cancelled.
using commands_browser_fn = int (*)(int mode, int kind, char* name, char* path);
extern commands_browser_fn commands_browser;
void COMMANDS_use_default_browser();
