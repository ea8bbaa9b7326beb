// Reading and writing aircraft files.
#include "aircraft/acf_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <istream>

#include "aircraft/acf_load.h"
#include "aircraft/acf_old_file.h"
#include "aircraft/airfoil.h"
#include "platform/plat_files.h"
#include "core/alert.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/text_util.h"
#include "aircraft/part_presence.h"

static_assert(std::endian::native == std::endian::little,
              "the record is written to files as it stands in memory: little-endian words");

namespace {

constexpr std::uintmax_t ACF_HEADER_SIZE = 5;   // byte-order letter and version

// The compiled size of the file image; the reader and writer refuse to run with any other.
constexpr std::size_t compiled_image_size = offsetof(acf_struct, acf_draw_geo);

void size_guard()
{
    if (compiled_image_size != ACF_FILE_IMAGE_SIZE)
        MACIBM_nuke_alert(0, "Duh-oh! I changed the size of the acf struct!", "", "", "", ALERT_FATAL);
}

void bad_slot()
{
    MACIBM_nuke_alert(0, "ACF_read_write: bad plane slot!", "", "", "", ALERT_FATAL);
}

// Calls f(first byte, width) for every text field of the file image that the
// byte-order reversal must restore, and that a read must terminate.
template <class F>
void for_each_text_field(acf_struct& a, F&& f)
{
    f(a.acf_tailnum, ACF_TAILNUM_SIZE);
    f(a.acf_author, ACF_TEXT_SIZE);
    f(a.acf_descrip, ACF_TEXT_SIZE);
    for (int p = 0; p < ACF_NUM_PARTS; ++p) {
        f(a.acf_Rafl0 + p * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE);
        f(a.acf_Rafl1 + p * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE);
        f(a.acf_Tafl0 + p * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE);
        f(a.acf_Tafl1 + p * ACF_AFL_NAME_SIZE, ACF_AFL_NAME_SIZE);
    }
    for (int w = 0; w < ACF_WPN_SLOTS; ++w) f(a.wpn_name + w * ACF_WPN_NAME_SIZE, ACF_WPN_NAME_SIZE);
}

// The counts of a file that index the record's fixed arrays. Loading a file
// with a count beyond its array would have the derivation and the flight model
// read and write past that array, so the file is refused as damaged: the text
// of the reason, or nullptr.
const char* bad_count(const acf_struct& a)
{
    if (!UTIL_in_range(a.acf_num_engines, 0, ACF_MAX_ENGINES))
        return "It gives a number of engines the aircraft record cannot hold.";
    if (!UTIL_in_range(a.acf_num_thrustpoints, 0, ACF_MAX_ENGINES))
        return "It gives a number of thrust points the aircraft record cannot hold.";
    for (int p = 0; p < ACF_NUM_PARTS; ++p)
        if (!UTIL_in_range(a.acf_els[p], 0, ACF_ELS_PER_PART))
            return "It gives a part more wing elements than the aircraft record can hold.";
    if (!UTIL_in_range(a.acf_num_tanks, 0, ACF_TANKS))
        return "It gives a number of fuel tanks the aircraft record cannot hold.";
    if (!UTIL_in_range(a.acf_flap_detents, 0, ACF_FLAP_DN - 1))
        return "It gives more flap detents than the aircraft record can hold.";
    return nullptr;
}

// Values that choose an entry of a table elsewhere in the program: taken as
// they are, they would index past the built-in panel and instrument tables.
// Out of range, the user's panel falls back to the general built-in panel (only the
// user's aircraft has its panel drawn) and an unknown instrument leaves its
// slot empty.
void bound_choices(acf_struct& a, int slot)
{
    if (slot == 0 && !UTIL_in_range(a.acf_cockpit_type, 0, ACF_COCKPIT_TYPES - 1)) a.acf_cockpit_type = 0;
    for (int s = 0; s < ACF_INS_SLOTS; ++s)
        if (!UTIL_in_range(a.acf_ins_type[s], ACF_INS_EMPTY, ACF_INS_TYPES - 1)) a.acf_ins_type[s] = ACF_INS_EMPTY;
}

// The bytes of the body a file of this version holds after its header.
std::size_t body_bytes(int version)
{
    if (version == ACF_OLD_VERSION_600) return ACF_OLD_BODY_SIZE_600;
    return version == ACF_OLD_VERSION_626 ? ACF_OLD_RECORD_SIZE : ACF_FILE_IMAGE_SIZE;
}

void refuse_damaged(const char* path, const char* reason)
{
    ACF_refuse_file("This aircraft file is damaged and was not loaded:", path, reason, "");
}

int read_file(int slot)
{
    acf_struct& a = pln[slot];

    // The file must lie below the program folder (compared over the shorter length).
    a.acf_file_path[ACF_TEXT_SIZE - 1] = 0;
    a.acf_file_name[ACF_TEXT_SIZE - 1] = 0;
    const std::size_t n = std::min(std::strlen(a.acf_file_path), std::strlen(program_folder));
    if (std::strncmp(a.acf_file_path, program_folder, n) != 0) return 0;

    // 2, 3. Keep the file name and path; clear the whole record.
    char name[ACF_TEXT_SIZE];
    char path[ACF_TEXT_SIZE];
    std::memcpy(name, a.acf_file_name, ACF_TEXT_SIZE);
    std::memcpy(path, a.acf_file_path, ACF_TEXT_SIZE);
    std::memset(&a, 0, sizeof a);

    // The file is tried as each version in turn: 600 and 626 carry the old
    // body, read into the staging record and converted; 700 is the record's
    // file image. A file too short to hold even the letter and the version is
    // refused before the data-file services would fail reading the version.
    // A body shorter than its version is refused too: going on with what was
    // read would fly an aircraft whose later fields (masses, gear, tanks,
    // weapons) are silently zero; the file is refused with a notice instead.
    const char* damage = nullptr;
    std::error_code ec;
    const auto size = std::filesystem::file_size(PLAT_resolve_path(path), ec);
    if (!ec && size < ACF_HEADER_SIZE) damage = "It is too short to be an aircraft file.";
    int accepted = 0;
    int version = 0;
    for (const int v : {ACF_OLD_VERSION_600, ACF_OLD_VERSION_626, ACF_FILE_VERSION}) {
        if (damage) break;
        char open_path[ACF_TEXT_SIZE];
        std::memcpy(open_path, path, ACF_TEXT_SIZE);
        if (FILE_open_for_use(open_path, KIND_AIRCRAFT, v, 0)) {
            accepted = 1;
            version = v;
            break;
        }
    }
    if (accepted) {
        std::istream& in = FILE_current_stream();
        const bool old_body = version != ACF_FILE_VERSION;
        const std::size_t body_size = body_bytes(version);
        if (old_body) std::memset(acf_old_record.bytes, 0, sizeof acf_old_record.bytes);
        char* into = old_body ? reinterpret_cast<char*>(acf_old_record.bytes) : reinterpret_cast<char*>(&a);
        in.read(into, static_cast<std::streamsize>(body_size));
        if (in.gcount() != static_cast<std::streamsize>(body_size))
            damage = "It is shorter than an aircraft file of its version.";
    }
    FILE_close_current();
    // A file that is there but is no aircraft file of any version (random
    // bytes, say) is damaged, and said so like one cut short; only a missing
    // file is refused without a word.
    if (!accepted && !damage && !ec) damage = "It is not an aircraft file this program reads.";
    if (accepted && !damage) {
        if (version == ACF_FILE_VERSION) {
            ACF_swap_record(slot);
        } else {
            ACF_swap_old_record();
            ACF_set_defaults(slot);
        }
        damage = bad_count(a);
    }
    if (damage) {
        std::memset(&a, 0, sizeof a);
        accepted = 0;
    }

    // The file name and path survive the read, whatever happened.
    std::memcpy(a.acf_file_name, name, ACF_TEXT_SIZE);
    std::memcpy(a.acf_file_path, path, ACF_TEXT_SIZE);
    if (damage) refuse_damaged(path, damage);
    if (!accepted) return 0;

    // Texts from the file end at their last byte at the latest: an unterminated
    // text would be read on past its field into the next ones.
    for_each_text_field(a, [](char* text, int size) { text[size - 1] = 0; });
    bound_choices(a, slot);

    // The four airfoils of each lifting part in service, then its Reynolds
    // pairs. An airfoil that cannot be read (its notice names it) refuses the
    // aircraft, as a damaged aircraft file does: the wing would fly on a
    // table that is not there.
    bool airfoils = true;
    for (int p = 0; p <= PART_AFL_LAST && airfoils; ++p) {
        if (!ACF_part_in_service(slot, p)) continue;
        airfoils = AIRFOIL_load(a.acf_Rafl0 + p * ACF_AFL_NAME_SIZE, slot, p, 0, 0) &&
                   AIRFOIL_load(a.acf_Rafl1 + p * ACF_AFL_NAME_SIZE, slot, p, 0, 1) &&
                   AIRFOIL_load(a.acf_Tafl0 + p * ACF_AFL_NAME_SIZE, slot, p, 1, 0) &&
                   AIRFOIL_load(a.acf_Tafl1 + p * ACF_AFL_NAME_SIZE, slot, p, 1, 1);
        AIRFOIL_normalise_reynolds(slot, p);
    }

    // Derived values, then the checks; a file that fails one is refused like
    // a damaged one.
    if (airfoils) ACF_derive_values(slot);
    if (!airfoils || !ACF_check_to_load(slot)) {
        std::memset(&a, 0, sizeof a);
        std::memcpy(a.acf_file_name, name, ACF_TEXT_SIZE);
        std::memcpy(a.acf_file_path, path, ACF_TEXT_SIZE);
        return 0;
    }
    return 1;
}

int write_file(int slot)
{
    acf_struct& a = pln[slot];
    ACF_check(slot);
    a.acf_byte_order = 0;

    char path[ACF_TEXT_SIZE];
    std::memcpy(path, a.acf_file_path, ACF_TEXT_SIZE);
    path[ACF_TEXT_SIZE - 1] = 0;
    // Written beside the file and put in its place only when complete: writing
    // straight over the file would lose the previous aircraft when the write
    // fails half way, and report success. A failed save leaves the previous
    // file as it was and returns 0.
    if (!FILE_begin_save(path, KIND_AIRCRAFT, ACF_FILE_VERSION)) return 0;
    file_out.write(reinterpret_cast<const char*>(&a), static_cast<std::streamsize>(ACF_FILE_IMAGE_SIZE));
    return FILE_end_save();
}

}  // namespace

void ACF_swap_record(int slot)
{
    if (slot < 0 || slot >= ACF_SLOTS) return;
    acf_struct& a = pln[slot];
    if (a.acf_byte_order == 0) return;
    FILE_swap_words(&a, sizeof a);
    for_each_text_field(a, [](char* text, int size) { FILE_swap_words(text, static_cast<std::size_t>(size)); });
}

const char* ACF_file_problem(const char* path)
{
    char tried[ACF_TEXT_SIZE] = {};
    if (path) std::memcpy(tried, path, strnlen(path, ACF_TEXT_SIZE - 1));
    const std::size_t n = std::min(std::strlen(tried), std::strlen(program_folder));
    if (std::strncmp(tried, program_folder, n) != 0) return "It lies outside the program's folder.";
    std::error_code ec;
    const auto size = std::filesystem::file_size(PLAT_resolve_path(tried), ec);
    if (ec) return "It cannot be read.";
    if (size < ACF_HEADER_SIZE) return "It is too short to be an aircraft file.";
    for (const int v : {ACF_OLD_VERSION_600, ACF_OLD_VERSION_626, ACF_FILE_VERSION}) {
        char open_path[ACF_TEXT_SIZE];
        std::memcpy(open_path, tried, ACF_TEXT_SIZE);
        const bool opened = FILE_open_for_use(open_path, KIND_AIRCRAFT, v, 0) != 0;
        FILE_close_current();
        if (!opened) continue;
        return size < ACF_HEADER_SIZE + body_bytes(v) ? "It is shorter than an aircraft file of its version." : nullptr;
    }
    return "It is not an aircraft file this program reads.";
}

int ACF_read_write(int mode, int slot, int flag)
{
    if (mode != ACF_MODE_READ && mode != ACF_MODE_WRITE) return 0;
    size_guard();
    if (slot < 0 || slot >= ACF_SLOTS) {
        bad_slot();
        return 0;
    }
    return mode == ACF_MODE_READ ? read_file(slot) : write_file(slot);
}
