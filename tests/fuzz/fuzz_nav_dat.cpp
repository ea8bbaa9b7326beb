// The navaid database reader over a "nav.dat" of arbitrary bytes, loaded
// with the other databases and used as the start-up uses it (navdb_drive.h).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/navdb_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return navdb_drive::run("nav.dat", data, size);
}
