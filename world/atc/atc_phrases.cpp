// The phrase builders every controller message is assembled from: spelled
// characters, headings, frequencies, the runway in use and its spoken name,
// the wind, callsigns, made-up aircraft types and the background chatter.
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "links/speech.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"
#include "world/metar.h"
#include "world/nav_lookup.h"

namespace {

const char* const spelling_digits[10] = {"ZERO", "ONE", "TWO", "THREE", "FOUR",
                                         "FIVE", "SIX", "SEVEN", "EIGHT", "NINER"};
// The letters' names as the screen shows them; the voice is given its own
// spelling of the two it says wrongly ("LEEMA", "ZOOLOO": atc_speak).
const char* const spelling_letters[26] = {
    "ALPHA", "BRAVO", "CHARLIE", "DELTA",  "ECHO",    "FOXTROT", "GOLF",   "HOTEL",    "INDIA",
    "JULIET", "KILO", "LIMA",   "MIKE",   "NOVEMBER", "OSCAR",  "PAPA",   "QUEBEC",   "ROMEO",
    "SIERRA", "TANGO", "UNIFORM", "VICTOR", "WHISKEY", "X RAY",  "YANKEE", "ZULU"};

const char* const type_names[26] = {
    "CESSNA 152",  "CESSNA 172",     "PIPER WARRIOR",  "PIPER ARCHER",   "PIPER ARROW",   "BEECH DUKE",
    "TOBAGO",      "TRINIDAD",       "MOONEY",         "GLASAIR",        "LANCAIR",       "BEECH DUCHESS",
    "BEECH BARON", "CESSNA 310",     "CESSNA 414",     "PILATUS PC 12",  "BEECH STARSHIP", "PIAGGIO AVANTI",
    "LEAR 35",     "LEAR 55",        "CESSNA CITATION", "BOEING 727",    "BOEING 737",    "BOEING 757",
    "BOEING 767",  "AIRBUS A-300"};

constexpr int RUNWAY_BEST_START = 1310065408;
constexpr double LOCALIZER_RANGE_NM = 5.0;
constexpr double CALM_WIND_KT = 5.0;

void append_digit(char* out, int d)
{
    const char s[2] = {UTIL_digit_to_char(d), 0};
    UTIL_strcat(out, s);
}

// Absolute angle difference after bringing it into -180..180.
double angle_off(double x) { return std::fabs(UTIL_wrap_pm180(x)); }

}  // namespace

void ATC_spell_char(char c, char* out)
{
    if (!out) return;
    out[0] = 0;
    if (c >= '0' && c <= '9') UTIL_strcpy(spelling_digits[c - '0'], out);
    if (c >= 'A' && c <= 'Z') UTIL_strcpy(spelling_letters[c - 'A'], out);
}

void ATC_type_name(char* out, float altitude_ft)
{
    const int index = altitude_ft < 10000.0f ? atc_random(18) : 11 + atc_random(15);
    UTIL_strcat(out, type_names[index]);
}

void ATC_frequency_words(char* out, int whole_mhz, int hundredths)
{
    append_digit(out, whole_mhz / 100 % 10);
    UTIL_strcat(out, " ");
    append_digit(out, whole_mhz / 10 % 10);
    UTIL_strcat(out, " ");
    append_digit(out, whole_mhz % 10);
    UTIL_strcat(out, " point ");
    append_digit(out, hundredths / 10 % 10);
    UTIL_strcat(out, " ");
    append_digit(out, hundredths % 10);
}

void ATC_heading_words(char* out, int angle_deg, int step_deg)
{
    if (step_deg <= 0) step_deg = 1;   // a step of 0 would divide by zero
    const int a = UTIL_wrap_int(angle_deg, 0, 359);
    int v = atc_round(static_cast<double>(a) / step_deg) * step_deg;
    if (v == 0) v = 360;
    append_digit(out, v / 100 % 10);
    UTIL_strcat(out, " ");
    append_digit(out, v / 10 % 10);
    UTIL_strcat(out, " ");
    append_digit(out, v % 10);
}

void ATC_active_runway(int airport, int& runway, int& end, int& localizer_found, int& localizer_index,
                       int use_real_weather)
{
    runway = 0;
    end = 1;
    localizer_found = 0;
    localizer_index = -1;
    const airport_record* a = atc_airport(airport);
    if (!a || a->runways.empty()) return;
    const float apt_lat = a->runways[0].lat, apt_lon = a->runways[0].lon;

    float wind_dir = sim_weather.wind_direction_degt[0];
    float wind_kt = sim_weather.wind_speed_kt[0];
    if (use_real_weather && sim_weather.use_real_weather_bool) {
        float time = 0, base[2] = {}, top[2] = {}, vis = 0, temp = 0, dew = 0, dir = wind_dir, spd = wind_kt, gust = 0,
              press = 0;
        int types[2] = {}, precip = 0, level = 0;
        METAR_read(apt_lat, apt_lon, &time, types, base, top, &vis, &precip, &level, &temp, &dew, &dir, &spd, &gust,
                   &press);
        wind_dir = dir;
        wind_kt = spd;
    }

    // A localizer within 5 nm (degrees taken flat) best lined up with the wind.
    double best = 999.0;
    for (size_t k = 0; k < navaid_table.size(); ++k) {
        const navaid_record& n = navaid_table[k];
        if (n.kind != NAV_ILS_LOC && n.kind != NAV_LOC) continue;
        const double dlat = n.lat - apt_lat, dlon = n.lon - apt_lon;
        if (!(std::sqrt(dlat * dlat + dlon * dlon) * 60.0 < LOCALIZER_RANGE_NM)) continue;
        const double score = angle_off(static_cast<double>(wind_dir) - n.heading);
        if (score < best) {
            best = score;
            localizer_found = 1;
            localizer_index = static_cast<int>(k);
        }
    }
    if (!localizer_found && !(wind_kt > CALM_WIND_KT)) return;
    const double reference = localizer_found ? navaid_table[static_cast<size_t>(localizer_index)].heading : wind_dir;

    // One degree of misalignment is worth 100 ft of runway.
    int best_score = RUNWAY_BEST_START;
    for (size_t r = 0; r < a->runways.size(); ++r) {
        const runway_record& rw = a->runways[r];
        if (rw.number[0] == 'x') continue;
        const double length_ft = rw.length * M_TO_FT_DOUBLE;
        const int forward = atc_trunc(angle_off(reference - rw.heading) - length_ft / 100.0);
        const int back = atc_trunc(angle_off(reference - rw.heading + 180.0) - length_ft / 100.0);
        if (forward < best_score) {
            best_score = forward;
            runway = static_cast<int>(r);
            end = 1;
        }
        if (back < best_score) {
            best_score = back;
            runway = static_cast<int>(r);
            end = -1;
        }
    }
}

void ATC_runway_name(char* out, int airport, int use_real_weather)
{
    int runway, end, found, localizer;
    ATC_active_runway(airport, runway, end, found, localizer, use_real_weather);
    char this_end[TEXT_SIZE] = {}, other_end[TEXT_SIZE] = {};
    APT_runway_end_labels(airport, runway, this_end, other_end);
    const char side = std::strlen(this_end) > 4 ? this_end[4] : 0;
    char number[4] = {};
    std::memcpy(number, end == 1 ? this_end : other_end, 3);
    UTIL_strcat(out, "RUNWAY ");
    UTIL_strcat(out, number);
    if (side == 'L') UTIL_strcat(out, end == 1 ? " LEFT" : " RIGHT");
    if (side == 'R') UTIL_strcat(out, end == 1 ? " RIGHT" : " LEFT");
    if (side == 'C') UTIL_strcat(out, " CENTER");
}

void ATC_wind_phrase(char* out, int direction_deg, int speed_kt, int variation_deg, int gust_kt)
{
    const int64_t total = static_cast<int64_t>(speed_kt) + gust_kt;
    if (total < 1) {
        UTIL_strcat(out, "WIND CALM");
        return;
    }
    if (total < 5) {
        UTIL_strcat(out, "WIND LIGHT AND VARIABLE");
        return;
    }
    if (gust_kt > 5) UTIL_strcat(out, "WIND SHEAR ALERT. ");
    UTIL_strcat(out, "WIND ");
    ATC_heading_words(out, direction_deg, 10);
    UTIL_strcat(out, " AT ");
    atc_append_int(out, speed_kt);
    if (variation_deg > 10) {
        // Each angle is wrapped before the sum: the same headings as d - w and
        // d + w, without an integer overflow for extreme values.
        UTIL_strcat(out, " VARIABLE ");
        ATC_heading_words(out, UTIL_wrap_int(direction_deg, 0, 359) - UTIL_wrap_int(variation_deg, 0, 359), 10);
        UTIL_strcat(out, " TO ");
        ATC_heading_words(out, UTIL_wrap_int(direction_deg, 0, 359) + UTIL_wrap_int(variation_deg, 0, 359), 10);
    }
    if (gust_kt > 5) {
        UTIL_strcat(out, " GUST ");
        atc_append_int(out, atc_trunc(static_cast<double>(total)));
    }
}

void ATC_callsign(char* out, int for_user)
{
    if (!out) return;
    char tail[TEXT_SIZE] = {};
    out[0] = 0;
    if (for_user) {
        UTIL_strcpy(atc_callsign_text, out);
        UTIL_strcat(out, " ");
        atc_copy_name(pln[0].acf_tailnum, static_cast<int>(sizeof pln[0].acf_tailnum), tail);
    } else {
        tail[0] = UTIL_glyph_to_char(1 + atc_random(10));
        tail[1] = UTIL_glyph_to_char(1 + atc_random(10));
        tail[2] = UTIL_glyph_to_char(1 + atc_random(10));
        tail[3] = UTIL_glyph_to_char(1 + atc_random(36));
        tail[4] = UTIL_glyph_to_char(11 + atc_random(26));
        tail[5] = 0;
    }
    // The first character is never spoken.
    for (size_t k = 1; tail[0] && tail[k]; ++k) {
        if (tail[k] == ' ') continue;
        char word[TEXT_SIZE];
        ATC_spell_char(tail[k], word);
        UTIL_strcat(out, word);
        UTIL_strcat(out, " ");
    }
}

int ATC_traffic_advisory(int allow_user, int allow_user_handoff)
{
    if (speech_text_until > frame_clock) return 0;
    const int k = 1 + atc_random(8);
    const float altitude_ft = static_cast<float>(flt[0].local_y * M_TO_FT_DOUBLE);
    char text[TEXT_SIZE] = {};
    if (k == 1) {
        ATC_callsign(text, 0);
        UTIL_strcat(text, "SQUAWK 1 2 0 0 GOOD DAY.");
        atc_speak(text);
        return 0;
    }
    if (k == 2) {
        ATC_callsign(text, 0);
        UTIL_strcat(text, "RESET TRANSPONDER SQUAWK ");
        atc_append_squawk(text);
        UTIL_strcat(text, ".");
        atc_speak(text);
        return 0;
    }
    if (k == 3) {
        static const char* const clock[5] = {"10 O-CLOCK,", "11 O-CLOCK,", "12 O-CLOCK,", "1 O-CLOCK,", "2 O-CLOCK,"};
        ATC_callsign(text, 0);
        UTIL_strcat(text, "YOU HAVE TRAFFIC AT YOUR ");
        UTIL_strcat(text, clock[atc_random(5)]);
        UTIL_strcat(text, " SHOULD BE NO FACTOR.");
        atc_speak(text);
        return 0;
    }
    if (k <= 6) {
        if (!(altitude_ft < 20000.0f)) return 0;
        const int user = allow_user && atc_chance() < 0.1 ? 1 : 0;
        int t = atc_random(91) - 45;
        if (t >= -20 && t <= 20) t = t >= 0 ? 20 : -20;
        ATC_callsign(text, user);
        // A heading that is no number would make the integer heading undefined; it counts as 0.
        const double magpsi = std::isfinite(flt[0].magpsi) ? flt[0].magpsi : 0.0;
        const int h = atc_trunc(t + magpsi);
        const int u = UTIL_wrap_int(atc_trunc(h - magpsi), -179, 180);
        UTIL_strcat(text, u > 0 ? "TURN RIGHT HEADING " : "TURN LEFT HEADING ");
        ATC_heading_words(text, h, 10);
        UTIL_strcat(text, " VECTORS AROUND A ");
        ATC_type_name(text, altitude_ft);
        UTIL_strcat(text, t < -30 ? " AT YOUR 12 O-CLOCK." : t < 0 ? " AT YOUR 1 O-CLOCK." : t < 30 ? " AT YOUR 10 O-CLOCK." : " AT YOUR 11 O-CLOCK.");
        atc_speak(text);
        return user;
    }
    const int user = allow_user && allow_user_handoff && atc_chance() < 0.1 ? 1 : 0;
    ATC_callsign(text, user);
    UTIL_strcat(text, "CONTACT CENTER ON ");
    const int whole = 118 + atc_random(17);
    ATC_frequency_words(text, whole, 5 * atc_random(20));
    UTIL_strcat(text, ".");
    atc_speak(text);
    if (user) atc_state.atc_checkin_expected = 1;
    return 0;
}
