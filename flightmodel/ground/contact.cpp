// Ground contact: one point's spring, damper and friction against the surface
// (handlecontactpoint), and the build-up's ground stage that offers it the
// wing tips, the body rings and the gear with their brakes, steering and
// tyres, then sets the on-ground flags.
#include "flightmodel/ground/contact.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/phys.h"
#include "flightmodel/ground/terrain_query.h"
#include "flightmodel/effects/particle_list.h"
#include "flightmodel/ground/surface_state.h"
#include "aircraft/part_presence.h"
#include "flightmodel/step_record.h"

contact_state contact{};

ORVELL_RESET_RECORD(CONTACT_reset, contact, flight);

namespace {

constexpr float MAX_DEFLECTION_M = 999.9f;
constexpr float MIN_SLIP_GAIN = 1.0f;
constexpr float MAX_SLIP_GAIN = 50.0f;
constexpr float DRY_PATCH_SHARE = 0.35f;
constexpr float CASTORING_STEER_DEG = 99.9f;
constexpr float SIDE_GEAR_X_M = 0.05f;  // a gear further out than this is a left or right gear

// Runway condition factor by runway_friction, above 0 C (dry, wet, puddles)
// and at or below it (dry, snow, ice), as the weather screen names them. A
// dry runway grips alike on either side of freezing: taken at 0.8 below it,
// the first start's dry runway at -5 C held a fifth less than at +15 C, and
// a trainer let go on it in a 5-kt crosswind ground-looped where it rolls
// straight at +15 C. Snow and ice keep their own factors.
constexpr float CONDITION_WARM[3] = {1.0f, 0.75f, 0.5f};
constexpr float CONDITION_COLD[3] = {1.0f, 0.4f, 0.2f};

bool wing_or_body_dusts(int n)
{
    return (n >= PART_WING_PAIR_FIRST && n <= PART_WING_EXTRA_LAST) || (n >= PART_BODY_FIRST && n <= PART_ENGINE_BODY_LAST);
}

// Whether the local point (x, z) lies on a dry patch of a patchy runway: rings
// 2 m wide around the origin, about a third of them.
bool on_dry_patch(float x, float z)
{
    const double r = std::sqrt(static_cast<double>(x) * x + static_cast<double>(z) * z);
    const double ring = std::trunc(r * 0.5);
    // A ring too far out for a long (a point far off the area) takes entry 0.
    const long key = ring < 1e9 ? static_cast<long>(ring) % RANDOM_TABLE_SIZE : 0;
    return random_table[key] < DRY_PATCH_SHARE;
}

// The slip friction below grows with the sliding speed and falls to nothing
// as the point comes to rest, so a braked aircraft with its engines
// running (or on a slope, or a helicopter on its skids in a wind) would creep
// away however hard the brakes are set. Only while a braked tyre, a skid or a
// wing tip moves slower than HOLD_SPEED, the speed at which the slip friction
// is full at its lowest gain, it is tied instead to the spot of ground where
// it came to rest, by a stiffness of HOLD_STIFFNESS times its load per metre,
// critically damped for that load. The tie holds any pull up to the friction
// the brake or the surface gives; beyond it the point slides and drags the
// tied spot along, so sliding it makes the full friction the slip model makes
// there. Faster, the slip friction applies unchanged.
constexpr float HOLD_SPEED = 1.0f;        // m/s: 1 / the lowest side-slip gain
constexpr float HOLD_STIFFNESS = 20.0f;   // per metre
constexpr float HOLD_DAMPING = 2.0f;      // seconds per metre: 2 x 0.7 x sqrt(HOLD_STIFFNESS / g)

// The horizontal unit vector (local x, z) of a body axis; false when the axis
// stands upright.
bool horizontal_axis(float bx, float by, float bz, int plane, float* ux, float* uz)
{
    float lx, ly, lz;
    PHYS_body_to_local(bx, by, bz, &lx, &ly, &lz, plane);
    const float h = std::hypot(lx, lz);
    if (!(h > 1e-3f)) return false;
    *ux = lx / h, *uz = lz / h;
    return true;
}

// The tied point's friction along one horizontal axis u: the tie's pull,
// limited to what friction holds; past it the tied spot follows the point.
float hold_along(float ux, float uz, float* hx, float* hz, float px, float pz, float rvx, float rvz, float fn,
                 float limit)
{
    const float k = HOLD_STIFFNESS * fn, c = HOLD_DAMPING * fn;
    const float stretch = (px - *hx) * ux + (pz - *hz) * uz;
    const float speed = rvx * ux + rvz * uz;
    const float pull = -(k * stretch + c * speed);
    if (std::fabs(pull) <= limit) return pull;
    // Sliding: the tie stretched no further than friction holds.
    if (k > 0.0f) {
        const float most = std::copysign(limit / k, stretch);
        if (std::fabs(stretch) > std::fabs(most)) *hx += (stretch - most) * ux, *hz += (stretch - most) * uz;
    }
    return std::copysign(limit, pull);
}

float condition_factor()
{
    // A condition outside 0..2 (a plug-in may write it) would read past the tables.
    const int k = util_clamp_int(sim_weather.runway_friction, 0, 2);
    return sim_weather.temperature_sealevel_c > 0.0f ? CONDITION_WARM[k] : CONDITION_COLD[k];
}

void report_contact(int n, float h, float point_y, float deflection, float axial, float side, float normal)
{
    for (int k = 0; k < 3; ++k) report_log.put('\xA5');
    report_log << "GROUND-CONTACT ON " << LANG_text_at_820(n) << ":";
    for (int k = 0; k < 67; ++k) report_log.put('\xA5');
    report_log << "\n";
    FM_line("   elev of terrain under this part of aircraft=", h, 2, 7, " m.\n");
    FM_line("   vertical location of  this part of aircraft=", point_y, 2, 7, " m.\n");
    FM_line("   deflection                                 =", deflection, 2, 7, " m.\n");
    FM_line("   axilforce=", axial, 2, 10, " N pos aft.\n");
    FM_line("   sideforce=", side, 2, 10, " N pos right.\n");
    FM_line("   nrmlforce=", normal, 2, 10, " N pos up.\n\n");
    FM_report_gear_totals();
}

}  // namespace

int handlecontactpoint(int plane, int n, float x_plane, float vx_plane, float x, float vx_extra, float y_plane,
                       float vy_plane, float y, float vy_extra, float* deflection, float z_plane, float vz_plane,
                       float z, float vz_extra, float k, float c, float mu_side, float mu_axial, float* steer_deg,
                       float bump, float tyre_radius, float* rolling_speed)
{
    // A plane or part outside the tables, or a missing output, would be written
    // past the tables or through nothing: no contact.
    if (plane < 0 || plane >= FLT_SLOTS || n < 0 || n >= FLT_PARTS || !deflection || !steer_deg || !rolling_speed)
        return 0;
    flt_struct& f = flt[plane];
    const acf_struct& a = pln[plane];
    const float dt = FM_step_sec();

    // 1. The normal force's cap.
    const float f_max = 10.0f * FM_GRAVITY * a.acf_m_max;

    // 2. A failed tyre thumps once a turn: more rolling drag and a raised point.
    if (bump > 0.0f) {
        float& angle = contact.wheel_roll_deg[n];
        // A wheel without a radius would divide by zero: its angle stays.
        if (tyre_radius > 0.0f) angle += *rolling_speed / tyre_radius * RAD_TO_DEG_FLOAT * dt;
        angle = UTIL_wrap_floor(angle, 360.0f);   // one that is not a number starts again from 0
        const float al = angle * DEG_TO_RAD_FLOAT;
        const float b = 0.2f * (std::sin(al) + std::cos(al) + std::sin(2.0f * al) + std::cos(2.0f * al)) + 0.45f;
        mu_axial += b * bump;
        y += (0.8f - 0.4f * b) * tyre_radius * bump;
    }

    // 3-4. The point and its velocity in local axes.
    const float pvx = vx_extra + y * f.Prad - z * f.Rrad;
    const float pvy = vy_extra - x * f.Prad - z * f.Qrad;
    const float pvz = vz_extra + y * f.Qrad + x * f.Rrad;
    float ox, oy, oz, lvx, lvy, lvz;
    PHYS_body_to_local(x, y, z, &ox, &oy, &oz, plane);
    PHYS_body_to_local(pvx, pvy, pvz, &lvx, &lvy, &lvz, plane);
    const float px = x_plane + ox, py = y_plane + oy, pz = z_plane + oz;
    lvx += vx_plane, lvy += vy_plane, lvz += vz_plane;

    // 5-7. The surface, the penetration and the normal force.
    float svx = 0.0f, svy = 0.0f, svz = 0.0f;
    int ci = f.i, cj = f.j;
    const float h = TERRAIN_height_at(px, pz, &svx, &svy, &svz, &ci, &cj, 1, "handlecontactpoint");
    f.i = ci, f.j = cj;
    const float rvx = lvx - svx, rvy = lvy - svy, rvz = lvz - svz;
    const float d = h - py;
    const float spring = k * d + c * (-rvy);
    const float fn = UTIL_clamp(spring, 0.0f, std::max(f_max, 0.0f));

    // 8. The compression along body y.
    float dfx, dfy, dfz;
    PHYS_local_to_body(0.0f, UTIL_clamp(d, 0.0f, MAX_DEFLECTION_M), 0.0f, &dfx, &dfy, &dfz, plane);
    *deflection = dfy;

    // 9-10. Held by the catapult or the hook, or no contact. The catapult's
    // flag is its two states, standing hooked on it and being thrown by it.
    const bool catapult = launch_flags.catapult_hold || launch_flags.catapult_fired;
    const bool held = (catapult || launch_flags.arrest_engaged) && n >= PART_GEAR_FIRST && n <= PART_GEAR_LAST && z < 0.0f;
    if (!held && !(d >= 0.0f)) return 0;

    // 11-13. Rolling speed, direction of motion and steering.
    const bool castoring = *steer_deg > CONTACT_CASTOR_MARK_DEG;
    if (castoring) *steer_deg = 0.0f;
    float bx, by, bz;
    PHYS_local_to_body(rvx, rvy, rvz, &bx, &by, &bz, plane);
    *rolling_speed = -bz;
    const float gamma = std::atan2(-bx, -bz) * RAD_TO_DEG_FLOAT;
    float gamma_w;
    if (castoring) {
        *steer_deg = -gamma * std::min(std::sqrt(bx * bx + bz * bz), 1.0f);
        gamma_w = 0.0f;
    } else {
        gamma_w = gamma + *steer_deg;
    }

    // 14. The runway condition, except on a dry patch of a patchy runway.
    if (!(screen_settings.runway_is_patchy && on_dry_patch(px, pz))) {
        const float factor = condition_factor();
        mu_side *= factor;
        mu_axial *= factor;
    }

    // 15-16. Slip, saturating at 1/gain m/s, and the gain for the next frame.
    const float speed = length(vec3{bx, by, bz});
    float& gain = contact.slip_gain[n];
    gain = UTIL_clamp(gain, MIN_SLIP_GAIN, MAX_SLIP_GAIN);
    const float gw = gamma_w * DEG_TO_RAD_FLOAT;
    const float side_slip = UTIL_clamp(speed * std::sin(gw) * gain, -1.0f, 1.0f);
    const float axial_slip = UTIL_clamp(speed * std::cos(gw) * gain, -1.0f, 1.0f);
    const bool same_sign = (side_slip < 0.0f) == (contact.last_side_slip[n] < 0.0f);
    gain = UTIL_clamp(gain * (same_sign ? 1.5f : 0.5f), MIN_SLIP_GAIN, MAX_SLIP_GAIN);   // kept within 1..50
    contact.last_side_slip[n] = side_slip;

    // 17-20. Friction in body axes.
    const float load = f_max > 0.0f ? UTIL_clamp(1.0f - 0.9f * fn / f_max, 0.1f, 1.0f) : 0.55f;
    // A frame period of 0 would divide by zero: the full side force then.
    const float rate = dt > 0.0f ? UTIL_clamp(1.0f + 0.05f * (1.0f / dt - 20.0f), 0.5f, 1.0f) : 1.0f;
    float side_limit = fn * mu_side;
    if (std::fabs(*steer_deg) > 0.01f && a.acf_nosewheel_k > 0.01f)
        side_limit = std::min(side_limit, a.acf_nosewheel_k * std::fabs(gamma_w));
    float side_friction = side_slip * load * rate * side_limit;
    float axial_friction = fn * mu_axial * axial_slip;

    // A braked tyre, a skid or a wing tip at rest holds the spot where it
    // stopped (the tie above), so a braked aircraft does not creep under power.
    float ax, az, sx, sz;
    const bool slow = std::hypot(rvx, rvz) < HOLD_SPEED;
    if (contact.grips[n] && plane == 0 && slow && horizontal_axis(0.0f, 0.0f, 1.0f, plane, &ax, &az) &&
        horizontal_axis(1.0f, 0.0f, 0.0f, plane, &sx, &sz)) {
        float& hx = contact.hold_x[n];
        float& hz = contact.hold_z[n];
        if (!contact.holding[n]) {
            contact.holding[n] = 1, hx = px, hz = pz;
        } else {
            hx += svx * dt, hz += svz * dt;   // the spot held rides on a moving deck
        }
        axial_friction = hold_along(ax, az, &hx, &hz, px, pz, rvx, rvz, fn, fn * std::fabs(mu_axial));
        side_friction = hold_along(sx, sz, &hx, &hz, px, pz, rvx, rvz, fn, load * rate * std::fabs(side_limit));
    } else {
        contact.holding[n] = 0;
    }

    // 21. Friction plus the normal force (straight up on every surface), in body axes.
    float fx, fy, fz;
    PHYS_body_to_local(side_friction, 0.0f, axial_friction, &fx, &fy, &fz, plane);
    fy += fn;
    float f_side, f_nrml, f_axil;
    PHYS_local_to_body(fx, fy, fz, &f_side, &f_nrml, &f_axil, plane);

    // 22. Into the gear sums, the point raised to the surface.
    const float yc = y + d;
    PHYS_add_gear_side(plane, f_side, yc, z);
    PHYS_add_gear_normal(plane, f_nrml, x, z);
    PHYS_add_gear_axial(plane, f_axil, x, yc);

    // The frame's contact and the speed the plane met the surface with, for
    // the crash check and the touchdown sounds after the frame's steps.
    if (plane == 0) FM_step_touched(f.local_vy);

    // 23. Scrape dust from wings and bodies, once a frame: on the ground the
    // frame runs the build-up in several steps, and each would throw its own.
    if (interval_ticks[INTERVAL_TWENTIETH_SECOND] && FM_first_step_of_frame() && wing_or_body_dusts(n)) {
        const float u = std::sqrt(rvx * rvx + rvz * rvz);
        const float l = 0.1f * a.acf_size_z;
        const float s = UTIL_clamp(u * l / 50.0f, std::min(0.0f, l), std::max(0.0f, l));
        PARTICLE_spawn(px, py + s / 2.0f, pz, 0.0f, 0.0f, 0.0f, py - s / 2.0f, s, 1.0f, 3.0f, 0, 1.0f, 0);
    }

    // 24-26.
    f.nrml_force[n] = fn;
    if (FM_reporting()) report_contact(n, h, py, *deflection, f_axil, f_side, f_nrml);
    return 1;
}

// ---------------------------------------------------------------------------
// The ground stage of the build-up.

namespace {

struct coefficients {
    float rolling, braking, sliding;
};

coefficients surface_coefficients()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    coefficients k{a.acf_roll_co, a.acf_brake_co, 0.4f};
    const int code = surface_state.surface_code;
    if (code <= SURFACE_NONE || code == 163 || code == 169 || code == 164) {
        k.rolling *= 4.0f, k.braking *= 0.75f, k.sliding *= 2.0f;
    } else if (code == 162 || code == 168) {
        k.rolling *= 2.0f, k.braking *= 0.75f, k.sliding *= 0.5f;
    } else if (code == 165) {
        k.braking *= 0.75f;
    } else if (sim_weather.runway_friction == 2 && a.acf_tire_contact_area > 0.0f) {
        // Hydroplaning on a flooded hard runway (an aircraft without a tyre
        // footprint would divide by zero: it does not hydroplane).
        const float load = f.m_total * sim_physics.g_sealevel / a.acf_tire_contact_area;
        if (load > 0.0f && f.groundspeed > 0.0116f * std::sqrt(load)) k.rolling = k.braking = 0.01f;
    }
    return k;
}

// One point of part p at body arm (x, y, z).
int offer(int p, float x, float y, float z, float k, float c, float mu_side, float mu_axial, float* steer, float bump,
          float radius)
{
    flt_struct& f = flt[0];
    return handlecontactpoint(0, p, f.local_x, f.local_vx, x, 0.0f, f.local_y, f.local_vy, y, 0.0f,
                              &pln[0].acf_gear_def[p], f.local_z, f.local_vz, z, 0.0f, k, c, mu_side, mu_axial, steer,
                              bump, radius, &f.tire_speed_term[p]);
}

float failed_tyre_bump(int gear_type)
{
    switch (gear_type) {
    case 2: return 1.0f;
    case 3: return 0.5f;
    case 4: return 0.75f;
    case 5: return 0.35f;
    case 6: return 0.2f;
    case 7: return 0.25f;
    default: return 0.0f;
    }
}

// The brake ratio of a gear by its side: the parking brake plus the toe brake
// of its side.
float brake_ratio(float x)
{
    const flt_struct& f = flt[0];
    float b = f.parkbrake;
    if (x < -SIDE_GEAR_X_M) b += f.l_brake_add;
    if (x > SIDE_GEAR_X_M) b += f.r_brake_add;
    return b;
}

void tyre_lock(int n)
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float x = a.acf_gear_xnodef[n];
    const bool left = x < -SIDE_GEAR_X_M, right = x > SIDE_GEAR_X_M;
    const bool park = f.parkbrake > 0.5f;
    const bool released = f.parkbrake < 0.5f && (left ? f.l_brake_add < 0.5f : right ? f.r_brake_add < 0.5f : true);
    if (released) {
        f.tire_locked[n] = 0;
        f.tire_drag_dis[n] = 0.0f;
    }
    const bool autobrake = a.acf_autofbrkEQ && sim_cockpit_switches.auto_brake_settings;
    if (f.nrml_force[n] < 0.01f && f.tire_speed_now[n] < 0.01f && !autobrake) {
        if ((left && f.l_brake_add > 0.5f) || (right && f.r_brake_add > 0.5f) || park) f.tire_locked[n] = 1;
    }
}

}  // namespace

void GROUND_wing_tip(int p, float* x, float* y, float* z)
{
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const float l = a.acf_els[p] * a.acf_element_len[p];
    const float side = a.acf_part_is_left[p] ? -1.0f : 1.0f;
    const float cs = f.foil_cos_swe[p], ss = f.foil_sin_swe[p];
    const float cd = f.foil_cos_dih[p], sd = f.foil_sin_dih[p];
    *x = a.acf_Xarm[p] + l * cs * cd * side;
    *y = a.acf_Yarm[p] + l * cs * sd;
    *z = a.acf_Zarm[p] + l * ss;
}

void FM_ground_contact()
{
    flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const coefficients co = surface_coefficients();

    // Wing tips.
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(0, p)) continue;
        float x, y, z;
        GROUND_wing_tip(p, &x, &y, &z);
        float steer = 0.0f;
        contact.grips[p] = 1;   // a tip resting on the ground stays where it rests
        const int hit = offer(p, x, y, z, a.acf_gearcon[p], a.acf_geardmp[p], co.sliding, co.sliding, &steer, 0.0f, 0.0f);
        contact.grips[p] = 0;
        if (!hit) contact.holding[p] = 0;
    }

    // Bodies: two points of each station's ring.
    constexpr int BODY_STATIONS_IN_CONTACT = 12;
    for (int b = PART_BODY_FIRST; b <= PART_ENGINE_BODY_LAST; ++b) {
        if (!ACF_part_present(0, b)) continue;
        for (int t = 0; t < BODY_STATIONS_IN_CONTACT; ++t)
            for (int ring_point : {9, 0}) {
                const int idx = b * ACF_BODY_PART_POINTS + t * ACF_BODY_POINTS + ring_point;
                float steer = 0.0f;
                offer(b, a.acf_body_X[idx] + a.acf_Xarm[b], a.acf_body_Y[idx] + a.acf_Yarm[b],
                      a.acf_body_Z[idx] + a.acf_Zarm[b], 0.25f * a.acf_gearcon[b], 0.25f * a.acf_geardmp[b],
                      co.sliding, co.sliding, &steer, 0.0f, 0.0f);
            }
    }

    // Gear.
    const bool castors = a.acf_nw_steerdeg1 < 0.01f;
    bool touching[FLT_GEAR_COUNT] = {};
    for (int n = PART_GEAR_FIRST; n <= PART_GEAR_LAST; ++n) {
        if (!ACF_part_present(0, n)) continue;
        const bool skid = a.acf_gear_type[n] == 1;
        const bool steers = a.acf_gear_steers[n] != 0;
        float mu_side = skid ? co.sliding : co.braking;
        float mu_axial = skid ? co.sliding : co.rolling;
        if (!steers && !skid) {
            const float beta = brake_ratio(a.acf_gear_xnodef[n]);
            mu_axial = UTIL_clamp(co.rolling + (co.braking - co.rolling) * beta, std::min(co.rolling, co.braking),
                                  std::max(co.rolling, co.braking));
        }
        // A skid, and a wheel whose brake is on, grips the ground it stands on.
        contact.grips[n] = skid || (!steers && brake_ratio(a.acf_gear_xnodef[n]) > 0.0f);
        float steer = steers ? (castors ? CASTORING_STEER_DEG : f.nosewheel_steer) : 0.0f;
        const int g = n - PART_GEAR_FIRST;
        const float bump = FLT_slot_failed(0, FAIL_SLOT_TYRE_BASE + g) ? failed_tyre_bump(a.acf_gear_type[n]) : 0.0f;
        const int hit = offer(n, a.acf_gear_xnodef[n], a.acf_gear_ynodef[n] - a.acf_gear_tirrad[n],
                              a.acf_gear_znodef[n], a.acf_gearcon[n], a.acf_geardmp[n], mu_side, mu_axial, &steer,
                              bump, a.acf_gear_tirrad[n]);
        touching[g] = hit != 0;
        contact.grips[n] = 0;
        if (!hit) {
            contact.holding[n] = 0;
            f.tire_speed_term[n] = 0.0f;
        } else if (steers) {
            if (castors) f.nosewheel_steer = steer * UTIL_clamp(std::fabs(100.0f * f.tire_speed_term[n]), 0.0f, 1.0f);
            f.nosewheel_speed = f.tire_speed_term[n];
        }
    }
    for (int n = PART_GEAR_FIRST; n <= PART_GEAR_LAST; ++n)
        if (ACF_part_present(0, n) && !a.acf_gear_steers[n]) tyre_lock(n);

    // The on-ground flags: the main gears 67..69 set them, any gear in the air
    // (but a skid of a hybrid undercarriage) clears "all".
    for (int n = PART_GEAR_FIRST; n < PART_GEAR_FIRST + 3; ++n)
        if (ACF_part_present(0, n) && touching[n - PART_GEAR_FIRST]) f.onground_any = f.onground_all = 1;
    for (int n = PART_GEAR_FIRST; n <= PART_GEAR_LAST; ++n) {
        if (!ACF_part_present(0, n) || touching[n - PART_GEAR_FIRST]) continue;
        if (a.acf_hybrid_gear && a.acf_gear_type[n] == 1) continue;
        f.onground_all = 0;
    }
}
