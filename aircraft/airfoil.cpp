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

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <istream>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/ui_text.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/text_util.h"

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

// A table value out of range, or a file whose numbers stop before their end
// or do not parse: the file is refused.
void bad_file_alert(const char* path)
{
    MACIBM_nuke_alert(0, "Bad airfoil file:", path, "Its coefficients are missing or out of range.",
                      "Replace the file and start again.", ALERT_FATAL);
}

bool index_ok(int end, int member)
{
    return end >= 0 && end < AFL_ENDS && member >= 0 && member < AFL_MEMBERS;
}

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

// The stream must still be good after each group; otherwise the file is
// truncated or holds something that is not a number.
void require_stream(std::istream& in, const char* path)
{
    if (in.fail()) bad_file_alert(path);
}

void read_tables(std::istream& in, afl_block& b, int t, const char* path)
{
    float* cl = &b.afl_cl[t * AFL_ROWS];
    float* cd = &b.afl_cd[t * AFL_ROWS];
    float* cm = &b.afl_cm[t * AFL_ROWS];
    for (int i = 0; i < AFL_ROWS; ++i) {
        float alpha = 0.0f, l = 0.0f, d = 0.0f, m = 0.0f;
        in >> alpha >> l >> d >> m;   // the alpha column is not compared with the grid
        require_stream(in, path);
        cl[i] = l;
        cd[i] = d;
        cm[i] = m;
    }
}

// `path` names the file in alerts; the data-file services open (and rewrite) a copy.
int read_file(afl_block& b, int end, int member, const char* path)
{
    const int t = AFL_table_index(end, member);
    int version = 0;
    char open_path[TEXT_SIZE];
    for (int v : AFL_READ_VERSIONS) {
        UTIL_strcpy(path, open_path);
        if (FILE_open_for_use(open_path, KIND_AIRFOIL, v, 0)) {
            version = v;
            break;
        }
    }
    if (!version) return 0;

    std::istream& in = FILE_current_stream();
    if (FILE_read_int(path) != AFL_DEVICE_CODE)
        MACIBM_nuke_alert(0, "Airfoil file of an unknown device type!", "", "", "", ALERT_FATAL);
    FILE_skip_line(path);

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
        require_stream(in, path);
        FILE_skip_line(path);   // rest of the parameter line
        FILE_skip_line(path);   // "alpha cl cd cm:"
        read_tables(in, b, t, path);
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
        require_stream(in, path);
        FILE_skip_line(path);
        if (version == 613) {
            float mach = 0.0f;
            in >> mach;
            require_stream(in, path);
            b.afl_mach_div[end] = mach;
        } else {
            b.afl_mach_div[end] = OLD_MACH_DIV;
        }
        b.afl_linear_alpha = OLD_LINEAR_ALPHA;
        AIRFOIL_build_tables(b, t);
    }
    FILE_close_current();

    for (int i = 0; i < AFL_ROWS; ++i) {
        const int k = t * AFL_ROWS + i;
        if (UTIL_bad_float(b.afl_cl[k]) || UTIL_bad_float(b.afl_cd[k]) || UTIL_bad_float(b.afl_cm[k]))
            bad_file_alert(path);
    }
    return 1;
}

int write_file(const afl_block& b, int end, int member, char* path)
{
    const int t = AFL_table_index(end, member);
    // Written beside the file and put in its place only when complete: a
    // failed save leaves the previous file as it was, and says so.
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
    if (mode == AFL_MODE_READ) return read_file(b, end, member, file_path);
    return write_file(b, end, member, file_path);
}

void AIRFOIL_load(const char* name, int slot, int part, int end, int member)
{
    AIRFOIL_block(slot, part);   // checks the indices
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

    if (AIRFOIL_read_write(AFL_MODE_READ, slot, part, end, member, beside)) return;
    if (AIRFOIL_read_write(AFL_MODE_READ, slot, part, end, member, shared)) return;
    MACIBM_nuke_alert(0, "Airfoil file not found! Looked for:", beside, shared, LANG_text_at_820(part), ALERT_FATAL);
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
