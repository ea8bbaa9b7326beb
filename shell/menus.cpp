#include "shell/menus.h"

#include <cstring>
#include <iterator>

#include "graphics/font.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "platform/plat_files.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"


namespace {

constexpr int KOREAN_LANGUAGE = 5;
constexpr float FIRST_BAR_TITLE_X = 10.0f;
constexpr float TITLE_PADDING = 20.0f;
constexpr int COLUMN_PADDING = 35;
constexpr float WRAP_LINE_BAR_MENUS = 45.0f;  // menus 0..19 wrap above the bottom edge
constexpr float WRAP_LINE_OTHER_MENUS = 15.0f;
constexpr int WRAP_LINE_MENU_LIMIT = 20;
constexpr float INTERFACE_WIDTH = 1024.0f;

// The menu file being read, named in the alerts raised while it is read.
const char* menu_file_being_read = nullptr;

struct reading_guard {
    explicit reading_guard(const char* path) { menu_file_being_read = path; }
    ~reading_guard()
    {
        menu_file_being_read = nullptr;
        FILE_close_current();
    }
    reading_guard(const reading_guard&) = delete;
    reading_guard& operator=(const reading_guard&) = delete;
};

bool korean_mode() { return sim_operation_prefs_misc.language == KOREAN_LANGUAGE; }

// A fatal menu alert: the message, the offending text, and the file when one is being read.
void menu_alert(const char* message, const char* text)
{
    if (menu_file_being_read)
        MACIBM_nuke_alert(0, message, text, "in the menu file", menu_file_being_read, ALERT_FATAL);
    else
        MACIBM_nuke_alert(0, message, text, "", "", ALERT_FATAL);
}

void clear_rect(float& left, float& bottom, float& right, float& top)
{
    left = bottom = right = top = MENU_UNSET;
}

size_t text_length(const char* text) { return text ? strnlen(text, TEXT_SIZE) : 0; }

// Copies a text into a 40-byte menu field; the caller has checked the length
// (Korean titles may be longer: they keep whole two-byte glyph codes).
void store_menu_text(char (&field)[MENU_TEXT_SIZE], const char* text)
{
    size_t n = text_length(text);
    if (n > MENU_TEXT_SIZE - 1) n = MENU_TEXT_SIZE - 2;   // an even count: whole glyph codes
    std::memcpy(field, text, n);
    field[n] = 0;
}

// One line of a menu file: the number before the first space (-1 when it is
// empty, not all digits or too long to be a menu number) and the text after
// the spaces that follow it. False when the line has no space at all.
bool split_menu_line(const char* line, int32_t& number, char* text)
{
    const char* space = std::strchr(line, ' ');
    if (!space) return false;
    const size_t digits = static_cast<size_t>(space - line);
    number = -1;
    if (digits > 0 && digits <= 9) {
        int32_t value = 0;
        bool ok = true;
        for (size_t i = 0; i < digits; ++i) {
            if (!UTIL_is_digit(line[i])) {
                ok = false;
                break;
            }
            value = value * 10 + (line[i] - '0');
        }
        if (ok) number = value;
    }
    while (*space == ' ') ++space;
    UTIL_strcpy(space, text);
    return true;
}

// Reads the next line of the open menu file into `line` (empty at the end of the file).
void read_menu_line(char* line)
{
    line[0] = 0;
    if (!FILE_current_stream().good()) return;
    FILE_read_line(line, TEXT_SIZE);
}

// True once the read reached the end of the file (a last line without its
// line end counts as read to the end).
bool menu_file_ended() { return !FILE_current_stream().good(); }

// Reads the menus of the open menu file in file order; false when the file
// ends before its last menu (see MACIBM_build_menus).
bool read_menus()
{
    const bool korean = korean_mode();
    char line[TEXT_SIZE];
    char text[TEXT_SIZE];
    read_menu_line(line);   // the free title line

    for (int m = 0;; ++m) {
        read_menu_line(line);
        // An empty line where a title is expected ends the file.
        if (line[0] == 0) return m > 0 || !menu_file_ended();
        // More menus than the table holds: the menu index check of
        // MACIBM_create_menu would end the program too; this names the file's fault.
        if (m >= MENU_COUNT) {
            menu_alert("The menu file holds more menus than the menu table!", line);
            return true;
        }
        int32_t number = -1;
        if (!split_menu_line(line, number, text)) {
            menu_alert("A menu title line has no title:", line);
            return true;
        }
        if (korean) UTIL_pack_number_text(text);
        MACIBM_create_menu(m, number, text);

        for (int i = 0;; ++i) {
            read_menu_line(line);
            if (line[0] == 0) {
                if (menu_file_ended()) return false;
                break;
            }
            if (i >= MENU_ITEMS) {
                menu_alert("A menu of the menu file holds more than 200 items:", line);
                return true;
            }
            if (!split_menu_line(line, number, text)) {
                menu_alert("A menu item line has no text:", line);
                return true;
            }
            if (korean) UTIL_pack_number_text(text);
            append_menu(m, i, number, text, 0);
        }
    }
}

}  // namespace

const char* MENU_language_folder(int language)
{
    static const char* const folders[] = {"english:", "french:", "german:",  "italian:",
                                          "spanish:", "korean:", "portugese:"};
    if (language < 0 || language >= static_cast<int>(std::size(folders))) return "";
    return folders[language];
}

void MENUS_reset()
{
    for (menu_record& m : menu_table) {
        m.title[0] = 0;
        m.parent = -1;
        clear_rect(m.left, m.bottom, m.right, m.top);
        for (menu_item_record& it : m.items) {
            it.text[0] = 0;
            clear_rect(it.left, it.bottom, it.right, it.top);
        }
    }
}

void MACIBM_create_menu(int m, int p, const char* title)
{
    if (!title) title = "";
    // A menu index or a parent item outside the table would be written or read
    // past its end: both are fatal like the other menu faults.
    if (m < 0 || m >= MENU_COUNT) {
        menu_alert("MACIBM_create_menu: menu index out of the menu table!", title);
        return;
    }
    size_t len = text_length(title);
    if (korean_mode()) len /= 2;
    if (len >= static_cast<size_t>(MENU_TEXT_SIZE)) {
        menu_alert("MACIBM_create_menu: menu title too long!", title);
        return;
    }
    if (p > 0 && p / MENU_ITEMS >= MENU_COUNT) {
        menu_alert("MACIBM_create_menu: parent item out of the menu table!", title);
        return;
    }

    menu_record& menu = menu_table[m];
    store_menu_text(menu.title, title);

    if (p <= 0) {
        menu.parent = -1;
        if (m == 0) menu_bar_cursor = FIRST_BAR_TITLE_X;
        menu.left = menu_bar_cursor;
        menu.right = menu.left + static_cast<float>(OGL_string_width(menu.title)) + TITLE_PADDING;
        menu.bottom = screen.ui_top_margin + MENU_BAR_BOTTOM;
        menu.top = screen.ui_top_margin + MENU_BAR_TOP;
        menu_bar_cursor = menu.right;
    } else {
        menu.parent = p / MENU_ITEMS;
        const menu_item_record& opener = menu_table[menu.parent].items[p % MENU_ITEMS];
        menu.left = opener.left;
        menu.bottom = opener.bottom;
        menu.right = opener.right;
        menu.top = opener.top;
    }
}

void append_menu(int m, int i, int command, const char* text, int plain_text)
{
    if (!text) text = "";
    if (m < 0 || m >= MENU_COUNT) {
        menu_alert("append_menu: menu index out of the menu table!", text);
        return;
    }
    if (i < 0 || i >= MENU_ITEMS) {
        menu_alert("append_menu: item index out of the menu!", text);
        return;
    }
    if (text_length(text) >= static_cast<size_t>(MENU_TEXT_SIZE)) {
        menu_alert("append_menu: menu item text too long!", text);
        return;
    }

    menu_record& menu = menu_table[m];
    menu_item_record& added = menu.items[i];
    store_menu_text(added.text, text);
    added.command = command;
    added.korean_glyphs = (korean_mode() && plain_text == 0) ? 1 : 0;

    // Metrics of this item's glyph set apply to the whole menu.
    const float row_height = added.korean_glyphs ? 13.0f : 12.0f;
    const int char_width = added.korean_glyphs ? 13 : 7;

    int widest = 0;
    for (const menu_item_record& it : menu.items) {
        if (it.text[0] == 0) continue;
        const int w = static_cast<int>(text_length(it.text)) * char_width + COLUMN_PADDING;
        if (w > widest) widest = w;
    }
    const float column_width = static_cast<float>(widest);
    const float wrap_line = m < WRAP_LINE_MENU_LIMIT ? WRAP_LINE_BAR_MENUS : WRAP_LINE_OTHER_MENUS;

    for (int j = 0; j < MENU_ITEMS; ++j) {
        menu_item_record& it = menu.items[j];
        if (it.text[0] == 0) continue;
        const float h = it.text[0] == '-' ? 2.0f : it.text[0] == '=' ? 0.0f : row_height;
        if (j == 0) {
            if (menu.parent == -1) {
                it.top = menu.bottom;
                it.bottom = it.top - h;
            } else {
                it.bottom = menu.bottom;
                it.top = menu.top;
            }
            it.left = menu.left;
            it.right = it.left + column_width;
        } else {
            // Items continue under the previous slot, whether it is used or not.
            const menu_item_record& above = menu.items[j - 1];
            it.top = above.bottom;
            it.bottom = it.top - h;
            it.left = above.left;
            it.right = above.right;
        }
        if (it.top < wrap_line) {
            it.left += column_width;
            it.right += column_width;
            it.bottom = menu.items[0].bottom;
            it.top = menu.items[0].top;
        }
    }

    // A menu reaching past the right edge moves left as a whole.
    float excess = 0.0f;
    for (const menu_item_record& it : menu.items)
        if (it.text[0] != 0 && it.right > INTERFACE_WIDTH) excess = it.right - INTERFACE_WIDTH;
    if (excess > 0.0f) {
        for (menu_item_record& it : menu.items) {
            if (it.text[0] == 0) continue;
            it.left -= excess;
            it.right -= excess;
        }
    }
}

void MACIBM_build_menus(const char* file_name)
{
    MENUS_reset();

    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_MENUS], MENU_language_folder(sim_operation_prefs_misc.language), path);
    UTIL_strcat(path, file_name ? file_name : "");
    char shown_path[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(path), shown_path);

    file_use_index = 0;
    if (!FILE_open_for_use(path, KIND_TEXT, 1, 1)) {
        FILE_close_current();
        // A file that is there but is no menu file is damaged, not unopened.
        MACIBM_nuke_alert(0, PLAT_file_exists(shown_path) ? "The menu file is damaged:" : "Cannot open file!",
                          shown_path, "Trash this copy and re-install Orvell.", "", ALERT_FATAL);
        return;
    }
    // A file that ends with no menu, or inside a menu (before the empty line
    // that closes every menu), was cut short: the menus after its end are
    // missing and a notice names the file.
    bool cut = false;
    {
        reading_guard guard(shown_path);
        cut = !read_menus();
    }
    if (cut)
        MACIBM_nuke_alert(0, "The menu file is damaged:", shown_path,
                          "It ends before its last menu; the menus after its end are missing.", "", ALERT_NOTICE);
}
