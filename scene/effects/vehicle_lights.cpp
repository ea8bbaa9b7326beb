// Road vehicles: the light queue, the body models and their lights.
#include "scene/lights_model.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "core/texture_slots.h"
#include "core/units.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"

std::vector<light_record> light_queue;
int32_t light_count = 0;
float light_near_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
float light_far_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
float vehicle_models[VEHICLE_KINDS][VEHICLE_MODEL_FLOATS] = {};
vehicle_blink_record vehicle_blink{};
vehicle_batch_record vehicle_batch{};

namespace {

constexpr float NIGHT_FRACTION = 0.3f;

// Per station (0 = front): lower stations, lower heights, upper stations,
// upper heights, lower widths, upper widths. Shape 0 is in drawing units
// (stations over 50.4, heights over 13.5), the others in fractions.
constexpr float vehicle_shapes[4][6][10] = {
    {{0, 6, 8, 11.5f, 13.1f, 37.4f, 39, 42.5f, 44.5f, 50.4f},
     {2.5f, 2, 0, 0, 1.6f, 1.6f, 0, 0, 2, 2.6f},
     {0.9f, 8, 18.9f, 23.4f, 29.2f, 36, 42, 47, 48.6f, 50.1f},
     {5.2f, 8.5f, 9, 11.6f, 13.5f, 13.3f, 11.7f, 9.8f, 9.7f, 9.6f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f}},
    {{0, 0.1f, 0.15f, 0.22f, 0.27f, 0.63f, 0.68f, 0.75f, 0.8f, 1},
     {0.2f, 0.2f, 0, 0, 0.2f, 0.2f, 0, 0, 0.2f, 0.2f},
     {0, 0.05f, 0.31f, 0.31f, 0.35f, 0.35f, 0.8f, 0.9f, 0.9f, 1},
     {0.5f, 1, 1, 0.3f, 0.3f, 0.9f, 0.9f, 0.9f, 0.3f, 0.3f},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{0, 0.05f, 0.15f, 0.28f, 0.38f, 0.62f, 0.72f, 0.85f, 0.95f, 1},
     {0.2f, 0.2f, 0, 0, 0.2f, 0.2f, 0, 0, 0.2f, 0.2f},
     {0, 0.03f, 0.04f, 0.2f, 0.45f, 0.55f, 0.8f, 0.85f, 0.95f, 1},
     {0.3f, 0.3f, 0.6f, 0.67f, 0.7f, 1, 1, 0.7f, 0.7f, 0.3f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f}},
    {{0, 0.15f, 0.3f, 0.45f, 0.55f, 0.6f, 0.75f, 0.76f, 0.95f, 1},
     {0.5f, 0.25f, 0.1f, 0, 0, 0, 0, 0, 0, 0},
     {0, 0.15f, 0.3f, 0.45f, 0.55f, 0.6f, 0.75f, 0.76f, 0.95f, 1},
     {0.5f, 0.6f, 0.65f, 0.65f, 1, 0.6f, 0.6f, 0.7f, 0.7f, 0},
     {0, 0.4f, 0.7f, 0.9f, 1, 1, 1, 1, 0.9f, 0.8f},
     {0, 0.4f, 0.7f, 0.9f, 1, 1, 1, 1, 0.9f, 0.8f}},
};

// Length, width, height (m) and the texture strip of each kind (-1: the whole texture).
struct vehicle_size {
    float length, width, height;
    int strip;
};
constexpr vehicle_size car = {4.56438f, 1.86944f, 1.21158f, 0};
constexpr vehicle_size vehicle_sizes[VEHICLE_KINDS] = {
    {car.length, car.width, car.height, 0}, {car.length, car.width, car.height, 1},
    {car.length, car.width, car.height, 2}, {car.length, car.width, car.height, 3},
    {car.length, car.width, car.height, 0}, {car.length, car.width, car.height, 1},
    {car.length, car.width, car.height, 2}, {car.length, car.width, car.height, 3},
    {car.length, car.width, car.height, 4}, {11.0f, 2.4f, 2.5f, 5},
    {5.0f, 2.4f, 2.5f, 6},                  {8.0f, 2.0f, 1.5f, -1},
};

int shape_of(int kind) { return kind == 9 ? 1 : kind == 10 ? 2 : kind == 11 ? 3 : 0; }

// The random entry of a code. A negative code gives a negative remainder,
// which would read before the table: it counts from the table's end instead.
float random_entry(int index)
{
    int i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

// The body's two quad strips in drawing order, every vertex with the normal
// current when it is given: first the side band of 21 pairs (upper, lower),
// closing on the front, then the roof over the upper row, front to rear.
constexpr int SIDE_VERTICES = 42;
constexpr int ROOF_VERTICES = 20;
constexpr int BODY_VERTICES = SIDE_VERTICES + ROOF_VERTICES;
using body_strips = std::array<vehicle_vertex, BODY_VERTICES>;

void put(vehicle_vertex& out, const float* model, int row, int j, const float n[3])
{
    const float* v = model + 100 * row + 5 * j;
    out = {v[0], v[1], v[2], n[0], n[1], n[2], v[3], v[4]};
}

void expand_model(const float* model, body_strips& out)
{
    float n[3] = {1.0f, 0.0f, 0.0f};
    auto set = [&n](float x, float y, float z) { n[0] = x, n[1] = y, n[2] = z; };
    int k = 0;
    for (int m = 0; m <= 20; ++m) {
        const int j = m % 20;
        if (m == 0 || m == 20) set(1.0f, 0.0f, 0.0f);
        if (m == 9) set(0.0f, 0.0f, 1.0f);
        if (m == 10) set(-1.0f, 0.0f, 0.0f);
        if (m == 18) set(0.0f, 0.0f, -1.0f);
        put(out[k++], model, 1, j, n);
        put(out[k++], model, 0, j, n);
    }
    constexpr int roof_order[ROOF_VERTICES] = {19, 0, 18, 1, 17, 2, 16, 3, 15, 4, 14, 5, 13, 6, 12, 7, 11, 8, 10, 9};
    for (int j : roof_order) {
        if (j == 19 || j == 14 || j == 11) set(0.0f, 1.0f, 0.0f);
        if (j == 16) set(0.0f, 0.7f, -0.7f);
        if (j == 13) set(0.0f, 0.7f, 0.7f);
        put(out[k++], model, 1, j, n);
    }
}

void emit(const vehicle_vertex& v)
{
    glNormal3f(v.nx, v.ny, v.nz);
    glTexCoord2f(v.s, v.t);
    glVertex3f(v.x, v.y, v.z);
}

// One body turned by `heading` degrees about (0, -1, 0) and moved to the
// record's position, written to the batch from vertex `first` on. The turn is
// the one the fixed pipeline would apply: sine and cosine of the angle taken
// in single precision.
void place_body(const light_record& q, const body_strips& local, size_t first)
{
    const float angle = static_cast<float>(q.heading * std::numbers::pi / 180.0);
    const float s = std::sin(angle), c = std::cos(angle);
    vehicle_vertex* out = vehicle_batch.vertices.data() + first;
    for (const vehicle_vertex& v : local)
        *out++ = {q.x + (c * v.x - s * v.z), q.y + v.y, q.z + (s * v.x + c * v.z), c * v.nx - s * v.nz, v.ny,
                  s * v.nx + c * v.nz, v.s, v.t};
    vehicle_batch.firsts.push_back(static_cast<int32_t>(first));
    vehicle_batch.counts.push_back(SIDE_VERTICES);
    vehicle_batch.firsts.push_back(static_cast<int32_t>(first + SIDE_VERTICES));
    vehicle_batch.counts.push_back(ROOF_VERTICES);
}

// The six bounding planes of what the current projection and model-view
// matrices can show (clip-space -w <= x, y, z <= w written in world terms),
// each scaled to give distances in metres. The side planes can be moved out
// by a number of pixels of the viewport (a point whose centre is off the
// view may still show while its size reaches in). A plane without a
// direction is left out, so the test only ever keeps too much.
struct view_volume {
    double plane[6][4];
    bool usable[6];

    explicit view_volume(float widen_px = 0.0f)
    {
        GLfloat p[16], m[16];
        GLint viewport[4] = {0, 0, 0, 0};
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glGetIntegerv(GL_VIEWPORT, viewport);
        double clip[4][4];   // clip[row][column] of P M (matrices are column-major)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                double sum = 0.0;
                for (int k = 0; k < 4; ++k) sum += static_cast<double>(p[4 * k + r]) * m[4 * c + k];
                clip[r][c] = sum;
            }
        for (int n = 0; n < 6; ++n) {
            const int axis = n / 2;
            const double sign = n % 2 == 0 ? 1.0 : -1.0;
            const GLint size = axis < 2 ? viewport[2 + axis] : 0;
            const double wide = axis < 2 && widen_px > 0.0f ? 1.0 + 2.0 * widen_px / std::max(size, 1) : 1.0;
            double* e = plane[n];
            for (int c = 0; c < 4; ++c) e[c] = wide * clip[3][c] + sign * clip[axis][c];
            const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
            usable[n] = std::isfinite(length) && length > 1e-12;
            if (usable[n])
                for (double& v : plane[n]) v /= length;
        }
    }

    // Whether a ball lies wholly outside one of the planes, with a margin that
    // covers the rounding of the pipeline's own single-precision transform.
    bool outside(double x, double y, double z, double radius) const
    {
        for (int n = 0; n < 6; ++n) {
            if (!usable[n]) continue;
            const double* e = plane[n];
            const double d = e[0] * x + e[1] * y + e[2] * z + e[3];
            const double margin = radius * 1.001 + 0.5 + 1e-5 * (std::fabs(x) + std::fabs(y) + std::fabs(z));
            if (d < -margin) return true;
        }
        return false;
    }
};

// Whether no light of a vehicle can reach into the view. Its lights lie
// within 7 m of its position. A sprite is a square facing the camera whose
// half side grows with distance (sprites of size 3 at most); a plain point
// is dropped by its centre, but may show a few pixels beyond the edge, so
// points are tested against a volume widened by more than their half size
// (3 pixels at most).
constexpr double LIGHT_REACH = 7.0;
constexpr float POINT_WIDENING_PX = 4.0f;

bool lights_unseen(const light_record& q, const view_volume& sprites, const view_volume& points)
{
    if (!light_batch.sprite_mode) return points.outside(q.x, q.y, q.z, LIGHT_REACH);
    const double dx = q.x - sim_graphics_view.view_x, dy = q.y - sim_graphics_view.view_y,
                 dz = q.z - sim_graphics_view.view_z;
    const double far = std::sqrt(dx * dx + dy * dy + dz * dz) + LIGHT_REACH;
    const double half = OGL_light_half_size(light_batch.size_factor, static_cast<float>(far * far), 3.0f);
    const double radius = LIGHT_REACH + 1.5 * half;
    return std::isfinite(radius) && sprites.outside(q.x, q.y, q.z, radius);
}

// Radius about the body's origin that holds every vertex.
float body_radius(const body_strips& local)
{
    float r2 = 0.0f;
    for (const vehicle_vertex& v : local) r2 = std::max(r2, v.x * v.x + v.y * v.y + v.z * v.z);
    return std::sqrt(r2);
}

// The frame's bodies in one multi-strip draw from a client-side array.
void draw_batch()
{
    const std::vector<vehicle_vertex>& v = vehicle_batch.vertices;
    if (vehicle_batch.firsts.empty()) return;
    constexpr GLsizei stride = sizeof(vehicle_vertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, &v[0].x);
    glNormalPointer(GL_FLOAT, stride, &v[0].nx);
    glTexCoordPointer(2, GL_FLOAT, stride, &v[0].s);
    glMultiDrawArrays(GL_QUAD_STRIP, vehicle_batch.firsts.data(), vehicle_batch.counts.data(),
                      static_cast<GLsizei>(vehicle_batch.counts.size()));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void light(const float p[3], float r, float g, float b, float a, float size, int index)
{
    OGL_draw_light(p[0], p[1], p[2], r, g, b, a, size, -1, index, 105);
}

// P + a R + b F + c U.
void offset(float out[3], const light_record& q, const float R[3], const float F[3], float a, float b, float c)
{
    out[0] = q.x + a * R[0] + b * F[0];
    out[1] = q.y + c;
    out[2] = q.z + a * R[2] + b * F[2];
}

void vehicle_lights(const light_record& q, int index)
{
    const vehicle_blink_record& k = vehicle_blink;
    const float s = std::sin(q.heading * DEG_TO_RAD_FLOAT), c = std::cos(q.heading * DEG_TO_RAD_FLOAT);
    const float F[3] = {s, 0.0f, -c}, R[3] = {c, 0.0f, s};
    float p[3];
    if (q.kind == 9) {
        const bool front_big = k.side == 0 ? k.pulse != 0 : k.pulse == 0;
        offset(p, q, R, F, k.side == 0 ? 0.8f : -0.8f, 3.0f, 3.0f);
        light(p, 1.0f, 0.2f, 0.2f, 1.0f, front_big ? 3.0f : 1.0f, index);
        offset(p, q, R, F, k.side == 0 ? -0.8f : 0.8f, -4.5f, 3.0f);
        light(p, 1.0f, 0.2f, 0.2f, 1.0f, front_big ? 1.0f : 3.0f, index);
    }
    if (q.kind == 8) {
        offset(p, q, R, F, k.side == 0 ? 0.8f : -0.8f, -1.0f, 2.0f);
        light(p, 0.5f, 0.5f, 1.0f, 1.0f, k.pulse ? 3.0f : 1.0f, index);
    }
    const float a = std::fabs(UTIL_wrap_nearest(q.heading - sim_graphics_view.view_heading, 360.0f));
    if (a <= 90.0f) {
        const float f = q.kind == 9 ? 6.0f : 4.0f;
        const float alpha = q.brake ? 1.0f : 0.5f;
        offset(p, q, R, F, -0.8f, -f, 1.0f);
        light(p, 1.0f, 0.0f, 0.0f, k.turn && q.turn == 0 ? 0.0f : alpha, 1.0f, index);
        offset(p, q, R, F, 0.8f, -f, 1.0f);
        light(p, 1.0f, 0.0f, 0.0f, k.turn && q.turn == 2 ? 0.0f : alpha, 1.0f, index);
    } else {
        const float f = q.kind == 9 ? 6.0f : 3.0f;
        const bool wigwag = q.kind == 8 || q.kind == 9;
        if (!wigwag || k.wigwag) {
            offset(p, q, R, F, 0.8f, f, 1.0f);
            light(p, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, index);
        }
        if (!wigwag || !k.wigwag) {
            offset(p, q, R, F, -0.8f, f, 1.0f);
            light(p, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, index);
        }
    }
}

}  // namespace

void LIGHTS_reset()
{
    light_queue.clear();
    light_count = 0;
    vehicle_blink = vehicle_blink_record{};
    vehicle_batch = vehicle_batch_record{};
    light_near_limit_sq = light_far_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
}
ORVELL_RESET(LIGHTS_reset, scene);

void LIGHTS_fill_model(float* model, int kind)
{
    // Only kinds 0..11 have a shape and size; another would read past the tables.
    if (kind < 0 || kind >= VEHICLE_KINDS) return;
    const float(&shape)[6][10] = vehicle_shapes[shape_of(kind)];
    const bool drawing_units = shape_of(kind) == 0;
    const vehicle_size& d = vehicle_sizes[kind];
    const float L = d.length, W = d.width, H = d.height;
    const float t0 = d.strip < 0 ? 0.0f : 34.0f * d.strip / 256.0f;
    const float t1 = d.strip < 0 ? 1.0f : (34.0f * d.strip + 33.0f) / 256.0f;
    for (int row = 0; row < 2; ++row) {
        const float* stations = shape[row == 0 ? 0 : 2];
        const float* heights = shape[row == 0 ? 1 : 3];
        const float* widths = shape[row == 0 ? 4 : 5];
        for (int j = 0; j < 20; ++j) {
            const int i = j <= 9 ? j : 19 - j;
            const float side = j <= 9 ? 0.5f : -0.5f;
            const float station = drawing_units ? stations[i] / 50.4f : stations[i];
            const float height = drawing_units ? heights[i] / 13.5f : heights[i];
            float* v = model + 100 * row + 5 * j;
            v[0] = W * widths[i] * side;
            v[1] = H * height;
            v[2] = (station - 0.5f) * L;
            v[3] = L != 0.0f ? (v[2] + L / 2.0f) / L : 0.5f;
            v[4] = H != 0.0f ? t0 + (t1 - t0) * v[1] / H : (t0 + t1) / 2.0f;
        }
    }
}

void LIGHTS_build_model()
{
    for (int k = 0; k < VEHICLE_KINDS; ++k) LIGHTS_fill_model(vehicle_models[k], k);
}

void LIGHTS_fraction()
{
    light_count = 0;
    light_far_limit_sq = sim_graphics_scenery.percent_lights_on <= NIGHT_FRACTION ? LIGHTS_NEAR_LIMIT_SQ : LIGHTS_FAR_LIMIT_SQ;
    light_near_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
}

void LIGHTS_add(int code, float x, float y, float z, float heading, uint8_t lit, uint8_t brake, uint8_t turn)
{
    int kind = code % 10;
    if ((kind == 8 || kind == 9) && random_entry(code) > 0.4f) kind = code % 8;
    const double dz = z - sim_graphics_view.view_z, dx = x - sim_graphics_view.view_x;
    const float d = static_cast<float>(dz * dz + dx * dx);
    if (d > (lit ? light_far_limit_sq : light_near_limit_sq)) return;   // too far
    ++light_count;
    if (static_cast<size_t>(light_count) > light_queue.size()) light_queue.emplace_back(light_record{});
    light_queue[static_cast<size_t>(light_count) - 1] = {kind, x, y, z, heading, d, lit, brake, turn};
}

void LIGHTS_draw_model(const float* model)
{
    body_strips strips;
    expand_model(model, strips);
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k < SIDE_VERTICES; ++k) emit(strips[static_cast<size_t>(k)]);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    for (int k = SIDE_VERTICES; k < BODY_VERTICES; ++k) emit(strips[static_cast<size_t>(k)]);
    glEnd();
}

void LIGHTS_draw()
{
    vehicle_blink_record& k = vehicle_blink;
    if (interval_ticks[INTERVAL_FIFTH_SECOND]) k.side = !k.side;
    if (interval_ticks[INTERVAL_TWENTIETH_SECOND]) k.pulse = !k.pulse;
    if (interval_ticks[INTERVAL_TENTH_SECOND]) k.wigwag = !k.wigwag;
    if (interval_ticks[INTERVAL_HALF_SECOND]) k.turn = !k.turn;

    const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(light_count, 0)), light_queue.size()));
    const view_volume volume;
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_CARS, 0);
    // Each kind's strips are laid out once a frame; every body near enough
    // that the view can show is placed in the world, and all are drawn
    // together. A body wholly outside the view volume would leave no pixel
    // and no feedback, so it is not sent.
    std::array<body_strips, VEHICLE_KINDS> local;
    std::array<float, VEHICLE_KINDS> radius{};
    std::array<bool, VEHICLE_KINDS> laid_out{};
    std::vector<vehicle_vertex>& vertices = vehicle_batch.vertices;
    vehicle_batch.firsts.clear();
    vehicle_batch.counts.clear();
    size_t used = 0;
    int last_kind = -1;
    for (int n = 0; n < count; ++n) {
        const light_record& q = light_queue[static_cast<size_t>(n)];
        if (!(q.dist_sq < LIGHTS_NEAR_LIMIT_SQ) || q.kind < 0 || q.kind >= VEHICLE_KINDS) continue;
        const auto kind = static_cast<size_t>(q.kind);
        last_kind = q.kind;
        if (!laid_out[kind]) {
            expand_model(vehicle_models[kind], local[kind]);
            radius[kind] = body_radius(local[kind]);
            laid_out[kind] = true;
        }
        if (std::isfinite(radius[kind]) && volume.outside(q.x, q.y, q.z, radius[kind])) continue;
        if (vertices.size() < used + BODY_VERTICES) vertices.resize(used + BODY_VERTICES);
        place_body(q, local[kind], used);
        used += BODY_VERTICES;
    }
    vehicle_batch.vertex_count = static_cast<int32_t>(used);
    draw_batch();
    // What drawing every body one at a time would leave current: the last
    // one's final roof vertex (upper vertex 9) and the roof's normal.
    if (last_kind >= 0) {
        const float* v = vehicle_models[last_kind] + 100 + 5 * 9;
        glNormal3f(0.0f, 1.0f, 0.0f);
        glTexCoord2f(v[3], v[4]);
    }
    if (sim_graphics_scenery.percent_lights_on <= NIGHT_FRACTION) return;
    // Lights wholly off the view are not asked of the light kit: they would
    // leave no pixel, so the picture is the same.
    const view_volume point_volume(POINT_WIDENING_PX);
    OGL_lights_begin(0);
    OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    for (int n = 0; n < count; ++n) {
        const light_record& q = light_queue[static_cast<size_t>(n)];
        if (q.lit && !lights_unseen(q, volume, point_volume)) vehicle_lights(q, n);
    }
    OGL_lights_end();
}
