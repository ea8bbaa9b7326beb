// Damaged navigation files and weather reports: random mutations of valid
// files (fixed seeds) must be read or refused, never crash or read out of
// bounds (the sanitizers watch); alerts are fine. Every reader's result is
// then used the way the rest of the program uses it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/alert.h"
#include "core/geo.h"
#include "core/random.h"
#include "tests/world/world_test_util.h"
#include "world/metar.h"
#include "world/navdb.h"
#include "world/runway_outline.h"
#include "world/nav_lookup.h"

namespace {

// A number 0 .. n-1.
size_t pick(size_t n)
{
    return n ? (static_cast<size_t>(UTIL_rand()) << 15 | static_cast<size_t>(UTIL_rand())) % n : 0;
}

// One random damage: bytes overwritten, inserted (line ends among them),
// removed or repeated, a very long line, all rows on one line, the file cut
// short, or a field made huge or non-numeric.
void damage(std::string& s)
{
    static const char* const pieces[] = {"\r\n", "\n", "\r", " ", "99", "99\n", "-", "x", "\xff", "\0", ".",
                                         "1e999", "nan", "-inf", "999999999999999999999999999999999999999999",
                                         "0.00000000000000000000000000000000000000000000001", "10 ", "1 ",
                                         "15 ", "50 ", "56 ", "17 ", "16 "};
    const size_t at = pick(s.size() + 1);
    switch (UTIL_rand() % 8) {
    case 0:
        if (!s.empty()) s[pick(s.size())] = static_cast<char>(UTIL_rand() & 0xff);
        break;
    case 1: {
        const char* p = pieces[pick(sizeof pieces / sizeof pieces[0])];
        s.insert(at, p, std::strlen(p) ? std::strlen(p) : 1);
        break;
    }
    case 2: s.erase(at, pick(40)); break;
    case 3: s.insert(at, s.substr(pick(s.size() + 1), pick(200))); break;
    case 4: s.insert(at, std::string(pick(3000) + 500, "A 9-."[pick(5)])); break;
    case 5: {
        // Every row after the header on one huge line (or the whole file, now and then).
        size_t from = s.find('\n');
        if (from != std::string::npos && UTIL_rand() % 4) from = s.find('\n', from + 1);
        for (size_t i = from == std::string::npos ? 0 : from + 1; i < s.size(); ++i)
            if (s[i] == '\n' || s[i] == '\r') s[i] = ' ';
        break;
    }
    case 6: s.resize(at); break;
    default: {
        const size_t space = s.find(' ', at);
        if (space != std::string::npos) s.insert(space + 1, pieces[11 + pick(5)]);
        break;
    }
    }
}

std::string damaged(const std::string& good, int most)
{
    std::string bad = good;
    for (int k = UTIL_rand() % most; k >= 0; --k) damage(bad);
    return bad;
}

// Uses every record the way the rest of the program does.
void use_tables()
{
    for (int i = 0; i < static_cast<int>(airport_table.size()); ++i) {
        const airport_record& a = airport_table[static_cast<size_t>(i)];
        ASSERT_FALSE(a.starts.empty());
        ASSERT_EQ(a.id[APT_ID_SIZE - 1], 0);
        ASSERT_EQ(a.name[APT_NAME_SIZE - 1], 0);
        for (int r = 0; r < static_cast<int>(a.runways.size()); ++r) {
            char here[64], there[64];
            APT_runway_end_labels(i, r, here, there);
            float lat[4], lon[4], h[4];
            APT_runway_outline(i, r, lat, lon, h, 0);
        }
        int found = -1;
        NAV_find_nearest_by_id(a.id, 1, found, 34.0f, -117.0f);
        // Found unless damage put it out of the search's reach (999.9 degrees, or not a finite place).
        if (!a.runways.empty() && std::abs(a.runways[0].lat) < 500.0f && std::abs(a.runways[0].lon) < 500.0f) {
            ASSERT_GE(found, 0) << a.id;
        }
    }
    for (const auto& [key, index] : airport_id_index) {
        ASSERT_GE(index, 0);
        ASSERT_LT(index, static_cast<int32_t>(airport_table.size()));
    }
    int found = -1;
    for (const navaid_record& n : navaid_table) NAV_find_nearest_by_id(n.id, n.kind, found, 34.0f, -117.0f);
    for (const fix_record& f : fix_table) NAV_find_nearest_by_id(f.id, 11, found, 34.0f, -117.0f);
    if (!airport_table.empty()) {
        std::memcpy(start_selection.airport_id, airport_table.back().id, 4);
        start_selection.airport_index = -1;
        APT_find_start_airport();
    }
}

int rounds()
{
    const char* env = std::getenv("ORVELL_FUZZ_ROUNDS");
    return env ? std::atoi(env) : 300;
}

// Runs `read` on the given number of damaged copies with fresh tables; a fatal
// alert ends the program, so its tables are never used.
template <class Read>
void fuzz(int seed, int count, Read read)
{
    UTIL_srand(seed);
    for (int round = 0; round < count; ++round) {
        world_reset_tables();
        try {
            read(round);
            use_tables();
        } catch (const fatal_alert&) {
        }
        clear_alerts();
    }
}

}  // namespace

TEST(FuzzFiles, AirportFilesNeverCrash)
{
    temp_folder folder;
    const std::string good = read_file_bytes(default_nav_file("apt.dat"));
    const std::string old600 = "A\n600 Version\n1 50 0 0 KOLD Old Field\n"
                               "10 30.0 -90.0 18 180 3000 0.0 0.0 100 2000000\n"
                               "15 30.0 -90.0 -90 start\n50 12345 ATIS\n19 1 1 1 w\n14 1 1 10 x\n18 1 1 1 b\n99\n";
    fuzz(11, rounds(), [&](int round) {
        path_buffer path(folder.write("apt.dat", damaged(round % 5 == 0 ? old600 : good, 4)).string());
        APT_parse(7, path, round % 2);
    });
}

TEST(FuzzFiles, NavaidFixAndAirwayFilesNeverCrash)
{
    temp_folder folder;
    for (const char* name : {"nav.dat", "fix.dat", "awy.dat"}) {
        const std::string good = read_file_bytes(default_nav_file(name));
        fuzz(12, rounds(), [&](int) {
            path_buffer path(folder.write(name, damaged(good, 4)).string());
            if (name[0] == 'n') NAV_parse_navaids(7, path);
            if (name[0] == 'f') NAV_parse_fixes(7, path);
            if (name[0] == 'a') NAV_parse_airways(7, path);
        });
    }
}

TEST(FuzzFiles, CustomSceneryPackagesNeverCrash)
{
    temp_folder folder;
    world_use_program_folder(folder);
    const std::string good = read_file_bytes(default_nav_file("apt.dat"));
    fuzz(13, rounds() / 4, [&](int) {
        path_buffer main_path(folder.write("Resources/Earth nav data/apt.dat", good).string());
        ASSERT_EQ(APT_parse(7, main_path, 0), 1);
        for (int p = 0; p < 3; ++p)
            folder.write("Custom Scenery/pack" + std::to_string(p) + "/Earth nav data/apt.dat", damaged(good, 2));
        APT_load(nullptr);
    });
}

namespace {

// The outputs of one weather read, each starting at a value no group gives.
struct weather_outputs {
    static constexpr float UNSET = -12345.0f;
    float time = UNSET, visibility = UNSET, temperature = UNSET, dewpoint = UNSET, direction = UNSET,
          speed = UNSET, gust = UNSET, pressure = UNSET;
    int type[2] = {-7, -7};
    float base[2] = {UNSET, UNSET}, top[2] = {UNSET, UNSET};
    int kind = -7, level = -7;

    int read(float lat, float lon)
    {
        return METAR_read(lat, lon, &time, type, base, top, &visibility, &kind, &level, &temperature, &dewpoint,
                          &direction, &speed, &gust, &pressure);
    }
};

// Every output is untouched or holds a value its group can give: finite and
// within the range of the group's digits.
void expect_sound(const weather_outputs& w, int result, const std::string& file)
{
    const weather_outputs unset;
    const float U = weather_outputs::UNSET;
    auto within = [](float v, float lo, float hi) { return v == weather_outputs::UNSET || (std::isfinite(v) && v >= lo && v <= hi); };
    if (result < 0) {
        ASSERT_EQ(std::memcmp(&w, &unset, sizeof w), 0) << file;
        return;
    }
    ASSERT_TRUE(within(w.time, -12 * 3600.0f, 100 * 3600.0f)) << w.time << file;
    for (int n = 0; n < 2; ++n) {
        ASSERT_TRUE(w.type[n] >= 0 && w.type[n] <= 4) << file;
        ASSERT_TRUE(std::isfinite(w.base[n]) && w.base[n] <= METAR_NO_CLOUD_BASE && w.base[n] != U) << file;
        ASSERT_TRUE(std::isfinite(w.top[n]) && w.top[n] >= 0.0f) << file;
        if (w.type[n] == 0) {
            ASSERT_TRUE(w.base[n] == METAR_NO_CLOUD_BASE && w.top[n] == 0.0f) << file;
        }
    }
    ASSERT_TRUE(within(w.visibility, -1111.0f, 200 * 1609.344f)) << w.visibility << file;
    ASSERT_TRUE(w.kind >= 0 && w.kind <= 2 && w.level >= 0 && w.level <= 3) << file;
    ASSERT_TRUE(within(w.temperature, -99.0f, 120.0f)) << w.temperature << file;
    ASSERT_TRUE(within(w.dewpoint, -99.0f, 99.0f)) << w.dewpoint << file;
    ASSERT_TRUE(within(w.direction, -1200.0f, 1200.0f)) << w.direction << file;
    ASSERT_TRUE(within(w.speed, -250.0f, 2000.0f)) << w.speed << file;
    // A wind shear without a surface wind in the report counts from the wind passed in.
    ASSERT_TRUE(within(w.gust, -2100.0f - std::max(0.0f, w.speed), 2100.0f + std::max(0.0f, -w.speed))) << w.gust << file;
    ASSERT_TRUE(within(w.pressure, -12.0f, 9999 * 0.029528744f + 1e-3f)) << w.pressure << file;
}

}  // namespace

TEST(FuzzFiles, WeatherReportsNeverCrashAndGiveOnlySoundValues)
{
    temp_folder folder;
    world_use_program_folder(folder);
    const std::string apt = read_file_bytes(default_nav_file("apt.dat"));
    const std::string good =
        "2024/05/06 18:53\n"
        "METAR KSBD 061853Z VRB05G15KT 1 1/2SM R24/4000FT -TSRA FEW250 BKN035CB OVC100 WS020/27045KT A2992 Q1013 M05/M10 RMK x\n"
        "SPECI KONT 061853Z 27015MPS 240V300 9999 SM KT 15/08 9/ M/M 1/0SM P6SM M1/4SM 3/16SM SCT025TCU\r\n"
        "KRAL 061853Z 00000KMH 10SM R05L/P1500N +SN CLR 20/10 A3001 A0000 Q0000\n";
    world_reset_tables();
    path_buffer main_path(folder.write("apt.dat", apt).string());
    ASSERT_EQ(APT_parse(7, main_path, 0), 1);
    UTIL_srand(14);
    const float where[3][2] = {{34.0f, -117.3f}, {34.06f, -117.6f}, {33.95f, -117.44f}};
    for (int round = 0; round < 4 * rounds(); ++round) {
        const std::string file = damaged(good, 4);
        folder.write("metar.rwx", file);
        weather_outputs w;
        const float* at = where[round % 3];
        expect_sound(w, w.read(at[0], at[1]), file);
        if (HasFatalFailure()) return;
    }

    // Reports made of groups drawn at random, whole and damaged, in any order.
    static const char* const groups[] = {
        "061853Z", "27015KT", "27015G25KT", "27025G15KT", "VRB05KT", "05008MPS", "05008G13MPS", "27036KMH", "MPS",
        "KMH", "G", "GKT", "99999G999MPS", "-----KT", "+++++G++KMH", "240V300", "9V9", "9999", "0800", "-999", "----",
        "1", "12", "1/2SM", "M1/4SM", "1/16SM", "99/99SM", "99/0SM", "1/SM", "/SM", "M/SM", "P6SM", "10SM", "SM",
        "R28L/2400FT", "R28/", "R/", "R99X/1", "+SN", "-TSRA", "SQ", "GR", "BR", "FEW250", "SCT025TCU", "BKN030CB",
        "OVC100", "OVC---", "FEW+++CB", "WS020/27045KT", "WS", "WS/////////", "A2992", "A0000", "A----", "A9999",
        "Q1013", "Q0000", "Q++++", "M05/M10", "15/08", "M/M", "--/--", "RMK", "", "X"};
    for (int round = 0; round < 4 * rounds(); ++round) {
        std::string line = "KSBD";
        for (int n = static_cast<int>(pick(50)); n > 0; --n) line += std::string(" ") + groups[pick(std::size(groups))];
        const std::string file = line + "\n";
        folder.write("metar.rwx", file);
        weather_outputs w;
        expect_sound(w, w.read(34.0f, -117.3f), file);
        if (HasFatalFailure()) return;
    }
}
