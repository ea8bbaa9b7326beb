// View types: the value of sim/graphics/view/view_type, 1000..1024. The view
// commands of the same numbers select them. The numbers 1003, 1013, 1016 and
// 1022 are accepted too: inside views with nothing of their own.
#pragma once

#include <cstdint>

constexpr int32_t VIEW_FORWARD = 1000;          // out of the front window, with the panel
constexpr int32_t VIEW_FORWARD_HUD = 1001;      // the same without the panel, with the head-up display, looking 4 degrees lower
constexpr int32_t VIEW_FORWARD_NOTHING = 1002;  // the same without the panel or the head-up display, looking 8 degrees lower
constexpr int32_t VIEW_LEFT_45 = 1004;          // the pilot's head turned, degrees left or right
constexpr int32_t VIEW_RIGHT_45 = 1005;
constexpr int32_t VIEW_LEFT_90 = 1006;
constexpr int32_t VIEW_RIGHT_90 = 1007;
constexpr int32_t VIEW_LEFT_135 = 1008;
constexpr int32_t VIEW_RIGHT_135 = 1009;
constexpr int32_t VIEW_BACK = 1010;
constexpr int32_t VIEW_LEFT_15 = 1011;
constexpr int32_t VIEW_RIGHT_75 = 1012;
constexpr int32_t VIEW_TOWER = 1014;            // from the airport's tower (or the carrier's island)
constexpr int32_t VIEW_RUNWAY = 1015;           // from beside the runway; the arrows walk the observer
constexpr int32_t VIEW_CHASE = 1017;
constexpr int32_t VIEW_ORBIT = 1018;
constexpr int32_t VIEW_ORBIT_PANEL = 1019;      // the orbit view with the panel drawn over it
constexpr int32_t VIEW_FLYBY = 1020;            // from a fixed point ahead of the plane; the arrows move it
constexpr int32_t VIEW_FLYBY_DRIFT = 1021;      // from a point that drifts along with the plane
constexpr int32_t VIEW_HUD = 1023;              // forward with the head-up display only
constexpr int32_t VIEW_FORWARD_NO_PANEL = 1024; // forward, no panel (a display slave's view)

constexpr int32_t VIEW_FIRST = VIEW_FORWARD;
constexpr int32_t VIEW_LAST = VIEW_FORWARD_NO_PANEL;

constexpr bool VIEW_is_view(int32_t v) { return v >= VIEW_FIRST && v <= VIEW_LAST; }

// The views whose camera stands outside the aircraft.
constexpr bool VIEW_is_external(int32_t v)
{
    return v == VIEW_TOWER || v == VIEW_RUNWAY || (v >= VIEW_CHASE && v <= VIEW_FLYBY_DRIFT);
}

// The views that draw the instrument panel (the zoom and the full cockpit
// lighting apply in them). The two other forward views leave it out: they are
// the pilot's way to see ahead without it.
constexpr bool VIEW_is_panel_view(int32_t v) { return v == VIEW_FORWARD || v == VIEW_ORBIT_PANEL; }

// The forward views, with or without the panel.
constexpr bool VIEW_is_forward(int32_t v)
{
    return v == VIEW_FORWARD || v == VIEW_FORWARD_HUD || v == VIEW_FORWARD_NOTHING;
}

// The orbit views: the arrows turn the camera around the plane and the zoom
// keys change its distance.
constexpr bool VIEW_is_orbit(int32_t v) { return v == VIEW_ORBIT || v == VIEW_ORBIT_PANEL; }

// The aircraft's nine panel pictures: 0 the main panel, 8 its lit version,
// 1..7 the pictures of the side views.
constexpr int VIEW_PANEL_PICTURES = 9;
constexpr int VIEW_PANEL_PICTURE_MAIN = 0;
constexpr int VIEW_PANEL_PICTURE_MAIN_LIT = 8;

// The panel picture a view shows behind the panel and overlay: the main
// picture (lit or not) in the panel views, its own in the side views, -1 in
// every other view.
constexpr int VIEW_panel_picture(int32_t v, bool lit)
{
    if (VIEW_is_panel_view(v)) return lit ? VIEW_PANEL_PICTURE_MAIN_LIT : VIEW_PANEL_PICTURE_MAIN;
    constexpr int32_t side_views[] = {VIEW_RIGHT_45, VIEW_RIGHT_90, VIEW_RIGHT_135, VIEW_BACK,
                                      VIEW_LEFT_135, VIEW_LEFT_90,  VIEW_LEFT_45};
    for (int i = 0; i < 7; ++i)
        if (side_views[i] == v) return i + 1;
    return -1;
}

// The views with a panel picture (the background is drawn behind them).
constexpr bool VIEW_has_panel_picture(int32_t v) { return VIEW_panel_picture(v, false) >= 0; }

// The views around the aircraft that the next-view and previous-view key
// commands step through, in the order of the next-view key; past either end
// the step lands on VIEW_FORWARD, and from any view not in the ring it enters
// at the ring's near end.
constexpr int32_t VIEW_RING[] = {VIEW_LEFT_45,  VIEW_LEFT_90,  VIEW_LEFT_135, VIEW_BACK,
                                 VIEW_RIGHT_135, VIEW_RIGHT_90, VIEW_RIGHT_45};

// The view one step along the ring: direction +1 for the next view, -1 for
// the previous one.
constexpr int32_t VIEW_ring_step(int32_t v, int direction)
{
    constexpr int n = static_cast<int>(sizeof VIEW_RING / sizeof VIEW_RING[0]);
    for (int i = 0; i < n; ++i) {
        if (VIEW_RING[i] != v) continue;
        const int j = i + (direction < 0 ? -1 : 1);
        return j < 0 || j >= n ? VIEW_FORWARD : VIEW_RING[j];
    }
    return direction < 0 ? VIEW_RING[n - 1] : VIEW_RING[0];
}
