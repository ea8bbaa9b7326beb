// The aircraft file reader, loading into the user's plane as the program
// loads a chosen aircraft (airfoils, derived values, checks, the whole
// set-up with weapons, panel and sounds), then a few frames of flight.
//
// An input that starts with a byte-order letter ('i' or 'a') is the file as
// it stands, of any version. Any other first byte makes an old-layout file:
// its bit 0 chooses version 626 over 600, bit 1 the letter 'a'; the body is
// the least aircraft that passes the checks, and the rest of the input is a
// run of changes to it, each a 3-byte offset into the body (least
// significant first, taken modulo its size) and the 4 bytes put there. The
// old layout's fields lie far into a body of 430 kB and more, which changes
// reach where mutating a whole body could not.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_old_file.h"
#include "core/datafile.h"
#include "tests/fuzz/fuzz_aircraft.h"

namespace {

void put_word(std::vector<uint8_t>& body, std::size_t offset, const void* word) { std::memcpy(&body[offset], word, 4); }
void put_f(std::vector<uint8_t>& body, std::size_t offset, float v) { put_word(body, offset, &v); }
void put_i(std::vector<uint8_t>& body, std::size_t offset, int32_t v) { put_word(body, offset, &v); }

// The old-layout file an input of the second kind stands for.
std::vector<uint8_t> old_file(const uint8_t* data, size_t size)
{
    const int version = data[0] & 1 ? ACF_OLD_VERSION_626 : ACF_OLD_VERSION_600;
    const char letter = data[0] & 2 ? 'a' : 'i';
    const std::size_t body_size = version == ACF_OLD_VERSION_600 ? ACF_OLD_BODY_SIZE_600 : ACF_OLD_RECORD_SIZE;
    std::vector<uint8_t> body(body_size, 0);
    std::memcpy(&body[ACF_OLD_TAILNUM], "OV-OLD", 7);
    put_f(body, 1108, 160.0f);      // never-exceed speed
    put_f(body, 431856, 1500.0f);   // empty mass
    put_f(body, 431864, 2400.0f);   // maximum mass
    put_f(body, 431028, 4.0f);      // equilibrium height
    put_f(body, 6072, 1.0f);        // forward throttle limit
    for (int s = 0; s < 200; ++s) put_i(body, 1256 + 4 * s, -1);   // an empty panel
    for (int k = 0; k < 20; ++k)    // the fuselage, old part 36: stations at distinct places
        for (int j = 0; j < 18; ++j) put_f(body, 344124 + 4 * ((36 * 20 + k) * 18 + j), 2.0f * k);
    for (size_t at = 1; at + 7 <= size; at += 7) {
        const std::size_t offset = (data[at] | data[at + 1] << 8 | data[at + 2] << 16) % (body_size - 3);
        std::memcpy(&body[offset], data + at + 3, 4);
    }
    uint32_t v = static_cast<uint32_t>(version);
    if (letter == 'a') v = FILE_swap32(v);
    std::vector<uint8_t> file(1, static_cast<uint8_t>(letter));
    file.insert(file.end(), reinterpret_cast<const uint8_t*>(&v), reinterpret_cast<const uint8_t*>(&v) + 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string file = fuzz_aircraft::program_folder_laid_out() + "AIRCRAFT:FUZZ.ACF";
    std::vector<uint8_t> made;
    if (size > 0 && data[0] != 'i' && data[0] != 'a') {
        made = old_file(data, size);
        data = made.data();
        size = made.size();
    }
    return fuzz_read_file(file, data, size, [] {
        fuzz_aircraft::reset_world();
        UTIL_strcpy(file.c_str(), pln[0].acf_file_path);
        if (ACF_load_and_setup(0)) fuzz_aircraft::fly(5);
    });
}
