// The engine and weather loops of one small plane, set frame by frame: the
// camera's distance and closing speed, the engine types' level mixes, the jet
// roar, the rumble, the wind and the rain, and references of 0.
#include <cmath>

#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "core/frame_clock.h"
#include "core/units.h"
#include "tests/links/sound_fixture.h"

namespace {

constexpr float REF_RPM = 2500.0f;

class EngineSounds : public sound_fixture {
protected:
    void SetUp() override
    {
        sound_fixture::SetUp();
        for (int s : {0, 1, 8, 16, 17, 18, 19, 20}) load_tone(s, 0.2);
        acf_struct& a = pln[0];
        a.acf_num_engines = 1;
        a.acf_num_thrustpoints = 1;
        a.acf_en_type[0] = ENGINE_PISTON_CARBURETTED;
        a.acf_prop_type[0] = PROP_FIXED_PITCH;
        a.acf_prop_gear_rat[0] = 1.0f;
        a.acf_Vne = 150.0f;
        a.acf_unpub_638096 = 100.0f;   // wind reference, knots
        a.acf_unpub_638100 = REF_RPM;  // propeller reference
        a.acf_unpub_638104 = REF_RPM;  // engine reference
        a.acf_unpub_638108 = 100.0f;   // reference N1
        flt_struct& f = flt[0];
        f.ENGN_tacrad[0] = REF_RPM * UNIT.rpm_to_radps;
        f.POINT_tacrad[0] = REF_RPM * UNIT.rpm_to_radps;
        f.ENGN_thro_use[0] = 1.0f;
        f.ENGN_mixt_pow_rat[0] = 1.0f;
        sim_operation_misc.frame_rate_period = 0.05f;
        sim_weather.speed_of_sound_ms = 340.0f;
        sim_cockpit_switches.jato_on = 0;
        frame_clock = 100.0f;
        camera_at(0.0f);
        SOUND_start_stop_loops(1);
    }
    void camera_at(float distance_m)
    {
        sim_graphics_view.view_x = distance_m;
        sim_graphics_view.view_y = 0.0f;
        sim_graphics_view.view_z = 0.0f;
    }
    void frame() { SOUND_engine_update(0.0f, 0.0f, 0.0f); }
};

// The law's hundredths of a decibel for a level at master volume 1.
int volume_of(float level) { return static_cast<int>(5000.0f * std::sqrt(level * 0.67f) - 5000.0f); }

}  // namespace

TEST_F(EngineSounds, TheCameraFadesAndShiftsTheLoopsOutside)
{
    // Inside, the camera's place does not matter: full level and pitch.
    camera_at(800.0f);
    frame();
    EXPECT_EQ(sound_slots.volume[0], -907);
    EXPECT_EQ(sound_slots.frequency_hz[0], 22050);
    EXPECT_EQ(sound_slots.volume[8], -907);

    // Outside at 500 m: L = 0.25.
    sim_graphics_view.view_is_external = 1;
    camera_at(500.0f);
    frame();
    frame();   // the camera stands still: no Doppler
    EXPECT_EQ(sound_slots.volume[0], volume_of(0.25f));
    EXPECT_EQ(sound_slots.frequency_hz[0], 22050);

    // At 1000 m every loop but the rumble is silent.
    flt[0].onground_any = 1;
    pln[0].acf_gear_deploy[67] = 1.0f;
    flt[0].groundspeed = 20.0f;
    flt[0].indicated_airspeed = 40.0f;
    camera_at(1000.0f);
    frame();
    for (int s : {0, 8, 18}) EXPECT_EQ(sound_slots.volume[s], -5000) << s;
    EXPECT_GT(sound_slots.volume[17], -5000);

    // A camera closing at the speed of sound: the pitch factor clamps at 1.999.
    camera_at(500.0f);
    frame();
    camera_at(500.0f - 340.0f * 0.05f);
    frame();
    EXPECT_NEAR(sound_slots.frequency_hz[0], 1.999 * 22050, 2);
}

TEST_F(EngineSounds, EngineTypesJetRoarAndFailures)
{
    // An electric motor at full throttle sounds at level 1 whatever its speed.
    pln[0].acf_en_type[0] = ENGINE_ELECTRIC;
    flt[0].ENGN_tacrad[0] = 0.0f;
    frame();
    EXPECT_EQ(sound_slots.volume[0], -907);

    // A piston at idle speed and closed throttle keeps its base level 0.6.
    pln[0].acf_en_type[0] = ENGINE_PISTON_INJECTED;
    flt[0].ENGN_thro_use[0] = 0.0f;
    frame();
    EXPECT_EQ(sound_slots.volume[0], volume_of(0.6f));

    // Jets: idle ones (neither burning nor in reverse) stop the roar; JATO
    // alone starts it at level L.
    pln[0].acf_en_type[0] = ENGINE_JET_HIGH_BYPASS;
    flt[0].ENGN_running[0] = 1;
    flt[0].ENGN_burning[0] = 1;
    frame();
    EXPECT_EQ(sound_slots.playing[16], 1);
    EXPECT_EQ(sound_slots.volume[16], -907);
    flt[0].ENGN_burning[0] = 0;
    frame();
    EXPECT_EQ(sound_slots.playing[16], 0);
    sim_cockpit_switches.jato_on = 1;
    frame();
    EXPECT_EQ(sound_slots.playing[16], 1);
    EXPECT_EQ(sound_slots.volume[16], -907);
    EXPECT_EQ(sound_slots.frequency_hz[16], 22050);

    // A failed engine's slots are left as they were.
    pln[0].acf_en_type[0] = ENGINE_PISTON_INJECTED;
    flt[0].ENGN_thro_use[0] = 1.0f;
    frame();
    const int before = sound_slots.volume[0];
    flt[0].failures[FAIL_SLOT_ENGINE_BASE] = 6;
    flt[0].ENGN_thro_use[0] = 0.0f;
    frame();
    EXPECT_EQ(sound_slots.volume[0], before);
}

TEST_F(EngineSounds, RainHailWindAndZeroReferences)
{
    sim_weather.precip_rain = 0.5f;
    sim_weather.precip_hail = 0.5f;
    SOUND_start_stop_loops(1);
    frame();
    EXPECT_EQ(sound_slots.volume[19], volume_of(0.5f * 0.5f));   // standing still: k = 0.5
    EXPECT_EQ(sound_slots.frequency_hz[19], static_cast<int>(0.25f * 22050));
    pln[0].acf_Vne = 0.0f;
    frame();
    EXPECT_EQ(sound_slots.volume[19], volume_of(0.5f * 1.25f));
    EXPECT_EQ(sound_slots.volume[20], volume_of(0.5f * 1.25f));

    // Wind at the reference speed with the gear down: 1.2 x, squared for the level.
    flt[0].indicated_airspeed = 100.0f;
    pln[0].acf_gear_deploy[67] = 1.0f;
    frame();
    EXPECT_EQ(sound_slots.frequency_hz[18], static_cast<int>(1.2f * 22050));
    EXPECT_EQ(sound_slots.volume[18], volume_of(1.44f));

    // References of 0 silence their slots and nothing goes out of range.
    pln[0].acf_prop_gear_rat[0] = 0.0f;
    pln[0].acf_unpub_638104 = 0.0f;
    pln[0].acf_unpub_638096 = 0.0f;
    flt[0].ENGN_thro_use[0] = 0.0f;
    frame();
    EXPECT_EQ(sound_slots.volume[8], -5000);
    EXPECT_EQ(sound_slots.volume[18], -5000);
    EXPECT_EQ(sound_slots.volume[0], volume_of(0.6f));   // the base level stays, the speed part goes
    for (int s : {0, 8, 18}) {
        EXPECT_GE(sound_slots.frequency_hz[s], 100) << s;
        EXPECT_LE(sound_slots.frequency_hz[s], 100000) << s;
    }
}

// Each loop by its rule, worked by hand at 40 % throttle and half the
// reference speed (s = 0.5, t = 0.4): pistons and turbines 0.6 + 0.2 t + 0.2 s
// = 0.78, jets 0.8 + 0.1 t + 0.1 s = 0.89, rockets t = 0.4, all at pitch 0.5.
// A jet in reverse at N1 64 roars at pitch sqrt 0.64 = 0.8 and level
// (0.5 t + 0.5 n) x 0.9 + 0.1 = 0.568 with both wanders at 1. Rolling at 40 kt
// the rumble is sqrt(40 / 90) in pitch and level; rain and hail of 0.5 at
// 20 m/s sound at pitch (0.5 + 0.005 x 20) x 0.5 = 0.3 and (0.5 + 0.01 x 20) x
// 0.5 = 0.35. A wander factor at 1 with rate 0.5 moves to (1 + 0.025) x 0.95 +
// 0.05 = 1.02375 in a frame of 0.05 s.
TEST_F(EngineSounds, EachLoopByItsRule)
{
    flt_struct& f = flt[0];
    acf_struct& a = pln[0];
    f.ENGN_thro_use[0] = 0.4f;
    f.ENGN_tacrad[0] = 0.5f * REF_RPM * UNIT.rpm_to_radps;
    f.ENGN_N1_[0] = 50.0f;
    const struct {
        int type;
        float level;
    } engines[] = {{ENGINE_PISTON_CARBURETTED, 0.78f}, {ENGINE_TURBINE_FREE, 0.78f}, {ENGINE_TURBINE_FIXED, 0.78f},
                   {ENGINE_ELECTRIC, 0.4f},           {ENGINE_JET_LOW_BYPASS, 0.89f}, {ENGINE_ROCKET, 0.4f}};
    for (const auto& e : engines) {
        a.acf_en_type[0] = e.type;
        frame();
        EXPECT_EQ(sound_slots.volume[0], volume_of(e.level)) << e.type;
        EXPECT_NEAR(sound_slots.frequency_hz[0], 0.5f * 22050, 1) << e.type;
    }

    a.acf_en_type[0] = ENGINE_JET_HIGH_BYPASS;
    f.ENGN_running[0] = 1;
    f.ENGN_propmode[0] = 3;
    f.ENGN_N1_[0] = 64.0f;
    sound_engine.next_change_sec = 1.0e9f;
    sound_engine.wander_1 = sound_engine.wander_2 = 1.0f;
    sound_engine.wander_rate_1 = sound_engine.wander_rate_2 = 0.0f;
    frame();
    EXPECT_NEAR(sound_slots.frequency_hz[16], 0.8f * 22050, 1);
    EXPECT_EQ(sound_slots.volume[16], volume_of(0.568f));
    sound_engine.wander_rate_1 = 0.5f;
    frame();
    EXPECT_NEAR(sound_engine.wander_1, 1.02375f, 1e-5f);

    f.onground_any = 1;
    a.acf_gear_deploy[67] = 1.0f;
    f.groundspeed = 40.0f / UNIT.mps_to_kts;
    sim_weather.precip_rain = sim_weather.precip_hail = 0.5f;
    SOUND_start_stop_loops(1);
    frame();
    const float rumble = std::sqrt(40.0f / 90.0f);
    EXPECT_NEAR(sound_slots.frequency_hz[17], rumble * 22050, 1);
    EXPECT_EQ(sound_slots.volume[17], volume_of(rumble));
    f.groundspeed = 20.0f;
    frame();
    EXPECT_NEAR(sound_slots.frequency_hz[19], 0.3f * 22050, 1);
    EXPECT_NEAR(sound_slots.frequency_hz[20], 0.35f * 22050, 1);
}
