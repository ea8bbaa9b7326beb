// Aircraft made by hand for the model preparation tests, and the fleet of the
// built data folder loaded into a program folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/part_geometry.h"
#include "tests/support/test_support.h"

namespace model_test {

constexpr float DEG = static_cast<float>(M_PI) / 180.0f;

inline const char* const TRAINER = "Aircraft/General Aviation/Orvell Trainer/Orvell Trainer.acf";
inline const char* const AIRLINER = "Aircraft/Heavy Metal/Orvell Airliner/Orvell Airliner.acf";
inline const char* const FLEET[] = {
    TRAINER,
    "Aircraft/General Aviation/Orvell Twin/Orvell Twin.acf",
    "Aircraft/General Aviation/Orvell Floatplane/Orvell Floatplane.acf",
    AIRLINER,
    "Aircraft/Helicopters/Orvell Helicopter/Orvell Helicopter.acf",
    "Aircraft/Gliders/Orvell Glider/Orvell Glider.acf",
    "Aircraft/Space Ships/Orvell Orbiter/Orvell Orbiter.acf",
};

// An empty aircraft in `plane` with no failures.
inline void clear_plane(int plane)
{
    std::memset(&pln[plane], 0, sizeof pln[plane]);
    flt[plane] = flt_struct{};
}

// Lifting part p: `els` elements of `len` m, constant chord, thickness ratio
// `t_rat`, on side `side`, with the current sweep and dihedral (degrees)
// cached as the set-up caches them.
inline void hand_wing(int plane, int p, int els, float len, float chord, float side, float sweep_deg = 0.0f,
                      float dihed_deg = 0.0f, float t_rat = 0.12f)
{
    acf_struct& a = pln[plane];
    flt_struct& f = flt[plane];
    a.acf_part_eq[p] = 1;
    a.acf_els[p] = els;
    a.acf_element_len[p] = len;
    a.acf_semilen_SEG[p] = len * static_cast<float>(els);
    a.acf_Croot[p] = a.acf_Ctip[p] = chord;
    a.acf_side_sign[p] = side;
    a.acf_part_left[p] = side < 0.0f;
    a.acf_sweepnow[p] = sweep_deg;
    a.acf_dihednow[p] = dihed_deg;
    if (p < AFL_PARTS) a.afl[p].afl_t_rat[0] = a.afl[p].afl_t_rat[1] = t_rat;
    f.foil_sin_swe[p] = std::sin(sweep_deg * DEG);
    f.foil_cos_swe[p] = std::cos(sweep_deg * DEG);
    f.foil_sin_dih[p] = std::sin(dihed_deg * DEG);
    f.foil_cos_dih[p] = std::cos(dihed_deg * DEG);
}

// Body part p: `rows` rings of radius `radius` about (0, y, z = row) with 18
// points in 22.5-degree steps, the first side from the top down the right
// (x > 0), the second side mirrored back up.
inline void hand_body(int plane, int p, float radius, float y = 0.0f, int rows = 12)
{
    acf_struct& a = pln[plane];
    a.acf_part_eq[p] = 1;
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < ACF_BODY_POINTS; ++i) {
            const int k = i < 9 ? i : 17 - i;
            const float side = i < 9 ? 1.0f : -1.0f;
            const int at = (p * ACF_BODY_STATIONS + r) * ACF_BODY_POINTS + i;
            a.acf_body_X[at] = side * radius * std::sin(k * 22.5f * DEG);
            a.acf_body_Y[at] = y + radius * std::cos(k * 22.5f * DEG);
            a.acf_body_Z[at] = static_cast<float>(r);
        }
}

inline acf_part_geometry& geo(int plane) { return *ACF_geometry(plane); }

// A program folder of the test's own with the built fleet linked into it.
struct fleet_folder {
    temp_folder dir;
    fleet_folder()
    {
        link_default_aircraft(dir.path());
        FOLDERS_init_from((dir.prefix() + "orvell").c_str());
        CONST_fill_constants();
        OGL_init_image_blocks();
        UTIL_strcpy(TRAINER, default_aircraft_path);
        UTIL_strcpy("Orvell Trainer.acf", default_aircraft_name);
    }
    std::string path(const std::string& relative) const { return dir.prefix() + relative; }
    // Loads and sets up a fleet aircraft in `plane`; false when it did not read.
    bool load(int plane, const std::string& relative) const
    {
        clear_plane(plane);
        UTIL_strcpy(path(relative).c_str(), pln[plane].acf_file_path);
        return ACF_load_and_setup(plane) != 0;
    }
};

}  // namespace model_test
