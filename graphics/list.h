// The widgets that show more than one value: the vertical scroll bar, the
// selection list that opens as a pop-up menu (menu 1019), the big scrolling
// name list of navaids, airports or the browser's folder listing, and the
// editable text field. They follow the immediate-mode model of
// graphics/widget.h.
#pragma once

#include <cstdint>

// The id of the text field being edited, -1 none. Every mode switch sets it to
// -1. The name list's search boxes are ids 0 (name) and 1 (id); a text field
// with id 0 or 1 is active together with that box.
extern int32_t active_text_field;

// The navigation-record kind the name list's id search looks for: 1, airports
// (in the navaid list as in the airport list). Set at start-up.
extern int32_t name_list_nav_kind;

// Name list types.
constexpr int NAME_LIST_NAVAIDS = 993;
constexpr int NAME_LIST_AIRPORTS = 994;
constexpr int NAME_LIST_FILES = 995;     // the browser's two modes list the files too

// The name list's box, from the row band's half-width (300 - 20) and its
// vertical extent (110 - (-110)).
constexpr float NAME_LIST_WIDTH = 300.0f - 20.0f;
constexpr float NAME_LIST_HEIGHT = 110.0f - (-110.0f);

// Most items a selection list holds.
constexpr int TEXT_LIST_MAX_ITEMS = 50;

// A vertical scroll bar at x between bottom and top over positions
// first..last (first at the top). Returns 1 while the thumb is dragged.
int BTN_scroll_bar(float x, float bottom, float top, int first, int last, int* position);

// A value chosen from a short list ("one-two-three": items separated by "-")
// that opens as a pop-up. Returns 1 in the frame in which a pop-up answer was
// taken into the selection.
int BTN_text_list(float x, float y, int* selected, const char* items, const char* label);

// The key a selection list at (x, y) is known by while its pop-up is open
// (never 0, which stands for no list).
int32_t BTN_text_list_key(float x, float y);

// The big name list: 21 rows around the current index, a scroll bar, and for
// navaids and airports two search boxes. Returns 1 when a row or a search box
// was clicked.
int BTN_big_name_list(int type, float x, float y, int* current, int first, int last, char* search);

// An editable text field of at most maximum - 1 characters; the key handler
// edits typed_text while it is active. Returns 1 in the frame in which the
// field became active.
int BTN_text_field(float x, float y, char* text, int maximum, int id, const char* label);

// What a checked text field holds: a whole value, the start of one (still
// being typed), or a text no further typing can mend.
enum text_entry_state { TEXT_ENTRY_COMPLETE, TEXT_ENTRY_PARTIAL, TEXT_ENTRY_REFUSED };
using text_entry_check = text_entry_state (*)(const char* text);

// BTN_text_field whose text `check` judges. `kept` (`maximum` bytes) holds
// the field's value from before the typing began: a key that makes the text
// refused, or runs past the field's last place, and leaving the field with a
// partial value all bring it back. Returns true for TEXT_REFUSAL_SHOWN
// seconds after a refusal, or until the field is left with a whole value,
// while the caller shows its word for the field's range. Ids run
// 0..TEXT_FIELD_IDS-1.
constexpr int TEXT_FIELD_IDS = 64;
constexpr float TEXT_REFUSAL_SHOWN = 4.0f;
bool BTN_text_field_checked(float x, float y, char* text, int maximum, int id, const char* label,
                            text_entry_check check, char* kept);
void BTN_text_field_checked_reset();
