// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, flies the trainer in the forward view: the panel picture
// with its instrument faces stands below the panel's edge and the 3-D view
// above it, and the tachometer, turn and clock needles move to the angles
// the flight values give them (pixels read back along the needles). The
// frame is compared with a reference picture kept in tests/fixtures, checked
// by eye when it was made; ORVELL_UPDATE_REFERENCE=1 writes a new one.
// Then the trainer is worked through the window's mouse messages: switches,
// the throttle, the airspeed, altitude and vertical-speed needles and the
// directional gyro's card.
#include <GL/gl.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/flight_start.h"
#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/simvars/time.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/annunciators.h"
#include "flightmodel/systems/gyros.h"
#include "graphics/ogl_tex.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_kit.h"
#include "platform/plat_events.h"
#include "core/screen.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/support/gl_view.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

constexpr int W = 1024, H = 768;
constexpr float RPM = 9.549297f;

class PanelEndToEnd : public started_program {
protected:
    static void SetUpTestSuite()
    {
        start_selection = start_selection_record{};
        started_program::SetUpTestSuite();
    }
};

// The finished frame, rows from the bottom.
std::vector<unsigned char> frame_pixels()
{
    return window_pixels(GL_FRONT);
}

const unsigned char* at(const std::vector<unsigned char>& px, int x, int y) { return &px[(size_t(y) * W + x) * 4]; }

bool bright(const unsigned char* p) { return p[0] > 150 && p[1] > 150 && p[2] > 150; }

// Points along a dial angle (0 up, clockwise) from a pivot, r1..r2, where a
// needle shows: a bright pixel within one of the point.
int bright_along(const std::vector<unsigned char>& px, float cx, float cy, float angle_deg, float r1, float r2)
{
    int n = 0;
    const float a = angle_deg * 3.14159265f / 180.0f;
    for (float r = r1; r <= r2; r += 1.0f) {
        const int x = static_cast<int>(std::lround(cx + r * std::sin(a)));
        const int y = static_cast<int>(std::lround(cy + r * std::cos(a)));
        bool lit = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) lit = lit || bright(at(px, x + dx, y + dy));
        n += lit;
    }
    return n;
}

int slot_of(int type)
{
    for (int s = 0; s < ACF_INS_SLOTS; ++s)
        if (pln[0].acf_ins_type[s] == type) return s;
    return -1;
}

void frame() { test_clock_seconds += 0.04, MACIBM_do_frame(); }

// Where the instrument of a panel slot stands.
float x_of(int slot) { return pln[0].acf_ins_x[slot]; }
float y_of(int slot) { return pln[0].acf_ins_y[slot]; }

// Flight mode in the forward view with the panel, at about noon at the start
// airport: no cockpit light tints the panel.
void fly_at_noon()
{
    MACIBM_pump_messages();
    FRAME_reset();
    sim_graphics_view.view_type = VIEW_FORWARD;
    sim_time.zulu_time_sec = 20.0f * 3600.0f;
    APPLICATION_set_mode(MODE_FLYING, "from test");
}

bool write_png(const std::string& path, const std::vector<unsigned char>& bottom_up)
{
    std::vector<unsigned char> rows(bottom_up.size());
    for (int y = 0; y < H; ++y) std::memcpy(&rows[size_t(y) * W * 4], &bottom_up[size_t(H - 1 - y) * W * 4], W * 4);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = W, image.height = H, image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rows.data(), 0, nullptr) != 0;
}

bool read_png(const std::string& path, std::vector<unsigned char>& bottom_up)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width != W || image.height != H) return png_image_free(&image), false;
    std::vector<unsigned char> rows(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rows.data(), 0, nullptr)) return false;
    bottom_up.resize(rows.size());
    for (int y = 0; y < H; ++y) std::memcpy(&bottom_up[size_t(y) * W * 4], &rows[size_t(H - 1 - y) * W * 4], W * 4);
    return true;
}

}  // namespace

TEST_F(PanelEndToEnd, TrainerPanelStandsUnderTheViewAndItsNeedlesFollowTheFlight)
{
    ASSERT_TRUE(pln[0].acf_m_max > 0.0f && std::strstr(pln[0].acf_file_name, "TRAINER"))
        << "the program did not load the trainer";
    // The aircraft-model preparation loaded the panel-font sheets.
    ASSERT_GT(texture_memory[TEX_SLOT_PANEL_FONT], 0);
    ASSERT_GT(texture_memory[TEX_SLOT_PANEL_FONT2], 0);

    const int tach = slot_of(294), turn = slot_of(101), clock = slot_of(340), asi = slot_of(74);
    ASSERT_GE(tach, 0);
    ASSERT_GE(turn, 0);
    ASSERT_GE(clock, 0);
    ASSERT_GE(asi, 0);
    const acf_struct& a = pln[0];

    // The flight started again on the runway, its gyros at rest as a fresh
    // program has them: the plane and its instruments as the start-up left
    // them, whatever another test flew or turned.
    FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    GYROS_reset();
    fly_at_noon();
    frame();
    frame();

    // Each frame draws the values left by the cycle before it: set them, draw, read.
    const float redline_rpm = a.acf_RSC_redline_prp * RPM * 1.2f;
    auto draw = [&](float rpm, float turn_rate, float time_sec) {
        flt[0].POINT_tacrad[0] = rpm / RPM;
        flt[0].turnrate_roll = turn_rate;
        sim_time.local_time_sec = time_sec;
        frame();
        return frame_pixels();
    };
    const auto first = draw(redline_rpm * 0.25f, -20.0f, 10.0f * 3600.0f);   // tach -67.5, turn 70, hour 300
    const auto second = draw(redline_rpm * 0.75f, 20.0f, 14.0f * 3600.0f);   // tach 67.5, turn 110, hour 60

    // Below the panel's edge the composed panel, its faces included, in the
    // daylight of the cockpit; above it the view.
    const float light[3] = {sim_graphics_misc.cockpit_light_level_r * gload_dim_factor,
                            sim_graphics_misc.cockpit_light_level_g * gload_dim_factor,
                            sim_graphics_misc.cockpit_light_level_b * gload_dim_factor};
    const unsigned char* plate = at(second, 950, 200);
    const unsigned char* picture = view_image_buffers[0] + (size_t(200) * 1024 + 950) * 4;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(plate[c], picture[c] * light[c], 3) << c;
    const unsigned char* bezel = at(second, static_cast<int>(x_of(asi)) + 68, static_cast<int>(y_of(asi)));
    const unsigned char* face = view_image_buffers[0] + (size_t(y_of(asi)) * 1024 + size_t(x_of(asi) + 68)) * 4;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(bezel[c], face[c] * light[c], 3) << c;
    const unsigned char* sky = at(second, 512, 700);
    EXPECT_FALSE(sky[0] == 255 && sky[1] == 0 && sky[2] == 255);
    const unsigned char* key_texel = view_image_buffers[0] + (size_t(700) * 1024 + 512) * 4;
    EXPECT_EQ(key_texel[3], 0);   // the windscreen is see-through in the picture itself

    // The needles: each at its angle in its frame and gone from the other.
    struct needle_check {
        int slot;
        float first_deg, second_deg, r1, r2;
    };
    const needle_check needles[] = {
        {tach, -67.5f, 67.5f, 6.0f, 13.0f},
        {turn, 70.0f, 110.0f, 16.0f, 30.0f},
        {clock, 300.0f, 60.0f, 6.0f, 13.0f},
    };
    for (const needle_check& n : needles) {
        const float cx = x_of(n.slot), cy = y_of(n.slot);
        EXPECT_GE(bright_along(first, cx, cy, n.first_deg, n.r1, n.r2), 5) << n.slot;
        EXPECT_GE(bright_along(second, cx, cy, n.second_deg, n.r1, n.r2), 5) << n.slot;
        EXPECT_LE(bright_along(first, cx, cy, n.second_deg, n.r1, n.r2), 1) << n.slot;
        EXPECT_LE(bright_along(second, cx, cy, n.first_deg, n.r1, n.r2), 1) << n.slot;
    }

    // The frame against the reference picture, a few levels of tolerance, on
    // the panel below the glareshield (the view above it is the scene's).
    const std::string reference = fixture_path("panel_trainer_reference.png");
    if (std::getenv("ORVELL_UPDATE_REFERENCE")) {
        ASSERT_TRUE(write_png(reference, second));
    }
    std::vector<unsigned char> expected;
    ASSERT_TRUE(read_png(reference, expected)) << reference;
    constexpr size_t PANEL_ROWS = 470;
    size_t differing = 0;
    for (size_t i = 0; i < PANEL_ROWS * W * 4; ++i) differing += std::abs(int(expected[i]) - int(second[i])) > 8;
    EXPECT_LT(differing, PANEL_ROWS * W * 4 / 200) << "texel components differing from the reference";
}

namespace {

// The window's pointer position of ui point (x, y).
intptr_t pointer_at(float x, float y)
{
    const float px = (x + screen.screen_area_left + screen.ui_side_margin) * screen.ui_scale;
    const float py = static_cast<float>(screen.window_height) - (y + screen.screen_area_bottom) * screen.ui_scale;
    return static_cast<intptr_t>(static_cast<int>(px) & 0xFFFF) | (static_cast<intptr_t>(static_cast<int>(py) & 0xFFFF) << 16);
}

// A mouse button pressed (and, with `release`, let go) at ui point (x, y), as the window sends it.
void post_mouse(float x, float y, bool release)
{
    PLAT_post_message(WM_MOUSEMOVE, 0, pointer_at(x, y));
    PLAT_post_message(WM_LBUTTONDOWN, 0, pointer_at(x, y));
    if (release) PLAT_post_message(WM_LBUTTONUP, 0, pointer_at(x, y));
}

// Pixels of the box around (cx, cy) that differ between two frames.
int changed_around(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, float cx, float cy, int half)
{
    int n = 0;
    for (int y = int(cy) - half; y <= int(cy) + half; ++y)
        for (int x = int(cx) - half; x <= int(cx) + half; ++x)
            for (int c = 0; c < 3; ++c)
                if (std::abs(int(at(a, x, y)[c]) - int(at(b, x, y)[c])) > 24) {
                    ++n;
                    break;
                }
    return n;
}

}  // namespace

TEST_F(PanelEndToEnd, TrainerSwitchesLeversAndFlightInstrumentsWorkByMouse)
{
    ASSERT_TRUE(pln[0].acf_m_max > 0.0f && std::strstr(pln[0].acf_file_name, "TRAINER"))
        << "the program did not load the trainer";
    const int battery = slot_of(29), avionics = slot_of(30), asi = slot_of(74), alt = slot_of(94), vsi = slot_of(122),
              throttle = slot_of(47);
    for (int s : {battery, avionics, asi, alt, vsi, throttle}) ASSERT_GE(s, 0);
    const acf_struct& a = pln[0];

    fly_at_noon();
    sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 0;
    frame();
    const auto off = frame_pixels();

    // Clicks on the battery and avionics switches turn them on, and their levers show up.
    post_mouse(x_of(battery), y_of(battery), true);
    frame();
    post_mouse(x_of(avionics), y_of(avionics), true);
    frame();
    frame();
    const auto on = frame_pixels();
    EXPECT_EQ(sim_cockpit_electrical.battery_on, 1);
    EXPECT_EQ(sim_cockpit_electrical.avionics_on, 1);
    EXPECT_GE(changed_around(off, on, x_of(battery), y_of(battery), 12), 20);
    EXPECT_GE(changed_around(off, on, x_of(avionics), y_of(avionics), 12), 20);

    // Flight values set between frames turn the needles to their dials' angles.
    auto draw = [&](float kt, float ft, float fpm) {
        flt[0].indicated_airspeed = kt;
        flt[0].h_ind = ft / 3.2808399f;
        flt[0].vh_ind = fpm / 196.850394f;
        frame();
        return frame_pixels();
    };
    const auto first = draw(60.0f, 2500.0f, 1000.0f);
    const auto second = draw(120.0f, 1250.0f, -1000.0f);
    // Along each needle's angle in one frame the two frames differ; along an
    // angle no needle takes they agree (the printed marks stay).
    panel_ins_type = 74;
    struct needle_check {
        int slot;
        float moved_a, moved_b, still, r1, r2;
    };
    const needle_check needles[] = {
        {asi, a_of_v(60.0f), a_of_v(120.0f), (a_of_v(60.0f) + a_of_v(120.0f)) * 0.5f + 180.0f, 12.0f, 22.0f},
        {alt, 180.0f, 45.0f, 300.0f, 12.0f, 22.0f},   // the hundreds needle turns once per 1,000 ft
        {vsi, VVI_needle_angle(122, 1000.0f) - 90.0f, VVI_needle_angle(122, -1000.0f) - 90.0f, 90.0f, 12.0f, 22.0f},
    };
    auto changed_along = [&](float cx, float cy, float angle_deg, float r1, float r2) {
        int n = 0;
        const float r_ad = angle_deg * 3.14159265f / 180.0f;
        for (float r = r1; r <= r2; r += 1.0f)
            n += changed_around(first, second, cx + r * std::sin(r_ad), cy + r * std::cos(r_ad), 1) > 0;
        return n;
    };
    for (const needle_check& n : needles) {
        const float cx = x_of(n.slot), cy = y_of(n.slot);
        EXPECT_GE(changed_along(cx, cy, n.moved_a, n.r1, n.r2), 5) << n.slot;
        EXPECT_GE(changed_along(cx, cy, n.moved_b, n.r1, n.r2), 5) << n.slot;
        EXPECT_LE(changed_along(cx, cy, n.still, n.r1, n.r2), 1) << n.slot;
    }

    // The directional gyro's card turns with the vacuum gyro: the ring of its
    // marks at gyro heading 90 is the ring at 0 turned a quarter turn.
    const int dg = slot_of(109);
    ASSERT_GE(dg, 0);
    auto ring = [&](float heading) {
        gyro_heading[GYRO_VACUUM] = heading;
        frame();
        const auto px = frame_pixels();
        std::vector<int> r(360);
        for (int k = 0; k < 360; ++k) {
            const float ang = float(k) * 3.14159265f / 180.0f;
            const unsigned char* p = at(px, int(std::lround(x_of(dg) + 42.0f * std::sin(ang))),
                                        int(std::lround(y_of(dg) + 42.0f * std::cos(ang))));
            r[k] = p[0] + p[1] + p[2];
        }
        return r;
    };
    const auto north = ring(0.0f), east = ring(90.0f);
    int best = -1;
    long best_gap = -1;
    for (int shift = 0; shift < 360; ++shift) {
        long gap = 0;
        for (int k = 0; k < 360; ++k) gap += std::abs(east[k] - north[(k + shift) % 360]);
        if (best_gap < 0 || gap < best_gap) best_gap = gap, best = shift;
    }
    EXPECT_NEAR(best, 90, 2);

    // Dragging the throttle to the top of its travel opens it; to the bottom closes it.
    const float travel = a.acf_ins_dely[throttle];
    post_mouse(x_of(throttle), y_of(throttle) + 0.5f * travel - 5.0f, false);
    frame();
    EXPECT_NEAR(flt[0].ENGN_thro[0], a.acf_throtmax_FWD, 0.01f);
    const intptr_t bottom = pointer_at(x_of(throttle), y_of(throttle) - 0.5f * travel + 5.0f);
    PLAT_post_message(WM_MOUSEMOVE, 0, bottom);   // dragged down with the button held
    frame();
    EXPECT_NEAR(flt[0].ENGN_thro[0], 0.0f, 0.01f);
    PLAT_post_message(WM_LBUTTONUP, 0, bottom);
    frame();
}
