// The motion platform's datagrams and the shared-memory record: the two
// payloads worked by hand, then the running program with a software
// controller whose throttle drives the plane, the motion output at the data
// rate and a second process reading the shared area.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/engine_types.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/input.h"
#include "core/simvars.h"
#include "flightmodel/control/pilot_inputs.h"
#include "flightmodel/flt.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "links/net_slots.h"
#include "links/shared_memory.h"
#include "platform/plat_serial.h"
#include "shell/frame.h"
#include "tests/support/startup_program.h"
#include "tests/support/net_peer.h"
#include "tests/support/virtual_joystick.h"

namespace {

constexpr int MOTION_SLOT = 11;

float word(const std::vector<uint8_t>& payload, size_t offset)
{
    float v = 0.0f;
    if (offset + 4 <= payload.size()) std::memcpy(&v, payload.data() + offset, 4);
    return v;
}

class Motion : public ::testing::Test {
protected:
    void SetUp() override
    {
        flt[0] = flt_struct{};
        pln[0] = acf_struct{};
        HARDWARE_reset();
        net_peer_attach();
        for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_slot_valid[s] = 0;
        net_slot_enabled[MOTION_SLOT] = net_slot_valid[MOTION_SLOT] = 1;
        flying_frame_count = 5;
        // At rest on the ground: weight on the gear, nothing sideways or along.
        flt_struct& f = flt[0];
        f.m_total = 1000.0f;
        f.fnrml_gear = 9806.65f;
        f.fside_gear = 35.0f;
        f.faxil_aero = -12.0f;
        f.theta = 2.5f;
        f.psi = 270.0f;
        f.phi = -1.0f;
        f.onground_any = 1;
        key_char = 'g';
    }
    void TearDown() override { HARDWARE_reset(); }

    static std::vector<uint8_t> send(const char* label)
    {
        net_peer_clear();
        HARDWARE_send_motion();
        const std::vector<net_sent_datagram> d = net_peer_sent(label);
        EXPECT_EQ(d.size(), 1u);
        return d.empty() ? std::vector<uint8_t>{} : d[0].bytes;
    }
};

TEST_F(Motion, MotiCarriesAttitudeAndTheFeltAccelerations)
{
    std::vector<uint8_t> b = send("MOTI");
    ASSERT_EQ(b.size(), 6u + 28u);
    EXPECT_EQ(b[4], 0);
    std::vector<uint8_t> p(b.begin() + 6, b.end());
    EXPECT_EQ((std::array<float, 3>{word(p, 0), word(p, 4), word(p, 8)}), (std::array<float, 3>{2.5f, 270.0f, -1.0f}));
    EXPECT_EQ(word(p, 12), 0.0f);   // standing still: side and axial faded out exactly
    EXPECT_EQ(word(p, 20), 0.0f);
    EXPECT_FLOAT_EQ(word(p, 16), 9.80665f);
    EXPECT_EQ(word(p, 24), static_cast<float>('g'));

    // Rolling at 10 m/s the side and axial values are whole; a weightless
    // plane with no normal force still reports a small one, divided by 1 kg.
    flt_struct& f = flt[0];
    f.groundspeed = 10.0f;
    p = net_sent_datagram{MOTION_SLOT, send("MOTI")}.payload();
    EXPECT_FLOAT_EQ(word(p, 12), 0.035f);
    EXPECT_FLOAT_EQ(word(p, 20), -0.012f);
    f.m_total = 0.0f;
    f.fnrml_gear = -0.05f;
    p = net_sent_datagram{MOTION_SLOT, send("MOTI")}.payload();
    EXPECT_EQ(word(p, 16), -0.1f);
    f.fnrml_gear = 0.0f;
    p = net_sent_datagram{MOTION_SLOT, send("MOTI")}.payload();
    EXPECT_EQ(word(p, 16), 0.1f);
}

TEST_F(Motion, FideCarriesFourteenWordsAndHoldsThemWhilePaused)
{
    fide_mode = 1;
    flt_struct& f = flt[0];
    f.Q_dot = 45.0f;
    f.R_dot = -12.0f;
    f.P_dot = -50.0f;
    f.alpha = 3.0f;
    f.beta = -0.5f;
    std::vector<uint8_t> b = send("FIDE");
    ASSERT_EQ(b.size(), 6u + 56u);
    EXPECT_EQ(b[4], 0x30);
    std::vector<uint8_t> p(b.begin() + 6, b.end());
    EXPECT_EQ(word(p, 0), -990.0f);
    EXPECT_EQ(word(p, 12), 30.0f);
    EXPECT_EQ(word(p, 16), -12.0f);
    EXPECT_EQ(word(p, 20), -30.0f);
    EXPECT_EQ(word(p, 24), 0.0f);
    EXPECT_FLOAT_EQ(word(p, 28), 9.80665f / 0.3048f);
    EXPECT_EQ(word(p, 36), 10000.0f);
    EXPECT_EQ((std::array<float, 4>{word(p, 40), word(p, 44), word(p, 48), word(p, 52)}),
              (std::array<float, 4>{2.5f, -0.5f, -1.0f, static_cast<float>('g')}));

    // Paused: pitch and roll accelerations and the normal value are held at 0, yaw is not.
    sim_time.paused = 1;
    p = net_sent_datagram{MOTION_SLOT, send("FIDE")}.payload();
    EXPECT_EQ((std::array<float, 4>{word(p, 12), word(p, 16), word(p, 20), word(p, 28)}),
              (std::array<float, 4>{0.0f, -12.0f, 0.0f, 0.0f}));

    // Airborne with the gear up: the ground word clears; a leg in transit, or
    // no flying frame yet since the start, sets it again.
    sim_time.paused = 0;
    f.onground_any = 0;
    p = net_sent_datagram{MOTION_SLOT, send("FIDE")}.payload();
    EXPECT_EQ(word(p, 36), 0.0f);
    for (const float leg : {0.5f, 0.99f, 0.01f}) {   // both ends of the transit count
        pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + 2] = leg;
        p = net_sent_datagram{MOTION_SLOT, send("FIDE")}.payload();
        EXPECT_EQ(word(p, 36), 10000.0f) << leg;
    }
    pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + 2] = 1.0f;
    flying_frame_count = 0;
    p = net_sent_datagram{MOTION_SLOT, send("FIDE")}.payload();
    EXPECT_EQ(word(p, 36), 10000.0f);

    // Rolling at 2.5 m/s (4.8596 kt) the side and axial values are half in:
    // side 35 N / 1000 kg x 0.5 = 0.0175 m/s2, sent as -0.057415 ft/s2;
    // axial -0.006 m/s2 as -0.019685 ft/s2.
    f.groundspeed = 2.5f;
    p = net_sent_datagram{MOTION_SLOT, send("FIDE")}.payload();
    EXPECT_NEAR(word(p, 4), 4.85961f, 1e-4f);
    EXPECT_EQ(word(p, 8), 3.0f);
    EXPECT_NEAR(word(p, 24), -0.057415f, 1e-5f);
    EXPECT_NEAR(word(p, 32), -0.019685f, 1e-5f);
}

// Engine words of the shared record: a propeller engine shows its propeller's
// speed and acceleration, any other its N1 and applied throttle.
TEST_F(Motion, SharedRecordShowsPropellerSpeedsOnlyForEnginesThatTurnOne)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    a.acf_num_engines = 3;
    a.acf_num_thrustpoints = 4;
    const int32_t types[8] = {ENGINE_TURBINE_FREE, ENGINE_JET_HIGH_BYPASS, ENGINE_TIP_ROCKET, ENGINE_JET_LOW_BYPASS,
                              ENGINE_PISTON_INJECTED, 0, 0, 0};
    for (int n = 0; n < 8; ++n) {
        a.acf_en_type[n] = types[n];
        f.POINT_tacrad[n] = 100.0f + n, f.POINT_omegadot[n] = 10.0f + n;
        f.ENGN_N1_[n] = 50.0f + n, f.ENGN_thro_use[n] = 0.1f * n;
    }
    // Engines 0..2 by their types; 3 is within the four thrust points, 4 is past them.
    const bool prop[5] = {true, false, true, true, false};
    shmem_state_record r{};
    SHMEM_fill_record(r);
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(r.engine_speed[n], prop[n] ? 100.0f + n : 50.0f + n) << n;
        EXPECT_EQ(r.engine_accel[n], prop[n] ? 10.0f + n : 0.1f * n) << n;
        EXPECT_EQ(r.engine_type[n], types[n]);
    }
    // Failed, or turned up to 90 degrees with its propeller hidden: no propeller.
    f.failures[58] = 6;
    a.acf_hide_prop_at_90_vect = 1;
    a.thrust_vector_angle[2] = 90.0f;
    SHMEM_fill_record(r);
    EXPECT_EQ(r.engine_speed[0], 50.0f);
    EXPECT_EQ(r.engine_speed[2], 52.0f);
    EXPECT_EQ(r.engine_speed[3], 103.0f);
}

// Every word of the shared record at its place, each source given its own
// value; with no engines at all the engine words show N1 and the throttle.
TEST_F(Motion, SharedRecordHoldsEachValueAtItsWord)
{
    acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const int32_t kept_mode = app_mode;
    app_mode = 3;
    f.theta = 1.5f, f.phi = -2.5f, f.indicated_airspeed = 123.0f;
    f.g_axil = 0.25f, f.g_side = -0.125f, f.g_nrml = 1.75f;
    a.acf_num_engines = a.acf_num_thrustpoints = 0;
    for (int n = 0; n < 8; ++n) {
        f.ENGN_N1_[n] = 60.0f + n, f.ENGN_thro_use[n] = 0.5f + n, a.acf_en_type[n] = 9 - n;
        f.POINT_tacrad[n] = f.POINT_omegadot[n] = 999.0f;
    }
    for (int g = 0; g < 6; ++g) a.acf_gear_deploy[67 + g] = g % 2 ? 0.5f : 1.0f;
    f.onground_any = 1;
    ground_type_word = 7;
    f.flaprat = 0.375f, f.sbrkrqst = -0.5f;
    for (int s = 0; s < 24; ++s) a.acf_wpn_slot[s].wpn_released = s % 3 == 0 ? 1 : 0;
    shmem_state_record r{};
    SHMEM_fill_record(r);
    app_mode = kept_mode;
    std::array<int32_t, 66> w{};
    std::memcpy(w.data(), &r, sizeof w);
    const auto f_at = [&](int k) { float v; std::memcpy(&v, &w[size_t(k)], 4); return v; };

    EXPECT_EQ(w[0], 3);
    const float floats[6] = {1.5f, -2.5f, 123.0f, 0.25f, -0.125f, 1.75f};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f_at(k), floats[k - 1]) << "word " << k;
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(f_at(7 + n), 60.0f + n) << n;
        EXPECT_EQ(f_at(15 + n), 0.5f + n) << n;
        EXPECT_EQ(w[size_t(23 + n)], 9 - n) << n;
    }
    for (int g = 0; g < 6; ++g) EXPECT_EQ(w[size_t(31 + g)], g % 2 ? 0 : 1) << g;
    EXPECT_EQ(w[37], 1);
    EXPECT_EQ(w[38], 7);
    EXPECT_EQ(f_at(39), 0.375f);
    EXPECT_EQ(f_at(40), -0.5f);
    for (int s = 0; s < 24; ++s) EXPECT_EQ(w[size_t(41 + s)], s % 3 == 0 ? 1 : 0) << s;
    EXPECT_EQ(w[65], 0);
}

TEST_F(Motion, InstallationFileChoosesTheProtocolAndThePorts)
{
    temp_folder tmp;
    tmp.write("Resources/preferences/hardware.txt",
              "# the cockpit of this machine\nfide_mode 1\nCOM2 /dev/ttyUSB7\nspeed 9\nfide_mode x\n");
    const std::string kept = program_folder;
    std::snprintf(program_folder, TEXT_SIZE, "%s", tmp.prefix().c_str());
    HARDWARE_open();
    std::snprintf(program_folder, TEXT_SIZE, "%s", kept.c_str());
    EXPECT_EQ(fide_mode, 1);
    EXPECT_STREQ(PLAT_serial_device("COM2"), "/dev/ttyUSB7");
    EXPECT_STREQ(PLAT_serial_device("COM1"), "/dev/ttyS0");
    EXPECT_EQ(send("FIDE").size(), 62u);
}

// What a second process sees in the shared area: the 66 words, read by a
// child of this test through its own mapping of the name.
std::array<int32_t, 66> read_area_from_child(const std::string& name)
{
    std::array<int32_t, 66> words{};
    int fds[2];
    if (pipe(fds) != 0) return words;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const int fd = shm_open(name.c_str(), O_RDONLY, 0);
        void* view = fd >= 0 ? mmap(nullptr, sizeof words, PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
        if (view != MAP_FAILED) (void)!write(fds[1], view, sizeof words);
        _exit(view == MAP_FAILED ? 1 : 0);
    }
    close(fds[1]);
    size_t got = 0;
    for (ssize_t n; got < sizeof words && (n = read(fds[0], reinterpret_cast<char*>(words.data()) + got,
                                                    sizeof words - got)) > 0;)
        got += static_cast<size_t>(n);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(got, sizeof words);
    return words;
}

float as_float(int32_t w)
{
    float f;
    std::memcpy(&f, &w, 4);
    return f;
}

void fly(double seconds, double period = 0.02) { run_frames_for(seconds, period); }

TEST(HardwareInProgram, ControllerThrottleMotionOutputAndTheSharedRecord)
{
    // The controller is plugged in and the area made before the program starts.
    virtual_joystick stick(4, 0, 8);
    const std::string area = "/Orvell_test_area_" + std::to_string(getpid());
    SHMEM_set_area_name(area.c_str());
    SHMEM_static_init();
    const auto folder = copy_default_data_folder();
    start_program(*folder);
    const unseen_frames unseen;   // what the links send and read is looked at, not the picture
    app_mode = MODE_FLYING;
    sim_time.paused = 0;
    sim_operation_prefs.reset_on_crash = 0;

    // The motion output at the data rate: ten a second.
    net_peer_attach();
    for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_slot_valid[s] = 0;
    net_slot_enabled[MOTION_SLOT] = net_slot_valid[MOTION_SLOT] = 1;
    sim_network_dataout.network_data_rate = 10.0f;
    fly(0.1);
    net_peer_clear();
    fly(1.0);
    const std::vector<net_sent_datagram> moti = net_peer_sent("MOTI");
    EXPECT_GE(moti.size(), 9u);
    EXPECT_LE(moti.size(), 11u);
    for (const net_sent_datagram& d : moti) {
        ASSERT_EQ(d.bytes.size(), 34u);
        EXPECT_NE(word(d.payload(), 16), 0.0f);   // the normal value is never 0
    }
    net_slot_enabled[MOTION_SLOT] = 0;

    // Axis 0 pitch, axis 2 the throttle: the pitch axis moving shows the
    // joystick; the throttle at its maximum is a full throttle input the next frame.
    sim_joystick_block& j = sim_joystick;
    std::fill(std::begin(j.joystick_axis_assignments), std::end(j.joystick_axis_assignments), 0);
    std::fill(std::begin(j.joystick_axis_reverse), std::end(j.joystick_axis_reverse), 0);
    std::fill(std::begin(j.joystick_axis_minimum), std::end(j.joystick_axis_minimum), -100.0f);
    std::fill(std::begin(j.joystick_axis_maximum), std::end(j.joystick_axis_maximum), 100.0f);
    j.joystick_axis_assignments[0] = JOY_AXIS_PITCH;
    j.joystick_axis_assignments[2] = 4;
    j.has_joystick = 0;
    stick.axis(2, -100);
    fly(0.04);
    stick.axis(0, 20);
    fly(0.04);
    EXPECT_EQ(j.has_joystick, 1);
    stick.axis(0, 0);
    stick.axis(2, 100);
    fly(0.02);
    EXPECT_EQ(pilot_inputs.throttle_axis_value, 1.0f);

    // The shared record as another process reads it after this frame.
    const std::array<int32_t, 66> w = read_area_from_child(area);
    EXPECT_EQ(w[0], 0);
    EXPECT_NEAR(as_float(w[1]), flt[0].theta, 0.05f);   // written at the frame's poll, before its step
    EXPECT_EQ(w[23], pln[0].acf_en_type[0]);
    for (int g = 0; g < 6; ++g)
        if (pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART + g] == 1.0f) {
            EXPECT_EQ(w[31 + g], 1) << g;
        }
    EXPECT_EQ(w[31], 1);   // the trainer's fixed gear stands on its legs
    EXPECT_EQ(w[65], 0);

    // A leg not quite down reads 0.
    pln[0].acf_gear_deploy[FLT_FIRST_GEAR_PART] = 0.999f;
    shmem_state_record r{};
    SHMEM_fill_record(r);
    EXPECT_EQ(r.gear_down[0], 0);

    // The shut-down removes the area.
    stop_program();
    const int fd = shm_open(area.c_str(), O_RDONLY, 0);
    EXPECT_LT(fd, 0);
    if (fd >= 0) close(fd);
    SHMEM_set_area_name("");
}

}  // namespace
