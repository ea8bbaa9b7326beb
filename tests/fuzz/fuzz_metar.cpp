// The weather report reader over a report file of arbitrary bytes in the
// program folder, with a fixed airport table for its stations. What it read
// is used as the program uses it: the real weather at the plane over a few
// stations (the weather block's targets and eased values), and the airport
// information broadcast and the runway in use that the controller speaks.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/folders.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/weather.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/atc.h"
#include "world/navdb.h"

namespace {

// Four stations near each other, so a report may be the nearest for more than one place.
constexpr const char* airports =
    "I\n703 Version\n"
    "1   1159 1 0 KSBD San Bernardino\n"
    "10  34.095400 -117.234900 06x  71.90 10001 0.0000 0.0000  200 354141 2 0 3 0.25 1\n"
    "1    944 1 0 KONT Ontario\n"
    "10  34.055000 -117.600000 08L  69.00 12197 0.0000 0.0000  150 111111 1 0 3 0.25 1\n"
    "10  34.052000 -117.600000 08R  69.00 10200 0.0000 0.0000  150 111111 1 0 3 0.25 1\n"
    "1    764 0 0 KRAL Riverside\n"
    "10  33.951900 -117.445100 09   90.00  5401 0.0000 0.0000  100 111111 1 0 3 0.25 1\n"
    "1      0 0 0 KTST Test Point\n"
    "10  34.000000 -117.000000 18  180.00  3000 0.0000 0.0000   75 000000 1 0 0 0.25 0\n"
    "99\n";
constexpr int AIRPORTS = 4;
constexpr float places[3][2] = {{34.0f, -117.3f}, {34.06f, -117.6f}, {33.95f, -117.44f}};

struct kept_state {
    sim_weather_block weather;
    float pressure_p;
};

kept_state set_up()
{
    const std::string apt = fuzz_program_folder() + "Resources/Earth nav data/apt.dat";
    fuzz_write_file(apt, reinterpret_cast<const uint8_t*>(airports), std::strlen(airports));
    char path[TEXT_SIZE];
    UTIL_strcpy(apt.c_str(), path);
    APT_parse(7, path, 0);
    sim_weather.use_real_weather_bool = 1;
    return {sim_weather, sim_physics.earth_pressure_p};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const kept_state start = set_up();
    static const std::string file = std::string(program_folder) + "metar.rwx";
    return fuzz_read_file(file, data, size, [] {
        sim_weather = start.weather;
        sim_physics.earth_pressure_p = start.pressure_p;
        for (const auto& p : places) {
            WEATHER_reset();
            flt[0].latitude = p[0];
            flt[0].longitude = p[1];
            for (int frame = 0; frame < 3; ++frame) WEATHER_real_weather();
        }
        char text[TEXT_SIZE];
        for (int a = 0; a < AIRPORTS; ++a) {
            ATC_atis(a, 'A', text, 1);
            int runway = 0, end = 0, found = 0, localizer = 0;
            ATC_active_runway(a, runway, end, found, localizer, 1);
        }
    });
}
