// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, draws the trainer in 3-D: its elevator follows the
// pitch control from frame to frame, its propeller stands or spins, and a
// fixed camera at noon sees the parked trainer as its reference picture shows it.
#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/app_mode.h"
#include "core/command_hook.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_bind_seam.h"
#include "scene/scene_draw.h"
#include "scene/surface_state.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/shell/startup_program.h"

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
        if (!std::strstr(pln[0].acf_file_name, "TRAINER")) GTEST_SKIP() << "the trainer is not the loaded aircraft";
        MACIBM_pump_messages();
        app_mode = MODE_FLYING;
        flying_frame_count = 10;
        gload_dim_factor = 1.0f;
        noon();
    }
    // Clear skies at the local noon.
    static void noon()
    {
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.visibility_reported_m = 40000.0f;
        sim_time.zulu_time_sec = std::fmod((12.0f - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
    }
    void TearDown() override
    {
        sim_operation_override.override_camera = 0;
        sim_operation_override.override_joystick = 0;
        sim_joystick.yolk_pitch_ratio = 0.0f;
        CORE_run_command(VIEW_FORWARD);
        SCENE_surface_reset();   // the runway the scene found under the plane is no later test's
    }

    static void frames(int n)
    {
        for (int k = 0; k < n; ++k) {
            test_clock_seconds += 0.04;
            MACIBM_do_frame();
        }
    }
    static picture grab()
    {
        picture px(1024 * 768 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // The 3-D pass alone (no simulation between), drawn until the camera has settled.
    static picture scene()
    {
        sim_operation_misc.frame_rate_period = 0.1f;
        for (int k = 0; k < 20; ++k) SCENE_draw_3d();
        return grab();
    }
    // In the chase view, the camera held `ahead` m ahead of the plane, `left`
    // m to its left and `up` m up, looking at it.
    static void fixed_camera(float ahead = 8.0f, float left = 8.0f, float up = 1.5f)
    {
        CORE_run_command(VIEW_CHASE);   // an outside view: no panel below the picture
        const flt_struct& f = flt[0];
        const float h = f.psi * 0.01745329f;
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = f.local_x + ahead * std::sin(h) - left * std::cos(h);
        sim_graphics_view.view_y = f.local_y + up;
        sim_graphics_view.view_z = f.local_z - ahead * std::cos(h) - left * std::sin(h);
        const float dx = f.local_x - sim_graphics_view.view_x, dz = f.local_z - sim_graphics_view.view_z;
        sim_private_camera.psi = std::atan2(dx, -dz) / 0.01745329f;
        sim_private_camera.the = -std::atan2(sim_graphics_view.view_y - f.local_y, std::hypot(dx, dz)) / 0.01745329f;
        sim_private_camera.phi = 0.0f;
        sim_graphics_view.view_is_external = 1;
    }
    // Pixels of two pictures that differ, and the rows they lie in.
    struct change {
        int count = 0, lowest = 768, highest = -1;
    };
    static change changed(const picture& a, const picture& b)
    {
        change c;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) {
                const size_t i = (size_t(y) * 1024 + x) * 4;
                if (std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 24) {
                    ++c.count;
                    c.lowest = std::min(c.lowest, y), c.highest = std::max(c.highest, y);
                }
            }
        return c;
    }
};

// The reference picture in a suite of its own, so the program starts afresh
// for it whatever the other tests have flown.
class ParkedTrainerPicture : public AircraftDrawEndToEnd {
protected:
    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};
        started_program::SetUpTestSuite();
    }
};

}  // namespace

// In the chase view, from behind: full nose-up pitch control between frames
// moves the elevator, so pixels change along the tailplane and not elsewhere.
// Each picture is drawn with the plane where the first one stood, the camera
// held behind it, and its propeller and light phases held, so only what the
// control moved can differ.
TEST_F(AircraftDrawEndToEnd, PitchControlMovesTheElevatorInTheChaseView)
{
    sim_operation_override.override_joystick = 1;
    sim_joystick.yolk_pitch_ratio = 0.0f;
    frames(10);
    fixed_camera(-12.0f, 0.0f, 2.0f);
    flt_struct& f = flt[0];
    const flt_struct standing = f;
    // The plane as it stood, with the control surfaces as they are now.
    const auto held = [&] {
        const flt_struct now = f;
        f = standing;
        std::copy(std::begin(now.elev_cont_def), std::end(now.elev_cont_def), f.elev_cont_def);
        std::copy(std::begin(now.elem_inc), std::end(now.elem_inc), f.elem_inc);
        f.tire_prop_rot[0] = 0.0f, f.strobe_flash = 0, f.beacon_brightness = 0.5f;
        sim_time.total_running_time_sec = 100.0f;
        return scene();
    };
    const picture centred = held();
    sim_joystick.yolk_pitch_ratio = 1.0f;
    frames(3);
    const float moved = std::fabs(f.elev_cont_def[16] - standing.elev_cont_def[16]);
    const picture pulled = held();
    EXPECT_GT(moved, 5.0f);
    const change c = changed(centred, pulled);
    EXPECT_GT(c.count, 200);
    EXPECT_LT(c.highest - c.lowest, 60) << "the change lies in one band, the tailplane's";
}

// Engine stopped, the blades stand at the propeller's angle and turn with it;
// running, the disc shows instead.
TEST_F(AircraftDrawEndToEnd, BladesStandAndTurnAndTheRunningPropellerIsADisc)
{
    fixed_camera();
    flt_struct& f = flt[0];
    f.POINT_tacrad[0] = 0.0f;
    f.tire_prop_rot[0] = 0.0f;
    disc_binds standing;
    const picture at_0 = scene();
    f.tire_prop_rot[0] = 45.0f;
    const picture at_45 = scene();
    f.tire_prop_rot[0] = 0.0f;
    EXPECT_EQ(standing.disc, 0);
    EXPECT_EQ(changed(at_0, scene()).count, 0);
    const change turned = changed(at_0, at_45);
    EXPECT_GT(turned.count, 100);

    f.POINT_tacrad[0] = 200.0f;
    disc_binds running;
    const change spinning = changed(at_0, scene());
    EXPECT_GT(running.disc, 0);
    EXPECT_GT(spinning.count, 100);
}

// The parked trainer at noon from a fixed camera, compared with the picture
// kept in tests/fixtures (checked by eye when it was made).
TEST_F(ParkedTrainerPicture, FromAFixedCameraAtNoon)
{
    sim_operation_override.override_joystick = 1;
    frames(25);   // standing on its gear with the controls centred
    noon();
    fixed_camera();
    flt_struct& f = flt[0];
    // The plane's pose, its propeller and its light phases as of a fixed moment.
    f.theta = -1.0f, f.phi = 0.0f;
    f.cos_theta = std::cos(f.theta * 0.01745329f), f.cos_phi = 1.0f;
    f.POINT_tacrad[0] = 0.0f, f.tire_prop_rot[0] = 30.0f;
    for (int p = 0; p < FLT_PARTS; ++p) f.ail1_def[p] = f.elev_cont_def[p] = f.rudd_cont_def[p] = f.flap_def[p] = 0.0f;
    f.nosewheel_steer = 0.0f;
    f.strobe_flash = 0, f.beacon_brightness = 0.5f;
    sim_time.total_running_time_sec = 100.0f;
    const picture frame = scene();

    const std::string reference = fixture_path("aircraft_trainer_parked.png");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    constexpr int STRIDE = -1024 * 4;   // rows bottom up, as GL reads them
    if (std::getenv("ORVELL_UPDATE_REFERENCE")) {
        image.width = 1024, image.height = 768, image.format = PNG_FORMAT_RGBA;
        ASSERT_TRUE(png_image_write_to_file(&image, reference.c_str(), 0, frame.data(), STRIDE, nullptr));
        GTEST_SKIP() << "wrote " << reference;
    }
    picture expected(frame.size());
    ASSERT_TRUE(png_image_begin_read_from_file(&image, reference.c_str())) << reference;
    image.format = PNG_FORMAT_RGBA;
    ASSERT_EQ(PNG_IMAGE_SIZE(image), expected.size());
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, expected.data(), STRIDE, nullptr));
    int off = 0;   // a few bytes may differ by a rounding step, none by much
    for (size_t i = 0; i < frame.size(); ++i)
        if (std::abs(int(frame[i]) - int(expected[i])) > 8) ++off;
    EXPECT_LT(off, 2000) << "bytes differing from the reference";
}
