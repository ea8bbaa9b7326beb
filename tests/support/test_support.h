// Helpers shared by the test binaries: the recording alert handler, temporary
// folders and byte-exact file helpers.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

struct alert_record {
    int return_mode = 0;
    std::string lines[4];
    int code = 0;
};

// Thrown by the test alert handler for a fatal alert (code 17).
struct fatal_alert : std::runtime_error {
    alert_record alert;
    explicit fatal_alert(const alert_record& a) : std::runtime_error(a.lines[0]), alert(a) {}
};

// While it lives, the way up `entry` of core/hooks.h leads to `to`, a test's
// own answer; the installed target comes back when it goes.
template <class F>
class hook_override {
public:
    hook_override(F& entry, std::type_identity_t<F> to) : entry_(entry), kept_(entry) { entry = to; }
    ~hook_override() { entry_ = kept_; }
    hook_override(const hook_override&) = delete;
    hook_override& operator=(const hook_override&) = delete;

private:
    F& entry_;
    F kept_;
};

// Every alert raised since the last clear_alerts().
extern std::vector<alert_record> recorded_alerts;
void clear_alerts();

// Runs f and returns the fatal alert it raised; fails the test when none was raised.
template <class F>
alert_record expect_fatal(F&& f)
{
    try {
        f();
    } catch (const fatal_alert& e) {
        return e.alert;
    }
    throw std::runtime_error("expected a fatal alert, none was raised");
}

// A fresh folder under the system's temporary folder, removed with its contents
// when it goes, or at the latest when the process that made it exits.
class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder's path with a trailing '/', as the program folder is kept.
    std::string prefix() const { return path_.string() + "/"; }
    // Writes a file below the folder (creating its parent folders).
    std::filesystem::path write(const std::string& relative, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// While it lives, the process works in a fresh temporary folder with the
// program's three logs open there; at the end the logs are closed and the
// previous working folder comes back.
class logs_folder {
public:
    logs_folder();
    ~logs_folder();
    const std::filesystem::path& path() const { return folder_.path(); }
    // What the report log (ORVELL.OUT) holds so far.
    std::string report() const;

private:
    temp_folder folder_;
    std::filesystem::path kept_;
};

// While it lives, no file of this process can grow beyond `bytes`: a write
// past the limit fails (the program is expected to cope with the limit's
// signal itself). The previous limit comes back at the end of the scope.
class file_size_limit {
public:
    explicit file_size_limit(unsigned long bytes);
    ~file_size_limit();
    file_size_limit(const file_size_limit&) = delete;
    file_size_limit& operator=(const file_size_limit&) = delete;

private:
    unsigned long previous_ = 0;
    bool set_ = false;
};

std::string read_file_bytes(const std::filesystem::path& p);
void write_file_bytes(const std::filesystem::path& p, const std::string& bytes);
// Puts the built default data's aircraft into a program folder (as links, not
// copies): "Aircraft", "Airfoils", the panel bitmaps and instrument faces
// in "RESOURCES/BITMAPS/" and the sounds (unless the folder has its own), so
// the aircraft loads of the folder find the fleet and its sounds.
void link_default_aircraft(const std::filesystem::path& folder);

// The aircraft file of this name (letter case aside) in the data folder the
// build lays out, or "" when it is not there.
std::string built_aircraft_file(const std::string& name);

// The path of a file in tests/fixtures.
std::string fixture_path(const std::string& name);
