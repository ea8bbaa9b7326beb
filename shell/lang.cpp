#include "shell/lang.h"

#include <cstdio>
#include <cstring>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "graphics/ogl_tex.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "platform/plat_files.h"
#include "shell/menus.h"
#include "core/simvars/operation.h"

char default_start_airport[START_AIRPORT_ID_SIZE];

namespace {

constexpr int LANGUAGE_KOREAN = 5;
constexpr int NO_FREE_INDEX = 9999;

bool entry_counts_as_empty(const char* text)
{
    return text[0] == 0 || std::strcmp(text, "-") == 0 || std::strcmp(text, " ") == 0;
}

}  // namespace

int LANG_lowest_free_index()
{
    for (int i = 0; i < UI_TEXT_COUNT; ++i)
        if (ui_text_table[i][0] == 0) return i;
    return NO_FREE_INDEX;
}

void LANG_load_text(int reload)
{
    // The defaults of the language set-up. The default aircraft is the
    // project's own trainer: the data folder holds no other aircraft, so it
    // stands in for the airliner the defaults name.
    std::memcpy(default_start_airport, "KSBD", START_AIRPORT_ID_SIZE);
    UTIL_strcpy("AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", default_aircraft_path);
    UTIL_strcpy("ORVELL TRAINER.ACF", default_aircraft_name);

    // A language picked on the settings screen brings the default aircraft back.
    if (reload != 0) {
        pln[0].acf_file_path[0] = 0;
        pln[0].acf_file_name[0] = 0;
        ACF_load_and_setup(0);
    }

    const int language = sim_operation_prefs_misc.language;

    // The Korean glyph set.
    if (language == LANGUAGE_KOREAN) {
        char glyphs[TEXT_SIZE];
        UTIL_strcat3(folder_table[FOLDER_MENUS], "KOREAN:KOREAN_TEXT.BMP", glyphs);
        int width = 0, height = 0;
        OGL_load_tex_file(LOAD_TEXTURE, TEX_SLOT_INTERFACE_FONT2, TEX_KEY, glyphs, width, height);
    }

    // The language's folder and its menus.
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_TEXT], MENU_language_folder(language), path);
    UTIL_strcat(path, "ORVELL.TXT");
    MACIBM_build_menus("ORVELL.TXT");

    // The table is rebuilt from nothing.
    std::memset(ui_text_table, 0, sizeof ui_text_table);

    // The file, in input slot 0.
    file_use_index = 0;
    if (!FILE_open_for_use(path, KIND_TEXT, UI_TEXT_VERSION, 1)) {
        // "Could not be read" of a file that is there would send the user
        // looking for a missing file.
        MACIBM_nuke_alert(0,
                          PLAT_file_exists(path) ? "The interface text file is damaged:"
                                                 : "The interface texts could not be read:",
                          path, "Trash this copy and re-install Orvell.", "", ALERT_FATAL);
        return;
    }

    // Index and text, line by line, up to a negative index. A file cut short
    // ends without that index: inside a line, or in an index whose line then
    // has no text. Said so, naming the file, rather than taken for an index
    // given twice or a text left empty.
    std::istream& in = FILE_current_stream();
    const auto cut_short = [&] {
        MACIBM_nuke_alert(0, "The interface text file is damaged:", path, "It is cut short, or a line has no number.",
                          "Trash this copy and re-install Orvell.", ALERT_FATAL);
    };
    for (;;) {
        int32_t n = 0;
        in >> n;
        if (!in) return cut_short();
        if (n < 0) break;
        if (in.eof()) return cut_short();
        if (n >= UI_TEXT_COUNT) {
            MACIBM_nuke_alert(0, "The interface text file has more than 1000 texts.", "",
                              "The last index allowed is 999. File:", path, ALERT_FATAL);
            return;
        }
        if (ui_text_table[n][0] != 0) {
            char line1[TEXT_SIZE];
            std::snprintf(line1, sizeof line1, "The interface text %d is given twice.", n);
            MACIBM_nuke_alert(0, line1, ui_text_table[n], path, "", ALERT_FATAL);
            return;
        }
        FILE_read_line(ui_text_table[n], TEXT_SIZE);
        if (in.eof()) return cut_short();
        if (entry_counts_as_empty(ui_text_table[n])) {
            char line1[TEXT_SIZE];
            std::snprintf(line1, sizeof line1, "The interface text %d is empty.", n);
            MACIBM_nuke_alert(0, line1, "Every listed text needs words.", path, "", ALERT_FATAL);
            return;
        }
    }

    // Close.
    FILE_close_current();

    // Where the next new text can go.
    if (error_log.is_open()) {
        error_log << path << " LOWEST FREE TEXT INDEX=" << LANG_lowest_free_index() << "\n\n";
        error_log.flush();
    }
}
