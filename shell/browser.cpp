#include "shell/browser.h"

#include <cmath>
#include <cstring>

#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/ogl_draw.h"
#include "graphics/widget.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "shell/frame.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "shell/lang.h"
#include "shell/modes.h"
#include "core/screen.h"
#include "core/text_util.h"

int32_t opensave_folder_choice = 0;
ORVELL_RESET_RECORD(BROWSER_folder_choice_reset, opensave_folder_choice, program);

namespace {

constexpr const char* FOLDER_MENU_CAPTION = "Orvell folder";
constexpr int TEXT_COLOUR = 46;
constexpr int LEVEL_COLOUR = 48;
constexpr int TEXT_FONT = 106;
constexpr int CANCEL_TEXT = 606;

// The folder shown first for a kind; other kinds keep the folder last shown.
void folder_of_kind(int kind, char* folder)
{
    int table = -1;
    switch (kind) {
    case KIND_AIRCRAFT: table = FOLDER_AIRCRAFT; break;
    case KIND_SITUATION: table = FOLDER_SITUATIONS; break;
    case KIND_MOVIE: table = FOLDER_MOVIES; break;
    case KIND_LOG: table = FOLDER_LOGBOOKS; break;
    case KIND_FMS: table = FOLDER_FMS_PLANS; break;
    case KIND_GAME: table = FOLDER_SAVED_GAMES; break;
    case KIND_TRACK: table = FOLDER_TRACKS; break;
    case KIND_CAR: table = FOLDER_CARS; break;
    case KIND_SHIP: table = FOLDER_SPACESHIPS; break;
    case KIND_REGION: table = FOLDER_REGIONS; break;
    case KIND_OBJECT:
    case KIND_CUSTOM_TERRAIN:
        // Inside the current custom scenery package.
        UTIL_strcat3(custom_scenery_folder, kind == KIND_OBJECT ? "custom objects:" : "custom terrain textures:",
                     folder);
        return;
    default: return;
    }
    UTIL_strcpy(static_cast<const char*>(folder_table[table]), folder);
}

// A folder name as the menu shows it: every '-' (the menu's separator) as a
// space. So is every '|': the selection list takes a '|' in its items for a
// fault and ends the program with a fatal alert, so a folder on disk named
// with one would end the program when the browser shows it.
void menu_name(const char* name, size_t length, char* out)
{
    size_t n = length < TEXT_MAX_LEN ? length : TEXT_MAX_LEN;
    for (size_t i = 0; i < n; ++i) out[i] = (name[i] == '-' || name[i] == '|') ? ' ' : name[i];
    out[n] = 0;
}

// The path box: the levels of the listed folder, one line each, stepping
// down and to the right from the top of the box.
float level_line_y(int level) { return 415.0f - 10.0f * static_cast<float>(level); }

// The folder menu: the program folder, each level of the listed folder below
// it (drawn as a staircase), then the listed subfolders.
struct folder_menu {
    char display[TEXT_SIZE];
    char paths[OPENSAVE_FOLDER_ROWS][TEXT_SIZE];
    int rows = 0;

    // Adds a row when the menu has room for it and its name (a name that did
    // not fit would run past the display text). A folder with
    // more subfolders than the menu holds shows the first ones only: a fatal
    // alert for the fiftieth row would end the program, and lose the flight,
    // whenever the user opened a folder with many subfolders.
    bool add(const char* shown, const char* path)
    {
        if (rows >= OPENSAVE_FOLDER_ROWS) return false;
        if (std::strlen(display) + std::strlen(shown) + 1 >= TEXT_SIZE) return false;
        UTIL_strcat(display, shown);
        UTIL_strcat(display, "-");
        UTIL_strcpy(path, paths[rows]);
        ++rows;
        return true;
    }
};

void build_folder_menu(folder_menu& menu, int entries)
{
    menu.display[0] = 0;
    menu.rows = 0;
    menu.add(FOLDER_MENU_CAPTION, program_folder);

    const size_t base = std::strlen(program_folder);
    const bool below_program =
        std::strncmp(file_list_folder, program_folder, base) == 0 && std::strlen(file_list_folder) >= base;
    if (below_program) {
        const char* relative = file_list_folder + base;
        int level = 0;
        for (const char* start = relative; *start;) {
            const char* end = std::strchr(start, '\\');
            if (!end) break;   // the folder always ends in a separator
            ++level;
            char shown[TEXT_SIZE];
            menu_name(start, static_cast<size_t>(end - start), shown);
            OGL_draw_string(LEVEL_COLOUR, 20.0f + 10.0f * level, level_line_y(level), shown, 9999.0f, TEXT_FONT);
            char path[TEXT_SIZE];
            const size_t cut = static_cast<size_t>(end - file_list_folder) + 1;
            std::memcpy(path, file_list_folder, cut);
            path[cut] = 0;
            menu.add(shown, path);
            start = end + 1;
        }
    }

    for (int i = 0; i < entries; ++i) {
        if (file_list_kinds[i] != KIND_FOLDER) continue;
        char shown[TEXT_SIZE];
        menu_name(file_list_names[i], std::strlen(file_list_names[i]), shown);
        menu.add(shown, file_list_paths[i]);
    }

    const size_t len = std::strlen(menu.display);
    if (len > 0 && menu.display[len - 1] == '-') menu.display[len - 1] = 0;

    if (opensave_folder_choice < 0) opensave_folder_choice = 0;
    if (opensave_folder_choice > menu.rows - 1) opensave_folder_choice = menu.rows - 1;
    for (int r = 0; r < menu.rows; ++r)
        if (std::strcmp(menu.paths[r], file_list_folder) == 0) opensave_folder_choice = r;
}

int list_folder(int kind) { return FILE_list_directory(kind); }

// A list row kept within the list; row 0 for an empty list. The list is read
// from the disk every frame: a row left past the end of a list that shrank
// would read past the names listed.
void clamp_row(int& row, int entries) { row = entries > 0 ? util_clamp_int(row, 0, entries - 1) : 0; }

}  // namespace

int opensave(int mode, int kind, char* name, char* path)
{
    const int32_t entry_mode = app_mode;
    const int32_t quit_at_entry = quit_flag;

    folder_of_kind(kind, file_list_folder);
    FILE_colons_to_backslashes(file_list_folder);
    int entries = list_folder(kind);
    int selected = entries / 2;

    APPLICATION_set_mode(mode, "from opensave");
    UTIL_strcpy(name ? static_cast<const char*>(name) : "", typed_text);
    if (app_mode != mode) return 0;
    // The Return, Escape or click that opened the browser (a menu item chosen with
    // Return, say) is not an answer to it: still pending, it would at once open
    // the middle row's file, or save under the name shown, before the browser
    // was ever seen.
    enter_pressed = escape_pressed = 0;
    mouse.mouse_down = 0;

    folder_menu menu;
    while (app_mode == mode) {
        if (quit_flag && !quit_at_entry) {
            // The program is quitting (the window was closed): give up like
            // Cancel. Closing the window asks the program to quit without
            // changing the mode, so the loop would otherwise never end.
            APPLICATION_set_mode(entry_mode, "from opensave Cancel");
            return 0;
        }

        OGL_draw_background();
        BTN_screen_frame(1, 18);

        entries = list_folder(kind);   // the list follows the disk while the browser is open
        clamp_row(selected, entries);
        const int clicked = BTN_big_name_list(mode, 20.0f, 180.0f, &selected, 0, entries - 1, typed_text);
        clamp_row(selected, entries);

        BTN_frame2(15, 20.0f, 300.0f, 280.0f, 120.0f, "");
        BTN_frame1(9, 160.0f, 52.0f, 280.0f, 0);

        if (mode == MODE_BROWSER_SAVE) {
            if (std::strlen(typed_text) > OPENSAVE_NAME_MAX) typed_text[OPENSAVE_NAME_MAX] = 0;
            const float x = 26.0f + static_cast<float>(OGL_string_width(typed_text));
            const float alpha = 0.7f + 0.3f * std::sin(25.0f * frame_clock);
            OGL_draw_line(TEXT_COLOUR, alpha, x, 48.0f, x, 55.0f);
            OGL_draw_string(TEXT_COLOUR, 25.0f, 49.0f, typed_text, 510.0f, TEXT_FONT);
        } else if (entries > 0) {   // an empty folder has no row to name
            OGL_draw_string(TEXT_COLOUR, 25.0f, 49.0f, file_list_names[selected], 510.0f, TEXT_FONT);
        }

        build_folder_menu(menu, entries);
        const bool folder_chosen =
            BTN_text_list(screen.screen_area_width / 2.0f, 438.0f, &opensave_folder_choice, menu.display, "") != 0;
        if (folder_chosen && opensave_folder_choice >= 0 && opensave_folder_choice < menu.rows) {
            UTIL_strcpy(static_cast<const char*>(menu.paths[opensave_folder_choice]), file_list_folder);
        } else if (!folder_chosen) {
            // Return with no name typed saves nothing: it would save to a file
            // named only by the kind's extension (".SIT"), hidden on this
            // system and overwritten by every such save.
            if (mode == MODE_BROWSER_SAVE && enter_pressed && typed_text[0] != 0) {
                FILE_set_extension(typed_text, kind);
                if (name) UTIL_strcpy(static_cast<const char*>(typed_text), name);
                if (path) UTIL_strcat3(file_list_folder, typed_text, path);
                APPLICATION_set_mode(entry_mode, "from opensave win_save return_hit");
                return 1;
            }
            // An empty folder has no row: its row 0 would be a name left from
            // an earlier listing, a file that is not in this folder.
            if ((clicked || enter_pressed) && entries > 0) {
                if (file_list_kinds[selected] == KIND_FOLDER) {
                    UTIL_strcat(file_list_folder, file_list_names[selected]);
                    UTIL_strcat(file_list_folder, "\\");
                    entries = list_folder(kind);
                    selected = entries / 2;
                } else if (mode == MODE_BROWSER_OPEN) {
                    if (name) UTIL_strcpy(static_cast<const char*>(file_list_names[selected]), name);
                    if (path) UTIL_strcpy(static_cast<const char*>(file_list_paths[selected]), path);
                    APPLICATION_set_mode(entry_mode, "from opensave win_open return_hit");
                    return 1;
                }
            }
        }

        // Escape answers as Cancel, as it leaves every other screen: without it
        // a pilot at the keyboard could leave the browser only by choosing a file.
        if (BTN_push_button(45.0f, 28.0f, 0, 1, LANG_ui_text(CANCEL_TEXT)) || escape_pressed) {
            APPLICATION_set_mode(entry_mode, "from opensave Cancel");
            return 0;
        }

        MACIBM_do_frame();
    }
    return 0;
}
