// The three preference files over arbitrary bytes: the input stands in the
// place of each (their versions and kinds tell which reader takes it), read
// as the start reads them (the display settings first, then the general and
// the pilot's, whose logbook is then read), then written back as the end
// of a run writes them.
#include <cstddef>
#include <cstdint>

#include "core/folders.h"
#include "core/reset_registry.h"
#include "flightmodel/systems/logbook.h"
#include "shell/prefs.h"
#include "shell/startup.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        fuzz_program_folder();
        FOLDERS_make_written();
        return true;
    }();
    (void)ready;
    fuzz_write_file(pref_path_resolution, data, size);
    fuzz_write_file(pref_path_pilot, data, size);
    return fuzz_read_file(pref_path_general, data, size, [] {
        RESET_all();
        logbook = logbook_arrays{};
        logbook_last = -1;
        STARTUP_display_defaults();
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_READ, pref_path_general);
        PREFS_read_write(PREFS_KIND_PILOT, PREFS_READ, pref_path_pilot);
        LOGBOOK_read();
        PREFS_read_write(PREFS_KIND_GENERAL, PREFS_WRITE, pref_path_general);
        PREFS_read_write(PREFS_KIND_PILOT, PREFS_WRITE, pref_path_pilot);
        PREFS_read_write(PREFS_KIND_RESOLUTION, PREFS_WRITE, pref_path_resolution);
    });
}
