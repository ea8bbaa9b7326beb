// The program's spine: the entry routine that clears the large tables, runs
// the start-up and the loaders behind the loading screen, opens the network
// link, enters the first mode and then runs frames until the quit flag is set;
// and the shut-down that releases everything in a fixed order.
//
// It also owns the terrain list table: 49 rows (one per terrain texture) of
// six growable item lists that the terrain code fills.
#pragma once

#include <cstdint>

// What the entry received.
extern void* instance_handle;
extern int32_t show_command;

// The platform entry of the program: returns 0 in every case. A non-null
// previous instance returns at once. The command line is not read.
int APPLICATION_main(void* instance, void* previous_instance, const char* command_line, int show);

// Frame pacing: the program's frames keep to the display's refresh rate
// unless this environment variable is set to anything but "" or "0" (for
// benchmarks). Only the program entry switches pacing on; tests and
// benchmarks that run frames themselves run them unpaced.
constexpr const char* NO_PACING_VARIABLE = "ORVELL_NO_PACING";
bool APPLICATION_pacing_wanted();

// The entry's steps up to the main loop: the tables cleared, the start-up,
// the loaders, the live-weather probe, the network link and the first mode.
void APPLICATION_start_up();
// The one installer of the ways up (core/hooks.h): every entry of the table
// gets the target it names, the spine's services and the drawing floors'
// answers alike. The start-up calls it first; the test support and the tools
// call it too, so they load, draw and ask as the program does.
void APPLICATION_install_hooks();
// The main loop: frames until the quit flag is set (none when it already is).
void APPLICATION_run_frames();
// True from the main loop's start on: the user's settings have been loaded.
bool APPLICATION_running();
// True once the start-up has read the preferences and loaded the world: from
// then on a quit saves the preferences wherever the flight is.
bool APPLICATION_started();

// The shut-down: movie, plug-ins, resolution preferences (only when the window
// was set up: after a failed display set-up the file keeps its reset header),
// display mode, the links and the log streams, in that order (the window goes
// with the process). Runs once; a second call (from a fatal alert raised during
// the shut-down itself) does nothing.
void MACIBM_quit();
// The end of a fatal alert: the preferences and the logbook are saved (once
// the start-up has read them, and unless a quit already did), then the quit
// flag, the shut-down, and the process ends with a non-zero status.
[[noreturn]] void MACIBM_fatal_exit();
// The window was closed before the program finished loading: nothing of the
// user's has been read, so nothing is saved; the shut-down runs and the
// process ends with status 0.
[[noreturn]] void APPLICATION_abandon_start();

// Test seam: the program path the start-up takes its program folder from
// (null: the running executable's).
extern const char* startup_program_path;

// ---------------------------------------------------------------------------
// The terrain list table.

// A growable list of items: a word kept by the terrain code, the number of
// items in use and their storage (allocated by the terrain code with
// std::malloc or std::realloc; owned by the list and released with std::free).
struct item_list {
    int32_t reserved;
    int32_t count;
    void* items;
};

constexpr int TERRAIN_LIST_ROWS = 49;
constexpr int TERRAIN_LISTS_PER_ROW = 6;
extern item_list terrain_list_table[TERRAIN_LIST_ROWS][TERRAIN_LISTS_PER_ROW];

void LIST_construct(item_list& list);   // all three words 0
void LIST_clear(item_list& list);       // count 0, storage kept
void LIST_destroy(item_list& list);     // count 0, storage released

// Built before the entry runs; destroyed (last to first) when the process ends.
void TERRAIN_LISTS_static_init();
void TERRAIN_LISTS_destroy_all();
