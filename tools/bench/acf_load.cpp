// Loading an aircraft into a plane slot with its whole set-up: the trainer and
// the airliner of the data folder laid out beside the benchmark, into slot 1
// (no report, panel or sounds, as for every slot but the user's).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/ui_text.h"
#include "shell/main.h"

namespace {

int alerts = 0;
void count_alert(int, const char* const[4], int) { ++alerts; }

void load(benchmark::State& state, const char* relative)
{
    static const bool ready = [] {
        MACIBM_set_alert_handler(count_alert);
        FOLDERS_init();   // the data folder lies beside the benchmark
        CONST_fill_constants();
        UTIL_strcpy("AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", default_aircraft_path);
        UTIL_strcpy("ORVELL TRAINER.ACF", default_aircraft_name);
        return true;
    }();
    (void)ready;
    char path[TEXT_SIZE];
    UTIL_strcat3(program_folder, relative, path);
    int read = 1;
    for (auto _ : state) {
        UTIL_strcpy(static_cast<const char*>(path), pln[1].acf_file_path);
        read &= ACF_load_and_setup(1);
        benchmark::DoNotOptimize(pln[1].acf_Jxx_unitmass);
    }
    if (!read || alerts) state.SkipWithError("the aircraft did not load (is the data folder laid out?)");
}

void BM_load_trainer(benchmark::State& state) { load(state, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF"); }
void BM_load_airliner(benchmark::State& state) { load(state, "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF"); }

}  // namespace

BENCHMARK(BM_load_trainer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_load_airliner)->Unit(benchmark::kMillisecond);
