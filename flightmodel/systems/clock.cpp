// Pilot-log hours, the simulation clock and calendar, and touchdowns.
#include "flightmodel/systems/clock.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/surface_state.h"
#include "flightmodel/systems.h"
#include "flightmodel/systems/limits.h"
#include "flightmodel/systems/logbook.h"
#include "world/navdb.h"

systems_clock_state systems_clock;

// Every flight start puts these values back, though they could run on from
// one flight to the next: a start moves the plane without flying it, and kept
// across one they credited the new flight with the old. The airborne hours of
// the flight before went into the new entry's cross-country time at its first
// touchdown; the airport of the last touchdown made a start picked at another
// airport, and flown back to it, a cross-country flight; the last frame's
// ground contact made a ground start after a flight a touchdown; and a start
// whose place lies across local midnight from the last one stepped the date a
// day.
ORVELL_RESET_RECORD(SYSTEMS_clock_reset, systems_clock, flight);

namespace {

constexpr float HOUR_SEC = 3600.0f;
constexpr float DAY_SEC = 86400.0f;
constexpr int YEAR_DAYS = 360;   // the calendar numbers 360 days
constexpr float INSTRUMENT_VISIBILITY_M = 3.0f * UNIT.nm_to_mtrs;
constexpr float NIGHT_ENDS_HOUR = 5.0f;
constexpr float NIGHT_BEGINS_HOUR = 19.0f;
constexpr float LANDING_BOUNCE_SEC = 60.0f;    // touchdowns closer together count one landing

// The airport the plane is at now (-1: none).
int airport_here() { return LOGBOOK_airport_at(flt[0].latitude, flt[0].longitude); }

// A surface the plane can land on lies under it: a runway of any kind (its
// taxiways and aprons too), a deck, a platform or a flat roof, or water for
// an aircraft built for it (its water rudder says so). Plain ground and, for
// the others, water are not: a plane that came to rest there put down
// off-field, and the logbook counts no landing: counted, every forced
// landing in a field and every ditching of a land plane went into the
// logbook as one more landing made.
bool on_landing_surface()
{
    if (surface_state.flat_surface_on != 0 && surface_state.surface_code != SURFACE_NONE) return true;
    return pln[0].acf_water_rud_area > 0.0f && LIMITS_over_water();
}

}  // namespace

void SYSTEMS_clock_and_calendar()
{
    systems_clock_state& s = systems_clock;
    const float dt = sim_operation_misc.frame_rate_period;
    const float h = dt / HOUR_SEC;
    const flt_struct& f = flt[0];

    const float local_hour = sim_time.local_time_sec / HOUR_SEC;   // the previous frame's
    const bool instrument = sim_graphics_view.visibility_effective_m < INSTRUMENT_VISIBILITY_M;
    const bool night = local_hour < NIGHT_ENDS_HOUR || local_hour > NIGHT_BEGINS_HOUR;
    LOGBOOK_add_hours(h, night ? h : 0.0f, instrument ? h : 0.0f);

    if (sim_time.timer_is_running_sec)
        sim_time.timer_elapsed_time_sec = UTIL_wrap_closed(sim_time.timer_elapsed_time_sec + dt, HOUR_SEC);
    sim_time.zulu_time_sec = UTIL_wrap_closed(sim_time.zulu_time_sec + dt, DAY_SEC);

    // A longitude that is not finite would make the local time NaN, and the
    // clock and calendar with it for good: it counts as 0 (the zulu zone).
    const float lon = std::isfinite(f.longitude) ? f.longitude : 0.0f;
    const float t = UTIL_wrap_closed(sim_time.zulu_time_sec + HOUR_SEC * static_cast<float>(GEO_round(lon / 15.0f)),
                              DAY_SEC);
    sim_time.local_time_sec = t;
    if (!s.started) {
        s.started = true;
        s.prev_local_time = t;
        s.prev_onground = f.onground_any;
    }

    int day = sim_time.local_date_days;
    if (s.prev_local_time > DAY_SEC - 1.0f && t < 1.0f) day += 1;
    if (s.prev_local_time < 1.0f && t > DAY_SEC - 1.0f) day -= 1;
    day %= YEAR_DAYS;
    if (day < 0) day += YEAR_DAYS;
    sim_time.local_date_days = day;
    s.prev_local_time = t;

    if (f.onground_any == 0) s.airborne_hours_since_airport += h;
}

void SYSTEMS_touchdowns()
{
    systems_clock_state& s = systems_clock;
    const flt_struct& f = flt[0];
    const float now = sim_time.total_running_time_sec;
    const bool touchdown = s.prev_onground == 0 && f.onground_any != 0;
    // The airports of the touchdowns are where the plane is, not the airport
    // last chosen in the menus: a flight flown elsewhere was logged there.
    const int airport = touchdown || interval_ticks[INTERVAL_ONE_SECOND] ? airport_here() : -1;
    if (!s.start_seen) {
        // A flight that starts on the ground at an airport starts there.
        s.start_seen = true;
        if (f.onground_any != 0) s.prev_airport = airport_here();
        s.have_prev_airport = s.prev_airport >= 0;
    }
    if (touchdown) {
        // A plane let down onto the ground by its start (a ground start, a
        // crash's restart on the runway) leaves the ground for a few frames
        // as it settles: that is no flight, and its touchdown no landing.
        if (s.last_landing_time < now - LANDING_BOUNCE_SEC && s.airborne_sec >= LANDING_MIN_AIRBORNE_SEC)
            s.landing_pending = true;
        // A touchdown away from every airport is no ground contact at an
        // airport: it neither earns cross-country time nor becomes the
        // airport the next one is compared with.
        if (airport >= 0 && !s.have_prev_airport) {
            s.have_prev_airport = true;
            s.prev_airport = airport;
        }
        if (airport >= 0 && airport != s.prev_airport) {
            LOGBOOK_add_cross_country(s.airborne_hours_since_airport);
            s.airborne_hours_since_airport = 0.0f;
        }
        if (airport >= 0) s.prev_airport = airport;
    }

    // A touchdown is counted as a landing once the plane has come to rest on a
    // surface it can land on, unharmed. Counted at the touchdown, every crash
    // was a landing; a plane that lifts off again, or is held where it
    // crashed, has not landed.
    // It must stay at rest a moment: the crash is judged after this stage,
    // and a plane that falls to the ground without speed is at rest in the
    // frame it crashes.
    // Off the surface long enough for a touchdown from the air, it has lifted
    // off; a shorter hop is a bounce or a skip over a wave on the way to
    // rest. (Cleared at the first frame off the surface, a float plane's
    // landing on waves, which skips it off the crests as it slows, was never
    // counted.)
    const bool lifted_off = f.onground_any == 0 && s.airborne_sec >= LANDING_MIN_AIRBORNE_SEC;
    if (lifted_off || crash_hold_until > frame_clock) s.landing_pending = false;
    const bool at_rest =
        s.landing_pending && f.onground_any != 0 && f.groundspeed < LANDING_AT_REST_MPS && on_landing_surface();
    s.at_rest_sec = at_rest ? s.at_rest_sec + sim_operation_misc.frame_rate_period : 0.0f;
    if (at_rest && s.at_rest_sec >= LANDING_AT_REST_SEC) {
        s.landing_pending = false;
        s.at_rest_sec = 0.0f;
        LOGBOOK_count_landing(airport_here());
        s.last_landing_time = now;
    } else if (interval_ticks[INTERVAL_ONE_SECOND] || touchdown) {
        // The flight ends where the plane is: the arrival follows it. Written
        // only at a counted landing, from the airport chosen in the menus
        // (the one the flight started from), every entry named its departure
        // as its arrival, and a flight that ended without a landing (quit in
        // the air, parked after a taxi to the next field, a crash) kept it too.
        LOGBOOK_set_arrival(airport);
    }
    s.airborne_sec = f.onground_any == 0 ? s.airborne_sec + sim_operation_misc.frame_rate_period : 0.0f;
    s.prev_onground = f.onground_any;
}
