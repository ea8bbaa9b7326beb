// The least aircraft that passes the checks, for the tests and the fuzz targets.
#pragma once

#include <cstring>

#include "aircraft/acf_file.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"

namespace test_aircraft {

// No engines, no lifting parts, and a fuselage (part 44) whose stations lie
// at distinct places.
inline void make_minimal(acf_struct& a)
{
    std::memset(static_cast<void*>(&a), 0, sizeof a);
    UTIL_strcpy("OV-TST", a.acf_tailnum);
    a.acf_Vne = 160.0f;
    a.acf_m_empty = 1500.0f;
    a.acf_m_max = 2400.0f;
    a.acf_h_eqlbm = 4.0f;
    a.acf_throtmax_FWD = 1.0f;
    for (int s = 0; s < ACF_INS_SLOTS; ++s) a.acf_ins_type[s] = ACF_INS_EMPTY;
    for (int k = 0; k < ACF_BODY_STATIONS; ++k)
        for (int j = 0; j < ACF_BODY_POINTS; ++j)
            a.acf_body_Z[(PART_BODY_FIRST * ACF_BODY_STATIONS + k) * ACF_BODY_POINTS + j] = 2.0f * k;
}

}  // namespace test_aircraft
