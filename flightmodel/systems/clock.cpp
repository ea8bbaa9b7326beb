// Pilot-log hours, the simulation clock and calendar, and touchdowns.
#include "flightmodel/systems/clock.h"

#include <cmath>

#include "core/constants.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/logbook.h"
#include "world/navdb.h"

systems_clock_state systems_clock;

ORVELL_RESET_RECORD(SYSTEMS_clock_reset, systems_clock, flight);

namespace {

constexpr float HOUR_SEC = 3600.0f;
constexpr float DAY_SEC = 86400.0f;
constexpr int YEAR_DAYS = 360;   // the calendar numbers 360 days
constexpr float INSTRUMENT_VISIBILITY_M = 3.0f * UNIT.nm_to_mtrs;
constexpr float NIGHT_ENDS_HOUR = 5.0f;
constexpr float NIGHT_BEGINS_HOUR = 19.0f;
constexpr float LANDING_BOUNCE_SEC = 60.0f;    // touchdowns closer together count one landing

const char* airport_id_at(int index)
{
    if (index < 0 || index >= static_cast<int>(airport_table.size())) return "";
    return airport_table[static_cast<size_t>(index)].id;
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
    const int airport = start_selection.airport_index;
    if (s.prev_onground == 0 && f.onground_any != 0) {
        if (s.last_landing_time < sim_time.total_running_time_sec - LANDING_BOUNCE_SEC) {
            LOGBOOK_count_landing(airport_id_at(airport));
            s.last_landing_time = sim_time.total_running_time_sec;
        }
        if (!s.have_prev_airport) {
            s.have_prev_airport = true;
            s.prev_selected_airport = airport;
        }
        if (airport != s.prev_selected_airport) {
            LOGBOOK_add_cross_country(s.airborne_hours_since_airport);
            s.airborne_hours_since_airport = 0.0f;
        }
        s.prev_selected_airport = airport;
    }
    s.prev_onground = f.onground_any;
}
