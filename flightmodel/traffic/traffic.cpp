#include "flightmodel/traffic/traffic.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/engine_types.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/units.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/gear_util.h"
#include "core/numeric.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/phys.h"
#include "links/plugin_host.h"
#include "flightmodel/systems/instrument_power.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "world/airport_state.h"
#include "world/navdb.h"
#include "world/scenery_area.h"

int32_t tow_turn_dir = 0;
void TRAFFIC_tow_turn_reset() { tow_turn_dir = 0; }
ORVELL_RESET(TRAFFIC_tow_turn_reset, flight);

namespace {

constexpr float TWO_PI = static_cast<float>(TWO_PI_DOUBLE);
constexpr float NM = UNIT.nm_to_mtrs;
constexpr float D6 = 6.0f * NM;
constexpr float GRAVITY = FM_GRAVITY;
constexpr int MODE_CRUISE = TRAFFIC_MODE_CRUISE;
constexpr int MODE_APPROACH_POINT = 1;
constexpr int MODE_FINAL = 2;
constexpr float TOW_LIFT_OFF_MPS = 25.0f;
constexpr float TOW_CLIMB_MPS = 34.9f;
constexpr float TOW_WIND_IN_M = 30.0f;

float sin_deg(float a) { return std::sin(a * DEG_TO_RAD_FLOAT); }
float cos_deg(float a) { return std::cos(a * DEG_TO_RAD_FLOAT); }

// An angle into -180..180.
float w(float a) { return UTIL_wrap_180(a); }

float clamp_between(float v, float a, float b)
{
    const float lo = a < b ? a : b, hi = a < b ? b : a;
    return UTIL_clamp(v, lo, hi);
}

// Placed again near the user's plane: ahead along its track, then off in a
// random direction, heading back past it.
void place_again(int p, float ground)
{
    const flt_struct& user = flt[0];
    const float area = NM * (sim_graphics_scenery.current_planet == PLANET_MARS ? 60.0f : 25.0f);
    const float a = static_cast<float>(UTIL_rand() * 360 / (UTIL_RAND_MAX + 1));
    const float d = (0.5f * UTIL_rand_fraction() + 0.5f) * area;
    float x = user.local_x + user.track_sin * d * 0.5f + d * sin_deg(a);
    float z = user.local_z - user.track_cos * d * 0.5f - d * cos_deg(a);
    x = clamp_between(x, 0.9f * scenery_area.x0, 0.9f * scenery_area.x1);
    z = clamp_between(z, 0.9f * scenery_area.z0, 0.9f * scenery_area.z1);
    float y = ground;
    flt[p].i = flt[p].j = 0;
    int mode;
    if (p % 2 == 0) {
        mode = MODE_CRUISE;
        const int type = pln[p].acf_en_type[0];
        if (type == ENGINE_TURBINE_FREE || type == ENGINE_TURBINE_FIXED) y += 3000.0f + 3000.0f * UTIL_rand_fraction();
        else if (type >= ENGINE_ELECTRIC && type <= ENGINE_ROCKET) y += 9000.0f + 3000.0f * UTIL_rand_fraction();
        else y += 1000.0f + 2000.0f * UTIL_rand_fraction();
    } else {
        mode = UTIL_rand() * 2 / (UTIL_RAND_MAX + 1) + 1;
        y += 400.0f + 800.0f * UTIL_rand_fraction();
    }
    if (std::fabs(y - user.local_y) < 2000.0f) y = user.local_y - 500.0f + 1000.0f * UTIL_rand_fraction();
    // Thin air flies faster. Above the density table the density is 0, and the
    // speed below would divide by sqrt(0) and be infinite; sigma is kept at
    // 0.01 at least.
    const float sigma = UTIL_max(ATMO_density_at_alt(0, y) / 1.225f, 0.01f);
    const float heading = UTIL_wrap_360(a + 180.0f + 20.0f * UTIL_rand_fraction() - 10.0f);
    FLIGHT_reset_at_start(p, 0.0f, heading, 0.0f, x, y, z, pln[p].acf_est_Vs * 1.7f / std::sqrt(sigma));
    // The reset draws a behaviour of its own (0, 1 or 2) for the slot. Set
    // before it, the behaviour chosen here would be overwritten and an even
    // slot would not cruise as the table of behaviours says; it is set after.
    flt[p].ai_app_mode = mode;
}

// The tow plane rolls along its heading at its speed; once in the air it
// flies that speed through the air, the wind at the glider behind it
// carrying both alike. Moved over the ground at that speed, it flew a
// headwind faster and a tailwind slower through the air, and a crosswind
// set the glider, drifting with the air, off to the side of it on the rope.
// The wind comes in over its first 30 m above the ground.
void tow_plane(flt_struct& f, const acf_struct& a, float ground, float dt)
{
    if (launch_flags.tow_attached) f.groundspeed += dt * UTIL_clamp((35.0f - f.groundspeed) * 0.4f, 0.0f, 2.0f);
    const bool rolling = f.groundspeed < TOW_LIFT_OFF_MPS;
    const float carried =
        rolling ? 0.0f : UTIL_clamp((f.local_y - ground - a.acf_h_eqlbm) / TOW_WIND_IN_M, 0.0f, 1.0f);
    f.local_vx = f.groundspeed * f.track_sin + carried * wind_vector[0];
    f.local_vz = -f.groundspeed * f.track_cos + carried * wind_vector[2];
    if (rolling)
        f.local_y = ground + a.acf_h_eqlbm;
    else
        f.local_vy = (f.groundspeed - TOW_LIFT_OFF_MPS) * 0.5f;
    if (f.groundspeed <= TOW_CLIMB_MPS) {
        tow_turn_dir = UTIL_rand_fraction() < 0.5f ? 1 : 0;
        return;
    }
    if (!launch_flags.tow_attached) {
        if (f.phi > -45.0f) f.phi -= 10.0f * dt;
    } else if (std::fabs(f.phi) < 15.0f) {
        f.phi += dt * (tow_turn_dir ? 1.0f : -1.0f);
    }
    f.psi = UTIL_wrap_360(f.psi + dt * GRAVITY * std::tan(f.phi * DEG_TO_RAD_FLOAT) * 360.0f / (TWO_PI * f.groundspeed));
}

struct targets {
    float heading, pitch, bank, turn_rate;
};

// The traffic runway, or null when the words name none: an airport or runway
// index outside the lists (set by a plug-in or a datagram) would read past
// them, so the plane then cruises instead.
const runway_record* traffic_runway(const airport_record*& apt)
{
    const traffic_runway_record& t = traffic_runway_state;
    if (t.traffic_airport < 0 || static_cast<size_t>(t.traffic_airport) >= airport_table.size()) return nullptr;
    apt = &airport_table[static_cast<size_t>(t.traffic_airport)];
    if (t.traffic_runway < 0 || static_cast<size_t>(t.traffic_runway) >= apt->runways.size()) return nullptr;
    return &apt->runways[static_cast<size_t>(t.traffic_runway)];
}

void separation(int p, flt_struct& f)
{
    int planes = PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0);
    // A plug-in's count above the ten slots would read past the plane records.
    if (planes > FLT_SLOTS) planes = FLT_SLOTS;
    for (int k = 0; k < planes; ++k) {
        if (k == p) continue;
        const flt_struct& o = flt[k];
        const float dx = o.local_x - f.local_x, dy = o.local_y - f.local_y, dz = o.local_z - f.local_z;
        if (!(length(vec3{dx, dy, dz}) < 500.0f)) continue;
        if (k == 0) {
            const float bearing = std::atan2(dx, -dz) * RAD_TO_DEG_FLOAT;
            if (std::fabs(w(f.psi - bearing)) > 45.0f || o.onground_all) continue;
        }
        flt[k < p ? k : p].ai_app_mode = MODE_APPROACH_POINT;
    }
}

targets approach(int p, flt_struct& f, const acf_struct& a, float ground, float v, float dt)
{
    targets t{f.psi, 0.0f, 0.0f, 0.0f};
    const airport_record* apt = nullptr;
    const runway_record* rw = traffic_runway(apt);
    if (!rw) {
        f.ai_app_mode = MODE_CRUISE;
        return t;
    }
    const int mode = f.ai_app_mode;
    const traffic_runway_record& tr = traffic_runway_state;
    const float h_r = rw->heading + (tr.traffic_runway_end < 0 ? 180.0f : 0.0f);
    const float length = rw->length;
    float rx, ry, rz;
    GEO_latlon_to_local(rx, ry, rz, rw->lat, rw->lon, apt->elevation);

    const float s = (mode == MODE_APPROACH_POINT ? D6 : 0.0f) + 0.45f * length;
    float ax = rx - s * sin_deg(h_r), az = rz + s * cos_deg(h_r);
    const bool on_marked_runway = f.onground_any && tr.traffic_runway == tr.active_runway;
    if (on_marked_runway) {
        ax += 100.0f * cos_deg(h_r);
        az += 100.0f * sin_deg(h_r);
    }
    const float dist = std::sqrt((ax - f.local_x) * (ax - f.local_x) + (az - f.local_z) * (az - f.local_z));
    const float bearing = w(std::atan2(ax - f.local_x, -(az - f.local_z)) * RAD_TO_DEG_FLOAT);

    float glide = UTIL_clamp(0.052f * dist, 0.0f, 3000.0f);
    if (mode == MODE_APPROACH_POINT) glide = UTIL_max(glide, 400.0f);
    if (on_marked_runway && glide < 50.0f) glide = 100.0f;
    float target_y = glide + apt->elevation;
    if (dist > 3.5f * NM) target_y = UTIL_max(target_y, ground + 300.0f);
    if (dist > NM) target_y = UTIL_max(target_y, ground);
    const bool final_leg = mode == MODE_APPROACH_POINT && (f.elevation - apt->elevation) < 200.0f;

    if (mode == MODE_APPROACH_POINT) {
        t.heading = bearing;
    } else {
        const float e = UTIL_clamp(w(bearing - h_r) * 2.0f, -90.0f, 90.0f);
        t.heading = w(h_r + e);
    }
    const float vs = a.acf_est_Vs;
    const float speed_target = mode == MODE_APPROACH_POINT ? vs * 1.7f : (dist <= 0.1f * D6 ? vs : vs * 1.3f);
    const float rate = UTIL_clamp(std::fabs(f.groundspeed - speed_target) * 0.1f, 0.0f, 0.5f);
    f.groundspeed += (f.groundspeed < speed_target ? rate : -rate) * dt;
    f.alpha = 18.0f * (vs / v) * (vs / v) - 2.5f;

    float bank = f.phi;
    if (std::fabs(bank) <= 0.01f) bank = bank < 0.0f ? -0.01f : 0.01f;
    const float radius = v * v / (GRAVITY * std::tan(bank * DEG_TO_RAD_FLOAT));
    t.turn_rate = 360.0f / (TWO_PI * radius / v);
    const float tan30 = std::tan(30.0f * DEG_TO_RAD_FLOAT);
    const float r_min = UTIL_max(1500.0f, (1.7f * vs) * (1.7f * vs) / (GRAVITY * tan30));
    t.pitch = f.alpha + UTIL_clamp((target_y - f.elevation) / v * 100.0f, -7.0f, 7.0f);
    t.bank = final_leg ? 0.0f : UTIL_clamp(w(t.heading - f.psi) * 2.0f, -30.0f, 30.0f);

    if (PANEL_has_power()) {
        GEAR_deploy_step(p, mode == MODE_FINAL || final_leg || !a.acf_gear_retract ? 1 : 0);
        const float target = mode == MODE_FINAL ? 1.0f : 0.0f;
        // A flap travel time of 0 gives an infinite step, the flaps at the
        // target at once: the step of 1 gives the same result without the
        // infinity (and without the NaN of 0/0 at a zero frame period).
        const float step = a.acf_flap_deftime > 0.0f ? dt / a.acf_flap_deftime : 1.0f;
        if (f.flaprat < target) f.flaprat = UTIL_min(f.flaprat + step, target);
        if (f.flaprat > target) f.flaprat = UTIL_max(f.flaprat - step, target);
        f.flaprat = UTIL_clamp(f.flaprat, 0.0f, 1.0f);
    }

    int32_t& m = f.ai_app_mode;
    if (std::fabs(w(bearing - f.psi)) > 90.0f && dist < r_min) m = m == MODE_APPROACH_POINT ? MODE_FINAL : MODE_APPROACH_POINT;
    if (m == MODE_FINAL && std::fabs(w(f.psi - h_r)) > 135.0f) m = MODE_APPROACH_POINT;
    const int type = a.acf_en_type[0];
    if (m == MODE_FINAL && a.acf_num_engines > 1 && ENGINE_type_is_jet(type) && length < 2000.0f) m = MODE_APPROACH_POINT;
    separation(p, f);
    return t;
}

void steer(int p, flt_struct& f, const acf_struct& a, float ground, float dt)
{
    const float v = UTIL_clamp(f.groundspeed, 1.0f, 9999.9f);
    const float floor = ground + a.acf_h_eqlbm;
    if (f.local_y < floor) {
        f.local_y = floor;
        f.local_vy = 0.0f;
    }
    targets t{f.psi, 0.0f, 0.0f, 0.0f};
    if (f.ai_app_mode == MODE_APPROACH_POINT || f.ai_app_mode == MODE_FINAL) {
        t = approach(p, f, a, ground, v, dt);
    } else if (ground + 500.0f - f.local_y > 0.0f) {
        t.pitch = UTIL_clamp((ground + 500.0f - f.local_y) / v * 50.0f, -7.0f, 7.0f);
    }
    const float roll_cmd = UTIL_clamp((t.bank - f.phi) * 2.0f, -15.0f, 15.0f);
    const float pitch_cmd = UTIL_clamp((t.pitch - f.theta) * 2.0f, -15.0f, 15.0f);
    f.P = (1.0f - dt) * f.P + roll_cmd * dt;
    f.Q = (1.0f - 5.0f * dt) * f.Q + 5.0f * pitch_cmd * dt;
    f.phi += dt * f.P;
    f.theta += dt * f.Q;
    f.psi = UTIL_wrap_360(f.psi + t.turn_rate * dt);
    const float gamma = f.theta - f.alpha;
    f.local_vx = f.groundspeed * sin_deg(f.psi) * cos_deg(gamma);
    f.local_vy = f.groundspeed * sin_deg(gamma);
    f.local_vz = -f.groundspeed * cos_deg(f.psi) * cos_deg(gamma);
}

void lights(flt_struct& f, const acf_struct& a)
{
    int32_t on = 1;
    if (sim_graphics_scenery.percent_lights_on <= 0.25f) {
        const int type = a.acf_en_type[0];
        on = f.local_y < 3000.0f && ENGINE_type_is_jet(type) ? 1 : 0;
    }
    f.nav_lights_on = f.beacon_lights_on = f.strobe_lights_on = f.landing_lights_on = f.taxi_light_on = on;
}

}  // namespace

void TRAFFIC_update_other(int p)
{
    // Slot 0 is the user's plane and slots above 9 do not exist; such a slot
    // would be moved as traffic or index past the plane records.
    if (p < 1 || p >= FLT_SLOTS) return;
    flt_struct& f = flt[p];
    const acf_struct& a = pln[p];
    const float dt = sim_operation_misc.frame_rate_period;

    float ground = 1000.0f;
    if (TERRAIN_point_in_area(f.local_x, f.local_y, f.local_z, 0.0f)) {
        int i = f.i, j = f.j;
        ground = TERRAIN_height_at(f.local_x, f.local_z, nullptr, nullptr, nullptr, &i, &j, 0, "other traffic update");
        f.i = i;
        f.j = j;
    }

    const launch_flags_block& l = launch_flags;
    const bool special = p == 1 && (l.plane1_straight_situation || l.tow_situation);
    if (!special) {
        const float area = NM * (sim_graphics_scenery.current_planet == PLANET_MARS ? 60.0f : 25.0f);
        const flt_struct& user = flt[0];
        const bool far = !(std::fabs(f.local_x - user.local_x) <= area && std::fabs(f.local_z - user.local_z) <= area);
        if (far || f.groundspeed < 0.01f) place_again(p, ground);
    }

    if (p == 1 && l.tow_situation)
        tow_plane(f, a, ground, dt);
    else if (!(p == 1 && l.plane1_straight_situation))
        steer(p, f, a, ground, dt);

    f.local_x += dt * f.local_vx;
    f.local_y += dt * f.local_vy;
    f.local_z += dt * f.local_vz;
    lights(f, a);
}
