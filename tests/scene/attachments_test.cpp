// The user plane's attachments drawn whole and captured in feedback mode:
// the flown path, the chute, the refuelling hose and the fuel it moves.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/launch_flags.h"
#include "core/replay.h"
#include "flightmodel/derived_data.h"
#include "scene/drawers.h"
#include "scene/effects/attachments.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/gl_view.h"

namespace {

struct drawn {
    int lines = 0, polygons = 0;
};

// What SCENE_draw_attachments sends through a 2-km box about the origin.
drawn capture()
{
    window_ortho(-1000, 1000, -1000, 1000, -1000, 1000);
    const std::vector<GLfloat> b = feedback_of(SCENE_draw_attachments, 1 << 20, GL_3D);
    const GLint n = static_cast<GLint>(b.size());
    drawn d;
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(b[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const GLint count = static_cast<GLint>(b[i++]);
            i += 3 * count;
            ++d.polygons;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 6;
            ++d.lines;
        } else if (token == GL_POINT_TOKEN) {
            i += 3;
        } else {
            i += 1;   // pass-through and bitmap tokens carry one value here
        }
    }
    return d;
}

class Attachments : public SceneState {
protected:
    void SetUp() override
    {
        SceneState::SetUp();
        REPLAY_clear_ring();
        sim_cockpit_misc.show_path = 0;
        sim_cockpit_switches.parachute_on = 0;
        sim_operation_misc.frame_rate_period = 0.1f;
    }
};

TEST_F(Attachments, TheFlownPathSkipsEmptyRecords)
{
    sim_cockpit_misc.show_path = 1;
    for (int i = 0; i < 6; ++i) {
        replay_ring[i].network_time_sec = i == 3 ? 0.01f : 1.0f + i;
        replay_ring[i].local_x = 10.0f * i;
    }
    EXPECT_EQ(capture().lines, 3);   // 0-1, 1-2 and 4-5; 2-3 and 3-4 touch an empty record
}

TEST_F(Attachments, AHalfDeployedChuteHasLinesButNoCanopy)
{
    pln[0].acf_chute_area = 50.0f;
    sim_cockpit_switches.parachute_on = 1;
    sim_cockpit_engine.chute_dir[2] = 1.0f;
    sim_cockpit_engine.chute_deploy_ratio = 0.5f;
    drawn d = capture();
    EXPECT_EQ(d.lines, 1 + 13);
    EXPECT_EQ(d.polygons, 0);
    sim_cockpit_engine.chute_deploy_ratio = 1.0f;
    d = capture();
    EXPECT_GT(d.polygons, 4 * 12);
    pln[0].acf_chute_area = NAN;
    d = capture();
    EXPECT_EQ(d.lines + d.polygons, 0);
}

TEST_F(Attachments, TheHoseShowsWithin250MetresAndFillsTheTanksWithin5)
{
    for (int p = 0; p < 2; ++p) pln[p].acf_has_refuel = 1;
    acf_struct& a = pln[0];
    a.acf_num_tanks = 2;
    a.acf_m_fuel_tot = 100.0f;
    a.acf_tank_rat[0] = a.acf_tank_rat[1] = 0.5f;
    flt[0].m_fuel1 = 10.0f;
    flt[0].m_fuel2 = 49.0f;
    flt[1].local_x = 4.0f;
    EXPECT_EQ(capture().lines, 1);
    EXPECT_NEAR(flt[0].m_fuel1, 12.786f, 1e-3f);
    EXPECT_EQ(flt[0].m_fuel2, 50.0f);   // full at its share
    flt[0].m_fuel1 = 10.0f;
    flt[1].local_x = 5.0f;
    EXPECT_EQ(capture().lines, 1);
    EXPECT_EQ(flt[0].m_fuel1, 10.0f);
    flt[1].local_x = 251.0f;
    EXPECT_EQ(capture().lines, 0);

    // Four tanks: only the first three fill, each with a quarter.
    a.acf_num_tanks = 4;
    a.acf_tank_rat[2] = 0.5f;
    flt[0].m_fuel1 = flt[0].m_fuel2 = flt[0].m_fuel3 = 0.0f;
    SCENE_refuel(0.1f);
    EXPECT_NEAR(flt[0].m_fuel3, 1.393f, 1e-3f);
}

// A full chute of area pi (radius 1: lines 4 m, canopy radius 1 m, its top
// 1.5 x 4 + cos 18 = 6.951 m out along the canopy axis). The axis follows
// the line from 2 m/s of airspeed; slower it swings toward a pitch of 90
// degrees (half way at 1 m/s), whatever the line's direction.
TEST_F(Attachments, TheCanopyTurnsFromTheLineWithAirspeed)
{
    pln[0].acf_chute_area = 3.14159265f;
    sim_cockpit_switches.parachute_on = 1;
    sim_cockpit_engine.chute_deploy_ratio = 1.0f;
    flt_struct& f = flt[0];
    f.local_x = f.local_y = f.local_z = 0.0f;
    f.sin_theta = f.sin_phi = f.track_sin = 0.0f;
    f.cos_theta = f.cos_phi = f.track_cos = 1.0f;
    const struct {
        float dir[3], tas;
        float top[3];
    } rows[] = {
        {{0, 0, 1}, 2.0f, {0, 0, 6.951f}},     {{0, 0, 1}, 1.0f, {0, -4.915f, 4.915f}},
        {{0, 0, 1}, 0.0f, {0, -6.951f, 0}},    {{1, 0, 0}, 2.0f, {6.951f, 0, 0}},
        {{1, 0, 0}, 0.0f, {0, -6.951f, 0}},
    };
    for (const auto& r : rows) {
        for (int k = 0; k < 3; ++k) sim_cockpit_engine.chute_dir[k] = r.dir[k];
        f.true_airspeed = r.tas;
        window_ortho(-10, 10, -10, 10, -10, 10);
        const std::vector<GLfloat> b = feedback_of(SCENE_draw_attachments, 1 << 20, GL_3D);
        bool found = false;
        for (size_t i = 0; i < b.size();) {
            const GLint token = static_cast<GLint>(b[i++]);
            if (token == GL_PASS_THROUGH_TOKEN) {
                ++i;
                continue;
            }
            const GLint count = token == GL_POLYGON_TOKEN ? static_cast<GLint>(b[i++])
                                : (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) ? 2
                                                                                           : 1;
            for (GLint k = 0; k < count; ++k, i += 3) {
                const float x = -10.0f + b[i] / 51.2f, y = -10.0f + b[i + 1] / 38.4f, z = (1.0f - 2.0f * b[i + 2]) * 10.0f;
                if (token == GL_POLYGON_TOKEN && std::hypot(x - r.top[0], y - r.top[1], z - r.top[2]) < 0.02f) found = true;
            }
        }
        EXPECT_TRUE(found) << r.dir[0] << " " << r.dir[2] << " at " << r.tas << " m/s";
    }
}

// Every third segment of the flown path (0, 3, ...) takes the mark colour,
// the others the path colour.
TEST_F(Attachments, EveryThirdPathSegmentIsMarked)
{
    sim_cockpit_misc.show_path = 1;
    for (int i = 0; i < 7; ++i) {
        replay_ring[i].network_time_sec = 1.0f + i;
        replay_ring[i].local_x = 10.0f * i;
    }
    window_ortho(-1000, 1000, -1000, 1000, -1000, 1000);
    const std::vector<GLfloat> b = feedback_of(SCENE_draw_attachments, 1 << 16, GL_3D_COLOR);
    std::vector<std::vector<GLfloat>> colour;   // the first vertex's colour of each line
    for (size_t i = 0; i < b.size();) {
        const GLint token = static_cast<GLint>(b[i++]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            colour.emplace_back(b.begin() + static_cast<long>(i) + 3, b.begin() + static_cast<long>(i) + 7);
            i += 14;
        } else {
            i += 1;
        }
    }
    ASSERT_EQ(colour.size(), 6u);
    EXPECT_EQ(colour[0], colour[3]);
    EXPECT_NE(colour[0], colour[1]);
    for (int k : {2, 4, 5}) EXPECT_EQ(colour[1], colour[k]) << k;
}

// Ropes show for a tow flag or a slung load with mass; the load is a cube of
// edge ett_size about its point.
TEST_F(Attachments, RopesAndTheSlungLoadFollowTheirFlags)
{
    std::memset(&launch_flags, 0, sizeof launch_flags);
    std::memset(&rope_points, 0, sizeof rope_points);
    rope_points.line_b[0] = 5.0f;
    rope_points.load_attach[1] = 3.0f;
    rope_points.load_pos[0] = 1.0f;
    flt[0].ett_size = 4.0f;
    const struct {
        int32_t aero_tow, winch_attached, slung;
        float m_jettison;
        int lines;
        bool load;
    } rows[] = {
        {0, 0, 0, 100.0f, 0, false}, {1, 0, 0, 0.0f, 1, false}, {0, 1, 0, 0.0f, 1, false},
        {0, 0, 1, 0.0f, 0, false},   {0, 0, 1, 100.0f, 1, true}, {1, 0, 1, 100.0f, 2, true},
    };
    for (const auto& r : rows) {
        launch_flags.aero_tow_mode = r.aero_tow;
        launch_flags.winch_attached = r.winch_attached;
        pln[0].acf_jett_is_slung = r.slung;
        flt[0].m_jettison = r.m_jettison;
        window_ortho(-10, 10, -10, 10, -10, 10);
        const std::vector<GLfloat> b = feedback_of(SCENE_draw_attachments, 1 << 16, GL_3D);
        int lines = 0, polygons = 0;
        float lo = 1e9f, hi = -1e9f;   // x extent of the load's faces
        for (size_t i = 0; i < b.size();) {
            const GLint token = static_cast<GLint>(b[i++]);
            if (token == GL_POLYGON_TOKEN) {
                const GLint count = static_cast<GLint>(b[i++]);
                for (GLint k = 0; k < count; ++k, i += 3) {
                    const float x = -10.0f + b[i] / 51.2f;
                    lo = std::min(lo, x), hi = std::max(hi, x);
                }
                ++polygons;
            } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                i += 6;
                ++lines;
            } else {
                i += 1;
            }
        }
        const std::string row = std::to_string(r.aero_tow) + std::to_string(r.winch_attached) + std::to_string(r.slung);
        EXPECT_EQ(lines, r.lines) << row;
        EXPECT_EQ(polygons > 0, r.load) << row;
        if (r.load) {
            EXPECT_NEAR(lo, -1.0f, 0.01f) << row;
            EXPECT_NEAR(hi, 3.0f, 0.01f) << row;
        }
    }
}

}  // namespace
