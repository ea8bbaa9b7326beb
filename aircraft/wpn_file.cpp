// Reading and writing weapon files.
#include "aircraft/wpn_file.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <istream>

#include "aircraft/acf_geometry.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/hooks.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "platform/plat_files.h"

static_assert(std::endian::native == std::endian::little,
              "weapon files are written from memory as little-endian words");

namespace {

constexpr float FT = UNIT.ft_to_mtrs;
constexpr float SQFT = UNIT.sqft_to_sqm;
constexpr float SQIN = UNIT.sqft_to_sqm / 144.0f;
constexpr float LB = UNIT.lbs_to_kgs;
constexpr float LBF = UNIT.lbf_to_n;
constexpr char RULE_BYTE = '\xA5';
constexpr int RULE_LENGTH = 100;
constexpr const char* WEAPON_SUBFOLDER = "weapons:";

// Block offsets the reader converts.
constexpr int OFF_X_REF = 12, OFF_Y_CG = 16, OFF_Z_CG = 20, OFF_Y_REF = 24, OFF_Z_REF = 28;
constexpr int OFF_MASS_FIXED = 56, OFF_MASS = 60, OFF_FUEL = 64, OFF_AREA_FT = 76;
constexpr int OFF_MASS_COPY = 652, OFF_FUEL_COPY = 656;
// Words that hold the weapon's running state while it flies, not file data.
constexpr int OFF_RUNNING_FIRST = 476, OFF_RUNNING_END = 652, OFF_IMPACT_FIRST = 660, OFF_IMPACT_END = 680;

float get_f(const wpn_slot_record& b, int offset)
{
    float v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&b) + offset, sizeof v);
    return v;
}
void set_f(wpn_slot_record& b, int offset, float v)
{
    std::memcpy(reinterpret_cast<unsigned char*>(&b) + offset, &v, sizeof v);
}
void scale(wpn_slot_record& b, int offset, float factor) { set_f(b, offset, get_f(b, offset) * factor); }
void divide(wpn_slot_record& b, int offset, float factor) { set_f(b, offset, get_f(b, offset) / factor); }

// The file's units into the slot's, in the order the format fixes.
void to_metric(wpn_file_image& im)
{
    wpn_slot_record& b = im.block;
    if (b.wpn_type == WPN_KIND_GUN) {   // a gun has no reference point of its own
        set_f(b, OFF_Y_REF, get_f(b, OFF_Y_CG));
        set_f(b, OFF_Z_REF, get_f(b, OFF_Z_CG));
    }
    for (int off : {OFF_Y_REF, OFF_Z_REF, OFF_X_REF}) scale(b, off, FT);
    const float y_ref = get_f(b, OFF_Y_REF), z_ref = get_f(b, OFF_Z_REF);
    set_f(b, OFF_Y_CG, get_f(b, OFF_Y_CG) * FT - y_ref);
    set_f(b, OFF_Z_CG, get_f(b, OFF_Z_CG) * FT - z_ref);
    for (int off : {32, 36, 48}) scale(b, off, FT);
    scale(b, 52, SQIN);
    for (int off : {OFF_MASS_FIXED, OFF_MASS, OFF_FUEL}) scale(b, off, LB);
    set_f(b, OFF_MASS_COPY, get_f(b, OFF_MASS));
    set_f(b, OFF_FUEL_COPY, get_f(b, OFF_FUEL));
    scale(b, OFF_AREA_FT, SQFT);
    for (int off = 384; off <= 392; off += 4) scale(b, off, LBF);
    for (int off = 80; off <= 92; off += 4) set_f(b, off, get_f(b, off) * FT - z_ref);
    for (int off = 96; off <= 140; off += 4) scale(b, off, FT);
    for (int k = 0; k < ACF_BODY_PART_POINTS; ++k) {
        im.X[k] *= FT;
        im.Y[k] = im.Y[k] * FT - y_ref;
        im.Z[k] = im.Z[k] * FT - z_ref;
    }
}

// The slot's units back into the file's: the reverse of to_metric. Writing the
// slot as it stands would store metres and kilograms where the file holds feet
// and pounds, so reading the file back would convert them a second time (a
// weapon a third of its size and about half its mass); the file keeps its units.
void to_file_units(wpn_file_image& im)
{
    wpn_slot_record& b = im.block;
    const float y_ref = get_f(b, OFF_Y_REF), z_ref = get_f(b, OFF_Z_REF);
    for (int k = 0; k < ACF_BODY_PART_POINTS; ++k) {
        im.X[k] /= FT;
        im.Y[k] = (im.Y[k] + y_ref) / FT;
        im.Z[k] = (im.Z[k] + z_ref) / FT;
    }
    for (int off = 96; off <= 140; off += 4) divide(b, off, FT);
    for (int off = 80; off <= 92; off += 4) set_f(b, off, (get_f(b, off) + z_ref) / FT);
    for (int off = 384; off <= 392; off += 4) divide(b, off, LBF);
    divide(b, OFF_AREA_FT, SQFT);
    for (int off : {OFF_MASS_FIXED, OFF_MASS, OFF_FUEL}) divide(b, off, LB);
    divide(b, 52, SQIN);
    for (int off : {32, 36, 48}) divide(b, off, FT);
    set_f(b, OFF_Y_CG, (get_f(b, OFF_Y_CG) + y_ref) / FT);
    set_f(b, OFF_Z_CG, (get_f(b, OFF_Z_CG) + z_ref) / FT);
    for (int off : {OFF_Y_REF, OFF_Z_REF, OFF_X_REF}) divide(b, off, FT);
    b.wpn_released = 0;   // a file holds a weapon not yet fired
}

// Whether every float word of [first, end) of the block is a number of sensible size.
bool finite_words(const wpn_slot_record& b, int first, int end)
{
    for (int off = first; off < end; off += 4) {
        const float v = get_f(b, off);
        if (!std::isfinite(v) || std::fabs(v) >= 1e10f) return false;
    }
    return true;
}

bool finite_outline(const wpn_file_image& im)
{
    if (!std::isfinite(im.radius) || std::fabs(im.radius) >= 1e10f) return false;
    for (int k = 0; k < ACF_BODY_PART_POINTS; ++k)
        for (float v : {im.X[k], im.Y[k], im.Z[k]})
            if (!std::isfinite(v) || std::fabs(v) >= 1e10f) return false;
    return true;
}

// What reading the file came to. A weapon file that opens but is damaged is
// refused with a notice and leaves the slot as it was: a short file would leave
// the rest of the slot holding the previous weapon, a weapon without mass would
// divide its forces by zero in flight, and values that are not numbers would
// spread into the flight of the weapon and of the aircraft carrying it.
enum class read_result { missing, damaged, read };

// Named once: every slot and every plane that carries the weapon reads it.
void refuse(const char* path, const char* reason)
{
    if (!ALERT_first_notice_of_damage(path)) return;
    const std::string shown = FOLDERS_log_path(path);
    MACIBM_nuke_alert(0, "This weapon file is damaged and was not loaded:", shown.c_str(), reason, "", ALERT_NOTICE);
}

// Opens a weapon file in the current input slot without ever raising the
// data-file services' alert on a file too short to hold its header (reading
// its version would fail). Returns 1 when it opened as a version-1 weapon file,
// 0 otherwise.
int open_weapon_file(char* path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(PLAT_resolve_path(path), ec);
    if (ec || size < WPN_FILE_HEADER_SIZE) return 0;
    if (FILE_open_for_use(path, KIND_WEAPON, WPN_FILE_VERSION, 0)) return 1;
    FILE_close_current();
    return 0;
}

read_result read_image(char* path, wpn_file_image& im, const char*& reason)
{
    if (!open_weapon_file(path)) {
        // A file that is there but opens as no weapon file (random bytes, cut
        // inside its header) is damaged like one cut short; only a missing
        // file goes without a word.
        if (!PLAT_file_exists(path)) return read_result::missing;
        reason = "It is not a weapon file this program reads.";
        return read_result::damaged;
    }
    std::istream& in = FILE_current_stream();
    in.read(reinterpret_cast<char*>(&im), static_cast<std::streamsize>(sizeof im));
    const bool complete = in.gcount() == static_cast<std::streamsize>(sizeof im);
    const bool swap = file_swap_bytes != 0;
    FILE_close_current();
    if (!complete) {
        reason = "It is shorter than a weapon file.";
        return read_result::damaged;
    }

    if (swap) {
        // Every word of the other byte order, then the text back as written.
        FILE_swap_words(&im, sizeof im);
        FILE_swap_words(reinterpret_cast<unsigned char*>(&im.block) + WPN_TEXT_OFFSET, WPN_TEXT_SIZE);
    }
    if (!(get_f(im.block, OFF_MASS) > 0.0f)) {
        reason = "It gives the weapon no mass.";
        return read_result::damaged;
    }
    to_metric(im);
    if (!finite_words(im.block, 12, 192) || !finite_words(im.block, 384, 424) ||
        !finite_words(im.block, 440, OFF_RUNNING_FIRST) || !finite_outline(im)) {
        reason = "It holds values that are not numbers.";
        return read_result::damaged;
    }
    return read_result::read;
}

// The areas, centroids and radii of gyration of the weapon's body.
void measure_body(int slot, int s, wpn_slot_record& w)
{
    // The areas start from zero too: the measurement adds into its outputs, so
    // whatever a file holds in these words would be added to the body's own
    // areas and give a weapon larger than its outline.
    w.wpn_area_front = w.wpn_area_side = w.wpn_area_top = 0.0f;
    w.wpn_gyr_pitch = w.wpn_gyr_yaw = w.wpn_gyr_roll = 0.0f;
    if (w.wpn_type == WPN_KIND_GUN) return;
    float surface = 0.0f;
    ACF_body_areas(slot, s, 1, 0.0f, 0.0f, 0.0f, w.wpn_area_front, w.wpn_area_side, w.wpn_area_top,
                   w.wpn_centroid_lat, w.wpn_centroid_vert, w.wpn_centroid_long, surface, w.wpn_gyr_pitch,
                   w.wpn_gyr_yaw, w.wpn_gyr_roll);
    // A body without outline has no surface: its sums stay 0 instead of 0/0.
    const float inv = surface > 0.0f ? 1.0f / surface : 0.0f;
    w.wpn_gyr_pitch *= inv;
    w.wpn_gyr_yaw *= inv;
    w.wpn_gyr_roll *= inv;
}

void rule_line()
{
    for (int k = 0; k < RULE_LENGTH; ++k) report_log.put(RULE_BYTE);
    report_log << '\n';
}

void report_value(const char* label, float v, int width, int decimals, const char* end)
{
    report_log << label << std::setw(width) << std::setprecision(decimals) << v << end << '\n';
}

void report(const char* path, const wpn_slot_record& w)
{
    report_log << '\n';
    rule_line();
    report_log << "Weaapon " << path << ":\n";
    rule_line();
    report_value("The frontal area                is ", w.wpn_area_front, 8, 3, " square meters.");
    report_value("The side area                   is ", w.wpn_area_side, 8, 3, " square meters.");
    report_value("The top area                    is ", w.wpn_area_top, 8, 3, " square meters.");
    report_value("The longitudinal centroid       is ", w.wpn_centroid_long, 8, 3, " meters from the CG OF THE WEAPON.");
    report_value("The lateral      centroid       is ", w.wpn_centroid_lat, 8, 3, " meters from the CG OF THE WEAPON.");
    report_value("The vertical     centroid       is ", w.wpn_centroid_vert, 8, 3, " meters from the CG OF THE WEAPON.");
    // An outline with points at no number leaves a sum at no number: the report shows 0 then, not the root of it.
    report_value("The radius of gyration in roll  is ", std::sqrt(UTIL_max(w.wpn_gyr_roll, 0.0f)), 7, 2, " meters.");
    report_value("The radius of gyration in pitch is ", std::sqrt(UTIL_max(w.wpn_gyr_pitch, 0.0f)), 7, 2, " meters.");
    report_value("The radius of gyration in yaw   is ", std::sqrt(UTIL_max(w.wpn_gyr_yaw, 0.0f)), 7, 2, " meters.");
    report_log << '\n';
}

void set_valid_from_kind(wpn_slot_record& w) { w.wpn_valid = WPN_kind_is_trigger_held(w.wpn_type) ? 0 : 1; }

void read_weapon(int slot, int s, char* path)
{
    acf_struct& a = pln[slot];
    wpn_slot_record& w = a.acf_wpn_slot[s];
    static wpn_file_image im;   // large: kept off the stack
    std::memset(&im, 0, sizeof im);
    const char* reason = "";
    switch (read_image(path, im, reason)) {
    case read_result::missing:
        set_valid_from_kind(w);
        return;
    case read_result::damaged:
        refuse(path, reason);
        return;
    case read_result::read: break;
    }

    // The weapon is sound: it takes the slot and the body arrays of part index s.
    // Its text ends at its last byte at the latest (an unterminated text would be
    // read past its field). The words of the weapon's flight state start clear:
    // a file written while the weapon flew holds that flight, which read as it
    // is would start the new weapon released, at the old weapon's place and speed.
    unsigned char* text = reinterpret_cast<unsigned char*>(&im.block) + WPN_TEXT_OFFSET;
    text[WPN_TEXT_SIZE - 1] = 0;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&im.block);
    std::memset(bytes + OFF_RUNNING_FIRST, 0, OFF_RUNNING_END - OFF_RUNNING_FIRST);
    std::memset(bytes + OFF_IMPACT_FIRST, 0, OFF_IMPACT_END - OFF_IMPACT_FIRST);
    im.block.wpn_released = 0;
    w = im.block;
    a.acf_body_r[s] = im.radius;
    std::memcpy(a.acf_body_X + s * ACF_BODY_PART_POINTS, im.X, sizeof im.X);
    std::memcpy(a.acf_body_Y + s * ACF_BODY_PART_POINTS, im.Y, sizeof im.Y);
    std::memcpy(a.acf_body_Z + s * ACF_BODY_PART_POINTS, im.Z, sizeof im.Z);

    measure_body(slot, s, w);
    if (slot == 0 && w.wpn_type != WPN_KIND_GUN) report(path, w);
    set_valid_from_kind(w);
}

// Appends text to the 500-character path; false (the path unchanged) when it
// would not fit, where appending would write past the caller's buffer.
bool append_fits(char* path, const char* text)
{
    const std::size_t have = strnlen(path, ACF_TEXT_SIZE);
    const std::size_t add = std::strlen(text);
    if (have + add >= static_cast<std::size_t>(ACF_TEXT_SIZE)) return false;
    std::memcpy(path + have, text, add + 1);
    return true;
}

// The weapon file name, at most 499 characters.
void copy_name(const char* name, char* out)
{
    const std::size_t n = name ? strnlen(name, ACF_WPN_NAME_SIZE - 1) : 0;
    if (n) std::memcpy(out, name, n);
    out[n] = 0;
}

}  // namespace

void WPN_find_file(int slot, const char* name, char* path)
{
    if (!path) return;
    path[0] = 0;
    if (slot < 0 || slot >= ACF_SLOTS) return;
    const acf_struct& a = pln[slot];
    char weapon[ACF_WPN_NAME_SIZE];
    copy_name(name, weapon);

    // The aircraft's folder: its path up to where its file name begins.
    const std::size_t path_len = strnlen(a.acf_file_path, ACF_TEXT_SIZE - 1);
    const std::size_t name_len = strnlen(a.acf_file_name, ACF_TEXT_SIZE - 1);
    std::size_t cut = 0;
    if (name_len > 0 && name_len <= path_len &&
        std::memcmp(a.acf_file_path + path_len - name_len, a.acf_file_name, name_len) == 0) {
        cut = path_len - name_len;
    } else {
        // A path that does not end in the file name is cut after its last
        // separator, where a file name begins.
        for (std::size_t i = path_len; i > 0; --i)
            if (a.acf_file_path[i - 1] == ':' || a.acf_file_path[i - 1] == '\\' || a.acf_file_path[i - 1] == '/') {
                cut = i;
                break;
            }
    }
    std::memcpy(path, a.acf_file_path, cut);
    path[cut] = 0;
    // A weapon file there that opens is the one, left open in the input slot.
    const bool fits = append_fits(path, WEAPON_SUBFOLDER) && append_fits(path, weapon);
    if (fits && open_weapon_file(path)) return;
    char beside[ACF_TEXT_SIZE];
    std::memcpy(beside, path, ACF_TEXT_SIZE);
    const bool beside_there = fits && PLAT_file_exists(beside);

    // Otherwise the program's weapon folder. When that has none, a file
    // beside the aircraft that is there but does not open is the one, so
    // that reading it names the damage instead of passing it over.
    path[0] = 0;
    if (!append_fits(path, folder_table[FOLDER_WEAPONS]) || !append_fits(path, weapon)) path[0] = 0;
    if (beside_there && !PLAT_file_exists(path)) std::memcpy(path, beside, ACF_TEXT_SIZE);
}

void WPN_read(int mode, int slot, int weapon_slot, const char* name, char* path, int path_ready)
{
    if (mode != 7 && mode != 8) return;
    if (slot < 0 || slot >= ACF_SLOTS || weapon_slot < 0 || weapon_slot >= ACF_WPN_SLOTS || !path) {
        MACIBM_nuke_alert(0, "WPN_read: bad plane or weapon slot!", "", "", "", ALERT_NOTICE);
        return;
    }
    path[ACF_TEXT_SIZE - 1] = 0;
    if (!path_ready) WPN_find_file(slot, name, path);
    if (!path[0]) return;   // no path fits: not found

    if (mode == 7) {
        read_weapon(slot, weapon_slot, path);
        return;
    }

    // Writing: the slot in the file's units, then every slot of the user's
    // aircraft that names the file reads it again.
    static wpn_file_image im;
    const acf_struct& a = pln[slot];
    im.block = a.acf_wpn_slot[weapon_slot];
    im.radius = a.acf_body_r[weapon_slot];
    std::memcpy(im.X, a.acf_body_X + weapon_slot * ACF_BODY_PART_POINTS, sizeof im.X);
    std::memcpy(im.Y, a.acf_body_Y + weapon_slot * ACF_BODY_PART_POINTS, sizeof im.Y);
    std::memcpy(im.Z, a.acf_body_Z + weapon_slot * ACF_BODY_PART_POINTS, sizeof im.Z);
    to_file_units(im);
    if (!WPN_write_file(path, im)) return;

    char written[ACF_WPN_NAME_SIZE];
    copy_name(name, written);
    bool reread = false;
    for (int k = 0; k < ACF_WPN_SLOTS; ++k) {
        char other[ACF_WPN_NAME_SIZE];
        copy_name(pln[0].wpn_name + k * ACF_WPN_NAME_SIZE, other);
        if (!written[0] || std::strcmp(other, written) != 0) continue;
        char again[ACF_TEXT_SIZE] = {};
        WPN_read(7, 0, k, written, again, 0);
        reread = true;
    }
    if (reread) CORE_load_aircraft_textures(1, 0, 0, 0);
}

int WPN_write_file(const char* path, const wpn_file_image& image)
{
    char target[ACF_TEXT_SIZE];
    const std::size_t n = strnlen(path, ACF_TEXT_SIZE - 1);
    std::memcpy(target, path, n);
    target[n] = 0;
    if (!FILE_begin_save(target, KIND_WEAPON, WPN_FILE_VERSION)) return 0;
    file_out.write(reinterpret_cast<const char*>(&image), static_cast<std::streamsize>(sizeof image));
    return FILE_end_save();
}
