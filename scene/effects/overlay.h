// The 2-D overlay of the flying view and its replay bar, and the sun glare
// the windshield pass works out for it.
//
// Reads: sun_glare, the replay mode and the replay clock, the mouse record,
// the ATC window, the spoken text, the data rows chosen for the screen, the
// launch flags, the pause, the chat field and the notes and checklist
// windows (core/overlay_texts.h), the joystick state and the aircraft's
// head-up-display centre, destination slot 9 of the link.
// Writes: replay_mode and checklist_current on clicks, redraw_pending (cleared).
#pragma once

// White wash over the picture from looking into the sun, 0 (none) to about 1.
extern float sun_glare;

// Labels of the replay bar's buttons 1..9 as the link's command table names
// them (15 characters, trailing blanks included); "" for buttons that send
// nothing.
extern const char* const REPLAY_BUTTON_COMMAND[10];
// Centre x of replay button b (1..9); the bar's buttons sit at y 740.
extern const float REPLAY_BUTTON_X[10];
constexpr float REPLAY_BUTTON_Y = 740.0f;
// The bar's shaded box: x0, y0, x1, y1 in interface units.
constexpr float REPLAY_BAR_BOX[4] = {412.0f, 720.0f, 612.0f, 750.0f};

// True while the overlay shows the replay bar: a replay mode is chosen and no
// movie is being recorded.
bool REPLAY_bar_shown();

// Draws the bar and handles clicks on its buttons; called by the overlay.
void REPLAY_draw_bar();
// Draws the 2-D overlay of the flying view; clears redraw_pending at its end.
void SCENE_draw_overlay();
