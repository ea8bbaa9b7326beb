// Panel modules of an outside maker, reached through the maker's library
// "GFDev.so" beside the program: up to four radio units (a four-character
// display, a six-character display and a dial pair), one eight-switch panel
// of each of two kinds (P8, T8) and one gear-and-lights unit (trim wheel,
// flap lever, gear lever, gear lamps).
//
// Reads: eq_gf_panels, the active NAV and COM frequency words, the gear
// handle and the first three gear legs. Writes: those frequencies, button
// values 80..95; runs the trim wheels and key commands.
#pragma once

#include <cstdint>
#include <string>

constexpr int GFDEV_ENTRIES = 43;
constexpr int GFDEV_RADIO_UNITS = 4;
constexpr int GFDEV_NOT_SUPPORTED = 9;   // GFDEV_load: the system cannot host the library
constexpr int GFDEV_NO_LIBRARY = 10;     // GFDEV_load: the library could not be loaded
constexpr int GFDEV_NO_ENTRY = 12;       // a call through an entry the library lacks

// The library's calls, as the program makes them.
extern "C" {
using gfdev_init_fn = int (*)(void* window);
using gfdev_terminate_fn = int (*)();
using gfdev_count_fn = int (*)();
using gf45_dials_fn = int (*)(int unit, int16_t* outer, int16_t* inner);
using gf45_text_fn = int (*)(int unit, const char* text);
using gf8_switches_fn = int (*)(int unit, uint8_t* switches);
using gf8_lamps_fn = int (*)(int unit, uint8_t lamps);
using gflgt_controls_fn = int (*)(int unit, int16_t* wheel, uint8_t* switches);
}

// The loaded library and its entries looked up by name, in the order of
// gfdev_entry_names (a missing entry stays null).
struct GFDEV_entry_table {
    void* library = nullptr;
    void* entries[GFDEV_ENTRIES] = {};
};
extern GFDEV_entry_table gfdev_table;
extern const char* const gfdev_entry_names[GFDEV_ENTRIES];

// The modules found and what the exchange keeps between frames.
struct panel_module_state {
    bool tried = false;                  // the library is loaded at most once per run
    int radio_units = 0;                 // 0..4
    int p8_units = 0;                    // 0..1 each
    int t8_units = 0;
    int gear_units = 0;
    char last_alpha[GFDEV_RADIO_UNITS][5] = {};
    char last_numeric[GFDEV_RADIO_UNITS][7] = {};
    int flap_lever = 0;                  // -1, 0, 1
    bool gear_lever_up = false;
};
extern panel_module_state panel_modules;
// Unloads the library and forgets the modules.
void GFDEV_reset();

// Where the library is looked for: "GFDev.so" in the program folder unless set
// (tests point it at a library of their own; "" puts the default back).
void GFDEV_set_library_path(const std::string& path);
std::string GFDEV_library_path();

// 9 when the system cannot host the library, 10 when it cannot be loaded,
// else the library's own start-up result (12 without that entry).
int GFDEV_load(void* window);
// The library's shut-down result; every entry cleared and the library unloaded.
int GFDEV_unload();

// The thirteen forwarders: each calls its entry; a missing entry gives 0 for
// the counts and 12 otherwise.
int GF45_GetNumDevices();
int GF45_GetDialVals(int unit, int16_t* outer, int16_t* inner);
int GF45_SetAlpha(int unit, const char* text);
int GF45_SetNumeric(int unit, const char* text);
int GFP8_GetNumDevices();
int GFP8_GetSwitchVals(int unit, uint8_t* switches);
int GFP8_SetIndicators(int unit, uint8_t lamps);
int GFT8_GetNumDevices();
int GFT8_GetSwitchVals(int unit, uint8_t* switches);
int GFT8_SetIndicators(int unit, uint8_t lamps);
int GFLGT_GetNumDevices();
int GFLGT_GetControlVals(int unit, int16_t* wheel, uint8_t* switches);
int GFLGT_SetIndicators(int unit, uint8_t lamps);

// The modules' part of HARDWARE_open (load once, count, greet), of each
// joystick poll, and of HARDWARE_close(1) (blank, dark, unload).
void GFDEV_open();
void GFDEV_exchange();
void GFDEV_shutdown();
