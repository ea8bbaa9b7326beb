// The fleet's flight tests: each procedure of a type's flight manual (stall,
// climb, cruise, static run-up, take-off run, glide, water run, brakes,
// approach) flown by the test pilot on the joystick seam through the whole
// simulation cycle, and the figure it comes back with. The table puts each
// figure beside the published figure of the aircraft's class; the flight
// tests assert it and tools/fleet_table prints it.
//
// Every flight starts the world afresh: the Earth, still standard air, a
// flat sea-level world with one long hard runway (or a lake), the aircraft
// loaded from the built data folder at the weight its row names.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "aircraft/flight_start.h"
#include "tests/support/test_pilot.h"

namespace fleet_kit {

// The program folder the aircraft files are read from (the build folder,
// ending in '/'). Set once before any flight.
void use_data_folder(const std::string& folder);

// Takes the test pilot off the joystick seam and the silent recorder off the
// sound seam, so what runs after the flights reads the real devices again.
void leave();

// Prints the state twice a second while flying (for the table's --trace).
void trace(bool on);

// Writes the force build-up's report of the frame at that frame clock (s)
// of each flight to ORVELL.OUT in the working folder (for the table's --report).
void report_frame(float seconds);

// Flight conditions shared by the procedures.
struct setup {
    const char* file;            // the aircraft's file name, "Orvell Trainer.acf"
    float weight_kg;             // 0: the aircraft's maximum weight; below 0: as the start loads it
    float hz = 60.0f;            // frames a second
};

// A stall from a 1 kt/s deceleration, power off, wings level: the 1-g stall
// speed (the least of IAS x sqrt(load factor) before the break), and whether
// the wing reached its stalling angle.
struct stall_result {
    float kias;
    bool stalled;
    float alpha_deg;   // the most angle of attack reached
};
// trim: 0 holds the trim set for 1.3 times the file's stall speed (the
// elevator alone stalls it); 1 runs the trim fully nose up first.
stall_result fly_stall(const setup& s, float flaps, bool gear_down, int trim);

// Rate of climb (ft/min) at a held IAS, full power, clean, at `feet` above sea level.
float fly_climb(const setup& s, float ias_kt, float feet);

// True airspeed (kt) in level flight at `feet`: full power when `power` is 0,
// otherwise the throttle set for that share of the rated power.
float fly_level(const setup& s, float feet, float power);

// Mach number in level flight at `feet` at full thrust.
float fly_level_mach(const setup& s, float feet);

// Engine speed (rpm) standing on the brakes with the throttle at that setting.
float fly_static_rpm(const setup& s, float throttle);

// Ground roll (ft) from brake release at full power to lift-off, rotated to
// `pitch_deg` at `rotate_kt`.
float fly_take_off(const setup& s, float flaps, float rotate_kt, float pitch_deg);

// Glide ratio at a held IAS with the throttle closed, from `feet`; on an
// aircraft without engines, whose throttle lever works the speed brakes, with
// `brakes` of their travel out.
float fly_glide(const setup& s, float ias_kt, float feet = 4000.0f, float brakes = 0.0f);

// Water run (ft) from full power on still water to lift-off.
float fly_water_run(const setup& s, float flaps);

// Afloat on a lake at sea level, flaps up, the throttle closed with the
// engine at idle or (engine false) its ignition off, on still water or
// (waves) the first start's sea: waves 1 m high and 12 m long from the
// north, running south. Left 10 s for the propeller to run down from the
// start's approach, then set going at `start_kt` along its heading (east)
// and nothing touched for `seconds`: its mean velocity over the last
// `window` seconds (kt), along the waves' travel (south) and across it
// (east), the most pitch or bank it reached (deg) and its mean height above
// ground less over the sea (ft); not a number when it is no longer afloat.
struct afloat {
    bool waves = false, engine = false;
    float start_kt = 0.0f, seconds = 60.0f, window = 10.0f;
};
struct water_drift {
    float along_kt, across_kt, most_tilt_deg;
    float agl_over_sea_ft = NAN;
};
water_drift fly_afloat(const setup& s, const afloat& how);
// Afloat at rest as above, engine off, struck by a steady wind of `wind_kt`
// from the left: the air's push along the heading (N, aft positive).
float fly_beam_wind(const setup& s, float wind_kt);

// Groundspeed (kt) `seconds` after every brake is let off, from rest on the
// runway with the throttles closed, the engines settled at idle first.
float fly_idle_creep(const setup& s, float seconds);

// How far (m) the aircraft moves in 20 s at full power on its parking brake
// (toe = false) or its full toe brakes (toe = true), after the power is up,
// on a dry runway or (icy) an icy one below freezing.
float fly_brakes(const setup& s, bool toe, bool icy);

// Parked on the runway with the throttle closed, the parking brake on (or,
// `braked` false, off), in the first start's weather at `celsius` at sea
// level with a steady wind of `wind_kt` straight across from the left, for a
// minute: the most its heading swung (deg) and how far it moved (m).
struct parked_result {
    float most_swing_deg, moved_m;
};
parked_result fly_parked(const setup& s, float wind_kt, bool braked, float celsius);

// Resting on the runway or (water) a lake at sea level, turned to
// `bank_deg` (180: on its back), lifted `lift_m` and let fall so that it
// comes down at `sink_mps` (or from rest, when the fall alone is faster)
// where it rested: nothing touched for 3 s, the preference to hold a
// crashed aircraft on. 1 when the crash check found a crash, else 0.
float fly_drop(const setup& s, float sink_mps, float lift_m, float bank_deg, bool water, float pitch_deg = 0.0f);

// A rollout with every control let go, on the program's own path: touched
// down at `touch_kt` along the runway, landing flaps, the throttle closed,
// the brakes off (or, `braked`, both put on from the touchdown by the brakes
// key), in the first start's weather at `celsius` at sea level with a steady
// wind of `cross_kt` straight across the runway from the left, the input
// chain without pedals and the once-a-second work running; flown for
// `seconds`, until it stops or until a wheel leaves the 200-ft runway. The
// heading's change 16 s after touching down (or where it left the runway,
// when that came first; deg), the most its outermost wheel strayed from the
// centreline (m) and whether it came to rest on the runway.
struct rollout_result {
    float heading_change_deg, most_off_m;
    bool stopped;
};
rollout_result fly_rollout(const setup& s, float touch_kt, float cross_kt, float seconds, bool braked = false,
                           float celsius = 15.0f);

// The coupled approach from the approach start `sub_mode` (3 or 10 nm) onto
// the test field's runway, its glide slope (3 degrees) 300 m in from the
// threshold: the gear down, NAV 1 on the localizer and the course,
// glide-slope and (with engines) speed keys pressed, in the first start's
// weather at -5 C with a wind of `cross_kt` from the left (from the right, below 0) and the first
// start's gusts and turbulence, the input chain without pedals.
// Where it touched down past the threshold (m) and its descent then
// (ft/min), the most glide-slope deviation from 200 ft to the threshold
// (dots), and whether every mode was off and the throttles closed 3 s after
// touchdown.
struct coupled_result {
    float touchdown_m, touchdown_fpm, most_dots;
    bool let_go;
};
coupled_result fly_coupled_approach(const setup& s, float cross_kt, int sub_mode = SIT_APPROACH_3NM);

// Straight after fly_coupled_approach, the same flight rolled on to rest:
// the brakes put on by the brakes key, nothing else touched, for at most
// `seconds`. From there to rest (or to the end), the most its centre of
// gravity and its outermost wheel stood off the runway's centreline (m),
// the most its heading turned from the runway's (deg), and whether it came
// to rest on the runway.
struct coupled_rollout_result {
    float most_off_m, wheel_off_m, heading_change_deg;
    bool stopped;
};
coupled_rollout_result roll_out_after_let_go(float seconds);

// A trimmed 3-degree approach at a held IAS, landing flaps and gear down:
// the pitch attitude (deg) and where the stick sits (-1..1, aft positive).
struct approach_result {
    float pitch_deg;
    float stick;
};
approach_result fly_approach(const setup& s, float ias_kt, float flaps);

// The air of a flight: still standard air, or the weather a first start
// has (-5 C and rain at sea level, a cloud deck at 5,000 ft; a clear sky at
// 15 C when `clear` is set) with a steady wind from `from_deg` (true), its
// gusts (the speed swings by up to `gust_kt` and the direction by up to
// `swing_deg` each second) and its turbulence (0..9).
struct launch_air {
    bool weather = false;
    float wind_kt = 0.0f, from_deg = 0.0f, gust_kt = 0.0f, swing_deg = 0.0f, turbulence = 0.0f;
    bool clear = false;
};
// The Location menu's random start, taken as a start code by the flights below.
constexpr int RANDOM_START = 414;

// Hands off from a start of that situation code and sub-mode (the airport
// starts at the test field; the carrier, frigate, platforms and a rooftop
// landing site 10 km north of it, the rooftop approach in a steady 20-kt
// wind from 30 degrees; the airliner as the tanker at 400 kt and 25,000 ft),
// as the start leaves flaps, trims and throttle (or with the throttle lever
// moved to `throttle` at once, when that is 0 or more), in that air:
// nothing else touched for `seconds`. The least and most pitch and the most
// bank reached (deg).
struct hands_off_result {
    float least_pitch_deg, most_pitch_deg, most_bank_deg;
    float last_bank_deg = 0.0f;   // the bank at the end, right wing down positive
};
hands_off_result fly_hands_off(const setup& s, float seconds, int code, int sub_mode, float throttle = -1.0f,
                               const launch_air& air = {});

// A start in company of a second aircraft (the formation, air refuelling 1
// behind the airliner at 400 kt and 25,000 ft, the drop from the airliner at
// 500 kt and 45,000 ft, let go 2 s after the start as the space bar does) or
// the random start,
// then nothing touched for `seconds` (after the drop). The indicated airspeed
// of the start over 1.3 times the file's stall speed, the greater of it over
// the never-exceed speed and the Mach number over the Mach limit, and the
// pitch and bank as in fly_hands_off (meeting the ground counts as 90 degrees
// of pitch).
struct company_result {
    float over_stall, over_limit;
    hands_off_result after;
};
// The flight before (none for code -1), hands off, in still air or the first start's; then the draws reset.
struct flown_before { int code = -1, sub_mode = 0; float seconds = 0.0f; bool weather = false; uint32_t seed = 1; };
company_result fly_in_company(const setup& s, int code, float seconds, const flown_before& before = {});

// Dived and let go: from its approach speed at 6,000 ft, clean, throttle
// 0.75, trims 0, the pilot holds the nose 40 degrees down until the airspeed
// reaches 120 KIAS or 1.5 times the approach speed, whichever is more, then
// lets go of everything for `seconds`. The least and most pitch and the most
// bank reached after letting go; meeting the ground counts as 90 degrees of pitch.
hands_off_result fly_dive_let_go(const setup& s, float seconds);

// A launch hands off from the runway start (code: the winch or the aero-tow)
// in that air: the parking brake let off after 10 s, the winch's cable pulls
// until it lets go, the tow rope until the glider is 2,000 ft above the
// ground, where the pilot lets it go; then nothing is touched for `seconds`.
// The height above the ground at the release (ft, not a number when the
// cable never lets go within four minutes or the glider meets the ground on
// the rope), the most airspeed (KIAS), bank in the air and pitch on the
// rope, and the pitch and bank after the release as in fly_hands_off
// (meeting the ground counts as 90 degrees of pitch).
struct launch_result {
    float release_ft, top_kias, most_bank_deg, most_pitch_deg;
    hands_off_result after;
};
launch_result fly_launch(const setup& s, int code, const launch_air& air, float seconds);

// One of the orbiter's approaches from orbit (codes 3207..3210) to its
// landing base, let go for `seconds`: the most pitch or bank (deg, either
// way) reached; meeting the ground, or a state that is no number, counts as 90.
float fly_orbiter_approach(const setup& s, int code, float seconds);

// The phugoid of level flight at `feet` and `kias` in still standard air:
// started in flight there (trimmed by the start), heading north through the
// local frame's centre, the airspeed raised by 10 kt after 5 s, the stick
// and pedals let go, the ailerons holding the wings level. Its period (s) and
// damping ratio, fitted to the true airspeed every 3 s from 20 to 140 s
// after the raise as a damped swing on a slow drift.
struct phugoid_result {
    float period_s, damping;
};
phugoid_result fly_phugoid(const setup& s, float feet, float kias);

// The carrier's catapult start (the carrier 10 km north, steaming north on a
// calm sea), the plane set down 4 m aft on the catapult's spot: the parking
// brake let off after 1 s, nothing else touched for
// 5 s, then the collective (the throttle lever of a helicopter) moved to
// `collective_deg` of blade pitch for 5 s. How far the plane moved over the
// deck while it stood (m), and how high above the deck it was at the end (m).
struct deck_result {
    float moved_m, lifted_m;
};
deck_result fly_deck_start(const setup& s, float collective_deg);

// One moment of a flight: where the plane is and how it moves, its attitude,
// angle of attack, engine and propeller speeds, trim, ground contact and
// cabin altitude.
struct flight_sample {
    double x, y, z;
    float theta, psi, phi;
    float vx, vy, vz;
    float p, q, r;
    float alpha, engine_rad_s, prop_rad_s, elv_trim;
    int32_t on_ground;
    float cabin_m;
    bool operator==(const flight_sample&) const = default;
};

// The weather's wind in every layer, steady (no gusts), and the plane already
// in it.
void steady_wind(float kt, float from_deg);

// The fleet's world made afresh (as every table flight begins) with the
// aircraft of `s` loaded; false when the data folder has no such aircraft.
bool open_world(const setup& s);

// From the world as it stands, nothing reset: the random generator seeded at
// 1, the start of that situation code and sub-mode (then `after_start`, when
// given), then `seconds` of flight with the test pilot holding `held`
// throughout; the flight once a second.
std::vector<flight_sample> fly_from_start(int code, int sub_mode, float seconds, const test_pilot::pilot_hands& held,
                                          const std::function<void()>& after_start = {});

// One row of the fleet's table.
struct row {
    std::string aircraft;   // "trainer"
    std::string quantity;   // what is measured, with its unit
    float reference;        // the published figure of the class
    float low, high;        // what the model may fly
    std::function<float()> fly;
    // The speed the aircraft's file gives for this figure (read from the
    // record the flight loaded), which must agree with it within 5%; none
    // for most rows.
    float (*file_speed)() = nullptr;
    const char* file_field = "";
    // Why the aircraft does not yet fly this figure within its band, for a
    // row still open (the flight tests fly it but do not hold it to the band).
    const char* open = nullptr;
    // Rows that read one flight (flown once, by whichever of them asks first)
    // carry the same key, so a test flies them together; none for a row that
    // flies its own.
    const void* flight = nullptr;
};

// The rows of one aircraft ("trainer", "airliner", "twin", "striker",
// "glider", "floatplane", "orbiter", "helicopter"; "afloat": the float
// plane's rows afloat, flown apart), or of all of them for an empty name.
std::vector<row> table(const std::string& aircraft);

// The ratio of a row's measured figure to its reference, less one.
inline float off(const row& r, float measured) { return r.reference != 0.0f ? measured / r.reference - 1.0f : 0.0f; }

}  // namespace fleet_kit

// An empty world on flat ground at height 0 around a test flight: no
// airports, navaids, land use, ships, fires, objects or traffic runway, no
// peers heard, no replay, the frame clock and its interval ticks at 0.
void clear_world_around_the_flight();
