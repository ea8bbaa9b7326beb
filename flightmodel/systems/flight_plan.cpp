// The flight plan table and its files.
#include "flightmodel/systems/flight_plan.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <string>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/text_util.h"
#include "world/nav_lookup.h"

fms_plan_record fms_plan{};

// A fresh flight has no plan: every entry empty, its id blank.
void FMS_plan_reset()
{
    fms_plan.destination_index = 0;
    fms_plan.displayed_index = 0;
    for (fms_entry& e : fms_plan.entries) {
        e = fms_entry{};
        std::memcpy(e.id, "     ", 6);
    }
}
ORVELL_RESET(FMS_plan_reset, flight);

namespace {

constexpr const char* EMPTY_ID = "----";
constexpr const char* EMPTY_ALTITUDE = "0";
constexpr int ID_CHARS = FMS_ID_SIZE - 1;
constexpr int ALTITUDE_CHARS = FMS_ALTITUDE_SIZE - 1;

// The notice names the file, so the user knows which plan was not read or saved.
void cannot_deal(const char* path)
{
    MACIBM_nuke_alert(app_mode, "I could not deal with this flight plan file!", path, "", "", ALERT_NOTICE);
}

bool is_blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The form an entry is saved in: "----" for an empty ID, "0" for an empty
// altitude, '_' for every blank of the ID. An altitude also ends at its first
// blank: written whole, "12 00" would read back as two fields and shift every
// later field of the file, so the plan would no longer load.
void normalise(fms_entry& e)
{
    e.id[ID_CHARS] = '\0';
    e.altitude[ALTITUDE_CHARS] = '\0';
    if (e.id[0] == '\0') std::strcpy(e.id, EMPTY_ID);
    for (char* c = e.id; *c; ++c)
        if (is_blank(*c)) *c = '_';
    for (char* c = e.altitude; *c; ++c)
        if (is_blank(*c)) *c = '\0';
    if (e.altitude[0] == '\0') std::strcpy(e.altitude, EMPTY_ALTITUDE);
}

enum class save_result { not_created, not_closed, saved };

save_result save(char* path, const fms_plan_record& plan)
{
    if (!FILE_begin_save(path, KIND_FMS, FMS_FILE_VERSION, false)) return save_result::not_created;
    char line[64];
    std::snprintf(line, sizeof line, "%6d\n%6d\n", plan.destination_index, plan.displayed_index);
    file_out << line;
    for (const fms_entry& e : plan.entries) {
        std::snprintf(line, sizeof line, "%6d  ", e.type);
        file_out << line << e.id << "  " << e.altitude << "  ";
        // A coordinate that is not a number would be written as "nan", which no
        // load reads back as a number; it is written as 0.
        std::snprintf(line, sizeof line, "%12.6f  %12.6f\n", UTIL_finite_or_zero(e.latitude),
                      UTIL_finite_or_zero(e.longitude));
        file_out << line;
    }
    return FILE_end_save() != 0 ? save_result::saved : save_result::not_closed;
}

// Whitespace-separated words of the open file.
struct words {
    std::istream& in;

    bool word(std::string& out, size_t keep)
    {
        out.clear();
        int c = in.get();
        while (c != std::char_traits<char>::eof() && is_blank(static_cast<char>(c))) c = in.get();
        if (c == std::char_traits<char>::eof()) return false;
        while (c != std::char_traits<char>::eof() && !is_blank(static_cast<char>(c))) {
            if (out.size() < keep) out += static_cast<char>(c);
            c = in.get();
        }
        return true;
    }
    bool integer(int32_t& out)
    {
        std::string w;
        if (!word(w, 32)) return false;
        char* end = nullptr;
        const long v = std::strtol(w.c_str(), &end, 10);
        if (end == w.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
        out = static_cast<int32_t>(v);
        return true;
    }
    bool number(float& out)
    {
        std::string w;
        if (!word(w, 64)) return false;
        char* end = nullptr;
        const float v = std::strtof(w.c_str(), &end);
        if (end == w.c_str() || *end != '\0' || !std::isfinite(v)) return false;
        out = v;
        return true;
    }
};

// Reads the open file into `plan`; false when anything is missing or damaged.
// A short or damaged file is refused whole: read on, the missing entries would
// take the reader's end-of-file values and the load would report success with
// a plan partly made of them.
bool read_plan(std::istream& in, fms_plan_record& plan)
{
    words w{in};
    int32_t version = 0;
    std::string rest;
    if (!w.integer(version) || version != FMS_FILE_VERSION || !w.word(rest, 16) || rest != "version") return false;
    if (!w.integer(plan.destination_index) || !w.integer(plan.displayed_index)) return false;
    for (fms_entry& e : plan.entries) {
        std::string id, altitude;
        if (!w.integer(e.type) || !w.word(id, ID_CHARS) || !w.word(altitude, ALTITUDE_CHARS) || !w.number(e.latitude) ||
            !w.number(e.longitude))
            return false;
        std::memset(e.id, 0, sizeof e.id);
        std::memcpy(e.id, id.data(), id.size());
        std::memset(e.altitude, 0, sizeof e.altitude);
        std::memcpy(e.altitude, altitude.data(), altitude.size());
    }
    return true;
}

bool load(char* path, fms_plan_record& plan)
{
    const file_slot_use use(1);
    if (!FILE_open_for_use(path, KIND_FMS, 0, 0)) return false;
    return read_plan(FILE_current_stream(), plan);
}

}  // namespace

void FMS_file_open_save(int mode)
{
    if (mode != FMS_OPEN && mode != FMS_SAVE) return;   // only the two modes there are
    char name[TEXT_SIZE] = "UNITLED.FMS";
    char path[TEXT_SIZE] = "Unitled.FMS";
    if (!UI_open_file_browser(mode, KIND_FMS, name, path)) return;
    path[TEXT_MAX_LEN] = '\0';

    if (mode == FMS_SAVE) {
        static fms_plan_record saved;
        saved = fms_plan;
        for (fms_entry& e : saved.entries) normalise(e);
        // The table takes the saved form once the file is made, whether or
        // not it then closes; a file that cannot be made changes nothing.
        const save_result r = save(path, saved);
        if (r != save_result::not_created) fms_plan = saved;
        if (r != save_result::saved) cannot_deal(path);
        return;
    }

    static fms_plan_record loaded;
    loaded = fms_plan_record{};
    if (!load(path, loaded)) {
        cannot_deal(path);
        return;
    }
    loaded.destination_index = 0;
    loaded.displayed_index = 0;
    for (fms_entry& e : loaded.entries) {
        // An ID found nowhere (an empty entry, a point) leaves the lookup's
        // index untouched; kept from before the load, the reference would name
        // an entry of another plan, so it is -1 (none) then.
        int reference = -1;
        if (NAV_find_nearest_by_id(e.id, e.type, reference, e.latitude, e.longitude)) e.reference = reference;
        else e.reference = -1;
    }
    fms_plan = loaded;
}
