// Airfoil files: finding the four files of a lifting part, reading them into
// the part's airfoil block (versions 700, 650, 641, 613 and 363) and writing a
// version-700 file.
//
// The file is text: the data-file header, the line "1234 device type code",
// a group of fitted parameters (which ones, and in which order, depends on the
// version) and, from version 641 on, 721 rows "alpha cl cd cm" on the grid of
// airfoil_block.h. Files of 613 and 363 carry no rows; their tables are
// generated from the fits.
#include "aircraft/airfoil.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/ui_text.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/text_util.h"
#include "platform/plat_files.h"

namespace {

constexpr float OLD_LINEAR_ALPHA = 10.0f;   // linear half-range of files without it
constexpr float OLD_MACH_DIV = 0.75f;       // drag-divergence Mach of version-363 files
constexpr float REYNOLDS_SAME = 0.01f;
constexpr float REYNOLDS_LOW = 0.0f;
constexpr float REYNOLDS_HIGH = 99.9f;
constexpr int WORD_SIZE = 64;

[[noreturn]] void bad_index_alert()
{
    MACIBM_nuke_alert(0, "AIRFOIL: bad plane slot, part, end or member!", "", "", "", ALERT_FATAL);
    std::abort();   // not reached: a fatal alert does not return
}

bool index_ok(int end, int member)
{
    return end >= 0 && end < AFL_ENDS && member >= 0 && member < AFL_MEMBERS;
}

// Why a file of a known version could not be read.
constexpr const char* NOT_AIRFOIL = "Its device type is not that of an airfoil file.";
constexpr const char* CUT_OR_NOT_NUMBERS = "Its numbers stop before their end or are not numbers.";
constexpr const char* OUT_OF_RANGE = "Its coefficients are out of range.";

// Reads the numbers of one parameter group in order; a nullptr entry reads a
// number and discards it.
void read_group(std::istream& in, float* const* fields, int count)
{
    for (int k = 0; k < count && in; ++k) {
        float v = 0.0f;
        in >> v;
        if (in && fields[k]) *fields[k] = v;
    }
}

// The rest of the line, to the file's line end. False when the file ends
// first (a table or a group cut short).
bool skip_line(std::istream& in)
{
    for (int c = in.get(); in; c = in.get())
        if (c == static_cast<unsigned char>(file_line_end)) return true;
    return false;
}

bool read_tables(std::istream& in, afl_block& b, int t)
{
    float* cl = &b.afl_cl[t * AFL_ROWS];
    float* cd = &b.afl_cd[t * AFL_ROWS];
    float* cm = &b.afl_cm[t * AFL_ROWS];
    for (int i = 0; i < AFL_ROWS; ++i) {
        float alpha = 0.0f, l = 0.0f, d = 0.0f, m = 0.0f;
        in >> alpha >> l >> d >> m;   // the alpha column is not compared with the grid
        if (!in) return false;
        cl[i] = l;
        cd[i] = d;
        cm[i] = m;
    }
    return true;
}

// Reads the file at `path` (it names the file; the data-file services open,
// and rewrite, a copy) into table (end, member) of the block: 1 when read, 0
// when there is no file of a version this program reads. A file of a known
// version that is damaged inside (its device code, numbers that stop before
// their end or do not parse, coefficients out of range) is refused: 0, with
// `damage` saying why. Flying a wing on half a table would be flying a
// corrupted aircraft that looks loaded. `version` comes back as the version
// read (0 when none).
int read_file_stream(afl_block& b, int end, int member, const char* path, int& version, const char*& damage)
{
    const int t = AFL_table_index(end, member);
    version = 0;
    damage = nullptr;
    char open_path[TEXT_SIZE];
    for (int v : AFL_READ_VERSIONS) {
        UTIL_strcpy(path, open_path);
        if (FILE_open_for_use(open_path, KIND_AIRFOIL, v, 0)) {
            version = v;
            break;
        }
    }
    if (!version) return 0;
    struct closing {
        ~closing() { FILE_close_current(); }
    } close_file;
    auto refused = [&](const char* why) {
        damage = why;
        return 0;
    };

    std::istream& in = FILE_current_stream();
    int32_t device = 0;
    in >> device;
    if (!in || device != AFL_DEVICE_CODE) return refused(NOT_AIRFOIL);
    if (!skip_line(in)) return refused(CUT_OR_NOT_NUMBERS);

    if (version == 700 || version == 650 || version == 641) {
        if (version == 700) {
            float* const fields[] = {
                &b.afl_re_num[t], &b.afl_t_rat[end], &b.afl_mach_div[end], &b.afl_clM[t], &b.afl_clB[t],
                &b.afl_almin[t], &b.afl_almax[t], &b.afl_linear_alpha, &b.afl_Lpow, &b.afl_Lstall,
                &b.afl_Ldrop1, &b.afl_Lpowstl, &b.afl_Ldrop2, &b.afl_Dmin, &b.afl_DminCL, &b.afl_Dal10,
                &b.afl_Dpow, &b.afl_DminCL, &b.afl_Dal10, &b.afl_Dpow, &b.afl_Bloc, &b.afl_Bwidth,
                &b.afl_Bdepth, &b.afl_Bpower, &b.afl_cmal2, &b.afl_cmal3, &b.afl_cm1, &b.afl_cm2,
                &b.afl_cm3, &b.afl_cm4};
            read_group(in, fields, 30);
        } else {
            float* const head[] = {&b.afl_re_num[t], &b.afl_t_rat[end], &b.afl_mach_div[end]};
            read_group(in, head, 3);
            if (version == 641 && in) {
                int discarded = 0;
                in >> discarded;
            }
            float* const rest[] = {
                &b.afl_clM[t], &b.afl_clB[t], &b.afl_Lpow, &b.afl_Lstall, &b.afl_Ldrop1, &b.afl_Lpowstl,
                &b.afl_Ldrop2, &b.afl_Dmin, &b.afl_DminCL, &b.afl_Dal10, &b.afl_Dpow, &b.afl_DminCL,
                &b.afl_Dal10, &b.afl_Dpow, &b.afl_Bloc, &b.afl_Bwidth, &b.afl_Bdepth, &b.afl_Bpower,
                &b.afl_cmal2, &b.afl_cmal3, &b.afl_cm1, &b.afl_cm2, &b.afl_cm3, &b.afl_cm4,
                &b.afl_almin[t], &b.afl_almax[t]};
            read_group(in, rest, 26);
        }
        // The rest of the parameter line, then "alpha cl cd cm:".
        if (!in || !skip_line(in) || !skip_line(in) || !read_tables(in, b, t)) return refused(CUT_OR_NOT_NUMBERS);
        if (version != 700) b.afl_linear_alpha = OLD_LINEAR_ALPHA;
    } else {
        char word[WORD_SIZE];
        FILE_read_field(word, WORD_SIZE, 0);   // a name, not used
        float* const fields[] = {
            &b.afl_t_rat[end], &b.afl_re_num[t], &b.afl_almin[t], &b.afl_almax[t], &b.afl_clB[t],
            &b.afl_clM[t], &b.afl_Lpow, &b.afl_Lstall, &b.afl_Ldrop1, &b.afl_Ldrop2, &b.afl_Lpowstl,
            &b.afl_DminCL, &b.afl_Dmin, &b.afl_Dal10, &b.afl_Dpow, &b.afl_cmal2, &b.afl_cmal3,
            &b.afl_cm1, &b.afl_cm2, &b.afl_cm3, &b.afl_cm4, &b.afl_Bwidth, &b.afl_Bdepth,
            &b.afl_Bpower, &b.afl_Bloc};
        read_group(in, fields, 25);
        if (!in || !skip_line(in)) return refused(CUT_OR_NOT_NUMBERS);
        if (version == 613) {
            float mach = 0.0f;
            in >> mach;
            if (!in) return refused(CUT_OR_NOT_NUMBERS);
            b.afl_mach_div[end] = mach;
        } else {
            b.afl_mach_div[end] = OLD_MACH_DIV;
        }
        b.afl_linear_alpha = OLD_LINEAR_ALPHA;
        if (!AIRFOIL_build_tables(b, t)) return refused(OUT_OF_RANGE);
    }

    for (int i = 0; i < AFL_ROWS; ++i) {
        const int k = t * AFL_ROWS + i;
        if (UTIL_bad_float(b.afl_cl[k]) || UTIL_bad_float(b.afl_cd[k]) || UTIL_bad_float(b.afl_cm[k]))
            return refused(OUT_OF_RANGE);
    }
    return 1;
}

// What one file puts into a block: the values of its table, of its end and
// the part's single values. An aircraft names the same few files for many
// parts, so a file read once is kept and given to the next table that names it.
struct afl_file_values {
    float re_num, t_rat, mach_div, clM, clB, almin, almax;
    float cl[AFL_ROWS], cd[AFL_ROWS], cm[AFL_ROWS];
    float singles[20];
};

// The part's single values, in the block's order.
std::array<float*, 20> singles_of(afl_block& b)
{
    return {&b.afl_linear_alpha, &b.afl_Lpow,   &b.afl_Lstall, &b.afl_Ldrop1, &b.afl_Lpowstl,
            &b.afl_Ldrop2,       &b.afl_Dmin,   &b.afl_DminCL, &b.afl_Dal10,  &b.afl_Dpow,
            &b.afl_Bloc,         &b.afl_Bwidth, &b.afl_Bdepth, &b.afl_Bpower, &b.afl_cmal2,
            &b.afl_cmal3,        &b.afl_cm1,    &b.afl_cm2,    &b.afl_cm3,    &b.afl_cm4};
}

void take_values(afl_file_values& v, afl_block& b, int end, int member)
{
    const int t = AFL_table_index(end, member);
    v.re_num = b.afl_re_num[t], v.t_rat = b.afl_t_rat[end], v.mach_div = b.afl_mach_div[end];
    v.clM = b.afl_clM[t], v.clB = b.afl_clB[t], v.almin = b.afl_almin[t], v.almax = b.afl_almax[t];
    std::memcpy(v.cl, &b.afl_cl[t * AFL_ROWS], sizeof v.cl);
    std::memcpy(v.cd, &b.afl_cd[t * AFL_ROWS], sizeof v.cd);
    std::memcpy(v.cm, &b.afl_cm[t * AFL_ROWS], sizeof v.cm);
    const auto singles = singles_of(b);
    for (size_t k = 0; k < singles.size(); ++k) v.singles[k] = *singles[k];
}

void give_values(const afl_file_values& v, afl_block& b, int end, int member)
{
    const int t = AFL_table_index(end, member);
    b.afl_re_num[t] = v.re_num, b.afl_t_rat[end] = v.t_rat, b.afl_mach_div[end] = v.mach_div;
    b.afl_clM[t] = v.clM, b.afl_clB[t] = v.clB, b.afl_almin[t] = v.almin, b.afl_almax[t] = v.almax;
    std::memcpy(&b.afl_cl[t * AFL_ROWS], v.cl, sizeof v.cl);
    std::memcpy(&b.afl_cd[t * AFL_ROWS], v.cd, sizeof v.cd);
    std::memcpy(&b.afl_cm[t * AFL_ROWS], v.cm, sizeof v.cm);
    const auto singles = singles_of(b);
    for (size_t k = 0; k < singles.size(); ++k) *singles[k] = v.singles[k];
}

constexpr size_t AFL_KEPT_MAX = 64;

// A kept file's values and the stamp of the file they were read from: a file
// changed since (or so recently that the disk's coarse clock could hide a
// change) is read again.
struct afl_kept_file {
    plat_file_stamp stamp;
    std::unique_ptr<afl_file_values> values;
};
std::unordered_map<std::string, afl_kept_file> afl_kept;

// Reads the file at `path` into table (end, member) as read_file_stream does,
// or gives it the values kept from an earlier read of the same file.
int read_file(afl_block& b, int end, int member, const char* path, const char*& damage)
{
    damage = nullptr;
    char disk_path[TEXT_SIZE];
    UTIL_strcpy(path, disk_path);
    FILE_colons_to_backslashes(disk_path);
    plat_file_stamp stamp;
    if (!PLAT_file_stamp(PLAT_resolve_path(disk_path), false, stamp)) return 0;
    const auto kept = afl_kept.find(path);
    if (kept != afl_kept.end() && kept->second.stamp.same_as(stamp)) {
        give_values(*kept->second.values, b, end, member);
        return 1;
    }
    int version = 0;
    const int read = read_file_stream(b, end, member, path, version, damage);
    // Only the files that carry their rows are kept; the rows of older files
    // are generated from the whole block.
    if (read && (version == 700 || version == 650 || version == 641) && stamp.settled) {
        if (afl_kept.size() >= AFL_KEPT_MAX) afl_kept.clear();
        afl_kept_file& k = afl_kept[path];
        k.stamp = stamp;
        if (!k.values) k.values = std::make_unique<afl_file_values>();
        take_values(*k.values, b, end, member);
    }
    return read;
}

// The first line of an airfoil's notice: the aircraft it belongs to.
std::string airfoil_of(int slot, const char* what)
{
    char name[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(pln[slot].acf_file_name), name);
    return std::string("An airfoil file of ") + (name[0] ? name : "the aircraft") + what;
}

int write_file(const afl_block& b, int end, int member, char* path)
{
    const int t = AFL_table_index(end, member);
    // Written beside the file and put in its place only when complete: a
    // failed save leaves the previous file as it was, and says so.
    afl_kept.clear();
    if (!FILE_begin_save(path, KIND_AIRFOIL, AFL_WRITE_VERSION)) return 0;

    std::ofstream& out = file_out;
    out << AFL_DEVICE_CODE << " device type code\n";
    out << std::setprecision(6);
    const float fields[] = {
        b.afl_re_num[t], b.afl_t_rat[end], b.afl_mach_div[end], b.afl_clM[t], b.afl_clB[t],
        b.afl_almin[t], b.afl_almax[t], b.afl_linear_alpha, b.afl_Lpow, b.afl_Lstall, b.afl_Ldrop1,
        b.afl_Lpowstl, b.afl_Ldrop2, b.afl_Dmin, b.afl_DminCL, b.afl_Dal10, b.afl_Dpow, b.afl_DminCL,
        b.afl_Dal10, b.afl_Dpow, b.afl_Bloc, b.afl_Bwidth, b.afl_Bdepth, b.afl_Bpower, b.afl_cmal2,
        b.afl_cmal3, b.afl_cm1, b.afl_cm2, b.afl_cm3, b.afl_cm4};
    for (int k = 0; k < 30; ++k) {
        if (k) out << ' ';
        out << fields[k];
    }
    out << "\nalpha cl cd cm:\n";
    for (int i = 0; i < AFL_ROWS; ++i) {
        const int k = t * AFL_ROWS + i;
        out << std::setw(6) << std::setprecision(1) << AFL_grid_alpha(i) << ' ' << std::setprecision(5)
            << std::setw(8) << b.afl_cl[k] << ' ' << std::setw(8) << b.afl_cd[k] << ' ' << std::setw(8)
            << b.afl_cm[k] << '\n';
    }
    return FILE_end_save();
}

}  // namespace

afl_block& AIRFOIL_block(int slot, int part)
{
    if (slot < 0 || slot >= ACF_SLOTS || part < 0 || part >= AFL_PARTS) bad_index_alert();
    return pln[slot].afl[part];
}

int AIRFOIL_read_write(int mode, int slot, int part, int end, int member, const char* path)
{
    if (mode != AFL_MODE_READ && mode != AFL_MODE_WRITE) return 0;
    afl_block& b = AIRFOIL_block(slot, part);
    if (!index_ok(end, member)) bad_index_alert();

    // The data-file services rewrite the path they open; work on a copy.
    char file_path[TEXT_SIZE];
    UTIL_strcpy(path ? path : "", file_path);
    if (mode == AFL_MODE_WRITE) return write_file(b, end, member, file_path);
    const char* damage = nullptr;
    const int read = read_file(b, end, member, file_path, damage);
    if (damage) ACF_refuse_file(airfoil_of(slot, " is damaged:").c_str(), file_path, damage, LANG_text_at_820(part));
    return read;
}

bool AIRFOIL_load(const char* name, int slot, int part, int end, int member)
{
    afl_block& b = AIRFOIL_block(slot, part);   // checks the indices
    if (!index_ok(end, member)) bad_index_alert();
    const acf_struct& acf = pln[slot];

    // The name field holds at most 40 characters and need not be terminated.
    char afl_name[AFL_NAME_SIZE + 1] = {};
    if (name) std::memcpy(afl_name, name, strnlen(name, AFL_NAME_SIZE));

    // The aircraft's folder: its full path without its file name.
    char folder[TEXT_SIZE] = {};
    const size_t path_len = strnlen(acf.acf_file_path, TEXT_MAX_LEN);
    const size_t name_len = strnlen(acf.acf_file_name, TEXT_MAX_LEN);
    if (name_len <= path_len) std::memcpy(folder, acf.acf_file_path, path_len - name_len);

    char beside[TEXT_SIZE];
    UTIL_strcat3(folder, "airfoils:", beside);
    UTIL_strcat(beside, afl_name);
    char shared[TEXT_SIZE];
    UTIL_strcat3(folder_table[FOLDER_AIRFOILS], afl_name, shared);

    // A file of no version this program reads gives way to the next place;
    // one of a known version that is damaged inside is refused where it is
    // found: the other place's file of the name may be another airfoil.
    for (const char* place : {beside, shared}) {
        const char* damage = nullptr;
        if (read_file(b, end, member, place, damage)) return true;
        if (damage) {
            ACF_refuse_file(airfoil_of(slot, " is damaged:").c_str(), place, damage, LANG_text_at_820(part));
            return false;
        }
    }
    // "Not found" is said only when neither file is there; one that is there
    // and could not be read is named as damaged.
    for (const char* there : {beside, shared})
        if (PLAT_file_exists(there)) {
            ACF_refuse_file(airfoil_of(slot, " is damaged:").c_str(), there,
                            "It is not an airfoil file this program reads.", LANG_text_at_820(part));
            return false;
        }
    ACF_refuse_file(airfoil_of(slot, " cannot be found. Looked for:").c_str(), beside, shared, LANG_text_at_820(part));
    return false;
}

void AIRFOIL_normalise_reynolds(int slot, int part)
{
    afl_block& b = AIRFOIL_block(slot, part);
    for (int end = 0; end < AFL_ENDS; ++end) {
        float& lo = b.afl_re_num[AFL_table_index(end, 0)];
        float& hi = b.afl_re_num[AFL_table_index(end, 1)];
        if (std::fabs(lo - hi) < REYNOLDS_SAME) {
            lo = REYNOLDS_LOW;
            hi = REYNOLDS_HIGH;
        }
    }
}
