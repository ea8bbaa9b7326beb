#include "graphics/list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "graphics/widget_record.h"
#include "core/alert.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/app_mode.h"
#include "core/screen.h"
#include "core/text_util.h"

int32_t active_text_field = -1;
int32_t name_list_nav_kind = 1;

// No field active; the name list shows the first kind.
void LIST_fields_reset()
{
    active_text_field = -1;
    name_list_nav_kind = 1;
}
ORVELL_RESET(LIST_fields_reset, program);

namespace {

// Alpha of a blinking caret.
float caret_alpha() { return 0.5f + 0.4f * std::sin(10.0f * frame_clock); }

// The items of a selection list.
struct text_list_items {
    char item[TEXT_LIST_MAX_ITEMS][TEXT_SIZE];
    int count = 0;
};

void split_items(const char* items, text_list_items& out)
{
    if (!items) items = "";
    const size_t length = std::strlen(items);
    if (std::strchr(items, '|'))
        MACIBM_nuke_alert(0, "Found | char in text string!", "", "", "", ALERT_FATAL);
    if (length > TEXT_SIZE || std::count(items, items + length, '-') >= TEXT_LIST_MAX_ITEMS)
        MACIBM_nuke_alert(0, "BTN_text_list overflow!", "", "", "", ALERT_FATAL);

    out.count = 1;
    size_t n = 0;
    out.item[0][0] = 0;
    for (size_t i = 0; i < length; ++i) {
        if (items[i] == '-') {
            out.item[out.count][0] = 0;
            ++out.count;
            n = 0;
            continue;
        }
        if (n >= TEXT_SIZE - 1) MACIBM_nuke_alert(0, "BTN_text_list overflow!", "", "", "", ALERT_FATAL);
        char* it = out.item[out.count - 1];
        it[n++] = items[i];
        it[n] = 0;
    }
}

}  // namespace

int BTN_scroll_bar(float x, float bottom, float top, int first, int last, int* position)
{
    const WIDGET_inside inside;
    WIDGET_record(WIDGET_BOX_FIELD, x - 10.0f, bottom - 21.0f, x + 10.0f, top + 19.0f, "scroll bar");
    BTN_frame0(6, x, (bottom + top) / 2.0f, top - bottom);

    // Positions are worked in 64 bits and doubles: first, last and the
    // position may lie anywhere in the int range.
    const double span_positions = static_cast<double>(last) - static_cast<double>(first);
    float thumb_y = (bottom + top) / 2.0f;
    if (first != last) {
        const float lo = bottom + 9.0f, hi = top - 10.0f;
        thumb_y = static_cast<float>(hi + (static_cast<double>(*position) - first) * (lo - hi) / span_positions);
        if (thumb_y < lo)
            thumb_y = lo;
        else if (thumb_y > hi)
            thumb_y = hi;
    }

    int64_t pos = *position;
    if (mouse.mouse_down && BTN_mouse_in(x - 11.0f, x + 11.0f, top, top + 20.0f)) pos -= 1;
    if (mouse.mouse_down && BTN_mouse_in(x - 11.0f, x + 11.0f, bottom - 20.0f, bottom)) pos += 1;

    int result = 0;
    if (mouse.mouse_held && BTN_mouse_in(x - 11.0f, x + 11.0f, bottom, top)) {
        result = 1;
        const double span = (static_cast<double>(bottom) + 11.0) - (static_cast<double>(top) - 11.0);
        double p;
        if (span == 0.0) {
            p = (static_cast<double>(first) + static_cast<double>(last)) / 2.0;
        } else {
            p = first + (mouse.mouse_y - (static_cast<double>(top) - 11.0)) * span_positions / span;
            if (!std::isfinite(p)) p = first;   // a pointer off every number has no row: no int to truncate to
            p = std::clamp(p, static_cast<double>(std::min(first, last)), static_cast<double>(std::max(first, last)));
        }
        pos = static_cast<int64_t>(p);
    }
    if (pos < first)
        pos = first;
    else if (pos > last)
        pos = last;
    *position = static_cast<int>(pos);

    const int colour = result ? 48 : 0;
    BTN_art_quad(x - 9.0f, top - 3.0f, x + 9.0f, top + 19.0f, 83, 266, 101, 288, colour);
    BTN_art_quad(x - 9.0f, thumb_y - 13.0f, x + 9.0f, thumb_y + 13.0f, 83, 239, 101, 265, colour);
    BTN_art_quad(x - 9.0f, bottom - 21.0f, x + 9.0f, bottom + 1.0f, 83, 216, 101, 238, colour);
    return result;
}

int32_t BTN_text_list_key(float x, float y)
{
    // 0 means "no list" to the pop-up globals: a list whose key would be 0
    // (at the origin) or would not fit an int takes the one key no position
    // rounds to, so it neither owns an unopened pop-up nor takes a stale answer.
    constexpr int32_t spare_key = INT32_MIN;
    const double key = std::round(1024.0 * static_cast<double>(y) + static_cast<double>(x));
    if (!(key > -2147483648.0 && key < 2147483647.0) || key == 0.0) return spare_key;
    return static_cast<int32_t>(key);
}

int BTN_text_list(float x, float y, int* selected, const char* items, const char* label)
{
    const WIDGET_inside inside;
    char caption[TEXT_SIZE], second[TEXT_SIZE], help[TEXT_SIZE];
    BTN_split_label(label, caption, second, help);
    static text_list_items list;   // one list is drawn at a time; too large for the stack
    split_items(items, list);

    *selected = std::clamp(*selected, 0, list.count - 1);

    int widest = 0;
    for (int i = 0; i < list.count; ++i)
        widest = std::max(widest, static_cast<int>(OGL_string_width(list.item[i])));
    const float W = static_cast<float>(widest);

    WIDGET_record(WIDGET_BOX_FIELD, x - W / 2.0f - 5.0f, y - 4.0f, x + W / 2.0f + 25.0f, y + 14.0f, label);
    BTN_frame1(10, x + 10.0f, y + 5.0f, W + 28.0f, 49);
    BTN_draw_label(x - W / 2.0f - 5.0f, y, 0, caption);
    BTN_draw_label(x + W / 2.0f + 25.0f, y, 2, second);

    const int32_t key = BTN_text_list_key(x, y);
    const bool over = BTN_mouse_in(x + 10.0f - W / 2.0f - 15.0f, x + 10.0f + W / 2.0f + 15.0f, y - 2.0f, y + 8.0f);
    if (mouse.mouse_down && popup_owner != key && over) popup_owner = key;

    int result = 0;
    if (popup_answer_owner == key) {
        // An answer past this list's items (its items changed while the
        // pop-up was up) would name no item: it is held to the list.
        *selected = std::clamp(popup_answer, 0, list.count - 1);
        popup_answer_owner = 0;
        result = 1;
    }

    if (popup_owner == key) {
        // The pop-up opens with the selected item on the list's own line.
        screen.open_menu = MENU_POPUP;
        menu_record& menu = menu_table[MENU_POPUP];
        menu.parent = 0;
        menu.left = x - W / 2.0f - 3.0f;
        menu.right = menu.left + W + 8.0f;
        menu.bottom = y - 12.0f * static_cast<float>(list.count - 1 - *selected) - 4.0f;
        menu.top = menu.bottom + 12.0f * static_cast<float>(list.count) + 2.0f;
        for (menu_item_record& item : menu.items) item.text[0] = 0;
        for (int i = 0; i < list.count; ++i) {
            menu_item_record& item = menu.items[i];
            const float row_bottom = y - 12.0f * static_cast<float>(i - *selected);
            item.left = menu.left;
            item.right = menu.right;
            item.bottom = row_bottom;
            item.top = row_bottom + 12.0f;
            // A menu item holds 39 characters; a longer item is cut, as
            // copying it whole would write past the item's text.
            const size_t n = strnlen(list.item[i], MENU_TEXT_SIZE - 1);
            std::memcpy(item.text, list.item[i], n);
            item.text[n] = 0;
        }
    } else {
        const char* shown = list.item[*selected];
        OGL_draw_string(40, x - static_cast<float>(OGL_string_width(shown)) / 2.0f, y, shown, FONT_NO_WRAP, 101);
        if (over) BTN_set_hover(help);
    }
    return result;
}

int BTN_text_field(float x, float y, char* text, int maximum, int id, const char* label)
{
    const WIDGET_inside inside;
    // The field and typed_text are 500-byte buffers: a maximum above 500
    // would cut past their ends, one below 1 before their starts; and a field
    // text with no end within them is cut at 499 characters before it is read.
    const int capacity = std::clamp(maximum, 1, TEXT_SIZE);
    const float m = static_cast<float>(maximum);
    UTIL_limit_500(text);

    if (app_mode == MODE_FLYING) {
        OGL_shade_box(x - 2.0f, y - 3.0f, x + 6.0f * m + 2.0f, y + 8.0f, 0.5f);
    } else {
        WIDGET_record(WIDGET_BOX_FIELD, x - 8.0f, y - 3.0f, x + 6.0f * m + 4.0f, y + 10.0f, label);
        BTN_frame1(9, x + 3.0f * m - 2.0f, y + 3.0f, 6.0f * m + 10.0f);
        BTN_draw_label(x + 6.0f * m + 6.0f, y, 2, label);
    }
    // The text and its caret stay inside the field's box: wide letters would
    // otherwise run over the label or the next field.
    OGL_scissor_on(x - 2.0f, y - 3.0f, 6.0f * m + 4.0f, 12.0f);
    OGL_draw_string(46, x, y, text, FONT_NO_WRAP, 106);

    if (mouse.mouse_down && active_text_field != id && BTN_mouse_in(x, x + 6.0f * m, y, y + 8.0f)) {
        OGL_scissor_off();
        active_text_field = id;
        UTIL_strcpy(static_cast<const char*>(text), typed_text);
        return 1;
    }
    if (active_text_field == id) {
        const float caret_x = x + 1.0f + static_cast<float>(OGL_string_width(text));
        OGL_draw_line(46, caret_alpha(), caret_x, y + 6.0f, caret_x, y - 1.0f);
        typed_text[TEXT_MAX_LEN] = 0;
        if (std::strlen(typed_text) > static_cast<size_t>(capacity - 1)) typed_text[capacity - 1] = 0;
        std::memcpy(text, typed_text, std::strlen(typed_text) + 1);
    }
    OGL_scissor_off();
    return 0;
}

namespace {

// When each checked field last refused a value (negative: never).
std::array<float, TEXT_FIELD_IDS> refused_at = [] {
    std::array<float, TEXT_FIELD_IDS> a{};
    a.fill(-1.0e9f);
    return a;
}();
// Whether each checked field was the active one when it was last drawn: a
// field left (for another, or by closing its screen) is known by it.
std::array<bool, TEXT_FIELD_IDS> active_when_drawn{};

}  // namespace

void BTN_text_field_checked_reset()
{
    refused_at.fill(-1.0e9f);
    active_when_drawn.fill(false);
}
ORVELL_RESET(BTN_text_field_checked_reset, program);

bool BTN_text_field_checked(float x, float y, char* text, int maximum, int id, const char* label,
                            text_entry_check check, char* kept)
{
    if (id < 0 || id >= TEXT_FIELD_IDS) return false;
    const size_t capacity = static_cast<size_t>(std::clamp(maximum, 1, TEXT_SIZE));
    auto copy_into = [capacity](char* to, const char* from) {
        const size_t n = strnlen(from, capacity - 1);
        std::memcpy(to, from, n);
        to[n] = 0;
    };
    const size_t slot = static_cast<size_t>(id);
    const bool was_active = active_when_drawn[slot];
    // A key past the field's last place is a refusal as well (the field would drop it silently).
    const bool too_long = active_text_field == id && strnlen(typed_text, TEXT_SIZE) > capacity - 1;
    if (!was_active && check(text) == TEXT_ENTRY_COMPLETE) copy_into(kept, text);

    BTN_text_field(x, y, text, maximum, id, label);

    const bool active = active_text_field == id;
    active_when_drawn[slot] = active;
    const text_entry_state state = check(text);
    if (state == TEXT_ENTRY_REFUSED || too_long || (state == TEXT_ENTRY_PARTIAL && was_active && !active)) {
        // The old value comes back, and typing goes on from it.
        copy_into(text, kept);
        if (active) copy_into(typed_text, text);
        refused_at[slot] = frame_clock;
    } else if (state == TEXT_ENTRY_COMPLETE && !active) {
        copy_into(kept, text);
        // A value taken as the field is left ends the word of a refusal
        // made while it was typed: it would otherwise stand beside a value
        // that was accepted.
        if (was_active) refused_at[slot] = -1.0e9f;
    }
    const float since = frame_clock - refused_at[slot];
    return since >= 0.0f && since < TEXT_REFUSAL_SHOWN;
}
