// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, at KSBD. At 23:00 local, 2 km out on runway 06's
// extended centre line at 150 m, the edge and approach lights of the
// runway's geometry and the beacon light up the picture where they stand; at
// noon the runway's number shows on its threshold; every runway picture of
// the data folder loads.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/app_mode.h"
#include "core/hooks.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_bind_seam.h"
#include "graphics/ogl_tex.h"
#include "scene/airport/worldobj.h"
#include "scene/scene_driver.h"
#include "flightmodel/ground/surface_state.h"
#include "shell/frame.h"
#include "shell/wndproc.h"
#include "tests/scene/flying_program.h"
#include "tests/support/reference_picture.h"
#include "tests/support/startup_program.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/runway_geometry.h"

namespace {

constexpr int W = 1024, H = 768;

struct window_point {
    float x, y;
    float depth;   // window depth, 0 at the near plane to 1 at the far one
    bool in_front;
};

// The scene's transform as the airport pass found it.
struct scene_transform {
    GLfloat m[16], p[16];
    GLint vp[4];
    bool taken = false;
    void take()
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetIntegerv(GL_VIEWPORT, vp);
        taken = true;
    }
    // (x, y, z) of the scene to the window.
    window_point to_window(float x, float y, float z) const
    {
        float e[4], c[4];
        for (int r = 0; r < 4; ++r) e[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
        for (int r = 0; r < 4; ++r) c[r] = p[r] * e[0] + p[4 + r] * e[1] + p[8 + r] * e[2] + p[12 + r] * e[3];
        if (!(c[3] > 0.0f)) return {0.0f, 0.0f, 0.0f, false};
        return {vp[0] + (c[0] / c[3] + 1.0f) * 0.5f * vp[2], vp[1] + (c[1] / c[3] + 1.0f) * 0.5f * vp[3],
                (c[2] / c[3] + 1.0f) * 0.5f, true};
    }
};

// Every light asked of the light kit, and the scene's transform, taken when
// the airport pass binds its first runway picture.
struct light_seen {
    float x, y, z, size;
};
struct scene_recorder : bind_recorder {
    std::vector<light_seen> lights;
    scene_transform scene;
    void bound(int slot, int unit) override
    {
        if (unit == 0 && slot >= 50 && slot <= 174 && !scene.taken) scene.take();
    }
    void light(const light_call& c) override { lights.push_back({c.x, c.y, c.z, c.size}); }
};

using picture = std::vector<unsigned char>;

class AirportEndToEnd : public flying_program {
protected:
    void SetUp() override
    {
        flying_program::SetUp();
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.visibility_reported_m = 40000.0f;
        sim_weather.temperature_sealevel_c = 15.0f;   // no snow blowing over the runways
        sim_weather.rain_percent = 0.0f;
        for (size_t i = 0; i < airport_table.size(); ++i)
            if (std::strncmp(airport_table[i].id, "KSBD", 4) == 0) ksbd = static_cast<int>(i);
        ASSERT_GE(ksbd, 0);
        const runway_record& r = airport().runways.at(0);
        ASSERT_STREQ(std::string(r.number, 2).c_str(), "06");
        ASSERT_GE(r.geometry_index, 0);
        ASSERT_LT(static_cast<size_t>(r.geometry_index), runway_geometry_table.size());
        CORE_run_command(VIEW_FORWARD_NO_PANEL);   // the whole window, centred on the camera's heading
        OGL_install_bind_recorder(&rec);
    }

    void TearDown() override
    {
        OGL_install_bind_recorder(nullptr);
        sim_operation_override.override_camera = 0;
        CORE_run_command(VIEW_FORWARD);
        GROUND_surface_reset();   // the runway found under the plane is no later test's
    }

    airport_record& airport() { return airport_table[static_cast<size_t>(ksbd)]; }
    runway_geometry_record& geometry()
    {
        return runway_geometry_table[static_cast<size_t>(airport().runways[0].geometry_index)];
    }

    // Local time at KSBD (Pacific standard time, 8 hours behind).
    static void local_hour(float hour) { sim_time.zulu_time_sec = std::fmod((hour + 8.0f) * 3600.0f, 86400.0f); }

    // The camera `back` metres out from runway 06's threshold on its extended
    // centre line, `height` metres above it, looking at the centre line `aim`
    // metres past the threshold.
    void camera_on_approach(float back, float height, float aim = 0.0f)
    {
        const runway_geometry_record& g = geometry();
        const runway_section& first = g.sections.front();
        const runway_section& last = g.sections.back();
        float c0[3], c1[3];
        for (int k = 0; k < 3; ++k) {
            c0[k] = 0.5f * (first.left[k] + first.right[k]);
            c1[k] = 0.5f * (last.left[k] + last.right[k]);
        }
        const float dx = c1[0] - c0[0], dz = c1[2] - c0[2], length = std::hypot(dx, dz);
        sim_operation_override.override_camera = 1;
        sim_graphics_view.view_x = c0[0] - back * dx / length;
        sim_graphics_view.view_y = c0[1] + height;
        sim_graphics_view.view_z = c0[2] - back * dz / length;
        sim_private_camera.psi = std::atan2(dx, -dz) * 57.29578f;
        sim_private_camera.the = -std::atan2(height, back + aim) * 57.29578f;
        sim_private_camera.phi = 0.0f;
    }

    picture draw(int passes = 8)   // the pass sweeps the nearby airports ten at a time
    {
        for (int k = 0; k < passes; ++k) {
            rec.lights.clear();
            rec.scene.taken = false;
            SCENE_draw_3d();
        }
        picture p(W * H * 4);
        GLint buffer = 0;   // the pass draws into the back buffer; the window shows the front one
        glGetIntegerv(GL_READ_BUFFER, &buffer);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        depth.resize(static_cast<size_t>(W) * H);
        glReadPixels(0, 0, W, H, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        glReadBuffer(static_cast<GLenum>(buffer));
        return p;
    }

    // The largest brightening of any pixel within 2 of (x, y), from `dark` to `lit`.
    static int brightening(const picture& lit, const picture& dark, const window_point& at)
    {
        int best = -1000;
        for (int y = static_cast<int>(at.y) - 2; y <= static_cast<int>(at.y) + 2; ++y)
            for (int x = static_cast<int>(at.x) - 2; x <= static_cast<int>(at.x) + 2; ++x) {
                if (x < 0 || y < 0 || x >= W || y >= H) continue;
                const size_t i = (static_cast<size_t>(y) * W + x) * 4;
                int d = 0;
                for (int k = 0; k < 3; ++k) d += int(lit[i + k]) - int(dark[i + k]);
                best = std::max(best, d);
            }
        return best;
    }

    static bool on_screen(const window_point& p) { return p.in_front && p.x >= 2 && p.y >= 2 && p.x < W - 2 && p.y < H - 2; }

    // The ground lies in front of a point of the scene: the last picture's
    // depth at its window position is nearer.
    bool behind_ground(const window_point& at) const
    {
        return depth[static_cast<size_t>(at.y) * W + static_cast<size_t>(at.x)] < at.depth;
    }

    int ksbd = -1;
    scene_recorder rec;
    std::vector<float> depth;   // of the last picture drawn
};

}  // namespace

TEST_F(AirportEndToEnd, RunwayLightsAndBeaconAtNight)
{
    local_hour(23.0f);
    // The beacon turns: it shows at its brightest when its phase is a quarter turn.
    int list_position = -1;
    for (int n = 0; n <= local_airport_last; ++n)
        if (local_airport_list[n] == ksbd) list_position = n;
    ASSERT_GE(list_position, 0);
    // 2 km out at 150 m, and on a short final, 300 m out at 15 m, where the
    // approach lights ahead lie on ground seen at a grazing angle.
    const struct {
        float back, height;
        const char* reference;
    } approach_views[] = {{2000.0f, 150.0f, "airport_ksbd_night.png"}, {300.0f, 15.0f, nullptr}};
    // The first view's passes sweep every nearby airport; the camera moved
    // along the centre line keeps the same airports near, so each picture
    // after it is drawn in one pass.
    int passes = 8;
    for (const auto& row : approach_views) {
        SCOPED_TRACE(row.back);
        camera_on_approach(row.back, row.height);
        sim_time.total_running_time_sec = 1.5707964f - static_cast<float>(ksbd) + 6.2831853f * 1000.0f;
        const picture lit = draw(passes);
        passes = 1;
        ASSERT_EQ(sim_graphics_scenery.percent_lights_on, 1.0f);
        const std::vector<light_seen> seen = rec.lights;
        const scene_transform scene = rec.scene;
        ASSERT_TRUE(scene.taken);
        // The runway lights stand moved toward the camera by the pass's lift.
        const sim_graphics_view_block& v = sim_graphics_view;
        const float lift = worldobj_state.lift;
        const float toward[3] = {-lift * v.view_heading_sin * v.view_pitch_cos, -lift * v.view_pitch_sin,
                                 lift * v.view_heading_cos * v.view_pitch_cos};
        if (row.reference) expect_like_reference(lit, row.reference, 2000);

        // The same view without runway 06's lights and without the beacon.
        std::vector<runway_light> kept;
        std::swap(kept, geometry().lights);
        const float beacon_lat = airport().beacon_lat, beacon_lon = airport().beacon_lon;
        airport().beacon_lat = airport().beacon_lon = 0.0f;
        const picture dark = draw(passes);
        std::swap(kept, geometry().lights);
        airport().beacon_lat = beacon_lat, airport().beacon_lon = beacon_lon;

        // A light lying on the ground may be covered by it where the ground's
        // cells are drawn pulled toward the camera (seen at a grazing angle):
        // a few of those may stay dark; every other light is lit.
        int edge = 0, approach = 0, unlit = 0, covered = 0;
        for (const runway_light& l : geometry().lights) {
            const int base = l.kind % 1000;
            const bool is_edge = base == 110 || base == 65 || base == 73, is_approach = base == 111;
            if (!is_edge && !is_approach) continue;
            if (l.kind >= 2000) continue;   // seen from the other end only
            const light_seen* s = nullptr;
            for (const light_seen& k : seen)
                if (k.x == l.x && k.y == l.y && k.z == l.z && k.size == 1.0f) s = &k;
            ASSERT_NE(s, nullptr) << l.kind << " at " << l.x << ", " << l.z;
            const window_point at = scene.to_window(l.x + toward[0], l.y + toward[1], l.z + toward[2]);
            if (!on_screen(at)) continue;
            (is_edge ? edge : approach)++;
            if (brightening(lit, dark, at) >= 60) continue;
            if (behind_ground(at)) {
                ++covered;
                continue;
            }
            ++unlit;
            ADD_FAILURE() << "light " << l.kind << " at window " << at.x << ", " << at.y << " is dark";
        }
        EXPECT_GT(edge, 50);
        EXPECT_GT(approach, 20);
        EXPECT_EQ(unlit, 0);
        EXPECT_LE(covered, (edge + approach) / 20);
        int beacons = 0;
        for (const light_seen& s : seen) {
            if (s.size != 4.0f) continue;
            const window_point at = scene.to_window(s.x, s.y, s.z);
            if (on_screen(at)) {
                ++beacons;
                EXPECT_GE(brightening(lit, dark, at), 60) << "the beacon at " << at.x << ", " << at.y;
            }
        }
        if (row.reference) EXPECT_EQ(beacons, 1);
    }
}

TEST_F(AirportEndToEnd, NumberOnTheThresholdAtNoon)
{
    local_hour(12.0f);
    camera_on_approach(30.0f, 50.0f, 85.0f);   // over the approach end, looking at the number
    // The number rows of the 06 end (the first half of the strip).
    runway_geometry_record& g = geometry();
    const size_t mid = (g.sections.size() - 1) / 2;
    std::vector<size_t> rows;
    std::vector<const float*> corners;
    for (size_t i = 0; i <= mid; ++i)
        if (g.sections[i].texture_slot >= 70 && g.sections[i].texture_slot <= 141) rows.push_back(i);
    ASSERT_FALSE(rows.empty());
    const int slot = g.sections[rows[0]].texture_slot;
    EXPECT_TRUE(slot == 80 || slot == 81) << slot;   // "RWAY_6" of asphalt or concrete
    // The number's picture spans its rows up to the next section.
    const size_t end = std::min(rows.back() + 1, g.sections.size() - 1);
    corners = {g.sections[rows[0]].left, g.sections[rows[0]].right, g.sections[end].left, g.sections[end].right};
    const picture number = draw();
    ASSERT_TRUE(rec.scene.taken);
    float x0 = W, x1 = 0, y0 = H, y1 = 0;
    for (const float* c : corners) {
        const window_point p = rec.scene.to_window(c[0], c[1], c[2]);
        ASSERT_TRUE(on_screen(p)) << p.x << ", " << p.y;
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    EXPECT_GT((x1 - x0) * (y1 - y0), 2000.0f);   // a good part of the picture

    // The same rows in the blank marking picture (which steps the skid marks as
    // a number does): the number is what differs, and only there.
    std::vector<int> slots;
    for (size_t i : rows) slots.push_back(std::exchange(g.sections[i].texture_slot, 68 + (slot & 1)));
    const picture plain = draw();
    for (size_t k = 0; k < rows.size(); ++k) g.sections[rows[k]].texture_slot = slots[k];
    int inside = 0, outside = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const size_t i = (static_cast<size_t>(y) * W + x) * 4;
            int d = 0;
            for (int k = 0; k < 3; ++k) d += std::abs(int(number[i + k]) - int(plain[i + k]));
            if (d < 60) continue;
            const bool in = x >= x0 - 2 && x <= x1 + 2 && y >= y0 - 2 && y <= y1 + 2;
            (in ? inside : outside)++;
        }
    EXPECT_GT(inside, 300);
    EXPECT_EQ(outside, 0);
    if (const char* path = std::getenv("ORVELL_SAVE_NOON_PICTURE")) write_frame_png(number, path);   // to look at
}

// Every runway picture the data folder holds loads, and start-up filled
// every runway slot.
TEST_F(AirportEndToEnd, EveryRunwayPictureLoads)
{
    for (int slot = 50; slot <= 174; ++slot) EXPECT_GT(texture_memory[slot], 0) << slot;
    namespace fs = std::filesystem;
    const fs::path bitmaps = folder->path() / "Resources" / "bitmaps";
    int files = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(bitmaps / "RUNWAYS")) {
        if (!e.is_regular_file()) continue;
        std::string name = fs::relative(e.path(), bitmaps).generic_string();
        std::replace(name.begin(), name.end(), '/', ':');
        if (name == "RUNWAYS:TAXILINE.BMP") continue;   // the taxi lines' picture, slot 261
        int w = 0, h = 0;
        EXPECT_EQ(OGL_load_tex_file(LOAD_TEXTURE, 174, TEX_RGB, name.c_str(), w, h), 1) << name;
        EXPECT_GT(w * h, 0) << name;
        ++files;
    }
    EXPECT_EQ(files, 125);
    // A software rasterizer draws the runways without anisotropic filtering:
    // with it a grazing view from the cockpit took seconds a frame.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer && std::strstr(renderer, "llvmpipe")) {
        glBindTexture(GL_TEXTURE_2D, 80);
        GLfloat iso = 0.0f;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &iso);
        EXPECT_EQ(iso, 1.0f);
        OGL_reset_bound_textures();
    }
    int w = 0, h = 0;
    OGL_load_tex_file(LOAD_TEXTURE, 174, TEX_BRIGHT, "RUNWAYS:SKIDS.BMP", w, h);   // the slot's own picture back
}
