// Water: the wave surface, the water's force on the panels of floats and
// hulls, and the build-up's water stages (the test for water under the plane,
// the floats with the water rudder and the splash sound, scooping and
// dumping of a water bomber).
#include "flightmodel/ground/water.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "links/sound.h"
#include "flightmodel/ground/surface_state.h"
#include "world/landuse_grid.h"
#include "aircraft/part_presence.h"
#include "flightmodel/step_record.h"

namespace {

constexpr float FLAT_WAVE_FT = 0.1f;
constexpr int WATER_SOUND_SLOT = 31;
constexpr float WATER_SOUND_REPEAT_SEC = 1.5f;

// A float held at least 0.01 from zero, its sign kept (+0.01 for 0).
float away_from_zero(float v)
{
    if (std::fabs(v) >= 0.01f) return v;
    return v < 0.0f ? -0.01f : 0.01f;
}

int body_point(int part, int section, int point)
{
    return part * ACF_BODY_PART_POINTS + section * ACF_BODY_POINTS + point;
}

bool water_code(int32_t code) { return code == LANDUSE_WATER_A || code == LANDUSE_WATER_B; }

// Whether the land use of the plane's cell or its +1 neighbours is water.
// The cell hint is clamped first: plug-ins may write it, and one outside the
// grid would read past the land-use table.
bool land_use_water()
{
    const int p = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const int i = util_clamp_int(flt[0].i, 0, grid_rows[p] - 1);
    const int j = util_clamp_int(flt[0].j, 0, grid_cols[p] - 1);
    for (int di = 0; di <= 1; ++di)
        for (int dj = 0; dj <= 1; ++dj)
            if (water_code(landuse_grid[(i + di) * TERRAIN_GRID_COLS + (j + dj)])) return true;
    return false;
}

// The local y of the still water at the local point (x, z). The water level
// is the sea's at the origin, and the sea lies on the planet's sphere: the
// local frame is flat, so the sea lies lower in local y the farther it is
// from the origin (78 m at 31 km). Held flat, the water stood tens of metres
// over a plane flying low over the sea away from the origin, and the hull's
// buoyancy threw it upwards at tens of g. A planet without a radius, or a
// point beyond its sphere, keeps the level.
float still_water_y(float x, float z)
{
    const double r = sim_physics.earth_radius_m;
    const double d2 = static_cast<double>(x) * x + static_cast<double>(z) * z;
    if (!(r > 0.0 && d2 < r * r)) return water_level_m;
    return water_level_m + static_cast<float>(std::sqrt(r * r - d2) - r);
}

// The speed at which the quadratic damping of a float's bottom equals the
// damping by the waves it makes as it heaves and pitches (m/s).
constexpr float WAVE_MAKING_DAMPING_MPS = 1.5f;

// The steepest a wave stands before it breaks: wave number times half
// height, k*a = pi/7.
constexpr float BREAKING_STEEPNESS = 0.449f;

// The mean drift of the water `depth` m below the surface of the waves, in
// local x and z (m/s). Deep-water waves of half height a and wave number k,
// running at c, carry the water at their surface along with them at
// c*k^2*a^2 (the Stokes drift), fading as e^(-2k*depth) below it: a floating
// body left to them drifts along with the waves at about that speed.
void wave_drift(float depth, float* ux, float* uz)
{
    *ux = *uz = 0.0f;
    const sim_weather_block& w = sim_weather;
    if (!(w.wave_amplitude * UNIT.mtrs_to_ft > FLAT_WAVE_FT) || !(w.wave_length > 0.0f)) return;
    const float k = TWO_PI_FLOAT / w.wave_length;
    // Waves set steeper than they can stand (a peer or a plug-in sets height
    // and length apart) would set the water running at many metres a second.
    const float ka = std::min(k * 0.5f * w.wave_amplitude, BREAKING_STEEPNESS);
    const float u = w.wave_speed * ka * ka * std::exp(-2.0f * k * std::max(depth, 0.0f));
    if (!std::isfinite(u)) return;   // a speed of no number would carry every force with it
    // They run towards the direction opposite to `wave_dir` (the surface's
    // phase is constant along z*C - x*S = c*t).
    const int dir = ((w.wave_dir % 360) + 360) % 360;
    *ux = -degree_sin[dir] * u;
    *uz = degree_cos[dir] * u;
}

// The skin friction coefficient of a float or hull of that length at that
// speed through the water. It follows the flat-plate line of ship model
// basins, 0.075 / (log10 Re - 2)^2, which rises as the speed falls, scaled
// to the 0.0016 the floats' take-off runs are flown with at 50 kt. A fixed
// 0.0016 left a float plane coasting at half the drag it meets at a walking
// pace: landed at 50 kt on calm water it still made 1.4 kt four minutes later.
constexpr float WATER_KINEMATIC_VISCOSITY = 1.19e-6f;   // m^2/s, sea water at 15 C
constexpr float LEAST_REYNOLDS = 1.0e5f;                 // below it the line no longer holds
constexpr float SKIN_LINE_SCALE = 0.8f;                  // 0.0016 over the line's 0.0020 at Re 1.3e8
float skin_friction(float speed, float length_m)
{
    const float re = std::max(std::fabs(speed) * length_m / WATER_KINEMATIC_VISCOSITY, LEAST_REYNOLDS);
    const float lg = std::log10(re) - 2.0f;
    return SKIN_LINE_SCALE * 0.075f / (lg * lg);
}

// The points around a body's ring, and the first and last of them whose
// panels the water meets: those along its bottom, away from the ring's ends.
int ring_points(int part) { return part <= PART_ENGINE_BODY_LAST ? 18 : 10; }
int first_wet_point(int part) { return ring_points(part) / 2 - 3; }
int last_wet_point(int part) { return ring_points(part) / 2 + 2; }

// The wetted girth of the panel at point k of station s whose centre lies
// `depth` under the water (m): its own girth, and for the outermost panels
// of the bottom also the float's side above them up to the waterline, taken
// as upright, no higher than the ring's top. Without the sides a float lying
// 0.4 m deep at rest had half its wet surface, and a float plane landed on
// calm water still made 1.0 kt four minutes later.
float wetted_girth(int p, int s, int k, float girth, float depth)
{
    if ((k != first_wet_point(p) && k != last_wet_point(p)) || depth <= girth / 2.0f) return girth;
    const int n = ring_points(p);
    float top = pln[0].acf_body_Y[body_point(p, s, 0)];
    for (int j = 1; j < n; ++j) top = std::max(top, pln[0].acf_body_Y[body_point(p, s, j)]);
    const float side = std::max(top - pln[0].acf_body_Y[body_point(p, s, k)] - girth / 2.0f, 0.0f);
    return girth + std::min(depth - girth / 2.0f, side);
}

// The length of a body from its first station to its last, at point k of
// each (m).
float body_length(int p, int k)
{
    float lo = 0.0f, hi = 0.0f;
    for (int s = 0; s < ACF_BODY_STATIONS; ++s) {
        const float z = pln[0].acf_body_Z[body_point(p, s, k)];
        lo = s == 0 ? z : std::min(lo, z), hi = s == 0 ? z : std::max(hi, z);
    }
    return hi - lo;
}

}  // namespace

float WATER_still_level(float x, float z, float mesh_y)
{
    // A lake above the sea held at the sea's level left its floats nothing to
    // meet: the plane sank through the lake's surface and flew on under the
    // ground.
    return std::max(still_water_y(x, z), mesh_y);
}

float WAVE_height(float x, float y, float z)
{
    const sim_weather_block& w = sim_weather;
    // A wave length of 0 would divide by zero and put the surface at no
    // number; such water is taken as flat.
    if (!(w.wave_amplitude * UNIT.mtrs_to_ft > FLAT_WAVE_FT) || !(w.wave_length > 0.0f)) return y;
    const float d = w.wave_speed * sim_time.total_running_time_sec;
    // The direction taken into 0..359 (the same sine and cosine): outside the
    // 361 entries of the tables it would read past them.
    const int dir = ((w.wave_dir % 360) + 360) % 360;
    const float S = degree_sin[dir], C = degree_cos[dir];
    return y + 0.5f * w.wave_amplitude * std::sin(TWO_PI_FLOAT * ((z - d * C) * C - (x + d * S) * S) / w.wave_length);
}

namespace {

// The height (local y) of the water's wavy surface over the local point x, z.
float water_surface_at(float x, float z) { return WAVE_height(x, WATER_still_level(x, z, terrain_height_m), z); }

}  // namespace

int FM_water_forces(int p, int s, int k, float x, float y, float z)
{
    // A panel whose neighbours (section s + 1, points k - 1 and k + 1) lie
    // outside the body's grid would read past the point tables.
    if (p < 0 || p >= ACF_NUM_PARTS || s < 0 || s + 1 >= ACF_BODY_STATIONS || k < 1 || k + 1 >= ACF_BODY_POINTS)
        return 0;
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float g = FM_GRAVITY;
    const float rho = sim_physics.rho_water;

    // 1-2. The panel centre's velocity and position in local axes.
    float vx, vy, vz, px, py, pz;
    PHYS_body_to_local(y * f.Prad - z * f.Rrad, -x * f.Prad - z * f.Qrad, x * f.Rrad + y * f.Qrad, &vx, &vy, &vz, 0);
    vx += f.local_vx, vy += f.local_vy, vz += f.local_vz;
    PHYS_body_to_local(x, y, z, &px, &py, &pz, 0);
    px += f.local_x, py += f.local_y, pz += f.local_z;

    // 3. Depth below the (wavy) surface.
    const float depth = water_surface_at(px, pz) - py;
    if (!(depth >= 0.0f)) return 0;

    // 4. Track over the water and the heading relative to it. The water of
    // the waves drifts along with them: the panel moves through it.
    float drift_x, drift_z;
    wave_drift(depth, &drift_x, &drift_z);
    vx -= drift_x, vz -= drift_z;
    float track = std::atan2(vx, -vz) * RAD_TO_DEG_FLOAT;
    if (track < 0.0f) track += 360.0f;
    const float rel = UTIL_wrap_pm180(f.psi - track);
    const float speed = length(vec3{vx, vy, vz});
    const float st = std::sin(track / RAD_TO_DEG_FLOAT), ct = std::cos(track / RAD_TO_DEG_FLOAT);

    // 5-6. The panel's extents, areas and slope to the water.
    const float w = (a.acf_body_X[body_point(p, s, k - 1)] - a.acf_body_X[body_point(p, s, k + 1)]) / 2.0f;
    const float dY = a.acf_body_Y[body_point(p, s + 1, k)] - a.acf_body_Y[body_point(p, s, k)];
    const float dZ = a.acf_body_Z[body_point(p, s + 1, k)] - a.acf_body_Z[body_point(p, s, k)];
    const float e = dY * f.cos_theta - dZ * f.sin_theta;
    const float l = dZ * f.cos_theta + dY * f.sin_theta;
    const float plan_area = std::fabs(dZ * w);
    const float front_area = std::fabs(w * e);
    const float side_area = std::fabs(l * e);
    const float slope = UTIL_clamp(e / away_from_zero(l), -2.0f, 0.0f);

    // 7. Buoyancy, damping, planing, side force and drag.
    const float q = 0.5f * rho * speed * speed;
    const float buoyancy = depth * plan_area * rho * g;
    // The damping has a part that grows with the speed itself: a float that
    // heaves and pitches sends out waves, and they carry its motion away. For
    // a float bottom about 0.7 m wide rocking at the 2-3 s a float plane
    // rocks with on its floats, that is about as much as the drag of the
    // bottom at 1.5 m/s. Without it the float plane, its pitch resonant with
    // the first start's sea, pitched over on its nose within two minutes of
    // coming to rest there.
    const float damping = -vy * (std::fabs(vy) + WAVE_MAKING_DAMPING_MPS) * plan_area * rho;
    const float planing = -speed * std::fabs(speed) * slope * front_area * rho;
    const float fy_raw = buoyancy + damping + planing;
    // The side force pushes on the panel's side across the body, from the
    // speed over the water across the heading: taken across the track and
    // from the speed with the heave in it, it turned the heave and the
    // sideways rocking of a float in the waves into a push along the heading
    // (an aircraft left on the first start's sea surfed at 10 kt).
    const float side = 0.25f * side_area * rho * (vx * vx + vz * vz) * std::sin(rel / RAD_TO_DEG_FLOAT);
    // Skin friction acts on the panel's wetted surface, across the body's
    // girth (on a float's sloping sides more than its plan shows).
    const float gx = a.acf_body_X[body_point(p, s, k - 1)] - a.acf_body_X[body_point(p, s, k + 1)];
    const float gy = a.acf_body_Y[body_point(p, s, k - 1)] - a.acf_body_Y[body_point(p, s, k + 1)];
    const float wetted_area = std::fabs(dZ) * wetted_girth(p, s, k, std::hypot(gx, gy) / 2.0f, depth);
    const float skin = skin_friction(speed, body_length(p, k)) * wetted_area * q;
    const float along = -planing * UTIL_clamp(slope, -0.05f, 0.05f) + skin;

    // 8-9. Into local axes, each component no more than the plane's weight.
    // The size of the weight: a negative mass would turn the range round.
    const float limit = std::fabs(f.m_total * g);
    const float heading = f.psi / RAD_TO_DEG_FLOAT;
    const float sh = std::sin(heading), ch = std::cos(heading);
    const float fz = UTIL_clamp(along * ct + side * sh, -limit, limit);
    const float fx = UTIL_clamp(side * ch - along * st, -limit, limit);
    const float fy = UTIL_clamp(fy_raw, -limit, limit);

    // 10. Into body axes, at the panel centre.
    float bs, bn, ba;
    PHYS_local_to_body(fx, fy, fz, &bs, &bn, &ba, 0);
    PHYS_add_gear_side(0, bs, y, z);
    PHYS_add_gear_normal(0, bn, x, z);
    PHYS_add_gear_axial(0, ba, x, y);
    return 1;
}

namespace {

// Whether the point at body arm (x, y, z) of the user's plane lies under the
// (wavy) water surface.
bool in_water(float x, float y, float z)
{
    const flt_struct& f = flt[0];
    float px, py, pz;
    PHYS_body_to_local(x, y, z, &px, &py, &pz, 0);
    px += f.local_x, py += f.local_y, pz += f.local_z;
    return water_surface_at(px, pz) >= py;
}

// Only the floats' and hulls' bottom panels carry the water's forces, so an
// aircraft rolled onto its side or back meets the water with none of them:
// its wing tips and propeller hubs under the surface are a contact all the
// same (the crash check finds such an aircraft upset on the surface).
bool wing_or_prop_in_water()
{
    const acf_struct& a = pln[0];
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(0, p)) continue;
        float x, y, z;
        GROUND_wing_tip(p, &x, &y, &z);
        if (in_water(x, y, z)) return true;
    }
    const int engines = std::clamp(std::min(a.acf_num_engines, a.acf_num_thrustpoints), 0, ACF_MAX_ENGINES);
    for (int e = 0; e < engines; ++e)
        if (ACF_engine_has_prop(0, e) && in_water(a.acf_Xarm[e], a.acf_Yarm[e], a.acf_Zarm[e])) return true;
    return false;
}

}  // namespace

int GROUND_over_water()
{
    if (surface_state.on_carrier_deck || surface_state.on_frigate_deck || surface_state.flat_surface_on) return 0;
    return land_use_water() ? 1 : 0;
}

// The terrain mesh under the sea lies below the water, by tens of feet in
// places: measured to the mesh, the height of a plane afloat read 17 to 44
// ft, and every reader of it (the radio altimeter, the warnings' bands, the
// data output, the autopilot) was wrong by as much over the water.
float WATER_surface_under_plane()
{
    if (!GROUND_over_water()) return terrain_height_m;
    const flt_struct& f = flt[0];
    return water_surface_at(f.local_x, f.local_z);
}

void FM_water_contact()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const bool report = FM_reporting();

    for (int b = PART_BODY_FIRST; b <= PART_BODY_LAST; ++b) {
        if (!ACF_part_present(0, b)) continue;
        const int stations = b <= PART_ENGINE_BODY_LAST ? 12 : 8;
        bool wet = false;
        for (int s = 0; s < stations - 1; ++s)
            for (int k = first_wet_point(b); k <= last_wet_point(b); ++k) {
                const int i0 = body_point(b, s, k), i1 = body_point(b, s + 1, k);
                const float cx = (a.acf_body_X[i0] + a.acf_body_X[i1]) / 2.0f + a.acf_Xarm[b];
                const float cy = (a.acf_body_Y[i0] + a.acf_body_Y[i1]) / 2.0f + a.acf_Yarm[b];
                const float cz = (a.acf_body_Z[i0] + a.acf_body_Z[i1]) / 2.0f + a.acf_Zarm[b];
                if (FM_water_forces(b, s, k, cx, cy, cz)) {
                    f.onground_any = f.onground_all = 1;
                    wet = true;
                }
            }
        if (wet) FM_step_touched(f.local_vy);
        if (report && wet) {
            report_log << '\n';
            FM_report_rule();
            for (int r = 0; r < 3; ++r) report_log.put('\xA5');
            report_log << LANG_text_at_820(b) << " WATER-CONTACT";
            FM_report_rule(72);
            FM_report_rule();
        }
    }

    if (wing_or_prop_in_water()) FM_step_touched(f.local_vy);

    // The water rudder steers by the rudder input against the heading error,
    // the track's angle off the heading, both over the water as the panels
    // meet it: the water of the waves drifts with them, and the heave slides
    // along the blade. Held against the ground, the blade held the tail
    // against the drifting water and the plane crept astern at 2.6 kt on the
    // first start's sea.
    float drift_x, drift_z;
    wave_drift(0.0f, &drift_x, &drift_z);
    const float wx = f.local_vx - drift_x, wz = f.local_vz - drift_z;
    const float error = UTIL_wrap_pm180(f.psi - std::atan2(wx, -wz) * RAD_TO_DEG_FLOAT);
    const bool pedals = sim_joystick.eq_ped_nobrk || sim_joystick.eq_ped_wibrk;
    const float input = pedals ? sim_joystick.yolk_heading_ratio : sim_joystick.yolk_roll_ratio;
    const float deflection = UTIL_clamp((a.acf_water_rud_maxdef * input - error) * 0.025f, -1.0f, 1.0f);
    const float limit = std::fabs(a.acf_m_empty);   // by size: a negative mass would turn the range round
    const float force = UTIL_clamp(deflection * a.acf_water_rud_area * (wx * wx + wz * wz) * sim_physics.rho_water / 2.0f,
                                   -limit, limit);
    PHYS_add_gear_side(0, -force, 0.0f, a.acf_water_rud_longarm);

    // The splash, at most every 1.5 s.
    if (f.onground_any) {
        const float since = frame_clock - ground_state.water_sound_time;
        // (A clock that went back, as after a reset, starts the sound again.)
        if (!(since >= 0.0f && since < WATER_SOUND_REPEAT_SEC)) {
            ground_state.water_sound_time = frame_clock;
            SOUND_play(WATER_SOUND_SLOT, 0, UTIL_clamp(0.05f * f.groundspeed, 0.0f, 1.0f),
                       UTIL_clamp(0.02f * f.groundspeed, 0.0f, 1.0f));
        }
    }
}

void FM_water_scoop()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    if (!a.acf_jett_is_water) return;
    const float full = a.acf_m_jettison;
    const float dt = FM_step_sec();
    if (sim_cockpit_switches.water_scoop_on && f.onground_any && land_use_water() && f.m_jettison < full) {
        f.m_jettison += full / 12.0f * dt;
        f.faxil_aero += full / 12.0f * f.groundspeed;
    }
    if (f.water_drop_on) {
        f.m_jettison -= full / 4.0f * dt;
        if (f.m_jettison <= 0.0f) f.water_drop_on = 0;
    }
    f.m_jettison = UTIL_clamp(f.m_jettison, 0.0f, std::max(full, 0.0f));
}
