// The flight-plan reader over a file of arbitrary bytes, opened through the
// file browser as the pilot opens one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/datafile.h"
#include "core/file_browser.h"
#include "flightmodel/systems/flight_plan.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string plan_file;

int chosen(int, int, char* name, char* path)
{
    std::strncpy(path, plan_file.c_str(), TEXT_SIZE - 1);
    std::strncpy(name, "FUZZ.FMS", TEXT_SIZE - 1);
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (plan_file.empty()) {
        plan_file = fuzz_program_folder() + "FUZZ.fms";
        UI_set_file_browser(chosen);
    }
    return fuzz_read_file(plan_file, data, size, [] {
        fms_plan = fms_plan_record{};
        FMS_file_open_save(FMS_OPEN);
    });
}
