#include "world/landuse.h"

#include <cstring>
#include <memory>

#include "platform/plat_files.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "world/terrain_textures.h"

int32_t landuse_texture_count = 0;
int32_t landuse_code_texture[LANDUSE_CODES];
char landuse_texture_name[LANDUSE_MAX_TEXTURES][TEXT_SIZE];
uint8_t landuse_texture_water[LANDUSE_MAX_TEXTURES];

namespace {

constexpr int LANDUSE_VERSION = 3;
constexpr int LANDUSE_IGNORED_LINES = 5;

bool is_water_code(int code) { return code == 14 || code == 15; }

// Checks that the four mask images of every land texture are there.
void check_texture_files()
{
    for (int t = 0; t < landuse_texture_count; ++t) {
        char base[TEXT_SIZE] = {};
        char variants[4][TEXT_SIZE] = {};
        TERRAIN_find_texture_file(t, base, variants, 0.0f, 0.0f);
        if (landuse_texture_water[t]) continue;
        for (auto& variant : variants) {
            char path[TEXT_SIZE];
            UTIL_strcat3(folder_table[FOLDER_BITMAPS], variant, path);
            FILE_colons_to_backslashes(path);
            // A folder is not an image: a name left empty must not pass as found.
            FILE* f = PLAT_file_exists(path) ? PLAT_fopen(path, "rb") : nullptr;
            if (!f) {
                MACIBM_nuke_alert(0, "A terrain texture file is missing:", path, "", "", ALERT_FATAL);
                return;
            }
            std::fclose(f);
        }
    }
}

}  // namespace

void LANDUSE_clear()
{
    landuse_texture_count = 0;
    std::memset(landuse_code_texture, 0, sizeof(landuse_code_texture));
    std::memset(landuse_texture_name, 0, sizeof(landuse_texture_name));
    std::memset(landuse_texture_water, 0, sizeof(landuse_texture_water));
}

void LANDUSE_read_table()
{
    LANDUSE_clear();

    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_BITMAPS], "TERRAIN:LAND_USE.TXT", path);
    if (!FILE_open_for_use(path, KIND_TEXT, LANDUSE_VERSION, 1)) {
        MACIBM_nuke_alert(0, "The land-use table could not be opened.", "It belongs in the TERRAIN folder",
                          "of the bitmaps folder:", path, ALERT_FATAL);
        return;
    }
    for (int i = 0; i < LANDUSE_IGNORED_LINES; ++i) FILE_read_line(scratch_text, TEXT_SIZE);

    // The texture name and code of every row read so far, to find repeated names.
    struct row {
        char texture[TEXT_SIZE];
        int code;
    };
    auto rows = std::make_unique<row[]>(LANDUSE_ROWS);

    for (int r = 0; r < LANDUSE_ROWS; ++r) {
        FILE_read_field(scratch_text, TEXT_SIZE, 0);
        const int32_t code = FILE_read_int(path);
        if (code < 0 || code >= LANDUSE_CODES) {
            MACIBM_nuke_alert(0, "The land-use table holds a code", "outside 0 to 96.", "file:", path,
                              ALERT_FATAL);
            return;
        }
        FILE_read_line(rows[r].texture, TEXT_SIZE);
        rows[r].code = code;

        int same = -1;
        for (int e = r - 1; e >= 0; --e) {
            if (std::strcmp(rows[e].texture, rows[r].texture) == 0) {
                same = e;
                break;
            }
        }
        if (same >= 0) {
            landuse_code_texture[code] = landuse_code_texture[rows[same].code];
            continue;
        }

        // A new texture. The capacity is checked before anything is stored:
        // a fiftieth texture would otherwise be written past the name table
        // before its alert.
        const int t = landuse_texture_count;
        if (t >= LANDUSE_MAX_TEXTURES) {
            MACIBM_nuke_alert(0, "The land-use table names more than 49 textures.", "file:", path, "",
                              ALERT_FATAL);
            return;
        }
        landuse_code_texture[code] = t;
        UTIL_strcat3("terrain:", rows[r].texture, landuse_texture_name[t]);
        UTIL_strcat(landuse_texture_name[t], "0_000");
        landuse_texture_water[t] = is_water_code(code) ? 1 : 0;
        if (t > 0 && landuse_texture_water[t] && !landuse_texture_water[t - 1]) {
            MACIBM_nuke_alert(0, "In the land-use table the water textures", "must come before the land textures.",
                              "file:", path, ALERT_FATAL);
            return;
        }
        ++landuse_texture_count;
    }
    FILE_close_current();

    check_texture_files();
}

int UTIL_landuse_texture(int code)
{
    if (code >= LANDUSE_CODES) return code;
    if (code < 0) return 0;   // no such land use: the first texture rather than a read outside the table
    return landuse_code_texture[code];
}
