// The airfoil file reader over a file of arbitrary bytes in the program's
// airfoil folder, read as an aircraft's load reads the four files of a wing
// (both ends, both Reynolds numbers, then the Reynolds pairs settled), then
// looked up by the flight model over the whole circle of angles of attack.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_struct.h"
#include "aircraft/airfoil.h"
#include "core/constants.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/element_aero.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int WING = 8;   // the left wing's first part
constexpr const char* NAME = "FUZZ.AFL";

// The user's plane with one wing part of four elements naming the file at
// both ends, in still air at sea level.
void wing_of_the_file(const std::string& folder)
{
    acf_struct& a = pln[0];
    std::memset(static_cast<void*>(&a), 0, sizeof a);
    flt[0] = flt_struct{};
    UTIL_strcpy((folder + "AIRCRAFT:FUZZ.ACF").c_str(), a.acf_file_path);
    UTIL_strcpy("FUZZ.ACF", a.acf_file_name);
    for (char* names : {a.acf_Rafl0, a.acf_Rafl1, a.acf_Tafl0, a.acf_Tafl1})
        UTIL_strcpy(NAME, names + WING * ACF_AFL_NAME_SIZE);
    a.acf_els[WING] = 4;
    a.acf_AR[WING] = 7.0f;
    a.acf_e[WING] = 0.8f;
    a.acf_al_D_al0[WING] = a.acf_cl_D_cl0[WING] = a.acf_cm_D_cm0[WING] = 1.0f;
    a.acf_mac[ACF_el(WING, 0)] = 1.5f;
    a.acf_alpha_max[WING] = 15.0f;
    flt[0].Q_centroid_MULT[4 * WING] = 1.0f;
    flt[0].CL_grndeffect[WING] = flt[0].CD_grndeffect[WING] = 1.0f;
    flt[0].v_el[FM_flow_index(WING, 0, 0)] = 60.0f;
    sim_weather.rho = 1.225f;
    sim_weather.speed_of_sound_ms = 340.0f;
    sim_physics.mu_air = 1.8e-5f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        CONST_fill_constants();
        const std::string f = fuzz_program_folder();
        std::filesystem::create_directories(f + "Airfoils");
        return f;
    }();
    static const std::string file = folder + "AIRFOILS:" + NAME;
    return fuzz_read_file(file, data, size, [] {
        wing_of_the_file(folder);
        const acf_struct& a = pln[0];
        AIRFOIL_load(a.acf_Rafl0 + WING * ACF_AFL_NAME_SIZE, 0, WING, 0, 0);
        AIRFOIL_load(a.acf_Rafl1 + WING * ACF_AFL_NAME_SIZE, 0, WING, 0, 1);
        AIRFOIL_load(a.acf_Tafl0 + WING * ACF_AFL_NAME_SIZE, 0, WING, 1, 0);
        AIRFOIL_load(a.acf_Tafl1 + WING * ACF_AFL_NAME_SIZE, 0, WING, 1, 1);
        AIRFOIL_normalise_reynolds(0, WING);
        // Every table over the circle (the fine range and both coarse ones),
        // then the element's coefficients as the force build-up takes them.
        const float mach_div = a.afl[WING].afl_mach_div[0];
        for (float alpha = -180.0f; alpha <= 180.0f; alpha += 2.5f) {
            float cl, cd, cm;
            for (int end = 0; end < AFL_ENDS; ++end)
                for (int member = 0; member < AFL_MEMBERS; ++member)
                    FM_airfoil_lookup(alpha, &cl, &cd, &cm, WING, end, member, 0, 0);
            flt[0].alpha_el[FM_flow_index(WING, 0, 0)] = alpha;
            FM_element_coeffs(0.0f, mach_div, 0.5f, 0.0f, 0.0f, 0.0f, &cl, &cd, &cm, WING, 0, 0);
        }
    });
}
