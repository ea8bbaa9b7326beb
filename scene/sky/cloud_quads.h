// Quads of the cloud puffs handed to the renderer as vertex arrays: the puff
// billboards of a cell and the light-facing shadow quads of a lighting step,
// one draw call per batch instead of one call per corner.
#pragma once

#include <vector>

// One corner of a quad: position, texture coordinates and colour.
struct cloud_vertex {
    float x, y, z;
    float s, t;
    float r, g, b, a;
};

// Corner arrays reused from batch to batch (nothing in them outlives a draw call).
struct cloud_draw_scratch_record {
    std::vector<cloud_vertex> vertices;
};
extern cloud_draw_scratch_record cloud_draw_scratch;

// Draws the quads of `v` (four corners each, in order) in the current state.
// With `coloured` each corner carries its colour, and the current colour is
// left as the last corner's; without it the current colour is used.
void CLOUD_draw_quads(const std::vector<cloud_vertex>& v, bool coloured);

// The six planes of the view volume in the current model-view frame: a quad
// is worth drawing unless its bounding sphere lies wholly outside one of them.
struct cloud_view_volume {
    float plane[6][4] = {};
    bool usable = false;   // false when the matrices give no volume: nothing is culled

    static cloud_view_volume current();
    bool may_see(float x, float y, float z, float radius) const;
};
