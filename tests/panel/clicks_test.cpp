// Click and drag tests: inclusive edges, the click and held triggers, the
// dead menu, the knob's rate after half a second, the dual knob and levers.
#include "tests/panel/panel_fixture.h"

namespace {

void at(float x, float y, int down, int held, int held_long = 0)
{
    mouse.mouse_x = x, mouse.mouse_y = y;
    mouse.mouse_down = down, mouse.mouse_held = held, mouse.mouse_panel_drag = held_long;
}

}  // namespace

TEST_F(PanelTest, SpotsHitOnTheirEdgesOnceOrWhileHeldAndNeverUnderAMenu)
{
    screen.screen_area_left = 100.0f, screen.screen_area_bottom = 200.0f;
    panel_ins_scale = 2.0f;
    at(100.0f + 2.0f * 13.0f, 200.0f + 2.0f * 7.0f, 1, 1);   // on the corner of (3, -3) +- 10
    EXPECT_EQ(PANEL_click_spot(3, -3, 10, 0), 1);
    at(100.0f + 26.1f, 214.0f, 1, 1);
    EXPECT_EQ(PANEL_click_spot(3, -3, 10, 0), 0);
    at(110.0f, 200.0f, 0, 1);                                  // held, not pressed this frame
    EXPECT_EQ(PANEL_click_spot(3, -3, 10, 0), 0);
    EXPECT_EQ(PANEL_click_spot(3, -3, 10, 1), 1);
    EXPECT_EQ(PANEL_click_rect(-5, -5, 5, 5, 1), 1);

    // An open menu: no test fires, but the outlines still show.
    screen.open_menu = 3;
    sim_graphics_misc.show_panel_click_spots = 1;
    at(110.0f, 200.0f, 1, 1);
    int fired = 0;
    const auto prims = capture_feedback([&] { fired = PANEL_click_spot(3, -3, 10, 1) + PANEL_dual_knob(0, 0); });
    EXPECT_EQ(fired, 0);
    int lines = 0;
    for (const fb_prim& p : prims) lines += p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN;
    EXPECT_EQ(lines, 3 * 4);   // the spot and the knob's two squares
}

TEST_F(PanelTest, DragSpotStepsOnThePressThenRunsAtItsRate)
{
    panel_ins_scale = 1.0f;
    sim_operation_misc.frame_rate_period = 0.02f;
    at(6, 4, 1, 1);                                   // upper right of the diagonal
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 1), 10.0f);
    at(6, 4, 0, 1);                                   // held, less than half a second
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 1), 0.0f);
    at(6, 4, 0, 1, 1);                                // held longer: the rate
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 1), 5.0f);
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 0), 0.0f);   // without use-rate, nothing
    at(-6, -4, 1, 1);
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 1), -10.0f);
    at(5, -5, 1, 1);                                  // on the diagonal
    EXPECT_FLOAT_EQ(PANEL_drag_spot(0, 0, 10, 10.0f, 250.0f, 1), 0.0f);

    // The dual knob: the inner square steps by 2, the ring by 1, on clicks only.
    at(3, 2, 1, 1);
    EXPECT_EQ(PANEL_dual_knob(0, 0), 2);
    at(-12, -1, 1, 1);
    EXPECT_EQ(PANEL_dual_knob(0, 0), -1);
    at(5, 0.5f, 1, 1);                                // the inner square's edge: still the inner knob
    EXPECT_EQ(PANEL_dual_knob(0, 0), 2);
    at(5.5f, 0.5f, 1, 1);                             // just outside it: the ring
    EXPECT_EQ(PANEL_dual_knob(0, 0), 1);
    at(-12, -1, 0, 1, 1);
    EXPECT_EQ(PANEL_dual_knob(0, 0), 0);
    // Off the origin at size 2 the diagonal runs through the scaled centre (20, 0).
    panel_ins_scale = 2.0f;
    at(21, -2, 1, 1);
    EXPECT_FLOAT_EQ(PANEL_drag_spot(10, 0, 10, 10.0f, 250.0f, 1), -10.0f);
}

TEST_F(PanelTest, LeverHandleFollowsTheValueAndTheDragSetsIt)
{
    panel_ins_type = 47;
    panel_ins_scale = 1.0f;
    screen.screen_area_left = screen.screen_area_bottom = 300.0f;
    float v = 0.25f;
    at(300, 330, 0, 1);
    // The handle stands a quarter of the way from end A (y 40) to end B (y -40).
    int set = 0;
    const auto handle = capture_rects([&] { set = PANEL_lever_drag(0.0f, 1.0f, &v, 40.0f, -40.0f, 10.0f, 0); });
    ASSERT_EQ(handle.size(), 1u);
    EXPECT_NEAR((handle[0].y1 + handle[0].y2) * 0.5f, 320.0f, 1e-3f);
    EXPECT_EQ(set, 1);
    EXPECT_FLOAT_EQ(v, 0.125f);                       // grabbed at y 30
    at(300, 500, 0, 1);                                // far outside: only with the keep flag
    EXPECT_EQ(PANEL_lever_drag(0.0f, 1.0f, &v, 40.0f, -40.0f, 10.0f, 0), 0);
    EXPECT_EQ(PANEL_lever_drag(0.0f, 1.0f, &v, 40.0f, -40.0f, 10.0f, 1), 1);
    EXPECT_FLOAT_EQ(v, 0.0f);                          // clamped to the span
    // The grab box reaches 10 units past each end and w to each side.
    const struct { float x, y; int set; } box[] = {
        {300, 349, 1}, {300, 351, 0}, {300, 251, 1}, {300, 249, 0}, {310, 300, 1}, {311, 300, 0},
    };
    for (const auto& b : box) {
        at(b.x, b.y, 0, 1);
        EXPECT_EQ(PANEL_lever_drag(0.0f, 1.0f, &v, 40.0f, -40.0f, 10.0f, 0), b.set) << b.x << ", " << b.y;
    }
    // Equal ends: the handle midway, the value their common value.
    at(300, 300, 0, 1);
    EXPECT_EQ(PANEL_lever_drag(0.7f, 0.7f, &v, 40.0f, -40.0f, 10.0f, 0), 1);
    EXPECT_FLOAT_EQ(v, 0.7f);
}
