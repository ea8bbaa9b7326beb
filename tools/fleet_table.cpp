// Prints the fleet's flight-test table: every row flown through the whole
// simulation cycle by the flight tests' pilot, beside the published figure
// of the aircraft's class.
//
//   fleet_table [--trace] [--report seconds] <program folder> [aircraft [row number]]
//
// The program folder is the build folder the aircraft files were generated
// into; the aircraft is one of trainer, airliner, twin, striker, glider, floatplane, orbiter,
// helicopter, or afloat (the float plane's rows afloat)
// (all of them when left out), and of its rows the one numbered (from 1);
// a row still open (not yet within its band) is marked OPEN with its cause;
// --trace prints the flight's state twice a second, --report writes the
// force build-up's report of the frame at that time of the flight to ORVELL.OUT.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/main.h"
#include "tests/support/fleet_flight_kit.h"

int main(int argc, char** argv)
{
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        const std::string option = argv[first];
        if (option == "--trace")
            fleet_kit::trace(true);
        else if (option == "--report" && first + 1 < argc)
            fleet_kit::report_frame(std::strtof(argv[++first], nullptr));
    }
    if (argc <= first) {
        std::fprintf(stderr, "usage: fleet_table [--trace] [--report seconds] <program folder> [aircraft [row number]]\n");
        return EXIT_FAILURE;
    }
    // Aircraft load their textures and instrument pictures as in the program.
    APPLICATION_install_hooks();
    fleet_kit::use_data_folder(argv[first]);
    auto rows = fleet_kit::table(argc > first + 1 ? argv[first + 1] : "");
    if (argc > first + 2) {
        const long n = std::strtol(argv[first + 2], nullptr, 10);
        if (n < 1 || n > static_cast<long>(rows.size())) {
            std::fprintf(stderr, "fleet_table: no row %ld\n", n);
            return EXIT_FAILURE;
        }
        rows = {rows[static_cast<size_t>(n - 1)]};
    }
    if (rows.empty()) {
        std::fprintf(stderr, "fleet_table: no rows for that aircraft\n");
        return EXIT_FAILURE;
    }
    int outside = 0;
    std::printf("%-11s %-68s %9s %9s %8s  %s\n", "aircraft", "quantity", "model", "reference", "off", "accepted");
    for (const fleet_kit::row& r : rows) {
        const float m = r.fly();
        const bool ok = m >= r.low && m <= r.high;
        outside += ok || r.open ? 0 : 1;
        char off[16] = "";
        if (r.reference != 0.0f && std::isfinite(m)) std::snprintf(off, sizeof off, "%+.1f%%", 100.0f * fleet_kit::off(r, m));
        std::printf("%-11s %-68s %9.4g %9.4g %8s  %.4g..%.4g%s", r.aircraft.c_str(), r.quantity.c_str(), m, r.reference,
                    off, r.low, r.high, ok ? "" : (r.open ? "  OPEN" : "  OUTSIDE"));
        if (r.file_speed) {
            // The file's own speed for this figure must agree within 5%.
            const float v = r.file_speed();
            const bool agrees = v > 0.0f && std::fabs(m / v - 1.0f) <= 0.05f;
            outside += agrees ? 0 : 1;
            std::printf("  (file %s %.4g%s)", r.file_field, v, agrees ? "" : ", DISAGREES");
        }
        if (r.open && !ok) std::printf("  (%s)", r.open);
        std::printf("\n");
        std::fflush(stdout);
    }
    return outside ? 2 : EXIT_SUCCESS;
}
