// The logbook reader over a file of arbitrary bytes in the pilot's logbook
// place; what it read is then written back, as the next flight does.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/folders.h"
#include "core/pilot_prefs.h"
#include "flightmodel/systems/logbook.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = [] {
        fuzz_program_folder();
        std::strncpy(logbook_path, "FUZZ PILOT.txt", PILOT_NAME_SIZE - 1);
        return std::string(folder_table[FOLDER_LOGBOOKS]) + "FUZZ PILOT.txt";
    }();
    return fuzz_read_file(file, data, size, [] {
        logbook = logbook_arrays{};
        logbook_last = -1;
        LOGBOOK_read();
        LOGBOOK_write();
    });
}
