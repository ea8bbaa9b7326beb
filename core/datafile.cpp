#include "core/datafile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <system_error>
#include <vector>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/mappedfile.h"

file_use_slot file_slots[FILE_USE_SLOTS];
int32_t file_use_index = 0;
int32_t file_swap_bytes = 0;
char file_line_end = '\n';

std::ofstream file_out;
int32_t file_out_binary = 0;

char apt_header_remark[TEXT_SIZE];
char nav_header_remark[TEXT_SIZE];
char scratch_text[TEXT_SIZE];

char file_list_folder[TEXT_SIZE];
char file_list_names[FILE_LIST_MAX][FILE_LIST_NAME_SIZE];
char file_list_paths[FILE_LIST_MAX][TEXT_SIZE];
int32_t file_list_kinds[FILE_LIST_MAX];

namespace {

using traits = std::istream::traits_type;

constexpr const char* NO_HEADER_VERSION = "NOT KESTRUM";

// Extensions that FILE_set_extension gives kinds 2..17.
constexpr const char* kind_extension[FILE_KIND_COUNT] = {
    nullptr, nullptr, ".AFL", ".WPN", ".ACF", ".OBJ", ".SIT", ".MOV", ".TXT", ".FMS", ".GAM",
    ".TRA",  ".CAR",  ".SPA", ".REG", ".WAV", ".BMP", ".BMP", nullptr, nullptr, nullptr, nullptr};

// Extensions that FILE_kind_of_entry recognises, in the order they are tried.
struct extension_kind {
    const char* ext;
    int kind;
};
constexpr extension_kind recognised_extensions[] = {
    {".AFL", 2},  {".WPN", 3},  {".ACF", 4},  {".OBJ", 5},  {".SIT", 6},  {".MOV", 7},
    {".LOG", 8},  {".FMS", 9},  {".GAM", 10}, {".TRA", 11}, {".CAR", 12}, {".SPA", 13},
    {".REG", 14}, {".WAV", 15}, {".BMP", 16}, {".PNG", 16}, {".ENV", 17}};

bool quiet_label(const char* label)
{
    return label && (std::strcmp(label, "prefs") == 0 || std::strcmp(label, "checklist") == 0);
}

void close_slot(file_use_slot& slot)
{
    if (slot.binary_buf.is_open()) slot.binary_buf.close();
    slot.text_buf.close();
}

bool is_field_separator(char c)
{
    return c == file_line_end || c == '\r' || c == '\n' || c == '\t' || c == ' ';
}

uint32_t bytes_to_u32(const unsigned char b[4])
{
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Reads the next 4 raw bytes of the current binary slot as a value in the
// file's byte order. False when the file ends first.
bool read_raw32(std::istream& in, uint32_t& out)
{
    unsigned char b[4];
    in.read(reinterpret_cast<char*>(b), 4);
    if (in.gcount() != 4) return false;
    out = bytes_to_u32(b);
    if (file_swap_bytes) out = FILE_swap32(out);
    return true;
}

// A header that ends before its last token; the alert names the file.
void scan_too_far(const MappedFile* file)
{
    MACIBM_nuke_alert(0, "Scan too far!", "The file ends inside its header.", "file:", file->path.c_str(), ALERT_FATAL);
}

// Ends a token of a header held in memory: a 0 is written over the character
// that ended it (or over its 500th character when it is longer), the token is
// copied to scratch_text, and the position moves past the ending character.
// `stop` is the index of that character (the length when the buffer ended).
void end_token(char* buffer, int64_t start, int64_t stop, int64_t length, int64_t& position)
{
    int64_t len = stop - start;
    if (len > TEXT_MAX_LEN) {
        len = TEXT_MAX_LEN;
        buffer[start + TEXT_MAX_LEN] = 0;
    } else if (stop < length) {
        buffer[stop] = 0;
    }
    std::memcpy(scratch_text, buffer + start, static_cast<size_t>(len));
    scratch_text[len] = 0;
    position = stop < length ? stop + 1 : length;
}

bool is_line_break(char c) { return c == 0 || c == '\n' || c == '\r'; }

}  // namespace

uint32_t FILE_swap32(uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}

void FILE_swap_words(void* bytes, std::size_t count)
{
    auto* p = static_cast<unsigned char*>(bytes);
    for (std::size_t i = 0; i + 4 <= count; i += 4) {
        uint32_t w;
        std::memcpy(&w, p + i, 4);
        w = FILE_swap32(w);
        std::memcpy(p + i, &w, 4);
    }
}

bool FILE_kind_is_binary(int kind)
{
    return kind == 3 || kind == 4 || kind == 12 || kind == 13 || kind == 16 || kind == 17 || kind == 19;
}

file_use_slot& FILE_current_slot()
{
    if (file_use_index < 0 || file_use_index >= FILE_USE_SLOTS) {
        MACIBM_nuke_alert(0, "Bad file-use index!", "", "", "", ALERT_FATAL);
        // Not reached: a fatal alert does not return. Never index out of range regardless.
        return file_slots[0];
    }
    return file_slots[file_use_index];
}

std::istream& FILE_current_stream() { return FILE_current_slot().in; }

void FILE_colons_to_backslashes(char* path)
{
    if (!path) return;
    for (int i = 0; path[i]; ++i)
        if (i >= 2 && path[i] == ':') path[i] = '\\';
}

int FILE_open_for_use(char* path, int kind, int version, int strict)
{
    file_use_slot& slot = FILE_current_slot();
    FILE_colons_to_backslashes(path);

    slot.in.clear();
    close_slot(slot);
    slot.in.clear();

    const bool binary = FILE_kind_is_binary(kind);
    slot.binary = binary ? 1 : 0;
    bool opened;
    if (binary) {
        opened = PLAT_open_filebuf(slot.binary_buf, path, std::ios::in | std::ios::binary);
        slot.in.rdbuf(&slot.binary_buf);
    } else {
        opened = slot.text_buf.open(path);
        slot.in.rdbuf(&slot.text_buf);
    }
    if (!opened) {
        slot.in.setstate(std::ios::failbit);
        return 0;
    }

    if (binary) {
        const int mark = slot.in.get();
        if (mark != 'a' && mark != 'i') return 0;
        file_swap_bytes = mark == 'a' ? 1 : 0;
    } else {
        const int mark = slot.in.get();
        const int line_end = slot.in.get();
        // A file that ends right after its mark has no line end: the end-of-file
        // value cut to a character would make byte 255 end the lines and
        // fields read afterwards, so a line feed stands in for it.
        file_line_end = line_end == traits::eof() ? '\n' : static_cast<char>(line_end);
        if (mark != 'A' && mark != 'I') return 0;
    }

    if (version > 0) {
        const int32_t found = FILE_read_int(path);
        if (found != version) {
            if (!strict) return 0;
            MACIBM_nuke_alert(0, "This data file was written for another version:", path,
                              "The program cannot read it and has to stop.",
                              "Replace the file with one made for this version.", ALERT_FATAL);
            return 0;
        }
        if (!binary) FILE_read_line(scratch_text, TEXT_SIZE);
    }
    return slot.in.good() ? 1 : 0;
}

void FILE_output_name(char* path)
{
    FILE_colons_to_backslashes(path);
    const size_t len = std::strlen(path);
    if (len > 3)
        for (size_t i = len - 3; i < len; ++i)
            if (path[i] >= 'A' && path[i] <= 'Z') path[i] = static_cast<char>(path[i] - 'A' + 'a');
}

namespace {

// Opens file_out on a file of this disk (an existing file is truncated) and
// writes the data-file header. False when the stream reports an error.
bool open_output(const std::string& disk_path, int kind, int version)
{
    file_out.clear();
    file_out.close();
    file_out.clear();
    // Every file starts with the format of a fresh stream: a width left set
    // by a write that failed part-way would otherwise pad this file's header.
    file_out.flags(std::ios::skipws | std::ios::dec);
    file_out.width(0);
    file_out.precision(6);
    file_out.fill(' ');

    if (FILE_kind_is_binary(kind)) {
        file_out.open(disk_path, std::ios::out | std::ios::binary | std::ios::trunc);
        file_out_binary = 1;
        const uint32_t v = static_cast<uint32_t>(version);
        const char header[5] = {'i', static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                                static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
        file_out.write(header, 5);
    } else {
        file_out.open(disk_path, std::ios::out | std::ios::trunc);
        file_out_binary = 0;
        file_out.setf(std::ios::fixed, std::ios::floatfield);
        file_out << "I\n" << version << ' ';
        if (kind == KIND_APT_DB)
            file_out << apt_header_remark << '\n';
        else if (kind == KIND_NAV_DB)
            file_out << nav_header_remark << '\n';
        else
            file_out << "version\n";
    }
    return file_out.good();
}

void cannot_open_alert(const char* path)
{
    MACIBM_nuke_alert(app_mode, "The file could not be saved:", path, "Check that its folder exists",
                      "and that the disk is writable and not full.", ALERT_NOTICE);
}

// The save in progress: the file it replaces and the temporary file beside it.
struct save_state {
    char final_path[TEXT_SIZE];
    char temp_path[TEXT_SIZE + 16];
    bool open;
    bool notify;   // a failure raises the notice; otherwise it is only logged
};
save_state file_save;

void save_reset()
{
    std::memset(&file_save, 0, sizeof file_save);
    PLAT_hold_size_limit_signal(false);
}

void remove_temporary(const char* temp_path)
{
    std::error_code ec;
    const std::filesystem::path p(PLAT_resolve_path(temp_path));
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(p, ec))) std::filesystem::remove(p, ec);
}

// Removes the stale temporary files of one folder, and of its sub-folders when `deep`.
void remove_stale_in(const char* folder, bool deep)
{
    namespace fs = std::filesystem;
    const std::string suffix = FILE_SAVE_SUFFIX;
    auto stale = [&](const fs::directory_entry& e) {
        std::error_code ec;
        const std::string name = e.path().filename().string();
        return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
               e.is_regular_file(ec) && !e.is_symlink(ec);
    };
    std::error_code ec;
    const fs::path root(PLAT_resolve_path(folder));
    if (!fs::is_directory(root, ec)) return;
    std::vector<fs::path> found;
    if (deep) {
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec))
            if (stale(*it)) found.push_back(it->path());
    } else {
        for (fs::directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec))
            if (stale(*it)) found.push_back(it->path());
    }
    for (const fs::path& p : found) fs::remove(p, ec);
}

// A failed save: the notice, or only its lines in ERROR.OUT.
void save_failure(bool notify, const char* l1, const char* l2, const char* l3, const char* l4)
{
    if (notify) {
        MACIBM_nuke_alert(app_mode, l1, l2, l3, l4, ALERT_NOTICE);
        return;
    }
    if (!error_log.is_open()) return;
    for (const char* l : {l1, l2, l3, l4})
        if (l && l[0]) error_log << l << '\n';
    error_log.flush();
}

}  // namespace

int FILE_write_version(char* path, int kind, int version)
{
    FILE_output_name(path);
    if (!open_output(PLAT_resolve_path(path), kind, version)) {
        cannot_open_alert(path);
        return 0;
    }
    return 1;
}

int FILE_begin_save(char* path, int kind, int version, bool notify)
{
    // A save that never reached its end (its writer stopped on an alert) is abandoned.
    if (file_save.open) {
        file_out.close();
        file_out.clear();
        remove_temporary(file_save.temp_path);
    }
    save_reset();
    FILE_output_name(path);
    UTIL_strcpy(static_cast<const char*>(path), file_save.final_path);
    std::snprintf(file_save.temp_path, sizeof file_save.temp_path, "%s%s", file_save.final_path, FILE_SAVE_SUFFIX);

    PLAT_hold_size_limit_signal(true);
    const std::string disk_path = PLAT_resolve_path(file_save.final_path);
    if (!open_output(PLAT_resolve_path(file_save.temp_path), kind, version)) {
        file_out.close();
        file_out.clear();
        remove_temporary(file_save.temp_path);
        save_reset();
        if (notify)
            cannot_open_alert(disk_path.c_str());
        else
            save_failure(false, "The file could not be saved:", disk_path.c_str(), "Check that its folder exists",
                         "and that the disk is writable and not full.");
        return 0;
    }
    file_save.open = true;
    file_save.notify = notify;
    return 1;
}

int FILE_end_save()
{
    if (!file_save.open) return 0;
    file_out.flush();
    bool ok = file_out.good();
    file_out.close();
    ok = ok && !file_out.fail();
    file_out.clear();
    if (ok) ok = PLAT_replace_file(file_save.temp_path, file_save.final_path);
    const std::string disk_path = PLAT_resolve_path(file_save.final_path);
    if (!ok) {
        remove_temporary(file_save.temp_path);
        std::error_code ec;
        const bool kept = std::filesystem::exists(disk_path, ec);
        save_failure(file_save.notify, "The file could not be saved:", disk_path.c_str(),
                     kept ? "The previous file was kept as it was." : "", "Check that the disk is writable and not full.");
    }
    save_reset();
    return ok ? 1 : 0;
}

void FILE_remove_stale_saves()
{
    if (!program_folder[0]) return;
    char folder[TEXT_SIZE];
    remove_stale_in(program_folder, false);
    UTIL_strcat3(program_folder, "RESOURCES:PREFERENCES:", folder);
    remove_stale_in(folder, false);
    UTIL_strcat3(program_folder, "OUTPUT:", folder);
    remove_stale_in(folder, true);
    remove_stale_in(folder_table[FOLDER_AIRCRAFT], true);
    remove_stale_in(folder_table[FOLDER_AIRFOILS], true);
}

int FILE_check_read(const char* label)
{
    file_use_slot& slot = FILE_current_slot();
    if (!slot.in.fail()) return 1;
    if (quiet_label(label)) {
        close_slot(slot);
        return 0;
    }
    MACIBM_nuke_alert(0, "A data file could not be read to its end.", "", "file:", label ? label : "",
                      ALERT_FATAL);
    return 0;
}

int FILE_skip_line(const char* label)
{
    std::istream& in = FILE_current_stream();
    for (;;) {
        const int c = in.get();
        if (c == traits::eof() || static_cast<char>(c) == file_line_end) break;
    }
    return FILE_check_read(label);
}

int32_t FILE_read_int(const char* label)
{
    file_use_slot& slot = FILE_current_slot();
    int32_t value = 0;
    if (slot.binary) {
        uint32_t raw = 0;
        if (read_raw32(slot.in, raw)) value = static_cast<int32_t>(raw);
    } else {
        slot.in >> value;
    }
    // A failed read gives 0 rather than whatever the stream left behind.
    if (!FILE_check_read(label)) return 0;
    return value;
}

float FILE_read_float(const char* label)
{
    file_use_slot& slot = FILE_current_slot();
    float value = 0.0f;
    if (slot.binary) {
        uint32_t raw = 0;
        if (read_raw32(slot.in, raw)) std::memcpy(&value, &raw, sizeof(value));
    } else {
        slot.in >> value;
    }
    if (!FILE_check_read(label)) return 0.0f;
    return value;
}

void FILE_read_field(char* buffer, int size, int fixed)
{
    if (!buffer || size <= 0) return;   // no buffer, or no room for the terminator written below
    std::istream& in = FILE_current_stream();
    const int capacity = size - 1;
    int n = 0;
    bool stored_any = false;
    if (fixed && capacity == 0) {   // the loop stores a byte before it tests the room: past a one-byte buffer
        buffer[0] = 0;
        return;
    }
    for (;;) {
        const int c = in.get();
        // The field also ends when the stream fails: a fixed field is not
        // padded with bytes that were never in the file.
        if (c == traits::eof()) break;
        const char ch = static_cast<char>(c);
        const bool sep = is_field_separator(ch);
        if (!stored_any && sep) continue;
        stored_any = true;
        if (!fixed) {
            if (sep) break;
            if (n < capacity) buffer[n++] = ch;
        } else {
            buffer[n++] = ch;
            if (n >= capacity) {
                in.get();
                break;
            }
        }
    }
    buffer[n] = 0;
}

void FILE_read_line(char* buffer, int size)
{
    if (!buffer || size <= 0) return;   // no buffer, or no room for the terminator written below
    file_use_slot& slot = FILE_current_slot();
    std::istream& in = slot.in;
    if (slot.binary) {
        in.read(buffer, size);
        return;
    }
    int c;
    do {
        c = in.get();
    } while (c == ' ' || c == '\t');
    const int keep = std::max(size - 2, 0);
    int n = 0;
    while (c != traits::eof()) {
        const char ch = static_cast<char>(c);
        if (ch == file_line_end || ch == '\r' || ch == '\n') break;
        if (n < keep) buffer[n++] = ch;
        c = in.get();
    }
    buffer[n] = 0;
}

void FILE_read_bytes(void* buffer, int count)
{
    if (!buffer || count <= 0) return;
    FILE_current_stream().read(static_cast<char*>(buffer), count);
}

void FILE_close_current() { close_slot(FILE_current_slot()); }

void FILE_set_extension(char* name, int kind)
{
    if (!name) return;
    size_t len = strnlen(name, TEXT_MAX_LEN);
    name[len] = 0;
    if (len >= 5 && name[len - 4] == '.') name[len -= 4] = 0;
    if (kind < 2 || kind > 17) return;
    // Names are 500-byte texts: the extension is appended up to 499 characters.
    for (const char* e = kind_extension[kind]; *e && len < TEXT_MAX_LEN; ++e) name[len++] = *e;
    name[len] = 0;
}

int FILE_kind_of_entry(int index, int wanted)
{
    if (index < 0 || index >= FILE_LIST_MAX) return 0;   // a name outside the list would be read past its table
    const char* name = file_list_names[index];
    const size_t len = strnlen(name, FILE_LIST_NAME_SIZE - 1);

    char tail[5] = {0, 0, 0, 0, 0};
    const size_t take = std::min<size_t>(len, 4);
    for (size_t i = 0; i < take; ++i) {
        char c = name[len - take + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        tail[i] = c;
    }
    for (const extension_kind& e : recognised_extensions) {
        if (std::strcmp(tail, e.ext) == 0) {
            file_list_kinds[index] = e.kind;
            break;
        }
    }

    if (len == 0 || name[0] == '.') return 0;
    const int kind = file_list_kinds[index];
    return (kind == KIND_FOLDER || kind == wanted || (wanted == KIND_CUSTOM_TERRAIN && kind == KIND_IMAGE)) ? 1
                                                                                                            : 0;
}

int FILE_list_directory(int wanted)
{
    file_list_folder[TEXT_MAX_LEN] = 0;
    const size_t folder_len = std::strlen(file_list_folder);
    const char last = folder_len ? file_list_folder[folder_len - 1] : 0;
    // The program folder itself ends in this system's separator '/'.
    if (last != ':' && last != '\\' && last != '/') {
        MACIBM_nuke_alert(0, "A folder to list was named without", "its final separator.",
                          "This is an internal error;", "the program has to stop.", ALERT_FATAL);
        return 0;
    }

    char search[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(file_list_folder), search);
    FILE_colons_to_backslashes(search);
    std::vector<PLAT_dir_entry> entries;
    if (!PLAT_list_directory(search, entries)) return 0;

    int count = 0;
    for (const PLAT_dir_entry& e : entries) {
        if (count >= FILE_LIST_MAX) break;
        std::strncpy(file_list_names[count], e.name.c_str(), FILE_LIST_NAME_SIZE - 1);
        file_list_names[count][FILE_LIST_NAME_SIZE - 1] = 0;
        UTIL_strcat3(file_list_folder, e.name.c_str(), file_list_paths[count]);
        file_list_kinds[count] = e.is_folder ? KIND_FOLDER : KIND_TEXT;
        if (e.is_folder) UTIL_strcat(file_list_paths[count], "\\");
        if (FILE_kind_of_entry(count, wanted)) {
            ++count;
        } else {
            file_list_names[count][0] = 0;
            file_list_paths[count][0] = 0;
            file_list_kinds[count] = 0;
        }
    }

    // Sort by name in ascending byte order; entries with equal names keep
    // their order. Name, path and kind move together.
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return std::strcmp(file_list_names[a], file_list_names[b]) < 0; });
    bool moved = false;
    for (int i = 0; i < count; ++i) moved = moved || order[static_cast<size_t>(i)] != i;
    if (moved) {
        std::vector<char> names(static_cast<size_t>(count) * FILE_LIST_NAME_SIZE);
        std::vector<char> paths(static_cast<size_t>(count) * TEXT_SIZE);
        std::vector<int32_t> kinds(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const int from = order[static_cast<size_t>(i)];
            std::memcpy(&names[static_cast<size_t>(i) * FILE_LIST_NAME_SIZE], file_list_names[from],
                        FILE_LIST_NAME_SIZE);
            std::memcpy(&paths[static_cast<size_t>(i) * TEXT_SIZE], file_list_paths[from], TEXT_SIZE);
            kinds[static_cast<size_t>(i)] = file_list_kinds[from];
        }
        for (int i = 0; i < count; ++i) {
            std::memcpy(file_list_names[i], &names[static_cast<size_t>(i) * FILE_LIST_NAME_SIZE],
                        FILE_LIST_NAME_SIZE);
            std::memcpy(file_list_paths[i], &paths[static_cast<size_t>(i) * TEXT_SIZE], TEXT_SIZE);
            file_list_kinds[i] = kinds[static_cast<size_t>(i)];
        }
    }
    return count;
}

int SCAN_next_token(int kind, MappedFile* file, char* buffer, int64_t& position, int64_t& length,
                    const char* version)
{
    position = 0;
    length = 0;
    if (!buffer || !file || !file->begin || !file->end) return 0;
    length = file->end - file->begin;
    if (length <= 0) {
        length = 0;
        return 0;
    }
    if (!version) version = "";
    if (std::strcmp(version, NO_HEADER_VERSION) == 0) return 1;

    if (FILE_kind_is_binary(kind)) {
        // The whole 5-byte header must be there before any of it is read: a
        // shorter file would have its mark and version read past its end.
        if (position >= length || length < 5) {
            scan_too_far(file);
            return 0;
        }
        const char mark = buffer[0];
        if (mark == 'a') file_swap_bytes = 1;
        if (mark == 'i') file_swap_bytes = 0;
        uint32_t v = bytes_to_u32(reinterpret_cast<const unsigned char*>(buffer + 1));
        if (file_swap_bytes) v = FILE_swap32(v);
        position = 5;
        if (mark != 'a' && mark != 'i') return 0;
        return static_cast<int32_t>(v) == static_cast<int32_t>(std::strtol(version, nullptr, 10)) ? 1 : 0;
    }

    if (buffer[0] != 'A' && buffer[0] != 'I') return 0;

    // The mark, to the end of the first line.
    if (position >= length) return scan_too_far(file), 0;
    while (position < length && buffer[position] == ' ') ++position;
    int64_t start = position;
    while (position < length && !is_line_break(buffer[position])) ++position;
    end_token(buffer, start, position, length, position);

    // The line break; then the first three characters of the version must match.
    if (position >= length) return scan_too_far(file), 0;
    while (position < length && is_line_break(buffer[position])) ++position;
    for (int k = 0; k < 3; ++k) {
        if (position + k >= length) return scan_too_far(file), 0;
        if (buffer[position + k] != version[k]) return 0;
        if (version[k] == 0) break;
    }

    // The version number.
    if (position >= length) return scan_too_far(file), 0;
    while (position < length && buffer[position] == ' ') ++position;
    start = position;
    while (position < length && buffer[position] != ' ' && buffer[position] != '\n' && buffer[position] != '\r')
        ++position;
    end_token(buffer, start, position, length, position);

    // The remark ("version", or the database's own text), then the line break.
    if (position >= length) return scan_too_far(file), 0;
    while (position < length && buffer[position] == ' ') ++position;
    start = position;
    while (position < length && !is_line_break(buffer[position])) ++position;
    end_token(buffer, start, position, length, position);
    while (position < length && is_line_break(buffer[position])) ++position;

    if (kind == KIND_APT_DB) UTIL_strcpy(static_cast<const char*>(scratch_text), apt_header_remark);
    if (kind == KIND_NAV_DB) UTIL_strcpy(static_cast<const char*>(scratch_text), nav_header_remark);
    return 1;
}
