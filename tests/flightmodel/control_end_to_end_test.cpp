// The control step in the running program: started in-process on the
// generated data folder with the airliner of the test fleet as the user's
// aircraft, keys go through the real key dispatcher (the held throttle key
// through the window's events and the program's frames), frames through the
// simulation's frame and the plane step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/hooks.h"
#include "core/key_slots.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "flightmodel/flt.h"
#include "flightmodel/sim_frame.h"
#include "flightmodel/systems/gyros.h"
#include "links/sound_seam.h"
#include "tests/support/pilot_kit.h"
#include "tests/support/startup_program.h"

namespace {

namespace fs = std::filesystem;

constexpr float DT = 0.04f;

struct horn_log : sound_recorder {
    int autopilot_off = 0;
    void played(int slot, int, float, float) override { autopilot_off += slot == 40; }
};

// The first aircraft file below a folder of the data folder copy.
std::string first_aircraft_in(const fs::path& folder)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; it != end && !ec; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (it->is_regular_file(ec) && ext == ".acf") return it->path().string();
    }
    return "";
}

// Frames of the simulation at 25 per second; the gyros read the
// attitude as fully spun-up gyros would.
void frames(int n)
{
    for (int i = 0; i < n; ++i) {
        test_clock_seconds += DT;
        frame_clock += DT;
        for (int k = 0; k < GYRO_SYSTEMS; ++k) {
            gyro_spin[k] = 1.0f;
            gyro_pitch[k] = flt[0].theta;
            gyro_heading[k] = flt[0].magpsi;
        }
        FLTMOD_sim_frame();
    }
}

class ControlEndToEnd : public started_program {
protected:
    static inline std::string missing;

    static void SetUpTestSuite()
    {
        started_program::SetUpTestSuite();
        // The airliner of the test fleet as the user's aircraft.
        const std::string path = first_aircraft_in(folder->path() / "Aircraft" / "Heavy Metal");
        if (path.empty()) {
            missing = "the test fleet's airliner in Aircraft/Heavy Metal";
            return;
        }
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
        ACF_load_and_setup(0);
        if (pln[0].acf_num_engines < 2) missing = "the airliner loaded with its engines";
        FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    }

    void SetUp() override
    {
        ASSERT_TRUE(missing.empty()) << "missing: " << missing;
        app_mode = MODE_FLYING;
        sim_time.paused = 0;
        sim_operation_prefs.replay_mode = 0;
        sim_operation_misc.frame_rate_period = DT;
        sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
        ap.airspeed_mode = ap.heading_mode = ap.altitude_mode = ap.hnav_mode = ap.vnav_mode = 9;
        ap.autopilot_mode = 2;
        frames(2);
    }

    static void press(int key_slot) { CORE_run_key_slot(DISPATCH_PLAIN, key_slot); }
};

}  // namespace

TEST_F(ControlEndToEnd, HeadingKeyEngagesHeadingHoldOnThePresentHeading)
{
    sim_cockpit_autopilot.heading_mag = flt[0].magpsi + 90.0f;
    press(KEY_SLOT_AP_HEADING);
    EXPECT_EQ(sim_cockpit_autopilot.heading_mode, 11);
    frames(1);
    EXPECT_EQ(sim_cockpit_autopilot.heading_mode, 11);
    EXPECT_NEAR(sim_cockpit_autopilot.heading_mag, flt[0].magpsi, 0.01f);
    press(KEY_SLOT_AP_HEADING);
    frames(1);
}

TEST_F(ControlEndToEnd, DisconnectKeyDropsEveryModeAndSoundsTheHornOnce)
{
    // The airliner has GPWS.
    ASSERT_TRUE(pln[0].acf_warn2EQ || pln[0].acf_warn1EQ);
    sim_operation_prefs.warn_bb = 1;
    horn_log horn;
    SOUND_install_recorder(&horn);
    press(KEY_SLOT_AP_HEADING);
    press(KEY_SLOT_AUTOTHROTTLE);
    frames(3);
    press(KEY_SLOT_AUTOPILOT_OFF);
    frames(10);
    SOUND_install_recorder(nullptr);
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    for (int32_t mode : {ap.airspeed_mode, ap.heading_mode, ap.altitude_mode, ap.hnav_mode, ap.vnav_mode})
        EXPECT_EQ(mode, 9);
    EXPECT_EQ(horn.autopilot_off, 1);
}

TEST_F(ControlEndToEnd, HeldThrottleKeyRaisesEveryThrottleToTheForwardLimit)
{
    const int engines = std::min(pln[0].acf_num_engines, 8);
    const unseen_frames unseen;   // the throttles are looked at, not the picture
    for (int n = 0; n < engines; ++n) flt[0].ENGN_thro[n] = 0.0f;
    for (int i = 0; i < 60; ++i) {
        pilot::press(pilot::function_key(2));   // F2 held: throttles up
        pilot::frames(1, DT);
    }
    for (int n = 0; n < engines; ++n) EXPECT_FLOAT_EQ(flt[0].ENGN_thro[n], pln[0].acf_throtmax_FWD) << "engine " << n;
    flt[0].ENGN_thro[0] = 0.3f;
    pilot::press(pilot::function_key(1));   // F1: down one step
    pilot::frames(1, DT);
    EXPECT_NEAR(flt[0].ENGN_thro[0], 0.25f, 1e-6f);
}

namespace {

// An aircraft of the data folder flown in the running program with heading
// hold, altitude hold and the autothrottle.
class AutopilotCruise : public started_program {
protected:
    // Loads the aircraft (the first file below `folder_name`, or the file
    // named `file_name` anywhere) through the aircraft set-up and starts it
    // in flight at the altitude (ft), heading east, at the indicated speed (kt).
    // Empty when it flies; otherwise what is missing.
    static std::string cruise(const char* folder_name, const char* file_name, float altitude_ft, float speed_kt)
    {
        std::string path;
        if (folder_name) path = first_aircraft_in(folder->path() / "Aircraft" / folder_name);
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder->path() / "Aircraft", ec), end; file_name && it != end && !ec;
             it.increment(ec))
            if (it->path().filename() == file_name) path = it->path().string();
        if (path.empty())
            return folder_name ? std::string("the test fleet's aircraft in Aircraft/") + folder_name
                               : std::string("the aircraft file ") + file_name;
        std::snprintf(pln[0].acf_file_path, ACF_TEXT_SIZE, "%s", path.c_str());
        ACF_load_and_setup(0);
        if (!(pln[0].acf_m_empty > 0.0f) || !(pln[0].acf_Jyy_unitmass > 0.0f))
            return "the aircraft set-up (ACF_load_and_setup)";

        situation_start_record& b = situation_start_state;
        b.latitude = lat_ref + 1.0f;
        b.longitude = lon_ref + 1.5f;
        b.elevation = altitude_ft * 0.3048f;
        b.psi = 90.0f;
        b.groundspeed = speed_kt * 0.514444f;
        FLIGHT_init_situation(SIT_IN_FLIGHT, 0);
        app_mode = MODE_FLYING;
        sim_time.paused = 0;
        sim_operation_prefs.replay_mode = 0;
        sim_operation_misc.frame_rate_period = DT;
        sim_cockpit_electrical.battery_on = 1;
        for (int32_t& on : sim_cockpit_engine.inverter_on) on = 1;
        frames(1);
        // Started at the true speed; scaled to the indicated speed wanted.
        const float ias = flt[0].indicated_airspeed;
        if (!(ias > 1.0f)) return "a plane step that flies the started aircraft";
        const float k = speed_kt / ias;
        flt[0].local_vx *= k, flt[0].local_vy *= k, flt[0].local_vz *= k;

        sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
        ap.autopilot_mode = 2;
        ap.airspeed_mode = 10;
        ap.heading_mode = 11;
        ap.altitude_mode = 15;
        ap.hnav_mode = ap.vnav_mode = 9;
        frames(1);
        ap.airspeed = speed_kt;
        ap.current_altitude = altitude_ft;
        return "";
    }

    // 120 s of frames: the worst height (ft) and speed (kt) errors.
    static void hold(float altitude_ft, float speed_kt, float& worst_ft, float& worst_kt)
    {
        worst_ft = worst_kt = 0.0f;
        for (int i = 0; i < 120 * 25; ++i) {
            frames(1);
            const float ft = std::fabs(flt[0].h_ind / 0.3048f - altitude_ft);
            const float kt = std::fabs(flt[0].indicated_airspeed - speed_kt);
            worst_ft = std::isfinite(ft) ? std::max(worst_ft, ft) : 1e9f;
            worst_kt = std::isfinite(kt) ? std::max(worst_kt, kt) : 1e9f;
        }
    }
};

}  // namespace

TEST_F(AutopilotCruise, AirlinerHoldsTenThousandFeetAnd250Knots)
{
    const std::string missing = cruise("Heavy Metal", nullptr, 10000.0f, 250.0f);
    ASSERT_TRUE(missing.empty()) << "missing: " << missing;
    float worst_ft = 0.0f, worst_kt = 0.0f;
    hold(10000.0f, 250.0f, worst_ft, worst_kt);
    EXPECT_LT(worst_ft, 200.0f);
    EXPECT_LT(worst_kt, 10.0f);
}

TEST_F(AutopilotCruise, TrainerHoldsFiveThousandFeetAnd100Knots)
{
    const std::string missing = cruise(nullptr, "Orvell Trainer.acf", 5000.0f, 100.0f);
    ASSERT_TRUE(missing.empty()) << "missing: " << missing;
    float worst_ft = 0.0f, worst_kt = 0.0f;
    hold(5000.0f, 100.0f, worst_ft, worst_kt);
    EXPECT_LT(worst_ft, 200.0f);
    EXPECT_LT(worst_kt, 10.0f);
}
