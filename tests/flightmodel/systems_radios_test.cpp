// The radio receivers: which station each hears, the course deflections,
// bearing needles, DME and GPS; the runway label and the nearness test.
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/numeric.h"
#include "core/sound_slots.h"
#include "flightmodel/systems/nav_proximity.h"
#include "flightmodel/systems/radios.h"
#include "tests/flightmodel/systems_fixture.h"

namespace {

constexpr float LAT = 34.0f, LON = -117.0f;

class SystemsRadios : public SystemsState {
protected:
    void SetUp() override
    {
        SystemsState::SetUp();
        navaid_frequency_index.clear();
        place(LAT, LON, 1000.0f);
        flt[0].y_agl = 700.0f;
        flt[0].psi = 0.0f;
        sim_cockpit_electrical.battery_on = 1;
        flt[0].ENGN_bat_volt[0] = 1.0f;   // a charged battery: the avionics have power
        sim_cockpit_electrical.avionics_on = 1;
    }
    void TearDown() override
    {
        navaid_frequency_index.clear();
        SystemsState::TearDown();
    }

    static int add_navaid(int32_t kind, float lat, float lon, int32_t frequency, float heading, const char* id)
    {
        navaid_record n{};
        n.kind = kind;
        n.lat = lat;
        n.lon = lon;
        n.height = 300.0f;
        n.frequency = frequency;
        n.heading = heading;
        std::strncpy(n.id, id, APT_ID_SIZE - 1);
        navaid_table.push_back(n);
        const int idx = static_cast<int>(navaid_table.size()) - 1;
        navaid_frequency_index.emplace(frequency, idx);
        return idx;
    }
};

}  // namespace

TEST_F(SystemsRadios, OfTwoNearlyEqualVorsTheLaterWins)
{
    add_navaid(NAV_VOR, LAT + 0.30f, LON, 11300, 0.0f, "NEA");
    add_navaid(NAV_VOR, LAT + 0.35f, LON, 11300, 0.0f, "FAR");
    add_navaid(NAV_VOR, LAT + 0.80f, LON, 11300, 0.0f, "OUT");   // more than 0.1 degree beyond: not taken
    sim_cockpit_radios.nav1_freq_hz = 11300;
    frames(1);
    EXPECT_EQ(sim_cockpit_radios.nav_type[RADIO_NAV1], NAV_VOR);
    EXPECT_STREQ(radio_stations.nav_ident_text[RADIO_NAV1], "FAR");

    // A failed receiver hears nothing.
    flt[0].failures[FAIL_SLOT_NAV1] = FAILURE_STATE_FAILED;
    frames(1);
    EXPECT_EQ(sim_cockpit_radios.nav_type[RADIO_NAV1], 0);
    EXPECT_EQ(sim_cockpit_radios.nav1_fromto[RADIO_NAV1], 0);
    EXPECT_EQ(sim_cockpit_radios.nav1_hdef_deg[RADIO_NAV1], 0.0f);
}

TEST_F(SystemsRadios, AVorBehindReadsFromWithTheDeflectionMirrored)
{
    add_navaid(NAV_VOR, LAT + 0.3f, LON, 11300, 0.0f, "VOR");   // straight ahead, due north
    sim_cockpit_radios.nav1_freq_hz = 11300;
    sim_cockpit_radios.nav1_obs_degm = 350.0f;
    frames(1);
    EXPECT_EQ(sim_cockpit_radios.nav1_fromto[RADIO_NAV1], 1);
    EXPECT_NEAR(sim_cockpit_radios.nav1_hdef_deg[RADIO_NAV1], 10.0f, 0.1f);
    EXPECT_NEAR(sim_cockpit_radios.nav1_dir_degt[RADIO_NAV1], 0.0f, 0.5f);   // the needle points ahead

    sim_cockpit_radios.nav1_obs_degm = 170.0f;   // the radial behind the station
    frames(1);
    EXPECT_EQ(sim_cockpit_radios.nav1_fromto[RADIO_NAV1], 2);
    EXPECT_NEAR(sim_cockpit_radios.nav1_hdef_deg[RADIO_NAV1], -10.0f, 0.1f);
}

// The reception range in degrees grows with the height above ground: at 700 m
// a VOR or DME is heard out to 1.1111 + 2.2222 x 700 / 9144 = 1.2812 (plus the
// 0.1 tolerance: 1.3812) and an NDB to 0.8889 + 1.7778 x 700 / 9144 = 1.0250
// (1.1250); at 9144 m (30,000 ft) to 3.4333 and 2.7667. Stations just inside
// are heard, stations just outside are not.
TEST_F(SystemsRadios, ReceptionRangeGrowsWithHeightAboveGround)
{
    const struct {
        float agl, vor_in, vor_out, ndb_in, ndb_out;
    } rows[] = {{700.0f, 1.35f, 1.42f, 1.10f, 1.15f}, {9144.0f, 3.40f, 3.47f, 2.74f, 2.80f}};
    sim_cockpit_radios.nav1_freq_hz = 11300, sim_cockpit_radios.nav2_freq_hz = 11400;
    sim_cockpit_radios.adf1_freq_hz = 350, sim_cockpit_radios.adf2_freq_hz = 400;
    for (const auto& row : rows) {
        navaid_table.clear();
        navaid_frequency_index.clear();
        add_navaid(NAV_VOR, LAT + row.vor_in, LON, 11300, 0.0f, "VIN");
        add_navaid(NAV_VOR, LAT + row.vor_out, LON, 11400, 0.0f, "VOUT");
        add_navaid(NAV_NDB, LAT + row.ndb_in, LON, 350, 0.0f, "NIN");
        add_navaid(NAV_NDB, LAT + row.ndb_out, LON, 400, 0.0f, "NOUT");
        flt[0].y_agl = row.agl;
        frames(1);
        const int32_t* type = sim_cockpit_radios.nav_type;
        EXPECT_EQ((std::vector<int32_t>{type[RADIO_NAV1], type[RADIO_NAV2], type[RADIO_ADF1], type[RADIO_ADF2]}),
                  (std::vector<int32_t>{NAV_VOR, 0, NAV_NDB, 0}))
            << row.agl;
    }
}

// A VOR needle stands half a dot off per degree: 4 degrees off the selected
// radial the dots settle at 2, to the right on the way to the station and
// mirrored on the radial behind it.
TEST_F(SystemsRadios, TheVorNeedleStandsHalfADotPerDegree)
{
    add_navaid(NAV_VOR, LAT + 0.3f, LON, 11300, 0.0f, "VOR");
    sim_cockpit_radios.nav1_freq_hz = 11300;
    for (const auto& [obs, dots] : {std::pair{356.0f, 2.0f}, std::pair{176.0f, -2.0f}}) {
        sim_cockpit_radios.nav1_obs_degm = obs;
        frames(200);
        EXPECT_NEAR(sim_cockpit_radios.nav1_hdef_dot[RADIO_NAV1], dots, 0.06f) << obs;
    }
}

TEST_F(SystemsRadios, ADmeInsideItsBiasReadsZero)
{
    // 0.5 nm north at the plane's height.
    add_navaid(NAV_DME, LAT + 0.5f / 60.0f, LON, 11500, 1.0f, "DME");
    navaid_table.back().height = 1000.0f;
    sim_cockpit_radios.dme_freq_hz = 11500;
    sim_cockpit_radios.nav1_dme_dist_m[RADIO_DME] = 3.0f;
    frames(200);
    EXPECT_EQ(sim_cockpit_radios.nav1_has_dme[RADIO_DME], 1);
    EXPECT_EQ(sim_cockpit_radios.nav_type[RADIO_DME], NAV_DME);
    EXPECT_EQ(sim_cockpit_radios.nav1_dme_dist_m[RADIO_DME], 0.0f);
    EXPECT_EQ(sim_cockpit_radios.nav1_dme_speed_kts[RADIO_DME], 0.0f);

    // Without the bias it reads the slant distance, eased in.
    navaid_table.back().heading = 0.0f;
    // Speed from the change of distance in knots; time to go in minutes.
    const sim_cockpit_radios_block& c = sim_cockpit_radios;
    frames(60);
    const float d1 = c.nav1_dme_dist_m[RADIO_DME];
    frames(1);
    const float d2 = c.nav1_dme_dist_m[RADIO_DME], speed = c.nav1_dme_speed_kts[RADIO_DME];
    EXPECT_GT(speed, 10.0f);
    EXPECT_NEAR(speed, (d2 - d1) / 0.05f * 3600.0f, 0.01f * speed);
    EXPECT_NEAR(c.nav1_dme_time_secs[RADIO_DME], d2 / speed * 60.0f, 0.01f);
    frames(339);
    EXPECT_NEAR(sim_cockpit_radios.nav1_dme_dist_m[RADIO_DME], 0.5f, 0.01f);
}

TEST_F(SystemsRadios, AnIdleAdfParksAtNinetyAndABusyOnePoints)
{
    sim_cockpit_radios.adf1_freq_hz = 350;
    sim_cockpit_radios.adf2_freq_hz = 400;
    add_navaid(NAV_NDB, LAT, LON + 0.2f, 400, 0.0f, "EST");   // due east
    frames(1);
    EXPECT_EQ(sim_cockpit_radios.nav_type[RADIO_ADF1], 0);
    EXPECT_EQ(sim_cockpit_radios.nav1_dir_degt[RADIO_ADF1], 90.0f);
    EXPECT_EQ(sim_cockpit_radios.nav_type[RADIO_ADF2], NAV_NDB);
    EXPECT_STREQ(radio_stations.nav_ident_text[RADIO_ADF2], "EST");
    EXPECT_NEAR(sim_cockpit_radios.nav1_dir_degt[RADIO_ADF2], 90.0f, 0.5f);
    flt[0].psi = 90.0f;
    frames(1);
    EXPECT_NEAR(sim_cockpit_radios.nav1_dir_degt[RADIO_ADF2], 0.0f, 0.5f);
}

TEST_F(SystemsRadios, TheGpsSteersToItsDestinationAndAPointOutsideTheTablesIsZeroZero)
{
    fix_table.clear();
    fix_record fix{};
    fix.lat = LAT;
    fix.lon = LON + 1.0f;
    std::strcpy(fix.id, "EAST");
    fix_table.push_back(fix);
    sim_cockpit_gps.destination_type = 11;
    sim_cockpit_gps.destination_index = 0;
    frames(1);
    EXPECT_NEAR(sim_cockpit_gps.course, 90.0f, 1.0f);
    EXPECT_NEAR(sim_cockpit_radios.gps_dme_dist_m, 60.0f * std::cos(34.0f * DEG_TO_RAD_FLOAT), 0.3f);
    EXPECT_EQ(sim_cockpit_radios.gps_fromto, 1);
    frames(1);
    EXPECT_NEAR(sim_cockpit_radios.gps_hdef_deg, 0.0f, 0.01f);   // the course was set toward it
    // A course one degree right of the point: four times the distance times sin(-1 degree).
    sim_cockpit_radios.obs_mag += 1.0f;
    frames(1);
    EXPECT_NEAR(sim_cockpit_radios.gps_hdef_deg, 4.0f * sim_cockpit_radios.gps_dme_dist_m * std::sin(-DEG_TO_RAD_FLOAT),
                0.02f);

    // On the frame the destination changes the deviation still reads the old
    // course (east, the new point due north: full scale left); from the next
    // frame it reads the course set toward the new point.
    fix.lat = LAT + 1.0f;
    fix.lon = LON;
    fix_table.push_back(fix);
    sim_cockpit_gps.destination_index = 1;
    frames(1);
    EXPECT_NEAR(UTIL_wrap_pm180(sim_cockpit_gps.course), 0.0f, 1.0f);
    EXPECT_NEAR(sim_cockpit_radios.gps_course_degt, 90.0f, 1.0f);
    EXPECT_FLOAT_EQ(sim_cockpit_radios.gps_hdef_deg, -5.0f);
    frames(1);
    EXPECT_NEAR(UTIL_wrap_pm180(sim_cockpit_radios.gps_course_degt), 0.0f, 1.0f);
    EXPECT_NEAR(sim_cockpit_radios.gps_hdef_deg, 0.0f, 0.01f);
    fix_table.pop_back();

    for (int32_t index : {1, -3, 1 << 30}) {
        sim_cockpit_gps.destination_index = index;
        frames(1);
        float x, y, z;
        GEO_latlon_to_local(x, y, z, 0.0, 0.0, 0.0);
        EXPECT_FLOAT_EQ(radio_stations.nav_station_pos[RADIO_GPS][0], x) << index;
        EXPECT_FLOAT_EQ(radio_stations.nav_station_pos[RADIO_GPS][2], z) << index;
    }
    // The flight plan's destination entry, its index kept inside the plan.
    fms_plan.entries[3].latitude = LAT + 1.0f;
    fms_plan.entries[3].longitude = LON;
    fms_plan.destination_index = 3;
    sim_cockpit_gps.destination_type = 13;
    frames(1);
    EXPECT_NEAR(sim_cockpit_radios.gps_dme_dist_m, 60.0f, 0.3f);
    fms_plan.destination_index = 5000;
    frames(1);
    EXPECT_GT(sim_cockpit_radios.gps_dme_dist_m, 2000.0f);   // (0, 0): far away
    fix_table.clear();
}

TEST_F(SystemsRadios, TheHsiSelectorOutsideItsRangeCountsAsNav1)
{
    for (auto [selector, source] : {std::pair{0, RADIO_NAV1}, {1, RADIO_NAV2}, {2, RADIO_GPS}, {3, RADIO_NAV1},
                                    {-7, RADIO_NAV1}, {1 << 30, RADIO_NAV1}}) {
        sim_cockpit_switches.HSI_selector = selector;
        EXPECT_EQ(RADIOS_hsi_source(), source) << selector;
    }
}

TEST_F(SystemsRadios, NearerThanBestAdmitsATenthOfADegreeMore)
{
    add_navaid(NAV_VOR, LAT + 1.05f, LON, 11300, 0.0f, "A");
    float best = 1.0f;
    EXPECT_EQ(NAV_nearer_than_best(0, &best), 1);
    EXPECT_NEAR(best, 1.05f, 1e-5f);
    best = 0.9f;
    EXPECT_EQ(NAV_nearer_than_best(0, &best), 0);
    EXPECT_EQ(best, 0.9f);
    // The distance takes both axes in degrees: 0.6 north and 0.8 east is 1.0.
    add_navaid(NAV_VOR, LAT + 0.6f, LON + 0.8f, 11300, 0.0f, "B");
    best = 0.95f;
    EXPECT_EQ(NAV_nearer_than_best(1, &best), 1);
    EXPECT_NEAR(best, 1.0f, 1e-5f);
    EXPECT_EQ(NAV_nearer_than_best(2, &best), 0);    // past the table
    EXPECT_EQ(NAV_nearer_than_best(-1, &best), 0);
}

// An ILS straight ahead: localizer 0.1 degree north, glideslope 0.05 degree
// north at 300 m with the code 325000 (3.25 degrees, course 0), and a nearer
// glideslope behind the plane that must not be heard. 0.05 degree of
// latitude is 5,566 m on this planet.
TEST_F(SystemsRadios, TheGlideslopeAheadGivesTheVerticalDeviationAndItsWarning)
{
    add_navaid(NAV_ILS_LOC, LAT + 0.1f, LON, 10950, 0.0f, "ILS");
    add_navaid(NAV_GLIDESLOPE, LAT + 0.05f, LON, 10950, 325000.0f, "GS");
    add_navaid(NAV_GLIDESLOPE, LAT - 0.02f, LON, 10950, 250000.0f, "BAK");
    sim_cockpit_radios.nav1_freq_hz = 10950;
    const sim_cockpit_radios_block& c = sim_cockpit_radios;

    // 700 m above the glideslope's station: atan2(700, 5566) = 7.168 degrees, 3.918 above the slope.
    frames(1);
    EXPECT_EQ(c.nav_type[RADIO_NAV1], NAV_ILS_LOC);
    EXPECT_NEAR(c.nav1_slope_degt[RADIO_NAV1], 3.25f, 1e-4f);
    EXPECT_NEAR(c.nav1_vdef_deg[RADIO_NAV1], 3.918f, 0.02f);

    // 170 m above it and sinking at 590 ft/min, 492 ft above the ground, on
    // course: atan2(170, 5566) = 1.749 degrees, 1.501 below the slope. The
    // warning sounds at once and again after two seconds, not sooner.
    pln[0].acf_warn1EQ = 1;
    sim_operation_prefs.warn_bb = 1;
    sim_cockpit_switches.HSI_selector = 0;
    place(LAT, LON, 470.0f);
    flt[0].onground_any = flt[0].onground_all = 0;
    flt[0].y_agl = 150.0f;
    flt[0].vh_ind = -3.0f;
    sounds.clear();
    frames(30);
    EXPECT_NEAR(c.nav1_vdef_deg[RADIO_NAV1], -1.501f, 0.02f);
    EXPECT_EQ(sounds.count(SOUND_GLIDESLOPE), 1);
    frames(30);
    EXPECT_EQ(sounds.count(SOUND_GLIDESLOPE), 2);
    // Fifteen degrees off the course it does not arm (it must be within 10).
    sounds.clear();
    radios.gs_warning_armed = 0;
    flt[0].psi = 15.0f;
    frames(60);
    EXPECT_EQ(sounds.count(SOUND_GLIDESLOPE), 0);
    flt[0].psi = 0.0f;

    // 0.5 degree below the slope is not yet a warning (it must be more than 1).
    sounds.clear();
    place(LAT, LON, 300.0f + 5566.0f * std::tan((3.25f - 0.5f) * 3.14159265f / 180.0f));
    frames(60);
    EXPECT_NEAR(c.nav1_vdef_deg[RADIO_NAV1], -0.5f, 0.02f);
    EXPECT_EQ(sounds.count(SOUND_GLIDESLOPE), 0);
}

// Localizer needles: two dots a degree across and seven a degree of slope.
// A localizer behind the plane (course opposite its heading) is taken only
// with a one-degree handicap, so a front course up to 1.1 degrees farther
// still wins. A failed DME receiver hears no DME.
TEST_F(SystemsRadios, LocalizerDotsTheFrontCourseHandicapAndAFailedDme)
{
    const sim_cockpit_radios_block& c = sim_cockpit_radios;
    add_navaid(NAV_LOC, LAT - 0.2f, LON, 10970, 180.0f, "BACK");
    add_navaid(NAV_LOC, LAT + 1.0f, LON, 10970, 0.0f, "FRNT");
    sim_cockpit_radios.nav1_freq_hz = 10970;
    frames(1);
    EXPECT_STREQ(radio_stations.nav_ident_text[RADIO_NAV1], "FRNT");

    navaid_table.clear();
    navaid_frequency_index.clear();
    add_navaid(NAV_ILS_LOC, LAT + 0.1f, LON + 0.0021f, 10950, 0.0f, "ILS");
    add_navaid(NAV_GLIDESLOPE, LAT + 0.05f, LON, 10950, 325000.0f, "GS");
    add_navaid(NAV_DME, LAT + 0.05f, LON, 10950, 0.0f, "DME");
    sim_cockpit_radios.nav1_freq_hz = 10950;
    place(LAT, LON, 300.0f + 5566.0f * std::tan((3.25f - 0.5f) * 3.14159265f / 180.0f));
    frames(1);
    ASSERT_EQ(c.nav_type[RADIO_NAV1], NAV_ILS_LOC);
    EXPECT_EQ(c.nav1_has_dme[RADIO_NAV1], 1);
    EXPECT_NEAR(c.nav1_hdef_deg[RADIO_NAV1], 1.0f, 0.2f);
    EXPECT_NEAR(radios.hdef_dot_target[RADIO_NAV1], 2.0f * c.nav1_hdef_deg[RADIO_NAV1], 1e-5f);
    EXPECT_NEAR(radios.vdef_dot_target[RADIO_NAV1], -3.5f, 0.15f);

    flt[0].failures[FAIL_SLOT_DME] = FAILURE_STATE_FAILED;
    frames(1);
    EXPECT_EQ(c.nav1_has_dme[RADIO_NAV1], 0);
}
