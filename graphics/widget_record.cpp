#include "graphics/widget_record.h"

#include <cmath>

#include "core/screen.h"

namespace {

struct recording_state {
    widget_recorder recorder = nullptr;
    int depth = 0;        // widgets being drawn
    int face_depth = 0;   // of them, those whose captions are their face
};
recording_state recording;

}  // namespace

void WIDGET_set_recorder(widget_recorder recorder)
{
    recording.recorder = recorder;
    recording.depth = recording.face_depth = 0;
}

bool WIDGET_recording() { return recording.recorder != nullptr; }

void WIDGET_record(widget_box_kind kind, float x1, float y1, float x2, float y2, const char* text)
{
    if (!recording.recorder) return;
    if (kind == WIDGET_BOX_FIELD && recording.depth > 1) return;   // a part of a larger widget
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    recording.recorder(widget_box{kind, std::fmin(x1, x2) + ox, std::fmin(y1, y2) + oy, std::fmax(x1, x2) + ox,
                                  std::fmax(y1, y2) + oy, text ? text : ""});
}

WIDGET_inside::WIDGET_inside(bool face) : face_(face)
{
    ++recording.depth;
    if (face_) ++recording.face_depth;
}

WIDGET_inside::~WIDGET_inside()
{
    --recording.depth;
    if (face_) --recording.face_depth;
}

bool WIDGET_drawing_inside() { return recording.depth > 0; }
bool WIDGET_drawing_face() { return recording.face_depth > 0; }
