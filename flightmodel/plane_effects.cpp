#include "flightmodel/plane_effects.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "core/numeric.h"
#include "flightmodel/phys.h"
#include "links/sound.h"
#include "flightmodel/effects/engine_trail_list.h"
#include "flightmodel/effects/particle_list.h"
#include "flightmodel/ground/surface_state.h"
#include "world/landuse_grid.h"
#include "flightmodel/step_record.h"

namespace {

constexpr float PI_F = static_cast<float>(PI_DOUBLE);
constexpr float TYRE_BURST_SKID = 100.0f;

// Particle kinds.
constexpr int PARTICLE_SMOKE = 0;
constexpr int PARTICLE_SPRAY = 6;
constexpr int PARTICLE_DUMP = 13;
constexpr int PARTICLE_JATO = 14;
constexpr int PARTICLE_TYRE = 20;
constexpr int PARTICLE_ENGINE_FIRE = 29;
constexpr int PARTICLE_EXHAUST = 33;

float clampq(float x) { return UTIL_clamp(x, 0.25f, 1.0f); }

// Land-use code of grid point (i, j). The cell's far corners (i+1, j+1) lie
// past the grid's last row and column when the plane stands on its edge; an
// unclamped index would read past the land-use table, so it is clamped into it.
int32_t landuse_at(int i, int j)
{
    i = i < 0 ? 0 : (i > TERRAIN_GRID_ROWS - 1 ? TERRAIN_GRID_ROWS - 1 : i);
    j = j < 0 ? 0 : (j > TERRAIN_GRID_COLS - 1 ? TERRAIN_GRID_COLS - 1 : j);
    return landuse_grid[i * TERRAIN_GRID_COLS + j];
}

// Any of the four grid points around the plane's cell is water.
bool water_around(const flt_struct& f)
{
    for (int di = 0; di <= 1; ++di)
        for (int dj = 0; dj <= 1; ++dj) {
            const int32_t c = landuse_at(f.i + di, f.j + dj);
            if (c == LANDUSE_WATER_A || c == LANDUSE_WATER_B) return true;
        }
    return false;
}

bool on_flat_surface()
{
    const surface_state_record& s = surface_state;
    return s.flat_surface_on || s.on_carrier || s.on_frigate;
}

bool rough_runway_kind(int32_t code)
{
    return code == 162 || code == 163 || code == 164 || code == 168 || code == 169 || code < 50;
}

struct exhaust_look {
    float s1 = 0.0f, s2 = 0.0f;
    int kind = -1;
    float intensity = 0.0f;
};

exhaust_look exhaust_of(const acf_struct& a, const flt_struct& f, int e, float speed)
{
    exhaust_look x;
    const float sound = sim_weather.speed_of_sound_ms;
    const float d = std::fabs(f.DVinc[e]);
    // A speed of sound of 0 (no atmosphere set yet) would divide by zero and
    // give infinite puffs; it gives the smallest size instead. A negative disc
    // or jet area from a damaged aircraft file would give a NaN radius; it
    // reads as 0.
    const float mach = sound > 0.0f ? (speed + d) / sound : 0.0f;
    const float r = std::sqrt(UTIL_max(a.acf_discarea[e], 0.0f) / PI_F);
    const float j = std::sqrt(UTIL_max(a.acf_face_jet, 0.0f) / PI_F);
    const float sigma = sim_weather.sigma;
    const float throttle = f.ENGN_thro_use[e];
    switch (a.acf_en_type[e]) {
    case ENGINE_PISTON_CARBURETTED:
    case ENGINE_PISTON_INJECTED:
        x.s1 = x.s2 = r * clampq(mach * 4.0f);
        break;
    case ENGINE_TURBINE_FREE:
    case ENGINE_TURBINE_FIXED:
        x.s1 = r * clampq(mach * 4.0f);
        x.s2 = x.s1 * 0.5f;
        x.kind = PARTICLE_EXHAUST;
        x.intensity = sigma * 0.02f * throttle;
        break;
    case ENGINE_JET_LOW_BYPASS:
        x.s1 = x.s2 = j * 2.5f * clampq(mach * 1.5f);
        x.kind = PARTICLE_EXHAUST;
        x.intensity = sigma * 0.04f * throttle;
        break;
    case ENGINE_JET_HIGH_BYPASS:
        x.s1 = j * 2.5f * clampq(mach * 2.0f);
        x.s2 = x.s1 * 0.5f;
        x.kind = PARTICLE_EXHAUST;
        x.intensity = sigma * 0.02f * throttle;
        break;
    case ENGINE_ROCKET:
        x.s1 = x.s2 = std::sqrt(std::fabs(f.POINT_thrust[e])) * 0.02f;
        x.kind = PARTICLE_SMOKE;
        x.intensity = 1.0f;
        break;
    default: break;
    }
    const int prop = a.acf_prop_type[e];
    if (prop == PROP_COLLECTIVE_ROTOR || prop == PROP_TAIL_ROTOR || prop == PROP_LIFT_FAN) {
        x.kind = -1;
        x.intensity = 0.0f;
    }
    const int type = a.acf_en_type[e];
    if (type != ENGINE_ELECTRIC && type != ENGINE_ROCKET && type != ENGINE_TIP_ROCKET) {
        const float c = UTIL_clamp((ATMO_temp_at_alt(f.local_y) + 273.0f - 240.0f) * -0.05f, 0.0f, 1.0f);
        if (x.intensity < c) {
            x.intensity = c * throttle;
            x.s2 = x.s1;
            x.kind = PARTICLE_SMOKE;
        }
    }
    return x;
}

}  // namespace

void PLANE_wheels(int n)
{
    const acf_struct& a = pln[n];
    flt_struct& f = flt[n];
    const float dt = sim_operation_misc.frame_rate_period;
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!a.acf_part_eq[p]) continue;
        float& now = f.tire_speed_now[p];
        const float term = f.tire_speed_term[p];
        const bool on_ground = a.acf_gear_def[p] > 0.0f;
        if (!on_ground) {
            now = UTIL_max(now - 5.0f * dt, 0.0f);
        } else {
            now += (term >= 0.0f ? 150.0f : -150.0f) * dt;
            now = UTIL_clamp(now, -std::fabs(term), std::fabs(term));
        }
        if (f.tire_locked[p]) now = 0.0f;
        // A tyre radius of 0 would divide by zero and leave the wheel angle NaN
        // for good; such a wheel keeps its angle.
        if (a.acf_gear_tirrad[p] > 0.0f)
            f.tire_prop_rot[p] = UTIL_wrap_360(f.tire_prop_rot[p] + now / a.acf_gear_tirrad[p] * RAD_TO_DEG_FLOAT * dt);
        if (on_ground && f.tire_locked[p]) {
            f.tire_drag_dis[p] += dt * term;
            if (f.tire_drag_dis[p] > TYRE_BURST_SKID)
                f.failures[FAIL_SLOT_TYRE_BASE + (p - PART_GEAR_FIRST)] = FAILURE_STATE_FAILED;
        }
        f.tire_drag_dis[p] *= 1.0f - 0.1f * dt;
    }
}

void PLANE_exhaust(int n, float speed)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const float dt = sim_operation_misc.frame_rate_period;
    // An engine count above the eight engine slots (a damaged aircraft file)
    // would read past the engine arrays; the loop stops at the last slot.
    const int engines = a.acf_num_engines < FLT_ENGINES ? a.acf_num_engines : FLT_ENGINES;
    for (int e = 0; e < engines; ++e) {
        if (e >= a.acf_num_thrustpoints || a.acf_en_type[e] == ENGINE_TIP_ROCKET ||
            FLT_slot_failed(n, FAIL_SLOT_ENGINE_BASE + e) || a.acf_prop_type[e] == PROP_TAIL_ROTOR)
            continue;
        float px, py, pz, cx, cy, cz, jx, jy, jz;
        PHYS_body_to_local(a.acf_Xarm[e], a.acf_Yarm[e], a.acf_Zarm[e], &px, &py, &pz, n);
        PHYS_rotate_by_cyclic(0.0f, 0.0f, f.DVinc[e], &cx, &cy, &cz, n, e);
        PHYS_body_to_local(cx, cy, cz, &jx, &jy, &jz, n);

        exhaust_look x = exhaust_of(a, f, e, speed);
        const bool fire = FLT_slot_failed(n, FAIL_SLOT_ENGINE_FIRE_BASE + e);
        if (f.smoking) {
            x.kind = PARTICLE_SMOKE;
            x.intensity = 1.0f;
        }
        if (fire) {
            x.kind = PARTICLE_ENGINE_FIRE;
            x.intensity = 1.0f;
        }
        const float p1x = f.local_x + px + jx * dt;
        const float p1y = f.local_y + py + jy * dt;
        const float p1z = f.local_z + pz + jz * dt;
        const int reversed = f.ENGN_propmode[e] == 3 ? 1 : 0;
        if ((f.ENGN_running[e] || f.smoking || fire) && x.kind >= 0) {
            const float c = std::sqrt(x.s2) * 12.0f;
            PARTICLE_spawn(p1x, p1y, p1z, jx, jy, jz, terrain_height_m, x.s2, 4.0f, c, x.kind, x.intensity, reversed);
            PARTICLE_spawn(p1x - f.local_vx * 0.02f, p1y - f.local_vy * 0.02f, p1z - f.local_vz * 0.02f, jx, jy, jz,
                           terrain_height_m, x.s2, 4.0f, c, x.kind, x.intensity, reversed);
        }
        if (n == 0 && sim_graphics_view.visibility_math_level == 5)
            PARTICLE_engine_emitters(p1x, p1y, p1z, jx, jy, jz, x.s2, x.s2 * 0.5f, std::sqrt(x.s2) * 15.0f, e);
        if ((water_around(f) && !on_flat_surface()) || sim_weather.runway_friction > 0)
            PARTICLE_spawn(p1x, p1y, p1z, jx, jy, jz, terrain_height_m, x.s1, 4.0f, 5.0f, PARTICLE_SPRAY, 1.0f, reversed);
    }
}

void PLANE_tyre_smoke(int n, float speed)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const int32_t surface = surface_state.surface_code;
    const bool wet = sim_weather.runway_friction > 0;
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!a.acf_part_eq[p] || !(a.acf_gear_def[p] > 0.0f)) continue;
        float cx, cy, cz;
        PHYS_body_to_local(a.acf_gear_xnodef[p], a.acf_gear_ynodef[p], a.acf_gear_znodef[p], &cx, &cy, &cz, n);
        cx += f.local_x;
        cy += f.local_y;
        cz += f.local_z;
        const float term = f.tire_speed_term[p];
        float skid = std::fabs(term - f.tire_speed_now[p]);
        float puff = skid;
        if (wet) puff = term;
        if (surface < 50) skid = puff = term;
        const float z = UTIL_max(a.acf_gear_tirrad[p] * 4.0f, 0.0f);
        const float size = UTIL_clamp(puff * z / 50.0f, 0.0f, z);
        if (puff > 10.0f)
            PARTICLE_spawn(cx, cy + size * 0.5f, cz, 0.0f, 0.0f, 0.0f, terrain_height_m - size * 0.5f, size, 1.0f, 3.0f,
                           PARTICLE_TYRE, 1.0f, 0);
        if (n == 0 && (skid > 10.0f || surface < 50) && !water_around(f)) {
            // The sink the wheels met the ground with in the frame's steps
            // (by the frame's end the struts have already taken it up).
            const float sink = std::min(f.local_vy, fm_step.impact_vy_mps);
            int slot = sim_weather.runway_friction != 0 ? SOUND_SKID_WET : SOUND_SKID_DRY;
            if (rough_runway_kind(surface)) slot = SOUND_ROLL_ROUGH;
            if (sink < -2.54f) slot = SOUND_TOUCHDOWN_HARD;
            SOUND_play(slot, 0, 1.0f, UTIL_clamp(std::fabs(sink) / 5.0f + speed / 5.0f, 0.0f, 1.0f));
        }
    }
}

void PLANE_jato_smoke(int n)
{
    if (n != 0 || !sim_cockpit_switches.jato_on) return;
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    const float sound = sim_weather.speed_of_sound_ms;
    const float theta = a.acf_jato_theta * DEG_TO_RAD_FLOAT;
    float px, py, pz, vx, vy, vz;
    PHYS_body_to_local(0.0f, a.acf_jato_Y, a.acf_jato_Z, &px, &py, &pz, n);
    PHYS_body_to_local(0.0f, -sound * 4.0f * std::sin(theta), sound * 4.0f * std::cos(theta), &vx, &vy, &vz, n);
    // A negative thrust from a damaged aircraft file would give a NaN size; it reads as 0.
    PARTICLE_spawn(f.local_x + px, f.local_y + py, f.local_z + pz, vx, vy, vz, terrain_height_m,
                   std::sqrt(UTIL_max(a.acf_jato_thrust, 0.0f)) * 0.005f, 5.0f, 10.0f, PARTICLE_JATO, 1.0f, 0);
}

void PLANE_dump_trail(int n)
{
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    // The aircraft that can dump its load is the one its record marks as a
    // water bomber.
    if (!f.jett_dumping || !a.acf_jett_is_water) return;
    const float y = a.acf_body_Y[PART_BODY_FIRST * ACF_BODY_PART_POINTS + 116];
    float px, py, pz;
    PHYS_body_to_local(0.0f, y, 0.0f, &px, &py, &pz, n);
    PARTICLE_spawn(f.local_x + px, f.local_y + py, f.local_z + pz, f.local_vx, f.local_vy, f.local_vz, -99999.0f, 1.0f,
                   15.0f, 10.0f, PARTICLE_DUMP, 1.0f, 0);
}

void PLANE_lights(int n)
{
    flt_struct& f = flt[n];
    const int tick = GEO_round(sim_network_misc.network_time_sec * 20.0f + static_cast<float>(n));
    f.strobe_flash = f.strobe_lights_on && tick % 20 == 0 ? 1 : 0;
    f.beacon_brightness = f.beacon_lights_on ? UTIL_time_pulse(static_cast<float>(n) * 1.5f) : 0.0f;
}

void PLANE_prop_angles(int n)
{
    const acf_struct& a = pln[n];
    flt_struct& f = flt[n];
    const float dt = sim_operation_misc.frame_rate_period;
    for (int e = 0; e < FLT_ENGINES; ++e) {
        const float rate = f.POINT_tacrad[e] < 15.0f ? f.POINT_tacrad[e] * RAD_TO_DEG_FLOAT : 180.0f;
        f.tire_prop_rot[e] = UTIL_wrap_360(f.tire_prop_rot[e] - dt * rate * a.acf_prop_dir[e]);
    }
}
