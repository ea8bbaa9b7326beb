// The data graph screen: the range and scale of the history, where values
// land on the plot, no line across the ring's wrap, and the cursor column.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/input.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "graphics/ogl_state.h"
#include "graphics/widget_record.h"
#include "links/dataout.h"
#include "screens/data_graph_screen.h"
#include "screens/setup.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"

namespace {

class DataGraph : public ::testing::Test {
protected:
    void SetUp() override
    {
        MACHINE_NEEDS(ui_screen_ready(), "OpenGL context");
        sim_network_dataout.data_to_graph[23] = 1;
    }
    // Column c sampled at time t with value v in row 0.
    static void sample(int c, float t, float v)
    {
        graph_history.time[c] = t;
        graph_history.value[0][c] = v;
    }
    // The horizontal lines of one frame, the pointer below the plot.
    static std::vector<fb_prim> flat_lines()
    {
        mouse.mouse_y = 0.0f;
        std::vector<fb_prim> out;
        for (const fb_prim& l : capture_feedback([] { SETUP_data_graph(); }))
            if ((l.token == GL_LINE_TOKEN || l.token == GL_LINE_RESET_TOKEN) && l.v[0].y == l.v[1].y) out.push_back(l);
        return out;
    }
};

TEST_F(DataGraph, AnEmptyHistoryHoldsTheWindowAtItsUnsetRange)
{
    const graph_range r = GRAPH_scan();
    EXPECT_EQ(r.tmin, 9.9e9f);
    EXPECT_EQ(r.tmax, 0.0f);
    SETUP_data_graph();
    EXPECT_EQ(data_graph.graph_start, 9.9e9f);
    EXPECT_EQ(GRAPH_cursor_column(data_graph.graph_start), -1);
}

TEST_F(DataGraph, ValuesLandByTheirGroupsScaleAndNoLineCrossesTheWrap)
{
    // The ring: columns 1795..1799 then 0..2 hold 9.5 s .. 10.2 s; column 3, the oldest, 9.4 s.
    for (int k = 0; k < 8; ++k) sample((1795 + k) % 1800, 9.5f + 0.1f * k, k % 2 == 0 ? 0.0f : 250.0f);
    sample(3, 9.4f, -250.0f);
    graph_history.column = 2;
    const graph_range r = GRAPH_scan();
    EXPECT_FLOAT_EQ(r.tmin, 9.4f);
    EXPECT_FLOAT_EQ(r.tmax, 10.2f);
    EXPECT_EQ(r.scale[0], 250.0f);
    EXPECT_EQ(r.scale[1], 1.0f);

    mouse.mouse_y = 0.0f;   // below the plot: no cursor move, no scrolling
    std::vector<fb_prim> lines;
    for (const fb_prim& p : capture_feedback([] { SETUP_data_graph(); }))
        if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) lines.push_back(p);
    const graph_plot p = GRAPH_plot(1024.0f, 768.0f);
    int curve = 0;
    for (const fb_prim& l : lines) {
        const float y0 = l.v[0].y - 0.5f, y1 = l.v[1].y - 0.5f;   // lines run through pixel centres
        if (y0 == y1) continue;   // the three plot lines
        if (std::fabs(l.v[0].x - l.v[1].x) < 0.01f) continue;   // the cursor
        ++curve;
        // 250 touches the top less 2, 0 lies on the middle line.
        EXPECT_EQ(std::max(y0, y1), p.top - 2.0f);
        EXPECT_EQ(std::min(y0, y1), p.middle);
    }
    EXPECT_EQ(curve, 7);   // eight samples in time order; none from the newest back to the oldest
    EXPECT_EQ(GRAPH_cursor_column(9.95f), 1799);

    // An infinite sample widens the time range but leaves its group's scale.
    graph_history.time[100] = 10.5f;
    graph_history.value[8][100] = INFINITY;
    const graph_range r2 = GRAPH_scan();
    EXPECT_EQ(r2.scale[1], 1.0f);
    EXPECT_FLOAT_EQ(r2.tmax, 10.5f);
}

// Each of a group's eight values has its own curve colour (rows 60, 66, 50,
// 49, 79, 51, 55, 72), and the zoom magnifies: 0.25 of a scale of 1 at zoom
// 2 lies halfway between the middle line and the top.
TEST_F(DataGraph, EachValueHasItsColourAndTheZoomMagnifies)
{
    const int rows[8] = {60, 66, 50, 49, 79, 51, 55, 72};
    float kept[8][3];
    for (int k = 0; k < 8; ++k) {
        std::copy(colour_table[rows[k]], colour_table[rows[k]] + 3, kept[k]);
        OGL_set_color(rows[k], 0.1f * float(k + 1), 0.0f, 0.0f);
        graph_history.time[10] = 1.0f, graph_history.time[11] = 1.1f;
        graph_history.value[k][10] = graph_history.value[k][11] = 0.25f;
    }
    data_graph.graph_zoom = 2.0f;
    const graph_plot p = GRAPH_plot(1024.0f, 768.0f);
    const float hh = ((p.top - 2.0f) - (p.bottom + 2.0f)) / 2.0f;
    std::vector<float> reds;   // in drawing order, rows 0 to 7
    for (const fb_prim& l : flat_lines())
        if (std::fabs(l.v[0].y - 0.5f - (1.5f * hh + p.bottom + 2.0f)) < 0.01f) reds.push_back(l.v[0].r);
    ASSERT_EQ(reds.size(), 8u);
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(reds[k], 0.1f * float(k + 1), 0.01f) << k;
    for (int k = 0; k < 8; ++k) OGL_set_color(rows[k], kept[k][0], kept[k][1], kept[k][2]);
    data_graph.graph_zoom = 1.0f;
}

// A hidden curve is not drawn, yet its values still set its group's scale:
// row 0 at 250 hidden, row 1 at 125 shown, so row 1 lies halfway between the
// middle line and the top (125 / 250 x hh above the middle), alone.
TEST_F(DataGraph, AHiddenCurveIsNotDrawnButStillScalesItsGroup)
{
    for (int c : {10, 11}) {
        graph_history.time[c] = c == 10 ? 1.0f : 1.1f;
        graph_history.value[0][c] = 250.0f;
        graph_history.value[1][c] = 125.0f;
    }
    data_graph.graph_curve_on[0] = 0;
    const graph_plot p = GRAPH_plot(1024.0f, 768.0f);
    const float hh = ((p.top - 2.0f) - (p.bottom + 2.0f)) / 2.0f;
    std::vector<float> ys;   // the curves, shorter than the plot's own lines
    for (const fb_prim& l : flat_lines())
        if (std::fabs(l.v[1].x - l.v[0].x) < 0.5f * (p.right - p.left)) ys.push_back(l.v[0].y - 0.5f);
    ASSERT_EQ(ys.size(), 1u);
    EXPECT_NEAR(ys[0], 1.5f * hh + p.bottom + 2.0f, 0.01f);
}

std::vector<std::pair<float, float>> check_boxes;
void record_check_box(const widget_box& b)
{
    if (b.kind == WIDGET_BOX_FIELD && b.x2 - b.x1 == 14.0f && b.y2 - b.y1 == 14.0f)
        check_boxes.emplace_back((b.x1 + b.x2) / 2.0f, b.y1 + 3.0f);
}

// The legend columns of the first two selected groups stand at x 56 and 231
// (175 apart); each value at the cursor has its box left of the column (x -
// 20) for even values and right of it (x + 135) for odd ones, at y 92, 82, ...
TEST_F(DataGraph, LegendColumnsAndTheirBoxesStandByGroupAndValue)
{
    sim_network_dataout.data_to_graph[40] = 1;
    for (int row : {0, 1, 8, 9})
        for (int c : {10, 11}) {
            graph_history.time[c] = c == 10 ? 1.0f : 1.1f;
            graph_history.value[row][c] = 5.0f;
        }
    mouse.mouse_y = 0.0f;
    check_boxes.clear();
    WIDGET_set_recorder(record_check_box);
    SETUP_data_graph();
    WIDGET_set_recorder(nullptr);
    sim_network_dataout.data_to_graph[40] = 0;
    std::sort(check_boxes.begin(), check_boxes.end());
    EXPECT_EQ(check_boxes, (std::vector<std::pair<float, float>>{{36.0f, 92.0f}, {191.0f, 82.0f}, {211.0f, 92.0f},
                                                                 {366.0f, 82.0f}}));
}

TEST_F(DataGraph, HoldingThePointerLeftOfThePlotScrollsBack)
{
    for (int c = 0; c < 100; ++c) sample(c, static_cast<float>(c), 1.0f);
    data_graph.graph_start = 50.0f;
    sim_operation_misc.frame_rate_period = 0.1f;
    mouse.mouse_x = 5.0f;
    mouse.mouse_y = 400.0f;
    SETUP_data_graph();
    EXPECT_FLOAT_EQ(data_graph.graph_start, 49.5f);
    EXPECT_EQ(data_graph.graph_cursor, 0.0f);
    data_graph.graph_start = 0.2f;
    SETUP_data_graph();
    EXPECT_EQ(data_graph.graph_start, 0.0f);   // not before the oldest sample
    // Right of the plot (beyond x 1004) it scrolls on at the same rate, up to
    // the newest sample less the 5-second window.
    mouse.mouse_x = 1010.0f;
    data_graph.graph_start = 50.0f;
    SETUP_data_graph();
    EXPECT_FLOAT_EQ(data_graph.graph_start, 50.5f);
    data_graph.graph_start = 93.8f;
    SETUP_data_graph();
    EXPECT_EQ(data_graph.graph_start, 94.0f);
}

// The plot's lines run across it at its bottom (152), middle (438) and top
// (724) at full strength; the cursor line stands at half.
TEST_F(DataGraph, PlotLinesAndTheHalfStrengthCursor)
{
    std::vector<float> ys;
    std::vector<float> cursor_alpha;
    mouse.mouse_x = 300.0f, mouse.mouse_y = 400.0f;
    for (const fb_prim& l : capture_feedback([] { SETUP_data_graph(); })) {
        if (l.token != GL_LINE_TOKEN && l.token != GL_LINE_RESET_TOKEN) continue;
        if (l.v[0].y == l.v[1].y && std::fabs(l.v[1].x - l.v[0].x) > 900.0f) {
            ys.push_back(l.v[0].y - 0.5f);
            EXPECT_EQ(l.v[0].a, 1.0f);
        }
        if (l.v[0].x == l.v[1].x) cursor_alpha.push_back(l.v[0].a);
    }
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(ys, (std::vector<float>{152.0f, 438.0f, 724.0f}));
    EXPECT_EQ(cursor_alpha, (std::vector<float>{0.5f}));
}

// The cursor's column is the last whose time is at or before the cursor's
// while the next one's is at or after it: at the newest sample's own time,
// the sample before it (the next column after the newest holds an older time).
TEST_F(DataGraph, TheCursorColumnAtASamplesOwnTime)
{
    for (auto [c, t] : {std::pair{10, 1.0f}, {11, 1.1f}, {12, 0.5f}}) sample(c, t, 1.0f);
    EXPECT_EQ(GRAPH_cursor_column(1.1f), 10);
    EXPECT_EQ(GRAPH_cursor_column(1.05f), 10);
}

}  // namespace
