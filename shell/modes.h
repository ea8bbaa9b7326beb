// The application mode: the one window always shows exactly one mode.
//   -1       the intro picture (the next frame turns it into 0 without a switch)
//    0       flying
//    1..24   the settings screens (13 is the start screen)
//  996       the alert box
//  998, 999  the file browser, open and save
// Every change of mode goes through APPLICATION_set_mode with a reason text;
// the switch sizes and titles the current screen area and prepares the
// background picture of the new mode. The mode itself and the program-wide
// flags are published in core/app_mode.h.
#pragma once

#include <cstdint>

#include "core/app_mode.h"

// The twelve background tiles (3 rows of 4, 256 x 256 texels) in the texture
// slots from TEX_SLOT_BACKGROUND_FIRST.
constexpr int BACKGROUND_TILE = 256;

// A mode's own screen: its size in interface units, the UI text of its title
// and the step that runs it once a frame (in the simulation cycle). The
// operator-panel screens take their size from the loaded area at the map
// scale; the operator airport screen's title is the airport line of the map.
// The alert box and the file browser have a size and title but run their own
// modal loop, so they have no step.
struct mode_screen {
    int32_t mode;
    float width;           // 0 for a screen sized by the map
    float height;
    int title_text;        // -1 for the operator airport screen's airport line
    void (*step)();        // nullptr for the modal screens
    bool sized_by_map;
};

// The screen of a mode, or nullptr for flying, the intro and unknown modes.
const mode_screen* MODE_screen_of(int32_t mode);

// Switches the application mode; the reason names the caller's situation.
// Two reasons change what the switch does: "select airport" and "planet region".
// While a peer's command, click or key is handled a switch to anything but
// the flying view (or the alert box of a fatal alert) is refused, counted
// with the link's refusals, and the mode stays.
void APPLICATION_set_mode(int32_t mode, const char* reason);

// Whether what a peer sent may switch the program to `mode`: the flying view
// only. A box, the file browser and every screen stop the flight until
// someone at this machine leaves them, and a peer can ask for one after
// another. Menu items (shell/commands.cpp) and the mode switch both ask here.
bool APPLICATION_peer_may_enter(int32_t mode);
constexpr const char* APPLICATION_PEER_SCREEN_REFUSAL = "it would open a screen that stops the flight";

// Whether a peer's click or key ("MOUS", "CHAR") is refused now, by the same
// rule: it is handled only in a mode a peer may enter. On a screen, a box or
// the file browser the user has open, a click or key would work it (close
// it, change what it sets); it is refused, counted with the link's refusals,
// and 1 is returned before the pointer or anything else is touched.
int APPLICATION_peer_input_refused();
constexpr const char* APPLICATION_PEER_INPUT_REFUSAL = "its click or key would work the screen the user has open";

// Rebuilds the twelve background textures from the pixel buffer; in flying
// mode the current view's panel picture is copied into the buffer first. It
// also counts the picture's rows, from the bottom, in which every texel is
// opaque (`background_cover_rows`; 0 before the textures are made).
void MACIBM_load_background();
extern int32_t background_cover_rows;
