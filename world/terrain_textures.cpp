#include "world/terrain_textures.h"

#include <cstring>

#include "core/datafile.h"
#include "core/folders.h"
#include "world/landuse.h"

namespace {

// A signed whole number of degrees written as a sign character and `digits`
// digits ("+30", "-060"): '+' makes it positive, any other sign negative.
// False when a digit is missing.
bool region_value(const char* text, int digits, int& out)
{
    int value = 0;
    for (int i = 1; i <= digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    out = text[0] == '+' ? value : -value;
    return true;
}

}  // namespace

void TERRAIN_find_texture_file(int t, char* base, char variants[4][TEXT_SIZE], float lat, float lon)
{
    if (t < 0 || t >= LANDUSE_MAX_TEXTURES || !base || !variants) return;

    // The texture's prefix: its name up to the default region.
    char name[TEXT_SIZE];
    std::memcpy(name, landuse_texture_name[t], TEXT_SIZE);
    name[TEXT_MAX_LEN] = 0;
    const char* region = std::strstr(name, TERRAIN_DEFAULT_REGION);
    const size_t prefix_len = region ? static_cast<size_t>(region - name) : std::strlen(name);

    const char* bitmaps = folder_table[FOLDER_BITMAPS];
    const size_t bitmaps_len = std::strlen(bitmaps);
    UTIL_strcat3(bitmaps, "terrain:", file_list_folder);
    const int count = FILE_list_directory(KIND_TEXT);

    // Region folders are named sAAsBB sCCCsDDD (south, north, west, east).
    constexpr size_t region_len = 15;
    double best = 998001.0;
    char winner[TEXT_SIZE];
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const char* path = file_list_paths[i];
        if (std::strlen(path) < bitmaps_len || std::strncmp(path, bitmaps, bitmaps_len) != 0) continue;
        const char* rel = path + bitmaps_len;
        if (std::strncmp(rel, name, prefix_len) != 0) continue;
        const char* tail = rel + prefix_len;
        const size_t tail_len = std::strlen(tail);
        if (tail_len < region_len) continue;
        int south, north, west, east;
        if (!region_value(tail, 2, south) || !region_value(tail + 3, 2, north) ||
            !region_value(tail + 7, 3, west) || !region_value(tail + 11, 3, east))
            continue;
        if (!(south <= lat && lat <= north && west <= lon && lon <= east)) continue;
        const int area = (east - west) * (north - south);
        if (area >= best) continue;
        best = area;
        found = true;
        // The chosen region is written over the name from the prefix on; the rest of the name stays.
        std::memcpy(winner, name, TEXT_SIZE);
        size_t k = 0;
        for (; k < tail_len && prefix_len + k < TEXT_MAX_LEN; ++k) winner[prefix_len + k] = tail[k];
        if (prefix_len + k > std::strlen(name)) winner[prefix_len + k] = 0;
    }
    if (!found) return;

    UTIL_strcat3(winner, ".BMP", base);
    static const char* const suffixes[4] = {"_C1.BMP", "_C2.BMP", "_C3.BMP", "_C4.BMP"};
    for (int v = 0; v < 4; ++v) UTIL_strcat3(winner, suffixes[v], variants[v]);
}
