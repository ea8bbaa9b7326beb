#include "platform/plat_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

bool is_separator(const char* path, size_t i)
{
    const char c = path[i];
    return c == '/' || c == '\\' || (c == ':' && i >= 2);
}

bool exists(const std::string& p)
{
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// The entries of one folder by their names folded to lower case, each with
// the byte-wise smallest of the names that fold to it, and the folder's
// stamp when it was read.
struct folder_listing {
    plat_file_stamp stamp;
    std::unordered_map<std::string, std::string> by_folded;
};

// Listings kept between look-ups: a path names many files of the same few
// folders, and a start-up opens thousands of files. A listing is used again
// only while the folder's stamp is the one it was read at, and is kept only
// when that stamp had settled.
struct folder_listing_cache {
    std::mutex lock;
    std::unordered_map<std::string, folder_listing> folders;
};
folder_listing_cache listing_cache;

constexpr int64_t STAMP_SETTLED_NS = 100000000;   // 0.1 s, many ticks of the disk's clock

std::string fold_case(const char* name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

int64_t nanoseconds(const timespec& t) { return int64_t(t.tv_sec) * 1000000000 + int64_t(t.tv_nsec); }

// Reads a folder's entries; false when it cannot be opened.
bool read_listing(const std::string& folder, folder_listing& listing)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    listing.by_folded.clear();
    while (const dirent* e = ::readdir(dir)) {
        std::string& found = listing.by_folded[fold_case(e->d_name)];
        if (found.empty() || std::strcmp(e->d_name, found.c_str()) < 0) found = e->d_name;
    }
    ::closedir(dir);
    return true;
}

// The entry of `folder` whose name equals `name` ignoring letter case; when
// several do, the byte-wise smallest, so the choice does not depend on the
// order the disk happens to list them in. Empty when there is none.
std::string find_case_blind(const std::string& folder_name, const std::string& name)
{
    const std::string folder = folder_name.empty() ? std::string(".") : folder_name;
    plat_file_stamp stamp;
    if (!PLAT_file_stamp(folder, true, stamp)) return {};
    const std::string folded = fold_case(name.c_str());

    const std::lock_guard<std::mutex> hold(listing_cache.lock);
    auto kept = listing_cache.folders.find(folder);
    const bool fresh = kept != listing_cache.folders.end() && kept->second.stamp.same_as(stamp);
    if (!fresh) {
        folder_listing listing;
        if (!read_listing(folder, listing)) return {};
        std::string match;
        if (auto f = listing.by_folded.find(folded); f != listing.by_folded.end()) match = f->second;
        if (stamp.settled) {
            listing.stamp = stamp;
            listing_cache.folders[folder] = std::move(listing);
        } else if (kept != listing_cache.folders.end()) {
            listing_cache.folders.erase(kept);
        }
        return match;
    }
    auto f = kept->second.by_folded.find(folded);
    return f == kept->second.by_folded.end() ? std::string() : f->second;
}

}  // namespace

bool PLAT_file_stamp(const std::string& path, bool folder, plat_file_stamp& stamp)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !(folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode))) return false;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    stamp.device = st.st_dev, stamp.inode = st.st_ino;
    stamp.size = st.st_size, stamp.changed_ns = nanoseconds(st.st_mtim);
    stamp.settled = nanoseconds(now) - stamp.changed_ns > STAMP_SETTLED_NS;
    return true;
}

std::string PLAT_resolve_path(const char* path)
{
    if (!path) return {};
    const size_t len = std::strlen(path);
    std::string result;
    size_t i = 0;
    if (len > 0 && is_separator(path, 0)) {
        result = "/";
        while (i < len && is_separator(path, i)) ++i;
    }
    bool searching = true;   // false once a component is missing: nothing below it can exist
    bool trailing_separator = false;
    while (i < len) {
        size_t start = i;
        while (i < len && !is_separator(path, i)) ++i;
        std::string component(path + start, i - start);
        trailing_separator = i < len;
        while (i < len && is_separator(path, i)) ++i;

        std::string base = result;
        if (!base.empty() && base.back() != '/') base += '/';
        std::string name = component;
        if (searching && component != "." && component != "..") {
            if (!exists(base + component)) {
                std::string match = find_case_blind(base.empty() ? std::string() : base, component);
                if (match.empty())
                    searching = false;
                else
                    name = match;
            }
        }
        result = base + name;
    }
    if (trailing_separator && !result.empty() && result.back() != '/') result += '/';
    return result;
}

FILE* PLAT_fopen(const char* path, const char* mode)
{
    if (!path || !mode) return nullptr;
    return std::fopen(PLAT_resolve_path(path).c_str(), mode);
}

bool PLAT_open_filebuf(std::filebuf& buf, const char* path, std::ios::openmode mode)
{
    if (!path) return false;
    return buf.open(PLAT_resolve_path(path), mode) != nullptr;
}

// ---- text-mode read buffer ----

PLAT_text_readbuf::~PLAT_text_readbuf() { close(); }

bool PLAT_text_readbuf::open(const char* path)
{
    close();
    file_ = PLAT_fopen(path, "rb");
    return file_ != nullptr;
}

void PLAT_text_readbuf::close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    raw_len_ = 0;
    raw_pos_ = 0;
    pending_cr_ = false;
    setg(out_, out_, out_);
}

PLAT_text_readbuf::int_type PLAT_text_readbuf::underflow()
{
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!file_) return traits_type::eof();

    // A carriage return is held back (pending_cr_) until the next byte shows
    // whether a line feed follows; this also holds across two raw reads.
    const int room = static_cast<int>(sizeof(out_)) - 1;   // each step writes at most two bytes
    int n = 0;
    while (n == 0) {
        if (raw_pos_ >= raw_len_) {
            const size_t got = std::fread(raw_, 1, sizeof(raw_), file_);
            raw_len_ = static_cast<int>(got);
            raw_pos_ = 0;
            if (got == 0) {
                if (pending_cr_) {
                    pending_cr_ = false;
                    out_[n++] = '\r';
                }
                break;
            }
        }
        while (raw_pos_ < raw_len_ && n < room) {
            const char c = raw_[raw_pos_++];
            if (pending_cr_) {
                pending_cr_ = false;
                if (c != '\n') out_[n++] = '\r';
            }
            if (c == '\r') {
                pending_cr_ = true;
                continue;
            }
            out_[n++] = c;
        }
    }
    if (n == 0) {
        setg(out_, out_, out_);
        return traits_type::eof();
    }
    setg(out_, out_, out_ + n);
    return traits_type::to_int_type(*gptr());
}

bool PLAT_read_text_file(const char* path, std::string& out)
{
    out.clear();
    PLAT_text_readbuf buf;
    if (!buf.open(path)) return false;
    char chunk[4096];
    for (;;) {
        const std::streamsize got = buf.sgetn(chunk, sizeof(chunk));
        if (got <= 0) break;
        out.append(chunk, static_cast<size_t>(got));
    }
    return true;
}

bool PLAT_list_directory(const char* folder, std::vector<PLAT_dir_entry>& out)
{
    out.clear();
    std::string dir_path = PLAT_resolve_path(folder);
    if (dir_path.empty()) dir_path = ".";
    DIR* dir = ::opendir(dir_path.c_str());
    if (!dir) return false;
    if (dir_path.back() != '/') dir_path += '/';
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        PLAT_dir_entry entry;
        entry.name = e->d_name;
        if (e->d_type == DT_DIR) {
            entry.is_folder = true;
        } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            entry.is_folder = ::stat((dir_path + entry.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        out.push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}

std::string PLAT_executable_path()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return {};
    buf[n] = 0;
    return std::string(buf);
}

namespace {

// Waits until the file's bytes are on the disk. False when the disk reports
// an error (a full disk can show only here, after every write succeeded).
bool sync_path(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    ::close(fd);
    return rc == 0;
}

}  // namespace

bool PLAT_replace_file(const char* temp_path, const char* final_path)
{
    if (!temp_path || !final_path) return false;
    const std::string temp = PLAT_resolve_path(temp_path);
    const std::string target = PLAT_resolve_path(final_path);
    // The new file keeps the access rights of the one it replaces.
    struct stat old_file;
    if (::stat(target.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode))
        ::chmod(temp.c_str(), old_file.st_mode & 07777);
    if (!sync_path(temp, O_RDONLY)) return false;
    if (std::rename(temp.c_str(), target.c_str()) != 0) return false;
    // The new name itself lasts once the folder is on the disk too; the file
    // is already in place, so a folder that cannot be synced is not a failure.
    const size_t slash = target.rfind('/');
    sync_path(slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash)), O_RDONLY | O_DIRECTORY);
    return true;
}

FILE* PLAT_create_unique_file(const char* stem, const char* suffix, std::string& made)
{
    made.clear();
    if (!stem || !suffix) return nullptr;
    const std::string base = PLAT_resolve_path(stem) + "." + std::to_string(::getpid()) + ".";
    // The process number keeps other copies' names apart; a name this
    // process holds already, or a crash of an earlier one left, is passed over.
    constexpr int MOST_TRIES = 1000;
    for (int tries = 0; tries < MOST_TRIES; ++tries) {
        const std::string name = base + std::to_string(tries) + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        FILE* f = ::fdopen(fd, "wb");
        if (!f) {
            ::close(fd);
            ::unlink(name.c_str());
            return nullptr;
        }
        made = name;
        return f;
    }
    return nullptr;
}

plat_place_result PLAT_place_new_file(const char* temp_path, const char* final_path)
{
    if (!temp_path || !final_path) return PLAT_PLACE_FAILED;
    const std::string temp = PLAT_resolve_path(temp_path);
    const std::string target = PLAT_resolve_path(final_path);
    if (!sync_path(temp, O_RDONLY)) return PLAT_PLACE_FAILED;
    // A plain rename would replace a file another writer placed under the
    // name since it was found free. A folder whose file system cannot rename
    // without replacing takes a second name for the file (which fails on a
    // name taken) and drops the temporary one.
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return PLAT_NAME_TAKEN;
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return PLAT_PLACE_FAILED;
        if (::link(temp.c_str(), target.c_str()) != 0) return errno == EEXIST ? PLAT_NAME_TAKEN : PLAT_PLACE_FAILED;
        ::unlink(temp.c_str());
    }
    const size_t slash = target.rfind('/');
    sync_path(slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash)), O_RDONLY | O_DIRECTORY);
    return PLAT_PLACED;
}

PLAT_file_lock::PLAT_file_lock(const char* path)
{
    const std::string disk = PLAT_resolve_path(path);
    fd_ = open(disk.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    int r;
    do r = flock(fd_, LOCK_EX);
    while (r != 0 && errno == EINTR);   // a signal during the wait (the quit's own) is not a failure
    if (r != 0) {
        close(fd_);
        fd_ = -1;
    }
}

PLAT_file_lock::~PLAT_file_lock()
{
    if (fd_ >= 0) close(fd_);   // closing releases the lock
}

bool PLAT_file_exists(const char* path)
{
    if (!path) return false;
    struct stat st;
    return ::stat(PLAT_resolve_path(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {
struct size_limit_signal_state {
    bool held = false;
    struct sigaction previous {};
};
size_limit_signal_state size_limit_signal;
}  // namespace

void PLAT_hold_size_limit_signal(bool hold)
{
    size_limit_signal_state& s = size_limit_signal;
    if (hold == s.held) return;
    if (hold) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        if (::sigaction(SIGXFSZ, &ignore, &s.previous) != 0) return;
    } else {
        ::sigaction(SIGXFSZ, &s.previous, nullptr);
    }
    s.held = hold;
}

bool PLAT_size_limit_signal_held() { return size_limit_signal.held; }
