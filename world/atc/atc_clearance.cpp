// The flight plan's controllers, from clearance delivery to the ramp:
// departure, center with its en-route checks, approach, tower and ground.
#include <cmath>
#include <cstring>

#include "core/geo.h"
#include "core/simvars.h"
#include "flightmodel/flt.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"

namespace {

const flt_struct& user() { return flt[0]; }
double now() { return sim_time.total_running_time_sec; }

void append_frequency(char* out) { ATC_frequency_words(out, 118 + atc_random(17), 5 * atc_random(20)); }

// An airport index outside the table names no airport (an empty name)
// rather than reading past the table.
void append_name(char* out, int airport)
{
    char name[TEXT_SIZE] = {};
    if (const airport_record* a = atc_airport(airport)) atc_copy_name(a->name, APT_NAME_SIZE, name);
    UTIL_strcat(out, name);
}

void append_pressure(char* out)
{
    atc_append_pressure(out, sim_physics.earth_pressure_p * static_cast<double>(UNIT.pa_to_inhg));
}

// "<hours> <minutes> Z" of a time of day in seconds.
void append_zulu(char* text, float seconds)
{
    int hours = 0, minutes = 0;
    UTIL_hours_minutes(seconds, hours, minutes);
    atc_append_int(text, hours);
    UTIL_strcat(text, " ");
    atc_append_int(text, minutes);
    UTIL_strcat(text, " Z");
}

// Says the text and moves the plan on to `phase`, where the next controller
// waits for the pilot to check in.
void hand_off(const char* text, int phase)
{
    atc_speak(text);
    atc_state.atc_phase = phase;
    atc_state.atc_checkin_expected = 1;
}

// "CONTACT <destination><unit>" and a frequency, e.g. " TOWER ON ".
void append_contact(char* text, const char* unit)
{
    UTIL_strcat(text, "CONTACT ");
    append_name(text, atc_state.atc_dest_airport);
    UTIL_strcat(text, unit);
    append_frequency(text);
}

void clearance_delivery(char* text)
{
    atc_state_block& s = atc_state;
    // A start airport index outside the table would read past it; such a
    // departure counts as a field at sea level without a tower instead.
    const airport_record* dep = atc_airport(start_selection.airport_index);
    const int field_ft = dep ? atc_round(dep->elevation * M_TO_FT_DOUBLE) : 0;
    const int filed = atc_round(s.atc_plan_altitude / 500.0) * 500;
    s.atc_initial_altitude = atc_round((field_ft + 2000) / 500.0) * 500;
    s.atc_plan_altitude = filed;
    if (s.atc_initial_altitude > filed - 500) {
        int initial = filed - 500;
        if (initial < 1000) initial = 1000;
        if (initial > 10000) initial = 10000;
        s.atc_initial_altitude = initial;
    }
    const bool on_ground = user().onground_all != 0;
    const bool towered = dep && dep->tower_flag;
    if (on_ground && towered) {
        if (s.atc_plan_option1) {
            UTIL_strcat(text, "CLEARED AS FILED MAINTAIN AT OR BELOW ");
            atc_append_int(text, s.atc_initial_altitude);
            UTIL_strcat(text, " EXPECT ");
            atc_append_int(text, s.atc_plan_altitude);
            UTIL_strcat(text, " 10 MINUTES AFTER DEPARTURE. DEPARTURE WILL BE ON ");
        } else {
            UTIL_strcat(text, "YOU ARE CLEARED AS FILED MAINTAIN AT OR BELOW ");
            atc_append_int(text, s.atc_initial_altitude);
            UTIL_strcat(text, " INITIALLY, EXPECT HIGHER AFTER THAT. DEPARTURE WILL BE ON ");
        }
        append_frequency(text);
        UTIL_strcat(text, " SQUAWK ");
        atc_append_squawk(text);
        UTIL_strcat(text, ", ADVISE WHEN READY TO TAXI.");
        s.atc_phase = 3;
    } else {
        if (on_ground && s.atc_plan_option1) {
            UTIL_strcat(text, "CLEARED AS FILED MAINTAIN AT OR BELOW ");
            atc_append_int(text, s.atc_initial_altitude);
            UTIL_strcat(text, " EXPECT ");
            atc_append_int(text, s.atc_plan_altitude);
            UTIL_strcat(text, " 10 MINUTES AFTER THAT. CONTACT CENTER ON ");
            append_frequency(text);
            UTIL_strcat(text, " WHEN AIRBORNE, SQUAWK ");
            atc_append_squawk(text);
            // A non-finite time would make the hour conversion's integer cast
            // undefined (a garbage time spoken); it reads as 0 instead.
            const float zulu = std::isfinite(sim_time.zulu_time_sec) ? sim_time.zulu_time_sec : 0.0f;
            UTIL_strcat(text, ", TIME NOW ");
            append_zulu(text, zulu);
            UTIL_strcat(text, ", CLEARANCE VOID IF NOT OFF BY ");
            append_zulu(text, zulu + 600.0f);
            UTIL_strcat(text, ".");
        } else if (on_ground) {
            UTIL_strcat(text, "CLEARED AS FILED. CONTACT CENTER ON ");
            append_frequency(text);
            UTIL_strcat(text, " WHEN AIRBORNE. SQUAWK ");
            atc_append_squawk(text);
            UTIL_strcat(text, ".");
        } else {
            UTIL_strcat(text, "CLEARED AS FILED SQUAWK ");
            atc_append_squawk(text);
            UTIL_strcat(text, ", CONTACT CENTER ");
            append_frequency(text);
            UTIL_strcat(text, ".");
        }
        s.atc_checkin_expected = 1;
        s.atc_phase = 5;
    }
    atc_speak(text);
}

void enroute_check(char* text)
{
    atc_state_block& s = atc_state;
    atc_clearance.atc_enroute_check_time = now() + 15.0 + 15.0 * atc_chance();
    // The approach hand-off: 20 nm at sea level growing to 100 nm at 30,000 ft.
    const double handoff_m = 37040.0 + user().local_y * (185200.0 - 37040.0) / 9144.0;
    // A destination outside the table, or without runways, has no position:
    // no hand-off distance is measured rather than reading past the tables.
    float lat, lon;
    if (atc_airport_point(s.atc_dest_airport, lat, lon)) {
        float x, y, z;
        GEO_latlon_to_local(x, y, z, lat, lon, 0.0);
        if (std::hypot(x - user().local_x, z - user().local_z) < handoff_m) {
            append_contact(text, " APPROACH ON ");
            hand_off(text, 6);
            return;
        }
    }
    const int a = atc_round(user().h_ind * M_TO_FT_DOUBLE);
    const int f = s.atc_plan_altitude;
    const double vs = user().vh_ind;
    if ((a > f + 200 && vs > -2.0) || (a < f - 200 && vs < 2.0)) {
        UTIL_strcat(text, "YOUR FLIGHT PLAN CALLS FOR ");
        atc_append_int(text, f);
        if (s.atc_plan_sir) UTIL_strcat(text, " FEET WHILE ENROUTE, SIR. I WILL NEED YOU TO ");
        if (s.atc_plan_madam) UTIL_strcat(text, " FEET WHILE ENROUTE, MADAM. I WILL NEED YOU TO ");
        UTIL_strcat(text, a < f ? "CLIMB" : "DESCEND");
        UTIL_strcat(text, " AND MAINTAIN THAT ALTITUDE. YOU MAY AMEND YOUR PLAN IF YOU WANT A DIFFERENT ALTITUDE.");
        atc_speak(text);
        return;
    }
    if (user().indicated_airspeed > 250.0f && user().local_y * M_TO_FT_DOUBLE < 10000.0) {
        UTIL_strcat(text, "I WILL NEED YOU TO STAY BELOW 2 5 0 KNOTS WHILE BELOW TEN THOUSAND FEET.");
        atc_speak(text);
        return;
    }
    if (atc_clearance.atc_vectors_given) {
        atc_clearance.atc_vectors_given = 0;
        UTIL_strcat(text, "PROCEED BACK ON COURSE TO ");
        append_name(text, s.atc_dest_airport);
        atc_speak(text);
        return;
    }
    atc_clearance.atc_vectors_given = ATC_traffic_advisory(1, 1);
}

void approach_clearance(char* text)
{
    atc_state_block& s = atc_state;
    int runway, end, found, localizer;
    ATC_active_runway(s.atc_dest_airport, runway, end, found, localizer, 1);
    const navaid_record* n = found ? atc_navaid(localizer) : nullptr;
    if (s.atc_plan_option1 && n) {
        char request[TEXT_SIZE];
        char name[TEXT_SIZE];
        atc_copy_name(n->name, APT_NAME_SIZE, name);
        UTIL_strcat3(n->kind == NAV_ILS_LOC ? "REQUEST ILS" : "REQUEST LOC", name, request);
        ATC_handle_request(request);
        return;
    }
    UTIL_strcat(text, s.atc_plan_option1 ? "CLEARED FULL APPROACH OF YOUR CHOICE." : "CLEARED VISUAL APPROACH OF YOUR CHOICE.");
    s.atc_plan_filed = 0;
    s.atc_plan_active = 0;
    atc_speak(text);
}

bool near_towered_destination()
{
    const airport_record* d = atc_airport(atc_state.atc_dest_airport);
    float lat, lon;
    if (!d || !d->tower_flag || !atc_airport_point(atc_state.atc_dest_airport, lat, lon)) return false;
    return std::hypot(user().latitude - lat, user().longitude - lon) < 0.2;
}

}  // namespace

void ATC_clearance_and_handoffs(int pilot_call)
{
    atc_state_block& s = atc_state;
    if (s.atc_phase != 4) atc_clearance.atc_center_handoff_time = ATC_FAR_FUTURE;
    if ((s.atc_phase == 5 || s.atc_phase == 6) && !pilot_call && s.atc_checkin_expected) return;

    char text[TEXT_SIZE] = {};
    ATC_callsign(text, 1);
    switch (s.atc_phase) {
    case 0: clearance_delivery(text); break;
    case 3:
        if (user().y_agl > 200.0f) {
            UTIL_strcat(text, "CONTACT DEPARTURE.");
            hand_off(text, 4);
        }
        break;
    case 4:
        if (pilot_call) {
            UTIL_strcat(text, "RADAR CONTACT. CLIMB TO ");
            atc_append_int(text, s.atc_plan_altitude);
            UTIL_strcat(text, " APPROVED, PROCEED ON COURSE TO ");
            append_name(text, s.atc_dest_airport);
            UTIL_strcat(text, ".");
            atc_speak(text);
            atc_clearance.atc_center_handoff_time = now() + 15.0 + 30.0 * atc_chance();
        } else if (now() > atc_clearance.atc_center_handoff_time) {
            UTIL_strcat(text, "CONTACT CENTER ");
            append_frequency(text);
            UTIL_strcat(text, ".");
            hand_off(text, 5);
        }
        break;
    case 5:
        if (pilot_call) {
            UTIL_strcat(text, "ROGER PROCEED ON COURSE TO ");
            append_name(text, s.atc_dest_airport);
            UTIL_strcat(text, " ");
            append_pressure(text);
            UTIL_strcat(text, ". ");
            if (atc_chance() < 0.3) {
                UTIL_strcat(text, " RESET TRANSPONDER SQUAWK ");
                atc_append_squawk(text);
                UTIL_strcat(text, ".");
            }
            atc_speak(text);
            atc_clearance.atc_enroute_check_time = now() + 15.0 + 30.0 * atc_chance();
        } else if (now() > atc_clearance.atc_enroute_check_time) {
            enroute_check(text);
        }
        break;
    case 6: {
        if (pilot_call) {
            char answer[TEXT_SIZE];
            UTIL_strcpy(text, answer);
            approach_clearance(answer);
        }
        if (!s.atc_request_pending && near_towered_destination()) {
            append_contact(text, " TOWER ON ");
            hand_off(text, 7);
        }
        break;
    }
    case 7:
        if (pilot_call) {
            ATC_wind_phrase(text, atc_trunc(static_cast<double>(sim_weather.wind_direction_degt[0]) +
                                            sim_flightmodel_position.magnetic_variation),
                            atc_trunc(sim_weather.wind_speed_kt[0]), atc_trunc(sim_weather.shear_direction_degt[0]),
                            atc_trunc(sim_weather.shear_speed_kt[0]));
            UTIL_strcat(text, ", CLEARED TO LAND ");
            ATC_runway_name(text, s.atc_dest_airport, 1);
            UTIL_strcat(text, " ");
            append_name(text, s.atc_dest_airport);
            UTIL_strcat(text, ".");
            atc_speak(text);
            s.atc_phase = 8;
        }
        break;
    case 8:
        if (user().onground_all && user().groundspeed < 10.0f) {
            UTIL_strcat(text, "MAKE NEXT TURN-OFF CONTACT GROUND ");
            ATC_frequency_words(text, 121, 10 * atc_random(10));
            UTIL_strcat(text, " WHEN CLEAR.");
            hand_off(text, 9);
        }
        break;
    case 9:
        if (pilot_call) {
            UTIL_strcat(text, "TAXI TO THE RAMP.");
            atc_speak(text);
            s.atc_plan_filed = 0;
            s.atc_plan_active = 0;
        }
        break;
    default: break;
    }
}
