// The token reader shared by the navigation-database parsers. The whole file
// is in memory; the reader walks it with a cursor and never passes its end.
//
// - Before each token a cursor at or past the end is the fatal "Scan too far!".
// - A token: spaces skipped (only the space character), then the characters up
//   to the next space, LF or CR; that terminator is consumed. With CR LF line
//   ends the LF left over reads as an empty token.
// - A rest-of-line text: spaces skipped, the characters up to the next NUL, LF
//   or CR; then every NUL, LF and CR after it is skipped.
// - Integers go through UTIL_text_to_int, decimals through UTIL_text_to_float.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/alert.h"
#include "core/numeric.h"
#include "core/text_util.h"

// Thrown when a fatal alert returned to its caller (it never does in the
// program; the parsers then stop without touching anything further).
struct nav_scan_abort {};
// Thrown instead of the fatal alert by a scanner of a file the flight can go
// without (the navaids, fixes and airways): the file ends inside a row.
struct nav_scan_cut {};

class nav_scanner {
public:
    // `path` names the file in the alert of a read past its end; a `soft`
    // scanner throws nav_scan_cut there instead.
    nav_scanner(const char* begin, const char* end, const char* path = nullptr, bool soft = false)
        : p_(begin), end_(end), path_(path ? path : ""), soft_(soft)
    {
    }

    const char* cursor() const { return p_; }

    // True when the cursor stands on "99" directly followed by CR or LF.
    bool at_end_row() const
    {
        return end_ - p_ >= 3 && p_[0] == '9' && p_[1] == '9' && (p_[2] == '\r' || p_[2] == '\n');
    }

    // The alert's later lines name the file (they are left empty otherwise):
    // the main files and every custom scenery package's file are read at
    // start-up, and a bare "Scan too far!" would not say which one is cut
    // short, leaving the user no way to tell which file to mend or remove.
    void check() const
    {
        if (p_ >= end_) {
            if (soft_) throw nav_scan_cut{};
            MACIBM_nuke_alert(0, "Scan too far!", "A navigation data file ends in the middle of a row.", "file:",
                              path_, ALERT_FATAL);
            throw nav_scan_abort{};
        }
    }

    // The next token as [start, start + length).
    void token(const char*& start, int64_t& length)
    {
        check();
        while (p_ < end_ && *p_ == ' ') ++p_;
        start = p_;
        while (p_ < end_ && *p_ != ' ' && *p_ != '\n' && *p_ != '\r') ++p_;
        length = p_ - start;
        if (p_ < end_) ++p_;   // the terminator
    }

    // The next token copied into a text of at most keep characters (the rest of it is skipped).
    void token_text(char* out, int keep)
    {
        const char* s;
        int64_t n;
        token(s, n);
        copy(out, s, n, keep);
    }

    int32_t token_int()
    {
        char buf[TEXT_SIZE];
        token_text(buf, TEXT_MAX_LEN);
        return UTIL_text_to_int(buf);
    }

    float token_float()
    {
        char buf[TEXT_SIZE];
        token_text(buf, TEXT_MAX_LEN);
        return UTIL_text_to_float(buf);
    }

    // The rest of the line, at most keep characters kept, then the line ends skipped.
    void rest_of_line(char* out, int keep)
    {
        check();
        while (p_ < end_ && *p_ == ' ') ++p_;
        const char* s = p_;
        while (p_ < end_ && *p_ != 0 && *p_ != '\n' && *p_ != '\r') ++p_;
        copy(out, s, p_ - s, keep);
        skip_line_ends();
    }

    // The rest of the line, read and dropped.
    void drop_rest_of_line()
    {
        char scratch[TEXT_SIZE];
        rest_of_line(scratch, TEXT_MAX_LEN);
    }

    // Fatal "Scan too far!" at the end, else past every NUL, LF and CR.
    void skip_line_ends()
    {
        check();
        while (p_ < end_ && (*p_ == 0 || *p_ == '\n' || *p_ == '\r')) ++p_;
    }

private:
    static void copy(char* out, const char* s, int64_t n, int keep)
    {
        if (n > keep) n = keep;
        if (n < 0) n = 0;
        std::memcpy(out, s, static_cast<size_t>(n));
        out[n] = 0;
    }

    const char* p_;
    const char* end_;
    const char* path_;
    bool soft_;
};

// Brings a heading into 0..360 by adding or subtracting whole turns: one
// below 0 ends in [0, 360), one above 360 in (0, 360], so 720 gives 360. A
// value that is not a number stays as it is; an infinite one becomes 0.
inline float nav_wrap_heading(float h) { return std::isnan(h) ? h : UTIL_wrap_closed(h, 360.0f); }
