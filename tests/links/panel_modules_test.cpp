// Panel modules through a library of the test's own in place of the maker's:
// the greeting at start, frequencies shown and tuned, switch panels as
// joystick buttons, the gear-and-lights unit, the shut-down, and no library.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "links/panel_modules.h"
#include "links/shared_memory.h"
#include "tests/links/joystick_fixture.h"

namespace {

// The fake library's record (tests/fixtures/fake_gfdev.cpp).
struct fake_gfdev_record {
    int init_result;
    int radio_count, p8_count, t8_count, lgt_count;
    int16_t outer[8], inner[8];
    uint8_t p8_switches, t8_switches;
    int16_t wheel;
    uint8_t lgt_switches;
    char alpha[8][8];
    char numeric[8][8];
    int alpha_sends[8];
    int numeric_sends[8];
    int p8_lamps, t8_lamps, lgt_lamps;
    int initialised, terminated;
    char log[16384];
};

class PanelModules : public JoystickState {
protected:
    void SetUp() override
    {
        JoystickState::SetUp();
        // The test's own hold on the library keeps its state readable after the program lets go.
        handle_ = dlopen(FAKE_GFDEV_LIBRARY, RTLD_NOW);
        ASSERT_NE(handle_, nullptr) << dlerror();
        auto get = reinterpret_cast<fake_gfdev_record* (*)()>(dlsym(handle_, "fake_gfdev_state"));
        ASSERT_NE(get, nullptr);
        fake_ = get();
        *fake_ = fake_gfdev_record{};
        GFDEV_set_library_path(FAKE_GFDEV_LIBRARY);
        screen_settings.eq_gf_panels = 1;
    }
    void TearDown() override
    {
        JoystickState::TearDown();
        GFDEV_set_library_path("");
        if (handle_) dlclose(handle_);
    }
    void* handle_ = nullptr;
    fake_gfdev_record* fake_ = nullptr;
};

TEST_F(PanelModules, FourRadioUnitsTwoSwitchPanelsAndTheGearUnitThroughAFlight)
{
    fake_->radio_count = 5;       // only four are used
    fake_->p8_count = 1000;       // held to one
    fake_->t8_count = 1;
    fake_->lgt_count = 1;
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    r.nav1_freq_hz = 10800;
    r.com1_freq_hz = 11802;
    HARDWARE_open();
    EXPECT_EQ(fake_->initialised, 1);
    for (int u = 0; u < 4; ++u) {
        EXPECT_STREQ(fake_->alpha[u], "ORVL") << u;
        EXPECT_STREQ(fake_->numeric[u], "000.00") << u;
    }
    EXPECT_STREQ(fake_->alpha[4], "");
    EXPECT_EQ(fake_->p8_lamps, 255);
    EXPECT_EQ(fake_->t8_lamps, 255);
    EXPECT_EQ(fake_->lgt_lamps, 168);
    HARDWARE_open();   // loaded once a run
    EXPECT_EQ(fake_->alpha_sends[0], 1);

    frames(3);
    const char* labels[4] = {"NAV1", "NAV2", "COM1", "COM2"};
    for (int u = 0; u < 4; ++u) EXPECT_STREQ(fake_->alpha[u], labels[u]);
    EXPECT_STREQ(fake_->numeric[0], "108.00");
    EXPECT_STREQ(fake_->numeric[2], "118.02");
    EXPECT_EQ(fake_->numeric_sends[2], 2);   // the greeting, then the frequency once
    EXPECT_EQ(fake_->alpha_sends[2], 2);

    // One inner click on the NAV1 unit: the active frequency's hundredths, one channel up.
    fake_->inner[0] = 1;
    frames(1);
    EXPECT_EQ(r.nav1_freq_hz, 10802);
    EXPECT_STREQ(fake_->numeric[0], "108.02");
    fake_->outer[2] = -1;
    frames(1);
    EXPECT_EQ(r.com1_freq_hz, 13602);   // the MHz wrap within 118..136

    // P8 switch 3 reads as button 91 held; every lamp shows its switch.
    sim_joystick.has_joystick = 1;
    sim_joystick.joystick_button_assignments[91] = 56;
    fake_->p8_switches = 0x08;
    fake_->t8_switches = 0x81;
    frames(2);
    EXPECT_EQ(flt[0].parkbrake, 0.67f);
    EXPECT_EQ(fake_->p8_lamps, 0x08);
    EXPECT_EQ(fake_->t8_lamps, 0x81);
    EXPECT_EQ(sim_joystick.joystick_button_values[80], 1);
    EXPECT_EQ(sim_joystick.joystick_button_values[87], 1);
    fake_->p8_switches = 0;
    frames(1);
    EXPECT_EQ(flt[0].parkbrake, 0.0f);

    // The flap lever at +1 lowers the flaps one notch, once; the trim wheel steps the elevator trim.
    pln[0].acf_flap_detents = 4;
    for (int k = 0; k <= 4; ++k) pln[0].acf_flap_dn[k] = 10.0f * k;   // a notch is a quarter of the travel
    fake_->lgt_switches = 0x02;
    frames(1);
    const float one_notch = flt[0].flaprqst;
    EXPECT_GT(one_notch, 0.0f);
    EXPECT_LT(one_notch, 1.0f);
    frames(5);
    EXPECT_EQ(flt[0].flaprqst, one_notch);
    fake_->lgt_switches = 0x06;   // both flap bits: +1 wins, so no change
    frames(1);
    EXPECT_EQ(flt[0].flaprqst, one_notch);
    fake_->lgt_switches = 0x04;   // -1 raises them a notch (key 62)
    frames(1);
    EXPECT_EQ(flt[0].flaprqst, 0.0f);
    fake_->lgt_switches = 0x02;
    fake_->wheel = 1;
    frames(1);
    EXPECT_NEAR(flt[0].elv_trim, 0.001f, 1e-7f);

    // The gear lever works the handle (key 5) when it moves to the other
    // side of where the handle stands, once per move.
    pln[0].acf_gear_retract = 1;
    int32_t& handle = sim_cockpit_switches.gear_handle_status;
    handle = 1;
    const struct {
        uint8_t switches;   // flap lever held at +1, bit 0 the gear lever up
        int32_t handle_before, handle_after;
    } moves[] = {{0x03, 1, 0}, {0x03, 0, 0}, {0x02, 1, 1}, {0x03, 1, 0}, {0x02, 0, 1}};
    for (const auto& m : moves) {
        handle = m.handle_before;
        fake_->lgt_switches = m.switches;
        frames(1);
        EXPECT_EQ(handle, m.handle_after) << int(m.switches) << " from " << m.handle_before;
        // The same frame's lamps show the handle as the lever left it: three red with it down, the legs being up.
        EXPECT_EQ(fake_->lgt_lamps, m.handle_after ? 0x54 : 0) << int(m.switches) << " from " << m.handle_before;
    }

    // Gear lamps: with the handle down green (0x80, 0x20, 0x08) for a leg
    // down, else red (0x40, 0x10, 0x04); with it up red from 0.01 on.
    float* legs = pln[0].acf_gear_deploy + 67;
    const struct {
        int32_t handle;
        float leg[3];
        int lamps;
    } lamp_rows[] = {{1, {1.0f, 1.0f, 1.0f}, 0xA8}, {1, {1.0f, 0.5f, 1.0f}, 0x98}, {1, {0.0f, 0.99f, 0.0f}, 0x54},
                     {0, {0.0f, 0.5f, 0.0f}, 0x10}, {0, {0.01f, 0.0f, 0.009f}, 0x40}};
    for (const auto& row : lamp_rows) {
        sim_cockpit_switches.gear_handle_status = row.handle;
        std::copy(row.leg, row.leg + 3, legs);
        frames(1);
        EXPECT_EQ(fake_->lgt_lamps, row.lamps) << row.handle << " " << row.leg[0] << " " << row.leg[1];
    }

    // Shut-down: blank displays, dark lamps, the library let go.
    HARDWARE_close(1);
    EXPECT_STREQ(fake_->alpha[0], "    ");
    EXPECT_STREQ(fake_->numeric[3], "      ");
    EXPECT_EQ(fake_->p8_lamps, 0);
    EXPECT_EQ(fake_->lgt_lamps, 0);
    EXPECT_EQ(fake_->terminated, 1);
    EXPECT_EQ(gfdev_table.library, nullptr);
    EXPECT_NE(std::string(fake_->log).find("GF45_GetDialVals"), std::string::npos);
}

TEST_F(PanelModules, WithoutTheLibraryThereAreNoModulesAndNoAlert)
{
    GFDEV_set_library_path("/nonexistent/GFDev.so");
    HARDWARE_open();
    frames(2);
    HARDWARE_close(1);
    EXPECT_EQ(panel_modules.radio_units, 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(fake_->log[0], 0);   // not one call
    EXPECT_EQ(GFDEV_load(nullptr), GFDEV_NO_LIBRARY);
    EXPECT_EQ(GF45_GetNumDevices(), 0);
    EXPECT_EQ(GF45_SetAlpha(0, "NAV1"), GFDEV_NO_ENTRY);

    // A library that will not start leaves the modules uncounted.
    GFDEV_reset();
    GFDEV_set_library_path(FAKE_GFDEV_LIBRARY);
    fake_->init_result = 0x0101;
    fake_->radio_count = 2;
    HARDWARE_open();
    EXPECT_EQ(fake_->initialised, 1);
    EXPECT_EQ(panel_modules.radio_units, 0);
}

// Two holders of one area name (two copies of the program on one machine)
// map the same bytes; a closed holder has no view left to write through.
TEST(SharedMemoryArea, TwoHoldersOfOneNameShareItsBytes)
{
    const std::string name = "/Orvell_test_shared_" + std::to_string(getpid());
    SHMEM_area first, second;
    auto* a = static_cast<unsigned char*>(first.SHMEM_open(264, name.c_str()));
    auto* b = static_cast<unsigned char*>(second.SHMEM_open(264, name.c_str()));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a[263] = 0x5a;
    EXPECT_EQ(b[263], 0x5a);
    b[0] = 0x21;
    EXPECT_EQ(a[0], 0x21);
    EXPECT_TRUE(second.SHMEM_close());
    EXPECT_EQ(second.view(), nullptr);
    EXPECT_FALSE(second.SHMEM_close());
    EXPECT_EQ(a[263], 0x5a);   // the other holder keeps its view
    EXPECT_TRUE(first.SHMEM_close());
}

// Outside readers open the area as "/Orvell_Shared_Memory_Area". When it
// cannot be made (here a name the system refuses) there is no view and the
// record writer skips its writes.
TEST(SharedMemoryArea, TheAreaHasItsNameAndNoViewMeansNoWrites)
{
    SHMEM_set_area_name("");
    EXPECT_STREQ(SHMEM_area_name(), "/Orvell_Shared_Memory_Area");
    SHMEM_release();
    SHMEM_set_area_name("no leading slash");
    SHMEM_static_init();
    ASSERT_NE(shmem_area, nullptr);
    EXPECT_EQ(shmem_area->view(), nullptr);
    SHMEM_write_record();
    SHMEM_release();

    // Made under a name it can take, the area holds the whole 264-byte record.
    const std::string name = "/Orvell_test_size_" + std::to_string(getpid());
    SHMEM_set_area_name(name.c_str());
    SHMEM_static_init();
    ASSERT_NE(shmem_area->view(), nullptr);
    const int fd = shm_open(name.c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    struct stat st {};
    EXPECT_EQ(fstat(fd, &st), 0);
    EXPECT_GE(st.st_size, 264);
    close(fd);
    SHMEM_release();
    SHMEM_set_area_name("");
}

}  // namespace
