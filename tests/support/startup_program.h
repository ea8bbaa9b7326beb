// Starting the whole program in the test process on a copy of the generated
// default data folder (the build folder), so a test can run its frames and
// shut it down without touching the build folder's own preferences.
#pragma once

#include <filesystem>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

// A copy of the default data folder's data (aircraft, airfoils, resources)
// under a fresh temporary folder. `leave_out` names one file (relative to the
// copy, '/' separators) that the copy lacks.
std::unique_ptr<temp_folder> copy_default_data_folder(const std::string& leave_out = "");

// Starts the program (everything up to the main loop) on the data folder, as
// if its executable "orvell" lay there, on the test clock.
void start_program(const temp_folder& folder);
// Shuts the program down and restores the system clock.
void stop_program();
// A close request taken by the frame loop (the program's quit saves what it
// keeps), then the shut-down.
void close_window_and_quit();
// True from a start until its stop: the tests of a started program's suite
// keep the state it runs on instead of starting from the reset registry.
extern bool program_started;

// The clock the started program runs on, moved by hand.
extern double test_clock_seconds;
// Runs at every read of that clock while it is set: a test acts through it
// from inside the program's own loops.
extern std::function<void()> test_clock_hook;
// The calendar the program reads on that clock (seconds since 1970); nullptr,
// the system's.
extern int64_t (*test_calendar)();
// Puts the program on that clock (again).
void use_test_clock();
// Runs the started program's frames for `seconds` (whole frames), the clock
// moving `period` seconds before each.
void run_frames_for(double seconds, double period = 0.05);
// While one lives, the started program's flying frames are not drawn for
// the eye (no 3-D scene, no panel picture, no swap; the instruments, their
// clicks and everything else of the frame run as ever): the frames a test
// steps the flight through without looking at the picture. A frame the test
// looks at runs after it ends.
class unseen_frames {
public:
    unseen_frames();
    ~unseen_frames();
    unseen_frames(const unseen_frames&) = delete;
    unseen_frames& operator=(const unseen_frames&) = delete;

private:
    bool kept_;
};
// Pushes a key's press and release, with the modifier keys `mod` held, onto
// the window's event queue, for the program's next frame to read.
void push_key_press(int key, int scan, unsigned mod = 0);

// Where the user's plane stands and how it is turned: local metres and degrees.
struct plane_pose {
    double x, y, z;
    float psi, theta, phi;
};
// The trainer on its gear at the KSBD start, as it settles there in a freshly
// started program, nose 1 degree down.
constexpr plane_pose ksbd_start_pose{23001.24, 304.8726, -10178.157, 71.706f, -1.0f, 0.0f};

// Puts the user's plane in the pose, at rest: position (the integrator's
// doubles and the latitude, longitude and elevation too), attitude with its
// quaternion, sines and cosines, flight path along the heading, and no linear
// or angular motion. A picture drawn after it does not depend on how flying
// earlier in the test program left the plane.
void hold_user_plane(const plane_pose& pose);

// A test suite on the program started once (everything up to the main loop) on a
// copy of the default data folder, as if its executable "orvell" lay there.
class started_program : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static void SetUpTestSuite();
    static void TearDownTestSuite();
};

// A test suite on the program started once on a copy of the default data
// folder made the working folder, so that its logs (ERROR.OUT) are written there.
class started_program_in_its_folder : public ::testing::Test {
protected:
    static inline std::unique_ptr<temp_folder> folder;
    static inline std::filesystem::path kept_cwd;
    static void SetUpTestSuite();
    static void TearDownTestSuite();
};

// The same suite, its start-up's failure kept instead of thrown, so that every
// test fails at once on it; `alerts` keeps the alerts the start-up raised.
class started_program_noting_failure : public started_program {
protected:
    static inline std::string failure;
    static inline std::vector<alert_record> alerts;
    static void SetUpTestSuite();
    void SetUp() override { ASSERT_EQ(failure, ""); }
};
