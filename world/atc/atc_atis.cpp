// The airport information broadcast: name and letter, time, sky, visibility,
// precipitation, temperature, wind, pressure and the runway in use, from the
// simulated weather or the nearest weather report.
#include <algorithm>
#include <cmath>

#include "core/frame_clock.h"
#include "core/random.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "links/speech.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"
#include "world/metar.h"

namespace {

// Cloud heights are spoken in steps that grow with the height.
int cloud_height_ft(double base_m, double field_m)
{
    const int h = atc_round((base_m - field_m) * M_TO_FT_DOUBLE);
    const int step = h <= 1000 ? 50 : (h <= 10000 ? 100 : 500);
    return atc_round(static_cast<double>(h) / step) * step;
}

}  // namespace

void ATC_atis(int airport, char letter, char* out, int use_real_weather)
{
    if (!out) return;
    out[0] = 0;
    const airport_record* a = atc_airport(airport);
    if (!a) return;   // an index outside the airport table: an empty text, not a read past the table
    char name[TEXT_SIZE];
    atc_copy_name(a->name, APT_NAME_SIZE, name);
    const double field_m = a->elevation;
    const double field_ft = field_m * M_TO_FT_DOUBLE;

    float time = sim_time.zulu_time_sec;
    int types[2] = {sim_weather.cloud_type[0], sim_weather.cloud_type[1]};
    float bases[2] = {sim_weather.cloud_base_msl_m[0], sim_weather.cloud_base_msl_m[1]};
    float tops[2] = {sim_weather.cloud_tops_msl_m[0], sim_weather.cloud_tops_msl_m[1]};
    float visibility = sim_weather.visibility_reported_m;
    int precipitation = 0, precip_level = 0;
    float temperature = sim_weather.temperature_sealevel_c;
    float dewpoint = sim_weather.dewpoi_sealevel_c;
    float wind_dir = sim_weather.wind_direction_degt[0];
    float wind_kt = sim_weather.wind_speed_kt[0];
    float gust_kt = sim_weather.shear_speed_kt[0];
    double inhg = sim_physics.earth_pressure_p * static_cast<double>(UNIT.pa_to_inhg);
    float lat, lon;
    if (use_real_weather && sim_weather.use_real_weather_bool && atc_airport_point(airport, lat, lon)) {
        float press = static_cast<float>(inhg);
        if (METAR_read(lat, lon, &time, types, bases, tops, &visibility, &precipitation, &precip_level, &temperature,
                       &dewpoint, &wind_dir, &wind_kt, &gust_kt, &press) >= 0)
            inhg = press;
    }
    // 2 degrees C less per 1,000 ft of field elevation.
    const double field_temp = temperature - field_ft * 2.0 * 0.001;

    char word[TEXT_SIZE];
    UTIL_strcat(out, name);
    UTIL_strcat(out, " INFORMATION ");
    ATC_spell_char(letter, word);
    UTIL_strcat(out, word);
    UTIL_strcat(out, ". ");

    int hours = 0, minutes = 0;
    // A non-finite time would make the hour conversion's integer cast
    // undefined (and speak a garbage hour); it reads as 0 instead.
    UTIL_hours_minutes(std::isfinite(time) ? time : 0.0f, hours, minutes);
    atc_append_int(out, hours);
    UTIL_strcat(out, " HUNDRED ZULU WEATHER. ");

    if (types[0] == 0 && types[1] == 0) {
        UTIL_strcat(out, "SKY CLEAR ");
    } else {
        UTIL_strcat(out, "SKY CONDITIONS ");
        for (int layer = 0; layer < 2; ++layer) {
            if (types[layer] == 0) continue;
            atc_append_int(out, cloud_height_ft(bases[layer], field_m));
            const int t = types[layer];
            if (t == 1 || t == 2) UTIL_strcat(out, " SCATTERED ");
            if (t == 3) UTIL_strcat(out, " BROKEN ");
            if (t == 4) UTIL_strcat(out, " OVERCAST ");
        }
    }

    if (visibility / NM_TO_M_DOUBLE <= 0.9) {
        UTIL_strcat(out, "R V R ");
        atc_append_int(out, atc_round(atc_round(visibility * M_TO_FT_DOUBLE) / 100.0) * 100);
    } else {
        UTIL_strcat(out, "VISIBILITY ");
        atc_append_int(out, atc_round(visibility / NM_TO_M_DOUBLE));
    }

    if (precipitation < 1)
        UTIL_strcat(out, ". ");
    else
        UTIL_strcat(out, field_temp <= 0.0 ? ", SNOW. " : ", RAIN. ");

    UTIL_strcat(out, "TEMPERATURE ");
    atc_append_int(out, atc_trunc(field_temp));
    UTIL_strcat(out, " DEWPOINT ");
    // The temperature is the field's (lowered with its elevation), the
    // dewpoint the sea level's as set: with the first start's -5 C and a
    // dewpoint of 0 the broadcast read a dewpoint above the temperature,
    // which air cannot have. It is read no higher than the temperature.
    atc_append_int(out, atc_trunc(std::min(static_cast<double>(dewpoint), field_temp)));
    UTIL_strcat(out, ". ");

    ATC_wind_phrase(out, atc_trunc(static_cast<double>(wind_dir) + sim_flightmodel_position.magnetic_variation),
                    atc_trunc(wind_kt), 0, atc_trunc(gust_kt));
    UTIL_strcat(out, ", ");

    atc_append_pressure(out, inhg);
    UTIL_strcat(out, ". ");

    UTIL_strcat(out, "ARRIVING AND DEPARTING ");
    ATC_runway_name(out, airport, use_real_weather);
    UTIL_strcat(out, ". ");

    UTIL_strcat(out, "ADVISE ON INITIAL CONTACT YOU HAVE ");
    UTIL_strcat(out, word);
    UTIL_strcat(out, ".");
}

void ATC_tuned_atis()
{
    constexpr int AUDIO_COM2 = 11;   // the audio panel's choice of COM 2
    constexpr int ATIS_SLOT = 0;     // an airport's frequency row 50
    const int tuned = sim_cockpit_switches.audio_panel_out == AUDIO_COM2 ? sim_cockpit_radios.com2_freq_hz
                                                                         : sim_cockpit_radios.com1_freq_hz;
    int airport = -1;
    double nearest = 0.0;
    for (size_t k = 0; k < airport_table.size() && tuned > 0; ++k) {
        const airport_record& a = airport_table[k];
        if (!a.local || a.runways.empty() || a.frequencies[ATIS_SLOT].frequency != tuned) continue;
        const double d = std::hypot(flt[0].latitude - a.runways[0].lat, flt[0].longitude - a.runways[0].lon);
        if (airport < 0 || d < nearest) airport = static_cast<int>(k), nearest = d;
    }
    atc_broadcast_record& b = atc_broadcast;
    if (airport >= 0 && airport != b.airport) b.letter = UTIL_glyph_to_char(11 + UTIL_rand() * 26 / 32768);
    b.airport = airport;
    if (airport < 0 || speech_text_until > frame_clock) return;   // nothing tuned, or a text still shows
    char text[TEXT_SIZE] = {};
    ATC_atis(airport, b.letter, text, 1);
    atc_speak(text);
}
