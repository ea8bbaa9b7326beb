#include "core/text_util.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/alert.h"
#include "core/numeric.h"

char custom_scenery_folder[TEXT_SIZE];

namespace {

// Length of a text as the 500-byte convention sees it: at most 499 characters.
size_t text_len(const char* text) { return text ? strnlen(text, TEXT_MAX_LEN) : 0; }

// Copies at most 499 characters of source into destination and terminates it.
// The two may overlap (callers pass a buffer as both source and destination).
int copy_limited(const char* source, char* destination)
{
    const size_t n = text_len(source);
    std::memmove(destination, source, n);
    destination[n] = 0;
    return static_cast<int>(n);
}

// A float truncated towards zero to an int, held within the int range (NaN gives 0).
int truncate_to_int(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(x);
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts

void UTIL_limit_500(char* text)
{
    if (text && strnlen(text, TEXT_SIZE) > static_cast<size_t>(TEXT_MAX_LEN)) text[TEXT_MAX_LEN] = 0;
}

char* UTIL_strcpy(char* source, char* destination)
{
    if (!source || !destination) return nullptr;
    UTIL_limit_500(source);
    copy_limited(source, destination);
    return destination;
}

char* UTIL_strcpy(const char* source, char* destination)
{
    if (!source || !destination) return nullptr;
    copy_limited(source, destination);
    return destination;
}

int UTIL_strcat(char* destination, const char* text)
{
    if (!destination) return 0;
    UTIL_limit_500(destination);
    const size_t have = std::strlen(destination);
    size_t add = text_len(text);
    if (have + add > static_cast<size_t>(TEXT_MAX_LEN)) add = TEXT_MAX_LEN - have;
    if (add) std::memmove(destination + have, text, add);
    destination[have + add] = 0;
    return static_cast<int>(have + add);
}

int UTIL_strcat3(const char* first, const char* second, char* destination)
{
    if (!destination) return 0;
    // Built aside first: the destination is often one of the two parts.
    char result[TEXT_SIZE];
    copy_limited(first ? first : "", result);
    UTIL_strcat(result, second ? second : "");
    return copy_limited(result, destination);
}

int UTIL_strcmp_nocase(const char* a, const char* b)
{
    const size_t na = text_len(a), nb = text_len(b);
    for (size_t i = 0;; ++i) {
        unsigned char ca = i < na ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char cb = i < nb ? static_cast<unsigned char>(b[i]) : 0;
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
        if (ca == 0) return 0;
    }
}

int UTIL_str_contains(const char* needle, const char* text)
{
    const size_t nn = text_len(needle), nt = text_len(text);
    if (nn == 0) return 1;
    if (nn > nt) return 0;
    for (size_t i = 0; i + nn <= nt; ++i)
        if (std::memcmp(text + i, needle, nn) == 0) return 1;
    return 0;
}

void UTIL_c_to_pascal(const char* text, unsigned char* out)
{
    size_t n = text_len(text);
    if (n > 255) n = 255;   // the length byte holds at most 255
    out[0] = static_cast<unsigned char>(n);
    if (n) std::memcpy(out + 1, text, n);
}

void UTIL_downcase_char(char& c)
{
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

void UTIL_upcase_char(char& c)
{
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void UTIL_pack_number_text(char* text)
{
    if (!text) return;
    UTIL_limit_500(text);
    if (text[0] == '-' || text[0] == '=') return;

    // Each number of up to three characters becomes two bytes n / 127 + 1 and
    // n % 127 + 1. The result must leave room for its terminator.
    char result[TEXT_SIZE];
    int out = 0;
    int pos = 0;
    while (text[pos] != 0) {   // the text ends by position 499 at the latest
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        int n = 0;
        for (int k = 0; k < 3 && text[pos] != 0 && text[pos] != ' '; ++k) n = n * 10 + UTIL_char_to_digit(text[pos++]);
        if (out + 2 > TEXT_MAX_LEN) {
            MACIBM_nuke_alert(0, "The packed number list of a menu line is too long!", "", "", "", ALERT_FATAL);
            return;
        }
        result[out++] = static_cast<char>(n / 127 + 1);
        result[out++] = static_cast<char>(n % 127 + 1);
    }
    std::memcpy(text, result, static_cast<size_t>(out));
    text[out] = 0;
}

// ---------------------------------------------------------------------------
// Numbers and characters

bool UTIL_is_digit(char c) { return c >= '0' && c <= '9'; }

bool UTIL_is_number_text(const char* text)
{
    const size_t n = text_len(text);
    if (n == 0) return false;
    for (size_t i = 0; i < n; ++i)
        if (!UTIL_is_digit(text[i]) && text[i] != '-' && text[i] != '+') return false;
    return true;
}

int UTIL_char_to_digit(char c)
{
    if (UTIL_is_digit(c)) return c - '0';
    if (c == '+') return 1;
    if (c == '-') return -1;
    return 0;
}

char UTIL_digit_to_char(int digit) { return (digit >= 1 && digit <= 9) ? static_cast<char>('0' + digit) : '0'; }

int UTIL_text_to_int(const char* text)
{
    const size_t n = text_len(text);
    if (n == 0 || n > 9 || !UTIL_is_number_text(text)) return -1;
    // Each character weighs by its place, signs included: "+5" is 15, "-5" is -5.
    int value = 0;
    for (size_t i = 0; i < n; ++i) value = value * 10 + UTIL_char_to_digit(text[i]);
    return value;
}

void UTIL_int_to_text(int value, char* out, int width)
{
    int64_t a = value;
    int pos = 0;
    if (a < 0) {
        out[pos++] = '-';
        a = -a;
    }
    int64_t place = 1000000000;   // 10^9
    for (int k = 9; k >= 1; --k, place /= 10)
        if (a >= place || width >= k + 1) out[pos++] = static_cast<char>('0' + (a / place) % 10);
    out[pos++] = static_cast<char>('0' + a % 10);
    out[pos] = 0;
}

float UTIL_text_to_float(const char* text)
{
    const size_t n = text_len(text);
    long double value = 0;   // wide enough that 499 digits do not overflow
    int decimals = 0;
    bool in_fraction = false;
    bool negative = false;
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        const bool digit = UTIL_is_digit(c);
        if (!digit && c != '+' && c != '-' && c != '.') continue;
        // After the first point every digit, sign or point is one decimal place.
        if (in_fraction) ++decimals;
        if (digit) value = value * 10 + (c - '0');
        else if (c == '+') negative = false;
        else if (c == '-') negative = true;
        else in_fraction = true;
    }
    // Database loads convert millions of numbers: short fractions use a table.
    static const auto powers = [] {
        std::array<long double, 28> p{};
        p[0] = 1.0L;
        for (size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10.0L;
        return p;
    }();
    value /= decimals < static_cast<int>(powers.size()) ? powers[static_cast<size_t>(decimals)]
                                                        : std::pow(10.0L, decimals);
    if (negative) value = -value;
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

int UTIL_decimals_for_width(float x)
{
    const float a = util_abs_float(x);
    if (a > 9999.9f) return 0;
    if (a > 999.9f) return 1;
    if (a > 99.9f) return 2;
    if (a > 9.9f) return 3;
    return 4;
}

void UTIL_hours_minutes(float seconds, int& hours, int& minutes)
{
    const int s = truncate_to_int(seconds);
    hours = s / 3600;
    minutes = s / 60 - 60 * hours;
}

char UTIL_glyph_to_char(int glyph)
{
    if (glyph == 0) return ' ';
    if (glyph >= 1 && glyph <= 10) return static_cast<char>('0' + glyph - 1);
    if (glyph >= 11 && glyph <= 36) return static_cast<char>('A' + glyph - 11);
    if (glyph == 37) return '-';
    return '0';
}

int UTIL_char_to_glyph(char c)
{
    if (c == ' ') return 0;
    if (c >= '0' && c <= '9') return c - '0' + 1;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 11;
    if (c == '-') return 37;
    return 1;
}

// ---------------------------------------------------------------------------
// Paths and files

// The name after the last folder separator. Besides the data's '\' and ':' a
// '/' also ends a folder: paths given on this system may use it, and the name
// must never keep a folder in front of it.
void UTIL_file_name_of_path(char* out, const char* path)
{
    const size_t n = text_len(path);
    size_t start = 0;
    for (size_t i = 0; i < n; ++i)
        if (path[i] == '\\' || path[i] == ':' || path[i] == '/') start = i + 1;
    std::memmove(out, path + start, n - start);
    out[n - start] = 0;
}

void get_custom_file(int kind, char* short_name, char* full_path, int direction)
{
    const char* sub = nullptr;
    const char* extension = nullptr;
    if (kind == 5) {
        sub = "custom objects:";
        extension = ".obj";
    } else if (kind == 18) {
        sub = "custom terrain textures:";
        extension = ".bmp";
    } else {
        MACIBM_nuke_alert(0, "Bad get_custom_file type!", "", "", "", ALERT_FATAL);
        return;
    }
    char folder[TEXT_SIZE];
    UTIL_strcat3(custom_scenery_folder, sub, folder);
    const size_t folder_len = std::strlen(folder);

    if (direction == 0) {
        // Full path to short name: drop the folder in front and the extension behind.
        constexpr size_t SHORT_NAME_MAX = 150;
        UTIL_limit_500(full_path);
        const size_t n = std::strlen(full_path);
        size_t len = (n >= folder_len + 4) ? n - 4 - folder_len : 0;
        if (len > SHORT_NAME_MAX) len = SHORT_NAME_MAX;
        std::memmove(short_name, full_path + folder_len, len);
        short_name[len] = 0;
    } else {
        char path[TEXT_SIZE];
        UTIL_strcat3(folder, short_name, path);
        UTIL_strcat(path, extension);
        copy_limited(path, full_path);
    }
}

void ENV_tile_file_name(int lat, int lon, char* out)
{
    // The 10-degree folder is named by its south-west corner.
    const int64_t lat10 = static_cast<int64_t>(std::floor((lat + 90.0) / 10.0)) * 10 - 90;
    const int64_t lon10 = static_cast<int64_t>(std::floor((lon + 180.0) / 10.0)) * 10 - 180;
    auto sign = [](int64_t v) { return v < 0 ? '-' : '+'; };
    auto mag = [](int64_t v) { return static_cast<long long>(v < 0 ? -v : v); };
    std::snprintf(out, TEXT_SIZE, "%c%02lld%c%03lld\\%c%02lld%c%03lld.env", sign(lat10), mag(lat10), sign(lon10),
                  mag(lon10), sign(lat), mag(lat), sign(lon), mag(lon));
}
