// Flight starts: the airport, position and special situations, the common
// reset, and the reset of any slot at a start point.

#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/flight_start.h"
#include "aircraft/launch_flags.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/units.h"
#include "flightmodel/ground/water.h"
#include "flightmodel/systems/radios.h"
#include "flightmodel/traffic/traffic.h"
#include "links/speech.h"
#include "tests/support/flight_fixture.h"
#include "world/atc/atc_state.h"

namespace {

// KSBD's first runway: 10,001 ft at 71.9 degrees true, field elevation 1,159 ft.
constexpr float KSBD_LAT = 34.0954f, KSBD_LON = -117.2349f, KSBD_HDG = 71.9f;
constexpr float KSBD_LEN_M = 10001.0f * 0.3048f, KSBD_ELEV_M = 1159.0f * 0.3048f;

class FlightStart : public FlightState {
protected:
    void SetUp() override
    {
        FlightState::SetUp();
        trainer_like(pln[0]);
        start_selection.airport_index = add_airport("KSBD", KSBD_LAT, KSBD_LON, KSBD_HDG, KSBD_LEN_M, KSBD_ELEV_M);
        start_selection.start_index = 0;
    }

    static void runway_point(float& x, float& y, float& z)
    {
        GEO_latlon_to_local(x, y, z, KSBD_LAT, KSBD_LON, KSBD_ELEV_M);
    }
};

float sin_deg(float a) { return static_cast<float>(std::sin(a * DEG_TO_RAD_DOUBLE)); }
float cos_deg(float a) { return static_cast<float>(std::cos(a * DEG_TO_RAD_DOUBLE)); }

}  // namespace

TEST_F(FlightStart, RunwayStartStandsInsideTheThresholdReadyToGo)
{
    replay_ring[17].network_time_sec = 12.0f;
    sim_time.total_flight_time_sec = 99.0f;
    sim_operation_prefs.startup_running = 1;
    atc_state.atc_window_open = atc_state.atc_request_pending = 1;
    atc_state.atc_plan_filed = atc_state.atc_plan_active = 1;
    atc_state.atc_plan_option2 = atc_state.atc_plan_madam = 1;
    std::strcpy(atc_state.atc_plan_to_id, "KLAX");
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);

    const flt_struct& f = flt[0];
    const float heading = KSBD_HDG + GEO_grid_convergence(KSBD_LAT, KSBD_LON);
    EXPECT_FLOAT_EQ(f.psi, heading);
    float rx, ry, rz;
    runway_point(rx, ry, rz);
    const float back = (KSBD_LEN_M - 20.0f) * 0.5f;   // 1,514.2 m
    EXPECT_NEAR(f.local_x, rx - back * sin_deg(heading), 0.05f);
    EXPECT_NEAR(f.local_z, rz + back * cos_deg(heading), 0.05f);
    // On the airport surface under the plane, standing on its gear.
    float sx, surface, sz;
    GEO_latlon_to_local(sx, surface, sz, f.latitude, f.longitude, KSBD_ELEV_M);
    EXPECT_NEAR(f.local_y, surface + 1.2f, 0.05f);
    EXPECT_EQ(airport_surface_valid, 1);
    EXPECT_EQ(f.theta, 2.0f);
    EXPECT_EQ(f.groundspeed, 0.0f);
    EXPECT_EQ(f.local_vx, 0.0f);
    EXPECT_EQ(f.parkbrake, 1.0f);
    EXPECT_EQ(sim_cockpit_switches.gear_handle_status, 1);
    for (int g = PART_GEAR_FIRST; g <= PART_GEAR_LAST; ++g) EXPECT_EQ(pln[0].acf_gear_deploy[g], 1.0f);
    EXPECT_EQ(replay_ring[17].network_time_sec, 0.0f);
    EXPECT_EQ(sim_time.total_flight_time_sec, 0.0f);
    // The winch stands 2,000 m down the runway; the engines run with the preference set.
    EXPECT_NEAR(std::hypot(launch_flags.winch_x - f.local_x, launch_flags.winch_z - f.local_z), 2000.0f, 0.1f);
    EXPECT_EQ(f.ENGN_running[0], 1);
    EXPECT_EQ(f.nav_lights_on, 0);   // no nav lights fitted
    EXPECT_EQ(sim_cockpit_radios.transponder_mode, 2);
    EXPECT_STREQ(atc_callsign_text, "ORVELL");
    // The radio's window, request and plan are cleared; the plan form takes
    // its defaults: the first box, "SIR", and both airports KMMM.
    const atc_state_block& atc = atc_state;
    EXPECT_EQ(std::vector<int>({atc.atc_window_open, atc.atc_request_pending, atc.atc_plan_filed,
                                atc.atc_plan_active, atc.atc_plan_option1, atc.atc_plan_option2, atc.atc_plan_sir,
                                atc.atc_plan_madam}),
              std::vector<int>({0, 0, 0, 0, 1, 0, 1, 0}));
    EXPECT_STREQ(atc.atc_plan_from_id, "KMMM");
    EXPECT_STREQ(atc.atc_plan_to_id, "KMMM");
    // The attitude quaternion matches the angles.
    EXPECT_NEAR(f.q[0] * f.q[0] + f.q[1] * f.q[1] + f.q[2] * f.q[2] + f.q[3] * f.q[3], 1.0f, 1e-5f);
}

// A start at the airport of the start before, with the same aircraft, or one
// that keeps the position keeps the ATC block; every other start zeroes it.
TEST_F(FlightStart, AtcBlockIsZeroedByAStartElsewhere)
{
    const int ksbd = start_selection.airport_index, kont = add_airport("KONT", 34.05f, -117.6f, 80.0f, 3000.0f, 280.0f);
    const std::pair<std::function<void()>, int> rows[] = {   // the start, and 1 where it keeps the block
        {[] { FLIGHT_init_situation(SIT_AIRPORT, SIT_RAMP); }, 1},
        {[] { FLIGHT_init_situation(SIT_KEEP_POSITION, 0); }, 1},
        {[&] { start_selection.airport_index = kont, FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY); }, 0},
        {[] { std::strcpy(pln[0].acf_file_path, "B.ACF"), FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY); }, 0},
        {FLIGHT_restart_after_crash, 0},
        {[] { FLIGHT_init_situation(SIT_IN_FLIGHT, 0); }, 0}};
    for (size_t r = 0; r < std::size(rows); ++r) {
        const auto& [start, kept] = rows[r];
        start_selection.airport_index = ksbd;
        std::strcpy(pln[0].acf_file_path, "A.ACF");
        FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
        atc_state.atc_phase = atc_state.atc_checkin_expected = atc_state.atc_ball_called = 1;
        start();
        EXPECT_EQ(std::vector<int>({atc_state.atc_phase, atc_state.atc_checkin_expected, atc_state.atc_ball_called}),
                  std::vector<int>(3, kept)) << r;
    }
}

TEST_F(FlightStart, ColdStartAndTheOtherEndAndTheRamp)
{
    sim_operation_prefs.startup_running = 0;
    pln[0].acf_panel_flag_51_52 = 1;
    pln[0].acf_has_navlites = 1;
    pln[0].acf_min_pitch[0] = 12.0f, pln[0].acf_max_pitch[0] = 30.0f;
    sim_time.backwards = 1;
    gload_dim_factor = 0.2f;   // the flight before pulled hard
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    EXPECT_EQ(gload_dim_factor, 1.0f);   // this one begins undimmed
    const flt_struct& f = flt[0];
    EXPECT_NEAR(f.psi, std::fmod(KSBD_HDG + GEO_grid_convergence(KSBD_LAT, KSBD_LON) + 180.0f, 360.0f), 1e-3f);
    EXPECT_EQ(f.ENGN_running[0], 0);
    EXPECT_EQ(f.ENGN_thro[0], 0.0f);
    EXPECT_EQ(f.ENGN_mixt[0], 0.0f);
    EXPECT_EQ(f.ENGN_tacrad[0], 0.0f);
    EXPECT_EQ(f.POINT_pitch_deg[0], 12.0f);   // standing: the finest pitch
    EXPECT_EQ(f.nav_lights_on, 0);
    EXPECT_EQ(f.parkbrake, 1.0f);
    EXPECT_EQ(sim_cockpit_radios.transponder_mode, 0);

    // The ramp start keeps its start position's heading as it is.
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RAMP);
    EXPECT_FLOAT_EQ(flt[0].psi, 123.0f);
    // A winch start after it, the ramp's index naming a taxiway row: the plane stands on the runway.
    runway_record taxiway = airport_table[0].runways[0];
    std::strcpy(taxiway.number, "xxx");
    airport_table[0].runways.insert(airport_table[0].runways.begin(), taxiway)->heading = 161.9f;
    FLIGHT_init_situation(SIT_WINCH, 0);
    EXPECT_NEAR(flt[0].psi, std::fmod(KSBD_HDG + GEO_grid_convergence(KSBD_LAT, KSBD_LON) + 180.0f, 360.0f), 1e-3f);
}

TEST_F(FlightStart, ApproachesAndTheGearlessRunwayStart)
{
    float rx, ry, rz;
    runway_point(rx, ry, rz);
    const float ry_plane = ry + 1.2f;

    // A glider 10 nm out on a 6-degree slope, flaps half down.
    pln[0].acf_num_engines = 0;
    pln[0].acf_RSC_idlespeed_eng = 100.0f, pln[0].acf_RSC_redline_eng = 300.0f;
    pln[0].acf_min_pitch[0] = 10.0f, pln[0].acf_max_pitch[0] = 30.0f;
    pln[0].acf_has_lanlite3 = 1;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_APPROACH_10NM);
    EXPECT_NEAR(flt[0].local_y - ry_plane, 10.0f * 1852.0f * sin_deg(6.0f), 0.1f);   // about 1,936 m
    EXPECT_EQ(flt[0].flaprat, 0.5f);
    EXPECT_EQ(flt[0].flaprqst, 0.5f);
    EXPECT_GT(flt[0].groundspeed, 1.5f * 25.0f * 0.99f);
    EXPECT_EQ(flt[0].parkbrake, 0.0f);
    for (int e = 0; e < 8; ++e) EXPECT_EQ(flt[0].ENGN_thro[e], 0.75f) << e;   // moving: three-quarter throttle
    // Engine speed from idle by the root of the throttle; blade pitch halfway; taxi light only.
    EXPECT_NEAR(flt[0].ENGN_tacrad[0], 100.0f + 200.0f * std::sqrt(0.75f), 1e-3f);
    EXPECT_EQ(flt[0].POINT_pitch_deg[0], 20.0f);
    EXPECT_EQ(flt[0].taxi_light_on, 1);
    EXPECT_EQ(flt[0].landing_lights_on, 0);

    // No gear: a runway start becomes a 3-nm approach on 3 degrees.
    pln[0].acf_num_engines = 1;
    pln[0].acf_gear_type[PART_GEAR_FIRST] = 0;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    EXPECT_NEAR(flt[0].local_y - ry_plane, 3.0f * 1852.0f * sin_deg(3.0f), 0.1f);
    EXPECT_EQ(flt[0].flaprat, 0.5f);
    // So do its aero-tow and winch launch, with no rope to hook up there.
    UTIL_strcat3(program_folder, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF",
                 screen_settings.situation_acf_paths[1]);
    for (const int code : {SIT_AERO_TOW, SIT_WINCH}) {
        FLIGHT_init_situation(code, 0);
        EXPECT_NEAR(flt[0].local_y - ry_plane, 3.0f * 1852.0f * sin_deg(3.0f), 0.1f) << code;
        const launch_flags_block& l = launch_flags;
        EXPECT_EQ(l.aero_tow_mode + l.tow_situation + l.tow_armed + l.winch_mode + l.winch_armed, 0) << code;
    }

    // A thrust-vectoring plane starts with its vector vertical when standing
    // and level when flying, held within its own vector limits.
    pln[0].acf_gear_type[PART_GEAR_FIRST] = 1;
    pln[0].acf_vectEQ = 1;
    const struct {
        float lo, hi;
        int sub_mode;
        float vector;
    } rows[] = {{0.0f, 120.0f, SIT_RUNWAY, 90.0f}, {0.0f, 60.0f, SIT_RUNWAY, 60.0f}, {100.0f, 10.0f, SIT_RUNWAY, 90.0f},
                {20.0f, 120.0f, SIT_APPROACH_3NM, 20.0f}, {0.0f, 120.0f, SIT_APPROACH_3NM, 0.0f}};
    for (const auto& r : rows) {
        pln[0].acf_flap_vect_lo = r.lo, pln[0].acf_flap_vect_hi = r.hi;
        FLIGHT_init_situation(SIT_AIRPORT, r.sub_mode);
        EXPECT_EQ(flt[0].vectrqst, r.vector) << r.lo << ".." << r.hi << " " << r.sub_mode;
        EXPECT_EQ(flt[0].vect_ratio, r.vector) << r.lo << ".." << r.hi << " " << r.sub_mode;
    }
}

TEST_F(FlightStart, PositionStartsLocalTimeAndTheKeptRing)
{
    lon_ref = 100.0f;   // an area far away: the start takes the scenery round longitude -7.5
    situation_start_record& b = situation_start_state;
    b.latitude = 34.0f;
    b.longitude = -7.5f;
    b.elevation = 2000.0f;
    b.psi = 90.0f;
    b.groundspeed = 60.0f;
    sim_time.zulu_time_sec = 7200.0f;
    FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
    EXPECT_NEAR(flt[0].elevation, 2000.0f, 0.5f);
    EXPECT_NEAR(flt[0].local_vx, 60.0f, 0.01f);
    EXPECT_NEAR(flt[0].local_vz, 0.0f, 0.01f);
    EXPECT_EQ(sim_time.local_time_sec, 3600.0f);   // -0.5 hours rounds to -1
    sim_time.zulu_time_sec = 1800.0f;
    FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
    EXPECT_EQ(sim_time.local_time_sec, 84600.0f);

    // 206 keeps the ring and the position and restores the block's settings, bounded.
    replay_ring[5].network_time_sec = 3.0f;
    flt[0].local_x = 1234.0f;
    b.failures[5] = 99;
    b.failures[6] = -4;
    b.flaprat = std::nanf("");
    b.m_fuel1 = 50.0f;
    FLIGHT_init_situation(SIT_KEEP_POSITION, 0);
    EXPECT_EQ(replay_ring[5].network_time_sec, 3.0f);
    EXPECT_EQ(flt[0].local_x, 1234.0f);
    EXPECT_EQ(flt[0].failures[5], 6);
    EXPECT_EQ(flt[0].failures[6], 0);
    EXPECT_EQ(flt[0].flaprat, 0.0f);
    EXPECT_EQ(flt[0].m_fuel1, 50.0f);
    FLIGHT_init_situation(SIT_FROM_BLOCK, 0);
    EXPECT_EQ(replay_ring[5].network_time_sec, 0.0f);
}

TEST_F(FlightStart, NothingToStartAtKeepsThePlane)
{
    flt[0].local_x = 77.0f;
    sim_time.total_flight_time_sec = 5.0f;
    start_selection.airport_index = 9;   // past the end: clamped
    airport_table[0].starts.clear();
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RAMP);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(flt[0].local_x, 77.0f);
    EXPECT_EQ(sim_time.total_flight_time_sec, 5.0f);
    EXPECT_EQ(start_selection.airport_index, 0);

    airport_table.clear();
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(flt[0].local_x, 77.0f);

    // The orbiter's base is missing: that situation says so.
    FLIGHT_init_situation(SIT_SHUTTLE_FIRST, 0);
    EXPECT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(sim_time.total_flight_time_sec, 5.0f);
}

TEST_F(FlightStart, NearestRunwayOfAKindCentresTheArea)
{
    add_airport("KFAR", 40.0f, -100.0f, 90.0f, 2000.0f, 100.0f);
    add_airport("KNEA", 34.5f, -117.9f, 180.0f, 2000.0f, 100.0f);
    airport_table[1].runways[0].surface_code = 162;
    airport_table[2].runways[0].surface_code = 162;
    flt[0].latitude = 34.2f;
    flt[0].longitude = -117.5f;
    FLIGHT_init_situation(2800, 0);
    EXPECT_EQ(start_selection.airport_index, 2);
    EXPECT_EQ(lat_ref, 34.0f);     // 33.5 rounds away from zero
    EXPECT_EQ(lon_ref, -119.0f);   // -119.4
    EXPECT_NEAR(flt[0].psi, 180.0f + GEO_grid_convergence(34.5f, -117.9f), 1e-3f);

    // None of the kind: the selection stays.
    FLIGHT_init_situation(2801, 0);
    EXPECT_EQ(start_selection.airport_index, 2);

    // Each code its own runway types, the nearest first (KSBD 0.28 degrees
    // away, KNEA 0.5); a runway whose designator begins with 'x' is never taken.
    airport_table[0].runways[0].surface_code = 166;
    airport_table[1].runways[0].surface_code = 164;
    airport_table[2].runways[0].surface_code = 169;
    // None of a kind: the selection stays and a line on the screen, no box, names what was looked for.
    // Each start clears what the flight before left on screen first.
    const struct { int code; char first; int airport; const char* none; } rows[] = {
        {2802, '0', 1, nullptr}, {2803, '0', 0, nullptr}, {2803, 'x', 2, nullptr}, {2800, '0', 2, "grass runway"},
        {2801, '0', 2, "dirt runway"}};
    for (const auto& r : rows) {
        airport_table[0].runways[0].number[0] = r.first;
        flt[0].latitude = 34.2f;
        flt[0].longitude = -117.5f;
        sounds.clear();
        SOUND_speak("POWER OFF", 1);
        sounds.clear();
        FLIGHT_init_situation(r.code, 0);
        EXPECT_EQ(start_selection.airport_index, r.airport) << r.code << " " << r.first;
        const std::string note = r.none ? std::string("No ") + r.none + " among the loaded airports: the start is on the selected runway." : "";
        EXPECT_EQ(sounds.spoken_texts, (r.none ? decltype(sounds.spoken_texts){{note, 1}} : decltype(sounds.spoken_texts){})) << r.code;
        EXPECT_EQ(speech_text_until > frame_clock ? speech_text : "", note) << r.code;
    }
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(FlightStart, ResetAtAStartPointGivesAFreshRunningPlane)
{
    pln[2].acf_gear_retract = 1;
    pln[2].acf_en_type[0] = 4;   // a jet: a strong jet wash
    std::strcpy(pln[2].acf_file_name, "HAS ONE.ACF");
    flt[2].m_total = 5000.0f;
    FLIGHT_reset_at_start(2, 3.0f, 90.0f, 1.0f, 10.0f, 500.0f, -20.0f, 50.0f);
    const flt_struct& f = flt[2];
    EXPECT_NEAR(f.local_vx, 50.0f, 1e-4f);
    EXPECT_NEAR(f.local_vz, 0.0f, 1e-4f);
    EXPECT_EQ(f.m_total, 0.0f);
    EXPECT_EQ(f.ENGN_running[3], 1);
    EXPECT_FLOAT_EQ(f.POINT_tacrad[0], 99.9f);
    EXPECT_FLOAT_EQ(f.DVinc[0], 340.0f * 0.75f);
    EXPECT_FLOAT_EQ(f.DVinc[1], 340.0f * 0.1f);
    EXPECT_EQ(pln[2].acf_gear_deploy[PART_GEAR_FIRST], 0.0f);
    EXPECT_TRUE(f.ai_app_mode >= 0 && f.ai_app_mode <= 2);
    for (int e = 0; e < 8; ++e) {
        EXPECT_EQ(f.ENGN_running[e], 1) << e;
        EXPECT_EQ(f.ENGN_thro[e], 1.0f) << e;
        EXPECT_EQ(f.ENGN_thro_use[e], 1.0f) << e;
        EXPECT_FLOAT_EQ(f.ENGN_tacrad[e], 99.9f) << e;
    }
    // Every leg up when the gear retracts, down when fixed; no strut deflection.
    for (int retract : {1, 0}) {
        pln[2].acf_gear_retract = retract;
        for (int g = 67; g <= 72; ++g) pln[2].acf_gear_def[g] = 0.3f, pln[2].acf_gear_deploy[g] = 0.5f;
        FLIGHT_reset_at_start(2, 0, 0, 0, 0, 500.0f, 0, 0);
        for (int g = 67; g <= 72; ++g) {
            EXPECT_EQ(pln[2].acf_gear_deploy[g], retract ? 0.0f : 1.0f) << g;
            EXPECT_EQ(pln[2].acf_gear_def[g], 0.0f) << g;
        }
    }

    // The velocity follows the heading (north is -z); the approach mode is
    // drawn from 0, 1 and 2 alike.
    const struct {
        float psi, vx, vz;
    } headings[] = {{0.0f, 0.0f, -10.0f}, {90.0f, 10.0f, 0.0f}, {180.0f, 0.0f, 10.0f}, {270.0f, -10.0f, 0.0f}};
    int modes[3] = {0, 0, 0};
    UTIL_srand(5);
    for (int k = 0; k < 30; ++k) {
        const auto& h = headings[k % 4];
        FLIGHT_reset_at_start(2, 0.0f, h.psi, 0.0f, 0.0f, 500.0f, 0.0f, 10.0f);
        EXPECT_NEAR(flt[2].local_vx, h.vx, 1e-4f) << h.psi;
        EXPECT_NEAR(flt[2].local_vz, h.vz, 1e-4f) << h.psi;
        ASSERT_TRUE(flt[2].ai_app_mode >= 0 && flt[2].ai_app_mode <= 2);
        ++modes[flt[2].ai_app_mode];
    }
    for (int m : modes) EXPECT_GT(m, 0);

    // Equal area bounds give the middle cell; a point off the area stays inside the grid.
    scenery_area = {5.0f, 5.0f, 7.0f, 7.0f};
    FLIGHT_reset_at_start(2, 0, 0, 0, 123.0f, 0, 456.0f, 0);
    EXPECT_EQ(flt[2].i, 224);
    EXPECT_EQ(flt[2].j, 199);
    scenery_area = {-1000.0f, 1000.0f, -1000.0f, 1000.0f};
    for (float x : {-5000.0f, 5000.0f, std::nanf("")}) {
        FLIGHT_reset_at_start(2, 0, 0, 0, x, 0, x, 0);
        EXPECT_TRUE(flt[2].i >= 0 && flt[2].i <= 449) << x;
        EXPECT_TRUE(flt[2].j >= 0 && flt[2].j <= 399) << x;
    }
    // Cells count east from the west edge and north from the south edge:
    // 449 x 0.75 and 399 x 0.25 a quarter of the way up from the south.
    FLIGHT_reset_at_start(2, 0, 0, 0, 500.0f, 0, 500.0f, 0);
    EXPECT_EQ(flt[2].i, 336);
    EXPECT_EQ(flt[2].j, 99);
    // Mars has a grid of 384 by 320.
    sim_graphics_scenery.current_planet = PLANET_MARS;
    scenery_area = {5.0f, 5.0f, 7.0f, 7.0f};
    FLIGHT_reset_at_start(2, 0, 0, 0, 123.0f, 0, 456.0f, 0);
    sim_graphics_scenery.current_planet = PLANET_EARTH;
    EXPECT_EQ(flt[2].i, 191);
    EXPECT_EQ(flt[2].j, 159);
    FLIGHT_reset_at_start(12, 0, 0, 0, 0, 0, 0, 0);   // no such slot: nothing happens
}

TEST_F(FlightStart, PlatformApproachStartsSouthOfItHeadingNorth)
{
    ship_x[SEA_PLATFORM_A] = 100.0f;
    ship_y[SEA_PLATFORM_A] = 0.0f;
    ship_z[SEA_PLATFORM_A] = 200.0f;
    pln[0].acf_est_Vs = 30.0f;
    FLIGHT_init_situation(SIT_PLATFORM_1, 0);
    const flt_struct& f = flt[0];
    const float d = 90.0f * 30.0f;
    EXPECT_NEAR(f.local_x, 100.0f, 0.01f);
    EXPECT_NEAR(f.local_z, 200.0f + d, 0.01f);
    EXPECT_NEAR(f.local_y, d * sin_deg(3.5f) + 60.0f, 0.01f);
    EXPECT_EQ(f.psi, 0.0f);
    EXPECT_NEAR(f.groundspeed, 36.0f, 1e-4f);
    EXPECT_EQ(sim_graphics_settings.draw_oilrigs, 1);   // switched on, with a notice

    // A platform outside the loaded area: a notice and no start.
    ship_x[SEA_PLATFORM_B] = 9.9e9f;
    flt[0].local_x = 5.0f;
    FLIGHT_init_situation(SIT_PLATFORM_2, 0);
    EXPECT_EQ(flt[0].local_x, 5.0f);
    EXPECT_EQ(recorded_alerts.back().code, 16);
}

TEST_F(FlightStart, CatapultStartHooksThePlaneToTheCatapultWithItsStroke)
{
    ship_x[SHIP_CARRIER] = ship_z[SHIP_CARRIER] = 0.0f;
    ship_heading[SHIP_CARRIER] = 90.0f;
    // The stroke brings 1.2 times the stall speed within 90 m: (1.2 x 25)^2 / 180 = 5 m/s^2;
    // a stall speed that is no number gets the least push, a very fast one the most.
    const struct {
        float vs, accel;
    } rows[] = {{25.0f, 5.0f}, {std::nanf(""), CATAPULT_ACCEL_MIN_MSS}, {500.0f, CATAPULT_ACCEL_MAX_MSS}};
    for (const auto& r : rows) {
        pln[0].acf_est_Vs = r.vs;
        FLIGHT_init_situation(SIT_CATAPULT, 0);
        EXPECT_EQ(launch_flags.catapult_hold, 1);
        EXPECT_EQ(launch_flags.catapult_fired, 0);
        EXPECT_NEAR(launch_flags.catapult_accel_mss, r.accel, 1e-4f) << r.vs;
        EXPECT_EQ(flt[0].parkbrake, 1.0f);
    }
    EXPECT_NEAR(flt[0].local_x, 60.0f, 0.01f);   // 60 m ahead of the carrier's middle, heading east
    EXPECT_NEAR(flt[0].local_z, -12.5f, 0.01f);

    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);   // any other start unhooks it
    EXPECT_EQ(launch_flags.catapult_hold, 0);
    EXPECT_EQ(launch_flags.catapult_accel_mss, 0.0f);
}

// A carrier heading east, pitched 5 and rolled 10 degrees: the catapult's
// spot moves by 21 m times the deck's tilt, x by -21 sin 5 and z by 21 sin 10;
// the plane sits at the deck's pitch on its own and points 2 degrees right.
// The second platform's deck is 97 m up.
TEST_F(FlightStart, TiltedCarrierDeckAndTheSecondPlatform)
{
    ship_x[SHIP_CARRIER] = ship_z[SHIP_CARRIER] = 0.0f;
    ship_heading[SHIP_CARRIER] = 90.0f;
    ship_pitch[SHIP_CARRIER] = 5.0f;
    ship_roll[SHIP_CARRIER] = 10.0f;
    FLIGHT_init_situation(SIT_CATAPULT, 0);
    EXPECT_NEAR(flt[0].local_x, 60.0f - 21.0f * sin_deg(5.0f), 0.01f);
    EXPECT_NEAR(flt[0].local_z, -12.5f + 21.0f * sin_deg(10.0f), 0.01f);
    EXPECT_NEAR(flt[0].theta, 2.0f + 5.0f, 1e-4f);
    EXPECT_NEAR(flt[0].psi, 92.0f, 1e-4f);
    ship_pitch[SHIP_CARRIER] = ship_roll[SHIP_CARRIER] = 0.0f;

    ship_x[SEA_PLATFORM_B] = -100.0f;
    ship_y[SEA_PLATFORM_B] = 0.0f;
    ship_z[SEA_PLATFORM_B] = 300.0f;
    FLIGHT_init_situation(SIT_PLATFORM_2, 0);
    const float d = 90.0f * 25.0f;
    EXPECT_NEAR(flt[0].local_x, -100.0f, 0.01f);
    EXPECT_NEAR(flt[0].local_z, 300.0f + d, 0.01f);
    EXPECT_NEAR(flt[0].local_y, d * sin_deg(3.5f) + 97.0f, 0.01f);
}

// The formation's lead climbs by its first engine's type: a piston 2,000 to
// 4,000 m, a turboprop 4,000 to 8,000 m, a jet 8,000 to 12,000 m.
TEST_F(FlightStart, FormationLeadClimbsByItsEngine)
{
    const struct {
        const char* path;
        float lo, hi;
    } rows[] = {
        {"AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", 2000.0f, 4000.0f},
        {"AIRCRAFT:GENERAL AVIATION:ORVELL TWIN:ORVELL TWIN.ACF", 4000.0f, 8000.0f},
        {"AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF", 8000.0f, 12000.0f},
    };
    for (const auto& r : rows)
        for (int seed : {1, 2, 3}) {
            UTIL_strcat3(program_folder, r.path, pln[0].acf_file_path);
            UTIL_srand(static_cast<uint32_t>(seed));
            FLIGHT_init_situation(SIT_FORMATION, 0);
            EXPECT_TRUE(flt[1].local_y >= r.lo && flt[1].local_y <= r.hi) << r.path << " " << flt[1].local_y;
        }
}

// The orbiter approaches fly the first situation aircraft to runway 7 of
// KEDW (34.92, -117.88, heading 40): the area is re-centred a whole degree
// grid west of the base by the distance to go over 48 (591 nm: -117.88 -
// 12.31 - 1.5 rounds to -132; 5,340 nm: -230.63 rounds to -231, that is 129;
// 40 nm and 8 nm: -120.21 and -119.55 round to -120); the third starts 0.81
// x 40 nm west of the runway, the last one on the extended centre
// line 8 nm plus half the runway before the runway's middle.
TEST_F(FlightStart, OrbiterApproachesByTheirEnergyStates)
{
    UTIL_strcat3(program_folder, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF",
                 screen_settings.situation_acf_paths[0]);
    const int base = add_airport("KEDW", 34.92f, -117.88f, 40.0f, 4000.0f, 700.0f);
    airport_table[static_cast<size_t>(base)].runways.resize(7, airport_table[static_cast<size_t>(base)].runways[0]);
    const struct {
        int code;
        float lon_ref, psi, y_ft, speed_ftps;
    } rows[] = {
        {3207, 129.0f, 52.0f, 450000.0f, 25750.0f},
        {3208, -132.0f, 86.0f, 167270.0f, 14000.0f},
        {3209, -120.0f, 89.0f, 83000.0f, 2500.0f},
        {3210, -120.0f, 40.0f, 18000.0f, 600.0f},
    };
    for (const auto& r : rows) {
        flt[0].latitude = 34.9f, flt[0].longitude = -117.9f;
        FLIGHT_init_situation(r.code, 0);
        const flt_struct& f = flt[0];
        EXPECT_EQ(lat_ref, 34.0f) << r.code;
        EXPECT_EQ(lon_ref, r.lon_ref) << r.code;
        EXPECT_NEAR(f.psi, r.psi, 1e-3f) << r.code;
        EXPECT_NEAR(f.local_y, r.y_ft * 0.3048f, 0.5f) << r.code;
        EXPECT_NEAR(f.groundspeed, r.speed_ftps * 0.3048f, 0.01f) << r.code;
        EXPECT_EQ(sim_cockpit_gps.destination_index, base);
        EXPECT_EQ(sim_cockpit_switches.HSI_selector, 2);
        if (r.code == 3208) { EXPECT_NEAR(f.local_x, 30.0f * 1852.0f, 1.0f); }
        if (r.code == 3207) { EXPECT_NEAR(f.local_vy, -561.7f * 0.3048f, 0.01f); }
        float rx, ry, rz;
        GEO_latlon_to_local(rx, ry, rz, 34.92f, -117.88f, 700.0f);
        if (r.code == 3209) {
            EXPECT_NEAR(f.local_x, rx - 0.81f * 40.0f * 1852.0f, 1.0f);
            EXPECT_NEAR(f.local_z, rz, 1.0f);
        }
        if (r.code == 3210) {
            const float d = 8.0f * 1852.0f + 2000.0f;
            EXPECT_NEAR(f.local_x, rx - d * sin_deg(40.0f), 1.0f);
            EXPECT_NEAR(f.local_z, rz + d * cos_deg(40.0f), 1.0f);
        }
    }
}

TEST_F(FlightStart, OpenWaterStartsOnTheLakeScannedLast)
{
    auto lake = [](int ci, int cj) {
        for (int i = ci - 4; i <= ci + 4; ++i)
            for (int j = cj - 4; j <= cj + 4; ++j) landuse_grid[i * TERRAIN_GRID_COLS + j] = 14;
        terrain_vertex_grid[ci * TERRAIN_GRID_COLS + cj] = terrain_vertex{float(ci), 3.0f, float(cj)};
    };
    lake(198, 138);   // scanned first (lower column)
    lake(248, 128);
    pln[0].acf_gear_retract = 1;
    FLIGHT_init_situation(SIT_OPEN_WATER, 0);
    EXPECT_EQ(flt[0].local_x, 248.0f);
    EXPECT_EQ(flt[0].local_z, 128.0f);
    EXPECT_NEAR(flt[0].groundspeed, 0.1f, 1e-6f);
    EXPECT_EQ(pln[0].acf_gear_deploy[PART_GEAR_FIRST], 0.0f);   // afloat: a retractable gear goes up
    TEST_lay_flat_grid(-1000.0f);   // a sea mesh lying far below the sea's level: afloat on the sea
    FLIGHT_init_situation(SIT_OPEN_WATER, 0);
    EXPECT_NEAR(flt[0].local_y - pln[0].acf_h_eqlbm, WATER_still_level(flt[0].local_x, flt[0].local_z, -1000.0f), 0.01f);

    std::fill(std::begin(landuse_grid), std::end(landuse_grid), 0);
    flt[0].local_x = 1.0f;
    sounds.clear();
    FLIGHT_init_situation(SIT_OPEN_WATER, 0);
    EXPECT_EQ(flt[0].local_x, 1.0f);
    EXPECT_EQ(sounds.spoken_texts.size(), 1u);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(FlightStart, ForestFireNeedsDryWarmWeather)
{
    fire_table = fire_table_record{};
    fire_table.present = 1;
    fire_table.y[0] = 50.0f;
    sim_graphics_settings.draw_forestfires = 1;
    sim_weather.temperature_sealevel_c = 20.0f;
    sim_weather.rain_percent = 0.001f;   // a tenth of a percent
    flt[0].local_x = 9.0f;
    FLIGHT_init_situation(SIT_FOREST_FIRE, 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(flt[0].local_x, 9.0f);

    sim_weather.rain_percent = 0.0f;
    sim_weather.wind_direction_degt[0] = 0.0f;
    FLIGHT_init_situation(SIT_FOREST_FIRE, 0);
    EXPECT_EQ(recorded_alerts.size(), 2u);   // no water on board: it warns and starts
    EXPECT_EQ(flt[0].psi, 270.0f);
    EXPECT_NEAR(flt[0].local_x, 120.0f * 25.0f * sin_deg(120.0f), 0.05f);
    for (float s : sim_weather.wind_speed_kt) EXPECT_TRUE(s >= 15.0f && s <= 20.0f);
}

TEST_F(FlightStart, SecondAircraftSituations)
{
    // Aero-tow with a live peer: the tow mode is set, no tow plane is placed.
    net_slot_enabled[0] = net_peer_heard[0] = 1;
    flt[1].local_x = 42.0f;
    FLIGHT_init_situation(SIT_AERO_TOW, 0);
    EXPECT_EQ(launch_flags.aero_tow_mode, 1);
    EXPECT_EQ(launch_flags.tow_situation, 1);
    EXPECT_EQ(flt[1].local_x, 42.0f);

    // Without one the tow plane stands 55 m ahead on the runway, flaps half down.
    net_slot_enabled[0] = 0;
    trainer_like(pln[1]);
    FLIGHT_init_situation(SIT_AERO_TOW, 0);
    const flt_struct& u = flt[0];
    EXPECT_NEAR(flt[1].local_x - u.local_x, 55.0f * sin_deg(u.psi), 0.01f);
    EXPECT_NEAR(flt[1].local_z - u.local_z, -55.0f * cos_deg(u.psi), 0.01f);
    EXPECT_EQ(flt[1].flaprat, 0.5f);

    // A glider leading the formation (the lead flies the user's aircraft, here
    // the fleet's glider) is raised twice: 4,000 to 8,000 m above the ground.
    UTIL_strcat3(program_folder, "AIRCRAFT:GLIDERS:ORVELL GLIDER:ORVELL GLIDER.ACF", pln[0].acf_file_path);
    for (int seed : {1, 2, 3}) {
        UTIL_srand(static_cast<uint32_t>(seed));
        FLIGHT_init_situation(SIT_FORMATION, 0);
        EXPECT_TRUE(flt[1].local_y >= 4000.0f && flt[1].local_y <= 8000.0f) << flt[1].local_y;
        EXPECT_EQ(flt[0].local_y, flt[1].local_y);
        EXPECT_NEAR(std::hypot(flt[0].local_x - flt[1].local_x, flt[0].local_z - flt[1].local_z), 0.2f * 1852.0f, 0.5f);
    }

    // Refuelling: tanks at 15 % of the total, never past their share.
    pln[0].acf_num_tanks = 2;
    pln[0].acf_m_fuel_tot = 1000.0f;
    pln[0].acf_tank_rat[0] = 0.05f;
    pln[0].acf_tank_rat[1] = 0.95f;
    const float tanker[3] = {400.0f, 25000.0f, 0.0f};   // kt, ft, degrees
    std::memcpy(screen_settings.situation_start_values[0], tanker, sizeof tanker);
    FLIGHT_init_situation(SIT_REFUEL_A, 0);
    EXPECT_FLOAT_EQ(flt[0].m_fuel1, 50.0f);
    EXPECT_FLOAT_EQ(flt[0].m_fuel2, 75.0f);
    EXPECT_NEAR(flt[1].local_y, 25000.0f * 0.3048f, 1.0f);
    EXPECT_NEAR(flt[0].groundspeed, 400.0f * 0.514444f, 0.01f);
}

// With a stall speed of 20 m/s the approaches start D = 1,800 m out, 1,800 x
// sin 3.5 deg = 109.89 m above the deck, at 24 m/s: the carrier's course less 8
// degrees (98 -> 90: due west of it), the frigate's own course (180: north of
// it) with the tower's ILS call. The rooftop start takes the nearest roof
// (500 m away rather than 5 km; a nearer building without a landable roof
// does not count), 0.05 nm above it and a mile south. The mother-ship drop
// puts plane 1 at the second start state (500 kt, 45,000 ft, course 30) over
// the plane, which rides under it, level on its course at its speed.
TEST_F(FlightStart, ShipRooftopAndMotherShipStartsByTheirRules)
{
    pln[0].acf_est_Vs = 20.0f;
    ship_x[SHIP_CARRIER] = 100.0f, ship_z[SHIP_CARRIER] = 200.0f, ship_heading[SHIP_CARRIER] = 98.0f;
    ship_x[SHIP_FRIGATE] = -300.0f, ship_z[SHIP_FRIGATE] = 500.0f, ship_heading[SHIP_FRIGATE] = 180.0f;
    object_table.resize(2);
    object_table[0].object_class = OBJ_CLASS_HARD_ROOF;
    object_table[1].object_class = OBJ_CLASS_PLAIN;
    placement_list = {{0, 5000.0f, 10.0f, 0.0f, 0.0f, 0}, {0, 300.0f, 40.0f, 400.0f, 0.0f, 0}, {1, 1.0f, 0.0f, 1.0f, 0.0f, 0}};
    const struct {
        int code;
        float x, y, z, psi;
    } rows[] = {
        {SIT_CARRIER_APPROACH, -1700.0f, 109.887f + 21.0f, 200.0f, 90.0f},
        {SIT_FRIGATE_APPROACH, -300.0f, 109.887f + 7.0f, -1300.0f, 180.0f},
        {SIT_ROOFTOP, 300.0f, 40.0f + 92.6f, 400.0f + 1852.0f, 0.0f},
    };
    for (const auto& r : rows) {
        flt[0].local_x = flt[0].local_z = 0.0f;
        sounds.clear();
        FLIGHT_init_situation(r.code, 0);
        const flt_struct& f = flt[0];
        EXPECT_NEAR(f.local_x, r.x, 0.05f) << r.code;
        EXPECT_NEAR(f.local_y, r.y, 0.05f) << r.code;
        EXPECT_NEAR(f.local_z, r.z, 0.05f) << r.code;
        EXPECT_NEAR(f.psi, r.psi, 1e-3f) << r.code;
        EXPECT_NEAR(f.groundspeed, 24.0f, 1e-4f) << r.code;
        const bool call = r.code == SIT_FRIGATE_APPROACH;
        ASSERT_EQ(sounds.spoken_texts.size(), call ? 1u : 0u) << r.code;
        if (call) {
            EXPECT_EQ(sounds.spoken_texts[0].first, "Frigate I L S is on 1 0 8 point 1 0.");
        }
    }

    const float mother[3] = {500.0f, 45000.0f, 30.0f};   // kt, ft, degrees
    std::memcpy(screen_settings.situation_start_values[1], mother, sizeof mother);
    flt[0] = flt_struct{};
    flt[0].local_x = 10.0f, flt[0].local_y = 2000.0f, flt[0].local_z = 20.0f, flt[0].psi = 45.0f;
    FLIGHT_init_situation(SIT_MOTHER_SHIP, 0);
    EXPECT_EQ(flt[1].local_x, 10.0f);
    EXPECT_EQ(flt[1].local_z, 20.0f);
    EXPECT_NEAR(flt[1].local_y, 13716.0f, 0.01f);
    EXPECT_EQ(flt[1].psi, 30.0f);
    EXPECT_NEAR(flt[1].groundspeed, 257.222f, 0.01f);
    EXPECT_EQ(flt[0].local_x, 10.0f);
    EXPECT_NEAR(flt[0].local_y, 13716.0f, 0.5f);
    EXPECT_EQ(flt[0].psi, 30.0f);
    EXPECT_NEAR(flt[0].groundspeed, 257.222f, 0.01f);
    EXPECT_EQ(launch_flags.mothership_carried, 1);
}

// The starts in company of a second aircraft hold their speed within the
// user's aircraft's limits and the second aircraft flies it too: the trainer
// behind the tanker at 400 kt and 25,000 ft (269 KIAS, past its never-exceed
// speed and Mach limit; above its ceiling, it comes down to 22,000 ft, where
// 0.9 of its throttle holds 70 KIAS), the glider under the mother ship at 500 kt and
// 45,000 ft (below its Mach limit of 0.25), and at 60,000 ft, where that
// limit leaves no speed above its stall margin, lower down with the mother
// ship. The airliner keeps the tanker's speed as the settings give it. The
// leader and the tanker fly on straight.
TEST_F(FlightStart, CompanyStartsFlyWithinTheUsersLimits)
{
    for (const int k : {2, 3, 4})
        UTIL_strcat3(program_folder, "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF",
                     screen_settings.situation_acf_paths[k]);
    const struct {
        const char* aircraft;
        int code;
        float mother_ft;
        const char* line;   // how the line begins; none when the settings stand
        float kias, mach;   // at least, at most
    } rows[] = {
        {"GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER", SIT_REFUEL_A, 45000.0f,
         "The tanker keeps to 70 KIAS at 22000 ft, within this aircraft's limits (the start asks 269 KIAS at 25000 ft).",
         64.5f, 0.3f},
        {"HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER", SIT_REFUEL_A, 45000.0f, nullptr, 268.0f, 0.82f},
        {"GLIDERS:ORVELL GLIDER:ORVELL GLIDER", SIT_MOTHER_SHIP, 45000.0f,
         "The mother ship keeps to 61 KIAS, within this aircraft's limits at 45000 ft (the start asks 224 KIAS).", 45.5f,
         0.95f * 0.25f},
        {"GLIDERS:ORVELL GLIDER:ORVELL GLIDER", SIT_MOTHER_SHIP, 60000.0f,
         "The mother ship keeps to 46 KIAS at 57000 ft, within this aircraft's limits (the start asks 154 KIAS at 60000 ft).",
         45.5f, 0.95f * 0.25f},
    };
    for (const auto& r : rows) {
        const float states[2][3] = {{400.0f, 25000.0f, 0.0f}, {500.0f, r.mother_ft, 0.0f}};
        std::memcpy(screen_settings.situation_start_values, states, sizeof states);
        const std::string path = std::string("AIRCRAFT:") + r.aircraft + ".ACF";
        UTIL_strcat3(program_folder, path.c_str(), pln[0].acf_file_path);
        ACF_load_and_setup(0);
        sounds.clear();
        FLIGHT_init_situation(r.code, 0);
        const flt_struct& f = flt[0];
        const float kias = f.groundspeed * std::sqrt(sim_weather.sigma) / 0.514444f;
        EXPECT_GE(kias, r.kias) << r.aircraft;
        EXPECT_LE(f.groundspeed / sim_weather.speed_of_sound_ms, r.mach + 1e-4f) << r.aircraft;
        EXPECT_EQ(flt[1].groundspeed, f.groundspeed) << r.aircraft;
        const float carried_below = r.code == SIT_MOTHER_SHIP ? pln[0].jett_Y - pln[1].jett_Y : 0.0f;
        EXPECT_NEAR(flt[1].local_y - f.local_y, carried_below, 0.5f) << r.aircraft;
        if (r.line) {
            ASSERT_EQ(sounds.spoken_texts.size(), 1u) << r.aircraft;
            EXPECT_EQ(sounds.spoken_texts[0].first.rfind(r.line, 0), 0u) << sounds.spoken_texts[0].first;
        } else {
            EXPECT_TRUE(sounds.spoken_texts.empty()) << r.aircraft;
            EXPECT_NEAR(f.groundspeed, 400.0f * 0.514444f, 0.01f);
        }
        // Carried, the glider is trimmed for the flight after the drop.
        if (r.code == SIT_MOTHER_SHIP) {
            EXPECT_NE(f.elv_trim, 0.0f);
        } else {
            EXPECT_EQ(flt[1].ai_app_mode, TRAFFIC_MODE_CRUISE);
        }
    }
    for (int seed : {1, 2, 3}) {
        UTIL_srand(static_cast<uint32_t>(seed));
        FLIGHT_init_situation(SIT_FORMATION, 0);
        EXPECT_EQ(flt[1].ai_app_mode, TRAFFIC_MODE_CRUISE) << seed;
    }
    // A helicopter the tanker asks to 25,000 ft, where its power holds not
    // even its speed of least power, comes down to the highest thousand-foot
    // step that does, and keeps the slow speed asked there.
    const float slow[2][3] = {{70.0f, 25000.0f, 0.0f}, {500.0f, 45000.0f, 0.0f}};
    std::memcpy(screen_settings.situation_start_values, slow, sizeof slow);
    UTIL_strcat3(program_folder, "AIRCRAFT:HELICOPTERS:ORVELL HELICOPTER:ORVELL HELICOPTER.ACF", pln[0].acf_file_path);
    ACF_load_and_setup(0);
    sounds.clear();
    FLIGHT_init_situation(SIT_REFUEL_A, 0);
    ASSERT_EQ(sounds.spoken_texts.size(), 1u);
    EXPECT_EQ(sounds.spoken_texts[0].first, "The tanker keeps to 47 KIAS at 21000 ft, within this aircraft's limits (the start "
                                              "asks 47 KIAS at 25000 ft).");
}

// Three hundred random starts, dealt out in three tests of a hundred (each
// its own random numbers), which the suite's parts run side by side.
struct RandomStarts : FlightStart, ::testing::WithParamInterface<int> {};

TEST_P(RandomStarts, NeverLeaveTheTablesOrTheNumbers)
{
    // Codes, sub-modes, indices and start blocks as peers, plug-ins or damaged
    // situation files might give them.
    UTIL_srand(static_cast<uint32_t>(99 + GetParam()));
    for (int round = 0; round < 100; ++round) {
        auto r = [] { return UTIL_rand(); };
        situation_start_record& b = situation_start_state;
        unsigned char* bytes = reinterpret_cast<unsigned char*>(&b);
        for (size_t k = 0; k < sizeof b; ++k) bytes[k] = static_cast<unsigned char>(r());
        start_selection.airport_index = r() - 16000;
        start_selection.start_index = r() - 16000;
        static const int codes[] = {408, 203, 206, 800, 2800, 2803, 2804, 2805, 3000, 3001, 3002, 3003, 3005, 3200,
                                    3201, 3202, 3205, 3207, 3210, 1, -5};
        const int code = codes[r() % (sizeof codes / sizeof codes[0])];
        const int sub = 395 + r() % 12;
        FLIGHT_init_situation(code, sub);
        ASSERT_TRUE(std::isfinite(flt[0].local_x) && std::isfinite(flt[0].local_y) && std::isfinite(flt[0].local_z))
            << code << " " << sub;
        ASSERT_TRUE(std::isfinite(flt[0].psi) && flt[0].psi >= 0.0f && flt[0].psi < 360.0f) << code;
        ASSERT_TRUE(flt[0].i >= 0 && flt[0].i <= 450 && flt[0].j >= 0 && flt[0].j <= 400);
        for (int32_t s : flt[0].failures) ASSERT_TRUE(s >= 0 && s <= 6);
    }
}
INSTANTIATE_TEST_SUITE_P(FlightStart, RandomStarts, ::testing::Range(0, 3));

TEST_F(FlightStart, ApproachStartsOnOrJustBelowEveryGlideSlopeOfTheDefaultWorld)
{
    screen_settings.scenery_load_switch = 1;
    NAV_load_databases();
    screen_settings.scenery_load_switch = 0;
    int glide_slopes = 0, starts = 0;
    for (const navaid_record& gs : navaid_table) {
        if (gs.kind != NAV_GLIDESLOPE) continue;
        const int code = GEO_round(gs.heading);
        const float slope = static_cast<float>(code / 1000) * 0.01f, course = static_cast<float>(code % 1000);
        // The runway end it serves: pointing its way, its centreline passing nearest the transmitter.
        int best_airport = -1, best_runway = 0, best_end = 0;
        float best_across = 1.0e9f;
        for (size_t ai = 0; ai < airport_table.size(); ++ai)
            for (size_t r = 0; r < airport_table[ai].runways.size(); ++r)
                for (const int end : {0, 1}) {
                    const runway_record& rw = airport_table[ai].runways[r];
                    const float heading = rw.heading + 180.0f * static_cast<float>(end);
                    float cx, cy, cz, gx, gy, gz;
                    GEO_latlon_to_local(cx, cy, cz, rw.lat, rw.lon, 0.0);
                    GEO_latlon_to_local(gx, gy, gz, gs.lat, gs.lon, 0.0);
                    const float across = std::fabs((gx - cx) * cos_deg(heading) + (gz - cz) * sin_deg(heading));
                    if (std::fabs(UTIL_wrap_pm180(heading - course)) > 10.0f ||
                        std::hypot(gx - cx, gz - cz) > rw.length || across >= best_across)
                        continue;
                    best_airport = static_cast<int>(ai), best_runway = static_cast<int>(r), best_end = end;
                    best_across = across;
                }
        if (best_airport < 0) continue;   // a ship's
        ++glide_slopes;
        start_selection.airport_index = best_airport;
        start_selection.start_index = best_runway;
        sim_time.backwards = best_end;
        for (const int sub_mode : {SIT_APPROACH_3NM, SIT_APPROACH_10NM}) {
            FLIGHT_init_situation(SIT_AIRPORT, sub_mode);
            const flt_struct& f = flt[0];
            float gx, gy, gz;
            GEO_latlon_to_local(gx, gy, gz, gs.lat, gs.lon, gs.height);
            const float above_deg =
                std::atan2(f.elevation - gs.height, std::hypot(gx - f.local_x, gz - f.local_z)) * RAD_TO_DEG_FLOAT;
            const float dots = (above_deg - slope) * UNIT_GS_DOTS_PER_DEG;
            EXPECT_LE(dots, 0.0f) << gs.name << " " << sub_mode;
            EXPECT_GE(dots, -0.5f) << gs.name << " " << sub_mode;
            ++starts;
        }
    }
    EXPECT_GE(glide_slopes, 4);
    EXPECT_EQ(starts, 2 * glide_slopes);
    sim_time.backwards = 0;
    NAV_clear_tables();
}
