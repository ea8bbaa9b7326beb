// The systems step inside the running program: the default trainer started
// at San Bernardino, NAV1 tuned to the field's localizer, ten seconds
// flown, then the glider for five, the logbook written at quit and read back
// by the next start.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/geo.h"
#include "core/text_util.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/logbook.h"
#include "flightmodel/systems/radios.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

// Frames of the program on its test clock, 0.05 s each; their pictures are
// not looked at.
void fly(double seconds)
{
    const unseen_frames unseen;
    run_frames_for(seconds);
}

}  // namespace

TEST(SystemsInProgram, Nav1HearsTheLocalizerAndTheLogbookOutlivesTheRun)
{
    const auto folder = copy_default_data_folder();
    start_program(*folder);
    ASSERT_EQ(std::string(start_selection.airport_id), "KSBD");
    EXPECT_EQ(logbook_last, -1);
    // On runway 06, the airport's first runway.
    start_selection.start_index = 0;
    sim_time.backwards = 0;
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    sim_cockpit_radios.nav1_freq_hz = 10930;
    fly(1.0);   // the receivers on the runway, the plane standing on its parking brake

    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    EXPECT_EQ(r.nav_type[RADIO_NAV1], NAV_ILS_LOC);
    EXPECT_STREQ(radio_stations.nav_ident_text[RADIO_NAV1], "ISBD");
    EXPECT_LT(std::fabs(r.nav1_hdef_deg[RADIO_NAV1]), 0.5f);
    EXPECT_EQ(r.nav1_fromto[RADIO_NAV1], 1);
    EXPECT_EQ(r.nav1_has_dme[RADIO_NAV1], 1);   // the ILS's DME on the same frequency
    ASSERT_EQ(logbook_last, 0);
    EXPECT_STREQ(logbook.from[0], "KSBD");

    fly(9.0);
    EXPECT_NEAR(logbook.total_hours[0], 10.0 / 3600.0, 0.0002);   // each frame adds its period
    // Still standing where it started, on its gear: no crash restarted the flight.
    EXPECT_EQ(flt[0].onground_all, 1);
    EXPECT_LT(flt[0].groundspeed, 0.1f);
    EXPECT_LT(std::fabs(r.nav1_hdef_deg[RADIO_NAV1]), 0.5f);
    const std::string tail = pln[0].acf_tailnum;
    // Named as its file is on the disk, whatever case the start gave the name in.
    const std::string aircraft = "Orvell Trainer";
    EXPECT_STREQ(logbook.aircraft[0], aircraft.c_str());

    // Another aircraft, started as a choice of aircraft starts it: a short
    // flight is a flight, and the trainer's keeps its entry.
    UTIL_strcpy((folder->prefix() + "Aircraft:Gliders:Orvell Glider:Orvell Glider.acf").c_str(), pln[0].acf_file_path);
    UTIL_strcpy("Orvell Glider.acf", pln[0].acf_file_name);
    ASSERT_NE(ACF_load_and_setup(0), 0);
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    fly(5.0);
    ASSERT_EQ(logbook_last, 1);
    EXPECT_NEAR(logbook.total_hours[0], 10.0 / 3600.0, 0.0002);
    EXPECT_NEAR(logbook.total_hours[1], 4.0 / 3600.0, 0.0002);   // the first second is the start's, filled again
    EXPECT_STREQ(logbook.aircraft[1], "Orvell Glider");

    {
        const unseen_frames unseen;
        close_window_and_quit();   // the quit writes the logbook
    }
    const std::string written = read_file_bytes(folder->path() / "Output/logbooks/ORVELL PILOT.txt");
    ASSERT_EQ(written.rfind("I\n1 version\n2 ", 0), 0u) << written;
    EXPECT_NE(written.find("  KSBD  "), std::string::npos) << written;
    EXPECT_EQ(written.substr(written.size() - 3), "99\n");

    // The next start reads both back and opens a third entry with its first
    // frame: a flight read back (written with one decimal, 0.0) is kept.
    logbook = logbook_arrays{};
    start_program(*folder);
    ASSERT_EQ(logbook_last, 1);
    EXPECT_STREQ(logbook.from[0], "KSBD");
    EXPECT_STREQ(logbook.aircraft[1], "Orvell Glider");
    fly(0.2);
    EXPECT_EQ(logbook_last, 2);
    stop_program();

    ASSERT_FALSE(tail.empty());
    EXPECT_NE(written.find(tail), std::string::npos);
    EXPECT_NE(written.find(aircraft), std::string::npos);
}
