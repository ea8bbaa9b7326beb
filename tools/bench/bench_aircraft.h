// The fleet's aircraft in the benchmarks: each kind (the default trainer, the
// twin turboprop, the airliner and the helicopter) from the data folder beside
// the benchmark, set up and put in steady flight at 3,000 m in still air with
// its engines running at cruise power.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/launch_flags.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/folders.h"
#include "core/simvars/operation.h"
#include "core/simvars/physics.h"
#include "core/simvars/weather.h"
#include "flightmodel/attitude.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/phys.h"
#include "shell/main.h"

namespace bench_aircraft {

inline void ignore_alert(int, const char* const[4], int) {}

inline std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

enum class kind { trainer, turboprop, airliner, helicopter };

// The kind of the aircraft file read into slot 0 (by its engines and rotors).
inline bool is_kind(kind k)
{
    const acf_struct& a = pln[0];
    const int t = a.acf_en_type[0];
    bool rotor = false;
    for (int n = 0; n < ACF_MAX_ENGINES; ++n) rotor = rotor || a.acf_prop_type[n] == PROP_COLLECTIVE_ROTOR;
    switch (k) {
    case kind::trainer: return a.acf_num_engines == 1 && ENGINE_type_is_piston(t) && !rotor;
    case kind::turboprop:
        return a.acf_num_engines == 2 && (t == ENGINE_TURBINE_FREE || t == ENGINE_TURBINE_FIXED) && !rotor;
    case kind::airliner: return a.acf_num_engines >= 2 && ENGINE_type_is_jet(t);
    default: return rotor;
    }
}

// The trainer by its file name; the others by what their files hold.
inline std::string find_aircraft(kind k)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(fs::path(program_folder) / "Aircraft", ec), end; it != end && !ec;
         it.increment(ec)) {
        if (!it->is_regular_file(ec) || lower(it->path().extension().string()) != ".acf") continue;
        const std::string name = lower(it->path().filename().string());
        const bool is_trainer = name == "orvell trainer.acf" || name == "united-air.acf";
        if (k == kind::trainer) {
            if (is_trainer) return it->path().string();
            continue;
        }
        std::memset(&pln[0], 0, sizeof pln[0]);
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", it->path().c_str());
        std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", it->path().filename().c_str());
        if (ACF_read_write(ACF_MODE_READ, 0, 0) && is_kind(k)) return it->path().string();
    }
    return "";
}

// Every engine running at cruise power: three quarters throttle, the props and
// rotors at nine tenths of their top speed, turbines at 90 % N1, the thrust
// points at their arms.
inline void engines_running()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    sim_physics.ambient_pressure = 70108.0f;
    for (int n = 0; n < ACF_MAX_ENGINES; ++n) {
        f.ENGN_running[n] = n < a.acf_num_engines;
        f.ignition_on[n] = 3;
        f.ENGN_mixt[n] = f.ENGN_mixt_pow_rat[n] = 1.0f;
        f.ENGN_thro[n] = f.ENGN_thro_use[n] = 0.75f * a.acf_throtmax_FWD;
        f.ENGN_tacrad[n] = 0.9f * a.acf_RSC_redline_eng;
        const float gear = a.acf_prop_gear_rat[n];
        f.POINT_tacrad[n] = a.acf_prop_type[n] == PROP_COLLECTIVE_ROTOR || a.acf_prop_type[n] == PROP_MAIN_ROTOR
                                ? 0.9f * a.acf_des_rpm_prp[n]
                                : (gear != 0.0f ? f.ENGN_tacrad[n] / gear : 0.0f);
        f.ENGN_N1_[n] = 90.0f;
        f.POINT_pitch_deg[n] = 0.5f * (a.acf_min_pitch[n] + a.acf_max_pitch[n]);
        f.POINT_XYZ[3 * n] = a.acf_Xarm[n], f.POINT_XYZ[3 * n + 1] = a.acf_Yarm[n], f.POINT_XYZ[3 * n + 2] = a.acf_Zarm[n];
        f.vertcant[n] = a.acf_vertcant[n], f.sidecant[n] = a.acf_sidecant[n];
        f.ENGN_bat_volt[n] = 1.0f;
        f.oil_power_thrust_ratio[n] = 1.0f;
        f.ENGN_sigma[n] = 1.0f;
    }
}

// Loads the aircraft into slot 0 and puts it in steady flight at speed v (m/s).
inline bool prepare(kind k, float v, std::string* label)
{
    MACIBM_set_alert_handler(ignore_alert);
    CONST_fill_constants();
    FOLDERS_init();
    const std::string path = find_aircraft(k);
    if (path.empty()) return false;
    std::memset(&pln[0], 0, sizeof pln[0]);
    std::memset(&flt[0], 0, sizeof flt[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", std::filesystem::path(path).filename().c_str());
    ACF_load_and_setup(0);
    *label = "set up";
    if (!(pln[0].acf_Jxx_unitmass > 0.0f)) return false;   // the set-up refused it

    sim_weather.rho = 0.909f, sim_weather.sigma = 0.742f, sim_weather.speed_of_sound_ms = 328.6f;
    sim_physics.mu_air = 1.7894e-5f, sim_physics.g_sealevel = 9.80665f;
    sim_operation_misc.frame_rate_period = 0.02f;
    LAUNCH_reset();
    engines_running();
    flt_struct& f = flt[0];
    f.local_y = 3000.0f, f.y_agl = 3000.0f;
    f.local_vz = -v;
    f.theta = 2.0f;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    for (int p = 0; p < FLT_PARTS; ++p)
        for (int b = 0; b < 4; ++b) f.Q_centroid_MULT[4 * p + b] = 1.0f;
    ACF_control_incidence(0);
    ACF_control_incidence(0);
    f.true_airspeed = f.groundspeed = v;
    f.Qstatic = 0.5f * sim_weather.rho * v * v;
    f.machno = v / sim_weather.speed_of_sound_ms;
    PHYS_local_to_body(0.0f, 0.0f, v, &f.vx_air_on_acf, &f.vy_air_on_acf, &f.vz_air_on_acf, 0);
    f.alpha = std::atan2(f.vy_air_on_acf, f.vz_air_on_acf) * RAD_TO_DEG_FLOAT;
    f.sin_alpha = std::sin(f.alpha * DEG_TO_RAD_FLOAT);
    f.cos_alpha = std::cos(f.alpha * DEG_TO_RAD_FLOAT);
    f.cos_beta = 1.0f;
    f.indicated_airspeed = f.vz_air_on_acf * std::sqrt(sim_weather.sigma) * UNIT.mps_to_kts;
    FM_forces_reset();
    for (int i = 0; i < 10; ++i) FM_forces_and_moments();   // downwash and centroid factors settle
    return true;
}

// The steady flight of slot 0 kept once and put back after every step, so a
// long run measures the same flight rather than wherever the integration has
// carried the plane.
struct steady_flight {
    flt_struct kept{};
    void keep() { kept = flt[0]; }
    void restore() const
    {
        flt_struct& f = flt[0];
        f.local_x = kept.local_x, f.local_y = kept.local_y, f.local_z = kept.local_z;
        f.local_x_d = kept.local_x_d, f.local_y_d = kept.local_y_d, f.local_z_d = kept.local_z_d;
        f.local_vx = kept.local_vx, f.local_vy = kept.local_vy, f.local_vz = kept.local_vz;
        f.theta = kept.theta, f.psi = kept.psi, f.phi = kept.phi;
        for (int k = 0; k < 4; ++k) f.q[k] = kept.q[k];
        f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    }
};

}  // namespace bench_aircraft
