#include "world/metar.h"

#include <algorithm>
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

bool all_digits(const std::string& t, size_t from, size_t to)
{
    if (from >= to || to > t.size()) return false;
    for (size_t j = from; j < to; ++j)
        if (!UTIL_is_digit(t[j])) return false;
    return true;
}

// A variable wind direction, dddVddd.
bool variable_direction_group(const std::string& t)
{
    return t.size() == 7 && t[3] == 'V' && all_digits(t, 0, 3) && all_digits(t, 4, 7);
}

// A runway visual range, Rnn/..., Rnnx/... (x the L, C or R of parallel runways).
bool runway_range_group(const std::string& t)
{
    if (t.size() < 5 || t[0] != 'R' || !all_digits(t, 1, 3)) return false;
    const size_t slash = t[3] == '/' ? 3 : 4;
    return t[slash] == '/' && (slash == 3 || t[3] == 'L' || t[3] == 'C' || t[3] == 'R');
}

// A fraction of a statute mile, "n/dSM" or "Mn/dSM" (M: less than), numerator
// and denominator of one or two digits. False for any other shape, and for a
// zero or missing denominator, which would divide by zero.
bool statute_fraction(const std::string& t, float& miles)
{
    size_t begin = t[0] == 'M' ? 1 : 0;
    const size_t end = t.size() - 2;   // before "SM"
    const size_t slash = t.find('/', begin);
    if (slash == std::string::npos || slash >= end) return false;
    if (slash - begin > 2 || end - slash - 1 > 2) return false;
    if (!all_digits(t, begin, slash) || !all_digits(t, slash + 1, end)) return false;
    const int numerator = std::stoi(t.substr(begin, slash - begin));
    const int denominator = std::stoi(t.substr(slash + 1, end - slash - 1));
    if (denominator == 0) return false;
    miles = static_cast<float>(numerator) / static_cast<float>(denominator);
    return true;
}

// The unit of a wind group: the letters it ends in and their factor to knots.
// Stations of several countries (Russia, China) report the wind in metres per
// second, "18005MPS". Read by the knots rule alone, such a report would leave
// the wind of the previous report standing, and its metric visibility, which is
// read only right after a wind group, would go unread too; so MPS groups are
// read as winds and converted.
struct wind_unit {
    const char* letters;
    float to_knots;
};
constexpr wind_unit WIND_UNITS[] = {{"KT", 1.0f}, {"MPS", UNIT_MPS_TO_KTS_BY_NM}};

// The unit a group ends in, or nullptr when it is no wind group.
const wind_unit* wind_unit_of(const std::string& t)
{
    for (const wind_unit& u : WIND_UNITS) {
        const size_t n = std::strlen(u.letters);
        if (t.size() >= n && t.compare(t.size() - n, n, u.letters) == 0) return &u;
    }
    return nullptr;
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
        if (len > TEXT_MAX_LEN) len = TEXT_MAX_LEN;
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
    int variable_position = -999;
    int weather_position = -999;
    int layers = 0;

    for (int k = 0; k < METAR_MAX_TOKENS; ++k) {
        const group& g = groups[static_cast<size_t>(k)];
        const int L = g.length();
        const bool remarks = g.text == "RMK";

        // Time, ddhhmmZ.
        if (L == 7 && g.at(6) == 'Z')
            *report_time = static_cast<float>((10 * g.digit(2) + g.digit(3)) * 3600 + (10 * g.digit(4) + g.digit(5)) * 60);

        // Wind, dddssKT or dddssGggKT, or in metres per second (see WIND_UNITS).
        // A wind-shear group also ends in KT, but read as a wind too,
        // WS020/27045KT would give a wind of 200 kt (from the digits of its
        // height) and a gust of 45 - 200 kt; it is read by its own rule only,
        // against the surface wind (15 kt surface wind: gust 30 kt).
        const bool shear_group = g.at(0) == 'W' && g.at(1) == 'S' && g.at(5) == '/';
        const wind_unit* unit = wind_unit_of(g.text);
        if (unit && !shear_group) {
            // A digit place holding the end of the token or a letter of the unit adds nothing.
            auto unit_letter = [&](int j) { return g.at(j) == 0 || std::strchr(unit->letters, g.at(j)) != nullptr; };
            float direction;
            if (g.starts_with("VRB"))
                direction = static_cast<float>(UTIL_rand() * 360.0 / 32767.0);
            else
                direction = static_cast<float>(100 * g.digit(0) + 10 * g.digit(1) + g.digit(2));
            *wind_direction = direction - sim_flightmodel_position.magnetic_variation;
            int speed = g.digit(3);
            for (int j = 4; j <= 5; ++j)
                if (g.at(j) != 'G' && !unit_letter(j)) speed = 10 * speed + g.digit(j);
            *wind_speed = static_cast<float>(speed) * unit->to_knots;
            *gust_increment = 0.0f;
            for (int j = 0; j < L; ++j) {
                if (g.at(j) != 'G') continue;
                int gust = g.digit(j + 1);
                for (int m = j + 2; m <= j + 3; ++m)
                    if (!unit_letter(m)) gust = 10 * gust + g.digit(m);
                *gust_increment = static_cast<float>(gust - speed) * unit->to_knots;
            }
            wind_position = k;
        }

        // A variable direction right behind the wind (27015KT 240V300 8000):
        // read only right after the wind, that metric visibility would go
        // unread, the previous report's visibility would stay and the weather
        // behind it would be missed; so it is read after the variable direction
        // too. "9999" there keeps its own reading, 10 nm.
        if (k == wind_position + 1 && variable_direction_group(g.text)) variable_position = k;

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

        // Visibility in statute miles: 10SM, P6SM (6 or more) by their last two
        // digits. Fractions are read whole: by single digits 3/16SM would read
        // as 3 miles, M1/4SM (less than a quarter) as 4 and "1 1/2SM" as half
        // a mile, all far from the report. A whole number before a fraction
        // adds to it. A fraction that cannot be read (1/0SM, 1/SM) would
        // divide by zero and is passed over.
        if (g.ends_with("SM")) {
            float miles = 0.0f;
            bool usable = true;
            if (g.text.find('/') != std::string::npos) {
                usable = statute_fraction(g.text, miles);
                const group& before = groups[static_cast<size_t>(k > 0 ? k - 1 : 0)];
                if (usable && k > 0 && g.at(0) != 'M' && all_digits(before.text, 0, before.text.size()) &&
                    before.length() <= 2)
                    miles += static_cast<float>(UTIL_text_to_int(before.text.c_str()));
            } else {
                miles = static_cast<float>(g.digit(L - 3));
                if (L > 3) miles = static_cast<float>(10 * g.digit(L - 4)) + miles;
            }
            if (usable) {
                *visibility = miles * UNIT_SM_TO_NM * UNIT.nm_to_mtrs;
                visibility_position = k;
            }
        }

        if (g.text == "9999") {
            *visibility = 10.0f * UNIT.nm_to_mtrs;
            visibility_position = k;
        }
        // "Ceiling and visibility OK" stands for the visibility group (10 km or
        // more, no cloud group follows). Without this reading a CAVOK report
        // would keep the previous report's visibility, however poor.
        if (g.text == "CAVOK") {
            *visibility = 10.0f * UNIT.nm_to_mtrs;
            visibility_position = k;
        }

        // Metric visibility right after the wind, or after a variable direction that follows it.
        if ((k == wind_position + 1 || (k == variable_position + 1 && g.text != "9999")) && L <= 4 &&
            UTIL_is_number_text(g.text.c_str())) {
            *visibility = static_cast<float>(UTIL_text_to_int(g.text.c_str()));
            visibility_position = k;
        }

        // Weather right after the visibility, or after the runway visual
        // ranges that follow it ("2000 R24/1200 +SN"): read only right after
        // the visibility, the snow of such a report would be missed.
        if (k == visibility_position + 1) weather_position = k;
        if (k == weather_position && runway_range_group(g.text)) {
            ++weather_position;
        } else if (k == weather_position) {
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

        // Cloud layers, the first two. A convective cloud (BKN020CB, SCT030TCU)
        // is a layer like any other: taking six-character groups only, such a
        // layer would be lost and the next group taken in its place.
        const bool layer_shape = L == 6 || (L == 8 && g.ends_with("CB")) || (L == 9 && g.ends_with("TCU"));
        const auto add_layer = [&](int type, int feet) {
            cloud_type[layers] = type;
            const float base = chosen.elevation + UNIT.ft_to_mtrs * static_cast<float>(feet);
            if (base < cloud_base[layers]) cloud_base[layers] = base;
            const float top = cloud_base[layers] + UNIT.mtrs_to_ft * 304.8f;
            if (top > cloud_top[layers]) cloud_top[layers] = top;
            if (cloud_base[layers] > 5000.0f && cloud_type[layers] == 2) cloud_type[layers] = 1;
            ++layers;
        };
        if (layers < 2 && layer_shape) {
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
