// Preferences, saved situations and movies: one routine reads and writes
// every kind, walking the same field order for both directions.
#pragma once

#include <cstdint>

constexpr int PREFS_KIND_GENERAL = 0;
constexpr int PREFS_KIND_RESOLUTION = 1;
constexpr int PREFS_KIND_PILOT = 2;
constexpr int PREFS_KIND_SITUATION = 4;
constexpr int PREFS_KIND_MOVIE = 5;
constexpr int PREFS_READ = 7;
constexpr int PREFS_WRITE = 8;

// File versions of the kinds.
constexpr int PREFS_VERSION = 710;            // general, pilot, situation and movie files
constexpr int PREFS_RESOLUTION_VERSION = 3;

// Reads (mode 7) or writes (mode 8) one kind of file. A missing, unreadable or
// other-version file leaves every value as it was. A file is written to a
// temporary file beside the path first and put in its place only when every
// byte is on the disk, so a failed save keeps the previous file. A bad kind or mode raises
// the fatal alert "Bad pref arg!".
void PREFS_read_write(int kind, int mode, const char* path);
//
// Reading the user's general, resolution or pilot preferences: a file that is
// there but cannot be read (another mark or version, or shorter than its
// record) is renamed to "<name>.damaged" beside the path with a notice, so the
// save at quit does not overwrite it with the defaults.

// True when the binary file of this kind (general, resolution, situation or
// movie) opens as its kind and version and holds the whole record: a
// situation cut short is refused before any of it is applied.
bool PREFS_file_whole(int kind, const char* path);

// Field transfers on the open data file (mode 7 read, 8 write). Binary files:
// 4 raw bytes least significant first (texts: exactly size bytes); a value
// whose bytes are missing at the end of the file is not applied. Text files:
// read with the label "io"; ints written right-aligned in 6 characters, floats
// in fixed notation with 6 decimals in 12. When reading with store 0 the value
// is consumed and dropped.
void PREFS_transfer_int(int store, int32_t* place, int mode);
void PREFS_transfer_float(int store, float* place, int mode);
void PREFS_transfer_string(int store, char* text, int mode, int size);

// The settings a peer's command may change for the flight but which stay the
// user's to keep: Show Panel Click Spots (command 1206). While a command
// runs the spine watches them; one a peer's command changed is written into
// the preferences and situations with the user's own value (a peer's choice
// does not outlive the flight). One the user's own command changes, or a file
// read sets, is the user's again.
constexpr int PREFS_PEER_SETTINGS = 1;
class PREFS_peer_setting_watch {
public:
    explicit PREFS_peer_setting_watch(bool from_peer);
    ~PREFS_peer_setting_watch();
    PREFS_peer_setting_watch(const PREFS_peer_setting_watch&) = delete;
    PREFS_peer_setting_watch& operator=(const PREFS_peer_setting_watch&) = delete;

private:
    bool from_peer_;
    int32_t before_[PREFS_PEER_SETTINGS];
};

// The pilot preferences: the name of the pilot's logbook file (core/pilot_prefs.h).
#include "core/pilot_prefs.h"
