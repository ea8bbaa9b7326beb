#include "world/env_tile.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/mappedfile.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "world/env_build.h"
#include "world/navdb.h"
#include "world/terrain_grid.h"

int32_t scenery_switch = 1;
void ENV_scenery_switch_reset() { scenery_switch = 1; }
ORVELL_RESET(ENV_scenery_switch_reset, program);

namespace {

constexpr int32_t OBJECT_LIST_END = 99;
constexpr int32_t SECTION_END = 99;
constexpr int TEXTURE_NAMES = 500;
constexpr uint8_t FLAG_SECTION_END = 'g';
constexpr uint8_t FLAG_CHAIN_END = 'e';
constexpr int TAXI_SECTION = 4;

constexpr int64_t HEADER_BYTES = 5;   // the byte-order letter and the version

// The tile file being read, named by the alerts about it.
const char* reading_path = nullptr;

struct reading_tile {
    explicit reading_tile(const char* path) { reading_path = path; }
    ~reading_tile() { reading_path = nullptr; }
    reading_tile(const reading_tile&) = delete;
    reading_tile& operator=(const reading_tile&) = delete;
};

// A tile cut short is left out like any other damaged tile: one notice naming
// its file, and the flight goes on.
void scan_too_far()
{
    if (env_tile_refused) return;
    env_tile_refused = true;
    if (!ALERT_first_notice_of_damage(reading_path)) return;
    MACIBM_nuke_alert(app_mode, "Scan too far!", "A scenery tile ends in the middle of a record. It was left out.",
                      "file:", reading_path ? reading_path : "", ALERT_NOTICE);
}

bool fits(int64_t position, int64_t size, int64_t bytes)
{
    return position >= 0 && position < size && size - position >= bytes;
}

// The tile file found for a tile: the whole file in memory, its version and path.
struct tile_file {
    MappedFile mapped;
    int64_t position = 0;
    int64_t size = 0;
    int32_t version = 0;
    char path[TEXT_SIZE] = {};
};

// Opens the candidate at `path` (a program path) and checks its header.
bool try_candidate(const char* path, tile_file& f)
{
    char converted[TEXT_SIZE];
    UTIL_strcpy(path, converted);
    FILE_colons_to_backslashes(converted);
    if (!MappedFile_load(&f.mapped, converted)) return false;
    // A file at the tile's place that is no tile of any version (random
    // bytes, no bytes at all) is damaged: named once, and the next candidate
    // (or the default ground) takes its place.
    auto refuse = [&](const char* why) {
        if (ALERT_first_notice_of_damage(path))
            MACIBM_nuke_alert(app_mode, "This scenery tile is damaged and was left out:", path, why, "", ALERT_NOTICE);
        MappedFile_destroy(&f.mapped);
        return false;
    };
    const int64_t size = f.mapped.end - f.mapped.begin;
    if (size == 0) return refuse("It is empty.");
    // A header cut short is a read past the end, named like any other.
    if (size < HEADER_BYTES) {
        const reading_tile reading(path);
        scan_too_far();
        env_tile_refused = false;   // passed over: the next candidate is read as usual
        MappedFile_destroy(&f.mapped);
        return false;
    }
    static const char* const versions[4] = {"650", "631", "61", "6"};
    for (const char* v : versions) {
        if (SCAN_next_token(KIND_ENV, &f.mapped, f.mapped.begin, f.position, f.size, v)) {
            f.version = static_cast<int32_t>(std::strtol(v, nullptr, 10));
            UTIL_strcpy(path, f.path);
            return true;
        }
    }
    return refuse("It is not a scenery tile this program reads.");
}

// Custom scenery packages first, in listing order, then the planet's navigation data.
bool find_tile(int lat, int lon, tile_file& f)
{
    char name[TEXT_SIZE];
    ENV_tile_file_name(lat, lon, name);
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;

    UTIL_strcpy(static_cast<const char*>(folder_table[FOLDER_CUSTOM_SCENERY]), file_list_folder);
    const int packages = FILE_list_directory(KIND_FOLDER);
    std::vector<std::string> folders;
    for (int k = 0; k < packages; ++k) folders.emplace_back(file_list_paths[k]);
    for (const std::string& folder : folders) {
        char path[TEXT_SIZE];
        UTIL_strcat3(folder.c_str(), ENV_PACKAGE_TILE_FOLDER[planet], path);
        UTIL_strcat(path, name);
        if (try_candidate(path, f)) {
            UTIL_strcpy(folder.c_str(), custom_scenery_folder);
            return true;
        }
    }
    char path[TEXT_SIZE];
    UTIL_strcat3(folder_table[planet == PLANET_MARS ? FOLDER_MARS_NAV : FOLDER_EARTH_NAV], name, path);
    return try_candidate(path, f);
}

void show_progress()
{
    char line[TEXT_SIZE];
    UTIL_strcpy("Loading scenery", line);
    UTIL_strcat(line, " around ");
    // An airport index outside the table names no airport rather than reading past it.
    const int32_t a = start_selection.airport_index;
    if (a >= 0 && static_cast<size_t>(a) < airport_table.size()) UTIL_strcat(line, airport_table[static_cast<size_t>(a)].name);
    UTIL_strcat(line, ".");
    MACIBM_loading_screen(line);
}

void read_grid(const env_tile_window& w, tile_file& f)
{
    const char* b = f.mapped.begin;
    for (int j = 0; j <= w.m; ++j)
        for (int i = 0; i <= w.n; ++i) {
            double lat, lon, elevation;
            if (w.version == 6) {
                lat = ENV_scan_float(b, f.position, f.size);
                lon = ENV_scan_float(b, f.position, f.size);
                elevation = ENV_scan_float(b, f.position, f.size);
            } else {
                const int32_t code = ENV_scan_int(b, f.position, f.size);
                const uint8_t hi = ENV_scan_u8(b, f.position, f.size);
                const uint8_t lo = ENV_scan_u8(b, f.position, f.size);
                ENV_decode_coord(code, lat, lon, w.south, w.west);
                elevation = static_cast<double>((hi << 8) | lo) - 10000.0;
            }
            const int32_t word = ENV_scan_int(b, f.position, f.size);
            if (env_tile_refused) return;
            ENV_build_grid_record(w, i, j, lat, lon, elevation, word);
            if (env_tile_refused) return;
        }
}

void read_objects(const env_tile_window& w, tile_file& f)
{
    const char* b = f.mapped.begin;
    for (;;) {
        const int32_t type = ENV_scan_int(b, f.position, f.size);
        if (env_tile_refused || type == OBJECT_LIST_END) return;
        const float lat = ENV_scan_float(b, f.position, f.size);
        const float lon = ENV_scan_float(b, f.position, f.size);
        const float value = ENV_scan_float(b, f.position, f.size);
        char name[ENV_NAME_BYTES] = {};
        if (type == 8) {
            if (!fits(f.position, f.size, ENV_NAME_BYTES)) {
                scan_too_far();
                return;
            }
            std::memcpy(name, b + f.position, ENV_NAME_BYTES - 1);
            f.position += ENV_NAME_BYTES;
        }
        if (env_tile_refused) return;
        ENV_build_object(w, type, lat, lon, value, name);
        if (env_tile_refused) return;
    }
}

void read_sections(const env_tile_window& w, tile_file& f)
{
    const char* b = f.mapped.begin;
    for (int k = 0; k < ENV_section_count(w.version); ++k) {
        for (;;) {
            double lat, lon;
            bool end;
            if (k == TAXI_SECTION) {
                lat = ENV_scan_float(b, f.position, f.size);
                lon = ENV_scan_float(b, f.position, f.size);
                const uint8_t flag = ENV_scan_u8(b, f.position, f.size);
                if (env_tile_refused || flag == FLAG_SECTION_END) break;
                end = flag == FLAG_CHAIN_END;
            } else {
                const int32_t code = ENV_scan_int(b, f.position, f.size);
                if (env_tile_refused || code == SECTION_END) break;
                end = code < 0;
                const int64_t magnitude = end ? -static_cast<int64_t>(code) : code;
                // The one code whose absolute value does not fit (INT32_MIN) would
                // overflow when negated; it can be no point of the tile and is
                // refused as a point outside it.
                if (magnitude > INT32_MAX) {
                    ENV_build_segment_point(w, k, -1.0e9, -1.0e9, end);   // refused as outside the tile
                    return;
                }
                ENV_decode_coord(static_cast<int32_t>(magnitude), lat, lon, w.south, w.west);
            }
            ENV_build_segment_point(w, k, lat, lon, end);
            if (env_tile_refused) return;
        }
        if (env_tile_refused) return;
        ENV_build_finish_section(w, k);
    }
}

void read_texture_names(const env_tile_window& w, tile_file& f)
{
    std::vector<char> names(static_cast<size_t>(TEXTURE_NAMES) * ENV_NAME_BYTES, 0);
    for (int p = 0; p < TEXTURE_NAMES && fits(f.position, f.size, ENV_NAME_BYTES); ++p) {
        std::memcpy(&names[static_cast<size_t>(p) * ENV_NAME_BYTES], f.mapped.begin + f.position, ENV_NAME_BYTES - 1);
        f.position += ENV_NAME_BYTES;
    }
    ENV_build_custom_textures(w, reinterpret_cast<const char (*)[ENV_NAME_BYTES]>(names.data()));
}

}  // namespace

uint8_t ENV_scan_u8(const char* buffer, int64_t& position, int64_t size)
{
    if (!buffer || !fits(position, size, 1)) {
        scan_too_far();
        return 0;
    }
    return static_cast<uint8_t>(buffer[position++]);
}

int32_t ENV_scan_int(const char* buffer, int64_t& position, int64_t size)
{
    if (!buffer || !fits(position, size, 4)) {
        scan_too_far();
        return 0;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(buffer + position);
    uint32_t v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                 (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    if (file_swap_bytes) ENV_swap4(&v);
    position += 4;
    return static_cast<int32_t>(v);
}

float ENV_scan_float(const char* buffer, int64_t& position, int64_t size)
{
    const uint32_t bits = static_cast<uint32_t>(ENV_scan_int(buffer, position, size));
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void ENV_swap4(void* word)
{
    auto* b = static_cast<unsigned char*>(word);
    std::swap(b[0], b[3]);
    std::swap(b[1], b[2]);
}

void ENV_decode_coord(int32_t code, double& lat, double& lon, double south, double west)
{
    if (code < 0) code += 10000;
    const int32_t q = code / 10000, r = code % 10000;
    lat = south + q / 9999.0;
    lon = west + r / 9999.0;
}

bool ENV_in_rect(double x, double y, double x_low, double y_low, double x_high, double y_high)
{
    return x_low <= x && x <= x_high && y_low <= y && y <= y_high;
}

void ENV_load_tile(int lat, int lon, int row0, int col0, int force)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const int tiles_lat = static_cast<int>(2.0f * reference_lat_offset[planet]);
    const int tiles_lon = static_cast<int>(2.0f * reference_lon_offset[planet]);
    const terrain_extent e = TERRAIN_extent();
    const int lat0 = static_cast<int>(lat_ref), lon0 = static_cast<int>(lon_ref);
    // Besides the tile's place in the loaded area, its window of grid points is
    // checked to lie inside the grid: a caller's row0/col0 outside it would
    // write the tile's points past the grid's end.
    if (lat < lat0 || lat > static_cast<int>(lat_ref + tiles_lat - 1) || lon < lon0 ||
        lon > static_cast<int>(lon_ref + tiles_lon - 1) || row0 < 0 || row0 + e.tile_n > e.last_i || col0 < 0 ||
        col0 + e.tile_m > e.last_j) {
        MACIBM_nuke_alert(0, "A scenery tile outside the loaded area was asked for.", "", "", "", ALERT_FATAL);
        return;
    }
    if (lat < -90) lat = -90;
    if (lat > 90) lat = 90;
    if (lon < -179) lon += 360;
    if (lon > 180) lon -= 360;
    custom_scenery_folder[0] = 0;
    env_tile_refused = false;

    tile_file f;
    bool file = false;
    if (scenery_switch || force) {
        file = find_tile(lat, lon, f);
        show_progress();
    }

    const reading_tile reading(file ? f.path : nullptr);
    env_tile_window w{lat, lon, row0, col0, e.tile_n, e.tile_m, file ? f.version : 0, file ? f.path : ""};
    ENV_build_begin(w);
    if (file)
        read_grid(w, f);
    else
        ENV_build_default_window(w);
    if (env_tile_refused) {
        // The grid of a tile left out is the default ground, not the half read.
        const env_tile_window plain{lat, lon, row0, col0, e.tile_n, e.tile_m, 0, ""};
        ENV_build_begin(plain);
        ENV_build_default_window(plain);
        ENV_build_terrain(plain, false);
        return;
    }
    ENV_build_terrain(w, file);
    if (!file || env_tile_refused) return;

    read_objects(w, f);
    if (env_tile_refused) return;
    read_sections(w, f);
    if (env_tile_refused) return;
    read_texture_names(w, f);
}
