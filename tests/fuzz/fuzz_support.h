// What the fuzz targets share: a program folder of their own, the alert
// routine made to throw on a fatal alert (an alert is the reader's answer to
// a damaged input, not a fault), an offscreen OpenGL context for the readers
// that build display lists, and the input written to a file. The program
// folder is kept in memory (/dev/shm where there is one): a target never
// waits on the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

// Thrown by the alert routine for a fatal alert: the target catches it and
// takes the next input.
struct fuzz_fatal_alert : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A folder in memory for the targets' files: the one ORVELL_FUZZ_FOLDER names
// (the fuzz stage's), else /dev/shm when it can be written, else the
// temporary folder.
std::filesystem::path fuzz_ram_folder();

// Once per process: a fresh program folder under fuzz_ram_folder() (its
// path ends in '/'), the folder table pointing into it, and the alert routine
// replaced. Returns the folder.
const std::string& fuzz_program_folder();

// Once per process: an offscreen window with its OpenGL context; false when
// none could be made.
bool fuzz_gl_context();

// Writes the bytes to the file at `path` (the program's spelling; its folder
// is one the program folder was made with), replacing it.
void fuzz_write_file(const std::string& path, const uint8_t* data, size_t size);

// Writes the input to the file at `path`, then runs `read`, which reads it; a
// fatal alert the reader raises ends the run quietly. Returns 0, the fuzzer's
// answer for an input taken.
template <class Read>
int fuzz_read_file(const std::string& path, const uint8_t* data, size_t size, Read read)
{
    fuzz_write_file(path, data, size);
    try {
        read();
    } catch (const fuzz_fatal_alert&) {
    }
    return 0;
}

// The number of notices and fatal alerts raised since the process started.
int fuzz_alert_count();

// The input read as a stream of call arguments: bytes, little-endian words,
// floats with the words' bits, and texts of a length byte and that many
// bytes. Past the end every read gives 0.
struct fuzz_input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool more() const { return at < size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    uint32_t word()
    {
        uint32_t w = 0;
        for (int k = 0; k < 4; ++k) w |= static_cast<uint32_t>(byte()) << (8 * k);
        return w;
    }
    int32_t integer() { return static_cast<int32_t>(word()); }
    float real()
    {
        const uint32_t w = word();
        float f;
        std::memcpy(&f, &w, 4);
        return f;
    }
    double number() { return static_cast<double>(real()); }
    std::string text()
    {
        std::string t;
        for (int n = byte(); n > 0 && more(); --n) t.push_back(static_cast<char>(byte()));
        return t;
    }
};
