// The windshield: the glare worked out from the sun and the view, cut by an
// overcast, and the damage marks made by impacts, each with its crack.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"
#include "links/sound_seam.h"
#include "scene/effects/overlay.h"
#include "scene/view_effects.h"
#include "tests/scene/scene_fixture.h"

namespace {

struct sound_log : sound_recorder {
    std::vector<int> slots;
    void played(int slot, int, float, float) override { slots.push_back(slot); }
};

class Windshield : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);
        // The sun 30 degrees up in the south: (0, 1, 0) turned 60 degrees about x.
        sun_angles[0] = sun_angles[1] = 0.0f;
        sun_angles[2] = 60.0f;
        sim_graphics_view.view_heading = 180.0f;
        sim_graphics_view.view_pitch = 30.0f;
        OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
    }
    void TearDown() override
    {
        SOUND_install_recorder(nullptr);
        SceneState::TearDown();
    }
    static float glare(int draw = 1)
    {
        VIEW_draw_windshield(draw, 0, 0, 1024, 768, 0, 0.3f, 0);
        return sun_glare;
    }
};

TEST_F(Windshield, GlareFacingTheSunFadesOutAtTwentyDegreesAndUnderAnOvercast)
{
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);
    EXPECT_NEAR(glare(0), 0.99f, 1e-4f);   // external views work it out too
    sim_graphics_view.view_heading = 200.0f;
    EXPECT_NEAR(glare(), 0.0f, 1e-4f);
    sim_graphics_view.view_heading = -180.0f;   // the same heading, wrapped
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);

    sim_weather.cloud_type[0] = 4;
    sim_weather.cloud_tops_msl_m[0] = 3000.0f;
    flt[0].elevation = 2999.0f;
    EXPECT_EQ(glare(), 0.0f);
    flt[0].elevation = 3001.0f;
    EXPECT_NEAR(glare(), 0.99f, 1e-4f);
}

TEST_F(Windshield, ImpactsMakeMarksUpToFiftyEachWithOneCrack)
{
    sound_log log;
    SOUND_install_recorder(&log);
    UTIL_srand(5);
    sim_operation_misc.frame_rate_period = 0.05f;
    VIEW_draw_windshield(1, 0, 0, 1024, 768, 0.5f, 0, 0);
    EXPECT_EQ(VIEW_windshield_marks(), 0);
    VIEW_draw_windshield(0, 0, 0, 1024, 768, 100.0f, 0, 0);   // external view: no marks
    EXPECT_EQ(VIEW_windshield_marks(), 0);

    int frames = 0;
    for (; frames < 100; ++frames) VIEW_draw_windshield(1, 0, 0, 1024, 768, 10.0f, 0, 0);
    EXPECT_GT(VIEW_windshield_marks(), 30);   // about half the frames
    EXPECT_LT(VIEW_windshield_marks(), 70);
    for (; frames < 400; ++frames) VIEW_draw_windshield(1, 0, 0, 1024, 768, 10.0f, 0, 0);
    EXPECT_EQ(VIEW_windshield_marks(), 50);
    EXPECT_EQ(log.slots, std::vector<int>(50, 33));

    VIEW_draw_windshield(0, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(VIEW_windshield_marks(), 0);
}

}  // namespace
