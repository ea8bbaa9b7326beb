#include "world/terrain_textures.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/screen.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_tex.h"
#include "world/terrain_definitions.h"
#include "world/landuse.h"
#include "world/landuse_grid.h"

float terrain_point_normal[TERRAIN_GRID_POINTS][3];
int32_t terrain_point_texture[TERRAIN_GRID_POINTS];
int32_t terrain_cell_layer_slot[TERRAIN_GRID_POINTS][4];
int32_t terrain_cell_layer_texture[TERRAIN_GRID_POINTS][4];
char terrain_texture_file[LANDUSE_MAX_TEXTURES][TEXT_SIZE];
float terrain_texture_aspect[LANDUSE_MAX_TEXTURES];
int32_t terrain_mask_size[2];

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

constexpr int GL_ALPHA_FORMAT = 6406;
constexpr int NO_RESOLUTION = -99;

// The resolution the textures were last loaded at.
struct texture_state {
    int rendering_res = NO_RESOLUTION;
};
texture_state tex_state;

bool water_code(int32_t code) { return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B; }

void fatal_file(const char* what, const char* file)
{
    MACIBM_nuke_alert(0, what, "file:", file, "", ALERT_FATAL);
}

// Loads one mask image into the first of its slots and cuts its masks out:
// four quadrants, or the two halves of "_C4". The image must be 2S x 2S
// (2S x S for "_C4").
void load_masks(int t, int first, const char* file, bool halves)
{
    int width = 0, height = 0;
    const int slot = TERRAIN_MASK_SLOT_FIRST + TERRAIN_MASKS_PER_TEXTURE * t + first;
    OGL_load_tex_file(LOAD_TEXTURE, slot, TEX_BRIGHT, file, width, height);
    // An image of another size would have its masks cut from rows past the
    // image (pixels left from an earlier one) or from rows of the wrong
    // length: garbage borders on the ground. It ends the program with an alert
    // naming the file, as a texture that cannot be loaded does.
    const bool even = width >= 2 && width % 2 == 0;
    if (!even || height != (halves ? width / 2 : width)) {
        fatal_file("A terrain mask image has the wrong size.", file);
        return;
    }
    const int S = width / 2;
    if (halves) {
        terrain_mask_size[0] = S;
        terrain_mask_size[1] = height;
        TERRAIN_make_border(slot, 0, 0);
        TERRAIN_make_border(slot + 1, height, 0);
        return;
    }
    const int H = height / 2;
    terrain_mask_size[0] = S;
    terrain_mask_size[1] = H;
    TERRAIN_make_border(slot, 0, 0);
    TERRAIN_make_border(slot + 1, 0, S);
    TERRAIN_make_border(slot + 2, H, S);
    TERRAIN_make_border(slot + 3, H, 0);
}

void point_pass(const terrain_extent& e, std::vector<uint8_t>& used)
{
    for (int i = 0; i <= e.last_i; ++i)
        for (int j = 0; j <= e.last_j; ++j) {
            const terrain_vertex& p = terrain_vertex_grid[TERRAIN_index(i, j)];
            const terrain_vertex& pi = terrain_vertex_grid[TERRAIN_index(std::min(i + 1, e.last_i), j)];
            const terrain_vertex& pj = terrain_vertex_grid[TERRAIN_index(i, std::min(j + 1, e.last_j))];
            const float a[3] = {pi.x - p.x, (pi.y - p.y) * 4.0f, pi.z - p.z};
            const float b[3] = {pj.x - p.x, (pj.y - p.y) * 4.0f, pj.z - p.z};
            UTIL_cross_normalize(a, b, terrain_point_normal[TERRAIN_index(i, j)]);
            const int t = UTIL_landuse_texture(landuse_grid[TERRAIN_index(i, j)]);
            terrain_point_texture[TERRAIN_index(i, j)] = t;
            if (t >= 0 && t < LANDUSE_MAX_TEXTURES) used[static_cast<size_t>(t)] = 1;
        }
}

void texture_pass(const std::vector<uint8_t>& used)
{
    const bool changed = screen.rendering_res != tex_state.rendering_res;
    tex_state.rendering_res = screen.rendering_res;
    const int count = std::clamp(landuse_texture_count, 0, LANDUSE_MAX_TEXTURES);   // past 49 would read past the tables
    for (int t = 0; t < count; ++t) {
        if (!used[static_cast<size_t>(t)]) continue;
        char base[TEXT_SIZE] = {};
        char variants[4][TEXT_SIZE] = {};
        TERRAIN_find_texture_file(t, base, variants, flt[0].latitude, flt[0].longitude);
        const bool same = std::strcmp(base, terrain_texture_file[t]) == 0;
        UTIL_strcpy(static_cast<const char*>(base), terrain_texture_file[t]);
        if (texture_memory[t] > 0 && !changed && same) continue;
        if (landuse_texture_water[t]) {
            terrain_texture_aspect[t] = 1.0f;
            continue;
        }

        char definition[TEXT_SIZE];
        UTIL_strcat3(folder_table[FOLDER_BITMAPS], base, definition);
        const size_t n = std::strlen(definition);
        definition[n >= 4 ? n - 4 : 0] = 0;
        UTIL_strcat(definition, ".txt");
        TERRAIN_setup_textures(definition, t);

        int width = 0, height = 0;
        if (!OGL_load_tex_file(LOAD_TEXTURE, t, TEX_RGB_MIPMAP, base, width, height)) {
            fatal_file("A terrain texture could not be loaded.", base);
            return;
        }
        // A zero height (an empty image) would divide by zero; the aspect stays 1.
        terrain_texture_aspect[t] = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
        load_masks(t, 0, variants[2], false);    // "_C3": codes 1..4
        load_masks(t, 4, variants[1], false);    // "_C2": codes 5..8
        load_masks(t, 8, variants[0], false);    // "_C1": codes 9..12
        load_masks(t, 12, variants[3], true);    // "_C4": codes 13, 14
    }
}

void layer_cell(int i, int j)
{
    const int k = TERRAIN_index(i, j);
    const int codes[4] = {landuse_grid[k], landuse_grid[TERRAIN_index(i, j + 1)],
                          landuse_grid[TERRAIN_index(i + 1, j + 1)], landuse_grid[TERRAIN_index(i + 1, j)]};
    int T[4];
    for (int c = 0; c < 4; ++c) T[c] = UTIL_landuse_texture(codes[c]);
    if (T[0] == T[1] && T[1] == T[2] && T[2] == T[3]) return;
    for (int c = 0; c < 4; ++c)
        if (codes[c] >= LANDUSE_CODES) return;

    int32_t* slots = terrain_cell_layer_slot[k];
    int32_t* textures = terrain_cell_layer_texture[k];
    terrain_point_texture[k] = TERRAIN_LAYERED;
    for (int n = 0; n < 4; ++n) slots[n] = textures[n] = TERRAIN_NO_LAYER;

    // The distinct textures in ascending order.
    int L[4] = {TERRAIN_NO_LAYER, TERRAIN_NO_LAYER, TERRAIN_NO_LAYER, TERRAIN_NO_LAYER};
    L[0] = *std::min_element(T, T + 4);
    for (int n = 1; n < 4; ++n)
        for (int c = 0; c < 4; ++c)
            if (T[c] > L[n - 1] && T[c] < L[n]) L[n] = T[c];
    int K[4] = {0, 0, 0, 0};
    for (int n = 1; n < 4; ++n)
        if (L[n] < TERRAIN_NO_LAYER) K[n] = TERRAIN_border_code(T[0], T[1], T[2], T[3], L[n]);

    // A diagonal overlay split into two corner masks (the layer it pushes out is lost).
    if (K[1] > 12 && !TERRAIN_keep_diagonal(i, j, K[1])) {
        L[3] = L[2];
        K[3] = K[2];
        L[2] = L[1];
        K[2] = K[1] == 13 ? 6 : 5;
        K[1] = K[1] == 13 ? 8 : 7;
    }
    if (K[2] > 12 && !TERRAIN_keep_diagonal(i, j, K[2])) {
        L[3] = L[2];
        K[3] = K[2] == 13 ? 6 : 5;
        K[2] = K[2] == 13 ? 8 : 7;
    }
    // The base on a diagonal.
    const int split = terrain_cell_split[k];
    if (T[0] == L[0] && T[2] == L[0] && T[1] != L[0] && T[3] != L[0] && split != 0 && split != 1 && split != 5)
        K[1] = 13;
    if (T[1] == L[0] && T[3] == L[0] && T[0] != L[0] && T[2] != L[0] && split != 0 && split != 2 && split != 6)
        K[1] = 14;

    slots[0] = textures[0] = L[0];
    for (int n = 1; n < 4; ++n) {
        if (L[n] >= TERRAIN_NO_LAYER || landuse_texture_water[L[n]]) continue;
        slots[n] = TERRAIN_MASKS_PER_TEXTURE * L[n] + TERRAIN_MASK_SLOT_FIRST - 1 + K[n];
        textures[n] = L[n];
    }
    for (int32_t* a : {slots, textures}) {
        if (a[1] == TERRAIN_NO_LAYER) {
            a[1] = a[2];
            a[2] = a[3];
            a[3] = TERRAIN_NO_LAYER;
        }
        if (a[2] == TERRAIN_NO_LAYER) {
            a[2] = a[3];
            a[3] = TERRAIN_NO_LAYER;
        }
    }
    if (textures[1] == TERRAIN_NO_LAYER) terrain_point_texture[k] = L[0];
    static constexpr float plain[8] = {0, 0, 0, 1, 1, 1, 1, 0};
    std::memcpy(terrain_cell_tex[k], plain, sizeof plain);
}

}  // namespace

void TERRAIN_reset_textures()
{
    tex_state = texture_state{};
    std::memset(terrain_texture_file, 0, sizeof terrain_texture_file);
    std::fill(std::begin(terrain_texture_aspect), std::end(terrain_texture_aspect), 1.0f);
}

void TERRAIN_load_tile_textures()
{
    const terrain_extent e = TERRAIN_extent();
    std::vector<uint8_t> used(LANDUSE_MAX_TEXTURES, 0);
    point_pass(e, used);
    texture_pass(used);
    MACIBM_loading_screen("Preparing the ground textures.");
    for (int i = 0; i < e.last_i; ++i)
        for (int j = 0; j < e.last_j; ++j) layer_cell(i, j);
    MACIBM_loading_screen("Ground textures ready.");
}

void TERRAIN_make_border(int slot, int column, int row)
{
    const int S = terrain_mask_size[0];
    if (S < 1 || S > 1024 || terrain_mask_size[1] < 1 || terrain_mask_size[1] > 512) {
        MACIBM_nuke_alert(0, "A terrain border mask has a size out of range.", "", "", "", ALERT_FATAL);
        return;
    }
    const int stride = 2 * S;
    // A mask reaching past its image would read past the pixel buffer.
    if (column < 0 || row < 0 || column + S > stride || !OGL_image_fits_buffer(stride, row + S, stride, 4)) {
        MACIBM_nuke_alert(0, "A terrain border mask lies outside its image.", "", "", "", ALERT_FATAL);
        return;
    }
    std::vector<uint8_t> mask(static_cast<size_t>(S) * static_cast<size_t>(S));
    for (int r = 0; r < S; ++r)
        for (int c = 0; c < S; ++c)
            mask[static_cast<size_t>(r) * S + c] =
                pixel_buffer[(static_cast<size_t>(row + r) * stride + static_cast<size_t>(column + c)) * 4 + 3];
    OGL_load_tex("land-use border", slot, 0, GL_ALPHA_FORMAT, S, S, mask.data());
    OGL_mini_me("land-use border", slot, TEX_RGB_MIPMAP, GL_ALPHA_FORMAT, S, S, mask.data());
}

int TERRAIN_border_code(int t0, int t1, int t2, int t3, int texture)
{
    // Indexed by the corners that carry the texture: c0 bit 0 .. c3 bit 3.
    static constexpr int codes[16] = {0, 7, 8, 2, 5, 14, 3, 10, 6, 1, 13, 9, 4, 12, 11, 0};
    const int set = (t0 == texture ? 1 : 0) | (t1 == texture ? 2 : 0) | (t2 == texture ? 4 : 0) |
                    (t3 == texture ? 8 : 0);
    if (codes[set] == 0) {
        MACIBM_nuke_alert(0, "A terrain cell's overlay covers no corner or every corner.", "", "", "", ALERT_FATAL);
        return 0;
    }
    return codes[set];
}

bool TERRAIN_keep_diagonal(int i, int j, int code)
{
    if (code != 13 && code != 14) return false;
    if (i < 0 || i >= TERRAIN_GRID_ROWS || j < 0 || j >= TERRAIN_GRID_COLS) return false;   // no such cell to read
    const int w = terrain_cell_split[TERRAIN_index(i, j)];
    if ((code == 13 && (w == 2 || w == 6)) || (code == 14 && (w == 1 || w == 5))) return true;
    if (w != 0 && w != 4) return false;
    const terrain_extent e = TERRAIN_extent();
    float water = 0.0f;
    for (int r = std::max(i - 1, 0); r <= std::min(i + 1, e.last_i); ++r)
        for (int c = std::max(j - 1, 0); c <= std::min(j + 1, e.last_j); ++c)
            if (water_code(landuse_grid[TERRAIN_index(r, c)])) water += 1.0f / 9.0f;
    return water > 0.5f;
}

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
        // Only a region folder's name is read: a shorter tail would have its
        // region read past the end of the text, and a tail whose values are not
        // digits (a stray file) would read as regions of +-1 degree, could win
        // the smallest area and send every load to a file that does not exist.
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
