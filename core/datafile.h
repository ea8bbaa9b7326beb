// Data-file services: the data-file header, two input file-use slots with
// typed field readers, the output file, the file kinds with their extensions
// and the folder lister.
//
// Binary data files start with 'i' (4-byte values least significant byte
// first) or 'a' (most significant first) and a 4-byte version; text data files
// start with "I" or "A", a line-end character, then "<version> version".
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>

#include "platform/plat_files.h"
#include "core/text_util.h"

struct MappedFile;

// File kinds.
enum file_kind : int {
    KIND_TEXT = 0, KIND_FOLDER = 1, KIND_AIRFOIL = 2, KIND_WEAPON = 3, KIND_AIRCRAFT = 4,
    KIND_OBJECT = 5, KIND_SITUATION = 6, KIND_MOVIE = 7, KIND_LOG = 8, KIND_FMS = 9,
    KIND_GAME = 10, KIND_TRACK = 11, KIND_CAR = 12, KIND_SHIP = 13, KIND_REGION = 14,
    KIND_SOUND = 15, KIND_IMAGE = 16, KIND_ENV = 17, KIND_CUSTOM_TERRAIN = 18,
    KIND_BINARY = 19, KIND_APT_DB = 20, KIND_NAV_DB = 21
};
constexpr int FILE_KIND_COUNT = 22;

// True for the binary kinds 3, 4, 12, 13, 16, 17 and 19.
bool FILE_kind_is_binary(int kind);

// One input slot: a stream over a file opened in binary or text mode
// (text mode takes CRLF as LF).
struct file_use_slot {
    std::filebuf binary_buf;
    PLAT_text_readbuf text_buf;
    std::istream in{nullptr};
    int32_t binary = 0;
};
constexpr int FILE_USE_SLOTS = 2;
extern file_use_slot file_slots[FILE_USE_SLOTS];

extern int32_t file_use_index;    // the current slot, 0 or 1
extern int32_t file_swap_bytes;   // 1 when the binary file opened or scanned last was written 'a'
extern char file_line_end;        // line terminator of the text file opened last

extern std::ofstream file_out;    // the output data file
extern int32_t file_out_binary;   // 1 when file_out was opened for a binary kind

extern char apt_header_remark[TEXT_SIZE];
extern char nav_header_remark[TEXT_SIZE];
extern char scratch_text[TEXT_SIZE];

constexpr int FILE_LIST_MAX = 1000;
constexpr int FILE_LIST_NAME_SIZE = 40;
extern char file_list_folder[TEXT_SIZE];
extern char file_list_names[FILE_LIST_MAX][FILE_LIST_NAME_SIZE];
extern char file_list_paths[FILE_LIST_MAX][TEXT_SIZE];
extern int32_t file_list_kinds[FILE_LIST_MAX];

// The current slot (raises "Bad file-use index!" when file_use_index is not 0 or 1).
file_use_slot& FILE_current_slot();
std::istream& FILE_current_stream();

int FILE_open_for_use(char* path, int kind, int version, int strict);
int FILE_write_version(char* path, int kind, int version);
// The name a written file gets: separators converted, the last three
// characters in lower case (".ACF" is written as ".acf").
void FILE_output_name(char* path);
// Saving without ever losing the previous file. FILE_begin_save converts the
// path as FILE_write_version does, opens "<path>.partial" beside it on
// file_out and writes the data-file header; the caller appends its fields to
// file_out, then FILE_end_save flushes and closes the file, waits until it is
// on the disk and renames it over the path. A step that fails removes the
// temporary file, leaves any file at the path byte for byte as it was, raises
// the save-failure alert naming the file (code 16) and returns 0. While a save
// is open, a write past the process's file-size limit fails instead of ending
// the program.
constexpr const char* FILE_SAVE_SUFFIX = ".partial";
// With notify false a failure raises no notice: its lines only go to
// ERROR.OUT (for callers that show their own alert or none).
int FILE_begin_save(char* path, int kind, int version, bool notify = true);
int FILE_end_save();
// Removes what saves cut short by a crash or a power loss left behind: files
// ending in FILE_SAVE_SUFFIX in the program folder, the preferences folder
// and the aircraft, airfoil and output trees.
void FILE_remove_stale_saves();
int FILE_check_read(const char* label);
int FILE_skip_line(const char* label);
int32_t FILE_read_int(const char* label);
float FILE_read_float(const char* label);
void FILE_read_field(char* buffer, int size, int fixed);
void FILE_read_line(char* buffer, int size);
// Raw bytes of the current binary slot (a short read leaves the stream failed, no alert).
void FILE_read_bytes(void* buffer, int count);
void FILE_close_current();

// Makes file-use slot `slot` the current one for a scope and gives it back,
// closed, however the scope ends: the slot that was current before is current
// again.
class file_slot_use {
public:
    explicit file_slot_use(int32_t slot) : previous_(file_use_index) { file_use_index = slot; }
    ~file_slot_use()
    {
        FILE_close_current();
        file_use_index = previous_;
    }
    file_slot_use(const file_slot_use&) = delete;
    file_slot_use& operator=(const file_slot_use&) = delete;

private:
    int32_t previous_;
};
void FILE_set_extension(char* name, int kind);
int FILE_kind_of_entry(int index, int wanted);
int FILE_list_directory(int wanted);
void FILE_colons_to_backslashes(char* path);
int SCAN_next_token(int kind, MappedFile* file, char* buffer, int64_t& position, int64_t& length,
                    const char* version);

// Reverses the byte order of a 4-byte value.
uint32_t FILE_swap32(uint32_t v);
// Reverses the byte order of each whole 4-byte word of count bytes; a shorter
// tail is left as it is.
void FILE_swap_words(void* bytes, std::size_t count);
