// The big scrolling name list: navaids, airports or the file browser's
// folder listing, with a scroll bar and two search boxes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "graphics/widget_record.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/text_util.h"
#include "world/navdb.h"
#include "world/nav_lookup.h"

namespace {

float caret_alpha() { return 0.5f + 0.4f * std::sin(10.0f * frame_clock); }

// A fixed-size text field of a record, as a terminated text.
template <size_t N>
void field_text(const char (&field)[N], char out[TEXT_SIZE])
{
    const size_t n = strnlen(field, N);
    std::memcpy(out, field, n);
    out[n] = 0;
}

// Name and id of entry i of a list; false when the list has no such entry.
bool entry_texts(int type, int i, char name[TEXT_SIZE], char id[TEXT_SIZE])
{
    name[0] = id[0] = 0;
    if (i < 0) return false;
    const size_t u = static_cast<size_t>(i);
    switch (type) {
    case NAME_LIST_NAVAIDS:
        if (u >= navaid_table.size()) return false;
        field_text(navaid_table[u].name, name);
        field_text(navaid_table[u].id, id);
        return true;
    case NAME_LIST_AIRPORTS:
        if (u >= airport_table.size()) return false;
        field_text(airport_table[u].name, name);
        field_text(airport_table[u].id, id);
        return true;
    default:
        if (u >= static_cast<size_t>(FILE_LIST_MAX)) return false;
        field_text(file_list_names[u], name);
        return true;
    }
}

// Texel x of the kind icon of a folder-listing entry, -1 for none.
float kind_icon_x(int kind)
{
    switch (kind) {
    case 1: return 34;
    case 4: return 48;
    case 2: return 62;
    case 17: return 76;
    case 3: return 90;
    case 6: return 104;
    case 7: return 118;
    case 9: return 132;
    case 5: return 146;
    }
    return -1;
}

// The rows shown: 10 each side of the current row, which stands in the middle.
constexpr int SHOWN_ROWS = 21;

// The longest name a search can match: the names of the tables searched.
constexpr size_t NAME_SEARCH_MAX = APT_NAME_SIZE - 1;


}  // namespace

int BTN_big_name_list(int type, float x, float y, int* current, int first, int last, char* search)
{
    const WIDGET_inside inside;
    WIDGET_record(WIDGET_BOX_FIELD, x - 2.0f, y - (type == NAME_LIST_NAVAIDS || type == NAME_LIST_AIRPORTS ? 141.0f : 131.0f),
                  x + 306.0f, y + 129.0f, "name list");
    BTN_frame2(16, x, y - 110.0f, NAME_LIST_WIDTH, NAME_LIST_HEIGHT, "");
    if (first > last) return 0;

    BTN_scroll_bar(x + 296.0f, y - 110.0f, y + 110.0f, first, last, current);

    int result = 0;
    // The index is worked in 64 bits: first and last may lie anywhere in the
    // int range, and a row click or a row offset must not overflow.
    int64_t cur = *current;
    // Row k is the 10-unit band centred 10 k below the current row's line: a
    // click opens the row whose band it hits, above the current row as below
    // it. The offset is rounded down: cut toward zero, ((mouse_y - y) - 5) / 10
    // takes the row below the one clicked whenever that lies above the current
    // row (a click 8 units above the line, in the band of the row above, would
    // stay on the current row).
    const bool searchable = type == NAME_LIST_NAVAIDS || type == NAME_LIST_AIRPORTS;
    if (mouse.mouse_down && BTN_mouse_in(x, x + NAME_LIST_WIDTH, y - 110.0f, y + 110.0f)) {
        cur += static_cast<int64_t>(std::floor((y - mouse.mouse_y + 5.0f) / 10.0f));
        result = 1;
    }

    if (searchable) {
        BTN_frame1(9, x + 116.0f, y - 128.0f, 232.0f);
        BTN_frame1(9, x + 260.0f, y - 128.0f, 40.0f);
        if (mouse.mouse_down && BTN_mouse_in(x, x + 232.0f, y - 138.0f, y - 118.0f)) {
            active_text_field = 0;
            search[0] = 0;
            result = 1;
        }
        if (mouse.mouse_down && BTN_mouse_in(x + 240.0f, x + 280.0f, y - 138.0f, y - 118.0f)) {
            active_text_field = 1;
            search[0] = 0;
            result = 1;
        }
    }

    if (searchable && (active_text_field == 0 || active_text_field == 1)) {
        UTIL_limit_500(search);
        const bool by_id = active_text_field == 1;
        if (by_id) {
            if (std::strlen(search) > 4) search[4] = 0;
            for (char* c = search; *c; ++c) UTIL_upcase_char(*c);
        } else if (std::strlen(search) > NAME_SEARCH_MAX) {
            search[NAME_SEARCH_MAX] = 0;   // no name is longer: a further key is refused
        }
        if (key_pressed) {
            if (by_id) {
                // An id that names no airport (an empty one too) leaves the
                // index where it was: setting it to 0 first would select the
                // table's first airport for a mistyped id, and the airport
                // screen would move the plane there.
                int found = 0;
                if (NAV_find_nearest_by_id(search, name_list_nav_kind, found, 0.0f, 0.0f)) cur = found;
            } else {
                cur = 0;
                // Past the end of the table every name is empty and sorts
                // before the search text: the walk ends at the last index.
                char name[TEXT_SIZE], id[TEXT_SIZE];
                for (int i = 0; i <= last; ++i) {
                    cur = i;
                    if (!entry_texts(type, i, name, id)) {
                        cur = last;
                        break;
                    }
                    if (UTIL_strcmp_nocase(name, search) >= 0) break;
                }
            }
        }
        const float tx = by_id ? x + 246.0f : x + 6.0f;
        // The text and its caret stay inside the box typed into: a long name
        // would otherwise run across the id box and off the window.
        if (by_id)
            OGL_scissor_on(x + 240.0f, y - 138.0f, 40.0f, 20.0f);
        else
            OGL_scissor_on(x, y - 138.0f, 232.0f, 20.0f);
        OGL_draw_string(46, tx, y - 132.0f, search, FONT_NO_WRAP, 106);
        // The caret at the text's end.
        const float caret_x = tx + static_cast<float>(OGL_string_width(search));
        OGL_draw_line(46, caret_alpha(), caret_x, y - 126.0f, caret_x, y - 132.0f);
        OGL_scissor_off();
    }

    if (!searchable && type != NAME_LIST_FILES && !MODE_is_browser(type)) {
        MACIBM_nuke_alert(0, "Bad BTN_big_name_list type!", "", "", "", ALERT_FATAL);
        *current = static_cast<int>(std::clamp<int64_t>(cur, first, last));
        return result;
    }
    const int64_t top = cur - SHOWN_ROWS / 2;
    for (int k = 0; k < SHOWN_ROWS; ++k) {
        const int64_t row = top + k;
        if (row < first || row > last) continue;
        const int i = static_cast<int>(row);
        char name[TEXT_SIZE], id[TEXT_SIZE];
        if (!entry_texts(type, i, name, id)) continue;
        const float row_y = y + 100.0f - 10.0f * static_cast<float>(k);
        OGL_draw_string(46, x + 20.0f, row_y - 3.0f, name, FONT_NO_WRAP, 106);
        if (searchable) {
            OGL_draw_string(46, x + 242.0f, row_y - 3.0f, id, FONT_NO_WRAP, 106);
        } else {
            const float icon = kind_icon_x(file_list_kinds[i]);
            if (icon >= 0.0f)
                BTN_art_quad(x + 4.0f, row_y - 6.0f, x + 16.0f, row_y + 6.0f, icon, 57, icon + 12.0f, 69, 49);
        }
    }

    // The current row's box, on the middle line.
    OGL_draw_rect_outline(46, 1.0f, x + 18.0f, y - 5.0f, 258.0f, 10.0f);
    if (cur < first)
        cur = first;
    else if (cur > last)
        cur = last;
    *current = static_cast<int>(cur);
    return result;
}
