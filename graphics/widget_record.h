// A recording seam at the widget kit's boundary, for the layout checks of
// the screens: while a recorder is set, every widget reports the boxes it
// draws, in interface units of the window (the current screen's origin
// added): its captions, its field (what the user clicks and reads as the
// control), the group and window frames, and the screen's work area. Texts
// the screens draw themselves (outside any widget) are reported too. With no
// recorder set, nothing is reported and nothing else changes.
#pragma once

enum widget_box_kind {
    WIDGET_BOX_CAPTION,     // a caption line of a widget
    WIDGET_BOX_FIELD,       // a widget's control: box, track, digits, list
    WIDGET_BOX_FRAME,       // a group box or window frame
    WIDGET_BOX_WORK_AREA,   // the whole window of a screen
    WIDGET_BOX_TEXT,        // a text a screen draws outside any widget
};

struct widget_box {
    widget_box_kind kind;
    float x1, y1, x2, y2;
    const char* text;       // the caption or text drawn, else the widget's name
};

using widget_recorder = void (*)(const widget_box& box);

// Sets the recorder (nullptr: none).
void WIDGET_set_recorder(widget_recorder recorder);
bool WIDGET_recording();

// Reports a box given in the current screen's units.
void WIDGET_record(widget_box_kind kind, float x1, float y1, float x2, float y2, const char* text);

// While one lives, the texts the font routines draw belong to a widget and
// are not reported as free texts; with `face` set, the captions drawn are
// the widget's face (a button's) and not reported as captions either.
class WIDGET_inside {
public:
    explicit WIDGET_inside(bool face = false);
    ~WIDGET_inside();
    WIDGET_inside(const WIDGET_inside&) = delete;
    WIDGET_inside& operator=(const WIDGET_inside&) = delete;

private:
    bool face_;
};
bool WIDGET_drawing_inside();
bool WIDGET_drawing_face();
