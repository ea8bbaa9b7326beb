// Screen 19: the data graph.
#include "screens/data_graph_screen.h"

#include <algorithm>
#include <cmath>

#include "core/input.h"
#include "core/reset_registry.h"
#include "core/simvars/network.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/widget.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"

data_graph_state data_graph;

ORVELL_RESET_RECORD(SETUP_data_graph_reset, data_graph, program);

namespace {

constexpr int CURVE_COLOURS[DATA_RECORD_VALUES] = {60, 66, 50, 49, 79, 51, 55, 72};
constexpr float LEGEND_Y[DATA_RECORD_VALUES] = {92, 82, 72, 62, 52, 42, 32, 22};
constexpr int LINE_COLOUR = 48;
constexpr int LABEL_COLOUR = 46;
constexpr int LABEL_FONT = 106;

bool present(float v) { return std::fabs(v + 999.0f) >= 0.01f; }

int next_column(int i) { return i + 1 >= DATAOUT_GRAPH_COLUMNS ? 0 : i + 1; }

// x of time t on the plot, held to it.
float time_x(const graph_plot& p, float t)
{
    const data_graph_state& s = data_graph;
    const float x = p.left + (t - s.graph_start) / s.graph_span * (p.right - p.left);
    return std::clamp(x, p.left, p.right);
}

void draw_curves(const graph_plot& p, const graph_range& r)
{
    const data_graph_state& s = data_graph;
    const dataout_graph_history& h = graph_history;
    const float end = s.graph_start + s.graph_span;
    OGL_scissor_on(p.left, p.bottom, p.right - p.left, p.top - p.bottom);
    for (int n = 0; n < DATAOUT_GRAPH_GROUPS; ++n)
        for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
            const int row = n * DATA_RECORD_VALUES + k;
            if (!s.graph_curve_on[row]) continue;
            for (int i = 0; i < DATAOUT_GRAPH_COLUMNS; ++i) {
                const float v = h.value[row][i];
                if (!present(v)) continue;
                const int j = next_column(i);
                const float ti = h.time[i], tj = h.time[j];
                if (ti < s.graph_start || ti > end || tj < s.graph_start || tj > end || !(tj > ti)) continue;
                OGL_draw_line(CURVE_COLOURS[k], 1.0f, time_x(p, ti), GRAPH_value_y(p, r, n, v, s.graph_zoom),
                              time_x(p, tj), GRAPH_value_y(p, r, n, h.value[row][j], s.graph_zoom));
            }
        }
    OGL_scissor_off();
}

void draw_legend()
{
    data_graph_state& s = data_graph;
    const int c = GRAPH_cursor_column(s.graph_start + s.graph_cursor);
    int n = 0;
    for (int g = 0; g < DATAOUT_GROUPS && n < DATAOUT_GRAPH_GROUPS; ++g) {
        if (!sim_network_dataout.data_to_graph[g]) continue;
        const float x = 56.0f + 175.0f * static_cast<float>(n);
        BTN_frame2(15, x - 8.0f, 19.0f, 128.0f, 92.0f, "");
        DATAOUT_group(5, g, static_cast<int>(x));
        if (c >= 0)
            for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
                const float v = graph_history.value[n * DATA_RECORD_VALUES + k][c];
                if (!present(v)) continue;
                const float y = LEGEND_Y[k];
                BTN_check_box(k % 2 == 0 ? x - 20.0f : x + 135.0f, y, &s.graph_curve_on[n * DATA_RECORD_VALUES + k], "", 1);
                OGL_draw_string_fmt(CURVE_COLOURS[k], x + 42.0f, y + 2.0f, v, 5, UTIL_decimals_for_width(v), 0,
                                    LABEL_FONT);
            }
        ++n;
    }
}

}  // namespace

graph_plot GRAPH_plot(float width, float height)
{
    graph_plot p{20.0f, width - 20.0f, 152.0f, height - 44.0f, 0.0f};
    p.middle = (p.top + p.bottom) / 2.0f;
    return p;
}

graph_range GRAPH_scan()
{
    graph_range r{9.9e9f, 0.0f, {1.0f, 1.0f, 1.0f, 1.0f, 1.0f}};
    const dataout_graph_history& h = graph_history;
    for (int row = 0; row < DATAOUT_GRAPH_ROWS; ++row)
        for (int i = 0; i < DATAOUT_GRAPH_COLUMNS; ++i) {
            const float v = h.value[row][i];
            if (!present(v)) continue;
            r.tmin = std::min(r.tmin, h.time[i]);
            r.tmax = std::max(r.tmax, h.time[i]);
            // An infinite sample (a value that ran away) would make its group's
            // scale infinite and flatten every curve of the group onto the
            // middle line: it does not raise the scale.
            float& sc = r.scale[row / DATA_RECORD_VALUES];
            if (std::isfinite(v)) sc = std::max(sc, std::fabs(v));
        }
    return r;
}

float GRAPH_value_y(const graph_plot& p, const graph_range& r, int n, float v, float zoom)
{
    const float hh = ((p.top - 2.0f) - (p.bottom + 2.0f)) / 2.0f;
    return (v / r.scale[n] * zoom + 1.0f) * hh + (p.bottom + 2.0f);
}

int GRAPH_cursor_column(float t)
{
    const dataout_graph_history& h = graph_history;
    int found = -1;
    for (int i = 0; i < DATAOUT_GRAPH_COLUMNS; ++i)
        if (h.time[i] <= t && h.time[next_column(i)] >= t) found = i;
    return found;
}

void SETUP_data_graph()
{
    data_graph_state& s = data_graph;
    const float w = SCREEN_width(), h = SCREEN_height();
    BTN_screen_frame(1, 18);
    SCREEN_place_box(0.0f, 13, 10.0f, 10.0f, -1.0f, -1.0f, "");
    SCREEN_place_box(0.0f, 15, 20.0f, 160.0f, w - 40.0f, h - 196.0f, "");
    const graph_plot p = GRAPH_plot(w, h);
    const graph_range r = GRAPH_scan();

    if (mouse.mouse_y >= p.bottom && mouse.mouse_y <= p.top) {
        s.graph_cursor = std::clamp((mouse.mouse_x - p.left) / (p.right - p.left) * s.graph_span, 0.0f, s.graph_span);
        if (mouse.mouse_x < p.left) s.graph_start -= 5.0f * sim_operation_misc.frame_rate_period;
        if (mouse.mouse_x > p.right) s.graph_start += 5.0f * sim_operation_misc.frame_rate_period;
    }
    const float latest_start = std::max(r.tmin, r.tmax - s.graph_span);
    s.graph_start = std::clamp(s.graph_start, r.tmin, latest_start);

    BTN_digit_field(963.0f, 94.0f, &s.graph_zoom, 3, 0, 1.0f, 999.0f, LANG_ui_text(281));
    BTN_digit_field(943.0f, 54.0f, &s.graph_start, 5, 0, r.tmin, latest_start, LANG_ui_text(282));

    const float centre = (p.left + p.right) / 2.0f;
    BTN_frame1(9, centre, 143.0f, p.right - p.left);
    BTN_frame1(9, centre, 128.0f, p.right - p.left);
    for (int k = 1; static_cast<float>(k) <= s.graph_span - 1.0f; ++k)
        OGL_draw_string_fmt(LABEL_COLOUR, p.left + (p.right - p.left) * static_cast<float>(k) / s.graph_span - 15.0f,
                            140.0f, s.graph_start + static_cast<float>(k), 5, 0, 0, LABEL_FONT);
    const float cursor_x = p.left + (p.right - p.left) * s.graph_cursor / s.graph_span;
    OGL_draw_string_fmt(LABEL_COLOUR, cursor_x - 15.0f, 125.0f, s.graph_start + s.graph_cursor, 5, 0, 0, LABEL_FONT);

    OGL_draw_line(LINE_COLOUR, 1.0f, p.left, p.top, p.right, p.top);
    OGL_draw_line(LINE_COLOUR, 1.0f, p.left, p.middle, p.right, p.middle);
    OGL_draw_line(LINE_COLOUR, 1.0f, p.left, p.bottom, p.right, p.bottom);
    OGL_draw_line(LINE_COLOUR, 0.5f, cursor_x, p.bottom, cursor_x, p.top);

    draw_curves(p, r);
    draw_legend();
}
