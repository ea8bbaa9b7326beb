#include "world/metar.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/mappedfile.h"
#include "core/random.h"
#include "core/simvars/flightmodel.h"
#include "core/text_util.h"
#include "core/units.h"
#include "world/navdb.h"

namespace {

// One group of the report. Every position outside the group reads as its end.
struct group {
    std::string text;

    int length() const { return static_cast<int>(text.size()); }
    char at(int j) const { return (j >= 0 && j < length()) ? text[static_cast<size_t>(j)] : 0; }
    int digit(int j) const { return UTIL_char_to_digit(at(j)); }
    bool ends_with(const char* tail) const
    {
        const int n = static_cast<int>(std::strlen(tail));
        return length() >= n && text.compare(text.size() - static_cast<size_t>(n), static_cast<size_t>(n), tail) == 0;
    }
    bool starts_with(const char* head) const { return text.rfind(head, 0) == 0; }
};

// The value of a two-digit temperature "dd" or "Mdd" starting at j, or false when the shape differs.
bool temperature_value(const std::string& t, size_t& j, int& value)
{
    int sign = 1;
    if (j < t.size() && t[j] == 'M') {
        sign = -1;
        ++j;
    }
    if (j + 2 > t.size() || !UTIL_is_digit(t[j]) || !UTIL_is_digit(t[j + 1])) return false;
    value = sign * (10 * (t[j] - '0') + (t[j + 1] - '0'));
    j += 2;
    return true;
}

// dd/dd, dd/Mdd, Mdd/dd or Mdd/Mdd, nothing after.
bool temperature_group(const std::string& t, int& temperature, int& dewpoint)
{
    size_t j = 0;
    if (!temperature_value(t, j, temperature)) return false;
    if (j >= t.size() || t[j] != '/') return false;
    ++j;
    if (!temperature_value(t, j, dewpoint)) return false;
    return j == t.size();
}

struct station_choice {
    int airport = -1;
    float elevation = 0.0f;
    std::string line;
};

// Scans the report file for the nearest qualifying station.
bool choose_station(float latitude, float longitude, station_choice& chosen)
{
    char path[TEXT_SIZE];
    UTIL_strcat3(program_folder, "metar.rwx", path);
    MappedFile file;
    char* begin = MappedFile_load(&file, path);
    if (!begin) return false;
    const char* p = begin;
    const char* end = file.end;

    float best = 99999.0f;
    while (p < end) {
        const char* line_end = p;
        while (line_end < end && *line_end != '\r' && *line_end != '\n') ++line_end;
        if (line_end >= end) break;   // text after the last line end is not read
        const char* line = p;
        size_t len = static_cast<size_t>(line_end - line);
        p = line_end + 1;
        if (len > TEXT_MAX_LEN) len = TEXT_MAX_LEN;   // the line buffer holds 499 characters
        if (len < 11) continue;

        const size_t skip = (std::strncmp(line, "METAR", 5) == 0 || std::strncmp(line, "SPECI", 5) == 0) ? 6 : 0;
        if (line[skip] == ' ' || line[skip + 4] != ' ') continue;
        char id[APT_ID_SIZE] = {};
        std::memcpy(id, line + skip, 4);
        const unsigned char* b = reinterpret_cast<const unsigned char*>(id);
        const uint32_t key = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                             static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        const auto it = airport_id_index.find(key);
        if (it == airport_id_index.end()) continue;
        const int index = it->second;
        // An index entry left behind by a table since cut shorter would read
        // past the airport table; such an entry is passed over.
        if (index < 0 || index >= static_cast<int>(airport_table.size())) continue;
        const airport_record& apt = airport_table[static_cast<size_t>(index)];
        // An airport without runways has no position: reading its first
        // runway would read past the list. Its reports are passed over.
        if (apt.runways.empty()) continue;

        const float dlat = latitude - apt.runways[0].lat;
        const float dlon = longitude - apt.runways[0].lon;
        if (!(dlat < 1.0f && dlat > -1.0f && dlon < 1.0f && dlon > -1.0f)) continue;
        const float d = dlat * dlat + dlon * dlon;
        if (d < best) {
            best = d;
            chosen.airport = index;
            chosen.elevation = apt.elevation;
            chosen.line.assign(line, len);
        }
    }
    return chosen.airport >= 0;
}

std::vector<group> split(const std::string& line)
{
    std::vector<group> groups(METAR_MAX_TOKENS);
    size_t j = 0;
    for (int k = 0; k < METAR_MAX_TOKENS; ++k) {
        while (j < line.size() && line[j] == ' ') ++j;
        const size_t start = j;
        while (j < line.size() && line[j] != ' ') ++j;
        groups[static_cast<size_t>(k)].text = line.substr(start, j - start);
    }
    return groups;
}

}  // namespace

int METAR_read(float latitude, float longitude, float* report_time, int* cloud_type, float* cloud_base,
               float* cloud_top, float* visibility, int* precip_kind, int* precip_level, float* temperature,
               float* dewpoint, float* wind_direction, float* wind_speed, float* gust_increment, float* pressure)
{
    station_choice chosen;
    if (!choose_station(latitude, longitude, chosen)) return -1;

    const std::vector<group> groups = split(chosen.line);
    for (int n = 0; n < 2; ++n) {
        cloud_type[n] = 0;
        cloud_base[n] = METAR_NO_CLOUD_BASE;
        cloud_top[n] = 0.0f;
    }
    *precip_kind = 0;
    *precip_level = 0;
    int wind_position = -999;
    int visibility_position = -999;
    int layers = 0;

    for (int k = 0; k < METAR_MAX_TOKENS; ++k) {
        const group& g = groups[static_cast<size_t>(k)];
        const int L = g.length();
        const bool remarks = g.text == "RMK";

        // Time, ddhhmmZ.
        if (L == 7 && g.at(6) == 'Z')
            *report_time = static_cast<float>((10 * g.digit(2) + g.digit(3)) * 3600 + (10 * g.digit(4) + g.digit(5)) * 60);

        // Wind, dddssKT or dddssGggKT.
        // A wind-shear group also ends in KT, but read as a wind too,
        // WS020/27045KT would give a wind of 200 kt (from the digits of its
        // height) and a gust of 45 - 200 kt; it is read by its own rule only,
        // against the surface wind (15 kt surface wind: gust 30 kt).
        const bool shear_group = g.at(0) == 'W' && g.at(1) == 'S' && g.at(5) == '/';
        if (g.ends_with("KT") && !shear_group) {
            float direction;
            if (g.starts_with("VRB"))
                direction = static_cast<float>(UTIL_rand() * 360.0 / 32767.0);
            else
                direction = static_cast<float>(100 * g.digit(0) + 10 * g.digit(1) + g.digit(2));
            *wind_direction = direction - sim_flightmodel_position.magnetic_variation;
            int speed = g.digit(3);
            for (int j = 4; j <= 5; ++j) {
                const char ch = g.at(j);
                if (ch != 'G' && ch != 'K' && ch != 'T' && ch != 0) speed = 10 * speed + g.digit(j);
            }
            *wind_speed = static_cast<float>(speed);
            *gust_increment = 0.0f;
            for (int j = 0; j < L; ++j) {
                if (g.at(j) != 'G') continue;
                int gust = g.digit(j + 1);
                for (int m = j + 2; m <= j + 3; ++m) {
                    const char ch = g.at(m);
                    if (ch != 'K' && ch != 'T' && ch != 0) gust = 10 * gust + g.digit(m);
                }
                *gust_increment = static_cast<float>(gust - speed);
            }
            wind_position = k;
        }

        // Wind shear, WSddd/dddssKT.
        if (shear_group) {
            int shear = g.digit(9);
            for (int j = 10; j <= 11; ++j) {
                const char ch = g.at(j);
                if (ch != 'K' && ch != 'T' && ch != 0) shear = 10 * shear + g.digit(j);
            }
            *gust_increment = static_cast<float>(shear) - *wind_speed;
            wind_position = k;
        }

        // Visibility in statute miles by its last two digits (10SM, P6SM),
        // or a one-digit fraction n/dSM. A fraction over 0 (1/0SM) would make
        // the visibility endless; such a group is passed over.
        if (g.ends_with("SM") && !(g.at(1) == '/' && g.digit(2) == 0)) {
            float miles = static_cast<float>(g.digit(L - 3));
            if (L > 3) miles = static_cast<float>(10 * g.digit(L - 4)) + miles;
            if (g.at(1) == '/') miles = static_cast<float>(g.digit(0)) / static_cast<float>(g.digit(2));
            *visibility = miles * UNIT_SM_TO_NM * UNIT.nm_to_mtrs;
            visibility_position = k;
        }

        if (g.text == "9999") {
            *visibility = 10.0f * UNIT.nm_to_mtrs;
            visibility_position = k;
        }
        // "Ceiling and visibility OK" stands for the visibility group (10 km or
        // more, and no cloud group follows). Without this reading a CAVOK
        // report would keep the previous report's visibility, however poor.
        if (g.text == "CAVOK") {
            *visibility = 10.0f * UNIT.nm_to_mtrs;
            visibility_position = k;
        }

        // Metric visibility, right after the wind.
        if (k == wind_position + 1 && L <= 4 && UTIL_is_number_text(g.text.c_str())) {
            *visibility = static_cast<float>(UTIL_text_to_int(g.text.c_str()));
            visibility_position = k;
        }

        // Weather, right after the visibility.
        if (k == visibility_position + 1) {
            static const struct {
                const char* code;
                int kind, level;
            } weather[] = {{"DZ", 1, 1}, {"RA", 1, 3}, {"SG", 1, 2}, {"SN", 1, 3},
                           {"GS", 2, 2}, {"GR", 2, 3}, {"SQ", 2, 3}, {"TS", 2, 3}};
            for (const auto& w : weather) {
                if (!UTIL_str_contains(w.code, g.text.c_str())) continue;
                if (*precip_kind < w.kind) *precip_kind = w.kind;
                if (*precip_level < w.level) *precip_level = w.level;
            }
        }

        // Cloud layers, the first two.
        const auto add_layer = [&](int type, int feet) {
            cloud_type[layers] = type;
            const float base = chosen.elevation + UNIT.ft_to_mtrs * static_cast<float>(feet);
            if (base < cloud_base[layers]) cloud_base[layers] = base;
            const float top = cloud_base[layers] + UNIT.mtrs_to_ft * 304.8f;
            if (top > cloud_top[layers]) cloud_top[layers] = top;
            if (cloud_base[layers] > 5000.0f && cloud_type[layers] == 2) cloud_type[layers] = 1;
            ++layers;
        };
        if (layers < 2 && L == 6) {
            int type = 0;
            if (g.starts_with("FEW") || g.starts_with("SCT")) type = 2;
            if (g.starts_with("BKN")) type = 3;
            if (g.starts_with("OVC")) type = 4;
            if (type) add_layer(type, 10000 * g.digit(3) + 1000 * g.digit(4) + 100 * g.digit(5));
        }
        // A sky hidden by fog or snow, VVhhh: the vertical visibility in
        // hundreds of feet is the ceiling, an overcast layer there. Without
        // it a fog report (0100 FG VV002) would read as a clear sky. "VV///"
        // gives no height and no layer.
        if (layers < 2 && L == 5 && g.starts_with("VV") && UTIL_is_number_text(g.text.c_str() + 2))
            add_layer(4, 100 * (100 * g.digit(2) + 10 * g.digit(3) + g.digit(4)));

        // Altimeter, Annnn (inches) or Qnnnn (hectopascals).
        if (L == 5 && g.at(0) == 'A' && UTIL_is_number_text(g.text.c_str() + 1))
            *pressure = static_cast<float>(10 * g.digit(1) + g.digit(2)) + 0.1f * static_cast<float>(g.digit(3)) +
                        0.01f * static_cast<float>(g.digit(4));
        if (L == 5 && g.at(0) == 'Q' && UTIL_is_number_text(g.text.c_str() + 1)) {
            const int hpa = 1000 * g.digit(1) + 100 * g.digit(2) + 10 * g.digit(3) + g.digit(4);
            *pressure = static_cast<float>(hpa) * UNIT.mb_to_inhg;
        }

        // Temperature and dewpoint, raised to sea level by 2 degrees a thousand feet.
        int t, dp;
        if (temperature_group(g.text, t, dp)) {
            *dewpoint = static_cast<float>(dp);
            *temperature = static_cast<float>(t) + chosen.elevation * UNIT.mtrs_to_ft * 0.001f * 2.0f;
        }

        if (remarks) break;
    }
    return chosen.airport;
}
