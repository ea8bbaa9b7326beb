// Damaged navigation files and weather reports: random mutations of valid
// files (fixed seeds, many rounds) must be read or refused, never crash or
// read out of bounds (the sanitizers watch); alerts are fine. Every reader's
// result is then used the way the rest of the program uses it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "shell/alert.h"
#include "shell/geo.h"
#include "shell/random.h"
#include "shell/simvars.h"
#include "tests/world/world_test_util.h"
#include "world/metar.h"
#include "world/navdb.h"
#include "world/runway_outline.h"

namespace {

std::filesystem::path default_nav_file(const char* name)
{
    return std::filesystem::path(fixture_path("")) / ".." / ".." / "data" / "nav" / "Earth nav data" / name;
}

// A number 0 .. n-1.
size_t pick(size_t n)
{
    return n ? (static_cast<size_t>(UTIL_rand()) << 15 | static_cast<size_t>(UTIL_rand())) % n : 0;
}

// One random damage: bytes overwritten, inserted, removed or repeated, a line
// doubled until it is very long, line ends changed, numbers made huge or
// non-numeric, the file cut short.
void damage(std::string& s)
{
    static const char* const pieces[] = {"\r\n", "\n", "\r", " ", "99", "99\n", "-", "x", "\xff", "\0", ".",
                                         "1e999", "nan", "-inf", "999999999999999999999999999999999999999999",
                                         "0.00000000000000000000000000000000000000000000001", "10 ", "1 ",
                                         "15 ", "50 ", "56 ", "17 ", "16 "};
    const size_t at = pick(s.size() + 1);
    switch (UTIL_rand() % 9) {
    case 0:
        if (!s.empty()) s[pick(s.size())] = static_cast<char>(UTIL_rand() & 0xff);
        break;
    case 1: {
        const char* p = pieces[pick(sizeof pieces / sizeof pieces[0])];
        s.insert(at, p, std::strlen(p) ? std::strlen(p) : 1);
        break;
    }
    case 2: s.erase(at, pick(40)); break;
    case 3: {
        const size_t from = pick(s.size() + 1);
        s.insert(at, s.substr(from, pick(200)));
        break;
    }
    case 4: {
        // A very long line.
        std::string run(pick(3000) + 500, "A 9-."[pick(5)]);
        s.insert(at, run);
        break;
    }
    case 5: {
        std::string crlf;
        for (const char c : s) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        s = crlf;
        break;
    }
    case 6: {
        // Every row after the header on one huge line (or the whole file, now and then).
        size_t from = s.find('\n');
        if (from != std::string::npos && UTIL_rand() % 4) from = s.find('\n', from + 1);
        for (size_t i = from == std::string::npos ? 0 : from + 1; i < s.size(); ++i)
            if (s[i] == '\n' || s[i] == '\r') s[i] = ' ';
        break;
    }
    case 7: s.resize(at); break;
    default: {
        // A field replaced by a huge or non-numeric value.
        const size_t space = s.find(' ', at);
        if (space != std::string::npos) {
            const char* p = pieces[11 + pick(5)];
            s.insert(space + 1, p);
        }
        break;
    }
    }
}

// Uses every record the way the rest of the program does.
void use_tables()
{
    for (int i = 0; i < static_cast<int>(airport_table.size()); ++i) {
        const airport_record& a = airport_table[static_cast<size_t>(i)];
        ASSERT_FALSE(a.runways.empty());
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
        if (std::abs(a.runways[0].lat) < 500.0f && std::abs(a.runways[0].lon) < 500.0f) {
            ASSERT_GE(found, 0) << a.id;
        }
    }
    for (const navaid_record& n : navaid_table) {
        int found = -1;
        NAV_find_nearest_by_id(n.id, n.kind, found, 34.0f, -117.0f);
    }
    for (const fix_record& f : fix_table) {
        int found = -1;
        NAV_find_nearest_by_id(f.id, 11, found, 34.0f, -117.0f);
    }
    if (!airport_table.empty()) {
        std::memcpy(start_selection.airport_id, airport_table.back().id, 4);
        start_selection.airport_index = -1;
        APT_find_start_airport();
    }
}

int rounds()
{
    const char* env = std::getenv("ORVELL_FUZZ_ROUNDS");
    return env ? std::atoi(env) : 400;
}

}  // namespace

TEST(FuzzFiles, AirportFilesNeverCrash)
{
    temp_folder folder;
    const std::string good = read_file_bytes(default_nav_file("apt.dat"));
    const std::string old600 = "A\n600 Version\n1 50 0 0 KOLD Old Field\n"
                               "10 30.0 -90.0 18 180 3000 0.0 0.0 100 2000000\n"
                               "15 30.0 -90.0 -90 start\n50 12345 ATIS\n19 1 1 1 w\n14 1 1 10 x\n18 1 1 1 b\n99\n";
    UTIL_srand(11);
    for (int round = 0; round < rounds(); ++round) {
        std::string bad = round % 5 == 0 ? old600 : good;
        const int changes = 1 + UTIL_rand() % 4;
        for (int k = 0; k < changes; ++k) damage(bad);
        world_reset_tables();
        path_buffer path(folder.write("apt.dat", bad).string());
        try {
            APT_parse(7, path, round % 2);
            use_tables();   // a fatal alert ends the program: its tables are never used
        } catch (const fatal_alert&) {
        }
        clear_alerts();
    }
}

TEST(FuzzFiles, NavaidFixAndAirwayFilesNeverCrash)
{
    temp_folder folder;
    const char* names[] = {"nav.dat", "fix.dat", "awy.dat"};
    UTIL_srand(12);
    for (const char* name : names) {
        const std::string good = read_file_bytes(default_nav_file(name));
        for (int round = 0; round < rounds(); ++round) {
            std::string bad = good;
            const int changes = 1 + UTIL_rand() % 4;
            for (int k = 0; k < changes; ++k) damage(bad);
            world_reset_tables();
            path_buffer path(folder.write(name, bad).string());
            try {
                if (name[0] == 'n') NAV_parse_navaids(7, path);
                if (name[0] == 'f') NAV_parse_fixes(7, path);
                if (name[0] == 'a') NAV_parse_airways(7, path);
                use_tables();
            } catch (const fatal_alert&) {
            }
            clear_alerts();
        }
    }
}

TEST(FuzzFiles, CustomSceneryPackagesNeverCrash)
{
    temp_folder folder;
    world_use_program_folder(folder);
    const std::string good = read_file_bytes(default_nav_file("apt.dat"));
    UTIL_srand(13);
    for (int round = 0; round < rounds() / 4; ++round) {
        world_reset_tables();
        path_buffer main_path(folder.write("Resources/Earth nav data/apt.dat", good).string());
        ASSERT_EQ(APT_parse(7, main_path, 0), 1);
        for (int p = 0; p < 3; ++p) {
            std::string bad = good;
            const int changes = UTIL_rand() % 3;
            for (int k = 0; k < changes; ++k) damage(bad);
            folder.write("Custom Scenery/pack" + std::to_string(p) + "/Earth nav data/apt.dat", bad);
        }
        try {
            APT_load(nullptr);
        } catch (const fatal_alert&) {
            clear_alerts();
            continue;
        }
        use_tables();
        // Every id index entry names an airport of the table.
        for (const auto& [key, index] : airport_id_index) {
            ASSERT_GE(index, 0);
            ASSERT_LT(index, static_cast<int32_t>(airport_table.size()));
        }
        clear_alerts();
    }
}

TEST(FuzzFiles, WeatherReportsNeverCrash)
{
    temp_folder folder;
    world_reset_tables();
    world_use_program_folder(folder);
    path_buffer main_path(folder.write("apt.dat", read_file_bytes(default_nav_file("apt.dat"))).string());
    ASSERT_EQ(APT_parse(7, main_path, 0), 1);
    const std::string good =
        "2024/05/06 18:53\n"
        "METAR KSBD 061853Z VRB05G15KT 1 1/2SM -TSRA FEW250 BKN035 OVC100 WS020/27045KT A2992 Q1013 M05/M10 RMK x\n"
        "SPECI KONT 061853Z 27015KT 9999 SM KT 15/08 9/ M/M 1/0SM P6SM 3/4SM\r\n"
        "KRAL 061853Z 00000KT 10SM CLR 20/10 A3001\n";
    UTIL_srand(14);
    for (int round = 0; round < rounds(); ++round) {
        std::string bad = good;
        const int changes = 1 + UTIL_rand() % 4;
        for (int k = 0; k < changes; ++k) damage(bad);
        folder.write("metar.rwx", bad);
        float f[8] = {};
        int types[2] = {}, precip[2] = {};
        float base[2] = {}, top[2] = {};
        METAR_read(34.0f, -117.3f, &f[0], types, base, top, &f[1], &precip[0], &precip[1], &f[2], &f[3], &f[4], &f[5],
                   &f[6], &f[7]);
    }
}
