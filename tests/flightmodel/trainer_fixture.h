// The default trainer of the data folder the build lays out, loaded into
// slot 0 through the aircraft set-up, for the tests that fly it through the
// real plane step.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/plane_step.h"
#include "tests/support/test_pilot.h"

namespace trainer_test {

// The trainer's file in the data folder the build lays out (its folder moves
// with the fleet; its file name is enough to find it).
inline std::string find_trainer()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path root = fs::path(ORVELL_DATA_FOLDER);
    std::string fallback;
    for (fs::recursive_directory_iterator it(root, ec), end; it != end && !ec; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "orvell trainer.acf") return it->path().string();
        if (name == "united-air.acf") fallback = it->path().string();
    }
    return fallback;
}

// Loads the trainer into slot 0 through the aircraft set-up. Empty when it
// flies; otherwise the name of what is missing.
inline std::string load_trainer()
{
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    CONST_fill_constants();
    const std::string path = find_trainer();
    if (path.empty()) return "the default trainer in the data folder";
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::memset(&flt[0], 0, sizeof flt[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", std::filesystem::path(path).filename().c_str());
    ACF_load_and_setup(0);
    const acf_struct& a = pln[0];
    if (!(a.acf_m_empty > 0.0f) || !(a.acf_Jxx_unitmass > 0.0f) || !(a.acf_AR[8] > 0.0f) || !(a.acf_element_len[8] > 0.0f))
        return "the aircraft set-up (ACF_load_and_setup)";
    return "";
}

// 1 when FLTMOD_plane_step runs the build-up (twice a frame).
inline bool plane_step_runs_the_build_up()
{
    const unsigned before = fm_state.calls;
    sim_operation_misc.frame_rate_period = 0.04f;
    FLTMOD_plane_step(0);
    return fm_state.calls > before;
}

// The test pilot on the joystick seam.
using test_pilot::hands;
using test_pilot::pilot_hands;
using test_pilot::pilot_joystick;

}  // namespace trainer_test
