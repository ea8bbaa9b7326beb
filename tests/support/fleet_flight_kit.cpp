#include "tests/support/fleet_flight_kit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "aircraft/part_presence.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/attitude.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/sim_frame.h"
#include "flightmodel/phys.h"
#include "flightmodel/systems.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/systems/radios.h"
#include "flightmodel/gear_util.h"
#include "links/net_slots.h"
#include "links/sound_seam.h"
#include "world/fires.h"
#include "screens/setup.h"
#include "shell/commands.h"
#include "shell/keys.h"
#include "tests/support/terrain_support.h"
#include "tests/support/test_pilot.h"
#include "world/airport_state.h"
#include "world/apt_scene.h"
#include "world/landuse_grid.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/ships.h"
#include "world/terrain_grid.h"

void clear_world_around_the_flight()
{
    replay_index = 0;
    airport_table.clear();
    navaid_table.clear();
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    std::fill(std::begin(terrain_vertex_grid), std::end(terrain_vertex_grid), terrain_vertex{});
    for (int k = 0; k < SEA_OBJECT_SLOTS; ++k) {
        ship_x[k] = ship_z[k] = -9.9e9f;
        ship_y[k] = ship_heading[k] = ship_pitch[k] = ship_roll[k] = 0.0f;
    }
    fire_table = fire_table_record{};
    OBJ_clear_table();
    traffic_runway_state = traffic_runway_record{};
    for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_peer_heard[s] = 0;
    std::fill(std::begin(interval_ticks), std::end(interval_ticks), 0);
    frame_clock = 0.0f;
    TEST_lay_flat_grid(0.0f);
}

namespace fleet_kit {

namespace {

using test_pilot::hands;

constexpr float KT = 0.5144444f;        // m/s per knot
constexpr float FT = 0.3048f;           // m per foot
constexpr float FPM = 196.850394f;      // ft/min per m/s
constexpr float RPM = 9.5492966f;       // rpm per rad/s
constexpr float RAD = RAD_TO_DEG_FLOAT;
constexpr float RUNWAY_M = 4000.0f;
constexpr float RUNWAY_HEADING = 90.0f;
constexpr float RUNWAY_WIDTH_M = 61.0f;   // 200 ft
constexpr float AIR_START_X = -4000.0f;   // m, east of the test field
// The test field: in the open ocean, far from the default world's scenery
// tiles, so the world is the flat ground the kit lays.
constexpr float FIELD_LAT = 10.0f, FIELD_LON = -149.6f;
constexpr float FIELD_LAT_REF = 9.0f, FIELD_LON_REF = -151.0f;

std::string data_folder;

// No sound device: every sound is taken and dropped.
struct silent_recorder : sound_recorder {};
silent_recorder silence;

float frame_dt = 1.0f / 60.0f;

// Whether the frames raise the interval flags (the once-a-second wind
// sample and the rest) as the frame loop does; the flights in still air leave
// them down.
bool ticking = false;
float last_tick[INTERVAL_COUNT];

// ---- the world ---------------------------------------------------------

// The flight test field: one long hard runway running east at sea level.
void add_test_field()
{
    airport_record a{};
    a.kind = 1;
    std::memcpy(a.id, "ZFLT", 4);
    std::snprintf(a.name, sizeof a.name, "Flight test field");
    a.elevation = 0.0f;
    runway_record rw{};
    // West of the local frame's centre (lat_ref, lon_ref plus the offsets),
    // where the flights in the air start and head east over open ground.
    rw.lat = FIELD_LAT;
    rw.lon = FIELD_LON;
    std::snprintf(rw.number, sizeof rw.number, "09");
    rw.heading = RUNWAY_HEADING;
    rw.length = RUNWAY_M;
    rw.width = RUNWAY_WIDTH_M;
    rw.surface_code = SURFACE_ASPHALT;
    a.runways.push_back(rw);
    airport_table.push_back(a);
}

// The orbiter's landing base as the project's navigation data has it: the
// approaches fly to its seventh runway (the 39,097 ft lakebed runway 17,
// heading 179, 2,302 ft up), here in every one of its seven places.
constexpr float BASE_ELEVATION_M = 2302.0f * 0.3048f;
void add_orbiter_base()
{
    airport_record a{};
    a.kind = 1;
    std::memcpy(a.id, "KEDW", 4);
    std::snprintf(a.name, sizeof a.name, "Orbiter landing base");
    a.elevation = BASE_ELEVATION_M;
    runway_record rw{};
    rw.lat = 34.950f;
    rw.lon = -117.815f;
    std::snprintf(rw.number, sizeof rw.number, "17x");
    rw.heading = 179.0f;
    rw.length = 39097.0f * 0.3048f;
    rw.width = 91.0f;
    rw.surface_code = SURFACE_ASPHALT;
    a.runways.assign(7, rw);
    airport_table.push_back(a);
}

// Everything at rest, the Earth's constants, still standard air, a flat
// world at sea level around the test field, the pilot on the joystick.
void fresh_world()
{
    RESET_all();
    ticking = false;
    std::fill(std::begin(last_tick), std::end(last_tick), 0.0f);
    CONST_fill_constants();
    UTIL_srand(1);   // every flight draws the same numbers, whatever flew before it
    PLANET_set_constants(PLANET_EARTH);
    lat_ref = FIELD_LAT_REF;
    lon_ref = FIELD_LON_REF;
    for (flt_struct& f : flt) f = flt_struct{};
    for (acf_struct& a : pln) std::memset(static_cast<void*>(&a), 0, sizeof a);
    FOLDERS_init_from((data_folder + "orvell").c_str());
    for (acf_struct& a : pln) UTIL_strcpy("TEST.ACF", a.acf_file_name);
    clear_world_around_the_flight();
    water_level_m = 0.0f;
    sim_operation_misc.frame_rate_period = frame_dt;
    sim_physics.g_sealevel = sim_physics.earth_mu / (sim_physics.earth_radius_m * sim_physics.earth_radius_m);
    sim_weather.speed_of_sound_ms = 340.0f;
    sim_weather.rho = 1.225f;
    sim_weather.sigma = 1.0f;
    sim_weather.temperature_sealevel_c = 15.0f;
    sim_weather.runway_friction = 0;
    sim_weather.wave_amplitude = 0.0f;
    sim_graphics_settings.draw_aircrafts = 1;
    SOUND_install_recorder(&silence);

    add_test_field();
    std::memcpy(start_selection.airport_id, "ZFLT", 5);
    APT_find_start_airport();
    APT_build_scene(1);

    hands = test_pilot::pilot_hands{};
    INPUT_set_joystick_poll(test_pilot::pilot_joystick);
    sim_joystick.eq_ped_wibrk = 1;   // rudder pedals with toe brakes
    sim_operation_prefs.startup_running = 1;
    sim_operation_failures.hydraulic_pressure_ratio = 1.0f;
    // The program's mean time between failures: with none (0) every system
    // would fail at random within minutes once the one-second passes tick.
    sim_operation_failures.mean_time_between_failure_hrs = 250.0f;
    app_mode = MODE_FLYING;
}

// The path of the fleet's aircraft of this file name ("" when there is none).
std::string path_of(const char* file)
{
    namespace fs = std::filesystem;
    std::string path;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(data_folder + "Aircraft", ec), end; it != end && !ec; it.increment(ec))
        if (it->path().filename() == file) path = it->path().string();
    return path;
}

// The places of the special approach starts on the flat world, 10 km north
// of the field, each heading north: the carrier, the frigate, the two oil
// platforms and a building with a landing site on its roof.
void add_sea_places()
{
    const int slots[] = {SHIP_CARRIER, SHIP_FRIGATE, SEA_PLATFORM_A, SEA_PLATFORM_B};
    for (int k = 0; k < 4; ++k) {
        ship_x[slots[k]] = -6000.0f + 3000.0f * static_cast<float>(k);
        ship_z[slots[k]] = -10000.0f;
        ship_y[slots[k]] = ship_heading[slots[k]] = 0.0f;
    }
    object_table.resize(1);
    object_table[0].object_class = OBJ_CLASS_HARD_ROOF;
    placement_list = {{0, 6000.0f, 0.0f, -10000.0f, 0.0f, 0}};
}

// The fleet's aircraft of this file name into slot 0 through the set-up.
bool load(const char* file)
{
    const std::string path = path_of(file);
    if (path.empty()) return false;
    std::memset(static_cast<void*>(&pln[0]), 0, sizeof pln[0]);
    std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
    std::snprintf(pln[0].acf_file_name, ACF_TEXT_SIZE, "%s", file);
    ACF_load_and_setup(0);
    return pln[0].acf_m_empty > 0.0f;
}

bool tracing = false;
int trace_count = 0;
float report_at = -1.0f;   // the frame clock of the frame whose build-up is reported

// One frame of the simulation, with no frame drawn.
void frame()
{
    frame_clock += frame_dt;
    sim_operation_misc.frame_rate_period = frame_dt;
    for (int k = 0; k < INTERVAL_COUNT && ticking; ++k) {
        interval_ticks[k] = frame_clock > last_tick[k] + interval_periods[k] ? 1 : 0;
        if (interval_ticks[k]) last_tick[k] = frame_clock;
    }
    if (report_at >= 0.0f && frame_clock >= report_at && frame_clock < report_at + frame_dt) {
        FOLDERS_open_logs();
        sim_network_dataout.dump_next_cycle = 1;
    }
    FLTMOD_sim_frame();
    if (tracing && (++trace_count % static_cast<int>(std::lround(0.5f / frame_dt)) == 0 || trace_count < 5)) {
        const flt_struct& f = flt[0];
        std::printf("  t %6.1f ias %6.1f tas %6.1f vy %6.2f y %7.1f agl %6.1f th %6.2f al %6.2f n %5.2f stick %5.2f "
                    "ph %6.1f ps %6.1f coll %5.2f tilt %5.2f trim %5.2f thr %4.2f rpm %6.0f pw %5.2f gnd %d st %d x %7.1f T %6.0f D %6.0f L %6.0f\n",
                    frame_clock, f.indicated_airspeed, f.true_airspeed / 0.5144444f, f.local_vy, f.local_y, f.y_agl,
                    f.theta, f.alpha, f.g_nrml, f.FC_ptch, f.phi, f.psi, f.POINT_pitch_deg[0], f.cyclic_elev_disc_tilt[0], f.elv_trim, f.ENGN_thro_use[0], f.ENGN_tacrad[0] * 9.5492966f,
                    pln[0].acf_pmax > 0.0f ? f.ENGN_power[0] / pln[0].acf_pmax : 0.0f, f.onground_any,
                    f.stalled[PART_WING_PAIR_FIRST] + 10 * surface_state.flat_surface_on + 100 * (surface_state.surface_code > 0), f.local_x, f.POINT_thrust[0] + f.POINT_thrust[1], f.faxil_aero,
                    f.fnrml_aero);
    }
}

int frames(float seconds) { return static_cast<int>(std::lround(seconds / frame_dt)); }

// The aircraft's weight: the payload makes up what the empty aircraft, the
// start's fuel and the stores on its stations leave (the mass of the last
// frame counts them all).
void set_weight(float weight_kg)
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    if (weight_kg < 0.0f) return;
    const float w = weight_kg > 0.0f ? weight_kg : a.acf_m_max;
    f.m_fixed = std::max(0.0f, f.m_fixed + w - f.m_total);
}

// The throttle lever closed; on an aircraft without engines it works the
// speedbrakes, which it keeps in.
float idle() { return pln[0].acf_num_engines > 0 ? 0.0f : 1.0f; }

// A fresh world with the aircraft started on the test field's runway,
// its engines running and the throttle closed.
bool start_on_runway(const setup& s)
{
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return false;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    // The float plane's runway start is an approach, trimmed for its speed;
    // the flights from here start with the trims at 0, as on the runway.
    flt[0].elv_trim = flt[0].ail_trim = flt[0].rud_trim = 0.0f;
    // The start built the scene around the field: the ground laid flat at sea level again.
    TEST_lay_flat_grid(0.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    // The pilot takes the throttles: the lever moved, then closed.
    hands.throttle = 0.1f;
    frame();
    hands.throttle = idle();
    frame();
    set_weight(s.weight_kg);
    return true;
}

// Sets flaps and gear at once (as if set long before).
void configure(float flaps, bool gear_down)
{
    flt_struct& f = flt[0];
    acf_struct& a = pln[0];
    f.flaprqst = f.flaprat = flaps;
    sim_cockpit_switches.gear_handle_status = gear_down ? 1 : 0;
    for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g)
        a.acf_gear_deploy[g] = gear_down || !a.acf_gear_retract ? 1.0f : 0.0f;
}

// The aircraft put in the air at `feet`, wings level, heading east, at the
// true airspeed of `ias_kt` with the nose `theta` up.
void place_in_air(float feet, float ias_kt, float theta)
{
    flt_struct& f = flt[0];
    const float h = feet * FT;
    // Standard air at that height for the true airspeed; the systems step
    // takes the air over from the first frame.
    const float sigma = std::pow(1.0f - 2.25577e-5f * h, 4.2559f);
    const float v = ias_kt * KT / std::sqrt(sigma);
    f.local_x_d = f.local_x = AIR_START_X;
    f.local_z_d = f.local_z = 0.0f;
    f.local_y_d = f.local_y = h;
    f.local_vx = v, f.local_vy = 0.0f, f.local_vz = 0.0f;
    f.theta = theta, f.psi = RUNWAY_HEADING, f.phi = 0.0f;
    f.P = f.Q = f.R = f.Prad = f.Qrad = f.Rrad = 0.0f;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.parkbrake = 0.0f;
}

// ---- the pilot -----------------------------------------------------------

float wrap180(float a) { return std::remainder(a, 360.0f); }

// The pilot's hands in the air: the elevator holds a pitch attitude and the
// trim wheel takes the steady part of it, the ailerons hold the wings level
// and the rudder the heading. Outer loops set the attitude from the speed,
// the flight path or the height.
struct pilot {
    float attitude = 0.0f;      // the attitude the outer loop asks for, deg
    float heading = RUNWAY_HEADING;
    bool trimming = true;       // the trim wheel follows the stick
    float stick_trim = 0.0f;    // the stick's steady part when the trim wheel is not used

    void hold_attitude(float theta_cmd)
    {
        flt_struct& f = flt[0];
        const acf_struct& a = pln[0];
        const float err = UTIL_clamp(theta_cmd - f.theta, -10.0f, 10.0f);
        if (trimming) {
            f.elv_trim = UTIL_clamp(f.elv_trim + 0.01f * err * frame_dt, -a.acf_elv_trim_dn, a.acf_elv_trim_up);
            // The trim wheel ran out: the stick holds the rest.
            if (f.elv_trim >= a.acf_elv_trim_up || f.elv_trim <= -a.acf_elv_trim_dn)
                stick_trim = UTIL_clamp(stick_trim + 0.01f * err * frame_dt, -1.0f, 1.0f);
        } else {
            stick_trim = UTIL_clamp(stick_trim + 0.01f * err * frame_dt, -1.0f, 1.0f);
        }
        hands.pitch = UTIL_clamp(stick_trim + 0.04f * err - 0.02f * f.Q, -1.0f, 1.0f);
        hands.roll = UTIL_clamp(-0.03f * f.phi - 0.01f * f.P, -1.0f, 1.0f);
        hands.heading = UTIL_clamp(0.05f * wrap180(heading - f.psi) - 0.02f * f.R, -1.0f, 1.0f);
    }

    // The attitude from an error (positive: nose up), its steady part kept.
    void outer(float err)
    {
        attitude = UTIL_clamp(attitude + 0.2f * err * frame_dt, -15.0f, 25.0f);
        hold_attitude(UTIL_clamp(attitude + 0.5f * err, -15.0f, 25.0f));
    }

    void hold_ias(float ias_kt) { outer((flt[0].indicated_airspeed - ias_kt) * KT); }

    void hold_height(float y)
    {
        const flt_struct& f = flt[0];
        outer(UTIL_clamp(0.1f * (y - f.local_y), -3.0f, 3.0f) - f.local_vy);
    }

    void hold_path(float gamma_deg)
    {
        const flt_struct& f = flt[0];
        const float gamma = std::atan2(f.local_vy, std::max(std::hypot(f.local_vx, f.local_vz), 1.0f)) * RAD;
        outer(0.5f * (gamma_deg - gamma));
    }
};

float power_share()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    float p = 0.0f, rated = 0.0f;
    for (int e = 0; e < std::clamp(a.acf_num_engines, 0, 8); ++e) p += f.ENGN_power[e], rated += a.acf_pmax;
    return rated > 0.0f ? p / rated : 0.0f;
}

float distance_from(float x0, float z0)
{
    const flt_struct& f = flt[0];
    return std::hypot(f.local_x - x0, f.local_z - z0);
}

}  // namespace

void trace(bool on) { tracing = on; }

void report_frame(float seconds) { report_at = seconds; }

void leave()
{
    INPUT_set_joystick_poll(nullptr);
    SOUND_install_recorder(nullptr);
}

void use_data_folder(const std::string& folder)
{
    data_folder = folder;
    if (!data_folder.empty() && data_folder.back() != '/') data_folder += '/';
}

stall_result fly_stall(const setup& s, float flaps, bool gear_down, int trim)
{
    stall_result r{NAN, false, 0.0f};
    if (!start_on_runway(s)) return r;
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float vs_file = flaps > 0.5f ? a.acf_Vso : a.acf_Vs;   // knots
    // The file's stall speeds are at the maximum weight.
    const float weight = s.weight_kg > 0.0f ? s.weight_kg : a.acf_m_max;
    const float start_kt = 1.3f * vs_file * std::sqrt(weight / std::max(a.acf_m_max, 1.0f));
    configure(flaps, gear_down);
    place_in_air(3000.0f, start_kt, 4.0f);
    pilot p;
    p.attitude = 4.0f;
    for (int k = 0; k < frames(20.0f); ++k) {   // trimmed at 1.3 Vs, the power off
        hands.throttle = idle();
        p.hold_ias(start_kt);
        frame();
    }
    p.trimming = false;
    if (trim == 1) f.elv_trim = a.acf_elv_trim_up;
    p.stick_trim = hands.pitch;
    // The lift coefficient goes as the load factor over the dynamic
    // pressure: its peak gives the 1-g stall speed, IAS / sqrt(n) there. The
    // wing has stalled once the angle of attack runs 2 degrees past the
    // peak's, or when the stick reaches its stop with the lift curve bent
    // over: over the last 2 degrees before the peak the lift rose at less
    // than half its rate in the linear range.
    struct sample {
        float alpha, cl;
    };
    std::vector<sample> curve;
    float target = f.indicated_airspeed, least = 1e9f, alpha_at_peak = 0.0f, best = 0.0f;
    float since_full = 0.0f;
    size_t at_peak = 0;
    for (int k = 0; k < frames(60.0f); ++k) {
        target -= frame_dt;   // 1 kt/s
        hands.throttle = idle();
        p.hold_ias(target);
        frame();
        const float n = f.g_nrml, ias = f.indicated_airspeed;
        if (n > 0.5f && ias > 1.0f) {
            curve.push_back({f.alpha, n / (ias * ias)});
            if (curve.back().cl > best) {
                best = curve.back().cl;
                least = ias / std::sqrt(n);
                alpha_at_peak = f.alpha;
                at_peak = curve.size() - 1;
            }
        }
        r.alpha_deg = std::max(r.alpha_deg, f.alpha);
        if (best > 0.0f && f.alpha > alpha_at_peak + 2.0f) r.stalled = true;
        // Past the stall, or the stick held fully back for 3 s.
        if (r.stalled && (f.Q < -2.0f || ias > least + 3.0f)) break;
        since_full = hands.pitch > 0.99f ? since_full + frame_dt : 0.0f;
        if (since_full > 3.0f) break;
        if (target < 0.5f * vs_file) break;
    }
    if (!r.stalled && !curve.empty()) {
        auto rate = [&](size_t from, size_t to) {
            const float da = curve[to].alpha - curve[from].alpha;
            return da > 0.5f ? (curve[to].cl - curve[from].cl) / da : 0.0f;
        };
        size_t linear_end = 0, bend_start = 0;
        for (size_t i = 0; i <= at_peak; ++i) {
            if (!linear_end && curve[i].alpha >= curve.front().alpha + 3.0f) linear_end = i;
            if (curve[i].alpha <= alpha_at_peak - 2.0f) bend_start = i;
        }
        const float linear = linear_end ? rate(0, linear_end) : 0.0f;
        r.stalled = linear > 0.0f && bend_start > 0 && rate(bend_start, at_peak) < linear / 2.0f;
    }
    r.kias = least;
    return r;
}

float fly_climb(const setup& s, float ias_kt, float feet)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    configure(0.0f, false);
    place_in_air(feet, ias_kt, 6.0f);
    pilot p;
    p.attitude = 6.0f;
    hands.throttle = 1.0f;
    float vy = 0.0f;
    int n = 0;
    for (int k = 0; k < frames(40.0f); ++k) {
        p.hold_ias(ias_kt);
        frame();
        if (k >= frames(20.0f)) vy += f.local_vy, ++n;
    }
    return n ? vy / n * FPM : NAN;
}

float fly_level(const setup& s, float feet, float power)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    configure(0.0f, false);
    place_in_air(feet, 0.8f * a.acf_Vno, 1.0f);
    const float y = f.local_y;
    pilot p;
    p.attitude = 1.0f;
    hands.throttle = 1.0f;
    float tas = 0.0f;
    int n = 0;
    for (int k = 0; k < frames(90.0f); ++k) {
        if (power > 0.0f && power_share() > 0.0f)
            hands.throttle = UTIL_clamp(hands.throttle + 0.5f * (power - power_share()) * frame_dt, 0.0f, 1.0f);
        p.hold_height(y);
        frame();
        if (k >= frames(75.0f)) tas += f.true_airspeed, ++n;
    }
    return n ? tas / n / KT : NAN;
}

float fly_level_mach(const setup& s, float feet)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    configure(0.0f, false);
    const float sigma = std::pow(1.0f - 2.25577e-5f * feet * FT, 4.2559f);
    place_in_air(feet, 0.78f * 296.5f * std::sqrt(sigma) / KT, 2.0f);   // Mach 0.78
    const float y = f.local_y;
    pilot p;
    p.attitude = 2.0f;
    hands.throttle = 1.0f;
    float m = 0.0f;
    int n = 0;
    for (int k = 0; k < frames(90.0f); ++k) {
        p.hold_height(y);
        frame();
        if (k >= frames(75.0f)) m += f.machno, ++n;
    }
    return n ? m / n : NAN;
}

float fly_static_rpm(const setup& s, float throttle)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    for (int k = 0; k < frames(3.0f); ++k) frame();
    f.parkbrake = 1.0f;
    hands.left_brake = hands.right_brake = 1.0f;
    hands.throttle = throttle;
    for (int k = 0; k < frames(15.0f); ++k) frame();
    return f.ENGN_tacrad[0] * RPM;
}

float fly_take_off(const setup& s, float flaps, float rotate_kt, float pitch_deg)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    configure(flaps, true);
    for (int k = 0; k < frames(3.0f); ++k) frame();
    // Full power against the toe brakes, then brakes off.
    hands.left_brake = hands.right_brake = 1.0f;
    f.parkbrake = 0.0f;
    hands.throttle = 1.0f;
    for (int k = 0; k < frames(4.0f); ++k) frame();
    hands.left_brake = hands.right_brake = 0.0f;
    const float x0 = f.local_x, z0 = f.local_z;
    pilot p;
    p.heading = f.psi;
    p.trimming = false;
    float left_at = -1.0f;
    int airborne = 0;
    const float theta0 = f.theta;
    for (int k = 0; k < frames(90.0f); ++k) {
        if (f.indicated_airspeed < rotate_kt) {
            // The nose wheel held on the ground until the rotation speed.
            hands.pitch = UTIL_clamp(0.1f * (theta0 - f.theta), -1.0f, 0.0f);
            hands.roll = 0.0f;
            hands.heading = UTIL_clamp(0.1f * wrap180(p.heading - f.psi) - 0.02f * f.R, -1.0f, 1.0f);
        } else {
            p.hold_attitude(pitch_deg);
        }
        frame();
        // Lift-off: the wheels leave the ground and stay off for a second (a
        // hop on the gear's springs is still the ground run).
        if (f.onground_any) {
            left_at = -1.0f, airborne = 0;
        } else {
            if (left_at < 0.0f) left_at = distance_from(x0, z0) / FT;
            if (++airborne >= frames(1.0f)) return left_at;
        }
    }
    return NAN;
}

float fly_glide(const setup& s, float ias_kt, float feet, float brakes)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    configure(0.0f, false);
    place_in_air(feet, ias_kt, -2.0f);
    pilot p;
    p.attitude = -2.0f;
    hands.throttle = pln[0].acf_num_engines > 0 ? idle() : idle() - brakes;
    for (int k = 0; k < frames(30.0f); ++k) {
        p.hold_ias(ias_kt);
        frame();
    }
    // The height lost, with the speed's energy counted: a glide a little
    // faster or slower at the end is not a steeper or flatter one.
    auto energy_height = [&] { return f.local_y + 0.5f * f.true_airspeed * f.true_airspeed / FM_GRAVITY; };
    const float x0 = f.local_x, z0 = f.local_z, e0 = energy_height();
    for (int k = 0; k < frames(30.0f); ++k) {
        p.hold_ias(ias_kt);
        frame();
    }
    const float lost = e0 - energy_height();
    return lost > 0.0f ? distance_from(x0, z0) / lost : NAN;
}

float fly_water_run(const setup& s, float flaps)
{
    if (!start_on_runway(s)) return NAN;   // on its approach: the float plane has no wheels
    flt_struct& f = flt[0];
    // A lake all over the area at sea level.
    TEST_lay_flat_grid(-20.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    configure(flaps, false);
    place_in_air(0.0f, 0.0f, 0.0f);
    f.local_y_d = f.local_y = 0.5f;
    f.local_vx = 0.0f;
    pilot p;
    p.trimming = false;
    for (int k = 0; k < frames(15.0f); ++k) {   // afloat at idle
        hands.throttle = idle();
        frame();
    }
    if (!f.onground_any) return NAN;
    const float x0 = f.local_x, z0 = f.local_z;
    hands.throttle = 1.0f;
    const float vs = pln[0].acf_Vso;
    for (int k = 0; k < frames(90.0f); ++k) {
        // Stick back to climb onto the step, then the planing attitude, then
        // rotate for lift-off.
        const float ias = f.indicated_airspeed;
        p.hold_attitude(ias < 0.5f * vs ? 8.0f : (ias < 0.95f * vs ? 3.0f : 8.0f));
        frame();
        if (!f.onground_any) return distance_from(x0, z0) / FT;
    }
    return NAN;
}

water_drift fly_afloat(const setup& s, const afloat& how)
{
    if (!start_on_runway(s)) return {NAN, NAN, NAN};   // on its approach: the float plane has no wheels
    flt_struct& f = flt[0];
    // A lake all over the area at sea level.
    TEST_lay_flat_grid(-20.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    configure(0.0f, false);
    place_in_air(0.0f, 0.0f, 0.0f);
    f.local_y_d = f.local_y = 0.5f;
    if (how.waves) {
        // The first start's sea: 1 m high and 12 m long from the north,
        // at the speed the weather gives waves of that length.
        sim_weather.wave_amplitude = 1.0f;
        sim_weather.wave_length = 12.0f;
        sim_weather.wave_speed = std::sqrt(12.0f / FT) * 1.34f * KT;
        sim_weather.wave_dir = 0;
    }
    if (!how.engine)
        for (int32_t& on : f.ignition_on) on = 0;
    // Afloat with the throttle closed until the propeller, still turning
    // from the start's approach, has run down; then set going at the start's
    // speed along the heading.
    for (int k = 0; k < frames(10.0f); ++k) {
        hands.throttle = idle();
        frame();
    }
    f.local_vx = how.start_kt * KT * std::sin(f.psi / RAD);
    f.local_vz = -how.start_kt * KT * std::cos(f.psi / RAD);
    const int n = frames(how.seconds), last = frames(how.window);
    float x0 = f.local_x, z0 = f.local_z, tilt = 0.0f, agl = 0.0f;
    for (int k = 0; k < n; ++k) {
        if (k == n - last) x0 = f.local_x, z0 = f.local_z;
        hands.throttle = idle();
        frame();
        tilt = std::max({tilt, std::fabs(f.theta), std::fabs(f.phi)});
        const float over_sea = f.local_y - pln[0].acf_h_eqlbm - WATER_still_level(f.local_x, f.local_z, -1.0e9f);
        if (k >= n - last) agl += (f.y_agl - over_sea) / static_cast<float>(last);
    }
    if (!f.onground_any) return {NAN, NAN, NAN};
    const float t = static_cast<float>(last) * frame_dt;
    return {(f.local_z - z0) / t / KT, (f.local_x - x0) / t / KT, tilt, agl / FT};
}

float fly_idle_creep(const setup& s, float seconds)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    f.parkbrake = 1.0f;
    for (int k = 0; k < frames(10.0f); ++k) frame();   // the engines settle at idle
    f.parkbrake = 0.0f;
    for (int k = 0; k < frames(seconds); ++k) frame();
    return f.groundspeed / KT;
}

float fly_brakes(const setup& s, bool toe, bool icy)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    if (icy) sim_weather.runway_friction = 2, sim_weather.temperature_sealevel_c = -5.0f;
    for (int k = 0; k < frames(3.0f); ++k) frame();
    if (toe)
        hands.left_brake = hands.right_brake = 1.0f;
    else
        f.parkbrake = 1.0f;
    hands.throttle = 1.0f;
    for (int k = 0; k < frames(5.0f); ++k) frame();   // the power comes up
    const float x0 = f.local_x, z0 = f.local_z;
    for (int k = 0; k < frames(20.0f); ++k) {
        hands.heading = 0.0f;
        frame();
    }
    return distance_from(x0, z0);
}

namespace {
void launch_weather(const launch_air& air);
}

parked_result fly_parked(const setup& s, float wind_kt, bool braked, float celsius)
{
    if (!start_on_runway(s)) return {NAN, NAN};
    flt_struct& f = flt[0];
    for (int k = 0; k < frames(3.0f); ++k) frame();
    f.parkbrake = braked ? 1.0f : 0.0f;
    launch_weather(launch_air{true, wind_kt, RUNWAY_HEADING - 90.0f});
    sim_weather.temperature_sealevel_c = celsius;
    ticking = true;
    const float x0 = f.local_x, z0 = f.local_z, psi0 = f.psi;
    parked_result r{0.0f, 0.0f};
    for (int k = 0; k < frames(60.0f); ++k) {
        frame();
        r.most_swing_deg = std::max(r.most_swing_deg, std::fabs(wrap180(f.psi - psi0)));
    }
    r.moved_m = distance_from(x0, z0);
    return r;
}

float fly_drop(const setup& s, float sink_mps, float lift_m, float bank_deg, bool water, float pitch_deg)
{
    if (!start_on_runway(s)) return NAN;
    flt_struct& f = flt[0];
    if (water) {
        TEST_lay_flat_grid(-20.0f);
        std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    }
    configure(water ? 0.0f : 1.0f, !water);
    if (!f.onground_any) {   // the float plane starts on its approach: put down on its floats
        place_in_air(0.0f, 0.0f, 0.0f);
        f.local_y_d = f.local_y = 0.5f;
    }
    for (int k = 0; k < frames(3.0f); ++k) frame();
    sim_operation_prefs.reset_on_crash = 0;
    crash_hold_until = 0.0f;
    f.phi = bank_deg, f.theta = pitch_deg;
    PHYS_euler_to_quat(f.theta, f.psi, f.phi, f.q);
    f.local_y_d = f.local_y += lift_m;
    f.local_vy = -std::sqrt(std::max(sink_mps * sink_mps - 2.0f * sim_physics.g_sealevel * lift_m, 0.0f));
    for (int k = 0; k < frames(3.0f); ++k) frame();
    return crash_hold_until > 0.0f ? 1.0f : 0.0f;
}

float fly_beam_wind(const setup& s, float wind_kt)
{
    flt_struct& f = flt[0];
    if (!(fly_afloat(s, afloat{false, false, 0.0f, 0.0f, 0.0f}).most_tilt_deg < 90.0f)) return NAN;
    launch_weather(launch_air{true, wind_kt, RUNWAY_HEADING - 90.0f, 0.0f, 0.0f, 0.0f, true});
    ticking = true;
    frame();
    // The air's forces alone, the build-up run up to its bodies.
    for (const fm_stage& stage : FM_stages()) {
        stage.run();
        if (std::string(stage.name) == "bodies") break;
    }
    const float a = f.faxil_aero * f.cos_alpha - f.fnrml_aero * f.sin_alpha;
    return a * f.cos_beta - f.fside_aero * f.sin_beta;
}

rollout_result fly_rollout(const setup& s, float touch_kt, float cross_kt, float seconds, bool braked, float celsius)
{
    rollout_result r{NAN, 0.0f, false};
    if (!start_on_runway(s)) return r;
    flt_struct& f = flt[0];
    configure(1.0f, true);
    // Settled on its gear in still air first, so that every rate starts the
    // rollout from the same state.
    for (int k = 0; k < frames(3.0f); ++k) frame();
    f.parkbrake = 0.0f;
    // Then the program's own path: the first start's weather (its rain, its
    // cloud deck, its wind layers and their once-a-second samples) at that
    // sea-level temperature, with the crosswind in every layer and neither
    // gusts nor turbulence; and its input chain without pedals, where the
    // nose wheel steers by the stick's roll axis and the brakes key brakes
    // both sides alike.
    launch_weather(launch_air{true, cross_kt, RUNWAY_HEADING - 90.0f});
    sim_weather.temperature_sealevel_c = celsius;
    ticking = true;
    sim_joystick.eq_ped_wibrk = sim_joystick.eq_ped_nobrk = 0;
    f.local_vx = touch_kt * KT, f.local_vz = 0.0f;
    hands = test_pilot::pilot_hands{};
    hands.throttle = idle();
    if (braked) {
        KEY_read_table();
        KEY_run_slot(DISPATCH_PLAIN, KEY_SLOT_BRAKES);
    }
    // How far out its outermost wheel stands from the centre of gravity.
    float track = 0.0f;
    for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g)
        if (ACF_part_present(0, g)) track = std::max(track, std::fabs(pln[0].acf_gear_xnodef[g]));
    const float z0 = f.local_z, psi0 = f.psi;
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        r.most_off_m = std::max(r.most_off_m, std::fabs(f.local_z - z0) + track);
        if (k < frames(16.0f)) r.heading_change_deg = std::fabs(wrap180(f.psi - psi0));
        // With a wheel off the runway the rollout is over: what follows (a
        // ground loop on the grass) says nothing more about the rollout.
        if (r.most_off_m > RUNWAY_WIDTH_M / 2.0f) break;
        if (k > frames(16.0f) && f.groundspeed < 0.2f * KT) {
            r.stopped = true;
            break;
        }
    }
    return r;
}

coupled_result fly_coupled_approach(const setup& s, float cross_kt, int sub_mode)
{
    coupled_result r{NAN, NAN, 0.0f, false};
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return r;
    // The localizer beyond the far end, the glide slope 300 m in from the
    // threshold and 120 m to the side.
    const float metres_per_deg_lon = sim_physics.earth_radius_m * DEG_TO_RAD_FLOAT * std::cos(FIELD_LAT * DEG_TO_RAD_FLOAT);
    const float threshold_lon = FIELD_LON - 0.5f * RUNWAY_M / metres_per_deg_lon;
    navaid_record loc{}, gs{};
    loc.kind = NAV_ILS_LOC, gs.kind = NAV_GLIDESLOPE;
    loc.frequency = gs.frequency = 11030;
    loc.lat = FIELD_LAT, loc.lon = FIELD_LON + 0.5f * (RUNWAY_M + 300.0f) / metres_per_deg_lon;
    gs.lat = FIELD_LAT - 120.0f / (sim_physics.earth_radius_m * DEG_TO_RAD_FLOAT);
    gs.lon = threshold_lon + 300.0f / metres_per_deg_lon;
    loc.heading = RUNWAY_HEADING, gs.heading = 300000.0f + RUNWAY_HEADING;
    for (const navaid_record& n : {loc, gs}) {
        navaid_frequency_index.emplace(n.frequency, static_cast<int32_t>(navaid_table.size()));
        navaid_table.push_back(n);
    }
    // The first start's gusts, their swing and its turbulence, as its draws have them.
    launch_weather(launch_air{true, std::fabs(cross_kt), RUNWAY_HEADING + (cross_kt < 0.0f ? 90.0f : -90.0f), 5.0f, 25.0f, 1.5f});
    sim_weather.temperature_sealevel_c = -5.0f;
    ticking = true;
    FLIGHT_init_situation(SIT_AIRPORT, sub_mode);
    TEST_lay_flat_grid(0.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    sim_joystick.eq_ped_wibrk = sim_joystick.eq_ped_nobrk = 0;
    hands = test_pilot::pilot_hands{};
    sim_cockpit_radios.nav1_freq_hz = loc.frequency;
    KEY_read_table();
    frame();
    for (const char key : {'N', 'G', 'S', 'g'}) {
        if ((key == 'S' && pln[0].acf_num_engines == 0) || (key == 'g' && !pln[0].acf_gear_retract)) continue;
        KEY_command_dispatch(DISPATCH_PLAIN, key);
    }
    const flt_struct& f = flt[0];
    float x0, y0, z0;
    GEO_latlon_to_local(x0, y0, z0, FIELD_LAT, threshold_lon, 0.0);
    for (int k = 0, touched = -1; k < frames(sub_mode == SIT_APPROACH_10NM ? 600.0f : 240.0f); ++k) {
        frame();
        const float past = f.local_x - x0, height_ft = (f.y_agl - pln[0].acf_h_eqlbm) / FT;
        if (touched < 0 && past < 0.0f && height_ft < 200.0f)
            r.most_dots = std::max(r.most_dots, std::fabs(sim_cockpit_radios.nav1_vdef_deg[0] * UNIT_GS_DOTS_PER_DEG));
        if (touched < 0 && f.onground_any) {
            touched = k;
            r.touchdown_m = past;
            r.touchdown_fpm = f.vh_ind * FPM;
        }
        if (touched >= 0 && k == touched + frames(3.0f)) {
            r.let_go = !AP_any_mode_engaged() && f.ENGN_thro[0] == 0.0f;
            break;
        }
    }
    return r;
}

coupled_rollout_result roll_out_after_let_go(float seconds)
{
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    coupled_rollout_result r{0.0f, 0.0f, 0.0f, false};
    float x_c, y_c, z_c;
    GEO_latlon_to_local(x_c, y_c, z_c, FIELD_LAT, FIELD_LON, 0.0);
    KEY_run_slot(DISPATCH_PLAIN, KEY_SLOT_BRAKES);
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        const float off = f.local_z - z_c;
        r.most_off_m = std::max(r.most_off_m, std::fabs(off));
        for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g) {
            if (!ACF_part_present(0, g)) continue;
            float x, y, z;
            PHYS_body_to_local(a.acf_gear_xnodef[g], a.acf_gear_ynodef[g], a.acf_gear_znodef[g], &x, &y, &z, 0);
            r.wheel_off_m = std::max(r.wheel_off_m, std::fabs(off + z));
        }
        r.heading_change_deg = std::max(r.heading_change_deg, std::fabs(wrap180(f.psi - RUNWAY_HEADING)));
        if (tracing && k % frames(0.5f) == 0)
            std::printf("  rollout t %6.1f gs %5.1f off %6.2f heading %6.2f brakes %4.2f trim %5.2f pitch %5.2f\n",
                        frame_clock, f.groundspeed / KT, off, wrap180(f.psi - RUNWAY_HEADING), f.parkbrake, f.elv_trim,
                        f.theta);
        if (f.onground_any && f.groundspeed < 0.2f * KT) {
            r.stopped = r.wheel_off_m < RUNWAY_WIDTH_M / 2.0f;
            break;
        }
    }
    return r;
}

approach_result fly_approach(const setup& s, float ias_kt, float flaps)
{
    approach_result r{NAN, NAN};
    if (!start_on_runway(s)) return r;
    flt_struct& f = flt[0];
    configure(flaps, true);
    place_in_air(3000.0f, ias_kt, 2.0f);
    pilot p;
    p.attitude = 2.0f;
    float base = 0.4f;
    float pitch = 0.0f, stick = 0.0f;
    int n = 0;
    for (int k = 0; k < frames(60.0f); ++k) {
        const float err = ias_kt - f.indicated_airspeed;
        base = UTIL_clamp(base + 0.003f * err * frame_dt, 0.0f, 1.0f);
        hands.throttle = UTIL_clamp(base + 0.02f * err, 0.0f, 1.0f);
        p.hold_path(-3.0f);
        frame();
        if (k >= frames(45.0f)) pitch += f.theta, stick += f.FC_ptch, ++n;
    }
    r.pitch_deg = pitch / n;
    r.stick = stick / n;
    return r;
}

namespace {

// The air of a flight, the plane already in its mean wind.
void launch_weather(const launch_air& air)
{
    if (!air.weather) return;
    sim_weather_block& w = sim_weather;
    w.wind_turbulence_percent = 0.3f;
    if (!air.clear) {
        w.temperature_sealevel_c = -5.0f;
        w.rain_percent = 1.0f;
        w.cloud_type[0] = 4;
        w.cloud_base_msl_m[0] = 5000.0f * FT;
        w.cloud_tops_msl_m[0] = 8000.0f * FT;
    }
    const float layers[WIND_LAYERS] = {5000.0f * FT, 7500.0f * FT, 25000.0f * FT};
    for (int k = 0; k < WIND_LAYERS; ++k) {
        w.wind_altitude_msl_m[k] = layers[k];
        w.wind_speed_kt[k] = air.wind_kt;
        w.wind_direction_degt[k] = air.from_deg;
        w.shear_speed_kt[k] = air.gust_kt;
        w.shear_direction_degt[k] = air.swing_deg;
        w.turbulence[k] = air.turbulence;
    }
    const float from = air.from_deg * DEG_TO_RAD_FLOAT;
    gust_vector[0] = wind_vector[0] = -air.wind_kt * KT * std::sin(from);
    gust_vector[2] = wind_vector[2] = air.wind_kt * KT * std::cos(from);
}

// A fresh world with the aircraft started in the situation of that code and
// sub-mode in that air, the ground laid flat at sea level again under it.
bool start_in_situation(const setup& s, int code, int sub_mode, const launch_air& air = {})
{
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return false;
    add_sea_places();
    // The tanker and the mother ship are the airliner, at the settings' 400 kt
    // and 25,000 ft and 500 kt and 45,000 ft, heading north.
    const std::string airliner = path_of("Orvell Airliner.acf");
    for (const int k : {2, 3, 4}) std::snprintf(screen_settings.situation_acf_paths[k], TEXT_SIZE, "%s", airliner.c_str());
    // The tow plane is the trainer.
    std::snprintf(screen_settings.situation_acf_paths[1], TEXT_SIZE, "%s", path_of("Orvell Trainer.acf").c_str());
    const float states[2][3] = {{400.0f, 25000.0f, 0.0f}, {500.0f, 45000.0f, 0.0f}};
    std::memcpy(screen_settings.situation_start_values, states, sizeof states);
    // The rooftop approach in a steady 20-kt wind from 30 degrees, the plane
    // already in it: a headwind the plane meets at more than its start's
    // groundspeed, and a crosswind that carries it rather than a sideslip.
    if (code == SIT_ROOFTOP) steady_wind(20.0f, 30.0f);
    launch_weather(air);
    ticking = air.weather;
    // The forest fire 10 km north, in the warm dry weather it burns in.
    if (code == SIT_FOREST_FIRE) {
        fire_table = fire_table_record{};
        fire_table.present = 1;
        fire_table.z[0] = -10000.0f;
        sim_weather.temperature_sealevel_c = 25.0f;
        sim_weather.rain_percent = 0.0f;
    }
    if (code == RANDOM_START) APPLICATION_handlemenu(RANDOM_START);
    else FLIGHT_init_situation(code, sub_mode);
    TEST_lay_flat_grid(0.0f);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    return true;
}

// The least and most pitch and the most bank over `seconds` with nothing
// touched; meeting the ground counts as 90 degrees of pitch when `ground` is set.
hands_off_result let_go(float seconds, bool ground)
{
    const flt_struct& f = flt[0];
    hands_off_result r{f.theta, f.theta, std::fabs(f.phi)};
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        r.least_pitch_deg = std::min(r.least_pitch_deg, f.theta);
        r.most_pitch_deg = std::max(r.most_pitch_deg, ground && f.onground_any ? 90.0f : f.theta);
        r.most_bank_deg = std::max(r.most_bank_deg, std::fabs(f.phi));
    }
    r.last_bank_deg = f.phi;
    return r;
}

}  // namespace

hands_off_result fly_hands_off(const setup& s, float seconds, int code, int sub_mode, float throttle,
                               const launch_air& air)
{
    if (!start_in_situation(s, code, sub_mode, air)) return {NAN, NAN, NAN};
    if (throttle >= 0.0f) hands.throttle = throttle;
    return let_go(seconds, false);
}

company_result fly_in_company(const setup& s, int code, float seconds, const flown_before& before)
{
    company_result r{NAN, NAN, {NAN, NAN, NAN}};
    const bool after = before.code >= 0;
    const launch_air air{before.weather, 9.0f, 240.0f, 3.0f, 0.0f, 0.1f};
    if (!start_in_situation(s, after ? before.code : code, before.sub_mode, air)) return r;
    for (int k = 0; after && k < frames(before.seconds); ++k) frame();
    if (after) UTIL_srand(before.seed), FLIGHT_init_situation(code, 0);
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    frame();   // the airspeed and Mach number of the start
    r.over_stall = f.indicated_airspeed / (1.3f * a.acf_Vs);
    r.over_limit = std::max(f.indicated_airspeed / a.acf_Vne, a.acf_Mmo > 0.0f ? f.machno / a.acf_Mmo : 0.0f);
    if (launch_flags.mothership_carried) {
        for (int k = 0; k < frames(2.0f); ++k) frame();
        launch_flags.mothership_carried = 0;   // let go, as the space bar does
    }
    r.after = let_go(seconds, true);
    return r;
}

namespace {

// The period (s) and damping ratio of a damped swing on a slow quadratic
// drift, from samples x[n] at a spacing of `h` seconds. Such samples obey
// x[n] = a1 x[n-1] + a2 x[n-2] + c0 + c1 n + c2 n^2 exactly, with a1 and a2
// from the swing alone: solved for by least squares, z^2 = a1 z + a2 has the
// roots exp((-sigma +- i omega) h).
phugoid_result damped_swing(const std::vector<double>& x, double h)
{
    double m[5][6] = {};
    for (size_t n = 2; n < x.size(); ++n) {
        const double k = static_cast<double>(n) / 10.0;
        const double row[5] = {x[n - 1], x[n - 2], 1.0, k, k * k};
        for (int i = 0; i < 5; ++i) {
            for (int j = 0; j < 5; ++j) m[i][j] += row[i] * row[j];
            m[i][5] += row[i] * x[n];
        }
    }
    for (int i = 0; i < 5; ++i) {
        if (!(std::fabs(m[i][i]) > 0.0)) return {NAN, NAN};
        const double p = m[i][i];
        for (int j = i; j < 6; ++j) m[i][j] /= p;
        for (int q = 0; q < 5; ++q)
            if (q != i)
                for (int j = 5; j >= i; --j) m[q][j] -= m[q][i] * m[i][j];
    }
    const double a1 = m[0][5], a2 = m[1][5];
    if (!(a2 < 0.0) || !(std::fabs(a1) < 2.0 * std::sqrt(-a2))) return {NAN, NAN};   // no swing
    const double r = std::sqrt(-a2), omega = std::acos(a1 / (2.0 * r)) / h, sigma = -std::log(r) / h;
    return {static_cast<float>(TWO_PI_DOUBLE / omega), static_cast<float>(sigma / std::hypot(sigma, omega))};
}

}  // namespace

phugoid_result fly_phugoid(const setup& s, float feet, float kias)
{
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return {NAN, NAN};
    // Started south of the local frame's centre so that the flight passes it
    // halfway: the frame is flat, and the farther the plane flies from its
    // centre, the more a level line in it climbs above the curved planet's
    // air; the drift that adds to the airspeed is kept slow and small.
    constexpr float AFTER = 145.0f;   // s flown after the raise
    const float h = feet * FT;
    const float tas = kias * KT / std::sqrt(std::pow(1.0f - 2.25577e-5f * h, 4.2559f));
    situation_start_record& b = situation_start_state;
    b.latitude = FIELD_LAT - 0.5f * (5.0f + AFTER) * tas / 111195.0f;
    b.longitude = FIELD_LON_REF + 1.5f;
    b.elevation = h;
    b.psi = 0.0f;
    b.groundspeed = tas;
    // The weight is made up once a frame has counted the start's loading;
    // started again at that weight, the start trims for it.
    FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
    TEST_lay_flat_grid(0.0f);
    frame();
    set_weight(s.weight_kg);
    FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
    TEST_lay_flat_grid(0.0f);
    flt_struct& f = flt[0];
    auto wings_level = [&] { hands.roll = UTIL_clamp(-0.03f * f.phi - 0.01f * f.P, -1.0f, 1.0f); };
    for (int k = 0; k < frames(5.0f); ++k) wings_level(), frame();
    const float v = std::hypot(f.local_vx, f.local_vz), raised = (v + 10.0f * KT) / v;
    f.local_vx *= raised, f.local_vz *= raised;
    std::vector<double> samples;
    const int every = frames(3.0f);
    for (int k = 1; k <= frames(AFTER); ++k) {
        wings_level(), frame();
        if (k >= frames(20.0f) && k <= frames(140.0f) && (k - frames(20.0f)) % every == 0) samples.push_back(f.true_airspeed);
    }
    return damped_swing(samples, every * frame_dt);
}

deck_result fly_deck_start(const setup& s, float collective_deg)
{
    deck_result r{NAN, NAN};
    if (!start_in_situation(s, SIT_CATAPULT, 0)) return r;
    // The start worked the deck's height out over the scenery its frame
    // moved to; started again over the open sea laid flat, the carrier
    // steams straight on (near land it would turn).
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), LANDUSE_WATER_A);
    FLIGHT_init_situation(SIT_CATAPULT, 0);
    flt_struct& f = flt[0];
    // Set down 4 m aft, on the catapult's spot, where the deck hooks a plane
    // standing on it (the carrier heads north).
    f.local_z_d = f.local_z += 4.0f;
    const auto over_deck = [&] {
        return std::array<float, 3>{f.local_x - ship_x[SHIP_CARRIER], f.local_y - ship_y[SHIP_CARRIER],
                                    f.local_z - ship_z[SHIP_CARRIER]};
    };
    const auto start = over_deck();
    r.moved_m = 0.0f;
    for (int k = 0; k < frames(6.0f); ++k) {
        if (k == frames(1.0f)) f.parkbrake = 0.0f;
        frame();
        const auto p = over_deck();
        r.moved_m = std::max(r.moved_m, std::hypot(p[0] - start[0], p[2] - start[2]));
    }
    const acf_struct& a = pln[0];
    const int k = std::clamp(a.acf_collective_rotor_index, 0, FLT_ENGINES - 1);
    hands.throttle = (collective_deg - a.acf_max_pitch[k]) / (a.acf_min_pitch[k] - a.acf_max_pitch[k]);
    for (int n = 0; n < frames(5.0f); ++n) frame();
    r.lifted_m = over_deck()[1] - start[1];
    return r;
}

void steady_wind(float kt, float from_deg)
{
    for (int k = 0; k < WIND_LAYERS; ++k) sim_weather.wind_speed_kt[k] = kt, sim_weather.wind_direction_degt[k] = from_deg;
    const float d = from_deg * DEG_TO_RAD_FLOAT;
    gust_vector[0] = wind_vector[0] = -kt * KT * std::sin(d);
    gust_vector[1] = wind_vector[1] = 0.0f;
    gust_vector[2] = wind_vector[2] = kt * KT * std::cos(d);
}

// The fuel, fixed mass and stores the world opened with: a start keeps those
// of the flight before (the fuel its engines drew from the tanks and the
// carried tanks), so each flight from a start is loaded with them again.
struct load_kept {
    float fuel[3], fixed;
    float store_mass[ACF_WPN_SLOTS], store_fuel[ACF_WPN_SLOTS];
} opened_load;

bool open_world(const setup& s)
{
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return false;
    add_sea_places();
    const flt_struct& f = flt[0];
    opened_load = {{f.m_fuel1, f.m_fuel2, f.m_fuel3}, f.m_fixed, {}, {}};
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        opened_load.store_mass[s] = pln[0].acf_wpn_slot[s].wpn_mass_now;
        opened_load.store_fuel[s] = pln[0].acf_wpn_slot[s].wpn_fuel_now;
    }
    return true;
}

std::vector<flight_sample> fly_from_start(int code, int sub_mode, float seconds, const test_pilot::pilot_hands& held,
                                          const std::function<void()>& after_start)
{
    std::vector<flight_sample> track;
    UTIL_srand(1);
    hands = held;
    flt_struct& plane = flt[0];
    plane.m_fuel1 = opened_load.fuel[0], plane.m_fuel2 = opened_load.fuel[1], plane.m_fuel3 = opened_load.fuel[2];
    plane.m_fixed = opened_load.fixed;
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) {
        pln[0].acf_wpn_slot[s].wpn_mass_now = opened_load.store_mass[s];
        pln[0].acf_wpn_slot[s].wpn_fuel_now = opened_load.store_fuel[s];
    }
    FLIGHT_init_situation(code, sub_mode);
    // The pilot lets the parking brake off.
    plane.parkbrake = 0.0f;
    if (after_start) after_start();
    const flt_struct& f = flt[0];
    const int per_second = frames(1.0f);
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        if (k % per_second != per_second - 1) continue;
        track.push_back({f.local_x_d, f.local_y_d, f.local_z_d, f.theta, f.psi, f.phi, f.local_vx, f.local_vy,
                         f.local_vz, f.P, f.Q, f.R, f.alpha, f.ENGN_tacrad[0], f.POINT_tacrad[0], f.elv_trim,
                         f.onground_any, sim_cockpit_pressure.cabin_altitude_actual_m_msl});
    }
    return track;
}

hands_off_result fly_dive_let_go(const setup& s, float seconds)
{
    hands_off_result r{NAN, NAN, NAN};
    if (!start_on_runway(s)) return r;
    flt_struct& f = flt[0];
    const float approach_kt = 1.5f * pln[0].acf_est_Vs / KT;   // the approach start's speed
    const float dive_kt = std::max(120.0f, 1.5f * approach_kt);
    configure(0.0f, true);
    place_in_air(6000.0f, approach_kt, 0.0f);
    pilot p;
    p.trimming = false;
    const float throttle = pln[0].acf_num_engines > 0 ? 0.75f : idle();
    for (int k = 0; k < frames(60.0f) && f.indicated_airspeed < dive_kt; ++k) {
        hands.throttle = throttle;
        p.hold_attitude(-40.0f);
        frame();
    }
    hands = test_pilot::pilot_hands{};
    hands.throttle = throttle;
    r = {f.theta, f.theta, std::fabs(f.phi)};
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        r.least_pitch_deg = std::min(r.least_pitch_deg, f.theta);
        r.most_pitch_deg = std::max(r.most_pitch_deg, f.onground_any ? 90.0f : f.theta);
        r.most_bank_deg = std::max(r.most_bank_deg, std::fabs(f.phi));
    }
    return r;
}

launch_result fly_launch(const setup& s, int code, const launch_air& air, float seconds)
{
    launch_result r{NAN, 0.0f, 0.0f, 0.0f, {NAN, NAN, NAN}};
    frame_dt = 1.0f / s.hz;
    fresh_world();
    if (!load(s.file)) return r;
    const bool tow = code == SIT_AERO_TOW;
    if (tow) {
        // The tow plane is the trainer, and it flies.
        std::snprintf(screen_settings.situation_acf_paths[1], TEXT_SIZE, "%s", path_of("Orvell Trainer.acf").c_str());
        sim_graphics_settings.draw_aircrafts = 2;
    }
    launch_weather(air);
    ticking = air.weather;
    FLIGHT_init_situation(code, 0);
    // The ground laid flat at the runway's height: the runway lies where the
    // planet's curve puts it, 10 m below the frame's level 11 km from its
    // centre, and a glider carried off its side would meet a step up.
    TEST_lay_flat_grid(flt[0].local_y - pln[0].acf_h_eqlbm);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    const flt_struct& f = flt[0];
    // The weight is made up once a frame has counted the start's loading.
    frame();
    set_weight(s.weight_kg);
    for (int k = 0; k < frames(10.0f); ++k) frame();   // standing on the brake a while first
    flt[0].parkbrake = 0.0f;
    frame();
    auto on_rope = [&] {
        return tow ? launch_flags.tow_attached && f.y_agl < 2000.0f * FT : launch_flags.winch_attached != 0;
    };
    bool flying = false;
    for (int k = 0; k < frames(240.0f) && on_rope(); ++k) {
        frame();
        r.top_kias = std::max(r.top_kias, f.indicated_airspeed);
        r.most_pitch_deg = std::max(r.most_pitch_deg, f.theta);
        if (!f.onground_any) r.most_bank_deg = std::max(r.most_bank_deg, std::fabs(f.phi));
        flying = flying || f.y_agl > 10.0f;
        if (flying && f.onground_any) return r;   // back on the ground on the rope
    }
    if (on_rope()) return r;
    launch_flags.tow_attached = 0;   // the pilot lets go of the tow rope
    r.release_ft = f.y_agl / FT;
    r.after = {f.theta, f.theta, std::fabs(f.phi)};
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        r.after.least_pitch_deg = std::min(r.after.least_pitch_deg, f.theta);
        r.after.most_pitch_deg = std::max(r.after.most_pitch_deg, f.onground_any ? 90.0f : f.theta);
        r.after.most_bank_deg = std::max(r.after.most_bank_deg, std::fabs(f.phi));
    }
    return r;
}

float fly_orbiter_approach(const setup& s, int code, float seconds)
{
    frame_dt = 1.0f / s.hz;
    fresh_world();
    const std::string path = path_of(s.file);
    if (path.empty()) return NAN;
    add_orbiter_base();
    UTIL_strcpy(path.c_str(), screen_settings.situation_acf_paths[0]);
    FLIGHT_init_situation(code, 0);
    // The start built the scene around the base: the ground laid flat at its height.
    TEST_lay_flat_grid(BASE_ELEVATION_M);
    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    const flt_struct& f = flt[0];
    if (std::strcmp(pln[0].acf_file_name, s.file) != 0) return NAN;   // the start flies another aircraft
    float most = 0.0f;
    for (int k = 0; k < frames(seconds); ++k) {
        frame();
        const float state[] = {f.theta, f.phi, f.psi, f.local_x, f.local_y, f.local_z, f.local_vx, f.local_vy,
                               f.local_vz, f.indicated_airspeed, f.machno, f.alpha, f.g_nrml, sim_weather.rho};
        bool sane = sim_weather.rho >= 0.0f;
        for (const float v : state) sane = sane && std::isfinite(v);
        most = std::max({most, std::fabs(f.theta), std::fabs(f.phi)});
        if (!sane || f.onground_any || f.local_y < BASE_ELEVATION_M) return 90.0f;
    }
    return most;
}

namespace {

constexpr float LB = 0.45359237f;   // kg per pound

row make(const char* aircraft, const char* quantity, float reference, float band, std::function<float()> fly)
{
    return row{aircraft, quantity, reference, reference * (1.0f - band), reference * (1.0f + band), std::move(fly)};
}

row make_within(const char* aircraft, const char* quantity, float reference, float low, float high,
                std::function<float()> fly)
{
    return row{aircraft, quantity, reference, low, high, std::move(fly)};
}

row with_file(row r, const char* field, float (*speed)())
{
    r.file_field = field;
    r.file_speed = speed;
    return r;
}
row still_open(row r, const char* why)
{
    r.open = why;
    return r;
}
// The rows from `first` on read the one flight `flown`.
void share_flight(std::vector<row>& rows, size_t first, const void* flown)
{
    for (size_t k = first; k < rows.size(); ++k) rows[k].flight = flown;
}
float file_Vs() { return pln[0].acf_Vs; }
float file_Vso() { return pln[0].acf_Vso; }
float file_Vno() { return pln[0].acf_Vno; }

// A stall speed, or not a number when the wing never reached its stalling angle.
float stall_kias(const setup& s, float flaps, bool gear_down, int trim)
{
    const stall_result r = fly_stall(s, flaps, gear_down, trim);
    return r.stalled ? r.kias : NAN;
}

// Three rows from one flight left hands off for 20 s from the 3 nm approach
// start: the pitch stays within -25..+35 degrees, and the wings within 15
// degrees of level, as a pilot letting go on the approach expects.
void add_hands_off(std::vector<row>& rows, const char* aircraft, const char* file)
{
    auto flown = std::make_shared<std::optional<hands_off_result>>();
    auto fly = [flown, file] {
        if (!*flown) *flown = fly_hands_off(setup{file, 0.0f}, 20.0f, SIT_AIRPORT, SIT_APPROACH_3NM);
        return **flown;
    };
    const size_t first = rows.size();
    rows.push_back(make_within(aircraft, "hands off 20 s from the 3 nm approach: least pitch (deg)", 0.0f, -25.0f,
                               35.0f, [fly] { return fly().least_pitch_deg; }));
    rows.push_back(make_within(aircraft, "hands off 20 s from the 3 nm approach: most pitch (deg)", 0.0f, -25.0f,
                               35.0f, [fly] { return fly().most_pitch_deg; }));
    rows.push_back(make_within(aircraft, "hands off 20 s from the 3 nm approach: most bank (deg)", 0.0f, 0.0f, 15.0f,
                               [fly] { return fly().most_bank_deg; }));
    share_flight(rows, first, flown.get());
}

// Two rows from one flight left hands off for 20 s from a start in the air:
// the pitch stays between `least` and 15 degrees.
void add_start_hands_off(std::vector<row>& rows, const char* aircraft, const char* file, int code, int sub_mode,
                         const char* start, float least)
{
    auto flown = std::make_shared<std::optional<hands_off_result>>();
    auto fly = [flown, file, code, sub_mode] {
        if (!*flown) *flown = fly_hands_off(setup{file, -1.0f}, 20.0f, code, sub_mode);
        return **flown;
    };
    const size_t first = rows.size();
    for (const bool most : {false, true}) {
        const std::string what = std::string("hands off 20 s from the ") + start + (most ? ": most" : ": least") + " pitch (deg)";
        rows.push_back(make_within(aircraft, what.c_str(), 0.0f, least, 15.0f,
                                   [fly, most] { return most ? fly().most_pitch_deg : fly().least_pitch_deg; }));
    }
    share_flight(rows, first, flown.get());
}

// Four rows from one start in company of a second aircraft (or the random
// start), left hands off for 30 s (after the drop): the start's speed within
// the aircraft's limits (no slower than 1.3 times its stall speed, where it
// has one, no faster than its never-exceed speed or Mach limit), the pitch
// within 15 degrees of level and the wings within 30 of it.
void add_company(std::vector<row>& rows, const char* aircraft, const char* file, int code, const char* start,
                 bool stalls, const flown_before& before = {}, float most_pitch = 15.0f)
{
    auto flown = std::make_shared<std::optional<company_result>>();
    auto fly = [flown, file, code, before] {
        if (!*flown) *flown = fly_in_company(setup{file, -1.0f}, code, 30.0f, before);
        return **flown;
    };
    const size_t first = rows.size();
    const std::string what = std::string(start) + " start: ";
    if (stalls)
        rows.push_back(make_within(aircraft, (what + "IAS over 1.3 x stall speed").c_str(), 1.0f, 0.99f, 99.0f,
                                   [fly] { return fly().over_stall; }));
    rows.push_back(make_within(aircraft, (what + "IAS over Vne, Mach over Mmo, the greater").c_str(), 1.0f, 0.0f,
                               1.0f, [fly] { return fly().over_limit; }));
    rows.push_back(make_within(aircraft, (what + "hands off 30 s: most |pitch| (deg)").c_str(), 0.0f, 0.0f, most_pitch,
                               [fly] { return std::max(-fly().after.least_pitch_deg, fly().after.most_pitch_deg); }));
    rows.push_back(make_within(aircraft, (what + "hands off 30 s: most bank (deg)").c_str(), 0.0f, 0.0f, 30.0f,
                               [fly] { return fly().after.most_bank_deg; }));
    share_flight(rows, first, flown.get());
}

// Two rows from one flight dived and let go for 40 s: the pitch stays within
// +-60 degrees and the bank within 90, neither looping nor rolling over.
void add_dive_let_go(std::vector<row>& rows, const char* aircraft, const char* file)
{
    auto flown = std::make_shared<std::optional<hands_off_result>>();
    auto fly = [flown, file] {
        if (!*flown) *flown = fly_dive_let_go(setup{file, -1.0f}, 40.0f);
        return **flown;
    };
    const size_t first = rows.size();
    rows.push_back(make_within(aircraft, "dived 40 deg to 120 KIAS/1.5 x approach, let go 40 s: |pitch| (deg)",
                               0.0f, 0.0f, 60.0f,
                               [fly] { return std::max(-fly().least_pitch_deg, fly().most_pitch_deg); }));
    rows.push_back(make_within(aircraft, "dived 40 deg to 120 KIAS/1.5 x approach, let go 40 s: bank (deg)", 0.0f,
                               0.0f, 90.0f, [fly] { return fly().most_bank_deg; }));
    share_flight(rows, first, flown.get());
}

// Standing at idle on the runway, loaded as the start loads it, with every
// brake let off, the aircraft creeps at most a few knots in 30 s: its idle
// thrust is about what its wheels roll against, as the class's is. (The float
// plane has no wheels to stand on a runway with.)
void add_idle_creep(std::vector<row>& rows, const char* aircraft, const char* file)
{
    rows.push_back(make_within(aircraft, "idle, brakes off: groundspeed after 30 s (kt)", 0.0f, 0.0f, 5.0f,
                               [file] { return fly_idle_creep(setup{file, -1.0f}, 30.0f); }));
}

}  // namespace

std::vector<row> table(const std::string& aircraft)
{
    std::vector<row> rows;
    auto want = [&](const char* name) { return aircraft.empty() || aircraft == name; };
    constexpr float TEN = 0.10f;

    if (want("trainer")) {
        const setup s{"Orvell Trainer.acf", 2450.0f * LB};
        rows.push_back(with_file(make("trainer", "stall, clean, power off (KIAS)", 48.0f, TEN,
                                      [s] { return stall_kias(s, 0.0f, true, 0); }),
                                 "Vs", file_Vs));
        rows.push_back(with_file(make("trainer", "stall, full flaps, power off (KIAS)", 40.0f, TEN,
                                      [s] { return stall_kias(s, 1.0f, true, 0); }),
                                 "Vso", file_Vso));
        rows.push_back(make("trainer", "best-rate climb at 74 KIAS, sea level (ft/min)", 715.0f, TEN,
                            [s] { return fly_climb(s, 74.0f, 300.0f); }));
        rows.push_back(make("trainer", "cruise at 75% power, 8,000 ft (KTAS)", 122.0f, TEN,
                            [s] { return fly_level(s, 8000.0f, 0.75f); }));
        rows.push_back(make("trainer", "static full-throttle rpm", 2350.0f, TEN, [s] { return fly_static_rpm(s, 1.0f); }));
        rows.push_back(with_file(make("trainer", "max level speed, sea level (KTAS)", 125.0f, TEN,
                                      [s] { return fly_level(s, 500.0f, 0.0f); }),
                                 "Vno", file_Vno));
        // Both runs are flown as the class's normal take-off: the nose wheel
        // lifted at 55 KIAS with the flaps up or at 10 degrees, lift-off near
        // 60 KIAS with the flaps up and near 57 KIAS at 10 degrees. The class
        // rolls 860-960 ft with either setting; both rows accept 10% beyond
        // either end of that band.
        rows.push_back(make_within("trainer", "ground roll, flaps 0 (ft; the class 860-960)", 910.0f, 774.0f, 1056.0f,
                                   [s] { return fly_take_off(s, 0.0f, 55.0f, 8.0f); }));
        rows.push_back(make_within("trainer", "ground roll, flaps 10 (ft; the class 860-960)", 910.0f, 774.0f, 1056.0f,
                                   [s] { return fly_take_off(s, 1.0f / 3.0f, 55.0f, 8.0f); }));
        // Gliding with the throttle closed at 65 KIAS the wing works near a
        // lift coefficient of 1.0, where its riveted section's profile drag
        // (0.022 at 10 degrees) and the windmilling propeller, braked by the
        // closed-throttle engine, bring the glide to the class's 9:1.
        rows.push_back(make("trainer", "glide ratio at 65 KIAS, idle", 9.0f, TEN, [s] { return fly_glide(s, 65.0f); }));
        // Standing with the throttle closed, every flight starts on the high
        // idle, whose floor ignores the aircraft's idle ratios. On it a piston
        // engine's torque, 1.75 x 0.039 x sqrt(r) against its internal
        // friction 0.75 x r^2 (r the share of redline), balances at r = 0.20:
        // 544 rpm for this 2,700-rpm engine with nothing to turn. No
        // propeller or friction field reaches the class's 650; this propeller
        // holds it at 360 rpm. The low idle (3.4 times the floor) holds 650,
        // but the trainer has no idle-speed switch.
        rows.push_back(still_open(make("trainer", "idle rpm standing", 650.0f, TEN, [s] { return fly_static_rpm(s, 0.0f); }),
                                  "the high idle's fixed floor turns a 2,700-rpm engine at most 544 rpm unloaded"));
        rows.push_back(make_within("trainer", "creep on the parking brake, 20 s at full power (m)", 0.0f, 0.0f, 0.05f,
                                   [s] { return fly_brakes(s, false, false); }));
        rows.push_back(make_within("trainer", "creep on full toe brakes, 20 s at full power (m)", 0.0f, 0.0f, 0.05f,
                                   [s] { return fly_brakes(s, true, false); }));
        add_idle_creep(rows, "trainer", "Orvell Trainer.acf");
        add_hands_off(rows, "trainer", "Orvell Trainer.acf");
        add_dive_let_go(rows, "trainer", "Orvell Trainer.acf");
    }
    if (want("airliner")) {
        const setup s{"Orvell Airliner.acf", 64000.0f};
        rows.push_back(make("airliner", "1-g stall, landing flaps, gear down, elevator alone (KIAS)", 115.0f, TEN,
                            [s] { return stall_kias(s, 1.0f, true, 0); }));
        rows.push_back(make("airliner", "Vref = 1.23 x 1-g stall with full trim (KIAS)", 141.5f, TEN,
                            [s] { return 1.23f * stall_kias(s, 1.0f, true, 1); }));
        rows.push_back(make_within("airliner", "pitch on a 3-degree approach at 140 KIAS (deg)", 2.5f, 1.5f, 3.5f,
                                   [s] { return fly_approach(s, 140.0f, 1.0f).pitch_deg; }));
        rows.push_back(make_within("airliner", "Mach in level flight at 35,000 ft, full thrust", 0.81f, 0.78f, 0.84f,
                                   [s] { return fly_level_mach(s, 35000.0f); }));
        rows.push_back(make_within("airliner", "creep on the parking brake, 20 s at full power (m)", 0.0f, 0.0f, 0.05f,
                                   [s] { return fly_brakes(s, false, false); }));
        // On ice the tyres hold a fifth of their dry friction, less than the
        // engines' thrust: the aircraft slides on its brakes.
        rows.push_back(make_within("airliner", "slide on the parking brake on ice, 20 s at full power (m)", 0.0f, 20.0f,
                                   1e6f, [s] { return fly_brakes(s, false, true); }));
        const setup heavy{"Orvell Airliner.acf", 0.0f};
        rows.push_back(with_file(make("airliner", "1-g stall, clean, 79 t (KIAS)", 150.0f, TEN,
                                      [heavy] { return stall_kias(heavy, 0.0f, false, 1); }),
                                 "Vs", file_Vs));
        rows.push_back(with_file(make("airliner", "1-g stall, landing flaps, gear down, 79 t (KIAS)", 127.0f, TEN,
                                      [heavy] { return stall_kias(heavy, 1.0f, true, 1); }),
                                 "Vso", file_Vso));
        add_idle_creep(rows, "airliner", "Orvell Airliner.acf");
        add_hands_off(rows, "airliner", "Orvell Airliner.acf");
        add_dive_let_go(rows, "airliner", "Orvell Airliner.acf");
    }
    if (want("twin")) {
        const setup s{"Orvell Twin.acf", 5660.0f};
        rows.push_back(make("twin", "climb at 125 KIAS, sea level (ft/min)", 2450.0f, TEN,
                            [s] { return fly_climb(s, 125.0f, 300.0f); }));
        rows.push_back(make("twin", "max cruise, 10,000 ft (KTAS)", 255.0f, TEN, [s] { return fly_level(s, 10000.0f, 0.0f); }));
        rows.push_back(make_within("twin", "creep on the parking brake, 20 s at full power (m)", 0.0f, 0.0f, 0.05f,
                                   [s] { return fly_brakes(s, false, false); }));
        rows.push_back(with_file(make("twin", "stall, clean, power off (KIAS)", 95.0f, TEN,
                                      [s] { return stall_kias(s, 0.0f, false, 0); }),
                                 "Vs", file_Vs));
        rows.push_back(with_file(make("twin", "stall, full flaps, gear down, power off (KIAS)", 78.0f, TEN,
                                      [s] { return stall_kias(s, 1.0f, true, 0); }),
                                 "Vso", file_Vso));
        add_idle_creep(rows, "twin", "Orvell Twin.acf");
        // Let go at full throttle from the 10 nm approach, trimmed near idle,
        // in a first start's winds under a clear sky: 9.5 kt from 30 degrees
        // left of the runway, the speed swinging by 5 kt and the direction by
        // 25 degrees each second, turbulence 1.5. Its handed propellers'
        // torques and washes cancel, the climb's swings of speed die away
        // without reaching the stall, and the wings stay within 30 degrees
        // of level for a minute.
        const launch_air first_winds{true, 9.5f, RUNWAY_HEADING - 30.0f, 5.0f, 25.0f, 1.5f, true};
        rows.push_back(make_within("twin", "hands off 60 s at full throttle from the 10 nm approach: most bank (deg)", 0.0f,
                                   0.0f, 30.0f, [first_winds] {
                                       return fly_hands_off(setup{"Orvell Twin.acf", -1.0f}, 60.0f, SIT_AIRPORT,
                                                            SIT_APPROACH_10NM, 1.0f, first_winds)
                                           .most_bank_deg;
                                   }));
        add_hands_off(rows, "twin", "Orvell Twin.acf");
        add_dive_let_go(rows, "twin", "Orvell Twin.acf");
    }
    if (want("striker")) {
        const setup s{"Orvell Striker.acf", 0.0f};
        rows.push_back(with_file(make("striker", "stall, clean, power off, 7.0 t (KIAS)", 97.0f, TEN,
                                      [s] { return stall_kias(s, 0.0f, false, 0); }),
                                 "Vs", file_Vs));
        rows.push_back(with_file(make("striker", "stall, full flaps, gear down, power off, 7.0 t (KIAS)", 87.0f, TEN,
                                      [s] { return stall_kias(s, 1.0f, true, 0); }),
                                 "Vso", file_Vso));
        rows.push_back(make_within("striker", "creep on the parking brake, 20 s at full power (m)", 0.0f, 0.0f, 0.05f,
                                   [s] { return fly_brakes(s, false, false); }));
        add_idle_creep(rows, "striker", "Orvell Striker.acf");
        add_hands_off(rows, "striker", "Orvell Striker.acf");
        add_dive_let_go(rows, "striker", "Orvell Striker.acf");
    }
    if (want("glider")) {
        const setup s{"Orvell Glider.acf", 0.0f};
        rows.push_back(with_file(make("glider", "1-g stall (KIAS)", 35.0f, TEN, [s] { return stall_kias(s, 0.0f, true, 0); }),
                                 "Vs", file_Vs));
        rows.push_back(make("glider", "glide ratio at 50 KIAS", 34.0f, TEN, [s] { return fly_glide(s, 50.0f); }));
        add_idle_creep(rows, "glider", "Orvell Glider.acf");
        add_hands_off(rows, "glider", "Orvell Glider.acf");
        add_dive_let_go(rows, "glider", "Orvell Glider.acf");
        // Launched on the winch hands off in still air: let go at the top
        // below 2,000 ft, held near its launch speed far below the
        // never-exceed speed, climbing at no steeper than the 30-45 degrees of
        // a real launch's full climb, and left to fly on with the pitch within
        // 35 degrees.
        const size_t winch_rows = rows.size();
        const auto winch_flown = std::make_shared<std::optional<launch_result>>();
        auto winch = [s, flown = winch_flown] {
            if (!*flown) *flown = fly_launch(s, SIT_WINCH, launch_air{}, 30.0f);
            return **flown;
        };
        rows.push_back(make_within("glider", "winch launch hands off: height at the release (ft AGL)", 1500.0f, 800.0f,
                                   2000.0f, [winch] { return winch().release_ft; }));
        rows.push_back(make_within("glider", "winch launch hands off: most airspeed on the cable (KIAS; Vne 151)", 65.0f,
                                   40.0f, 80.0f, [winch] { return winch().top_kias; }));
        rows.push_back(make_within("glider", "winch launch hands off: most pitch on the cable (deg)", 40.0f, 30.0f, 45.0f,
                                   [winch] { return winch().most_pitch_deg; }));
        rows.push_back(make_within("glider", "winch launch, let go 30 s after the release: |pitch| (deg)", 0.0f, 0.0f,
                                   35.0f, [winch] {
                                       return std::max(-winch().after.least_pitch_deg, winch().after.most_pitch_deg);
                                   }));
        share_flight(rows, winch_rows, winch_flown.get());
        // Both launches hands off in the weather a first start has at its
        // roughest, the wind turned straight across the runway: 12 kt from
        // the left, its speed swinging by 6 kt and its direction by 30
        // degrees each second, turbulence 2. The winch lets go above 1,000
        // ft, the wings within 15 degrees of level on the cable; the tow
        // climbs to the pilot's release at 2,000 ft with the glider behind
        // the tow plane, its wings within 30 degrees of level (the tow plane
        // turns at 15); let go, each flies on with the pitch within 30
        // degrees.
        const launch_air gusty{true, 12.0f, RUNWAY_HEADING - 90.0f, 6.0f, 30.0f, 2.0f};
        for (const int code : {SIT_WINCH, SIT_AERO_TOW}) {
            const std::string name = code == SIT_WINCH ? "winch launch" : "aero-tow";
            const size_t first = rows.size();
            const auto flown = std::make_shared<std::optional<launch_result>>();
            auto fly = [s, code, gusty, flown] {
                if (!*flown) *flown = fly_launch(s, code, gusty, 30.0f);
                return **flown;
            };
            rows.push_back(make_within("glider", (name + " in gusts and a crosswind: height at the release (ft AGL)").c_str(),
                                       1500.0f, 1000.0f, 2100.0f, [fly] { return fly().release_ft; }));
            rows.push_back(make_within("glider", (name + " in gusts and a crosswind: most bank on the rope (deg)").c_str(),
                                       code == SIT_WINCH ? 0.0f : 15.0f, 0.0f, code == SIT_WINCH ? 15.0f : 30.0f,
                                       [fly] { return fly().most_bank_deg; }));
            rows.push_back(make_within("glider", (name + " in gusts and a crosswind, let go 30 s: |pitch| (deg)").c_str(),
                                       0.0f, 0.0f, 30.0f, [fly] {
                                           return std::max(-fly().after.least_pitch_deg, fly().after.most_pitch_deg);
                                       }));
            share_flight(rows, first, flown.get());
        }
    }
    if (want("floatplane")) {
        const setup s{"Orvell Floatplane.acf", 0.0f};
        rows.push_back(with_file(make("floatplane", "stall, clean, power off (KIAS)", 57.0f, TEN,
                                      [s] { return stall_kias(s, 0.0f, false, 0); }),
                                 "Vs", file_Vs));
        rows.push_back(with_file(make("floatplane", "stall, full flaps, power off (KIAS)", 50.0f, TEN,
                                      [s] { return stall_kias(s, 1.0f, false, 0); }),
                                 "Vso", file_Vso));
        rows.push_back(with_file(make("floatplane", "max level speed, sea level (KTAS)", 123.0f, TEN,
                                      [s] { return fly_level(s, 500.0f, 0.0f); }),
                                 "Vno", file_Vno));
        for (const float hz : {30.0f, 60.0f, 120.0f}) {
            const setup s{"Orvell Floatplane.acf", 0.0f, hz};
            char what[80];
            std::snprintf(what, sizeof what, "water run to lift-off at %.0f Hz (ft)", hz);
            rows.push_back(make("floatplane", what, 1700.0f, TEN, [s] { return fly_water_run(s, 0.5f); }));
        }
        add_hands_off(rows, "floatplane", "Orvell Floatplane.acf");
        add_dive_let_go(rows, "floatplane", "Orvell Floatplane.acf");
        // With no wheels its aero-tow starts on the approach, as its runway
        // start does, and flies on hands off.
        add_start_hands_off(rows, "floatplane", "Orvell Floatplane.acf", SIT_AERO_TOW, 0, "aero-tow", -15.0f);
    }
    // The float plane afloat, a table of its own (flown apart from its others).
    if (want("afloat")) {
        // Left afloat on the first start's sea with its engine stopped, it
        // comes to lie across the waves and drifts along with them at about
        // their own drift at the surface (0.58 kt), upright, the same at
        // every frame rate (each within 0.15 kt of that drift): 90 s, the
        // drift over the last 12 wave periods.
        const char* on_sea = "afloat 90 s on the first start's sea, engine off";
        for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f}) {
            const auto flown = std::make_shared<std::optional<water_drift>>();
            auto drift = [hz, flown] {
                if (!*flown) *flown = fly_afloat(setup{"Orvell Floatplane.acf", 0.0f, hz}, afloat{true, false, 0.0f, 90.0f, 33.3f});
                return **flown;
            };
            const size_t first = rows.size();
            char what[4][120];
            std::snprintf(what[0], sizeof what[0], "%s, %.0f Hz: drift with the waves (kt)", on_sea, hz);
            std::snprintf(what[1], sizeof what[1], "%s, %.0f Hz: drift across them (kt)", on_sea, hz);
            std::snprintf(what[2], sizeof what[2], "%s, %.0f Hz: most pitch or bank (deg)", on_sea, hz);
            std::snprintf(what[3], sizeof what[3], "%s, %.0f Hz: height above ground less above the sea (ft)", on_sea, hz);
            rows.push_back(make_within("floatplane", what[0], 0.58f, 0.43f, 0.73f, [drift] { return drift().along_kt; }));
            rows.push_back(make_within("floatplane", what[1], 0.0f, 0.0f, 0.4f, [drift] { return std::fabs(drift().across_kt); }));
            rows.push_back(make_within("floatplane", what[2], 0.0f, 0.0f, 30.0f, [drift] { return drift().most_tilt_deg; }));
            rows.push_back(make_within("floatplane", what[3], 0.0f, -1.0f, 1.0f, [drift] { return drift().agl_over_sea_ft; }));
            share_flight(rows, first, flown.get());
        }
        // Struck at rest by a wind abeam, the wind pushes it across its heading, not along it.
        for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f}) {
            char what[120];
            std::snprintf(what, sizeof what, "at rest, a 20-kt wind abeam, %.0f Hz: |push along the heading| (N)", hz);
            rows.push_back(make_within("floatplane", what, 0.0f, 0.0f, 60.0f, [hz] {
                return std::fabs(fly_beam_wind(setup{"Orvell Floatplane.acf", 0.0f, hz}, 20.0f));
            }));
        }
        // Coasting on still water from a 50-kt landing, engine off: the skin
        // friction of the floats' wet bottoms and sides, rising as the speed
        // falls, slows it to 1.7 kt in two minutes (0.76 kt in four, the same
        // from 20 to 120 Hz). At rest the floats lie 0.43 m deep over 5 m of
        // their 7.2 m and wet 10.3 m^2 between them (their panels count 9.7);
        // a point mass meeting the flat-plate line of ship model basins on
        // 9.7 m^2 makes 1.66 kt at two minutes and 0.74 kt at four.
        rows.push_back(make_within("floatplane", "coasting from 50 kt on still water, engine off, 120 s later (kt)", 1.7f,
                                   1.5f, 1.9f, [] {
                                       const water_drift d = fly_afloat(setup{"Orvell Floatplane.acf", 0.0f, 30.0f},
                                                                        afloat{false, false, 50.0f, 120.0f, 2.0f});
                                       return std::hypot(d.along_kt, d.across_kt);
                                   }));
        // At idle on still water it keeps taxiing at about 5 kt.
        rows.push_back(make("floatplane", "taxiing at 5 kt at idle on still water, 40 s later: speed (kt)", 5.0f, 0.2f, [] {
            const water_drift d =
                fly_afloat(setup{"Orvell Floatplane.acf", 0.0f, 30.0f}, afloat{false, true, 5.0f, 40.0f, 5.0f});
            return std::hypot(d.along_kt, d.across_kt);
        }));
    }
    if (want("orbiter")) {
        const setup s{"Orvell Orbiter.acf", -1.0f};
        // The class glides about 4.5:1 below the speed of sound.
        rows.push_back(make("orbiter", "glide ratio at 240 KIAS, speed brake in", 4.5f, TEN,
                            [s] { return fly_glide(s, 240.0f, 15000.0f); }));
        // Its final approach: about 300 KEAS down a glide of about 20 degrees,
        // the speed brake partly open.
        rows.push_back(make("orbiter", "glide angle at 300 KIAS, speed brake half open (deg)", 20.0f, TEN, [s] {
            return std::atan(1.0f / fly_glide(s, 300.0f, 15000.0f, 0.5f)) * RAD;
        }));
        add_idle_creep(rows, "orbiter", "Orvell Orbiter.acf");
        add_hands_off(rows, "orbiter", "Orvell Orbiter.acf");
        add_dive_let_go(rows, "orbiter", "Orvell Orbiter.acf");
        // Each of the four approaches from orbit, let go for a minute: the
        // orbiter neither rolls over nor pitches past 60 degrees, nor meets the
        // ground, and its state stays a number.
        const struct {
            int code;
            const char* what;
        } approaches[] = {
            {3207, "approach 1 (450,000 ft, 25,750 ft/s) hands off 60 s: most |pitch|, |bank| (deg)"},
            {3208, "approach 2 (167,270 ft, 14,000 ft/s) hands off 60 s: most |pitch|, |bank| (deg)"},
            {3209, "approach 3 (83,000 ft, 2,500 ft/s) hands off 60 s: most |pitch|, |bank| (deg)"},
            {3210, "approach 4 (18,000 ft, 600 ft/s) hands off 60 s: most |pitch|, |bank| (deg)"},
        };
        for (const auto& a : approaches)
            rows.push_back(make_within("orbiter", a.what, 0.0f, 0.0f, 60.0f,
                                       [s, code = a.code] { return fly_orbiter_approach(s, code, 60.0f); }));
    }

    // Rollouts with every control let go in a direct crosswind from the
    // left, on the program's own path (the first start's weather at +15 and
    // at -5 C, its input chain without pedals, its once-a-second work):
    // touched down at 1.1 to 1.25 times the stall speed with landing flaps,
    // throttle closed, brakes off. The tyres and struts are stepped finely
    // while on the ground, so the heading's change comes out the same at every
    // frame rate: each rate within 0.75 degrees of the aircraft's figure at
    // that temperature. Each turns a few degrees into the wind, a little more
    // in the denser cold air. In 5 kt each rolls to rest on a 200-ft runway:
    // the trainer on its own; the twin, the striker and the airliner,
    // touching down at 84 to 120 kt, on their brakes put on by the brakes key
    // at the touchdown (let roll, a turn of 2 to 4 degrees carries them off
    // its edge long before they stop). The glider, on one wheel under long
    // wings, lays its downwind wing on the ground, and the dragging tip swings
    // it off, braked or not.
    //
    // Let go at the touchdown, the trainer's and the twin's wings carry four
    // fifths of their weight or more: the trainer floats a second or two
    // and turns with the wind while its wheels are light, then rolls on
    // where it points. Their fuselages' yawing couple keeps that turn to a
    // few degrees, as a light single's: without it they weathercocked about
    // twice as hard, the trainer drifted off the runway and the twin
    // ground-looped off it in 10 kt.
    struct roller {
        const char *name, *file;
        float weight_kg, touch_kt;
        float turn_5kt[2], turn_10kt[2];   // deg, at +15 C and at -5 C
        bool braked;                       // comes to rest on its brakes
    };
    static constexpr roller rollers[] = {
        {"trainer", "Orvell Trainer.acf", 2450.0f * LB, 50.0f, {1.5f, 1.8f}, {3.1f, 3.4f}, false},
        {"twin", "Orvell Twin.acf", 5660.0f, 84.0f, {0.8f, 0.9f}, {1.3f, 1.6f}, true},
        {"striker", "Orvell Striker.acf", 0.0f, 96.0f, {1.3f, 1.6f}, {2.4f, 3.4f}, true},
        {"airliner", "Orvell Airliner.acf", 64000.0f, 120.0f, {0.3f, 0.7f}, {0.5f, 7.0f}, true},
        {"glider", "Orvell Glider.acf", 0.0f, 40.0f, {22.6f, 24.3f}, {35.5f, 37.5f}, false}};
    // Each at +15 C and at -5 C, each at 20, 30, 60 and 120 frames a second.
    struct run {
        int t;   // 0: +15 C, 1: -5 C
        float celsius, hz;
    };
    static constexpr run runs[] = {{0, 15.0f, 20.0f}, {0, 15.0f, 30.0f}, {0, 15.0f, 60.0f}, {0, 15.0f, 120.0f},
                                   {1, -5.0f, 20.0f}, {1, -5.0f, 30.0f}, {1, -5.0f, 60.0f}, {1, -5.0f, 120.0f}};
    for (const roller& a : rollers) {
        if (!want(a.name)) continue;
        for (const run& at : runs) {
            const int t = at.t;
            const float celsius = at.celsius, hz = at.hz;
            const setup s{a.file, a.weight_kg, hz};
            const float touch = a.touch_kt;
            char what[160];
            std::snprintf(what, sizeof what, "rollout from %.0f kt in a 10-kt crosswind at %+.0f C, let go, %.0f Hz: turn (deg)",
                          touch, celsius, hz);
            auto ten = [s, touch, celsius] {
                return fly_rollout(s, touch, 10.0f, 16.0f, false, celsius).heading_change_deg;
            };
            const float figure = a.turn_10kt[t];
            rows.push_back(make_within(a.name, what, figure, figure - 0.75f, figure + 0.75f, ten));
            // Unbraked, one flight gives both the turn and the rest; braked,
            // the turn is the unbraked rollout's first 16 s.
            const bool braked = a.braked;
            const auto flown = std::make_shared<std::optional<rollout_result>>();
            auto five = [s, touch, braked, celsius, flown] {
                if (!*flown) *flown = fly_rollout(s, touch, 5.0f, braked ? 16.0f : 120.0f, false, celsius);
                return **flown;
            };
            const size_t first = rows.size();
            std::snprintf(what, sizeof what, "rollout from %.0f kt in a 5-kt crosswind at %+.0f C, let go, %.0f Hz: turn (deg)",
                          touch, celsius, hz);
            rows.push_back(make_within(a.name, what, a.turn_5kt[t], a.turn_5kt[t] - 0.75f, a.turn_5kt[t] + 0.75f,
                                       [five] { return five().heading_change_deg; }));
            std::snprintf(what, sizeof what, "rollout from %.0f kt in a 5-kt crosswind at %+.0f C, let go%s, %.0f Hz: its outer wheel most off the centreline to rest (m)",
                          touch, celsius, braked ? ", braked" : "", hz);
            row off = make_within(a.name, what, 0.0f, 0.0f, RUNWAY_WIDTH_M / 2.0f, [five, s, touch, braked, celsius] {
                const rollout_result r = braked ? fly_rollout(s, touch, 5.0f, 120.0f, true, celsius) : five();
                return r.stopped ? r.most_off_m : 99.0f;   // 99: it did not come to rest on the runway
            });
            if (std::string(a.name) == "glider") off = still_open(off, "its downwind wing tip drags it off");
            if (!braked) rows.push_back(off);
            share_flight(rows, first, flown.get());
            if (braked) rows.push_back(off);
        }
    }

    // The trainer as the program's first start loads it (one pilot, half
    // fuel: 937 kg, where the rows above fly its 1,111-kg class weight): at
    // 50 kt with full flaps its wings carry nearly nine tenths of its
    // weight; let go in 5 kt it comes to rest on the 200-ft runway.
    if (want("trainer")) {
        for (const float celsius : {15.0f, -5.0f}) {
            const setup s{"Orvell Trainer.acf", -1.0f, 60.0f};
            char what[160];
            for (const float cross : {5.0f, 10.0f}) {
                const float turn = cross < 7.0f ? (celsius > 0.0f ? 2.3f : 2.8f) : (celsius > 0.0f ? 3.3f : 2.9f);
                std::snprintf(what, sizeof what, "as the first start loads it, rollout from 50 kt in a %.0f-kt crosswind at %+.0f C: turn (deg)",
                              cross, celsius);
                rows.push_back(make_within("trainer", what, turn, turn - 0.75f, turn + 0.75f, [s, cross, celsius] {
                    return fly_rollout(s, 50.0f, cross, 16.0f, false, celsius).heading_change_deg;
                }));
                if (cross > 7.0f) continue;
                std::snprintf(what, sizeof what, "as the first start loads it, rollout from 50 kt in a 5-kt crosswind at %+.0f C: its outer wheel most off the centreline to rest (m)",
                              celsius);
                rows.push_back(make_within("trainer", what, 0.0f, 0.0f, RUNWAY_WIDTH_M / 2.0f, [s, celsius] {
                    const rollout_result r = fly_rollout(s, 50.0f, 5.0f, 120.0f, false, celsius);
                    return r.stopped ? r.most_off_m : 99.0f;
                }));
            }
        }
    }

    // Braked to rest after the let-go, the outer wheel stays on the runway.
    // With the glide-slope law left on over the wheels the elevator ran to
    // its nose-down stop at the touch, and the trainer let go that way
    // rolled on its nose wheel, turned into the wind and left the runway.
    static constexpr const char* ROLLED_OFF =
        "coupled approach: braked after the let-go, its outer wheel most off the centreline to rest (m)";
    static constexpr const char* LANDS_FAST =
        "touches down at 1.4 Vso and bounces: let go in the air, it settles turned a few degrees and rolls off";
    // The coupled approach from the 3 nm approach start in a 5-kt crosswind
    // at -5 C, gusting: touched down in the touchdown zone at no more than
    // 800 ft/min, the glide slope followed within a dot from 200 ft to the
    // threshold, the autopilot and the throttles let go.
    for (const char* aircraft : {"trainer", "twin", "striker"}) {
        if (!want(aircraft)) continue;
        const std::string name = aircraft;
        const setup s{name == "trainer" ? "Orvell Trainer.acf" : name == "twin" ? "Orvell Twin.acf" : "Orvell Striker.acf",
                      -1.0f, 30.0f};
        auto flown = std::make_shared<std::optional<coupled_result>>();
        auto rolled = std::make_shared<coupled_rollout_result>();
        auto fly = [flown, rolled, s] {
            if (!*flown) *flown = fly_coupled_approach(s, 5.0f), *rolled = roll_out_after_let_go(120.0f);
            return **flown;
        };
        const size_t first = rows.size();
        rows.push_back(make_within(aircraft, "coupled approach from 3 nm, 5-kt crosswind, -5 C: touchdown past the threshold (m)",
                                   0.0f, 150.0f, 900.0f, [fly] { return fly().touchdown_m; }));
        rows.push_back(make_within(aircraft, "coupled approach: descent at touchdown (ft/min)", 0.0f, -800.0f, 0.0f,
                                   [fly] { return fly().touchdown_fpm; }));
        rows.push_back(make_within(aircraft, "coupled approach: most glide-slope deviation, 200 ft to the threshold (dots)",
                                   0.0f, 0.0f, 1.0f, [fly] { return fly().most_dots; }));
        rows.push_back(make_within(aircraft, "coupled approach: modes off and throttles closed 3 s after touchdown (1 yes)",
                                   1.0f, 1.0f, 1.0f, [fly] { return fly().let_go ? 1.0f : 0.0f; }));
        row off = make_within(aircraft, ROLLED_OFF, 0.0f, 0.0f, RUNWAY_WIDTH_M / 2.0f, [fly, rolled] {
            fly();
            return rolled->stopped ? rolled->wheel_off_m : 99.0f;   // 99: it did not come to rest on the runway
        });
        if (name != "trainer") off = still_open(off, LANDS_FAST);
        rows.push_back(off);
        share_flight(rows, first, flown.get());
    }

    // Parked on its brake in the first start's weather with a 30-kt wind
    // straight across, the glider pivots on its one wheel, held by the
    // friction of its nose skid and its downwind wing tip, and swings a few
    // degrees into the wind; with the brake off it stays where it stands.
    if (want("glider")) {
        for (const float celsius : {15.0f, -5.0f}) {
            const setup s{"Orvell Glider.acf", 0.0f, 60.0f};
            char what[120];
            std::snprintf(what, sizeof what, "parked on its brake in a 30-kt wind abeam at %+.0f C: most swing (deg)", celsius);
            rows.push_back(make_within("glider", what, 0.0f, 0.0f, 10.0f,
                                       [s, celsius] { return fly_parked(s, 30.0f, true, celsius).most_swing_deg; }));
            std::snprintf(what, sizeof what, "parked, brake off, in a 30-kt wind abeam at %+.0f C: moved (m)", celsius);
            rows.push_back(make_within("glider", what, 0.0f, 0.0f, 1.0f,
                                       [s, celsius] { return fly_parked(s, 30.0f, false, celsius).moved_m; }));
        }
    }

    // The helicopter is held to 15 degrees of level from the 3 nm approach
    // too, as from every other approach below, and from the forest fire's
    // start: it starts trimmed for level flight at the start's speed, or at
    // the fastest its forward cyclic holds where the start asks more.
    if (want("helicopter")) {
        add_start_hands_off(rows, "helicopter", "Orvell Helicopter.acf", SIT_AIRPORT, SIT_APPROACH_3NM, "3 nm approach",
                            -15.0f);
        add_start_hands_off(rows, "helicopter", "Orvell Helicopter.acf", SIT_FOREST_FIRE, 0, "forest fire", -15.0f);
        // Its formation start after the 3 nm approach within 5 deg of level, at
        // the leader's random heights that fell (in the first start's air, in still air).
        for (const flown_before& b : {flown_before{SIT_AIRPORT, SIT_APPROACH_3NM, 20.0f, true, 22222},
                                      flown_before{SIT_AIRPORT, SIT_APPROACH_3NM, 20.0f, true, 27019},
                                      flown_before{SIT_AIRPORT, SIT_APPROACH_3NM, 20.0f, false, 31463}})
            add_company(rows, "helicopter", "Orvell Helicopter.acf", SIT_FORMATION,
                        ("formation after the 3 nm approach (draws " + std::to_string(b.seed) + "),").c_str(), false, b, 5.0f);
    }

    // A flight ends in a crash when the aircraft meets the surface faster
    // than 7.5 m/s down (however the frame's steps turn the speed round) or
    // lies on its back on it, and never after meeting it at 300 ft/min; met
    // as it rests, lifted 0.5 m and let fall, dived in from 3 m as the float
    // plane flew into a hillside, or turned over and let fall from 2 m.
    struct drop { const char *name, *file, *surface; bool water; };
    static constexpr drop drops[] = {{"trainer", "Orvell Trainer.acf", "runway", false},
                                     {"floatplane", "Orvell Floatplane.acf", "runway", false},
                                     {"floatplane", "Orvell Floatplane.acf", "water", true}};
    struct way { const char* what; float sink, lift, bank, pitch, crash; };
    static constexpr way ways[] = {{"met the %s at 300 ft/min down", 300.0f / FPM, 0.0f, 0.0f, 0.0f, 0.0f},
                                   {"met the %s at 8.5 m/s down", 8.5f, 0.5f, 0.0f, 0.0f, 1.0f},
                                   {"dived into the %s at 16 m/s down, 33 deg nose down, 34 deg bank", 16.0f, 3.0f, -34.0f, -33.0f, 1.0f},
                                   {"laid on its back on the %s", 0.0f, 2.0f, 180.0f, 0.0f, 1.0f}};
    for (const drop& d : drops)
        for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f})
            for (const way& w : ways) {
                if (!want(d.name)) continue;
                char what[160];
                std::snprintf(what, sizeof what, w.what, d.surface);
                std::snprintf(what + std::strlen(what), sizeof what - std::strlen(what), ", %.0f Hz: crashed (1 yes, 0 no)", hz);
                rows.push_back(make_within(d.name, what, w.crash, w.crash, w.crash, [d, hz, w] {
                    return fly_drop(setup{d.file, 0.0f, hz}, w.sink, w.lift, w.bank, d.water, w.pitch);
                }));
            }

    // The helicopter on the carrier's catapult start: hooked to the catapult
    // by neither the start nor the catapult's spot, it stands on the deck
    // with the brake let off (hooked, it was shot off the bow), and lifts off
    // at the 9 degrees of collective that about hover it; at every frame rate.
    if (want("carrier")) {
        for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f}) {
            const auto flown = std::make_shared<std::optional<deck_result>>();
            auto fly = [hz, flown] {
                if (!*flown) *flown = fly_deck_start(setup{"Orvell Helicopter.acf", -1.0f, hz}, 9.0f);
                return **flown;
            };
            const size_t first = rows.size();
            char what[100];
            std::snprintf(what, sizeof what, "catapult start, brake off 5 s: moved over the deck at %.0f Hz (m)", hz);
            rows.push_back(make_within("helicopter", what, 0.0f, 0.0f, 0.5f, [fly] { return fly().moved_m; }));
            std::snprintf(what, sizeof what, "catapult start, collective 9 deg 5 s: over the deck at %.0f Hz (m)", hz);
            rows.push_back(make_within("helicopter", what, 0.0f, 2.0f, 60.0f, [fly] { return fly().lifted_m; }));
            share_flight(rows, first, flown.get());
        }
    }

    // The airliner's phugoid at 64 t and 250 KIAS, at 25,000 ft (Mach 0.62,
    // 192 m/s true) and at 10,000 ft (Mach 0.47, 153 m/s), at every frame
    // rate. A point mass of its drag (45 kN) and its engines' lapses with
    // speed and height, in air whose density falls with height, swings with a
    // damping ratio of 0.047 and a period of 79 s at 25,000 ft, 0.056 and
    // 66 s at 10,000 ft; the wing's lift rising with the Mach number stiffens
    // the swing at 25,000 ft to 74 s. The model flies 0.033 and 0.042, the
    // same from 20 to 120 Hz. Started with the throttles opened fully
    // instead, it climbs at 9.5 degrees, and a climbing path's swing is
    // undamped: the weight's share along the path, g sin(gamma) / V = 0.011/s,
    // undoes the drag's damping, 0.011/s (the point mass: -0.0002).
    if (want("phugoid")) {
        struct height {
            float feet, damping, least_damping, period_s, least_period_s, most_period_s;
        };
        for (const height at : {height{25000.0f, 0.047f, 0.028f, 74.0f, 65.0f, 95.0f},
                                height{10000.0f, 0.056f, 0.035f, 66.0f, 58.0f, 80.0f}}) {
            for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f}) {
                const auto flown = std::make_shared<std::optional<phugoid_result>>();
                auto fly = [hz, flown, at] {
                    if (!*flown) *flown = fly_phugoid(setup{"Orvell Airliner.acf", 64000.0f, hz}, at.feet, 250.0f);
                    return **flown;
                };
                const size_t first = rows.size();
                char what[100];
                const float thousands = at.feet / 1000.0f;
                std::snprintf(what, sizeof what, "phugoid, %.0f,000 ft, 250 KIAS: damping ratio at %.0f Hz", thousands, hz);
                rows.push_back(make_within("airliner", what, at.damping, at.least_damping, 0.08f,
                                           [fly] { return fly().damping; }));
                std::snprintf(what, sizeof what, "phugoid, %.0f,000 ft, 250 KIAS: period at %.0f Hz (s)", thousands, hz);
                rows.push_back(make_within("airliner", what, at.period_s, at.least_period_s, at.most_period_s,
                                           [fly] { return fly().period_s; }));
                share_flight(rows, first, flown.get());
            }
        }
    }

    // The trainer's propeller turns clockwise seen from behind: at full
    // throttle its torque rolls it left, and with every control let go from
    // the 10 nm approach (trimmed for 57 KIAS at a lower power) it settles in
    // a steady left turn, 48 degrees of bank at 80 KIAS. The torque rises by
    // 165 N m at full throttle; with a light trainer's spiral stability
    // (Clb x Cnr - Clr x Cnb = 0.0026) that roll moment holds a turn of about
    // 10 degrees a second, 46 degrees of bank. At every frame rate.
    if (want("torque")) {
        for (const float hz : {20.0f, 30.0f, 60.0f, 120.0f}) {
            char what[100];
            std::snprintf(what, sizeof what, "full throttle, let go 90 s from the 10 nm approach: bank at %.0f Hz (deg)", hz);
            rows.push_back(make_within("trainer", what, -46.0f, -60.0f, -30.0f, [hz] {
                return fly_hands_off(setup{"Orvell Trainer.acf", -1.0f, hz}, 90.0f, SIT_AIRPORT, SIT_APPROACH_10NM, 1.0f)
                    .last_bank_deg;
            }));
        }
    }

    // Left hands off 20 s from each start in the air the aircraft can fly, the
    // pitch within 15 degrees of level (the glider's no more than 5 down: let
    // go at its approach speed it glides a few degrees nose down): the 10 nm
    // approach, the rooftop, ship and platform approaches.
    struct air_start {
        int code, sub_mode;
        const char* name;
    };
    static constexpr air_start approaches[] = {
        {SIT_AIRPORT, SIT_APPROACH_10NM, "10 nm approach"}, {SIT_ROOFTOP, 0, "rooftop approach"},
        {SIT_CARRIER_APPROACH, 0, "carrier approach"},      {SIT_FRIGATE_APPROACH, 0, "frigate approach"},
        {SIT_PLATFORM_1, 0, "first platform approach"},     {SIT_PLATFORM_2, 0, "second platform approach"}};
    struct flier {
        const char *name, *file;
        float least_pitch;
        bool in_company;     // flies beside the tanker, leader and mother ship
        bool stalls = true;  // has a stall speed (a rotorcraft has none)
    };
    static constexpr flier fleet[] = {
        {"trainer", "Orvell Trainer.acf", -15.0f, true},       {"twin", "Orvell Twin.acf", -15.0f, true},
        {"floatplane", "Orvell Floatplane.acf", -15.0f, true}, {"glider", "Orvell Glider.acf", -5.0f, true},
        {"airliner", "Orvell Airliner.acf", -15.0f, true},     {"striker", "Orvell Striker.acf", -15.0f, true},
        {"helicopter", "Orvell Helicopter.acf", -15.0f, true, false}};
    static constexpr air_start company[] = {{SIT_FORMATION, 0, "formation"},
                                            {SIT_REFUEL_A, 0, "refuelling"},
                                            {SIT_MOTHER_SHIP, 0, "mother-ship drop"},
                                            {RANDOM_START, 0, "random"}};
    for (const flier& a : fleet) {
        if (!want(a.name)) continue;
        for (const air_start& st : approaches)
            add_start_hands_off(rows, a.name, a.file, st.code, st.sub_mode, st.name, a.least_pitch);
        if (a.in_company)
            for (const air_start& st : company) add_company(rows, a.name, a.file, st.code, st.name, a.stalls);
    }
    return rows;
}

}  // namespace fleet_kit
