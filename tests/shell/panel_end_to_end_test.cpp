// End to end: the program started on the generated default data folder, as
// ./run.sh starts it, flies the trainer in the forward view: the panel picture
// with its instrument faces stands below the panel's edge and the 3-D view
// above it, and the tachometer, turn and clock needles move to the angles
// the flight values give them (pixels read back along the needles). The
// frame is compared with a reference picture kept in tests/fixtures, checked
// by eye when it was made; ORVELL_UPDATE_REFERENCE=1 writes a new one.
#include <GL/gl.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/views.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_tex.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/shell/startup_program.h"
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
    std::vector<unsigned char> px(size_t(W) * H * 4);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glReadBuffer(GL_BACK);
    return px;
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
    if (!(pln[0].acf_m_max > 0.0f) || !std::strstr(pln[0].acf_file_name, "TRAINER"))
        GTEST_SKIP() << "needs the aircraft load and set-up (ACF_load_and_setup) to load the trainer";
    // The aircraft-model preparation loaded the panel-font sheets.
    ASSERT_GT(texture_memory[TEX_SLOT_PANEL_FONT], 0);
    ASSERT_GT(texture_memory[TEX_SLOT_PANEL_FONT2], 0);

    const int tach = slot_of(294), turn = slot_of(101), clock = slot_of(340), asi = slot_of(74);
    ASSERT_GE(tach, 0);
    ASSERT_GE(turn, 0);
    ASSERT_GE(clock, 0);
    ASSERT_GE(asi, 0);
    const acf_struct& a = pln[0];
    auto x_of = [&](int s) { return a.acf_ins_x[s]; };
    auto y_of = [&](int s) { return a.acf_ins_y[s]; };

    MACIBM_pump_messages();
    FRAME_reset();
    sim_graphics_view.view_type = VIEW_FORWARD;
    sim_time.zulu_time_sec = 20.0f * 3600.0f;   // about noon at the start airport: no cockpit light tints the panel
    APPLICATION_set_mode(MODE_FLYING, "from test");
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
