// The outline of a runway, stopways included: its four corners on the
// planet's sphere, and as points of the map view.
#pragma once

// The map view: the world point (local x, z) shown at the screen point
// (map_origin_x, map_origin_y), and the scale in screen units per metre. The
// map window and the airport diagram set it before they draw.
extern float map_origin_x;
extern float map_origin_y;
extern float map_ref_x;
extern float map_ref_z;
extern float map_scale;
// The right and top edges of the map rectangle (screen units); its left and
// bottom edges are map_origin_x and map_origin_y on the map screens.
extern float map_right;
extern float map_top;

// Where the airport's label goes: the smallest screen y of the corners drawn,
// the sum of their screen x and how many were summed. The map's airport
// drawer resets it before an airport's runways.
struct airport_label_anchor_record {
    float min_y;
    float sum_x;
    float count;
};
extern airport_label_anchor_record airport_label_anchor;

// The origin added to every emitted vertex (the 2-D layout's origin).
extern float window_origin_x;
extern float window_origin_y;

// Receives each emitted corner; the default passes it to OpenGL as a 2-D vertex
// of the quad the caller has begun.
using outline_vertex_fn = void (*)(float x, float y);
extern outline_vertex_fn apt_outline_vertex;
void APT_outline_gl_vertex(float x, float y);

// Corners of runway `runway` of airport `airport`: 0 left of the first end,
// 1 right of the first end, 2 left of the far end, 3 right of the far end
// (left and right looking along the heading). Latitudes and longitudes in
// degrees, heights in metres above the planet's radius. The label anchor is
// updated; with emit set the corners are emitted in the order 2, 3, 1, 0.
// An index outside the tables leaves everything untouched.
void APT_runway_outline(int airport, int runway, float latitudes[4], float longitudes[4], float heights[4],
                        int emit);
