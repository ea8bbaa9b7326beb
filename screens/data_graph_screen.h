// Screen 19, the data graph (SETUP_data_graph in screens/setup.h): the recent
// history of the graphed data groups as curves against time, with a movable
// five-second window, a vertical zoom, a cursor that reads the values off and
// a legend per group whose curves can be hidden one by one.
#pragma once

#include <cstdint>

#include "links/dataout.h"

struct data_graph_state {
    float graph_start = 0.0f;    // time at the window's left edge, s
    float graph_span = 5.0f;     // window length, s
    float graph_zoom = 1.0f;     // vertical zoom, 1..999
    float graph_cursor = 0.0f;   // cursor offset from graph_start, s
    int32_t graph_curve_on[DATAOUT_GRAPH_ROWS];   // 1 draws the row's curve
    data_graph_state()
    {
        for (int32_t& c : graph_curve_on) c = 1;
    }
};
extern data_graph_state data_graph;
void SETUP_data_graph_reset();

// The plot rectangle of a work area w x h.
struct graph_plot {
    float left, right, bottom, top, middle;
};
graph_plot GRAPH_plot(float width, float height);

// The history's time range and the five groups' scales (1.0 or the largest
// magnitude of the group's present values).
struct graph_range {
    float tmin, tmax;
    float scale[DATAOUT_GRAPH_GROUPS];
};
graph_range GRAPH_scan();

// The screen y of value v of graphed group n on the plot.
float GRAPH_value_y(const graph_plot& p, const graph_range& r, int n, float v, float zoom);

// The column the cursor reads: the last column whose time is at or before t
// while the next column's time is at or after it; -1 when none.
int GRAPH_cursor_column(float t);
