// The air-traffic-control radio: the phrase builders, the ATIS, the request
// handling with its approach controller, a flight plan flown from clearance
// to the ramp, the carrier's landing-signal officer and the request window.
// Every text is read where the speech voice receives it.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/geo.h"
#include "core/random.h"
#include "core/text_util.h"
#include "links/speech.h"
#include "world/atc/atc_internal.h"
#include "world/ships.h"
#include "tests/support/flight_fixture.h"
#include "tests/world/world_test_util.h"
#include "world/apt_scene.h"
#include "world/atc.h"

namespace {

constexpr float NM = 1852.0f;

class Atc : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        NAV_clear_tables();
        UTIL_strcpy("ORVELL", atc_callsign_text);
        std::strcpy(pln[0].acf_tailnum, "N123");
        sim_physics.earth_pressure_p = 101325.0f;
        screen_settings.pressure_units_metric = 0;
        sim_flightmodel_position.magnetic_variation = 0.0f;
        sim_time.total_running_time_sec = 1000.0f;
        frame_clock = 1000.0f;
        local_airport_last = -1;
        start_selection.airport_index = 0;
        terrain_height_m = 0.0f;
        UTIL_srand(1);
    }

    // An airport whose first runway's centre stands at (lat, lon).
    static int airport(const char* id, const char* name, float lat, float lon, const char* number, float heading,
                       float length_m, float elevation_m = 0.0f, bool tower = true)
    {
        airport_record a{};
        std::strncpy(a.id, id, APT_ID_SIZE - 1);
        std::strncpy(a.name, name, APT_NAME_SIZE - 1);
        a.elevation = elevation_m;
        a.tower_flag = tower ? 1 : 0;
        a.local = 1;
        runway_record rw{};
        rw.lat = lat;
        rw.lon = lon;
        std::strncpy(rw.number, number, RWY_NUMBER_SIZE - 1);
        rw.heading = heading;
        rw.length = length_m;
        a.runways.push_back(rw);
        airport_table.push_back(a);
        const int index = static_cast<int>(airport_table.size()) - 1;
        airport_id_index.emplace(NAV_id_key(id), index);
        local_airport_list[++local_airport_last] = index;
        near_airport_light_state[local_airport_last] = 10;
        return index;
    }

    static int navaid(int kind, const char* name, float lat, float lon, float heading)
    {
        navaid_record n{};
        n.kind = kind;
        n.lat = lat;
        n.lon = lon;
        n.heading = heading;
        n.local = 1;
        std::strncpy(n.name, name, APT_NAME_SIZE - 1);
        navaid_table.push_back(n);
        return static_cast<int>(navaid_table.size()) - 1;
    }

    static void local_of(float lat, float lon, float& x, float& z)
    {
        float y;
        GEO_latlon_to_local(x, y, z, lat, lon, 0.0);
    }

    // The user's plane at a local point, heading, height.
    static void place(float x, float z, float psi, float height_m = 1000.0f)
    {
        flt_struct& f = flt[0];
        f.local_x = x;
        f.local_z = z;
        f.local_y = height_m;
        f.elevation = height_m;
        f.h_ind = height_m;
        f.psi = f.magpsi = psi;
        GEO_local_to_latlon(f.latitude, f.longitude, f.elevation, x, height_m, z);
    }

    std::string last() const { return sounds.spoken_texts.empty() ? "" : sounds.spoken_texts.back().first; }
    size_t said() const { return sounds.spoken_texts.size(); }
    static std::string callsign() { return "ORVELL ONE TWO THREE "; }
    static bool ends_with(const std::string& s, const std::string& tail)
    {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }
    static void pass_time(float seconds)
    {
        sim_time.total_running_time_sec += seconds;
        frame_clock += seconds;
    }
};

std::string heading(int angle, int step)
{
    char t[TEXT_SIZE] = {};
    ATC_heading_words(t, angle, step);
    return t;
}

std::string wind(int d, int v, int w, int g)
{
    char t[TEXT_SIZE] = {};
    ATC_wind_phrase(t, d, v, w, g);
    return t;
}

}  // namespace

TEST_F(Atc, PhraseBuildersSpeakHeadingsFrequenciesWindsAndCallsigns)
{
    for (auto [angle, step, words] : {std::tuple{355, 10, "3 6 0"}, {-5, 10, "3 6 0"}, {0, 10, "3 6 0"},
                                      {184, 10, "1 8 0"}, {270, 5, "2 7 0"}, {4, 10, "3 6 0"},
                                      {2000000000, 10, "2 0 0"}, {-2000000000, 1, "1 6 0"}})
        EXPECT_EQ(heading(angle, step), words) << angle;
    char f[TEXT_SIZE] = {};
    ATC_frequency_words(f, 118, 25);
    EXPECT_STREQ(f, "1 1 8 point 2 5");
    f[0] = 0;
    ATC_frequency_words(f, 121, 5);
    EXPECT_STREQ(f, "1 2 1 point 0 5");

    EXPECT_EQ(wind(274, 12, 0, 8), "WIND SHEAR ALERT. WIND 2 7 0 AT 12 GUST 20");
    EXPECT_EQ(wind(90, 3, 0, 0), "WIND LIGHT AND VARIABLE");
    EXPECT_EQ(wind(90, 0, 0, 0), "WIND CALM");
    EXPECT_EQ(wind(90, 4, 0, 1), "WIND 0 9 0 AT 4");
    EXPECT_EQ(wind(90, 10, 10, 5), "WIND 0 9 0 AT 10");
    EXPECT_EQ(wind(90, 10, 20, 0), "WIND 0 9 0 AT 10 VARIABLE 0 7 0 TO 1 1 0");

    char word[TEXT_SIZE];
    // The letters' names as shown; the voice is given "LEEMA" and "ZOOLOO".
    for (auto [c, w] : {std::pair{'9', "NINER"}, {'L', "LIMA"}, {'X', "X RAY"}, {'Z', "ZULU"}, {'a', ""}}) {
        ATC_spell_char(c, word);
        EXPECT_STREQ(word, w);
    }

    // The user: callsign text and the tail from its second character; a
    // made-up aircraft: four words.
    char out[TEXT_SIZE];
    ATC_callsign(out, 1);
    EXPECT_EQ(std::string(out), callsign());
    std::strcpy(pln[0].acf_tailnum, "N1 a");
    ATC_callsign(out, 1);
    EXPECT_EQ(std::string(out), "ORVELL ONE  ");
    ATC_callsign(out, 0);
    EXPECT_GE(std::strlen(out), 16u);   // four spelled words
    EXPECT_TRUE(ends_with(out, " "));
    {
        // Made-up tails: two digits, then a digit or a letter, then a letter.
        std::vector<std::pair<std::string, bool>> spelled;   // word, is a digit
        for (int g = 1; g <= 36; ++g) {
            ATC_spell_char(UTIL_glyph_to_char(g), word);
            spelled.emplace_back(std::string(word) + " ", g <= 10);
        }
        int third_digit = 0, third_letter = 0;
        for (int n = 0; n < 400; ++n) {
            ATC_callsign(out, 0);
            std::string rest = out;
            std::vector<bool> digits;
            while (!rest.empty()) {
                size_t best = 0;
                bool digit = false;
                for (const auto& [w, d] : spelled)
                    if (w.size() > best && rest.compare(0, w.size(), w) == 0) best = w.size(), digit = d;
                ASSERT_GT(best, 0u) << out;
                digits.push_back(digit);
                rest.erase(0, best);
            }
            ASSERT_EQ(digits.size(), 4u) << out;
            EXPECT_TRUE(digits[0] && digits[1]) << out;
            EXPECT_FALSE(digits[3]) << out;
            (digits[2] ? third_digit : third_letter)++;
        }
        // 10 of 36 draws are digits: about 111 of 400.
        EXPECT_GT(third_digit, 60);
        EXPECT_GT(third_letter, 200);
    }

    // A callsign text of 499 characters: every builder keeps within the buffer.
    std::memset(atc_callsign_text, 'A', TEXT_MAX_LEN);
    atc_callsign_text[TEXT_MAX_LEN] = 0;
    std::strcpy(pln[0].acf_tailnum, "N12345678901234567890123456789012345678");
    ATC_callsign(out, 1);
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(TEXT_MAX_LEN));
    ATC_handle_request("WIN");
    EXPECT_EQ(last().size(), static_cast<size_t>(TEXT_MAX_LEN));
}

TEST_F(Atc, TheRunwayInUseFollowsTheWindAndTheLocalizer)
{
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.5f, "09", 90.0f, 914.4f);
    runway_record long_rw = airport_table[apt].runways[0];
    std::strcpy(long_rw.number, "15");
    long_rw.heading = 150.0f;
    long_rw.length = 3048.0f;
    airport_table[apt].runways.push_back(long_rw);
    int r, e, found, loc;

    // A 10,000 ft runway 60 degrees off the wind beats a 3,000 ft one aligned with it.
    sim_weather.wind_direction_degt[0] = 90.0f;
    sim_weather.wind_speed_kt[0] = 10.0f;
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(e, 1);

    // 100 ft of runway are worth one degree: a 6,000 ft runway 40 degrees off
    // (40 - 60 = -20) loses to the 3,000 ft one aligned with the wind (-30).
    airport_table[apt].runways[1].heading = 130.0f;
    airport_table[apt].runways[1].length = 1828.8f;
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(e, 1);
    airport_table[apt].runways[1] = long_rw;

    // At 5 kt and no localizer: runway 0, end +1; at 5.1 kt the scored choice.
    sim_weather.wind_direction_degt[0] = 330.0f;
    sim_weather.wind_speed_kt[0] = 5.0f;
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(e, 1);
    sim_weather.wind_speed_kt[0] = 5.1f;
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(e, -1);
    char name[TEXT_SIZE] = {};
    ATC_runway_name(name, apt, 0);
    EXPECT_STREQ(name, "RUNWAY 3 3");

    // A localizer 4.9 nm away with heading 090 wins against a wind from 270.
    sim_weather.wind_direction_degt[0] = 270.0f;
    sim_weather.wind_speed_kt[0] = 20.0f;
    airport_table[apt].runways[1].length = 100.0f;
    navaid(NAV_ILS_LOC, "FAR ILS", 34.0f, -117.5f + 5.1f / 60.0f, 270.0f);
    const int near = navaid(NAV_ILS_LOC, "TEST ILS 09", 34.0f, -117.5f + 4.9f / 60.0f, 90.0f);
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(loc, near);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(e, 1);
    // A localizer without glide slope counts as well, and lined up with the
    // wind it beats the ILS; a VOR lined up as well is no localizer.
    navaid(NAV_VOR, "TEST VOR", 34.0f, -117.5f + 1.0f / 60.0f, 270.0f);
    const int loc_only = navaid(NAV_LOC, "TEST LOC 27", 34.0f, -117.5f + 3.0f / 60.0f, 270.0f);
    ATC_active_runway(apt, r, e, found, loc, 0);
    EXPECT_EQ(loc, loc_only);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(e, -1);

    // The side letter turns over with the end: 09L landing west is 27 RIGHT;
    // of two localizers lined up alike the first in the table is taken.
    const int sides = airport("KSID", "SIDES", 35.0f, -117.0f, "09L", 90.0f, 3000.0f);
    const std::pair<float, const char*> ends[] = {{90.0f, "RUNWAY 0 9 LEFT"}, {270.0f, "RUNWAY 2 7 RIGHT"}};
    for (auto [wind, spoken] : ends) {
        sim_weather.wind_direction_degt[0] = wind;
        char side_name[TEXT_SIZE] = {};
        ATC_runway_name(side_name, sides, 0);
        EXPECT_STREQ(side_name, spoken);
    }
    const int first_ils = navaid(NAV_ILS_LOC, "SIDES ILS A", 35.0f, -117.0f, 270.0f);
    navaid(NAV_ILS_LOC, "SIDES ILS B", 35.0f, -117.01f, 270.0f);
    ATC_active_runway(sides, r, e, found, loc, 0);
    EXPECT_EQ(loc, first_ils);

    // No runways, or an index outside the table: runway 0, end +1.
    for (int bad : {-1, 7, 1 << 30}) {
        ATC_active_runway(bad, r, e, found, loc, 1);
        EXPECT_EQ(r + e + found, 1);
    }
}

// Background vectors turn at least 20 degrees off the heading (north here:
// 020 to 050 right, 310 to 340 left) and are never given at 20,000 ft or above.
TEST_F(Atc, TrafficVectorsTurnAtLeastTwentyDegreesAndOnlyBelowTwentyThousandFeet)
{
    // Heading 5: a turn t of 20..45 either way reads as the heading t + 5
    // rounded to tens, and each heading tells its traffic's clock side
    // (t -45..-31: 12, -30..-20: 1, 20..29: 10, 30..45: 11 o'clock). Low
    // (1,000 m) the made-up types come from the first 18, high (15,000 ft)
    // from the last 15.
    const std::map<std::string, std::string> clock = {
        {"0 3 0", "10"}, {"0 4 0", "11"}, {"0 5 0", "11"}, {"3 2 0", "12"}, {"3 3 0", "12"}, {"3 4 0", "1"}, {"3 5 0", "1"}};
    const std::vector<const char*> low_only = {"CESSNA 152", "CESSNA 172", "PIPER", "BEECH DUKE", "TOBAGO", "TRINIDAD", "MOONEY",
                                    "GLASAIR", "LANCAIR"};
    const std::vector<const char*> high_only = {"LEAR", "CITATION", "BOEING", "AIRBUS"};
    for (float height_m : {1000.0f, 15000.0f * 0.3048f}) {
        place(0.0f, 0.0f, 5.0f, height_m);
        int vectors = 0;
        for (int k = 0; k < 2000; ++k) {
            speech_text_until = 0.0f;
            const size_t before = said();
            ATC_traffic_advisory(1, 1);
            if (said() == before) continue;
            const std::string text = last();
            const size_t at = text.find(" HEADING ");
            if (at == std::string::npos) continue;
            ++vectors;
            const auto side = clock.find(text.substr(at + 9, 5));
            ASSERT_NE(side, clock.end()) << text;
            EXPECT_TRUE(ends_with(text, " AT YOUR " + side->second + " O-CLOCK.")) << text;
            for (const char* type : height_m < 2000.0f ? high_only : low_only)
                EXPECT_EQ(text.find(type), std::string::npos) << text;
        }
        EXPECT_GT(vectors, 300);
    }

    place(0.0f, 0.0f, 0.0f, 20000.0f * 0.3048f + 0.01f);
    for (int k = 0; k < 200; ++k) {
        speech_text_until = 0.0f;
        const size_t before = said();
        ATC_traffic_advisory(1, 1);
        if (said() > before) { EXPECT_EQ(last().find(" HEADING "), std::string::npos) << last(); }
    }
}

TEST_F(Atc, TheAtisReadsTheWeatherOfTheField)
{
    const int apt = airport("KTST", "ORVELL FIELD", 34.0f, -117.5f, "27L", 270.0f, 3000.0f);
    sim_time.zulu_time_sec = 14.0f * 3600.0f + 20.0f * 60.0f;
    sim_weather.cloud_type[0] = 2;
    sim_weather.cloud_base_msl_m[0] = 762.0f;
    sim_weather.cloud_type[1] = 0;
    sim_weather.cloud_base_msl_m[1] = 3000.0f;
    sim_weather.visibility_reported_m = 10.0f * NM;
    sim_weather.temperature_sealevel_c = 12.0f;
    sim_weather.dewpoi_sealevel_c = 8.0f;
    sim_weather.wind_direction_degt[0] = 270.0f;
    sim_weather.wind_speed_kt[0] = 12.0f;
    char text[TEXT_SIZE];
    ATC_atis(apt, 'B', text, 1);
    EXPECT_STREQ(text,
                 "ORVELL FIELD INFORMATION BRAVO. 14 HUNDRED ZULU WEATHER. SKY CONDITIONS 2500 SCATTERED VISIBILITY "
                 "10. TEMPERATURE 12 DEWPOINT 8. WIND 2 7 0 AT 12, ALTIMETER 29.92. ARRIVING AND DEPARTING RUNWAY 2 7 "
                 "LEFT. ADVISE ON INITIAL CONTACT YOU HAVE BRAVO.");

    auto has = [&](const char* piece) { return std::string(text).find(piece) != std::string::npos; };
    sim_weather.visibility_reported_m = 1666.0f;
    ATC_atis(apt, 'B', text, 0);
    EXPECT_TRUE(has("R V R 5500. ")) << text;
    sim_weather.visibility_reported_m = 1700.0f;
    ATC_atis(apt, 'B', text, 0);
    EXPECT_TRUE(has("VISIBILITY 1. ")) << text;

    // Cloud heights above a field 1,000 m high, both layers.
    airport_table[apt].elevation = 1000.0f;
    sim_weather.temperature_sealevel_c = 15.0f;
    sim_weather.cloud_type[1] = 4;
    const struct { float feet; int type; const char* spoken; } layers[] = {
        {1000.0f, 2, "1000 SCATTERED "}, {940.0f, 2, "950 SCATTERED "},     {1024.0f, 2, "1000 SCATTERED "},
        {1260.0f, 2, "1300 SCATTERED "}, {9840.0f, 3, "9800 BROKEN "},      {10160.0f, 3, "10000 BROKEN "},
        {10260.0f, 2, "10500 SCATTERED "}, {-300.0f, 2, "-300 SCATTERED "}};
    for (auto [feet, type, spoken] : layers) {
        sim_weather.cloud_type[0] = type;
        sim_weather.cloud_base_msl_m[0] = 1000.0f + feet * 0.3048f;
        sim_weather.cloud_base_msl_m[1] = 1000.0f + 1500.0f * 0.3048f;
        ATC_atis(apt, 'B', text, 0);
        EXPECT_TRUE(has((std::string("SKY CONDITIONS ") + spoken + "1500 OVERCAST VISIBILITY").c_str())) << text;
    }
    EXPECT_TRUE(has("TEMPERATURE 8 ")) << text;
    // A lone scattered layer of type 1; the wind read magnetic (270 true + 10.7 east).
    sim_weather.cloud_type[0] = 1;
    sim_weather.cloud_type[1] = 0;
    sim_weather.cloud_base_msl_m[0] = 1000.0f + 2000.0f * 0.3048f;
    sim_flightmodel_position.magnetic_variation = 10.7f;
    ATC_atis(apt, 'B', text, 0);
    EXPECT_TRUE(has("SKY CONDITIONS 2000 SCATTERED VISIBILITY")) << text;
    EXPECT_TRUE(has("WIND 2 8 0 AT 12, ")) << text;
    sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
    screen_settings.pressure_units_metric = 1;
    ATC_atis(apt, '?', text, 0);
    EXPECT_TRUE(has("SKY CLEAR VISIBILITY")) << text;
    EXPECT_TRUE(has("AREA QNH 1013. ")) << text;
    EXPECT_TRUE(has("INFORMATION . ")) << text;
    sim_weather.dewpoi_sealevel_c = 7.8f;   // cut, not rounded
    ATC_atis(apt, 'B', text, 0);
    EXPECT_TRUE(has(" DEWPOINT 7. ")) << text;
    sim_weather.dewpoi_sealevel_c = 20.0f;   // above the field's temperature: read as it
    ATC_atis(apt, 'B', text, 0);
    EXPECT_TRUE(has("TEMPERATURE 8 DEWPOINT 8. ")) << text;
}

TEST_F(Atc, OnRealWeatherTheAtisAndTheRunwayReadTheNearestReport)
{
    temp_folder folder;
    folder.write("metar.rwx", read_file_bytes(std::string(ORVELL_FIXTURES) + "/metar.rwx"));
    world_use_program_folder(folder);
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.5f, "09", 90.0f, 3000.0f);
    airport("KFAR", "FAR FIELD", 36.0f, -117.5f, "27", 270.0f, 3000.0f);
    sim_weather.wind_direction_degt[0] = 270.0f;   // the simulated wind favours the other end
    sim_weather.wind_speed_kt[0] = 20.0f;
    sim_weather.use_real_weather_bool = 1;
    char text[TEXT_SIZE];
    ATC_atis(apt, 'A', text, 1);
    EXPECT_STREQ(text,
                 "TEST FIELD INFORMATION ALPHA. 14 HUNDRED ZULU WEATHER. SKY CONDITIONS 800 OVERCAST R V R 5300, "
                 "SNOW. TEMPERATURE -2 DEWPOINT -5. WIND SHEAR ALERT. WIND 0 9 0 AT 15 GUST 25, ALTIMETER 30.01. "
                 "ARRIVING AND DEPARTING RUNWAY 0 9. ADVISE ON INITIAL CONTACT YOU HAVE ALPHA.");
    // Without the real-weather flag the simulated weather stands.
    ATC_atis(apt, 'A', text, 0);
    EXPECT_NE(std::string(text).find("RUNWAY 2 7. "), std::string::npos) << text;

    // Precipitation at a field of exactly freezing falls as snow, a degree
    // above as rain.
    airport_table[apt].elevation = 0.0f;
    for (const auto& [report, spoken] :
         {std::pair{"METAR KTST 071405Z 09015KT 1SM -RA OVC008 00/M02 A3001\n", ", SNOW. TEMPERATURE 0 "},
          std::pair{"METAR KTST 071405Z 09015KT 1SM -SN OVC008 01/M02 A3001\n", ", RAIN. TEMPERATURE 1 "}}) {
        temp_folder weather;
        weather.write("metar.rwx", report);
        world_use_program_folder(weather);
        ATC_atis(apt, 'A', text, 1);
        EXPECT_NE(std::string(text).find(spoken), std::string::npos) << text;
    }
    sim_weather.use_real_weather_bool = 0;
}

TEST_F(Atc, AnIlsApproachIsVectoredThenHandedToTheTower)
{
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.48f, "27", 270.0f, 2000.0f);
    navaid(NAV_ILS_LOC, "TEST ILS 27", 34.0f, -117.5f, 270.0f);
    float nx, nz;
    local_of(34.0f, -117.5f, nx, nz);
    atc_state.atc_plan_altitude = 6000;

    // North-east of the field, heading north: the first answer turns,
    // gives an altitude and offers another approach.
    place(nx + 25.0f * NM, nz - 25.0f * NM, 0.0f);
    ATC_handle_request("REQUEST ILSTEST ILS 27");
    ASSERT_EQ(said(), 1u);
    const std::string first = last();
    EXPECT_EQ(first.rfind(callsign() + "TURN ", 0), 0u) << first;
    EXPECT_NE(first.find(" HEADING "), std::string::npos);
    EXPECT_NE(first.find("MAINTAIN 6000 FEET"), std::string::npos) << first;
    EXPECT_TRUE(ends_with(first, " VECTORS TEST ILS 27, IF YOU WOULD LIKE ANOTHER APPROACH INSTEAD JUST TELL ME."));
    EXPECT_EQ(atc_state.atc_request_pending, 1);
    EXPECT_STREQ(atc_state.atc_request_text, "REQUEST ILSTEST ILS 27");

    // Within the pacing time nothing is said.
    pass_time(19.0f);
    ATC_handle_request(atc_state.atc_request_text);
    EXPECT_EQ(said(), 1u);

    // On the course line but 50 degrees off its heading: not yet established.
    pass_time(41.0f);
    place(nx + 10.0f * NM, nz, 320.0f);
    ATC_handle_request(atc_state.atc_request_text);
    EXPECT_EQ(said(), 2u);
    EXPECT_EQ(last().find("INTERCEPT"), std::string::npos) << last();
    EXPECT_EQ(atc_state.atc_request_pending, 1);

    // Established: on the course line 10 nm out, heading along it.
    pass_time(41.0f);
    place(nx + 10.0f * NM, nz, 270.0f);
    ATC_handle_request(atc_state.atc_request_text);
    EXPECT_EQ(last(), callsign() + "INTERCEPT LOCALIZER ALTIMETER 29.92 CLEARED TEST ILS 27 CONTACT TOWER.");
    EXPECT_EQ(atc_state.atc_phase, 7);
    EXPECT_EQ(atc_state.atc_plan_active, 1);
    EXPECT_EQ(atc_state.atc_plan_filed, 1);
    EXPECT_EQ(atc_state.atc_request_pending, 0);
    EXPECT_EQ(atc_state.atc_dest_airport, apt);
}

TEST_F(Atc, ApproachAltitudesStepDownWithDistanceAboveTheTerrainFloor)
{
    navaid(NAV_LOC, "TEST LOC", 34.0f, -117.5f, 270.0f);
    float nx, nz;
    local_of(34.0f, -117.5f, nx, nz);
    ASSERT_EQ(nx, 0.0f);   // the navaid at the origin: the band edges are exact distances
    ASSERT_EQ(nz, 0.0f);
    auto altitude_at = [&](float nm) {
        atc_state.atc_request_pending = 0;
        place(nx + nm * NM, nz, 90.0f);
        ATC_handle_request("REQUEST LOCTEST LOC");
        const std::string t = last();
        const size_t at = t.find("MAINTAIN ");
        return at == std::string::npos ? -1 : std::stoi(t.substr(at + 9));
    };
    atc_state.atc_plan_altitude = 40000;
    for (auto [nm, feet] : {std::pair{14.9f, 4000}, {15.0f, 6000}, {30.0f, 10000}, {60.0f, 14000}, {99.9f, 14000},
                            {100.0f, 40000}})
        EXPECT_EQ(altitude_at(nm), feet) << nm;
    atc_state.atc_plan_altitude = 0;
    terrain_height_m = 0.0f;
    EXPECT_EQ(altitude_at(5.0f), 2000);
    terrain_height_m = 1600.0f * 0.3048f;
    EXPECT_EQ(altitude_at(5.0f), 4000);
    terrain_height_m = 0.0f;
}

// A precision-radar approach to runway 27 (navaid at the field's height 0).
// Established on the course line 5 nm east, heading 270, the controller
// calls the glide path by the elevation angle, a tenth of a degree either
// side of each of its edges (2.0, 2.7, 3.3 and 4.0); 4 degrees off the
// course line it turns the plane to 270 + 2 x 4.2. Vectoring at 100 kt turns on
// a circle of 1.5 nm about the point 1.1 circles north of the 9-nm point:
// from half a circle north of it the lead angle is 180 - 45 = 135 (heading
// 180 - 135 = 45), from two circles acos(1/2) = 60 (heading 120).
TEST_F(Atc, ThePrecisionRadarCallsTheGlidePathAndLeadsItsTurns)
{
    navaid(NAV_ILS_LOC, "TEST PAR", 34.0f, -117.5f, 270.0f);
    float nx, nz;
    local_of(34.0f, -117.5f, nx, nz);
    const std::string request = "REQUEST PARTEST PAR";
    const float d = 5.0f * NM;
    // The talk-down comes every 15 to 20 seconds.
    place(nx + d, nz, 270.0f, d * std::tan(3.0f * 3.14159265f / 180.0f));
    ATC_handle_request(request.c_str());
    const size_t calls = said();
    atc_state.atc_request_pending = 1;
    pass_time(14.99f);
    ATC_handle_request(request.c_str());
    EXPECT_EQ(said(), calls);
    pass_time(5.02f);
    ATC_handle_request(request.c_str());
    EXPECT_EQ(said(), calls + 1);
    const struct {
        float degrees;
        const char* call;
    } paths[] = {{1.9f, "HEADING IS OK, WELL BELOW GLIDE PATH."},    {2.1f, "HEADING IS OK, SLIGHTLY BELOW GLIDE PATH."},
                 {2.6f, "HEADING IS OK, SLIGHTLY BELOW GLIDE PATH."}, {2.8f, "HEADING IS OK, ON GLIDE PATH."},
                 {3.2f, "HEADING IS OK, ON GLIDE PATH."},              {3.4f, "HEADING IS OK, SLIGHTLY ABOVE GLIDE PATH."},
                 {3.9f, "HEADING IS OK, SLIGHTLY ABOVE GLIDE PATH."}, {4.1f, "HEADING IS OK, WELL ABOVE GLIDE PATH."}};
    for (const auto& c : paths) {
        place(nx + d, nz, 270.0f, d * std::tan(c.degrees * 3.14159265f / 180.0f));
        atc_state.atc_request_pending = 1;
        pass_time(21.0f);
        ATC_handle_request(request.c_str());
        EXPECT_EQ(last(), callsign() + c.call) << c.degrees;
    }
    const float off = 4.2f * 3.14159265f / 180.0f;
    place(nx + d * std::cos(off), nz + d * std::sin(off), 270.0f, d * std::tan(3.0f * 3.14159265f / 180.0f));
    atc_state.atc_request_pending = 1;
    pass_time(21.0f);
    ATC_handle_request(request.c_str());
    EXPECT_EQ(last(), callsign() + "TURN RIGHT HEADING 2 7 8, ON GLIDE PATH.");

    // Established on the ground the talk-down ends (phase 8), with praise when
    // the draw is below one half: from the generator's eighth draw on, 0.226
    // paces and 0.495 praises.
    flt[0].onground_all = 1;
    place(nx + d, nz, 270.0f, 0.0f);
    atc_state.atc_request_pending = atc_state.atc_checkin_expected = 1;
    pass_time(21.0f);
    UTIL_srand(1);
    for (int k = 0; k < 7; ++k) UTIL_rand();
    ATC_handle_request(request.c_str());
    flt[0].onground_all = 0;
    EXPECT_EQ(last(), callsign() + "GOOD JOB.");
    EXPECT_EQ(atc_state.atc_phase, 8);
    EXPECT_EQ(atc_state.atc_request_pending + atc_state.atc_checkin_expected, 0);

    // The circle grows 0.025 nm a knot above 100 kt, between 1.5 and 4 nm:
    // two circles out, the lead stays 60 degrees whatever the speed.
    const struct { float knots, radius_nm, circles; int heading; } leads[] = {
        {100.0f, 1.5f, 0.5f, 45}, {100.0f, 1.5f, 2.0f, 120}, {50.0f, 1.5f, 2.0f, 120},
        {180.0f, 3.5f, 2.0f, 120}, {300.0f, 4.0f, 2.0f, 120}};
    for (const auto& c : leads) {
        flt[0].indicated_airspeed = c.knots;
        const float o = c.radius_nm * NM, p1x = nx + 9.0f * NM, p2z = nz - 1.1f * o;
        atc_state.atc_request_pending = 0;
        atc_request.atc_last_heading = -100;
        place(p1x, p2z - c.circles * o, 180.0f);
        pass_time(41.0f);
        ATC_handle_request(request.c_str());
        EXPECT_EQ(atc_request.atc_last_heading, c.heading) << c.knots << " kt, " << c.circles;
    }
}

// The approach controller's pacing, hand-off angle and altitude reminders,
// the localizer course 270 from a navaid at the origin. Pacing from the
// generator's first draw 16838 (0.51387): 20 + 20 x 0.51387 = 30.277 s for an
// ILS, 15 + 5 x 0.51387 = 17.569 s for a precision radar. Handed off within
// 8 degrees of the course line only. 25 nm out with the plan at 5,000 ft the
// altitude stays 5,000 ft; it is said again when the plane is more than 200
// ft off it and not already closing at 2 m/s or more.
TEST_F(Atc, ApproachPacingHandOffAngleAndAltitudeReminders)
{
    navaid(NAV_ILS_LOC, "TEST ILS", 34.0f, -117.5f, 270.0f);
    float nx, nz;
    local_of(34.0f, -117.5f, nx, nz);
    ASSERT_EQ(nx, 0.0f);
    ASSERT_EQ(nz, 0.0f);
    atc_state.atc_plan_altitude = 5000;

    for (const auto& [request, wait] : {std::pair{"REQUEST ILSTEST ILS", 30.277}, {"REQUEST PARTEST ILS", 17.569}}) {
        atc_state.atc_request_pending = 0;
        place(25.0f * NM, 0.0f, 270.0f);
        UTIL_srand(1);
        ATC_handle_request(request);
        EXPECT_NEAR(atc_request.atc_approach_next_time, sim_time.total_running_time_sec + wait, 1e-3) << request;
        pass_time(41.0f);
    }

    const float d = 10.0f * NM;
    for (const auto& [degrees, handed_off] : {std::pair{7.5f, true}, {-7.5f, true}, {8.5f, false}, {-8.5f, false}}) {
        const float off = degrees * 3.14159265f / 180.0f;
        atc_state.atc_request_pending = 1;
        UTIL_strcpy("REQUEST ILSTEST ILS", atc_state.atc_request_text);
        place(d * std::cos(off), d * std::sin(off), 270.0f);
        pass_time(41.0f);
        ATC_handle_request(atc_state.atc_request_text);
        EXPECT_EQ(last().find("INTERCEPT LOCALIZER") != std::string::npos, handed_off) << degrees << ": " << last();
    }

    const struct { float feet_off, climb_mps; bool said; } reminders[] = {
        {300.0f, -1.9f, true}, {300.0f, -2.1f, false}, {-300.0f, 1.9f, true}, {-300.0f, 2.1f, false},
        {150.0f, 0.0f, false}, {-150.0f, 0.0f, false}};
    atc_state.atc_request_pending = 0;
    place(25.0f * NM, 0.0f, 270.0f);
    ATC_handle_request("REQUEST ILSTEST ILS");
    ASSERT_EQ(atc_request.atc_last_altitude, 5000);
    for (const auto& r : reminders) {
        place(25.0f * NM, 0.0f, 270.0f, (5000.0f + r.feet_off) * 0.3048f);
        flt[0].vh_ind = r.climb_mps;
        pass_time(41.0f);
        sounds.spoken_texts.clear();
        ATC_handle_request(atc_state.atc_request_text);
        const bool said_altitude = said() > 0 && last().find(r.feet_off > 0 ? "DESCEND AND MAINTAIN 5000 FEET"
                                                                            : "CLIMB AND MAINTAIN 5000 FEET") !=
                                                     std::string::npos;
        EXPECT_EQ(said_altitude, r.said) << r.feet_off << " ft, " << r.climb_mps << " m/s: " << last();
    }
    flt[0].vh_ind = 0.0f;
}

// The airport requests, the wind check, the missed approach and the
// emergency, 10 nm south of the field heading north; wind 270 at 12 varying
// 20 degrees. The emergency passes over a nearer field whose runway is
// shorter than 500 ft.
TEST_F(Atc, AirportRequestsWindCheckMissedApproachAndEmergency)
{
    airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    airport("KSHT", "SHORT FIELD", 33.9f, -117.5f, "36", 0.0f, 100.0f);
    place(0.0f, 10.0f * NM, 0.0f);
    sim_weather.wind_direction_degt[0] = 270.0f;
    sim_weather.wind_speed_kt[0] = 12.0f;
    sim_weather.shear_direction_degt[0] = 20.0f;
    sim_weather.shear_speed_kt[0] = 0.0f;
    const std::string wind_words = "WIND 2 7 0 AT 12 VARIABLE 2 5 0 TO 2 9 0";
    const struct { const char* request; std::string reply; } rows[] = {
        {"REQUEST VECTEST FIELD",
         "TURN LEFT HEADING 3 6 0 VECTORS TEST FIELD. THEY ARE ABOUT 10 MILES FROM YOUR CURRENT POSITION."},
        {"REQUEST LANTEST FIELD", wind_words + ", CLEARED TO LAND RUNWAY 2 7 TEST FIELD."},
        {"REQUEST TAXTEST FIELD", "TAXI RUNWAY 2 7."},
        {"REQUEST TAKTEST FIELD", "FLY RUNWAY HEADING CLEARED FOR TAKE OFF RUNWAY 2 7."},
        {"WIN", wind_words + "."},
        {"MIS", "UNDERSTAND MISSED APPROACH. HOLD AS PUBLISHED. SAY INTENTIONS WHEN ABLE."},
        {"DEC", "SQUAWK 7 7 0 0 TURN LEFT HEADING 3 6 0 VECTORS TEST FIELD, THEY ARE ABOUT 10 MILES FROM YOUR "
                "CURRENT POSITION."},
    };
    for (const auto& r : rows) {
        atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
        atc_state.atc_phase = 5;
        ATC_handle_request(r.request);
        EXPECT_EQ(last(), callsign() + r.reply) << r.request;
        const bool drops_plan = r.request[0] == 'M' || r.request[0] == 'D';
        EXPECT_EQ(atc_state.atc_plan_filed + atc_state.atc_plan_active, drops_plan ? 0 : 2) << r.request;
        EXPECT_EQ(atc_state.atc_phase, r.request[0] == 'D' ? 0 : 5) << r.request;
    }
    sim_weather.shear_direction_degt[0] = 0.0f;
}

TEST_F(Atc, ShipsTankerLightsAndUnknownRequests)
{
    place(0.0f, 10.0f * NM, 0.0f);
    ship_x[SHIP_CARRIER] = ship_z[SHIP_CARRIER] = 0.0f;
    ship_heading[SHIP_CARRIER] = 90.0f;
    ship_x[SHIP_FRIGATE] = 0.0f;
    ship_z[SHIP_FRIGATE] = 0.0f;
    ship_heading[SHIP_FRIGATE] = 180.0f;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    ATC_handle_request("CAR");
    EXPECT_EQ(last(), callsign() + "TURN LEFT HEADING 3 6 0 VECTORS FOR THE NEAREST CARRIER, HE IS 10 MILES FROM YOUR "
                                   "CURRENT POSITION, HEADING 0 9 0 DEGREES AT 29 KNOTS TRUE.");
    EXPECT_EQ(atc_state.atc_plan_filed + atc_state.atc_plan_active, 0);
    EXPECT_EQ(sim_graphics_settings.draw_ships, 1);
    ATC_handle_request("FRIGATE");
    EXPECT_TRUE(ends_with(last(), "HEADING 1 8 0 DEGREES AT 19 KNOTS TRUE."));

    // The tanker: loaded into slot 1 once, placed by three random values.
    UTIL_strcat3(program_folder, "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF",
                 screen_settings.situation_acf_paths[2]);
    UTIL_srand(1);
    ATC_handle_request("TAN");
    EXPECT_STREQ(pln[1].acf_file_name, "ORVELL AIRLINER.ACF");
    EXPECT_GT(pln[1].acf_m_max, 0.0f);
    const float r1 = 16838.0f, r2 = 5758.0f, r3 = 10113.0f;
    EXPECT_NEAR(flt[1].local_y, 7620.0f, 0.01f);
    EXPECT_NEAR(flt[1].local_x, (r2 * 20.0f / 32767.0f - 10.0f) * NM, 0.5f);
    EXPECT_NEAR(flt[1].local_z, 10.0f * NM + (r1 * 20.0f / 32767.0f - 10.0f) * NM, 0.5f);
    EXPECT_NEAR(flt[1].psi, r3 * 360.0f / 32767.0f, 0.01f);
    EXPECT_TRUE(ends_with(last(), " KNOTS TRUE AT FLIGHT LEVEL 250.")) << last();
    EXPECT_NE(last().find("DEGREES AT 400 KNOTS"), std::string::npos);
    flt[1].local_x = 123.0f;
    ATC_handle_request("TAN");
    EXPECT_EQ(flt[1].local_x, 123.0f);

    // Runway lights of the chosen airport.
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    start_selection.airport_index = apt;
    near_airport_light_state[0] = 13;
    ATC_handle_request("BRI");
    EXPECT_EQ(last(), callsign() + "THE LIGHTS ARE ALREADY ON AT MAX!");
    EXPECT_EQ(near_airport_light_state[0], 3);
    ATC_handle_request("DIM");
    EXPECT_EQ(last(), callsign() + "OK HOW DOES THIS LOOK?");
    EXPECT_EQ(near_airport_light_state[0], 2);
    near_airport_light_state[0] = 1;
    ATC_handle_request("DIM");
    EXPECT_EQ(last(), callsign() + "OK I WILL TURN THEM OFF FOR YOU!");
    EXPECT_EQ(near_airport_light_state[0], 0);
    near_airport_light_state[0] = 12;   // level 2 as the list stored it: one step up
    ATC_handle_request("BRI");
    EXPECT_EQ(last(), callsign() + "OK HOW DOES THIS LOOK?");
    EXPECT_EQ(near_airport_light_state[0], 3);
    near_airport_light_state[0] = 0;
    ATC_handle_request("BRI");
    EXPECT_EQ(near_airport_light_state[0], 1);
    near_airport_light_state[0] = 0;
    ATC_handle_request("DIM");
    EXPECT_EQ(last(), callsign() + "THE LIGHTS ARE OFF AT THIS FIELD RIGHT NOW!");
    EXPECT_EQ(near_airport_light_state[0], 0);
    // A selection outside the table changes no light.
    start_selection.airport_index = 1 << 30;
    ATC_handle_request("BRI");
    EXPECT_EQ(near_airport_light_state[0], 0);

    ATC_handle_request("HELLO");
    EXPECT_EQ(last(), callsign() + "SAY AGAIN PLEASE");
    ATC_handle_request(nullptr);
    EXPECT_EQ(last(), callsign() + "SAY AGAIN PLEASE");
}

TEST_F(Atc, ATargetNoLongerInTheTablesIsAskedAgainAndAnEmergencyWithoutAirportsGetsTheSquawk)
{
    navaid(NAV_ILS_LOC, "TEST ILS 27", 34.0f, -117.5f, 270.0f);
    place(10.0f * NM, 0.0f, 0.0f);
    ATC_handle_request("REQUEST ILSTEST ILS 27");
    EXPECT_EQ(atc_state.atc_request_pending, 1);
    navaid_table.clear();   // a planet switch
    pass_time(60.0f);
    ATC_handle_request(atc_state.atc_request_text);
    EXPECT_EQ(last(), callsign() + "SAY AGAIN PLEASE");
    EXPECT_EQ(atc_state.atc_request_pending, 0);
    for (const char* r : {"REQUEST VECNOWHERE", "REQUEST LAN", "REQUEST TAK", "REQUEST PAR\x01\xff"}) {
        ATC_handle_request(r);
        EXPECT_EQ(last(), callsign() + "SAY AGAIN PLEASE") << r;
    }

    atc_state.atc_plan_filed = 1;
    local_airport_last = 5;   // a list left from before a reload
    ATC_handle_request("DEC");
    EXPECT_EQ(last(), callsign() + "SQUAWK 7 7 0 0.");
    EXPECT_EQ(atc_state.atc_plan_filed, 0);

    local_airport_last = -1;
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    airport("KSHT", "SHORT FIELD", 34.0f, -117.45f, "27", 270.0f, 150.0f);
    ATC_handle_request("DEC");
    EXPECT_NE(last().find("VECTORS TEST FIELD, THEY ARE ABOUT 10 MILES"), std::string::npos) << last();
    (void)apt;
}

TEST_F(Atc, AFlightPlanIsFlownFromClearanceToTheRamp)
{
    const int dep = airport("KDEP", "DEPARTURE FIELD", 34.0f, -117.5f, "09", 90.0f, 2000.0f);
    const int dest = airport("KDST", "DESTINATION FIELD", 34.3f, -117.5f, "27", 270.0f, 2500.0f);
    navaid(NAV_ILS_LOC, "DESTINATION ILS", 34.3f, -117.52f, 270.0f);
    start_selection.airport_index = dep;
    atc_state.atc_dest_airport = dest;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    atc_state.atc_plan_option1 = atc_state.atc_plan_sir = 1;
    atc_state.atc_plan_altitude = 6020;
    sim_weather.wind_direction_degt[0] = 270.0f;
    sim_weather.wind_speed_kt[0] = 10.0f;
    float dx, dz, nx, nz;
    local_of(34.0f, -117.5f, dx, dz);
    local_of(34.3f, -117.52f, nx, nz);
    flt_struct& f = flt[0];
    place(dx, dz, 90.0f, 0.0f);
    f.onground_all = 1;
    std::vector<int> phases{atc_state.atc_phase};
    auto step = [&](int pilot_call) {
        if (pilot_call) atc_state.atc_checkin_expected = 0;
        ATC_clearance_and_handoffs(pilot_call);
        if (phases.back() != atc_state.atc_phase) phases.push_back(atc_state.atc_phase);
    };

    step(0);
    EXPECT_EQ(last().rfind(callsign() + "CLEARED AS FILED MAINTAIN AT OR BELOW 2000 EXPECT 6000 10 MINUTES AFTER "
                                        "DEPARTURE. DEPARTURE WILL BE ON 1 ",
                           0),
              0u)
        << last();
    EXPECT_TRUE(ends_with(last(), ", ADVISE WHEN READY TO TAXI."));
    f.onground_all = 0;
    f.y_agl = 150.0f;
    step(0);
    EXPECT_EQ(atc_state.atc_phase, 3);
    f.y_agl = 201.0f;
    step(0);
    EXPECT_EQ(last(), callsign() + "CONTACT DEPARTURE.");
    step(1);
    EXPECT_EQ(last(), callsign() + "RADAR CONTACT. CLIMB TO 6000 APPROVED, PROCEED ON COURSE TO DESTINATION FIELD.");
    pass_time(46.0f);
    step(0);
    EXPECT_EQ(last().rfind(callsign() + "CONTACT CENTER 1 ", 0), 0u) << last();
    const size_t before = said();
    step(0);   // center waits for the check-in
    EXPECT_EQ(said(), before);
    {
        // The center's answer to the check-in asks for a new squawk three times in ten.
        const atc_state_block state_before = atc_state;
        const atc_clearance_record clearance_before = atc_clearance;
        int resets = 0;
        for (int n = 0; n < 400; ++n) {
            atc_state = state_before;
            atc_clearance = clearance_before;
            speech_text_until = 0.0f;
            ATC_clearance_and_handoffs(1);
            ASSERT_EQ(last().rfind(callsign() + "ROGER PROCEED ON COURSE TO DESTINATION FIELD", 0), 0u) << last();
            resets += last().find(" RESET TRANSPONDER SQUAWK ") != std::string::npos;
        }
        EXPECT_GT(resets, 80);    // about 120 of 400
        EXPECT_LT(resets, 160);
        atc_state = state_before;
        atc_clearance = clearance_before;
        speech_text_until = 0.0f;
    }
    step(1);
    EXPECT_EQ(last().rfind(callsign() + "ROGER PROCEED ON COURSE TO DESTINATION FIELD ALTIMETER 29.92. ", 0), 0u);

    // Near the destination the en-route check hands over to approach.
    place(nx + 12.0f * NM, nz, 270.0f, 6000.0f * 0.3048f);
    pass_time(46.0f);
    step(0);
    EXPECT_EQ(last().rfind(callsign() + "CONTACT DESTINATION FIELD APPROACH ON ", 0), 0u) << last();
    step(1);   // the approach check-in asks for the ILS for the pilot
    EXPECT_TRUE(ends_with(last(), " VECTORS DESTINATION ILS, IF YOU WOULD LIKE ANOTHER APPROACH INSTEAD JUST TELL ME."));
    EXPECT_EQ(atc_state.atc_request_pending, 1);
    pass_time(41.0f);
    ATC_handle_request(atc_state.atc_request_text);   // as the plane step re-submits it
    if (phases.back() != atc_state.atc_phase) phases.push_back(atc_state.atc_phase);
    EXPECT_EQ(last(), callsign() + "INTERCEPT LOCALIZER ALTIMETER 29.92 CLEARED DESTINATION ILS CONTACT TOWER.");
    step(1);
    EXPECT_EQ(last(), callsign() + "WIND 2 7 0 AT 10, CLEARED TO LAND RUNWAY 2 7 DESTINATION FIELD.");
    f.onground_all = 1;
    f.groundspeed = 12.0f;
    step(0);
    EXPECT_EQ(atc_state.atc_phase, 8);
    f.groundspeed = 9.0f;
    step(0);
    EXPECT_EQ(last().rfind(callsign() + "MAKE NEXT TURN-OFF CONTACT GROUND 1 2 1 point ", 0), 0u) << last();
    step(1);
    EXPECT_EQ(last(), callsign() + "TAXI TO THE RAMP.");
    EXPECT_EQ(atc_state.atc_plan_filed + atc_state.atc_plan_active, 0);
    EXPECT_EQ(phases, (std::vector<int>{0, 3, 4, 5, 6, 7, 8, 9}));
}

// The en-route checks: the altitude reminder with its vertical-speed
// allowance, the speed limit below 10,000 ft, the approach hand-off distance
// that grows from 20 nm at sea level to 100 nm at 30,000 ft, and the tower
// taking over within 0.2 degree of the field.
TEST_F(Atc, EnRouteChecksAltitudeSpeedHandOffDistanceAndTower)
{
    const int dest = airport("KDST", "DESTINATION FIELD", 34.3f, -117.5f, "27", 270.0f, 2500.0f);
    float nx, nz;
    local_of(34.3f, -117.5f, nx, nz);
    atc_state.atc_dest_airport = dest;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    atc_state.atc_plan_sir = 1;
    atc_state.atc_plan_altitude = 6000;
    auto check = [&](float east_nm, float height_m) {
        place(nx + east_nm * NM, nz, 270.0f, height_m);
        atc_state.atc_phase = 5;
        atc_state.atc_checkin_expected = 0;
        atc_clearance.atc_enroute_check_time = 0.0;
        atc_clearance.atc_vectors_given = 0;
        speech_text_until = 0.0f;
        const size_t before = said();
        ATC_clearance_and_handoffs(0);
        return said() == before ? std::string() : last();
    };
    const std::string remind = callsign() + "YOUR FLIGHT PLAN CALLS FOR 6000 FEET WHILE ENROUTE, SIR. I WILL NEED YOU TO ";
    const std::string slow = callsign() + "I WILL NEED YOU TO STAY BELOW 2 5 0 KNOTS WHILE BELOW TEN THOUSAND FEET.";
    struct enroute {
        float feet, vs, ias;
        std::string said;   // empty: neither reminder
    };
    const enroute cases[] = {
        {6300.0f, -1.9f, 200.0f, remind + "DESCEND"}, {6300.0f, -2.0f, 200.0f, ""},
        {5700.0f, 1.9f, 200.0f, remind + "CLIMB"},    {5700.0f, 2.0f, 200.0f, ""},
        {6150.0f, 0.0f, 251.0f, slow},                {6150.0f, 0.0f, 250.0f, ""},
    };
    for (const enroute& c : cases) {
        flt[0].vh_ind = c.vs;
        flt[0].indicated_airspeed = c.ias;
        const std::string text = check(40.0f, c.feet * 0.3048f);   // beyond the 36 nm of 6,000 ft
        if (c.said.empty()) {
            EXPECT_EQ(text.find("YOUR FLIGHT PLAN"), std::string::npos) << text;
            EXPECT_EQ(text.find("STAY BELOW"), std::string::npos) << text;
        } else {
            EXPECT_EQ(text.rfind(c.said, 0), 0u) << c.feet << " " << c.vs << ": " << text;
        }
    }

    flt[0].vh_ind = 0.0f;
    flt[0].indicated_airspeed = 200.0f;
    const std::string approach = callsign() + "CONTACT DESTINATION FIELD APPROACH ON ";
    for (auto [east_nm, height_m, handed] : {std::tuple{19.9f, 0.0f, true}, {20.1f, 0.0f, false},
                                             {99.0f, 9144.0f, true}, {101.0f, 9144.0f, false}}) {
        atc_state.atc_plan_altitude = static_cast<int32_t>(std::lround(height_m / 0.3048f));
        EXPECT_EQ(check(east_nm, height_m).rfind(approach, 0) == 0, handed) << east_nm;
    }

    // Phase 6: the tower within 0.2 degree (taken flat) of the field's first runway.
    for (auto [north, handed] : {std::pair{0.19f, true}, {0.21f, false}}) {
        float x, z;
        local_of(34.3f + north, -117.5f, x, z);
        place(x, z, 180.0f, 1000.0f);
        atc_state.atc_phase = 6;
        atc_state.atc_checkin_expected = 0;
        atc_state.atc_request_pending = 0;
        ATC_clearance_and_handoffs(0);
        EXPECT_EQ(atc_state.atc_phase, handed ? 7 : 6) << north;
    }
}

TEST_F(Atc, ClearancesOfHighFieldsUntoweredFieldsAndAirbornePickUps)
{
    const int dep = airport("KDEP", "DEPARTURE FIELD", 34.0f, -117.5f, "09", 90.0f, 2000.0f);
    airport("KDST", "DESTINATION FIELD", 34.3f, -117.5f, "27", 270.0f, 2500.0f);
    start_selection.airport_index = dep;
    atc_state.atc_dest_airport = 1;
    flt[0].onground_all = 1;
    atc_state.atc_plan_option1 = 1;
    for (auto [field_ft, filed, initial] :
         {std::tuple{9800.0f, 10000, 9500}, {2000.0f, 3000, 2500}, {0.0f, 800, 1000}, {14000.0f, 12000, 10000}}) {
        airport_table[dep].elevation = field_ft * 0.3048f;
        atc_state.atc_phase = 0;
        atc_state.atc_plan_altitude = filed;
        ATC_clearance_and_handoffs(0);
        EXPECT_EQ(atc_state.atc_initial_altitude, initial) << field_ft;
        EXPECT_EQ(atc_state.atc_phase, 3);
    }

    airport_table[dep].tower_flag = 0;
    sim_time.zulu_time_sec = 14.0f * 3600.0f + 5.0f * 60.0f;
    atc_state.atc_phase = 0;
    ATC_clearance_and_handoffs(0);
    EXPECT_TRUE(ends_with(last(), ", TIME NOW 14 5 Z, CLEARANCE VOID IF NOT OFF BY 14 15 Z.")) << last();
    EXPECT_EQ(atc_state.atc_phase, 5);

    airport_table[dep].tower_flag = 1;
    flt[0].onground_all = 0;
    atc_state.atc_phase = 0;
    atc_state.atc_checkin_expected = 0;
    ATC_clearance_and_handoffs(0);
    EXPECT_EQ(last().rfind(callsign() + "CLEARED AS FILED SQUAWK ", 0), 0u) << last();
    EXPECT_EQ(atc_state.atc_phase, 5);
    EXPECT_EQ(atc_state.atc_checkin_expected, 1);

    // At 40,000 ft the approach hand-off comes 126.7 nm out.
    float x, z;
    local_of(34.3f, -117.5f, x, z);
    atc_state.atc_plan_altitude = 40000;
    for (auto [nm, phase] : {std::pair{126.8f, 5}, {126.6f, 6}}) {
        place(x + nm * NM, z, 90.0f, 40000.0f * 0.3048f);
        atc_state.atc_checkin_expected = 0;
        ATC_clearance_and_handoffs(1);
        pass_time(46.0f);
        ATC_clearance_and_handoffs(0);
        EXPECT_EQ(atc_state.atc_phase, phase) << nm;
    }
}

TEST_F(Atc, TheLandingSignalOfficerCallsTheBallThenCorrections)
{
    ship_x[SHIP_CARRIER] = ship_y[SHIP_CARRIER] = ship_z[SHIP_CARRIER] = 0.0f;
    ship_heading[SHIP_CARRIER] = 90.0f;
    const double course = 82.0 * M_PI / 180.0;
    auto eye = [&](double range_nm, double glide_deg, double lineup_deg, float alpha, float psi = 82.0f) {
        const double bearing = course + lineup_deg * M_PI / 180.0;
        const double r = range_nm * 1852.0;
        atc_state.atc_carrier_dx = static_cast<float>(-r * std::sin(bearing));
        atc_state.atc_carrier_dz = static_cast<float>(r * std::cos(bearing));
        atc_state.atc_carrier_dy = static_cast<float>(r * std::tan(glide_deg * M_PI / 180.0));
        flt[0].psi = psi;
        flt[0].alpha = alpha;
        const size_t before = said();
        ATC_carrier_lso();
        return said() == before ? std::string() : last();
    };
    EXPECT_EQ(eye(2.0, 3.5, 0.0, 8.0f), "CALL THE BALL, I L S 1 0 8 POINT 0 0, HEADING 0 8 2");
    EXPECT_EQ(atc_state.atc_ball_called, 1);
    for (auto [range, glide, lineup, alpha, call] :
         {std::tuple{2.0, 1.5, 0.0, 8.0f, "POWER"}, {2.0, 6.5, 0.0, 8.0f, "POWER OFF"},
          {0.2, 7.0, 0.0, 8.0f, "WAVE OFF!"}, {0.27, 7.0, 0.0, 8.0f, "POWER OFF"}, {0.2, 3.0, 0.0, 5.0f, "ATTITUDE!"}, {0.2, 3.0, 0.0, 13.0f, ""},
          {2.0, 2.001, 0.0, 6.0f, ""}, {2.0, 5.999, 0.0, 12.0f, ""}, {2.0, 3.0, 0.0, 5.9f, "POWER OFF"}, {2.0, 3.0, 0.0, 12.5f, "POWER"},
          {2.0, 3.0, 5.0, 8.0f, "RIGHT FOR LINE UP"}, {2.0, 3.0, -5.0, 8.0f, "COME LEFT"},
          {2.0, 3.0, 3.5, 8.0f, "RIGHT FOR LINE UP"}, {2.0, 3.0, -3.5, 8.0f, "COME LEFT"}, {2.0, 3.0, 2.5, 8.0f, ""}}) {
        EXPECT_EQ(eye(range, glide, lineup, alpha), call) << range << " " << glide << " " << alpha;
    }
    // A heading 20 degrees off the deck course lies outside the window.
    EXPECT_EQ(eye(2.0, 1.5, 0.0, 8.0f, 102.0f), "");
    EXPECT_EQ(atc_state.atc_ball_called, 0);
    EXPECT_NE(eye(2.0, 1.5, 0.0, 8.0f, 96.0f), "");   // 14 degrees off: back inside, the ball again
    EXPECT_EQ(atc_state.atc_ball_called, 1);
    // Leaving the window clears the call; a rotor of type 3, here on a slot
    // without an engine as the set-up marks it, stays quiet after it.
    EXPECT_EQ(eye(6.0, 3.0, 0.0, 8.0f), "");
    EXPECT_EQ(atc_state.atc_ball_called, 0);
    pln[0].acf_num_engines = 1;
    pln[0].acf_prop_type[2] = 3;
    pln[0].acf_has_collective_rotor = 1;
    EXPECT_NE(eye(2.0, 1.5, 0.0, 8.0f), "");
    EXPECT_EQ(eye(2.0, 1.5, 0.0, 8.0f), "");
    // The carrier outside the loaded area: nothing changes.
    ship_x[SHIP_CARRIER] = -9.9e9f;
    EXPECT_EQ(eye(6.0, 3.0, 0.0, 8.0f), "");
    EXPECT_EQ(atc_state.atc_ball_called, 1);
}

// ---------------------------------------------------------------------------
// The request window, drawn on the offscreen context.

#include "core/input.h"
#include "graphics/font.h"
#include "links/speech.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"

namespace {

class AtcWindow : public Atc {
protected:
    void SetUp() override
    {
        Atc::SetUp();
        mouse.mouse_x = mouse.mouse_y = 0.0f;
        speech_text[0] = 0;   // no last message: no "SAY AGAIN" row
        atc_state.atc_window_open = 1;
    }
    // The menu drawn; the bottom of each drawn text line, top first, and the lines.
    static std::vector<fb_rect> draw() { return capture_rects([] { ATC_request_menu(0); }); }
    static void choose(int row, int col = 0)
    {
        atc_state.atc_hover_row = row;
        atc_state.atc_hover_col = col;
        ATC_request_menu(1);
    }
};

}  // namespace

TEST_F(AtcWindow, AClickOnAHiddenRowOrBeforeTheFirstDrawingOnlyClosesTheWindow)
{
    choose(18);   // "WIND CHECK", but nothing has been drawn yet
    EXPECT_EQ(atc_state.atc_window_open, 0);
    EXPECT_EQ(said(), 0u);

    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    flt[0].onground_all = 1;
    atc_state.atc_window_open = 1;
    const std::vector<fb_rect> rects = draw();
    for (int row : {4, 9, 12, 16, 17, 19, 21, 27, 28}) {
        atc_state.atc_window_open = 1;
        choose(row);
        EXPECT_EQ(atc_state.atc_window_open, 0) << row;
        EXPECT_EQ(atc_state.atc_page, 0);
    }
    EXPECT_EQ(said(), 0u);

    // Rows drawn stand 10 units apart from y 737 down, the highlighted one outlined.
    const std::vector<fb_rect> reference =
        capture_rects([] { OGL_draw_string(48, 6.0f, 737.0f, "FILE FLIGHT PLAN", 9999.0f, 106); });
    ASSERT_FALSE(reference.empty());
    const float top = reference[0].y1;
    std::set<int> rows;
    for (const fb_rect& r : rects) rows.insert(static_cast<int>(std::lround((top - r.y1) / 10.0f)));
    EXPECT_EQ(rows, (std::set<int>{0, 2, 3, 10, 11, 18, 22, 23, 24, 25, 26}));
    for (const fb_rect& r : rects) {
        const float down = top - r.y1;
        EXPECT_NEAR(down, 10.0f * std::round(down / 10.0f), 0.01f);
    }
    const std::vector<std::string> lines = text_lines(106, rects);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "FILE FLIGHT PLAN");
    EXPECT_EQ(lines[3], "N123 REQUEST TAXI TO ACTIVE TEST FIELD");

    // The taxi row answers from the chosen field.
    atc_state.atc_window_open = 1;
    choose(10);
    EXPECT_EQ(last(), callsign() + "TAXI RUNWAY 2 7.");
}

// Each main-page row's state (0 hidden, 1 shown, 2 highlighted) follows the
// plan, the ground and the controller phase; the mouse picks a row 10 units
// high and a column 170 wide, and a move of half a unit or less keeps a
// highlight the keys moved.
TEST_F(AtcWindow, RowStatesFollowThePlanAndTheMousePicksTheRow)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    const int apt = airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    struct rows_case {
        int filed, active, on_ground, phase, checkin;
        int row0, row1, row5, row6, row7, row10, row12, row19;
    };
    const rows_case cases[] = {
        {0, 0, 1, 0, 0, 2, 0, 0, 0, 0, 1, 0, 0},
        {1, 0, 1, 3, 1, 0, 1, 2, 0, 2, 2, 0, 0},
        {0, 0, 1, 3, 1, 2, 0, 0, 0, 1, 1, 0, 0},
        {1, 1, 1, 4, 0, 0, 1, 0, 1, 0, 1, 0, 0},
        {1, 1, 0, 4, 1, 0, 1, 0, 1, 2, 0, 1, 1},
    };
    for (const rows_case& c : cases) {
        atc_state.atc_plan_filed = c.filed;
        atc_state.atc_plan_active = c.active;
        atc_state.atc_phase = c.phase;
        atc_state.atc_checkin_expected = c.checkin;
        flt[0].onground_all = c.on_ground;
        draw();
        const int32_t* st = atc_menu.atc_row_state;
        const std::vector<int> got = {st[0], st[1], st[5], st[6], st[7], st[10], st[12], st[19]};
        EXPECT_EQ(got, (std::vector<int>{c.row0, c.row1, c.row5, c.row6, c.row7, c.row10, c.row12, c.row19}))
            << c.filed << c.active << c.on_ground << " phase " << c.phase;
    }

    // Column floor((x - 6) / 170), row floor((737 - y + 7) / 10).
    const float spots[][4] = {{176.0f, 694.0f, 1, 5}, {6.0f, 744.0f, 0, 0}, {175.9f, 704.5f, 0, 3}};
    for (const auto& p : spots) {
        atc_state.atc_page = 1;   // a list page keeps the column
        mouse.mouse_x = p[0], mouse.mouse_y = p[1];
        draw();
        EXPECT_EQ(atc_state.atc_hover_col, int(p[2])) << p[0];
        EXPECT_EQ(atc_state.atc_hover_row, int(p[3])) << p[1];
    }
    atc_state.atc_hover_row = 9;
    mouse.mouse_y += 0.5f;
    draw();
    EXPECT_EQ(atc_state.atc_hover_row, 9);
    mouse.mouse_y += 0.6f;   // 704.5 + 1.1: row floor(3.84)
    draw();
    EXPECT_EQ(atc_state.atc_hover_row, 3);

    // The check-in call names the controller of the phase.
    atc_state.atc_page = 0;
    atc_state.atc_checkin_expected = 1;
    atc_state.atc_dest_airport = apt;
    const std::pair<int, const char*> calls[] = {{4, "TEST FIELD DEPARTURE N123 WITH YOU."},
                                                 {5, "CENTER, N123 WITH YOU."},
                                                 {6, "TEST FIELD APPROACH N123 WITH YOU INBOUND."},
                                                 {7, "TEST FIELD TOWER N123 WITH YOU INBOUND."},
                                                 {9, "TEST FIELD GROUND N123 CLEAR ACTIVE."},
                                                 {2, "N123 WITH YOU."}};
    for (const auto& [phase, call] : calls) {
        atc_state.atc_phase = phase;
        const std::vector<std::string> lines = text_lines(106, draw());
        EXPECT_NE(std::find(lines.begin(), lines.end(), call), lines.end()) << phase;
    }
}

TEST_F(AtcWindow, PickListsShowTheNamesAndAskWithTheWholeName)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    navaid(NAV_GLIDESLOPE, "ORVELL PRECISION 27", 34.0f, -117.5f, 270.0f);
    navaid(NAV_GLIDESLOPE, "ELSEWHERE", 34.0f, -117.5f, 270.0f);
    navaid_table.back().local = 0;
    airport("KTST", "TEST FIELD WITH A NAME OF MANY LETTERS", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    place(10.0f * NM, 0.0f, 270.0f);
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    draw();
    choose(16);   // the precision-radar list; the plan is dropped
    EXPECT_EQ(atc_state.atc_page, 7);
    EXPECT_EQ(atc_state.atc_window_open, 1);
    EXPECT_EQ(atc_state.atc_plan_filed + atc_state.atc_plan_active, 0);
    EXPECT_EQ(text_lines(106, draw()), (std::vector<std::string>{"ORVELL P"}));
    choose(0, 0);
    EXPECT_EQ(atc_state.atc_window_open, 0);
    EXPECT_STREQ(atc_state.atc_request_text, "REQUEST PARORVELL PRECISION 27");
    EXPECT_TRUE(ends_with(last(), " VECTORS ORVELL P, IF YOU WOULD LIKE ANOTHER APPROACH INSTEAD JUST TELL ME."));

    // The towered fields' ATIS: a name cut to 27 characters, a letter A..Z.
    atc_state.atc_window_open = 1;
    atc_state.atc_page = 1;
    EXPECT_EQ(text_lines(106, draw()), (std::vector<std::string>{"TEST FIELD WITH A NAME OF M"}));
    UTIL_srand(1);   // first draw 16838: 16838 * 26 / 32768 = 13, the letter N
    choose(0, 0);
    EXPECT_EQ(last().rfind("TEST FIELD WITH A NAME OF MANY LETTERS INFORMATION NOVEMBER.", 0), 0u) << last();
    // Shown with the zone's name, said as the voice says it right.
    EXPECT_NE(std::string(speech_text).find(" HUNDRED ZULU WEATHER. "), std::string::npos) << speech_text;
    EXPECT_NE(last().find(" HUNDRED ZOOLOO WEATHER. "), std::string::npos) << last();
    EXPECT_EQ(last().find("ZULU"), std::string::npos) << last();
    // An empty list: a click closes and says nothing.
    const size_t before = said();
    atc_state.atc_window_open = 1;
    atc_state.atc_page = 2;
    EXPECT_TRUE(text_lines(106, draw()).empty());
    choose(0, 0);
    EXPECT_EQ(atc_state.atc_window_open, 0);
    EXPECT_EQ(said(), before);
    // The landing list: every towered field of the area, 75 NM off too (its radius, 555.6 taken in degrees, holds them all).
    airport("KFAR", "FAR TOWER", 34.8f, -116.2f, "09", 90.0f, 2000.0f);
    airport("KNOT", "NO TOWER", 34.0f, -117.5f, "09", 90.0f, 2000.0f, 0.0f, false);
    atc_state.atc_window_open = 1;
    atc_state.atc_page = 4;
    EXPECT_EQ(text_lines(106, draw()), (std::vector<std::string>{"TEST FIELD WITH A NAME OF M", "FAR TOWER"}));
    // The area moves on between the drawing and the click (the first field
    // leaves it): the click still answers for the field drawn under it.
    airport_table[0].local = 0;
    choose(1, 0);
    EXPECT_NE(last().find("CLEARED TO LAND RUNWAY 0 9 FAR TOWER."), std::string::npos) << last();
    airport_table[0].local = 1;

    // The main page's one-word requests, row by row (airborne: all shown), each by its answer.
    const std::pair<int, const char*> requests[] = {
        {18, " WIND "},    {19, " MISSED APPROACH."}, {20, " SQUAWK 7 7 0 0 "},     {22, " CARRIER,"},
        {23, " FRIGATE,"}, {24, " TANKER,"},          {25, " HOW DOES THIS LOOK?"}, {26, " TURN THEM OFF "}};
    for (auto [row, answer] : requests) {
        atc_state.atc_page = 0;
        atc_state.atc_window_open = 1;
        draw();
        choose(row);
        EXPECT_EQ(atc_state.atc_window_open, 0) << row;
        EXPECT_NE(last().find(answer), std::string::npos) << row << ": " << last();
    }
}

// Whatever the keys, clicks, peers and tables hold, the radio neither crashes
// nor reads outside a table, and every text keeps its terminator.
TEST_F(Atc, RandomRequestsPositionsAndWindowStatesStayInBounds)
{
    airport("KTST", "TEST FIELD", 34.0f, -117.5f, "27", 270.0f, 2000.0f);
    navaid(NAV_ILS_LOC, "TEST ILS", 34.0f, -117.5f, 270.0f);
    navaid(NAV_GLIDESLOPE, "TEST PAR", 34.0f, -117.5f, 1.0e30f);
    const float odd[] = {0.0f, -1.0f, 1.0e30f, -1.0e30f, NAN, INFINITY, 359.9f, 12345.0f};
    const char* const requests[] = {"REQUEST ILSTEST ILS", "REQUEST PARTEST PAR", "REQUEST VECTEST FIELD", "DEC", "TAN",
                                    "CAR", "BRI", "DIM", "WIN", "REQUEST LANTEST FIELD", "", "REQUEST"};
    std::srand(7);
    auto pick = [](int n) { return std::rand() % n; };
    for (int round = 0; round < 300; ++round) {
        flt_struct& f = flt[0];
        f.local_x = odd[pick(8)];
        f.local_z = odd[pick(8)];
        f.psi = odd[pick(8)];
        f.magpsi = odd[pick(8)];
        f.indicated_airspeed = odd[pick(8)];
        f.h_ind = odd[pick(8)];
        f.latitude = odd[pick(8)];
        sim_weather.wind_direction_degt[0] = odd[pick(8)];
        sim_weather.wind_speed_kt[0] = odd[pick(8)];
        sim_weather.shear_speed_kt[0] = odd[pick(8)];
        sim_weather.visibility_reported_m = odd[pick(8)];
        sim_weather.cloud_type[0] = pick(9) - 2;
        sim_weather.cloud_base_msl_m[0] = odd[pick(8)];
        sim_flightmodel_position.magnetic_variation = odd[pick(8)];
        atc_state.atc_carrier_dx = odd[pick(8)];
        atc_state.atc_carrier_dy = odd[pick(8)];
        start_selection.airport_index = pick(3) - 1;
        atc_state.atc_dest_airport = pick(4) - 2;
        atc_state.atc_phase = pick(12) - 1;
        atc_state.atc_request_pending = pick(2);
        atc_state.atc_plan_altitude = pick(2) ? 2000000000 : -5;
        local_airport_last = pick(4) - 1;
        near_airport_light_state[0] = pick(40) - 20;
        atc_state.atc_window_open = 1;
        atc_state.atc_page = pick(12) - 2;
        atc_state.atc_hover_row = pick(2) ? pick(100) - 50 : std::numeric_limits<int>::max();
        atc_state.atc_hover_col = pick(20) - 10;
        pass_time(static_cast<float>(pick(60)));
        ATC_handle_request(requests[pick(12)]);
        ATC_clearance_and_handoffs(pick(2));
        ATC_carrier_lso();
        ATC_request_menu(1);
        char text[TEXT_SIZE];
        ATC_atis(pick(3) - 1, static_cast<char>(pick(256)), text, 0);
        EXPECT_LT(std::strlen(text), static_cast<size_t>(TEXT_SIZE));
    }
    for (const auto& [text, show] : sounds.spoken_texts) EXPECT_LT(text.size(), static_cast<size_t>(TEXT_SIZE));
}

// A new flight closes the window and ends the pending request and the flight
// plan; the plan's form keeps its entries. The start defaults fill the form.
TEST_F(Atc, AFlightStartEndsThePlanAndKeepsTheForm)
{
    atc_state.atc_window_open = atc_state.atc_request_pending = 1;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    atc_state.atc_plan_altitude = 9000;
    atc_state.atc_plan_option2 = atc_state.atc_plan_madam = 1;
    ATC_reset_for_start();
    EXPECT_EQ(atc_state.atc_window_open + atc_state.atc_request_pending, 0);
    EXPECT_EQ(atc_state.atc_plan_filed + atc_state.atc_plan_active, 0);
    EXPECT_EQ(atc_state.atc_plan_altitude, 9000);
    ATC_set_start_defaults("C172.acf");
    EXPECT_EQ(atc_state.atc_plan_option1 + atc_state.atc_plan_sir, 2);
    EXPECT_EQ(atc_state.atc_plan_option2 + atc_state.atc_plan_madam, 0);
    EXPECT_STREQ(atc_state.atc_plan_from_id, "KMMM");
    EXPECT_STREQ(atc_state.atc_plan_to_id, "KMMM");
}
