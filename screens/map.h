// What the settings screens draw of the map window: the runway diagram of an
// airport and the map's object symbols.
#pragma once

// Draws the runways of airport `airport` fitted into the box (x1, y1)..(x2, y2).
void SETUP_draw_airport_diagram(int airport, float x1, float y1, float x2, float y2);

// Draws a map symbol of kind `kind` at (x, y) in colour row `colour`
// (99 with plane slot `index` 0 is the user's aircraft).
void MAP_draw_object(float x, float y, int colour, int index, int kind, float heading);
