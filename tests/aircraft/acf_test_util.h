// Aircraft records, aircraft files and airfoil files made by hand for the aircraft tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/airfoil.h"
#include "flightmodel/flt.h"
#include "platform/plat_files.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "tests/support/minimal_aircraft.h"
#include "tests/support/test_support.h"

namespace acf_test {

// A program folder in a fresh temporary folder, with the constants filled.
struct program_folder_fixture {
    temp_folder dir;
    program_folder_fixture()
    {
        FOLDERS_init_from((dir.prefix() + "orvell").c_str());
        CONST_fill_constants();
        for (auto& f : flt) std::memset(f.failures, 0, sizeof f.failures);
    }
    std::string aircraft_path(const std::string& name) const { return dir.prefix() + "AIRCRAFT:" + name; }
};

// A test on the aircraft record of plane slot `Slot`, in a program folder of its own.
template <int Slot>
class aircraft_slot_test : public ::testing::Test {
protected:
    program_folder_fixture fx;
    static constexpr int slot = Slot;
    acf_struct& a = pln[Slot];
};

inline void set_text(char* field, int size, const std::string& text)
{
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), text.size() < static_cast<size_t>(size) ? text.size() : size - 1);
}

inline void set_path(acf_struct& a, const std::string& path, const std::string& name)
{
    set_text(a.acf_file_path, ACF_TEXT_SIZE, path);
    set_text(a.acf_file_name, ACF_TEXT_SIZE, name);
}

// Lifting part p in service with the given chords, element count and semi-length.
inline void set_wing(acf_struct& a, int p, float root, float tip, int els, float semilen, float sweep = 0.0f)
{
    a.acf_part_eq[p] = 1;
    a.acf_Croot[p] = root;
    a.acf_Ctip[p] = tip;
    a.acf_els[p] = els;
    a.acf_semilen_SEG[p] = semilen;
    a.acf_sweep1[p] = sweep;
}

using test_aircraft::make_minimal;

// A single-engine piston aircraft (engine and propeller type 0) with wings,
// flaps, ailerons, a tail and fixed gear that passes every check (no airfoils
// are needed to check it).
inline void make_single(acf_struct& a)
{
    make_minimal(a);
    a.acf_num_engines = a.acf_num_thrustpoints = 1;
    a.acf_min_pitch[0] = a.acf_max_pitch[0] = 22.0f;
    a.acf_pmax = 160.0f;
    a.acf_mpmax = 29.5f;
    a.acf_RSC_idlespeed_eng = 650.0f;
    a.acf_RSC_redline_eng = a.acf_RSC_maxgreen_eng = 2700.0f;
    a.acf_RSC_mingreen_eng = 2100.0f;
    a.acf_els[0] = 5;
    a.acf_Croot[0] = 0.5f;
    a.acf_Ctip[0] = 0.25f;
    a.acf_semilen_SEG[0] = 3.0f;
    for (int p : {8, 9, 16, 17, 18}) set_wing(a, p, 5.0f, 4.0f, 4, 15.0f);
    for (int p : {8, 9}) a.acf_flap[ACF_el(p, 0)] = a.acf_flap[ACF_el(p, 1)] = a.acf_ail1[ACF_el(p, 3)] = 1;
    a.acf_elev[ACF_el(16, 0)] = a.acf_elev[ACF_el(17, 0)] = a.acf_rudd[ACF_el(18, 0)] = 1;
    a.acf_flapEQ = 1;
    a.acf_flap_detents = 3;
    a.acf_flap_dn[3] = 30.0f;
    a.acf_flap_deftime = 6.0f;
    for (int p : {67, 68, 69}) { a.acf_part_eq[p] = 1; a.acf_gear_tirrad[p] = 0.5f; }
}

// The file bytes of a version-700 aircraft file: letter, version and body.
inline std::string file_bytes(char letter, int32_t version, const acf_struct& a)
{
    std::string bytes(1, letter);
    uint32_t v = static_cast<uint32_t>(version);
    if (letter == 'a') v = FILE_swap32(v);
    bytes.append(reinterpret_cast<const char*>(&v), 4);
    bytes.append(reinterpret_cast<const char*>(&a), ACF_FILE_IMAGE_SIZE);
    return bytes;
}

// The parameter line of a version-700 airfoil file.
inline const char* const kParams700 =
    "2.5 0.15 0.7 0.105 0.36 -15 15.5 8 2 1.6 0.1 1.5 0.35 0.0065 0.25 0.016 3 "
    "0.3 0.02 2.5 0 0 0 0 -12 14 -0.02 -0.07 -0.07 -0.11";

// A version-700 airfoil file with the given parameter line and `rows` table
// rows, row i holding cl = i/1000, cd = 0.01, cm = -i/2000.
inline std::string file_700(const std::string& params = kParams700, int rows = AFL_ROWS)
{
    std::ostringstream s;
    s << "I\n700 version\n1234 device type code\n" << params << "\nalpha cl cd cm:\n";
    for (int i = 0; i < rows; ++i) s << AFL_grid_alpha(i) << ' ' << i / 1000.0 << " 0.01 " << -i / 2000.0 << '\n';
    return s.str();
}

}  // namespace acf_test
