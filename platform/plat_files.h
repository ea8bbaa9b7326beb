// Files on this disk for data named the program's way.
//
// The program names files by paths whose separators are ':' (colon paths,
// "RESOURCES:KEYS:ORVELL.TXT"), '\' (after the conversion that happens when a
// file is opened) or '/' (the program folder itself). The data spells names
// in upper case while the disk may hold them in any case, so a path is
// resolved one component at a time: the exact name first, then the first
// entry of the folder that matches it ignoring letter case.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

// Turns a program path into a path on this disk. Every '\' and every ':' from
// the third character on is a separator ('/' always is). Components that exist
// are matched exactly or, failing that, case-blind; components that do not
// exist are kept as written, so the result can name a file to create.
std::string PLAT_resolve_path(const char* path);

// What identifies a file or folder on disk and when it last changed, to tell
// whether something read from it earlier still holds. `settled` is set when
// the change lies well before now: the disk stamps changes from a clock that
// moves in ticks of a few milliseconds, so a thing changed just after it was
// read could otherwise carry the same stamp.
struct plat_file_stamp {
    uint64_t device = 0, inode = 0;
    int64_t size = 0, changed_ns = 0;
    bool settled = false;
    bool same_as(const plat_file_stamp& o) const
    {
        return device == o.device && inode == o.inode && size == o.size && changed_ns == o.changed_ns;
    }
};

// The stamp of the regular file (or, with `folder`, the folder) at a path as
// the system names it; false when there is none of that kind.
bool PLAT_file_stamp(const std::string& path, bool folder, plat_file_stamp& stamp);

// fopen on a resolved path; nullptr when it cannot be opened.
FILE* PLAT_fopen(const char* path, const char* mode);

// Opens a file buffer on a resolved path. Returns false when it cannot be opened.
bool PLAT_open_filebuf(std::filebuf& buf, const char* path, std::ios::openmode mode);

// A read buffer that hands out a file's bytes with every carriage return that
// directly precedes a line feed removed, the way a text-mode read takes CRLF
// files. A lone carriage return is passed on.
class PLAT_text_readbuf : public std::streambuf {
public:
    PLAT_text_readbuf() = default;
    ~PLAT_text_readbuf() override;
    PLAT_text_readbuf(const PLAT_text_readbuf&) = delete;
    PLAT_text_readbuf& operator=(const PLAT_text_readbuf&) = delete;
    bool open(const char* path);  // false when the file cannot be opened
    bool is_open() const { return file_ != nullptr; }
    void close();

protected:
    int_type underflow() override;

private:
    FILE* file_ = nullptr;
    char raw_[4096];
    char out_[4096];
    int raw_len_ = 0;
    int raw_pos_ = 0;
    bool pending_cr_ = false;
};

// Reads a whole file as text, CRLF taken as LF. False when it cannot be read.
bool PLAT_read_text_file(const char* path, std::string& out);

// One entry of a folder as the system lists it.
struct PLAT_dir_entry {
    std::string name;
    bool is_folder = false;
};

// Lists a folder (resolved as above) without "." and "..", in the order the
// system gives. False when the folder cannot be read.
bool PLAT_list_directory(const char* folder, std::vector<PLAT_dir_entry>& out);

// Full path of the running executable ("/opt/orvell/orvell"), with '/' separators.
std::string PLAT_executable_path();

// The last step of a safe write (the bytes went to a temporary file beside
// the target): waits until the temporary file is on the disk, then renames it
// over the target. False, with the target untouched, when either step fails.
// The new file keeps the access rights of the file it replaces.
bool PLAT_replace_file(const char* temp_path, const char* final_path);

// Creates a new file for writing beside others of its kind: named `stem`, a
// part no file in the folder has and `suffix`, created exclusively, so no
// other writer (in this process or another) has it open too. Its name goes to
// `made`; nullptr when none could be created.
FILE* PLAT_create_unique_file(const char* stem, const char* suffix, std::string& made);

// The last step of a safe write under a new name: waits until the complete
// temporary file is on the disk, then gives it `final_path` only when no file
// has that name, in one step no other writer can come between, so it never
// replaces a file. PLAT_NAME_TAKEN leaves the temporary file for another name.
enum plat_place_result { PLAT_PLACED, PLAT_NAME_TAKEN, PLAT_PLACE_FAILED };
plat_place_result PLAT_place_new_file(const char* temp_path, const char* final_path);

// While held, a write past the process's file-size limit fails with an error
// the writer sees, instead of the limit's signal ending the program; released,
// the signal does what it did before.
void PLAT_hold_size_limit_signal(bool hold);
bool PLAT_size_limit_signal_held();

// Holds the size-limit signal while it lives, unless it is held already (it
// then leaves the hold to its owner).
class PLAT_size_limit_hold {
public:
    PLAT_size_limit_hold() : took_(!PLAT_size_limit_signal_held())
    {
        if (took_) PLAT_hold_size_limit_signal(true);
    }
    ~PLAT_size_limit_hold()
    {
        if (took_) PLAT_hold_size_limit_signal(false);
    }
    PLAT_size_limit_hold(const PLAT_size_limit_hold&) = delete;
    PLAT_size_limit_hold& operator=(const PLAT_size_limit_hold&) = delete;

private:
    bool took_;
};

// An exclusive lock on a lock file (created when missing), held while this
// lives: a second holder, in this process or another, waits until it is
// released, at the latest when its holder ends. Without a lock file (a folder
// that is missing or cannot be written) nothing is held.
class PLAT_file_lock {
public:
    explicit PLAT_file_lock(const char* path);
    ~PLAT_file_lock();
    PLAT_file_lock(const PLAT_file_lock&) = delete;
    PLAT_file_lock& operator=(const PLAT_file_lock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// True when the resolved path names an existing regular file.
bool PLAT_file_exists(const char* path);

// A name under which a file stream writes to the process's standard error.
constexpr const char* PLAT_STANDARD_ERROR_FILE = "/dev/stderr";
