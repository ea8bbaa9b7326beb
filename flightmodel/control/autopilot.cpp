// Autopilot, autothrottle and flight director of the control step.
#include "flightmodel/control/autopilot.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/control/control_math.h"
#include "flightmodel/control/control_numbers.h"
#include "flightmodel/flt.h"
#include "flightmodel/gear_util.h"
#include "flightmodel/phys.h"
#include "aircraft/part_presence.h"
#include "flightmodel/systems/gyros.h"
#include "flightmodel/systems/radios.h"
#include "links/sound.h"
#include "flightmodel/systems/instrument_power.h"

autopilot_state autopilot{};

ORVELL_RESET_RECORD(AP_reset_state, autopilot, flight);

void AP_resume_modes()
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    autopilot_state& s = autopilot;
    s.airspeed_mode_before = ap.airspeed_mode;
    s.heading_mode_before = ap.heading_mode;
    s.altitude_mode_before = ap.altitude_mode;
    s.primed = 0;
}

int AP_receiver_index(int32_t hsi_selector)
{
    if (hsi_selector == 2) return 4;   // the GPS
    // A selector outside the receiver entries (set by a plug-in or a datagram)
    // would read past the receiver arrays; it reads NAV1 instead.
    if (hsi_selector < 0 || hsi_selector >= RADIO_RECEIVERS) return 0;
    return hsi_selector;
}

// Throughout, finite_or and clamp_or turn a value that is not a number (an
// untuned receiver, a zero frame period, a bad value from a plug-in) into a
// neutral one: left alone it would stay in the targets and integrators for good.
namespace {

constexpr float MACH_SWITCH_HEIGHT_M = UNIT.ft_to_mtrs * 28000.0f;
constexpr float STANDARD_RATE_RAD = 3.0f * DEG_TO_RAD_FLOAT;   // 3 degrees per second

// The coupled approach's glide-slope law. The beam's pull on the climb rate
// is the slope's angle error times ten, at the groundspeed: per metre of
// height off the beam that is 10 x groundspeed / distance to the transmitter
// per second, a gain that grows without bound as the transmitter nears, and
// the pitch loop, slower than that, swings the plane through the beam ever
// harder below a few hundred feet. The gain is held to GS_MOST_GAIN, so that
// per metre off the beam the pull stays the same down to the runway, where a
// dot is under a metre; faded out from 100 ft, the pull left whatever the
// plane was off the beam there to grow to 3 dots by the threshold. It fades
// out only at the wheels' touch, from GS_FULL_PULL_M over the runway to
// GS_NO_PULL_M, inside the flare; and the pull is bounded.
constexpr float GS_MOST_GAIN = 0.3f;               // 1/s
constexpr float GS_FULL_PULL_M = 6.0f;             // about 20 ft
constexpr float GS_NO_PULL_M = 2.0f;
constexpr float GS_MOST_PULL_MPS = 3.0f;
// On the glide slope the rate error counts six times what it does in the
// other modes, and the climb rate is the elevation's own change: behind the
// vertical speed indication's 1-s lag the pitch loop swung the descent by
// 150 ft/min either side of the slope's through gusts, with the rate error
// at half weight it fell behind the slope's descent for as long as the
// integrator took to catch up.
constexpr float GS_RATE_GAIN = 3.0f;
// In the flare the rate error counts as much as the rate itself: at the
// beam's weight the twin's nose came up and down again and met the runway
// nose wheel first, bouncing along it.
constexpr float FLARE_RATE_GAIN = 1.0f;
// The flare: below the height the slope's descent rate covers in
// FLARE_TIME_SEC the descent eases in proportion to the height, down to
// TOUCHDOWN_SINK_MPS at the wheels' touch.
constexpr float FLARE_TIME_SEC = 2.0f;
constexpr float TOUCHDOWN_SINK_MPS = 1.0f;
// Throttles closed in the flare at this rate (1/s): the speed law's 0.05 a
// second would take 20 s to close them.
constexpr float RETARD_RATE = 0.5f;
// The wheels count as down after this long on the runway in all: a second
// was longer than the first contact of a nose-low touch in a gust, and the
// twin skipped on along the runway with its modes on.
constexpr float TOUCHDOWN_HOLD_SEC = 0.3f;
// In the flare the rudder turns the nose from the crab the wind asked for
// onto the course, and the bank stays within FLARE_BANK_DEG: a plane that
// touched down crabbed rolled off the runway the way its nose pointed.
constexpr float FLARE_BANK_DEG = 5.0f;
// Turned out of its crab, the plane drifts with the crosswind. The course
// law, reading the heading the rudder now holds, asked for too little bank to
// stop it: a plane that floated in the flare drifted 20-30 m sideways. In
// the flare the bank holds the centreline instead, a wing down into the
// wind, by the metres off it and the drift across it.
constexpr float ALIGN_BANK_PER_M = 0.5f;     // deg of bank per metre off the centreline
constexpr float ALIGN_BANK_PER_MPS = 2.0f;   // deg of bank per m/s of drift

bool entered(int32_t now, int32_t before, int32_t mode) { return now == mode && before != mode; }

// The present speed in the target's unit: Mach, knots, or statute miles per
// hour on an aircraft whose airspeed indicator reads them. The indicated
// airspeed is in knots; stored as it is into a target in miles per hour, the
// speed law would read it back as miles per hour and hold a speed 13% below
// the one captured, so it is turned into miles per hour first.
void capture_speed(const acf_struct& a, const flt_struct& f)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    if (ap.airspeed_is_mach)
        ap.airspeed = f.machno;
    else
        ap.airspeed = a.acf_asi_kts ? f.indicated_airspeed : f.indicated_airspeed / UNIT_SM_TO_NM;
}

// Every engine's throttle one step, within 0..acf_throtmax_FWD.
void nudge_throttles(const acf_struct& a, flt_struct& f, float step)
{
    // An engine count outside 0..8 (a damaged aircraft file) would write past
    // the throttle array; it is bounded to the eight engine slots.
    const int engines = bounded_count(a.acf_num_engines, FLT_ENGINES);
    for (int n = 0; n < engines; ++n) f.ENGN_thro[n] = clamp_or(f.ENGN_thro[n] + step, 0.0f, a.acf_throtmax_FWD, 0.0f);
}

void mode_entries(const acf_struct& a, flt_struct& f)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    autopilot_state& s = autopilot;
    bool speed_entry = false, pitch_speed_entry = false, heading_entry = false, vertical_entry = false;

    if (entered(ap.airspeed_mode, s.airspeed_mode_before, AP_AUTOTHROTTLE)) {
        if (!a.acf_ap_keep_speed) capture_speed(a, f);
        speed_entry = true;
    }
    if (entered(ap.heading_mode, s.heading_mode_before, AP_HEADING_HOLD)) {
        if (!a.acf_ap_keep_heading) ap.heading_mag = f.magpsi;
        heading_entry = true;
    }
    const int32_t alt = ap.altitude_mode, alt_before = s.altitude_mode_before;
    if (entered(alt, alt_before, AP_SPEED_BY_PITCH)) {
        if (!a.acf_ap_keep_speed) capture_speed(a, f);
        pitch_speed_entry = vertical_entry = true;
    }
    if (entered(alt, alt_before, AP_VERTICAL_SPEED)) {
        ap.vertical_velocity = f.vh_ind * UNIT.mps_to_fpm;
        vertical_entry = true;
    }
    if (entered(alt, alt_before, AP_ALTITUDE_HOLD)) {
        ap.current_altitude = ap.altitude;
        if (!a.acf_ap_keep_altitude) ap.current_altitude = f.h_ind * UNIT.mtrs_to_ft;
        ap.vertical_velocity = UTIL_max(500.0f, std::fabs(f.vh_ind * UNIT.mps_to_fpm));
        if (alt_before == AP_LEVEL_CHANGE)
            nudge_throttles(a, f, -0.05f * (ap.current_altitude * UNIT.ft_to_mtrs >= f.h_ind ? 1.0f : -1.0f));
        vertical_entry = true;
    }
    if (entered(alt, alt_before, AP_LEVEL_CHANGE)) {
        ap.current_altitude = ap.altitude;
        capture_speed(a, f);
        if (alt_before == AP_ALTITUDE_HOLD)
            nudge_throttles(a, f, 0.05f * (ap.current_altitude * UNIT.ft_to_mtrs >= f.h_ind ? 1.0f : -1.0f));
        pitch_speed_entry = vertical_entry = true;
    }
    if (entered(alt, alt_before, AP_PITCH_HOLD)) {
        ap.pitch_hold_deg = gyro_pitch[GYRO_VACUUM];
        vertical_entry = true;
    }

    // One speed law at a time, and a new mode drops the captured navigation.
    if (speed_entry && (ap.altitude_mode == AP_SPEED_BY_PITCH || ap.altitude_mode == AP_LEVEL_CHANGE))
        ap.altitude_mode = AP_OFF;
    if (pitch_speed_entry && ap.airspeed_mode == AP_AUTOTHROTTLE) ap.airspeed_mode = AP_OFF;
    if (heading_entry && ap.hnav_mode == AP_COURSE_CAPTURED) ap.hnav_mode = AP_OFF;
    if (vertical_entry && ap.vnav_mode == AP_GLIDESLOPE_CAPTURED) ap.vnav_mode = AP_OFF;

    s.airspeed_mode_before = ap.airspeed_mode;
    s.heading_mode_before = ap.heading_mode;
    s.altitude_mode_before = ap.altitude_mode;
}

void captures(const flt_struct& f, int receiver)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const sim_cockpit_radios_block& radio = sim_cockpit_radios;
    if (ap.hnav_mode == AP_COURSE_ARMED && std::fabs(radio.nav1_hdef_deg[receiver]) < 2.5f) {
        ap.hnav_mode = AP_COURSE_CAPTURED;
        ap.heading_mode = AP_OFF;
    }
    if (ap.vnav_mode == AP_GLIDESLOPE_ARMED && std::fabs(radio.nav1_vdef_deg[receiver]) < 0.05f) {
        ap.vnav_mode = AP_GLIDESLOPE_CAPTURED;
        ap.altitude_mode = AP_OFF;
    }
    if (ap.altitude_mode == AP_LEVEL_CHANGE && std::fabs(ap.current_altitude * UNIT.ft_to_mtrs - f.h_ind) < 50.0f) {
        ap.altitude_mode = AP_ALTITUDE_HOLD;
        ap.airspeed_mode = AP_AUTOTHROTTLE;
    }
}

// Knots to Mach above 28,000 ft and back below, at the density of the moment.
void speed_units(const flt_struct& f)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const float root_sigma = clamp_or(std::sqrt(UTIL_max(sim_weather.sigma, 0.0f)), 0.01f, 1.0f, 1.0f);
    const float factor = sim_weather.speed_of_sound_ms * UNIT.mps_to_kts * root_sigma;
    // With no speed of sound yet the product is 0: dividing by it would make the
    // target infinite, so the unit is kept until there is one.
    if (!(factor > 0.0f) || !std::isfinite(factor)) return;
    if (!ap.airspeed_is_mach && f.local_y > MACH_SWITCH_HEIGHT_M) {
        ap.airspeed_is_mach = 1;
        ap.airspeed /= factor;
    } else if (ap.airspeed_is_mach && f.local_y <= MACH_SWITCH_HEIGHT_M) {
        ap.airspeed_is_mach = 0;
        ap.airspeed *= factor;
    }
}

void all_modes_off()
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = AP_OFF;
    ap.backcourse_on = 0;
}

// Speed error E (the target less the speed 10 s ahead) and the acceleration c.
struct speed_error {
    float E;
    float c;
};

speed_error speed_law(const acf_struct& a, const flt_struct& f, float inv_dt)
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    autopilot_state& s = autopilot;
    float v = f.indicated_airspeed;
    float u = ap.airspeed * (a.acf_asi_kts ? 1.0f : UNIT_SM_TO_NM);
    if (ap.airspeed_is_mach) {
        const float sound = sim_weather.speed_of_sound_ms;
        v = sound * f.machno * 2.0f;
        u = ap.airspeed * sound * 2.0f;
    }
    // On the very first frame there is no previous speed: the zero it starts
    // at would read as an acceleration of v/dt and swing the target by ten
    // seconds of it, so the first frame takes the present speed instead.
    if (!s.primed) s.speed_before = v;
    const float c = finite_or((v - s.speed_before) * inv_dt, 0.0f);
    s.speed_before = finite_or(v, 0.0f);
    return {finite_or(u - (10.0f * c + v), 0.0f), c};
}

void autothrottle(const acf_struct& a, flt_struct& f, const speed_error& err, float dt)
{
    const float command = clamp_or(0.1f * err.E + 0.5f - 0.2f * err.c, 0.0f, a.acf_throtmax_FWD, 0.0f);
    const float thro0 = finite_or(f.ENGN_thro[0], 0.0f);
    const float step = UTIL_clamp(command - thro0, -0.05f * dt, 0.05f * dt);
    for (float& t : f.ENGN_thro) t = thro0 + step;
}

// The height (m) of the lowest wheel over the ground under the plane.
float wheel_height(int p, const acf_struct& a, const flt_struct& f)
{
    float lowest = -a.acf_h_eqlbm;   // with no gear, the height the file gives
    bool any = false;
    for (int n = PART_GEAR_FIRST; n <= PART_GEAR_LAST; ++n) {
        if (!ACF_part_present(p, n)) continue;
        float x, y, z;
        PHYS_body_to_local(a.acf_gear_xnodef[n], a.acf_gear_ynodef[n] - a.acf_gear_tirrad[n], a.acf_gear_znodef[n], &x,
                           &y, &z, p);
        lowest = any ? UTIL_min(lowest, y) : y;
        any = true;
    }
    return f.y_agl + lowest;
}

// The height (m) of the lowest wheel over the runway, taken as the glide-slope
// transmitter's elevation. The beam's fade and the flare go by it: by the
// height over the ground under the plane, as a radio altimeter has it, they
// came early over ground that rises before the threshold and late where it
// falls away.
float wheel_height_over_runway(int p, const acf_struct& a, const flt_struct& f, int receiver)
{
    const float over_ground = wheel_height(p, a, f);
    const float surface = f.elevation - a.acf_h_eqlbm - f.y_agl;
    return over_ground + surface - radio_stations.gs_station_elev[receiver];
}

// The slope's own descent rate (m/s, positive down).
float slope_sink(const flt_struct& f, int receiver)
{
    const float b = sim_cockpit_autopilot.backcourse_on ? -1.0f : 1.0f;
    return f.groundspeed * std::sin(b * sim_cockpit_radios.nav1_slope_degt[receiver] * DEG_TO_RAD_FLOAT);
}

// The flare starts at the height the slope's descent covers in FLARE_TIME_SEC.
bool in_flare(int p, const acf_struct& a, const flt_struct& f, int receiver)
{
    return wheel_height_over_runway(p, a, f, receiver) < slope_sink(f, receiver) * FLARE_TIME_SEC;
}

void lateral_law(int p, const acf_struct& a, const flt_struct& f, const control_gains& gains, int receiver, bool on, float dt,
                 float inv_dt)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const sim_cockpit_radios_block& radio = sim_cockpit_radios;
    sim_joystick_block& joy = sim_joystick;
    autopilot_state& s = autopilot;
    const float hdef = finite_or(radio.nav1_hdef_deg[receiver], 0.0f);
    // The first frame takes the present heading and deflection as the previous
    // ones: from zero, the heading alone would read as a turn of psi/dt and
    // drive the heading integrator straight to its limit.
    if (!s.primed) {
        s.psi_before = f.psi;
        s.hdef_before = hdef;
    }
    // The heading change is taken the short way round: crossing north (359 to
    // 1) would otherwise read as a turn of -358 degrees in one frame and drive
    // the heading integrator to its limit.
    const float turn_rate = UTIL_wrap_pm180(f.psi - s.psi_before) * inv_dt;
    const float hdef_rate = (hdef - s.hdef_before) * inv_dt;
    s.psi_before = f.psi;
    s.hdef_before = hdef;

    if (!on) {
        s.heading_integral = s.roll_integral = 0.0f;
        // The servos let go of the yoke, centred: with no stick or pedals to
        // write them again (the keyboard's input chain), their last roll and
        // rudder inputs stayed on after the autopilot went off, through a
        // landing's rollout (a stick writes its own on the next frame).
        if (s.yoke_driven) joy.yolk_roll_ratio = joy.yolk_heading_ratio = 0.0f;
        s.yoke_driven = 0;
        return;
    }
    const float gyro_hdg = gyro_heading[GYRO_VACUUM];
    const float fade = UTIL_clamp(1.0f - 0.1f * std::fabs(f.phi), 0.0f, 1.0f);
    float target = 0.0f, input = 0.0f;
    if (ap.heading_mode == AP_WING_LEVELLER) {
        target = gyro_hdg - 0.5f * f.phi - f.P;
    } else if (ap.heading_mode == AP_HEADING_HOLD) {
        target = ap.heading_mag;
        // The short way round: unwrapped, a target of 350 with the gyro on 10
        // would feed +340 to the integrator while the plane must turn left.
        input = UTIL_wrap_pm180(ap.heading_mag - gyro_hdg) - 10.0f * turn_rate;
    } else {   // the course captured
        const float b = ap.backcourse_on ? -1.0f : 1.0f;
        const float intercept = clamp_or((20.0f * hdef_rate + hdef) * 5.0f * b, -30.0f, 30.0f, 0.0f);
        target = UTIL_wrap_floor(radio.nav1_course_degt[receiver] + sim_flightmodel_position.magnetic_variation +
                                     intercept + (ap.backcourse_on ? 180.0f : 0.0f),
                                 360.0f);
        input = intercept;
    }
    s.heading_integral = clamp_or(s.heading_integral + input * dt * fade * 0.05f, -30.0f, 30.0f, 0.0f);
    const float error = UTIL_wrap_pm180(target + s.heading_integral - gyro_hdg - turn_rate);
    const float bank_limit =
        UTIL_clamp(std::atan(f.groundspeed / UNIT.g_conv * STANDARD_RATE_RAD) * RAD_TO_DEG_FLOAT, 0.0f, 25.0f);
    const bool align = ap.hnav_mode == AP_COURSE_CAPTURED && ap.vnav_mode == AP_GLIDESLOPE_CAPTURED &&
                       in_flare(p, a, f, receiver);
    const float bank = align ? UTIL_min(bank_limit, FLARE_BANK_DEG) : bank_limit;
    float roll_target = error;
    if (align) {
        // The deflection in metres across the runway at the localizer's range
        // (positive: left of the centreline), and on the wheels wings level.
        const float b = ap.backcourse_on ? -1.0f : 1.0f;
        const float* l = radio_stations.nav_station_pos[receiver];
        const float range = std::hypot(l[0] - f.local_x, l[2] - f.local_z);
        const float left_m = b * range * std::sin(hdef * DEG_TO_RAD_FLOAT);
        const float drift_mps = b * range * hdef_rate * DEG_TO_RAD_FLOAT;
        roll_target = f.onground_any ? 0.0f : finite_or(ALIGN_BANK_PER_M * left_m + ALIGN_BANK_PER_MPS * drift_mps, 0.0f);
    }
    if (!sim_operation_override.override_flightdir) ap.flight_director_roll = UTIL_clamp(roll_target, -bank, bank);

    if (ap.autopilot_mode == AP_MODE_SERVOS) {
        const float bank_error = ap.flight_director_roll - f.phi;
        s.roll_integral = clamp_or((1.0f - dt * (1.0f - fade)) * (s.roll_integral + dt * bank_error * fade * 0.001f),
                                   -0.5f, 0.5f, 0.0f);
        joy.yolk_roll_ratio = 0.25f * gains.pilot_roll + (bank_error / 45.0f - f.P / 90.0f + s.roll_integral) * gains.g;
        s.yoke_driven = 1;
        if (align) {
            const float off_course = UTIL_wrap_pm180(radio.nav1_course_degt[receiver] + sim_flightmodel_position.magnetic_variation - gyro_hdg);
            joy.yolk_heading_ratio =
                0.25f * gains.pilot_heading + clamp_or((0.1f * off_course - 0.05f * f.R) * gains.g, -1.0f, 1.0f, 0.0f);
        } else if (a.acf_has_prop_type5) {
            joy.yolk_heading_ratio = 0.25f * gains.pilot_heading + (-0.05f * f.beta - 0.05f * f.R) * gains.g;
        }
    }
}

// The climb rate (m/s) the captured glide slope asks for: the slope's descent,
// the beam's pull on it (its gain held, faded near the ground and bounded, see
// GS_MOST_GAIN) and, near the ground, the flare.
float glide_slope_rate(int p, const acf_struct& a, const flt_struct& f, int receiver)
{
    const sim_cockpit_radios_block& radio = sim_cockpit_radios;
    const float b = sim_cockpit_autopilot.backcourse_on ? -1.0f : 1.0f;
    const float sink = slope_sink(f, receiver);
    float pull = -f.groundspeed * std::sin((10.0f * radio.nav1_vdef_deg[receiver] + b * radio.nav1_slope_degt[receiver]) *
                                           DEG_TO_RAD_FLOAT) +
                 sink;
    const float* g = radio_stations.gs_station_pos[receiver];
    const float distance = UTIL_max(std::hypot(g[0] - f.local_x, g[2] - f.local_z), 1.0f);
    const float gain = 10.0f * f.groundspeed / distance;
    if (gain > GS_MOST_GAIN) pull *= GS_MOST_GAIN / gain;
    const float height = wheel_height_over_runway(p, a, f, receiver);
    pull *= UTIL_clamp((height - GS_NO_PULL_M) / (GS_FULL_PULL_M - GS_NO_PULL_M), 0.0f, 1.0f);
    float w = -sink + UTIL_clamp(pull, -GS_MOST_PULL_MPS, GS_MOST_PULL_MPS);
    const float flare_height = sink * FLARE_TIME_SEC;
    if (height < flare_height)
        w = UTIL_max(w, -TOUCHDOWN_SINK_MPS - (sink - TOUCHDOWN_SINK_MPS) * UTIL_max(height, 0.0f) / flare_height);
    return w;
}

// Every throttle toward idle at RETARD_RATE.
void retard(flt_struct& f, float dt)
{
    for (float& t : f.ENGN_thro) t = UTIL_max(finite_or(t, 0.0f) - RETARD_RATE * dt, 0.0f);
}

void vertical_law(int p, const acf_struct& a, flt_struct& f, const control_gains& gains, int receiver, bool on,
                  bool touched, const speed_error& err, float dt, float inv_dt)
{
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    autopilot_state& s = autopilot;
    const float gyro_pitch_now = gyro_pitch[GYRO_VACUUM];
    // The climb rate over the Earth from one frame's change of elevation (the
    // local frame's vertical leans from the Earth's by up to a degree at the
    // edge of the scenery area, and its vertical speed with it).
    if (!s.primed) s.elevation_before = f.elevation;
    s.climb_rate = finite_or((f.elevation - s.elevation_before) * inv_dt, 0.0f);
    s.elevation_before = f.elevation;

    // Once the wheels have touched there is no slope left to follow: the law
    // read the gear's thump, the runway stopping the sink and the bounce's
    // climb as calls to pitch down and ran the elevator to its nose-down
    // stop within half a second; let go that way, the plane rolled on its
    // nose wheel, turned into the wind and left the runway. From the first
    // touch to the let-go the servo holds the elevator where the flare left it.
    if (on && touched) {
        s.gyro_pitch_before = gyro_pitch_now;
        return;
    }

    if (!on || !s.primed) {
        // Off: the law starts from the present attitude and trim. On from the
        // very first frame the same start is taken, where zeroed values would
        // start the servo's fade-in at clock 0, its trim from 0 and its pitch
        // rate from a jump of the whole pitch in one frame.
        s.engaged_at = frame_clock;
        s.trim_at_engagement = f.elv_trim;
        s.gyro_pitch_before = gyro_pitch_now;
        s.pitch_integral = gyro_pitch_now;
        s.trim_integral = f.elv_trim;
    }
    if (!on) {
        if (a.acf_auto_trimEQ) f.elv_trim += sim_joystick.yolk_pitch_ratio * 0.2f * dt;   // trim follows held stick
        return;
    }

    const bool fd_free = !sim_operation_override.override_flightdir;
    if (ap.altitude_mode == AP_PITCH_HOLD) {
        if (fd_free) ap.flight_director_pitch = 2.0f * ap.pitch_hold_deg - gyro_pitch_now;
    } else if (ap.altitude_mode == AP_SPEED_BY_PITCH || ap.altitude_mode == AP_LEVEL_CHANGE) {
        if (fd_free) ap.flight_director_pitch = -err.E;
    } else {
        float w = 0.0f;   // climb rate wanted, m/s
        if (ap.altitude_mode == AP_VERTICAL_SPEED) {
            w = ap.vertical_velocity * UNIT.fpm_to_mps;
        } else if (ap.altitude_mode == AP_ALTITUDE_HOLD) {
            const float limit = std::fabs(ap.vertical_velocity * UNIT.fpm_to_mps);
            w = UTIL_clamp((ap.current_altitude * UNIT.ft_to_mtrs - f.h_ind) * 0.1f, -limit, limit);
        }
        if (ap.vnav_mode == AP_GLIDESLOPE_CAPTURED) w = glide_slope_rate(p, a, f, receiver);
        w = finite_or(w, 0.0f);
        // On the glide slope, see GS_RATE_GAIN.
        const bool on_slope = ap.vnav_mode == AP_GLIDESLOPE_CAPTURED;
        const float rate_gain = on_slope ? (in_flare(p, a, f, receiver) ? FLARE_RATE_GAIN : GS_RATE_GAIN) : 0.5f;
        const float climb = on_slope ? s.climb_rate : f.vh_ind;
        const float e = finite_or(((w - climb) - 2.0f * f.local_ay) * rate_gain, 0.0f);
        if (fd_free) {
            const float d = UTIL_max(UTIL_max(UTIL_max(std::fabs(1.1f * e), 1.0f), finite_or(f.groundspeed, 0.0f)),
                                     std::fabs(1.1f * w));
            const float path = std::asin(w / d) * RAD_TO_DEG_FLOAT;
            const float correction = std::asin(e / d) * RAD_TO_DEG_FLOAT;
            s.pitch_integral = clamp_or(s.pitch_integral + correction * dt / 10.0f, -10.0f, 10.0f, 0.0f);
            ap.flight_director_pitch = path + correction + s.pitch_integral;
        }
    }
    if (fd_free) ap.flight_director_pitch = clamp_or(ap.flight_director_pitch, -15.0f, 15.0f, 0.0f);

    if (ap.autopilot_mode == AP_MODE_SERVOS) {
        const float r = finite_or((ap.flight_director_pitch - gyro_pitch_now) -
                                      2.0f * (gyro_pitch_now - s.gyro_pitch_before) * inv_dt,
                                  0.0f);
        const float kg = gains.k * gains.g;
        f.elv_trim = r / 45.0f * kg + s.trim_integral;
        s.trim_integral = clamp_or(s.trim_integral + r / 10.0f * kg * dt, -a.acf_elv_trim_dn, a.acf_elv_trim_up, 0.0f);
        // The servo's output fades in over 3 s from the trim at engagement.
        const float from = s.trim_at_engagement, to = f.elv_trim;
        const float ramped = from + (frame_clock - s.engaged_at) * (to - from) / 3.0f;
        f.elv_trim = from < to ? UTIL_clamp(ramped, from, to) : UTIL_clamp(ramped, to, from);
    }
    // The previous gyro pitch follows every frame the law is on, also with the
    // flight director alone: kept from the moment the law came on, switching
    // the servos on later would read the whole pitch change since then as one
    // frame's pitch rate and kick the trim.
    s.gyro_pitch_before = gyro_pitch_now;
}

}  // namespace

void AP_step(int p, const control_gains& gains)
{
    const acf_struct& a = pln[p];
    flt_struct& f = flt[p];
    sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    autopilot_state& s = autopilot;
    const float dt = sim_operation_misc.frame_rate_period;
    const float inv_dt = per_second(dt);

    mode_entries(a, f);
    const int receiver = AP_receiver_index(sim_cockpit_switches.HSI_selector);
    if (!sim_operation_override.override_autopilot) captures(f, receiver);
    speed_units(f);

    if (!PANEL_has_power() || !PANEL_inverter_on()) all_modes_off();
    // A coupled approach lets go at touchdown: left on, the glide slope and
    // the autothrottle flew on along the runway, nose down at approach speed,
    // and the course law steered it off the runway under the brakes. Every
    // mode drops (the horn sounds below), and the throttles close.
    // The wheels count as down once they have been on the ground for
    // TOUCHDOWN_HOLD_SEC in all: let go at the first touch, a plane that
    // bounced flew on with nothing to hold its wings or its heading; counted
    // only while they stayed down, a plane that skipped along the runway
    // was never let go and the course law steered it on under the brakes.
    const bool on_slope = ap.vnav_mode == AP_GLIDESLOPE_CAPTURED;
    s.on_ground_sec = on_slope ? s.on_ground_sec + (f.onground_any ? dt : 0.0f) : 0.0f;
    const bool wheels_down = on_slope && f.onground_any;
    const bool touchdown = s.on_ground_sec >= TOUCHDOWN_HOLD_SEC;
    if (touchdown) all_modes_off();

    const int engaged = AP_any_mode_engaged();
    if (s.engaged_before && !engaged && (a.acf_warn1EQ || a.acf_warn2EQ) && sim_operation_prefs.warn_bb)
        SOUND_play(SOUND_SLOT_AUTOPILOT_OFF, 0, 1.0f, 1.0f);
    s.engaged_before = engaged;

    const speed_error err = speed_law(a, f, inv_dt);
    const bool laws_failed = FLT_slot_failed(p, FAIL_SLOT_AUTOTHROTTLE);
    // The autothrottle closes the throttles in the flare, and they are closed once the wheels touch.
    if (wheels_down || touchdown) {
        for (float& t : f.ENGN_thro) t = 0.0f;
    } else if (ap.airspeed_mode == AP_AUTOTHROTTLE && !laws_failed) {
        if (ap.vnav_mode == AP_GLIDESLOPE_CAPTURED && in_flare(p, a, f, receiver))
            retard(f, dt);
        else
            autothrottle(a, f, err, dt);
    }

    const bool laws_on = !laws_failed && ap.autopilot_mode >= AP_MODE_FLIGHT_DIRECTOR;
    const bool lateral_on = laws_on && (ap.heading_mode == AP_HEADING_HOLD || ap.heading_mode == AP_WING_LEVELLER ||
                                        ap.hnav_mode == AP_COURSE_CAPTURED);
    lateral_law(p, a, f, gains, receiver, lateral_on, dt, inv_dt);

    const bool vertical_on = laws_on && ((ap.altitude_mode >= AP_SPEED_BY_PITCH && ap.altitude_mode <= AP_PITCH_HOLD) ||
                                         ap.vnav_mode == AP_GLIDESLOPE_CAPTURED);
    vertical_law(p, a, f, gains, receiver, vertical_on, on_slope && s.on_ground_sec > 0.0f, err, dt, inv_dt);
    s.primed = 1;
}
