// The pilot's logbook: its entries, and its text file.
#include "flightmodel/systems/logbook.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/pilot_prefs.h"
#include "core/units.h"
#include "core/reset_registry.h"
#include "flightmodel/flt.h"
#include "platform/plat_files.h"
#include "platform/plat_time.h"
#include "world/navdb.h"

logbook_arrays logbook{};
int32_t logbook_last = -1;

namespace {

// Which entries this copy of the program owns, and how they stand in the
// file. Another copy may fly from the same folder and add its own entries to
// the file meanwhile: a save adds this copy's entries to the file as it
// stands then, rather than writing back what was read at start over the
// other copy's flights.
struct logbook_file_record {
    int own_first = -1;            // the first entry this copy started (-1: none)
    bool whole = false;            // a new logbook: the save writes it whole
    std::vector<std::string> own_lines;   // this copy's entries as the file holds them now
    // The user's aircraft file last named, and its name as the disk holds it.
    std::string aircraft_path;
    std::string aircraft_name;
};
logbook_file_record logbook_file;

constexpr int LOGBOOK_VERSION = 1;
constexpr int ENTRY_CODE = 2;
constexpr int END_CODE = 99;
// During a flight's first second the systems start its entry every frame;
// an entry of this copy's that holds less flying than that is the same
// flight's, and is filled again. Every flight past its start keeps its entry,
// however short: refilling any entry under 3 minutes, as it once was, lost
// each short flight (an approach flown, a take-off ended by a crash, a
// look at another aircraft) to the next start.
constexpr float REUSE_BELOW_HOURS = 1.5f / 3600.0f;
constexpr int AIRPORT_CHARS = LOGBOOK_AIRPORT_SIZE - 1;
constexpr int TAIL_CHARS = LOGBOOK_TAIL_SIZE - 1;
constexpr int AIRCRAFT_CHARS = LOGBOOK_AIRCRAFT_SIZE - 1;
constexpr int EXTENSION_CHARS = 4;           // the aircraft file's ".acf"
// An empty from, to or tail is written as this so that it reads back as empty.
constexpr const char* EMPTY_FIELD = "-";

void too_many_entries()
{
    MACIBM_nuke_alert(0, "Too many logbook entries! (Orvell allows 5000.)",
                      "Throw away your logbook file in your logbook folder!",
                      "Or, if you want to keep a record of your flights, rename it to the dates it was in use or "
                      "something like that.",
                      "That way, you can keep your old logbook saved and Orvell will start a new one, just like pilots "
                      "save old logbooks.",
                      ALERT_FATAL);
}

// Copies at most `chars` characters of src into a field of chars + 1 bytes.
void set_field(char* field, const char* src, int chars)
{
    std::memset(field, 0, static_cast<size_t>(chars) + 1);
    if (src) std::memcpy(field, src, strnlen(src, static_cast<size_t>(chars)));
}

int32_t today_yymmdd()
{
    const std::time_t now = static_cast<std::time_t>(PLAT_calendar_time());
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;   // a time the calendar cannot hold: date 0, not -999900 worked from empty fields
    return (local.tm_year + 1900 - 2000) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

// The id of an airport of the table; none for -1 (no airport) or an index
// outside the table (it would read past it).
const char* airport_id(int a)
{
    if (a < 0 || a >= static_cast<int>(airport_table.size())) return "";
    return airport_table[static_cast<size_t>(a)].id;
}

// The user's aircraft as the logbook names it: the file's name as the disk
// holds it, without its extension. The same file is named in upper case when
// it comes from the defaults or a situation and as the disk has it when chosen
// from the browser; taken as named, the logbook called one aircraft by two
// names. A file that is not on the disk keeps the name it was given.
std::string aircraft_name()
{
    const acf_struct& a = pln[0];
    char given[TEXT_SIZE];
    set_field(given, a.acf_file_name, TEXT_MAX_LEN);
    char path[TEXT_SIZE];
    set_field(path, a.acf_file_path, TEXT_MAX_LEN);
    logbook_file_record& own = logbook_file;
    if (path[0] && own.aircraft_path != path) {
        // Resolved once per file: the entry is started every frame of a flight's first second.
        own.aircraft_path = path;
        own.aircraft_name.clear();
        const std::filesystem::path disk(PLAT_resolve_path(path));
        std::error_code ec;
        if (std::filesystem::is_regular_file(disk, ec)) own.aircraft_name = disk.filename().string();
    }
    std::string name = path[0] && !own.aircraft_name.empty() ? own.aircraft_name : std::string(given);
    name.resize(name.size() > EXTENSION_CHARS ? name.size() - EXTENSION_CHARS : 0);
    return name;
}

void logbook_file_path(char out[TEXT_SIZE])
{
    UTIL_strcat3(folder_table[FOLDER_LOGBOOKS], "", out);
    char name[PILOT_NAME_SIZE];
    set_field(name, logbook_path, PILOT_NAME_SIZE - 1);
    UTIL_strcat(out, name);
}

// ---------------------------------------------------------------------------
// Writing.

// A text field padded with blanks to its width; an empty one as the placeholder.
// Written as it stands, a short or empty from, to or tail number would shift
// the later fields under the fixed widths they are read back with, and the
// entry would come back with the wrong airports, tail and aircraft.
void put_padded(std::string& line, const char* text, int width)
{
    const size_t len = strnlen(text, static_cast<size_t>(width));
    const char* t = len ? text : EMPTY_FIELD;
    const size_t n = len ? len : std::strlen(EMPTY_FIELD);
    line.append(t, n);
    line.append(static_cast<size_t>(width) - n, ' ');
}

std::string entry_line(int e, const logbook_tenths& tenths)
{
    const logbook_arrays& b = logbook;
    char number[64];
    std::string line = "2 ";
    std::snprintf(number, sizeof number, "%6d  ", std::clamp(b.date[e], 0, 999999));
    line += number;
    put_padded(line, b.from[e], AIRPORT_CHARS);
    line += "  ";
    put_padded(line, b.to[e], AIRPORT_CHARS);
    std::snprintf(number, sizeof number, "  %2d  ", b.landings[e]);
    line += number;
    for (int64_t t : tenths) {
        std::snprintf(number, sizeof number, "%4.1f  ", static_cast<double>(t) / 10.0);
        line += number;
    }
    put_padded(line, b.tail[e], TAIL_CHARS);
    line += "  ";
    const size_t len = strnlen(b.aircraft[e], AIRCRAFT_CHARS);
    for (size_t k = 0; k < len; ++k) {
        const char c = b.aircraft[e][k];
        line += c == '\n' || c == '\r' ? ' ' : c;   // one entry, one line
    }
    line += '\n';
    return line;
}

// ---------------------------------------------------------------------------
// Reading: one entry a line, read as the fields were written. A line that
// does not parse is skipped (and noted in the error log): read on as one run
// of tokens, it would end the reading there and every later entry would be
// lost, and written over at the next save.

struct cursor {
    const std::string& s;
    size_t at = 0;

    void skip_blanks()
    {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
    }
    bool integer(int32_t& out)
    {
        skip_blanks();
        const char* begin = s.c_str() + at;
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(begin, &end, 10);
        if (end == begin || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
        at += static_cast<size_t>(end - begin);
        out = static_cast<int32_t>(v);
        return true;
    }
    bool number(float& out)
    {
        skip_blanks();
        if (at < s.size() && !(std::isdigit(static_cast<unsigned char>(s[at])) || s[at] == '-' || s[at] == '+' ||
                               s[at] == '.'))
            return false;
        const char* begin = s.c_str() + at;
        char* end = nullptr;
        const float v = std::strtof(begin, &end);
        if (end == begin || !std::isfinite(v)) return false;
        at += static_cast<size_t>(end - begin);
        out = v;
        return true;
    }
    // A field of a fixed width after the blanks, then the one separator after
    // it; trailing blanks of the field dropped, the placeholder read as empty.
    void fixed(char* field, int chars)
    {
        skip_blanks();
        const size_t n = std::min(static_cast<size_t>(chars), s.size() - at);
        std::string text = s.substr(at, n);
        at += n;
        if (at < s.size()) ++at;
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
        if (text == EMPTY_FIELD) text.clear();
        set_field(field, text.c_str(), chars);
    }
    void rest(char* field, int chars)
    {
        skip_blanks();
        std::string text = at < s.size() ? s.substr(at) : std::string();
        while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
        set_field(field, text.c_str(), chars);
    }
};

// The fields of one entry line after its code; false when a number is missing.
bool read_entry(cursor& c, int e)
{
    logbook_arrays& b = logbook;
    int32_t date = 0, landings = 0;
    float hours[4] = {};
    if (!c.integer(date)) return false;
    char from[LOGBOOK_AIRPORT_SIZE], to[LOGBOOK_AIRPORT_SIZE];
    c.fixed(from, AIRPORT_CHARS);
    c.fixed(to, AIRPORT_CHARS);
    if (!c.integer(landings)) return false;
    for (float& h : hours)
        if (!c.number(h)) return false;
    b.date[e] = date;
    std::memcpy(b.from[e], from, sizeof from);
    std::memcpy(b.to[e], to, sizeof to);
    b.landings[e] = landings;
    b.total_hours[e] = hours[0];
    b.night_hours[e] = hours[1];
    b.instrument_hours[e] = hours[2];
    b.cross_country_hours[e] = hours[3];
    c.fixed(b.tail[e], TAIL_CHARS);
    c.rest(b.aircraft[e], AIRCRAFT_CHARS);
    return true;
}

void log_skipped_line(int line_number)
{
    if (!error_log.is_open()) return;
    error_log << "Logbook: line " << line_number << " could not be read and was left out.\n";
    error_log.flush();
}

bool has_entry() { return logbook_last >= 0; }

// The entry lines of the file as it stands (in its order, up to its end
// code); false when it is missing or not a logbook.
bool file_entry_lines(const char* path, std::vector<std::string>& lines)
{
    char open_path[TEXT_SIZE];
    UTIL_strcpy(path, open_path);
    const file_slot_use use(1);
    if (!FILE_open_for_use(open_path, KIND_LOG, 0, 0)) return false;
    std::istream& in = FILE_current_stream();
    std::string line;
    int32_t version = 0;
    if (!std::getline(in, line, file_line_end)) return false;
    cursor v{line};
    if (!v.integer(version) || version != LOGBOOK_VERSION) return false;
    while (std::getline(in, line, file_line_end)) {
        cursor c{line};
        int32_t code = 0;
        if (c.integer(code) && code != ENTRY_CODE) break;
        c.skip_blanks();
        if (c.at < line.size() && line[c.at] != '\r') lines.push_back(line + '\n');   // blank lines dropped
    }
    return true;
}

// The lock file of a logbook: beside it, its name with a leading full stop
// (so the file browser does not list it) and ".lock" after it.
std::string lock_path(const char* path)
{
    // The name the save gives the file (its extension in lower case), found
    // on the disk as the save finds it: named from the path as given, the
    // lock of a logbook not yet written differed in case from the lock of the
    // same logbook once written, and two copies could each hold their own.
    char output[TEXT_SIZE];
    UTIL_strcpy(path, output);
    FILE_output_name(output);
    const std::string disk = PLAT_resolve_path(output);
    const size_t slash = disk.rfind('/');
    const size_t name = slash == std::string::npos ? 0 : slash + 1;
    return disk.substr(0, name) + "." + disk.substr(name) + ".lock";
}

}  // namespace

ORVELL_RESET_RECORD(LOGBOOK_file_reset, logbook_file, program);

void LOGBOOK_new_entry()
{
    logbook_arrays& b = logbook;
    logbook_file_record& own = logbook_file;
    // Only an entry this copy started is refilled: one read from the file is
    // a flight of its own (its hours are written to a tenth, so a flight of a
    // few minutes reads back as none).
    const bool reuse = has_entry() && own.own_first >= 0 && logbook_last >= own.own_first &&
                       b.total_hours[logbook_last] < REUSE_BELOW_HOURS;
    if (!reuse) {
        if (logbook_last + 1 >= LOGBOOK_MAX_ENTRIES) {
            too_many_entries();
            return;
        }
        logbook_last = std::max(logbook_last + 1, 0);
    }
    const int e = logbook_last;
    if (own.own_first < 0) own.own_first = e;
    b.date[e] = today_yymmdd();
    set_field(b.tail[e], pln[0].acf_tailnum, TAIL_CHARS);
    set_field(b.aircraft[e], aircraft_name().c_str(), AIRCRAFT_CHARS);
    // Where the flight begins, not the airport last chosen: a start on the
    // globe, a situation or a crash's restart begins elsewhere.
    const char* here = airport_id(LOGBOOK_airport_at(flt[0].latitude, flt[0].longitude));
    set_field(b.from[e], here, AIRPORT_CHARS);
    set_field(b.to[e], here, AIRPORT_CHARS);
    b.landings[e] = 0;
    b.total_hours[e] = b.night_hours[e] = b.instrument_hours[e] = b.cross_country_hours[e] = 0.0f;
}

void LOGBOOK_clear()
{
    logbook = logbook_arrays{};
    logbook_last = 0;
    logbook_file = logbook_file_record{};
    logbook_file.whole = true;
    logbook_file.own_first = 0;
    LOGBOOK_new_entry();
}

void LOGBOOK_write()
{
    char path[TEXT_SIZE];
    logbook_file_path(path);
    logbook_file_record& own = logbook_file;
    // Another copy flying from the same folder saves into the same file: each
    // holds the logbook's lock from reading the file to putting the new one in
    // its place. Without it, two copies quitting at once both read the file
    // before either replaced it, and the second to finish wrote over the
    // first's flights.
    const PLAT_file_lock lock(lock_path(path).c_str());
    // This copy's entries go into the file as it stands now, in place of
    // their lines there from an earlier save; a new logbook, or a file that
    // is missing or no logbook, is written from what this copy holds.
    std::vector<std::string> lines;
    const bool merge = !own.whole && file_entry_lines(path, lines);
    std::vector<std::string> own_lines;
    const std::vector<logbook_tenths> tenths = LOGBOOK_line_tenths();
    for (int e = 0; e <= logbook_last; ++e) {
        const bool owned = own.own_first >= 0 && e >= own.own_first;
        const std::string line = entry_line(e, tenths[static_cast<size_t>(e)]);
        if (owned) own_lines.push_back(line);
        if (!merge) lines.push_back(line);
    }
    if (merge) {
        for (const std::string& earlier : own.own_lines) {
            const auto at = std::find(lines.begin(), lines.end(), earlier);
            if (at != lines.end()) lines.erase(at);
        }
        lines.insert(lines.end(), own_lines.begin(), own_lines.end());
    }
    // The file is written beside the old one and put in its place only when
    // whole, and a failed write is a notice naming the file: written in place,
    // a failure part way would leave a cut logbook, the earlier flights lost,
    // with nothing said.
    if (!FILE_begin_save(path, KIND_LOG, LOGBOOK_VERSION)) return;
    for (const std::string& line : lines) file_out.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_out << END_CODE << '\n';
    if (!FILE_end_save()) return;
    own.own_lines = std::move(own_lines);
    own.whole = false;
}

void LOGBOOK_read()
{
    logbook_last = -1;
    logbook_file = logbook_file_record{};
    char path[TEXT_SIZE];
    logbook_file_path(path);
    // Input slot 1, given back (closed) however the read ends.
    const file_slot_use use(1);
    if (FILE_open_for_use(path, KIND_LOG, 0, 0)) {
        std::istream& in = FILE_current_stream();
        std::string line;
        // The header's version line.
        int32_t version = 0;
        bool ok = static_cast<bool>(std::getline(in, line, file_line_end));
        if (ok) {
            cursor c{line};
            ok = c.integer(version) && version == LOGBOOK_VERSION;
        }
        int line_number = 2;
        while (ok && std::getline(in, line, file_line_end)) {
            ++line_number;
            cursor c{line};
            int32_t code = 0;
            if (!c.integer(code)) {
                c.skip_blanks();
                if (c.at >= line.size() || line[c.at] == '\r') continue;   // a blank line
                log_skipped_line(line_number);
                continue;
            }
            if (code != ENTRY_CODE) break;
            if (logbook_last + 1 >= LOGBOOK_MAX_ENTRIES) {
                too_many_entries();
                break;
            }
            if (read_entry(c, logbook_last + 1))
                ++logbook_last;
            else
                log_skipped_line(line_number);
        }
    }
}

void LOGBOOK_add_hours(float total, float night, float instrument)
{
    if (!has_entry()) return;
    logbook.total_hours[logbook_last] += total;
    logbook.night_hours[logbook_last] += night;
    logbook.instrument_hours[logbook_last] += instrument;
}

void LOGBOOK_add_cross_country(float hours)
{
    if (has_entry()) logbook.cross_country_hours[logbook_last] += hours;
}

void LOGBOOK_count_landing(int airport)
{
    if (!has_entry()) return;
    logbook.landings[logbook_last] += 1;
    LOGBOOK_set_arrival(airport);
}

void LOGBOOK_set_arrival(int airport)
{
    if (has_entry()) set_field(logbook.to[logbook_last], airport_id(airport), AIRPORT_CHARS);
}

int LOGBOOK_airport_at(float lat, float lon)
{
    if (!(std::isfinite(lat) && std::isfinite(lon))) return -1;
    // Distances on the plane tangent at the place: good to a metre or so at
    // the radius, away from the poles, where no airport lies.
    const double east_per_deg = UNIT_MTRS_PER_DEG_LAT * std::cos(static_cast<double>(lat) * DEG_TO_RAD_DOUBLE);
    const double radius_deg = LOGBOOK_AIRPORT_RADIUS_M / UNIT_MTRS_PER_DEG_LAT;
    double best = LOGBOOK_AIRPORT_RADIUS_M;
    int found = -1;
    auto consider = [&](float plat, float plon, int a) {
        const double north = (static_cast<double>(plat) - lat) * UNIT_MTRS_PER_DEG_LAT;
        const double east = UTIL_wrap_pm180(static_cast<double>(plon) - lon) * east_per_deg;
        const double d = std::hypot(north, east);
        if (d <= best) {
            best = d;
            found = a;
        }
    };
    for (size_t k = 0; k < airport_table.size(); ++k) {
        const airport_record& a = airport_table[k];
        for (const runway_record& r : a.runways) {
            // A first look by latitude alone passes over the airports of the
            // rest of the world quickly.
            if (std::fabs(r.lat - lat) > 2.0 * radius_deg) continue;
            consider(r.lat, r.lon, static_cast<int>(k));
        }
        for (const start_position_record& p : a.starts) {
            if (std::fabs(p.lat - lat) > 2.0 * radius_deg) continue;
            consider(p.lat, p.lon, static_cast<int>(k));
        }
    }
    return found;
}

std::vector<logbook_tenths> LOGBOOK_line_tenths()
{
    const logbook_arrays& b = logbook;
    const int last = std::min(logbook_last, LOGBOOK_MAX_ENTRIES - 1);
    std::vector<logbook_tenths> out(static_cast<size_t>(std::max(last + 1, 0)));
    const float* const columns[4] = {b.total_hours, b.night_hours, b.instrument_hours, b.cross_country_hours};
    for (int k = 0; k < 4; ++k) {
        double flown = 0.0;          // hours flown up to the end of the line
        int64_t shown = 0;           // tenths of the lines above it
        for (int e = 0; e <= last; ++e) {
            // Hours not a number count as none: written, they would read "nan" and the entry would be lost.
            flown += UTIL_finite_or_zero(columns[k][e]);
            // Bounded to what the field can show (and an int64 hold).
            const int64_t through = std::llround(std::clamp(flown * 10.0, -1.0e12, 1.0e12));
            out[static_cast<size_t>(e)][static_cast<size_t>(k)] = through - shown;
            shown = through;
        }
    }
    return out;
}
