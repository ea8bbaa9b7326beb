// Screen 24: the flight plan form (flight rules, the pilot's form of address,
// departure, cruise altitude, destination and its landing runway) and the
// flight-plan message composed from it every frame.
//
// Writes the flight-plan fields of the ATC state block (atc_state: rules,
// form of address, departure and destination ids, cruise altitude, the
// destination airport, runway and end), under the names the ATC service
// gives them: the instrument and visual rules boxes are atc_plan_option1 and
// atc_plan_option2, the form of address atc_plan_sir and atc_plan_madam, the
// identifiers atc_plan_from_id and atc_plan_to_id, the cruise altitude
// atc_plan_altitude, the destination atc_dest_airport, atc_dest_runway and
// atc_dest_runway_end;
// reads the user's aircraft's Vne, first engine type, tail number and file
// name, the local and zulu time, the plane's position, the airport table and
// the fuel endurance.
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/screen.h"
#include "core/simvars/time.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "world/runway_label.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"
#include "world/atc/atc_state.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

constexpr int AIRPORT_KIND = 1;
constexpr int ID_CHARS = 4;

// The plan's phrases, in the program's own words.
constexpr const char* GREETING[3] = {"Good morning, ", "Good afternoon, ", "Good evening, "};
constexpr const char* IFR_PHRASE = "requesting an IFR clearance, ";
constexpr const char* VFR_PHRASE = "filing a VFR flight plan, ";
constexpr const char* AIRCRAFT_WORD = "aircraft ";
constexpr const char* SPEED_PHRASE = ", true airspeed ";
constexpr const char* FROM_PHRASE = " knots, departing ";
constexpr const char* TIME_PHRASE = " at ";
constexpr const char* ALT_PHRASE = " zulu, cruising at ";
constexpr const char* TO_PHRASE = " feet, destination ";
constexpr const char* FUEL_PHRASE = ", fuel on board ";
constexpr const char* CLOSING = " hours. Over.";

void upcase_id(char* id)
{
    for (int k = 0; k < ID_CHARS && id[k]; ++k) UTIL_upcase_char(id[k]);
}

void append_int(char* text, int value)
{
    char number[TEXT_SIZE];
    UTIL_int_to_text(value, number, 1);
    UTIL_strcat(text, number);
}

// The aircraft's file name without its last four characters (its
// extension); a name of four characters or fewer leaves nothing.
void aircraft_name(char* out)
{
    char name[TEXT_SIZE];
    UTIL_strcpy(static_cast<const char*>(pln[0].acf_file_name), name);
    const size_t n = std::strlen(name);
    name[n >= 4 ? n - 4 : 0] = 0;
    UTIL_strcpy(static_cast<const char*>(name), out);
}

// The pair of exclusive boxes: ticking one clears its partner.
void exclusive_pair(float x, float y1, float y2, int32_t* a, int32_t* b, int entry_a, int entry_b)
{
    if (BTN_check_box(x, y1, a, LANG_ui_text(entry_a), 0) && *a) *b = 0;
    if (BTN_check_box(x, y2, b, LANG_ui_text(entry_b), 0) && *b) *a = 0;
}

void runway_choice(atc_state_block& fp)
{
    char to[ATC_PLAN_TO_ID_SIZE + 1] = {};
    std::memcpy(to, fp.atc_plan_to_id, ATC_PLAN_TO_ID_SIZE);
    int found_index = fp.atc_dest_airport;
    const int found = NAV_find_nearest_by_id(to, AIRPORT_KIND, found_index, flt[0].latitude, flt[0].longitude);
    fp.atc_dest_airport = found_index;
    const airport_record* apt = found ? APT_table_at(found_index) : nullptr;
    if (!apt) return;

    int s = 2 * fp.atc_dest_runway + fp.atc_dest_runway_end;
    float x = 100.0f, y = 220.0f;
    for (int k = 0; k < static_cast<int>(apt->runways.size()); ++k) {
        if (apt->runways[static_cast<size_t>(k)].number[0] == 'x') continue;
        char ends[2][TEXT_SIZE], labels[2][TEXT_SIZE];
        APT_runway_end_labels(found_index, k, ends[0], ends[1]);
        for (int e = 0; e < 2; ++e) {
            RWY_label(ends[e], labels[e]);
            UTIL_strcat(labels[e], LANG_ui_text(149));
        }
        BTN_radio_button(x, y, &s, 2 * k, labels[0]);
        BTN_radio_button(x, y - 20.0f, &s, 2 * k + 1, labels[1]);
        const float second_y = y - 20.0f;
        y -= 40.0f;
        if (second_y < 150.0f) {
            x += 100.0f;
            y = 220.0f;
        }
        fp.atc_dest_runway = s / 2;
        fp.atc_dest_runway_end = s % 2;
    }
}

}  // namespace

int SETUP_flight_plan_cruise_speed()
{
    const acf_struct& a = pln[0];
    float speed = a.acf_Vne * 0.67f;
    switch (a.acf_en_type[0]) {
    case 0: case 1: speed *= 1.1f; break;
    case 2: case 8: speed *= 1.5f; break;
    case 4: case 5: speed *= 2.0f; break;
    default: break;
    }
    return SCREEN_int(speed);
}

void SETUP_flight_plan_message(char* text)
{
    atc_state_block& fp = atc_state;
    text[0] = 0;
    const int local_hours = SCREEN_int(sim_time.local_time_sec / 3600.0f);
    UTIL_strcat(text, GREETING[local_hours < 12 ? 0 : local_hours < 18 ? 1 : 2]);
    if (fp.atc_plan_option1) UTIL_strcat(text, IFR_PHRASE);
    if (fp.atc_plan_option2) UTIL_strcat(text, VFR_PHRASE);
    UTIL_strcat(text, AIRCRAFT_WORD);
    char field[TEXT_SIZE] = {};
    std::memcpy(field, pln[0].acf_tailnum, sizeof pln[0].acf_tailnum - 1);
    UTIL_strcat(text, field);
    UTIL_strcat(text, ", ");
    aircraft_name(field);
    UTIL_strcat(text, field);
    UTIL_strcat(text, SPEED_PHRASE);
    append_int(text, SETUP_flight_plan_cruise_speed());
    UTIL_strcat(text, FROM_PHRASE);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, fp.atc_plan_from_id, ATC_PLAN_FROM_ID_SIZE - 1);
    UTIL_strcat(text, field);
    int hours = 0, minutes = 0;
    UTIL_hours_minutes(sim_time.zulu_time_sec, hours, minutes);
    UTIL_strcat(text, TIME_PHRASE);
    append_int(text, hours);
    UTIL_strcat(text, " ");
    append_int(text, minutes);
    UTIL_strcat(text, ALT_PHRASE);
    append_int(text, fp.atc_plan_altitude);
    UTIL_strcat(text, TO_PHRASE);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, fp.atc_plan_to_id, ATC_PLAN_TO_ID_SIZE - 1);
    UTIL_strcat(text, field);
    UTIL_strcat(text, FUEL_PHRASE);
    append_int(text, GEO_round(ENGN_fuel_endurance() + 0.5f));
    UTIL_strcat(text, CLOSING);   // the message is held to 499 characters
}

void SETUP_flight_plan()
{
    BTN_screen_frame(1, 18);
    // The box's far y goes to the word after frame_next_x2; no screen reads
    // that word, so a local stands in for it.
    float far_y = 0.0f;
    BTN_place_frame(0.0f, 15, 10.0f, 10.0f, -1.0f, 90.0f, "", &frame_next_x2, &far_y);

    atc_state_block& fp = atc_state;
    float altitude = static_cast<float>(fp.atc_plan_altitude);

    exclusive_pair(100.0f, 315.0f, 295.0f, &fp.atc_plan_option1, &fp.atc_plan_option2, 207, 208);
    exclusive_pair(200.0f, 315.0f, 295.0f, &fp.atc_plan_sir, &fp.atc_plan_madam, 209, 210);

    // An id written from outside with no end byte would be read on past its
    // field: its last byte is made the end.
    fp.atc_plan_from_id[ATC_PLAN_FROM_ID_SIZE - 1] = 0;
    BTN_text_field(60.0f, 255.0f, fp.atc_plan_from_id, ID_CHARS + 1, 0, LANG_ui_text(211));
    upcase_id(fp.atc_plan_from_id);
    BTN_digit_field_auto(260.0f, 255.0f, &altitude, 5, 0, 0, LANG_ui_text(212));
    fp.atc_plan_to_id[ATC_PLAN_TO_ID_SIZE - 1] = 0;
    BTN_text_field(460.0f, 255.0f, fp.atc_plan_to_id, ID_CHARS + 1, 1, LANG_ui_text(213));
    upcase_id(fp.atc_plan_to_id);

    runway_choice(fp);

    // Stored before the message is composed rather than after it: the message
    // states the altitude copy cut toward zero, which is the stored value, so
    // the message and the field are the same as storing it last.
    fp.atc_plan_altitude = SCREEN_int(altitude);
    char message[TEXT_SIZE];
    SETUP_flight_plan_message(message);
    OGL_draw_string(SCREEN_TEXT_COLOUR, 20.0f, 80.0f, message, screen.screen_area_width - 96.0f, SCREEN_TEXT_FONT);
}
