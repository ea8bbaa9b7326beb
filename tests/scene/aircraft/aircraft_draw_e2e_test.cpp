// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, draws the trainer in the chase view (1017): its elevator
// follows the pitch control from frame to frame, its propeller stands or
// spins, and at noon the parked trainer looks as its reference picture shows.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_bind_seam.h"
#include "scene/scene_driver.h"
#include "scene/effects/particles.h"
#include "flightmodel/ground/surface_state.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/support/reference_picture.h"
#include "tests/support/startup_program.h"

namespace {

using picture = std::vector<unsigned char>;

struct disc_binds : bind_recorder {
    int disc = 0;
    disc_binds() { OGL_install_bind_recorder(this); }
    ~disc_binds() override { OGL_install_bind_recorder(nullptr); }
    void bound(int slot, int) override { disc += slot == TEX_SLOT_PROP_DISC; }
};

class AircraftDrawEndToEnd : public started_program {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::strstr(pln[0].acf_file_name, "TRAINER"), nullptr) << "the default aircraft is the trainer";
        MACIBM_pump_messages();
        app_mode = MODE_FLYING;
        flying_frame_count = 10;
        gload_dim_factor = 1.0f;
        sim_operation_override.override_joystick = 1;   // the pitch control is the test's
        sim_joystick.yolk_pitch_ratio = 0.0f;
        // The trainer alone in still, dry air: no traffic, rain, snow or lightning changing the picture between frames.
        sim_graphics_settings.draw_aircrafts = 1;
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
        sim_weather.precip_rain = sim_weather.precip_snow = 0.0f;
        frames(10);
        PARTICLE_list_reset();   // no exhaust or dust puffs of the settling in the pictures
        // Clear skies at the local noon; the propeller and the light phases held.
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.visibility_reported_m = 40000.0f;
        sim_time.use_system_time = 0, sim_time.local_date_days = 90;   // the sun of a fixed day, not the calendar's
        sim_time.zulu_time_sec = std::fmod((12.0f - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
        sim_time.total_running_time_sec = 100.0f;
        flt[0].POINT_tacrad[0] = flt[0].tire_prop_rot[0] = 0.0f;
        flt[0].strobe_flash = 0, flt[0].beacon_brightness = 0.5f;
        fixed_camera();
    }
    void TearDown() override
    {
        sim_operation_override.override_camera = sim_operation_override.override_joystick = 0;
        CORE_run_command(VIEW_FORWARD);
        GROUND_surface_reset();   // the runway found under the plane is no later test's
    }
    static void frames(int n)
    {
        for (int k = 0; k < n; ++k) {
            test_clock_seconds += 0.04;
            MACIBM_do_frame();
        }
    }
    // The chase view with the camera held `ahead` m ahead of the plane, `left`
    // m to its left and `up` m up, looking at it.
    static void fixed_camera(float ahead = 8.0f, float left = 8.0f, float up = 1.5f)
    {
        CORE_run_command(VIEW_CHASE);
        const flt_struct& f = flt[0];
        const float h = f.psi * DEG_TO_RAD_FLOAT;
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = f.local_x + ahead * std::sin(h) - left * std::cos(h);
        sim_graphics_view.view_y = f.local_y + up;
        sim_graphics_view.view_z = f.local_z - ahead * std::cos(h) - left * std::sin(h);
        const float dx = f.local_x - sim_graphics_view.view_x, dz = f.local_z - sim_graphics_view.view_z;
        sim_private_camera.psi = std::atan2(dx, -dz) / DEG_TO_RAD_FLOAT;
        sim_private_camera.the = -std::atan2(up, std::hypot(dx, dz)) / DEG_TO_RAD_FLOAT;
        sim_private_camera.phi = 0.0f;
    }
    // The 3-D pass alone, no simulation between, and no time passing in it:
    // the cars on the roads, the puffs and the water stand still.
    static picture scene()
    {
        sim_operation_misc.frame_rate_period = 0.0f;
        for (int k = 0; k < 5; ++k) SCENE_draw_3d();
        picture px(1024 * 768 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // How many pixels of two pictures differ, and the rows spanned by those
    // rows where at least three differ (a lone pixel of a far light or edge
    // is no part that moved).
    static std::array<int, 2> changed(const picture& a, const picture& b)
    {
        int count = 0, lowest = 768, highest = -1;
        for (int row = 0; row < 768; ++row) {
            int in_row = 0;
            for (int i = row * 1024; i < (row + 1) * 1024; ++i)
                if (std::abs(a[4 * i] - b[4 * i]) + std::abs(a[4 * i + 1] - b[4 * i + 1]) + std::abs(a[4 * i + 2] - b[4 * i + 2]) > 24)
                    ++in_row;
            count += in_row;
            if (in_row >= 3) lowest = std::min(lowest, row), highest = std::max(highest, row);
        }
        return {count, highest - lowest};
    }
};

// The reference picture in a suite of its own: the program starts afresh for it.
class ParkedTrainerPicture : public AircraftDrawEndToEnd {
protected:
    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};
        started_program::SetUpTestSuite();
    }
};

}  // namespace

// From behind, full nose-up pitch control between frames moves the elevator:
// pixels change along the tailplane only. Both pictures are drawn with the
// plane where it stood, so only what the control moved can differ.
TEST_F(AircraftDrawEndToEnd, PitchControlMovesTheElevator)
{
    fixed_camera(-12.0f, 0.0f, 2.0f);
    flt_struct& f = flt[0];
    const flt_struct standing = f;
    const sim_time_block time = sim_time;
    const sim_weather_block weather = sim_weather;
    const picture centred = scene();
    sim_joystick.yolk_pitch_ratio = 1.0f;
    frames(3);
    const flt_struct pulled = f;
    f = standing;
    sim_time = time, sim_weather = weather;
    std::copy(std::begin(pulled.elev_cont_def), std::end(pulled.elev_cont_def), f.elev_cont_def);
    std::copy(std::begin(pulled.elem_inc), std::end(pulled.elem_inc), f.elem_inc);
    EXPECT_GT(std::fabs(f.elev_cont_def[16] - standing.elev_cont_def[16]), 5.0f);
    const auto [count, rows] = changed(centred, scene());
    EXPECT_GT(count, 200);
    EXPECT_LT(rows, 60) << "the change lies in one band, the tailplane's";
}

// Engine stopped, the blades stand at the propeller's angle and turn with it;
// running, the disc shows instead.
TEST_F(AircraftDrawEndToEnd, BladesStandAndTurnAndTheRunningPropellerIsADisc)
{
    flt_struct& f = flt[0];
    disc_binds standing;
    const picture at_0 = scene();
    f.tire_prop_rot[0] = 45.0f;
    const picture at_45 = scene();
    f.tire_prop_rot[0] = 0.0f;
    EXPECT_EQ(changed(at_0, scene())[0], 0);
    EXPECT_GT(changed(at_0, at_45)[0], 100);
    EXPECT_EQ(standing.disc, 0);

    f.POINT_tacrad[0] = 200.0f;
    disc_binds running;
    EXPECT_GT(changed(at_0, scene())[0], 100);
    EXPECT_GT(running.disc, 0);
}

// The parked trainer at noon from the fixed camera, against the picture kept
// in tests/fixtures (checked by eye when it was made).
TEST_F(ParkedTrainerPicture, FromAFixedCameraAtNoon)
{
    hold_user_plane(ksbd_start_pose);   // as it stands in a fresh program, whatever flew before
    fixed_camera();
    flt[0].tire_prop_rot[0] = 30.0f;
    const picture frame = scene();
    expect_like_reference(frame, "aircraft_trainer_parked.png", 2000);
}
