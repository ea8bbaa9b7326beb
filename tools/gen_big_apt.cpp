// Writes a large airport database ("apt.dat", version 703) of random but
// valid airports, for load benchmarks. The same seed gives the same file.
//
//   gen_big_apt <output file> [seed] [airport count]
//
// Defaults: seed 1, 40,000 airports (about 140,000 runway and taxiway rows).

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/plat_files.h"
#include "core/random.h"

struct big_apt_counts {
    int64_t airports = 0;
    int64_t runway_rows = 0;
    int64_t bytes = 0;
};

namespace big_apt {

// A number 0 .. n-1 from two draws of the 15-bit generator.
inline int pick(int n) { return static_cast<int>(((static_cast<int64_t>(UTIL_rand()) << 15) | UTIL_rand()) % n); }
inline double uniform(double lo, double hi) { return lo + (hi - lo) * pick(1000000) / 1000000.0; }

inline void append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
inline void append(std::string& out, const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n > 0) out.append(line, static_cast<size_t>(n < static_cast<int>(sizeof line) ? n : sizeof line - 1));
}

}  // namespace big_apt

// Builds the file's text; the counts say what it holds.
inline std::string gen_big_apt_text(uint32_t seed, int airports, big_apt_counts& counts)
{
    using namespace big_apt;
    static const char* const words[] = {"Valley", "County", "Regional", "Municipal", "Field", "Intl",
                                        "Lake",   "River",  "Mesa",     "Pines",     "Creek", "Harbor"};
    static const char sides[] = {'L', 'R', 'C', 'x'};
    static const char digits36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    UTIL_srand(seed);
    counts = big_apt_counts{};
    std::string out = "I\n703 Version - generated test data\n";
    out.reserve(static_cast<size_t>(airports) * 520);

    for (int i = 0; i < airports; ++i) {
        // A unique four-character id: the index in base 36.
        char id[5];
        int v = i;
        for (int k = 3; k >= 0; --k) {
            id[k] = digits36[v % 36];
            v /= 36;
        }
        id[4] = 0;
        const double lat = uniform(-60.0, 70.0);
        const double lon = uniform(-179.0, 179.0);
        const int elevation = pick(8000) - 100;
        append(out, "1 %d %d %d %s %s %s\n", elevation, pick(2), pick(2), id, words[pick(12)], words[pick(12)]);

        const int runways = 1 + pick(6);
        const int base = pick(36);
        for (int r = 0; r < runways; ++r) {
            const int number = (base + 3 * r) % 36 + 1;
            const double heading = number * 10.0 - 5.0 + uniform(0.0, 10.0);
            append(out, "10 %.6f %.6f %02d%c %.2f %d %.4f %.4f %d %d%d%d%d%d%d %d %d %d %.2f %d\n",
                   lat + uniform(-0.01, 0.01), lon + uniform(-0.01, 0.01), number, sides[pick(4)], heading,
                   2000 + pick(11000), pick(3) == 0 ? uniform(0.0, 500.0) : 0.0, 0.0, 50 + pick(150), 1 + pick(4),
                   1 + pick(6), 1 + pick(8), 1 + pick(4), 1 + pick(6), 1 + pick(8), 1 + pick(13), pick(2), pick(4),
                   uniform(0.0, 1.0), pick(2));
            ++counts.runway_rows;
        }
        const int taxiways = pick(3);
        for (int t = 0; t < taxiways; ++t) {
            append(out, "10 %.6f %.6f xxx %.2f %d 0.0000 0.0000 %d 000000 1 0 0 0.25 0\n", lat + uniform(-0.01, 0.01),
                   lon + uniform(-0.01, 0.01), uniform(0.0, 360.0), 500 + pick(3000), 40 + pick(40));
            ++counts.runway_rows;
        }
        if (pick(4) == 0) append(out, "14 %.6f %.6f %d 0 Tower\n", lat + 0.002, lon + 0.002, 30 + pick(100));
        if (pick(4) == 0) append(out, "18 %.6f %.6f 1 BCN\n", lat - 0.002, lon + 0.002);
        if (pick(3) == 0) append(out, "19 %.6f %.6f %d WS\n", lat + 0.001, lon - 0.003, pick(2));
        const int starts = pick(3);
        for (int s = 0; s < starts; ++s)
            append(out, "15 %.6f %.6f %.2f Ramp %d\n", lat + uniform(-0.005, 0.005), lon + uniform(-0.005, 0.005),
                   uniform(-10.0, 370.0), s + 1);
        const int frequencies = pick(4);
        for (int f = 0; f < frequencies; ++f) append(out, "%d %d %s\n", 50 + f * 2, 11800 + pick(1800), "Radio");
        ++counts.airports;
    }
    out += "99\n";
    counts.bytes = static_cast<int64_t>(out.size());
    return out;
}

// Writes the file; false when it cannot be written.
inline bool gen_big_apt_write(const char* path, uint32_t seed, int airports, big_apt_counts& counts)
{
    const std::string text = gen_big_apt_text(seed, airports, counts);
    FILE* f = PLAT_fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

#ifndef GEN_BIG_APT_NO_MAIN
int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_big_apt <output file> [seed] [airport count]\n");
        return 2;
    }
    const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    const int airports = argc > 3 ? std::atoi(argv[3]) : 40000;
    big_apt_counts counts;
    if (airports < 1 || !gen_big_apt_write(argv[1], seed, airports, counts)) {
        std::fprintf(stderr, "gen_big_apt: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld airports, %lld runway rows, %lld bytes\n", static_cast<long long>(counts.airports),
                static_cast<long long>(counts.runway_rows), static_cast<long long>(counts.bytes));
    return 0;
}
#endif
