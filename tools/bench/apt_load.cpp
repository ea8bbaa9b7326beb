// Loading a large airport database: airports and megabytes read per second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/alert.h"
#include "world/navdb.h"

#define GEN_BIG_APT_NO_MAIN
#include "tools/gen_big_apt.cpp"

namespace {

struct big_file {
    std::filesystem::path folder;
    std::string path;
    big_apt_counts counts;

    big_file()
    {
        folder = std::filesystem::temp_directory_path() / ("orvell-bench-apt-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / "apt.dat").string();
        if (!gen_big_apt_write(path.c_str(), 1, 40000, counts)) counts = big_apt_counts{};
    }
    ~big_file()
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_apt_load(benchmark::State& state)
{
    static big_file file;
    if (file.counts.airports == 0) {
        state.SkipWithError("could not write the airport file");
        return;
    }
    for (auto _ : state) {
        char path[500] = {};
        file.path.copy(path, sizeof path - 1);
        benchmark::DoNotOptimize(APT_parse(7, path, 0));
    }
    if (airport_table.size() != static_cast<size_t>(file.counts.airports)) state.SkipWithError("airports lost");
    state.counters["airports/s"] =
        benchmark::Counter(static_cast<double>(file.counts.airports), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(file.counts.bytes) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    state.counters["runway_rows"] = static_cast<double>(file.counts.runway_rows);
}
BENCHMARK(BM_apt_load)->Unit(benchmark::kMillisecond);

}  // namespace
